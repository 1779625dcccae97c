// Ear clipping of one face. The corners are kept as numbers rather than
// positions, so a face that names one position twice still gives triangles
// of three distinct corners of that face.
#include "objl/model_reader.h"

#include <algorithm>
#include <numeric>

namespace objl {

namespace {

// 180 / 3.14159265359: the degree factor the face test is tuned to. With the
// float32 angle of a straight edge (pi rounded up) it gives just over 180
// degrees, so corners on a straight edge are never cut as ears.
constexpr double degrees_per_radian = 57.29577951307855;

void append_ascending(std::vector<std::uint32_t>* triangles, std::uint32_t a, std::uint32_t b, std::uint32_t c)
{
    std::uint32_t corner[3] = {a, b, c};
    std::sort(corner, corner + 3);
    triangles->insert(triangles->end(), corner, corner + 3);
}

// True when some corner of the whole face, at a position other than the
// three of the ear, lies in the ear.
bool ear_holds_a_corner(const std::vector<Vertex>& corners, const Vector3& prev, const Vector3& cur,
                        const Vector3& next)
{
    for (const Vertex& corner : corners) {
        const Vector3& p = corner.position;
        if (p != prev && p != cur && p != next && point_in_triangle(p, prev, cur, next))
            return true;
    }
    return false;
}

} // namespace

void ModelReader::triangulate_polygon(const std::vector<Vertex>& corners, std::vector<std::uint32_t>* triangles)
{
    triangles->clear();
    if (corners.size() < 3)
        return;
    if (corners.size() == 3) {
        triangles->insert(triangles->end(), {0, 1, 2});
        return;
    }
    // Corner numbers still on the polygon, in the face's cyclic order.
    std::vector<std::uint32_t> remaining(corners.size());
    std::iota(remaining.begin(), remaining.end(), 0u);

    for (;;) {
        if (remaining.size() == 4) {
            // Split along the diagonal from the last to the second entry, with
            // no test of convexity.
            append_ascending(triangles, remaining[3], remaining[0], remaining[1]);
            append_ascending(triangles, remaining[3], remaining[1], remaining[2]);
            return;
        }
        bool cut = false;
        for (std::size_t i = 0; i < remaining.size(); ++i) {
            const std::size_t count = remaining.size();
            const std::uint32_t prev = remaining[i == 0 ? count - 1 : i - 1];
            const std::uint32_t cur = remaining[i];
            const std::uint32_t next = remaining[i + 1 == count ? 0 : i + 1];
            const Vector3& prev_position = corners[prev].position;
            const Vector3& cur_position = corners[cur].position;
            const Vector3& next_position = corners[next].position;

            const double degrees =
                static_cast<double>(angle_between(prev_position - cur_position, next_position - cur_position)) *
                degrees_per_radian;
            // A NaN angle (zero-length edge) passes on to the next test.
            if (degrees <= 0.0 || degrees >= 180.0)
                continue;
            if (ear_holds_a_corner(corners, prev_position, cur_position, next_position))
                continue;

            append_ascending(triangles, prev, cur, next);
            remaining.erase(remaining.begin() + static_cast<std::ptrdiff_t>(i));
            cut = true;
            break;
        }
        // A sweep without an ear will find none next time either: keep the
        // triangles cut so far (possibly none) and leave the rest uncovered.
        if (!cut)
            return;
    }
}

} // namespace objl
