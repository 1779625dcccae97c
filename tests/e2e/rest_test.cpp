// While nobody can see it the saver draws nothing or little, and it leaves
// the X server's settings as it found them. Xvfb has no DPMS, so a
// preloaded stand-in for libXext's calls reports the power level a file
// holds; the power source is a stand-in folder laid over the kernel's in a
// private mount namespace. Frames are counted through the swap reporter.
#include "tests/e2e/saver_driving.h"
#include "tests/e2e/x_session.h"
#include "tests/foundation/child_process.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

// Hang guards, not speed targets.
constexpr double window_limit = 60.0; // seconds until the window shows
constexpr double exit_limit = 20.0;   // seconds until an ended saver is gone

double seconds_now()
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

void write_file(const std::string& path, const std::string& text)
{
    std::ofstream(path) << text << "\n";
}

std::string make_folder()
{
    char name[] = "/tmp/vesperine-rest-XXXXXX";
    return mkdtemp(name) ? name : "";
}

// Reads the reporter's lines until `until` (seconds_now) and counts the
// swaps that arrive from `from` on; -1 when it stops reporting first.
int swaps_between(ChildProcess& saver, double from, double until)
{
    int counted = 0;
    std::string line;
    for (double now = seconds_now(); now < until; now = seconds_now()) {
        if (!saver.read_line(&line, until - now))
            return saver.ended() ? -1 : counted;
        if (line.find("swap ") != std::string::npos && seconds_now() >= from)
            ++counted;
    }
    return counted;
}

// Seconds until the next swap arrives; a large value when none does.
double seconds_to_next_swap(ChildProcess& saver, double limit)
{
    const double start = seconds_now();
    std::string line;
    while (saver.read_line(&line, limit)) {
        if (line.find("swap ") != std::string::npos)
            return seconds_now() - start;
    }
    return 1e9;
}

void stop(ChildProcess& saver)
{
    saver.send_signal(SIGKILL);
    int code = 0;
    saver.wait(exit_limit, &code);
}

// The swap reporter, full screen, with the DPMS stand-in reading a level
// file the test switches; each case begins once the first frame is shown.
class DarkDisplays : public testing::Test {
protected:
    void SetUp() override
    {
        folder = make_folder();
        level = folder + "/level";
        write_file(level, "on");
        ASSERT_TRUE(saver.start("/usr/bin/env", {"LD_PRELOAD=" DPMS_STAND_IN, "VESPERINE_TEST_DPMS_FILE=" + level,
                                                 SWAP_REPORTER_EXE, "/s"}));
        ASSERT_LT(seconds_to_next_swap(saver, window_limit), window_limit) << saver.error_text();
    }
    void TearDown() override { std::filesystem::remove_all(folder); }

    std::string folder;
    std::string level;
    ChildProcess saver;
};

} // namespace

TEST_F(DarkDisplays, NoFramesWhileDarkAndTheFirstWithinASecondOfLight)
{
    const double dark_from = seconds_now();
    write_file(level, "off");
    EXPECT_EQ(swaps_between(saver, dark_from + 2.0, dark_from + 8.0), 0);
    write_file(level, "on");
    EXPECT_LE(seconds_to_next_swap(saver, 10.0), 1.0);
    stop(saver);
}

TEST_F(DarkDisplays, AKeyWhileDarkEndsTheRunWithZero)
{
    write_file(level, "standby");
    // Resting once two seconds pass without a frame.
    bool resting = false;
    for (int tries = 0; tries < 10 && !resting; ++tries) {
        const double now = seconds_now();
        resting = swaps_between(saver, now, now + 2.0) == 0;
    }
    ASSERT_TRUE(resting);
    ASSERT_TRUE(xdotool({"key", "a"}));
    int code = -1;
    ASSERT_TRUE(saver.wait(exit_limit, &code)) << "still running";
    EXPECT_EQ(code, 0);
}

