// The attach operation on X11: a hidden, undecorated library window is
// reparented into the host window and mapped there. The host's resizes are
// watched through a connection of our own, because the library drops events
// for windows it did not create.
#include "app/attach_hints.h"
#include "app/attach_window.h"

#include "platform/platform.h"
#include "platform/x11_platform.h"

#define GLFW_INCLUDE_NONE
#include <GLFW/glfw3.h>
#define GLFW_EXPOSE_NATIVE_X11
#include <GLFW/glfw3native.h>

namespace {

struct AttachedWindow {
    GLFWwindow* window = nullptr;
    Window host = 0;
    Display* host_events = nullptr; // our own connection, StructureNotify on the host
    int width = 0;                  // host client size last applied, pixels
    int height = 0;
    bool host_gone = false;
    // The process's X error handler that tolerates vanished windows. When
    // the host is destroyed our child goes with it, and the next swap into
    // it raises errors (BadDrawable from the GL driver) that Xlib's default
    // handler would answer by ending the process with status 1. Some GLFW
    // 3.3 builds put that default back after their own guarded requests
    // (window creation, each ConfigureNotify of a reparented window), so the
    // handler is re-armed after creation and at every frame.
    XErrorHandler tolerant_handler = nullptr;
};

AttachedWindow attached;

int ignore_x_error(Display*, XErrorEvent*)
{
    return 0;
}

// The handler now in force when it is not Xlib's fatal default (the seam's,
// which also notes errors for its own queries); otherwise one that ignores
// errors. Leaves the chosen one installed.
XErrorHandler tolerant_error_handler()
{
    XErrorHandler current = XSetErrorHandler(nullptr);
    XErrorHandler xlib_default = XSetErrorHandler(nullptr);
    XErrorHandler chosen = current == xlib_default ? ignore_x_error : current;
    XSetErrorHandler(chosen);
    return chosen;
}

void rearm_error_handler()
{
    if (attached.tolerant_handler)
        XSetErrorHandler(attached.tolerant_handler);
}

} // namespace

GLFWwindow* glfwAttachNativeWindow(std::uintptr_t native_window, GLFWwindow* share)
{
    // Reports GLFW_NOT_INITIALIZED itself when the library is not running.
    Display* display = glfwGetX11Display();
    if (!display)
        return nullptr;

    // Reading the host also installs the seam's tolerant error handler.
    int width = 0;
    int height = 0;
    if (!platform::host_client_size(native_window, &width, &height) || width <= 0 || height <= 0)
        return nullptr;
    // X refuses a drawable child inside an InputOnly window: ours would stay
    // a top-level window of its own instead.
    if (!platform::host_shows_drawing(static_cast<Window>(native_window)))
        return nullptr;
    XErrorHandler tolerant = tolerant_error_handler();

    set_attach_hints();
    GLFWwindow* window = glfwCreateWindow(width, height, "Vesperine", nullptr, share);
    restore_default_hints();
    XSetErrorHandler(tolerant);
    if (!window)
        return nullptr;

    Window host = static_cast<Window>(native_window);
    Window child = glfwGetX11Window(window);
    XReparentWindow(display, child, host, 0, 0);
    XResizeWindow(display, child, static_cast<unsigned>(width), static_cast<unsigned>(height));
    // Mapped directly rather than with glfwShowWindow, which would also take
    // the input focus away from the host's own application.
    XMapWindow(display, child);
    XSync(display, False);

    if (attached.host_events)
        XCloseDisplay(attached.host_events);
    attached = AttachedWindow{};
    attached.window = window;
    attached.host = host;
    attached.width = width;
    attached.height = height;
    attached.tolerant_handler = tolerant;
    attached.host_events = XOpenDisplay(DisplayString(display));
    if (attached.host_events) {
        XSelectInput(attached.host_events, host, StructureNotifyMask);
        XSync(attached.host_events, False);
    }
    return window;
}

void follow_native_host(GLFWwindow* window)
{
    if (!window || window != attached.window)
        return;
    rearm_error_handler();
    if (!attached.host_events || attached.host_gone)
        return;

    int width = attached.width;
    int height = attached.height;
    while (XPending(attached.host_events) > 0) {
        XEvent event;
        XNextEvent(attached.host_events, &event);
        if (event.type == ConfigureNotify && event.xconfigure.window == attached.host) {
            width = event.xconfigure.width;
            height = event.xconfigure.height;
        } else if (event.type == DestroyNotify && event.xdestroywindow.window == attached.host) {
            attached.host_gone = true;
        }
    }
    if (attached.host_gone)
        return;
    if ((width != attached.width || height != attached.height) && width > 0 && height > 0) {
        attached.width = width;
        attached.height = height;
        glfwSetWindowSize(window, width, height);
    }
}
