// The Linux entry point. A screensaver daemon's options ("--root",
// "--window-id ID", ...) start hack mode; anything else is read as the
// command-line text that Windows would hand to WinMain: the arguments joined
// with single blanks, where window handles may also be written in hex.
#include "app/hack_mode.h"
#include "app/hack_options.h"
#include "app/run_vesperine.h"

#include <string>

int main(int argc, char** argv)
{
    if (is_hack_command_line(argc, argv))
        return run_hack(argc, argv);
    std::string command_line;
    for (int i = 1; i < argc; ++i) {
        if (i > 1)
            command_line += ' ';
        command_line += argv[i];
    }
    return run_vesperine(command_line.c_str(), 1, HandleDigits::DecimalOrHex);
}
