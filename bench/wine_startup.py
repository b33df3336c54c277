#!/usr/bin/python3
# SPDX-FileCopyrightText: 2026 The passo-rigatura authors
# SPDX-License-Identifier: GPL-3.0-or-later
"""Start-up of the Windows program against a bare Win32 program, under Wine.

Usage (inside tests/wine/run, which gives both one prefix and one X server):
    wine_startup.py BUILD_DIR [--runs N]

BUILD_DIR is a Windows build configured with -DPASSO_BENCH=ON. Both programs
are timed from outside, the same way: from starting the process to the first
moment the X server holds the window's finished first frame. The script
watches the window's pixels on the X server; once they have not changed for
half a second, the frame they show is the finished one, and its time is the
first moment it was seen. The two run alternately (ABBA), after one
discarded warm-up each, and the median wall times are compared against 1.10.
The program file's size, stripped as the installer and the .zip ship it, is
held against 2 MiB. Wine's timings are not Windows' timings: only the ratio
means anything, and only for Wine.

Exits 0 when the figures were taken, whether or not a target was met (the
output says which); 2 when a program could not be measured.
"""

import argparse
import hashlib
import os
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

from Xlib import X, display
from Xlib.error import XError

TITLE = "Calcolo passo della rigatura"
TARGET = 1.10
SIZE_TARGET = 2 * 1024 * 1024
STEADY = 0.5
POLL = 0.002
TIMEOUT = 30


class Failed(Exception):
    pass


def shown_window(screen):
    """The viewable top-level X window with the program's title, if any."""
    for window in screen.root.query_tree().children:
        try:
            if (window.get_attributes().map_state == X.IsViewable
                    and window.get_wm_name() in (TITLE, TITLE.encode())):
                return window
        except XError:
            continue  # a window that went away while we looked
    return None


def frame_digest(window):
    geometry = window.get_geometry()
    image = window.get_image(0, 0, geometry.width, geometry.height, X.ZPixmap, 0xFFFFFFFF)
    return hashlib.blake2b(image.data, digest_size=16).digest()


def end_process(process):
    """Kills the process; the CPU seconds it used, or None if it had ended."""
    if process.returncode is not None:
        return None
    process.kill()
    _, _, usage = os.wait4(process.pid, 0)
    process.returncode = -9
    return usage.ru_utime + usage.ru_stime


def first_frame_seconds(connection, program):
    """Seconds from starting program to the first sight of its finished frame,
    and the CPU seconds (user + system) the process used until it was ended."""
    screen = connection.screen()
    started = time.perf_counter()
    process = subprocess.Popen([os.environ["WINE"], program], stdin=subprocess.DEVNULL,
                               stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    try:
        deadline = started + TIMEOUT
        window = None
        while window is None:
            if time.perf_counter() > deadline or process.poll() is not None:
                raise Failed(f"{program} showed no window within {TIMEOUT} s")
            window = shown_window(screen)
            time.sleep(POLL)
        seen = []  # (time, digest) at each change
        while True:
            now = time.perf_counter()
            try:
                digest = frame_digest(window)
            except XError:
                raise Failed(f"{program}'s window went away while it started")
            if not seen or digest != seen[-1][1]:
                seen.append((now, digest))
            elif now - seen[-1][0] >= STEADY:
                break
            if now > deadline:
                raise Failed(f"{program}'s window never stopped changing")
            time.sleep(POLL)
    finally:
        cpu = end_process(process)
        # The next run must not find this run's window.
        end = time.perf_counter() + 10
        while shown_window(screen) is not None and time.perf_counter() < end:
            time.sleep(0.01)
    return seen[-1][0] - started, cpu


def stripped_size(program):
    with tempfile.TemporaryDirectory() as folder:
        copy = os.path.join(folder, "program.exe")
        subprocess.run(["x86_64-w64-mingw32-strip", "-o", copy, program], check=True)
        return os.path.getsize(copy)


def ratio_line(name, program, baseline, unit):
    ratio = program / baseline
    print("%-28s %12s %12s %7.3f %7s  %s" % (
        name, "%.1f %s" % (program, unit), "%.1f %s" % (baseline, unit), ratio,
        "<=%.2f" % TARGET, "yes" if ratio <= TARGET else "NO"))


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("build_dir")
    parser.add_argument("--runs", type=int, default=21, help="timed runs of each (default 21)")
    args = parser.parse_args()
    build = os.path.abspath(args.build_dir)
    programs = {"program": os.path.join(build, "app", "passo-rigatura.exe"),
                "baseline": os.path.join(build, "bench", "win32_baseline.exe")}
    for path in programs.values():
        if not os.path.isfile(path):
            sys.exit(f"wine_startup.py: {path} is missing; configure the Windows build "
                     "with -DPASSO_BENCH=ON and build it")
    if shutil.which("x86_64-w64-mingw32-strip") is None:
        sys.exit("wine_startup.py: x86_64-w64-mingw32-strip is missing")

    connection = display.Display()
    times = {name: [] for name in programs}
    cpu = {name: [] for name in programs}
    try:
        for path in programs.values():
            first_frame_seconds(connection, path)  # warm-up: page cache, fonts, Wine's DLLs
        for i in range(args.runs):
            order = ["baseline", "program"] if i % 2 == 0 else ["program", "baseline"]
            for name in order:
                wall, cpu_seconds = first_frame_seconds(connection, programs[name])
                times[name].append(wall)
                cpu[name].append(cpu_seconds)
    except Failed as error:
        print(f"wine_startup.py: {error}", file=sys.stderr)
        return 2

    print("Windows start-up to the finished first frame, under Wine %s on Xvfb, "
          "%d alternating runs each" % (subprocess.run([os.environ["WINE"], "--version"],
                                                       capture_output=True, text=True)
                                        .stdout.strip(), args.runs))
    print("(Wine's timings are not Windows' timings; only the ratio is held to a target.)")
    for name in ("program", "baseline"):
        print("  %-8s wall ms: %s" % (name, " ".join("%.0f" % (t * 1000) for t in times[name])))
    print("%-28s %12s %12s %7s %7s  %s" % ("figure", "program", "baseline", "ratio", "target",
                                          "met"))
    ratio_line("median wall time", statistics.median(times["program"]) * 1000,
               statistics.median(times["baseline"]) * 1000, "ms")
    program_cpu = statistics.median(cpu["program"]) * 1000
    baseline_cpu = statistics.median(cpu["baseline"]) * 1000
    print("%-28s %12s %12s %7.3f %7s  %s" % (
        "(median CPU time, no target)", "%.1f ms" % program_cpu, "%.1f ms" % baseline_cpu,
        program_cpu / baseline_cpu, "-", "-"))
    size = stripped_size(programs["program"])
    print("program file, stripped: %d bytes (%.2f MiB), target < 2 MiB: %s" % (
        size, size / 1048576, "yes" if size < SIZE_TARGET else "NO"))
    return 0


if __name__ == "__main__":
    sys.exit(main())
