#include "app/saver_app.h"

#include "app/attach_window.h"
#include "app/frame_scheduler.h"
#include "app/launch_options.h"
#include "app/monitor_windows.h"
#include "app/window_callbacks.h"
#include "app/window_icon.h"
#include "platform/platform.h"
#include "render/drawable_size.h"
#include "render/fixed_gl_state.h"
#include "render/scene.h"

#include <glad/gl.h>
#define GLFW_INCLUDE_NONE
#include <GLFW/glfw3.h>

SaverApp::SaverApp(LaunchOptions* launch_options) : options(launch_options)
{
    init_library();
    choose_window_size();
    open_window();
    init_gl_state();
    // Full-screen runs cover the other monitors too; a preview's host deals
    // with monitors itself.
    if (options->mode == RunMode::Saver || options->mode == RunMode::None)
        open_monitor_windows(window);
}

std::int32_t SaverApp::version_from_word(std::uint32_t word)
{
    std::int32_t major = static_cast<std::int32_t>(word & 0xff);
    std::int32_t minor = static_cast<std::int32_t>((word >> 8) & 0xff);
    return major * 10 + minor;
}

std::int32_t SaverApp::windows_version()
{
    return version_from_word(platform::system_version_word());
}

void SaverApp::init_library()
{
    glfwSetErrorCallback(report_library_error);
    if (!glfwInit())
        platform::message_box("Failed to initialize GLFW", "Debug", platform::MessageIcon::information);
    // A fatal set-up failure (a mesh, a shader) first gives the library its
    // shutdown, which restores a changed video mode. Input events end the
    // process without it: the library may not be shut down from inside its
    // own callbacks.
    platform::set_exit_hook(glfwTerminate);
}

void SaverApp::choose_window_size()
{
    int width = 0;
    int height = 0;
    if (options->mode == RunMode::Preview) {
        platform::host_client_size(options->host_handle(), &width, &height);
    } else {
        // Old systems get a fixed display mode; newer ones keep the current
        // one, as does a library that could not read any mode.
        width = 800;
        height = 600;
        if (windows_version() >= 60) {
            GLFWmonitor* monitor = glfwGetPrimaryMonitor();
            const GLFWvidmode* video_mode = monitor ? glfwGetVideoMode(monitor) : nullptr;
            if (video_mode) {
                width = video_mode->width;
                height = video_mode->height;
            }
        }
    }
    set_drawable_size(width, height);
}

GLFWwindow* SaverApp::adopt_preview_host()
{
    return glfwAttachNativeWindow(options->host_handle(), nullptr);
}

void SaverApp::open_window()
{
    glfwWindowHint(GLFW_CONTEXT_VERSION_MAJOR, 1);
    glfwWindowHint(GLFW_CONTEXT_VERSION_MINOR, 0);
    glfwWindowHint(GLFW_CONTEXT_ROBUSTNESS, GLFW_LOSE_CONTEXT_ON_RESET);
    glfwWindowHint(GLFW_SAMPLES, 4);
    glfwWindowHint(GLFW_STEREO, GLFW_FALSE);

    if (options->mode == RunMode::Preview)
        window = adopt_preview_host();
    else {
        hint_current_refresh_rate(glfwGetPrimaryMonitor());
        window = glfwCreateWindow(window_width, window_height, "Vesperine", glfwGetPrimaryMonitor(), nullptr);
    }
    if (!window) {
        platform::message_box("Failed to open window", "Debug", platform::MessageIcon::information);
        platform::exit_process(0); // runs glfwTerminate through the exit hook
    }

    glfwSetWindowSizeCallback(window, on_window_size);
    glfwSetKeyCallback(window, on_key);
    glfwSetMouseButtonCallback(window, on_mouse_button);
    glfwSetCursorPosCallback(window, on_cursor_position);
    glfwSetScrollCallback(window, on_scroll);
    glfwMakeContextCurrent(window);

    static unsigned char icon_pixels[window_icon_size * window_icon_size * 4];
    draw_window_icon(icon_pixels);
    GLFWimage icon{window_icon_size, window_icon_size, icon_pixels};
    glfwSetWindowIcon(window, 1, &icon);

    // Start-up goes on whatever the loader reports: a driver short of what
    // it asks for may still run our GLSL 1.10.
    gladLoaderLoadGL();
}

void SaverApp::init_gl_state()
{
    set_fixed_gl_state();
    glfwSwapInterval(1);
    glfwSetInputMode(window, GLFW_CURSOR, GLFW_CURSOR_HIDDEN);
}

void SaverApp::set_up_scenes()
{
    set_up_scene();
    set_up_monitor_snowfalls();
}

void SaverApp::run()
{
    set_up_scenes();
    // The scheduler reads the library's clock; it seeds the particles'
    // random numbers at its first step, after the set-up's population.
    FrameScheduler scheduler(FrameHooks{glfwGetTime, draw_every_monitor, reupload_any_batch}, every_batch(),
                             every_batch_count());
    bool keep_running = true;
    while (keep_running) {
        scheduler.step(); // draws exactly one frame
        glfwSwapBuffers(window);
        // Key and mouse-button events end the process inside this call.
        glfwPollEvents();
        if (glfwGetKey(window, GLFW_KEY_ESCAPE) != GLFW_RELEASE)
            keep_running = false;
        if (glfwWindowShouldClose(window))
            keep_running = false;
        if (monitor_window_asks_to_end())
            keep_running = false;
        if (options->mode == RunMode::Preview) {
            if (!platform::host_is_enabled(options->host_handle()))
                break;
            // Our child window covers the host's client area at every size.
            follow_native_host(window);
        }
    }
}
