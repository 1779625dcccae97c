// Hack mode: the saver run by a screensaver daemon of the Linux desktop
// (XScreenSaver and its kin) instead of by Windows. It draws into the window
// the daemon hands over the way preview mode draws into its host, and only
// the daemon ends it: with SIGTERM (or SIGINT, SIGHUP), or by destroying
// that window. The daemon holds the keyboard and pointer grabs and decides
// itself what wakes the screen, so keys and buttons end nothing here.
#pragma once

struct GLFWwindow;

struct HackMode {
    bool active = false;     // the run was started with hack options
    bool own_window = false; // "--window" and nothing to draw in: a window of our own
};

// Process-wide; inactive unless run_hack set it before the SaverApp was made.
extern HackMode hack_mode;

// The plain window of "--window": 800 x 600 pixels, decorated, not full
// screen; it ends the run when its close button is pressed. Sets the
// drawable size. Null when the library cannot make it. Uses the window
// hints in force.
GLFWwindow* open_own_hack_window();

// The Linux entry for a command line that holds hack options: parses them,
// finds the window to draw in (XSCREENSAVER_WINDOW, "--window-id", the root
// window for "--root", else a window of our own), catches the stop signals,
// ignores xsecurelock's SIGUSR1, keeps standard output quiet and runs the
// saver without the single-instance claim, since the daemon starts one
// program per monitor. Returns the exit code: 0 for a run that ended; 2,
// after one line on standard error, for bad options; 1, after one line, when
// the start failed: a bad XSCREENSAVER_WINDOW, a window that does not exist
// or is InputOnly.
int run_hack(int argc, const char* const* argv);
