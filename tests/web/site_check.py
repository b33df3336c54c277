#!/usr/bin/python3
# SPDX-FileCopyrightText: 2026 The passo-rigatura authors
# SPDX-License-Identifier: GPL-3.0-or-later
"""The site as a visitor gets it, in headless Chromium, one table row each:
on a desktop and on a phone, with the network and without, with WebAssembly
and without.

    site_check.py --site DIR --artifacts DIR

Prints one line per check and a closing "N passed, M failed" line; the
screenshots stay in the artifacts folder.
"""

import argparse
import json
import os
import sys

from selenium import webdriver
from selenium.webdriver.common.by import By
from selenium.webdriver.common.keys import Keys
from selenium.webdriver.support.ui import WebDriverWait

from chromium import DESKTOP, Chromium, run
from error_boxes import box_text

PHONE = {"width": 360, "height": 740, "deviceScaleFactor": 3, "mobile": True}


# The site as a visitor gets it: (name, metrics, density).
VISITS = [("desktop", DESKTOP, 1), ("desktop at density 2", DESKTOP, 2), ("phone", PHONE, 3)]
# (name, degrees, distance, result or error box, key that closes the box).
INPUTS = [("quarter turn", "90", "10", "40", None),
          ("comma and blanks", " -10 ", "5,0", "-180", None),
          ("degrees not a number", "abc", "10", "degreesNotANumber", Keys.ENTER),
          ("zero degrees", "0", "10", "zeroDegrees", Keys.ESCAPE),
          ("twist too large", "1e-30", "1e10", "twistTooLarge", Keys.ENTER)]
JS = {"focused": "return document.activeElement.id",
      "result": "return document.getElementById('centimetri1').textContent",
      "box open": "return !!document.querySelector('dialog[open]')",
      "box text": "return document.querySelector('dialog[open] .message').textContent",
      "zoom": "return parseFloat(getComputedStyle(document.getElementById('Form1')).zoom)",
      "sideways": "return document.documentElement.scrollWidth > innerWidth",
      "scale": "return visualViewport.scale",
      "logo": "return document.getElementById('Picture1').currentSrc.split('/').pop()",
      "sentence": "return document.body.innerText.trim()"}
# Answered through the callback WebDriver passes last.
ASYNC_JS = {"worker": "navigator.serviceWorker.ready.then(r => arguments[0](!!r.active))",
            "storage": "caches.keys().then(names => arguments[0]("
                       "[localStorage.length, document.cookie, names.length]))"}
# Where the program cannot run, the page says what it needs.
REQUIREMENT = ("Per funzionare questa pagina ha bisogno di JavaScript e di WebAssembly: "
               "attivali nel browser, o aprila con un browser aggiornato.")
# What a screen reader finds in the page: (role, name).
ACCESSIBLE = [("textbox", "GRADI MISURATI"), ("textbox", "SPAZIO MISURATO in centimetri"),
              ("button", "CALCOLA")]


