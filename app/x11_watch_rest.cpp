// The displays' power is read on the library's own X connection.
#include "app/rest_watch.h"

#include "platform/platform.h"

#define GLFW_INCLUDE_NONE
#include <GLFW/glfw3.h>
#define GLFW_EXPOSE_NATIVE_X11
#include <GLFW/glfw3native.h>

void watch_rest_of(GLFWwindow* window)
{
    if (platform::window_system() != platform::WindowSystem::x11)
        return; // a Wayland run has no X connection to ask
    platform::watch_rest(static_cast<std::uintptr_t>(glfwGetX11Window(window)), glfwGetX11Display());
}
