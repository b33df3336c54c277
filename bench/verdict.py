# SPDX-FileCopyrightText: 2026 The passo-rigatura authors
# SPDX-License-Identifier: GPL-3.0-or-later
"""What every benchmark shares: the program and its baseline run in
alternation, and a mark's verdict from its figure's 95 % interval, a
percentile bootstrap (2000 draws of each side's samples) of the ratio of
medians or of a median: met when the interval is all on the mark's good
side, missed when all on the other, else undecided and measured again with
twice the runs, up to a limit. A mark undecidable on the machines at hand
is shown as measured only, and decides nothing.
"""

import json
import os
import random
import sys
from statistics import median

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests"))
import harness  # noqa: E402,F401  (the scripts reach the shared harness through here)

RESAMPLES = 2000
# Each round after the first doubles the runs; at most this many rounds.
ROUNDS = 3
MET, MISSED, UNDECIDED = "met", "MISSED", "undecided"
GOOD = {"<=": lambda a, b: a <= b, "<": lambda a, b: a < b, ">=": lambda a, b: a >= b}


def interval(statistic, *samples):
    """The 95 % percentile-bootstrap interval of statistic(*samples)."""
    draw = random.Random(2026)
    figures = sorted(statistic(*[draw.choices(s, k=len(s)) for s in samples])
                     for _ in range(RESAMPLES))
    return figures[int(0.025 * RESAMPLES)], figures[int(0.975 * RESAMPLES) - 1]


def ratio_of_medians(program, baseline):
    return median(program) / median(baseline)


class Mark:
    """A figure held to a mark: `kind` "ratio" takes the program's samples
    over the baseline's, "value" the program's alone; `op` is the side the
    figure must be on ("<=", "<", ">=")."""

    def __init__(self, figure, samples, op, mark, kind="ratio", unit="", measured_only=False):
        self.figure, self.samples, self.op, self.mark = figure, samples, op, mark
        self.kind, self.unit, self.measured_only = kind, unit, measured_only

    def judge(self, program, baseline):
        if self.kind == "ratio":
            value = ratio_of_medians(program, baseline)
            low, high = interval(ratio_of_medians, program, baseline)
        else:
            value = median(program)
            low, high = interval(median, program)
        good = GOOD[self.op]
        # The worst end of the interval decides met, the best end missed.
        worst, best = (low, high) if self.op == ">=" else (high, low)
        verdict = MET if good(worst, self.mark) else UNDECIDED if good(best, self.mark) else MISSED
        return {"figure": self.figure, "value": value, "low": low, "high": high,
                "mark": f"{self.op} {self.mark:g}{self.unit}", "verdict": verdict,
                "runs": len(program), "measured_only": self.measured_only}


def alternate(run_program, run_baseline, runs):
    """Runs each once to warm up (page cache, fonts, servers), then `runs`
    times each in ABBA order, so that neither always runs right after the
    other; gives each side's list of results."""
    run_program()
    run_baseline()
    program, baseline = [], []
    for i in range(runs):
        pair = [(run_baseline, baseline), (run_program, program)]
        for run, results in pair if i % 2 == 0 else reversed(pair):
            results.append(run())
    return program, baseline


def decide(measure, marks, runs):
    """measure(n) gives n more results of each side, each a dict of samples
    by name; the marks (or marks(first result), where the figures are only
    known once measured) are judged on all results so far, and measured
    again with twice the runs while one is undecided, up to ROUNDS rounds."""
    program, baseline = [], []
    for round_ in range(ROUNDS):
        more_program, more_baseline = measure(runs if round_ == 0 else len(program))
        program += more_program
        baseline += more_baseline
        if callable(marks):
            marks = marks(program[0])
        rows = [mark.judge([p[mark.samples] for p in program],
                           [b[mark.samples] for b in baseline] if mark.kind == "ratio" else [])
                for mark in marks]
        if all(row["verdict"] != UNDECIDED for row in rows):
            break
    return rows, program, baseline


def write_rows(path, rows):
    """Adds the rows to the run's file of verdicts, which bench/run.py reads."""
    with open(path, "a", encoding="utf-8") as file:
        file.writelines(json.dumps(row) + "\n" for row in rows)


def samples_line(name, values, unit, scale=1):
    return f"  {name}: " + " ".join(f"{v * scale:.1f}" for v in values) + f" {unit}"
