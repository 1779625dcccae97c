// The display request. The windowing library asks Windows to keep the
// display on whenever a full-screen window takes a monitor and withdraws
// the request only when the window gives the monitor back: the power
// plan's "turn off the display" would never fire while the saver runs.
#include "platform/platform.h"

#include <windows.h>

namespace platform {

void release_display_request()
{
    // ES_CONTINUOUS alone: this thread asks for nothing from now on.
    SetThreadExecutionState(ES_CONTINUOUS);
}

void keep_screen_saver_settings()
{
    // The library changes no system setting for a full-screen window here.
}

} // namespace platform
