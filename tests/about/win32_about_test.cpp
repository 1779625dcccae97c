// The About window of the product (.scr with /c, and /c with a handle that
// is ignored) seen from another process under Windows or Wine: its place,
// the pixels on the screen, what its button opens and how it ends.
#include "platform/platform.h"
#include "tests/preview/win32_test_process.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

const COLORREF background = RGB(177, 232, 179);
const COLORREF notice_blue = RGB(0, 51, 255);

std::string read_file(const std::string& path)
{
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// The "https" protocol's open command, pointed at our recorder for the
// test's duration and put back afterwards. (Wine reads the machine-wide
// class key, not the per-user one.)
class OpenerStandIn {
public:
    OpenerStandIn()
    {
        log = executable_folder() + "opened.txt";
        DeleteFileA(log.c_str());
        std::string command = "\"" + executable_folder() + "opener_recorder.exe\" \"%1\"";
        if (RegCreateKeyExA(HKEY_CLASSES_ROOT, key_path, 0, nullptr, 0, KEY_READ | KEY_WRITE, nullptr, &key,
                            nullptr) != ERROR_SUCCESS) {
            key = nullptr;
            return;
        }
        char value[1024] = {};
        DWORD size = sizeof value - 1;
        DWORD type = 0;
        had_value = RegQueryValueExA(key, nullptr, nullptr, &type, reinterpret_cast<BYTE*>(value), &size) ==
                        ERROR_SUCCESS &&
                    (type == REG_SZ || type == REG_EXPAND_SZ);
        if (had_value) {
            previous.assign(value);
            previous_type = type;
        }
        RegSetValueExA(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(command.c_str()),
                       static_cast<DWORD>(command.size() + 1));
    }
    ~OpenerStandIn()
    {
        if (key) {
            if (had_value)
                RegSetValueExA(key, nullptr, 0, previous_type, reinterpret_cast<const BYTE*>(previous.c_str()),
                               static_cast<DWORD>(previous.size() + 1));
            else
                RegDeleteValueA(key, nullptr);
            RegCloseKey(key);
        }
        DeleteFileA(log.c_str());
    }
    // What the recorder wrote so far: one opened address per line.
    std::string opened() const { return read_file(log); }

private:
    static constexpr const char* key_path = "https\\shell\\open\\command";
    std::string log;
    HKEY key = nullptr;
    bool had_value = false;
    std::string previous;
    DWORD previous_type = REG_SZ;
};

// The product in configure mode with `switches`; its window in *window once
// shown, which is after its controls are made.
TestProcess* start_about(const char* switches, HWND* window)
{
    std::string scr = executable_folder() + SCR_RELATIVE_PATH;
    auto* about = new TestProcess("\"" + scr + "\" " + switches);
    *window = nullptr;
    for (int i = 0; i < 400 && about->started() && !*window; ++i) {
        *window = FindWindowA("KelvoraWindowClass", "About");
        if (*window && !IsWindowVisible(*window))
            *window = nullptr;
        if (!*window)
            Sleep(25);
    }
    return about;
}

HWND focus_of(HWND window)
{
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info);
    return info.hwndFocus;
}

// A key as the keyboard delivers it: posted to the window with the focus.
void press(HWND window, WORD key)
{
    HWND target = focus_of(window) ? focus_of(window) : window;
    PostMessageA(target, WM_KEYDOWN, key, 1);
    PostMessageA(target, WM_KEYUP, key, 1 | (3u << 30));
}

class Win32AboutTest : public ::testing::TestWithParam<const char*> {
protected:
    void SetUp() override
    {
        about = start_about(GetParam(), &window);
        ASSERT_TRUE(about->started());
        ASSERT_NE(window, nullptr) << "no About window appeared";
        // Painted once the heading's black shows.
        for (int i = 0; i < 200; ++i) {
            RedrawWindow(window, nullptr, nullptr, RDW_UPDATENOW);
            if (count_in(70, 20, 280, 20, RGB(0, 0, 0)) > 20)
                break;
            Sleep(25);
        }
    }

    void TearDown() override { delete about; }

    // Client pixel (x, y) as the screen shows it.
    COLORREF client_pixel(int x, int y)
    {
        POINT p{x, y};
        ClientToScreen(window, &p);
        HDC screen = GetDC(nullptr);
        COLORREF c = GetPixel(screen, p.x, p.y);
        ReleaseDC(nullptr, screen);
        return c;
    }

