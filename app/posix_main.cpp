// The Linux entry point. "--help", "--version" and unknown "--" options are
// answered first. Then the window system is chosen (app/window_system_choice.h),
// and a run without a display ends with one line. Then a
// screensaver daemon's options ("--root", "--window-id ID", ...) start hack
// mode; anything else is read as the command-line text that Windows would
// hand to WinMain: the arguments joined with single blanks, where window
// handles may also be written in hex.
#include "app/hack_mode.h"
#include "app/hack_options.h"
#include "app/posix_command_line.h"
#include "app/quoted_text.h"
#include "app/run_vesperine.h"
#include "app/window_system_choice.h"
#include "app/window_system_hints.h"
#include "platform/wayland_platform.h"
#include "platform/x11_platform.h"

#include <cstdio>
#include <cstdlib>
#include <string>

int main(int argc, char** argv)
{
    CommandLineCheck check = check_command_line(argc, argv);
    switch (check.request) {
    case CommandLineRequest::Help:
        std::fputs(usage_text(), stdout);
        return 0;
    case CommandLineRequest::Version:
        std::puts(version_text());
        return 0;
    case CommandLineRequest::UnknownOption:
        std::fprintf(stderr, "vesperine: unknown option %s (see \"vesperine --help\")\n",
                     quoted_text(check.option.c_str()).c_str());
        return 2;
    case CommandLineRequest::Run:
        break;
    }

    const bool hack = is_hack_command_line(argc, argv);
    std::string command_line;
    for (int i = 1; i < argc && !hack; ++i) {
        if (i > 1)
            command_line += ' ';
        command_line += argv[i];
    }
    WindowSystemFacts facts;
    facts.hack = hack;
    facts.mode = LaunchOptions(command_line.c_str(), HandleDigits::DecimalOrHex).mode;
    facts.library_chooses = library_chooses_platform();
    facts.wayland_session = platform::wayland_session_found();
    platform::use_window_system(choose_window_system(facts));

    // Nothing to draw on: one line instead of the library's every complaint.
    if (platform::window_system() == platform::WindowSystem::x11 && !platform::can_open_display()) {
        const char* display = std::getenv("DISPLAY");
        if (facts.wayland_session) {
            std::fprintf(stderr, "vesperine: %s needs an X server, and this Wayland session offers none\n",
                         x11_only_run_name(facts));
            return 1;
        }
        if (!display || !*display)
            std::fputs("vesperine: no X display to draw on (DISPLAY is not set)\n", stderr);
        else
            std::fprintf(stderr, "vesperine: cannot open the X display %s\n", quoted_text(display).c_str());
        return 0;
    }

    if (hack)
        return run_hack(argc, argv);
    return run_vesperine(command_line.c_str(), 1, HandleDigits::DecimalOrHex);
}
