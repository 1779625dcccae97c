// A shader source that cannot be used ends the process with exit code 0
// and a "Debug" message naming the resource.
#include "render/shader_program.h"

#include <gtest/gtest.h>

namespace {

// Both sources are read before any GL call, so these need no context.
TEST(ShaderSourceDeathTest, MissingSourceEndsWithZeroNamingTheResource)
{
    EXPECT_EXIT(ShaderProgram(999, 106), testing::ExitedWithCode(0), "Debug: Shader resource 999 is missing");
    EXPECT_EXIT(ShaderProgram(105, 998), testing::ExitedWithCode(0), "Debug: Shader resource 998 is missing");
}

TEST(ShaderSourceDeathTest, SourceWithoutMarkEndsWithZeroNamingTheResource)
{
    EXPECT_EXIT(ShaderProgram(141, 106), testing::ExitedWithCode(0),
                "Debug: Shader resource 141 has no \"~\" end mark within 8192 characters");
}

} // namespace
