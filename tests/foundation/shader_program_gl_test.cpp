// The three programs built from their resource texts, the location cache,
// texture binding, and what the GLSL sources compute, read back as pixels.
#include "render/matrix.h"
#include "render/shader_program.h"
#include "tests/support/hidden_gl_window.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

constexpr int side = 16; // pixels; llvmpipe is slow, the pictures are flat

int uniform_queries = 0;
PFNGLGETUNIFORMLOCATIONPROC real_get_uniform_location = nullptr;

GLint APIENTRY counting_get_uniform_location(GLuint program, const GLchar* name)
{
    ++uniform_queries;
    return real_get_uniform_location(program, name);
}

class ShaderProgramGl : public testing::Test {
protected:
    static void SetUpTestSuite()
    {
        window = open_hidden_gl_window(side, side, "foundation test");
        if (!window)
            return;
        real_get_uniform_location = glad_glGetUniformLocation;
        glad_glGetUniformLocation = counting_get_uniform_location;
        flake.reset(new ShaderProgram(105, 106));
        quad.reset(new ShaderProgram(139, 138));
        background.reset(new ShaderProgram(137, 136));
    }

    void SetUp() override
    {
        ASSERT_NE(window, nullptr) << "no GL window (is DISPLAY set?)";
        glViewport(0, 0, side, side);
        glDisable(GL_BLEND);
        glDisable(GL_DEPTH_TEST);
        glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
        glClear(GL_COLOR_BUFFER_BIT);
        uniform_queries = 0;
    }

    static GLFWwindow* window;
    static std::unique_ptr<ShaderProgram> flake, quad, background;
};

GLFWwindow* ShaderProgramGl::window = nullptr;
std::unique_ptr<ShaderProgram> ShaderProgramGl::flake, ShaderProgramGl::quad, ShaderProgramGl::background;

GLint program_parameter(GLuint program, GLenum name)
{
    GLint value = -1;
    glGetProgramiv(program, name, &value);
    return value;
}

TEST_F(ShaderProgramGl, ThreeProgramsCompileAndLinkFromTheirResources)
{
    for (ShaderProgram* p : {flake.get(), quad.get(), background.get()}) {
        ASSERT_NE(p->program_id(), 0u);
        EXPECT_EQ(program_parameter(p->program_id(), GL_LINK_STATUS), GL_TRUE);
        EXPECT_EQ(program_parameter(p->program_id(), GL_ATTACHED_SHADERS), 2);
    }
    EXPECT_NE(flake->program_id(), quad->program_id());
    EXPECT_NE(quad->program_id(), background->program_id());
}

TEST_F(ShaderProgramGl, UseMakesTheProgramCurrent)
{
    quad->use();
    GLint current = 0;
    glGetIntegerv(GL_CURRENT_PROGRAM, &current);
    EXPECT_EQ(static_cast<GLuint>(current), quad->program_id());
}

// What each source reads is active; what it only declares is not.
TEST_F(ShaderProgramGl, ActiveNamesFollowWhatEachSourceReads)
{
    for (const char* name : {"position", "position_translation", "position_normal", "move_direction",
                             "rotation_angles", "time_start_finish_zero"})
        EXPECT_GE(flake->attribute_location(name), 0) << name;
    for (const char* name : {"iTime", "model_view", "light_pos"})
        EXPECT_GE(flake->uniform_location(name), 0) << name;
    EXPECT_EQ(flake->uniform_location("s"), -1);

    for (const char* name : {"position", "position_translation", "position_tex", "move_direction",
                             "time_start_finish_zero"})
        EXPECT_GE(quad->attribute_location(name), 0) << name;
    EXPECT_EQ(quad->attribute_location("position_normal"), -1);
    EXPECT_EQ(quad->attribute_location("rotation_angles"), -1);
    EXPECT_EQ(quad->uniform_location("light_pos"), -1);
    EXPECT_EQ(quad->uniform_location("s"), -1);
    EXPECT_GE(quad->uniform_location("iTime"), 0);

    EXPECT_GE(background->attribute_location("position"), 0);
    EXPECT_GE(background->attribute_location("position_tex"), 0);
    EXPECT_EQ(background->attribute_location("position_normal"), -1);
    EXPECT_GE(background->uniform_location("iTime"), 0);
    EXPECT_GE(background->uniform_location("model_view"), 0);
}

