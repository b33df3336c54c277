#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The passo-rigatura authors
# SPDX-License-Identifier: GPL-3.0-or-later
# Usage: session.sh [--wayland SCALE] COMMAND...
#
# Runs COMMAND against a private X server (Xvfb) and a private D-Bus session
# with the accessibility bus started, so that the program's window can be
# driven with xdotool and read back through AT-SPI; with --wayland, against
# Weston's headless backend at output scale SCALE instead, in a Wayland
# session with no X server. Exits with COMMAND's exit status. The display
# server, the buses and anything COMMAND left running are ended on the
# way out, whether COMMAND succeeded, failed or the script was interrupted.
# The functions run from the traps; the inner script is expanded by the inner shell.
# shellcheck disable=SC2317,SC2016,SC2009
set -euo pipefail

wayland_scale=
if [ "${1:-}" = --wayland ]; then
    wayland_scale=${2:?--wayland needs a scale}
    shift 2
fi
if [ "$#" -eq 0 ]; then
    echo "usage: $0 [--wayland SCALE] COMMAND..." >&2
    exit 2
fi

# The same results on every machine: no locale, time zone or desktop settings
# of the caller leak in.
export LC_ALL=C.UTF-8
export TZ=UTC
export QT_QPA_PLATFORM=xcb
export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
unset WAYLAND_DISPLAY WAYLAND_SOCKET XDG_SESSION_TYPE SESSION_MANAGER DBUS_SESSION_BUS_ADDRESS \
    AT_SPI_BUS_ADDRESS

workdir=$(mktemp -d "${TMPDIR:-/tmp}/passo-session.XXXXXX")
export XDG_RUNTIME_DIR="$workdir/runtime"
mkdir -m 700 "$XDG_RUNTIME_DIR"
display_pid=
inner_pid=

# True while a process picked by the ps selection in the arguments is running
# (a zombie waiting to be reaped does not count).
running() {
    ps -o stat= "$@" 2>/dev/null | grep -qv '^Z'
}

# Ends TARGET (a pid, or -pgid for a process group) and waits a bounded time
# for the processes picked by the ps selection in the other arguments to go.
stop() {
    local target=$1
    shift
    kill -TERM -- "$target" 2>/dev/null || return 0
    for _ in $(seq 50); do
        running "$@" || return 0
        sleep 0.1
    done
    kill -KILL -- "$target" 2>/dev/null || true
}

cleanup() {
    local status=$?
    trap - EXIT INT TERM HUP
    # The inner session runs in a process group of its own: ending the group
    # ends the buses, the registry daemon and a program the test left behind.
    if [ -n "$inner_pid" ]; then
        stop "-$inner_pid" -s "$inner_pid"
        wait "$inner_pid" 2>/dev/null || true
    fi
    if [ -n "$display_pid" ]; then
        stop "$display_pid" -p "$display_pid"
        wait "$display_pid" 2>/dev/null || true
    fi
    rm -rf "$workdir"
    exit "$status"
}
trap cleanup EXIT
trap 'exit 130' INT
trap 'exit 143' TERM
trap 'exit 129' HUP

# Xvfb picks a free display itself and writes its number to the pipe once it
# accepts connections.
start_xvfb() {
    mkfifo "$workdir/displayfd"
    Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -noreset \
        3>"$workdir/displayfd" >"$workdir/xvfb.log" 2>&1 &
    display_pid=$!
    exec 4<"$workdir/displayfd"
    local display=
    if ! read -r -t 20 display <&4 || [ -z "$display" ]; then
        echo "session.sh: Xvfb did not start:" >&2
        cat "$workdir/xvfb.log" >&2 || true
        exit 1
    fi
    exec 4<&-
    export DISPLAY=":$display"
}

# Weston listens on its socket in our runtime folder once its output is
# there; a client that connects before its shell is loaded waits for it.
start_weston() {
    local socket=wayland-passo
    weston --backend=headless-backend.so --scale="$wayland_scale" --width=1024 --height=768 \
        --socket="$socket" --idle-time=0 --no-config --log="$workdir/weston.log" \
        >/dev/null 2>&1 &
    display_pid=$!
    for _ in $(seq 200); do
        [ -S "$XDG_RUNTIME_DIR/$socket" ] && break
        sleep 0.1
    done
    if [ ! -S "$XDG_RUNTIME_DIR/$socket" ]; then
        echo "session.sh: Weston did not start:" >&2
        cat "$workdir/weston.log" >&2 || true
        exit 1
    fi
    export WAYLAND_DISPLAY=$socket XDG_SESSION_TYPE=wayland
    unset DISPLAY QT_QPA_PLATFORM
}

if [ -n "$wayland_scale" ]; then start_weston; else start_xvfb; fi

# Inside the session bus: start the accessibility bus, run the command, keep
# its status.
inner='
/usr/libexec/at-spi-bus-launcher --launch-immediately >/dev/null 2>&1 &
launcher=$!
status=0
"$@" || status=$?
kill "$launcher" 2>/dev/null || true
wait "$launcher" 2>/dev/null || true
exit "$status"
'

# The session bus logs to the system log, as a desktop's does, rather than
# among the command's output: started by root without the right to raise its
# limit of open files, it warns at every start that it cannot, which is no
# failure. dbus-run-session still says so if the bus does not start.
printf '#!/bin/sh\nexec dbus-daemon --syslog-only "$@"\n' >"$workdir/dbus-daemon"
chmod +x "$workdir/dbus-daemon"

# setsid makes the inner session the leader of a new session and process
# group, whose id is its pid, so that cleanup can find and end all of it.
set +e
setsid dbus-run-session --dbus-daemon="$workdir/dbus-daemon" -- bash -c "$inner" inner "$@" <&0 &
inner_pid=$!
wait "$inner_pid"
status=$?
set -e
exit "$status"
