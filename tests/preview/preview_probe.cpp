// Linked into a test build of the saver with -Wl,--wrap=glfwSwapBuffers:
// before each buffer swap it reads back what the frame drew and prints one
// line every few frames,
//   frame W H BLUE DARK
// the framebuffer size in pixels, the percentage of the bottom row that is
// the sky's bright blue (blue well above red) and the percentage of the top
// row that is the dark night (every component below 50). Under Wine a GL
// child window inside another process's window is not shown on the screen,
// so this is how a test sees the preview's frames.
#include <glad/gl.h>
#define GLFW_INCLUDE_NONE
#include <GLFW/glfw3.h>

#include <cstdio>
#include <vector>

extern "C" void __real_glfwSwapBuffers(GLFWwindow* window);

namespace {

template <typename Test>
int percent_of_row(int y, int width, Test test)
{
    std::vector<unsigned char> row(static_cast<std::size_t>(width) * 4);
    glReadPixels(0, y, width, 1, GL_RGBA, GL_UNSIGNED_BYTE, row.data());
    int n = 0;
    for (int x = 0; x < width; ++x)
        n += test(&row[static_cast<std::size_t>(x) * 4]);
    return width > 0 ? n * 100 / width : 0;
}

} // namespace

extern "C" void __wrap_glfwSwapBuffers(GLFWwindow* window)
{
    static int frame = 0;
    if (frame++ % 5 == 0) {
        int width = 0, height = 0;
        glfwGetFramebufferSize(window, &width, &height);
        int blue = 0, dark = 0;
        if (width > 0 && height > 1) {
            glReadBuffer(GL_BACK);
            blue = percent_of_row(0, width, [](const unsigned char* p) { return p[2] > p[0] + 60; });
            dark = percent_of_row(height - 1, width,
                                  [](const unsigned char* p) { return p[0] < 50 && p[1] < 50 && p[2] < 50; });
        }
        std::printf("frame %d %d %d %d\n", width, height, blue, dark);
        std::fflush(stdout);
    }
    __real_glfwSwapBuffers(window);
}
