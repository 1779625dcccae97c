// The preview host: a window of the screensaver host process, given by its
// handle on our command line. It may vanish at any moment; every query
// copes with a handle that no longer names a window.
#include "platform/platform.h"

#include <windows.h>

namespace platform {

namespace {
HWND as_window(std::uintptr_t host)
{
    return reinterpret_cast<HWND>(host);
}
} // namespace

bool host_client_size(std::uintptr_t host, int* width, int* height)
{
    *width = *height = 0;
    RECT client{};
    if (host == 0 || !GetClientRect(as_window(host), &client))
        return false;
    *width = client.right - client.left;
    *height = client.bottom - client.top;
    return true;
}

bool host_is_enabled(std::uintptr_t host)
{
    return host != 0 && IsWindowEnabled(as_window(host)) != 0;
}

} // namespace platform
