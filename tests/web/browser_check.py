#!/usr/bin/python3
# SPDX-FileCopyrightText: 2026 The passo-rigatura authors
# SPDX-License-Identifier: GPL-3.0-or-later
"""The browser version in headless Chromium, driven through WebDriver and the
DevTools protocol, the site served from 127.0.0.1 on a free port.

    browser_check.py --site DIR --artifacts DIR [--suite window_test.js --density N]

With --suite, runs the window suite's page at that density and stands for
the user and the screen reader it asks for (tests/web/chromium_driver.cpp).
Without, checks the site as a visitor gets it, one table row each.
Prints one line per check and a closing "N passed, M failed" line.
"""

import argparse
import importlib.machinery
import json
import os
import shutil
import subprocess
import sys
import tempfile
import threading

from selenium import webdriver
from selenium.webdriver.chrome.options import Options
from selenium.webdriver.chrome.service import Service
from selenium.webdriver.common.by import By
from selenium.webdriver.common.keys import Keys
from selenium.webdriver.support.ui import WebDriverWait

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.dirname(HERE))
from error_boxes import box_text  # noqa: E402
from harness import run_checks  # noqa: E402

serve_web = importlib.machinery.SourceFileLoader(
    "serve_web", os.path.join(HERE, "..", "..", "scripts", "serve-web")).load_module()

# Chromium as root on a closed network: no sandbox, nothing fetched behind
# the page's back.
FLAGS = ["--headless", "--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run",
         "--disable-background-networking", "--disable-component-update", "--disable-sync",
         "--lang=it"]
KEYS = {"Tab": 9, "Enter": 13, "Escape": 27}
DESKTOP = {"width": 800, "height": 600, "mobile": False}
PHONE = {"width": 360, "height": 740, "deviceScaleFactor": 3, "mobile": True}


