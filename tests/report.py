# SPDX-FileCopyrightText: 2026 The passo-rigatura authors
# SPDX-License-Identifier: GPL-3.0-or-later
"""Counts and prints the checks of the end-to-end tests, one line each, and
closes with the "N passed, N failed" line."""


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
