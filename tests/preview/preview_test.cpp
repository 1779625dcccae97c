// Preview mode end to end on X11: these tests play the screensaver host. They
// own a small window, start the saver with "/p <window id>" and watch from
// outside what it does with that window: a child window at the host's size
// that the scene is drawn into, following the host's resizes, nothing shown
// anywhere else, and a clean exit (code 0) when the host goes away.
#include <gtest/gtest.h>

// Xlib after GoogleTest: its macros (None, Bool, Status) clash with it.
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <chrono>
#include <set>
#include <signal.h>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace {

// The host's own background: whatever the saver draws is not this.
const unsigned long host_red = 255, host_green = 0, host_blue = 255;

bool x_error_seen = false;
int note_x_error(Display*, XErrorEvent*)
{
    x_error_seen = true;
    return 0;
}

void sleep_ms(int ms)
{
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

struct Geometry {
    int x = 0, y = 0, width = 0, height = 0;
    bool viewable = false;
};

class PreviewTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        display = XOpenDisplay(nullptr);
        ASSERT_NE(display, nullptr) << "no X display: run under Xvfb";
        XSetErrorHandler(note_x_error);
        top_level_before = viewable_top_level_windows();
    }

    void TearDown() override
    {
        if (saver > 0) {
            kill(saver, SIGKILL);
            waitpid(saver, nullptr, 0);
        }
        if (display) {
            if (host)
                XDestroyWindow(display, host);
            XCloseDisplay(display);
        }
    }

    void make_host(int width, int height)
    {
        int screen = DefaultScreen(display);
        XColor colour{};
        colour.red = static_cast<unsigned short>(host_red * 257);
        colour.green = static_cast<unsigned short>(host_green * 257);
        colour.blue = static_cast<unsigned short>(host_blue * 257);
        XAllocColor(display, DefaultColormap(display, screen), &colour);
        host = XCreateSimpleWindow(display, RootWindow(display, screen), 40, 40, static_cast<unsigned>(width),
                                   static_cast<unsigned>(height), 0, 0, colour.pixel);
        XStoreName(display, host, "Preview host");
        XMapWindow(display, host);
        XSync(display, False);
        top_level_before.insert(host);
    }

    void start_saver(const std::string& host_argument)
    {
        std::string path = VESPERINE_PATH;
        std::vector<char*> argv{&path[0], const_cast<char*>("/p"), const_cast<char*>(host_argument.c_str()),
                                nullptr};
        ASSERT_EQ(posix_spawn(&saver, argv[0], nullptr, nullptr, argv.data(), environ), 0);
    }

    void start_saver_in_host() { start_saver(std::to_string(host)); }

    Geometry geometry_of(Window w)
    {
        Geometry g;
        XWindowAttributes attributes;
        x_error_seen = false;
        if (XGetWindowAttributes(display, w, &attributes) && !x_error_seen) {
            g.x = attributes.x;
            g.y = attributes.y;
            g.width = attributes.width;
            g.height = attributes.height;
            g.viewable = attributes.map_state == IsViewable;
        }
        return g;
    }

    std::vector<Window> children_of(Window w)
    {
        std::vector<Window> result;
        Window root, parent;
        Window* children = nullptr;
        unsigned count = 0;
        x_error_seen = false;
        if (XQueryTree(display, w, &root, &parent, &children, &count) && !x_error_seen)
            result.assign(children, children + count);
        if (children)
            XFree(children);
        return result;
    }

    std::set<Window> viewable_top_level_windows()
    {
        std::set<Window> result;
        for (Window w : children_of(DefaultRootWindow(display)))
            if (geometry_of(w).viewable)
                result.insert(w);
        return result;
    }

    // Our child inside the host once it is mapped there, else 0.
    Window wait_for_child(int timeout_ms = 10000)
    {
        for (int waited = 0; waited < timeout_ms; waited += 25) {
            for (Window w : children_of(host))
                if (geometry_of(w).viewable)
                    return w;
            if (saver_exited())
                return 0;
            sleep_ms(25);
        }
        return 0;
    }

    bool wait_for_size(Window w, int width, int height, int timeout_ms = 5000)
    {
        for (int waited = 0; waited < timeout_ms; waited += 25) {
            Geometry g = geometry_of(w);
            if (g.width == width && g.height == height)
                return true;
            sleep_ms(25);
        }
        return false;
    }

    // Pixels of the host area that still show the host's own background.
    int host_coloured_pixels()
    {
        Geometry g = geometry_of(host);
        XImage* image = XGetImage(display, host, 0, 0, static_cast<unsigned>(g.width),
                                  static_cast<unsigned>(g.height), AllPlanes, ZPixmap);
        if (!image)
            return -1;
        int n = 0;
        for (int y = 0; y < g.height; ++y)
            for (int x = 0; x < g.width; ++x) {
                unsigned long p = XGetPixel(image, x, y);
                n += ((p >> 16) & 0xff) == host_red && ((p >> 8) & 0xff) == host_green && (p & 0xff) == host_blue;
            }
        XDestroyImage(image);
        return n;
    }

    // Percentages of host row y whose pixels pass `test` (r, g, b).
    template <typename Test>
    int percent_of_row(int y, Test test)
    {
        Geometry g = geometry_of(host);
        XImage* image = XGetImage(display, host, 0, y, static_cast<unsigned>(g.width), 1, AllPlanes, ZPixmap);
        if (!image)
            return -1;
        int n = 0;
        for (int x = 0; x < g.width; ++x) {
            unsigned long p = XGetPixel(image, x, 0);
            n += test(static_cast<int>((p >> 16) & 0xff), static_cast<int>((p >> 8) & 0xff),
                      static_cast<int>(p & 0xff));
        }
        XDestroyImage(image);
        return g.width > 0 ? n * 100 / g.width : 0;
    }

    // The night sky over the whole host area: bright blue along the bottom,
    // dark along the top (snowflakes are few and small at these sizes).
    // Waits up to `timeout_ms` for it: after a resize the first frame at the
    // new size comes a frame period or two later.
    ::testing::AssertionResult shows_the_sky(int timeout_ms = 5000)
    {
        int blue = 0, dark = 0;
        for (int waited = 0; waited < timeout_ms; waited += 25) {
            Geometry g = geometry_of(host);
            blue = percent_of_row(g.height - 1, [](int r, int, int b) { return b > 80 && b > r + 40; });
            dark = percent_of_row(0, [](int r, int gr, int b) { return r < 60 && gr < 60 && b < 60; });
            if (blue >= 90 && dark >= 90)
                return ::testing::AssertionSuccess();
            sleep_ms(25);
        }
        return ::testing::AssertionFailure() << blue << "% of the bottom row blue, " << dark
                                             << "% of the top row dark";
    }

    // True once the saver has drawn over the whole host area.
    bool wait_until_drawn(int timeout_ms = 15000)
    {
        for (int waited = 0; waited < timeout_ms; waited += 50) {
            if (host_coloured_pixels() == 0)
                return true;
            if (saver_exited())
                return false;
            sleep_ms(50);
        }
        return false;
    }

    bool saver_exited()
    {
        if (saver <= 0)
            return true;
        int status = 0;
        if (waitpid(saver, &status, WNOHANG) == saver) {
            saver = 0;
            exit_status = WIFEXITED(status) ? WEXITSTATUS(status) : 1000 + WTERMSIG(status);
            return true;
        }
        return false;
    }

    // Exit status of the saver, or -1 when it still runs after the timeout.
    int wait_for_exit(int timeout_ms = 10000)
    {
        for (int waited = 0; waited < timeout_ms; waited += 25) {
            if (saver_exited())
                return exit_status;
            sleep_ms(25);
        }
        return -1;
    }

    Display* display = nullptr;
    Window host = 0;
    pid_t saver = 0;
    int exit_status = -1;
    std::set<Window> top_level_before;
};

