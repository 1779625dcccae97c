// Who can see the saver, on Windows: the console display's state and the
// session's come as messages to the first window, whose procedure (the
// library's) is wrapped to read them; the power source is asked for.
#include "platform/platform.h"

#include <windows.h>
#include <wtsapi32.h>

namespace platform {

namespace {

// GUID_CONSOLE_DISPLAY_STATE: its data is a DWORD, 0 off, 1 on, 2 dimmed.
const GUID console_display_state = {0x6fe69556, 0x704a, 0x47a0, {0x8f, 0x24, 0xc2, 0x8d, 0x93, 0x6f, 0xda, 0x47}};

WNDPROC library_procedure = nullptr;
bool display_off = false;
bool session_locked = false;
bool session_disconnected = false;

void note_power_setting(const POWERBROADCAST_SETTING& setting)
{
    if (IsEqualGUID(setting.PowerSetting, console_display_state) && setting.DataLength >= sizeof(DWORD)) {
        DWORD state = 0;
        CopyMemory(&state, setting.Data, sizeof state);
        display_off = state == 0; // dimmed still shows the picture
    }
}

void note_session_change(WPARAM change)
{
    switch (change) {
    case WTS_SESSION_LOCK:
        session_locked = true;
        break;
    case WTS_SESSION_UNLOCK:
        session_locked = false;
        break;
    case WTS_CONSOLE_DISCONNECT:
    case WTS_REMOTE_DISCONNECT:
        session_disconnected = true;
        break;
    case WTS_CONSOLE_CONNECT:
    case WTS_REMOTE_CONNECT:
        session_disconnected = false;
        break;
    default:
        break;
    }
}

LRESULT CALLBACK watching_procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam)
{
    if (message == WM_POWERBROADCAST && wparam == PBT_POWERSETTINGCHANGE && lparam)
        note_power_setting(*reinterpret_cast<const POWERBROADCAST_SETTING*>(lparam));
    else if (message == WM_WTSSESSION_CHANGE)
        note_session_change(wparam);
    return CallWindowProcW(library_procedure, window, message, wparam, lparam);
}

} // namespace

void watch_rest(std::uintptr_t window, void*)
{
    HWND handle = reinterpret_cast<HWND>(window);
    if (library_procedure || !handle)
        return;
    library_procedure = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(handle, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(watching_procedure)));
    if (!library_procedure)
        return;
    // Both stay registered until the process ends, which frees them.
    RegisterPowerSettingNotification(handle, &console_display_state, DEVICE_NOTIFY_WINDOW_HANDLE);
    // Looked up, not imported: wtsapi32.dll is no known DLL, and an import
    // would be loaded from beside the .scr before WinMain restricts the search.
    using RegisterSession = BOOL(WINAPI*)(HWND, DWORD);
    HMODULE library = LoadLibraryW(L"wtsapi32.dll");
    auto register_session = reinterpret_cast<RegisterSession>(
        reinterpret_cast<void*>(library ? GetProcAddress(library, "WTSRegisterSessionNotification") : nullptr));
    if (register_session)
        register_session(handle, NOTIFY_FOR_THIS_SESSION);
}

bool displays_dark()
{
    return display_off;
}

bool nobody_looks()
{
    return session_locked || session_disconnected;
}

namespace {

// The battery saver's flag (1 while it is on) is SystemStatusFlag in the SDK
// and in MinGW-w64 12 and later, Reserved1 in older MinGW-w64 headers.
template <typename Status>
auto battery_saver_flag(const Status& status, int) -> decltype(status.SystemStatusFlag)
{
    return status.SystemStatusFlag;
}

template <typename Status>
auto battery_saver_flag(const Status& status, long) -> decltype(status.Reserved1)
{
    return status.Reserved1;
}

} // namespace

bool on_battery()
{
    SYSTEM_POWER_STATUS status{};
    if (!GetSystemPowerStatus(&status))
        return false;
    return status.ACLineStatus == 0 || battery_saver_flag(status, 0) == 1;
}

} // namespace platform
