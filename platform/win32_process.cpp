// Process-level services: the single-instance event, the version word and
// the exit path.
#include "platform/platform.h"

#include <windows.h>

#include <cstdio>
#include <string>

namespace platform {

namespace {
void (*exit_hook)() = nullptr;
}

bool claim_single_instance(const char* name)
{
    // The name is plain ASCII; widen it byte by byte.
    std::wstring wide;
    for (const char* c = name; *c; ++c)
        wide.push_back(static_cast<wchar_t>(static_cast<unsigned char>(*c)));
    SetLastError(ERROR_SUCCESS);
    // Manual reset, not signalled: the event only marks that an instance is
    // alive. Its handle stays open; the system closes it at process end.
    HANDLE event = CreateEventW(nullptr, TRUE, FALSE, wide.c_str());
    if (event && GetLastError() == ERROR_ALREADY_EXISTS) {
        CloseHandle(event);
        return false;
    }
    return true;
}

void use_window_system(WindowSystem)
{
}

WindowSystem window_system()
{
    return WindowSystem::win32;
}

std::uint32_t system_version_word()
{
    return static_cast<std::uint32_t>(GetVersion());
}

void set_exit_hook(void (*hook)())
{
    exit_hook = hook;
}

void exit_process(int code)
{
    if (exit_hook)
        exit_hook();
    std::fflush(stdout);
    std::fflush(stderr);
    ExitProcess(static_cast<UINT>(code));
}

void catch_stop_signals()
{
    // Windows sends its screensavers no signals.
}

bool stop_requested()
{
    return false;
}

void end_process_now(int code)
{
    std::fflush(stdout);
    std::fflush(stderr);
    ExitProcess(static_cast<UINT>(code));
}

} // namespace platform
