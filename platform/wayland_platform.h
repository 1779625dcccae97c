// What only a Wayland session has. Only the Linux entry and wayland_ files
// include this header.
#pragma once

namespace platform {

// True when a Wayland compositor's socket is there to connect to: the one
// WAYLAND_DISPLAY names (in $XDG_RUNTIME_DIR, or an absolute path), or, in a
// session that says it is Wayland (XDG_SESSION_TYPE=wayland) without that
// variable, libwayland's default "wayland-0".
bool wayland_session_found();

} // namespace platform
