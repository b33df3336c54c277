#!/usr/bin/python3
# SPDX-FileCopyrightText: 2026 The passo-rigatura authors
# SPDX-License-Identifier: GPL-3.0-or-later
"""End-to-end test of the Windows program under Wine: starts the .exe, types
into its text boxes and clicks CALCOLA with real X key presses and clicks
(xdotool), and reads back what the window shows with the probe, a small
Windows program that asks the window for its controls' texts.

Usage (inside tests/wine/run, which sets WINE, WINEPREFIX and DISPLAY):
    e2e_test.py --program passo-rigatura.exe --probe probe.exe --artifacts DIR

Prints one line per check and a closing "N passed, M failed" line; exits
non-zero if any check failed. Screenshots and the program's output go to DIR.
"""

import os
import shutil
import subprocess
import sys

TESTS = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
sys.path.insert(0, TESTS)
sys.path.insert(0, os.path.join(TESTS, "e2e"))
import harness  # noqa: E402
from harness import (  # noqa: E402
    BOX, CALCULATIONS, CLIENT_SIZE, PLACED, PLACES, TITLE, DriverError, Program, run, wait_until,
)
from xdriver import visible_windows  # noqa: E402

# The probe gives each control's edges: left, top, right, bottom.
GRADI, CENTIMETRI, CALCOLA, RESULT = ((left, top, left + width, top + height)
                                     for left, top, width, height in map(PLACES.get, PLACED))
# Xvfb's screen, as tests/wine/run starts it.
SCREEN_SIZE = (1024, 768)

WINDOW_TIMEOUT = 60
WAIT = 10
# The whole run must end well within this; past it the run stops as failed.
OVERALL_TIMEOUT = 240


