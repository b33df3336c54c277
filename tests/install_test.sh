#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The passo-rigatura authors
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs the built program into a scratch folder and checks what a desktop
# needs of it: the program, a valid menu entry, a valid software-centre entry
# at version 1.00, and the icon at every size.
set -euo pipefail
build_dir=$1
stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT

# shellcheck source=tests/checks.sh
source "$(dirname "$0")/checks.sh"

cmake --install "$build_dir" --prefix "$stage/usr" >/dev/null
share=$stage/usr/share
id=it.passorigatura.PassoRigatura

check "program installed" test -x "$stage/usr/bin/passo-rigatura"
check "desktop entry valid" desktop-file-validate "$share/applications/$id.desktop"
check "metainfo valid" appstreamcli validate --no-net "$share/metainfo/$id.metainfo.xml"
check "metainfo release 1.00" grep -q '<release version="1.00"' "$share/metainfo/$id.metainfo.xml"
for size in 16 32 48 64 128 256; do
    check "icon ${size}x${size}" test -s "$share/icons/hicolor/${size}x${size}/apps/passo-rigatura.png"
done
check "scalable icon" test -s "$share/icons/hicolor/scalable/apps/passo-rigatura.svg"

report
