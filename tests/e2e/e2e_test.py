#!/usr/bin/python3
# SPDX-FileCopyrightText: 2026 The passo-rigatura authors
# SPDX-License-Identifier: GPL-3.0-or-later
"""End-to-end test of "Calcolo passo della rigatura": starts the real program
on an X display, types into its text boxes, clicks its button and reads back
what it shows, as a person would; with --wayland-scale, in a Wayland session
(session.sh --wayland SCALE), filled in and read back through AT-SPI alone.

Usage (inside tests/e2e/session.sh, with Debian's /usr/bin/python3):
    e2e_test.py --program build/app/passo-rigatura --artifacts DIR
                --desktop-entry assets/desktop/it.passorigatura.PassoRigatura.desktop
                [--wayland-scale SCALE]

Prints one line per check and a closing "N passed, M failed" line; exits
non-zero if any check failed. Screenshots and the program's output go to DIR.
"""

import configparser
import os
import re
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
sys.path.insert(0, os.path.dirname(os.path.dirname(os.path.abspath(__file__))))

import harness  # noqa: E402
import xdriver  # noqa: E402
from gi.repository import GLib  # noqa: E402
from harness import BOX, CALCULATIONS, FOCUS_ORDER, TITLE, DriverError, Program  # noqa: E402
from xdriver import CALCOLA, CENTIMETRI, GRADI, RESULT  # noqa: E402

# The whole run must end well within this; past it the run stops as failed.
OVERALL_TIMEOUT = 240


def desktop_window_class(path):
    """The window class a desktop entry claims its windows by: its
    StartupWMClass, or else its name without ".desktop"."""
    entry = configparser.ConfigParser(interpolation=None)
    entry.optionxform = str
    entry.read(path, encoding="utf-8")
    default = os.path.basename(path).removesuffix(".desktop")
    return entry.get("Desktop Entry", "StartupWMClass", fallback=default)


def is_error_box(accessible):
    """Whether accessible is an open error box; one closed while it was being
    asked about is none."""
    try:
        return xdriver.role(accessible) in ("alert", "dialog")
    except GLib.GError:
        return False


