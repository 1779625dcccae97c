// Makes the About window's preview picture (bitmap resource 101, 110 x 83)
// from the real scene: renders it offscreen at eight times that size at a
// chosen time, averages every 8 x 8 block and writes an uncompressed 24-bit
// bottom-up BMP. Needs an X display (Xvfb serves).
//   render_preview OUT.bmp [SECONDS]
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include <glad/gl.h>
#define GLFW_INCLUDE_NONE
#include <GLFW/glfw3.h>

#include "render/drawable_size.h"
#include "render/scene.h"

namespace {

constexpr int picture_width = 110, picture_height = 83; // pixels
constexpr int reduction = 8;                              // rendered pixels per picture pixel, each way
constexpr int render_width = picture_width * reduction;   // 880
constexpr int render_height = picture_height * reduction; // 664

void put16(std::vector<unsigned char>& out, std::uint32_t v)
{
    out.push_back(v & 0xff);
    out.push_back((v >> 8) & 0xff);
}

void put32(std::vector<unsigned char>& out, std::uint32_t v)
{
    put16(out, v & 0xffff);
    put16(out, v >> 16);
}

// `rgb` holds width x height pixels, bottom row first: a BMP's own row order.
bool write_bmp(const char* path, const std::vector<unsigned char>& rgb, int width, int height)
{
    const int row_bytes = (width * 3 + 3) / 4 * 4;
    const std::uint32_t pixel_bytes = static_cast<std::uint32_t>(row_bytes) * height;
    std::vector<unsigned char> out;
    out.push_back('B');
    out.push_back('M');
    put32(out, 14 + 40 + pixel_bytes);
    put32(out, 0);
    put32(out, 14 + 40);
    put32(out, 40); // BITMAPINFOHEADER
    put32(out, static_cast<std::uint32_t>(width));
    put32(out, static_cast<std::uint32_t>(height)); // positive: bottom row first
    put16(out, 1);
    put16(out, 24);
    put32(out, 0); // BI_RGB, uncompressed
    put32(out, pixel_bytes);
    put32(out, 2835); // 72 dots per inch
    put32(out, 2835);
    put32(out, 0);
    put32(out, 0);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const unsigned char* p = &rgb[(static_cast<std::size_t>(y) * width + x) * 3];
            out.push_back(p[2]);
            out.push_back(p[1]);
            out.push_back(p[0]);
        }
        for (int pad = width * 3; pad < row_bytes; ++pad)
            out.push_back(0);
    }
    FILE* f = std::fopen(path, "wb");
    if (!f)
        return false;
    const bool written = std::fwrite(out.data(), 1, out.size(), f) == out.size();
    return std::fclose(f) == 0 && written;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: render_preview OUT.bmp [SECONDS]\n");
        return 2;
    }
    const float time = argc > 2 ? std::strtof(argv[2], nullptr) : 13.0f; // seconds
    if (!glfwInit())
        return 1;
    glfwWindowHint(GLFW_VISIBLE, GLFW_FALSE);
    glfwWindowHint(GLFW_CONTEXT_VERSION_MAJOR, 1);
    glfwWindowHint(GLFW_CONTEXT_VERSION_MINOR, 0);
    glfwWindowHint(GLFW_SAMPLES, 4);
    GLFWwindow* window = glfwCreateWindow(render_width, render_height, "preview", nullptr, nullptr);
    if (!window) {
        std::fprintf(stderr, "no GL window (is DISPLAY set?)\n");
        return 1;
    }
    glfwMakeContextCurrent(window);
    gladLoaderLoadGL();
    // The saver's fixed state: depth test less-or-equal, alpha blending.
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LEQUAL);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glEnable(GL_MULTISAMPLE);
    set_drawable_size(render_width, render_height);

    set_up_scene();
    draw_frame(time);
    std::vector<unsigned char> rendered(static_cast<std::size_t>(render_width) * render_height * 3);
    glReadBuffer(GL_BACK);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, render_width, render_height, GL_RGB, GL_UNSIGNED_BYTE, rendered.data());

    std::vector<unsigned char> picture(static_cast<std::size_t>(picture_width) * picture_height * 3);
    for (int y = 0; y < picture_height; ++y)
        for (int x = 0; x < picture_width; ++x)
            for (int c = 0; c < 3; ++c) {
                int sum = 0;
                for (int dy = 0; dy < reduction; ++dy)
                    for (int dx = 0; dx < reduction; ++dx)
                        sum += rendered[((static_cast<std::size_t>(y) * reduction + dy) * render_width +
                                         x * reduction + dx) * 3 + c];
                picture[(static_cast<std::size_t>(y) * picture_width + x) * 3 + c] =
                    static_cast<unsigned char>((sum + reduction * reduction / 2) / (reduction * reduction));
            }
    if (!write_bmp(argv[1], picture, picture_width, picture_height)) {
        std::fprintf(stderr, "cannot write %s\n", argv[1]);
        return 1;
    }
    std::printf("wrote %s: %d x %d, the scene at %.2f s reduced from %d x %d\n", argv[1], picture_width,
                picture_height, time, render_width, render_height);
    return 0;
}
