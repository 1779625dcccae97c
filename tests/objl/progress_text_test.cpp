// The reader's progress text, character for character.
#include "objl/model_reader.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

namespace {

std::string progress_line(const std::string& name, int positions, int triangles, const std::string& material)
{
    std::string line = "\r- " + name + "\t| vertices > " + std::to_string(positions) +
                       "\t| texcoords > 0\t| normals > 0\t| triangles > " + std::to_string(triangles);
    if (!material.empty())
        line += "\t| material: " + material;
    return line;
}

// Shaped like our model resources: mtllib, o, g, usemtl, then data.
TEST(ProgressText, MatchesForAModelShapedLikeOurResources)
{
    objl::ModelReader reader;
    std::ostringstream out;
    reader.set_progress_stream(out);
    ASSERT_TRUE(reader.read_model_text("mtllib f.mtl\no Flake\ng Flake\nusemtl white\nv 0 0 0\nv 1 0 0\nv 0 1 0\n"
                                       "f 1 2 3\n",
                                       "newmtl white\n"));
    const std::string expected = "\n" + progress_line("Flake", 0, 0, "") + "\n" + progress_line("Flake", 0, 0, "") +
                                 progress_line("Flake", 0, 0, "white") + "\n";
    EXPECT_EQ(out.str(), expected);
}

TEST(ProgressText, RepeatsEveryThousandLinesAfterAMaterialChange)
{
    std::string obj = "o A\nusemtl m\n";
    for (int i = 0; i < 1001; ++i)
        obj += "v 0 0 0\n";
    obj += "f 1 2 3\nf 1 2 3\n";
    objl::ModelReader reader;
    std::ostringstream out;
    reader.set_progress_stream(out);
    ASSERT_TRUE(reader.read_model_text(obj, ""));
    const std::string expected =
        "\n" + progress_line("A", 0, 0, "") + progress_line("A", 0, 0, "m") + progress_line("A", 1000, 0, "m") + "\n";
    EXPECT_EQ(out.str(), expected);
}

TEST(ProgressText, CountsTrianglesOfTheCurrentMeshAndTexCoordsAndNormals)
{
    std::string obj = "v 0 0 0\nv 1 0 0\nv 0 1 0\nvt 0 0\nvn 0 0 1\nf 1 2 3\nf 1 2 3\ng Named\n";
    for (int i = 0; i < 1001; ++i)
        obj += "f 1 2 3\n";
    objl::ModelReader reader;
    std::ostringstream out;
    reader.set_progress_stream(out);
    ASSERT_TRUE(reader.read_model_text(obj, ""));
    // Faces before the group stay in its mesh: 2 of them, then 2 + 1000 when
    // the 1001st line after the group comes up.
    const std::string expected = "\n\r- Named\t| vertices > 3\t| texcoords > 1\t| normals > 1\t| triangles > 2"
                                 "\r- Named\t| vertices > 3\t| texcoords > 1\t| normals > 1\t| triangles > 1002\n";
    EXPECT_EQ(out.str(), expected);
}

TEST(ProgressText, UnnamedMeshWritesOnlyLineEnds)
{
    objl::ModelReader reader;
    std::ostringstream out;
    reader.set_progress_stream(out);
    ASSERT_TRUE(reader.read_model_text("v 0 0 0\nv 1 0 0\nv 0 1 0\nf 1 2 3\ng\nf 1 2 3\n", ""));
    EXPECT_EQ(out.str(), "\n\n");
}

} // namespace
