#!/usr/bin/python3
# SPDX-FileCopyrightText: 2026 The passo-rigatura authors
# SPDX-License-Identifier: GPL-3.0-or-later
"""The site against bench/web-baseline, the same controls in plain HTML and
JavaScript, each load in a fresh headless Chromium (docs/performance.md).

Usage: web_startup.py SITE_DIR --rows FILE [--loads N] [--lighthouse PATH [--audits N]]
"""

import argparse
import gzip
import json
import os
import shutil
import subprocess
import sys
import tempfile

import verdict
from verdict import Mark

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "web"))
import chromium  # noqa: E402

HERE = os.path.dirname(os.path.abspath(__file__))
# Run before the page's own scripts: notes when the task that gave CALCOLA
# the focus is over, and so the page free to take a click.
WATCH_READY = """addEventListener("focusin", event => {
    if (event.target.id == "cmdcalcola")
        setTimeout(() => window.passoReady = window.passoReady || performance.now());
}, true);"""
READY = """return new Promise(done => { const wait = () => window.passoReady ?
    done(window.passoReady) : setTimeout(wait, 1); wait(); })"""
FIRST_PAINT = """return new Promise(done => new PerformanceObserver((entries, observer) => {
    const paint = entries.getEntriesByName("first-contentful-paint")[0];
    if (paint) { observer.disconnect(); done(paint.startTime); }
}).observe({type: "paint", buffered: true}));"""
# Milliseconds for `clicks` clicks of CALCOLA, each running to the result.
CLICKS = """const button = document.getElementById("cmdcalcola");
document.getElementById("gradi1").value = "7";
document.getElementById("centimetri2").value = "13";
const start = performance.now();
for (let click = 0; click < arguments[0]; ++click) button.click();
return [performance.now() - start, document.getElementById("centimetri1").textContent];"""
BATCH, WARM_UP = 100, 2000
CATEGORIES = ["performance", "accessibility", "best-practices", "seo"]


def load(site, answer=None):
    """One load of the page in a fresh browser: milliseconds to the first
    paint and to ready, microseconds per click in each batch; the page must
    show `answer` for 7 degrees over 13 cm, where given."""
    with chromium.Chromium(site) as browser:
        browser.emulate(chromium.DESKTOP)
        browser.cdp("Page.addScriptToEvaluateOnNewDocument", source=WATCH_READY)
        web = browser.web
        web.get(browser.origin + "/")
        figures = {"ready": web.execute_script(READY), "paint": web.execute_script(FIRST_PAINT)}
        for batch, clicks in (("first", BATCH), ("second", BATCH), (None, WARM_UP),
                              ("click", BATCH)):
            took, shown = web.execute_script(CLICKS, clicks)
            if batch:
                figures[batch] = 1000 * took / clicks
        if answer and shown != answer:
            sys.exit(f"web_startup.py: CALCOLA answered {shown!r} in {site}")
        return figures


def lighthouse(command, url, preset):
    """Each category's score out of 100 in one audit of `url`, and the
    metrics as Lighthouse shows them."""
    with tempfile.TemporaryDirectory(prefix="passo-lighthouse.") as profile:
        report = os.path.join(profile, "report.json")
        flags = " ".join(chromium.FLAGS + [f"--user-data-dir={profile}/chromium"])
        subprocess.run([command, url, "--quiet", "--output=json", f"--output-path={report}",
                        f"--chrome-flags={flags}"]
                       + (["--preset=desktop"] if preset == "desktop" else []),
                       env={**os.environ, "CHROME_PATH": "/usr/bin/chromium"}, check=True,
                       timeout=300)
        with open(report, encoding="utf-8") as file:
            result = json.load(file)
    print(preset, {a: result["audits"][a]["displayValue"] for a in (
        "first-contentful-paint", "largest-contentful-paint", "total-blocking-time",
        "cumulative-layout-shift")})
    return {name: round(100 * result["categories"][name]["score"]) for name in CATEGORIES}


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("site")
    parser.add_argument("--rows", required=True)
    parser.add_argument("--loads", type=int, default=21)
    parser.add_argument("--lighthouse")
    parser.add_argument("--audits", type=int, default=3)
    options = parser.parse_args()
    with tempfile.TemporaryDirectory(prefix="passo-baseline.") as baseline:
        shutil.copytree(os.path.join(HERE, "web-baseline"), baseline, dirs_exist_ok=True)
        shutil.copy(os.path.join(options.site, "logo.png"), baseline)
        rows, site, bare = verdict.decide(lambda loads: verdict.alternate(
            lambda: load(options.site, "668,5714"), lambda: load(baseline), loads), [
                Mark("page: first paint / bare page", "paint", "<=", 1.1),
                Mark("page: ready / bare page", "ready", "<=", 1.3),
                Mark("page: click after 2000 / bare page", "click", "<=", 3),
                Mark("page: click after 2000 (us)", "click", "<", 100, kind="value")],
            options.loads)
    for figure in ("paint", "ready", "first", "second", "click"):
        for name, loads in (("site", site), ("bare page", bare)):
            print(verdict.samples_line(f"{name} {figure}", [r[figure] for r in loads],
                                       "us" if figure in ("first", "second", "click") else "ms"))
    data = [open(os.path.join(folder, name), "rb").read()
            for folder, _, names in os.walk(options.site) for name in names]
    plain = sum(map(len, data))
    print(f"site: {plain} bytes, {sum(len(gzip.compress(d, 9, mtime=0)) for d in data)} gzipped")
    rows.append(Mark("page: the site's files (KiB)", "size", "<=", 200, kind="value")
                .judge([plain / 1024], []))
    if options.lighthouse:
        with chromium.harness.serving(options.site, chromium.serve_web.Handler) as origin:
            for preset in ("mobile", "desktop"):
                scores = [lighthouse(options.lighthouse, origin + "/", preset)
                          for _ in range(options.audits)]
                print(preset, "performance", [s["performance"] for s in scores])
                # The desktop's performance is shown for information only.
                for name in CATEGORIES[preset == "desktop":]:
                    mark = 98 if name == "performance" else 100
                    rows.append(Mark(f"Lighthouse {preset}: {name}", name, ">=", mark,
                                     kind="value").judge([s[name] for s in scores], []))
    verdict.write_rows(options.rows, rows)


if __name__ == "__main__":
    main()
