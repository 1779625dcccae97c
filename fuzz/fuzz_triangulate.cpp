// Arbitrary polygons through the ear clipping. The first byte picks how the
// rest becomes corners: raw float32 triples (NaN, infinities, huge values
// and all) or points of a small grid (collinear runs, repeated positions,
// concave shapes). Every result must be at most n - 2 triangles of three
// distinct corners of the face, and the call must end.
#include "objl/model_reader.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 1)
        return 0;
    const bool raw_floats = data[0] & 1;
    ++data;
    --size;

    std::vector<objl::Vertex> corners;
    if (raw_floats) {
        for (std::size_t at = 0; at + 12 <= size; at += 12) {
            objl::Vertex corner;
            std::memcpy(&corner.position.x, data + at, 4);
            std::memcpy(&corner.position.y, data + at + 4, 4);
            std::memcpy(&corner.position.z, data + at + 8, 4);
            corners.push_back(corner);
        }
    } else {
        for (std::size_t at = 0; at < size; ++at) {
            objl::Vertex corner;
            corner.position.x = static_cast<float>(data[at] & 15);
            corner.position.y = static_cast<float>(data[at] >> 4);
            corners.push_back(corner);
        }
    }

    std::vector<std::uint32_t> triangles;
    objl::ModelReader::triangulate_polygon(corners, &triangles);
    const std::size_t n = corners.size();
    bool ok = triangles.size() % 3 == 0 && (n < 3 ? triangles.empty() : triangles.size() <= 3 * (n - 2));
    for (std::size_t t = 0; ok && t < triangles.size(); t += 3) {
        const std::uint32_t a = triangles[t], b = triangles[t + 1], c = triangles[t + 2];
        ok = a < n && b < n && c < n && a < b && b < c;
    }
    if (!ok)
        __builtin_trap();
    return 0;
}
