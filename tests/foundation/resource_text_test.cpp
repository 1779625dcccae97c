// The shader text reader: stops at the first "~", never writes past its
// buffer and never reads past the resource.
#include "render/shader_program.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr char canary = '\x5A';

// A buffer of capacity + 1 bytes followed by canary bytes that must survive.
struct GuardedBuffer {
    explicit GuardedBuffer(std::size_t size) : bytes(size + 1 + 16, canary), capacity(size) {}
    char* data() { return bytes.data(); }
    bool guard_intact() const
    {
        for (std::size_t i = capacity + 1; i < bytes.size(); ++i)
            if (bytes[i] != canary)
                return false;
        return true;
    }
    std::vector<char> bytes;
    std::size_t capacity;
};

TEST(ResourceText, StopsAtFirstMark)
{
    GuardedBuffer buffer(ShaderProgram::source_capacity);
    EXPECT_EQ(ShaderProgram::load_resource_text(950, buffer.data(), buffer.capacity),
              ShaderProgram::TextStatus::complete);
    EXPECT_STREQ(buffer.data(), "first part\r\n//");
    EXPECT_TRUE(buffer.guard_intact());
}

// The product's flake vertex source: all but its final "~\r\n".
TEST(ResourceText, ProductShaderEndsWithEmptyComment)
{
    GuardedBuffer buffer(ShaderProgram::source_capacity);
    ASSERT_EQ(ShaderProgram::load_resource_text(105, buffer.data(), buffer.capacity),
              ShaderProgram::TextStatus::complete);
    std::string text = buffer.data();
    EXPECT_EQ(text.size(), 2112u - 3u);
    EXPECT_EQ(text.compare(0, 14, "#version 110\r\n"), 0);
    EXPECT_EQ(text.substr(text.size() - 5), "}\r\n//");
}

TEST(ResourceText, TextOfExactlyCapacityFits)
{
    GuardedBuffer buffer(3);
    EXPECT_EQ(ShaderProgram::load_resource_text(951, buffer.data(), 3), ShaderProgram::TextStatus::complete);
    EXPECT_STREQ(buffer.data(), "abc");
    EXPECT_TRUE(buffer.guard_intact());
}

TEST(ResourceText, LongerTextIsCutAtCapacity)
{
    GuardedBuffer small(2);
    EXPECT_EQ(ShaderProgram::load_resource_text(951, small.data(), 2), ShaderProgram::TextStatus::unterminated);
    EXPECT_STREQ(small.data(), "ab");
    EXPECT_TRUE(small.guard_intact());

    GuardedBuffer shader(100);
    EXPECT_EQ(ShaderProgram::load_resource_text(105, shader.data(), 100),
              ShaderProgram::TextStatus::unterminated);
    EXPECT_EQ(std::strlen(shader.data()), 100u);
    EXPECT_TRUE(shader.guard_intact());
}

// A model text carries no mark: the reader stops at the resource's end.
TEST(ResourceText, TextWithoutMarkEndsAtResourceEnd)
{
    GuardedBuffer buffer(ShaderProgram::source_capacity);
    EXPECT_EQ(ShaderProgram::load_resource_text(141, buffer.data(), buffer.capacity),
              ShaderProgram::TextStatus::unterminated);
    EXPECT_GT(std::strlen(buffer.data()), 0u);
    EXPECT_LT(std::strlen(buffer.data()), ShaderProgram::source_capacity);
    EXPECT_TRUE(buffer.guard_intact());
}

TEST(ResourceText, MissingResourceGivesEmptyText)
{
    GuardedBuffer buffer(ShaderProgram::source_capacity);
    EXPECT_EQ(ShaderProgram::load_resource_text(999, buffer.data(), buffer.capacity),
              ShaderProgram::TextStatus::missing);
    EXPECT_STREQ(buffer.data(), "");
}

} // namespace
