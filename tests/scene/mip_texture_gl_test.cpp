// The mip-chain texture: one bitmap per level, sizes from list position,
// pictures upright, channels in red-green-blue order.
#include <cmath>
#include <vector>

#include <gtest/gtest.h>

#include "gl_window.h"
#include "platform/platform.h"
#include "render/mip_texture.h"

namespace {

constexpr int colours_bitmap = 970; // 3 x 2: top red, green, blue; bottom white, black, (10, 20, 30)
const int snow_chain[] = {121, 120, 119, 118, 117, 116, 115, 103};

GLint level_size(int level, GLenum which)
{
    GLint value = -1;
    glGetTexLevelParameteriv(GL_TEXTURE_2D, level, which, &value);
    return value;
}

std::vector<float> level_texels(int level)
{
    const int side = level_size(level, GL_TEXTURE_WIDTH);
    std::vector<float> texels(static_cast<std::size_t>(side) * side * 4);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, level, GL_RGBA, GL_FLOAT, texels.data());
    return texels;
}

// Stand-ins for the anisotropy query when the extension is missing.
void APIENTRY get_float_leaves_zero(GLenum, GLfloat*) {}
int anisotropy_sets = 0;
PFNGLTEXPARAMETERFPROC real_tex_parameter_f = nullptr;
void APIENTRY counting_tex_parameter_f(GLenum target, GLenum name, GLfloat value)
{
    if (name == GL_TEXTURE_MAX_ANISOTROPY_EXT)
        ++anisotropy_sets;
    real_tex_parameter_f(target, name, value);
}

class MipTextureGl : public testing::Test {
protected:
    static void SetUpTestSuite() { window = open_scene_test_window(8, 8); }
    void SetUp() override { ASSERT_NE(window, nullptr) << "no GL window (is DISPLAY set?)"; }
    static GLFWwindow* window;
};

GLFWwindow* MipTextureGl::window = nullptr;

} // namespace

// Entry i of an n-list is level n-1-i, 2^i pixels square; the chain stops at 1x1.
TEST_F(MipTextureGl, BuildsEightLevelsFrom128DownTo1)
{
    MipTexture texture(snow_chain, 8);
    GLint bound = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    EXPECT_EQ(static_cast<GLuint>(bound), texture.texture_id());
    for (int level = 0; level < 8; ++level) {
        EXPECT_EQ(level_size(level, GL_TEXTURE_WIDTH), 128 >> level) << "level " << level;
        EXPECT_EQ(level_size(level, GL_TEXTURE_HEIGHT), 128 >> level) << "level " << level;
    }
    EXPECT_EQ(level_size(8, GL_TEXTURE_WIDTH), 0);
    GLint min_filter = 0, mag_filter = 0, wrap_s = 0, wrap_t = 0;
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &min_filter);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, &mag_filter);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, &wrap_s);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, &wrap_t);
    EXPECT_EQ(min_filter, GL_LINEAR_MIPMAP_LINEAR);
    EXPECT_EQ(mag_filter, GL_LINEAR);
    EXPECT_EQ(wrap_s, GL_REPEAT);
    EXPECT_EQ(wrap_t, GL_REPEAT);
}

// The 1x1 level is the grey pixel of value 105; level 0 is resource 103
// with the picture's bottom row as texture row 0.
TEST_F(MipTextureGl, LevelsHoldTheirBitmapsUpright)
{
    MipTexture texture(snow_chain, 8);
    const std::vector<float> smallest = level_texels(7);
    EXPECT_NEAR(smallest[0], 105 / 255.0f, 1e-6);
    EXPECT_NEAR(smallest[1], 105 / 255.0f, 1e-6);
    EXPECT_NEAR(smallest[2], 105 / 255.0f, 1e-6);
    EXPECT_EQ(smallest[3], 1.0f);

    std::vector<unsigned char> picture(128 * 128 * 3);
    ASSERT_TRUE(platform::read_bitmap_rgb(103, 128, 128, picture.data()));
    const std::vector<float> largest = level_texels(0);
    for (int row = 0; row < 128; ++row)
        for (int x = 0; x < 128; ++x) {
            const unsigned char* in = &picture[((127 - row) * 128 + x) * 3];
            const float* out = &largest[(row * 128 + x) * 4];
            ASSERT_NEAR(out[0], in[0] / 255.0f, 1e-6) << "row " << row << " x " << x;
            ASSERT_NEAR(out[2], in[2] / 255.0f, 1e-6) << "row " << row << " x " << x;
            ASSERT_EQ(out[3], 1.0f);
        }
}

