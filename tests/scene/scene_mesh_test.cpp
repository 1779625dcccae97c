#include <cmath>
#include <vector>

#include <gtest/gtest.h>

#include "mesh_fixtures.h"

namespace {

float length_at(const std::vector<float>& v, int i)
{
    return std::sqrt(v[3 * i] * v[3 * i] + v[3 * i + 1] * v[3 * i + 1] + v[3 * i + 2] * v[3 * i + 2]);
}

} // namespace

// Only positions grow with the scale; normals stay unit vectors.
TEST(SceneMesh, ScalesPositionsOnly)
{
    SceneMesh mesh(std::vector<objl::Mesh>{make_objl_mesh({-2.5f, 2.3698f, 0, -2.5f, -2.6302f, 0, 2.5f, 2.3698f, 0,
                                                           2.5f, -2.6302f, 0},
                                                          {0, 1, 2, 3, 2, 1}, {0, 1, 0, 0, 1, 1, 1, 0})},
                   250.0f, 1);
    ASSERT_EQ(mesh.vertex_count, 4);
    ASSERT_EQ(mesh.index_count, 6);
    EXPECT_FLOAT_EQ(mesh.positions[0], -625.0f);
    EXPECT_FLOAT_EQ(mesh.positions[1], 2.3698f * 250.0f);
    EXPECT_FLOAT_EQ(mesh.positions[4], -2.6302f * 250.0f);
    EXPECT_FLOAT_EQ(mesh.positions[9], 625.0f);
    for (int i = 0; i < 4; ++i) {
        EXPECT_FLOAT_EQ(length_at(mesh.normals, i), 1.0f);
        EXPECT_FLOAT_EQ(mesh.normals[3 * i + 2], 1.0f);
        EXPECT_FLOAT_EQ(length_at(mesh.tangents, i), 1.0f);
    }
    EXPECT_FLOAT_EQ(mesh.tex_coords[2], 0.0f);
    EXPECT_FLOAT_EQ(mesh.tex_coords[3], 0.0f);
    EXPECT_EQ(mesh.indices, (std::vector<std::uint32_t>{0, 1, 2, 3, 2, 1}));
}

TEST(SceneMesh, NormalisesNormalsOfAnyLength)
{
    objl::Mesh m = make_objl_mesh({0, 0, 0, 1, 0, 0, 0, 1, 0}, {0, 1, 2});
    m.vertices[0].normal = {3.0f, 4.0f, 0.0f};
    m.vertices[1].normal = {0.0f, 0.0f, -0.001f};
    m.vertices[2].normal = {0.0f, 0.0f, 0.0f}; // a degenerate triangle's normal stays zero
    SceneMesh mesh(std::vector<objl::Mesh>{m}, 1.0f, 1);
    EXPECT_FLOAT_EQ(mesh.normals[0], 0.6f);
    EXPECT_FLOAT_EQ(mesh.normals[1], 0.8f);
    EXPECT_FLOAT_EQ(mesh.normals[5], -1.0f);
    EXPECT_EQ(mesh.normals[6], 0.0f);
    EXPECT_EQ(mesh.normals[8], 0.0f);
}

// A vertex shared by two triangles carries the tangent frame of the later one.
TEST(SceneMesh, SharedVertexKeepsTheLaterTrianglesTangent)
{
    // Triangle 0 maps u along +x; triangle 1 (sharing vertices 1 and 2) maps
    // u along +y.
    objl::Mesh m = make_objl_mesh({0, 0, 0, 1, 0, 0, 0, 1, 0, 1, 1, 0}, {0, 1, 2, 1, 3, 2},
                                  {0, 0, 1, 0, 0, 1, 0, 0});
    // Triangle 1: P1=(1,0) uv (1,0); P3=(1,1) uv (0,0); P2=(0,1) uv (0,1).
    SceneMesh mesh(std::vector<objl::Mesh>{m}, 1.0f, 1);
    // Vertex 0 only in triangle 0: tangent +x, bitangent +y.
    EXPECT_FLOAT_EQ(mesh.tangents[0], 1.0f);
    EXPECT_FLOAT_EQ(mesh.tangents[1], 0.0f);
    EXPECT_FLOAT_EQ(mesh.bitangents[1], 1.0f);
    // Triangle 1: E1 = P3 - P1 = (0,1,0), D1 = (-1,0); E2 = P2 - P1 = (-1,1,0),
    // D2 = (-1,1). r = 1 / (-1*1 - (-1)*0) = -1.
    // tangent = (E1*1 - E2*0) * -1 = (0,-1,0); bitangent = (E2*-1 - E1*-1) * -1 = (-1,0,0).
    for (int vertex : {1, 2, 3}) {
        EXPECT_FLOAT_EQ(mesh.tangents[3 * vertex + 0], 0.0f) << vertex;
        EXPECT_FLOAT_EQ(mesh.tangents[3 * vertex + 1], -1.0f) << vertex;
        EXPECT_FLOAT_EQ(mesh.bitangents[3 * vertex + 0], -1.0f) << vertex;
        EXPECT_FLOAT_EQ(mesh.bitangents[3 * vertex + 1], 0.0f) << vertex;
    }
}

// The tangent pass works on unscaled positions; the unit result is the same.
TEST(SceneMesh, TangentsDoNotDependOnTheScale)
{
    const objl::Mesh m = make_objl_mesh({0, 0, 0, 2, 0, 1, 0, 3, 0}, {0, 1, 2}, {0, 0, 1, 0.2f, 0.1f, 1});
    SceneMesh small(std::vector<objl::Mesh>{m}, 1.0f, 1);
    SceneMesh big(std::vector<objl::Mesh>{m}, 250.0f, 1);
    for (int k = 0; k < 9; ++k) {
        EXPECT_FLOAT_EQ(small.tangents[k], big.tangents[k]);
        EXPECT_FLOAT_EQ(small.bitangents[k], big.bitangents[k]);
    }
}

// Several meshes: the arrays end up with the last one.
TEST(SceneMesh, KeepsTheLastOfSeveralMeshes)
{
    const objl::Mesh first = make_objl_mesh({0, 0, 0, 1, 0, 0, 0, 1, 0, 5, 5, 5}, {0, 1, 2, 1, 2, 3});
    const objl::Mesh last = make_objl_mesh({7, 0, 0, 1, 0, 0, 0, 1, 0}, {2, 1, 0});
    SceneMesh mesh(std::vector<objl::Mesh>{first, last}, 2.0f, 1);
    EXPECT_EQ(mesh.vertex_count, 3);
    EXPECT_EQ(mesh.index_count, 3);
    EXPECT_FLOAT_EQ(mesh.positions[0], 14.0f);
    EXPECT_EQ(mesh.indices, (std::vector<std::uint32_t>{2, 1, 0}));
}
