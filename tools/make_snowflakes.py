#!/usr/bin/python3
"""Writes the eight snowflake models (OBJ 143 ... 157) and their materials
(MTL 142 ... 156) into a folder.

Each model is a six-fold ice crystal of its own kind, designed here as an
outline with holes (flake_outline) and turned into a thin closed solid with
low ridges (flake_solid), fitted exactly to the vertex and face counts and
the extents the scene was tuned for. Output is the same byte for byte on
every run. Usage: make_snowflakes.py OUT_DIR [MODEL_NUMBER...]
"""
import math
import os
import sys

from flake_outline import (Branch, chamfer, crystal, grow, hexagon, lerp, line_meet, move, plate, rotate,
                           sixth, SQRT3_2)
from flake_solid import Design, Target, build, obj_text


def turn_degrees(degrees):
    radians = math.radians(degrees)
    return (math.cos(radians), math.sin(radians))


QUARTER_TURN = (0.0, 1.0)


def no_ridge(length):
    """ridge_end that leaves a branch without a ridge line."""
    return length


def fern_dendrite():
    """Fern-like stellar dendrite: long arms with side branches that carry
    small spikes on their outer side; a tiny hollow at the centre."""
    reach = 72.0

    def spike(length, width):
        return Branch([(0.0, width), (length, 0.0)], ridge_end=no_ridge(length))

    def side(t):
        length = min(t - 6.0, 0.85 * (reach - t))
        spikes = []
        u = 6.0
        while u < length - 6.0 and t < 50.0:
            spikes.append((u, spike(min(4.5, 0.25 * length + 1.5), 1.1), "left"))
            u += 7.0
        return Branch([(0.0, 2.0), (length - 3.0, 1.4), (length, 0.0)], spikes,
                      ridge_end=no_ridge(length))

    arm = Branch([(0.0, 3.6), (reach - 7.0, 2.6), (reach, 0.0)],
                 [(t, side(t)) for t in (12.0, 21.0, 30.0, 39.0, 48.0, 57.0)],
                 ridge_start=4.5, ridge_end=3.0)
    outline, ridges = crystal(7.5, [arm] * 6)
    return Design(outline, [hexagon(2.5)], ridges, turn=QUARTER_TURN, ridge_lift=0.35)


def slot(start, stop, half_width, origin, direction):
    """An elongated hexagonal hole along a direction, pointed at both ends."""
    points = [(start, 0.0), (start + half_width, -half_width), (stop - half_width, -half_width),
              (stop, 0.0), (stop - half_width, half_width), (start + half_width, half_width)]
    return move(points, direction, origin)


def sectored_plate():
    """Sectored plate: a hexagonal plate split by ribs from the centre to its
    corners and edge middles, with rows of windows between the ribs parallel
    to the edges; the corners have begun to grow small branched tips."""
    radius = 40.0
    spike = Branch([(0.0, 1.2), (3.5, 0.0)], ridge_end=no_ridge(3.5))
    tip = Branch([(0.0, 2.6), (radius + 5.0, 2.4), (radius + 8.5, 0.0)], [(radius + 1.5, spike)],
                 ridge_start=2.0, ridge_end=2.0)
    outline, ridges = plate(radius, [tip] * 6)
    edge_normal = (SQRT3_2, 0.5)         # normal of the edge between the 0 and 60 degree corners
    away_from_mid = (0.5, -SQRT3_2)      # normal of the 30 degree rib, towards the 0 degree rib
    main_rib, mid_rib = 3.2, 2.2         # half widths
    holes = []
    for near, far in ((13.0, 15.6), (19.6, 22.2), (26.2, 28.8)):
        corners = [line_meet(edge_normal, near, (0.0, 1.0), main_rib),
                   line_meet(edge_normal, far, (0.0, 1.0), main_rib),
                   line_meet(edge_normal, far, away_from_mid, mid_rib),
                   line_meet(edge_normal, near, away_from_mid, mid_rib)]
        window = chamfer(corners[::-1], 0.5)
        # The same window mirrored across the 30 degree rib.
        mirrored = [rotate((p[0], -p[1]), sixth(1)) for p in window]
        for k in range(6):
            holes.append(move(window, sixth(k), (0.0, 0.0)))
            holes.append(move(mirrored, sixth(k), (0.0, 0.0)))
    for k in range(6):
        direction = rotate((SQRT3_2, 0.5), sixth(k))
        ridges.append([(3.5 * direction[0], 3.5 * direction[1]),
                       (32.5 * direction[0], 32.5 * direction[1])])
    return Design(outline, holes, ridges, turn=turn_degrees(15.0), ridge_lift=0.45)


