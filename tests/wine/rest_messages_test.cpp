// What the system tells the first window about the display and the session
// (Wine itself sends neither): delivered to a window of the test's own,
// the way Windows would, and read back through the platform queries.
#include "platform/platform.h"

#include <gtest/gtest.h>

#include <windows.h>
#include <wtsapi32.h>

#include <cstring>
#include <utility>
#include <vector>

namespace {

const GUID console_display_state = {0x6fe69556, 0x704a, 0x47a0, {0x8f, 0x24, 0xc2, 0x8d, 0x93, 0x6f, 0xda, 0x47}};

HWND watched_window()
{
    static HWND window = [] {
        WNDCLASSW window_class{};
        window_class.lpfnWndProc = DefWindowProcW;
        window_class.hInstance = GetModuleHandleW(nullptr);
        window_class.lpszClassName = L"VesperineRestTest";
        RegisterClassW(&window_class);
        HWND made = CreateWindowW(L"VesperineRestTest", L"", WS_OVERLAPPEDWINDOW, 0, 0, 64, 64, nullptr, nullptr,
                                  GetModuleHandleW(nullptr), nullptr);
        platform::watch_rest(reinterpret_cast<std::uintptr_t>(made), nullptr);
        return made;
    }();
    return window;
}

void send_display_state(DWORD state)
{
    std::vector<unsigned char> bytes(sizeof(POWERBROADCAST_SETTING) + sizeof(DWORD));
    auto* setting = reinterpret_cast<POWERBROADCAST_SETTING*>(bytes.data());
    setting->PowerSetting = console_display_state;
    setting->DataLength = sizeof(DWORD);
    std::memcpy(setting->Data, &state, sizeof state);
    SendMessageW(watched_window(), WM_POWERBROADCAST, PBT_POWERSETTINGCHANGE, reinterpret_cast<LPARAM>(setting));
}

} // namespace

TEST(RestMessages, DisplayOffIsDarkDimmedAndOnAreNot)
{
    send_display_state(0);
    EXPECT_TRUE(platform::displays_dark());
    send_display_state(2);
    EXPECT_FALSE(platform::displays_dark());
    send_display_state(0);
    send_display_state(1);
    EXPECT_FALSE(platform::displays_dark());
}

TEST(RestMessages, LockedOrDisconnectedSessionHasNobodyLooking)
{
    // Each change, and whether somebody can look afterwards.
    const std::pair<WPARAM, bool> changes[] = {{WTS_SESSION_LOCK, true},       {WTS_SESSION_UNLOCK, false},
                                               {WTS_REMOTE_DISCONNECT, true},  {WTS_REMOTE_CONNECT, false},
                                               {WTS_CONSOLE_DISCONNECT, true}, {WTS_CONSOLE_CONNECT, false}};
    for (const auto& change : changes) {
        SendMessageW(watched_window(), WM_WTSSESSION_CHANGE, change.first, 0);
        EXPECT_EQ(platform::nobody_looks(), change.second) << "after change " << change.first;
    }
}
