// The saver's start-up where the renderer is reported as a GPU (an injected
// name; the machine's own is llvmpipe): four samples, the display's rate,
// no note. A display that offers no multisampled visual at all (Debian 13's
// Xvfb) cannot show the four samples: the test is skipped there, and the
// fallback has its own test.
#include "app/frame_pacer.h"
#include "app/launch_options.h"
#include "app/renderer_settings.h"
#include "app/saver_app.h"

#include "render/scene.h"
#include "tests/support/hidden_gl_window.h"

#include <glad/gl.h>
#define GLFW_INCLUDE_NONE
#include <GLFW/glfw3.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

namespace {

bool display_offers_four_samples()
{
    GLFWwindow* probe = open_hidden_gl_window(16, 16, "samples probe", 4);
    if (!probe)
        return false;
    GLint samples = 0;
    glGetIntegerv(GL_SAMPLES, &samples);
    glfwDestroyWindow(probe);
    glfwTerminate(); // the saver starts the library afresh, with its own hints
    return samples >= 4;
}

} // namespace

TEST(RendererSettings, AGpuKeepsFourSamplesAndTheDisplaysRate)
{
    if (!display_offers_four_samples())
        GTEST_SKIP() << "the display offers no four-sample visual";
    setenv("VESPERINE_GL_RENDERER", "NVIDIA GeForce RTX 3060/PCIe/SSE2", 1);
    testing::internal::CaptureStderr();
    SaverApp* app = new SaverApp(new LaunchOptions("/s"));
    const std::string noted = testing::internal::GetCapturedStderr();
    ASSERT_NE(app->glfw_window(), nullptr);
    GLint samples = -1;
    glGetIntegerv(GL_SAMPLES, &samples);
    EXPECT_EQ(samples, 4);
    EXPECT_FALSE(software_renderer_found());
    EXPECT_FALSE(scene.draws_only_what_shows);
    const FramePacer pacer(144, glfwGetTime, nullptr);
    EXPECT_DOUBLE_EQ(pacer.period(), 1.0 / (144 * FramePacer::margin)) << "paced by the display";
    EXPECT_EQ(noted, "");
}
