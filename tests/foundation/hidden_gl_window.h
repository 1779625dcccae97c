// A small hidden window with the display window's context hints, its GL
// context current and the entry points loaded: enough for shader tests
// under Xvfb without showing anything.
#pragma once

#include <glad/gl.h>
#define GLFW_INCLUDE_NONE
#include <GLFW/glfw3.h>

// Null when no display or no context is available.
inline GLFWwindow* open_hidden_gl_window(int width, int height)
{
    if (!glfwInit())
        return nullptr;
    glfwWindowHint(GLFW_VISIBLE, GLFW_FALSE);
    glfwWindowHint(GLFW_CONTEXT_VERSION_MAJOR, 1);
    glfwWindowHint(GLFW_CONTEXT_VERSION_MINOR, 0);
    glfwWindowHint(GLFW_ALPHA_BITS, 8);
    GLFWwindow* window = glfwCreateWindow(width, height, "foundation test", nullptr, nullptr);
    if (!window)
        return nullptr;
    glfwMakeContextCurrent(window);
    gladLoaderLoadGL();
    return window;
}