    // The client rectangle as the screen shows it, row by row.
    std::vector<COLORREF> client_pixels(int width, int height)
    {
        POINT origin{0, 0};
        ClientToScreen(window, &origin);
        HDC screen = GetDC(nullptr);
        HDC memory = CreateCompatibleDC(screen);
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        void* bits = nullptr;
        HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        HGDIOBJ previous = SelectObject(memory, bitmap);
        BitBlt(memory, 0, 0, width, height, screen, origin.x, origin.y, SRCCOPY);
        GdiFlush();
        std::vector<COLORREF> pixels(static_cast<std::size_t>(width) * height);
        const unsigned char* p = static_cast<const unsigned char*>(bits);
        for (std::size_t i = 0; i < pixels.size(); ++i)
            pixels[i] = RGB(p[i * 4 + 2], p[i * 4 + 1], p[i * 4 + 0]);
        SelectObject(memory, previous);
        DeleteObject(bitmap);
        DeleteDC(memory);
        ReleaseDC(nullptr, screen);
        return pixels;
    }

    int count_in(int x0, int y0, int width, int height, COLORREF colour)
    {
        RECT client{};
        GetClientRect(window, &client);
        auto pixels = client_pixels(client.right, client.bottom);
        int n = 0;
        for (int y = y0; y < y0 + height && y < client.bottom; ++y)
            for (int x = x0; x < x0 + width && x < client.right; ++x)
                n += pixels[static_cast<std::size_t>(y) * client.right + x] == colour;
        return n;
    }

    TestProcess* about = nullptr;
    HWND window = nullptr;
};

// The outer rectangle starts at ((HORZRES - 400) / 2, (VERTRES - 300) / 2)
// and measures 400 by 300.
TEST_P(Win32AboutTest, IsCentredOnTheScreenAt400By300)
{
    HDC screen = GetDC(nullptr);
    int horizontal = GetDeviceCaps(screen, HORZRES);
    int vertical = GetDeviceCaps(screen, VERTRES);
    ReleaseDC(nullptr, screen);
    RECT r{};
    ASSERT_TRUE(GetWindowRect(window, &r));
    EXPECT_EQ(r.left, static_cast<int>((horizontal - 400) * 0.5));
    EXPECT_EQ(r.top, static_cast<int>((vertical - 300) * 0.5));
    EXPECT_EQ(r.right - r.left, 400);
    EXPECT_EQ(r.bottom - r.top, 300);
}

// The whole client area outside the texts, the button and the picture is
// the light green, and the picture (bitmap 101, when the product has one)
// sits at (142, 55) pixel for pixel.
TEST_P(Win32AboutTest, ClientAreaIsLightGreenWithThePictureAt142And55)
{
    RECT client{};
    GetClientRect(window, &client);
    auto pixels = client_pixels(client.right, client.bottom);
    auto at = [&](int x, int y) { return pixels[static_cast<std::size_t>(y) * client.right + x]; };
    int width = 0, height = 0;
    platform::bitmap_size(101, &width, &height);
    std::vector<unsigned char> rgb(static_cast<std::size_t>(width) * height * 3 + 3);
    platform::read_bitmap_rgb(101, width, height, rgb.data());
    int wrong_background = 0, wrong_picture = 0;
    for (int y = 45; y < 148; ++y)
        for (int x = 0; x < client.right; ++x) {
            bool in_picture = x >= 142 && x < 142 + width && y >= 55 && y < 55 + height;
            if (!in_picture) {
                wrong_background += at(x, y) != background;
            } else {
                const unsigned char* p = &rgb[(static_cast<std::size_t>(y - 55) * width + (x - 142)) * 3];
                wrong_picture += at(x, y) != RGB(p[0], p[1], p[2]);
            }
        }
    EXPECT_EQ(wrong_background, 0);
    EXPECT_EQ(wrong_picture, 0);
    EXPECT_EQ(at(0, 0), background);
    EXPECT_EQ(at(client.right - 1, client.bottom - 1), background);
}

TEST_P(Win32AboutTest, HeadingIsBlackAndNoticeIsBlue)
{
    EXPECT_GT(count_in(70, 20, 280, 20, RGB(0, 0, 0)), 50);
    EXPECT_GT(count_in(20, 150, 380, 60, notice_blue), 100);
    EXPECT_EQ(count_in(20, 150, 380, 60, RGB(0, 0, 0)), 0);
}

// A click on "Visit website" opens the address with "?utm_source=About"
// through the system's handler for https, and the window stays.
TEST_P(Win32AboutTest, ButtonOpensTheWebsiteAndTheWindowStays)
{
    OpenerStandIn opener;
    HWND button = FindWindowExA(window, nullptr, "BUTTON", "Visit website");
    ASSERT_NE(button, nullptr);
    SendMessageA(button, BM_CLICK, 0, 0);
    std::string opened;
    // Up to 30 s: the first ShellExecute in a new Wine prefix is slow.
    for (int i = 0; i < 1200 && opened.find('\n') == std::string::npos; ++i) {
        Sleep(25);
        opened = opener.opened();
    }
    ASSERT_NE(opened.find('\n'), std::string::npos) << "the opener was not started";
    std::string address = opened.substr(0, opened.find('\n'));
    if (!address.empty() && address.back() == '\r')
        address.pop_back();
    const std::string query = "/?utm_source=About";
    ASSERT_GT(address.size(), query.size());
    EXPECT_EQ(address.substr(address.size() - query.size()), query);
    EXPECT_EQ(address.rfind("https://", 0), 0u);
    EXPECT_TRUE(IsWindow(window));
}

