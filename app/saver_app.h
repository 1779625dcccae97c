// The running screensaver: the windowing library, the display window with
// its GL context, and the frame loop. Created once for Preview, Saver and
// None runs and never deleted.
#pragma once

#include "app/run_plan.h"

#include <cstdint>

struct GLFWwindow;
class LaunchOptions;

class SaverApp {
public:
    // Initialises the library, chooses the drawable size, opens a full-screen
    // window on the primary monitor (or adopts the preview host) and sets the
    // fixed GL state. When no window can be opened, even without
    // multisampling, it shows "Failed to open window", and when the driver
    // lacks an OpenGL function the saver calls it says that OpenGL 2.0 is
    // needed; either way it ends the process with exit code 0 instead of
    // returning.
    // Afterwards the window's GL context is current on this thread.
    explicit SaverApp(LaunchOptions* options);

    // The running system's version as major * 10 + minor (6.2 gives 62).
    static std::int32_t windows_version();
    // The same from a raw version word: low byte major, next byte minor;
    // the high 16 bits (the build number) are ignored.
    static std::int32_t version_from_word(std::uint32_t word);

    // The scene of every drawn monitor: the primary's, then each further
    // monitor's own batches. run does this first.
    void set_up_scenes();

    // One iteration per displayed frame until Escape is down, the window is
    // asked to close or (preview) the host is gone. Any key or mouse button
    // ends the process from inside the event processing instead.
    void run();

    // The first view's window (see app/monitor_windows.h).
    GLFWwindow* glfw_window() const;

private:
    void init_library();
    void choose_window_size();
    void open_window();
    void init_gl_state();
    // Makes `window`'s context current and loads the OpenGL entry points
    // for it; ends the run with a box when the driver lacks one.
    static void load_gl(GLFWwindow* window);
    // The full-screen window, or (preview) the window inside the host, with
    // the current hints; `app` is the SaverApp. Null when it cannot be made.
    static GLFWwindow* create_display_window(void* app);

    LaunchOptions* options = nullptr; // not owned
    RunPlan plan;                     // from the run mode, once
};
