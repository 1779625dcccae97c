// The raw version word and its decoding against what the system reports.
#include "app/saver_app.h"
#include "platform/platform.h"

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

// The project's Wine prefix is a fresh one, which reports Windows 7.
TEST(Win32Version, FreshWinePrefixDecodesAsSixtyOne)
{
    std::uint32_t word = platform::system_version_word();
    EXPECT_EQ(word & 0xFFFF, 0x0106u);
    EXPECT_EQ(SaverApp::version_from_word(word), 61);
    EXPECT_EQ(SaverApp::windows_version(), 61);
}

} // namespace
