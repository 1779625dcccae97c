// exit_process runs the hook, then ends the process with the given code and
// never returns.
#include "tests/wine/child_process.h"

#include <gtest/gtest.h>

namespace {

TEST(Win32ExitProcess, RunsTheHookThenEndsWithCodeZero)
{
    ChildProcess child("exit-hook 0");
    ASSERT_TRUE(child.started());
    std::string output = child.read_all();
    EXPECT_EQ(child.wait(30000), 0);
    EXPECT_EQ(output, "hook\n");
}

TEST(Win32ExitProcess, EndsWithTheCodeItIsGiven)
{
    ChildProcess child("exit-hook 7");
    ASSERT_TRUE(child.started());
    std::string output = child.read_all();
    EXPECT_EQ(child.wait(30000), 7);
    EXPECT_EQ(output.find("returned"), std::string::npos) << output;
}

} // namespace
