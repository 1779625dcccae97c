#include "app/window_callbacks.h"

#include "platform/platform.h"
#include "app/monitor_windows.h"
#include "render/view.h"

void report_library_error(int, const char* description)
{
    platform::message_box(description ? description : "", "Error", platform::MessageIcon::information);
}

void on_window_size(GLFWwindow* window, int width, int height)
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
