#include "render/mip_texture.h"

#include <cstddef>
#include <vector>

#include <glad/gl.h>

#include "platform/platform.h"

MipTexture::MipTexture(const int* bitmap_ids, int count)
{
    glGenTextures(1, &texture_id_);
    glActiveTexture(GL_TEXTURE0);
    glBindTexture(GL_TEXTURE_2D, texture_id_);

    // A longer list would ask for levels wider than any GL texture.
    if (count > max_levels)
        count = max_levels;
    int size = 1; // pixels per side of the level being filled
    for (int i = 0; i < count; ++i) {
        std::vector<float> pixels(static_cast<std::size_t>(size) * size * 4);
        read_bitmap(pixels.data(), bitmap_ids[i], size, size, true);
        glTexImage2D(GL_TEXTURE_2D, count - 1 - i, GL_RGBA, size, size, 0, GL_RGBA, GL_FLOAT, pixels.data());
        size *= 2;
    }

    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_LINEAR);

    // Without the anisotropy extension the query leaves 0, which is no valid
    // anisotropy: then the parameter is left at its default.
    GLfloat anisotropy = 0.0f;
    glGetFloatv(GL_MAX_TEXTURE_MAX_ANISOTROPY_EXT, &anisotropy);
    if (anisotropy >= 1.0f)
        glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_MAX_ANISOTROPY_EXT, anisotropy);
}

MipTexture::~MipTexture()
{
    glDeleteTextures(1, &texture_id_);
}

void MipTexture::read_bitmap(float* pixels, int bitmap_id, int width, int height, bool flip_rows)
{
    if (width <= 0 || height <= 0)
        return;
    std::vector<unsigned char> rgb(static_cast<std::size_t>(width) * height * 3);
    platform::read_bitmap_rgb(bitmap_id, width, height, rgb.data());
    for (int i = 0; i < height; ++i) {
        const int y = flip_rows ? height - 1 - i : i;
        for (int j = 0; j < width; ++j) {
            const unsigned char* in = &rgb[(static_cast<std::size_t>(y) * width + j) * 3];
            float* out = &pixels[(static_cast<std::size_t>(i) * width + j) * 4];
            out[0] = in[0] / 255.0f;
            out[1] = in[1] / 255.0f;
            out[2] = in[2] / 255.0f;
            out[3] = 1.0f;
        }
    }
}
