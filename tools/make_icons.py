#!/usr/bin/python3
"""Writes the program's icon groups (102 and 113).

The picture is a light-blue display on a stand whose screen shows four equal
quarters: red top left, green top right, blue bottom left, yellow bottom
right; the surround is transparent. Each group holds it at 32 x 32 and
16 x 16 pixels at 4, 8 and 32 bits per pixel, and at 20, 24, 40, 48, 64 and
256 pixels at 32 bits (the sizes Windows picks at 100 to 300 % scaling and
for large icon views), the 256 one PNG-compressed as Windows expects.
Usage: make_icons.py OUT_DIR
"""
import os
import sys

from image_files import icon_image, ico_bytes, png_bytes

CLEAR = None
CASE = (150, 205, 245)      # light blue
EDGE = (40, 90, 150)        # darker outline of case and stand
RED = (230, 30, 30)
GREEN = (40, 190, 60)
BLUE = (30, 70, 220)
YELLOW = (250, 215, 30)
PALETTE = [(0, 0, 0), CASE, EDGE, RED, GREEN, BLUE, YELLOW]

# Boxes as (left, top, right, bottom), inclusive, in pixels.
LAYOUT = {
    32: {"case": (1, 3, 30, 23), "screen": (4, 6, 27, 19), "neck": (13, 24, 18, 26), "base": (8, 27, 23, 29)},
    16: {"case": (0, 1, 15, 11), "screen": (2, 3, 13, 10), "neck": (6, 12, 9, 13), "base": (3, 14, 12, 15)},
}


# Sizes drawn from the 32-pixel layout scaled, 32 bits per pixel only.
SCALED_SIZES = (20, 24, 40, 48, 64, 256)


def scaled_layout(size):
    """The 32-pixel boxes scaled to `size`, each pixel cell mapped to its span."""
    def edge(c):
        return (c * size + 16) // 32
    return {name: (edge(left), edge(top), edge(right + 1) - 1, edge(bottom + 1) - 1)
            for name, (left, top, right, bottom) in LAYOUT[32].items()}


def picture(size):
    """Rows of (r, g, b, a), top first."""
    layout = LAYOUT[size] if size in LAYOUT else scaled_layout(size)
    # Outlines one pixel per 32 pixels of size, at least one.
    thickness = max(1, size // 32)
    pixels = [[CLEAR] * size for _ in range(size)]

    def box(name, colour, outline):
        left, top, right, bottom = layout[name]
        for y in range(top, bottom + 1):
            for x in range(left, right + 1):
                border = (x - left < thickness or right - x < thickness
                          or y - top < thickness or bottom - y < thickness)
                pixels[y][x] = outline if border and outline else colour

    box("neck", CASE, EDGE)
    box("base", CASE, EDGE)
    box("case", CASE, EDGE)
    left, top, right, bottom = layout["screen"]
    middle_x = (left + right + 1) // 2
    middle_y = (top + bottom + 1) // 2
    for y in range(top, bottom + 1):
        for x in range(left, right + 1):
            if y < middle_y:
                pixels[y][x] = RED if x < middle_x else GREEN
            else:
                pixels[y][x] = BLUE if x < middle_x else YELLOW
    return [[(0, 0, 0, 0) if p is CLEAR else p + (255,) for p in row] for row in pixels]


def icon_file():
    images = []
    for size in (32, 16):
        rows = picture(size)
        for bits in (4, 8, 32):
            palette_size = 16 if bits == 4 else 0
            images.append((size, size, bits, palette_size,
                           icon_image(rows, bits, PALETTE if bits < 32 else None)))
    for size in SCALED_SIZES:
        rows = picture(size)
        image = png_bytes(rows) if size == 256 else icon_image(rows, 32)
        images.append((size, size, 32, 0, image))
    return ico_bytes(images)


def main():
    if len(sys.argv) != 2:
        sys.stderr.write("usage: make_icons.py OUT_DIR\n")
        return 2
    out = sys.argv[1]
    os.makedirs(out, exist_ok=True)
    data = icon_file()
    for name in ("102_vesperine.ico", "113_vesperine_small.ico"):
        with open(os.path.join(out, name), "wb") as f:
            f.write(data)
    return 0


if __name__ == "__main__":
    sys.exit(main())
