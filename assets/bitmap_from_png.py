#!/usr/bin/python3
# SPDX-FileCopyrightText: 2026 The passo-rigatura authors
# SPDX-License-Identifier: GPL-3.0-or-later
"""Usage: bitmap_from_png.py PICTURE.png OUTPUT.bmp

Writes a PNG picture as a 32-bit top-down BMP whose colours are already
multiplied by their opacity, the form in which Windows blends a picture over
a background. The Windows program carries its pictures this way, so that
showing one costs a copy rather than a PNG decoder loaded at start-up.
"""
import os
import struct
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from png import read_png  # noqa: E402


def premultiplied(value, alpha):
    return (value * alpha + 127) // 255


def bitmap(width, height, rows):
    pixels = bytearray()
    for row in rows:
        for r, g, b, a in row:
            pixels += bytes((premultiplied(b, a), premultiplied(g, a), premultiplied(r, a), a))
    info = struct.pack("<IiiHHIIiiII", 40, width, -height, 1, 32, 0, len(pixels), 3780, 3780, 0, 0)
    offset = 14 + len(info)
    header = struct.pack("<2sIHHI", b"BM", offset + len(pixels), 0, 0, offset)
    return header + info + bytes(pixels)


def main():
    if len(sys.argv) != 3:
        sys.exit(__doc__.strip())
    with open(sys.argv[1], "rb") as source:
        width, height, rows = read_png(source.read())
    with open(sys.argv[2], "wb") as output:
        output.write(bitmap(width, height, rows))


if __name__ == "__main__":
    main()
