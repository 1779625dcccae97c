#!/usr/bin/python3
"""Checks the form of the committed model, material and bitmap resources.

Usage: check_assets.py RESOURCE_DIR
Prints one line per fault and exits with 1 when there is any.
"""
import os
import struct
import sys

# OBJ id: (MTL id, v lines, f lines, x, y, z extents as written in the
# catalogue; a value's decimals are the precision it must match).
SNOWFLAKES = {
    143: (142, 1439, 2878, ("-63.9", "63.9"), ("-72.8", "72.8"), ("-2.54", "2.54")),
    145: (144, 2023, 4186, ("-44.8", "44.5"), ("-43.9", "45.4"), ("-1.74", "3.26")),
    147: (146, 1266, 2628, ("-65.0", "65.0"), ("-56.4", "59.5"), ("0", "6.0")),
    149: (148, 1007, 2058, ("-45.1", "44.2"), ("-38.6", "38.8"), ("-3.06", "1.94")),
    151: (150, 120, 240, ("-30.0", "30.0"), ("-28.5", "28.5"), ("-0.90", "1.10")),
    153: (152, 200, 420, ("-30.0", "30.0"), ("-28.6", "28.5"), ("0", "2.0")),
    155: (154, 512, 1052, ("-43.8", "43.8"), ("-50.0", "55.0"), ("-2.21", "2.79")),
    157: (156, 1563, 3198, ("-2.22", "2.22"), ("-2.56", "2.56"), ("-0.02", "0.02")),
}

MASK_SIZES = {103: 128, 115: 64, 116: 32, 117: 16, 118: 8, 119: 4, 120: 2, 121: 1}


class Report:
    def __init__(self):
        self.faults = []

    def fault(self, where, text):
        self.faults.append("%s: %s" % (where, text))

    def check(self, condition, where, text):
        if not condition:
            self.fault(where, text)
        return condition


def find(directory, number):
    names = [n for n in os.listdir(directory) if n.split("_")[0] == str(number)]
    return os.path.join(directory, names[0]) if len(names) == 1 else None


def text_lines(report, where, data):
    """The lines of a CR LF text; reports bare LF or CR, non-ASCII and blanks before a CR."""
    report.check(data.endswith(b"\r\n"), where, "does not end with CR LF")
    body = data[:-2] if data.endswith(b"\r\n") else data
    lines = body.split(b"\r\n")
    for number, line in enumerate(lines, 1):
        if b"\r" in line or b"\n" in line:
            report.fault(where, "line %d has a bare CR or LF" % number)
        if any(c > 126 or (c < 32 and c != 9) for c in line):
            report.fault(where, "line %d has a byte outside printable ASCII" % number)
        if line != line.rstrip(b" \t"):
            report.fault(where, "line %d ends in a blank" % number)
    return [line.decode("ascii", "replace") for line in lines]


def decimals(text):
    return len(text.split(".")[1]) if "." in text else 0


def matches(value, written):
    """Whether value rounded to the written value's decimals gives that value."""
    return round(value, decimals(written)) == float(written)


def edge_counts(faces):
    directed = {}
    for face in faces:
        for k in range(3):
            key = (face[k], face[(k + 1) % 3])
            directed[key] = directed.get(key, 0) + 1
    return directed


def sub(a, b):
    return (a[0] - b[0], a[1] - b[1], a[2] - b[2])


def cross(a, b):
    return (a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0])


def check_closed(report, where, positions, faces):
    """Every edge in exactly two faces, once each way round; reader normals outwards."""
    directed = edge_counts(faces)
    for (a, b), count in directed.items():
        if count != 1:
            report.fault(where, "edge %d-%d runs the same way in %d faces" % (a + 1, b + 1, count))
            break
        if directed.get((b, a), 0) != 1:
            report.fault(where, "edge %d-%d is not shared by exactly two faces" % (a + 1, b + 1))
            break
    volume = 0.0
    for a, b, c in faces:
        pa, pb, pc = positions[a], positions[b], positions[c]
        # The model reader's face normal: (c0 - c1) x (c2 - c1).
        normal = cross(sub(pa, pb), sub(pc, pb))
        if normal == (0.0, 0.0, 0.0):
            report.fault(where, "face %d %d %d is degenerate" % (a + 1, b + 1, c + 1))
        volume += sum(normal[k] * pb[k] for k in range(3)) / 6.0
    report.check(volume > 0.0, where, "face normals point inwards (volume %g)" % volume)
    report.check(len(set(positions)) == len(positions), where, "two vertices share a position")


