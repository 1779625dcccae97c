// OBJ statements into meshes, on literal model texts.
#include "objl/model_reader.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

namespace {

using objl::Vector3;
using Indices = std::vector<std::uint32_t>;

class ObjReader : public ::testing::Test {
protected:
    ObjReader() { reader.set_progress_stream(progress); }

    bool read(std::string_view obj, std::string_view mtl = "") { return reader.read_model_text(obj, mtl); }

    std::ostringstream progress;
    objl::ModelReader reader;
};

void expect_vector(const Vector3& actual, float x, float y, float z)
{
    EXPECT_EQ(actual.x, x);
    EXPECT_EQ(actual.y, y);
    EXPECT_EQ(actual.z, z);
}

// Two triangles over four positions: six corners, never shared.
TEST_F(ObjReader, EveryFaceCornerBecomesItsOwnVertex)
{
    ASSERT_TRUE(read("v 0 0 0\nv 1 0 0\nv 1 1 0\nv 0 1 0\nf 1 2 3\nf 1 3 4\n"));
    ASSERT_EQ(reader.meshes.size(), 1u);
    const objl::Mesh& mesh = reader.meshes[0];
    ASSERT_EQ(mesh.vertices.size(), 6u);
    EXPECT_EQ(mesh.indices, (Indices{0, 1, 2, 3, 4, 5}));
    expect_vector(mesh.vertices[3].position, 0, 0, 0);
    expect_vector(mesh.vertices[5].position, 0, 1, 0);
    EXPECT_EQ(reader.all_vertices.size(), 6u);
    EXPECT_EQ(reader.all_indices, (Indices{0, 1, 2, 3, 4, 5}));
}

TEST_F(ObjReader, PositionOnlyFaceGetsUnnormalisedComputedNormal)
{
    ASSERT_TRUE(read("v 0 0 0\nv 1 0 0\nv 0 1 0\nv 0 0 0\nv 3 0 0\nv 0 2 0\nf 1 2 3\nf 4 6 5\n"));
    const objl::Mesh& mesh = reader.meshes.at(0);
    ASSERT_EQ(mesh.vertices.size(), 6u);
    for (int i = 0; i < 3; ++i) {
        expect_vector(mesh.vertices[i].normal, 0, 0, -1);
        EXPECT_EQ(mesh.vertices[i].tex_coord.x, 0.0f);
        EXPECT_EQ(mesh.vertices[i].tex_coord.y, 0.0f);
    }
    for (int i = 3; i < 6; ++i)
        expect_vector(mesh.vertices[i].normal, 0, 0, 6);  // twice the area, opposite winding
}

TEST_F(ObjReader, GivenNormalsAreTakenAsTheyStand)
{
    ASSERT_TRUE(read("v 0 0 0\nv 1 0 0\nv 0 1 0\nvn 0 0 2\nvn 0 3 0\nf 1//1 2//2 3//1\n"));
    const objl::Mesh& mesh = reader.meshes.at(0);
    expect_vector(mesh.vertices[0].normal, 0, 0, 2);
    expect_vector(mesh.vertices[1].normal, 0, 3, 0);
    expect_vector(mesh.vertices[2].normal, 0, 0, 2);
}

// One corner without a normal makes the whole face use the computed one.
TEST_F(ObjReader, ComputedNormalReplacesGivenOnesWhenAnyCornerLacksOne)
{
    ASSERT_TRUE(read("v 0 0 0\nv 1 0 0\nv 0 1 0\nvt 0.5 0.25\nvn 0 5 0\nf 1/1/1 2/1 3//1\n"));
    const objl::Mesh& mesh = reader.meshes.at(0);
    for (const objl::Vertex& v : mesh.vertices)
        expect_vector(v.normal, 0, 0, -1);
    EXPECT_EQ(mesh.vertices[0].tex_coord.x, 0.5f);
    EXPECT_EQ(mesh.vertices[1].tex_coord.y, 0.25f);
    EXPECT_EQ(mesh.vertices[2].tex_coord.x, 0.0f);
}

TEST_F(ObjReader, NegativeIndicesCountBackFromLastRead)
{
    ASSERT_TRUE(read("v 1 0 0\nv 2 0 0\nv 3 0 0\nf -3 -2 -1\nv 4 0 0\nf -1 -2 -3\n"));
    const objl::Mesh& mesh = reader.meshes.at(0);
    ASSERT_EQ(mesh.vertices.size(), 6u);
    EXPECT_EQ(mesh.vertices[0].position.x, 1.0f);
    EXPECT_EQ(mesh.vertices[1].position.x, 2.0f);
    EXPECT_EQ(mesh.vertices[2].position.x, 3.0f);
    EXPECT_EQ(mesh.vertices[3].position.x, 4.0f);
    EXPECT_EQ(mesh.vertices[5].position.x, 2.0f);
}

TEST_F(ObjReader, ExtraFieldsOfVertexStatementsAreIgnored)
{
    ASSERT_TRUE(read("v 0 0 0 1\nv 1 0 0 1\nv 0 1 0 1\nvt 0.25 0.75 0.0\nf 1/1 2/1 3/1\n"));
    const objl::Mesh& mesh = reader.meshes.at(0);
    expect_vector(mesh.vertices[1].position, 1, 0, 0);
    EXPECT_EQ(mesh.vertices[2].tex_coord.x, 0.25f);
    EXPECT_EQ(mesh.vertices[2].tex_coord.y, 0.75f);
}

TEST_F(ObjReader, QuadFaceGivesFourVerticesAndTwoTriangles)
{
    ASSERT_TRUE(read("v 0 0 0\nv 1 0 0\nv 1 1 0\nv 0 1 0\nf 1 2 3 4\n"));
    const objl::Mesh& mesh = reader.meshes.at(0);
    EXPECT_EQ(mesh.vertices.size(), 4u);
    EXPECT_EQ(mesh.indices, (Indices{0, 1, 3, 1, 2, 3}));
}

TEST_F(ObjReader, CarriageReturnLineEndsReadLikeLineFeeds)
{
    const std::string lf = "mtllib a.mtl\no Part\ng Part\nusemtl white\nv -1.5 0 0\nv 1 0 0.25\nv 0 1 0\n"
                           "vt 0 1\nvn 0 0 1\nf 1/1/1 2/1/1 3/1/1\nf 3 2 1\n";
    std::string crlf;
    for (char c : lf) {
        if (c == '\n')
            crlf += '\r';
        crlf += c;
    }
    const std::string mtl = "newmtl white\nKd 1 1 1\n";
    ASSERT_TRUE(read(lf, mtl));
    const std::vector<objl::Mesh> from_lf = reader.meshes;
    const std::string lf_progress = progress.str();
    progress.str("");
    ASSERT_TRUE(read(crlf, mtl));
    ASSERT_EQ(reader.meshes.size(), from_lf.size());
    const objl::Mesh& a = from_lf[0];
    const objl::Mesh& b = reader.meshes[0];
    EXPECT_EQ(a.name, b.name);
    EXPECT_EQ(b.name, "Part");
    EXPECT_EQ(a.indices, b.indices);
    EXPECT_EQ(a.material.name, b.material.name);
    ASSERT_EQ(a.vertices.size(), b.vertices.size());
    for (std::size_t i = 0; i < a.vertices.size(); ++i) {
        EXPECT_EQ(a.vertices[i].position, b.vertices[i].position);
        EXPECT_EQ(a.vertices[i].normal, b.vertices[i].normal);
        EXPECT_EQ(a.vertices[i].tex_coord.x, b.vertices[i].tex_coord.x);
        EXPECT_EQ(a.vertices[i].tex_coord.y, b.vertices[i].tex_coord.y);
    }
    EXPECT_EQ(lf_progress, progress.str());
}

// A CR takes the character after it along, wherever it stands.
TEST_F(ObjReader, CarriageReturnErasesTheNextCharacterToo)
{
    ASSERT_TRUE(read("o Part\rXone\nv 0 0 0\nv 1 0 0\nv 0 1 0\nf 1 2 3\r\r\n"));
    EXPECT_EQ(reader.meshes.at(0).name, "Partone");
}

TEST_F(ObjReader, ModelWithoutGroupsGivesOneMeshWithEmptyName)
{
    ASSERT_TRUE(read("v 0 0 0\nv 1 0 0\nv 0 1 0\nf 1 2 3\n"));
    ASSERT_EQ(reader.meshes.size(), 1u);
    EXPECT_EQ(reader.meshes[0].name, "");
}

TEST_F(ObjReader, FacesBeforeFirstGroupJoinItsMesh)
{
    ASSERT_TRUE(read("v 0 0 0\nv 1 0 0\nv 0 1 0\nf 1 2 3\ng First\nf 3 2 1\ng Second\nf 1 3 2\n"));
    ASSERT_EQ(reader.meshes.size(), 2u);
    EXPECT_EQ(reader.meshes[0].name, "First");
    EXPECT_EQ(reader.meshes[0].vertices.size(), 6u);
    EXPECT_EQ(reader.meshes[1].name, "Second");
    EXPECT_EQ(reader.meshes[1].vertices.size(), 3u);
}

TEST_F(ObjReader, EachMeshIndexesItsOwnVertices)
{
    ASSERT_TRUE(read("v 0 0 0\nv 1 0 0\nv 0 1 0\no A\nf 1 2 3\no B\nf 1 2 3\nf 1 3 2\n"));
    ASSERT_EQ(reader.meshes.size(), 2u);
    EXPECT_EQ(reader.meshes[0].indices, (Indices{0, 1, 2}));
    EXPECT_EQ(reader.meshes[1].indices, (Indices{0, 1, 2, 3, 4, 5}));
    EXPECT_EQ(reader.all_indices, (Indices{0, 1, 2, 3, 4, 5, 6, 7, 8}));
    EXPECT_EQ(reader.all_vertices.size(), 9u);
}

TEST_F(ObjReader, ObjectLineFollowedByGroupLineMakesOneMeshNamedByTheLater)
{
    ASSERT_TRUE(read("o Outer\ng Inner\nv 0 0 0\nv 1 0 0\nv 0 1 0\nf 1 2 3\n"));
    ASSERT_EQ(reader.meshes.size(), 1u);
    EXPECT_EQ(reader.meshes[0].name, "Inner");
}

// Any line starting with 'g' is a boundary; only "o" and "g" name the group
// before a mesh is open, any such line names the next one after.
TEST_F(ObjReader, LineStartingWithGIsABoundary)
{
    ASSERT_TRUE(read("groups here\nv 0 0 0\nv 1 0 0\nv 0 1 0\nf 1 2 3\ngx Next\nf 1 2 3\n"));
    ASSERT_EQ(reader.meshes.size(), 2u);
    EXPECT_EQ(reader.meshes[0].name, "unnamed");
    EXPECT_EQ(reader.meshes[1].name, "Next");
}

TEST_F(ObjReader, UsemtlInsideAGroupClosesItsMesh)
{
    const std::string mtl = "newmtl red\nKd 1 0 0\nnewmtl blue\nKd 0 0 1\n";
    ASSERT_TRUE(read("mtllib x.mtl\nv 0 0 0\nv 1 0 0\nv 0 1 0\ng Part\nusemtl red\nf 1 2 3\nusemtl blue\nf 1 3 2\n",
                     mtl));
    ASSERT_EQ(reader.meshes.size(), 2u);
    EXPECT_EQ(reader.meshes[0].name, "Part_2");
    EXPECT_EQ(reader.meshes[0].material.name, "red");
    EXPECT_EQ(reader.meshes[0].material.diffuse.x, 1.0f);
    EXPECT_EQ(reader.meshes[1].name, "Part");
    EXPECT_EQ(reader.meshes[1].material.name, "blue");
    EXPECT_EQ(reader.meshes[1].material.diffuse.z, 1.0f);
}

// The k-th "usemtl" names the material of the k-th mesh.
TEST_F(ObjReader, MaterialsBindByPositionAndUnknownNamesKeepDefault)
{
    const std::string mtl = "newmtl known\nNs 7\n";
    ASSERT_TRUE(read("mtllib x.mtl\nv 0 0 0\nv 1 0 0\nv 0 1 0\ng A\nusemtl missing\nf 1 2 3\n"
                     "g B\nusemtl known\nf 1 2 3\ng C\nf 1 2 3\n",
                     mtl));
    ASSERT_EQ(reader.meshes.size(), 3u);
    EXPECT_EQ(reader.meshes[0].material.name, "");
    EXPECT_EQ(reader.meshes[1].material.name, "known");
    EXPECT_EQ(reader.meshes[1].material.specular_exponent, 7.0f);
    EXPECT_EQ(reader.meshes[2].material.name, "");
}

TEST_F(ObjReader, MaterialsNeedAnMtllibStatement)
{
    ASSERT_TRUE(read("usemtl known\nv 0 0 0\nv 1 0 0\nv 0 1 0\nf 1 2 3\n", "newmtl known\nNs 7\n"));
    EXPECT_TRUE(reader.materials.empty());
    EXPECT_EQ(reader.meshes.at(0).material.name, "");
}

TEST_F(ObjReader, ModelWithoutFacesReturnsFalse)
{
    EXPECT_FALSE(read("o Empty\nv 0 0 0\nv 1 0 0\nv 0 1 0\n"));
    EXPECT_TRUE(reader.meshes.empty());
    EXPECT_FALSE(read(""));
}

TEST_F(ObjReader, FaceWithoutReferencesAddsNothing)
{
    ASSERT_TRUE(read("v 0 0 0\nv 1 0 0\nv 0 1 0\nf\nf 1 2 3\nf   \n"));
    EXPECT_EQ(reader.all_vertices.size(), 3u);
    EXPECT_EQ(reader.all_indices, (Indices{0, 1, 2}));
}

// Two corners with normals make no triangle, yet count as read corners.
TEST_F(ObjReader, FaceWithoutTriangleStillAddsItsCorners)
{
    ASSERT_TRUE(read("v 0 0 0\nv 1 0 0\nvn 0 0 1\nf 1//1 2//1\n"));
    EXPECT_EQ(reader.all_vertices.size(), 2u);
    EXPECT_TRUE(reader.all_indices.empty());
    EXPECT_TRUE(reader.meshes.empty());
}

TEST_F(ObjReader, EachMtllibReadsTheMaterialsAgain)
{
    const std::string mtl = "newmtl white\nKd 1 1 1\n";
    ASSERT_TRUE(read("mtllib a.mtl\nmtllib b.mtl\nusemtl white\nv 0 0 0\nv 1 0 0\nv 0 1 0\nf 1 2 3\n", mtl));
    ASSERT_EQ(reader.materials.size(), 2u);
    EXPECT_EQ(reader.materials[1].name, "white");
    EXPECT_EQ(reader.meshes.at(0).material.name, "white");
    EXPECT_EQ(reader.meshes.at(0).material.diffuse.y, 1.0f);
}

TEST_F(ObjReader, SecondReadReplacesMeshesButKeepsMaterials)
{
    ASSERT_TRUE(read("mtllib a.mtl\nusemtl first\nv 0 0 0\nv 1 0 0\nv 0 1 0\nf 1 2 3\nf 1 3 2\n", "newmtl first\n"));
    ASSERT_TRUE(read("mtllib a.mtl\nusemtl second\nv 0 0 0\nv 1 0 0\nv 0 1 0\nf 1 2 3\n", "newmtl second\n"));
    ASSERT_EQ(reader.meshes.size(), 1u);
    EXPECT_EQ(reader.meshes[0].vertices.size(), 3u);
    EXPECT_EQ(reader.all_vertices.size(), 3u);
    EXPECT_EQ(reader.all_indices.size(), 3u);
    EXPECT_EQ(reader.meshes[0].material.name, "second");
    ASSERT_EQ(reader.materials.size(), 2u);
    EXPECT_EQ(reader.materials[0].name, "first");
    EXPECT_EQ(reader.materials[1].name, "second");
}

TEST_F(ObjReader, UnknownStatementsAndCommentsAreSkipped)
{
    ASSERT_TRUE(read("# comment\ns off\nl 1 2\n\nv 0 0 0\nv 1 0 0\nv 0 1 0\nvp 1 2\nf 1 2 3\n"));
    EXPECT_EQ(reader.all_vertices.size(), 3u);
}

// A face may name positions read so far only; later ones do not count yet.
TEST_F(ObjReader, IndicesReferToElementsReadBeforeTheFace)
{
    EXPECT_FALSE(read("v 0 0 0\nv 1 0 0\nf 1 2 3\nv 0 1 0\n"));
}

TEST_F(ObjReader, BuildFaceVerticesResolvesEveryReferenceKind)
{
    objl::ElementLists lists;
    lists.position_list = {{1, 0, 0}, {0, 2, 0}, {0, 0, 3}};
    lists.tex_coord_list = {{0.5f, 0.25f}};
    lists.normal_list = {{0, 0, 9}};
    std::vector<objl::Vertex> corners;
    ASSERT_TRUE(objl::ModelReader::build_face_vertices("f 1/1/1 2//1 -1/-1/-1", lists, &corners));
    ASSERT_EQ(corners.size(), 3u);
    expect_vector(corners[0].normal, 0, 0, 9);
    EXPECT_EQ(corners[0].tex_coord.x, 0.5f);
    EXPECT_EQ(corners[1].tex_coord.x, 0.0f);
    expect_vector(corners[2].position, 0, 0, 3);
    EXPECT_EQ(corners[2].tex_coord.y, 0.25f);
}

} // namespace
