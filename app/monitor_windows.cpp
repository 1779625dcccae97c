#include "app/monitor_windows.h"

#include "app/monitor_changes.h"
#include "app/multisample_fallback.h"
#include "app/view_list.h"
#include "app/window_callbacks.h"
#include "app/window_system_hints.h"
#include "render/drawable_size.h"
#include "render/fixed_gl_state.h"
#include "render/scene.h"

#include <algorithm>

MonitorViews monitor_views;

namespace {

// While further windows open, the library's errors are kept for the note
// of a monitor left out instead of stopping the run in a box.
void remember_error(int, const char* description)
{
    monitor_views.last_error = description ? description : "";
}

void leave_out(GLFWmonitor* monitor)
{
    int x = 0;
    int y = 0;
    glfwGetMonitorPos(monitor, &x, &y);
    const char* name = glfwGetMonitorName(monitor);
    std::string text = "Vesperine: the monitor " + std::string(name ? name : "") + " at " + std::to_string(x) + "," +
                       std::to_string(y) + " is left out";
    if (!monitor_views.last_error.empty())
        text += ": " + monitor_views.last_error;
    platform::note(text.c_str());
    monitor_views.left_out.push_back(monitor);
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

} // namespace

// A full-screen window minimises itself when it loses the focus, and each
// new window takes the focus from the ones before it; the pointer stays
// where the display window put it.
void hint_one_of_several()
{
    for (MonitorView& entry : monitor_views.list)
        glfwSetWindowAttrib(entry.window, GLFW_AUTO_ICONIFY, GLFW_FALSE);
    glfwWindowHint(GLFW_AUTO_ICONIFY, GLFW_FALSE);
    glfwWindowHint(GLFW_CENTER_CURSOR, GLFW_FALSE);
}

bool open_view_on(GLFWmonitor* monitor, GLFWwindow* share)
{
    monitor_views.last_error.clear();
    const GLFWvidmode* mode = glfwGetVideoMode(monitor);
    GLFWwindow* window = nullptr;
    if (mode) {
        hint_current_refresh_rate(monitor);
        WindowRequest request{monitor, mode, share};
        GLFWerrorfun shown = glfwSetErrorCallback(remember_error);
        window = open_with_multisample_fallback(create_monitor_window, &request);
        glfwSetErrorCallback(shown);
    }
    if (!window) {
        leave_out(monitor);
        return false;
    }
    platform::release_display_request(); // asked for by the library as the window took the monitor

    glfwSetFramebufferSizeCallback(window, on_framebuffer_size);
    glfwSetKeyCallback(window, on_key);
    glfwSetMouseButtonCallback(window, on_mouse_button);
    glfwSetCursorPosCallback(window, on_cursor_position);
    glfwSetScrollCallback(window, on_scroll);
    glfwSetWindowIconifyCallback(window, on_iconify);

    glfwMakeContextCurrent(window);
    set_fixed_gl_state();
    // The first view alone waits for the vertical blank.
    glfwSwapInterval(monitor_views.list.empty() ? vertical_blank_interval() : 0);
    glfwSetInputMode(window, GLFW_CURSOR, GLFW_CURSOR_HIDDEN);

    MonitorView entry;
    entry.window = window;
    entry.monitor = monitor;
    entry.covered = rect_of(monitor);
    entry.view = new View();
    int width = 0;
    int height = 0;
    glfwGetFramebufferSize(window, &width, &height);
    set_view_size(*entry.view, width, height);
    entry.pacer.set_refresh_rate(mode->refreshRate);
    monitor_views.list.push_back(entry);
    return true;
}

void list_every_batch()
{
    monitor_views.every_batch.clear();
    for (const MonitorView& entry : monitor_views.list)
        monitor_views.every_batch.insert(monitor_views.every_batch.end(), entry.view->batches,
                                         entry.view->batches + scene_batch_count);
}

Rect rect_of(GLFWmonitor* monitor)
{
    Rect rect;
    glfwGetMonitorPos(monitor, &rect.x, &rect.y);
    const GLFWvidmode* mode = glfwGetVideoMode(monitor);
    if (mode) {
        rect.width = mode->width;
        rect.height = mode->height;
    }
    return rect;
}

bool has_view(GLFWmonitor* monitor)
{
    return std::any_of(monitor_views.list.begin(), monitor_views.list.end(),
                       [monitor](const MonitorView& entry) { return entry.monitor == monitor; });
}

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
    if (monitor) {
        entry.covered = rect_of(monitor);
        entry.pacer.set_refresh_rate(current_refresh_rate(monitor));
        watch_monitors();
    } else {
        entry.pacer.set_refresh_rate(rate_of_monitor_under(window));
    }
    monitor_views.list.insert(monitor_views.list.begin(), entry);
}

