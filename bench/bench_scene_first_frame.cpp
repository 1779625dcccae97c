// Time to the first frame and peak memory of the real saver, at 1280x720 on
// a private Xvfb (Mesa llvmpipe). The first frame counts from the exec of
// `vesperine /s` until the sky's colour appears at the screen's centre, as
// seen by polling the root window every millisecond; peak memory is the
// kernel's high-water mark of resident memory (VmHWM) after 8 s, past the
// first respawn pass.
//   bench_scene_first_frame [PATH/TO/vesperine]   (default: ../vesperine)
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

using Clock = std::chrono::steady_clock;

constexpr int screen_width = 1280, screen_height = 720; // pixels
constexpr int runs = 5;

pid_t spawn(const std::vector<std::string>& args, const char* display)
{
    pid_t pid = fork();
    if (pid == 0) {
        if (display)
            setenv("DISPLAY", display, 1);
        std::vector<char*> argv;
        for (const std::string& a : args)
            argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        int null = open("/dev/null", O_WRONLY);
        dup2(null, 1);
        dup2(null, 2);
        execvp(argv[0], argv.data());
        _exit(127);
    }
    return pid;
}

std::string default_saver_path()
{
    char self[4096] = {};
    ssize_t n = readlink("/proc/self/exe", self, sizeof self - 1);
    std::string dir = n > 0 ? std::string(self, n) : std::string(".");
    dir = dir.substr(0, dir.rfind('/'));
    return dir + "/../vesperine";
}

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

long status_kib(pid_t pid, const char* field)
{
    std::string path = "/proc/" + std::to_string(pid) + "/status";
    FILE* f = std::fopen(path.c_str(), "r");
    if (!f)
        return -1;
    char line[256];
    long value = -1;
    const std::size_t length = std::strlen(field);
    while (std::fgets(line, sizeof line, f))
        if (std::strncmp(line, field, length) == 0 && line[length] == ':')
            value = std::strtol(line + length + 1, nullptr, 10);
    std::fclose(f);
    return value;
}

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

} // namespace

int main(int argc, char** argv)
{
    const std::string saver = argc > 1 ? argv[1] : default_saver_path();
    if (access(saver.c_str(), X_OK) != 0) {
        std::fprintf(stderr, "no saver at %s\n", saver.c_str());
        return 1;
    }

    int number = 120;
    struct stat st;
    while (stat(("/tmp/.X11-unix/X" + std::to_string(number)).c_str(), &st) == 0 ||
           stat(("/tmp/.X" + std::to_string(number) + "-lock").c_str(), &st) == 0)
        ++number;
    const std::string display_name = ":" + std::to_string(number);
    const pid_t xvfb = spawn({"Xvfb", display_name, "-screen", "0",
                              std::to_string(screen_width) + "x" + std::to_string(screen_height) + "x24",
                              "+extension", "GLX", "-nolisten", "tcp"},
                             nullptr);
    Display* display = nullptr;
    for (int i = 0; i < 200 && !display; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(25));
        display = XOpenDisplay(display_name.c_str());
    }
    if (!display) {
        std::fprintf(stderr, "Xvfb did not start on %s\n", display_name.c_str());
        kill(xvfb, SIGTERM);
        return 1;
    }

    std::vector<double> first_frame_ms, peak_mib;
    for (int run = 0; run < runs; ++run) {
        const Clock::time_point start = Clock::now();
        const pid_t pid = spawn({saver, "/s"}, display_name.c_str());
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
        kill(pid, SIGTERM);
        waitpid(pid, nullptr, 0);
        // Let the screen go black again before the next run.
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        std::printf("run %d: first frame after %.0f ms, peak resident memory %.1f MiB\n", run + 1, elapsed_ms,
                    hwm / 1024.0);
        if (elapsed_ms < 0 || hwm < 0) {
            std::fprintf(stderr, "the saver showed no frame (or ended) in run %d\n", run + 1);
            XCloseDisplay(display);
            kill(xvfb, SIGTERM);
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
    kill(xvfb, SIGTERM);
    waitpid(xvfb, nullptr, 0);
    return 0;
}