def stellar_plate():
    """Stellar plate: six broad flat arms with faceted tips and short side
    branches, a hollow hexagonal centre and pairs of long bubbles in each arm."""
    reach = 64.0
    half = 7.0
    side = Branch([(0.0, 1.8), (half / SQRT3_2 + 4.0, 1.5), (half / SQRT3_2 + 6.0, 0.0)],
                  ridge_start=half / SQRT3_2 + 0.5, ridge_end=1.5)
    arm = Branch([(0.0, 6.0), (44.0, half), (50.0, 8.4), (56.0, 8.4), (reach, 0.0)],
                 [(30.0, side), (39.0, side)], ridge_start=7.0, ridge_end=3.0)
    outline, ridges = crystal(15.0, [arm] * 6)
    holes = [hexagon(4.0)]
    for k in range(6):
        for start, stop in ((17.0, 27.0), (32.0, 42.0)):
            for offset in (3.4, -3.4):
                bubble = slot(start, stop, 0.8, (0.0, offset), (1.0, 0.0))
                holes.append(move(bubble, sixth(k), (0.0, 0.0)))
    return Design(outline, holes, ridges, ridge_lift=0.5)


def plate_tip(centre, radius, half_width):
    """Profile of an arm of the given half width ending in a hexagonal plate
    with corners on the axis, centred `centre` along it."""
    return [(centre - radius + half_width / math.sqrt(3.0), half_width),
            (centre - radius / 2.0, radius * SQRT3_2), (centre + radius / 2.0, radius * SQRT3_2),
            (centre + radius, 0.0)]


def plate_tipped():
    """Stellar crystal with plate ends: slender arms carrying two pairs of
    side branches and ending in hexagonal plates, each plate hollow in the
    middle; a ring of bubbles round the centre."""
    centre, radius = 36.6, 8.0
    hole = 0.3 * radius

    def side(length):
        return Branch([(0.0, 1.5), (length - 2.2, 1.2), (length, 0.0)],
                      ridge_start=2.5, ridge_end=1.5)

    arm = Branch([(0.0, 2.3), (10.0, 2.3)] + plate_tip(centre, radius, 2.1),
                 [(14.0, side(6.5)), (23.0, side(10.0))],
                 ridge_start=2.0, ridge_end=radius + hole + 1.0)
    outline, ridges = crystal(8.5, [arm] * 6)
    holes = []
    for k in range(6):
        holes.append([rotate(p, sixth(k)) for p in hexagon(hole, (centre, 0.0))])
        holes.append([rotate(p, sixth(k)) for p in hexagon(1.5, (5.2 * SQRT3_2, 2.6))])
        # Facet ridges from the plate's hollow out to its five free corners.
        for corner in (-2, -1, 0, 1, 2):
            c, s = sixth(corner)
            line = [(centre + (hole + 1.0) * c, (hole + 1.0) * s), (centre + (radius - 1.6) * c, (radius - 1.6) * s)]
            ridges.append([rotate(p, sixth(k)) for p in line])
    return Design(outline, holes, ridges, ridge_lift=0.5)


def notched_plate():
    """Small hexagonal plate with a notch in the middle of every edge, short
    points at its corners and a triangular hollow in each sector."""
    radius = 22.0
    corners = hexagon(radius)
    hub = []
    for k in range(6):
        a, b = corners[k], corners[(k + 1) % 6]
        middle = lerp(a, b, 0.5)
        inward = (-middle[0] / radius * 3.0, -middle[1] / radius * 3.0)
        hub += [a, lerp(a, b, 0.4), (middle[0] + inward[0], middle[1] + inward[1]), lerp(a, b, 0.6)]
    point = Branch([(0.0, 3.0), (radius + 3.5, 2.6), (radius + 7.0, 0.0)], ridge_start=2.5, ridge_end=1.5)
    outline, ridges = grow(hub, [point] * 6)
    holes = []
    for k in range(6):
        # Triangle pointing at the notch, between the two ribs.
        triangle = [(9.5, -2.7), (14.2, 0.0), (9.5, 2.7)]
        holes.append([rotate(rotate(p, (SQRT3_2, 0.5)), sixth(k)) for p in triangle])
        ridges.append([rotate(p, sixth(k)) for p in ((4.0 * SQRT3_2, 2.0), (7.0 * SQRT3_2, 3.5))])
    return Design(outline, holes, ridges, turn=turn_degrees(9.0), ridge_lift=0.5)


