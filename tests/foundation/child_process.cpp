#include "tests/foundation/child_process.h"

#include <cerrno>
#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;

int remaining_ms(Clock::time_point deadline)
{
    auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    return left > 0 ? static_cast<int>(left) : 0;
}

Clock::time_point deadline_after(double seconds)
{
    return Clock::now() + std::chrono::milliseconds(static_cast<long long>(seconds * 1000.0));
}

void close_fd(int* fd)
{
    if (*fd >= 0)
        close(*fd);
    *fd = -1;
}

} // namespace

ChildProcess::~ChildProcess()
{
    if (pid > 0 && !reaped) {
        kill(pid, SIGKILL);
        int status = 0;
        waitpid(pid, &status, 0);
    }
    close_fd(&input_fd);
    close_fd(&output_fd);
    close_fd(&error_fd);
}

bool ChildProcess::start(const std::string& program, const std::vector<std::string>& args)
{
    int in[2], out[2], err[2];
    if (pipe2(in, O_CLOEXEC) != 0 || pipe2(out, O_CLOEXEC) != 0 || pipe2(err, O_CLOEXEC) != 0)
        return false;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, in[0], 0);
    posix_spawn_file_actions_adddup2(&actions, out[1], 1);
    posix_spawn_file_actions_adddup2(&actions, err[1], 2);

    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(program.c_str()));
    for (const std::string& a : args)
        argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);

    int result = posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(in[0]);
    close(out[1]);
    close(err[1]);
    input_fd = in[1];
    output_fd = out[0];
    error_fd = err[0];
    if (result != 0) {
        pid = -1;
        return false;
    }
    return true;
}

bool ChildProcess::read_line(std::string* line, double timeout)
{
    Clock::time_point deadline = deadline_after(timeout);
    for (;;) {
        std::string::size_type end = pending_output.find('\n');
        if (end != std::string::npos) {
            *line = pending_output.substr(0, end);
            pending_output.erase(0, end + 1);
            return true;
        }
        pollfd p{output_fd, POLLIN, 0};
        int ready = poll(&p, 1, remaining_ms(deadline));
        if (ready < 0 && errno == EINTR)
            continue;
        if (ready <= 0)
            return false;
        char buffer[256];
        ssize_t n = read(output_fd, buffer, sizeof buffer);
        if (n <= 0)
            return false;
        pending_output.append(buffer, static_cast<std::size_t>(n));
    }
}

bool ChildProcess::ended()
{
    if (reaped)
        return true;
    if (pid <= 0)
        return false;
    int status = 0;
    if (waitpid(pid, &status, WNOHANG) != pid)
        return false;
    reaped = true;
    reaped_code = WIFEXITED(status) ? WEXITSTATUS(status) : -WTERMSIG(status);
    return true;
}

bool ChildProcess::wait(double timeout, int* exit_code)
{
    Clock::time_point deadline = deadline_after(timeout);
    while (!ended()) {
        if (pid <= 0 || Clock::now() >= deadline)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    *exit_code = reaped_code;
    return true;
}

std::string ChildProcess::error_text()
{
    std::string text;
    if (error_fd < 0)
        return text;
    for (;;) {
        pollfd p{error_fd, POLLIN, 0};
        if (poll(&p, 1, 0) <= 0)
            break;
        char buffer[512];
        ssize_t n = read(error_fd, buffer, sizeof buffer);
        if (n <= 0)
            break;
        text.append(buffer, static_cast<std::size_t>(n));
    }
    return text;
}

void ChildProcess::close_input()
{
    close_fd(&input_fd);
}

void ChildProcess::send_signal(int signal)
{
    if (pid > 0 && !reaped)
        kill(pid, signal);
}
