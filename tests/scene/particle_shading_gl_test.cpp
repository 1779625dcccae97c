// What the particle programs make of a batch drawn through its buffer: the
// snowflake fade over the last ten seconds and the soft particle's discard
// of faint fragments. One flat rectangle particle faces the viewer with an
// identity camera, so the centre pixel shows its centre.
#include <cmath>
#include <memory>

#include <gtest/gtest.h>

#include "gl_window.h"
#include "render/matrix.h"
#include "render/shader_program.h"
#include "snow/batch_buffer.h"
#include "snow/snowflake_batch.h"

namespace {

constexpr int side = 16; // pixels
constexpr int rectangle_mesh = 141, rectangle_material = 140;
// The rectangle's texture centre (0.5, 0.5) sits at y = -0.1302 in the mesh.
constexpr float centre_lift = 0.1302f;

// x * x * (3 - 2x), the ramp of the fragment sources.
double ramp(double x)
{
    return x * x * (3.0 - 2.0 * x);
}

// The soft particle's disc weight at texture distance `d` from its centre.
double disc_weight(double d)
{
    double t = (d - 0.5) / (-0.05 - 0.5);
    t = t < 0 ? 0 : t > 1 ? 1 : t;
    return ramp(t);
}

// Texture distance of the centre pixel's middle from the quad's centre:
// half a pixel in x and y, where one pixel is 2 / side clip units and the
// quad spans 5 clip units.
double centre_pixel_distance()
{
    return std::sqrt(2.0) * 0.5 * (2.0 / side) / 5.0;
}

double centre_disc_weight()
{
    return disc_weight(centre_pixel_distance());
}

// Seconds left in a soft particle's life at which its centre weight is `w`
// (the fade rises over the last eight seconds).
float time_left_for_weight(double w)
{
    const double target = w / centre_disc_weight();
    double low = 0.0, high = 1.0;
    for (int i = 0; i < 60; ++i) {
        const double mid = 0.5 * (low + high);
        (ramp(mid) < target ? low : high) = mid;
    }
    return static_cast<float>(8.0 * low);
}

struct Particle {
    std::unique_ptr<SnowflakeBatch> batch;
    std::unique_ptr<BatchBuffer> buffer;
};

class ParticleShadingGl : public testing::Test {
protected:
    static void SetUpTestSuite()
    {
        window = open_scene_test_window(side, side);
        if (!window)
            return;
        flake_program = new ShaderProgram(105, 106);
        quad_program = new ShaderProgram(139, 138);
    }

    void SetUp() override
    {
        ASSERT_NE(window, nullptr) << "no GL window (is DISPLAY set?)";
        glViewport(0, 0, side, side);
        glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    }

    // A still particle at depth `z` (clip units) living from 0 to `finish` seconds.
    static Particle make_particle(ShaderProgram& program, ParticleKind kind, float z, float finish)
    {
        Particle p;
        p.batch = std::make_unique<SnowflakeBatch>(rectangle_mesh, rectangle_material, 1.0f, 1, kind);
        p.batch->place_particle(0.0f, centre_lift, z, Vec3{}, Vec3{}, Vec3{0.0f, finish, 0.0f}, 0);
        p.buffer = std::make_unique<BatchBuffer>();
        p.buffer->set_vertex_data(p.batch->vertex_bytes(), p.batch->vertex_data(), p.batch->stride());
        p.buffer->set_index_data(p.batch->index_bytes(), p.batch->index_data(), p.batch->index_count());
        p.buffer->add_attribute(program, "position", 3, SnowflakeBatch::position_offset);
        p.buffer->add_attribute(program, "position_translation", 3, SnowflakeBatch::translation_offset);
        p.buffer->add_attribute(program, "position_tex", 2, SnowflakeBatch::tex_offset);
        p.buffer->add_attribute(program, "position_normal", 3, SnowflakeBatch::normal_offset);
        p.buffer->add_attribute(program, "move_direction", 3, SnowflakeBatch::move_direction_offset);
        p.buffer->add_attribute(program, "rotation_angles", 3, SnowflakeBatch::rotation_angles_offset);
        p.buffer->add_attribute(program, "time_start_finish_zero", 3, SnowflakeBatch::time_offset);
        p.buffer->upload();
        return p;
    }

