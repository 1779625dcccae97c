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
    InitializeCriticalSection(&lock);
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
    if (process)
        reader = CreateThread(nullptr, 0, read_output, this, 0, nullptr);
}

DWORD WINAPI TestProcess::read_output(void* self)
{
    TestProcess* p = static_cast<TestProcess*>(self);
    char buffer[512];
    DWORD got = 0;
    while (ReadFile(p->from_child, buffer, sizeof buffer, &got, nullptr) && got > 0) {
        EnterCriticalSection(&p->lock);
        p->pending.append(buffer, got);
        LeaveCriticalSection(&p->lock);
    }
    return 0;
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
    if (to_child)
        CloseHandle(to_child);
    // The child has ended, so the pipe is closed and the reader returns.
    if (reader) {
        WaitForSingleObject(reader, 5000);
        CloseHandle(reader);
    }
    if (from_child)
        CloseHandle(from_child);
    DeleteCriticalSection(&lock);
}

bool TestProcess::read_line(std::string* line_out, DWORD timeout_ms)
{
    DWORD start = GetTickCount();
    for (;;) {
        EnterCriticalSection(&lock);
        std::string::size_type end = pending.find('\n');
        std::string line;
        if (end != std::string::npos) {
            line = pending.substr(0, end);
            pending.erase(0, end + 1);
        }
        LeaveCriticalSection(&lock);
        if (end != std::string::npos) {
            if (!line.empty() && line.back() == '\r')
                line.pop_back();
            *line_out = line;
            return true;
        }
        if (GetTickCount() - start > timeout_ms)
            return false;
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