class Session:
    """The program's window and its controls as seen through AT-SPI, typed
    into with xdotool or, with through_atspi, filled through AT-SPI."""

    def __init__(self, report, program, artifacts, desktop_entry, through_atspi=False):
        self.report = report
        self.program = program
        self.artifacts = artifacts
        self.desktop_entry = desktop_entry
        self.through_atspi = through_atspi
        self.shots = 0

    def screenshot(self, window, label):
        self.shots += 1
        path = os.path.join(self.artifacts, f"{self.shots:02d}-{label}.png")
        window.screenshot(path)
        self.report.check(f"screenshot {os.path.basename(path)}", os.path.getsize(path) > 0)

    def text_box(self, accessible_name, place, what):
        """Finds a text box by its accessible name, or by its place if it has none."""
        box = xdriver.find(self.app, lambda a: xdriver.role(a) == "text"
                           and xdriver.name(a) == accessible_name)
        self.report.check(f"{what} has the accessible name {accessible_name!r}", box is not None)
        if box is None:
            box = xdriver.at_bounds(self.app, "text", place)
        self.report.require(f"{what} is at {place}", box is not None
                            and xdriver.bounds(box) == place)
        return box

    def wait_text(self, box, expected):
        """Waits until a text box holds expected; returns what it holds."""
        return harness.settles_on(lambda: xdriver.text(box), expected)

    def wait_focus(self, accessible):
        return harness.comes_true(lambda: xdriver.is_focused(accessible), "the focus")

    def enter(self, box, place, text):
        """Replaces what a text box holds with text, and checks it holds it."""
        if self.through_atspi:
            xdriver.set_text(box, text)
        else:
            self.window.replace_text(place, text)
        what = "degrees" if place == GRADI else "centimetres"
        self.report.equal(f"{what} box holds {text}", self.wait_text(box, text), text)

    def press_calcola(self):
        if self.through_atspi:
            xdriver.press(self.button)
        else:
            self.window.click_control(CALCOLA)

    def calculate(self, degrees, centimetres):
        """Types into both boxes, checks they hold it and clicks CALCOLA."""
        self.enter(self.gradi, GRADI, degrees)
        self.enter(self.centimetri, CENTIMETRI, centimetres)
        self.press_calcola()

    def find_controls(self):
        """The window as a screen reader finds it, and its controls."""
        report = self.report
        self.app = xdriver.find_application(self.program.pid)
        report.check("the program is on the accessibility bus", True)
        # Screen readers announce a window by its frame, and skip a filler.
        self.frame = xdriver.wait_until(lambda: xdriver.windows(self.app), "the window")[0]
        report.equal("the window is a frame to a screen reader", xdriver.role(self.frame), "frame")
        report.equal("the frame is named by the window's title", xdriver.name(self.frame), TITLE)
        self.gradi = self.text_box(xdriver.GRADI_NAME, GRADI, "degrees box")
        self.centimetri = self.text_box(xdriver.CENTIMETRI_NAME, CENTIMETRI, "centimetres box")
        button = xdriver.find(self.app, lambda a: xdriver.role(a) == "push button"
                              and xdriver.name(a) == "CALCOLA")
        report.require("CALCOLA button is there", button is not None)
        report.equal("CALCOLA button place", xdriver.bounds(button), CALCOLA)
        self.button = button
        label = xdriver.find(self.app, lambda a: xdriver.role(a) == "label"
                             and xdriver.description(a) == xdriver.RESULT_DESCRIPTION)
        report.check("result label has its accessible description", label is not None)
        if label is None:
            label = xdriver.at_bounds(self.app, "label", RESULT)
        report.require("result label is at its place", label is not None
                       and xdriver.bounds(label) == RESULT)
        self.label = label

    def error_box(self, text):
        """The error box, as a screen reader reads it; returns its buttons."""
        report = self.report
        alert = harness.wait_until(lambda: xdriver.find(self.app, is_error_box),
                                   "the error box on the accessibility bus")
        report.equal("error box title seen through AT-SPI", xdriver.name(alert), TITLE)
        report.check("error box message", xdriver.find(
            alert, lambda a: xdriver.role(a) == "label" and xdriver.name(a) == text)
            is not None, f"no label reading {text!r}")
        buttons = [a for a in xdriver.descendants(alert) if xdriver.role(a) == "push button"]
        report.equal("error box buttons", [xdriver.name(a) for a in buttons], ["OK"])
        return buttons

    def check_going_on(self, result, degrees, centimetres):
        """After the error box: nothing changed, and the program is there."""
        report = self.report
        report.check("the program still runs after the error", self.program.running())
        report.equal("result unchanged after the error", xdriver.name(self.label), result)
        report.equal(f"degrees box still holds {degrees}", xdriver.text(self.gradi), degrees)
        report.equal(f"centimetres box still holds {centimetres}", xdriver.text(self.centimetri),
                     centimetres)

    def close_box_by_key(self, box):
        box.focus()
        box.key("Return")
        self.report.require("Return closes the error box", harness.comes_true(
            lambda: box.id not in xdriver.visible_windows(self.program.pid), "the box to close"))

    def close_box_through_atspi(self, buttons):
        xdriver.press(buttons[0])
        self.report.require("OK closes the error box", harness.comes_true(
            lambda: not any(map(is_error_box, xdriver.windows(self.app))), "the box to close"))

    def calculations(self, on_box):
        """Every row of the shared cases: its result, or its error box, which
        on_box(box, buttons) closes, and then everything as it was."""
        report = self.report
        result = ""
        for what, degrees, centimetres, (kind, shown) in CALCULATIONS:
            known = xdriver.visible_windows(self.program.pid)
            self.calculate(degrees, centimetres)
            if kind != BOX:
                report.require_equal(f"{what}: {degrees} degrees, {centimetres} cm give {shown}",
                                     xdriver.wait_for_name(self.label, shown), shown)
                result = shown
                continue
            box = None
            if not self.through_atspi:
                try:
                    box = xdriver.wait_for_window(self.program, known=known)
                except DriverError as error:
                    report.require(f"{what}: an error box appears", False, str(error))
                report.equal(f"{what}: error box title", box.title(), TITLE)
            buttons = self.error_box(shown)
            if box is not None:
                self.screenshot(box, f"error-box-{what.replace(' ', '-')}")
            on_box(box, buttons)
            self.check_going_on(result, degrees, centimetres)
            if box is not None:
                self.window.focus()

    def run(self):
        report = self.report

        # The window.
        self.window = xdriver.wait_for_window(self.program)
        report.check("the program's window appears", True)
        report.equal("window title", self.window.title(), TITLE)
        _, _, width, height = self.window.geometry()
        report.equal("window client size", (width, height), (347, 295))
        # The desktop finds the window's menu entry, and its icon, by its class.
        instance, window_class = self.window.wm_class() or (None, None)
        report.equal("window class is the desktop entry's", window_class,
                     desktop_window_class(self.desktop_entry))
        report.equal("window instance is the command's name", instance,
                     os.path.basename(self.program.process.args[0]))
        self.find_controls()

        # The focus: first on CALCOLA, then Tab goes round the boxes.
        self.window.focus()
        report.check("the window is active once in front", harness.comes_true(
            lambda: xdriver.is_active(self.frame), "the active state"))
        controls = {"cmdcalcola": self.button, "gradi1": self.gradi,
                    "centimetri2": self.centimetri}
        report.check("focus starts on CALCOLA", self.wait_focus(controls[FOCUS_ORDER[0]]))
        for name in FOCUS_ORDER[1:]:
            self.window.key("Tab")
            report.check(f"Tab moves the focus to {name}", self.wait_focus(controls[name]))
        self.screenshot(self.window, "start")

        self.calculations(lambda box, buttons: self.close_box_by_key(box))
        self.screenshot(self.window, "after-calculations")

        # Enter in a text box calculates nothing. What is typed after it shows
        # only once the program has handled the Enter, so reading the label
        # then tells whether Enter did anything.
        self.calculate("7", "13")
        result = xdriver.wait_for_name(self.label, "668,5714")
        self.window.replace_text(GRADI, "9")
        self.window.key("Return")
        self.window.type("0")
        report.equal("degrees box holds 90", self.wait_text(self.gradi, "90"), "90")
        report.equal("Enter in the degrees box leaves the result", xdriver.name(self.label),
                     result)
        self.window.click_control(CENTIMETRI)
        self.window.key("End", "Return")
        self.window.type("0")
        report.equal("centimetres box holds 130", self.wait_text(self.centimetri, "130"), "130")
        report.equal("Enter in the centimetres box leaves the result",
                     xdriver.name(self.label), result)

        # Closing the window ends the program normally.
        self.window.close()
        status = self.program.wait_exit()
        report.equal("closing the window ends the program with status 0", status, 0)

    def run_on_wayland(self, scale):
        """The window in a Wayland session. Weston's headless backend has no
        seat: nothing can be typed there, nor can a window come to the front."""
        report = self.report
        self.find_controls()
        self.calculations(lambda box, buttons: self.close_box_through_atspi(buttons))

        # What the compositor was told of the window, in the program's log
        # (WAYLAND_DEBUG): the last of each request made of the first toplevel.
        with open(os.path.join(self.artifacts, "program.log"), errors="replace") as log:
            text = log.read()
        toplevel = re.search(r"-> (xdg_toplevel@\d+)\.", text).group(1)
        told = dict(re.findall(rf"-> {toplevel}\.(\w+)\((.*)\)", text))
        entry = os.path.basename(self.desktop_entry).removesuffix(".desktop")
        expected = {"set_app_id": f'"{entry}"', "set_title": f'"{TITLE}"',
                    "set_min_size": "347, 295", "set_max_size": "347, 295"}
        report.equal("app id, title and fixed size given to the compositor",
                     {request: told.get(request) for request in expected}, expected)
        scales = [int(found) for found in re.findall(r"\.set_buffer_scale\((\d+)\)", text)]
        report.equal("drawn at the output's scale, not blurred", max(scales, default=1), scale)


def checks(report, options):
    wayland = options.wayland_scale is not None
    if wayland:
        # The program logs every Wayland request it makes.
        os.environ["WAYLAND_DEBUG"] = "client"
    with Program([os.path.abspath(options.program)],
                 os.path.join(options.artifacts, "program.log")) as program:
        session = Session(report, program, options.artifacts, options.desktop_entry, wayland)
        if wayland:
            session.run_on_wayland(options.wayland_scale)
        else:
            session.run()


if __name__ == "__main__":
    sys.exit(harness.main(__doc__, checks, OVERALL_TIMEOUT, [
        ("--program", {"required": True}),
        ("--desktop-entry", {"required": True}),
        ("--wayland-scale", {"type": int, "help": "the Wayland compositor's output scale"}),
    ]))
