// The GPU side of a batch: attribute table, binding, upload and re-upload,
// checked through the GL calls made and the buffer contents read back.
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "gl_window.h"
#include "mesh_fixtures.h"
#include "render/shader_program.h"
#include "snow/batch_buffer.h"
#include "snow/random.h"
#include "snow/snowflake_batch.h"

namespace {

// Calls recorded through the loader's function pointers.
std::vector<GLuint> pointer_locations;
std::vector<GLint> pointer_sizes;
std::vector<std::intptr_t> pointer_offsets;
std::vector<GLsizei> pointer_strides;
int enables = 0;
PFNGLVERTEXATTRIBPOINTERPROC real_attrib_pointer = nullptr;
PFNGLENABLEVERTEXATTRIBARRAYPROC real_enable = nullptr;

void APIENTRY recording_attrib_pointer(GLuint index, GLint size, GLenum type, GLboolean normalized, GLsizei stride,
                                       const void* pointer)
{
    pointer_locations.push_back(index);
    pointer_sizes.push_back(size);
    pointer_strides.push_back(stride);
    pointer_offsets.push_back(reinterpret_cast<std::intptr_t>(pointer));
    real_attrib_pointer(index, size, type, normalized, stride, pointer);
}

void APIENTRY recording_enable(GLuint index)
{
    ++enables;
    real_enable(index);
}

std::vector<unsigned char> buffer_contents(GLenum target, GLuint buffer, int bytes)
{
    std::vector<unsigned char> out(bytes);
    glBindBuffer(target, buffer);
    glGetBufferSubData(target, 0, bytes, out.data());
    return out;
}

void register_particle_attributes(BatchBuffer& buffer, ShaderProgram& program)
{
    buffer.add_attribute(program, "position", 3, 0);
    buffer.add_attribute(program, "position_translation", 3, 17);
    buffer.add_attribute(program, "position_tex", 2, 3);
    buffer.add_attribute(program, "position_normal", 3, 5);
    buffer.add_attribute(program, "move_direction", 3, 8);
    buffer.add_attribute(program, "rotation_angles", 3, 11);
    buffer.add_attribute(program, "time_start_finish_zero", 3, 14);
}

class BatchBufferGl : public testing::Test {
protected:
    static void SetUpTestSuite()
    {
        window = open_scene_test_window(8, 8);
        if (!window)
            return;
        flake_program = new ShaderProgram(105, 106);
        quad_program = new ShaderProgram(139, 138);
        real_attrib_pointer = glad_glVertexAttribPointer;
        real_enable = glad_glEnableVertexAttribArray;
        glad_glVertexAttribPointer = recording_attrib_pointer;
        glad_glEnableVertexAttribArray = recording_enable;
    }

    static void TearDownTestSuite()
    {
        if (real_attrib_pointer) {
            glad_glVertexAttribPointer = real_attrib_pointer;
            glad_glEnableVertexAttribArray = real_enable;
        }
    }

    void SetUp() override
    {
        ASSERT_NE(window, nullptr) << "no GL window (is DISPLAY set?)";
        clear_records();
    }

    static void clear_records()
    {
        pointer_locations.clear();
        pointer_sizes.clear();
        pointer_offsets.clear();
        pointer_strides.clear();
        enables = 0;
    }

    static GLFWwindow* window;
    static ShaderProgram* flake_program;
    static ShaderProgram* quad_program;
};

GLFWwindow* BatchBufferGl::window = nullptr;
ShaderProgram* BatchBufferGl::flake_program = nullptr;
ShaderProgram* BatchBufferGl::quad_program = nullptr;

} // namespace

TEST_F(BatchBufferGl, GeneratesTwoDistinctBuffers)
{
    BatchBuffer buffer;
    EXPECT_NE(buffer.vertex_buffer(), 0u);
    EXPECT_NE(buffer.index_buffer(), 0u);
    EXPECT_NE(buffer.vertex_buffer(), buffer.index_buffer());
}

// A second registration of a name keeps the first location, size and offset.
TEST_F(BatchBufferGl, AddAttributeKeepsTheFirstRegistration)
{
    BatchBuffer buffer;
    buffer.add_attribute(*flake_program, "position", 3, 0);
    buffer.add_attribute(*flake_program, "position", 2, 9);
    EXPECT_EQ(buffer.attribute_sizes().at("position"), 3);
    EXPECT_EQ(buffer.attribute_offsets().at("position"), 0);
    EXPECT_EQ(buffer.attribute_locations().at("position"), flake_program->attribute_location("position"));
    EXPECT_EQ(buffer.attribute_locations().size(), 1u);
}