def visit(chromium, report, artifacts):
    web = chromium.web
    js = lambda name: web.execute_script(JS[name])  # noqa: E731
    for name, metrics, density in VISITS:
        chromium.emulate(metrics, density)
        web.get(chromium.origin + "/")
        WebDriverWait(web, 20).until(lambda _: js("focused") == "cmdcalcola")
        report.equal(f"{name}: CALCOLA has the focus when ready", js("focused"), "cmdcalcola")
        report.equal(f"{name}: the logo at its density", js("logo"),
                     "logo@2x.png" if density > 1 else "logo.png")
        zoom = (metrics["width"] - 16) / 347 if metrics["mobile"] else 1
        report.check(f"{name}: the window at {zoom:.3f} of its size",
                     abs(js("zoom") - zoom) < 1e-3, js("zoom"))
        report.equal(f"{name}: no sideways scrolling", js("sideways"), False)
        for row in INPUTS:
            enter(chromium, report, f"{name}: {row[0]}", *row[1:])
        web.find_element(By.ID, "gradi1").click()
        report.equal(f"{name}: a tapped box keeps the page's scale", js("scale"), 1)
        web.save_screenshot(os.path.join(artifacts, f"site-{name.replace(' ', '-')}.png"))
    report.equal("the text boxes ask for a decimal keypad",
                 [e.get_attribute("inputmode") for e in web.find_elements(By.TAG_NAME, "input")],
                 ["decimal", "decimal"])
    report.equal("Chromium finds the site installable",
                 chromium.cdp("Page.getInstallabilityErrors")["installabilityErrors"], [])
    tree = chromium.cdp("Accessibility.getFullAXTree")["nodes"]
    found = {(n["role"]["value"], n.get("name", {}).get("value")) for n in tree if "role" in n}
    report.equal("a screen reader finds the boxes by their labels, and the button",
                 [pair for pair in ACCESSIBLE if pair in found], ACCESSIBLE)
    report.require("the service worker is active", web.execute_async_script(ASYNC_JS["worker"]))
    chromium.cdp("Network.enable")
    chromium.cdp("Network.emulateNetworkConditions", offline=True, latency=0,
                 downloadThroughput=-1, uploadThroughput=-1)
    web.refresh()
    WebDriverWait(web, 20).until(lambda _: js("focused") == "cmdcalcola")
    enter(chromium, report, "offline", "7", "13", "668,5714", None)
    report.equal("nothing stored but the site's cache", web.execute_async_script(
        ASYNC_JS["storage"]), [0, "", 1])
    requests = [json.loads(entry["message"])["message"] for entry in web.get_log("performance")]
    # What the site's pages and its worker asked for; the browser's own new
    # tab, before the first visit, is not the site's.
    urls = {m["params"]["request"]["url"] for m in requests
            if m["method"] == "Network.requestWillBeSent"
            and m["params"].get("documentURL", "").startswith(chromium.origin + "/")}
    report.check("the site made requests", len(urls) > 0)
    report.equal("every request stays on the origin",
                 sorted(u for u in urls if not u.startswith(chromium.origin + "/")), [])
    report.equal("the console shows no error",
                 [e["message"] for e in web.get_log("browser") if e["level"] == "SEVERE"], [])
    chromium.cdp("Network.emulateNetworkConditions", offline=False, latency=0,
                 downloadThroughput=-1, uploadThroughput=-1)
    chromium.cdp("Page.addScriptToEvaluateOnNewDocument", source="delete window.WebAssembly")
    web.refresh()
    WebDriverWait(web, 20).until(lambda _: js("sentence"))
    report.equal("without WebAssembly the page says what it needs", js("sentence"), REQUIREMENT)
    web.save_screenshot(os.path.join(artifacts, "site-without-webassembly.png"))


def enter(chromium, report, what, degrees, distance, outcome, closing_key):
    """Types both measurements with real keys and clicks CALCOLA; checks the
    result, or the error box, its closing key and what it leaves behind."""
    web = chromium.web
    before = web.execute_script(JS["result"])
    for box, text in (("gradi1", degrees), ("centimetri2", distance)):
        web.find_element(By.ID, box).clear()
        web.find_element(By.ID, box).send_keys(text)
    web.find_element(By.ID, "cmdcalcola").click()
    if closing_key is None:
        report.equal(f"{what}: the result", web.execute_script(JS["result"]), outcome)
        return
    report.equal(f"{what}: the error box", web.execute_script(JS["box text"]), box_text(outcome))
    report.equal(f"{what}: OK has the focus", web.execute_script(JS["focused"]), "Form1-error-ok")
    webdriver.ActionChains(web).send_keys(closing_key).perform()
    WebDriverWait(web, 5).until(lambda _: not web.execute_script(JS["box open"]))
    fields = [web.find_element(By.ID, b).get_property("value") for b in ("gradi1", "centimetri2")]
    report.equal(f"{what}: the focus back and everything kept",
                 [web.execute_script(JS[n]) for n in ("focused", "result")] + fields,
                 ["cmdcalcola", before, degrees, distance])


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--site", required=True)
    parser.add_argument("--artifacts", required=True)
    options = parser.parse_args()
    chromium = Chromium(options.site)
    return run(chromium, lambda report: visit(chromium, report, options.artifacts),
               options.artifacts)


if __name__ == "__main__":
    sys.exit(main())
