#!/usr/bin/python3
# SPDX-FileCopyrightText: 2026 The passo-rigatura authors
# SPDX-License-Identifier: GPL-3.0-or-later
"""make bench: every benchmark, then one table of the marks, each with its
figure, 95 % interval and verdict (verdict.py); each part's output in
NATIVE/bench/results/PART.txt. Exits 0 when every mark is met, 1 when one is
missed, 3 when one stays undecided, 2 when a part took no figures.
"""

import argparse
import json
import os
import subprocess
import sys
import tempfile

import verdict
from verdict import Mark

HERE = os.path.dirname(os.path.abspath(__file__))
TESTS = os.path.join(HERE, "..", "tests")
REPETITIONS = 15


def micro_results(program, repetitions, out):
    """Each repetition's figures of a Google Benchmark program whose
    benchmarks are named FIGURE/SIDE/CASE, for each side: "FIGURE/CASE", CPU
    nanoseconds per iteration, and "heap" and "new" FIGURE/CASE, blocks."""
    with tempfile.NamedTemporaryFile(suffix=".json") as report:
        subprocess.run([program, f"--benchmark_repetitions={repetitions}",
                        "--benchmark_enable_random_interleaving=true",
                        "--benchmark_min_time=0.1", f"--benchmark_out={report.name}",
                        "--benchmark_out_format=json"],
                       env=dict(os.environ, QT_QPA_PLATFORM="offscreen"), stdout=out,
                       stderr=subprocess.STDOUT, check=True, timeout=1800)
        runs = [run for run in json.load(report)["benchmarks"] if run["run_type"] == "iteration"]
    per_ns = {"ns": 1, "us": 1e3, "ms": 1e6}
    sides = {"ours": [{} for _ in range(repetitions)],
             "baseline": [{} for _ in range(repetitions)]}
    for run in runs:
        figure, side, case = run["run_name"].split("/")
        repetition = sides[side][run["repetition_index"]]
        repetition[f"{figure}/{case}"] = run["cpu_time"] * per_ns[run["time_unit"]]
        repetition[f"heap {figure}/{case}"] = run.get("heap", 0)
        repetition[f"new {figure}/{case}"] = run.get("new", 0)
    return sides["ours"], sides["baseline"]


def timed(first):
    return sorted(name for name in first if not name.startswith(("heap ", "new ")))


def conversion_marks(first):
    """Each conversion at most as slow as the C library's, and no heap block."""
    figures = timed(first)
    return ([Mark(f"{name} / C library", name, "<=", 1.0) for name in figures]
            + [Mark(f"{name}: heap blocks per call", f"heap {name}", "<=", 0, kind="value")
               for name in figures if name.endswith("/all")])


def click_marks(first):
    """A click under 20 us; the bare Qt window is measured for scale."""
    return [Mark(f"{name} (ns)", name, "<", 20000, kind="value") for name in timed(first)]


def micro(name, build, marks, out):
    """The marks' rows; every repetition's figures, heap blocks included, are
    in the program's own output."""
    return verdict.decide(lambda n: micro_results(os.path.join(build, "bench", name), n, out),
                          marks, REPETITIONS)[0]


def table(rows):
    print(f"{'figure':52} {'value':>9} {'95 % interval':>21} {'mark':>10}  verdict")
    for row in rows:
        span = f"{row['low']:.4g} – {row['high']:.4g}"
        said = f"measured only ({row['verdict']})" if row["measured_only"] else row["verdict"]
        print(f"{row['figure'][:52]:52} {row['value']:9.4g} {span:>21} {row['mark']:>10}"
              f"  {said} ({row['runs']} runs)")


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--native", required=True)
    parser.add_argument("--windows", required=True)
    parser.add_argument("--site", required=True)
    parser.add_argument("--lighthouse")
    parser.add_argument("--only", nargs="*")
    options = parser.parse_args()
    native = os.path.abspath(options.native)
    results = os.path.join(native, "bench", "results")
    os.makedirs(results, exist_ok=True)
    rows_file = os.path.join(results, "rows.jsonl")
    open(rows_file, "w").close()
    python = ["/usr/bin/python3"]
    startup = python + [os.path.join(HERE, "startup.py")]
    session = os.path.join(TESTS, "e2e", "session.sh")
    lighthouse = ["--lighthouse", options.lighthouse] if options.lighthouse else []
    # Each script adds its rows to the run's file itself.
    scripts = {
        "startup-x11": [session] + startup + ["x11", native],
        "startup-wayland": [session, "--wayland", "1"] + startup + ["wayland", native],
        "wine": [os.path.join(TESTS, "wine", "run")] + startup + [
            "wine", os.path.abspath(options.windows)],
        "web": python + [os.path.join(HERE, "web_startup.py"), options.site] + lighthouse,
    }
    parts = {
        "conversions": lambda out: micro("conversions_bench", native, conversion_marks, out),
        "click": lambda out: micro("click_bench", native, click_marks, out),
        **{name: lambda out, command=command: subprocess.run(
            command + ["--rows", rows_file], stdout=out, stderr=subprocess.STDOUT, check=True,
            timeout=3600) and [] for name, command in scripts.items()},
    }
    for name, part in parts.items():
        if options.only and name not in options.only:
            continue
        print(f"== {name}", flush=True)
        with open(os.path.join(results, f"{name}.txt"), "w") as out:
            try:
                verdict.write_rows(rows_file, part(out))
            except (subprocess.CalledProcessError, subprocess.TimeoutExpired) as error:
                print(f"run.py: {name} took no figures ({error}); see {out.name}",
                      file=sys.stderr)
                return 2
    with open(rows_file, encoding="utf-8") as file:
        rows = [json.loads(line) for line in file]
    print()
    table(rows)
    verdicts = {row["verdict"] for row in rows if not row["measured_only"]}
    return 1 if verdict.MISSED in verdicts else 3 if verdict.UNDECIDED in verdicts else 0


if __name__ == "__main__":
    sys.exit(main())