TEST_F(ShaderProgramGl, MissingUniformGivesMinusOneAndIsAskedOnlyOnce)
{
    EXPECT_EQ(flake->uniform_location("no_such_uniform"), -1);
    EXPECT_EQ(uniform_queries, 1);
    EXPECT_EQ(flake->uniform_location("no_such_uniform"), -1);
    EXPECT_EQ(flake->uniform_location("no_such_uniform"), -1);
    EXPECT_EQ(uniform_queries, 1);
}

// The frame drawing asks for the same names every frame.
TEST_F(ShaderProgramGl, EachNameCostsOneQueryPerProgram)
{
    GLint first = background->uniform_location("model_view_for_cache_test");
    for (int frame = 0; frame < 5; ++frame)
        EXPECT_EQ(background->uniform_location("model_view_for_cache_test"), first);
    EXPECT_EQ(uniform_queries, 1);
    GLint own = glGetUniformLocation(quad->program_id(), "iTime");
    uniform_queries = 0;
    EXPECT_EQ(quad->uniform_location("iTime"), own);
    EXPECT_EQ(quad->uniform_location("iTime"), own);
    EXPECT_LE(uniform_queries, 1); // zero when an earlier test asked already
}

// One cache, keyed by the name alone.
TEST_F(ShaderProgramGl, NameAskedAsAttributeAnswersUniformLookUp)
{
    GLint attribute = quad->attribute_location("move_direction");
    ASSERT_GE(attribute, 0);
    EXPECT_EQ(quad->uniform_location("move_direction"), attribute);
    EXPECT_EQ(uniform_queries, 0);
}

TEST_F(ShaderProgramGl, SetTextureSetsSamplerAndBindsOnItsUnit)
{
    ShaderProgram sampled(960, 961);
    sampled.use();
    GLuint texture = 0;
    glGenTextures(1, &texture);
    sampled.set_texture("picture", 3, texture);

    GLint unit = -1;
    glGetUniformiv(sampled.program_id(), sampled.uniform_location("picture"), &unit);
    EXPECT_EQ(unit, 3);
    GLint active = 0, bound = 0;
    glGetIntegerv(GL_ACTIVE_TEXTURE, &active);
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    EXPECT_EQ(active, GL_TEXTURE3);
    EXPECT_EQ(static_cast<GLuint>(bound), texture);
}

// --- What the sources compute ------------------------------------------------

struct Rgba {
    int r, g, b, a;
};

Rgba centre_pixel()
{
    unsigned char p[4] = {0, 0, 0, 0};
    glReadPixels(side / 2, side / 2, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, p);
    return Rgba{p[0], p[1], p[2], p[3]};
}

// One triangle covering the viewport (clip-space corners, model_view set
// by the caller), with every other attribute constant.
void draw_cover(ShaderProgram& program, const std::vector<std::pair<const char*, std::vector<float>>>& constants)
{
    static const float corners[] = {-1, -1, 0, 3, -1, 0, -1, 3, 0};
    GLint position = program.attribute_location("position");
    glEnableVertexAttribArray(static_cast<GLuint>(position));
    glVertexAttribPointer(static_cast<GLuint>(position), 3, GL_FLOAT, GL_FALSE, 0, corners);
    for (const auto& constant : constants) {
        GLint location = program.attribute_location(constant.first);
        if (location < 0)
            continue;
        const std::vector<float>& v = constant.second;
        glVertexAttrib4f(static_cast<GLuint>(location), v[0], v.size() > 1 ? v[1] : 0.0f,
                         v.size() > 2 ? v[2] : 0.0f, 1.0f);
    }
    glDrawArrays(GL_TRIANGLES, 0, 3);
    glDisableVertexAttribArray(static_cast<GLuint>(position));
}

