#include "app/monitor_changes.h"

#include "app/monitor_windows.h"
#include "app/view_list.h"
#include "app/window_system_hints.h"
#include "render/drawable_size.h"
#include "render/scene.h"

#include <algorithm>

namespace {

// Destroys view `i`: its buffers and batches, then its window (the last
// window of all is hidden and kept instead, see keeper).
void close_view(std::size_t i)
{
    MonitorView entry = monitor_views.list[i];
    monitor_views.list.erase(monitor_views.list.begin() + static_cast<std::ptrdiff_t>(i));
    glfwMakeContextCurrent(entry.window);
    release_view(*entry.view);
    if (entry.view != &primary_view)
        delete entry.view;
    if (monitor_views.list.empty() && !monitor_views.keeper) {
        glfwHideWindow(entry.window);
        monitor_views.keeper = entry.window;
    } else {
        glfwDestroyWindow(entry.window);
    }
    if (i == 0 && !monitor_views.list.empty()) {
        // The new first view takes over the vertical blank and the focus,
        // so a key still reaches one of our windows.
        glfwMakeContextCurrent(monitor_views.list.front().window);
        glfwSwapInterval(vertical_blank_interval());
        glfwFocusWindow(monitor_views.list.front().window);
    }
}

void on_monitor(GLFWmonitor* monitor, int event)
{
    monitor_views.monitors_changed = true;
    if (event != GLFW_DISCONNECTED)
        return;
    // The library frees the monitor after this call: only mark its view.
    monitor_views.left_out.erase(std::remove(monitor_views.left_out.begin(), monitor_views.left_out.end(), monitor),
                                 monitor_views.left_out.end());
    for (MonitorView& entry : monitor_views.list) {
        if (entry.monitor == monitor) {
            entry.monitor = nullptr;
            entry.monitor_gone = true;
        }
    }
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
    if (!monitor_views.monitors_changed && now < monitor_views.next_look)
        return false;
    monitor_views.next_look = now + look_period;
    monitor_views.monitors_changed = false;
    return true;
}

} // namespace

void watch_monitors()
{
    glfwSetMonitorCallback(on_monitor);
}

int rate_of_monitor_under(GLFWwindow* window)
{
    return current_refresh_rate(monitor_holding_most_of(window));
}

bool follow_monitors(float scene_time)
{
    if (!time_to_look())
        return false;
    bool changed = false;
    for (std::size_t i = monitor_views.list.size(); i-- > 0;) {
        if (monitor_views.list[i].monitor_gone) {
            close_view(i);
            changed = true;
        }
    }
    for (MonitorView& entry : monitor_views.list) {
        if (!entry.monitor)
            continue;
        const Rect now = rect_of(entry.monitor);
        const int rate = current_refresh_rate(entry.monitor);
        const MonitorUpdate update = monitor_update(entry.covered, entry.pacer.refresh_rate(), now, rate);
        if (update == MonitorUpdate::refit) {
            glfwSetWindowMonitor(entry.window, entry.monitor, 0, 0, now.width, now.height,
                                 rate > 0 ? rate : GLFW_DONT_CARE);
            platform::release_display_request(); // the library asked for the display again
            // The drawable's own size, not the monitor's: on a scaled Wayland
            // output the two differ; a later change comes by the callback.
            int width = 0;
            int height = 0;
            glfwGetFramebufferSize(entry.window, &width, &height);
            set_view_size(*entry.view, width, height);
            entry.covered = now;
        }
        if (update != MonitorUpdate::none)
            entry.pacer.set_refresh_rate(rate);
    }
    int count = 0;
    GLFWmonitor** listed = glfwGetMonitors(&count);
    for (int i = 0; i < count; ++i) {
        if (has_view(listed[i]) || std::count(monitor_views.left_out.begin(), monitor_views.left_out.end(), listed[i]))
            continue;
        hint_one_of_several();
        GLFWwindow* share = monitor_views.list.empty() ? monitor_views.keeper : monitor_views.list.front().window;
        if (open_view_on(listed[i], share)) {
            set_up_view(*monitor_views.list.back().view, scene_time);
            changed = true;
        }
    }
    if (changed) {
        list_every_batch();
        if (!monitor_views.list.empty())
            glfwMakeContextCurrent(monitor_views.list.front().window);
    }
    return changed;
}

void follow_monitor_under_window()
{
    if (monitor_views.list.empty() || !time_to_look())
        return;
    MonitorView& entry = monitor_views.list.front();
    entry.pacer.set_refresh_rate(rate_of_monitor_under(entry.window));
}

