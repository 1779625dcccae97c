// The hack entry on Linux: from the daemon's options to a running saver.
#include "app/hack_mode.h"
#include "app/hack_options.h"
#include "app/launch_options.h"
#include "app/run_vesperine.h"
#include "app/saver_app.h"
#include "platform/platform.h"
#include "platform/x11_platform.h"

#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <string>

namespace {

// A start that failed: one line, and a status a daemon or a script can tell
// from a run that ended well.
int fail_to_start(const std::string& line)
{
    std::fprintf(stderr, "vesperine: %s\n", line.c_str());
    return 1;
}

std::string window_name(Window window)
{
    char id[32];
    std::snprintf(id, sizeof id, "0x%lx", static_cast<unsigned long>(window));
    return std::string("window ") + id;
}

} // namespace

int run_hack(int argc, const char* const* argv)
{
    // First of all: a stop that comes while the scene is still being set
    // up ends the run after its first frame instead of killing it.
    platform::catch_stop_signals();
    platform::ignore_locker_signals();
    // The model reader's progress text would land in the session's log at
    // every activation and every preview; a display mode keeps quiet.
    std::cout.setstate(std::ios_base::badbit);

    HackOptions options;
    std::string error;
    if (!parse_hack_options(argc, argv, &options, &error)) {
        std::fprintf(stderr, "vesperine: %s\n", error.c_str());
        return 2; // a bad command line, as for any other option
    }
    HackWindowChoice choice = choose_hack_window(options, std::getenv("XSCREENSAVER_WINDOW"));
    if (!choice.error.empty())
        return fail_to_start(choice.error);

    launch_options = new LaunchOptions("");
    hack_mode.active = true;
    if (choice.target == HackTarget::OwnWindow) {
        hack_mode.own_window = true;
    } else {
        Window root = platform::root_window();
        if (root == None)
            return fail_to_start("cannot open the X display");
        Window window = choice.target == HackTarget::RootWindow ? root : static_cast<Window>(choice.window_id);
        int width = 0;
        int height = 0;
        if (!platform::host_client_size(static_cast<std::uintptr_t>(window), &width, &height))
            return fail_to_start(window_name(window) + " does not exist");
        if (!platform::host_shows_drawing(window))
            return fail_to_start(window_name(window) + " is an InputOnly window and cannot show drawing");
        // Drawn the way a preview is: a child window of ours, with its own GL
        // visual and colormap, covering the given window and following its
        // size; the run ends when that window goes.
        launch_options->mode = RunMode::Preview;
        launch_options->host_window = static_cast<std::int32_t>(window);
    }
    saver_app = new SaverApp(launch_options);
    saver_app->run();
    return 0;
}
