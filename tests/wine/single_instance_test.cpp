// The single-instance claim is a named event that the system shares between
// processes: tested with real second processes.
#include "platform/platform.h"
#include "tests/wine/child_process.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <string>

namespace {

constexpr int claimed = 10;
constexpr int refused = 11;

// A name of our own per test, so parallel runs never meet.
std::string unique_name(const char* what)
{
    return "VesperineTest-" + std::to_string(GetCurrentProcessId()) + "-" + what;
}

TEST(Win32SingleInstance, FirstClaimOfAFreeNameSucceeds)
{
    EXPECT_TRUE(platform::claim_single_instance(unique_name("first").c_str()));
}

TEST(Win32SingleInstance, SecondProcessIsRefusedWhileTheFirstHoldsTheName)
{
    std::string name = unique_name("held-here");
    ASSERT_TRUE(platform::claim_single_instance(name.c_str()));
    ChildProcess child("claim " + name);
    ASSERT_TRUE(child.started());
    EXPECT_EQ(child.wait(30000), refused);
}

TEST(Win32SingleInstance, ThisProcessIsRefusedWhileAnotherHoldsTheName)
{
    std::string name = unique_name("held-there");
    ChildProcess child("hold " + name);
    ASSERT_TRUE(child.started());
    ASSERT_EQ(child.read_line(), "held");
    EXPECT_FALSE(platform::claim_single_instance(name.c_str()));
    EXPECT_FALSE(platform::claim_single_instance(name.c_str())); // a refusal claims nothing
}

// However the holder ends, killed included, the name becomes free again.
TEST(Win32SingleInstance, NameIsFreeAgainOnceTheHolderHasEnded)
{
    std::string name = unique_name("killed");
    {
        ChildProcess child("hold " + name);
        ASSERT_TRUE(child.started());
        ASSERT_EQ(child.read_line(), "held");
        child.terminate();
    }
    std::string other = unique_name("ended");
    {
        ChildProcess child("claim " + other);
        ASSERT_EQ(child.wait(30000), claimed);
    }
    EXPECT_TRUE(platform::claim_single_instance(name.c_str()));
    EXPECT_TRUE(platform::claim_single_instance(other.c_str()));
}

// The event carries the plain name, without a session prefix, so every
// process of the session finds it under exactly that name.
TEST(Win32SingleInstance, ClaimIsAnEventUnderThePlainName)
{
    std::string name = unique_name("visible");
    std::wstring wide(name.begin(), name.end());
    ASSERT_TRUE(platform::claim_single_instance(name.c_str()));
    HANDLE event = OpenEventW(SYNCHRONIZE, FALSE, wide.c_str());
    ASSERT_NE(event, nullptr);
    // Manual reset and never signalled: waiting on it times out.
    EXPECT_EQ(WaitForSingleObject(event, 0), static_cast<DWORD>(WAIT_TIMEOUT));
    CloseHandle(event);
}

} // namespace
