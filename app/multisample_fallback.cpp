#include "app/multisample_fallback.h"

#define GLFW_INCLUDE_NONE
#include <GLFW/glfw3.h>

namespace {
bool samples_turned_down = false;
}

GLFWwindow* open_with_multisample_fallback(GLFWwindow* (*open)(void* context), void* context)
{
    if (!samples_turned_down) {
        glfwWindowHint(GLFW_SAMPLES, 4);
        // A box for a failure that the second try may well mend would stop
        // an unattended saver until someone answers it.
        GLFWerrorfun report = glfwSetErrorCallback(nullptr);
        GLFWwindow* window = open(context);
        glfwSetErrorCallback(report);
        if (window)
            return window;
    }
    glfwWindowHint(GLFW_SAMPLES, 0);
    return open(context);
}

void turn_down_multisampling()
{
    samples_turned_down = true;
}
