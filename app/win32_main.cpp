// The Windows entry point: the system hands over the command-line text
// without the program path ("/s", "/p 1234", "/c:4567"), which is exactly
// what the shared dispatch reads.
#include "app/run_vesperine.h"
#include "platform/platform.h"

#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR command_line, int show_command)
{
    platform::restrict_library_search(); // before anything can load a DLL
    return run_vesperine(command_line ? command_line : "", show_command);
}
