// The attach operation on Windows: a hidden, undecorated library window
// becomes a child window (WS_CHILD) of the host and covers its client area,
// the way preview windows are meant to be made. The host's own window
// procedure is never touched: it belongs to another process.
#include "app/attach_hints.h"
#include "app/attach_window.h"

#include "platform/platform.h"

#define GLFW_INCLUDE_NONE
#include <GLFW/glfw3.h>
#define GLFW_EXPOSE_NATIVE_WIN32
#include <GLFW/glfw3native.h>

namespace {

struct AttachedWindow {
    GLFWwindow* window = nullptr;
    HWND host = nullptr;
    HWND child = nullptr;
    int width = 0; // host client size last applied, pixels
    int height = 0;
};

AttachedWindow attached;

} // namespace

GLFWwindow* glfwAttachNativeWindow(std::uintptr_t native_window, GLFWwindow* share)
{
    int width = 0;
    int height = 0;
    bool host_readable = platform::host_client_size(native_window, &width, &height);

    // Created first so that an uninitialised library is reported
    // (GLFW_NOT_INITIALIZED), as the library's own creation reports it.
    // The library refuses a zero size, and a host may well be 0 high for
    // a moment.
    set_attach_hints();
    GLFWwindow* window =
        glfwCreateWindow(width > 0 ? width : 1, height > 0 ? height : 1, "Vesperine", nullptr, share);
    restore_default_hints();
    if (!window)
        return nullptr;

    HWND host = reinterpret_cast<HWND>(native_window);
    if (!host_readable || !IsWindow(host)) {
        glfwDestroyWindow(window);
        return nullptr;
    }

    // The style must say child before SetParent, or the window would keep
    // behaving as a top-level one inside its new parent.
    HWND child = glfwGetWin32Window(window);
    LONG_PTR style = GetWindowLongPtrW(child, GWL_STYLE);
    style &= ~static_cast<LONG_PTR>(WS_POPUP | WS_OVERLAPPEDWINDOW);
    style |= WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
    SetWindowLongPtrW(child, GWL_STYLE, style);
    LONG_PTR extended = GetWindowLongPtrW(child, GWL_EXSTYLE);
    SetWindowLongPtrW(child, GWL_EXSTYLE, extended & ~static_cast<LONG_PTR>(WS_EX_APPWINDOW));
    SetParent(child, host);
    SetWindowPos(child, nullptr, 0, 0, width, height,
                 SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED | SWP_SHOWWINDOW);

    attached = AttachedWindow{};
    attached.window = window;
    attached.host = host;
    attached.child = child;
    attached.width = width;
    attached.height = height;
    return window;
}

void follow_native_host(GLFWwindow* window)
{
    if (!window || window != attached.window || !IsWindow(attached.host) || !IsWindow(attached.child))
        return;
    RECT client;
    if (!GetClientRect(attached.host, &client))
        return;
    int width = client.right - client.left;
    int height = client.bottom - client.top;
    if (width == attached.width && height == attached.height)
        return;
    attached.width = width;
    attached.height = height;
    // Same thread as the child, so WM_SIZE (and the size callback) runs
    // before this returns.
    SetWindowPos(attached.child, nullptr, 0, 0, width, height,
                 SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOMOVE);
}
