// Text resources come back from the executable exactly as the files in
// resources/ hold them, through FindResourceA/LoadResource/LockResource.
#include "platform/platform.h"
#include "tests/wine/expected_files.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>

namespace {

std::string text_of(int id)
{
    const char* bytes = nullptr;
    std::size_t size = 0;
    if (!platform::text_resource("TEXTFILE", id, &bytes, &size))
        return std::string();
    return std::string(bytes, size);
}

TEST(Win32TextResource, EveryTextFileReadsBackByteForByte)
{
    int checked = 0;
    for (int i = 0; i < expected_file_count; ++i) {
        const ExpectedFile& file = expected_files[i];
        if (std::strcmp(file.type_name, "TEXTFILE") != 0)
            continue;
        SCOPED_TRACE(file.file_name);
        const char* bytes = nullptr;
        std::size_t size = 0;
        ASSERT_TRUE(platform::text_resource("TEXTFILE", file.id, &bytes, &size));
        ASSERT_NE(bytes, nullptr);
        std::size_t expected_size = static_cast<std::size_t>(file.end - file.begin);
        ASSERT_EQ(size, expected_size);
        EXPECT_EQ(std::memcmp(bytes, file.begin, size), 0);
        ++checked;
    }
    // The rectangle model and material at least are always there.
    EXPECT_GE(checked, 2);
}

TEST(Win32TextResource, MissingIdGivesNullAndZero)
{
    const char* bytes = "stale";
    std::size_t size = 77;
    EXPECT_FALSE(platform::text_resource("TEXTFILE", 999, &bytes, &size));
    EXPECT_EQ(bytes, nullptr);
    EXPECT_EQ(size, 0u);
}

TEST(Win32TextResource, BitmapIdIsNotAText)
{
    const char* bytes = nullptr;
    std::size_t size = 0;
    EXPECT_FALSE(platform::text_resource("TEXTFILE", TEST_BITMAP_ID, &bytes, &size));
}

// Numbers that are no integer resource name must not be taken for a pointer.
TEST(Win32TextResource, IdsOutsideTheResourceRangeAreMissing)
{
    for (int id : {0, -1, 65536, 0x7fffffff}) {
        const char* bytes = "stale";
        std::size_t size = 5;
        EXPECT_FALSE(platform::text_resource("TEXTFILE", id, &bytes, &size)) << id;
        EXPECT_EQ(bytes, nullptr);
        EXPECT_EQ(size, 0u);
    }
}

TEST(Win32TextResource, CatalogueTextsAllResolve)
{
    for (int id : {105, 106, 136, 137, 138, 139})
        EXPECT_FALSE(text_of(id).empty()) << "shader " << id;
    for (int id = 140; id <= 157; ++id)
        EXPECT_FALSE(text_of(id).empty()) << (id % 2 == 0 ? "material " : "model ") << id;
}

TEST(Win32TextResource, ShaderTextsHaveTheirCatalogueSizes)
{
    const struct {
        int id;
        std::size_t size;
    } shaders[] = {{105, 2112}, {106, 448}, {136, 655}, {137, 363}, {138, 668}, {139, 878}};
    for (const auto& shader : shaders)
        EXPECT_EQ(text_of(shader.id).size(), shader.size) << "shader " << shader.id;
    EXPECT_EQ(text_of(140).size(), 242u);
    EXPECT_EQ(text_of(141).size(), 553u);
}

// The shader reader stops at the first "~": it must be the last line's.
TEST(Win32TextResource, ShaderTextsEndWithTheTerminatorLine)
{
    for (int id : {105, 106, 136, 137, 138, 139}) {
        std::string text = text_of(id);
        SCOPED_TRACE(id);
        EXPECT_EQ(std::count(text.begin(), text.end(), '~'), 1);
        ASSERT_GE(text.size(), 5u);
        EXPECT_EQ(text.substr(text.size() - 5), "//~\r\n");
    }
}

} // namespace
