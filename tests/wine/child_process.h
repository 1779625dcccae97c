// Starts wine_child.exe (built next to the test executable) as a real second
// process with its standard output on a pipe.
#pragma once

#include <windows.h>

#include <string>

class ChildProcess {
public:
    // `arguments`: the command-line text after the program name.
    explicit ChildProcess(const std::string& arguments);
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    bool started() const { return process != nullptr; }
    // Reads standard output up to and including the next '\n' (without it);
    // empty when the child closed its output first.
    std::string read_line();
    // Waits for the end (milliseconds); the exit code, or -1 on time-out.
    int wait(DWORD timeout_ms);
    // Ends the child the hard way, as a crash or a task manager would.
    void terminate();
    // All output until the child closes it, without carriage returns.
    std::string read_all();

private:
    HANDLE process = nullptr;
    HANDLE output = nullptr; // our end of the pipe
};

// Path of wine_child.exe beside the running executable.
std::string child_path();
