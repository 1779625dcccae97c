// Cost of the full-screen saver where OpenGL is a software renderer (Mesa
// llvmpipe on a private Xvfb), side by side with XScreenSaver's `gears` as a
// well-known light peer. At 1280x720 the two run one after the other,
// interleaved over several rounds, each for a measured 10 s after it has
// run for 10 s: processor time of the whole process (every thread, user and
// system), frames shown (swaps counted by a preloaded library) and resident
// memory at the end. The ratio saver/gears is taken within each round, so
// that the load of other work on the machine hits both sides alike. At
// 3840x2160 the saver runs once more for its memory and frame rate.
//   bench_software_cost [PATH/TO/vesperine [PATH/TO/gears]]
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

constexpr double measured = 10.0;       // seconds of each measurement
// The set-up's snow starts above the view and takes a while to fill it:
// measuring begins once it has.
constexpr double settle = 10.0;         // seconds after the first frame before measuring
constexpr double longest_start = 60.0;  // seconds to wait for a first frame
constexpr int rounds = 3;

struct Sample {
    double cpu = -1.0;  // processor seconds per `measured` seconds
    double fps = 0.0;   // frames shown per second
    double rss = 0.0;   // MiB resident at the end
};

// Runs `args` on `display` and measures it; cpu stays -1 when it showed no
// frame in time or ended early.
Sample measure(const std::vector<std::string>& args, const std::string& display, const std::string& counter)
{
    char log_path[] = "/tmp/vesperine-bench-swaps.XXXXXX";
    const int log = mkstemp(log_path);
    if (log >= 0)
        close(log);
    const pid_t pid = spawn(args, {"DISPLAY=" + display, "LD_PRELOAD=" + counter,
                                   std::string("BENCH_SWAP_LOG=") + log_path});
    Sample sample;
    if (wait_for_first_swap(log_path, longest_start)) {
        std::this_thread::sleep_for(std::chrono::duration<double>(settle));
        const double cpu_before = cpu_seconds(pid);
        const double from = monotonic_now();
        std::this_thread::sleep_for(std::chrono::duration<double>(measured));
        const double cpu_after = cpu_seconds(pid);
        const double to = monotonic_now();
        const long rss = status_kib(pid, "VmRSS");
        if (cpu_before >= 0.0 && cpu_after >= 0.0 && rss > 0) {
            const std::vector<double> swaps = read_swaps(log_path);
            const long frames = std::count_if(swaps.begin(), swaps.end(), [&](double t) { return t >= from && t < to; });
            sample.cpu = (cpu_after - cpu_before) * measured / (to - from);
            sample.fps = frames / (to - from);
            sample.rss = rss / 1024.0;
        }
    }
    stop(pid);
    unlink(log_path);
    return sample;
}

void print(const char* who, int round, const Sample& s)
{
    std::printf("  round %d %-6s %5.2f CPU s per 10 s, %5.1f fps, %6.1f MiB resident\n", round, who, s.cpu, s.fps,
                s.rss);
    std::fflush(stdout);
}

} // namespace

int main(int argc, char** argv)
{
    const std::string saver = argc > 1 ? argv[1] : beside_this_program("../vesperine");
    const std::string gears = argc > 2 ? argv[2] : "/usr/libexec/xscreensaver/gears";
    const std::string counter = beside_this_program("support/libswap_counter.so");
    for (const std::string& path : {saver, gears, counter}) {
        if (access(path.c_str(), R_OK) != 0) {
            std::fprintf(stderr, "missing %s (gears comes with the Debian package xscreensaver-gl)\n", path.c_str());
            return 1;
        }
    }

    std::vector<double> ratios, saver_cpu, gears_cpu, saver_fps, gears_fps, saver_rss;
    {
        PrivateXvfb xvfb(1280, 720);
        if (!xvfb.ok()) {
            std::fprintf(stderr, "Xvfb did not start on %s\n", xvfb.name().c_str());
            return 1;
        }
        std::printf("1280x720, Xvfb/llvmpipe, %d rounds of saver then gears:\n", rounds);
        for (int round = 1; round <= rounds; ++round) {
            const Sample ours = measure({saver, "/s"}, xvfb.name(), counter);
            print("saver", round, ours);
            const Sample peer = measure({gears, "--root"}, xvfb.name(), counter);
            print("gears", round, peer);
            if (ours.cpu < 0.0 || peer.cpu <= 0.0) {
                std::fprintf(stderr, "a program showed no frames in round %d\n", round);
                return 1;
            }
            ratios.push_back(ours.cpu / peer.cpu);
            saver_cpu.push_back(ours.cpu);
            gears_cpu.push_back(peer.cpu);
            saver_fps.push_back(ours.fps);
            gears_fps.push_back(peer.fps);
            saver_rss.push_back(ours.rss);
        }
    }
    Sample big;
    {
        PrivateXvfb xvfb(3840, 2160);
        if (xvfb.ok())
            big = measure({saver, "/s"}, xvfb.name(), counter);
    }
    std::printf("saver at 1280x720: %.2f CPU s per 10 s at %.1f fps, %.1f MiB resident (medians)\n",
                median(saver_cpu), median(saver_fps), median(saver_rss));
    std::printf("gears at 1280x720: %.2f CPU s per 10 s at %.1f fps (medians)\n", median(gears_cpu),
                median(gears_fps));
    std::printf("saver / gears CPU: %.2fx (median of the rounds' ratios; target at most 3x at 25 fps or more)\n",
                median(ratios));
    if (big.cpu >= 0.0)
        std::printf("saver at 3840x2160: %.2f CPU s per 10 s at %.1f fps, %.1f MiB resident\n", big.cpu, big.fps,
                    big.rss);
    else
        std::printf("saver at 3840x2160: showed no frame within %.0f s\n", longest_start);
    return 0;
}
