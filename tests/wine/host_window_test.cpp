// The preview host queries on windows of this process and of another one,
// before and after they are disabled or destroyed.
#include "platform/platform.h"
#include "tests/wine/child_process.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <cstdint>
#include <cstdlib>

namespace {

std::uintptr_t as_host(HWND window)
{
    return reinterpret_cast<std::uintptr_t>(window);
}

HWND make_popup(int width, int height)
{
    static bool registered = false;
    if (!registered) {
        WNDCLASSA window_class{};
        window_class.lpfnWndProc = DefWindowProcA;
        window_class.hInstance = GetModuleHandleA(nullptr);
        window_class.lpszClassName = "VesperineTestOwnHost";
        registered = RegisterClassA(&window_class) != 0;
    }
    return CreateWindowExA(0, "VesperineTestOwnHost", "host", WS_POPUP, 0, 0, width, height,
                           nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
}

TEST(Win32Host, ReportsTheClientSizeOfTheHost)
{
    HWND host = make_popup(123, 45);
    ASSERT_NE(host, nullptr);
    int width = 0;
    int height = 0;
    EXPECT_TRUE(platform::host_client_size(as_host(host), &width, &height));
    EXPECT_EQ(width, 123);
    EXPECT_EQ(height, 45);
    DestroyWindow(host);
}

TEST(Win32Host, DisabledHostIsNotEnabled)
{
    HWND host = make_popup(10, 10);
    ASSERT_NE(host, nullptr);
    EXPECT_TRUE(platform::host_is_enabled(as_host(host)));
    EnableWindow(host, FALSE);
    EXPECT_FALSE(platform::host_is_enabled(as_host(host)));
    EnableWindow(host, TRUE);
    EXPECT_TRUE(platform::host_is_enabled(as_host(host)));
    DestroyWindow(host);
}

TEST(Win32Host, DestroyedHostIsGoneAndHasNoSize)
{
    HWND host = make_popup(10, 10);
    ASSERT_NE(host, nullptr);
    DestroyWindow(host);
    EXPECT_FALSE(platform::host_is_enabled(as_host(host)));
    int width = 7;
    int height = 7;
    EXPECT_FALSE(platform::host_client_size(as_host(host), &width, &height));
    EXPECT_EQ(width, 0);
    EXPECT_EQ(height, 0);
}

TEST(Win32Host, NoHandleIsNoHost)
{
    int width = 7;
    int height = 7;
    EXPECT_FALSE(platform::host_client_size(0, &width, &height));
    EXPECT_EQ(width, 0);
    EXPECT_EQ(height, 0);
    EXPECT_FALSE(platform::host_is_enabled(0));
}

// The real host belongs to the screensaver host process, not to us.
TEST(Win32Host, HostOfAnotherProcessIsWatchedUntilThatProcessEnds)
{
    ChildProcess child("window 320 200");
    ASSERT_TRUE(child.started());
    std::uintptr_t host = static_cast<std::uintptr_t>(std::strtoll(child.read_line().c_str(), nullptr, 10));
    ASSERT_NE(host, 0u);
    int width = 0;
    int height = 0;
    EXPECT_TRUE(platform::host_client_size(host, &width, &height));
    EXPECT_EQ(width, 320);
    EXPECT_EQ(height, 200);
    EXPECT_TRUE(platform::host_is_enabled(host));
    child.terminate();
    EXPECT_FALSE(platform::host_is_enabled(host));
    EXPECT_FALSE(platform::host_client_size(host, &width, &height));
}

} // namespace
