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
    // The next line of output without its line end; false when none came
    // within the time (milliseconds). Pumps this thread's messages while
    // waiting: a child window of ours may be inside the other process's
    // window, and Windows then expects both to answer.
    bool read_line(std::string* line, DWORD timeout_ms);
    void write_line(const std::string& line);
    // Exit code, or -1 when still running after the time; pumps messages.
    int wait(DWORD timeout_ms);

private:
    static DWORD WINAPI read_output(void* self);

    HANDLE process = nullptr;
    HANDLE from_child = nullptr;
    HANDLE to_child = nullptr;
    // A thread reads the output all the time, so the child never blocks on
    // a full pipe while this thread waits on something else (a host
    // destroying its window waits for the child's thread).
    HANDLE reader = nullptr;
    CRITICAL_SECTION lock;
    std::string pending; // read but not yet returned; under `lock`
};

// Runs this thread's pending window messages.
void pump_messages();

// The folder of the running executable, with a trailing backslash.
std::string executable_folder();
