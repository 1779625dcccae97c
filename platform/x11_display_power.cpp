// Whether the displays are dark, from the X server's DPMS extension. It
// sends no event when the level changes, so the saver asks; on the
// library's own connection, which is already there. A server without DPMS
// (Xvfb, a virtual machine's) or with it disabled reads as never dark.
#include "platform/platform.h"

#include <X11/Xlib.h>
#include <X11/extensions/dpms.h>

namespace platform {

namespace {
Display* power_display = nullptr; // null where the server has no usable DPMS
}

void watch_rest(std::uintptr_t, void* connection)
{
    Display* display = static_cast<Display*>(connection);
    int event_base = 0;
    int error_base = 0;
    if (display && DPMSQueryExtension(display, &event_base, &error_base) && DPMSCapable(display))
        power_display = display;
}

bool displays_dark()
{
    if (!power_display)
        return false;
    CARD16 level = DPMSModeOn;
    BOOL enabled = False;
    if (!DPMSInfo(power_display, &level, &enabled))
        return false;
    // Standby and suspend count as dark too: the panel shows nothing.
    return enabled && level != DPMSModeOn;
}

bool nobody_looks()
{
    return false;
}

} // namespace platform
