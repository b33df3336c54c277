#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The passo-rigatura authors
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs each fuzzer for SECONDS seconds, side by side, on a scratch copy
# of its seed corpus (the inputs it discovers are thrown away, so the work tree
# stays as it is), and prints how many inputs each one ran. Exits non-zero when
# a fuzzer found a failing input; the input is kept under BUILD_DIR/fuzz-artifacts.
#
#   fuzz/run.sh SECONDS BUILD_DIR
set -euo pipefail

if [ $# -ne 2 ] || ! [[ $1 =~ ^[1-9][0-9]*$ ]]; then
    echo "usage: $0 SECONDS BUILD_DIR" >&2
    exit 2
fi
seconds=$1
build_dir=$(cd "$2" && pwd)
fuzz_dir=$(cd "$(dirname "$0")" && pwd)
artifacts="$build_dir/fuzz-artifacts"
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
mkdir -p "$artifacts"

# name, longest input worth trying: a number typed in a field is short, but
# long digit strings are where rounding is hardest; a single is 4 bytes.
targets=("text_to_single 256" "round_trip 4")

# fuzz NAME MAX_LEN: one fuzzer for the given seconds on a copy of its seed
# corpus; prints one line, and the log's tail if it failed.
fuzz() {
    local name=$1 max_len=$2
    local binary="$build_dir/fuzz/${name}_fuzzer"
    local corpus="$scratch/$name"
    mkdir -p "$corpus"
    cp -R "$fuzz_dir/corpus/$name/." "$corpus/"
    local dictionary=()
    if [ -f "$fuzz_dir/$name.dict" ]; then
        dictionary=("-dict=$fuzz_dir/$name.dict")
    fi
    local log="$scratch/$name.log"
    # libFuzzer's own limit of 20 minutes for one input still catches a hang,
    # without mistaking a busy machine for one.
    local result=0
    "$binary" "$corpus" "${dictionary[@]}" \
        -max_total_time="$seconds" -max_len="$max_len" -rss_limit_mb=2048 \
        -print_final_stats=1 -artifact_prefix="$artifacts/$name-" >"$log" 2>&1 || result=$?
    local executions
    executions=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n 1)
    if [ "$result" -eq 0 ]; then
        echo "$name: ${executions:-?} executions in $seconds s, no failure"
        return 0
    fi
    echo "$name: FAILED (exit $result) after ${executions:-?} executions; log tail:"
    tail -n 40 "$log"
    echo "$name: failing inputs are in $artifacts/"
    return 1
}

for entry in "${targets[@]}"; do
    read -r name _ <<<"$entry"
    if [ ! -x "$build_dir/fuzz/${name}_fuzzer" ]; then
        echo "$name: $build_dir/fuzz/${name}_fuzzer is missing; build the fuzzers target first" >&2
        exit 2
    fi
done

# Each fuzzer runs on one core, so they run side by side; each one's report
# is printed whole once it ends.
pids=()
for entry in "${targets[@]}"; do
    read -r name max_len <<<"$entry"
    fuzz "$name" "$max_len" >"$scratch/$name.report" &
    pids+=("$!")
done
status=0
for i in "${!targets[@]}"; do
    wait "${pids[i]}" || status=1
    read -r name _ <<<"${targets[i]}"
    cat "$scratch/$name.report"
done
exit "$status"
