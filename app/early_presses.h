// Keys and buttons that end a full-screen run from the moment the process
// started: also one pressed before the display window exists or while
// another window still has the input focus, which the window's own
// callbacks never hear of.
#pragma once

#include "app/launch_options.h"

// Starts noting presses anywhere for Saver and None runs; nothing for the
// others (a preview's host, configure mode and a screensaver daemon decide
// themselves what ends them). Call before the windowing library starts.
void watch_presses_from_start(RunMode mode);

// Ends the process with exit code 0 when a press was noted. Called once per
// frame; does nothing where no presses are watched.
void end_on_noted_press();