def irregular_star():
    """Irregular stellar crystal: one arm grew longer and broader than the
    others, the arms carry leaf-shaped side branches in uneven numbers, and
    bubbles ring the hollow centre."""

    def leaf(length):
        return Branch([(0.0, 1.4), (length - 3.0, 2.6), (length, 0.0)], ridge_end=no_ridge(length))

    def arm(reach, branches, spear=4.0):
        return Branch([(0.0, 3.0), (reach - 2.0 * spear, 2.4), (reach - spear, spear), (reach, 0.0)],
                      [(t, leaf(length)) for t, length in branches], ridge_start=5.5, ridge_end=2.0)

    long_arm = Branch([(0.0, 3.2), (24.0, 3.2), (28.0, 6.0), (38.0, 6.0), (42.0, 2.6), (49.0, 2.4),
                       (51.0, 4.5), (55.0, 0.0)],
                      [(16.0, leaf(9.0)), (44.5, leaf(7.0))], ridge_start=5.5, ridge_end=28.0)
    arms = [long_arm,
            arm(50.6, [(15.0, 8.0), (27.0, 12.0), (39.0, 8.0)]),
            arm(50.6, [(18.0, 10.0), (33.0, 10.0)]),
            arm(50.0, [(14.0, 7.0), (24.0, 11.0), (35.0, 9.0)], spear=4.5),
            arm(50.6, [(16.0, 9.0), (29.0, 12.0), (41.0, 6.0)]),
            arm(50.6, [(20.0, 11.0), (34.0, 9.0)])]
    outline, ridges = crystal(9.0, arms)
    holes = [hexagon(2.4)]
    for k in range(6):
        holes.append([rotate(p, sixth(k)) for p in hexagon(1.1, (5.6 * SQRT3_2, 2.8))])
    # A bubble left in the broad part of the long arm.
    holes.append(slot(29.0, 37.0, 1.6, (0.0, 0.0), (1.0, 0.0)))
    return Design(outline, holes, ridges, turn=QUARTER_TURN, ridge_lift=0.5)


def plated_dendrite():
    """Fine stellar dendrite that grew plates on the way: every arm widens
    into a hexagonal plate half way out and ends in another, both with
    bubbles, between feathery side branches."""
    centre, radius = 53.0, 7.0

    def spike(length):
        return Branch([(0.0, 0.55), (length, 0.0)], ridge_end=no_ridge(length))

    def feather(length, spikes):
        return Branch([(0.0, 1.1), (length - 1.5, 0.8), (length, 0.0)],
                      [(u, spike(size)) for u, size in spikes], ridge_end=no_ridge(length))

    arm = Branch([(0.0, 1.7), (14.0, 1.6), (17.5, 5.0), (25.0, 5.0), (28.5, 1.5), (38.0, 1.4)]
                 + plate_tip(centre, radius, 1.3),
                 [(32.0, feather(15.0, [(4.5, 2.4), (8.0, 2.6), (11.5, 1.8)])),
                  (40.0, feather(11.5, [(4.0, 2.2), (7.5, 1.8)]))],
                 ridge_start=3.5, ridge_end=centre + radius - 16.6)
    outline, ridges = crystal(5.6, [arm] * 6)
    holes = [hexagon(2.0)]
    for k in range(6):
        for hole in (hexagon(1.2, (19.2, 0.0)), hexagon(1.2, (23.3, 0.0)), hexagon(2.1, (centre, 0.0))):
            holes.append([rotate(p, sixth(k)) for p in hole])
        ridges.append([rotate(p, sixth(k)) for p in ((25.6, 0.0), (centre - 3.5, 0.0))])
    return Design(outline, holes, ridges, turn=QUARTER_TURN, ridge_lift=0.4)


def simple_star():
    """Small six-armed star plate with broad hexagonal arm ends and a hollow centre."""
    arm = Branch([(0.0, 3.0), (14.0, 3.0), (20.0, 7.0), (26.0, 4.0)])
    outline, _ = crystal(8.0, [arm] * 6)
    return Design(outline, [hexagon(3.5)], turn=turn_degrees(9.5))


