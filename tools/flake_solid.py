"""Turns a crystal outline into a closed, thin solid and writes its OBJ text.

The solid is the outline (with its holes) extruded into a slab: a top cap, a
bottom cap and a wall along every loop. Extra points inside the caps, placed
along the crystal's ridge lines and lifted, give the caps a low ridge that
catches the light. With n outline points over all loops, h holes and s extra
points the solid has 2n + s vertices and 4n + 4h - 4 + 2s triangles, so the
design fixes n and h, and s makes up the vertex count asked for.

The model reader computes a face normal as (c0 - c1) x (c2 - c1), which points
to the side from which the corners run clockwise; faces are therefore written
clockwise as seen from outside, so that every computed normal points outwards.
"""
import math

import cap_triangulation
import flake_outline


class Design:
    """A crystal in its own units before it is fitted to the model's extents.

    outline: counter-clockwise points; holes: point loops; ridges: polylines
    that carry the extra cap points; turn: (cos, sin) of the rotation applied
    before fitting; ridge_lift: height of a ridge point above the cap's edge,
    in units of the edge's half thickness.
    """

    def __init__(self, outline, holes=(), ridges=(), turn=(1.0, 0.0), ridge_lift=0.6):
        self.outline = list(outline)
        self.holes = [list(h) for h in holes]
        self.ridges = [list(r) for r in ridges]
        self.turn = turn
        self.ridge_lift = ridge_lift


class Target:
    """What the model must come out as: vertex and face counts, extents
    (scene units, min and max per axis) and the decimals written."""

    def __init__(self, vertices, faces, x, y, z, decimals=4):
        self.vertices = vertices
        self.faces = faces
        self.x = x
        self.y = y
        self.z = z
        self.decimals = decimals

    def holes(self):
        return (self.faces - 2 * self.vertices + 4) // 4


class DesignError(Exception):
    pass