    // Draws with the light straight in front, so a snowflake's lit colour
    // passes 1 in every channel and the pixel over black shows its alpha.
    static void draw(ShaderProgram& program, const Particle& p, float time)
    {
        program.use();
        glUniform1f(program.uniform_location("iTime"), time);
        glUniformMatrix4fv(program.uniform_location("model_view"), 1, GL_FALSE, Mat4::identity().data());
        const float light[] = {0.0f, 0.0f, 10.0f};
        glUniform3fv(program.uniform_location("light_pos"), 1, light);
        p.buffer->bind_for_draw();
        glDrawElements(GL_TRIANGLES, p.buffer->index_count(), GL_UNSIGNED_INT, nullptr);
    }

    Rgb centre_after_flake_at(float time_left)
    {
        const Particle flake = make_particle(*flake_program, ParticleKind::Flake, 0.5f, 100.0f);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        draw(*flake_program, flake, 100.0f - time_left);
        return read_pixel(side / 2, side / 2);
    }

    static GLFWwindow* window;
    static ShaderProgram* flake_program;
    static ShaderProgram* quad_program;
};

GLFWwindow* ParticleShadingGl::window = nullptr;
ShaderProgram* ParticleShadingGl::flake_program = nullptr;
ShaderProgram* ParticleShadingGl::quad_program = nullptr;

} // namespace

// Opaque while ten seconds or more remain, half at five, gone at the end.
TEST_F(ParticleShadingGl, FlakeFadesOverItsLastTenSeconds)
{
    const Rgb fifteen = centre_after_flake_at(15.0f);
    const Rgb ten = centre_after_flake_at(10.0f);
    const Rgb five = centre_after_flake_at(5.0f);
    const Rgb zero = centre_after_flake_at(0.0f);
    const Rgb after = centre_after_flake_at(-3.0f);
    EXPECT_EQ(ten.r, 255);
    EXPECT_EQ(ten.b, 255);
    EXPECT_EQ(fifteen.g, 255);
    EXPECT_NEAR(five.r, 128, 1);
    EXPECT_NEAR(five.g, 128, 1);
    EXPECT_EQ(zero.r + zero.g + zero.b, 0);
    EXPECT_EQ(after.r + after.g + after.b, 0);
}

// Below a weight of 0.04 a soft-particle fragment is discarded: no colour,
// and no depth, so what lies behind it still shows.
TEST_F(ParticleShadingGl, SoftParticleDiscardsFragmentsBelowTheThreshold)
{
    const Particle front = make_particle(*quad_program, ParticleKind::Quad, 0.2f, 100.0f);
    const Particle behind = make_particle(*flake_program, ParticleKind::Flake, 0.8f, 1000.0f);

    const float faint = 100.0f - time_left_for_weight(0.035);
    draw(*quad_program, front, faint);
    const Rgb alone = read_pixel(side / 2, side / 2);
    EXPECT_EQ(alone.r + alone.g + alone.b, 0) << "a discarded fragment wrote colour";
    draw(*flake_program, behind, faint);
    const Rgb through = read_pixel(side / 2, side / 2);
    EXPECT_EQ(through.g, 255) << "a discarded fragment wrote depth";
}

TEST_F(ParticleShadingGl, SoftParticleDrawsFragmentsAboveTheThreshold)
{
    const Particle front = make_particle(*quad_program, ParticleKind::Quad, 0.2f, 100.0f);
    const Particle behind = make_particle(*flake_program, ParticleKind::Flake, 0.8f, 1000.0f);

    const float visible = 100.0f - time_left_for_weight(0.045);
    draw(*quad_program, front, visible);
    const Rgb alone = read_pixel(side / 2, side / 2);
    // Colour (0.66, 0.816, 0.96) at alpha 0.045 over black.
    EXPECT_NEAR(alone.b, 0.96 * 0.045 * 255, 1.5);
    EXPECT_NEAR(alone.r, 0.66 * 0.045 * 255, 1.5);
    draw(*flake_program, behind, visible);
    const Rgb hidden = read_pixel(side / 2, side / 2);
    EXPECT_EQ(hidden.b, alone.b) << "the faint particle in front must hide the flake behind it";
}

// The disc is soft: full in the middle, nothing at the quad's corners.
TEST_F(ParticleShadingGl, SoftParticleIsADiscInsideItsQuad)
{
    const Particle quad = make_particle(*quad_program, ParticleKind::Quad, 0.2f, 100.0f);
    // The quad spans 5 clip units: one window side is 2/5 of its texture.
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    draw(*quad_program, quad, 0.0f);
    const Rgb centre = read_pixel(side / 2, side / 2);
    const Rgb corner = read_pixel(0, 0); // texture distance about 0.28 from the centre
    EXPECT_NEAR(centre.b, 0.96 * centre_disc_weight() * 255, 2.0);
    EXPECT_LT(corner.b, centre.b);
    EXPECT_GT(corner.b, 0);
}
