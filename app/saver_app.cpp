#include "app/saver_app.h"

#include "app/attach_window.h"
#include "app/early_presses.h"
#include "app/frame_scheduler.h"
#include "app/gl_requirements.h"
#include "app/hack_mode.h"
#include "app/launch_options.h"
#include "app/monitor_changes.h"
#include "app/monitor_windows.h"
#include "app/multisample_fallback.h"
#include "app/renderer_settings.h"
#include "app/rest_watch.h"
#include "app/window_callbacks.h"
#include "app/window_icon.h"
#include "app/window_system_hints.h"
#include "platform/platform.h"
#include "render/drawable_size.h"
#include "render/fixed_gl_state.h"
#include "render/scene.h"

#include <glad/gl.h>
#define GLFW_INCLUDE_NONE
#include <GLFW/glfw3.h>

SaverApp::SaverApp(LaunchOptions* launch_options)
    : options(launch_options), plan(plan_run(launch_options->mode, hack_mode.active))
{
    init_library();
    if (plan.rests) {
        // Before the first full-screen window changes them; a stop signal
        // then ends the run through the loop, which leaves them as found.
        platform::keep_screen_saver_settings();
        platform::catch_stop_signals();
    }
    choose_window_size();
    open_window();
    init_gl_state();
    if (plan.covers_monitors)
        open_monitor_windows();
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

GLFWwindow* SaverApp::glfw_window() const
{
    return first_view_window();
}

void SaverApp::init_library()
{
    glfwSetErrorCallback(report_library_error);
    hint_library_platform();
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
    if (plan.follows_host) {
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

GLFWwindow* SaverApp::create_display_window(void* app)
{
    SaverApp* self = static_cast<SaverApp*>(app);
    if (self->plan.follows_host)
        return glfwAttachNativeWindow(self->options->host_handle(), nullptr);
    if (hack_mode.own_window)
        return open_own_hack_window();
    hint_current_refresh_rate(glfwGetPrimaryMonitor());
    return glfwCreateWindow(window_width, window_height, "Vesperine", glfwGetPrimaryMonitor(), nullptr);
}

void SaverApp::open_window()
{
    glfwWindowHint(GLFW_CONTEXT_VERSION_MAJOR, 1);
    glfwWindowHint(GLFW_CONTEXT_VERSION_MINOR, 0);
    glfwWindowHint(GLFW_CONTEXT_ROBUSTNESS, GLFW_LOSE_CONTEXT_ON_RESET);
    glfwWindowHint(GLFW_STEREO, GLFW_FALSE);

    // Four samples where the driver has them, else none.
    GLFWwindow* window = open_with_multisample_fallback(create_display_window, this);
    if (!window) {
        platform::message_box("Failed to open window", "Debug", platform::MessageIcon::information);
        platform::exit_process(0); // runs glfwTerminate through the exit hook
    }
    load_gl(window);
    // A software renderer is known only once a context exists. The window
    // without samples opens before the first one goes, so the screen never
    // shows what lies behind them; should it fail, the first one stays.
    if (settle_renderer_settings()) {
        GLFWwindow* without_samples = open_with_multisample_fallback(create_display_window, this);
        if (without_samples) {
            glfwDestroyWindow(window);
            window = without_samples;
            load_gl(window);
        }
    }

    add_display_view(window, plan.covers_monitors ? glfwGetPrimaryMonitor() : nullptr);
    if (plan.rests) {
        // The library asked Windows to keep the display on for each window
        // that took the monitor, the reopened one too.
        platform::release_display_request();
        watch_rest_of(window);
        glfwSetWindowIconifyCallback(window, on_iconify);
    }
    glfwSetFramebufferSizeCallback(window, on_framebuffer_size);
    // Drawn in pixels: on an output at scale 2 the framebuffer is twice the
    // window's size (the same elsewhere).
    int width = 0;
    int height = 0;
    glfwGetFramebufferSize(window, &width, &height);
    on_framebuffer_size(window, width, height);
    if (plan.input_ends_run) {
        glfwSetKeyCallback(window, on_key);
        glfwSetMouseButtonCallback(window, on_mouse_button);
    }
    glfwSetCursorPosCallback(window, on_cursor_position);
    glfwSetScrollCallback(window, on_scroll);

    if (!window_icons_exist())
        return;
    static unsigned char icon_pixels[window_icon_size * window_icon_size * 4];
    draw_window_icon(icon_pixels);
    GLFWimage icon{window_icon_size, window_icon_size, icon_pixels};
    glfwSetWindowIcon(window, 1, &icon);
}

void SaverApp::load_gl(GLFWwindow* window)
{
    glfwMakeContextCurrent(window);
    // The loader fills in what the driver's version offers and leaves the
    // rest empty: an older driver gets a box, not a crash at the first call.
    gladLoaderLoadGL();
    require_gl_entry_points();
}

void SaverApp::init_gl_state()
{
    set_fixed_gl_state();
    glfwSwapInterval(vertical_blank_interval());
    glfwSetInputMode(first_view_window(), GLFW_CURSOR, GLFW_CURSOR_HIDDEN);
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
    FrameScheduler scheduler(FrameHooks{glfwGetTime, draw_due_views, reupload_any_batch}, every_batch(),
                             every_batch_count());
    RestWatch rest(RestQueries{platform::displays_dark, platform::nobody_looks, platform::on_battery},
                   software_renderer_found());
    int frame_rate_cap = -1; // Hz, as last handed to the views; none yet
    bool keep_running = true;
    while (keep_running) {
        const DrawDecision decision = rest.decide(glfwGetTime());
        if (decision.frame_rate_cap != frame_rate_cap) {
            frame_rate_cap = decision.frame_rate_cap;
            cap_every_view(frame_rate_cap);
        }
        // Key and mouse-button events end the process inside the library's
        // event processing.
        if (decision.draw) {
            if (a_view_is_due())
                scheduler.step(); // one frame in every view whose display is ready for it
            wait_for_next_frame(); // sleeps only where no swap waited for the display
            glfwPollEvents();
        } else {
            glfwWaitEventsTimeout(resting_wait); // nobody sees a frame: none is drawn
        }
        if (take_window_restored()) // a restored full-screen window took the monitor again
            platform::release_display_request();
        end_on_noted_press(); // also one from before the window had the focus
        if (plan.covers_monitors) { // full-screen runs follow the monitors as they change
            if (follow_monitors(static_cast<float>(scheduler.clock().scene_time(glfwGetTime()))))
                scheduler.follow_batches(every_batch(), every_batch_count());
        } else {
            follow_monitor_under_window();
        }
        if (a_view_asks_to_end(plan.input_ends_run))
            keep_running = false;
        if (platform::stop_requested()) // a stop signal (POSIX): full-screen and hack runs
            break;
        if (plan.follows_host) {
            if (!platform::host_is_enabled(options->host_handle()))
                break;
            // Our child window covers the host's client area at every size.
            follow_native_host(first_view_window());
        }
    }
}
