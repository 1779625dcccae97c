// The real scene, set up from the product's resources in a small hidden
// window and drawn at chosen times, read back as pixels.
#include <cmath>
#include <vector>

#include <gtest/gtest.h>

#include "gl_window.h"
#include "render/scene.h"
#include "snow/batch_buffer.h"
#include "snow/scene_mesh.h"
#include "snow/snowflake_batch.h"
#include "snow/static_mesh.h"

namespace {

constexpr int width = 64, height = 48; // pixels
constexpr double pi = 3.14159265358979;
// Times after every particle of the set-up has died (snowflakes at 20 s,
// soft particles at 30 s), where sin(t / 2) is -1 (edge 0.6) or +1 (edge 0.8).
const float edge_low_time = static_cast<float>(11.0 * pi);
const float edge_high_time = static_cast<float>(13.0 * pi);

// The background's colour at texture height y with the gradient edge at `edge`.
void gradient(double y, double edge, double out[3])
{
    const double bottom[3] = {0.2, 0.5, 1.0};
    const double top[3] = {0.01, 0.01, 0.04};
    double t = (y - edge) / (0.0 - edge);
    t = t < 0 ? 0 : t > 1 ? 1 : t;
    const double w = t * t * (3.0 - 2.0 * t);
    for (int c = 0; c < 3; ++c)
        out[c] = top[c] + (bottom[c] - top[c]) * w;
}

// Texture height of the background at window row `row` (pixel centre): the
// rectangle (y from -657.55 to 592.45 after scaling) lies 220 units from
// the camera, whose view spans tan(25 degrees) * 220 above and below.
double background_y_at_row(int row)
{
    const double half_view = std::tan(25.0 * pi / 180.0) * 220.0;
    const double ndc = (row + 0.5) / height * 2.0 - 1.0;
    return (ndc * half_view + 2.6302 * 250.0) / (5.0 * 250.0);
}

void expect_colour(const Rgb& got, const double want[3], double tolerance, const char* what)
{
    EXPECT_NEAR(got.r, want[0] * 255.0, tolerance) << what;
    EXPECT_NEAR(got.g, want[1] * 255.0, tolerance) << what;
    EXPECT_NEAR(got.b, want[2] * 255.0, tolerance) << what;
}

// GL calls counted during one frame.
struct FrameCalls {
    int draws = 0, programs = 0, uniforms = 0, buffer_writes = 0, location_queries = 0;
} calls;
PFNGLDRAWELEMENTSPROC real_draw_elements;
PFNGLUSEPROGRAMPROC real_use_program;
PFNGLUNIFORM1FPROC real_uniform_1f;
PFNGLUNIFORM1IPROC real_uniform_1i;
PFNGLUNIFORM3FVPROC real_uniform_3fv;
PFNGLUNIFORMMATRIX4FVPROC real_uniform_matrix;
PFNGLBUFFERDATAPROC real_buffer_data;
PFNGLBUFFERSUBDATAPROC real_buffer_sub_data;
PFNGLGETUNIFORMLOCATIONPROC real_get_uniform_location;

void APIENTRY count_draw(GLenum m, GLsizei n, GLenum t, const void* o) { ++calls.draws; real_draw_elements(m, n, t, o); }
void APIENTRY count_use(GLuint p) { ++calls.programs; real_use_program(p); }
void APIENTRY count_1f(GLint l, GLfloat v) { ++calls.uniforms; real_uniform_1f(l, v); }
void APIENTRY count_1i(GLint l, GLint v) { ++calls.uniforms; real_uniform_1i(l, v); }
void APIENTRY count_3fv(GLint l, GLsizei n, const GLfloat* v) { ++calls.uniforms; real_uniform_3fv(l, n, v); }
void APIENTRY count_matrix(GLint l, GLsizei n, GLboolean t, const GLfloat* v)
{
    ++calls.uniforms;
    real_uniform_matrix(l, n, t, v);
}
void APIENTRY count_data(GLenum t, GLsizeiptr s, const void* d, GLenum u)
{
    ++calls.buffer_writes;
    real_buffer_data(t, s, d, u);
}
void APIENTRY count_sub_data(GLenum t, GLintptr o, GLsizeiptr s, const void* d)
{
    ++calls.buffer_writes;
    real_buffer_sub_data(t, o, s, d);
}
GLint APIENTRY count_location(GLuint p, const GLchar* n)
{
    ++calls.location_queries;
    return real_get_uniform_location(p, n);
}

class SceneGl : public testing::Test {
protected:
    static void SetUpTestSuite()
    {
        window = open_scene_test_window(width, height);
        if (window)
            set_up_scene();
    }

