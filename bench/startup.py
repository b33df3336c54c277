#!/usr/bin/python3
# SPDX-FileCopyrightText: 2026 The passo-rigatura authors
# SPDX-License-Identifier: GPL-3.0-or-later
"""Start-up of our program against a bare Qt program, under one Xvfb, or with
--wayland under one Weston (headless backend) in a Wayland session.

Usage: startup.py BUILD_DIR [--runs N] [--no-callgrind] [--diagnose] [--out DIR]
                  [--program PATH] [--baseline PATH] [--wayland]

Both programs are built with first_frame_exit.cpp, which ends the process once
the first frame of the first window has reached the display server. The two are run
alternately (in ABBA order, so that neither always runs right after the
other), after one discarded warm-up each, and compared on
  - wall time from starting the process to its exit (median),
  - peak resident memory of the process (median of ru_maxrss),
  - instructions executed by one start-up under callgrind (Ir total).
Each ratio program/baseline is held against 1.10. Exits 0 when all three are
met, 1 when one is missed, 2 when a program failed to start.
"""

import argparse
import os
import re
import shutil
import signal
import statistics
import subprocess
import sys
import tempfile
import time

TARGET = 1.10
TIMEOUT = 60
CALLGRIND_TIMEOUT = 900


class DisplayServer:
    """A display server of our own, started as self.process."""

    def stop(self):
        if self.process.poll() is None:
            self.process.terminate()
            try:
                self.process.wait(10)
            except subprocess.TimeoutExpired:
                self.process.kill()
                self.process.wait()
        self.log.close()


class Xvfb(DisplayServer):
    """A private X server; Xvfb picks a free display and reports it on a pipe."""

    def __init__(self, workdir):
        self.log = open(os.path.join(workdir, "xvfb.log"), "wb")
        read_end, write_end = os.pipe()
        self.process = subprocess.Popen(
            ["Xvfb", "-displayfd", str(write_end), "-screen", "0", "1024x768x24",
             "-nolisten", "tcp", "-noreset"],
            pass_fds=(write_end,), stdout=self.log, stderr=self.log,
            start_new_session=True)
        os.close(write_end)
        number = b""
        deadline = time.monotonic() + 20
        while not number.endswith(b"\n") and time.monotonic() < deadline:
            chunk = os.read(read_end, 16)
            if not chunk:
                break
            number += chunk
        os.close(read_end)
        if not number.strip():
            self.stop()
            sys.exit("startup.py: Xvfb did not start (see %s)" % self.log.name)
        display = ":" + number.decode().strip()
        self.name = "Xvfb (%s)" % display
        self.variables = {"DISPLAY": display, "QT_QPA_PLATFORM": "xcb"}


class Weston(DisplayServer):
    """A private Wayland compositor on its headless backend, its socket in our
    own runtime folder. Both programs find it as in a desktop's Wayland
    session, and choose Qt's Wayland platform themselves."""

    SOCKET = "wayland-bench"

    def __init__(self, workdir, runtime_dir):
        self.log = open(os.path.join(workdir, "weston.log"), "wb")
        self.process = subprocess.Popen(
            ["weston", "--backend=headless-backend.so", "--socket=" + self.SOCKET,
             "--width=1024", "--height=768", "--idle-time=0", "--no-config"],
            env=dict(os.environ, XDG_RUNTIME_DIR=runtime_dir), stdout=self.log, stderr=self.log,
            start_new_session=True)
        socket = os.path.join(runtime_dir, self.SOCKET)
        deadline = time.monotonic() + 20
        while not os.path.exists(socket):
            if self.process.poll() is not None or time.monotonic() > deadline:
                self.stop()
                sys.exit("startup.py: Weston did not start (see %s)" % self.log.name)
            time.sleep(0.05)
        self.name = "Weston, headless (%s)" % self.SOCKET
        self.variables = {"WAYLAND_DISPLAY": self.SOCKET, "XDG_SESSION_TYPE": "wayland"}


def environment(server, runtime_dir):
    """The same environment for both programs, nothing of the caller's desktop."""
    return dict({
        "PATH": "/usr/bin:/bin",
        "HOME": os.environ.get("HOME", "/root"),
        "LC_ALL": "C.UTF-8",
        "TZ": "UTC",
        "XDG_RUNTIME_DIR": runtime_dir,
    }, **server.variables)


