// A second process for the Windows tests, started with its standard input
// and output on pipes, so a test can talk to it line by line.
#pragma once

#include <windows.h>

#include <string>

class TestProcess {
public:
    // `command_line`: the whole command line, program path first.
    explicit TestProcess(const std::string& command_line);
    ~TestProcess();
    TestProcess(const TestProcess&) = delete;
    TestProcess& operator=(const TestProcess&) = delete;

    bool started() const { return process != nullptr; }
    // The next line of output without its line end, or "" when none came
    // within the time (milliseconds) or the output closed. Pumps this
    // thread's messages while waiting: a child window of ours may be inside
    // the other process's window, and Windows then expects both to answer.
    std::string read_line(DWORD timeout_ms);
    void write_line(const std::string& line);
    // Exit code, or -1 when still running after the time; pumps messages.
    int wait(DWORD timeout_ms);

private:
    HANDLE process = nullptr;
    HANDLE from_child = nullptr;
    HANDLE to_child = nullptr;
    std::string pending; // read but not yet returned
};

// Runs this thread's pending window messages.
void pump_messages();

// The folder of the running executable, with a trailing backslash.
std::string executable_folder();
