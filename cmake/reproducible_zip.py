#!/usr/bin/python3
# SPDX-FileCopyrightText: 2026 The passo-rigatura authors
# SPDX-License-Identifier: GPL-3.0-or-later
"""Writes a .zip holding the given files at its top level, the same bytes
whoever builds it, where and when: the entries in the order given, each
dated SOURCE_DATE_EPOCH (without it, the file's own time), with the mode 755
or 644 whatever the umask, and no owner. The MS-DOS date and time every
entry has is that time in UTC, not in the builder's time zone; unzip and
other Unix tools read the exact time from the entry's Unix time field.

Usage: reproducible_zip.py ARCHIVE FILE...
"""

import os
import struct
import sys
import time
import zipfile

# The earliest time a .zip can hold.
ZIP_EPOCH = 315532800  # 1980-01-01 00:00:00 UTC
UNIX = 3
# The extended time stamp field, holding only the time of last change.
UNIX_TIME_FIELD = 0x5455
HAS_MODIFICATION_TIME = 1


def entry(path):
    epoch = os.environ.get("SOURCE_DATE_EPOCH")
    seconds = max(int(epoch) if epoch else int(os.stat(path).st_mtime), ZIP_EPOCH)
    info = zipfile.ZipInfo(os.path.basename(path), date_time=time.gmtime(seconds)[:6])
    info.extra = struct.pack("<HHBl", UNIX_TIME_FIELD, 5, HAS_MODIFICATION_TIME, seconds)
    info.create_system = UNIX
    mode = 0o755 if os.access(path, os.X_OK) else 0o644
    info.external_attr = (0o100000 | mode) << 16
    info.compress_type = zipfile.ZIP_DEFLATED
    return info


def main():
    if len(sys.argv) < 3:
        sys.exit(__doc__.strip().splitlines()[-1])
    archive, paths = sys.argv[1], sys.argv[2:]
    partial = archive + ".part"
    with zipfile.ZipFile(partial, "w", compresslevel=9) as out:
        for path in paths:
            with open(path, "rb") as source:
                out.writestr(entry(path), source.read())
    os.replace(partial, archive)


if __name__ == "__main__":
    main()
