// The hack command line of the Linux desktop's screensaver daemons, the
// window ids it carries, and the hex handles "/p" takes there.
#include "app/hack_options.h"
#include "app/quoted_text.h"
#include "app/launch_options.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

struct Parsed {
    bool ok = false;
    HackOptions options;
    std::string error;
};

Parsed parse(std::vector<const char*> arguments)
{
    arguments.insert(arguments.begin(), "vesperine");
    Parsed parsed;
    parsed.ok = parse_hack_options(static_cast<int>(arguments.size()), arguments.data(), &parsed.options,
                                   &parsed.error);
    return parsed;
}

bool is_hack(std::vector<const char*> arguments)
{
    arguments.insert(arguments.begin(), "vesperine");
    return is_hack_command_line(static_cast<int>(arguments.size()), arguments.data());
}

TEST(HackOptions, AnyDaemonOptionStartsHackModeAndWindowsSwitchesDoNot)
{
    EXPECT_TRUE(is_hack({"--root"}));
    EXPECT_TRUE(is_hack({"-window-id", "0x40000c"}));
    EXPECT_TRUE(is_hack({"--fps"}));
    EXPECT_FALSE(is_hack({"/s"}));
    EXPECT_FALSE(is_hack({"/p", "1234"}));
    EXPECT_FALSE(is_hack({"-s"}));
    EXPECT_FALSE(is_hack({}));
}

TEST(HackOptions, ReadsEveryOptionWithOneOrTwoDashes)
{
    Parsed parsed = parse({"-root", "--window", "-fps", "--window-id", "0x1a"});
    ASSERT_TRUE(parsed.ok) << parsed.error;
    EXPECT_TRUE(parsed.options.root);
    EXPECT_TRUE(parsed.options.own_window);
    EXPECT_TRUE(parsed.options.window_id_given);
    EXPECT_EQ(parsed.options.window_id, 0x1au);
}

TEST(HackOptions, UnknownOptionOrMissingOrBadWindowIdIsOneLineError)
{
    for (auto arguments : std::vector<std::vector<const char*>>{
             {"--root", "/s"}, {"--root", "--speed"}, {"--window-id"}, {"--window-id", "0x"}, {"--window-id", "12\n3"}}) {
        Parsed parsed = parse(arguments);
        EXPECT_FALSE(parsed.ok) << arguments.back();
        EXPECT_FALSE(parsed.error.empty());
        EXPECT_EQ(parsed.error.find('\n'), std::string::npos) << parsed.error;
    }
}

TEST(WindowId, HexAndDecimalGarbageAndRange)
{
    std::uint32_t id = 7;
    EXPECT_TRUE(read_window_id("0x60000C", &id));
    EXPECT_EQ(id, 0x60000cu);
    EXPECT_TRUE(read_window_id("0Xabc", &id));
    EXPECT_EQ(id, 0xabcu);
    EXPECT_TRUE(read_window_id("6291468", &id));
    EXPECT_EQ(id, 6291468u);
    EXPECT_TRUE(read_window_id("0x1fffffff", &id));
    EXPECT_EQ(id, 0x1fffffffu);

    id = 7;
    for (const char* bad : {"", "0", "0x0", "0x", "x12", "12abc", "0x12g", " 12", "12 ", "+12", "-12", "window",
                            "0x20000000", "536870912", "0xffffffffffffffffff", "99999999999999999999999"}) {
        EXPECT_FALSE(read_window_id(bad, &id)) << "\"" << bad << "\"";
        EXPECT_EQ(id, 7u) << "\"" << bad << "\" changed the id";
    }
    EXPECT_FALSE(read_window_id(nullptr, &id));
}

TEST(HackWindowChoice, EnvironmentThenWindowIdThenRootThenOwnWindow)
{
    HackOptions options;
    options.root = true;
    options.window_id_given = true;
    options.window_id = 0x500;

    HackWindowChoice choice = choose_hack_window(options, "0x60000c");
    EXPECT_EQ(choice.target, HackTarget::GivenWindow);
    EXPECT_EQ(choice.window_id, 0x60000cu);

    choice = choose_hack_window(options, "");
    EXPECT_EQ(choice.target, HackTarget::GivenWindow);
    EXPECT_EQ(choice.window_id, 0x500u);

    options.window_id_given = false;
    EXPECT_EQ(choose_hack_window(options, nullptr).target, HackTarget::RootWindow);
    options.root = false;
    EXPECT_EQ(choose_hack_window(options, nullptr).target, HackTarget::OwnWindow);
}

TEST(HackWindowChoice, GarbageInTheEnvironmentIsAnErrorNotAFallback)
{
    HackOptions options;
    options.root = true;
    HackWindowChoice choice = choose_hack_window(options, "screen-0");
    EXPECT_NE(choice.error.find("XSCREENSAVER_WINDOW"), std::string::npos) << choice.error;
    EXPECT_NE(choice.error.find("screen-0"), std::string::npos) << choice.error;
}

// "/p" on Linux also takes the hex ids X11 tools print; Windows keeps atoi's
// reading, where "0x12" is 0.
TEST(LaunchOptions, PreviewHandleInHexWhereAllowed)
{
    EXPECT_EQ(LaunchOptions("/p 0x60000c", HandleDigits::DecimalOrHex).host_window, 0x60000c);
    EXPECT_EQ(LaunchOptions("/p:0X1F", HandleDigits::DecimalOrHex).host_window, 0x1f);
    EXPECT_EQ(LaunchOptions("/p 1234", HandleDigits::DecimalOrHex).host_window, 1234);
    EXPECT_EQ(LaunchOptions("/p 0x", HandleDigits::DecimalOrHex).host_window, 0);
    EXPECT_EQ(LaunchOptions("/p 0xfffffffff", HandleDigits::DecimalOrHex).host_window, INT32_MAX);
    EXPECT_EQ(LaunchOptions("/p 0x60000c").host_window, 0);
}

} // namespace

namespace {

// Quoted text is one line of plain ASCII: other bytes become escapes, and
// long text is cut after 40 bytes.
TEST(QuotedText, OtherBytesBecomeEscapesAndLongTextIsCut)
{
    EXPECT_EQ(quoted_text("0x6\xff\n\"\\"), "\"0x6\\xff\\x0a\\\"\\\\\"");
    EXPECT_EQ(quoted_text(std::string(41, 'a').c_str()), "\"" + std::string(40, 'a') + "\"...");
}

} // namespace
