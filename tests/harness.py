# SPDX-FileCopyrightText: 2026 The passo-rigatura authors
# SPDX-License-Identifier: GPL-3.0-or-later
"""What every black-box test of the built program shares, whichever window
it drives (X11 through AT-SPI, Wayland, Wine, Chromium): waiting with a
limit, a clean environment, the program as a child process, a server of
static files, the report of checks, main, and the cases they all type in.

Every wait has a limit, so that a program that hangs or a window that never
comes makes a failure, never a stuck run.
"""

import argparse
import contextlib
import functools
import http.server
import os
import signal
import subprocess
import threading
import time
import traceback

from error_boxes import box_text

TITLE = "Calcolo passo della rigatura"

# How long to wait for something that should come at once (a window, a
# repaint, a reply); generous, since a loaded machine may be slow.
PATIENCE = 15.0

# The measurements the harnesses type in, and what the window then shows:
# (name, degrees, centimetres, the result or the error box's text).
RESULT, BOX = "result", "box"
CALCULATIONS = [
    ("quarter turn", "90", "10", (RESULT, "40")),
    ("degrees not a number", "abc", "10", (BOX, box_text("degreesNotANumber"))),
    ("seven over thirteen", "7", "13", (RESULT, "668,5714")),
    ("comma and blanks", " -10 ", "5,0", (RESULT, "-180")),
    ("zero degrees", "0", "10", (BOX, box_text("zeroDegrees"))),
    ("twist too large", "1e-30", "1e10", (BOX, box_text("twistTooLarge"))),
]
# Where the controls are, in pixels of the window's client area at 96 dpi
# (the table's twips over 15): left, top, width, height; and that area's size.
CLIENT_SIZE = (347, 295)
PLACES = {"gradi1": (16, 136, 121, 25), "centimetri2": (16, 176, 121, 25),
          "cmdcalcola": (240, 240, 73, 41), "centimetri1": (24, 256, 113, 25)}
PLACED = ("gradi1", "centimetri2", "cmdcalcola", "centimetri1")
# Where the focus starts, and where each Tab takes it, by the controls' names.
FOCUS_ORDER = ["cmdcalcola", "gradi1", "centimetri2", "cmdcalcola"]


class DriverError(Exception):
    """Something the program should have done did not happen in time."""


def run(args, timeout=PATIENCE, check=True):
    """Runs a helper tool and returns what it printed."""
    try:
        result = subprocess.run(args, capture_output=True, text=True, timeout=timeout)
    except subprocess.TimeoutExpired as error:
        raise DriverError(f"{args[0]} did not finish in {timeout} s") from error
    if check and result.returncode != 0:
        raise DriverError(f"{' '.join(args)} failed: {result.stderr.strip()}")
    return result.stdout


def wait_until(probe, what, timeout=PATIENCE, interval=0.05):
    """Calls probe until it returns something true, and returns that."""
    deadline = time.monotonic() + timeout
    while True:
        value = probe()
        if value:
            return value
        if time.monotonic() >= deadline:
            raise DriverError(f"timed out after {timeout} s waiting for {what}")
        time.sleep(interval)


def comes_true(probe, what, timeout=PATIENCE):
    """Whether probe returns something true within timeout."""
    try:
        wait_until(probe, what, timeout)
        return True
    except DriverError:
        return False


def settles_on(read, expected, timeout=PATIENCE):
    """Reads until read() gives expected or time runs out; returns the last
    value read, for the report to show."""
    seen = []

    def probe():
        seen.append(read())
        return seen[-1] == expected
    comes_true(probe, repr(expected), timeout)
    return seen[-1]


def clean_environment(runtime_dir, **extra):
    """Nothing of the caller's desktop, locale or Qt settings: the same
    results on every machine."""
    return {
        "PATH": "/usr/bin:/bin",
        "HOME": os.environ.get("HOME", "/root"),
        "LC_ALL": "C.UTF-8",
        "TZ": "UTC",
        "XDG_RUNTIME_DIR": runtime_dir,
        **extra,
    }


