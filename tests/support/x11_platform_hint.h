// Test windows open on the test's private X server, never on the Wayland
// compositor of the session the tests were started from: a library that can
// be told its platform (GLFW 3.4 and later) is told X11 where it has X11.
#pragma once

#define GLFW_INCLUDE_NONE
#include <GLFW/glfw3.h>

inline void hint_x11_platform()
{
#if GLFW_VERSION_MAJOR > 3 || (GLFW_VERSION_MAJOR == 3 && GLFW_VERSION_MINOR >= 4)
    if (glfwPlatformSupported(GLFW_PLATFORM_X11))
        glfwInitHint(GLFW_PLATFORM, GLFW_PLATFORM_X11);
#endif
}
