// The About window as a classic Win32 dialog-like window: a registered class,
// two static labels and a push button over a light-green client area with
// the picture painted in, driven by its own message loop. Every size is laid
// out for 96 DPI and multiplied by the DPI of the monitor it is on, so that
// it stays crisp at any scaling and follows a move to another monitor.
#include "about/about_window.h"

#include "about/about_texts.h"

#include <windows.h>
#include <shellapi.h>

namespace {

// Shared between the constructor and the window procedure.
HWND main_window = nullptr;
HWND notice_label = nullptr;
HWND heading_label = nullptr;
HWND website_button = nullptr;
HBITMAP picture_bitmap = nullptr;
HBRUSH background_brush = nullptr;
HINSTANCE program_instance = nullptr;

// Dots per inch of the monitor the window is on; 96 is the layout's own.
int window_dpi = 96;
HFONT body_font = nullptr;
HFONT heading_font = nullptr;
HICON small_icon = nullptr;
HICON large_icon = nullptr;

// A length of the 96 DPI layout at the window's DPI, in pixels.
int scaled(int length)
{
    return MulDiv(length, window_dpi, 96);
}

// GetDpiForWindow exists from Windows 10 1607 on; before it the system DPI
// that GetDeviceCaps reports is the only one.
int dpi_of(HWND window, int fallback)
{
    using DpiForWindow = UINT(WINAPI*)(HWND);
    auto dpi_for_window = reinterpret_cast<DpiForWindow>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("user32.dll"), "GetDpiForWindow")));
    int dpi = dpi_for_window ? static_cast<int>(dpi_for_window(window)) : 0;
    return dpi > 0 ? dpi : fallback;
}

COLORREF colour_ref(about::Colour c)
{
    return RGB(c.red, c.green, c.blue);
}

HFONT make_font(int height, int width, int weight, bool underline)
{
    return CreateFontA(height, width, 0, 0, weight, FALSE, underline ? TRUE : FALSE, FALSE,
                       DEFAULT_CHARSET, OUT_OUTLINE_PRECIS, CLIP_DEFAULT_PRECIS, CLEARTYPE_QUALITY,
                       VARIABLE_PITCH, "Arial");
}

void place(HWND control, about::Box box)
{
    SetWindowPos(control, nullptr, scaled(box.x), scaled(box.y), scaled(box.width), scaled(box.height),
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

HICON load_icon(int size)
{
    return static_cast<HICON>(LoadImageA(program_instance, MAKEINTRESOURCEA(about::icon_id), IMAGE_ICON,
                                         size, size, 0));
}

// Fonts, children, title-bar icons and, with `outer`, the window itself at
// `dpi`. The fonts and icons of the previous DPI go once replaced.
void lay_out(int dpi, const RECT* outer)
{
    window_dpi = dpi;
    HFONT old_body = body_font, old_heading = heading_font;
    body_font = make_font(scaled(16), scaled(6), FW_NORMAL, false);
    heading_font = make_font(scaled(18), scaled(8), FW_BOLD, true);
    SendMessageA(notice_label, WM_SETFONT, reinterpret_cast<WPARAM>(body_font), TRUE);
    SendMessageA(heading_label, WM_SETFONT, reinterpret_cast<WPARAM>(heading_font), TRUE);
    SendMessageA(website_button, WM_SETFONT, reinterpret_cast<WPARAM>(body_font), TRUE);
    if (old_body)
        DeleteObject(old_body);
    if (old_heading)
        DeleteObject(old_heading);
    place(notice_label, about::notice_box);
    place(heading_label, about::heading_box);
    place(website_button, about::button_box);

    HICON old_small = small_icon, old_large = large_icon;
    small_icon = load_icon(scaled(16));
    large_icon = load_icon(scaled(32));
    SendMessageA(main_window, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small_icon));
    SendMessageA(main_window, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(large_icon));
    if (old_small)
        DestroyIcon(old_small);
    if (old_large)
        DestroyIcon(old_large);

    if (outer)
        SetWindowPos(main_window, nullptr, outer->left, outer->top, outer->right - outer->left,
                     outer->bottom - outer->top, SWP_NOZORDER | SWP_NOACTIVATE);
    InvalidateRect(main_window, nullptr, TRUE);
}

void paint(HWND window)
{
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(window, &ps);
    RECT client;
    GetClientRect(window, &client);
    SetBkColor(dc, colour_ref(about::background_colour));
    ExtTextOutA(dc, 0, 0, ETO_OPAQUE, &client, nullptr, 0, nullptr);

    HDC memory = CreateCompatibleDC(dc);
    HGDIOBJ previous = SelectObject(memory, picture_bitmap);
    BITMAP info{};
    GetObjectA(picture_bitmap, sizeof info, &info);
    int x = scaled(about::picture_x), y = scaled(about::picture_y);
    if (window_dpi == 96) {
        BitBlt(dc, x, y, info.bmWidth, info.bmHeight, memory, 0, 0, SRCCOPY);
    } else {
        SetStretchBltMode(dc, HALFTONE);
        SetBrushOrgEx(dc, 0, 0, nullptr);
        StretchBlt(dc, x, y, scaled(info.bmWidth), scaled(info.bmHeight), memory, 0, 0, info.bmWidth,
                   info.bmHeight, SRCCOPY);
    }
    SelectObject(memory, previous);
    DeleteDC(memory);
    EndPaint(window, &ps);
}

LRESULT CALLBACK about_window_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam)
{
    if (!background_brush)
        background_brush = CreateSolidBrush(colour_ref(about::background_colour));
    switch (message) {
    case WM_PAINT:
        paint(window);
        return 0;
    case WM_CTLCOLORSTATIC: {
        HDC dc = reinterpret_cast<HDC>(wparam);
        bool heading = reinterpret_cast<HWND>(lparam) == heading_label;
        SetTextColor(dc, colour_ref(heading ? about::heading_colour : about::notice_colour));
        SetBkColor(dc, colour_ref(about::background_colour));
        return reinterpret_cast<LRESULT>(background_brush);
    }
    case WM_COMMAND:
        // Exactly the button's id with notification code 0 (BN_CLICKED).
        if (wparam == static_cast<WPARAM>(about::button_id))
            ShellExecuteA(window, "open", about::website_address, nullptr, nullptr, SW_SHOWNORMAL);
        // Return and Escape, as the dialog manager reports them.
        if (wparam == IDOK || wparam == IDCANCEL)
            DestroyWindow(window);
        return 0;
    case WM_DPICHANGED:
        // The system's suggested rectangle keeps the window under the pointer.
        lay_out(LOWORD(wparam), reinterpret_cast<const RECT*>(lparam));
        return 0;
    case WM_CLOSE:
        DestroyWindow(window);
        return 0;
    case WM_DESTROY:
        DeleteObject(picture_bitmap);
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcA(window, message, wparam, lparam);
    }
}