// Draws the flake program at iTime 0 with a finish time `time_left` ahead.
int flake_alpha(ShaderProgram& flake, float time_left)
{
    glClear(GL_COLOR_BUFFER_BIT);
    flake.use();
    glUniform1f(flake.uniform_location("iTime"), 0.0f);
    glUniformMatrix4fv(flake.uniform_location("model_view"), 1, GL_FALSE, Mat4::identity().data());
    glUniform3f(flake.uniform_location("light_pos"), 100.0f, 100.0f, 10.0f);
    draw_cover(flake, {{"time_start_finish_zero", {0.0f, time_left, 0.0f}},
                       {"position_normal", {0.0f, 0.0f, 1.0f}},
                       {"rotation_angles", {0.0f, 0.0f, 0.0f}},
                       {"move_direction", {0.0f, 0.0f, 0.0f}},
                       {"position_translation", {0.0f, 0.0f, 0.0f}}});
    return centre_pixel().a;
}

// Opaque with ten seconds or more left, half at five, gone at zero.
TEST_F(ShaderProgramGl, FlakeFadesOverItsLastTenSeconds)
{
    EXPECT_EQ(flake_alpha(*flake, 25.0f), 255);
    EXPECT_EQ(flake_alpha(*flake, 10.0f), 255);
    EXPECT_NEAR(flake_alpha(*flake, 5.0f), 128, 1);
    EXPECT_NEAR(flake_alpha(*flake, 2.0f), 0.104 * 255, 1); // t = 0.2: 0.04 * 2.6
    EXPECT_EQ(flake_alpha(*flake, 0.0f), 0);
    EXPECT_EQ(flake_alpha(*flake, -3.0f), 0);
}

