// The attach operation on X11, in one process: a host window made with our
// own X connection, and the library window that glfwAttachNativeWindow puts
// inside it. Checks the contract the saver relies on: a child at the host's
// size with a working GL context, resize following through the size
// callback, the library's error reporting, context sharing, and survival
// of the host's destruction.
#include "app/attach_window.h"

#include "tests/support/x11_platform_hint.h"

#include <gtest/gtest.h>

#include <glad/gl.h>
#define GLFW_INCLUDE_NONE
#include <GLFW/glfw3.h>
#define GLFW_EXPOSE_NATIVE_X11
#include <GLFW/glfw3native.h>

#include <chrono>
#include <thread>
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

class AttachWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        reported_errors.clear();
        last_width = last_height = 0;
        glfwSetErrorCallback(record_error);
        hint_x11_platform();
        ASSERT_TRUE(glfwInit());
        // A separate connection, as the screensaver host would be another
        // client of the server.
        host_display = XOpenDisplay(nullptr);
        ASSERT_NE(host_display, nullptr);
        int screen = DefaultScreen(host_display);
        host = XCreateSimpleWindow(host_display, RootWindow(host_display, screen), 10, 10, 96, 64, 0, 0,
                                   WhitePixel(host_display, screen));
        XMapWindow(host_display, host);
        XSync(host_display, False);
    }

    void TearDown() override
    {
        glfwTerminate();
        if (host_display) {
            if (host)
                XDestroyWindow(host_display, host);
            XCloseDisplay(host_display);
        }
        glfwSetErrorCallback(nullptr);
    }

    Window parent_of(Window w)
    {
        Window root = 0, parent = 0;
        Window* children = nullptr;
        unsigned count = 0;
        XQueryTree(host_display, w, &root, &parent, &children, &count);
        if (children)
            XFree(children);
        return parent;
    }

    // Colour of host pixel (x, y) as the server shows it.
    unsigned long host_pixel(int x, int y)
    {
        XImage* image = XGetImage(host_display, host, x, y, 1, 1, AllPlanes, ZPixmap);
        if (!image)
            return 0xdeadbeef;
        unsigned long p = XGetPixel(image, 0, 0) & 0xffffff;
        XDestroyImage(image);
        return p;
    }

    void fill(GLFWwindow* window, float r, float g, float b)
    {
        glfwMakeContextCurrent(window);
        glClearColor(r, g, b, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT);
        glfwSwapBuffers(window);
        glFinish();
    }

    // Frames of the saver's loop until `done` or about two seconds.
    template <typename Done>
    bool run_frames(GLFWwindow* window, Done done)
    {
        for (int i = 0; i < 200; ++i) {
            glfwPollEvents();
            follow_native_host(window);
            if (done())
                return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        return false;
    }

    Display* host_display = nullptr;
    Window host = 0;
};

TEST_F(AttachWindowTest, MakesAChildOfTheHostAtItsSize)
{
    GLFWwindow* window = glfwAttachNativeWindow(host, nullptr);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(parent_of(glfwGetX11Window(window)), host);
    int width = 0, height = 0;
    glfwGetWindowSize(window, &width, &height);
    EXPECT_EQ(width, 96);
    EXPECT_EQ(height, 64);
    XWindowAttributes attributes;
    ASSERT_TRUE(XGetWindowAttributes(host_display, glfwGetX11Window(window), &attributes));
    EXPECT_EQ(attributes.x, 0);
    EXPECT_EQ(attributes.y, 0);
    EXPECT_EQ(attributes.map_state, IsViewable);
    EXPECT_TRUE(reported_errors.empty());
}

// What the context draws and swaps shows in the host's area.
TEST_F(AttachWindowTest, DrawingShowsInsideTheHost)
{
    GLFWwindow* window = glfwAttachNativeWindow(host, nullptr);
    ASSERT_NE(window, nullptr);
    glfwMakeContextCurrent(window);
    ASSERT_TRUE(gladLoadGL(glfwGetProcAddress));
    bool shown = run_frames(window, [&] {
        fill(window, 1.0f, 0.0f, 0.0f);
        return host_pixel(5, 5) == 0xff0000 && host_pixel(95, 63) == 0xff0000;
    });
    EXPECT_TRUE(shown) << std::hex << host_pixel(5, 5);
}

