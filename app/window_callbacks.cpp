#include "app/window_callbacks.h"

#include "platform/platform.h"
#include "app/monitor_windows.h"
#include "render/view.h"

#define GLFW_INCLUDE_NONE
#include <GLFW/glfw3.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {
bool window_restored = false;
}

void report_library_error([[maybe_unused]] int code, const char* description)
{
#ifdef GLFW_FEATURE_UNAVAILABLE
    // What the window system does not have (the input focus on Wayland)
    // is no failure of the run.
    if (code == GLFW_FEATURE_UNAVAILABLE)
        return;
#endif
    // One failure makes the library repeat itself (after a failed start
    // every later call reports that it is not initialised): each text is
    // shown once, or a Windows user would click through a dozen boxes.
    static std::vector<std::string> shown; // every text shown so far
    std::string text = description ? description : "";
    if (std::find(shown.begin(), shown.end(), text) != shown.end())
        return;
    shown.push_back(text);
    platform::message_box(text.c_str(), "Error", platform::MessageIcon::information);
}

void on_framebuffer_size(GLFWwindow* window, int width, int height)
{
    set_view_size(view_of(window), width, height);
}

void on_key(GLFWwindow*, int, int, int, int)
{
    platform::end_process_now(0);
}

void on_mouse_button(GLFWwindow*, int, int, int)
{
    platform::end_process_now(0);
}

void on_cursor_position(GLFWwindow*, double, double)
{
}

void on_scroll(GLFWwindow*, double, double)
{
}

void on_iconify(GLFWwindow*, int iconified)
{
    if (!iconified)
        window_restored = true;
}

bool take_window_restored()
{
    const bool restored = window_restored;
    window_restored = false;
    return restored;
}
