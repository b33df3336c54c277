# SPDX-FileCopyrightText: 2026 The passo-rigatura authors
# SPDX-License-Identifier: GPL-3.0-or-later
"""Counts and prints the checks of the end-to-end tests, one line each, and
closes with the "N passed, N failed" line."""

import signal
import time
import traceback


class Aborted(Exception):
    """A check failed that the following ones depend on."""


class Report:
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
        checks(report)
    except Aborted as error:
        print(f"stopped: the checks after {error} depend on it", flush=True)
    except Exception as error:
        traceback.print_exc()
        report.check("the run goes on to the end", False, str(error))
    finally:
        signal.alarm(0)
    print(f"time: {time.monotonic() - started:.1f} s; artifacts in {artifacts}")
    print(f"{report.passed} passed, {report.failed} failed")
    return 1 if report.failed else 0