class Control:
    """One line of the probe's output."""

    def __init__(self, line):
        kind, self.window_class, rect, self.text = line.split("\t", 3)
        self.kind = kind
        self.rect = tuple(int(n) for n in rect.split(","))

    def relative_to(self, origin):
        x, y = origin
        left, top, right, bottom = self.rect
        return (left - x, top - y, right - x, bottom - y)

    def centre(self):
        left, top, right, bottom = self.rect
        return ((left + right) // 2, (top + bottom) // 2)


class Probe:
    def __init__(self, path):
        self.path = path

    def run(self, *args):
        result = subprocess.run([os.environ["WINE"], self.path, *args], capture_output=True,
                                text=True, encoding="utf-8", timeout=WINDOW_TIMEOUT + 30)
        lines = [Control(line) for line in result.stdout.splitlines() if line]
        return result.returncode, lines

    def window(self, wait=0):
        """The window's client area and its controls, or None without a window."""
        status, lines = self.run("window", str(wait))
        if status != 0 or not lines or lines[0].kind != "window":
            return None
        return lines[0], lines[1:]

    def dismiss_error_box(self, wait):
        """The box's client area and controls; the probe presses its OK."""
        status, lines = self.run("error-box", str(wait))
        if status != 0 or not lines:
            return None
        return lines[0], lines[1:]


def xdotool(*args):
    run(["xdotool", *args])


class Session:
    """The program under Wine, driven through X and read through the probe."""

    def __init__(self, report, program, probe, artifacts):
        self.report = report
        self.program = Program([os.environ["WINE"], program],
                               os.path.join(artifacts, "program.log"))
        self.probe = Probe(probe)
        self.artifacts = artifacts
        self.shots = 0

    def screenshot(self, label, rect):
        self.shots += 1
        path = os.path.join(self.artifacts, f"{self.shots:02d}-{label}.png")
        left, top, right, bottom = rect
        subprocess.run(["import", "-silent", "-window", "root", "-crop",
                        f"{right - left}x{bottom - top}+{left}+{top}", "+repage", path],
                       check=True, timeout=30)
        self.report.check(f"screenshot {os.path.basename(path)}", os.path.getsize(path) > 0)

    def controls(self):
        found = self.probe.window()
        if found is None:
            raise DriverError("the window is gone")
        self.client, controls = found
        origin = self.client.rect[:2]
        return {control.relative_to(origin): control for control in controls}

    def control_at(self, place):
        return self.controls().get(place)

    def text_at(self, place):
        control = self.control_at(place)
        return None if control is None else control.text

    def wait_text(self, place, expected):
        """Waits until the control at place shows expected; returns what it shows."""
        return harness.settles_on(lambda: self.text_at(place), expected, WAIT)

    def click(self, place):
        x, y = self.control_at(place).centre()
        xdotool("mousemove", "--sync", str(x), str(y), "click", "1")

    def type_into(self, place, text):
        """Clicks into a box, selects what it holds and types over it."""
        self.click(place)
        xdotool("key", "--delay", "50", "End", "shift+Home")
        xdotool("type", "--delay", "50", text)

    def calculate(self, degrees, centimetres):
        self.type_into(GRADI, degrees)
        self.report.equal(f"degrees box holds {degrees}", self.wait_text(GRADI, degrees), degrees)
        self.type_into(CENTIMETRI, centimetres)
        self.report.equal(f"centimetres box holds {centimetres}",
                          self.wait_text(CENTIMETRI, centimetres), centimetres)
        self.click(CALCOLA)

    def error_box(self, what, text):
        """The box in front of the window: shot on the screen, then read and
        answered by the probe."""
        report = self.report
        # The box is a second X window of the same title, in front of the
        # window: the screen is shot with it before the probe presses OK.
        try:
            wait_until(lambda: len(visible_windows()) >= 2, "a second window")
            self.screenshot(f"error-box-{what.replace(' ', '-')}", (0, 0) + SCREEN_SIZE)
        except DriverError as error:
            report.check(f"{what}: the error box is on the X screen", False, str(error))
        box = self.probe.dismiss_error_box(WAIT)
        report.require(f"{what}: an error box appears", box is not None)
        frame, box_controls = box
        report.equal("error box class", frame.window_class, "#32770")
        report.equal("error box title", frame.text, TITLE)
        # The probe prints the box's line breaks as spaces.
        message = " ".join(c.text for c in box_controls if c.window_class == "Static")
        report.check("error box says what is wrong and what to change",
                     text.replace("\n", " ") in message, f"it says {message!r}")
        report.equal("error box buttons",
                     [c.text for c in box_controls if c.window_class == "Button"], ["OK"])
        report.require("OK closes the error box", harness.comes_true(
            lambda: self.probe.dismiss_error_box(0) is None, "the error box to close", WAIT))

    def run(self):
        report = self.report
        found = self.probe.window(WINDOW_TIMEOUT)
        report.require("the program's window appears", found is not None)
        client, _ = found
        report.equal("window title", client.text, TITLE)
        left, top, right, bottom = client.rect
        report.equal("window client size", (right - left, bottom - top), CLIENT_SIZE)

        controls = self.controls()
        for what, place in (("degrees box", GRADI), ("centimetres box", CENTIMETRI),
                            ("CALCOLA button", CALCOLA), ("result", RESULT)):
            report.require(f"{what} is at {place}", place in controls,
                           "controls at " + ", ".join(map(str, controls)))
        report.equal("CALCOLA button caption", controls[CALCOLA].text, "CALCOLA")
        report.equal("the result starts empty", controls[RESULT].text, "")
        self.screenshot("start", self.client.rect)

        result = ""
        for what, degrees, centimetres, (kind, shown) in CALCULATIONS:
            self.calculate(degrees, centimetres)
            if kind != BOX:
                report.require_equal(f"{what}: {degrees} degrees, {centimetres} cm give {shown}",
                                     self.wait_text(RESULT, shown), shown)
                result = shown
                continue
            self.error_box(what, shown)
            report.check("the program still runs after the error", self.program.running())
            report.equal("result unchanged after the error", self.text_at(RESULT), result)
            report.equal("the boxes keep what was typed",
                         (self.text_at(GRADI), self.text_at(CENTIMETRI)), (degrees, centimetres))
        self.screenshot("after-calculations", self.client.rect)

        # Alt+F4, the way a user closes a window from the keyboard, ends the
        # program normally.
        self.click(GRADI)
        xdotool("key", "alt+F4")
        report.equal("closing the window ends the program with status 0",
                     self.program.wait_exit(WAIT), 0)


def check_program(report, program, probe, artifacts):
    """Every check above on one program; returns once the program has gone,
    whatever became of the checks."""
    shutil.rmtree(artifacts, ignore_errors=True)
    os.makedirs(artifacts)
    session = Session(report, program, probe, artifacts)
    with session.program:
        report.run_part(session.run)


if __name__ == "__main__":
    sys.exit(harness.main(__doc__, lambda report, options: check_program(
        report, os.path.abspath(options.program), os.path.abspath(options.probe),
        options.artifacts), OVERALL_TIMEOUT, [
        ("--program", {"required": True}),
        ("--probe", {"required": True}),
    ]))
