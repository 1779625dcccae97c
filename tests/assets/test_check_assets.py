#!/usr/bin/python3
"""The asset checker must notice real faults: each test breaks one thing in
a copy of the resources and expects the checker to name it.

Usage: test_check_assets.py RESOURCE_DIR
"""
import os
import shutil
import sys
import tempfile
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import check_assets  # noqa: E402

RESOURCES = None


class BrokenCopy(unittest.TestCase):
    def setUp(self):
        self.dir = tempfile.mkdtemp()
        for name in os.listdir(RESOURCES):
            if name[0].isdigit():
                shutil.copy(os.path.join(RESOURCES, name), self.dir)

    def tearDown(self):
        shutil.rmtree(self.dir)

    def path(self, number):
        return check_assets.find(self.dir, number)

    def edit_lines(self, number, change):
        with open(self.path(number), "rb") as f:
            lines = f.read().split(b"\r\n")
        lines = change(lines)
        with open(self.path(number), "wb") as f:
            f.write(b"\r\n".join(lines))

    def faults(self):
        report = check_assets.Report()
        check_assets.check_rectangle(report, self.dir)
        for obj_id in sorted(check_assets.SNOWFLAKES):
            check_assets.check_snowflake(report, self.dir, obj_id)
        check_assets.check_masks(report, self.dir)
        return report.faults

    def assertFault(self, where, text):
        found = self.faults()
        self.assertTrue(any(f.startswith(where) and text in f for f in found),
                        "no '%s' fault at %s among %s" % (text, where, found[:5]))

    def face_line(self, lines, k):
        faces = [i for i, line in enumerate(lines) if line.startswith(b"f ")]
        return faces[k]

    def test_unchanged_copy_passes(self):
        self.assertEqual(self.faults(), [])

    def test_reversed_face_breaks_the_edge_pairing(self):
        def change(lines):
            i = self.face_line(lines, 10)
            f, a, b, c = lines[i].split(b" ")
            lines[i] = b" ".join((f, a, c, b))
            return lines
        self.edit_lines(145, change)
        self.assertFault("OBJ 145", "runs the same way")

    def test_face_moved_to_another_vertex_leaves_an_open_edge(self):
        def change(lines):
            i = self.face_line(lines, 3)
            f, a, b, c = lines[i].split(b" ")
            lines[i] = b" ".join((f, a, b, b"%d" % (int(c) % 100 + 101)))
            return lines
        self.edit_lines(151, change)
        self.assertFault("OBJ 151", "shared by exactly two faces")

    def test_all_faces_reversed_turns_normals_inwards(self):
        def change(lines):
            return [b" ".join([l.split(b" ")[0]] + l.split(b" ")[1:][::-1]) if l.startswith(b"f ") else l
                    for l in lines]
        self.edit_lines(153, change)
        self.assertFault("OBJ 153", "inwards")

    def test_stretched_model_misses_its_extent(self):
        def change(lines):
            out = []
            for line in lines:
                if line.startswith(b"v "):
                    _, x, y, z = line.split(b" ")
                    line = b"v %.4f %s %s" % (float(x) * 1.01, y, z)
                out.append(line)
            return out
        self.edit_lines(147, change)
        self.assertFault("OBJ 147", "extent x")

    def test_lf_line_ends_are_reported(self):
        with open(self.path(155), "rb") as f:
            data = f.read()
        with open(self.path(155), "wb") as f:
            f.write(data.replace(b"\r\n", b"\n"))
        self.assertFault("OBJ 155", "CR LF")

    def test_face_with_texture_reference_is_reported(self):
        def change(lines):
            i = self.face_line(lines, 0)
            f, a, b, c = lines[i].split(b" ")
            lines[i] = b" ".join((f, a + b"/1", b, c))
            return lines
        self.edit_lines(157, change)
        self.assertFault("OBJ 157", "three bare position numbers")

    def test_missing_vertex_line_is_counted(self):
        def change(lines):
            i = [k for k, line in enumerate(lines) if line.startswith(b"v ")][-1]
            return lines[:i] + lines[i + 1:]
        self.edit_lines(149, change)
        self.assertFault("OBJ 149", "v lines then")

    def test_blank_before_line_end_in_material_is_reported(self):
        self.edit_lines(144, lambda lines: [l + b" " if l.strip().startswith(b"Kd") else l for l in lines])
        self.assertFault("MTL 144", "ends in a blank")

    def test_null_material_values_are_pinned(self):
        self.edit_lines(142, lambda lines: [l.replace(b"1.5000", b"1.4000") for l in lines])
        self.assertFault("MTL 142", "_null_")

    def test_rectangle_size_is_pinned(self):
        self.edit_lines(141, lambda lines: [b"#"] + lines)
        self.assertFault("OBJ 141", "expected 553")

    def test_last_mask_level_must_be_grey_105(self):
        with open(self.path(121), "rb") as f:
            data = bytearray(f.read())
        data[54:57] = bytes((104, 104, 104))
        with open(self.path(121), "wb") as f:
            f.write(bytes(data))
        self.assertFault("bitmap 121", "grey 105")

    def test_mask_level_that_is_no_reduction_is_reported(self):
        with open(self.path(116), "rb") as f:
            data = bytearray(f.read())
        data[54 + 3 * (16 * 32 + 16)] ^= 0x40
        with open(self.path(116), "wb") as f:
            f.write(bytes(data))
        self.assertFault("bitmap 32x32", "not the reduction")


if __name__ == "__main__":
    RESOURCES = sys.argv[1]
    unittest.main(argv=sys.argv[:1], verbosity=1)
