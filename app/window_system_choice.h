// Which window system a Linux run draws with. X11 serves everything that
// needs it: a screensaver daemon's display mode, a preview inside another
// program's X window, the About window, and every run outside a Wayland
// session. A full-screen or no-switch run in a Wayland session draws there
// natively, where the windowing library can be told its platform (GLFW 3.4
// and later; older ones speak X11 only and reach Wayland through Xwayland).
#pragma once

#include "app/launch_options.h"
#include "platform/platform.h"

struct WindowSystemFacts {
    bool hack = false;              // started with a screensaver daemon's options
    RunMode mode = RunMode::None;   // the Windows-style switch otherwise
    bool library_chooses = false;   // the library can be told its platform
    bool wayland_session = false;   // a Wayland compositor's socket is there
};

platform::WindowSystem choose_window_system(const WindowSystemFacts& facts);

// What a run that must have X11 is, for the one line that ends it when a
// Wayland session offers no X server: "display mode", "the preview", ...
const char* x11_only_run_name(const WindowSystemFacts& facts);
