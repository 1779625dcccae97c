// Presses anywhere on the desktop: raw keyboard and mouse input sent to a
// message-only window of our own (RIDEV_INPUTSINK: also while another
// window has the focus), registered before the display window exists. The
// library's event processing dispatches its messages too, so a press is
// noted whichever of the two reads it first.
#include "platform/platform.h"

#include <windows.h>

namespace platform {

namespace {

HWND sink = nullptr; // null until watch_presses succeeded
bool pressed = false;

bool ends_run(const RAWINPUT& input)
{
    if (input.header.dwType == RIM_TYPEKEYBOARD)
        return (input.data.keyboard.Flags & RI_KEY_BREAK) == 0;
    if (input.header.dwType != RIM_TYPEMOUSE)
        return false;
    // Moves and the wheel's flags (RI_MOUSE_WHEEL, RI_MOUSE_HWHEEL) end nothing.
    const USHORT downs = RI_MOUSE_BUTTON_1_DOWN | RI_MOUSE_BUTTON_2_DOWN | RI_MOUSE_BUTTON_3_DOWN |
                         RI_MOUSE_BUTTON_4_DOWN | RI_MOUSE_BUTTON_5_DOWN;
    return (input.data.mouse.usButtonFlags & downs) != 0;
}

LRESULT CALLBACK sink_procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam)
{
    if (message == WM_INPUT) {
        RAWINPUT input;
        UINT size = sizeof input;
        if (GetRawInputData(reinterpret_cast<HRAWINPUT>(lparam), RID_INPUT, &input, &size,
                            sizeof(RAWINPUTHEADER)) != static_cast<UINT>(-1) &&
            ends_run(input))
            pressed = true;
    }
    // The system frees the input's data here.
    return DefWindowProcW(window, message, wparam, lparam);
}

} // namespace

bool watch_presses()
{
    if (sink)
        return true;
    WNDCLASSW window_class = {};
    window_class.lpfnWndProc = sink_procedure;
    window_class.hInstance = GetModuleHandleW(nullptr);
    window_class.lpszClassName = L"VesperinePressSink";
    if (!RegisterClassW(&window_class))
        return false;
    HWND window = CreateWindowExW(0, window_class.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                  window_class.hInstance, nullptr);
    if (!window)
        return false;
    // Generic desktop page: keyboards (6) and mice (2).
    RAWINPUTDEVICE devices[2] = {{0x01, 0x06, RIDEV_INPUTSINK, window}, {0x01, 0x02, RIDEV_INPUTSINK, window}};
    if (!RegisterRawInputDevices(devices, 2, sizeof devices[0])) {
        DestroyWindow(window);
        return false;
    }
    sink = window;
    return true;
}

bool press_noted()
{
    MSG message;
    while (sink && !pressed && PeekMessageW(&message, sink, WM_INPUT, WM_INPUT, PM_REMOVE))
        DispatchMessageW(&message);
    return pressed;
}

} // namespace platform
