// Test helper: applies the saver's single-instance rule to its command line,
// as the entry point does. Prints "refused" and exits 0 when the rule stops
// it; otherwise prints "running" and stays alive (holding the claim, if it
// made one) until its standard input closes or a signal ends it. Its claim
// has a name of its own, so that no saver running on the machine meets it.
// Started with WAYLAND_DISPLAY set, it claims as a Wayland run does.
#include "app/launch_options.h"
#include "platform/platform.h"

#include <cstdio>
#include <cstdlib>
#include <string>

int main(int argc, char** argv)
{
    std::string command_line;
    for (int i = 1; i < argc; ++i) {
        if (i > 1)
            command_line += ' ';
        command_line += argv[i];
    }
    if (std::getenv("WAYLAND_DISPLAY"))
        platform::use_window_system(platform::WindowSystem::wayland);
    LaunchOptions options(command_line.c_str());
    if (!options.passes_single_instance_rule("vesperine-instance-test")) {
        std::puts("refused");
        return 0;
    }
    std::puts("running");
    std::fflush(stdout);
    while (std::getchar() != EOF) {
    }
    return 0;
}
