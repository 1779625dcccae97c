// What only the X Window System has: a display connection, its root window,
// window classes. Only x11_ files and the Linux entry include this header;
// its declarations use X's own types, so a call from another window-system
// family does not compile.
#pragma once

#include <X11/X.h>

namespace platform {

// True when a connection to the X display (DISPLAY) opens. It stays open
// for the rest of the run and serves the saver's own X calls.
bool can_open_display();

// The root window of the default screen, where a hack started with "--root"
// and no other window draws; 0 (None) without a display.
Window root_window();

// False for an InputOnly window, which can hold no drawing and no GL child
// window (and for a host that is gone); true for any other.
bool host_shows_drawing(Window host);

} // namespace platform
