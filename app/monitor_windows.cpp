#include "app/monitor_windows.h"

#include "app/frame_pacer.h"
#include "app/multisample_fallback.h"
#include "app/window_callbacks.h"
#include "platform/platform.h"
#include "render/drawable_size.h"
#include "render/fixed_gl_state.h"
#include "render/scene.h"

#define GLFW_INCLUDE_NONE
#include <GLFW/glfw3.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

// Seconds between two looks at the monitors' rectangles: the library
// reports monitors that come and go, but not one that moves or changes its
// mode.
constexpr double look_period = 0.25;

struct Rect {
    int x = 0; // pixels on the virtual desktop
    int y = 0;
    int width = 0;
    int height = 0;
};

bool operator==(const Rect& a, const Rect& b)
{
    return a.x == b.x && a.y == b.y && a.width == b.width && a.height == b.height;
}

// One window and the view drawn in it.
struct MonitorView {
    GLFWwindow* window = nullptr;
    GLFWmonitor* monitor = nullptr; // the monitor covered; null for a preview's or a hack's window
    bool monitor_gone = false;      // the monitor was disconnected: the view goes
    Rect covered;                   // the monitor's rectangle the window was made for
    View* view = nullptr;           // primary_view for the display window, owned otherwise
    FramePacer pacer{0, glfwGetTime, platform::sleep_seconds};
};

struct MonitorViews {
    std::vector<MonitorView> list;            // the display window's first
    std::vector<SnowflakeBatch*> every_batch; // nine per view, in list order
    std::string last_error;                   // the library's latest complaint while opening one
    // The last window left once every monitor went, hidden: its context
    // keeps the shared GL objects alive for the views of monitors to come.
    GLFWwindow* keeper = nullptr;
    bool monitors_changed = false; // the library reported a monitor connected or disconnected
    double next_look = 0.0;        // seconds of library time
};

MonitorViews views;

