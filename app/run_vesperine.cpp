#include "app/run_vesperine.h"

#include "about/about_window.h"

#include "app/early_presses.h"
#include "app/launch_options.h"
#include "app/saver_app.h"

LaunchOptions* launch_options = nullptr;
SaverApp* saver_app = nullptr;

int run_vesperine(const char* command_line, int show_command, HandleDigits digits)
{
    launch_options = new LaunchOptions(command_line, digits);
    if (!launch_options->passes_single_instance_rule())
        return 0;
    if (launch_options->mode == RunMode::Configure) {
        // The constructor runs the window's message loop until it is closed.
        new AboutWindow(nullptr, show_command);
        return 0;
    }
    // Before the slow set-up: a key pressed while it runs still ends the run.
    watch_presses_from_start(launch_options->mode);
    saver_app = new SaverApp(launch_options);
    end_on_noted_press(); // pressed during the window's set-up: no scene to build
    saver_app->run();
    return 0;
}
