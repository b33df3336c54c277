#!/usr/bin/python3
# SPDX-FileCopyrightText: 2026 The passo-rigatura authors
# SPDX-License-Identifier: GPL-3.0-or-later
"""Checks passo-rigatura.ico: one 32 x 32 image, 4 bits per pixel with a
16-colour palette, an AND mask, and some transparent and some opaque pixels;
beside it, for denser screens, 16, 24 and 48 pixel images in 32-bit colour
with their masks and a 256 pixel PNG, the images one after the other.

Usage: check_ico.py [file.ico]   (default: passo-rigatura.ico next to this script)
Needs only Python 3.
"""
import os
import struct
import sys

SIZE = 32
TRUE_COLOUR_SIZES = (16, 24, 48)
PNG_SIZE = 256


def directory(data):
    """The entries, by size: (colours, planes, bits, length, offset)."""
    reserved, kind, count = struct.unpack_from("<HHH", data, 0)
    assert (reserved, kind) == (0, 1), "not an icon file"
    entries, end = {}, 6 + 16 * count
    for index in range(count):
        (width, height, colours, zero, planes, bits,
         length, offset) = struct.unpack_from("<BBBBHHII", data, 6 + 16 * index)
        size = width or 256
        assert height == width and zero == 0, f"entry {index} is {width} x {height}"
        assert size not in entries, f"two {size} x {size} images"
        assert offset == end, f"the {size} x {size} image is at {offset}, expected {end}"
        end = offset + length
        entries[size] = (colours, planes, bits, length, offset)
    assert end == len(data), "the images do not end where the file does"
    expected = sorted(TRUE_COLOUR_SIZES + (SIZE, PNG_SIZE))
    assert sorted(entries) == expected, f"sizes {sorted(entries)}, expected {expected}"
    return entries


def check_16_colours(data, entry):
    colours, planes, bits, length, offset = entry
    assert colours == 16, "directory colour count is not 16"
    assert bits in (0, 4) and planes in (0, 1), "directory bit count is not 4"

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
    assert end == offset + length, \
        f"image is {length} bytes, expected {end - offset} (palette, colours and mask)"
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


def check_true_colour(data, size, entry):
    colours, _, bits, length, offset = entry
    assert colours == 0 and bits == 32, f"the {size} x {size} image is not 32-bit"
    header, width, height, planes, bmp_bits, compression = \
        struct.unpack_from("<IiiHHI", data, offset)
    assert header == 40 and compression == 0, f"the {size} x {size} image is no plain bitmap"
    assert (width, height, planes, bmp_bits) == (size, 2 * size, 1, 32), \
        f"the {size} x {size} bitmap is {width} x {height} at {bmp_bits} bits"
    mask_row = (size + 31) // 32 * 4
    expected = header + size * size * 4 + size * mask_row
    assert length == expected, f"the {size} x {size} image is {length} bytes, expected {expected}"


def check_png(data, entry):
    _, _, _, length, offset = entry
    png = data[offset:offset + length]
    assert png[:8] == b"\x89PNG\r\n\x1a\n", f"the {PNG_SIZE} x {PNG_SIZE} image is no PNG"
    width, height = struct.unpack_from(">II", png, 16)
    assert (width, height) == (PNG_SIZE, PNG_SIZE), f"the PNG is {width} x {height}"


def check(path):
    data = open(path, "rb").read()
    entries = directory(data)
    transparent, opaque = check_16_colours(data, entries[SIZE])
    for size in TRUE_COLOUR_SIZES:
        check_true_colour(data, size, entries[size])
    check_png(data, entries[PNG_SIZE])
    return transparent, opaque


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    path = sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, "passo-rigatura.ico")
    try:
        transparent, opaque = check(path)
    except AssertionError as error:
        print(f"{path}: {error}", file=sys.stderr)
        return 1
    print(f"{path}: ok, 32 x 32, 16 colours, {opaque} opaque and {transparent} transparent "
          f"pixels; 16, 24, 48 and 256 beside it")
    return 0


if __name__ == "__main__":
    sys.exit(main())
