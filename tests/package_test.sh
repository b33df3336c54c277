#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The passo-rigatura authors
# SPDX-License-Identifier: GPL-3.0-or-later
#
# Usage: tests/package_test.sh SOURCE_DIR
#
# Builds the release (scripts/release: the Debian package, the Windows
# installer and the .zip, the site's archive, and their SHA256SUMS) twice,
# from two copies of the source tree in folders of different names, in
# different time zones and with different umasks, and checks that each file
# is the same bytes in both, that SHA256SUMS checks them, that lintian finds
# no error or warning in the package, and that the released site passes the
# browser check. The copies keep the tree as it is now, so edits made while
# the test runs cannot differ between the builds.
set -euo pipefail
root=$(realpath -- "$1")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

SOURCE_DATE_EPOCH=$("$root/scripts/source-date-epoch")
export SOURCE_DATE_EPOCH

copy_tree() {
    mkdir -p "$1"
    git -C "$root" ls-files -z --cached --others --exclude-standard |
        while IFS= read -r -d '' file; do
            if [ -e "$root/$file" ]; then printf '%s\0' "$file"; fi
        done |
        tar -C "$root" --null -T - -cf - | tar -C "$1" -xf -
}

# Builds the release from a copy of the tree in $work/TREE/source into
# $work/TREE/RELEASE_DIR; $work/TREE.files lists its files, SHA256SUMS last.
build() {
    copy_tree "$work/$1/source"
    "$work/$1/source/scripts/release" "$work/$1/$2" >"$work/$1.files" 2>"$work/$1.log" ||
        { cat "$work/$1.log"; return 1; }
    echo "$work/$1/$2/SHA256SUMS:"
    cat "$work/$1/$2/SHA256SUMS"
}

# Side by side, as much of each build waits on one core (configuring,
# linking, packing). The second in another time zone and with another umask,
# which must not reach the files either.
build a release >"$work/a.out" &
first_build=$!
(umask 002 && TZ=Pacific/Kiritimati build second-tree other-release) >"$work/second-tree.out" &
second_build=$!
status=0
wait "$first_build" || status=1
wait "$second_build" || status=1
cat "$work/a.out" "$work/second-tree.out"
[ "$status" -eq 0 ]
mapfile -t first <"$work/a.files"
mapfile -t second <"$work/second-tree.files"

# shellcheck source=tests/checks.sh
source "$(dirname "$0")/checks.sh"

same_files() { [ "${#first[@]}" -gt 1 ] && [ "${first[*]##*/}" = "${second[*]##*/}" ]; }
check "both builds made the same files: ${first[*]##*/}" same_files
for i in "${!first[@]}"; do
    check "${first[i]##*/} is the same bytes from both builds" cmp "${first[i]}" "${second[i]}"
done
sums_check() { (cd "$work/a/release" && sha256sum --check --strict --quiet SHA256SUMS); }
check "SHA256SUMS checks the release's files" sums_check

# Pedantic and informational tags are shown, but only errors and warnings
# fail.
check "lintian finds no error or warning" \
    lintian --info --display-info --pedantic --display-experimental --verbose \
    --fail-on error,warning "$work"/a/release/*.deb

# The released site is built apart from the one the browser tests load: it
# must behave as that one does, error boxes and all.
released_site_works() {
    mkdir -p "$work/site" &&
        tar -C "$work/site" -xzf "$work"/a/release/*-web.tar.gz &&
        /usr/bin/python3 "$root/tests/web/site_check.py" --site "$work"/site/*/ \
            --artifacts "$work/site-artifacts"
}
check "the released site passes the browser check" released_site_works

# Without Qt's Wayland platform the window is drawn through XWayland on a
# Wayland desktop, or not at all where XWayland is not running.
recommends_wayland() {
    dpkg-deb --field "$first" Recommends | tr ',' '\n' | sed 's/^ *//' | grep -qx qt6-wayland
}
check "the package recommends Qt's Wayland platform" recommends_wayland

report