TEST(PowerSource, OnBatteryAtMostThirtyFramesASecondAndTheDisplaysRateBackOnMains)
{
    struct stat kernel_folder{};
    if (geteuid() != 0 || stat("/sys/class/power_supply", &kernel_folder) != 0)
        GTEST_SKIP() << "needs root and /sys/class/power_supply for a private mount";
    const std::string folder = make_folder();
    mkdir((folder + "/AC").c_str(), 0755);
    mkdir((folder + "/BAT0").c_str(), 0755);
    write_file(folder + "/AC/type", "Mains");
    write_file(folder + "/AC/online", "0");
    write_file(folder + "/BAT0/type", "Battery");
    write_file(folder + "/BAT0/status", "Discharging");

    ChildProcess saver;
    // Mesa's no-op driver keeps the drawing cheap: the display's rate must
    // not depend on how busy the machine is.
    ASSERT_TRUE(saver.start("/usr/bin/unshare",
                            {"-m", "--propagation", "private", "/bin/sh", "-c",
                             "mount --bind \"$0\" /sys/class/power_supply && exec env GALLIUM_NOOP=1 \"$1\" /s", folder,
                             SWAP_REPORTER_EXE}));
    ASSERT_LT(seconds_to_next_swap(saver, window_limit), window_limit) << saver.error_text();
    double start = seconds_now();
    const int on_battery = swaps_between(saver, start + 1.0, start + 6.0);
    write_file(folder + "/AC/online", "1");
    start = seconds_now();
    // The power source is looked at every five seconds.
    const int on_mains = swaps_between(saver, start + 6.0, start + 11.0);
    stop(saver);
    EXPECT_GT(on_battery, 0) << saver.error_text();
    EXPECT_LE(on_battery, 31 * 5);
    EXPECT_GT(on_mains, 31 * 5) << "the display's rate (60 Hz assumed on Xvfb) is back";
    std::filesystem::remove_all(folder);
}

// One way a full-screen run ends; with `gl_version`, that of a driver too
// old to run on, whose fatal box ends it by itself after the window opened.
struct Ending {
    const char* name;
    void (*end)(ChildProcess& saver, XSession& x, Window window);
    const char* gl_version;
};

class SettingsAfterEnding : public testing::TestWithParam<Ending> {
};

// The values are no server's defaults: 300 s, no blanking, no exposures.
TEST_P(SettingsAfterEnding, XScreenSaverSettingsAreAsFound)
{
    XSession x;
    ASSERT_TRUE(x.connected()) << "needs an X display (DISPLAY)";
    const ScreenSaverSettings found = x.screen_saver();
    const ScreenSaverSettings chosen{300, 300, 0, 0};
    x.set_screen_saver(chosen);

    ChildProcess saver;
    ASSERT_TRUE(start_saver(&saver, {"/s"}, GetParam().gl_version));
    if (GetParam().end) {
        Window window = x.wait_for_window_of(
            saver.process_id(), window_limit,
            [](void* child) { return !static_cast<ChildProcess*>(child)->ended(); }, &saver);
        ASSERT_NE(window, 0u) << saver.error_text();
        ASSERT_TRUE(x.wait_for_picture(window, window_limit));
        GetParam().end(saver, x, window);
    }
    int code = -1;
    EXPECT_TRUE(saver.wait(exit_limit, &code)) << "still running";
    EXPECT_EQ(x.screen_saver(), chosen);
    x.set_screen_saver(found);
}

INSTANTIATE_TEST_SUITE_P(
    EveryEnding, SettingsAfterEnding,
    testing::Values(Ending{"Key", [](ChildProcess&, XSession&, Window) { xdotool({"key", "a"}); }, nullptr},
                    Ending{"Escape", [](ChildProcess&, XSession&, Window) { xdotool({"key", "Escape"}); }, nullptr},
                    Ending{"Button", [](ChildProcess&, XSession&, Window) { xdotool({"click", "1"}); }, nullptr},
                    Ending{"CloseRequest", [](ChildProcess&, XSession& x, Window w) { x.request_close(w); }, nullptr},
                    Ending{"Sigterm", [](ChildProcess& s, XSession&, Window) { s.send_signal(SIGTERM); }, nullptr},
                    Ending{"Sigint", [](ChildProcess& s, XSession&, Window) { s.send_signal(SIGINT); }, nullptr},
                    Ending{"Sighup", [](ChildProcess& s, XSession&, Window) { s.send_signal(SIGHUP); }, nullptr},
                    // The server drops the library's connection: Xlib ends the process.
                    Ending{"ServerDropsTheClient",
                           [](ChildProcess&, XSession&, Window w) {
                               ChildProcess xkill;
                               int code = -1;
                               xkill.start("/usr/bin/xkill", {"-id", std::to_string(w)});
                               xkill.wait(exit_limit, &code);
                           },
                           nullptr},
                    Ending{"FatalBox", nullptr, "1.1"}),
    [](const testing::TestParamInfo<Ending>& ending) { return std::string(ending.param.name); });
