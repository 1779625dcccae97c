// The one entry that every system's main function calls: reads the command
// line, applies the single-instance rule and runs the About window or the
// saver. Returns the process exit code, which is always 0.
#pragma once

#include "app/launch_options.h"

class SaverApp;

// Created once by run_vesperine and never freed; null before.
extern LaunchOptions* launch_options;
extern SaverApp* saver_app;

// `command_line`: the argument text without the program path.
// `show_command`: the show command the system gave the process (WinMain's
// nCmdShow; 1, a normal window, where the system has none).
// `digits`: how the window handle after a switch may be written.
int run_vesperine(const char* command_line, int show_command, HandleDigits digits = HandleDigits::Decimal);
