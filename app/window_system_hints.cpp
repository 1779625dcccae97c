#include "app/window_system_hints.h"

#include "platform/platform.h"

#define GLFW_INCLUDE_NONE
#include <GLFW/glfw3.h>

// The platform hint arrived with GLFW 3.4. A build against 3.3's header may
// still run with 3.4 (a package from the older release installed on the
// newer one), so the running library's version decides, and the hint's
// values are spelled out where the header lacks them.
namespace {

const int platform_hint = 0x00050003;         // GLFW_PLATFORM
const int platform_win32 = 0x00060001;        // GLFW_PLATFORM_WIN32
const int platform_wayland = 0x00060003;      // GLFW_PLATFORM_WAYLAND
const int platform_x11 = 0x00060004;          // GLFW_PLATFORM_X11
const int wayland_libdecor_hint = 0x00053001; // GLFW_WAYLAND_LIBDECOR
const int wayland_without_libdecor = 0x00038002;

} // namespace

bool library_chooses_platform()
{
    int major = 0;
    int minor = 0;
    int revision = 0;
    glfwGetVersion(&major, &minor, &revision);
    return major > 3 || (major == 3 && minor >= 4);
}

void hint_library_platform()
{
    if (!library_chooses_platform())
        return;
    switch (platform::window_system()) {
    case platform::WindowSystem::win32:
        glfwInitHint(platform_hint, platform_win32);
        break;
    case platform::WindowSystem::x11:
        glfwInitHint(platform_hint, platform_x11);
        break;
    case platform::WindowSystem::wayland:
        glfwInitHint(platform_hint, platform_wayland);
        glfwInitHint(wayland_libdecor_hint, wayland_without_libdecor);
        break;
    }
}

int vertical_blank_interval()
{
    return platform::window_system() == platform::WindowSystem::wayland ? 0 : 1;
}

bool window_icons_exist()
{
    return platform::window_system() != platform::WindowSystem::wayland;
}
