#!/usr/bin/python3
# SPDX-FileCopyrightText: 2026 The passo-rigatura authors
# SPDX-License-Identifier: GPL-3.0-or-later
"""The verdicts make bench gives its marks (bench/verdict.py), on samples
whose answer is known."""

import os
import sys
import unittest

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "bench"))
from verdict import MET, MISSED, UNDECIDED, Mark, decide  # noqa: E402

# Samples spread evenly round their centre: the medians' ratio is known.
SPREAD = [-2, -1, 0, 1, 2] * 4


def around(centre):
    return [centre + s for s in SPREAD]


class Verdicts(unittest.TestCase):
    def test_each_mark_by_its_whole_interval(self):
        for name, mark, program, baseline, verdict in [
            ("ratio well under", Mark("", "x", "<=", 1.10), around(100), around(100), MET),
            ("ratio well over", Mark("", "x", "<=", 1.10), around(130), around(100), MISSED),
            ("ratio at the mark", Mark("", "x", "<=", 1.10), around(110), around(100), UNDECIDED),
            ("value under", Mark("", "x", "<", 20, kind="value"), around(10), [], MET),
            ("score over", Mark("", "x", ">=", 98, kind="value"), [100, 100, 100], [], MET),
            ("score under", Mark("", "x", ">=", 98, kind="value"), [93, 95, 96], [], MISSED),
            ("one sample at the mark", Mark("", "x", "<=", 0, kind="value"), [0], [], MET),
        ]:
            with self.subTest(name):
                self.assertEqual(mark.judge(program, baseline)["verdict"], verdict)

    def test_undecided_is_measured_again_up_to_a_limit(self):
        counts = []

        def measure(runs):
            counts.append(runs)
            return [{"x": 110 + s} for s in SPREAD[:runs]], [{"x": 100 + s} for s in SPREAD[:runs]]
        rows, program, _ = decide(measure, [Mark("", "x", "<=", 1.10)], 5)
        self.assertEqual((counts, len(program), rows[0]["verdict"]), ([5, 5, 10], 20, UNDECIDED))


if __name__ == "__main__":
    unittest.main()
