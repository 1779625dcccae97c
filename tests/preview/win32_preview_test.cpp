// Preview mode end to end on Windows (under Wine): this test process is the
// screensaver host. It owns a window and starts the saver with
// "/p <its handle>": the product .scr for what can be seen from outside
// (our window gets a child of another process at its client size; a
// disabled or destroyed host ends the saver with exit code 0), and a test
// build of the same program that prints what each frame drew, for the
// picture and the host's resizes.
#include "tests/preview/win32_test_process.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <cstdio>
#include <string>

namespace {

HWND make_host(int width, int height)
{
    static bool registered = false;
    if (!registered) {
        WNDCLASSA window_class{};
        window_class.lpfnWndProc = DefWindowProcA;
        window_class.hInstance = GetModuleHandleA(nullptr);
        window_class.hbrBackground = CreateSolidBrush(RGB(255, 0, 255));
        window_class.lpszClassName = "VesperineTestPreviewHost";
        registered = RegisterClassA(&window_class) != 0;
    }
    RECT r{0, 0, width, height};
    AdjustWindowRect(&r, WS_OVERLAPPEDWINDOW, FALSE);
    return CreateWindowExA(0, "VesperineTestPreviewHost", "Preview host", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 20,
                           20, r.right - r.left, r.bottom - r.top, nullptr, nullptr, GetModuleHandleA(nullptr),
                           nullptr);
}

void resize_client(HWND host, int width, int height)
{
    RECT r{0, 0, width, height};
    AdjustWindowRect(&r, WS_OVERLAPPEDWINDOW, FALSE);
    SetWindowPos(host, nullptr, 0, 0, r.right - r.left, r.bottom - r.top, SWP_NOMOVE | SWP_NOZORDER);
}

struct Frame {
    int width = 0, height = 0;
    int blue_bottom = 0; // percent of the bottom row in the sky's blue
    int dark_top = 0;    // percent of the top row in the night's dark
};

class Win32PreviewTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        host = make_host(160, 120);
        ASSERT_NE(host, nullptr);
        pump_messages();
    }

    void TearDown() override
    {
        delete saver;
        if (IsWindow(host))
            DestroyWindow(host);
        pump_messages();
    }

    void start(const char* program)
    {
        std::string handle = std::to_string(static_cast<long long>(reinterpret_cast<INT_PTR>(host)));
        saver = new TestProcess("\"" + executable_folder() + program + "\" /p " + handle);
        ASSERT_TRUE(saver->started());
    }

    // The first child window of the host that another process made, once
    // it is there (set-up of the scene may take a few seconds), else null.
    HWND wait_for_foreign_child(DWORD timeout_ms = 30000)
    {
        DWORD start_time = GetTickCount();
        while (GetTickCount() - start_time < timeout_ms) {
            for (HWND c = GetWindow(host, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
                DWORD owner = 0;
                GetWindowThreadProcessId(c, &owner);
                if (owner != GetCurrentProcessId() && IsWindowVisible(c))
                    return c;
            }
            if (saver->wait(0) != -1)
                return nullptr;
            pump_messages();
            Sleep(10);
        }
        return nullptr;
    }

    // The next frame report whose size is width by height.
    bool wait_for_frame(int width, int height, Frame* frame, DWORD timeout_ms = 30000)
    {
        DWORD start_time = GetTickCount();
        while (GetTickCount() - start_time < timeout_ms) {
            std::string line;
            if (!saver->read_line(&line, timeout_ms))
                return false;
            Frame f;
            if (std::sscanf(line.c_str(), "frame %d %d %d %d", &f.width, &f.height, &f.blue_bottom,
                            &f.dark_top) == 4 &&
                f.width == width && f.height == height) {
                *frame = f;
                return true;
            }
        }
        return false;
    }

    HWND host = nullptr;
    TestProcess* saver = nullptr;
};

// The product puts a child window of its own process inside the host,
// covering the client area.
TEST_F(Win32PreviewTest, ProductPutsItsChildWindowInsideTheHost)
{
    start(SCR_RELATIVE_PATH);
    HWND child = wait_for_foreign_child();
    ASSERT_NE(child, nullptr) << "no child window of the saver appeared in the host";
    RECT client{};
    GetClientRect(child, &client);
    EXPECT_EQ(client.right, 160);
    EXPECT_EQ(client.bottom, 120);
    EXPECT_EQ(saver->wait(0), -1) << "the saver ended on its own";
}

TEST_F(Win32PreviewTest, DisabledHostEndsTheProductWithZero)
{
    start(SCR_RELATIVE_PATH);
    ASSERT_NE(wait_for_foreign_child(), nullptr);
    EnableWindow(host, FALSE);
    EXPECT_EQ(saver->wait(15000), 0);
}

TEST_F(Win32PreviewTest, DestroyedHostEndsTheProductWithZero)
{
    start(SCR_RELATIVE_PATH);
    ASSERT_NE(wait_for_foreign_child(), nullptr);
    DestroyWindow(host);
    EXPECT_EQ(saver->wait(15000), 0);
}

// The frames are the night sky at the host's client size: bright blue along
// the bottom, dark along the top.
TEST_F(Win32PreviewTest, DrawsTheSceneAtTheHostsSize)
{
    start("preview_probe.scr");
    Frame frame;
    ASSERT_TRUE(wait_for_frame(160, 120, &frame)) << "no frame of the host's size";
    // A few frames in, past the first one's shader compilation.
    ASSERT_TRUE(wait_for_frame(160, 120, &frame));
    EXPECT_GE(frame.blue_bottom, 90);
    EXPECT_GE(frame.dark_top, 90);
}

TEST_F(Win32PreviewTest, FollowsAHostResize)
{
    start("preview_probe.scr");
    Frame frame;
    ASSERT_TRUE(wait_for_frame(160, 120, &frame));
    resize_client(host, 240, 180);
    ASSERT_TRUE(wait_for_frame(240, 180, &frame)) << "frames never took the new size";
    // The next frame at that size: the viewport has followed too.
    ASSERT_TRUE(wait_for_frame(240, 180, &frame));
    EXPECT_GE(frame.blue_bottom, 90);
    EXPECT_GE(frame.dark_top, 90);
    // Smaller again (a captioned window has a minimum width of its own).
    resize_client(host, 200, 150);
    EXPECT_TRUE(wait_for_frame(200, 150, &frame));
}

} // namespace
