#!/usr/bin/python3
# SPDX-FileCopyrightText: 2026 The passo-rigatura authors
# SPDX-License-Identifier: GPL-3.0-or-later
"""The browser version's figures, each against a baseline measured in the
same run: page ready, one click, and the site's size.

Usage: bench/web_startup.py SITE_DIR [--loads N]

- Page ready: from the start of the navigation to the end of the task in
  which CALCOLA takes the focus, which the page gives it once its click
  handler is in place: from then on a click is answered. In headless
  Chromium with a fresh profile for every load; loads of the site and of
  bench/web-baseline (the same nine controls in plain HTML and a plain
  JavaScript click handler) alternate. Median of each, and their ratio.
- One click: CALCOLA clicked in two batches of 100 after each load, from
  each click's event to the result on the page: the first batch while the
  browser still compiles the code that runs hot, the second once it has;
  median over the loads of each, per click.
- Size: every file of the site as served, and gzipped.

Targets: ready <= 1.5 x baseline, click < 100 us, site <= 200 KiB; the
summary says which are met. Exits 0 when the figures were taken, as
bench/run.sh does, and 2 when they could not be.
"""

import argparse
import gzip
import importlib.machinery
import os
import shutil
import statistics
import sys
import tempfile
import threading

from selenium import webdriver
from selenium.webdriver.chrome.options import Options
from selenium.webdriver.chrome.service import Service
from selenium.webdriver.common.by import By

HERE = os.path.dirname(os.path.abspath(__file__))
serve_web = importlib.machinery.SourceFileLoader(
    "serve_web", os.path.join(HERE, "..", "scripts", "serve-web")).load_module()
FLAGS = ["--headless", "--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run",
         "--disable-background-networking", "--disable-component-update", "--disable-sync",
         "--window-size=800,600"]
# Run before the page's own scripts: notes when the page, CALCOLA having taken
# the focus, is free to take a click, that is when the task that gave it the
# focus is over.
WATCH_READY = """addEventListener("focusin", event => {
    if (event.target.id == "cmdcalcola")
        setTimeout(() => window.passoReady = window.passoReady || performance.now());
}, true);"""
# Milliseconds for `clicks` clicks of CALCOLA, each running to the result.
CLICKS = """const button = document.getElementById("cmdcalcola");
document.getElementById("gradi1").value = "7";
document.getElementById("centimetri2").value = "13";
const start = performance.now();
for (let click = 0; click < arguments[0]; ++click) button.click();
return [performance.now() - start, document.getElementById("centimetri1").textContent];"""
BATCH = 100


def serve(folder):
    handler = lambda *a: serve_web.Handler(*a, directory=folder)  # noqa: E731
    server = serve_web.http.server.ThreadingHTTPServer(("127.0.0.1", 0), handler)
    threading.Thread(target=server.serve_forever, daemon=True).start()
    return server, f"http://127.0.0.1:{server.server_address[1]}/"


def browser():
    profile = tempfile.mkdtemp(prefix="passo-bench.")
    options = Options()
    options.binary_location = "/usr/bin/chromium"
    for flag in FLAGS + [f"--user-data-dir={profile}"]:
        options.add_argument(flag)
    web = webdriver.Chrome(service=Service("/usr/bin/chromedriver"), options=options)
    web.execute_cdp_cmd("Page.addScriptToEvaluateOnNewDocument", {"source": WATCH_READY})
    return web, profile


def ready_and_click(url):
    """Milliseconds to ready in a fresh browser, microseconds per click over
    a first and a second batch, and the result shown."""
    web, profile = browser()
    try:
        web.get(url)
        ready = web.execute_script(
            "return new Promise(done => { const wait = () => window.passoReady ?"
            " done(window.passoReady) : setTimeout(wait, 1); wait(); })")
        first, _ = web.execute_script(CLICKS, BATCH)
        second, shown = web.execute_script(CLICKS, BATCH)
        return ready, (1000 * first / BATCH, 1000 * second / BATCH), shown
    finally:
        web.quit()
        shutil.rmtree(profile, ignore_errors=True)


def sizes(site):
    plain = packed = 0
    for folder, _, files in os.walk(site):
        for name in files:
            with open(os.path.join(folder, name), "rb") as file:
                data = file.read()
            plain += len(data)
            packed += len(gzip.compress(data, 9, mtime=0))
    return plain, packed


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("site")
    parser.add_argument("--loads", type=int, default=21)
    options = parser.parse_args()
    baseline = tempfile.mkdtemp(prefix="passo-baseline.")
    shutil.copytree(os.path.join(HERE, "web-baseline"), baseline, dirs_exist_ok=True)
    shutil.copy(os.path.join(options.site, "logo.png"), baseline)
    servers = [serve(options.site), serve(baseline)]
    ours, theirs, our_clicks, their_clicks = [], [], [], []
    try:
        for load in range(options.loads):
            # One browser's start warms the system's caches for the next.
            order = [(0, ours, our_clicks), (1, theirs, their_clicks)]
            for side, readies, clicks in order if load % 2 else reversed(order):
                ready, per_click, shown = ready_and_click(servers[side][1])
                readies.append(ready)
                clicks.append(per_click)
                if side == 0 and shown != "668,5714":
                    print(f"CALCOLA answered {shown!r}", file=sys.stderr)
                    return 2
    finally:
        for server, _ in servers:
            server.shutdown()
        shutil.rmtree(baseline, ignore_errors=True)

    ready, bare = statistics.median(ours), statistics.median(theirs)
    first, click = (statistics.median(c[batch] for c in our_clicks) for batch in (0, 1))
    bare_first, bare_click = (statistics.median(c[batch] for c in their_clicks) for batch in (0, 1))
    plain, packed = sizes(options.site)
    met = [ready <= 1.5 * bare, click < 100, plain <= 200 * 1024]
    print(f"Page ready ({options.loads} loads each, fresh profile every load):")
    print(f"  site {ready:.1f} ms, bare page {bare:.1f} ms: ratio {ready / bare:.2f}"
          f" (target <= 1.5: {'met' if met[0] else 'MISSED'})")
    print(f"One click ({len(our_clicks)} loads, two batches of {BATCH} each):")
    print(f"  first batch: site {first:.1f} us, bare page {bare_first:.1f} us")
    print(f"  second batch: site {click:.1f} us, bare page {bare_click:.1f} us"
          f" (target < 100 us: {'met' if met[1] else 'MISSED'})")
    print(f"Site: {plain} bytes ({plain / 1024:.1f} KiB), {packed} bytes gzipped"
          f" ({packed / 1024:.1f} KiB) (target <= 200 KiB: {'met' if met[2] else 'MISSED'})")
    print("All targets met." if all(met) else "Targets missed: see above.")
    return 0


if __name__ == "__main__":
    sys.exit(main())