TEST_P(Win32AboutTest, ClosingEndsWithExitCodeZero)
{
    PostMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(about->wait(10000), 0);
}

// As a dialog: Escape closes it, and the process ends with 0.
TEST_P(Win32AboutTest, EscapeEndsWithExitCodeZero)
{
    press(window, VK_ESCAPE);
    EXPECT_EQ(about->wait(10000), 0);
}

// Tab moves along the tab stops and reaches the button.
TEST_P(Win32AboutTest, TabReachesTheButton)
{
    HWND button = FindWindowExA(window, nullptr, "BUTTON", "Visit website");
    ASSERT_NE(button, nullptr);
    // Two labels before it: at most three presses.
    for (int i = 0; i < 3 && focus_of(window) != button; ++i) {
        HWND before = focus_of(window);
        press(window, VK_TAB);
        for (int wait = 0; wait < 200 && focus_of(window) == before; ++wait)
            Sleep(5);
    }
    EXPECT_EQ(focus_of(window), button);
}

INSTANTIATE_TEST_SUITE_P(ConfigureSwitch, Win32AboutTest, ::testing::Values("/c", "/c:1234"),
                         [](const ::testing::TestParamInfo<const char*>& info) {
                             return info.index == 0 ? std::string("Plain") : std::string("WithHandle");
                         });

// The outer rectangle, the client area and the button, in screen pixels,
// with the display's DPI as Wine reads it at a program's start.
struct AboutMeasure {
    RECT outer{}, client{}, button{};
};

AboutMeasure measure_at(DWORD dpi)
{
    RegSetKeyValueA(HKEY_CURRENT_USER, "Control Panel\\Desktop", "LogPixels", REG_DWORD, &dpi, sizeof dpi);
    AboutMeasure m;
    HWND window = nullptr;
    TestProcess* about = start_about("/c", &window);
    if (window) {
        GetWindowRect(window, &m.outer);
        GetClientRect(window, &m.client);
        MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&m.client), 2);
        GetWindowRect(FindWindowExA(window, nullptr, "BUTTON", "Visit website"), &m.button);
        PostMessageA(window, WM_CLOSE, 0, 0);
        about->wait(10000);
    }
    delete about;
    return m;
}

// The major version of the Wine this runs on; 0 on Windows.
int wine_major()
{
    using Version = const char*(CDECL*)();
    auto version = reinterpret_cast<Version>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("ntdll.dll"), "wine_get_version")));
    return version ? std::atoi(version()) : 0;
}

// At 150 % scaling every size is 1.5 times its 100 % one, and the button
// stays inside the client area.
TEST(Win32AboutDpi, At144DpiIsOneAndAHalfTimesAsLargeWithTheButtonInside)
{
    // Wine 10 gives the monitor a new DPI only when its server starts again,
    // which a program running on that server cannot bring about.
    if (wine_major() >= 10)
        GTEST_SKIP() << "Wine " << wine_major() << " keeps the monitor's DPI of its server's start";
    AboutMeasure normal = measure_at(96);
    AboutMeasure large = measure_at(144);
    // The project's prefix has no setting of its own: 96 DPI.
    RegDeleteKeyValueA(HKEY_CURRENT_USER, "Control Panel\\Desktop", "LogPixels");
    ASSERT_EQ(normal.outer.right - normal.outer.left, 400);
    ASSERT_EQ(normal.outer.bottom - normal.outer.top, 300);
    EXPECT_EQ(large.outer.right - large.outer.left, 600);
    EXPECT_EQ(large.outer.bottom - large.outer.top, 450);
    EXPECT_EQ(large.button.right - large.button.left, 150);
    EXPECT_EQ(large.button.bottom - large.button.top, 48);
    EXPECT_GE(large.button.left, large.client.left);
    EXPECT_GE(large.button.top, large.client.top);
    EXPECT_LE(large.button.right, large.client.right);
    EXPECT_LE(large.button.bottom, large.client.bottom);
    std::printf("About window: %ld x %ld at 96 DPI, %ld x %ld at 144 DPI\n", normal.outer.right - normal.outer.left,
                normal.outer.bottom - normal.outer.top, large.outer.right - large.outer.left,
                large.outer.bottom - large.outer.top);
}

} // namespace
