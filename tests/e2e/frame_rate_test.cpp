// The frame loop never outruns the display. Xvfb's swap does not wait for a
// vertical blank and its monitor reports no refresh rate, so the loop must
// hold itself to 60 frames a second: here counted over ten seconds, full
// screen and in a 160x120 preview host, by a test build of the saver that
// reports every swap. On a software renderer (Xvfb's llvmpipe, once the
// tests' renderer override is cleared) it holds itself to 30, without
// multisampling.
#include "tests/foundation/child_process.h"

#include <gtest/gtest.h>

// Xlib after GoogleTest: its macros (None, Bool, Status) clash with it.
#include <X11/Xlib.h>

#include <cstdlib>
#include <string>
#include <vector>

namespace {

constexpr double measured = 10.0;   // seconds of swaps counted
constexpr double settle = 1.0;      // seconds after the first swap before counting
constexpr int most_frames = 60 * 10 * 105 / 100; // the 60 Hz cap plus 5 %
constexpr int most_software_frames = 30 * 10 * 105 / 100; // the software renderer's cap plus 5 %

// Swaps reported by `saver` within `measured` seconds, counted from
// `settle` seconds after its first swap; -1 when it stops reporting. The
// first window's GL_SAMPLES goes to `samples` when given.
int count_swaps(ChildProcess& saver, int* samples = nullptr)
{
    double first = -1.0;
    int counted = 0;
    std::string line;
    while (saver.read_line(&line, 60.0)) {
        if (samples && line.rfind("samples ", 0) == 0)
            *samples = std::stoi(line.substr(8));
        const std::size_t at = line.find("swap ");
        if (at == std::string::npos)
            continue; // the model reader's progress text
        const double t = std::stod(line.substr(at + 5));
        if (first < 0.0)
            first = t;
        if (t >= first + settle + measured)
            return counted;
        if (t >= first + settle)
            ++counted;
    }
    return -1;
}

void stop(ChildProcess& saver)
{
    saver.send_signal(9);
    int code = 0;
    saver.wait(20.0, &code);
}

} // namespace

TEST(FrameRate, FullScreenSaverDrawsNoFasterThanTheDisplay)
{
    ChildProcess saver;
    ASSERT_TRUE(saver.start(SWAP_REPORTER_EXE, {"/s"}));
    const int frames = count_swaps(saver);
    stop(saver);
    EXPECT_GT(frames, 0) << saver.error_text();
    EXPECT_LE(frames, most_frames);
}

TEST(FrameRate, SmallPreviewDrawsNoFasterThanTheDisplay)
{
    Display* display = XOpenDisplay(nullptr);
    ASSERT_NE(display, nullptr) << "no X display: run under Xvfb";
    const int screen = DefaultScreen(display);
    const Window host = XCreateSimpleWindow(display, RootWindow(display, screen), 20, 20, 160, 120, 0, 0,
                                            BlackPixel(display, screen));
    XMapWindow(display, host);
    XSync(display, False);

    ChildProcess saver;
    ASSERT_TRUE(saver.start(SWAP_REPORTER_EXE, {"/p", std::to_string(host)}));
    const int frames = count_swaps(saver);
    stop(saver);
    XDestroyWindow(display, host);
    XCloseDisplay(display);
    EXPECT_GT(frames, 0) << saver.error_text();
    EXPECT_LE(frames, most_frames);
}

TEST(FrameRate, OnASoftwareRendererFullScreenDrawsWithoutSamplesAtMostThirtyFramesASecond)
{
    unsetenv("VESPERINE_GL_RENDERER"); // this process only: the saver judges llvmpipe itself
    ChildProcess saver;
    ASSERT_TRUE(saver.start(SWAP_REPORTER_EXE, {"/s"}));
    int samples = -1;
    const int frames = count_swaps(saver, &samples);
    stop(saver);
    EXPECT_GT(frames, 0) << saver.error_text();
    EXPECT_LE(frames, most_software_frames);
    EXPECT_EQ(samples, 0);
    EXPECT_NE(saver.error_text().find("software renderer"), std::string::npos) << saver.error_text();
}
