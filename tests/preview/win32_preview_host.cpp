// A stand-in for the screensaver host on Windows: a process of its own with
// one visible window, whose handle it prints ("host <decimal handle>"). It
// then obeys commands read from standard input, one per line, answering
// each with one line:
//   resize W H   client area to W by H pixels      -> "ok"
//   disable      EnableWindow(FALSE)                -> "ok"
//   destroy      DestroyWindow, then the process ends with 0 -> "ok"
//   children     child windows of the host         -> "children N W H OTHER"
//                (count; first child's client size; 1 when it belongs to
//                another process)
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

const UINT command_message = WM_APP + 1;
HWND host = nullptr;

void answer(const std::string& line)
{
    std::printf("%s\n", line.c_str());
    std::fflush(stdout);
}

LRESULT CALLBACK host_procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam)
{
    if (message == command_message) {
        std::string* command = reinterpret_cast<std::string*>(lparam);
        int width = 0, height = 0;
        if (std::sscanf(command->c_str(), "resize %d %d", &width, &height) == 2) {
            RECT r{0, 0, width, height};
            AdjustWindowRect(&r, WS_OVERLAPPEDWINDOW, FALSE);
            SetWindowPos(window, nullptr, 0, 0, r.right - r.left, r.bottom - r.top,
                         SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
            answer("ok");
        } else if (*command == "disable") {
            EnableWindow(window, FALSE);
            answer("ok");
        } else if (*command == "destroy") {
            answer("ok");
            DestroyWindow(window);
        } else if (*command == "children") {
            int count = 0;
            HWND first = nullptr;
            for (HWND c = GetWindow(window, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
                if (!first)
                    first = c;
                ++count;
            }
            RECT r{};
            DWORD owner = 0;
            if (first) {
                GetClientRect(first, &r);
                GetWindowThreadProcessId(first, &owner);
            }
            answer("children " + std::to_string(count) + " " + std::to_string(r.right) + " " +
                   std::to_string(r.bottom) + " " + std::to_string(owner && owner != GetCurrentProcessId()));
        } else {
            answer("unknown");
        }
        delete command;
        return 0;
    }
    if (message == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(window, message, wparam, lparam);
}

DWORD WINAPI read_commands(void*)
{
    char line[256];
    while (std::fgets(line, sizeof line, stdin)) {
        line[std::strcspn(line, "\r\n")] = 0;
        PostMessageA(host, command_message, 0, reinterpret_cast<LPARAM>(new std::string(line)));
    }
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    int width = argc > 2 ? std::atoi(argv[1]) : 160;
    int height = argc > 2 ? std::atoi(argv[2]) : 120;
    WNDCLASSA window_class{};
    window_class.lpfnWndProc = host_procedure;
    window_class.hInstance = GetModuleHandleA(nullptr);
    window_class.hbrBackground = CreateSolidBrush(RGB(255, 0, 255));
    window_class.lpszClassName = "VesperinePreviewHost";
    RegisterClassA(&window_class);
    RECT r{0, 0, width, height};
    AdjustWindowRect(&r, WS_OVERLAPPEDWINDOW, FALSE);
    host = CreateWindowExA(0, "VesperinePreviewHost", "Preview host", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 30, 30,
                           r.right - r.left, r.bottom - r.top, nullptr, nullptr, GetModuleHandleA(nullptr),
                           nullptr);
    if (!host)
        return 1;
    answer("host " + std::to_string(static_cast<long long>(reinterpret_cast<INT_PTR>(host))));
    CreateThread(nullptr, 0, read_commands, nullptr, 0, nullptr);
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return 0;
}
