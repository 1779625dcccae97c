// The preview host on X11: a window id of another client. Every query goes
// through the process's own connection, with an error handler installed so
// that a host that has vanished gives a clean "no" instead of ending the
// process (the default Xlib handler exits on BadWindow).
#include "platform/platform.h"
#include "platform/x11_connection.h"
#include "platform/x11_platform.h"

#include <X11/Xlib.h>

namespace platform {

namespace {

bool x_error_seen = false;

int record_x_error(Display*, XErrorEvent*)
{
    x_error_seen = true;
    return 0;
}

Display* display()
{
    static bool handler_set = false;
    if (!handler_set) {
        // Installed once for the whole process: GLX on a window whose parent
        // was destroyed raises errors too, and they must not be fatal.
        XSetErrorHandler(record_x_error);
        handler_set = true;
    }
    return own_connection();
}

bool read_attributes(std::uintptr_t host, XWindowAttributes* attributes)
{
    Display* d = display();
    if (!d || host == 0)
        return false;
    x_error_seen = false;
    Status ok = XGetWindowAttributes(d, static_cast<Window>(host), attributes);
    XSync(d, False);
    return ok != 0 && !x_error_seen;
}

} // namespace

bool host_client_size(std::uintptr_t host, int* width, int* height)
{
    XWindowAttributes attributes;
    if (!read_attributes(host, &attributes)) {
        *width = *height = 0;
        return false;
    }
    *width = attributes.width;
    *height = attributes.height;
    return true;
}

bool host_is_enabled(std::uintptr_t host)
{
    XWindowAttributes attributes;
    return read_attributes(host, &attributes);
}

bool can_open_display()
{
    return own_connection() != nullptr;
}

bool host_shows_drawing(Window host)
{
    XWindowAttributes attributes;
    return read_attributes(static_cast<std::uintptr_t>(host), &attributes) && attributes.c_class == InputOutput;
}

Window root_window()
{
    Display* d = display();
    return d ? DefaultRootWindow(d) : None;
}

} // namespace platform
