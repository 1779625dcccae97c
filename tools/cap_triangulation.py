"""Triangulation of a flat cap: a polygon with holes and extra inner points.

Holes are bridged into the outline, the result is ear-clipped, and edge flips
then make it a constrained Delaunay triangulation (no needless slivers).
Inner points split the triangle that holds them, followed by more flips. A
polygon of n outline points (over all loops) with h holes and s inner points
gives n + 2h - 2 + 2s triangles.

Triangles come out counter-clockwise as index triples into the point list.
"""
import math

# Bridging runs in a slightly sheared frame so that no two points of these
# mirror-symmetric outlines line up with the horizontal bridge rays.
SHEAR = (0.0317, -0.0271)


class TriangulationError(Exception):
    pass


def cross(o, a, b):
    return (a[0] - o[0]) * (b[1] - o[1]) - (a[1] - o[1]) * (b[0] - o[0])


def in_triangle(p, a, b, c):
    """Inside or on the border of the counter-clockwise triangle a, b, c."""
    return cross(a, b, p) >= 0.0 and cross(b, c, p) >= 0.0 and cross(c, a, p) >= 0.0


def triangulate(points, outer, holes, inner=()):
    """points: (x, y) list; outer: indices counter-clockwise; holes: index loops
    clockwise; inner: indices of points strictly inside the cap."""
    sheared = [(x + SHEAR[0] * y, y + SHEAR[1] * x) for x, y in points]
    sequence = list(outer)
    for hole in sorted(holes, key=lambda loop: -max(sheared[i][0] for i in loop)):
        sequence = bridge(sequence, list(hole), sheared)
    triangles = ear_clip(sequence, sheared)
    constrained = set()
    for loop in [list(outer)] + [list(h) for h in holes]:
        for i in range(len(loop)):
            constrained.add(edge_key(loop[i - 1], loop[i]))
    mesh = FlipMesh(points, triangles, constrained)
    mesh.legalise_all()
    for index in inner:
        mesh.insert(index)
    return mesh.triangles()


def bridge(sequence, hole, pts):
    """Joins a hole to the polygon with a two-way cut from its rightmost point."""
    m = max(range(len(hole)), key=lambda i: (pts[hole[i]][0], pts[hole[i]][1]))
    mp = pts[hole[m]]
    best = None
    for k in range(len(sequence)):
        a = pts[sequence[k]]
        b = pts[sequence[(k + 1) % len(sequence)]]
        if a[1] == b[1] or not (min(a[1], b[1]) <= mp[1] <= max(a[1], b[1])):
            continue
        x = a[0] + (mp[1] - a[1]) * (b[0] - a[0]) / (b[1] - a[1])
        if x >= mp[0] and (best is None or x < best[0]):
            best = (x, k)
    if best is None:
        raise TriangulationError("hole outside the outline")
    x, k = best
    a_index = sequence[k]
    b_index = sequence[(k + 1) % len(sequence)]
    target = a_index if pts[a_index][0] > pts[b_index][0] else b_index
    hit = (x, mp[1])
    if pts[target] != hit:
        # A reflex corner inside the triangle (hole point, hit, target) would
        # block the cut: take the one closest in angle to the ray instead.
        tri = (mp, hit, pts[target]) if cross(mp, hit, pts[target]) > 0 else (mp, pts[target], hit)
        chosen = None
        for j in range(len(sequence)):
            v = sequence[j]
            p = pts[v]
            if v == target:
                continue
            prev_p = pts[sequence[j - 1]]
            next_p = pts[sequence[(j + 1) % len(sequence)]]
            if cross(prev_p, p, next_p) > 0.0:
                continue
            if in_triangle(p, *tri):
                dx = p[0] - mp[0]
                key = (abs(p[1] - mp[1]) / dx if dx > 0 else float("inf"), dx)
                if chosen is None or key < chosen[0]:
                    chosen = (key, v)
        if chosen is not None:
            target = chosen[1]
    # The target may occur more than once after earlier bridges: use the
    # occurrence whose corner opens towards the hole.
    spots = [j for j in range(len(sequence)) if sequence[j] == target]
    spot = None
    for j in spots:
        if locally_inside(pts[sequence[j - 1]], pts[target], pts[sequence[(j + 1) % len(sequence)]], mp):
            spot = j
            break
    if spot is None:
        raise TriangulationError("no place to bridge a hole")
    loop = hole[m:] + hole[:m] + [hole[m]]
    return sequence[:spot + 1] + loop + sequence[spot:]