// The saver puts one child window of the host's size at (0, 0) inside the
// host and draws over the whole host area.
TEST_F(PreviewTest, DrawsIntoAChildCoveringTheHost)
{
    make_host(160, 120);
    start_saver_in_host();
    Window child = wait_for_child();
    ASSERT_NE(child, 0u) << "no child window appeared in the host";
    ASSERT_TRUE(wait_for_size(child, 160, 120));
    Geometry g = geometry_of(child);
    EXPECT_EQ(g.x, 0);
    EXPECT_EQ(g.y, 0);
    EXPECT_EQ(children_of(host).size(), 1u);
    EXPECT_TRUE(wait_until_drawn()) << host_coloured_pixels() << " host pixels never drawn over";
    EXPECT_TRUE(shows_the_sky()) << "the host area does not show the scene's sky";
}

// No window of the saver shows anywhere outside the host.
TEST_F(PreviewTest, ShowsNothingOutsideTheHost)
{
    make_host(160, 120);
    start_saver_in_host();
    ASSERT_NE(wait_for_child(), 0u);
    for (int i = 0; i < 10; ++i) {
        EXPECT_EQ(viewable_top_level_windows(), top_level_before);
        sleep_ms(50);
    }
}

// A host resize resizes the child, and the saver draws the whole new area.
TEST_F(PreviewTest, FollowsTheHostSize)
{
    make_host(160, 120);
    start_saver_in_host();
    Window child = wait_for_child();
    ASSERT_NE(child, 0u);
    ASSERT_TRUE(wait_until_drawn());

    XResizeWindow(display, host, 240, 180);
    XSync(display, False);
    EXPECT_TRUE(wait_for_size(child, 240, 180));
    EXPECT_TRUE(wait_until_drawn()) << "the grown area stays undrawn";
    EXPECT_TRUE(shows_the_sky()) << "the grown area does not show the whole sky";

    XResizeWindow(display, host, 100, 70);
    XSync(display, False);
    EXPECT_TRUE(wait_for_size(child, 100, 70));
    EXPECT_FALSE(saver_exited());
}

