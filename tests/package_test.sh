#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The passo-rigatura authors
# SPDX-License-Identifier: GPL-3.0-or-later
#
# Usage: tests/package_test.sh SOURCE_DIR
#
# Builds the Debian package twice, from two copies of the source tree in
# folders of different names, and checks that the two packages are the same
# bytes and that lintian finds no error or warning in them. The copies keep
# the tree as it is now, so edits made while the test runs cannot differ
# between the builds.
set -euo pipefail
root=$(realpath -- "$1")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

export SOURCE_DATE_EPOCH=${SOURCE_DATE_EPOCH:-$(git -C "$root" log -1 --format=%ct)}

copy_tree() {
    mkdir -p "$1"
    git -C "$root" ls-files -z --cached --others --exclude-standard |
        while IFS= read -r -d '' file; do
            if [ -e "$root/$file" ]; then printf '%s\0' "$file"; fi
        done |
        tar -C "$root" --null -T - -cf - | tar -C "$1" -xf -
}

build() {
    copy_tree "$work/$1/source"
    "$work/$1/source/scripts/build-package" "$work/$1/$2" >"$work/$1.log" 2>&1 ||
        { cat "$work/$1.log"; return 1; }
    tail -n 1 "$work/$1.log"
}

first=$(build a build)
second=$(build second-tree other-build)
sha256sum "$first" "$second"

# shellcheck source=tests/checks.sh
source "$(dirname "$0")/checks.sh"

same_bytes() { cmp -s "$first" "$second"; }
check "two builds give the same bytes" same_bytes

# Pedantic and informational tags are shown but only errors and warnings
# fail; the README lists any that remain and why.
check "lintian finds no error or warning" \
    lintian --info --display-info --pedantic --display-experimental --verbose \
    --fail-on error,warning "$first"

# Without Qt's Wayland platform the window is drawn through XWayland on a
# Wayland desktop, or not at all where XWayland is not running.
recommends_wayland() {
    dpkg-deb --field "$first" Recommends | tr ',' '\n' | sed 's/^ *//' | grep -qx qt6-wayland
}
check "the package recommends Qt's Wayland platform" recommends_wayland

report
