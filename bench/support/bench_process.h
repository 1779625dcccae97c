// What the benchmarks that run real programs share: a private Xvfb, child
// processes started on it, and the kernel's view of a child's memory and
// processor time.
#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

// A private Xvfb with GLX (Mesa llvmpipe) on a free display number, ended
// when this object goes.
class PrivateXvfb {
public:
    // Starts it at `width` x `height` pixels and waits until it takes
    // connections; `ok()` says whether it did within 5 s.
    PrivateXvfb(int width, int height);
    ~PrivateXvfb();
    PrivateXvfb(const PrivateXvfb&) = delete;
    PrivateXvfb& operator=(const PrivateXvfb&) = delete;

    bool ok() const { return ready_; }
    const std::string& name() const { return name_; } // ":N"

private:
    std::string name_;
    pid_t pid_ = -1;
    bool ready_ = false;
};

// Runs `args` (the program first, looked up on PATH) with `environment`
// ("NAME=value" each) added to ours, standard output and error to
// /dev/null. Returns the child's id.
pid_t spawn(const std::vector<std::string>& args, const std::vector<std::string>& environment);

// Ends a child with SIGTERM and reaps it.
void stop(pid_t pid);

// A field of /proc/PID/status in KiB ("VmRSS", "VmHWM"); -1 when unreadable.
long status_kib(pid_t pid, const char* field);

// Processor time the process has used so far, all its threads, user and
// system, in seconds; -1 when unreadable.
double cpu_seconds(pid_t pid);

// `relative` taken from the folder of this executable.
std::string beside_this_program(const std::string& relative);

// CLOCK_MONOTONIC in seconds: the clock the swap counter writes its log in.
double monotonic_now();

// The swap counter's log: one swap time a line.
std::vector<double> read_swaps(const std::string& path);

// Waits up to `seconds` for the first line in the swap log; true if it came.
bool wait_for_first_swap(const std::string& path, double seconds);

// The middle value (0 for none).
double median(std::vector<double> values);
