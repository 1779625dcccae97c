// The real model resources, loaded by number as the scene loads them.
#include "objl/model_reader.h"

#include <gtest/gtest.h>

#include <cmath>
#include <sstream>

namespace {

class ResourceModel : public ::testing::Test {
protected:
    ResourceModel() { reader.set_progress_stream(progress); }

    std::ostringstream progress;
    objl::ModelReader reader;
};

void expect_near(const objl::Vector3& actual, float x, float y, float z)
{
    EXPECT_NEAR(actual.x, x, 1e-6f);
    EXPECT_NEAR(actual.y, y, 1e-6f);
    EXPECT_NEAR(actual.z, z, 1e-6f);
}

TEST_F(ResourceModel, RectangleIsOneMeshOfTwoTexturedTriangles)
{
    ASSERT_TRUE(reader.read_model(141, 140));
    ASSERT_EQ(reader.meshes.size(), 1u);
    const objl::Mesh& mesh = reader.meshes[0];
    EXPECT_EQ(mesh.name, "Plane001");
    ASSERT_EQ(mesh.vertices.size(), 6u);
    EXPECT_EQ(mesh.indices, (std::vector<std::uint32_t>{0, 1, 2, 3, 4, 5}));
    for (const objl::Vertex& v : mesh.vertices) {
        expect_near(v.normal, 0, 0, 1);
        EXPECT_EQ(v.position.z, 0.0f);
    }
    // Faces 1/1/1 2/2/1 3/3/1 and 4/4/1 3/3/1 2/2/1.
    expect_near(mesh.vertices[0].position, -2.5f, 2.3698f, 0);
    EXPECT_EQ(mesh.vertices[0].tex_coord.x, 0.0f);
    EXPECT_EQ(mesh.vertices[0].tex_coord.y, 1.0f);
    expect_near(mesh.vertices[1].position, -2.5f, -2.6302f, 0);
    EXPECT_EQ(mesh.vertices[1].tex_coord.y, 0.0f);
    expect_near(mesh.vertices[3].position, 2.5f, -2.6302f, 0);
    EXPECT_EQ(mesh.vertices[3].tex_coord.x, 1.0f);
    EXPECT_EQ(mesh.vertices[3].tex_coord.y, 0.0f);
    expect_near(mesh.vertices[5].position, -2.5f, -2.6302f, 0);
}

TEST_F(ResourceModel, RectangleCarriesItsWireMaterial)
{
    ASSERT_TRUE(reader.read_model(141, 140));
    const objl::Material& m = reader.meshes.at(0).material;
    EXPECT_EQ(m.name, "wire_198225087");
    EXPECT_EQ(m.specular_exponent, 32.0f);
    EXPECT_EQ(m.dissolve, 1.0f);
    EXPECT_EQ(m.illumination, 2);
    EXPECT_EQ(m.optical_density, 0.0f);
    expect_near(m.ambient, 0.7765f, 0.8824f, 0.3412f);
    expect_near(m.diffuse, 0.7765f, 0.8824f, 0.3412f);
    expect_near(m.specular, 0.35f, 0.35f, 0.35f);
    EXPECT_EQ(m.ambient_map, "");
    EXPECT_EQ(m.diffuse_map, "");
    EXPECT_EQ(m.specular_map, "");
    EXPECT_EQ(m.specular_exponent_map, "");
    EXPECT_EQ(m.dissolve_map, "");
    EXPECT_EQ(m.bump_map, "");
    ASSERT_EQ(reader.materials.size(), 1u);
}

// Only the low 16 bits of a resource number count.
TEST_F(ResourceModel, ResourceNumbersUseTheirLow16Bits)
{
    ASSERT_TRUE(reader.read_model(0x10000u + 141, 0x30000u + 140));
    EXPECT_EQ(reader.meshes.at(0).material.name, "wire_198225087");
}

TEST_F(ResourceModel, MissingResourceGivesNoModel)
{
    EXPECT_FALSE(reader.read_model(65001, 65002));
    EXPECT_TRUE(reader.meshes.empty());
}

TEST_F(ResourceModel, FirstSnowflakeIsOneMeshOfPositionOnlyTriangles)
{
    ASSERT_TRUE(reader.read_model(143, 142));
    ASSERT_EQ(reader.meshes.size(), 1u);
    const objl::Mesh& mesh = reader.meshes[0];
    ASSERT_FALSE(mesh.vertices.empty());
    ASSERT_EQ(mesh.vertices.size() % 3, 0u);
    ASSERT_EQ(mesh.indices.size(), mesh.vertices.size());
    for (std::size_t i = 0; i < mesh.indices.size(); ++i)
        ASSERT_EQ(mesh.indices[i], i);
    for (std::size_t t = 0; t < mesh.vertices.size(); t += 3) {
        const objl::Vertex& a = mesh.vertices[t];
        const objl::Vertex& b = mesh.vertices[t + 1];
        const objl::Vertex& c = mesh.vertices[t + 2];
        const objl::Vector3 normal = objl::cross_product(a.position - b.position, c.position - b.position);
        for (const objl::Vertex* v : {&a, &b, &c}) {
            ASSERT_EQ(v->normal, normal) << "triangle " << t / 3;
            EXPECT_EQ(v->tex_coord.x, 0.0f);
            EXPECT_EQ(v->tex_coord.y, 0.0f);
        }
    }
    EXPECT_EQ(mesh.material.name, "_null_");
    EXPECT_EQ(mesh.material.specular_exponent, 10.0f);
    EXPECT_EQ(mesh.material.optical_density, 1.5f);
    EXPECT_EQ(mesh.material.dissolve, 1.0f);
    EXPECT_EQ(mesh.material.illumination, 2);
    expect_near(mesh.material.ambient, 1, 1, 1);
    expect_near(mesh.material.diffuse, 1, 1, 1);
    expect_near(mesh.material.specular, 0, 0, 0);
}

// Every model of the scene loads into one mesh with one triangle per "f"
// line of the catalogue.
TEST_F(ResourceModel, EverySceneModelLoadsWithItsTriangleCount)
{
    struct Expected {
        std::uint32_t obj_id;
        std::size_t triangles;
    };
    const Expected models[] = {{141, 2},    {143, 2878}, {145, 4186}, {147, 2628}, {149, 2058},
                               {151, 240}, {153, 420},  {155, 1052}, {157, 3198}};
    for (const Expected& model : models) {
        ASSERT_TRUE(reader.read_model(model.obj_id, model.obj_id - 1)) << model.obj_id;
        ASSERT_EQ(reader.meshes.size(), 1u) << model.obj_id;
        EXPECT_EQ(reader.meshes[0].indices.size(), 3 * model.triangles) << model.obj_id;
        EXPECT_EQ(reader.meshes[0].vertices.size(), 3 * model.triangles) << model.obj_id;
        EXPECT_FALSE(reader.meshes[0].material.name.empty()) << model.obj_id;
    }
}

} // namespace