def check_snowflake(report, directory, obj_id):
    mtl_id, v_count, f_count, extent_x, extent_y, extent_z = SNOWFLAKES[obj_id]
    path = find(directory, obj_id)
    where = "OBJ %d" % obj_id
    if not report.check(path is not None and path.endswith(".obj"), where, "missing"):
        return
    with open(path, "rb") as f:
        lines = text_lines(report, where, f.read())
    statements = [line for line in lines if line and not line.startswith("#")]
    head = [line.split(" ")[0] for line in statements[:4]]
    report.check(head == ["mtllib", "o", "g", "usemtl"], where, "starts with %s" % head)
    if len(statements) >= 3:
        report.check(statements[1][2:] == statements[2][2:] and statements[1][2:] != "", where,
                     "o and g lines name different objects")
    keywords = [line.split(" ")[0] for line in statements[4:]]
    report.check(keywords == ["v"] * v_count + ["f"] * f_count, where,
                 "expected %d v lines then %d f lines, found %d v and %d f among %d statements"
                 % (v_count, f_count, keywords.count("v"), keywords.count("f"), len(keywords)))
    positions = []
    faces = []
    for line in statements[4:]:
        fields = line.split(" ")
        if fields[0] == "v":
            if report.check(len(fields) == 4, where, "v line with %d numbers" % (len(fields) - 1)):
                positions.append(tuple(float(x) for x in fields[1:]))
        elif fields[0] == "f":
            refs = fields[1:]
            if not report.check(len(refs) == 3 and all(r.isdigit() for r in refs), where,
                                "face %r is not three bare position numbers" % line):
                continue
            face = tuple(int(r) - 1 for r in refs)
            if not report.check(all(0 <= i < len(positions) for i in face), where,
                                "face %r refers beyond the positions" % line):
                continue
            report.check(len(set(face)) == 3, where, "face %r repeats a corner" % line)
            faces.append(face)
    if len(positions) != v_count or len(faces) != f_count:
        return
    for axis, (low, high) in enumerate((extent_x, extent_y, extent_z)):
        values = [p[axis] for p in positions]
        report.check(matches(min(values), low) and matches(max(values), high), where,
                     "extent %s is %g to %g, expected %s to %s" % ("xyz"[axis], min(values), max(values), low, high))
    check_closed(report, where, positions, faces)
    check_material(report, directory, mtl_id, obj_id == 143)


def check_material(report, directory, mtl_id, is_null):
    path = find(directory, mtl_id)
    where = "MTL %d" % mtl_id
    if not report.check(path is not None and path.endswith(".mtl"), where, "missing"):
        return
    with open(path, "rb") as f:
        data = f.read()
    report.check(242 <= len(data) <= 311, where, "%d bytes, expected 242 to 311" % len(data))
    lines = text_lines(report, where, data)
    statements = [line.strip().split(" ", 1) for line in lines if line.strip() and not line.startswith("#")]
    keywords = [s[0] for s in statements]
    report.check(keywords.count("newmtl") == 1 and keywords[0] == "newmtl", where,
                 "must define exactly one material first")
    for required in ("Ns", "d", "Tr", "Tf", "illum", "Ka", "Kd", "Ks"):
        report.check(keywords.count(required) == 1, where, "needs one %s line" % required)
    report.check(set(keywords) <= {"newmtl", "Ns", "Ni", "d", "Tr", "Tf", "illum", "Ka", "Kd", "Ks", "Ke"},
                 where, "unexpected statements %s" % keywords)
    values = {s[0]: s[1] if len(s) > 1 else "" for s in statements}
    for colour in ("Ka", "Kd", "Ks", "Tf", "Ke"):
        if colour in values:
            report.check(len(values[colour].split(" ")) == 3, where, "%s needs three numbers" % colour)
    if is_null:
        numbers = {k: [float(x) for x in v.split(" ")] for k, v in values.items() if k != "newmtl"}
        report.check(values.get("newmtl") == "_null_", where, "material must be _null_")
        report.check(numbers.get("Ns") == [10.0] and numbers.get("Ni") == [1.5] and numbers.get("d") == [1.0]
                     and numbers.get("illum") == [2.0] and numbers.get("Ka") == [1.0] * 3
                     and numbers.get("Kd") == [1.0] * 3 and numbers.get("Ks") == [0.0] * 3
                     and "Ke" in numbers, where, "values of _null_ differ")


