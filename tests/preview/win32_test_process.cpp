#include "tests/preview/win32_test_process.h"

void pump_messages()
{
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

std::string executable_folder()
{
    char path[MAX_PATH] = {};
    DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string result(path, length);
    std::string::size_type slash = result.find_last_of("\\/");
    result.resize(slash == std::string::npos ? 0 : slash + 1);
    return result;
}

TestProcess::TestProcess(const std::string& command_line)
{
    SECURITY_ATTRIBUTES inherit{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    HANDLE child_out = nullptr;
    HANDLE child_in = nullptr;
    if (!CreatePipe(&from_child, &child_out, &inherit, 0) || !CreatePipe(&child_in, &to_child, &inherit, 0))
        return;
    SetHandleInformation(from_child, HANDLE_FLAG_INHERIT, 0);
    SetHandleInformation(to_child, HANDLE_FLAG_INHERIT, 0);

    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = child_out;
    startup.hStdError = child_out;
    startup.hStdInput = child_in;
    std::string command = command_line;
    PROCESS_INFORMATION info{};
    if (CreateProcessA(nullptr, &command[0], nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &info)) {
        process = info.hProcess;
        CloseHandle(info.hThread);
    }
    // Only the child holds these ends now: its end closes the pipes.
    CloseHandle(child_out);
    CloseHandle(child_in);
}

TestProcess::~TestProcess()
{
    if (process) {
        if (WaitForSingleObject(process, 0) == WAIT_TIMEOUT) {
            TerminateProcess(process, 99);
            WaitForSingleObject(process, 5000);
        }
        CloseHandle(process);
    }
    if (from_child)
        CloseHandle(from_child);
    if (to_child)
        CloseHandle(to_child);
}

std::string TestProcess::read_line(DWORD timeout_ms)
{
    DWORD start = GetTickCount();
    for (;;) {
        std::string::size_type end = pending.find('\n');
        if (end != std::string::npos) {
            std::string line = pending.substr(0, end);
            pending.erase(0, end + 1);
            if (!line.empty() && line.back() == '\r')
                line.pop_back();
            return line;
        }
        DWORD available = 0;
        if (!PeekNamedPipe(from_child, nullptr, 0, nullptr, &available, nullptr))
            return "";
        if (available > 0) {
            char buffer[512];
            DWORD got = 0;
            if (!ReadFile(from_child, buffer, available < sizeof buffer ? available : sizeof buffer, &got, nullptr))
                return "";
            pending.append(buffer, got);
            continue;
        }
        if (GetTickCount() - start > timeout_ms)
            return "";
        pump_messages();
        Sleep(5);
    }
}

void TestProcess::write_line(const std::string& line)
{
    std::string text = line + "\n";
    DWORD written = 0;
    WriteFile(to_child, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
}

int TestProcess::wait(DWORD timeout_ms)
{
    if (!process)
        return -1;
    DWORD start = GetTickCount();
    while (WaitForSingleObject(process, 0) == WAIT_TIMEOUT) {
        if (GetTickCount() - start > timeout_ms)
            return -1;
        pump_messages();
        Sleep(5);
    }
    DWORD code = 0;
    GetExitCodeProcess(process, &code);
    return static_cast<int>(code);
}
