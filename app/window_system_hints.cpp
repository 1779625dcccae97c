#include "app/window_system_hints.h"

#include "platform/platform.h"

#define GLFW_INCLUDE_NONE
#include <GLFW/glfw3.h>

#define LIBRARY_CHOOSES_PLATFORM (GLFW_VERSION_MAJOR > 3 || (GLFW_VERSION_MAJOR == 3 && GLFW_VERSION_MINOR >= 4))

bool library_chooses_platform()
{
    return LIBRARY_CHOOSES_PLATFORM;
}

void hint_library_platform()
{
#if LIBRARY_CHOOSES_PLATFORM
    switch (platform::window_system()) {
    case platform::WindowSystem::win32:
        glfwInitHint(GLFW_PLATFORM, GLFW_PLATFORM_WIN32);
        break;
    case platform::WindowSystem::x11:
        glfwInitHint(GLFW_PLATFORM, GLFW_PLATFORM_X11);
        break;
    case platform::WindowSystem::wayland:
        glfwInitHint(GLFW_PLATFORM, GLFW_PLATFORM_WAYLAND);
        glfwInitHint(GLFW_WAYLAND_LIBDECOR, GLFW_WAYLAND_DISABLE_LIBDECOR);
        break;
    }
#endif
}

int vertical_blank_interval()
{
    return platform::window_system() == platform::WindowSystem::wayland ? 0 : 1;
}

bool window_icons_exist()
{
    return platform::window_system() != platform::WindowSystem::wayland;
}
