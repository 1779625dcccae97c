// A small hidden window with the display window's hints and fixed GL state
// (depth test less-or-equal, alpha blending, multisampling), its context
// current and the entry points loaded. llvmpipe is slow: keep it small.
#pragma once

#include <cstdint>
#include <vector>

#include "render/drawable_size.h"
#include "tests/support/hidden_gl_window.h"

// Null when there is no display or no context.
inline GLFWwindow* open_scene_test_window(int width, int height)
{
    GLFWwindow* window = open_hidden_gl_window(width, height, "scene test", 4);
    if (!window)
        return nullptr;
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LEQUAL);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glEnable(GL_MULTISAMPLE);
    set_drawable_size(width, height);
    return window;
}

struct Rgb {
    int r, g, b; // 0..255
};

// The back buffer's pixel at (x, y), counted from the bottom left.
inline Rgb read_pixel(int x, int y)
{
    unsigned char p[4] = {};
    glReadBuffer(GL_BACK);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(x, y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, p);
    return Rgb{p[0], p[1], p[2]};
}

// The whole back buffer, RGB, bottom row first.
inline std::vector<unsigned char> read_image(int width, int height)
{
    std::vector<unsigned char> pixels(static_cast<std::size_t>(width) * height * 3);
    glReadBuffer(GL_BACK);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, width, height, GL_RGB, GL_UNSIGNED_BYTE, pixels.data());
    return pixels;
}
