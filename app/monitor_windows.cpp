#include "app/monitor_windows.h"

#include "app/multisample_fallback.h"
#include "app/window_callbacks.h"
#include "platform/platform.h"
#include "render/drawable_size.h"
#include "render/fixed_gl_state.h"
#include "render/scene.h"
#include "snow/batch_buffer.h"
#include "snow/batch_upload.h"

#define GLFW_INCLUDE_NONE
#include <GLFW/glfw3.h>

#include <cstdint>
#include <string>
#include <vector>

namespace {

// One further monitor's window and the snowfall drawn in it.
struct MonitorWindow {
    GLFWwindow* window = nullptr;
    std::int32_t width = 0;    // pixels
    std::int32_t height = 0;   // pixels
    float aspect_ratio = 0.0f; // width / height
    SnowflakeBatch* batches[scene_batch_count] = {};
    BatchBuffer* batch_buffers[scene_batch_count] = {};
};

struct MonitorWindows {
    GLFWwindow* primary = nullptr;
    std::vector<MonitorWindow> windows;
    std::vector<SnowflakeBatch*> every_batch; // the primary's nine, then nine per window
    std::string last_error;                   // the library's latest complaint while opening one
};

MonitorWindows monitors;

MonitorWindow* find(GLFWwindow* window)
{
    for (MonitorWindow& entry : monitors.windows) {
        if (entry.window == window)
            return &entry;
    }
    return nullptr;
}

void on_monitor_window_size(GLFWwindow* window, int width, int height)
{
    MonitorWindow* entry = find(window);
    if (!entry)
        return;
    entry->width = width;
    entry->height = height;
    entry->aspect_ratio = aspect_ratio_of(width, height, entry->aspect_ratio);
}

// While the further windows open, the library's errors are kept for the
// note of a monitor left out instead of stopping the run in a box.
void remember_error(int, const char* description)
{
    monitors.last_error = description ? description : "";
}

void leave_out(GLFWmonitor* monitor)
{
    int x = 0;
    int y = 0;
    glfwGetMonitorPos(monitor, &x, &y);
    const char* name = glfwGetMonitorName(monitor);
    std::string text = "Vesperine: the monitor " + std::string(name ? name : "") + " at " + std::to_string(x) + "," +
                       std::to_string(y) + " is left out";
    if (!monitors.last_error.empty())
        text += ": " + monitors.last_error;
    platform::note(text.c_str());
}

// What a further window is opened with, for the multisample fallback.
struct WindowRequest {
    GLFWmonitor* monitor;
    const GLFWvidmode* mode;
    GLFWwindow* share; // the primary, whose GL objects the new context shares
};

GLFWwindow* create_monitor_window(void* request)
{
    const WindowRequest& wanted = *static_cast<const WindowRequest*>(request);
    return glfwCreateWindow(wanted.mode->width, wanted.mode->height, "Vesperine", wanted.monitor, wanted.share);
}

void open_window_on(GLFWmonitor* monitor, GLFWwindow* primary)
{
    monitors.last_error.clear();
    const GLFWvidmode* mode = glfwGetVideoMode(monitor);
    GLFWwindow* window = nullptr;
    if (mode) {
        hint_current_refresh_rate(monitor);
        WindowRequest request{monitor, mode, primary};
        window = open_with_multisample_fallback(create_monitor_window, &request);
    }
    if (!window) {
        leave_out(monitor);
        return;
    }

    glfwSetWindowSizeCallback(window, on_monitor_window_size);
    glfwSetKeyCallback(window, on_key);
    glfwSetMouseButtonCallback(window, on_mouse_button);
    glfwSetCursorPosCallback(window, on_cursor_position);
    glfwSetScrollCallback(window, on_scroll);

    glfwMakeContextCurrent(window);
    set_fixed_gl_state();
    // Only the primary waits for the vertical blank: waiting in every
    // window would divide the frame rate by the number of monitors.
    glfwSwapInterval(0);
    glfwSetInputMode(window, GLFW_CURSOR, GLFW_CURSOR_HIDDEN);

    MonitorWindow entry;
    entry.window = window;
    entry.width = mode->width;
    entry.height = mode->height;
    entry.aspect_ratio = aspect_ratio_of(mode->width, mode->height, 0.0f);
    monitors.windows.push_back(entry);
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

void open_monitor_windows(GLFWwindow* primary)
{
    int count = 0;
    GLFWmonitor** listed = glfwGetMonitors(&count);
    if (count < 2)
        return;
    std::vector<GLFWmonitor*> others;
    GLFWmonitor* primary_monitor = glfwGetPrimaryMonitor();
    for (int i = 0; i < count; ++i) {
        if (listed[i] != primary_monitor)
            others.push_back(listed[i]);
    }

    monitors.primary = primary;
    // A full-screen window minimises itself when it loses the focus, and
    // each new window takes the focus from the ones before it.
    glfwSetWindowAttrib(primary, GLFW_AUTO_ICONIFY, GLFW_FALSE);
    glfwWindowHint(GLFW_AUTO_ICONIFY, GLFW_FALSE);
    // The pointer stays where the primary's window put it.
    glfwWindowHint(GLFW_CENTER_CURSOR, GLFW_FALSE);
    GLFWerrorfun shown = glfwSetErrorCallback(remember_error);
    for (GLFWmonitor* monitor : others)
        open_window_on(monitor, primary);
    glfwSetErrorCallback(shown);
    glfwMakeContextCurrent(primary);
}

int monitor_window_count()
{
    return static_cast<int>(monitors.windows.size());
}

void set_up_monitor_snowfalls()
{
    if (monitors.windows.empty())
        return;
    monitors.every_batch.assign(scene.batches, scene.batches + scene_batch_count);
    for (MonitorWindow& entry : monitors.windows) {
        set_up_batches(entry.batches, entry.batch_buffers);
        monitors.every_batch.insert(monitors.every_batch.end(), entry.batches, entry.batches + scene_batch_count);
    }
}

SnowflakeBatch* const* every_batch()
{
    return monitors.windows.empty() ? scene.batches : monitors.every_batch.data();
}

int every_batch_count()
{
    return scene_batch_count * (1 + monitor_window_count());
}

void reupload_any_batch(int batch)
{
    if (batch < scene_batch_count) {
        reupload_batch(batch);
        return;
    }
    MonitorWindow& entry = monitors.windows[batch / scene_batch_count - 1];
    const int kind = batch % scene_batch_count;
    upload_batch_changes(*entry.batches[kind], *entry.batch_buffers[kind]);
}

void draw_every_monitor(float time)
{
    for (MonitorWindow& entry : monitors.windows) {
        glfwMakeContextCurrent(entry.window);
        draw_view(time, entry.batch_buffers, entry.width, entry.height, entry.aspect_ratio);
        glfwSwapBuffers(entry.window);
    }
    if (!monitors.windows.empty())
        glfwMakeContextCurrent(monitors.primary);
    draw_frame(time);
}

bool monitor_window_asks_to_end()
{
    for (const MonitorWindow& entry : monitors.windows) {
        if (glfwGetKey(entry.window, GLFW_KEY_ESCAPE) != GLFW_RELEASE || glfwWindowShouldClose(entry.window))
            return true;
    }
    return false;
}
