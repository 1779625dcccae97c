// MTL statements into materials, on literal material texts.
#include "objl/model_reader.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>

namespace {

void expect_colour(const objl::Vector3& actual, float x, float y, float z)
{
    EXPECT_EQ(actual.x, x);
    EXPECT_EQ(actual.y, y);
    EXPECT_EQ(actual.z, z);
}

TEST(MtlReader, ReadsEveryFieldOfOneMaterialWithCrLfLines)
{
    objl::ModelReader reader;
    ASSERT_TRUE(reader.read_materials_text("# made by hand\r\n\r\nnewmtl wire_1\r\n\tNs 32.0000\r\n\tNi 1.5\r\n"
                                           "\td 0.5000\r\n\tTr 0.0000\r\n\tTf 1.0 1.0 1.0\r\n\tillum 2\r\n"
                                           "\tKa 0.7765 0.8824 0.3412\r\n\tKd 0.1 0.2 0.3\r\n\tKs 0.3500 0.3500 0.3500\r\n"
                                           "\tKe 9 9 9\r\n"));
    ASSERT_EQ(reader.materials.size(), 1u);
    const objl::Material& m = reader.materials[0];
    EXPECT_EQ(m.name, "wire_1");
    EXPECT_EQ(m.specular_exponent, 32.0f);
    EXPECT_EQ(m.optical_density, 1.5f);
    EXPECT_EQ(m.dissolve, 0.5f);
    EXPECT_EQ(m.illumination, 2);
    expect_colour(m.ambient, 0.7765f, 0.8824f, 0.3412f);
    expect_colour(m.diffuse, 0.1f, 0.2f, 0.3f);
    expect_colour(m.specular, 0.35f, 0.35f, 0.35f);
    EXPECT_EQ(m.diffuse_map, "");
    EXPECT_EQ(m.bump_map, "");
}

TEST(MtlReader, MapStatementsKeepTheirArgumentsUnchanged)
{
    objl::ModelReader reader;
    ASSERT_TRUE(reader.read_materials_text("newmtl m\nmap_Ka a.png\nmap_Kd  b c.png \nmap_Ks s.png\r\n"
                                           "map_Ns n.png\nmap_d d.png\nbump first.png\n"));
    const objl::Material& m = reader.materials.at(0);
    EXPECT_EQ(m.ambient_map, "a.png");
    EXPECT_EQ(m.diffuse_map, "b c.png");
    EXPECT_EQ(m.specular_map, "s.png\r");  // only the name trims line breaks
    EXPECT_EQ(m.specular_exponent_map, "n.png");
    EXPECT_EQ(m.dissolve_map, "d.png");
    EXPECT_EQ(m.bump_map, "first.png");
}

TEST(MtlReader, BumpKeywordsAreEquivalentAndLaterWins)
{
    objl::ModelReader reader;
    ASSERT_TRUE(reader.read_materials_text("newmtl a\nmap_Bump one\nnewmtl b\nbump two\nmap_bump three\n"));
    ASSERT_EQ(reader.materials.size(), 2u);
    EXPECT_EQ(reader.materials[0].bump_map, "one");
    EXPECT_EQ(reader.materials[1].bump_map, "three");
}

TEST(MtlReader, ShortNewmtlLineNamesTheMaterialNone)
{
    objl::ModelReader reader;
    ASSERT_TRUE(reader.read_materials_text("newmtl\nnewmtl\r\nnewmtl x\n"));
    ASSERT_EQ(reader.materials.size(), 3u);
    EXPECT_EQ(reader.materials[0].name, "none");
    EXPECT_EQ(reader.materials[1].name, "none");
    EXPECT_EQ(reader.materials[2].name, "x");
}

// A keyword followed directly by the CR of a CR LF line is no keyword this
// reader knows: the line is skipped instead of failing on an empty number.
// Only a bare "newmtl" still starts a material, named "none".
TEST(MtlReader, KeywordAloneBeforeCrIsIgnored)
{
    const std::string values = "newmtl m\r\nNs 7\r\nNi 1.5\r\nd 0.5\r\nillum 2\r\nmap_Kd k.png\r\n";
    const auto fields = [](const objl::Material& m) {
        return std::make_tuple(m.name, m.specular_exponent, m.optical_density, m.dissolve, m.illumination,
                               m.diffuse_map, m.bump_map);
    };
    objl::ModelReader plain, with_bare_keywords;
    ASSERT_TRUE(plain.read_materials_text(values));
    ASSERT_TRUE(with_bare_keywords.read_materials_text(values + "Ns\r\nNi\r\nd\r\nillum\r\nmap_Kd\r\nKa\r\nbump\r\n"
                                                                "newmtl\r\nd\r\n"));
    EXPECT_EQ(fields(plain.materials.at(0)), std::make_tuple(std::string("m"), 7.0f, 1.5f, 0.5f, 2,
                                                             std::string("k.png\r"), std::string()));
    ASSERT_EQ(with_bare_keywords.materials.size(), 2u);
    EXPECT_EQ(fields(with_bare_keywords.materials[0]), fields(plain.materials[0]));
    EXPECT_EQ(with_bare_keywords.materials[1].name, "none");
    EXPECT_EQ(with_bare_keywords.materials[1].dissolve, 0.0f);
}

TEST(MtlReader, TwoBlocksGiveTwoMaterialsAndTheSecondStartsFromDefaults)
{
    objl::ModelReader reader;
    ASSERT_TRUE(reader.read_materials_text("newmtl first\nNs 10\nKd 1 1 1\nnewmtl second\nd 1\n"));
    ASSERT_EQ(reader.materials.size(), 2u);
    EXPECT_EQ(reader.materials[0].name, "first");
    EXPECT_EQ(reader.materials[0].specular_exponent, 10.0f);
    EXPECT_EQ(reader.materials[1].name, "second");
    EXPECT_EQ(reader.materials[1].specular_exponent, 0.0f);
    expect_colour(reader.materials[1].diffuse, 0, 0, 0);
    EXPECT_EQ(reader.materials[1].dissolve, 1.0f);
}

TEST(MtlReader, ColourWithoutExactlyThreeFieldsIsIgnored)
{
    objl::ModelReader reader;
    ASSERT_TRUE(reader.read_materials_text("newmtl m\nKa 0.5 0.25 0.125\nKa 1 1\nKd 1 1 1 1\nKs 1 1 1 \r\n"));
    const objl::Material& m = reader.materials.at(0);
    expect_colour(m.ambient, 0.5f, 0.25f, 0.125f);
    expect_colour(m.diffuse, 0, 0, 0);
    expect_colour(m.specular, 0, 0, 0);  // blank before the CR makes a fourth field
}

TEST(MtlReader, TextWithoutNewmtlGivesOneUnnamedMaterial)
{
    objl::ModelReader reader;
    ASSERT_TRUE(reader.read_materials_text("Ns 4\nillum 1\n"));
    ASSERT_EQ(reader.materials.size(), 1u);
    EXPECT_EQ(reader.materials[0].name, "");
    EXPECT_EQ(reader.materials[0].specular_exponent, 4.0f);
    EXPECT_EQ(reader.materials[0].illumination, 1);
}

TEST(MtlReader, EmptyTextGivesOneDefaultMaterial)
{
    objl::ModelReader reader;
    ASSERT_TRUE(reader.read_materials_text(""));
    ASSERT_EQ(reader.materials.size(), 1u);
    EXPECT_EQ(reader.materials[0].name, "");
    EXPECT_EQ(reader.materials[0].dissolve, 0.0f);
}

TEST(MtlReader, StatementsBeforeFirstNewmtlFillTheFirstMaterial)
{
    objl::ModelReader reader;
    ASSERT_TRUE(reader.read_materials_text("Ns 3\nnewmtl named\n"));
    ASSERT_EQ(reader.materials.size(), 1u);
    EXPECT_EQ(reader.materials[0].name, "named");
    EXPECT_EQ(reader.materials[0].specular_exponent, 3.0f);
}

TEST(MtlReader, EachCallAppends)
{
    objl::ModelReader reader;
    ASSERT_TRUE(reader.read_materials_text("newmtl a\n"));
    ASSERT_TRUE(reader.read_materials_text("newmtl b\nnewmtl c\n"));
    ASSERT_EQ(reader.materials.size(), 3u);
    EXPECT_EQ(reader.materials[2].name, "c");
}

TEST(MtlReader, RejectedTextAppendsNothing)
{
    objl::ModelReader reader;
    ASSERT_TRUE(reader.read_materials_text("newmtl kept\n"));
    EXPECT_FALSE(reader.read_materials_text("newmtl a\nNs 1\nnewmtl b\nd opaque\n"));
    EXPECT_FALSE(reader.read_materials_text("newmtl a\nNi\n"));
    EXPECT_FALSE(reader.read_materials_text("newmtl a\nillum two\n"));
    EXPECT_FALSE(reader.read_materials_text("newmtl a\nKs 1 1 one\n"));
    ASSERT_EQ(reader.materials.size(), 1u);
    EXPECT_EQ(reader.materials[0].name, "kept");
}

TEST(MtlReader, MissingResourceReadsAsEmptyText)
{
    objl::ModelReader reader;
    ASSERT_TRUE(reader.read_materials(65000));
    ASSERT_EQ(reader.materials.size(), 1u);
    EXPECT_EQ(reader.materials[0].name, "");
}

} // namespace