class Chromium:
    """The browser with a fresh profile, and the server of the site (and of
    the suite's page and its driver's requests) on a free port."""

    def __init__(self, site, suite):
        self.profile = tempfile.mkdtemp(prefix="passo-chromium.")
        self.suite = suite
        self.printed, self.ended = [], threading.Event()
        check = self

        class Handler(serve_web.Handler):
            def translate_path(self, path):
                name = os.path.basename(path)
                if suite and name.startswith("window_test."):
                    return os.path.join(os.path.dirname(suite), name)
                return super().translate_path(path)

            def do_GET(self):
                if self.path != "/suite.html":
                    return super().do_GET()
                with open(os.path.join(site, "index.html"), encoding="utf-8") as page:
                    self.answer(page.read().replace("passo-rigatura.js", "window_test.js"),
                                "text/html; charset=utf-8")

            def do_POST(self):
                body = self.rfile.read(int(self.headers["Content-Length"] or 0)).decode()
                try:
                    self.answer(check.act(self.path.removeprefix("/driver/"), body))
                except Exception as error:  # the suite fails on the answer, never hangs
                    self.answer(f"driver error: {error!r}")

            def answer(self, text, kind="text/plain; charset=utf-8"):
                data = text.encode()
                self.send_response(200)
                self.send_header("Content-Type", kind)
                self.send_header("Content-Length", str(len(data)))
                self.end_headers()
                self.wfile.write(data)

        handler = lambda *a: Handler(*a, directory=site)  # noqa: E731
        self.server = serve_web.http.server.ThreadingHTTPServer(("127.0.0.1", 0), handler)
        threading.Thread(target=self.server.serve_forever, daemon=True).start()
        self.origin = f"http://127.0.0.1:{self.server.server_address[1]}"
        options = Options()
        options.binary_location = "/usr/bin/chromium"
        for flag in FLAGS + [f"--user-data-dir={self.profile}"]:
            options.add_argument(flag)
        options.set_capability("goog:loggingPrefs", {"browser": "ALL", "performance": "ALL"})
        self.web = webdriver.Chrome(service=Service("/usr/bin/chromedriver"), options=options)
        self.cdp("Browser.grantPermissions", permissions=["clipboardReadWrite"],
                 origin=self.origin)

    def close(self):
        self.web.quit()
        self.server.shutdown()
        shutil.rmtree(self.profile, ignore_errors=True)

    def cdp(self, command, **parameters):
        return self.web.execute_cdp_cmd(command, parameters)

    def emulate(self, metrics, density=1):
        self.metrics = {"deviceScaleFactor": density, **metrics}
        self.cdp("Emulation.setDeviceMetricsOverride", **self.metrics)
        self.cdp("Emulation.setTouchEmulationEnabled", enabled=metrics["mobile"])

    def key(self, key, text="", modifiers=0, commands=()):
        code = KEYS.get(key, ord(key.upper()[0]))
        common = {"key": key, "windowsVirtualKeyCode": code, "modifiers": modifiers}
        self.cdp("Input.dispatchKeyEvent", type="keyDown", text=text, commands=list(commands),
                 **common)
        self.cdp("Input.dispatchKeyEvent", type="keyUp", **common)

    def node(self, element_id):
        root = self.cdp("DOM.getDocument", depth=0)["root"]["nodeId"]
        return self.cdp("DOM.querySelector", nodeId=root, selector=f"#{element_id}")["nodeId"]

    def accessible_name(self, element_id):
        nodes = self.cdp("Accessibility.getPartialAXTree", nodeId=self.node(element_id),
                         fetchRelatives=False)["nodes"]
        return nodes[0]["name"]["value"]

    def act(self, action, argument):
        """What the suite's page asks of the user, the screen reader or the
        window system."""
        if action == "print":
            self.printed.append(argument)
            print(argument, flush=True)
        elif action == "exit":
            self.status = int(argument)
            self.ended.set()
        elif action == "key":
            self.key(argument, "\r" if argument == "Enter" else "")
        elif action == "type":
            for character in argument:
                self.key(character, character)
        elif action == "show":
            for target in self.cdp("Target.getTargets")["targetInfos"]:
                if target["url"] == "about:blank":
                    self.cdp("Target.closeTarget", targetId=target["targetId"])
            self.cdp("Page.bringToFront")
        elif action == "another-window":
            target = self.cdp("Target.createTarget", url="about:blank")["targetId"]
            self.cdp("Target.activateTarget", targetId=target)
        elif action == "resize":
            self.cdp("Emulation.setDeviceMetricsOverride",
                     **{**self.metrics, "width": 1200, "height": 900})
        elif action == "resize-back":
            self.cdp("Emulation.setDeviceMetricsOverride", **self.metrics)
        elif action == "font-family":
            # The fonts are known once the text is laid out.
            self.cdp("Runtime.evaluate",
                     expression=f"document.getElementById('{argument}').getBoundingClientRect()")
            self.cdp("CSS.enable")
            fonts = self.cdp("CSS.getPlatformFontsForNode", nodeId=self.node(argument))["fonts"]
            return max(fonts, key=lambda font: font["glyphCount"])["familyName"]
        elif action == "accessible-name":
            return self.accessible_name(argument)
        elif action == "copy":
            self.key("c", modifiers=2, commands=["copy"])
            return self.cdp("Runtime.evaluate", expression="navigator.clipboard.readText()",
                            awaitPromise=True, userGesture=True)["result"]["value"]
        return ""


def run_suite(chromium, report, density):
    chromium.emulate(DESKTOP, density)
    chromium.cdp("DOM.enable")
    chromium.web.get(chromium.origin + "/suite.html")
    report.require("the window suite ends", chromium.ended.wait(120))
    report.equal("the window suite passes", chromium.status, 0)


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
    # A second server on the site's port: one line naming the port, no traceback.
    port = chromium.origin.rsplit(":", 1)[1]
    taken = subprocess.run([serve_web.__file__, "--port", port, "."], capture_output=True,
                           text=True, timeout=20)
    report.equal("serve-web on a port in use says so in one line, with status 1",
                 (taken.returncode, taken.stdout, taken.stderr.count("\n"),
                  f"port {port} is already in use" in taken.stderr), (1, "", 1, True))


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
    parser.add_argument("--suite")
    parser.add_argument("--density", type=int, default=1)
    options = parser.parse_args()
    os.makedirs(options.artifacts, exist_ok=True)
    chromium = Chromium(options.site, options.suite)

    def checks(report):
        if options.suite:
            run_suite(chromium, report, options.density)
        else:
            visit(chromium, report, options.artifacts)

    try:
        return run_checks(checks, 280, options.artifacts)
    finally:
        chromium.close()


if __name__ == "__main__":
    sys.exit(main())
