// The X server's screen-saver settings, left as we found them. The library
// sets the timeout to 0 for a full-screen window and puts it back only in
// its shutdown, which a key (the process ends inside event processing), a
// signal or a plain return never reach: the server would then never blank
// or lock again until the user logs out. The settings are read and written
// on a connection of our own, which outlives the library's: Xlib ends the
// process through exit() when the server drops that one.
#include "platform/platform.h"
#include "platform/posix_end_step.h"

#include <X11/Xlib.h>

#include <cstdlib>

namespace platform {

namespace {

Display* settings_display = nullptr; // null until the settings were noted
int timeout = 0;                     // seconds
int interval = 0;                    // seconds
int blanking = 0;
int exposures = 0;

void put_back_settings()
{
    if (!settings_display)
        return;
    XSetScreenSaver(settings_display, timeout, interval, blanking, exposures);
    XSync(settings_display, False);
}

} // namespace

void keep_screen_saver_settings()
{
    // A Wayland run's full-screen windows change no X server's settings.
    if (settings_display || window_system() != WindowSystem::x11)
        return;
    settings_display = XOpenDisplay(nullptr);
    if (!settings_display)
        return;
    XGetScreenSaver(settings_display, &timeout, &interval, &blanking, &exposures);
    set_end_step(put_back_settings);
    std::atexit(put_back_settings);
}

void release_display_request()
{
}

} // namespace platform
