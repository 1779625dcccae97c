#include "app/hack_mode.h"

#include "render/drawable_size.h"

#define GLFW_INCLUDE_NONE
#include <GLFW/glfw3.h>

HackMode hack_mode;

GLFWwindow* open_own_hack_window()
{
    constexpr int width = 800; // pixels
    constexpr int height = 600;
    set_drawable_size(width, height);
    return glfwCreateWindow(width, height, "Vesperine", nullptr, nullptr);
}
