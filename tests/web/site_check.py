#!/usr/bin/python3
# SPDX-FileCopyrightText: 2026 The passo-rigatura authors
# SPDX-License-Identifier: GPL-3.0-or-later
"""The site as a visitor gets it, in headless Chromium, one table row each:
on a desktop and on phones, before the program has loaded and after, with
the network and without, with JavaScript and WebAssembly and without.

    site_check.py --site DIR --artifacts DIR

Prints one line per check and a closing "N passed, M failed" line; the
screenshots stay in the artifacts folder.
"""

import itertools
import json
import os
import subprocess
import sys
import threading

from PIL import Image
from selenium import webdriver
from selenium.webdriver.common.by import By
from selenium.webdriver.common.keys import Keys
from selenium.webdriver.support.ui import WebDriverWait

from chromium import DESKTOP, Chromium, harness, serve_web
from error_boxes import box_text


def phone(width, height):
    return {"width": width, "height": height, "mobile": True}


# The window as on a desktop: (name, metrics, density, the window's width in
# CSS pixels: its own, or filling a tablet's width or height).
WINDOWS = [("desktop", DESKTOP, 1, 347), ("desktop at density 2", DESKTOP, 2, 347),
           ("800 × 1280 tablet", phone(800, 1280), 2, 800 - 16),
           ("1280 × 800 tablet", phone(1280, 800), 2, (800 - 16) * 347 / 295)]
# One column on a phone, upright or held sideways: (name, metrics, density,
# whether all of it shows without scrolling).
COLUMNS = [("360 × 640 phone", phone(360, 640), 3, True),
           ("320 × 568 phone", phone(320, 568), 2, False),
           ("412 × 915 phone", phone(412, 915), 3, True),
           ("640 × 360 phone held sideways", phone(640, 360), 3, False),
           ("915 × 412 phone held sideways", phone(915, 412), 3, False)]
# A keypad that shrinks the page of a 360 × 640 phone to 360 × 330.
KEYPAD = {**phone(360, 330), "screenWidth": 360, "screenHeight": 640}
# The column, top to bottom: the reading order, each box after its label.
READING_ORDER = ["Picture1", "Label1", "gradi1", "Label2", "centimetri2", "Label3",
                 "centimetri1", "Label4", "cmdcalcola"]
BOXES_AND_BUTTON = ["gradi1", "centimetri2", "cmdcalcola"]
# The cases every harness types in: (name, degrees, distance, (result or
# box, what it shows)); a box is closed by Enter and Esc in turn.
INPUTS = harness.CALCULATIONS
COLUMN_INPUTS = INPUTS[:2] + [("widest result", "-360", "3,4028235E+38",
                               (harness.RESULT, "-3,402823E+38"))]
# Pastes too long to type: (name, box, its text as head + digit x MiB + tail,
# the other box's text, (result or box, what it shows)).
PASTES = [("an 8 MiB paste of digits as the degrees", "gradi1", ("", "7", 8, ""), "10",
           (harness.BOX, box_text("degreesOutOfRange"))),
          ("a 32 MiB number as the distance", "centimetri2", ("5", "0", 32, "e-33554432"), "90",
           (harness.RESULT, "20"))]
