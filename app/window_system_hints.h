// What the windowing library is told about the window system of the run
// (platform::window_system()), and the few things a window system lacks.
#pragma once

// True when the running library can be told its platform (GLFW 3.4 and
// later, whatever header the saver was built with). An
// older one takes the only platform it has: X11 on Linux.
bool library_chooses_platform();

// Before glfwInit: names the run's window system as the library's platform,
// so the library never probes for another one (and libwayland never
// complains on standard error about a session that is not there). Wayland
// runs go without libdecor: full-screen windows have no frame, and its
// plugin loader reports on standard error.
void hint_library_platform();

// The swap interval of a window that waits for the vertical blank: 1, but 0
// on Wayland, where a swap with interval 1 waits for the compositor's next
// frame callback, which never comes for a hidden or dark output, and the
// frame loop would stop seeing keys; the frame pacer keeps the rate there.
int vertical_blank_interval();

// False where the window system has no window icons (Wayland): the library
// would only report that it cannot set one.
bool window_icons_exist();
