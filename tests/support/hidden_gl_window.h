// A small hidden window with the display window's context hints (GL 1.0
// compatibility), its context current and the entry points loaded: what the
// GL tests draw into under Xvfb without showing anything. llvmpipe is slow,
// so keep it small.
#pragma once

#include <glad/gl.h>
#define GLFW_INCLUDE_NONE
#include <GLFW/glfw3.h>

#include "tests/support/x11_platform_hint.h"

// `samples` is the multisample count (0 for none); `alpha_bits` the back
// buffer's alpha depth. Null when no display or no context is available.
inline GLFWwindow* open_hidden_gl_window(int width, int height, const char* title,
                                         int samples = 0, int alpha_bits = 8)
{
    hint_x11_platform();
    if (!glfwInit())
        return nullptr;
    glfwWindowHint(GLFW_VISIBLE, GLFW_FALSE);
    glfwWindowHint(GLFW_CONTEXT_VERSION_MAJOR, 1);
    glfwWindowHint(GLFW_CONTEXT_VERSION_MINOR, 0);
    glfwWindowHint(GLFW_SAMPLES, samples);
    glfwWindowHint(GLFW_ALPHA_BITS, alpha_bits);
    GLFWwindow* window = glfwCreateWindow(width, height, title, nullptr, nullptr);
    if (!window)
        return nullptr;
    glfwMakeContextCurrent(window);
    gladLoaderLoadGL();
    return window;
}
