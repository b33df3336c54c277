#!/usr/bin/python3
# SPDX-FileCopyrightText: 2026 The passo-rigatura authors
# SPDX-License-Identifier: GPL-3.0-or-later
"""The window suite's page in headless Chromium, at a density, standing for
the user, the screen reader and the window system the suite asks for
(tests/web/chromium_driver.cpp).

    suite_server.py --site DIR --suite window_test.js --density N --artifacts DIR

Serves the site's page with the suite in place of the program, and answers
the suite's requests. Prints the suite's lines as they come, then one line
per check and a closing "N passed, M failed" line.
"""

import os
import re
import sys
import threading

import chromium


class SuitePage(chromium.Chromium):
    """The browser, serving the site with the suite's page at /suite.html
    and the suite's requests at /driver/ACTION."""

    def __init__(self, site, suite):
        self.ended = threading.Event()
        page = self

        class Handler(chromium.serve_web.Handler):
            def translate_path(self, path):
                name = os.path.basename(path)
                if name.startswith("window_test."):
                    return os.path.join(os.path.dirname(suite), name)
                return super().translate_path(path)

            def do_GET(self):
                if self.path != "/suite.html":
                    return super().do_GET()
                with open(os.path.join(site, "index.html"), encoding="utf-8") as html:
                    self.answer(re.sub(r"<script[^>]*>.*</script>",
                                       '<script src="window_test.js"></script>', html.read(),
                                       flags=re.DOTALL), "text/html; charset=utf-8")

            def do_POST(self):
                body = self.rfile.read(int(self.headers["Content-Length"] or 0)).decode()
                try:
                    self.answer(page.act(self.path.removeprefix("/driver/"), body))
                except Exception as error:  # the suite fails on the answer, never hangs
                    self.answer(f"driver error: {error!r}")

            def answer(self, text, kind="text/plain; charset=utf-8"):
                data = text.encode()
                self.send_response(200)
                self.send_header("Content-Type", kind)
                self.send_header("Content-Length", str(len(data)))
                self.end_headers()
                self.wfile.write(data)

        super().__init__(site, Handler)

    def act(self, action, argument):
        """What the suite's page asks of the user, the screen reader or the
        window system."""
        if action == "print":
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
            return self.font_family(argument)
        elif action == "accessible-name":
            return self.accessible_name(argument)
        elif action == "copy":
            self.key("c", modifiers=2, commands=["copy"])
            return self.cdp("Runtime.evaluate", expression="navigator.clipboard.readText()",
                            awaitPromise=True, userGesture=True)["result"]["value"]
        return ""


def main():
    def checks(report, options):
        with SuitePage(options.site, options.suite) as page:
            page.emulate(chromium.DESKTOP, options.density)
            page.cdp("DOM.enable")
            page.web.get(page.origin + "/suite.html")
            report.require("the window suite ends", page.ended.wait(120))
            report.equal("the window suite passes", page.status, 0)

    return chromium.harness.main(__doc__, checks, 280, [
        ("--site", {"required": True}), ("--suite", {"required": True}),
        ("--density", {"type": int, "required": True})])


if __name__ == "__main__":
    sys.exit(main())
