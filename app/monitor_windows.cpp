#include "app/monitor_windows.h"

#include "app/multisample_fallback.h"
#include "app/window_callbacks.h"
#include "platform/platform.h"
#include "render/drawable_size.h"
#include "render/fixed_gl_state.h"
#include "render/scene.h"

#define GLFW_INCLUDE_NONE
#include <GLFW/glfw3.h>

#include <string>
#include <vector>

namespace {

// One window and the view drawn in it.
struct MonitorView {
    GLFWwindow* window = nullptr;
    GLFWmonitor* monitor = nullptr; // the monitor covered; null for a preview's or a hack's window
    View* view = nullptr;           // primary_view for the display window, owned otherwise
};

struct MonitorViews {
    std::vector<MonitorView> list;            // the display window's first
    std::vector<SnowflakeBatch*> every_batch; // nine per view, in list order
    std::string last_error;                   // the library's latest complaint while opening one
};

MonitorViews views;

void list_every_batch()
{
    views.every_batch.clear();
    for (const MonitorView& entry : views.list)
        views.every_batch.insert(views.every_batch.end(), entry.view->batches, entry.view->batches + scene_batch_count);
}

// While the further windows open, the library's errors are kept for the
// note of a monitor left out instead of stopping the run in a box.
void remember_error(int, const char* description)
{
    views.last_error = description ? description : "";
}

void leave_out(GLFWmonitor* monitor)
{
    int x = 0;
    int y = 0;
    glfwGetMonitorPos(monitor, &x, &y);
    const char* name = glfwGetMonitorName(monitor);
    std::string text = "Vesperine: the monitor " + std::string(name ? name : "") + " at " + std::to_string(x) + "," +
                       std::to_string(y) + " is left out";
    if (!views.last_error.empty())
        text += ": " + views.last_error;
    platform::note(text.c_str());
}

// What a further window is opened with, for the multisample fallback.
struct WindowRequest {
    GLFWmonitor* monitor;
    const GLFWvidmode* mode;
    GLFWwindow* share; // a window whose GL objects the new context shares
};

GLFWwindow* create_monitor_window(void* request)
{
    const WindowRequest& wanted = *static_cast<const WindowRequest*>(request);
    return glfwCreateWindow(wanted.mode->width, wanted.mode->height, "Vesperine", wanted.monitor, wanted.share);
}

// A view of its own on `monitor`, its window sharing `share`'s objects;
// false (with a note) when the window cannot be made.
bool open_view_on(GLFWmonitor* monitor, GLFWwindow* share)
{
    views.last_error.clear();
    const GLFWvidmode* mode = glfwGetVideoMode(monitor);
    GLFWwindow* window = nullptr;
    if (mode) {
        hint_current_refresh_rate(monitor);
        WindowRequest request{monitor, mode, share};
        window = open_with_multisample_fallback(create_monitor_window, &request);
    }
    if (!window) {
        leave_out(monitor);
        return false;
    }

    glfwSetWindowSizeCallback(window, on_window_size);
    glfwSetKeyCallback(window, on_key);
    glfwSetMouseButtonCallback(window, on_mouse_button);
    glfwSetCursorPosCallback(window, on_cursor_position);
    glfwSetScrollCallback(window, on_scroll);

    glfwMakeContextCurrent(window);
    set_fixed_gl_state();
    // Only the first view waits for the vertical blank: waiting in every
    // window would divide the frame rate by the number of monitors.
    glfwSwapInterval(0);
    glfwSetInputMode(window, GLFW_CURSOR, GLFW_CURSOR_HIDDEN);

    MonitorView entry;
    entry.window = window;
    entry.monitor = monitor;
    entry.view = new View();
    set_view_size(*entry.view, mode->width, mode->height);
    views.list.push_back(entry);
    return true;
}

} // namespace

int current_refresh_rate(GLFWmonitor* monitor)
{
    const GLFWvidmode* mode = monitor ? glfwGetVideoMode(monitor) : nullptr;
    return mode ? mode->refreshRate : 0;
}

void hint_current_refresh_rate(GLFWmonitor* monitor)
{
    const int rate = current_refresh_rate(monitor);
    // A rate of 0 is one the system does not know: any will do then.
    glfwWindowHint(GLFW_REFRESH_RATE, rate > 0 ? rate : GLFW_DONT_CARE);
}

void add_display_view(GLFWwindow* window, GLFWmonitor* monitor)
{
    MonitorView entry;
    entry.window = window;
    entry.monitor = monitor;
    entry.view = &primary_view;
    views.list.insert(views.list.begin(), entry);
}

GLFWwindow* first_view_window()
{
    return views.list.empty() ? nullptr : views.list.front().window;
}

View& view_of(GLFWwindow* window)
{
    for (MonitorView& entry : views.list) {
        if (entry.window == window)
            return *entry.view;
    }
    return primary_view;
}

void open_monitor_windows()
{
    int count = 0;
    GLFWmonitor** listed = glfwGetMonitors(&count);
    if (count < 2 || views.list.empty())
        return;
    GLFWwindow* display = views.list.front().window;
    std::vector<GLFWmonitor*> others;
    for (int i = 0; i < count; ++i) {
        if (listed[i] != views.list.front().monitor)
            others.push_back(listed[i]);
    }

    // A full-screen window minimises itself when it loses the focus, and
    // each new window takes the focus from the ones before it.
    glfwSetWindowAttrib(display, GLFW_AUTO_ICONIFY, GLFW_FALSE);
    glfwWindowHint(GLFW_AUTO_ICONIFY, GLFW_FALSE);
    // The pointer stays where the display window put it.
    glfwWindowHint(GLFW_CENTER_CURSOR, GLFW_FALSE);
    GLFWerrorfun shown = glfwSetErrorCallback(remember_error);
    for (GLFWmonitor* monitor : others)
        open_view_on(monitor, display);
    glfwSetErrorCallback(shown);
    glfwMakeContextCurrent(display);
}

int monitor_window_count()
{
    return views.list.empty() ? 0 : static_cast<int>(views.list.size()) - 1;
}

void set_up_monitor_snowfalls()
{
    for (MonitorView& entry : views.list) {
        if (entry.view != &primary_view)
            set_up_view(*entry.view);
    }
    list_every_batch();
}

SnowflakeBatch* const* every_batch()
{
    return views.every_batch.data();
}

int every_batch_count()
{
    return static_cast<int>(views.every_batch.size());
}

void reupload_any_batch(int batch)
{
    upload_view_batch(*views.list[batch / scene_batch_count].view, batch % scene_batch_count);
}

void draw_every_monitor(float time)
{
    for (std::size_t i = 1; i < views.list.size(); ++i) {
        glfwMakeContextCurrent(views.list[i].window);
        draw_view(time, *views.list[i].view);
        glfwSwapBuffers(views.list[i].window);
    }
    if (views.list.size() > 1)
        glfwMakeContextCurrent(views.list.front().window);
    if (!views.list.empty())
        draw_view(time, *views.list.front().view);
}

bool a_view_asks_to_end(bool escape_ends)
{
    for (const MonitorView& entry : views.list) {
        if (glfwWindowShouldClose(entry.window))
            return true;
        if (escape_ends && glfwGetKey(entry.window, GLFW_KEY_ESCAPE) != GLFW_RELEASE)
            return true;
    }
    return false;
}