def locally_inside(prev_p, p, next_p, q):
    """Whether direction p->q opens into the polygon at corner p (inside on the left)."""
    a_next = math.atan2(next_p[1] - p[1], next_p[0] - p[0])
    a_prev = math.atan2(prev_p[1] - p[1], prev_p[0] - p[0])
    a_q = math.atan2(q[1] - p[1], q[0] - p[0])
    sweep = (a_prev - a_next) % (2.0 * math.pi)
    turn = (a_q - a_next) % (2.0 * math.pi)
    return 0.0 < turn < sweep


def ear_clip(sequence, pts):
    n = len(sequence)
    nxt = [(i + 1) % n for i in range(n)]
    prv = [(i - 1) % n for i in range(n)]
    alive = n
    triangles = []

    def corner(i):
        return cross(pts[sequence[prv[i]]], pts[sequence[i]], pts[sequence[nxt[i]]])

    reflex = set(i for i in range(n) if corner(i) <= 0.0)

    def is_ear(i):
        if corner(i) <= 0.0:
            return False
        a, b, c = sequence[prv[i]], sequence[i], sequence[nxt[i]]
        pa, pb, pc = pts[a], pts[b], pts[c]
        for j in reflex:
            v = sequence[j]
            if v == a or v == b or v == c:
                continue
            if in_triangle(pts[v], pa, pb, pc):
                return False
        return True

    i = 0
    misses = 0
    while alive > 3:
        if is_ear(i):
            triangles.append((sequence[prv[i]], sequence[i], sequence[nxt[i]]))
            p, q = prv[i], nxt[i]
            nxt[p] = q
            prv[q] = p
            reflex.discard(i)
            alive -= 1
            for j in (p, q):
                if corner(j) <= 0.0:
                    reflex.add(j)
                else:
                    reflex.discard(j)
            i = q
            misses = 0
        else:
            i = nxt[i]
            misses += 1
            if misses > alive:
                raise TriangulationError("no ear left with %d corners" % alive)
    last = (sequence[prv[i]], sequence[i], sequence[nxt[i]])
    if cross(pts[last[0]], pts[last[1]], pts[last[2]]) <= 0.0:
        raise TriangulationError("degenerate last triangle")
    triangles.append(last)
    return triangles


def edge_key(a, b):
    return (a, b) if a < b else (b, a)


def in_circle(a, b, c, d):
    """Positive when d lies inside the circle through counter-clockwise a, b, c."""
    ax, ay = a[0] - d[0], a[1] - d[1]
    bx, by = b[0] - d[0], b[1] - d[1]
    cx, cy = c[0] - d[0], c[1] - d[1]
    return ((ax * ax + ay * ay) * (bx * cy - cx * by)
            - (bx * bx + by * by) * (ax * cy - cx * ay)
            + (cx * cx + cy * cy) * (ax * by - bx * ay))


