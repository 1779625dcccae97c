// The About window as a classic Win32 dialog-like window: a registered class,
// two static labels and a push button over a light-green client area with
// the picture painted in, driven by its own message loop.
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
    BitBlt(dc, about::picture_x, about::picture_y, info.bmWidth, info.bmHeight, memory, 0, 0, SRCCOPY);
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

HWND make_static(HINSTANCE instance, about::Box box, int id, const char* text, HFONT font)
{
    HWND label = CreateWindowExA(0, "static", "ST_U", WS_CHILD | WS_VISIBLE | WS_TABSTOP, box.x, box.y,
                                 box.width, box.height, main_window,
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, nullptr);
    SetWindowTextA(label, text);
    SendMessageA(label, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
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

    HICON icon = static_cast<HICON>(
        LoadImageA(GetModuleHandleA("user32.dll"), MAKEINTRESOURCEA(104), IMAGE_ICON, 16, 16, LR_SHARED));

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

    SetProcessDPIAware();
    HDC screen = GetDC(nullptr);
    int x = about::centred_position(GetDeviceCaps(screen, HORZRES), about::window_width);
    int y = about::centred_position(GetDeviceCaps(screen, VERTRES), about::window_height);

    main_window = CreateWindowExA(0, class_name, caption, WS_SYSMENU, x, y, about::window_width,
                                  about::window_height, nullptr, nullptr, instance, nullptr);
    if (!main_window) {
        MessageBoxA(nullptr, "Window Creation Failed!", "Error!", MB_ICONEXCLAMATION);
        // No window means nothing whose closing could end the loop.
        return;
    }

    picture_bitmap = static_cast<HBITMAP>(
        LoadImageA(instance, MAKEINTRESOURCEA(about::picture_id), IMAGE_BITMAP, 0, 0, LR_SHARED));

    HFONT body_font = make_font(16, 6, FW_NORMAL, false);
    HFONT heading_font = make_font(18, 8, FW_BOLD, true);

    HINSTANCE window_instance =
        reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(main_window, GWLP_HINSTANCE));
    notice_label = make_static(window_instance, about::notice_box, about::notice_id, notice_text, body_font);
    heading_label =
        make_static(window_instance, about::heading_box, about::heading_id, heading_text, heading_font);

    about::Box b = about::button_box;
    website_button = CreateWindowExA(0, "BUTTON", button_text, WS_CHILD | WS_VISIBLE, b.x, b.y, b.width,
                                     b.height, main_window,
                                     reinterpret_cast<HMENU>(static_cast<INT_PTR>(about::button_id)),
                                     instance, nullptr);
    SendMessageA(website_button, WM_SETFONT, reinterpret_cast<WPARAM>(body_font), TRUE);

    ShowWindow(main_window, show_command);
    UpdateWindow(main_window);

    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}
