#include "tests/e2e/x_session.h"
#include "tests/support/x_close_request.h"

#include <X11/Xlib.h>

#include <X11/Xatom.h>
#include <X11/Xutil.h>
#include <X11/extensions/Xfixes.h>

#include <chrono>
#include <thread>

XSession::XSession() : display(XOpenDisplay(nullptr)) {}

XSession::~XSession()
{
    if (display)
        XCloseDisplay(display);
}

int XSession::screen_width() const
{
    return DisplayWidth(display, DefaultScreen(display));
}

int XSession::screen_height() const
{
    return DisplayHeight(display, DefaultScreen(display));
}

namespace {

bool window_pid(Display* display, Window window, pid_t* pid)
{
    Atom pid_atom = XInternAtom(display, "_NET_WM_PID", False);
    Atom type = None;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    if (XGetWindowProperty(display, window, pid_atom, 0, 1, False, XA_CARDINAL, &type, &format, &count, &after,
                           &data) != Success)
        return false;
    bool found = data && format == 32 && count == 1;
    if (found)
        *pid = static_cast<pid_t>(*reinterpret_cast<unsigned long*>(data));
    if (data)
        XFree(data);
    return found;
}

} // namespace

int XSession::windows_of(pid_t pid)
{
    Window root = 0, parent = 0;
    Window* children = nullptr;
    unsigned int count = 0;
    if (!XQueryTree(display, DefaultRootWindow(display), &root, &parent, &children, &count))
        return 0;
    int found = 0;
    for (unsigned int i = 0; i < count; ++i) {
        pid_t owner = 0;
        if (window_pid(display, children[i], &owner) && owner == pid)
            ++found;
    }
    if (children)
        XFree(children);
    return found;
}

Window XSession::wait_for_window_of(pid_t pid, double timeout, bool (*still_running)(void*), void* context)
{
    auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(static_cast<int>(timeout * 1000));
    while (std::chrono::steady_clock::now() < deadline && still_running(context)) {
        Window root = 0, parent = 0;
        Window* children = nullptr;
        unsigned int count = 0;
        Window match = 0;
        if (XQueryTree(display, DefaultRootWindow(display), &root, &parent, &children, &count)) {
            for (unsigned int i = 0; i < count && !match; ++i) {
                pid_t owner = 0;
                XWindowAttributes attributes;
                if (window_pid(display, children[i], &owner) && owner == pid &&
                    XGetWindowAttributes(display, children[i], &attributes) && attributes.map_state == IsViewable)
                    match = children[i];
            }
            if (children)
                XFree(children);
        }
        if (match)
            return match;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return 0;
}

bool XSession::wait_for_picture(Window window, double timeout)
{
    auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(static_cast<int>(timeout * 1000));
    while (std::chrono::steady_clock::now() < deadline) {
        XWindowAttributes attributes;
        if (!XGetWindowAttributes(display, window, &attributes))
            return false;
        XImage* image = XGetImage(display, window, 0, 0, static_cast<unsigned>(attributes.width),
                                  static_cast<unsigned>(attributes.height), AllPlanes, ZPixmap);
        bool drawn = false;
        if (image) {
            // Every eighth pixel of every eighth row is plenty for a full picture.
            for (int y = 0; y < image->height && !drawn; y += 8)
                for (int x = 0; x < image->width && !drawn; x += 8)
                    drawn = XGetPixel(image, x, y) != 0;
            XDestroyImage(image);
        }
        if (drawn)
            return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    return false;
}

bool XSession::geometry(Window window, int* x, int* y, int* width, int* height)
{
    XWindowAttributes attributes;
    if (!XGetWindowAttributes(display, window, &attributes))
        return false;
    Window child = 0;
    if (!XTranslateCoordinates(display, window, DefaultRootWindow(display), 0, 0, x, y, &child))
        return false;
    *width = attributes.width;
    *height = attributes.height;
    return true;
}

bool XSession::cursor_is_invisible()
{
    XFixesCursorImage* image = XFixesGetCursorImage(display);
    if (!image)
        return false;
    bool invisible = true;
    for (int i = 0; i < image->width * image->height; ++i) {
        if ((image->pixels[i] >> 24) & 0xff)
            invisible = false;
    }
    XFree(image);
    return invisible;
}

void XSession::request_close(Window window)
{
    send_close_request(display, window);
}

Window XSession::make_host_window(int width, int height)
{
    Window root = DefaultRootWindow(display);
    Window host = XCreateSimpleWindow(display, root, 40, 40, static_cast<unsigned>(width),
                                      static_cast<unsigned>(height), 0, 0, 0);
    XMapWindow(display, host);
    XSync(display, False);
    return host;
}

Window XSession::make_input_only_window(int width, int height)
{
    XSetWindowAttributes attributes{};
    Window host = XCreateWindow(display, DefaultRootWindow(display), 40, 40, static_cast<unsigned>(width),
                                static_cast<unsigned>(height), 0, 0, InputOnly, CopyFromParent, 0, &attributes);
    XMapWindow(display, host);
    XSync(display, False);
    return host;
}

ScreenSaverSettings XSession::screen_saver()
{
    ScreenSaverSettings settings;
    XGetScreenSaver(display, &settings.timeout, &settings.interval, &settings.blanking, &settings.exposures);
    return settings;
}

void XSession::set_screen_saver(const ScreenSaverSettings& settings)
{
    XSetScreenSaver(display, settings.timeout, settings.interval, settings.blanking, settings.exposures);
    XSync(display, False);
}
