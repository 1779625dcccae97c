// The display window on a driver without multisampled formats (the test
// build refuses every window that asks for samples, see
// refuse_multisample.cpp): the saver opens it without samples, reports no
// error, and draws the scene.
#include "app/launch_options.h"
#include "app/saver_app.h"
#include "render/scene.h"
#include "tests/scene/gl_window.h"

#include <gtest/gtest.h>

#include <string>

extern int refused_multisample_windows;

namespace {

TEST(MultisampleFallback, OpensWithoutSamplesAndDrawsTheScene)
{
    testing::internal::CaptureStderr();
    SaverApp* app = new SaverApp(new LaunchOptions("/s"));
    std::string shown = testing::internal::GetCapturedStderr();
    ASSERT_NE(app->glfw_window(), nullptr);
    EXPECT_EQ(refused_multisample_windows, 1) << "one try with samples, then one without";
    EXPECT_EQ(shown, "") << "no box on the way";
    GLint samples = -1;
    glGetIntegerv(GL_SAMPLES, &samples);
    EXPECT_EQ(samples, 0);

    // At 9 s the particles placed at set-up are well in view.
    set_up_scene();
    draw_frame(9.0f);
    int width = window_width;
    int height = window_height;
    std::vector<unsigned char> rgb = read_image(width, height);
    auto pixel = [&](int x, int y) { return &rgb[(static_cast<std::size_t>(y) * width + x) * 3]; };

    // The night sky: near black along the top row, bluer towards the bottom.
    const unsigned char* bottom = pixel(width / 2, 0);
    const unsigned char* top = pixel(width / 2, height - 1);
    EXPECT_LT(top[2], 20) << "top " << int(top[0]) << "," << int(top[1]) << "," << int(top[2]);
    EXPECT_GT(bottom[2], top[2] + 20) << "bottom " << int(bottom[0]) << "," << int(bottom[1]) << "," << int(bottom[2]);
    // Snowflakes in front of it: lit pixels far redder than any sky pixel.
    int flake_pixels = 0;
    for (std::size_t i = 0; i < rgb.size(); i += 3)
        flake_pixels += rgb[i] >= 100;
    EXPECT_GT(flake_pixels, 50);
}

} // namespace