void list_every_batch()
{
    views.every_batch.clear();
    for (const MonitorView& entry : views.list)
        views.every_batch.insert(views.every_batch.end(), entry.view->batches, entry.view->batches + scene_batch_count);
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

// While further windows open, the library's errors are kept for the note
// of a monitor left out instead of stopping the run in a box.
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

// A full-screen window minimises itself when it loses the focus, and each
// new window takes the focus from the ones before it; the pointer stays
// where the display window put it.
void hint_one_of_several()
{
    for (MonitorView& entry : views.list)
        glfwSetWindowAttrib(entry.window, GLFW_AUTO_ICONIFY, GLFW_FALSE);
    glfwWindowHint(GLFW_AUTO_ICONIFY, GLFW_FALSE);
    glfwWindowHint(GLFW_CENTER_CURSOR, GLFW_FALSE);
}

// A view of its own on `monitor`, its window sharing `share`'s objects, at
// the end of the list, its context current; false (with a note) when the
// window cannot be made.
bool open_view_on(GLFWmonitor* monitor, GLFWwindow* share)
{
    views.last_error.clear();
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

    glfwSetWindowSizeCallback(window, on_window_size);
    glfwSetKeyCallback(window, on_key);
    glfwSetMouseButtonCallback(window, on_mouse_button);
    glfwSetCursorPosCallback(window, on_cursor_position);
    glfwSetScrollCallback(window, on_scroll);

    glfwMakeContextCurrent(window);
    set_fixed_gl_state();
    // The first view alone waits for the vertical blank.
    glfwSwapInterval(views.list.empty() ? 1 : 0);
    glfwSetInputMode(window, GLFW_CURSOR, GLFW_CURSOR_HIDDEN);

    MonitorView entry;
    entry.window = window;
    entry.monitor = monitor;
    entry.covered = rect_of(monitor);
    entry.view = new View();
    set_view_size(*entry.view, mode->width, mode->height);
    entry.pacer.set_refresh_rate(mode->refreshRate);
    views.list.push_back(entry);
    return true;
}

// Destroys view `i`: its buffers and batches, then its window (the last
// window of all is hidden and kept instead, see keeper).
void close_view(std::size_t i)
{
    MonitorView entry = views.list[i];
    views.list.erase(views.list.begin() + static_cast<std::ptrdiff_t>(i));
    glfwMakeContextCurrent(entry.window);
    release_view(*entry.view);
    if (entry.view != &primary_view)
        delete entry.view;
    if (views.list.empty() && !views.keeper) {
        glfwHideWindow(entry.window);
        views.keeper = entry.window;
    } else {
        glfwDestroyWindow(entry.window);
    }
    if (i == 0 && !views.list.empty()) {
        // The new first view takes over the vertical blank and the focus,
        // so a key still reaches one of our windows.
        glfwMakeContextCurrent(views.list.front().window);
        glfwSwapInterval(1);
        glfwFocusWindow(views.list.front().window);
    }
}

void on_monitor(GLFWmonitor* monitor, int event)
{
    views.monitors_changed = true;
    if (event != GLFW_DISCONNECTED)
        return;
    // The library frees the monitor after this call: only mark its view.
    for (MonitorView& entry : views.list) {
        if (entry.monitor == monitor) {
            entry.monitor = nullptr;
            entry.monitor_gone = true;
        }
    }
}

bool has_view(GLFWmonitor* monitor)
{
    return std::any_of(views.list.begin(), views.list.end(),
                       [monitor](const MonitorView& entry) { return entry.monitor == monitor; });
}

// Pixels of `window` that lie on `monitor`.
long long overlap(GLFWwindow* window, GLFWmonitor* monitor)
{
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    glfwGetWindowPos(window, &x, &y);
    glfwGetWindowSize(window, &width, &height);
    const Rect m = rect_of(monitor);
    const long long across = std::min(x + width, m.x + m.width) - std::max(x, m.x);
    const long long down = std::min(y + height, m.y + m.height) - std::max(y, m.y);
    return across > 0 && down > 0 ? across * down : 0;
}

GLFWmonitor* monitor_holding_most_of(GLFWwindow* window)
{
    int count = 0;
    GLFWmonitor** listed = glfwGetMonitors(&count);
    GLFWmonitor* best = nullptr;
    long long most = 0;
    for (int i = 0; i < count; ++i) {
        const long long pixels = overlap(window, listed[i]);
        if (pixels > most) {
            most = pixels;
            best = listed[i];
        }
    }
    return best;
}

bool time_to_look()
{
    const double now = glfwGetTime();
    if (!views.monitors_changed && now < views.next_look)
        return false;
    views.next_look = now + look_period;
    views.monitors_changed = false;
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
    if (monitor) {
        entry.covered = rect_of(monitor);
        entry.pacer.set_refresh_rate(current_refresh_rate(monitor));
        glfwSetMonitorCallback(on_monitor);
    } else {
        entry.pacer.set_refresh_rate(current_refresh_rate(monitor_holding_most_of(window)));
    }
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
    return views.list.empty() ? 0 : static_cast<int>(views.list.size()) - 1;
}

void set_up_monitor_snowfalls()
{
    for (MonitorView& entry : views.list) {
        if (entry.view != &primary_view)
            set_up_view(*entry.view, 0.0f);
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

void draw_due_views(float time)
{
    const double now = glfwGetTime();
    const bool several = views.list.size() > 1;
    for (MonitorView& entry : views.list) {
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

bool a_view_is_due()
{
    const double now = glfwGetTime();
    return std::any_of(views.list.begin(), views.list.end(),
                       [now](const MonitorView& entry) { return entry.pacer.due(now); });
}

void wait_for_next_frame()
{
    if (views.list.empty()) {
        glfwWaitEventsTimeout(look_period);
        return;
    }
    double next = views.list.front().pacer.next_frame_time();
    for (const MonitorView& entry : views.list)
        next = std::min(next, entry.pacer.next_frame_time());
    const double now = glfwGetTime();
    if (next > now)
        platform::sleep_seconds(next - now);
}

bool follow_monitors(float scene_time)
{
    if (!time_to_look())
        return false;
    bool changed = false;
    for (std::size_t i = views.list.size(); i-- > 0;) {
        if (views.list[i].monitor_gone) {
            close_view(i);
            changed = true;
        }
    }
    for (MonitorView& entry : views.list) {
        if (!entry.monitor)
            continue;
        const Rect now = rect_of(entry.monitor);
        if (now == entry.covered || now.width <= 0 || now.height <= 0)
            continue;
        const int rate = current_refresh_rate(entry.monitor);
        glfwSetWindowMonitor(entry.window, entry.monitor, 0, 0, now.width, now.height, rate > 0 ? rate : GLFW_DONT_CARE);
        set_view_size(*entry.view, now.width, now.height);
        entry.covered = now;
        entry.pacer.set_refresh_rate(rate);
    }
    int count = 0;
    GLFWmonitor** listed = glfwGetMonitors(&count);
    for (int i = 0; i < count; ++i) {
        if (has_view(listed[i]))
            continue;
        hint_one_of_several();
        GLFWwindow* share = views.list.empty() ? views.keeper : views.list.front().window;
        if (open_view_on(listed[i], share)) {
            set_up_view(*views.list.back().view, scene_time);
            changed = true;
        }
    }
    if (changed) {
        list_every_batch();
        if (!views.list.empty())
            glfwMakeContextCurrent(views.list.front().window);
    }
    return changed;
}

void follow_monitor_under_window()
{
    if (views.list.empty() || !time_to_look())
        return;
    MonitorView& entry = views.list.front();
    entry.pacer.set_refresh_rate(current_refresh_rate(monitor_holding_most_of(entry.window)));
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