// The soft particle's centre at a given remaining life, on a red background
// that shows where a fragment was discarded.
Rgba quad_centre(ShaderProgram& quad, float time_left)
{
    glClearColor(1.0f, 0.0f, 0.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
    quad.use();
    glUniform1f(quad.uniform_location("iTime"), 0.0f);
    glUniformMatrix4fv(quad.uniform_location("model_view"), 1, GL_FALSE, Mat4::identity().data());
    draw_cover(quad, {{"time_start_finish_zero", {0.0f, time_left, 0.0f}},
                      {"position_tex", {0.5f, 0.5f}},
                      {"move_direction", {0.0f, 0.0f, 0.0f}},
                      {"position_translation", {0.0f, 0.0f, 0.0f}}});
    return centre_pixel();
}

// At the disc's centre the shape weight is about 0.9767; the life weight
// then decides: below a total of 0.04 nothing is written.
TEST_F(ShaderProgramGl, SoftParticleIsDiscardedBelowWeightFourHundredths)
{
    Rgba fresh = quad_centre(*quad, 30.0f);
    EXPECT_EQ(fresh.r, 168); // 0.66
    EXPECT_EQ(fresh.g, 208); // 0.816
    EXPECT_EQ(fresh.b, 245); // 0.96
    EXPECT_NEAR(fresh.a, 0.9767 * 255, 1);

    // time_left 1.0: life weight 0.0430, total 0.0420 > 0.04, drawn.
    Rgba faint = quad_centre(*quad, 1.0f);
    EXPECT_EQ(faint.g, 208);
    EXPECT_NEAR(faint.a, 0.0420 * 255, 1);

    // time_left 0.9: life weight 0.0351, total 0.0343 < 0.04, discarded.
    Rgba discarded = quad_centre(*quad, 0.9f);
    EXPECT_EQ(discarded.r, 255);
    EXPECT_EQ(discarded.g, 0);
    EXPECT_EQ(discarded.a, 255);
}

// The background pass flattens depth so the rectangle's push to z - 200
// stays inside the clip volume; the texture coordinate's y picks the colour.
Rgba background_at(ShaderProgram& background, float tex_y, float time)
{
    glClear(GL_COLOR_BUFFER_BIT);
    background.use();
    Mat4 flatten(Vec4{1, 0, 0, 0}, Vec4{0, 1, 0, 0}, Vec4{0, 0, 0, 0}, Vec4{0, 0, 0, 1});
    glUniformMatrix4fv(background.uniform_location("model_view"), 1, GL_FALSE, flatten.data());
    glUniform1f(background.uniform_location("iTime"), time);
    draw_cover(background, {{"position_tex", {0.5f, tex_y}}});
    return centre_pixel();
}

TEST_F(ShaderProgramGl, BackgroundFallsFromBottomColourToTopColourAtTheEdge)
{
    Rgba bottom = background_at(*background, 0.0f, 0.0f);
    EXPECT_EQ(bottom.r, 51);
    EXPECT_NEAR(bottom.g, 127.5, 0.5);
    EXPECT_EQ(bottom.b, 255);
    EXPECT_EQ(bottom.a, 255);
    // At iTime 0 the edge is at 0.7: from there up, the top colour.
    Rgba top = background_at(*background, 0.7f, 0.0f);
    EXPECT_EQ(top.r, 3);
    EXPECT_EQ(top.g, 3);
    EXPECT_EQ(top.b, 10);
    // Halfway to the edge the ramp is at one half.
    Rgba middle = background_at(*background, 0.35f, 0.0f);
    EXPECT_NEAR(middle.b, (0.04 + 0.96 * 0.5) * 255, 1);
    // At iTime pi the edge has swung up to 0.8, so 0.75 is not yet the top.
    Rgba swung = background_at(*background, 0.7f, 3.14159265f);
    EXPECT_NEAR(swung.b, (0.04 + 0.96 * 0.04296875) * 255, 1);
}

// The flake vertex source moves a vertex by its velocity times the time
// since its start: a tiny triangle lands where it should be.
TEST_F(ShaderProgramGl, FlakeMovesAlongItsVelocity)
{
    glClear(GL_COLOR_BUFFER_BIT);
    flake->use();
    glUniform1f(flake->uniform_location("iTime"), 12.0f);
    glUniformMatrix4fv(flake->uniform_location("model_view"), 1, GL_FALSE, Mat4::identity().data());
    // A triangle around (-0.75, -0.75), started at 10 s, moving (0.5, 0.5)
    // per second: two seconds later it covers (0.25, 0.25).
    static const float small[] = {-0.9f, -0.9f, 0, -0.6f, -0.9f, 0, -0.75f, -0.6f, 0};
    GLint position = flake->attribute_location("position");
    glEnableVertexAttribArray(static_cast<GLuint>(position));
    glVertexAttribPointer(static_cast<GLuint>(position), 3, GL_FLOAT, GL_FALSE, 0, small);
    glVertexAttrib4f(static_cast<GLuint>(flake->attribute_location("time_start_finish_zero")), 10.0f, 100.0f, 0, 1);
    glVertexAttrib4f(static_cast<GLuint>(flake->attribute_location("move_direction")), 0.5f, 0.5f, 0, 1);
    glVertexAttrib4f(static_cast<GLuint>(flake->attribute_location("position_translation")), 0, 0, 0, 1);
    glVertexAttrib4f(static_cast<GLuint>(flake->attribute_location("rotation_angles")), 0, 0, 0, 1);
    glDrawArrays(GL_TRIANGLES, 0, 3);
    glDisableVertexAttribArray(static_cast<GLuint>(position));

    unsigned char moved[4] = {0, 0, 0, 0}, start[4] = {0, 0, 0, 0};
    // Pixel (10, 9) of 16 is at (0.3, 0.19) in clip space; (2, 1) at (-0.7, -0.81).
    glReadPixels(10, 9, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, moved);
    glReadPixels(2, 1, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, start);
    EXPECT_EQ(moved[3], 255);
    EXPECT_EQ(start[3], 0);
}

} // namespace
