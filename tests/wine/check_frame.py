#!/usr/bin/env python3
"""Judges frames of the saver saved as binary PPM files.

  check_frame.py scene FRAME.ppm
      The night-sky gradient (dark at the top, blue towards the bottom) with
      snowflakes in front of it: pixels far redder than the sky can be.
  check_frame.py sky FRAME.ppm
      The gradient alone (snowflakes may not have come into view yet).
  check_frame.py same A.ppm B.ppm
      Both frames show the scene and agree pixel for pixel, up to the
      rounding that two drivers may differ in.
  check_frame.py differ A.ppm B.ppm
      Both frames show the scene, and the part they have in common (from the
      top-left corner) differs in many pixels: two snowfalls of their own.
Exit code 0 when the frame passes, 1 with a reason otherwise."""
import sys

# The sky's two colours (0..255): every sky pixel lies on the line between
# them, whatever share of each the moving edge gives it.
SKY_TOP = (0.01 * 255, 0.01 * 255, 0.04 * 255)
SKY_BOTTOM = (0.2 * 255, 0.5 * 255, 1.0 * 255)
SKY_TOLERANCE = 6
# No sky pixel is redder than the bottom colour; a lit snowflake or a soft
# particle is far redder.
FLAKE_RED = 100


def on_sky_line(colour):
    share = (colour[2] - SKY_TOP[2]) / (SKY_BOTTOM[2] - SKY_TOP[2])
    return all(abs(colour[c] - (SKY_TOP[c] + share * (SKY_BOTTOM[c] - SKY_TOP[c]))) <= SKY_TOLERANCE
               for c in range(3))


def read_ppm(path):
    with open(path, "rb") as f:
        data = f.read()
    fields = []
    at = 0
    while len(fields) < 4:
        while data[at:at + 1].isspace():
            at += 1
        if data[at:at + 1] == b"#":
            at = data.index(b"\n", at)
            continue
        end = at
        while not data[end:end + 1].isspace():
            end += 1
        fields.append(data[at:end])
        at = end
    if fields[0] != b"P6" or int(fields[3]) != 255:
        raise ValueError(path + ": not an 8-bit binary PPM")
    width, height = int(fields[1]), int(fields[2])
    pixels = data[at + 1:at + 1 + width * height * 3]
    if len(pixels) != width * height * 3:
        raise ValueError(path + ": truncated")
    return width, height, pixels


def median_row_colour(width, pixels, y):
    row = [pixels[(y * width + x) * 3:(y * width + x) * 3 + 3] for x in range(0, width, 4)]
    return tuple(sorted(p[c] for p in row)[len(row) // 2] for c in range(3))


def sky_problems(width, height, pixels):
    """The gradient: sky colours only, bluer from the top row to the bottom."""
    if width < 64 or height < 64:
        return ["frame of %dx%d is too small" % (width, height)]
    rows = [height * i // 10 for i in range(10)] + [height - 1]
    colours = [median_row_colour(width, pixels, y) for y in rows]
    problems = ["row %d is no sky colour: %s" % (y, c) for y, c in zip(rows, colours) if not on_sky_line(c)]
    blues = [c[2] for c in colours]
    if any(lower < upper - 2 for upper, lower in zip(blues, blues[1:])):
        problems.append("the sky does not grow bluer downwards: %s" % blues)
    if blues[-1] < blues[0] + 20:
        problems.append("no gradient from top %s to bottom %s" % (colours[0], colours[-1]))
    print("sky from %s at the top to %s at the bottom" % (colours[0], colours[-1]))
    return problems


def flake_pixels(pixels):
    return sum(1 for i in range(0, len(pixels), 3) if pixels[i] >= FLAKE_RED)


def scene_problems(width, height, pixels):
    problems = sky_problems(width, height, pixels)
    flakes = flake_pixels(pixels)
    print("%d snowflake pixels of %d" % (flakes, width * height))
    if flakes < 50:
        problems.append("no snowflakes: %d bright pixels" % flakes)
    return problems


def difference_problems(a, b):
    (wa, ha, pa), (wb, hb, pb) = a, b
    if (wa, ha) != (wb, hb):
        return ["sizes differ: %dx%d and %dx%d" % (wa, ha, wb, hb)]
    differing = 0
    largest = 0
    for i in range(0, len(pa), 3):
        d = max(abs(pa[i] - pb[i]), abs(pa[i + 1] - pb[i + 1]), abs(pa[i + 2] - pb[i + 2]))
        largest = max(largest, d)
        if d > 8:
            differing += 1
    share = differing / float(wa * ha)
    print("%d pixels differ by more than 8 (%.4f%%), largest difference %d"
          % (differing, 100 * share, largest))
    # Edges of triangles may round differently; the particles may not move.
    return ["the frames differ in %.3f%% of the pixels" % (100 * share)] if share > 0.002 else []


def common_part_problems(a, b):
    (wa, ha, pa), (wb, hb, pb) = a, b
    width, height = min(wa, wb), min(ha, hb)
    differing = 0
    for y in range(height):
        for x in range(width):
            i, j = (y * wa + x) * 3, (y * wb + x) * 3
            if max(abs(pa[i + c] - pb[j + c]) for c in range(3)) > 24:
                differing += 1
    share = differing / float(width * height)
    print("%d pixels of the common %dx%d part differ (%.2f%%)" % (differing, width, height, 100 * share))
    return ["the two frames show the same picture"] if share < 0.005 else []


def main(argv):
    if len(argv) == 3 and argv[1] == "sky":
        problems = sky_problems(*read_ppm(argv[2]))
    elif len(argv) == 3 and argv[1] == "scene":
        problems = scene_problems(*read_ppm(argv[2]))
    elif len(argv) == 4 and argv[1] == "same":
        a, b = read_ppm(argv[2]), read_ppm(argv[3])
        problems = scene_problems(*a) + scene_problems(*b) + difference_problems(a, b)
    elif len(argv) == 4 and argv[1] == "differ":
        a, b = read_ppm(argv[2]), read_ppm(argv[3])
        problems = scene_problems(*a) + scene_problems(*b) + common_part_problems(a, b)
    else:
        print(__doc__)
        return 2
    for p in problems:
        print("FAIL: " + p)
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