CLOSING_KEYS = itertools.cycle([Keys.ENTER, Keys.ESCAPE])
JS = {"focused": "return document.activeElement.id",
      "result": "return document.getElementById('centimetri1').textContent",
      "box open": "return !!document.querySelector('dialog[open]')",
      "box text": "const box = document.querySelector('dialog[open] .message');"
                  " return box && box.textContent",
      "box on the screen": "const box = document.querySelector('dialog[open]');"
                           " const r = box && box.getBoundingClientRect(); return !!r"
                           " && r.left >= 0 && r.top >= 0 && r.right <= innerWidth"
                           " && r.bottom <= innerHeight",
      "result cut": "const e = document.getElementById('centimetri1');"
                    " return e.scrollWidth > e.clientWidth",
      "window width": "return document.getElementById('Form1').getBoundingClientRect().width",
      "sideways": "return document.documentElement.scrollWidth > innerWidth",
      "scale": "return visualViewport.scale",
      "logo": "return document.getElementById('Picture1').currentSrc.split('/').pop()",
      "sentence": "const p = document.querySelector('body > p'); return p && p.textContent",
      "loaded": "return document.readyState != 'loading'",
      "answers": "return window.passoAnswers",
      "clicks": "return window.passoClicks || 0",
      "hints": "return [...document.querySelectorAll('input')].map(e => e.enterKeyHint)",
      "blur": "document.activeElement.blur()",
      "to the top": "scrollTo(0, 0)",
      "texts": "return ['gradi1', 'centimetri2', 'centimetri1'].map(id =>"
               " document.getElementById(id)).map(e => e.value ?? e.textContent)",
      "in view": "return arguments[0].filter(id => { const r = document.getElementById(id)"
                 ".getBoundingClientRect(); return r.top < 0 || r.bottom > innerHeight })",
      "rectangle": "return (document.getElementById(arguments[0])"
                   " || document.querySelector('dialog[open]')).getBoundingClientRect().toJSON()",
      "shift": "return window.passoShift",
      "paste": "const [box, head, digit, mebibytes, tail] = arguments;"
               " document.getElementById(box).value = head + digit.repeat(mebibytes << 20) + tail;"
               " document.getElementById(box).dispatchEvent(new Event('input'))"}
# Each control as laid out: its id, whether it is the picture, its rectangle
# on the page, its text's size in CSS pixels and whether that text is cut;
# the viewport's size; the column's padding.
LAYOUT = """const form = document.getElementById("Form1");
return {controls: [...form.children].map(e => {
            const r = e.getBoundingClientRect();
            return {id: e.id, picture: e.tagName == "IMG", left: r.left + scrollX,
                    top: r.top + scrollY, right: r.right + scrollX, bottom: r.bottom + scrollY,
                    width: r.width, height: r.height,
                    font: parseFloat(getComputedStyle(e).fontSize),
                    cut: e.scrollWidth > e.clientWidth || e.scrollHeight > e.clientHeight};
        }),
        width: innerWidth, height: innerHeight, form: form.getBoundingClientRect().toJSON(),
        padding: parseFloat(getComputedStyle(form).paddingLeft)};"""
# Run in every page before its own scripts: how often the result is written,
# CALCOLA is pressed, and how much the page's layout shifts.
WATCH = """document.addEventListener("click", event => {
    if (event.target.id == "cmdcalcola")
        window.passoClicks = (window.passoClicks || 0) + 1;
}, true);
new MutationObserver(records => {
    for (const record of records)
        if (record.target.id == "centimetri1")
            window.passoAnswers = (window.passoAnswers || 0) + 1;
}).observe(document, {subtree: true, childList: true});
new PerformanceObserver(entries => {
    for (const entry of entries.getEntries())
        window.passoShift = (window.passoShift || 0) + entry.value;
}).observe({type: "layout-shift", buffered: true});"""
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
# The page in both schemes, as a phone's column and as the window: (name,
# metrics, scheme).
SCHEMES = [(f"{where} in {scheme}", metrics, scheme) for scheme in ("light", "dark")
           for where, metrics in (("360 × 640 phone", phone(360, 640)), ("desktop", DESKTOP))]


class WasmHeldBack(serve_web.Handler):
    """Serves the site, but the program's WebAssembly only once `released`
    is set."""
    released = threading.Event()

    def do_GET(self):
        if self.path.endswith(".wasm"):
            self.released.wait(60)
        super().do_GET()


