#!/usr/bin/python3
# SPDX-FileCopyrightText: 2026 The passo-rigatura authors
# SPDX-License-Identifier: GPL-3.0-or-later
"""The browser version's figures, each against a baseline measured in the
same run: first paint, page ready, one click, and the site's size; and
Lighthouse's scores.

Usage: bench/web_startup.py SITE_DIR [--loads N] [--lighthouse PATH [--audits N]]

- First paint: from the start of the navigation to the page's first
  contentful paint, which for the site is the window, in the page's HTML.
- Page ready: from the start of the navigation to the end of the task in
  which CALCOLA takes the focus, which the page gives it once its click
  handler is in place: from then on a click is answered. In headless
  Chromium with a fresh profile for every load; loads of the site and of
  bench/web-baseline (the same nine controls in plain HTML and a plain
  JavaScript click handler) alternate. Median of each, and their ratio.
- One click: CALCOLA clicked in batches of 100 after each load, from each
  click's event to the result on the page: the first batch, and the second,
  while the browser still compiles the code that runs hot; then, after 2000
  more clicks, a third once it has (the browser compiles the program's hot
  functions again, optimised, only after some thousand clicks); median over
  the loads of each, per click.
- Size: every file of the site as served, and gzipped.
- Lighthouse (the command at PATH, run on Debian's Chromium): the site's four
  category scores on its simulated mid-range phone and on a desktop, the
  median of N audits of each (3 by default).

Targets: first paint <= 1.1 x baseline, ready <= 1.3 x baseline, click
<= 3 x baseline and < 100 us, site <= 200 KiB; Lighthouse 100 for
accessibility, best practices and SEO, and at least 98 for performance on
the phone. The summary says which are met. Exits 0 when the figures were
taken, as bench/run.sh does, and 2 when they could not be.
"""

import argparse
import gzip
import importlib.machinery
import json
import os
import shutil
import statistics
import subprocess
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
# Milliseconds to the first contentful paint, which may come after the page
# is ready.
FIRST_PAINT = """return new Promise(done => new PerformanceObserver((entries, observer) => {
    const paint = entries.getEntriesByName("first-contentful-paint")[0];
    if (paint) {
        observer.disconnect();
        done(paint.startTime);
    }
}).observe({type: "paint", buffered: true}));"""
BATCH = 100
WARM_UP = 2000


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
    """Milliseconds to the first paint and to ready in a fresh browser,
    microseconds per click over a first, a second and a settled batch, and the result
    shown."""
    web, profile = browser()
    try:
        web.get(url)
        ready = web.execute_script(
            "return new Promise(done => { const wait = () => window.passoReady ?"
            " done(window.passoReady) : setTimeout(wait, 1); wait(); })")
        painted = web.execute_script(FIRST_PAINT)
        first, _ = web.execute_script(CLICKS, BATCH)
        second, _ = web.execute_script(CLICKS, BATCH)
        web.execute_script(CLICKS, WARM_UP)
        settled, shown = web.execute_script(CLICKS, BATCH)
        per_click = tuple(1000 * batch / BATCH for batch in (first, second, settled))
        return painted, ready, per_click, shown
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


# Lighthouse's categories, and the marks: 100 for all but performance, whose
# mark is 98 on the phone; the desktop's is shown, for information.
CATEGORIES = ["performance", "accessibility", "best-practices", "seo"]
MARKS = {"accessibility": 100, "best-practices": 100, "seo": 100}
METRICS = ["first-contentful-paint", "largest-contentful-paint", "total-blocking-time",
           "cumulative-layout-shift", "speed-index"]


def lighthouse(command, url, preset):
    """One audit of `url` as Lighthouse's `preset` (mobile or desktop) in a
    fresh headless Chromium: each category's score out of 100, and the
    metrics as Lighthouse shows them."""
    profile = tempfile.mkdtemp(prefix="passo-lighthouse.")
    report = os.path.join(profile, "report.json")
    flags = " ".join(FLAGS[:-1] + [f"--user-data-dir={profile}/chromium"])
    try:
        subprocess.run([command, url, "--quiet", "--output=json", f"--output-path={report}",
                        f"--chrome-flags={flags}"]
                       + (["--preset=desktop"] if preset == "desktop" else []),
                       env={**os.environ, "CHROME_PATH": "/usr/bin/chromium"}, check=True,
                       timeout=300)
        with open(report, encoding="utf-8") as file:
            result = json.load(file)
    finally:
        shutil.rmtree(profile, ignore_errors=True)
    scores = {name: round(100 * result["categories"][name]["score"]) for name in CATEGORIES}
    return scores, {name: result["audits"][name]["displayValue"] for name in METRICS}


