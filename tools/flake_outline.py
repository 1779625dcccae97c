"""Outlines of six-fold ice crystals, traced as one simple polygon.

A crystal is a hub polygon with arms growing out of its sides. An arm is a
Branch: a mirror-symmetric strip along its own axis, described by a half-width
profile, that may carry side branches at +-60 degrees to its axis (the angles
at which ice grows), which are Branches again. The outline is traced once
around the whole crystal, counter-clockwise, in the crystal's units (the
generator scales everything to the model's extents at the end).

Only sqrt and exact 60-degree rotations are used, so the points come out the
same on every machine.
"""
import math

SQRT3_2 = math.sqrt(3.0) / 2.0

# cos and sin of k * 60 degrees, exact up to sqrt's rounding.
SIXTHS = [(1.0, 0.0), (0.5, SQRT3_2), (-0.5, SQRT3_2),
          (-1.0, 0.0), (-0.5, -SQRT3_2), (0.5, -SQRT3_2)]


def rotate(p, cs):
    c, s = cs
    return (p[0] * c - p[1] * s, p[0] * s + p[1] * c)


def sixth(k):
    return SIXTHS[k % 6]


def move(points, cs, origin):
    return [(q[0] + origin[0], q[1] + origin[1]) for q in (rotate(p, cs) for p in points)]


def mirror(points):
    return [(p[0], -p[1]) for p in points]


def cross(o, a, b):
    return (a[0] - o[0]) * (b[1] - o[1]) - (a[1] - o[1]) * (b[0] - o[0])


def segment_hit(p, q, a, b):
    """Where segment p-q crosses segment a-b: (u along p-q, v along a-b), or None."""
    rx, ry = q[0] - p[0], q[1] - p[1]
    sx, sy = b[0] - a[0], b[1] - a[1]
    den = rx * sy - ry * sx
    qx, qy = a[0] - p[0], a[1] - p[1]
    if abs(den) <= 1e-12 * (rx * rx + ry * ry + sx * sx + sy * sy):
        # Parallel: they meet only if collinear and overlapping.
        rr = rx * rx + ry * ry
        if rr == 0.0 or abs(qx * ry - qy * rx) > 1e-9 * rr:
            return None
        u0 = (qx * rx + qy * ry) / rr
        u1 = u0 + (sx * rx + sy * ry) / rr
        if max(u0, u1) < 0.0 or min(u0, u1) > 1.0:
            return None
        return max(0.0, min(u0, u1)), 0.0
    u = (qx * sy - qy * sx) / den
    v = (qx * ry - qy * rx) / den
    if 0.0 <= u <= 1.0 and 0.0 <= v <= 1.0:
        return u, v
    return None


class Branch:
    """A mirror-symmetric growth along +x from the origin.

    profile: (t, w) pairs, t increasing from 0: the half width w at distance t
    along the axis. The last pair is the tip: w == 0 makes a point, w > 0 a
    flat end. children: (t, Branch) pairs, or (t, Branch, side) with side
    "left" or "right" for one side only; a child grows from the axis point t
    at +60 degrees on the left and -60 degrees on the right. ridge_start and
    ridge_end: where this branch's ridge line runs, as distances along the
    axis; ridge_end counts back from the tip.
    """

    def __init__(self, profile, children=(), ridge_start=0.0, ridge_end=1.0):
        self.profile = list(profile)
        self.children = sorted(((c + ("both",))[:3] for c in children), key=lambda c: c[0])
        self.ridge_start = ridge_start
        self.ridge_end = ridge_end

    def length(self):
        return self.profile[-1][0]

    def half_width(self, t):
        for (t0, w0), (t1, w1) in zip(self.profile, self.profile[1:]):
            if t0 <= t <= t1:
                return w0 + (w1 - w0) * (t - t0) / (t1 - t0)
        return self.profile[-1][1]

    def side_walk(self, side):
        """One side walked outwards, its side branches included, as the right side."""
        walk = [(t, -w) for t, w in self.profile]
        outlines = [move(child.outline(), sixth(-1), (t, 0.0))
                    for t, child, where in self.children if where in ("both", side)]
        return splice(walk, False, outlines)

    def outline(self):
        """The closed outline from the right base corner round to the left one."""
        right = self.side_walk("right")
        left = mirror(reversed(self.side_walk("left")))
        if right[-1][1] == 0.0:
            left = left[1:]
        return right + left

    def ridges(self):
        """Ridge lines of this branch and its side branches, in its own frame."""
        lines = []
        if self.length() - self.ridge_end > self.ridge_start:
            lines.append([(self.ridge_start, 0.0), (self.length() - self.ridge_end, 0.0)])
        for t, child, where in self.children:
            for side, turn in (("right", sixth(-1)), ("left", sixth(1))):
                if where in ("both", side):
                    lines += [move(line, turn, (t, 0.0)) for line in child.ridges()]
        return lines