    void SetUp() override
    {
        ASSERT_NE(window, nullptr) << "no GL window (is DISPLAY set?)";
        set_drawable_size(width, height);
    }

    static GLFWwindow* window;
};

GLFWwindow* SceneGl::window = nullptr;

} // namespace

// Two snowflakes in each of the eight snowflake batches and fifty soft
// particles, all born at time 0; every other slot free.
TEST_F(SceneGl, SetUpPlacesTheFirstPopulationAtTimeZero)
{
    for (int i = 0; i < 8; ++i) {
        const SnowflakeBatch& batch = *scene.batches[i];
        EXPECT_EQ(batch.kind(), ParticleKind::Flake);
        EXPECT_EQ(batch.particle_count(), 5);
        EXPECT_EQ(batch.live_count(), 2) << "batch " << i;
        EXPECT_TRUE(batch.is_alive(0) && batch.is_alive(1)) << "batch " << i;
        EXPECT_EQ(batch.finish_time(1), 20.0f);
        EXPECT_EQ(scene.batch_buffers[i]->index_count(), batch.index_count());
    }
    EXPECT_EQ(scene.batches[8]->kind(), ParticleKind::Quad);
    EXPECT_EQ(scene.batches[8]->particle_count(), 200);
    EXPECT_EQ(scene.batches[8]->live_count(), 50);
    EXPECT_EQ(scene.batches[8]->finish_time(49), 30.0f);
    EXPECT_EQ(scene.background_buffer->index_count(), 6);
    EXPECT_FLOAT_EQ(scene.background_mesh->mesh().positions[0], -625.0f);
}

// At time 0 every particle is still above the view: the centre shows the
// background at texture height 0.526, about (0.039, 0.086, 0.188).
TEST_F(SceneGl, CentreShowsTheBackgroundAtTimeZero)
{
    draw_frame(0.0f);
    const Rgb centre = read_pixel(width / 2, height / 2);
    const double want[3] = {0.039, 0.086, 0.188};
    expect_colour(centre, want, 2.0, "centre at time 0");
    double exact[3];
    gradient(background_y_at_row(height / 2), 0.7, exact);
    expect_colour(centre, exact, 1.0, "centre against the gradient formula");
}

// The gradient's edge swings with time: every row of a column follows the
// gradient with the edge at 0.6 at one time and at 0.8 at another. At 0.6
// the top rows show the sky's top colour; at 0.8 the edge is above the view.
TEST_F(SceneGl, GradientEdgeMovesWithTime)
{
    double want[3];
    draw_frame(edge_low_time);
    for (int row = 0; row < height; ++row) {
        gradient(background_y_at_row(row), 0.6, want);
        expect_colour(read_pixel(3, row), want, 1.0, "edge 0.6");
    }
    const Rgb top_low = read_pixel(3, height - 1);
    EXPECT_EQ(top_low.b, 10); // 0.04 * 255
    const Rgb centre_low = read_pixel(3, height / 2);

    draw_frame(edge_high_time);
    for (int row = 0; row < height; ++row) {
        gradient(background_y_at_row(row), 0.8, want);
        expect_colour(read_pixel(3, row), want, 1.0, "edge 0.8");
    }
    EXPECT_GT(read_pixel(3, height - 1).b, top_low.b + 20);
    EXPECT_GT(read_pixel(3, height / 2).b, centre_low.b + 40);
}

// Nothing in a frame depends on the frames before it.
TEST_F(SceneGl, SameTimeGivesTheSameImage)
{
    draw_frame(12.5f);
    const std::vector<unsigned char> first = read_image(width, height);
    draw_frame(3.0f);
    const std::vector<unsigned char> between = read_image(width, height);
    draw_frame(12.5f);
    const std::vector<unsigned char> again = read_image(width, height);
    EXPECT_EQ(first, again);
    EXPECT_NE(first, between);
}

