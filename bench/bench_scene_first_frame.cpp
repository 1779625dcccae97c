// Time to the first frame and peak memory of the real saver, at 1280x720 on
// a private Xvfb (Mesa llvmpipe). The first frame counts from the exec of
// `vesperine /s` until the sky's colour appears at the screen's centre, as
// seen by polling the root window every millisecond; peak memory is the
// kernel's high-water mark of resident memory (VmHWM) after 8 s, past the
// first respawn pass.
//   bench_scene_first_frame [PATH/TO/vesperine]   (default: ../vesperine)
#include "bench/support/bench_process.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <unistd.h>

namespace {

using Clock = std::chrono::steady_clock;

constexpr int screen_width = 1280, screen_height = 720; // pixels
constexpr int runs = 5;

// Colour of the root window's centre pixel.
unsigned long centre_pixel(Display* display)
{
    XImage* image = XGetImage(display, DefaultRootWindow(display), screen_width / 2, screen_height / 2, 1, 1,
                              AllPlanes, ZPixmap);
    if (!image)
        return 0;
    unsigned long pixel = XGetPixel(image, 0, 0);
    XDestroyImage(image);
    return pixel;
}

} // namespace

int main(int argc, char** argv)
{
    const std::string saver = argc > 1 ? argv[1] : beside_this_program("../vesperine");
    if (access(saver.c_str(), X_OK) != 0) {
        std::fprintf(stderr, "no saver at %s\n", saver.c_str());
        return 1;
    }

    PrivateXvfb xvfb(screen_width, screen_height);
    Display* display = nullptr;
    for (int i = 0; i < 200 && xvfb.ok() && !display; ++i) {
        display = XOpenDisplay(xvfb.name().c_str());
        if (!display)
            std::this_thread::sleep_for(std::chrono::milliseconds(25));
    }
    if (!display) {
        std::fprintf(stderr, "Xvfb did not start on %s\n", xvfb.name().c_str());
        return 1;
    }

    std::vector<double> first_frame_ms, peak_mib;
    for (int run = 0; run < runs; ++run) {
        const Clock::time_point start = Clock::now();
        const pid_t pid = spawn({saver, "/s"}, {"DISPLAY=" + xvfb.name()});
        double elapsed_ms = -1.0;
        while (Clock::now() - start < std::chrono::seconds(30)) {
            // The sky at the centre is about (10, 22, 48): blue well above
            // the black of an empty screen or of the window's first clear.
            if ((centre_pixel(display) & 0xff) >= 30) {
                elapsed_ms = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
                break;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        std::this_thread::sleep_until(start + std::chrono::seconds(8));
        const long hwm = status_kib(pid, "VmHWM");
        stop(pid);
        // Let the screen go black again before the next run.
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        std::printf("run %d: first frame after %.0f ms, peak resident memory %.1f MiB\n", run + 1, elapsed_ms,
                    hwm / 1024.0);
        if (elapsed_ms < 0 || hwm < 0) {
            std::fprintf(stderr, "the saver showed no frame (or ended) in run %d\n", run + 1);
            XCloseDisplay(display);
            return 1;
        }
        first_frame_ms.push_back(elapsed_ms);
        peak_mib.push_back(hwm / 1024.0);
    }
    std::printf("saver at %dx%d on Xvfb/llvmpipe, %d runs: first frame median %.0f ms (min %.0f, max %.0f); "
                "peak memory median %.1f MiB\n",
                screen_width, screen_height, runs, median(first_frame_ms),
                *std::min_element(first_frame_ms.begin(), first_frame_ms.end()),
                *std::max_element(first_frame_ms.begin(), first_frame_ms.end()), median(peak_mib));
    XCloseDisplay(display);
    return 0;
}