class Program:
    """The program under test, a command started as a child process, its
    output kept in a log; stopped when the run leaves it."""

    def __init__(self, command, log_path=None):
        self.log = open(log_path or os.devnull, "wb")
        self.process = subprocess.Popen(command, stdin=subprocess.DEVNULL, stdout=self.log,
                                        stderr=subprocess.STDOUT)
        self.pid = self.process.pid

    def running(self):
        return self.process.poll() is None

    def wait_exit(self, timeout=PATIENCE):
        """The exit status, or None if the program still runs after timeout."""
        try:
            return self.process.wait(timeout=timeout)
        except subprocess.TimeoutExpired:
            return None

    def stop(self):
        """Ends the program if it still runs."""
        if self.running():
            self.process.terminate()
            if self.wait_exit(5) is None:
                self.process.kill()
                self.process.wait(5)
        self.log.close()

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        self.stop()


@contextlib.contextmanager
def serving(folder, handler):
    """Serves folder on 127.0.0.1 on a free port with the handler class, in
    a thread, until the block ends; gives the origin, "http://127.0.0.1:N"."""
    server = http.server.ThreadingHTTPServer(
        ("127.0.0.1", 0), functools.partial(handler, directory=folder))
    threading.Thread(target=server.serve_forever, daemon=True).start()
    try:
        yield f"http://127.0.0.1:{server.server_address[1]}"
    finally:
        server.shutdown()
        server.server_close()


class Aborted(Exception):
    """A check failed that the following ones depend on."""


class Report:
    """Counts and prints the checks, one line each."""

    def __init__(self):
        self.passed = 0
        self.failed = 0

    def check(self, what, ok, detail=""):
        if ok:
            self.passed += 1
            print(f"PASS {what}", flush=True)
        else:
            self.failed += 1
            print(f"FAIL {what}" + (f": {detail}" if detail else ""), flush=True)
        return ok

    def require(self, what, ok, detail=""):
        if not self.check(what, ok, detail):
            raise Aborted(what)

    def equal(self, what, actual, expected):
        return self.check(what, actual == expected, f"got {actual!r}, expected {expected!r}")

    def require_equal(self, what, actual, expected):
        if not self.equal(what, actual, expected):
            raise Aborted(what)

    def run_part(self, part):
        """Runs part(); a check it requires that fails, or anything it
        raises, ends that part as failed and no more."""
        try:
            part()
        except Aborted as error:
            print(f"stopped: the checks after {error} depend on it", flush=True)
        except RunTooLong:
            raise
        except Exception as error:
            traceback.print_exc()
            self.check("the run goes on to the end", False, str(error))


class RunTooLong(Exception):
    """The whole run went past its time limit. Not a DriverError, so that no
    wait that gives up on one thing takes it for its own."""


def run_checks(checks, timeout, artifacts):
    """Runs checks(report), all of it within timeout seconds, then prints the
    time taken and the closing count; returns the exit status."""
    report = Report()

    def too_long(signum, frame):
        raise RunTooLong(f"the whole run took longer than {timeout} s")

    signal.signal(signal.SIGALRM, too_long)
    signal.alarm(timeout)
    started = time.monotonic()
    try:
        report.run_part(lambda: checks(report))
    except RunTooLong as error:
        report.check("the run ends in time", False, str(error))
    finally:
        signal.alarm(0)
    print(f"time: {time.monotonic() - started:.1f} s; artifacts in {artifacts}")
    print(f"{report.passed} passed, {report.failed} failed")
    return 1 if report.failed else 0


def main(description, checks, timeout, arguments=()):
    """A harness's main: reads --artifacts and the harness's own
    (name, argparse options) arguments, makes the artifacts' folder, and
    runs checks(report, options) within timeout seconds. Prints one line per
    check and a closing "N passed, M failed" line; returns the exit status."""
    parser = argparse.ArgumentParser(description=description.splitlines()[0])
    parser.add_argument("--artifacts", required=True)
    for name, settings in arguments:
        parser.add_argument(name, **settings)
    options = parser.parse_args()
    os.makedirs(options.artifacts, exist_ok=True)
    return run_checks(lambda report: checks(report, options), timeout, options.artifacts)
