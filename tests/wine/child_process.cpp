#include "tests/wine/child_process.h"

std::string child_path()
{
    char path[MAX_PATH] = {};
    DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string result(path, length);
    std::string::size_type slash = result.find_last_of("\\/");
    result.resize(slash == std::string::npos ? 0 : slash + 1);
    return result + "wine_child.exe";
}

ChildProcess::ChildProcess(const std::string& arguments)
{
    SECURITY_ATTRIBUTES inherit{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    HANDLE write_end = nullptr;
    if (!CreatePipe(&output, &write_end, &inherit, 0))
        return;
    SetHandleInformation(output, HANDLE_FLAG_INHERIT, 0);

    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = write_end;
    startup.hStdError = write_end;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    std::string command = "\"" + child_path() + "\" " + arguments;
    PROCESS_INFORMATION info{};
    if (CreateProcessA(nullptr, &command[0], nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                       &startup, &info)) {
        process = info.hProcess;
        CloseHandle(info.hThread);
    }
    // Only the child holds the write end now, so its end closes the pipe.
    CloseHandle(write_end);
}

ChildProcess::~ChildProcess()
{
    if (process) {
        if (WaitForSingleObject(process, 0) == WAIT_TIMEOUT)
            terminate();
        CloseHandle(process);
    }
    if (output)
        CloseHandle(output);
}

std::string ChildProcess::read_line()
{
    std::string line;
    char c = 0;
    DWORD got = 0;
    while (ReadFile(output, &c, 1, &got, nullptr) && got == 1) {
        if (c == '\n')
            break;
        if (c != '\r')
            line.push_back(c);
    }
    return line;
}

std::string ChildProcess::read_all()
{
    std::string all;
    char buffer[256];
    DWORD got = 0;
    while (ReadFile(output, buffer, sizeof buffer, &got, nullptr) && got > 0)
        for (DWORD i = 0; i < got; ++i)
            if (buffer[i] != '\r') // the C runtime writes text mode
                all.push_back(buffer[i]);
    return all;
}

int ChildProcess::wait(DWORD timeout_ms)
{
    if (!process || WaitForSingleObject(process, timeout_ms) != WAIT_OBJECT_0)
        return -1;
    DWORD code = 0;
    GetExitCodeProcess(process, &code);
    return static_cast<int>(code);
}

void ChildProcess::terminate()
{
    TerminateProcess(process, 99);
    WaitForSingleObject(process, INFINITE);
}