TEST_F(MipTextureGl, SingleBitmapGivesOneOneByOneLevel)
{
    const int one[] = {colours_bitmap};
    MipTexture texture(one, 1);
    EXPECT_EQ(level_size(0, GL_TEXTURE_WIDTH), 1);
    EXPECT_EQ(level_size(1, GL_TEXTURE_WIDTH), 0);
    // A 1x1 level reads the picture's top-left pixel, red, whatever the
    // bitmap's own size.
    const std::vector<float> texel = level_texels(0);
    EXPECT_EQ(texel[0], 1.0f);
    EXPECT_EQ(texel[1], 0.0f);
    EXPECT_EQ(texel[2], 0.0f);
    EXPECT_EQ(texel[3], 1.0f);
}

// With the extension the texture gets the largest anisotropy there is.
TEST_F(MipTextureGl, SetsTheLargestAnisotropy)
{
    GLfloat largest = 0.0f;
    glGetFloatv(GL_MAX_TEXTURE_MAX_ANISOTROPY_EXT, &largest);
    ASSERT_GE(largest, 1.0f) << "this driver has no anisotropic filtering";
    MipTexture texture(snow_chain, 2);
    GLfloat set = 0.0f;
    glGetTexParameterfv(GL_TEXTURE_2D, GL_TEXTURE_MAX_ANISOTROPY_EXT, &set);
    EXPECT_EQ(set, largest);
}

// A query that leaves 0 (no extension) must not set an invalid anisotropy.
TEST_F(MipTextureGl, LeavesAnisotropyAloneWhenTheQueryGivesNothing)
{
    PFNGLGETFLOATVPROC real_get_float = glad_glGetFloatv;
    real_tex_parameter_f = glad_glTexParameterf;
    glad_glGetFloatv = get_float_leaves_zero;
    glad_glTexParameterf = counting_tex_parameter_f;
    anisotropy_sets = 0;
    MipTexture texture(snow_chain, 2);
    glad_glGetFloatv = real_get_float;
    glad_glTexParameterf = real_tex_parameter_f;
    EXPECT_EQ(anisotropy_sets, 0);
    GLfloat set = 0.0f;
    glGetTexParameterfv(GL_TEXTURE_2D, GL_TEXTURE_MAX_ANISOTROPY_EXT, &set);
    EXPECT_EQ(set, 1.0f);
}

// Reading a bitmap needs no GL; these run on the same executable.
TEST(MipTextureRead, FlippedRowsPutThePicturesBottomRowFirst)
{
    std::vector<float> pixels(3 * 2 * 4, -1.0f);
    MipTexture::read_bitmap(pixels.data(), colours_bitmap, 3, 2, true);
    const float expected[] = {1, 1, 1, 1, 0, 0, 0, 1, 10 / 255.0f, 20 / 255.0f, 30 / 255.0f, 1,
                              1, 0, 0, 1, 0, 1, 0, 1, 0, 0, 1, 1};
    for (int k = 0; k < 24; ++k)
        EXPECT_FLOAT_EQ(pixels[k], expected[k]) << "float " << k;
}

// Unflipped, row 0 is the picture's top row: upside down in a texture. A
// pure red pixel reads (1, 0, 0, 1): red first although the file stores blue first.
TEST(MipTextureRead, UnflippedRowsStartAtTheTopInRedGreenBlueOrder)
{
    std::vector<float> pixels(3 * 2 * 4, -1.0f);
    MipTexture::read_bitmap(pixels.data(), colours_bitmap, 3, 2, false);
    const float expected[] = {1, 0, 0, 1, 0, 1, 0, 1, 0, 0, 1, 1,
                              1, 1, 1, 1, 0, 0, 0, 1, 10 / 255.0f, 20 / 255.0f, 30 / 255.0f, 1};
    for (int k = 0; k < 24; ++k)
        EXPECT_FLOAT_EQ(pixels[k], expected[k]) << "float " << k;
}

// Asked for more than the bitmap holds, or for a missing bitmap: black,
// alpha 1, nothing written outside the buffer.
TEST(MipTextureRead, ReadsBlackBeyondTheBitmap)
{
    std::vector<float> pixels(4 * 4 * 4 + 4, -1.0f);
    MipTexture::read_bitmap(pixels.data(), colours_bitmap, 4, 4, false);
    // (3, 0) lies right of the 3-pixel-wide picture.
    EXPECT_EQ(pixels[3 * 4 + 0], 0.0f);
    EXPECT_EQ(pixels[3 * 4 + 3], 1.0f);
    EXPECT_EQ(pixels[64], -1.0f);
    MipTexture::read_bitmap(pixels.data(), 9999, 4, 4, true);
    for (int k = 0; k < 64; ++k)
        ASSERT_EQ(pixels[k], k % 4 == 3 ? 1.0f : 0.0f);
}
