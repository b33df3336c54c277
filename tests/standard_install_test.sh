#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The passo-rigatura authors
# SPDX-License-Identifier: GPL-3.0-or-later
#
# Usage: tests/standard_install_test.sh SOURCE_DIR
#
# Builds and installs the program from the source tarball as most
# distributions' packagers do, with the commands CONTRIBUTING.md gives and in
# the unpacked tarball, which has no .git; then checks that the build looked
# for nothing beyond the compiler, CMake and Qt, that exactly the program,
# its menu entry, metainfo, icons and manual pages landed where GNUInstallDirs
# puts them, and that the menu entry and the metainfo pass their validators.
set -euo pipefail
root=$(realpath -- "$1")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# shellcheck source=tests/checks.sh
source "$(dirname "$0")/checks.sh"

tarball=$("$root/scripts/build-source-tarball" "$work")
tar -C "$work" -xzf "$tarball"
cd "$work/$(basename "$tarball" .tar.gz)"
build() {
    cmake -B build -DCMAKE_INSTALL_PREFIX=/usr -DBUILD_TESTING=OFF &&
        cmake --build build && DESTDIR=$PWD/root cmake --install build
} >"$work/build.log" 2>&1
check "the tarball builds and installs" build || { cat "$work/build.log"; report; }

# A package CMake was asked to find leaves its folder or its program in the
# cache, found or not.
for package in GTest Python3 benchmark; do
    check "the build does not look for $package" \
        bash -c "! grep -q '^${package}_' build/CMakeCache.txt"
done

id=it.passorigatura.PassoRigatura
expected=(
    usr/bin/passo-rigatura
    "usr/share/applications/$id.desktop"
    "usr/share/metainfo/$id.metainfo.xml"
    usr/share/man/man1/passo-rigatura.1
    usr/share/man/it/man1/passo-rigatura.1
    usr/share/icons/hicolor/scalable/apps/passo-rigatura.svg
)
for size in 16 32 48 64 128 256; do
    expected+=("usr/share/icons/hicolor/${size}x${size}/apps/passo-rigatura.png")
done
installed=$(cd root && find . -type f -printf '%P\n' | sort)
check "exactly the program and its desktop files are installed" \
    diff <(printf '%s\n' "${expected[@]}" | sort) - <<<"$installed"
check "the program can be run" test -x root/usr/bin/passo-rigatura
check "the menu entry is valid" desktop-file-validate "root/usr/share/applications/$id.desktop"
check "the metainfo is valid, pedantically" \
    appstreamcli validate --pedantic --no-net "root/usr/share/metainfo/$id.metainfo.xml"
check "the metainfo's release is 1.00" \
    grep -q '<release version="1.00"' "root/usr/share/metainfo/$id.metainfo.xml"

report
