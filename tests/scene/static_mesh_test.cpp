#include <algorithm>
#include <array>
#include <vector>

#include <gtest/gtest.h>

#include "mesh_fixtures.h"
#include "snow/static_mesh.h"

namespace {

constexpr int stride = StaticMesh::vertex_stride;

using Corner = std::array<float, 14>;
using Triangle = std::array<Corner, 3>;

// Triangles as the vertex data of their corners, each rotated so that its
// smallest corner comes first (winding kept), sorted: comparable across any
// reordering of vertices and triangles.
std::vector<Triangle> triangles(const float* vertices, const std::uint32_t* indices, int index_count)
{
    std::vector<Triangle> out;
    for (int k = 0; k + 2 < index_count; k += 3) {
        Triangle t;
        for (int c = 0; c < 3; ++c)
            std::copy_n(vertices + indices[k + c] * stride, stride, t[c].begin());
        const int first = static_cast<int>(std::min_element(t.begin(), t.end()) - t.begin());
        std::rotate(t.begin(), t.begin() + first, t.end());
        out.push_back(t);
    }
    std::sort(out.begin(), out.end());
    return out;
}

// A 3x3 grid of quads: enough triangles for the passes to reorder, with a
// texture mapping so tangents are finite.
objl::Mesh grid_mesh()
{
    std::vector<objl::Vertex> vertices;
    std::vector<std::uint32_t> indices;
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x) {
            objl::Vertex v;
            v.position = {static_cast<float>(x), static_cast<float>(y), 0.1f * x * y};
            v.normal = {0.0f, 0.0f, 1.0f};
            v.tex_coord = {x / 3.0f, y / 3.0f};
            vertices.push_back(v);
        }
    for (std::uint32_t y = 0; y < 3; ++y)
        for (std::uint32_t x = 0; x < 3; ++x) {
            const std::uint32_t a = y * 4 + x;
            for (std::uint32_t i : {a, a + 1, a + 4, a + 5, a + 4, a + 1})
                indices.push_back(i);
        }
    return objl::Mesh(vertices, indices);
}

} // namespace

TEST(StaticMesh, InterleavesFourteenFloatsPerVertexFromTheMesh)
{
    StaticMesh mesh(make_scene_mesh(grid_mesh(), 2.0f));
    const SceneMesh& source = mesh.mesh();
    EXPECT_EQ(mesh.stride(), 14);
    EXPECT_EQ(mesh.vertex_count(), 16);
    EXPECT_EQ(mesh.vertex_bytes(), 16 * 14 * 4);
    EXPECT_EQ(mesh.index_count(), 54);
    EXPECT_EQ(mesh.index_bytes(), 54 * 4);
    // spare_vertices keeps the mesh order after the swap.
    const std::vector<float>& spare = mesh.spare_vertices();
    for (int i = 0; i < 16; ++i) {
        const float* v = &spare[i * stride];
        for (int n = 0; n < 3; ++n) {
            EXPECT_EQ(v[StaticMesh::position_offset + n], source.positions[3 * i + n]);
            EXPECT_EQ(v[StaticMesh::normal_offset + n], source.normals[3 * i + n]);
            EXPECT_EQ(v[StaticMesh::tangent_offset + n], source.tangents[3 * i + n]);
            EXPECT_EQ(v[StaticMesh::bitangent_offset + n], source.bitangents[3 * i + n]);
        }
        EXPECT_EQ(v[StaticMesh::tex_offset + 0], source.tex_coords[2 * i]);
        EXPECT_EQ(v[StaticMesh::tex_offset + 1], source.tex_coords[2 * i + 1]);
    }
}

// After the passes the uploaded arrays describe the same triangles, with the
// vertices in order of first use.
TEST(StaticMesh, ReorderedArraysDrawTheSameTriangles)
{
    StaticMesh mesh(make_scene_mesh(grid_mesh()));
    const SceneMesh& source = mesh.mesh();
    EXPECT_EQ(triangles(mesh.vertex_data(), mesh.index_data(), mesh.index_count()),
              triangles(mesh.spare_vertices().data(), source.indices.data(), source.index_count));
    // Fetch order: the first index is 0 and each new vertex is the next number.
    std::uint32_t next = 0;
    for (int k = 0; k < mesh.index_count(); ++k) {
        ASSERT_LE(mesh.index_data()[k], next) << "index position " << k;
        if (mesh.index_data()[k] == next)
            ++next;
    }
    EXPECT_EQ(next, 16u);
}

// A vertex no triangle uses is not written by the fetch pass: its entry in
// the uploaded array stays zero, and the upload still covers the full count.
TEST(StaticMesh, LeavesUnusedVertexEntriesZero)
{
    const objl::Mesh m =
        make_objl_mesh({0, 0, 0, 1, 0, 0, 0, 1, 0, 9, 9, 9, 1, 1, 0}, {0, 1, 2, 4, 2, 1}, {0, 0, 1, 0, 0, 1, 0, 0, 1, 1});
    StaticMesh mesh(make_scene_mesh(m));
    EXPECT_EQ(mesh.vertex_bytes(), 5 * 14 * 4);
    for (int n = 0; n < stride; ++n)
        EXPECT_EQ(mesh.vertex_data()[4 * stride + n], 0.0f);
    for (int k = 0; k < mesh.index_count(); ++k)
        EXPECT_LT(mesh.index_data()[k], 4u);
}
