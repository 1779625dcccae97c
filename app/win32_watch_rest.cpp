// The display state, power source and session changes come as messages
// to the first window.
#include "app/rest_watch.h"

#include "platform/platform.h"

#define GLFW_INCLUDE_NONE
#include <GLFW/glfw3.h>
#define GLFW_EXPOSE_NATIVE_WIN32
#include <GLFW/glfw3native.h>

#include <cstdint>

void watch_rest_of(GLFWwindow* window)
{
    platform::watch_rest(reinterpret_cast<std::uintptr_t>(glfwGetWin32Window(window)), nullptr);
}
