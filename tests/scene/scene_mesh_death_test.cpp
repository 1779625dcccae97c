// The mesh failure path: "Failed to load mesh" (caption "Debug") and exit
// code 0. Here the box is a line on standard error; on Windows it is a
// modal box, so these run in the Linux trees only.
#include <vector>

#include <gtest/gtest.h>

#include "mesh_fixtures.h"

// Input that would make later steps read outside the arrays ends the run the
// way an unreadable model does.
TEST(SceneMeshDeathTest, RejectsAnEmptyModel)
{
    EXPECT_EXIT(SceneMesh(std::vector<objl::Mesh>{}, 1.0f), testing::ExitedWithCode(0), "Debug: Failed to load mesh");
}

TEST(SceneMeshDeathTest, RejectsIndexBeyondVertices)
{
    const objl::Mesh m = make_objl_mesh({0, 0, 0, 1, 0, 0, 0, 1, 0}, {0, 1, 3});
    EXPECT_EXIT(SceneMesh(std::vector<objl::Mesh>{m}, 1.0f), testing::ExitedWithCode(0), "Failed to load mesh");
}

TEST(SceneMeshDeathTest, RejectsAPartialTriangle)
{
    const objl::Mesh m = make_objl_mesh({0, 0, 0, 1, 0, 0, 0, 1, 0}, {0, 1, 2, 0});
    EXPECT_EXIT(SceneMesh(std::vector<objl::Mesh>{m}, 1.0f), testing::ExitedWithCode(0), "Failed to load mesh");
}

TEST(SceneMeshDeathTest, RejectsAMeshWithoutTriangles)
{
    const objl::Mesh m = make_objl_mesh({0, 0, 0, 1, 0, 0, 0, 1, 0}, {});
    EXPECT_EXIT(SceneMesh(std::vector<objl::Mesh>{m}, 1.0f), testing::ExitedWithCode(0), "Failed to load mesh");
}

// A resource number with no model behind it.
TEST(SceneMeshDeathTest, RejectsAMissingResource)
{
    EXPECT_EXIT(SceneMesh(9999, 9998, 1.0f), testing::ExitedWithCode(0), "Debug: Failed to load mesh");
}