class FlipMesh:
    def __init__(self, points, triangles, constrained):
        self.pts = points
        self.tris = [list(t) for t in triangles]
        self.constrained = constrained
        self.edges = {}
        for t, tri in enumerate(self.tris):
            self.link(t, tri)

    def link(self, t, tri):
        for k in range(3):
            self.edges.setdefault(edge_key(tri[k], tri[(k + 1) % 3]), set()).add(t)

    def unlink(self, t, tri):
        for k in range(3):
            key = edge_key(tri[k], tri[(k + 1) % 3])
            self.edges[key].discard(t)
            if not self.edges[key]:
                del self.edges[key]

    def triangles(self):
        return [tuple(t) for t in self.tris if t is not None]

    def legalise_all(self):
        self.legalise(list(self.edges))

    def legalise(self, stack):
        while stack:
            key = stack.pop()
            if key in self.constrained:
                continue
            owners = self.edges.get(key)
            if not owners or len(owners) != 2:
                continue
            t1, t2 = owners
            a, b = key
            c = self.opposite(t1, a, b)
            d = self.opposite(t2, a, b)
            pa, pb, pc, pd = (self.pts[v] for v in (a, b, c, d))
            # Orient (a, b, c) counter-clockwise for the circle test.
            if cross(pa, pb, pc) < 0.0:
                pa, pb = pb, pa
                a, b = b, a
            scale = max(abs(pa[0] - pd[0]), abs(pa[1] - pd[1]), abs(pc[0] - pd[0]), abs(pc[1] - pd[1]), 1e-9)
            if in_circle(pa, pb, pc, pd) <= 1e-9 * scale ** 4:
                continue
            # The flip needs a convex quad: a and b on either side of c-d.
            if not (cross(pc, pd, pa) * cross(pc, pd, pb) < 0.0):
                continue
            self.unlink(t1, self.tris[t1])
            self.unlink(t2, self.tris[t2])
            # Replace edge a-b by c-d.
            self.tris[t1] = ccw(self.pts, [c, a, d])
            self.tris[t2] = ccw(self.pts, [d, b, c])
            self.link(t1, self.tris[t1])
            self.link(t2, self.tris[t2])
            stack.extend([edge_key(a, c), edge_key(c, b), edge_key(b, d), edge_key(d, a)])

    def opposite(self, t, a, b):
        for v in self.tris[t]:
            if v != a and v != b:
                return v
        raise TriangulationError("broken triangle")

    def insert(self, index):
        p = self.pts[index]
        for t, tri in enumerate(self.tris):
            if tri is None:
                continue
            a, b, c = tri
            pa, pb, pc = self.pts[a], self.pts[b], self.pts[c]
            if not in_triangle(p, pa, pb, pc):
                continue
            area = cross(pa, pb, pc)
            edges_on = [k for k, (u, v) in enumerate(((pa, pb), (pb, pc), (pc, pa))) if abs(cross(u, v, p)) <= 1e-9 * area]
            if not edges_on:
                self.unlink(t, tri)
                self.tris[t] = [a, b, index]
                self.tris.append([b, c, index])
                self.tris.append([c, a, index])
                for u in (t, len(self.tris) - 2, len(self.tris) - 1):
                    self.link(u, self.tris[u])
                self.legalise([edge_key(a, b), edge_key(b, c), edge_key(c, a)])
                return
            if len(edges_on) > 1:
                raise TriangulationError("inner point on a corner")
            u, v = tri[edges_on[0]], tri[(edges_on[0] + 1) % 3]
            key = edge_key(u, v)
            if key in self.constrained:
                raise TriangulationError("inner point on the outline")
            t1, t2 = self.edges[key]
            w1 = self.opposite(t1, u, v)
            w2 = self.opposite(t2, u, v)
            self.unlink(t1, self.tris[t1])
            self.unlink(t2, self.tris[t2])
            self.tris[t1] = ccw(self.pts, [u, w1, index])
            self.tris[t2] = ccw(self.pts, [w1, v, index])
            self.tris.append(ccw(self.pts, [v, w2, index]))
            self.tris.append(ccw(self.pts, [w2, u, index]))
            for z in (t1, t2, len(self.tris) - 2, len(self.tris) - 1):
                self.link(z, self.tris[z])
            self.legalise([edge_key(u, w1), edge_key(w1, v), edge_key(v, w2), edge_key(w2, u)])
            return
        raise TriangulationError("inner point outside the cap")


def ccw(pts, tri):
    a, b, c = tri
    if cross(pts[a], pts[b], pts[c]) < 0.0:
        return [a, c, b]
    return tri
