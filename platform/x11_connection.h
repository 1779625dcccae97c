// The process's own connection to the X display (DISPLAY), apart from the
// windowing library's: opened by the first call and kept open until the
// process ends. An X server resets itself whenever its last client leaves,
// refusing or stalling new connections while it does; a connection opened
// only to check the display and closed again, just before the library and
// the press watching connect, would set that off on a server the saver has
// to itself. Only x11_ files of platform/ include this header.
#pragma once

#include <X11/Xlib.h>

namespace platform {

// Null when the display cannot be opened.
Display* own_connection();

} // namespace platform
