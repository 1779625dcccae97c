// A 2D texture whose every mip level comes from its own bitmap resource,
// from the 1x1 picture up to the full-size one; no level is computed by
// scaling.
#pragma once

#include <cstdint>

class MipTexture {
public:
    // `bitmap_ids` holds `count` bitmap resource numbers from the smallest
    // level (1x1) to the largest: entry i becomes level count-1-i, 2^i
    // pixels square, whatever the bitmap's own size. Leaves the texture
    // bound to GL_TEXTURE_2D on unit 0. Needs the GL context current.
    MipTexture(const int* bitmap_ids, int count);
    ~MipTexture();
    MipTexture(const MipTexture&) = delete;
    MipTexture& operator=(const MipTexture&) = delete;

    std::uint32_t texture_id() const { return texture_id_; }

    // Fills `pixels` (width * height * 4 floats: red, green, blue, alpha in
    // 0..1, row 0 first) from bitmap resource `bitmap_id`. With `flip_rows`
    // row 0 is the picture's bottom row, where GL puts texture row 0. Alpha
    // is always 1. A missing bitmap, or pixels beyond its size, read black.
    static void read_bitmap(float* pixels, int bitmap_id, int width, int height, bool flip_rows);

    // Mip levels a list may have: 2^(max_levels-1) is the largest side.
    static constexpr int max_levels = 16;

private:
    std::uint32_t texture_id_ = 0; // GL texture name, GL_TEXTURE_2D
};