// Pointers are set in name order, not registration order, with byte
// offsets and an 80-byte stride. (The flake program reads every attribute
// but the texture coordinate, which its fragment source ignores.)
TEST_F(BatchBufferGl, AppliesAttributesInNameOrder)
{
    BatchBuffer buffer;
    buffer.set_vertex_data(80, nullptr, 20);
    register_particle_attributes(buffer, *flake_program);
    clear_records();
    buffer.bind_for_draw();
    const char* in_name_order[] = {"move_direction", "position", "position_normal", "position_tex",
                                   "position_translation", "rotation_angles", "time_start_finish_zero"};
    const int offsets[] = {8, 0, 5, 3, 17, 11, 14};
    const int sizes[] = {3, 3, 3, 2, 3, 3, 3};
    std::size_t k = 0;
    for (int n = 0; n < 7; ++n) {
        const GLint location = flake_program->attribute_location(in_name_order[n]);
        if (location < 0)
            continue;
        ASSERT_LT(k, pointer_locations.size()) << in_name_order[n];
        EXPECT_EQ(static_cast<GLint>(pointer_locations[k]), location) << in_name_order[n];
        EXPECT_EQ(pointer_offsets[k], offsets[n] * 4) << in_name_order[n];
        EXPECT_EQ(pointer_sizes[k], sizes[n]) << in_name_order[n];
        EXPECT_EQ(pointer_strides[k], 80) << in_name_order[n];
        ++k;
    }
    EXPECT_GE(k, 6u);
    EXPECT_EQ(pointer_locations.size(), k);
    EXPECT_EQ(enables, static_cast<int>(k));
}

// The quad program reads neither normals nor spin: those two are not fed.
TEST_F(BatchBufferGl, SkipsAttributesTheProgramDoesNotRead)
{
    BatchBuffer buffer;
    buffer.set_vertex_data(80, nullptr, 20);
    register_particle_attributes(buffer, *quad_program);
    EXPECT_EQ(buffer.attribute_locations().at("rotation_angles"), -1);
    EXPECT_EQ(buffer.attribute_locations().at("position_normal"), -1);
    clear_records();
    buffer.apply_attributes();
    EXPECT_EQ(pointer_locations.size(), 5u);
    EXPECT_EQ(enables, 5);
}

TEST_F(BatchBufferGl, BindBindsVertexThenIndexBuffer)
{
    BatchBuffer buffer;
    glBindBuffer(GL_ARRAY_BUFFER, 0);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, 0);
    buffer.bind();
    GLint array = 0, element = 0;
    glGetIntegerv(GL_ARRAY_BUFFER_BINDING, &array);
    glGetIntegerv(GL_ELEMENT_ARRAY_BUFFER_BINDING, &element);
    EXPECT_EQ(static_cast<GLuint>(array), buffer.vertex_buffer());
    EXPECT_EQ(static_cast<GLuint>(element), buffer.index_buffer());
}

// upload sends both arrays whole; after a respawn, reupload sends the new
// slot while the other slots arrive bit for bit unchanged, and no
// attribute pointer is touched.
TEST_F(BatchBufferGl, ReuploadSendsTheRefilledSlotAndKeepsTheRest)
{
    SnowflakeBatch batch(make_square_mesh(), 3, ParticleKind::Flake);
    seed_random(21);
    batch.spawn(0.0f, 2);
    BatchBuffer buffer;
    buffer.set_vertex_data(batch.vertex_bytes(), batch.vertex_data(), batch.stride());
    buffer.set_index_data(batch.index_bytes(), batch.index_data(), batch.index_count());
    register_particle_attributes(buffer, *flake_program);
    buffer.upload();
    EXPECT_EQ(buffer.index_count(), 18);
    std::vector<unsigned char> vertices = buffer_contents(GL_ARRAY_BUFFER, buffer.vertex_buffer(), batch.vertex_bytes());
    std::vector<unsigned char> indices =
        buffer_contents(GL_ELEMENT_ARRAY_BUFFER, buffer.index_buffer(), batch.index_bytes());
    ASSERT_EQ(std::memcmp(vertices.data(), batch.vertex_data(), vertices.size()), 0);
    ASSERT_EQ(std::memcmp(indices.data(), batch.index_data(), indices.size()), 0);

    const std::vector<unsigned char> first_upload = vertices;
    batch.expire(20.0f);
    ASSERT_EQ(batch.spawn(20.0f, 1), 1); // refills slot 0 only
    clear_records();
    buffer.reupload();
    EXPECT_TRUE(pointer_locations.empty());
    EXPECT_EQ(enables, 0);
    vertices = buffer_contents(GL_ARRAY_BUFFER, buffer.vertex_buffer(), batch.vertex_bytes());
    indices = buffer_contents(GL_ELEMENT_ARRAY_BUFFER, buffer.index_buffer(), batch.index_bytes());
    EXPECT_EQ(std::memcmp(vertices.data(), batch.vertex_data(), vertices.size()), 0);
    EXPECT_EQ(std::memcmp(indices.data(), batch.index_data(), indices.size()), 0);
    const std::size_t slot_bytes = 4 * 20 * 4;
    EXPECT_NE(std::memcmp(vertices.data(), first_upload.data(), slot_bytes), 0);
    EXPECT_EQ(std::memcmp(vertices.data() + slot_bytes, first_upload.data() + slot_bytes, 2 * slot_bytes), 0);
}
