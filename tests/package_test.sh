#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The passo-rigatura authors
# SPDX-License-Identifier: GPL-3.0-or-later
#
# Usage: tests/package_test.sh SOURCE_DIR
#
# Builds the release (scripts/release: the Debian package, the Windows
# installer and the .zip, the site's archive, the source tarball, and their
# SHA256SUMS) twice, from two copies of the source tree in folders of
# different names, in different time zones and with different umasks, and
# checks that each file is the same bytes in both, that SHA256SUMS checks
# them, that the source tarball holds the source and nothing else, that
# lintian says nothing of the Debian source package and the packages built
# from it, that debian/ agrees with the program's change log and licences,
# and that the released site works as the tested one does. The copies keep
# the tree as it is now, so edits made while the test runs cannot differ
# between the builds.
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

# Every tag fails, down to the pedantic and experimental ones, but those
# debian/ overrides, each saying why.
check "lintian says nothing of the source package and its packages" \
    lintian -EviIL +pedantic --fail-on error,warning,info,pedantic,experimental \
    "$work"/a/release/build/deb/source/*.changes

# The tarball: one folder of the version's name, what a build needs (the
# time it is dated by among it) and nothing built or Debian's.
tarball=$(printf '%s\n' "${first[@]}" | grep -E '/passo-rigatura-[0-9.]+\.tar\.gz$')
listing=$(tar -tzf "$tarball")
folder=$(basename "$tarball" .tar.gz)/
lists() { grep -qx "$folder$1" <<<"$listing"; }
lists_none() { ! grep -q "^$folder$1" <<<"$listing"; }
in_one_folder() { ! grep -v "^$folder" <<<"$listing"; }
check "the tarball unpacks into $folder alone" in_one_folder
for file in CMakeLists.txt CHANGELOG.md app/main.cpp tests/calc_test.cpp scripts/source-date-epoch; do
    check "the tarball holds $file" lists "$file"
done
for built in debian/ build/ build- .git/ '.*__pycache__/'; do
    check "the tarball holds no $built" lists_none "$built"
done
dated_by_commit() {
    [ "$(tar -xzOf "$tarball" "$folder.source-date-epoch")" = "$SOURCE_DATE_EPOCH" ]
}
check "the tarball carries the time its builds are dated by" dated_by_commit

same_changelog() {
    "$root/scripts/debian-changelog" "$work/changelog" && cmp "$work/changelog" "$root/debian/changelog"
}
check "debian/changelog is CHANGELOG.md's (scripts/debian-changelog writes it)" same_changelog
check "debian/copyright gives each file the licence REUSE finds" \
    /usr/bin/python3 "$root/tests/copyright_agrees.py" "$root"

# The released site is built apart from the one the browser tests load: it
# must behave as that one does, error boxes and all. Where make test names
# that site (PASSO_TESTED_SITE), built from this tree, the released one must
# be the same files, which the browser tests check in the same run; alone,
# this test checks the released site in the browser itself.
released_site_works() {
    mkdir -p "$work/site" && tar -C "$work/site" -xzf "$work"/a/release/*-web.tar.gz || return
    if [ -n "${PASSO_TESTED_SITE:-}" ]; then
        diff -r "$work"/site/*/ "$PASSO_TESTED_SITE"
    else
        /usr/bin/python3 "$root/tests/web/site_check.py" --site "$work"/site/*/ \
            --artifacts "$work/site-artifacts"
    fi
}
check "the released site is the tested site, or passes the browser check" released_site_works

# Without Qt's Wayland platform the window is drawn through XWayland on a
# Wayland desktop, or not at all where XWayland is not running.
recommends_wayland() {
    dpkg-deb --field "$first" Recommends | tr ',' '\n' | sed 's/^ *//' | grep -qx qt6-wayland
}
check "the package recommends Qt's Wayland platform" recommends_wayland

report
