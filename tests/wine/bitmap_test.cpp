// Bitmap resources read through LoadBitmapA and GetPixel on a memory device
// context: top-left first, red-green-blue order, black beyond the picture.
#include "platform/platform.h"
#include "tests/wine/expected_files.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <vector>

namespace {

using Rgb = std::vector<unsigned char>;

Rgb read(int id, int width, int height, bool* ok = nullptr)
{
    Rgb rgb(static_cast<std::size_t>(width) * height * 3, 0xAB);
    bool result = platform::read_bitmap_rgb(id, width, height, rgb.data());
    if (ok)
        *ok = result;
    return rgb;
}

Rgb pixel(const Rgb& rgb, int width, int x, int y)
{
    std::size_t at = (static_cast<std::size_t>(y) * width + x) * 3;
    return Rgb(rgb.begin() + at, rgb.begin() + at + 3);
}

std::uint32_t little_endian(const unsigned char* p, int bytes)
{
    std::uint32_t value = 0;
    for (int i = bytes - 1; i >= 0; --i)
        value = value << 8 | p[i];
    return value;
}

// Decodes an uncompressed 24-bit .bmp file into top-left-first RGB, the
// reference the system's reading is held against. False for other kinds.
bool decode_bmp(const unsigned char* file, std::size_t size, int* width, int* height, Rgb* rgb)
{
    if (size < 54 || file[0] != 'B' || file[1] != 'M')
        return false;
    std::uint32_t offset = little_endian(file + 10, 4);
    std::int32_t w = static_cast<std::int32_t>(little_endian(file + 18, 4));
    std::int32_t h = static_cast<std::int32_t>(little_endian(file + 22, 4));
    if (little_endian(file + 28, 2) != 24 || little_endian(file + 30, 4) != 0 || w <= 0 || h == 0)
        return false;
    bool bottom_up = h > 0;
    if (h < 0)
        h = -h;
    std::size_t stride = (static_cast<std::size_t>(w) * 3 + 3) / 4 * 4;
    if (offset + stride * h > size)
        return false;
    rgb->assign(static_cast<std::size_t>(w) * h * 3, 0);
    for (int y = 0; y < h; ++y) {
        const unsigned char* row = file + offset + stride * (bottom_up ? h - 1 - y : y);
        for (int x = 0; x < w; ++x) {
            unsigned char* out = rgb->data() + (static_cast<std::size_t>(y) * w + x) * 3;
            out[0] = row[x * 3 + 2];
            out[1] = row[x * 3 + 1];
            out[2] = row[x * 3 + 0];
        }
    }
    *width = w;
    *height = h;
    return true;
}

TEST(Win32Bitmap, TestPatternHasItsSize)
{
    int width = 0;
    int height = 0;
    ASSERT_TRUE(platform::bitmap_size(TEST_BITMAP_ID, &width, &height));
    EXPECT_EQ(width, 3);
    EXPECT_EQ(height, 2);
}

TEST(Win32Bitmap, PureRedPixelReadsAsRed)
{
    Rgb rgb = read(TEST_BITMAP_ID, 3, 2);
    EXPECT_EQ(pixel(rgb, 3, 0, 0), (Rgb{255, 0, 0}));
}

// The file stores the bottom row first and blue first in each pixel.
TEST(Win32Bitmap, RowsComeTopFirstInRedGreenBlueOrder)
{
    bool ok = false;
    Rgb rgb = read(TEST_BITMAP_ID, 3, 2, &ok);
    ASSERT_TRUE(ok);
    EXPECT_EQ(rgb, (Rgb{255, 0, 0, 0, 255, 0, 0, 0, 255, //
                        10, 20, 30, 255, 255, 255, 200, 100, 50}));
}

TEST(Win32Bitmap, PixelsBeyondThePictureReadBlack)
{
    Rgb rgb = read(TEST_BITMAP_ID, 5, 4);
    EXPECT_EQ(pixel(rgb, 5, 2, 1), (Rgb{200, 100, 50}));
    for (int y = 0; y < 4; ++y) {
        for (int x = 0; x < 5; ++x) {
            if (x >= 3 || y >= 2) {
                EXPECT_EQ(pixel(rgb, 5, x, y), (Rgb{0, 0, 0})) << x << "," << y;
            }
        }
    }
}

TEST(Win32Bitmap, SmallerAreaReadsTheTopLeftCorner)
{
    EXPECT_EQ(read(TEST_BITMAP_ID, 2, 1), (Rgb{255, 0, 0, 0, 255, 0}));
}

TEST(Win32Bitmap, MissingBitmapReadsBlackAndFails)
{
    bool ok = true;
    Rgb rgb = read(999, 2, 2, &ok);
    EXPECT_FALSE(ok);
    EXPECT_EQ(rgb, Rgb(12, 0));
    int width = 5;
    int height = 5;
    EXPECT_FALSE(platform::bitmap_size(999, &width, &height));
    EXPECT_EQ(width, 0);
    EXPECT_EQ(height, 0);
}

TEST(Win32Bitmap, TextIdIsNotABitmap)
{
    int width = 0;
    int height = 0;
    EXPECT_FALSE(platform::bitmap_size(141, &width, &height));
}

TEST(Win32Bitmap, EveryBitmapFileReadsAsItsPixels)
{
    int checked = 0;
    for (int i = 0; i < expected_file_count; ++i) {
        const ExpectedFile& file = expected_files[i];
        if (std::strcmp(file.type_name, "BITMAP") != 0)
            continue;
        SCOPED_TRACE(file.file_name);
        int width = 0;
        int height = 0;
        Rgb expected;
        ASSERT_TRUE(decode_bmp(file.begin, static_cast<std::size_t>(file.end - file.begin),
                               &width, &height, &expected))
            << "not an uncompressed 24-bit bitmap";
        int read_width = 0;
        int read_height = 0;
        ASSERT_TRUE(platform::bitmap_size(file.id, &read_width, &read_height));
        EXPECT_EQ(read_width, width);
        EXPECT_EQ(read_height, height);
        EXPECT_EQ(read(file.id, width, height), expected);
        ++checked;
    }
    EXPECT_GE(checked, 1);
}

TEST(Win32Bitmap, CatalogueBitmapsHaveTheirSizes)
{
    const struct {
        int id;
        int width;
        int height;
    } bitmaps[] = {{101, 110, 83}, {103, 128, 128}, {115, 64, 64}, {116, 32, 32}, {117, 16, 16},
                   {118, 8, 8},    {119, 4, 4},     {120, 2, 2},   {121, 1, 1}};
    for (const auto& b : bitmaps) {
        int width = 0;
        int height = 0;
        EXPECT_TRUE(platform::bitmap_size(b.id, &width, &height)) << b.id;
        EXPECT_EQ(width, b.width) << b.id;
        EXPECT_EQ(height, b.height) << b.id;
    }
}

} // namespace