def run_once(program, env, timeout=TIMEOUT, prefix=(), stderr=subprocess.DEVNULL):
    """Wall seconds from fork to reaping, the child's peak RSS in KiB and its
    CPU seconds (user + system)."""
    start = time.perf_counter()
    process = subprocess.Popen(list(prefix) + [program], env=env, stdin=subprocess.DEVNULL,
                               stdout=subprocess.DEVNULL, stderr=stderr)
    deadline = start + timeout
    while True:
        pid, status, usage = os.wait4(process.pid, os.WNOHANG)
        if pid == process.pid:
            break
        if time.perf_counter() > deadline:
            process.kill()
            os.wait4(process.pid, 0)
            sys.exit("startup.py: %s showed no frame within %d s" % (program, timeout))
        time.sleep(0.0005)
    elapsed = time.perf_counter() - start
    process.returncode = os.waitstatus_to_exitcode(status)
    if process.returncode != 0:
        sys.exit("startup.py: %s exited with status %d" % (program, process.returncode))
    return elapsed, usage.ru_maxrss, usage.ru_utime + usage.ru_stime


def callgrind_total(program, env, out_file):
    subprocess.run(["valgrind", "--tool=callgrind", "--callgrind-out-file=" + out_file, program],
                   env=env, stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                   stderr=subprocess.DEVNULL, timeout=CALLGRIND_TIMEOUT, check=True)
    with open(out_file) as data:
        for line in data:
            if line.startswith(("summary:", "totals:")):
                return int(line.split()[1])
    sys.exit("startup.py: no instruction total in " + out_file)


def loaded_plugins(program, env):
    """The Qt plugins a start-up actually loads."""
    env = dict(env, QT_DEBUG_PLUGINS="1")
    result = subprocess.run([program], env=env, stdin=subprocess.DEVNULL,
                            stdout=subprocess.DEVNULL, stderr=subprocess.PIPE, timeout=TIMEOUT,
                            text=True, errors="replace")
    return sorted(set(re.findall(r'"([^"]+)" loaded library', result.stderr)))


def inclusive_costs(out_file):
    """Instructions per function, callees included, as callgrind_annotate counts them."""
    text = subprocess.run(["callgrind_annotate", "--inclusive=yes", "--threshold=100", out_file],
                          capture_output=True, text=True, errors="replace").stdout
    costs = {}
    for line in text.splitlines():
        match = re.match(r"\s*([\d,]+)\s+\(\s*[\d.]+%\)\s+(.*)", line)
        if match and "PROGRAM TOTALS" not in line:
            function = re.sub(r" \[[^\]]*\]$", "", match.group(2))
            costs[function] = costs.get(function, 0) + int(match.group(1).replace(",", ""))
    return costs


def largest_differences(program_file, baseline_file, count=30):
    """Where the program's start-up spends instructions the baseline's does not."""
    if shutil.which("callgrind_annotate") is None:
        return []
    program = inclusive_costs(program_file)
    baseline = inclusive_costs(baseline_file)
    # Unnamed addresses and the chain from the loader down to main say nothing.
    rows = [(program.get(f, 0) - baseline.get(f, 0), program.get(f, 0), baseline.get(f, 0), f)
            for f in set(program) | set(baseline)
            if not f.startswith("???:0x") and "below main" not in f and f != "???:main"]
    rows.sort(reverse=True)
    return rows[:count]


