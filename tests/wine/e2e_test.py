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

import argparse
import os
import shutil
import subprocess
import sys
import time
import traceback

TESTS = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
sys.path.insert(0, TESTS)
sys.path.insert(0, os.path.join(TESTS, "e2e"))
from error_boxes import box_text  # noqa: E402
from report import Aborted, run_checks  # noqa: E402
from xdriver import TITLE, DriverError, run, visible_windows, wait_until  # noqa: E402

# The box's text as the probe prints it, its line breaks made spaces.
ERROR_TEXT = box_text("degreesNotANumber").replace("\n", " ")

# The window at 96 dpi, in pixels from its client area's top left corner:
# the layout's twips divided by 15.
CLIENT_SIZE = (347, 295)
GRADI = (16, 136, 137, 161)
CENTIMETRI = (16, 176, 137, 201)
CALCOLA = (240, 240, 313, 281)
RESULT = (24, 256, 137, 281)
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
        self.program = program
        self.probe = Probe(probe)
        self.artifacts = artifacts
        self.shots = 0
        self.process = None

    def start(self):
        self.log = open(os.path.join(self.artifacts, "program.log"), "wb")
        self.process = subprocess.Popen([os.environ["WINE"], self.program],
                                        stdin=subprocess.DEVNULL, stdout=self.log,
                                        stderr=subprocess.STDOUT)

    def stop(self):
        if self.process is not None and self.process.poll() is None:
            self.process.kill()
            self.process.wait()
        if self.process is not None:
            self.log.close()

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
        seen = []

        def shows():
            seen.append(self.text_at(place))
            return seen[-1] == expected
        try:
            wait_until(shows, f"the text {expected!r}", timeout=WAIT)
        except DriverError:
            pass
        return seen[-1]

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

    def run(self):
        report = self.report
        self.start()

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

        # 90 degrees over 10 cm: one turn in 40 cm.
        self.calculate("90", "10")
        report.require_equal("90 degrees, 10 cm gives 40", self.wait_text(RESULT, "40"), "40")
        self.screenshot("result-40", self.client.rect)

        # Not a number: the error box, and nothing else changes.
        self.type_into(GRADI, "abc")
        report.equal("degrees box holds abc", self.wait_text(GRADI, "abc"), "abc")
        self.click(CALCOLA)
        # The box is a second X window of the same title, in front of the
        # window: the screen is shot with it before the probe presses OK.
        try:
            wait_until(lambda: len(visible_windows()) >= 2, "a second window")
            self.screenshot("error-box", (0, 0) + SCREEN_SIZE)
        except DriverError as error:
            report.check("the error box is on the X screen", False, str(error))
        box = self.probe.dismiss_error_box(WAIT)
        report.require("an error box appears for abc", box is not None)
        frame, box_controls = box
        report.equal("error box class", frame.window_class, "#32770")
        report.equal("error box title", frame.text, TITLE)
        message = " ".join(c.text for c in box_controls if c.window_class == "Static")
        report.check("error box says what is wrong and what to change", ERROR_TEXT in message,
                     f"it says {message!r}")
        report.equal("error box buttons",
                     [c.text for c in box_controls if c.window_class == "Button"], ["OK"])
        try:
            wait_until(lambda: self.probe.dismiss_error_box(0) is None, "the error box to close",
                       timeout=WAIT)
            closed = True
        except DriverError:
            closed = False
        report.require("OK closes the error box", closed)
        report.equal("the program still runs after the error", self.process.poll(), None)
        report.equal("result unchanged after the error", self.text_at(RESULT), "40")
        report.equal("degrees box still holds abc", self.text_at(GRADI), "abc")
        report.equal("centimetres box still holds 10", self.text_at(CENTIMETRI), "10")
        self.screenshot("after-error", self.client.rect)

        # 7 degrees over 13 cm.
        self.calculate("7", "13")
        report.equal("7 degrees, 13 cm gives 668,5714", self.wait_text(RESULT, "668,5714"),
                     "668,5714")
        self.screenshot("result-668", self.client.rect)

        # Alt+F4, the way a user closes a window from the keyboard, ends the
        # program normally.
        self.click(GRADI)
        xdotool("key", "alt+F4")
        try:
            status = self.process.wait(WAIT)
        except subprocess.TimeoutExpired:
            status = None
        report.equal("closing the window ends the program with status 0", status, 0)


def check_program(report, program, probe, artifacts):
    """Every check above on one program; returns once the program has gone."""
    shutil.rmtree(artifacts, ignore_errors=True)
    os.makedirs(artifacts)
    session = Session(report, program, probe, artifacts)
    try:
        session.run()
    except Aborted as error:
        print(f"stopped: the checks after {error} depend on it", flush=True)
    except (DriverError, subprocess.SubprocessError) as error:
        report.check("the run goes on to the end", False, str(error))
    except Exception:
        traceback.print_exc()
        report.check("the run goes on without an unexpected error", False)
    finally:
        session.stop()


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--program", required=True)
    parser.add_argument("--probe", required=True)
    parser.add_argument("--artifacts", required=True)
    args = parser.parse_args()

    return run_checks(
        lambda report: check_program(report, os.path.abspath(args.program),
                                     os.path.abspath(args.probe), args.artifacts),
        OVERALL_TIMEOUT, args.artifacts)


if __name__ == "__main__":
    sys.exit(main())
