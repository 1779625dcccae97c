// What the end-to-end tests ask of the X server directly: the saver's
// window found by its process id, its geometry, the cursor image on the
// screen, and the close request a window manager would send.
#pragma once

#include <ostream>
#include <sys/types.h>

// Kept free of Xlib's header, whose macros (None, Bool) break GoogleTest's.
struct _XDisplay;
using Window = unsigned long; // an X window id

// The server's screen-saver settings, as XGetScreenSaver reads them.
struct ScreenSaverSettings {
    int timeout = 0;  // seconds
    int interval = 0; // seconds
    int blanking = 0;
    int exposures = 0;
    bool operator==(const ScreenSaverSettings& other) const
    {
        return timeout == other.timeout && interval == other.interval && blanking == other.blanking &&
               exposures == other.exposures;
    }
};

inline std::ostream& operator<<(std::ostream& out, const ScreenSaverSettings& settings)
{
    return out << "timeout " << settings.timeout << " s, interval " << settings.interval << " s, blanking "
               << settings.blanking << ", exposures " << settings.exposures;
}

class XSession {
public:
    XSession();
    ~XSession();
    XSession(const XSession&) = delete;
    XSession& operator=(const XSession&) = delete;

    bool connected() const { return display != nullptr; }
    int screen_width() const;  // pixels
    int screen_height() const; // pixels

    // The viewable top-level window whose _NET_WM_PID is `pid`; 0 when none
    // appears within `timeout` seconds or `still_running` says no first.
    Window wait_for_window_of(pid_t pid, double timeout, bool (*still_running)(void*), void* context);

    // Waits up to `timeout` seconds for the window to show a picture: any
    // pixel that is not black, so at least one frame has been presented.
    bool wait_for_picture(Window window, double timeout);

    // Number of top-level windows, viewable or not, carrying _NET_WM_PID `pid`.
    int windows_of(pid_t pid);

    // Position relative to the root window and size, in pixels.
    bool geometry(Window window, int* x, int* y, int* width, int* height);

    // True when the cursor image the server shows now has no visible pixel.
    bool cursor_is_invisible();

    // Sends WM_DELETE_WINDOW, as a window manager's close button does.
    void request_close(Window window);

    ScreenSaverSettings screen_saver();
    void set_screen_saver(const ScreenSaverSettings& settings);

    // A small shown top-level window of the test's own, as a preview host
    // gives one; destroyed with the session.
    Window make_host_window(int width, int height);

    // The same as an InputOnly window, which can hold no drawing.
    Window make_input_only_window(int width, int height);

private:
    _XDisplay* display = nullptr;
};
