// The raw version word and its decoding against what the system reports.
#include "app/saver_app.h"
#include "platform/platform.h"
#include "tests/wine/child_process.h"

#include <gtest/gtest.h>

#include <windows.h>

namespace {

TEST(Win32Version, WordHoldsTheSystemsMajorAndMinor)
{
    OSVERSIONINFOW info{};
    info.dwOSVersionInfoSize = sizeof info;
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    ASSERT_TRUE(GetVersionExW(&info));
#pragma GCC diagnostic pop
    std::uint32_t word = platform::system_version_word();
    EXPECT_EQ(word & 0xFF, info.dwMajorVersion);
    EXPECT_EQ((word >> 8) & 0xFF, info.dwMinorVersion);
}

// The project's Wine prefix plays Windows 7 (scripts/lib/wine.sh).
TEST(Win32Version, WindowsSevenPrefixDecodesAsSixtyOne)
{
    std::uint32_t word = platform::system_version_word();
    EXPECT_EQ(word & 0xFFFF, 0x0106u);
    EXPECT_EQ(SaverApp::version_from_word(word), 61);
    EXPECT_EQ(SaverApp::windows_version(), 61);
}

// Declared for Windows 10 in the manifest, a program is told the truth on
// Windows 10 and 11 (10.0, not the 6.2 of an undeclared one): 100, which
// the start-up path takes, as every value from 60 on, for the monitor's
// current mode. Wine plays Windows 10 for one program by its name.
TEST(Win32Version, ManifestedProgramOnWindows10ReadsTenAndZero)
{
    const char* key_path = "Software\\Wine\\AppDefaults\\wine_child.exe";
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, key_path, 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    RegSetValueExA(key, "Version", 0, REG_SZ, reinterpret_cast<const BYTE*>("win10"), 6);
    RegCloseKey(key);
    ChildProcess child("version");
    std::string seen = child.read_line();
    child.wait(10000);
    RegDeleteKeyA(HKEY_CURRENT_USER, key_path);
    EXPECT_EQ(seen, "10.0");
    EXPECT_EQ(SaverApp::version_from_word(0x000A), 100);
}

} // namespace