def check_rectangle(report, directory):
    where = "OBJ 141"
    path = find(directory, 141)
    if report.check(path is not None, where, "missing"):
        with open(path, "rb") as f:
            data = f.read()
        report.check(len(data) == 553, where, "%d bytes, expected 553" % len(data))
        lines = [line for line in text_lines(report, where, data) if line and not line.startswith("#")]
        fields = [line.split() for line in lines]
        positions = [tuple(float(x) for x in f[1:4]) for f in fields if f[0] == "v"]
        report.check(positions == [(-2.5, 2.3698, 0.0), (-2.5, -2.6302, 0.0), (2.5, 2.3698, 0.0),
                                   (2.5, -2.6302, 0.0)], where, "corners %s" % positions)
        coords = [tuple(float(x) for x in f[1:3]) for f in fields if f[0] == "vt"]
        report.check(coords == [(0.0, 1.0), (0.0, 0.0), (1.0, 1.0), (1.0, 0.0)], where, "texture coordinates")
        normals = [tuple(float(x) for x in f[1:4]) for f in fields if f[0] == "vn"]
        report.check(normals == [(0.0, 0.0, 1.0)], where, "normals %s" % normals)
        report.check([f for f in fields if f[0] == "f"] == [["f", "1/1/1", "2/2/1", "3/3/1"],
                                                          ["f", "4/4/1", "3/3/1", "2/2/1"]], where, "faces")
        report.check(["o", "Plane001"] in fields and ["g", "Plane001"] in fields
                     and ["usemtl", "wire_198225087"] in fields and fields[0][0] == "mtllib",
                     where, "object, group or material lines")
    where = "MTL 140"
    path = find(directory, 140)
    if report.check(path is not None, where, "missing"):
        with open(path, "rb") as f:
            data = f.read()
        report.check(len(data) == 242, where, "%d bytes, expected 242" % len(data))
        fields = [line.split() for line in text_lines(report, where, data) if line and not line.startswith("#")]
        values = {f[0]: [float(x) for x in f[1:]] for f in fields if f[0] != "newmtl"}
        report.check(["newmtl", "wire_198225087"] in fields, where, "material name")
        report.check(values.get("Ns") == [32.0] and values.get("d") == [1.0] and values.get("illum") == [2.0]
                     and values.get("Ka") == [0.7765, 0.8824, 0.3412] and values.get("Kd") == [0.7765, 0.8824, 0.3412]
                     and values.get("Ks") == [0.35] * 3 and "Ni" not in values, where, "values %s" % values)


def read_bmp(report, where, data):
    """Rows of (r, g, b), top row first, of an uncompressed 24-bit bottom-up BMP."""
    if not report.check(len(data) >= 54 and data[:2] == b"BM", where, "not a BMP file"):
        return None
    size, _, _, offset = struct.unpack("<IHHI", data[2:14])
    header, width, height, planes, bits, compression = struct.unpack("<IiiHHI", data[14:34])
    report.check(size == len(data), where, "file size field %d, file has %d bytes" % (size, len(data)))
    report.check(header == 40 and planes == 1 and bits == 24 and compression == 0 and height > 0, where,
                 "not an uncompressed 24-bit bottom-up BITMAPINFOHEADER bitmap")
    stride = (width * 3 + 3) // 4 * 4
    if not report.check(offset + stride * height == len(data), where, "pixel data size"):
        return None
    rows = []
    for y in range(height):
        line = data[offset + (height - 1 - y) * stride:]
        rows.append([(line[3 * x + 2], line[3 * x + 1], line[3 * x]) for x in range(width)])
    return rows


def check_masks(report, directory):
    levels = {}
    for number, size in MASK_SIZES.items():
        where = "bitmap %d" % number
        path = find(directory, number)
        if not report.check(path is not None and path.endswith(".bmp"), where, "missing"):
            continue
        with open(path, "rb") as f:
            rows = read_bmp(report, where, f.read())
        if rows is None:
            continue
        if report.check(len(rows) == size and len(rows[0]) == size, where, "not %d x %d" % (size, size)):
            levels[size] = rows
    if 128 in levels:
        top = levels[128]
        report.check(top[64][64] == (0, 0, 0) and top[0][0] == (255, 255, 255), where_of(103),
                     "must be a black disc on white")
    # Each level is the 2 x 2 box reduction of the one above it.
    size = 64
    while size >= 1:
        if size in levels and 2 * size in levels:
            big, small = levels[2 * size], levels[size]
            for y in range(size):
                for x in range(size):
                    for k in range(3):
                        total = sum(big[2 * y + j][2 * x + i][k] for j in (0, 1) for i in (0, 1))
                        if small[y][x][k] != (total + 2) // 4:
                            report.fault("bitmap %dx%d" % (size, size), "pixel %d,%d is not the reduction" % (x, y))
                            break
        size //= 2
    if 1 in levels:
        report.check(levels[1][0][0] == (105, 105, 105), "bitmap 121", "pixel is %s, expected grey 105" % (levels[1][0][0],))


def where_of(number):
    return "bitmap %d" % number


def main():
    if len(sys.argv) != 2:
        sys.stderr.write("usage: check_assets.py RESOURCE_DIR\n")
        return 2
    directory = sys.argv[1]
    report = Report()
    check_rectangle(report, directory)
    for obj_id in sorted(SNOWFLAKES):
        check_snowflake(report, directory, obj_id)
    check_masks(report, directory)
    for fault in report.faults:
        print(fault)
    print("%d faults" % len(report.faults))
    return 1 if report.faults else 0


if __name__ == "__main__":
    sys.exit(main())
