#include "app/window_icon.h"

#include <cstring>

namespace {

struct Rgba {
    unsigned char r, g, b, a;
};

constexpr Rgba frame_blue{150, 200, 245, 255};
constexpr Rgba red{230, 30, 30, 255};
constexpr Rgba green{40, 190, 60, 255};
constexpr Rgba blue{40, 70, 220, 255};
constexpr Rgba yellow{250, 220, 30, 255};

// Fills the pixels x0 <= x < x1, y0 <= y < y1.
void fill(unsigned char* rgba, int x0, int y0, int x1, int y1, Rgba colour)
{
    for (int y = y0; y < y1; ++y) {
        for (int x = x0; x < x1; ++x) {
            unsigned char* p = rgba + (y * window_icon_size + x) * 4;
            p[0] = colour.r;
            p[1] = colour.g;
            p[2] = colour.b;
            p[3] = colour.a;
        }
    }
}

} // namespace

void draw_window_icon(unsigned char* rgba)
{
    std::memset(rgba, 0, window_icon_size * window_icon_size * 4);
    // Monitor casing, then the screen inside it, 48 x 32 pixels in quarters.
    fill(rgba, 4, 6, 60, 46, frame_blue);
    fill(rgba, 8, 10, 32, 26, red);
    fill(rgba, 32, 10, 56, 26, green);
    fill(rgba, 8, 26, 32, 42, blue);
    fill(rgba, 32, 26, 56, 42, yellow);
    // Neck and foot of the stand.
    fill(rgba, 28, 46, 36, 52, frame_blue);
    fill(rgba, 18, 52, 46, 56, frame_blue);
}
