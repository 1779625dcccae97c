// A child process for tests that need real processes: started with pipes on
// its standard input, output and error, waited for with a deadline so that a
// hanging child fails the test instead of hanging it, and killed if the test
// leaves it running.
#pragma once

#include <string>
#include <sys/types.h>
#include <vector>

class ChildProcess {
public:
    ChildProcess() = default;
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;
    ~ChildProcess();

    // Starts `program` with `args` (argv[1..]). False when it cannot start.
    bool start(const std::string& program, const std::vector<std::string>& args);

    // One line of standard output without its newline; false when none
    // arrives within `timeout` seconds or the output ends first.
    bool read_line(std::string* line, double timeout);

    // Waits up to `timeout` seconds for the end. True when it ended; then
    // *exit_code is its exit status, or -signal when a signal ended it.
    bool wait(double timeout, int* exit_code);

    // True once the child has ended (it is then reaped; wait reports how).
    bool ended();

    // Everything on standard error so far (call after wait).
    std::string error_text();

    void close_input();
    void send_signal(int signal);
    pid_t process_id() const { return pid; }

private:
    pid_t pid = -1;
    bool reaped = false;
    int reaped_code = 0; // exit status, or -signal
    int input_fd = -1;
    int output_fd = -1;
    int error_fd = -1;
    std::string pending_output;
};
