// Presses anywhere on the X display: XInput2 raw key and button events,
// which the server sends to a client that selected them on the root window
// whichever window has the focus, and from XInput 2.1 on even while another
// client holds a grab. On the process's own connection, so that they queue
// up before the library's connection and our window exist.
#include "platform/platform.h"
#include "platform/x11_connection.h"

#include <X11/Xlib.h>
#include <X11/extensions/XInput2.h>

namespace platform {

namespace {

Display* press_display = nullptr; // null until watch_presses succeeded
int input_opcode = 0;             // the XInput extension's major opcode
bool pressed = false;

bool ends_run(const XIRawEvent& event)
{
    if (event.evtype == XI_RawKeyPress)
        return true;
    // Buttons 4 to 7 are the wheel's turns, which end nothing.
    return event.evtype == XI_RawButtonPress && (event.detail < 4 || event.detail > 7);
}

} // namespace

bool watch_presses()
{
    if (press_display)
        return true;
    Display* display = own_connection();
    if (!display)
        return false;
    int event_base = 0, error_base = 0;
    int major = 2, minor = 1;
    if (!XQueryExtension(display, "XInputExtension", &input_opcode, &event_base, &error_base) ||
        XIQueryVersion(display, &major, &minor) != Success || (major == 2 && minor < 1))
        return false;
    unsigned char bits[XIMaskLen(XI_LASTEVENT)] = {};
    XISetMask(bits, XI_RawKeyPress);
    XISetMask(bits, XI_RawButtonPress);
    XIEventMask mask{XIAllMasterDevices, static_cast<int>(sizeof bits), bits};
    XISelectEvents(display, DefaultRootWindow(display), &mask, 1);
    // Selected once the server has answered: every later press is queued.
    XSync(display, False);
    press_display = display;
    return true;
}

bool press_noted()
{
    while (press_display && !pressed && XPending(press_display) > 0) {
        XEvent event;
        XNextEvent(press_display, &event);
        XGenericEventCookie* cookie = &event.xcookie;
        if (cookie->type != GenericEvent || cookie->extension != input_opcode ||
            !XGetEventData(press_display, cookie))
            continue;
        pressed = ends_run(*static_cast<const XIRawEvent*>(cookie->data));
        XFreeEventData(press_display, cookie);
    }
    return pressed;
}

} // namespace platform