// Placed and given its font by lay_out.
HWND make_static(HINSTANCE instance, int id, const char* text)
{
    HWND label = CreateWindowExA(0, "static", "ST_U", WS_CHILD | WS_VISIBLE | WS_TABSTOP, 0, 0, 0, 0,
                                 main_window, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance,
                                 nullptr);
    SetWindowTextA(label, text);
    return label;
}

} // namespace

AboutWindow::AboutWindow(void* module_instance, int show_command)
    : caption(about::caption),
      class_name(about::class_name),
      button_text(about::button_text),
      notice_text(about::notice_text),
      heading_text(about::heading_text)
{
    // The portable entry point has no instance handle to pass: the
    // executable's own module is the same thing.
    HINSTANCE instance = module_instance ? static_cast<HINSTANCE>(module_instance) : GetModuleHandleA(nullptr);
    program_instance = instance;

    // The title bar shows the program's own icon (set per DPI in lay_out).
    HICON icon = static_cast<HICON>(
        LoadImageA(instance, MAKEINTRESOURCEA(about::icon_id), IMAGE_ICON, 0, 0, LR_DEFAULTSIZE | LR_SHARED));

    WNDCLASSA window_class{};
    window_class.style = 0;
    window_class.lpfnWndProc = about_window_proc;
    window_class.hInstance = instance;
    window_class.hIcon = icon;
    window_class.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    window_class.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_WINDOW + 1));
    window_class.lpszClassName = class_name;
    if (!RegisterClassA(&window_class))
        MessageBoxA(nullptr, "Window Registration Failed!", "Error!", MB_ICONEXCLAMATION);

    // The manifest already makes the process DPI aware (per monitor where
    // the system can); this covers a copy run without it.
    SetProcessDPIAware();
    HDC screen = GetDC(nullptr);
    int screen_width = GetDeviceCaps(screen, HORZRES);
    int screen_height = GetDeviceCaps(screen, VERTRES);
    window_dpi = GetDeviceCaps(screen, LOGPIXELSX);
    int x = about::centred_position(screen_width, scaled(about::window_width));
    int y = about::centred_position(screen_height, scaled(about::window_height));

    main_window = CreateWindowExA(0, class_name, caption, WS_SYSMENU, x, y, scaled(about::window_width),
                                  scaled(about::window_height), nullptr, nullptr, instance, nullptr);
    if (!main_window) {
        MessageBoxA(nullptr, "Window Creation Failed!", "Error!", MB_ICONEXCLAMATION);
        // No window means nothing whose closing could end the loop.
        return;
    }

    picture_bitmap = static_cast<HBITMAP>(
        LoadImageA(instance, MAKEINTRESOURCEA(about::picture_id), IMAGE_BITMAP, 0, 0, LR_SHARED));

    HINSTANCE window_instance =
        reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(main_window, GWLP_HINSTANCE));
    notice_label = make_static(window_instance, about::notice_id, notice_text);
    heading_label = make_static(window_instance, about::heading_id, heading_text);
    // A tab stop, so that Tab reaches it and Space presses it.
    website_button = CreateWindowExA(0, "BUTTON", button_text, WS_CHILD | WS_VISIBLE | WS_TABSTOP, 0, 0, 0, 0,
                                     main_window,
                                     reinterpret_cast<HMENU>(static_cast<INT_PTR>(about::button_id)),
                                     instance, nullptr);

    // The monitor the window opened on may have a DPI of its own: keep the
    // centre, take that monitor's size.
    int dpi = dpi_of(main_window, window_dpi);
    if (dpi == window_dpi) {
        lay_out(dpi, nullptr);
    } else {
        RECT r{};
        GetWindowRect(main_window, &r);
        int width = MulDiv(about::window_width, dpi, 96), height = MulDiv(about::window_height, dpi, 96);
        RECT outer{(r.left + r.right - width) / 2, (r.top + r.bottom - height) / 2, 0, 0};
        outer.right = outer.left + width;
        outer.bottom = outer.top + height;
        lay_out(dpi, &outer);
    }

    ShowWindow(main_window, show_command);
    UpdateWindow(main_window);

    // The dialog manager's keys: Tab between the tab stops, Space on the
    // button, Return and Escape as IDOK and IDCANCEL.
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        if (IsDialogMessageA(main_window, &message))
            continue;
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}