// A software renderer's frame leaves out the slots that cannot show and
// the background's depth test and blending: while every particle of the
// set-up lives (and so none is a faded one still writing depth), the
// picture is the same to the bit.
TEST_F(SceneGl, DrawingOnlyWhatShowsGivesTheSameImage)
{
    for (float time : {9.0f, 12.5f, 17.0f}) {
        draw_frame(time);
        const std::vector<unsigned char> everything = read_image(width, height);
        scene.draws_only_what_shows = true;
        draw_frame(time);
        scene.draws_only_what_shows = false;
        EXPECT_EQ(read_image(width, height), everything) << "at " << time << " s";
    }
}

// Snowflakes in view at 12.5 s: some pixels differ from the plain sky of a
// time when every particle has died.
TEST_F(SceneGl, ParticlesShowWhileTheyLive)
{
    draw_frame(12.5f);
    const std::vector<unsigned char> with_snow = read_image(width, height);
    // 12.5 + 4 pi puts the sky's edge where it was; every particle is dead by then.
    draw_frame(static_cast<float>(12.5 + 8.0 * pi));
    const std::vector<unsigned char> sky = read_image(width, height);
    int differing = 0;
    for (std::size_t k = 0; k < sky.size(); k += 3)
        differing += std::abs(with_snow[k + 2] - sky[k + 2]) > 8;
    EXPECT_GT(differing, 10);
}

// A new drawable size is used by the very next frame: viewport and
// projection follow it.
TEST_F(SceneGl, SizeChangeTakesEffectInTheNextFrame)
{
    set_drawable_size(width / 2, height);
    draw_frame(0.0f);
    GLint viewport[4] = {};
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(viewport[2], width / 2);
    EXPECT_EQ(viewport[3], height);
    const float q = 1.0f / std::tan(25.0f * 0.017453292f);
    EXPECT_NEAR(scene.view_projection[0][0], q / (32.0f / 48.0f), 1e-4);
    // Outside the viewport only the clear (black) remains.
    const Rgb outside = read_pixel(width - 2, height / 2);
    EXPECT_EQ(outside.r + outside.g + outside.b, 0);
    EXPECT_GT(read_pixel(2, height / 2).b, 30);

    set_drawable_size(width, height);
    draw_frame(0.0f);
    EXPECT_GT(read_pixel(width - 2, height / 2).b, 30);
    EXPECT_NEAR(scene.view_projection[0][0], q / (64.0f / 48.0f), 1e-4);
}

// One frame: ten indexed draws, three program switches, eleven uniform
// calls, no buffer writes, and (after the first frame) no location query.
TEST_F(SceneGl, FrameCostsTenDrawsThreeProgramsElevenUniforms)
{
    draw_frame(1.0f);
    real_draw_elements = glad_glDrawElements;
    real_use_program = glad_glUseProgram;
    real_uniform_1f = glad_glUniform1f;
    real_uniform_1i = glad_glUniform1i;
    real_uniform_3fv = glad_glUniform3fv;
    real_uniform_matrix = glad_glUniformMatrix4fv;
    real_buffer_data = glad_glBufferData;
    real_buffer_sub_data = glad_glBufferSubData;
    real_get_uniform_location = glad_glGetUniformLocation;
    glad_glDrawElements = count_draw;
    glad_glUseProgram = count_use;
    glad_glUniform1f = count_1f;
    glad_glUniform1i = count_1i;
    glad_glUniform3fv = count_3fv;
    glad_glUniformMatrix4fv = count_matrix;
    glad_glBufferData = count_data;
    glad_glBufferSubData = count_sub_data;
    glad_glGetUniformLocation = count_location;
    calls = FrameCalls{};
    draw_frame(2.0f);
    glad_glDrawElements = real_draw_elements;
    glad_glUseProgram = real_use_program;
    glad_glUniform1f = real_uniform_1f;
    glad_glUniform1i = real_uniform_1i;
    glad_glUniform3fv = real_uniform_3fv;
    glad_glUniformMatrix4fv = real_uniform_matrix;
    glad_glBufferData = real_buffer_data;
    glad_glBufferSubData = real_buffer_sub_data;
    glad_glGetUniformLocation = real_get_uniform_location;
    EXPECT_EQ(calls.draws, 10);
    EXPECT_EQ(calls.programs, 3);
    EXPECT_EQ(calls.uniforms, 11);
    EXPECT_EQ(calls.buffer_writes, 0);
    EXPECT_EQ(calls.location_queries, 0);
}
