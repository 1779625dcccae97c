// A second process for the tests, driven by its command line:
//   claim NAME      claims NAME; exit code 10 when it was free, 11 when taken
//   hold NAME       claims NAME, prints "held" or "refused", then waits to be
//                   terminated
//   window W H      opens a hidden W x H popup window, prints its handle in
//                   decimal, then serves its messages until terminated
//   exit-hook CODE  installs an exit hook that prints "hook", then ends with
//                   exit_process(CODE); prints "returned" if that ever returns
//   version         prints the system version word's major and minor as
//                   this program (with the product's manifest) sees them
#include "platform/platform.h"

#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

void print_hook()
{
    std::printf("hook\n");
    std::fflush(stdout);
}

} // namespace

int serve_window(int width, int height)
{
    WNDCLASSA window_class{};
    window_class.lpfnWndProc = DefWindowProcA;
    window_class.hInstance = GetModuleHandleA(nullptr);
    window_class.lpszClassName = "VesperineTestHost";
    RegisterClassA(&window_class);
    HWND window = CreateWindowExA(0, "VesperineTestHost", "host", WS_POPUP, 0, 0, width, height,
                                  nullptr, nullptr, window_class.hInstance, nullptr);
    std::printf("%lld\n", static_cast<long long>(reinterpret_cast<std::intptr_t>(window)));
    std::fflush(stdout);
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0)
        DispatchMessageA(&message);
    return 0;
}

int main(int argc, char** argv)
{
    if (argc == 3 && std::strcmp(argv[1], "claim") == 0)
        return platform::claim_single_instance(argv[2]) ? 10 : 11;
    if (argc == 3 && std::strcmp(argv[1], "hold") == 0) {
        std::printf(platform::claim_single_instance(argv[2]) ? "held\n" : "refused\n");
        std::fflush(stdout);
        Sleep(INFINITE);
        return 0;
    }
    if (argc == 2 && std::strcmp(argv[1], "version") == 0) {
        std::uint32_t word = platform::system_version_word();
        std::printf("%u.%u\n", static_cast<unsigned>(word & 0xFF), static_cast<unsigned>((word >> 8) & 0xFF));
        return 0;
    }
    if (argc == 3 && std::strcmp(argv[1], "exit-hook") == 0) {
        platform::set_exit_hook(print_hook);
        platform::exit_process(std::atoi(argv[2]));
        std::printf("returned\n"); // unreachable unless exit_process is broken
        return 0;
    }
    if (argc == 4 && std::strcmp(argv[1], "window") == 0)
        return serve_window(std::atoi(argv[2]), std::atoi(argv[3]));
    std::fprintf(stderr, "usage: wine_child claim|hold NAME | window W H | exit-hook CODE\n");
    return 2;
}