def audits(command, url, runs):
    """The median score of each category over `runs` audits, for the phone
    and the desktop, and the metrics of the run nearest that median."""
    results = {}
    for preset in ("mobile", "desktop"):
        runs_of = [lighthouse(command, url, preset) for _ in range(runs)]
        medians = {name: statistics.median_low(s[name] for s, _ in runs_of)
                   for name in CATEGORIES}
        metrics = min(runs_of, key=lambda run: abs(run[0]["performance"]
                                                    - medians["performance"]))[1]
        results[preset] = medians, metrics, [s["performance"] for s, _ in runs_of]
    return results


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("site")
    parser.add_argument("--loads", type=int, default=21)
    parser.add_argument("--lighthouse")
    parser.add_argument("--audits", type=int, default=3)
    options = parser.parse_args()
    baseline = tempfile.mkdtemp(prefix="passo-baseline.")
    shutil.copytree(os.path.join(HERE, "web-baseline"), baseline, dirs_exist_ok=True)
    shutil.copy(os.path.join(options.site, "logo.png"), baseline)
    servers = [serve(options.site), serve(baseline)]
    ours, theirs = ([], [], []), ([], [], [])
    try:
        for load in range(options.loads):
            # One browser's start warms the system's caches for the next.
            order = [(0, ours), (1, theirs)]
            for side, figures in order if load % 2 else reversed(order):
                painted, ready, per_click, shown = ready_and_click(servers[side][1])
                for figure, value in zip(figures, (painted, ready, per_click)):
                    figure.append(value)
                if side == 0 and shown != "668,5714":
                    print(f"CALCOLA answered {shown!r}", file=sys.stderr)
                    return 2
        scores = audits(options.lighthouse, servers[0][1], options.audits) \
            if options.lighthouse else {}
    finally:
        for server, _ in servers:
            server.shutdown()
        shutil.rmtree(baseline, ignore_errors=True)

    painted, ready = (statistics.median(ours[i]) for i in (0, 1))
    bare_painted, bare = (statistics.median(theirs[i]) for i in (0, 1))
    first, second, click = (statistics.median(c[batch] for c in ours[2]) for batch in range(3))
    bare_first, bare_second, bare_click = (statistics.median(c[batch] for c in theirs[2])
                                           for batch in range(3))
    plain, packed = sizes(options.site)
    met = [painted <= 1.1 * bare_painted, ready <= 1.3 * bare,
           click <= 3 * bare_click and click < 100, plain <= 200 * 1024]
    said = ["met" if ok else "MISSED" for ok in met]
    print(f"First paint ({options.loads} loads each, fresh profile every load):")
    print(f"  site {painted:.1f} ms, bare page {bare_painted:.1f} ms:"
          f" ratio {painted / bare_painted:.2f} (target <= 1.1: {said[0]})")
    print(f"Page ready ({options.loads} loads each, fresh profile every load):")
    print(f"  site {ready:.1f} ms, bare page {bare:.1f} ms: ratio {ready / bare:.2f}"
          f" (target <= 1.3: {said[1]})")
    print(f"One click ({options.loads} loads, batches of {BATCH}):")
    print(f"  first batch: site {first:.1f} us, bare page {bare_first:.1f} us")
    print(f"  second batch: site {second:.1f} us, bare page {bare_second:.1f} us")
    print(f"  after {WARM_UP} more: site {click:.1f} us, bare page {bare_click:.1f} us:"
          f" ratio {click / bare_click:.1f} (target <= 3 and < 100 us: {said[2]})")
    print(f"Site: {plain} bytes ({plain / 1024:.1f} KiB), {packed} bytes gzipped"
          f" ({packed / 1024:.1f} KiB) (target <= 200 KiB: {said[3]})")
    for preset, (medians, metrics, performances) in scores.items():
        marks = dict(MARKS, performance=98) if preset == "mobile" else MARKS
        met.append(all(medians[name] >= mark for name, mark in marks.items()))
        print(f"Lighthouse, {preset} ({options.audits} audits, median; performance in each:"
              f" {performances}):")
        print("  " + ", ".join(f"{n} {medians[n]}" for n in CATEGORIES)
              + f" (target: {'met' if met[-1] else 'MISSED'})")
        print("  " + ", ".join(f"{n} {v}" for n, v in metrics.items()))
    print("All targets met." if all(met) else "Targets missed: see above.")
    return 0


if __name__ == "__main__":
    sys.exit(main())
