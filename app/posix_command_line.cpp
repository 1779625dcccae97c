#include "app/posix_command_line.h"

#include "app/hack_options.h"

#include <cstring>

namespace {

bool is_option_word(const char* argument)
{
    return argument[0] == '-' && argument[1] == '-' &&
           ((argument[2] >= 'a' && argument[2] <= 'z') || (argument[2] >= 'A' && argument[2] <= 'Z'));
}

} // namespace

CommandLineCheck check_command_line(int argc, const char* const* argv)
{
    CommandLineCheck check;
    for (int i = 1; i < argc; ++i) {
        const char* argument = argv[i];
        if (std::strcmp(argument, "--help") == 0 || std::strcmp(argument, "-h") == 0) {
            check.request = CommandLineRequest::Help;
        } else if (std::strcmp(argument, "--version") == 0) {
            check.request = CommandLineRequest::Version;
        } else if (is_option_word(argument) && !is_hack_option(argument)) {
            check.request = CommandLineRequest::UnknownOption;
            check.option = argument;
        } else {
            continue;
        }
        return check;
    }
    return check;
}

const char* usage_text()
{
    return "Usage: vesperine [/s | /p WINDOW-ID | /c]\n"
           "       vesperine [--root | --window | --window-id ID] [--fps]\n"
           "       vesperine --help | --version\n"
           "Slowly falling, tumbling three-dimensional snowflakes over a night sky.\n"
           "\n"
           "Plain 'vesperine' runs full screen on every monitor until a key or a mouse\n"
           "button is pressed, unless you already run it so on this display.\n"
           "  /s              full screen, even while another such run is on\n"
           "  /p WINDOW-ID    draw inside that X window, as a preview (decimal or 0x hex)\n"
           "  /c              show the About window\n"
           "\n"
           "As the display mode of a screensaver daemon (XScreenSaver, MATE, Xfce,\n"
           "xsecurelock), which alone ends it:\n"
           "  --root          draw into $XSCREENSAVER_WINDOW, or else the root window\n"
           "  --window-id ID  draw into that X window\n"
           "  --window        draw in a window of its own\n"
           "  --fps           accepted and ignored\n"
           "\n"
           "  -h, --help      show this text\n"
           "  --version       show the version\n";
}

const char* version_text()
{
    return "vesperine " VESPERINE_VERSION;
}
