#!/usr/bin/env python3
"""Writes the test pattern bitmap: 3 x 2 pixels, 24 bits, uncompressed,
rows stored bottom row first like every bitmap of the product. Three pixels
per row makes each stored row 9 bytes plus 3 of padding, so a reader that
forgets the padding reads the second row wrong.

Usage: make_test_bitmap.py OUT.bmp"""
import struct
import sys

# Top row first, as seen on screen: (red, green, blue).
PIXELS = [
    [(255, 0, 0), (0, 255, 0), (0, 0, 255)],
    [(10, 20, 30), (255, 255, 255), (200, 100, 50)],
]


def bitmap(rows):
    width, height = len(rows[0]), len(rows)
    stride = (width * 3 + 3) // 4 * 4
    data = b""
    for row in reversed(rows):
        line = b"".join(bytes((b, g, r)) for (r, g, b) in row)
        data += line + b"\0" * (stride - len(line))
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(data), 2835, 2835, 0, 0)
    offset = 14 + len(info)
    header = struct.pack("<2sIHHI", b"BM", offset + len(data), 0, 0, offset)
    return header + info + data


if __name__ == "__main__":
    with open(sys.argv[1], "wb") as out:
        out.write(bitmap(PIXELS))