# number: (design, OBJ id, MTL id, title, target)
MODELS = {
    1: (fern_dendrite, 143, 142, "fern-like stellar dendrite",
        Target(1439, 2878, (-63.9, 63.9), (-72.8, 72.8), (-2.54, 2.54))),
    2: (sectored_plate, 145, 144, "sectored plate with windows",
        Target(2023, 4186, (-44.8, 44.5), (-43.9, 45.4), (-1.74, 3.26))),
    3: (stellar_plate, 147, 146, "stellar plate",
        Target(1266, 2628, (-65.0, 65.0), (-56.4, 59.5), (0.0, 6.0))),
    4: (plate_tipped, 149, 148, "stellar crystal with plate ends",
        Target(1007, 2058, (-45.1, 44.2), (-38.6, 38.8), (-3.06, 1.94))),
    5: (simple_star, 151, 150, "simple star plate",
        Target(120, 240, (-30.0, 30.0), (-28.5, 28.5), (-0.90, 1.10))),
    7: (irregular_star, 155, 154, "irregular stellar crystal",
        Target(512, 1052, (-43.8, 43.8), (-50.0, 55.0), (-2.21, 2.79))),
    6: (notched_plate, 153, 152, "notched hexagonal plate",
        Target(200, 420, (-30.0, 30.0), (-28.6, 28.5), (0.0, 2.0))),
    8: (plated_dendrite, 157, 156, "dendrite with plates",
        Target(1563, 3198, (-2.22, 2.22), (-2.56, 2.56), (-0.02, 0.02), decimals=5)),
}

# Materials: name, then the statements after "newmtl" in file order. The
# scene's shaders use fixed colours; these only say what each crystal is.
def material(name, shininess, colour, specular, density=None, glow=None):
    statements = [("Ns", "%.4f" % shininess)]
    if density is not None:
        statements.append(("Ni", "%.4f" % density))
    statements += [("d", "1.0000"), ("Tr", "0.0000"), ("Tf", "1.0000 1.0000 1.0000"), ("illum", "2"),
                   ("Ka", "%.4f %.4f %.4f" % colour), ("Kd", "%.4f %.4f %.4f" % colour),
                   ("Ks", "%.4f %.4f %.4f" % specular)]
    if glow is not None:
        statements.append(("Ke", "%.4f %.4f %.4f" % glow))
    return name, statements


MATERIALS = {
    1: material("_null_", 10.0, (1.0, 1.0, 1.0), (0.0, 0.0, 0.0), density=1.5, glow=(0.0, 0.0, 0.0)),
    2: material("frost_windowed_plate", 24.0, (0.86, 0.92, 1.0), (0.3, 0.3, 0.3), density=1.31),
    3: material("frost_stellar_plate", 32.0, (0.9, 0.95, 1.0), (0.35, 0.35, 0.35)),
    4: material("frost_plate_tips", 18.0, (0.84, 0.9, 0.98), (0.25, 0.25, 0.25), glow=(0.02, 0.03, 0.05)),
    5: material("rime_star", 10.0, (0.88, 0.93, 1.0), (0.2, 0.2, 0.2)),
    6: material("frost_sector", 40.0, (0.92, 0.96, 1.0), (0.4, 0.4, 0.4), density=1.31),
    7: material("frost_irregular", 16.0, (0.85, 0.9, 0.97), (0.22, 0.22, 0.22)),
    8: material("frost_fine_dendrite", 48.0, (0.95, 0.97, 1.0), (0.45, 0.45, 0.45), density=1.31,
                glow=(0.03, 0.04, 0.06)),
}


def mtl_text(number, title):
    name, statements = MATERIALS[number]
    lines = ["# Vesperine snowflake %d material: %s" % (number, title),
             "# made by tools/make_snowflakes.py",
             "",
             "newmtl %s" % name]
    lines += ["\t%s %s" % statement for statement in statements]
    return "".join(line + "\r\n" for line in lines).encode("ascii")


def write_model(out, number):
    design_of, obj_id, mtl_id, title, target = MODELS[number]
    name = "snowflake_%d" % number
    solid = build(design_of(), target, margin=0.3)
    with open(os.path.join(out, "%d_%s.obj" % (obj_id, name)), "wb") as f:
        f.write(obj_text(solid, name, MATERIALS[number][0], title, target.decimals))
    text = mtl_text(number, title)
    if not 242 <= len(text) <= 311:
        raise ValueError("material %d is %d bytes" % (number, len(text)))
    with open(os.path.join(out, "%d_%s.mtl" % (mtl_id, name)), "wb") as f:
        f.write(text)
    return solid


def main():
    if len(sys.argv) < 2:
        sys.stderr.write("usage: make_snowflakes.py OUT_DIR [MODEL_NUMBER...]\n")
        return 2
    out = sys.argv[1]
    os.makedirs(out, exist_ok=True)
    numbers = [int(a) for a in sys.argv[2:]] or sorted(MODELS)
    for number in numbers:
        solid = write_model(out, number)
        print("snowflake %d: %d outline points, %d ridge points, %d vertices, %d faces"
              % (number, solid.outline_points, solid.extra_points, len(solid.vertices), len(solid.faces)))
    return 0


if __name__ == "__main__":
    sys.exit(main())
