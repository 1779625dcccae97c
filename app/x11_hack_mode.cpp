// The hack entry on Linux: from the daemon's options to a running saver.
#include "app/hack_mode.h"
#include "app/hack_options.h"
#include "app/launch_options.h"
#include "app/run_vesperine.h"
#include "app/saver_app.h"
#include "platform/platform.h"

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

int report(const std::string& line)
{
    std::fprintf(stderr, "vesperine: %s\n", line.c_str());
    return 0;
}

} // namespace

int run_hack(int argc, const char* const* argv)
{
    // First of all: a stop that comes while the scene is still being set
    // up ends the run after its first frame instead of killing it.
    platform::catch_stop_signals();

    HackOptions options;
    std::string error;
    if (!parse_hack_options(argc, argv, &options, &error))
        return report(error);
    HackWindowChoice choice = choose_hack_window(options, std::getenv("XSCREENSAVER_WINDOW"));
    if (!choice.error.empty())
        return report(choice.error);

    launch_options = new LaunchOptions("");
    hack_mode.active = true;
    if (choice.target == HackTarget::OwnWindow) {
        hack_mode.own_window = true;
    } else {
        std::uintptr_t root = platform::root_window();
        if (root == 0)
            return report("cannot open the X display");
        std::uintptr_t window = choice.target == HackTarget::RootWindow ? root : choice.window_id;
        int width = 0;
        int height = 0;
        if (!platform::host_client_size(window, &width, &height)) {
            char id[32];
            std::snprintf(id, sizeof id, "0x%lx", static_cast<unsigned long>(window));
            return report(std::string("window ") + id + " does not exist");
        }
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
