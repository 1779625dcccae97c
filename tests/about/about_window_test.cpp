// The About window seen from outside, as a user and the X server see it:
// a separate process shows it, and these tests look at its place, its
// pixels, what its button starts and how it ends. ABOUT_COMMAND is the
// program and its arguments (the test host, or the real saver with /c).
#include "platform/platform.h"

// GoogleTest before Xlib: Xlib's macros (None, Bool, Status) clash with it.
#include <gtest/gtest.h>

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include "tests/support/x_close_request.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <signal.h>
#include <spawn.h>
#include <sstream>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace {

const unsigned char background[3] = {177, 232, 179};
const unsigned char notice_blue[3] = {0, 51, 255};
const char* const about_command[] = {ABOUT_COMMAND};

bool x_error_seen = false;
int note_x_error(Display*, XErrorEvent*)
{
    x_error_seen = true;
    return 0;
}

struct Rgb {
    unsigned char r, g, b;
    bool is(const unsigned char c[3]) const { return r == c[0] && g == c[1] && b == c[2]; }
};

std::string read_file(const std::string& path)
{
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

void sleep_ms(int ms)
{
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

// How long the waits below keep trying: hang guards, not speed targets,
// since a loaded machine can take seconds to start or paint a window.
std::chrono::steady_clock::time_point patience_ends()
{
    return std::chrono::steady_clock::now() + std::chrono::seconds(30);
}

class AboutWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        display = XOpenDisplay(nullptr);
        ASSERT_NE(display, nullptr) << "no X display: run under Xvfb";
        XSetErrorHandler(note_x_error);

        // A stand-in opener first on PATH that records each address it gets.
        char pattern[] = "/tmp/vesperine-about-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        folder = pattern;
        opener_log = folder + "/opened.txt";
        std::string opener = folder + "/xdg-open";
        {
            std::ofstream script(opener);
            script << "#!/bin/sh\nprintf '%s\\n' \"$1\" >> \"" << opener_log << "\"\n";
        }
        chmod(opener.c_str(), 0755);

        std::string path = "PATH=" + folder + ":" + (std::getenv("PATH") ? std::getenv("PATH") : "");
        std::vector<std::string> environment{path};
        for (char** e = environ; *e; ++e)
            if (std::strncmp(*e, "PATH=", 5) != 0)
                environment.push_back(*e);
        std::vector<char*> envp;
        for (auto& e : environment)
            envp.push_back(&e[0]);
        envp.push_back(nullptr);
        std::vector<char*> argv;
        for (const char* a : about_command)
            argv.push_back(const_cast<char*>(a));
        argv.push_back(nullptr);
        ASSERT_EQ(posix_spawn(&child, argv[0], nullptr, nullptr, argv.data(), envp.data()), 0);

        window = wait_for_window();
        ASSERT_NE(window, 0u) << "no About window appeared";
        wait_until_painted();
    }

    void TearDown() override
    {
        if (child > 0) {
            kill(child, SIGKILL);
            waitpid(child, nullptr, 0);
        }
        if (!folder.empty()) {
            std::remove(opener_log.c_str());
            std::remove((folder + "/xdg-open").c_str());
            rmdir(folder.c_str());
        }
        if (display)
            XCloseDisplay(display);
    }

    bool is_about_window(Window w)
    {
        XWindowAttributes attributes;
        if (!XGetWindowAttributes(display, w, &attributes) || attributes.map_state != IsViewable)
            return false;
        char* name = nullptr;
        bool titled = XFetchName(display, w, &name) && name && std::strcmp(name, "About") == 0;
        if (name)
            XFree(name);
        XClassHint hint{};
        bool classed = XGetClassHint(display, w, &hint) && std::strcmp(hint.res_name, "vesperine") == 0 &&
                       std::strcmp(hint.res_class, "Vesperine") == 0;
        if (hint.res_name)
            XFree(hint.res_name);
        if (hint.res_class)
            XFree(hint.res_class);
        return titled && classed;
    }

    Window wait_for_window()
    {
        for (const auto end = patience_ends(); std::chrono::steady_clock::now() < end;) {
            Window root_return, parent;
            Window* children = nullptr;
            unsigned count = 0;
            x_error_seen = false;
            if (XQueryTree(display, DefaultRootWindow(display), &root_return, &parent, &children, &count)) {
                Window found = 0;
                for (unsigned i = count; i-- > 0 && !found;)
                    if (is_about_window(children[i]))
                        found = children[i];
                if (children)
                    XFree(children);
                if (found)
                    return found;
            }
            sleep_ms(50);
        }
        return 0;
    }

    // The client area as the screen shows it, row by row from the top.
    std::vector<Rgb> client_pixels()
    {
        std::vector<Rgb> pixels;
        XImage* image = XGetImage(display, window, 0, 0, 400, 300, AllPlanes, ZPixmap);
        if (!image)
            return pixels;
        pixels.resize(400 * 300);
        for (int y = 0; y < 300; ++y)
            for (int x = 0; x < 400; ++x) {
                unsigned long p = XGetPixel(image, x, y);
                pixels[y * 400 + x] = Rgb{static_cast<unsigned char>((p >> 16) & 0xff),
                                          static_cast<unsigned char>((p >> 8) & 0xff),
                                          static_cast<unsigned char>(p & 0xff)};
            }
        XDestroyImage(image);
        return pixels;
    }

    static Rgb at(const std::vector<Rgb>& pixels, int x, int y) { return pixels[y * 400 + x]; }

    // The heading is drawn last but one; once black shows in its box the
    // first paint is complete.
    void wait_until_painted()
    {
        for (const auto end = patience_ends(); std::chrono::steady_clock::now() < end;) {
            auto pixels = client_pixels();
            if (!pixels.empty() && count_in(pixels, 70, 20, 280, 20, Rgb{0, 0, 0}) > 20) {
                sleep_ms(50);
                return;
            }
            sleep_ms(30);
        }
    }

    static int count_in(const std::vector<Rgb>& pixels, int x0, int y0, int w, int h, Rgb colour)
    {
        int n = 0;
        for (int y = y0; y < y0 + h; ++y)
            for (int x = x0; x < x0 + w; ++x) {
                Rgb p = at(pixels, x, y);
                n += p.r == colour.r && p.g == colour.g && p.b == colour.b;
            }
        return n;
    }

    void click_client(int x, int y)
    {
        int root_x = 0, root_y = 0;
        Window ignored;
        XTranslateCoordinates(display, window, DefaultRootWindow(display), x, y, &root_x, &root_y, &ignored);
        std::string command = "xdotool mousemove " + std::to_string(root_x) + " " + std::to_string(root_y) +
                              " click 1 >/dev/null 2>&1";
        ASSERT_EQ(std::system(command.c_str()), 0);
    }

    std::string wait_for_opener_lines(int lines)
    {
        std::string text;
        for (const auto end = patience_ends(); std::chrono::steady_clock::now() < end;) {
            text = read_file(opener_log);
            int n = 0;
            for (char c : text)
                n += c == '\n';
            if (n >= lines)
                return text;
            sleep_ms(30);
        }
        return text;
    }

    bool window_exists()
    {
        XWindowAttributes attributes;
        x_error_seen = false;
        Status ok = XGetWindowAttributes(display, window, &attributes);
        XSync(display, False);
        return ok && !x_error_seen;
    }

    // A key pressed while the window has the focus.
    void press_key(const char* key)
    {
        std::string command = "xdotool windowfocus " + std::to_string(window) + " key " + key + " >/dev/null 2>&1";
        ASSERT_EQ(std::system(command.c_str()), 0);
    }

    // What a window manager sends when the close box is clicked.
    void request_close() { send_close_request(display, window); }

    // Exit status of the About process, or -1 when it is still running
    // after the waits' patience.
    int wait_for_exit()
    {
        for (const auto end = patience_ends(); std::chrono::steady_clock::now() < end;) {
            int status = 0;
            if (waitpid(child, &status, WNOHANG) == child) {
                child = 0;
                return WIFEXITED(status) ? WEXITSTATUS(status) : 1000 + WTERMSIG(status);
            }
            sleep_ms(25);
        }
        return -1;
    }

    Display* display = nullptr;
    Window window = 0;
    pid_t child = 0;
    std::string folder;
    std::string opener_log;
};

