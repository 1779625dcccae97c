// What the full-screen saver costs while every display is dark, beside the
// same run with the displays on (Mesa llvmpipe on a private 1280x720 Xvfb).
// Xvfb has no DPMS: the tests' stand-in for libXext's calls is preloaded and
// its level file switched between "on" and "off". Each round measures one
// run lit, then dark, then times how long the first frame takes once the
// level is back on; the ratio dark/lit is taken within each round, so that
// other work on the machine hits both sides alike.
//   bench_dark_cost [PATH/TO/vesperine]
#include "bench/support/bench_process.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include <unistd.h>

namespace {

constexpr double measured = 20.0;      // seconds of each measurement
constexpr double settle = 5.0;         // seconds after a switch before measuring
constexpr double longest_start = 60.0; // seconds to wait for a first frame
constexpr int rounds = 3;

void sleep_seconds(double seconds)
{
    std::this_thread::sleep_for(std::chrono::duration<double>(seconds));
}

// Processor seconds per minute over `measured` seconds; -1 when unreadable.
double cpu_per_minute(pid_t pid)
{
    const double before = cpu_seconds(pid);
    const double from = monotonic_now();
    sleep_seconds(measured);
    const double after = cpu_seconds(pid);
    const double to = monotonic_now();
    return before < 0.0 || after < 0.0 ? -1.0 : (after - before) * 60.0 / (to - from);
}

void set_level(const std::string& path, const char* level)
{
    std::ofstream(path) << level << "\n";
}

struct Round {
    double lit = -1.0;     // CPU s per minute, displays on
    double dark = -1.0;    // CPU s per minute, every display dark
    double wake = -1.0;    // seconds from "on" to the next frame
    long dark_frames = -1; // frames shown while dark
};

Round measure(const std::string& saver, const std::string& display, const std::string& preload)
{
    char swaps_path[] = "/tmp/vesperine-bench-swaps.XXXXXX";
    char level_path[] = "/tmp/vesperine-bench-level.XXXXXX";
    for (char* path : {swaps_path, level_path}) {
        const int file = mkstemp(path);
        if (file >= 0)
            close(file);
    }
    set_level(level_path, "on");
    const pid_t pid = spawn({saver, "/s"}, {"DISPLAY=" + display, "LD_PRELOAD=" + preload,
                                            std::string("BENCH_SWAP_LOG=") + swaps_path,
                                            std::string("VESPERINE_TEST_DPMS_FILE=") + level_path});
    Round round;
    if (wait_for_first_swap(swaps_path, longest_start)) {
        sleep_seconds(settle);
        round.lit = cpu_per_minute(pid);
        set_level(level_path, "off");
        sleep_seconds(settle);
        const std::size_t frames_before = read_swaps(swaps_path).size();
        round.dark = cpu_per_minute(pid);
        round.dark_frames = static_cast<long>(read_swaps(swaps_path).size() - frames_before);
        const double on_at = monotonic_now();
        set_level(level_path, "on");
        for (int i = 0; i < 200 && round.wake < 0.0; ++i) {
            const std::vector<double> swaps = read_swaps(swaps_path);
            const auto first = std::find_if(swaps.begin(), swaps.end(), [&](double t) { return t >= on_at; });
            if (first != swaps.end())
                round.wake = *first - on_at;
            else
                sleep_seconds(0.01);
        }
    }
    stop(pid);
    unlink(swaps_path);
    unlink(level_path);
    return round;
}

} // namespace

int main(int argc, char** argv)
{
    const std::string saver = argc > 1 ? argv[1] : beside_this_program("../vesperine");
    const std::string counter = beside_this_program("support/libswap_counter.so");
    for (const std::string& path : {saver, counter, std::string(DPMS_STAND_IN)}) {
        if (access(path.c_str(), R_OK) != 0) {
            std::fprintf(stderr, "missing %s\n", path.c_str());
            return 1;
        }
    }
    PrivateXvfb xvfb(1280, 720);
    if (!xvfb.ok()) {
        std::fprintf(stderr, "Xvfb did not start on %s\n", xvfb.name().c_str());
        return 1;
    }
    std::printf("1280x720, Xvfb/llvmpipe, %d rounds of displays on, then dark, then on again:\n", rounds);
    std::vector<double> lit, dark, ratios, wakes;
    for (int i = 1; i <= rounds; ++i) {
        const Round round = measure(saver, xvfb.name(), counter + " " + DPMS_STAND_IN);
        if (round.lit <= 0.0 || round.dark < 0.0 || round.wake < 0.0) {
            std::fprintf(stderr, "the saver showed no frame in time in round %d\n", i);
            return 1;
        }
        std::printf("  round %d: on %6.2f CPU s per minute, dark %5.2f (%ld frames), first frame %.2f s after on\n", i,
                    round.lit, round.dark, round.dark_frames, round.wake);
        std::fflush(stdout);
        lit.push_back(round.lit);
        dark.push_back(round.dark);
        ratios.push_back(round.dark / round.lit);
        wakes.push_back(round.wake);
    }
    std::printf("displays on: %.2f CPU s per minute; every display dark: %.3f CPU s per minute (medians)\n",
                median(lit), median(dark));
    std::printf("dark / on CPU: %.4f (median of the rounds' ratios); first frame %.2f s after the displays come on\n",
                median(ratios), median(wakes));
    return 0;
}