def visit(chromium, report, artifacts):
    web = chromium.web
    js = lambda name, *arguments: web.execute_script(JS[name], *arguments)  # noqa: E731
    early_press(chromium, report, js)
    for name, metrics, density, width in WINDOWS:
        load(chromium, report, name, metrics, density, js)
        report.check(f"{name}: the window {width:.1f} px wide",
                     abs(js("window width") - width) < 0.5, js("window width"))
        if metrics["mobile"]:
            finger_sized(report, name, web.execute_script(LAYOUT))
        for row in COLUMN_INPUTS if metrics["mobile"] else INPUTS:
            enter(chromium, report, f"{name}: {row[0]}", *row[1:])
        web.save_screenshot(os.path.join(artifacts, f"site-{name.replace(' ', '-')}.png"))
    for row in PASTES:
        paste(chromium, report, *row)
    for name, metrics, density, whole in COLUMNS:
        load(chromium, report, name, metrics, density, js)
        column(report, name, web.execute_script(LAYOUT), whole)
        for row in COLUMN_INPUTS:
            enter(chromium, report, f"{name}: {row[0]}", *row[1:])
        report.check(f"{name}: the result in its own font",
                     chromium.font_family("centimetri1") in ("Verdana", "DejaVu Sans"))
        web.save_screenshot(os.path.join(artifacts, f"site-{name.replace(' ', '-')}.png"))
    keypad(chromium, report, js)
    action_keys(chromium, report, js)
    for name, metrics, scheme in SCHEMES:
        contrast(chromium, report, js, name, metrics, scheme, artifacts)
    kept_in_the_tab(chromium, report, js)
    report.equal("the text boxes ask for a decimal keypad",
                 [e.get_attribute("inputmode") for e in web.find_elements(By.TAG_NAME, "input")],
                 ["decimal", "decimal"])
    report.equal("Chromium finds the site installable",
                 chromium.cdp("Page.getInstallabilityErrors")["installabilityErrors"], [])
    report.equal("a screen reader finds the boxes by their labels, and the button",
                 [pair for pair in ACCESSIBLE if pair in accessible(chromium)], ACCESSIBLE)
    report.require("the service worker is active", web.execute_async_script(ASYNC_JS["worker"]))
    offline(chromium, report, js)
    chromium.cdp("Emulation.setScriptExecutionDisabled", value=True)
    web.refresh()
    report.check("without JavaScript the page says what it needs",
                 ("StaticText", REQUIREMENT) in accessible(chromium))
    chromium.cdp("Emulation.setScriptExecutionDisabled", value=False)
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


def accessible(chromium):
    """What a screen reader finds in the page: (role, name) pairs."""
    tree = chromium.cdp("Accessibility.getFullAXTree")["nodes"]
    return {(n["role"]["value"], n.get("name", {}).get("value")) for n in tree if "role" in n}


def early_press(chromium, report, js):
    """The window before the program has loaded: what is typed stays, a
    press of CALCOLA, by Space and twice by a click, is answered once when
    the program arrives, Enter presses it neither before nor after, and
    nothing moves as the program takes the window over."""
    web = chromium.web
    chromium.emulate(DESKTOP)
    WasmHeldBack.released.clear()
    script = chromium.cdp("Page.addScriptToEvaluateOnNewDocument", source=WATCH)["identifier"]
    chromium.cdp("Page.navigate", url=chromium.origin + "/")
    WebDriverWait(web, 20).until(lambda _: js("loaded"))
    before = web.execute_script(LAYOUT)["controls"]
    for box, text in (("gradi1", "90"), ("centimetri2", "10")):
        web.find_element(By.ID, box).send_keys(text)
    presses = [keyed(web, js, key) for key in (Keys.ENTER, Keys.SPACE)]
    for _ in range(2):
        web.find_element(By.ID, "cmdcalcola").click()
    report.equal("before the program: no result yet", js("result"), "")
    WasmHeldBack.released.set()
    harness.comes_true(lambda: js("result"), "the early press's result")
    report.equal("a press made before the program is answered once, with what was typed",
                 [js("result"), js("answers")] + [web.find_element(By.ID, box).get_property(
                     "value") for box in ("gradi1", "centimetri2")], ["40", 1, "90", "10"])
    presses += [keyed(web, js, key) for key in (Keys.ENTER, Keys.SPACE)]
    report.equal("CALCOLA: Enter presses nothing and Space presses it, before the program"
                 " and after", presses + [js("answers")], [0, 1, 3, 4, 2])
    report.equal("nothing moves as the program takes the window over",
                 web.execute_script(LAYOUT)["controls"], before)
    report.equal("the page's layout never shifts", js("shift"), None)
    chromium.cdp("Page.removeScriptToEvaluateOnNewDocument", identifier=script)