// Placed at ((screen - 400) / 2, (screen - 300) / 2), 400 by 300 pixels.
TEST_F(AboutWindowTest, IsCentredOnTheScreenAt400By300)
{
    int screen = DefaultScreen(display);
    int root_x = 0, root_y = 0;
    Window ignored;
    XTranslateCoordinates(display, window, DefaultRootWindow(display), 0, 0, &root_x, &root_y, &ignored);
    XWindowAttributes attributes;
    ASSERT_TRUE(XGetWindowAttributes(display, window, &attributes));
    EXPECT_EQ(attributes.width, 400);
    EXPECT_EQ(attributes.height, 300);
    EXPECT_EQ(root_x, static_cast<int>((DisplayWidth(display, screen) - 400) * 0.5));
    EXPECT_EQ(root_y, static_cast<int>((DisplayHeight(display, screen) - 300) * 0.5));
}

// Corners, the margins and the strips right around the picture are all the
// light green.
TEST_F(AboutWindowTest, ClientAreaIsLightGreenAroundEverything)
{
    auto pixels = client_pixels();
    ASSERT_FALSE(pixels.empty());
    const int points[][2] = {{0, 0},     {399, 0},   {0, 299},   {399, 299}, {10, 100},
                             {141, 60},  {142, 54},  {300, 100}, {100, 250}, {380, 200}};
    for (auto& p : points)
        EXPECT_TRUE(at(pixels, p[0], p[1]).is(background)) << "at " << p[0] << "," << p[1];
    // Everything between the heading and the notice outside the picture.
    int width = 0, height = 0;
    platform::bitmap_size(101, &width, &height);
    for (int y = 45; y < 148; ++y)
        for (int x = 0; x < 400; ++x) {
            bool in_picture = x >= 142 && x < 142 + width && y >= 55 && y < 55 + height;
            if (!in_picture) {
                ASSERT_TRUE(at(pixels, x, y).is(background)) << "at " << x << "," << y;
            }
        }
}

