#!/usr/bin/python3
"""Renders snowflake OBJ files to PNG pictures for looking at them.

Each picture shows the model from above and from an oblique angle, lit the
way the flake shader lights it, with the face normals the model reader
computes ((c0 - c1) x (c2 - c1)); a face whose normal points away from the
viewer is drawn red, so wrong winding shows at once.
Usage: render_models.py OUT_DIR FILE.obj...  (RENDER_SIZE=pixels per view, 400 by default)
"""
import math
import os
import sys

import image_files

SIZE = int(os.environ.get("RENDER_SIZE", "400"))
AMBIENT = (0.55, 0.68, 0.8)
SKY = (18, 26, 60)


def read_obj(path):
    vertices, faces = [], []
    with open(path, "rb") as f:
        for raw in f.read().decode("ascii").split("\n"):
            fields = raw.strip().split()
            if not fields:
                continue
            if fields[0] == "v":
                vertices.append(tuple(float(v) for v in fields[1:4]))
            elif fields[0] == "f":
                faces.append(tuple(int(v) - 1 for v in fields[1:4]))
    return vertices, faces


def sub(a, b):
    return (a[0] - b[0], a[1] - b[1], a[2] - b[2])


def cross(a, b):
    return (a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0])


def normalise(a):
    length = math.sqrt(a[0] * a[0] + a[1] * a[1] + a[2] * a[2]) or 1.0
    return (a[0] / length, a[1] / length, a[2] / length)


def dot(a, b):
    return a[0] * b[0] + a[1] * b[1] + a[2] * b[2]


def turn(v, yaw, pitch):
    cy, sy = math.cos(yaw), math.sin(yaw)
    x, y, z = v[0] * cy - v[1] * sy, v[0] * sy + v[1] * cy, v[2]
    cp, sp = math.cos(pitch), math.sin(pitch)
    return (x, y * cp - z * sp, y * sp + z * cp)


def render(vertices, faces, yaw, pitch, size):
    view = [turn(v, yaw, pitch) for v in vertices]
    extent = max(max(abs(v[0]), abs(v[1])) for v in view) * 1.08
    half = size / 2.0
    screen = [(half + v[0] / extent * half, half - v[1] / extent * half, v[2]) for v in view]
    depth = [[-1e30] * size for _ in range(size)]
    image = [[SKY] * size for _ in range(size)]
    light = normalise((-0.4, 0.5, 1.0))
    eye = (0.0, 0.0, 1.0)
    for a, b, c in faces:
        n = normalise(cross(sub(view[a], view[b]), sub(view[c], view[b])))
        if n[2] < -1e-6:
            colour = (200, 40, 40)
        else:
            diffuse = max(dot(n, light), 0.0)
            r = sub((2 * dot(n, light) * n[0], 2 * dot(n, light) * n[1], 2 * dot(n, light) * n[2]), light)
            spec = 0.5 * max(dot(r, eye), 0.0) ** 32
            colour = tuple(min(255, int(255 * (0.45 * AMBIENT[k] + 0.6 * diffuse + spec))) for k in range(3))
        pa, pb, pc = screen[a], screen[b], screen[c]
        area = (pb[0] - pa[0]) * (pc[1] - pa[1]) - (pb[1] - pa[1]) * (pc[0] - pa[0])
        if area == 0.0:
            continue
        x0 = max(int(min(pa[0], pb[0], pc[0])), 0)
        x1 = min(int(max(pa[0], pb[0], pc[0])) + 1, size - 1)
        y0 = max(int(min(pa[1], pb[1], pc[1])), 0)
        y1 = min(int(max(pa[1], pb[1], pc[1])) + 1, size - 1)
        for y in range(y0, y1 + 1):
            py = y + 0.5
            for x in range(x0, x1 + 1):
                px = x + 0.5
                w0 = ((pb[0] - px) * (pc[1] - py) - (pb[1] - py) * (pc[0] - px)) / area
                w1 = ((pc[0] - px) * (pa[1] - py) - (pc[1] - py) * (pa[0] - px)) / area
                w2 = 1.0 - w0 - w1
                if w0 < 0 or w1 < 0 or w2 < 0:
                    continue
                z = w0 * pa[2] + w1 * pb[2] + w2 * pc[2]
                if z > depth[y][x]:
                    depth[y][x] = z
                    image[y][x] = colour
    return image


def main():
    if len(sys.argv) < 3:
        sys.stderr.write("usage: render_models.py OUT_DIR FILE.obj...\n")
        return 2
    out = sys.argv[1]
    os.makedirs(out, exist_ok=True)
    for path in sys.argv[2:]:
        vertices, faces = read_obj(path)
        views = [render(vertices, faces, 0.0, 0.0, SIZE),
                 render(vertices, faces, 0.5, -1.05, SIZE),
                 render(vertices, faces, 2.2, 2.3, SIZE)]
        rows = [sum((view[y] for view in views), []) for y in range(SIZE)]
        name = os.path.splitext(os.path.basename(path))[0] + ".png"
        with open(os.path.join(out, name), "wb") as f:
            f.write(image_files.png_bytes(rows))
    return 0


if __name__ == "__main__":
    sys.exit(main())