def splice(boundary, closed, outlines):
    """Grows each outline out of a boundary polyline that keeps the inside on its left.

    Each outline starts and ends inside the boundary; the part outside it
    replaces the stretch of boundary between the two crossing points (corners
    of the boundary within that stretch are swallowed).
    """
    count = len(boundary) if closed else len(boundary) - 1
    cuts = []
    for outline in outlines:
        first = None
        last = None
        for i in range(len(outline) - 1):
            for k in range(count):
                a, b = boundary[k], boundary[(k + 1) % len(boundary)]
                hit = segment_hit(outline[i], outline[i + 1], a, b)
                if hit is None:
                    continue
                point = lerp(outline[i], outline[i + 1], hit[0])
                if first is None:
                    first = (i, k, hit[1], point)
                last = (i, k, hit[1], point)
        if first is None or first[0] == last[0]:
            raise ValueError("a branch does not cross its parent's edge")
        end = last[1]
        if closed and end < first[1]:
            end += count
        if (first[1], first[2]) >= (end, last[2]):
            raise ValueError("a branch leaves its parent backwards")
        piece = [first[3]] + outline[first[0] + 1:last[0] + 1] + [last[3]]
        cuts.append(((first[1], first[2]), (end, last[2]), piece))
    cuts.sort(key=lambda cut: cut[0])
    for before, after in zip(cuts, cuts[1:]):
        if after[0] <= before[1]:
            raise ValueError("two branches overlap")
    if closed and len(cuts) > 1 and cuts[-1][1][0] >= count and (cuts[-1][1][0] - count, cuts[-1][1][1]) >= cuts[0][0]:
        raise ValueError("two branches overlap")
    result = []
    swallowed = set()
    for (k0, _), (k1, _), _ in cuts:
        swallowed.update(k % count for k in range(k0 + 1, k1 + 1))
    by_segment = {}
    for cut in cuts:
        by_segment.setdefault(cut[0][0], []).append(cut[2])
    for k in range(len(boundary)):
        if k not in swallowed:
            result.append(boundary[k])
        for piece in by_segment.get(k, []):
            result.extend(piece)
    return result


def lerp(a, b, u):
    return (a[0] + (b[0] - a[0]) * u, a[1] + (b[1] - a[1]) * u)


def hexagon(radius, centre=(0.0, 0.0), corner_first=True):
    """A counter-clockwise regular hexagon; corners on the axes or between them."""
    points = []
    for k in range(6):
        if corner_first:
            c, s = sixth(k)
        else:
            c, s = rotate(sixth(k), (SQRT3_2, 0.5))
        points.append((centre[0] + radius * c, centre[1] + radius * s))
    return points


def crystal(hub_apothem, arms):
    """Hub hexagon with flat sides facing the six arms; arms[k] grows at k * 60 degrees.

    Returns the outline and the ridge lines of the arms.
    """
    hub = hexagon(hub_apothem / SQRT3_2, corner_first=False)
    # Start at the corner at -30 degrees, so arm k leaves through side k.
    return grow(hub[-1:] + hub[:-1], arms)