// Bitmap 101 appears with its top-left corner at client (142, 55), pixel for
// pixel; without a bitmap the place stays light green.
TEST_F(AboutWindowTest, ShowsThePictureAt142And55)
{
    int width = 0, height = 0;
    auto pixels = client_pixels();
    ASSERT_FALSE(pixels.empty());
    if (!platform::bitmap_size(101, &width, &height)) {
        EXPECT_TRUE(at(pixels, 142, 55).is(background));
        EXPECT_TRUE(at(pixels, 200, 100).is(background));
        return;
    }
    std::vector<unsigned char> rgb(static_cast<std::size_t>(width) * height * 3);
    ASSERT_TRUE(platform::read_bitmap_rgb(101, width, height, rgb.data()));
    int mismatches = 0;
    for (int y = 0; y < height && 55 + y < 300; ++y)
        for (int x = 0; x < width && 142 + x < 400; ++x)
            mismatches += !at(pixels, 142 + x, 55 + y).is(&rgb[(static_cast<std::size_t>(y) * width + x) * 3]);
    EXPECT_EQ(mismatches, 0);
}

// The heading is black (and underlined: a black run at least as wide as a
// few letters on one row), the notice blue, both on light green.
TEST_F(AboutWindowTest, HeadingIsBlackUnderlinedAndNoticeIsBlue)
{
    auto pixels = client_pixels();
    ASSERT_FALSE(pixels.empty());
    EXPECT_GT(count_in(pixels, 70, 20, 280, 20, Rgb{0, 0, 0}), 50);
    int longest_run = 0;
    for (int y = 20; y < 40; ++y) {
        int run = 0;
        for (int x = 70; x < 350; ++x) {
            run = at(pixels, x, y).is(background) ? 0 : run + 1;
            longest_run = std::max(longest_run, run);
        }
    }
    EXPECT_GT(longest_run, 40) << "no underline under the heading";
    EXPECT_GT(count_in(pixels, 20, 150, 380, 60, Rgb{notice_blue[0], notice_blue[1], notice_blue[2]}), 200);
    EXPECT_EQ(count_in(pixels, 20, 150, 380, 60, Rgb{0, 0, 0}), 0);
}

