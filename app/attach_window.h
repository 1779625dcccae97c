// Preview mode: drawing inside a window that the screensaver host owns.
//
// The host window belongs to another process, whose window procedure we may
// not replace (Windows refuses that across processes). So the window given
// to the saver is a child window of our own process that covers the host's
// whole client area. To the rest of the program it is an ordinary library
// window: events, callbacks, its own GL context, buffer swaps, input mode and
// icon all work as for a created window.
#pragma once

#include <cstdint>

struct GLFWwindow;

// Makes a library window with its own GL context (shared with `share`'s when
// that is not null) as a child of `native_window` (an HWND on Windows, an
// X11 window id elsewhere), at (0, 0) in the host's client size, visible
// inside the host and nowhere else. The current window hints apply, except
// that the window is undecorated and takes no focus; the visibility,
// decoration and focus hints are back at the library's defaults afterwards.
// Returns null when the library is not initialised (reported through the
// error callback as GLFW_NOT_INITIALIZED), when the window or its context
// cannot be made (reported as for glfwCreateWindow), or when the host cannot
// be read or holds no drawing (an InputOnly X window; neither is reported).
// Destroying the returned window destroys only our child; the host is never
// changed.
GLFWwindow* glfwAttachNativeWindow(std::uintptr_t native_window, GLFWwindow* share);

// Keeps an attached window covering its host's client area: call once per
// frame, after glfwPollEvents. A changed host size resizes the child, and
// the window's size callback then reports the new size as for any window
// (on Windows at once, on X11 during the next glfwPollEvents). Does nothing
// for a window that glfwAttachNativeWindow did not make, or once the host is
// gone. Whether the host is still there is platform::host_is_enabled's
// question: on X11, where windows have no enabled state, a host counts as
// enabled exactly as long as it exists.
void follow_native_host(GLFWwindow* window);
