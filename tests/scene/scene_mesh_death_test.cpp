// The mesh failure path: "Failed to load mesh" (caption "Debug") and exit
// code 0. Here the box is a line on standard error; on Windows it is a
// modal box, so these run in the Linux trees only.
#include <cstdint>
#include <vector>

#include <gtest/gtest.h>

#include "mesh_fixtures.h"
#include "snow/snowflake_batch.h"

// Input that would make later steps read outside the arrays ends the run the
// way an unreadable model does.
TEST(SceneMeshDeathTest, RejectsAnEmptyModel)
{
    EXPECT_EXIT(SceneMesh(std::vector<objl::Mesh>{}, 1.0f, 1), testing::ExitedWithCode(0),
                "Debug: Failed to load mesh");
}

TEST(SceneMeshDeathTest, RejectsIndexBeyondVertices)
{
    const objl::Mesh m = make_objl_mesh({0, 0, 0, 1, 0, 0, 0, 1, 0}, {0, 1, 3});
    EXPECT_EXIT(SceneMesh(std::vector<objl::Mesh>{m}, 1.0f, 1), testing::ExitedWithCode(0), "Failed to load mesh");
}

TEST(SceneMeshDeathTest, RejectsAPartialTriangle)
{
    const objl::Mesh m = make_objl_mesh({0, 0, 0, 1, 0, 0, 0, 1, 0}, {0, 1, 2, 0});
    EXPECT_EXIT(SceneMesh(std::vector<objl::Mesh>{m}, 1.0f, 1), testing::ExitedWithCode(0), "Failed to load mesh");
}

TEST(SceneMeshDeathTest, RejectsAMeshWithoutTriangles)
{
    const objl::Mesh m = make_objl_mesh({0, 0, 0, 1, 0, 0, 0, 1, 0}, {});
    EXPECT_EXIT(SceneMesh(std::vector<objl::Mesh>{m}, 1.0f, 1), testing::ExitedWithCode(0), "Failed to load mesh");
}

// A resource number with no model behind it.
TEST(SceneMeshDeathTest, RejectsAMissingResource)
{
    EXPECT_EXIT(SceneMesh(9999, 9998, 1.0f, 1), testing::ExitedWithCode(0), "Debug: Failed to load mesh");
}

// The size limit follows the slot count of the batch the mesh is for: a
// mesh one vertex over what 200 copies of 80-byte vertices allow in 32-bit
// byte counts is refused for 200 slots and laid out in a 5-slot batch.
TEST(SceneMeshDeathTest, SizeLimitFollowsTheSlotCountOfItsBatch)
{
    const std::size_t vertices = 2147483647u / (200u * 80u) + 1u;
    std::vector<objl::Vertex> corners(vertices);
    for (std::size_t i = 0; i < vertices; ++i)
        corners[i].position = {static_cast<float>(i % 7), static_cast<float>(i % 5), 0.0f};
    const objl::Mesh big(corners, std::vector<std::uint32_t>{0, 1, 2});

    EXPECT_EXIT(SceneMesh(std::vector<objl::Mesh>{big}, 1.0f, 200), testing::ExitedWithCode(0),
                "Failed to load mesh");

    SnowflakeBatch batch(new SceneMesh(std::vector<objl::Mesh>{big}, 1.0f, 5), 5, ParticleKind::Flake);
    EXPECT_EQ(batch.mesh_vertex_count(), static_cast<int>(vertices));
    EXPECT_EQ(batch.vertex_bytes(), static_cast<int>(vertices) * 5 * 80);
}