// A host resize reaches the child and the window-size callback.
TEST_F(AttachWindowTest, FollowsAHostResizeThroughTheSizeCallback)
{
    GLFWwindow* window = glfwAttachNativeWindow(host, nullptr);
    ASSERT_NE(window, nullptr);
    glfwSetWindowSizeCallback(window, record_size);
    XResizeWindow(host_display, host, 130, 90);
    XSync(host_display, False);
    EXPECT_TRUE(run_frames(window, [] { return last_width == 130 && last_height == 90; }));
    int width = 0, height = 0;
    glfwGetWindowSize(window, &width, &height);
    EXPECT_EQ(width, 130);
    EXPECT_EQ(height, 90);
}

// Destroying the host (and with it our child) while frames go on: no
// fatal X error, and nothing more happens.
TEST_F(AttachWindowTest, SurvivesTheHostsDestruction)
{
    GLFWwindow* window = glfwAttachNativeWindow(host, nullptr);
    ASSERT_NE(window, nullptr);
    glfwMakeContextCurrent(window);
    ASSERT_TRUE(gladLoadGL(glfwGetProcAddress));
    // A resize first: the library resets the X error handler while
    // handling it.
    glfwSetWindowSizeCallback(window, record_size);
    XResizeWindow(host_display, host, 80, 50);
    XSync(host_display, False);
    ASSERT_TRUE(run_frames(window, [] { return last_width == 80; }));
    XDestroyWindow(host_display, host);
    XSync(host_display, False);
    host = 0;
    for (int i = 0; i < 20; ++i) {
        fill(window, 0.0f, 0.0f, 1.0f);
        glfwPollEvents();
        follow_native_host(window);
    }
    SUCCEED() << "still running after frames into a destroyed host";
}

TEST_F(AttachWindowTest, RefusesAHostThatDoesNotExist)
{
    Window gone = host;
    XDestroyWindow(host_display, host);
    XSync(host_display, False);
    host = 0;
    EXPECT_EQ(glfwAttachNativeWindow(gone, nullptr), nullptr);
}

// Before glfwInit the library's own error is reported and nothing is made.
TEST_F(AttachWindowTest, ReportsNotInitialised)
{
    glfwTerminate();
    reported_errors.clear();
    EXPECT_EQ(glfwAttachNativeWindow(host, nullptr), nullptr);
    ASSERT_FALSE(reported_errors.empty());
    EXPECT_EQ(reported_errors.front(), GLFW_NOT_INITIALIZED);
}

// A share window's objects are visible in the attached window's context.
TEST_F(AttachWindowTest, SharesObjectsWithTheShareWindow)
{
    glfwWindowHint(GLFW_VISIBLE, GLFW_FALSE);
    GLFWwindow* other = glfwCreateWindow(16, 16, "share", nullptr, nullptr);
    glfwDefaultWindowHints();
    ASSERT_NE(other, nullptr);
    glfwMakeContextCurrent(other);
    ASSERT_TRUE(gladLoadGL(glfwGetProcAddress));
    GLuint texture = 0;
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    glFinish();

    GLFWwindow* window = glfwAttachNativeWindow(host, other);
    ASSERT_NE(window, nullptr);
    glfwMakeContextCurrent(window);
    EXPECT_EQ(glIsTexture(texture), GL_TRUE);
}

// The attached window is hidden while made and never becomes a top-level
// window: the root's viewable children stay as they were.
TEST_F(AttachWindowTest, ShowsNothingOutsideTheHost)
{
    auto viewable_top_levels = [&] {
        std::vector<Window> result;
        Window root = 0, parent = 0;
        Window* children = nullptr;
        unsigned count = 0;
        XQueryTree(host_display, DefaultRootWindow(host_display), &root, &parent, &children, &count);
        for (unsigned i = 0; i < count; ++i) {
            XWindowAttributes a;
            if (XGetWindowAttributes(host_display, children[i], &a) && a.map_state == IsViewable)
                result.push_back(children[i]);
        }
        if (children)
            XFree(children);
        return result;
    };
    auto before = viewable_top_levels();
    GLFWwindow* window = glfwAttachNativeWindow(host, nullptr);
    ASSERT_NE(window, nullptr);
    int frames = 0;
    run_frames(window, [&] { return ++frames == 20; });
    EXPECT_EQ(viewable_top_levels(), before);
}

} // namespace