GLFWwindow* first_view_window()
{
    return monitor_views.list.empty() ? nullptr : monitor_views.list.front().window;
}

View& view_of(GLFWwindow* window)
{
    for (MonitorView& entry : monitor_views.list) {
        if (entry.window == window)
            return *entry.view;
    }
    return primary_view;
}

void open_monitor_windows()
{
    int count = 0;
    GLFWmonitor** listed = glfwGetMonitors(&count);
    if (count < 2 || monitor_views.list.empty())
        return;
    GLFWwindow* display = monitor_views.list.front().window;
    std::vector<GLFWmonitor*> others;
    for (int i = 0; i < count; ++i) {
        if (!has_view(listed[i]))
            others.push_back(listed[i]);
    }
    hint_one_of_several();
    for (GLFWmonitor* monitor : others)
        open_view_on(monitor, display);
    glfwMakeContextCurrent(display);
}

int monitor_window_count()
{
    return monitor_views.list.empty() ? 0 : static_cast<int>(monitor_views.list.size()) - 1;
}

void set_up_monitor_snowfalls()
{
    for (MonitorView& entry : monitor_views.list) {
        if (entry.view != &primary_view)
            set_up_view(*entry.view, 0.0f);
    }
    list_every_batch();
}

SnowflakeBatch* const* every_batch()
{
    return monitor_views.every_batch.data();
}

int every_batch_count()
{
    return static_cast<int>(monitor_views.every_batch.size());
}

void reupload_any_batch(int batch)
{
    upload_view_batch(*monitor_views.list[batch / scene_batch_count].view, batch % scene_batch_count);
}

void draw_due_views(float time)
{
    const double now = glfwGetTime();
    const bool several = monitor_views.list.size() > 1;
    for (MonitorView& entry : monitor_views.list) {
        if (!entry.pacer.due(now))
            continue;
        if (several)
            glfwMakeContextCurrent(entry.window);
        draw_view(time, *entry.view);
        entry.pacer.swap_begins();
        glfwSwapBuffers(entry.window);
        entry.pacer.swap_ended();
    }
}

void cap_every_view(int frame_rate_cap)
{
    FramePacer::cap_frame_rate(frame_rate_cap);
    for (MonitorView& entry : monitor_views.list)
        entry.pacer.set_refresh_rate(entry.pacer.refresh_rate());
}

bool a_view_is_due()
{
    const double now = glfwGetTime();
    return std::any_of(monitor_views.list.begin(), monitor_views.list.end(),
                       [now](const MonitorView& entry) { return entry.pacer.due(now); });
}

void wait_for_next_frame()
{
    if (monitor_views.list.empty()) {
        glfwWaitEventsTimeout(look_period);
        return;
    }
    double next = monitor_views.list.front().pacer.next_frame_time();
    for (const MonitorView& entry : monitor_views.list)
        next = std::min(next, entry.pacer.next_frame_time());
    const double now = glfwGetTime();
    if (next > now)
        platform::sleep_seconds(next - now);
}

bool a_view_asks_to_end(bool escape_ends)
{
    for (const MonitorView& entry : monitor_views.list) {
        if (glfwWindowShouldClose(entry.window))
            return true;
        if (escape_ends && glfwGetKey(entry.window, GLFW_KEY_ESCAPE) != GLFW_RELEASE)
            return true;
    }
    return false;
}
