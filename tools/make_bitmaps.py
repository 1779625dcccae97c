#!/usr/bin/python3
"""Writes the mip chain of the snow particle mask (bitmaps 103, 115 ... 121).

Level 0 (103, 128 x 128 pixels) is a black disc with a soft rim on white,
nearly filling the square. Every smaller level is the 2 x 2 box reduction of
the one above it (the mean of four pixels, halves rounded up), down to the
single grey pixel of 121. The disc's radius is the one that makes that last
pixel exactly 105. Usage: make_bitmaps.py OUT_DIR
"""
import math
import os
import sys

from image_files import bmp_bytes

SIZE = 128                 # pixels
RIM = 5.0                  # width of the soft rim, pixels
LAST_GREY = 105            # value of the 1 x 1 level
FIRST_RADIUS = 54.0        # pixels; the search for the radius starts here
RADIUS_STEP = 1.0 / 64.0   # pixels
LEVEL_IDS = [(128, 103), (64, 115), (32, 116), (16, 117), (8, 118), (4, 119), (2, 120), (1, 121)]


def disc(radius):
    """Grey values of the top level, rows top first."""
    centre = SIZE / 2.0
    rows = []
    for y in range(SIZE):
        row = []
        for x in range(SIZE):
            d = math.hypot(x + 0.5 - centre, y + 0.5 - centre)
            u = min(max((d - (radius - RIM / 2.0)) / RIM, 0.0), 1.0)
            row.append(int(255.0 * u * u * (3.0 - 2.0 * u) + 0.5))
        rows.append(row)
    return rows


def reduce(rows):
    half = len(rows) // 2
    return [[(rows[2 * y][2 * x] + rows[2 * y][2 * x + 1] + rows[2 * y + 1][2 * x]
              + rows[2 * y + 1][2 * x + 1] + 2) // 4 for x in range(half)] for y in range(half)]


def chain(radius):
    levels = [disc(radius)]
    while len(levels[-1]) > 1:
        levels.append(reduce(levels[-1]))
    return levels


def find_chain():
    """The chain of the smallest radius, from FIRST_RADIUS on, whose last pixel is LAST_GREY."""
    step = 0
    while step < 1024:
        levels = chain(FIRST_RADIUS + step * RADIUS_STEP)
        if levels[-1][0][0] == LAST_GREY:
            return levels
        step += 1
    raise ValueError("no radius gives a last level of %d" % LAST_GREY)


def main():
    if len(sys.argv) != 2:
        sys.stderr.write("usage: make_bitmaps.py OUT_DIR\n")
        return 2
    out = sys.argv[1]
    os.makedirs(out, exist_ok=True)
    levels = find_chain()
    for level, (size, number) in zip(levels, LEVEL_IDS):
        name = "%d_snow_mask.bmp" % number if size == SIZE else "%d_snow_mask_%d.bmp" % (number, size)
        rows = [[(v, v, v) for v in row] for row in level]
        with open(os.path.join(out, name), "wb") as f:
            f.write(bmp_bytes(rows))
    return 0


if __name__ == "__main__":
    sys.exit(main())