// A click on "Visit website" starts the opener with the address and its
// query, and the window stays; a second click opens it again.
TEST_F(AboutWindowTest, ButtonOpensTheWebsiteAndTheWindowStays)
{
    click_client(200, 226);
    std::string opened = wait_for_opener_lines(1);
    ASSERT_FALSE(opened.empty()) << "the opener was not started";
    std::string first = opened.substr(0, opened.find('\n'));
    const std::string query = "?utm_source=About";
    ASSERT_GE(first.size(), query.size());
    EXPECT_EQ(first.substr(first.size() - query.size()), query);
    EXPECT_EQ(first.rfind("https://", 0), 0u);
    EXPECT_EQ(first[first.size() - query.size() - 1], '/') << "the site's root address ends in a slash";
    EXPECT_TRUE(window_exists());

    click_client(200, 226);
    opened = wait_for_opener_lines(2);
    EXPECT_EQ(opened, first + "\n" + first + "\n");
    EXPECT_TRUE(window_exists());
}

// Clicking the notice or the heading starts nothing: once the button's
// click, handled after theirs, has started the opener, it is the only line.
TEST_F(AboutWindowTest, ClickingTheTextsDoesNothing)
{
    click_client(100, 160);
    click_client(90, 28);
    click_client(200, 226);
    std::string opened = wait_for_opener_lines(1);
    ASSERT_FALSE(opened.empty()) << "the button's click started no opener";
    EXPECT_EQ(opened.find('\n'), opened.size() - 1) << opened;
    EXPECT_TRUE(window_exists());
}

// The close box (WM_DELETE_WINDOW) ends the program with exit code 0.
TEST_F(AboutWindowTest, ClosingEndsWithExitCodeZero)
{
    request_close();
    EXPECT_EQ(wait_for_exit(), 0);
}

// Escape and Return close it as they close a dialog: exit code 0.
TEST_F(AboutWindowTest, EscapeEndsWithExitCodeZero)
{
    press_key("Escape");
    EXPECT_EQ(wait_for_exit(), 0);
}

TEST_F(AboutWindowTest, ReturnEndsWithExitCodeZero)
{
    press_key("Return");
    EXPECT_EQ(wait_for_exit(), 0);
}

// The window manager gets the program's icon: _NET_WM_ICON holds a width,
// a height and that many ARGB pixels, some of them opaque. (WM_CLASS
// "vesperine", "Vesperine" is how the window was found.)
TEST_F(AboutWindowTest, GivesTheWindowManagerTheProgramsIcon)
{
    Atom type = 0;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    ASSERT_EQ(XGetWindowProperty(display, window, XInternAtom(display, "_NET_WM_ICON", False), 0, 1 << 20, False,
                                 AnyPropertyType, &type, &format, &count, &after, &data),
              Success);
    ASSERT_NE(data, nullptr) << "no _NET_WM_ICON";
    const long* values = reinterpret_cast<const long*>(data);
    ASSERT_GE(count, 3u);
    EXPECT_EQ(format, 32);
    EXPECT_GT(values[0], 0);
    EXPECT_EQ(count, 2 + static_cast<unsigned long>(values[0] * values[1]));
    bool opaque = false;
    for (unsigned long i = 2; i < count; ++i)
        opaque = opaque || ((static_cast<unsigned long>(values[i]) >> 24) & 0xff) == 0xff;
    EXPECT_TRUE(opaque);
    XFree(data);
}

} // namespace
