// Input outside what our resources contain: each case rejects the whole
// model, leaving no mesh, vertex or index behind.
#include "objl/model_reader.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

namespace {

const char* const triangle = "v 0 0 0\nv 1 0 0\nv 0 1 0\n";

class MalformedModel : public ::testing::Test {
protected:
    MalformedModel() { reader.set_progress_stream(progress); }

    // Reads `obj` after a well-formed model was read, so that a rejection
    // visibly drops the earlier meshes too.
    void expect_rejected(const std::string& obj, const std::string& mtl = "")
    {
        ASSERT_TRUE(reader.read_model_text(std::string(triangle) + "f 1 2 3\n", ""));
        EXPECT_FALSE(reader.read_model_text(obj, mtl)) << obj;
        EXPECT_TRUE(reader.meshes.empty()) << obj;
        EXPECT_TRUE(reader.all_vertices.empty()) << obj;
        EXPECT_TRUE(reader.all_indices.empty()) << obj;
    }

    std::ostringstream progress;
    objl::ModelReader reader;
};

TEST_F(MalformedModel, RejectsIndexZero)
{
    expect_rejected(std::string(triangle) + "f 0 1 2\n");
}

TEST_F(MalformedModel, RejectsIndexBeyondPositions)
{
    expect_rejected(std::string(triangle) + "f 1 2 4\n");
    expect_rejected(std::string(triangle) + "f -4 -2 -1\n");
    expect_rejected(std::string(triangle) + "f 1 2 99999999999\n");
}

TEST_F(MalformedModel, RejectsIndexBeyondTexCoordsOrNormals)
{
    expect_rejected(std::string(triangle) + "vt 0 0\nf 1/1 2/2 3/1\n");
    expect_rejected(std::string(triangle) + "f 1/1 2/1 3/1\n");
    expect_rejected(std::string(triangle) + "vn 0 0 1\nf 1//1 2//2 3//1\n");
    expect_rejected(std::string(triangle) + "vt 0 0\nvn 0 0 1\nf 1/1/1 2/1/-2 3/1/1\n");
}

TEST_F(MalformedModel, RejectsIndexThatDoesNotConvert)
{
    expect_rejected(std::string(triangle) + "f 1 two 3\n");
    expect_rejected(std::string(triangle) + "f 1/ 2/x 3\n");
    expect_rejected(std::string(triangle) + "f /1 2 3\n");
    expect_rejected(std::string(triangle) + "vn 0 0 1\nf 1 2// 3//1\n");
}

TEST_F(MalformedModel, RejectsNumberThatDoesNotConvert)
{
    expect_rejected("v 0 0 0\nv 1 zero 0\nv 0 1 0\nf 1 2 3\n");
    expect_rejected(std::string(triangle) + "vt 0 .\nf 1/1 2/1 3/1\n");
    expect_rejected(std::string(triangle) + "vn 0 0 1e999\nf 1//1 2//1 3//1\n");
}

// Two blanks in a row leave an empty field where a number must be.
TEST_F(MalformedModel, RejectsDoubledBlankBetweenCoordinates)
{
    expect_rejected("v 0  0 0\nv 1 0 0\nv 0 1 0\nf 1 2 3\n");
}

TEST_F(MalformedModel, RejectsVertexStatementsWithTooFewFields)
{
    expect_rejected("v 0 0\nv 1 0 0\nv 0 1 0\nf 1 2 3\n");
    expect_rejected(std::string(triangle) + "vn 0 1\nf 1//1 2//1 3//1\n");
    expect_rejected(std::string(triangle) + "vt 0\nf 1/1 2/1 3/1\n");
    expect_rejected(std::string(triangle) + "v\nf 1 2 3\n");
}

TEST_F(MalformedModel, RejectsCornerReferenceWithoutField)
{
    expect_rejected(std::string(triangle) + "f 1  2 3\n");
}

TEST_F(MalformedModel, RejectsCornerReferenceWithMoreThanThreeFields)
{
    expect_rejected(std::string(triangle) + "vt 0 0\nvn 0 0 1\nf 1/1/1/1 2/1/1 3/1/1\n");
}

TEST_F(MalformedModel, RejectsFaceTooSmallForItsComputedNormal)
{
    expect_rejected(std::string(triangle) + "f 1 2\n");
    expect_rejected(std::string(triangle) + "vt 0 0\nf 1/1\n");
}

TEST_F(MalformedModel, RejectsMoreMaterialNamesThanMeshes)
{
    expect_rejected(std::string("usemtl a\nusemtl b\n") + triangle + "f 1 2 3\n");
}

TEST_F(MalformedModel, RejectsMaterialValueThatDoesNotConvert)
{
    const std::string obj = std::string("mtllib m.mtl\nusemtl m\n") + triangle + "f 1 2 3\n";
    expect_rejected(obj, "newmtl m\nNs high\n");
    expect_rejected(obj, "newmtl m\nKd 1 x 1\n");
    expect_rejected(obj, "newmtl m\nillum 9999999999\n");
}

// A material text that only the model would read does no harm unread.
TEST_F(MalformedModel, UnreadMaterialTextDoesNotReject)
{
    EXPECT_TRUE(reader.read_model_text(std::string(triangle) + "f 1 2 3\n", "Ns high\n"));
}

// Repeated positions are not malformed: each triangle keeps three distinct
// corner numbers of its own face.
TEST_F(MalformedModel, FaceRepeatingAPositionKeepsTrianglesInsideTheFace)
{
    ASSERT_TRUE(reader.read_model_text("v 0 0 0\nv 1 0 0\nv 1 1 0\nv 0 1 0\nf 1 2 3\nf 1 2 3 4 1 3\n", ""));
    const objl::Mesh& mesh = reader.meshes.at(0);
    ASSERT_EQ(mesh.vertices.size(), 9u);
    ASSERT_EQ(mesh.indices.size(), 3u + 4u * 3u);
    for (std::size_t t = 3; t < mesh.indices.size(); t += 3) {
        for (std::size_t k = 0; k < 3; ++k) {
            EXPECT_GE(mesh.indices[t + k], 3u);
            EXPECT_LT(mesh.indices[t + k], 9u);
        }
        EXPECT_NE(mesh.indices[t], mesh.indices[t + 1]);
        EXPECT_NE(mesh.indices[t + 1], mesh.indices[t + 2]);
        EXPECT_NE(mesh.indices[t], mesh.indices[t + 2]);
    }
}

} // namespace
