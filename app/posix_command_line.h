// What the Linux command line asks before anything else runs, as Linux
// tools answer it: "--help" (or "-h") and "--version" print and end, an
// unknown option with two dashes is refused. Everything else keeps its
// meaning: the screensaver daemons' options and the Windows switches.
#pragma once

#include <cstdint>
#include <string>

enum class CommandLineRequest : std::int32_t { Run = 0, Help = 1, Version = 2, UnknownOption = 3 };

struct CommandLineCheck {
    CommandLineRequest request = CommandLineRequest::Run;
    std::string option; // the refused argument, for UnknownOption
};

// The first of argv[1] .. argv[argc - 1] that is "--help", "-h",
// "--version" or an unknown option (two dashes and a letter, and not one of
// the daemons' options) decides; Run when there is none.
CommandLineCheck check_command_line(int argc, const char* const* argv);

// The usage that "--help" prints, ending in a newline.
const char* usage_text();

// "vesperine VERSION", the project's version, without a newline.
const char* version_text();
