// The pieces of the display window that need no display: the version
// decoding, the drawable size and the icon picture.
#include "app/saver_app.h"
#include "app/window_callbacks.h"
#include "app/window_icon.h"
#include "render/drawable_size.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

TEST(WindowsVersion, LowByteMajorNextByteMinor)
{
    EXPECT_EQ(SaverApp::version_from_word(0x0006), 60);
    EXPECT_EQ(SaverApp::version_from_word(0x0105), 51);
    EXPECT_EQ(SaverApp::version_from_word(0x0206), 62);
    EXPECT_EQ(SaverApp::version_from_word(0x0A0A), 110);
}

TEST(WindowsVersion, BuildNumberIsIgnored)
{
    EXPECT_EQ(SaverApp::version_from_word(0x23F00106u), 61);
    EXPECT_EQ(SaverApp::version_from_word(0xFFFF0206u), 62);
}

// This system reports 6.2, so the saver takes the monitor's own mode.
TEST(WindowsVersion, ThisSystemUsesTheCurrentVideoMode)
{
    EXPECT_GE(SaverApp::windows_version(), 60);
}

TEST(DrawableSize, SizeEventStoresSizeAndFloatRatio)
{
    on_framebuffer_size(nullptr, 1024, 768);
    EXPECT_EQ(window_width, 1024);
    EXPECT_EQ(window_height, 768);
    EXPECT_EQ(aspect_ratio, 1024.0f / 768.0f);
    on_framebuffer_size(nullptr, 152, 112);
    EXPECT_EQ(aspect_ratio, 152.0f / 112.0f);
}

// A minimised window reports a zero side: the last valid ratio stays, so
// the projection never sees 0 or infinity.
TEST(DrawableSize, ZeroHeightKeepsLastValidRatio)
{
    on_framebuffer_size(nullptr, 1920, 1080);
    on_framebuffer_size(nullptr, 1920, 0);
    EXPECT_EQ(window_width, 1920);
    EXPECT_EQ(window_height, 0);
    EXPECT_EQ(aspect_ratio, 1920.0f / 1080.0f);
    on_framebuffer_size(nullptr, 0, 0);
    EXPECT_EQ(aspect_ratio, 1920.0f / 1080.0f);
    on_framebuffer_size(nullptr, 800, 600);
    EXPECT_EQ(aspect_ratio, 800.0f / 600.0f);
}

struct Pixel {
    int r, g, b, a;
};

Pixel icon_pixel(const std::vector<unsigned char>& rgba, int x, int y)
{
    const unsigned char* p = &rgba[static_cast<std::size_t>(y * window_icon_size + x) * 4];
    return Pixel{p[0], p[1], p[2], p[3]};
}

bool is_light_blue(Pixel p)
{
    return p.a == 255 && p.b > 200 && p.g > 150 && p.r < p.g && p.g < p.b;
}

std::vector<unsigned char> drawn_icon()
{
    std::vector<unsigned char> rgba(window_icon_size * window_icon_size * 4, 0xAB);
    draw_window_icon(rgba.data());
    return rgba;
}

// The screen's four quarters: red top left, green top right, blue bottom
// left, yellow bottom right, all opaque.
TEST(WindowIcon, ScreenQuartersHaveTheirColours)
{
    std::vector<unsigned char> icon = drawn_icon();
    Pixel red = icon_pixel(icon, 16, 16), green = icon_pixel(icon, 46, 16);
    Pixel blue = icon_pixel(icon, 16, 36), yellow = icon_pixel(icon, 46, 36);
    EXPECT_TRUE(red.a == 255 && red.r > 200 && red.g < 80 && red.b < 80);
    EXPECT_TRUE(green.a == 255 && green.g > 150 && green.r < 80 && green.b < 100);
    EXPECT_TRUE(blue.a == 255 && blue.b > 200 && blue.r < 80 && blue.g < 100);
    EXPECT_TRUE(yellow.a == 255 && yellow.r > 200 && yellow.g > 200 && yellow.b < 80);
}

TEST(WindowIcon, QuartersAreEqualInSize)
{
    std::vector<unsigned char> icon = drawn_icon();
    // Count each quarter's pixels by colour over the whole picture.
    int red = 0, green = 0, blue = 0, yellow = 0;
    for (int y = 0; y < window_icon_size; ++y) {
        for (int x = 0; x < window_icon_size; ++x) {
            Pixel p = icon_pixel(icon, x, y);
            if (p.a != 255)
                continue;
            red += p.r > 200 && p.g < 80;
            green += p.g > 150 && p.r < 80 && p.b < 100;
            blue += p.b > 200 && p.r < 80 && p.g < 100;
            yellow += p.r > 200 && p.g > 200 && p.b < 80;
        }
    }
    EXPECT_GT(red, 0);
    EXPECT_EQ(red, green);
    EXPECT_EQ(red, blue);
    EXPECT_EQ(red, yellow);
}

TEST(WindowIcon, LightBlueCasingAndStandOnTransparentSurround)
{
    std::vector<unsigned char> icon = drawn_icon();
    // Casing around the screen.
    EXPECT_TRUE(is_light_blue(icon_pixel(icon, 5, 25)));
    EXPECT_TRUE(is_light_blue(icon_pixel(icon, 58, 25)));
    EXPECT_TRUE(is_light_blue(icon_pixel(icon, 30, 7)));
    EXPECT_TRUE(is_light_blue(icon_pixel(icon, 30, 44)));
    // The stand below the casing: a neck in the middle and a wider foot.
    EXPECT_TRUE(is_light_blue(icon_pixel(icon, 31, 49)));
    EXPECT_TRUE(is_light_blue(icon_pixel(icon, 20, 54)));
    EXPECT_TRUE(is_light_blue(icon_pixel(icon, 43, 54)));
    // Fully transparent corners and sides of the neck.
    EXPECT_EQ(icon_pixel(icon, 0, 0).a, 0);
    EXPECT_EQ(icon_pixel(icon, 63, 0).a, 0);
    EXPECT_EQ(icon_pixel(icon, 0, 63).a, 0);
    EXPECT_EQ(icon_pixel(icon, 63, 63).a, 0);
    EXPECT_EQ(icon_pixel(icon, 10, 49).a, 0);
    EXPECT_EQ(icon_pixel(icon, 53, 49).a, 0);
}

// Every byte is written: transparent pixels are all zero, whatever the
// buffer held before.
TEST(WindowIcon, EveryPixelIsOpaqueOrFullyTransparent)
{
    std::vector<unsigned char> icon = drawn_icon();
    for (int y = 0; y < window_icon_size; ++y) {
        for (int x = 0; x < window_icon_size; ++x) {
            Pixel p = icon_pixel(icon, x, y);
            ASSERT_TRUE(p.a == 255 || (p.a == 0 && p.r == 0 && p.g == 0 && p.b == 0)) << x << "," << y;
        }
    }
}

} // namespace
