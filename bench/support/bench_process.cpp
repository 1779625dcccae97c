#include "bench/support/bench_process.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fstream>
#include <thread>

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

bool exists(const std::string& path)
{
    struct stat st;
    return stat(path.c_str(), &st) == 0;
}

} // namespace

PrivateXvfb::PrivateXvfb(int width, int height)
{
    int number = 120;
    while (exists("/tmp/.X11-unix/X" + std::to_string(number)) || exists("/tmp/.X" + std::to_string(number) + "-lock"))
        ++number;
    name_ = ":" + std::to_string(number);
    // -noreset: the server would otherwise reset each time its last client
    // leaves, and refuse the next one that comes during the reset.
    pid_ = spawn({"Xvfb", name_, "-screen", "0", std::to_string(width) + "x" + std::to_string(height) + "x24",
                  "+extension", "GLX", "-nolisten", "tcp", "-noreset"},
                 {});
    const std::string socket = "/tmp/.X11-unix/X" + std::to_string(number);
    for (int i = 0; i < 200 && !ready_; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(25));
        ready_ = exists(socket);
    }
}

PrivateXvfb::~PrivateXvfb()
{
    if (pid_ > 0)
        stop(pid_);
}

pid_t spawn(const std::vector<std::string>& args, const std::vector<std::string>& environment)
{
    pid_t pid = fork();
    if (pid == 0) {
        for (const std::string& entry : environment)
            putenv(const_cast<char*>(entry.c_str()));
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

void stop(pid_t pid)
{
    kill(pid, SIGTERM);
    waitpid(pid, nullptr, 0);
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

double cpu_seconds(pid_t pid)
{
    std::string path = "/proc/" + std::to_string(pid) + "/stat";
    FILE* f = std::fopen(path.c_str(), "r");
    if (!f)
        return -1.0;
    char text[1024] = {};
    const std::size_t n = std::fread(text, 1, sizeof text - 1, f);
    std::fclose(f);
    text[n] = '\0';
    // The command name may hold spaces: fields are counted after its ')'.
    const char* rest = std::strrchr(text, ')');
    if (!rest)
        return -1.0;
    unsigned long user = 0, system = 0;
    // After ')': state (field 3) ... utime is field 14, stime field 15.
    if (std::sscanf(rest + 1, " %*c %*d %*d %*d %*d %*d %*u %*u %*u %*u %*u %lu %lu", &user, &system) != 2)
        return -1.0;
    return static_cast<double>(user + system) / static_cast<double>(sysconf(_SC_CLK_TCK));
}

std::string beside_this_program(const std::string& relative)
{
    char self[4096] = {};
    ssize_t n = readlink("/proc/self/exe", self, sizeof self - 1);
    std::string dir = n > 0 ? std::string(self, n) : std::string(".");
    dir = dir.substr(0, dir.rfind('/'));
    return dir + "/" + relative;
}

double monotonic_now()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return now.tv_sec + now.tv_nsec * 1e-9;
}

std::vector<double> read_swaps(const std::string& path)
{
    std::vector<double> times;
    std::ifstream in(path);
    double t = 0.0;
    while (in >> t)
        times.push_back(t);
    return times;
}

bool wait_for_first_swap(const std::string& path, double seconds)
{
    const auto until = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    while (read_swaps(path).empty()) {
        if (std::chrono::steady_clock::now() >= until)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return true;
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values.empty() ? 0.0 : values[values.size() / 2];
}
