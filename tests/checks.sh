# SPDX-FileCopyrightText: 2026 The passo-rigatura authors
# SPDX-License-Identifier: GPL-3.0-or-later
# shellcheck shell=bash
#
# Sourced by the shell tests: `check WHAT COMMAND...` runs COMMAND and counts
# it as passed or failed, and `report` prints the closing count and fails if
# any check did.

passed=0
failed=0

check() {
    local what=$1
    shift
    if "$@"; then
        echo "ok: $what"
        passed=$((passed + 1))
    else
        echo "FAILED: $what"
        failed=$((failed + 1))
    fi
}

report() {
    echo "$passed passed, $failed failed"
    test "$failed" -eq 0
}