def keyed(web, js, key):
    """Presses `key` on CALCOLA; how often CALCOLA was pressed since the
    page loaded."""
    web.execute_script("document.getElementById('cmdcalcola').focus()")
    webdriver.ActionChains(web).send_keys(key).perform()
    return js("clicks")


def keypad(chromium, report, js):
    """A keypad that shrinks a phone's page, opened in each box in turn: the
    layout stays, and the box, the result and CALCOLA are in view above it."""
    for box in ("gradi1", "centimetri2"):
        load(chromium, report, f"keypad in {box}", phone(360, 640), 3, js)
        js("to the top")
        before = chromium.web.execute_script(LAYOUT)["controls"]
        chromium.web.find_element(By.ID, box).click()
        chromium.cdp("Emulation.setDeviceMetricsOverride", deviceScaleFactor=3, **KEYPAD)
        hidden = harness.settles_on(lambda: js("in view", [box, "centimetri1", "cmdcalcola"]), [])
        report.equal(f"a keypad open in {box}: the layout unchanged, hidden by the keypad",
                     [chromium.web.execute_script(LAYOUT)["controls"] == before, hidden], [True, []])


def action_keys(chromium, report, js):
    """A keypad's action key: "next" in the degrees box moves on to the
    distance, "done" there closes the keypad, CALCOLA and the result in view;
    with a mouse, a physical keyboard's Enter stays where it is. Neither
    calculates."""
    report.equal("the keypad's action keys: next, then done", js("hints"), ["next", "done"])
    for name, metrics, focus in (("a touch screen", phone(360, 640), ["centimetri2", "", []]),
                                 ("a mouse", DESKTOP, ["gradi1", "centimetri2"])):
        load(chromium, report, name, metrics, 1, js)
        shown, went = js("result"), []
        for box in ("gradi1", "centimetri2"):
            chromium.web.find_element(By.ID, box).click()
            webdriver.ActionChains(chromium.web).send_keys(Keys.ENTER).perform()
            went.append(js("focused"))
        if metrics["mobile"]:
            went.append(js("in view", ["centimetri1", "cmdcalcola"]))
        report.equal(f"Enter in each box with {name}: the focus, nothing calculated",
                     went + [js("result")], focus + [shown])


def contrast(chromium, report, js, name, metrics, scheme, artifacts):
    """The edges and texts of the boxes, CALCOLA, the result, the error box
    and its OK, measured in a screenshot's pixels at density 1."""
    chromium.cdp("Emulation.setEmulatedMedia",
                  features=[{"name": "prefers-color-scheme", "value": scheme}])
    load(chromium, report, name, metrics, 1, js)
    measured = {}
    for degrees, parts in (("90", BOXES_AND_BUTTON + ["centimetri1"]),
                           ("x", ["", "Form1-error-ok"])):
        type_in(chromium.web, degrees, "10")
        chromium.web.find_element(By.ID, "cmdcalcola").click()
        js("blur")
        shot = f"{artifacts}/site-{name.replace(' ', '-')}-{degrees}.png"
        chromium.web.save_screenshot(shot)
        measured.update({p or "error box": drawn(Image.open(shot).convert("RGB"),
                                                 js("rectangle", p)) for p in parts})
    report.equal(f"{name}: every control's edge 3 : 1 on two sides or more, its text 4.5 : 1",
                 {c: m for c, m in measured.items() if m[0] < 2 or m[1] < 4.5}, {})
    webdriver.ActionChains(chromium.web).send_keys(Keys.ESCAPE).perform()
    chromium.cdp("Emulation.setEmulatedMedia", features=[])


