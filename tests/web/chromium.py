# SPDX-FileCopyrightText: 2026 The passo-rigatura authors
# SPDX-License-Identifier: GPL-3.0-or-later
"""What the browser checks share: headless Chromium with a fresh profile,
driven through WebDriver and the DevTools protocol, and a folder served from
127.0.0.1 on a free port, as any web host would serve it."""

import contextlib
import importlib.machinery
import os
import shutil
import sys
import tempfile

from selenium import webdriver
from selenium.webdriver.chrome.options import Options
from selenium.webdriver.chrome.service import Service

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.dirname(HERE))
import harness  # noqa: E402

serve_web = importlib.machinery.SourceFileLoader(
    "serve_web", os.path.join(HERE, "..", "..", "scripts", "serve-web")).load_module()

# Chromium as root on a closed network: no sandbox, nothing fetched behind
# the page's back.
FLAGS = ["--headless", "--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run",
         "--disable-background-networking", "--disable-component-update", "--disable-sync",
         "--lang=it"]
KEYS = {"Tab": 9, "Enter": 13, "Escape": 27}
DESKTOP = {"width": 800, "height": 600, "mobile": False}


class Chromium:
    """The browser, and `folder` served by `handler` (scripts/serve-web's by
    default) at self.origin, until the block that opens them ends."""

    def __init__(self, folder, handler=serve_web.Handler):
        self.profile = tempfile.mkdtemp(prefix="passo-chromium.")
        self.closing = contextlib.ExitStack()
        self.closing.callback(shutil.rmtree, self.profile, ignore_errors=True)
        self.origin = self.closing.enter_context(harness.serving(folder, handler))
        options = Options()
        options.binary_location = "/usr/bin/chromium"
        for flag in FLAGS + [f"--user-data-dir={self.profile}"]:
            options.add_argument(flag)
        options.set_capability("goog:loggingPrefs", {"browser": "ALL", "performance": "ALL"})
        try:
            self.web = webdriver.Chrome(service=Service("/usr/bin/chromedriver"), options=options)
        except BaseException:
            self.closing.close()
            raise
        self.closing.callback(self.web.quit)
        self.cdp("Browser.grantPermissions", permissions=["clipboardReadWrite"],
                 origin=self.origin)

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        self.closing.close()

    def cdp(self, command, **parameters):
        return self.web.execute_cdp_cmd(command, parameters)

    def emulate(self, metrics, density=1):
        """A screen of `metrics` (CSS pixels, and whether it is a phone's,
        whose pointer is a finger) at `density`."""
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

    def font_family(self, element_id):
        """The family of the font most of an element's text is drawn in."""
        # The fonts are known once the text is laid out.
        self.cdp("Runtime.evaluate",
                 expression=f"document.getElementById('{element_id}').getBoundingClientRect()")
        self.cdp("DOM.enable")
        self.cdp("CSS.enable")
        fonts = self.cdp("CSS.getPlatformFontsForNode", nodeId=self.node(element_id))["fonts"]
        return max(fonts, key=lambda font: font["glyphCount"])["familyName"]

    def accessible_name(self, element_id):
        nodes = self.cdp("Accessibility.getPartialAXTree", nodeId=self.node(element_id),
                         fetchRelatives=False)["nodes"]
        return nodes[0]["name"]["value"]
