// Bitmap resources: the embedded .bmp files decoded with stb_image, giving the
// same top-left-first colours that GetPixel gives on Windows.
#include "platform/embedded_resources.h"
#include "platform/platform.h"

#include <cstring>

#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_BMP
#define STBI_NO_STDIO
#define STBI_NO_HDR
#define STBI_NO_LINEAR
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wshadow"
#pragma GCC diagnostic ignored "-Wunused-function"
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"
#include <stb/stb_image.h>
#pragma GCC diagnostic pop

namespace platform {

namespace {

struct DecodedBitmap {
    unsigned char* pixels = nullptr; // rgb, top row first
    int width = 0;
    int height = 0;
};

DecodedBitmap decode(int id)
{
    DecodedBitmap result;
    const EmbeddedResource* r = find_embedded_resource("BITMAP", id);
    if (!r)
        return result;
    int channels = 0;
    result.pixels = stbi_load_from_memory(r->begin, static_cast<int>(r->end - r->begin),
                                          &result.width, &result.height, &channels, 3);
    if (!result.pixels)
        result.width = result.height = 0;
    return result;
}

} // namespace

bool bitmap_size(int id, int* width, int* height)
{
    DecodedBitmap b = decode(id);
    *width = b.width;
    *height = b.height;
    stbi_image_free(b.pixels);
    return b.pixels != nullptr;
}

bool read_bitmap_rgb(int id, int width, int height, unsigned char* rgb)
{
    std::memset(rgb, 0, static_cast<std::size_t>(width) * height * 3);
    DecodedBitmap b = decode(id);
    if (!b.pixels)
        return false;
    for (int y = 0; y < height && y < b.height; ++y)
        for (int x = 0; x < width && x < b.width; ++x)
            std::memcpy(rgb + (static_cast<std::size_t>(y) * width + x) * 3,
                        b.pixels + (static_cast<std::size_t>(y) * b.width + x) * 3, 3);
    stbi_image_free(b.pixels);
    return true;
}

} // namespace platform
