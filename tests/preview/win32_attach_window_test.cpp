// The attach operation on Windows with the host in another process, as a
// real screensaver host is: our library window becomes a child of that
// window, at its client size, with a GL context that draws; it follows the
// host's resizes through the size callback, and frames go on harmlessly
// while the host is disabled or destroyed.
#include "app/attach_window.h"
#include "platform/platform.h"
#include "tests/preview/win32_test_process.h"

#include <gtest/gtest.h>

#include <glad/gl.h>
#define GLFW_INCLUDE_NONE
#include <GLFW/glfw3.h>
#define GLFW_EXPOSE_NATIVE_WIN32
#include <GLFW/glfw3native.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace {

std::vector<int> reported_errors;
void record_error(int code, const char*)
{
    reported_errors.push_back(code);
}

int last_width = 0;
int last_height = 0;
void record_size(GLFWwindow*, int width, int height)
{
    last_width = width;
    last_height = height;
}

class Win32AttachTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        reported_errors.clear();
        last_width = last_height = 0;
        glfwSetErrorCallback(record_error);
        ASSERT_TRUE(glfwInit());
        host_process = new TestProcess("\"" + executable_folder() + "win32_preview_host.exe\" 160 120");
        ASSERT_TRUE(host_process->started());
        std::string line;
        host_process->read_line(&line, 10000);
        long long handle = 0;
        ASSERT_EQ(std::sscanf(line.c_str(), "host %lld", &handle), 1) << "host said: " << line;
        host = static_cast<std::uintptr_t>(handle);
    }

    void TearDown() override
    {
        glfwTerminate();
        delete host_process;
        glfwSetErrorCallback(nullptr);
    }

    std::string command(const std::string& text)
    {
        host_process->write_line(text);
        std::string answer;
        host_process->read_line(&answer, 10000);
        return answer;
    }

    // Frames as the saver runs them, until `done` or about three seconds.
    template <typename Done>
    bool run_frames(GLFWwindow* window, Done done)
    {
        for (int i = 0; i < 300; ++i) {
            glfwPollEvents();
            follow_native_host(window);
            if (done())
                return true;
            Sleep(10);
        }
        return false;
    }

    TestProcess* host_process = nullptr;
    std::uintptr_t host = 0;
};

TEST_F(Win32AttachTest, MakesAChildOfTheForeignHostAtItsClientSize)
{
    GLFWwindow* window = glfwAttachNativeWindow(host, nullptr);
    ASSERT_NE(window, nullptr);
    HWND child = glfwGetWin32Window(window);
    EXPECT_EQ(GetParent(child), reinterpret_cast<HWND>(host));
    EXPECT_TRUE(GetWindowLongPtrW(child, GWL_STYLE) & WS_CHILD);
    EXPECT_FALSE(GetWindowLongPtrW(child, GWL_STYLE) & WS_POPUP);
    EXPECT_TRUE(IsWindowVisible(child));
    RECT client{};
    GetClientRect(child, &client);
    EXPECT_EQ(client.right, 160);
    EXPECT_EQ(client.bottom, 120);
    int width = 0, height = 0;
    glfwGetWindowSize(window, &width, &height);
    EXPECT_EQ(width, 160);
    EXPECT_EQ(height, 120);
    EXPECT_EQ(command("children"), "children 1 160 120 1");
    EXPECT_TRUE(reported_errors.empty());
}

// The context is current-able and draws into a framebuffer of the host's
// client size (read back before the swap: another process's window shows
// nothing of our GL under Wine).
TEST_F(Win32AttachTest, DrawsWithItsOwnContext)
{
    GLFWwindow* window = glfwAttachNativeWindow(host, nullptr);
    ASSERT_NE(window, nullptr);
    glfwMakeContextCurrent(window);
    ASSERT_TRUE(gladLoadGL(glfwGetProcAddress));
    GLint viewport[4] = {};
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(viewport[2], 160);
    EXPECT_EQ(viewport[3], 120);
    glClearColor(0.0f, 1.0f, 0.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    unsigned char pixel[4] = {};
    glReadPixels(80, 60, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, pixel);
    EXPECT_EQ(pixel[0], 0);
    EXPECT_EQ(pixel[1], 255);
    EXPECT_EQ(pixel[2], 0);
    glfwSwapBuffers(window);
}

TEST_F(Win32AttachTest, FollowsAHostResizeThroughTheSizeCallback)
{
    GLFWwindow* window = glfwAttachNativeWindow(host, nullptr);
    ASSERT_NE(window, nullptr);
    glfwSetWindowSizeCallback(window, record_size);
    ASSERT_EQ(command("resize 240 180"), "ok");
    EXPECT_TRUE(run_frames(window, [] { return last_width == 240 && last_height == 180; }));
    RECT client{};
    GetClientRect(glfwGetWin32Window(window), &client);
    EXPECT_EQ(client.right, 240);
    EXPECT_EQ(client.bottom, 180);
    EXPECT_EQ(command("children"), "children 1 240 180 1");
}

// A disabled host is what ends the saver's loop; attaching changes nothing
// about how that reads.
TEST_F(Win32AttachTest, DisabledHostReadsAsNotEnabled)
{
    GLFWwindow* window = glfwAttachNativeWindow(host, nullptr);
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(platform::host_is_enabled(host));
    ASSERT_EQ(command("disable"), "ok");
    EXPECT_TRUE(run_frames(window, [&] { return !platform::host_is_enabled(host); }));
}

// The host's end takes our child with it; frames, swaps and the follow-up
// after that are harmless.
TEST_F(Win32AttachTest, SurvivesTheHostsDestruction)
{
    GLFWwindow* window = glfwAttachNativeWindow(host, nullptr);
    ASSERT_NE(window, nullptr);
    glfwMakeContextCurrent(window);
    ASSERT_TRUE(gladLoadGL(glfwGetProcAddress));
    ASSERT_EQ(command("destroy"), "ok");
    EXPECT_EQ(host_process->wait(10000), 0);
    EXPECT_FALSE(platform::host_is_enabled(host));
    for (int i = 0; i < 10; ++i) {
        glClear(GL_COLOR_BUFFER_BIT);
        glfwSwapBuffers(window);
        glfwPollEvents();
        follow_native_host(window);
    }
    EXPECT_FALSE(IsWindow(glfwGetWin32Window(window)));
}

TEST_F(Win32AttachTest, RefusesAHostThatDoesNotExist)
{
    ASSERT_EQ(command("destroy"), "ok");
    EXPECT_EQ(host_process->wait(10000), 0);
    EXPECT_EQ(glfwAttachNativeWindow(host, nullptr), nullptr);
}

TEST_F(Win32AttachTest, ReportsNotInitialised)
{
    glfwTerminate();
    reported_errors.clear();
    EXPECT_EQ(glfwAttachNativeWindow(host, nullptr), nullptr);
    ASSERT_FALSE(reported_errors.empty());
    EXPECT_EQ(reported_errors.front(), GLFW_NOT_INITIALIZED);
}

} // namespace
