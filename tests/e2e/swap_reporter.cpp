// Linked into a test build of the saver with -Wl,--wrap=glfwSwapBuffers:
// after each buffer swap it prints one line
//   swap SECONDS
// with the library's clock, so that a test can count the frames shown.
#define GLFW_INCLUDE_NONE
#include <GLFW/glfw3.h>

#include <cstdio>

extern "C" void __real_glfwSwapBuffers(GLFWwindow* window);

extern "C" void __wrap_glfwSwapBuffers(GLFWwindow* window)
{
    __real_glfwSwapBuffers(window);
    std::printf("swap %.6f\n", glfwGetTime());
    std::fflush(stdout);
}
