#!/usr/bin/python3
"""Writes the rectangle model (141) and its material (140) into a folder.

The rectangle is the quad of every soft particle and, scaled up, the sky
backdrop: 5 x 5 units in the plane z = 0, facing +z, texture (0, 0) at its
bottom-left corner. Usage: make_rectangle.py OUT_DIR
"""
import os
import sys

# Sizes the resource catalogue fixes for these two texts (bytes).
OBJ_SIZE = 553
MTL_SIZE = 242

CORNERS = [(-2.5, 2.3698, 0.0), (-2.5, -2.6302, 0.0),
           (2.5, 2.3698, 0.0), (2.5, -2.6302, 0.0)]
TEX_COORDS = [(0.0, 1.0), (0.0, 0.0), (1.0, 1.0), (1.0, 0.0)]
FACES = [((1, 1, 1), (2, 2, 1), (3, 3, 1)), ((4, 4, 1), (3, 3, 1), (2, 2, 1))]


def number(value):
    return "%.4f" % value


def text(lines):
    # Resource texts use CR LF line ends.
    return "".join(line + "\r\n" for line in lines).encode("ascii")


def obj_text():
    lines = ["# Vesperine rectangle: particle quad and sky backdrop",
             "# 5 x 5 units in the plane z = 0, facing +z",
             "# generator: tools/make_rectangle.py",
             "mtllib rectangle.mtl",
             "o Plane001",
             "g Plane001"]
    lines += ["v  %s %s %s" % tuple(number(c) for c in p) for p in CORNERS]
    lines.append("# %d vertices" % len(CORNERS))
    lines.append("")
    lines += ["vt %s %s 0.0000" % tuple(number(c) for c in t) for t in TEX_COORDS]
    lines.append("# %d texture coordinates" % len(TEX_COORDS))
    lines.append("")
    lines.append("vn 0.0000 0.0000 1.0000")
    lines.append("# 1 vertex normal")
    lines.append("")
    lines.append("usemtl wire_198225087")
    lines += ["f " + " ".join("%d/%d/%d" % c for c in face) for face in FACES]
    lines.append("# %d faces" % len(FACES))
    return text(lines)


def mtl_text():
    colour = "0.7765 0.8824 0.3412"
    lines = ["# Vesperine rectangle material",
             "# made by tools/make_rectangle.py",
             "",
             "newmtl wire_198225087",
             "\tNs 32.0000",
             "\td 1.0000",
             "\tTr 0.0000",
             "\tTf 1.0000 1.0000 1.0000",
             "\tillum 2",
             "\tKa " + colour,
             "\tKd " + colour,
             "\tKs 0.3500 0.3500 0.3500"]
    return text(lines)


def main():
    if len(sys.argv) != 2:
        sys.stderr.write("usage: make_rectangle.py OUT_DIR\n")
        return 2
    out = sys.argv[1]
    os.makedirs(out, exist_ok=True)
    for name, data, size in (("141_rectangle.obj", obj_text(), OBJ_SIZE),
                             ("140_rectangle.mtl", mtl_text(), MTL_SIZE)):
        if len(data) != size:
            sys.stderr.write("%s: %d bytes, expected %d\n" % (name, len(data), size))
            return 1
        with open(os.path.join(out, name), "wb") as f:
            f.write(data)
    return 0


if __name__ == "__main__":
    sys.exit(main())
