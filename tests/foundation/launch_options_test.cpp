// The command-line grammar: which switch wins, where the number is read.
#include "app/launch_options.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <memory>

namespace {

void expect_options(const char* command_line, RunMode mode, std::int32_t host_window)
{
    LaunchOptions options(command_line);
    EXPECT_EQ(options.mode, mode) << "command line \"" << command_line << "\"";
    EXPECT_EQ(options.host_window, host_window) << "command line \"" << command_line << "\"";
}

TEST(LaunchOptions, SaverSwitchAlone)
{
    expect_options("/s", RunMode::Saver, 0);
}

TEST(LaunchOptions, PreviewReadsHandleAfterBlankOrColon)
{
    expect_options("/p 1234", RunMode::Preview, 1234);
    expect_options("/p:1234", RunMode::Preview, 1234);
}

TEST(LaunchOptions, ConfigureReadsAndKeepsUnusedHandle)
{
    expect_options("/c:4567", RunMode::Configure, 4567);
    expect_options("/c", RunMode::Configure, 0);
}

// The number always starts three characters after the slash.
TEST(LaunchOptions, NumberStartsAtFixedOffset)
{
    expect_options("/p12", RunMode::Preview, 2);
    expect_options("/p  77", RunMode::Preview, 77); // atoi skips the second blank
}

TEST(LaunchOptions, UpperCaseMinusAndEmptyGiveNone)
{
    expect_options("/S", RunMode::None, 0);
    expect_options("/P 12", RunMode::None, 0);
    expect_options("-s", RunMode::None, 0);
    expect_options("", RunMode::None, 0);
    expect_options(nullptr, RunMode::None, 0);
}

TEST(LaunchOptions, UnknownSwitchReadsNoNumber)
{
    expect_options("/x 12", RunMode::None, 0);
}

TEST(LaunchOptions, LastSwitchDecidesModeAndEveryLaterSlashRereadsNumber)
{
    expect_options("/p 12 /s", RunMode::Saver, 0);
    expect_options("/p 12 /x 34", RunMode::Preview, 34);
    expect_options("/s /p 99", RunMode::Preview, 99);
}

TEST(LaunchOptions, SignedAndMalformedNumbers)
{
    expect_options("/p -42", RunMode::Preview, -42);
    expect_options("/p +42", RunMode::Preview, 42);
    expect_options("/p abc", RunMode::Preview, 0);
    expect_options("/p 12abc", RunMode::Preview, 12);
}

// Where the Windows runtime's atoi saturates, so do we (no overflow).
TEST(LaunchOptions, NumbersBeyond32BitsSaturate)
{
    expect_options("/p 2147483647", RunMode::Preview, INT32_MAX);
    expect_options("/p 2147483648", RunMode::Preview, INT32_MAX);
    expect_options("/p 99999999999999999999999999999", RunMode::Preview, INT32_MAX);
    expect_options("/p -2147483648", RunMode::Preview, INT32_MIN);
    expect_options("/p -2147483649", RunMode::Preview, INT32_MIN);
    expect_options("/p -99999999999999999999999999999", RunMode::Preview, INT32_MIN);
}

// The text may end right after the slash or the switch letter: the reader
// must stop there. Each text sits at the end of its own heap block, so a
// read past it shows under AddressSanitizer.
TEST(LaunchOptions, TextEndingAfterSwitchLetterOrSlash)
{
    const char* cases[] = {"/p", "/s", "/c", "/", "/p 12 /", "/p 12 /c", "/p "};
    const RunMode modes[] = {RunMode::Preview, RunMode::Saver,     RunMode::Configure, RunMode::None,
                             RunMode::Preview, RunMode::Configure, RunMode::Preview};
    for (std::size_t i = 0; i < sizeof cases / sizeof cases[0]; ++i) {
        std::size_t length = std::strlen(cases[i]);
        std::unique_ptr<char[]> exact(new char[length + 1]);
        std::memcpy(exact.get(), cases[i], length + 1);
        LaunchOptions options(exact.get());
        EXPECT_EQ(options.mode, modes[i]) << cases[i];
        EXPECT_EQ(options.host_window, 0) << cases[i];
    }
}

TEST(ReadDecimalSaturating, ReadsLikeAtoi)
{
    EXPECT_EQ(read_decimal_saturating("  \t\n 17x"), 17);
    EXPECT_EQ(read_decimal_saturating("- 5"), 0);
    EXPECT_EQ(read_decimal_saturating(""), 0);
    EXPECT_EQ(read_decimal_saturating("0000000000000000000042"), 42);
    EXPECT_EQ(read_decimal_saturating("-0"), 0);
}

TEST(LaunchOptions, HostHandleSignExtendsLikeAnHwnd)
{
    LaunchOptions options("/p 1234");
    EXPECT_EQ(options.host_handle(), std::uintptr_t{1234});
    LaunchOptions negative("/p -1");
    EXPECT_EQ(negative.host_handle(), UINTPTR_MAX);
}

} // namespace
