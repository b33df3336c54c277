#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The passo-rigatura authors
# SPDX-License-Identifier: GPL-3.0-or-later
# Usage: bench/run.sh BUILD_DIR
#
# Runs the three benchmarks of a build configured with -DPASSO_BENCH=ON and
# prints a summary: the number conversions against the C library, one click
# of CALCOLA against a plain Qt window, start-up against a bare Qt program on
# X11 and on Wayland.
# Every figure is a ratio to a baseline measured in the same run, so the
# figures of a busy machine still compare. Full output goes to
# BUILD_DIR/bench/results/. Exits 0 when the benchmarks ran, whether or not
# the targets were met (the summary says which); 2 when one could not run.
set -euo pipefail

if [ "$#" -ne 1 ]; then
    echo "usage: $0 BUILD_DIR" >&2
    exit 2
fi
build=$(realpath -- "$1")
here=$(cd "$(dirname "$0")" && pwd)
results="$build/bench/results"
mkdir -p "$results"
# Qt wants a private runtime folder; the caller's may not exist here.
XDG_RUNTIME_DIR=$(mktemp -d "${TMPDIR:-/tmp}/passo-bench.XXXXXX")
export XDG_RUNTIME_DIR
trap 'rm -rf "$XDG_RUNTIME_DIR"' EXIT

for program in conversions_bench click_bench startup_probe startup_baseline; do
    if [ ! -x "$build/bench/$program" ]; then
        echo "run.sh: $build/bench/$program is missing; configure with -DPASSO_BENCH=ON and build" >&2
        exit 2
    fi
done

# Status 0: every target met; 1: the figures are there but a target is missed.
missed=()
run() {
    local name=$1
    shift
    echo "== $name"
    local status=0
    "$@" >"$results/$name.txt" 2>&1 || status=$?
    if [ "$status" -gt 1 ]; then
        cat "$results/$name.txt" >&2
        echo "run.sh: $name failed with status $status" >&2
        exit 2
    fi
    [ "$status" -eq 0 ] || missed+=("$name")
}

run conversions "$build/bench/conversions_bench"
run click env QT_QPA_PLATFORM=offscreen "$build/bench/click_bench"
run startup /usr/bin/python3 "$here/startup.py" "$build" --diagnose --out "$results/callgrind"
run startup-wayland /usr/bin/python3 "$here/startup.py" "$build" --wayland --diagnose \
    --out "$results/callgrind-wayland"

echo
echo "==================== summary ===================="
{
    uname -srm
    lscpu | sed -n 's/^Model name: *//p; s/^CPU(s): */CPUs: /p'
    echo "load average: $(cut -d' ' -f1-3 /proc/loadavg)"
} | sed 's/^/  /'
echo
echo "-- number conversions (ours / C library, target <= 1.00, no heap blocks)"
sed -n '/^Summary:/,$p' "$results/conversions.txt"
echo
echo "-- one click of CALCOLA (target < 20 us; the plain Qt window for scale)"
sed -n '/^Form1 shows/p; /^Summary:/,$p' "$results/click.txt"
echo
echo "-- start-up to the first frame (program / bare Qt program, target <= 1.10)"
sed -n '/^Start-up/,/^Plugins loaded/p' "$results/startup.txt" | sed '$d'
echo
echo "-- the same on Wayland"
sed -n '/^Start-up/,/^Plugins loaded/p' "$results/startup-wayland.txt" | sed '$d'
echo
if [ "${#missed[@]}" -eq 0 ]; then
    echo "All targets met."
else
    echo "Targets missed in: ${missed[*]} (see above; full output in $results)"
fi