def ratio(*colours):
    """WCAG's contrast ratio of two sRGB colours."""
    lit = sorted(sum(w * (c / 3294.6 if c <= 10.31 else ((c / 255 + 0.055) / 1.055) ** 2.4)
                     for w, c in zip((0.2126, 0.7152, 0.0722), colour)) for colour in colours)
    return (lit[1] + 0.05) / (lit[0] + 0.05)


def drawn(shot, box):
    """(how many sides of the box show an edge of 3 : 1 against the colour
    4 px outside them, the best contrast of a pixel inside against the
    inside's commonest colour: its text's)."""
    left, top, right, bottom = (round(box[k]) for k in ("left", "top", "right", "bottom"))
    x, y = (left + right) // 2, (top + bottom) // 2
    sides = sum(max(ratio(shot.getpixel((ex + i * dx, ey + i * dy)),
                          shot.getpixel((ex + 4 * dx, ey + 4 * dy))) for i in range(-2, 3)) >= 3
                for ex, ey, dx, dy in ((left, y, -1, 0), (right - 1, y, 1, 0),
                                       (x, top, 0, -1), (x, bottom - 1, 0, 1)))
    inside = shot.crop((left + 4, top + 4, right - 4, bottom - 4)).getcolors(1 << 16)
    return sides, round(max(ratio(c, max(inside)[1]) for _, c in inside), 2)


def kept_in_the_tab(chromium, report, js):
    """What the page showed, an open error box aside, survives a reload of
    its tab, and only there."""
    load(chromium, report, "before a reload", DESKTOP, 1, js)
    for degrees in ("90", "0"):
        type_in(chromium.web, degrees, "10")
        chromium.web.find_element(By.ID, "cmdcalcola").click()
    load(chromium, report, "reloaded", DESKTOP, 1, js)
    report.equal("a reload keeps both texts and the result, and no error box",
                 js("texts") + [js("box open")], ["0", "10", "40", False])
    chromium.web.switch_to.new_window("tab")
    load(chromium, report, "a new tab", DESKTOP, 1, js)
    report.equal("a new tab starts empty", js("texts"), ["", "", ""])


def load(chromium, report, name, metrics, density, js):
    chromium.emulate(metrics, density)
    chromium.web.get(chromium.origin + "/")
    WebDriverWait(chromium.web, 20).until(lambda _: js("focused") == "cmdcalcola")
    report.equal(f"{name}: CALCOLA has the focus when ready", js("focused"), "cmdcalcola")
    report.equal(f"{name}: the logo at its density", js("logo"),
                 "logo@2x.png" if density > 1 else "logo.png")
    report.equal(f"{name}: no sideways scrolling", js("sideways"), False)
    chromium.web.find_element(By.ID, "gradi1").click()
    report.equal(f"{name}: a tapped box keeps the page's scale", js("scale"), 1)


def finger_sized(report, name, layout):
    """Any touch screen's window: text and targets a finger can use."""
    controls = {c["id"]: c for c in layout["controls"]}
    report.equal(f"{name}: every text at 16 px or more, the result at 24 px or more",
                 {i: c["font"] for i, c in controls.items() if not c["picture"]
                  and c["font"] < (24 if i == "centimetri1" else 16)}, {})
    report.equal(f"{name}: the boxes and CALCOLA 48 px tall or more",
                 {i: controls[i]["height"] for i in BOXES_AND_BUTTON
                  if controls[i]["height"] < 48}, {})