def check_design(design, target):
    """Rejects an outline that crosses itself, or holes that are not clear inside it."""
    if len(design.holes) != target.holes():
        raise DesignError("%d holes, need %d" % (len(design.holes), target.holes()))
    if flake_outline.polygon_area(design.outline) <= 0.0:
        raise DesignError("outline is not counter-clockwise")
    loops = [design.outline] + design.holes
    bad = flake_outline.crossings(loops)
    if bad:
        raise DesignError("edges cross: %s" % bad[:5])
    for hole in design.holes:
        if not flake_outline.inside(hole[0], design.outline):
            raise DesignError("hole outside the outline")
        for other in design.holes:
            if other is not hole and flake_outline.inside(hole[0], other):
                raise DesignError("hole inside a hole")
    outline_points = sum(len(loop) for loop in loops)
    extra = target.vertices - 2 * outline_points
    if extra < 0:
        raise DesignError("%d outline points, at most %d" % (outline_points, target.vertices // 2))
    return outline_points, extra


def ridge_points(design, count):
    """count points spread evenly over the ridge polylines, by their lengths."""
    lengths = [sum(math.dist(r[i], r[i + 1]) for i in range(len(r) - 1)) for r in design.ridges]
    total = sum(lengths)
    shares = [count * length / total for length in lengths]
    per_ridge = [int(share) for share in shares]
    # Largest remainders first; ties go to the earlier ridge.
    order = sorted(range(len(shares)), key=lambda i: (-(shares[i] - per_ridge[i]), i))
    for i in order[:count - sum(per_ridge)]:
        per_ridge[i] += 1
    points = []
    for ridge, k in zip(design.ridges, per_ridge):
        steps = [math.dist(ridge[i], ridge[i + 1]) for i in range(len(ridge) - 1)]
        for j in range(k):
            # Both ends of a ridge carry a point once it has two, so the ridge
            # keeps its length whatever its share of the points.
            along = sum(steps) * (j / (k - 1) if k > 1 else 0.5)
            i = 0
            while i < len(steps) - 1 and along >= steps[i]:
                along -= steps[i]
                i += 1
            points.append(flake_outline.lerp(ridge[i], ridge[i + 1], along / steps[i]))
    return points


def check_inner(points, design, margin):
    loops = [design.outline] + design.holes
    for p in points:
        if not flake_outline.inside(p, design.outline) or any(flake_outline.inside(p, h) for h in design.holes):
            raise DesignError("ridge point %s outside the crystal" % (p,))
        if flake_outline.distance_to_loops(p, loops) < margin:
            raise DesignError("ridge point %s too close to an edge" % (p,))
    for i in range(len(points)):
        for j in range(i):
            if math.dist(points[i], points[j]) < margin:
                raise DesignError("ridge points %s and %s too close" % (points[i], points[j]))


def fit(values, low, high):
    """Scale and offset that map the values' range onto [low, high] exactly."""
    lo, hi = min(values), max(values)
    scale = (high - low) / (hi - lo)
    return lambda v: low + (v - lo) * scale if v != hi else high


def number(value, decimals):
    text = "%.*f" % (decimals, value)
    if text.startswith("-") and float(text) == 0.0:
        text = text[1:]
    return text


class Solid:
    """Vertices (x, y, z) as written and triangles as 0-based index triples."""

    def __init__(self, vertices, faces, outline_points, extra_points):
        self.vertices = vertices
        self.faces = faces
        self.outline_points = outline_points
        self.extra_points = extra_points


def build(design, target, margin):
    n, s = check_design(design, target)
    top_extra = (s + 1) // 2
    bottom_extra = s // 2
    inner_top = ridge_points(design, top_extra) if top_extra else []
    inner_bottom = ridge_points(design, bottom_extra) if bottom_extra else []
    check_inner(inner_top, design, margin)
    check_inner(inner_bottom, design, margin)

    loops = [design.outline] + [h if flake_outline.polygon_area(h) < 0 else h[::-1] for h in design.holes]
    flat = [p for loop in loops for p in loop]
    turned = [flake_outline.rotate(p, design.turn) for p in flat + inner_top + inner_bottom]
    fx = fit([p[0] for p in turned[:n]], *target.x)
    fy = fit([p[1] for p in turned[:n]], *target.y)
    d = target.decimals
    # Round before triangulating, so every orientation test sees the written numbers.
    plane = [(float(number(fx(x), d)), float(number(fy(y), d))) for x, y in turned]
    if len(set(plane[:n])) != n:
        raise DesignError("outline points coincide after rounding")

    index_loops = []
    start = 0
    for loop in loops:
        index_loops.append(list(range(start, start + len(loop))))
        start += len(loop)
    top_inner = list(range(n, n + top_extra))
    bottom_inner = list(range(n + top_extra, n + s))
    top = cap_triangulation.triangulate(plane, index_loops[0], index_loops[1:], top_inner)
    bottom = cap_triangulation.triangulate(plane, index_loops[0], index_loops[1:], bottom_inner)

    lift = design.ridge_lift
    z_top = 1.0 + (lift if top_extra else 0.0)
    z_bottom = -1.0 - (lift if bottom_extra else 0.0)
    fz = fit([z_bottom, z_top], *target.z)
    edge_top = float(number(fz(1.0), d))
    edge_bottom = float(number(fz(-1.0), d))
    ridge_top = float(number(fz(1.0 + lift), d))
    ridge_bottom = float(number(fz(-1.0 - lift), d))

    # Vertex numbers: top outline, top ridge points, bottom outline, bottom ridge points.
    vertices = [(x, y, edge_top) for x, y in plane[:n]]
    vertices += [plane[i] + (ridge_top,) for i in top_inner]
    bottom_base = len(vertices)
    vertices += [(x, y, edge_bottom) for x, y in plane[:n]]
    vertices += [plane[i] + (ridge_bottom,) for i in bottom_inner]

    def top_index(i):
        return i

    def bottom_index(i):
        return bottom_base + i if i < n else bottom_base + n + (i - n - top_extra)

    faces = []
    for a, b, c in top:
        faces.append((top_index(a), top_index(c), top_index(b)))
    for a, b, c in bottom:
        faces.append((bottom_index(a), bottom_index(b), bottom_index(c)))
    for loop in index_loops:
        for k in range(len(loop)):
            i, j = loop[k], loop[(k + 1) % len(loop)]
            faces.append((top_index(i), top_index(j), bottom_index(j)))
            faces.append((top_index(i), bottom_index(j), bottom_index(i)))
    if len(vertices) != target.vertices or len(faces) != target.faces:
        raise DesignError("built %d vertices and %d faces" % (len(vertices), len(faces)))
    return Solid(vertices, faces, n, s)


def obj_text(solid, name, material, title, decimals):
    lines = ["# Vesperine %s: %s" % (name.replace("_", " "), title),
             "mtllib %s.mtl" % name,
             "o %s" % name,
             "g %s" % name,
             "usemtl %s" % material]
    for x, y, z in solid.vertices:
        lines.append("v %s %s %s" % (number(x, decimals), number(y, decimals), number(z, decimals)))
    for a, b, c in solid.faces:
        lines.append("f %d %d %d" % (a + 1, b + 1, c + 1))
    return "".join(line + "\r\n" for line in lines).encode("ascii")