def ratio_line(name, program, baseline, unit, fmt):
    ratio = program / baseline
    met = ratio <= TARGET
    print("%-30s %14s %14s %7.3f %7s  %s" % (
        name, (fmt % program) + " " + unit, (fmt % baseline) + " " + unit, ratio,
        "<=%.2f" % TARGET, "yes" if met else "NO"))
    return met


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("build_dir")
    parser.add_argument("--runs", type=int, default=31, help="timed runs of each (default 31)")
    parser.add_argument("--no-callgrind", action="store_true")
    parser.add_argument("--diagnose", action="store_true",
                        help="also list loaded plugins and the heaviest functions")
    parser.add_argument("--out", help="keep callgrind files here (default: a temporary folder)")
    parser.add_argument("--program", help="measure this build of the program instead")
    parser.add_argument("--baseline", help="measure this build of the baseline instead")
    parser.add_argument("--wayland", action="store_true",
                        help="under a Wayland compositor (Weston) instead of an X server")
    args = parser.parse_args()

    bench_dir = os.path.join(os.path.abspath(args.build_dir), "bench")
    programs = {"program": args.program or os.path.join(bench_dir, "startup_probe"),
                "baseline": args.baseline or os.path.join(bench_dir, "startup_baseline")}
    for path in programs.values():
        if not os.access(path, os.X_OK):
            sys.exit("startup.py: %s is missing; configure with -DPASSO_BENCH=ON and build" % path)
    if args.runs < 10:
        sys.exit("startup.py: at least 10 runs of each are needed for a median")

    workdir = tempfile.mkdtemp(prefix="passo-startup.")
    out_dir = args.out or workdir
    os.makedirs(out_dir, exist_ok=True)
    runtime_dir = os.path.join(workdir, "runtime")
    os.makedirs(runtime_dir, mode=0o700)
    server = Weston(workdir, runtime_dir) if args.wayland else Xvfb(workdir)
    try:
        env = environment(server, runtime_dir)
        times = {name: [] for name in programs}
        rss = {name: [] for name in programs}
        cpu = {name: [] for name in programs}
        for name, path in programs.items():
            run_once(path, env)  # warm-up: page cache, font cache, X server
        for i in range(args.runs):
            order = ["baseline", "program"] if i % 2 == 0 else ["program", "baseline"]
            for name in order:
                elapsed, maxrss, cpu_seconds = run_once(programs[name], env)
                times[name].append(elapsed)
                rss[name].append(maxrss)
                cpu[name].append(cpu_seconds)

        instructions = {}
        if not args.no_callgrind and shutil.which("valgrind"):
            for name in ("baseline", "program"):
                instructions[name] = callgrind_total(
                    programs[name], env, os.path.join(out_dir, "callgrind.%s.out" % name))

        print("Start-up to first frame under %s, %d alternating runs each" % (
            server.name, args.runs))
        for name in ("program", "baseline"):
            print("  %-8s wall ms: %s" % (name, " ".join("%.1f" % (t * 1000) for t in times[name])))
        print("%-30s %14s %14s %7s %7s  %s" % ("figure", "program", "baseline", "ratio", "target",
                                              "met"))
        met = ratio_line("median wall time", statistics.median(times["program"]) * 1000,
                         statistics.median(times["baseline"]) * 1000, "ms", "%.1f")
        met &= ratio_line("median peak RSS", statistics.median(rss["program"]) / 1024,
                          statistics.median(rss["baseline"]) / 1024, "MiB", "%.1f")
        program_cpu = statistics.median(cpu["program"]) * 1000
        baseline_cpu = statistics.median(cpu["baseline"]) * 1000
        print("%-30s %14s %14s %7.3f %7s  %s" % (
            "(median CPU time, no target)", "%.1f ms" % program_cpu, "%.1f ms" % baseline_cpu,
            program_cpu / baseline_cpu, "-", "-"))
        if instructions:
            met &= ratio_line("instructions (callgrind Ir)", instructions["program"] / 1e6,
                              instructions["baseline"] / 1e6, "M", "%.1f")
        else:
            print("instructions: skipped")

        if args.diagnose:
            for name in ("program", "baseline"):
                plugins = loaded_plugins(programs[name], env)
                print("\nPlugins loaded by the %s: %d" % (name, len(plugins)))
                for plugin in plugins:
                    print("  " + plugin)
            if instructions:
                print("\nWhere the program's start-up spends more than the baseline's"
                      " (inclusive instructions, millions):")
                print("  %8s %8s %8s  %s" % ("extra", "program", "baseline", "function"))
                for extra, program_ir, baseline_ir, function in largest_differences(
                        os.path.join(out_dir, "callgrind.program.out"),
                        os.path.join(out_dir, "callgrind.baseline.out")):
                    print("  %8.2f %8.2f %8.2f  %s" % (extra / 1e6, program_ir / 1e6,
                                                       baseline_ir / 1e6, function[:110]))
                print("Callgrind files: %s" % out_dir)
        return 0 if met else 1
    finally:
        server.stop()
        if not args.out:
            shutil.rmtree(workdir, ignore_errors=True)


if __name__ == "__main__":
    signal.signal(signal.SIGTERM, lambda *_: sys.exit(143))
    sys.exit(main())