def plate(corner_radius, arms):
    """Hexagonal plate whose six corners, at k * 60 degrees, grow arms[k]."""
    return grow(hexagon(corner_radius), arms)


def grow(hub, arms):
    outlines = [move(arm.outline(), sixth(k), (0.0, 0.0)) for k, arm in enumerate(arms)]
    ridges = [move(line, sixth(k), (0.0, 0.0)) for k, arm in enumerate(arms) for line in arm.ridges()]
    return splice(hub, True, outlines), ridges


def line_meet(n1, d1, n2, d2):
    """The point p with p . n1 = d1 and p . n2 = d2."""
    det = n1[0] * n2[1] - n1[1] * n2[0]
    return ((d1 * n2[1] - d2 * n1[1]) / det, (n1[0] * d2 - n2[0] * d1) / det)


def chamfer(corners, cut):
    """A convex polygon with every corner cut off by `cut` along both edges."""
    points = []
    for i in range(len(corners)):
        prev_p, p, next_p = corners[i - 1], corners[i], corners[(i + 1) % len(corners)]
        for q in (prev_p, next_p):
            length = math.dist(p, q)
            points.append(lerp(p, q, cut / length))
    return points


def polygon_area(points):
    total = 0.0
    for i in range(len(points)):
        a, b = points[i - 1], points[i]
        total += a[0] * b[1] - b[0] * a[1]
    return total / 2.0


def inside(point, polygon):
    """Even-odd point-in-polygon test."""
    x, y = point
    result = False
    j = len(polygon) - 1
    for i in range(len(polygon)):
        xi, yi = polygon[i]
        xj, yj = polygon[j]
        if (yi > y) != (yj > y) and x < (xj - xi) * (y - yi) / (yj - yi) + xi:
            result = not result
        j = i
    return result


def distance_to_segment(p, a, b):
    dx, dy = b[0] - a[0], b[1] - a[1]
    length2 = dx * dx + dy * dy
    u = 0.0 if length2 == 0.0 else max(0.0, min(1.0, ((p[0] - a[0]) * dx + (p[1] - a[1]) * dy) / length2))
    ex, ey = a[0] + dx * u - p[0], a[1] + dy * u - p[1]
    return math.sqrt(ex * ex + ey * ey)


def distance_to_loops(p, loops):
    return min(distance_to_segment(p, loop[i - 1], loop[i]) for loop in loops for i in range(len(loop)))


def crossings(loops):
    """Pairs of non-adjacent edges that touch or cross, over all loops (grid-bucketed)."""
    edges = []
    for li, loop in enumerate(loops):
        for i in range(len(loop)):
            edges.append((li, i, loop[i - 1], loop[i], len(loop)))
    xs = [p[0] for loop in loops for p in loop]
    ys = [p[1] for loop in loops for p in loop]
    cell = max(max(xs) - min(xs), max(ys) - min(ys)) / 64.0
    grid = {}
    for e, (_, _, a, b, _) in enumerate(edges):
        for gx in range(int(math.floor(min(a[0], b[0]) / cell)), int(math.floor(max(a[0], b[0]) / cell)) + 1):
            for gy in range(int(math.floor(min(a[1], b[1]) / cell)), int(math.floor(max(a[1], b[1]) / cell)) + 1):
                grid.setdefault((gx, gy), []).append(e)
    found = set()
    for bucket in grid.values():
        for x in range(len(bucket)):
            for y in range(x + 1, len(bucket)):
                e, f = bucket[x], bucket[y]
                le, ie, a, b, ne = edges[e]
                lf, jf, c, d, _ = edges[f]
                if le == lf and (abs(ie - jf) == 1 or abs(ie - jf) == ne - 1 or ie == jf):
                    continue
                if segment_hit(a, b, c, d) is not None:
                    found.add((e, f))
    return [(edges[e][:2], edges[f][:2]) for e, f in sorted(found)]
