#!/usr/bin/python3
# SPDX-FileCopyrightText: 2026 The passo-rigatura authors
# SPDX-License-Identifier: GPL-3.0-or-later
"""Whether debian/copyright gives every file the licence REUSE finds for it.

Usage: copyright_agrees.py SOURCE_DIR

REUSE reads each file's SPDX header or .reuse/dep5; debian/copyright says the
same in Debian's words for the distribution. Prints each file on which they
disagree; exits non-zero if any does or if either names no licence.
"""

import fnmatch
import re
import subprocess
import sys

# Debian's short names for the licences the project uses, in SPDX's words.
SPDX_NAMES = {"GPL-3+": "GPL-3.0-or-later", "CC0-1.0": "CC0-1.0"}


def debian_licences(path):
    """The (Files patterns, licence) of each files stanza, in file order."""
    with open(path, encoding="utf-8") as copyright_file:
        stanzas = copyright_file.read().split("\n\n")
    found = []
    for stanza in stanzas:
        fields = dict(re.findall(r"^([A-Za-z-]+):[ \t]*(.*)$", stanza, re.MULTILINE))
        if "Files" in fields:
            found.append((fields["Files"].split(), SPDX_NAMES.get(fields["License"], "unknown")))
    return found


def debian_licence(stanzas, name):
    """The last stanza naming a file decides, as the copyright format says;
    its * crosses folders."""
    licence = None
    for patterns, stanza_licence in stanzas:
        if any(fnmatch.fnmatchcase(name, pattern) for pattern in patterns):
            licence = stanza_licence
    return licence


def reuse_licences(root):
    report = subprocess.run(["reuse", "--root", root, "spdx"], check=True,
                            capture_output=True, text=True).stdout
    return re.findall(r"^FileName: \./(.*)\n(?:.*\n)*?LicenseInfoInFile: (.*)$", report,
                      re.MULTILINE)


def main():
    root = sys.argv[1]
    stanzas = debian_licences(f"{root}/debian/copyright")
    files = reuse_licences(root)
    disagreeing = [(name, licence, debian_licence(stanzas, name)) for name, licence in files
                   if debian_licence(stanzas, name) != licence]
    for name, reuse, debian in disagreeing:
        print(f"{name}: REUSE finds {reuse}, debian/copyright says {debian}")
    print(f"{len(files)} files, {len(disagreeing)} disagreeing")
    return 0 if files and not disagreeing else 1


if __name__ == "__main__":
    sys.exit(main())
