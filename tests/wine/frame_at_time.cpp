// Draws the scene once at a given time in the product's own display window
// and writes the frame as a binary PPM (top row first). Built for Linux and
// for Windows alike, so the two systems' pictures of the first population
// can be compared pixel by pixel. Every further monitor gets its window and
// its own batches as in a real run, and the line "monitor windows: N" on
// standard error says how many; the frame is always the primary's.
//   frame_at_time SECONDS OUT.ppm
#include "app/launch_options.h"
#include "app/monitor_windows.h"
#include "app/saver_app.h"
#include "render/drawable_size.h"
#include "render/scene.h"

#include <glad/gl.h>

#include <cstdio>
#include <cstdlib>
#include <vector>

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: frame_at_time SECONDS OUT.ppm\n");
        return 2;
    }
    float time = static_cast<float>(std::atof(argv[1])); // seconds on the particles' clock

    // The full-screen window of an "/s" run, with the product's GL state.
    SaverApp* app = new SaverApp(new LaunchOptions("/s"));
    app->set_up_scenes();
    std::fprintf(stderr, "monitor windows: %d\n", monitor_window_count());
    draw_frame(time);
    glFinish();

    int width = window_width;
    int height = window_height;
    std::vector<unsigned char> pixels(static_cast<std::size_t>(width) * height * 3);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadBuffer(GL_BACK);
    glReadPixels(0, 0, width, height, GL_RGB, GL_UNSIGNED_BYTE, pixels.data());

    std::FILE* out = std::fopen(argv[2], "wb");
    if (!out) {
        std::fprintf(stderr, "cannot write %s\n", argv[2]);
        return 1;
    }
    std::fprintf(out, "P6\n%d %d\n255\n", width, height);
    for (int row = height - 1; row >= 0; --row) // GL counts rows from the bottom
        std::fwrite(pixels.data() + static_cast<std::size_t>(row) * width * 3, 1,
                    static_cast<std::size_t>(width) * 3, out);
    std::fclose(out);
    return 0;
}
