// Linked into a test build of the saver with -Wl,--wrap=glfwSwapBuffers:
// after each buffer swap it prints one line
//   swap SECONDS
// with the library's clock, so that a test can count the frames shown, and
// before the first of them one line
//   samples N
// with the GL_SAMPLES of the window swapped first.
#include <glad/gl.h>
#define GLFW_INCLUDE_NONE
#include <GLFW/glfw3.h>

#include <cstdio>

extern "C" void __real_glfwSwapBuffers(GLFWwindow* window);

extern "C" void __wrap_glfwSwapBuffers(GLFWwindow* window)
{
    static bool first = true;
    if (first) {
        first = false;
        GLint samples = -1;
        glGetIntegerv(GL_SAMPLES, &samples);
        std::printf("samples %d\n", samples);
    }
    __real_glfwSwapBuffers(window);
    std::printf("swap %.6f\n", glfwGetTime());
    std::fflush(stdout);
}