// Destroying the host ends the saver with exit code 0 (no crash from the
// GL window that went with it).
TEST_F(PreviewTest, EndsWithZeroWhenTheHostIsDestroyed)
{
    make_host(160, 120);
    start_saver_in_host();
    ASSERT_NE(wait_for_child(), 0u);
    ASSERT_TRUE(wait_until_drawn());
    XDestroyWindow(display, host);
    XSync(display, False);
    host = 0;
    EXPECT_EQ(wait_for_exit(), 0);
}

// A resize and the host's end in quick succession, while frames are being
// swapped into the child: still a clean exit with code 0.
TEST_F(PreviewTest, EndsWithZeroWhenTheHostGoesRightAfterAResize)
{
    make_host(160, 120);
    start_saver_in_host();
    ASSERT_NE(wait_for_child(), 0u);
    ASSERT_TRUE(wait_until_drawn());
    for (int i = 0; i < 5; ++i) {
        XResizeWindow(display, host, static_cast<unsigned>(150 + 10 * i), static_cast<unsigned>(110 + 5 * i));
        XSync(display, False);
        sleep_ms(15);
    }
    XDestroyWindow(display, host);
    XSync(display, False);
    host = 0;
    EXPECT_EQ(wait_for_exit(), 0);
}

// The child is an ordinary library window: a click on it ends the saver
// with exit code 0, as in full-screen mode.
TEST_F(PreviewTest, ClickInsideThePreviewEndsWithZero)
{
    make_host(160, 120);
    start_saver_in_host();
    ASSERT_NE(wait_for_child(), 0u);
    ASSERT_TRUE(wait_until_drawn());
    ASSERT_EQ(std::system("xdotool mousemove 120 100 click 1 >/dev/null 2>&1"), 0);
    EXPECT_EQ(wait_for_exit(), 0);
}

// A handle that names no window: nothing is shown and the run ends with 0.
TEST_F(PreviewTest, EndsWithZeroForAHostThatDoesNotExist)
{
    make_host(160, 120);
    Window gone = host;
    XDestroyWindow(display, host);
    XSync(display, False);
    host = 0;
    top_level_before.erase(gone);
    start_saver(std::to_string(gone));
    EXPECT_EQ(wait_for_exit(), 0);
    EXPECT_EQ(viewable_top_level_windows(), top_level_before);
}

} // namespace
