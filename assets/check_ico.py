#!/usr/bin/python3
# SPDX-FileCopyrightText: 2026 The passo-rigatura authors
# SPDX-License-Identifier: GPL-3.0-or-later
"""Checks passo-rigatura.ico: one 32 x 32 image, 4 bits per pixel with a
16-colour palette, an AND mask, and some transparent and some opaque pixels.

Usage: check_ico.py [file.ico]   (default: passo-rigatura.ico next to this script)
Needs only Python 3.
"""
import os
import struct
import sys

SIZE = 32


def check(path):
    data = open(path, "rb").read()

    reserved, kind, count = struct.unpack_from("<HHH", data, 0)
    assert (reserved, kind) == (0, 1), "not an icon file"
    assert count == 1, f"{count} images, expected 1"

    (width, height, colours, zero, planes, bits,
     length, offset) = struct.unpack_from("<BBBBHHII", data, 6)
    assert (width, height) == (SIZE, SIZE), f"directory says {width} x {height}"
    assert colours == 16 and zero == 0, "directory colour count is not 16"
    assert bits in (0, 4) and planes in (0, 1), "directory bit count is not 4"
    assert offset == 22, f"image at {offset}, expected 22"
    assert offset + length == len(data), "image length does not match the file size"

    (header, bmp_width, bmp_height, bmp_planes, bmp_bits, compression,
     image_size, _, _, used, _) = struct.unpack_from("<IiiHHIIiiII", data, offset)
    assert header == 40, "not a BITMAPINFOHEADER"
    assert (bmp_width, bmp_height) == (SIZE, 2 * SIZE), \
        f"bitmap is {bmp_width} x {bmp_height}, expected {SIZE} x {2 * SIZE}"
    assert bmp_planes == 1 and bmp_bits == 4, f"{bmp_bits} bits per pixel, expected 4"
    assert compression == 0, "bitmap is compressed"
    assert used in (0, 16), f"{used} palette entries, expected 16"

    xor_row = (SIZE * 4 + 31) // 32 * 4
    and_row = (SIZE + 31) // 32 * 4
    palette = offset + header
    pixels = palette + 16 * 4
    mask = pixels + xor_row * SIZE
    end = mask + and_row * SIZE
    assert end == len(data), \
        f"file is {len(data)} bytes, expected {end} (palette, colours and mask)"
    assert image_size in (0, end - pixels), "header image size is wrong"

    transparent = opaque = 0
    for row in range(SIZE):
        for x in range(SIZE):
            bit = data[mask + row * and_row + x // 8] >> (7 - x % 8) & 1
            byte = data[pixels + row * xor_row + x // 2]
            index = byte >> 4 if x % 2 == 0 else byte & 15
            if bit:
                transparent += 1
                assert index == 0, f"transparent pixel ({x}, {row}) has colour {index}"
            else:
                opaque += 1
    assert transparent > 0, "no transparent pixels"
    assert opaque > 0, "no opaque pixels"
    return transparent, opaque


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    path = sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, "passo-rigatura.ico")
    try:
        transparent, opaque = check(path)
    except AssertionError as error:
        print(f"{path}: {error}", file=sys.stderr)
        return 1
    print(f"{path}: ok, 32 x 32, 16 colours, {opaque} opaque and {transparent} transparent pixels")
    return 0


if __name__ == "__main__":
    sys.exit(main())