def column(report, name, layout, whole):
    """The phone's column as laid out: order, sizes, room, and what shows."""
    controls = {c["id"]: c for c in layout["controls"]}
    report.equal(f"{name}: the controls top to bottom in reading order",
                 [c["id"] for c in sorted(layout["controls"], key=lambda c: c["top"])],
                 READING_ORDER)
    finger_sized(report, name, layout)
    inner = layout["form"]["width"] - 2 * layout["padding"]
    report.equal(f"{name}: the boxes and CALCOLA as wide as the column",
                 {i: controls[i]["width"] for i in BOXES_AND_BUTTON
                  if abs(controls[i]["width"] - inner) > 0.5}, {})
    margin = layout["form"]["left"]
    report.check(f"{name}: the column across the screen, or 30 em wide, centred",
                 (8 <= margin <= 16 or layout["form"]["width"] == 480)
                 and abs(layout["width"] - layout["form"]["right"] - margin) < 0.5,
                 layout["form"])
    report.equal(f"{name}: no control outside the screen",
                 [i for i, c in controls.items()
                  if c["left"] < 0 or c["top"] < 0 or c["right"] > layout["width"]], [])
    report.equal(f"{name}: no control overlapping another",
                 [(a["id"], b["id"]) for a, b in itertools.combinations(layout["controls"], 2)
                  if a["left"] < b["right"] and b["left"] < a["right"]
                  and a["top"] < b["bottom"] and b["top"] < a["bottom"]], [])
    report.equal(f"{name}: no caption cut", [i for i, c in controls.items() if c["cut"]], [])
    if whole:
        report.equal(f"{name}: from the picture to CALCOLA, all without scrolling",
                     [i for i, c in controls.items() if c["bottom"] > layout["height"]], [])


def type_in(web, degrees, distance):
    for box, text in (("gradi1", degrees), ("centimetri2", distance)):
        web.find_element(By.ID, box).clear()
        web.find_element(By.ID, box).send_keys(text)


def enter(chromium, report, what, degrees, distance, outcome):
    """Types both measurements with real keys and clicks CALCOLA; checks the
    result, or the error box, its closing key and what it leaves behind."""
    type_in(chromium.web, degrees, distance)
    answered(chromium, report, what, outcome, [degrees, distance])


def paste(chromium, report, what, box, text, other, outcome):
    """Puts a long text in a box, as a paste does, and clicks CALCOLA."""
    web = chromium.web
    web.execute_script(JS["paste"], box, *text)
    other_box = "centimetri2" if box == "gradi1" else "gradi1"
    web.find_element(By.ID, other_box).clear()
    web.find_element(By.ID, other_box).send_keys(other)
    answered(chromium, report, what, outcome, None)


def answered(chromium, report, what, outcome, typed):
    web = chromium.web
    before = web.execute_script(JS["result"])
    web.find_element(By.ID, "cmdcalcola").click()
    kind, shown = outcome
    if kind == harness.RESULT:
        report.equal(f"{what}: the result, whole", [web.execute_script(JS[n]) for n in (
            "result", "result cut")], [shown, False])
        return
    report.equal(f"{what}: the error box", web.execute_script(JS["box text"]), shown)
    report.equal(f"{what}: OK has the focus, the box on the screen",
                 [web.execute_script(JS[n]) for n in ("focused", "box on the screen")],
                 ["Form1-error-ok", True])
    webdriver.ActionChains(web).send_keys(next(CLOSING_KEYS)).perform()
    WebDriverWait(web, 5).until(lambda _: not web.execute_script(JS["box open"]))
    kept = [web.execute_script(JS[n]) for n in ("focused", "result")]
    if typed is not None:
        kept += [web.find_element(By.ID, b).get_property("value") for b in ("gradi1",
                                                                              "centimetri2")]
    report.equal(f"{what}: the focus back and everything kept", kept,
                 ["cmdcalcola", before] + (typed or []))


def offline(chromium, report, js):
    """A reload with no network, and what the site stored and asked for."""
    web = chromium.web
    chromium.cdp("Network.enable")
    chromium.cdp("Network.emulateNetworkConditions", offline=True, latency=0,
                 downloadThroughput=-1, uploadThroughput=-1)
    web.refresh()
    WebDriverWait(web, 20).until(lambda _: js("focused") == "cmdcalcola")
    enter(chromium, report, "offline", "7", "13", (harness.RESULT, "668,5714"))
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


def main():
    def checks(report, options):
        with Chromium(options.site, WasmHeldBack) as chromium:
            visit(chromium, report, options.artifacts)

    return harness.main(__doc__, checks, 400, [("--site", {"required": True})])


if __name__ == "__main__":
    sys.exit(main())
