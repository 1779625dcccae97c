// The command line of a hack: how XScreenSaver and the desktops built on it
// start their screensaver programs. The options are "--root", "--window",
// "--window-id ID" and "--fps", each also spelled with a single dash. Plain
// text handling, kept apart from the X11 side so that it can be tested
// without a display; only the Linux entry point uses it.
#pragma once

#include <cstdint>
#include <string>

// Where a hack run draws.
enum class HackTarget : std::int32_t {
    GivenWindow = 0, // a window id from the environment or the command line
    RootWindow = 1,  // the root window of the default screen
    OwnWindow = 2,   // a plain window of our own
};

struct HackOptions {
    bool root = false;            // --root
    bool own_window = false;      // --window
    bool window_id_given = false; // --window-id ID
    std::uint32_t window_id = 0;  // X window id, valid when window_id_given
};

// True for one of the hack options, with one dash or two.
bool is_hack_option(const char* argument);

// True when argv[1] .. argv[argc - 1] hold at least one hack option. Such a
// command line is read by parse_hack_options; any other keeps the
// Windows-style switches ("/s", "/p ID", "/c").
bool is_hack_command_line(int argc, const char* const* argv);

// Reads argv[1] .. argv[argc - 1], every one of which must be a hack option
// ("--fps" is accepted and changes nothing). Returns false on an unknown
// argument, a "--window-id" without a value or with a value that
// read_window_id refuses; *error then holds one line (no newline) saying
// which argument was wrong.
bool parse_hack_options(int argc, const char* const* argv, HackOptions* options, std::string* error);

// An X window id written as "0x" (or "0X") and hex digits, or as decimal
// digits, and nothing else: no blanks, no sign. Refuses 0 and values that no
// X resource id can take (the protocol keeps the top three of its 32 bits
// zero, so the largest is 0x1fffffff).
bool read_window_id(const char* text, std::uint32_t* id);

struct HackWindowChoice {
    HackTarget target = HackTarget::OwnWindow;
    std::uint32_t window_id = 0; // X window id, for GivenWindow only
    std::string error;           // one line, set when the choice failed
};

// Picks the window to draw in: the id in XSCREENSAVER_WINDOW when the
// environment sets it (`environment_window`, null or empty when unset),
// else the "--window-id" value, else the root window for "--root", else a
// window of our own. A value in the environment that read_window_id refuses
// is a failure: the returned error is then not empty.
HackWindowChoice choose_hack_window(const HackOptions& options, const char* environment_window);
