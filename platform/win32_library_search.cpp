// Where the system looks for DLLs that the saver and its libraries load by
// bare name after start.
#include "platform/platform.h"

#include <windows.h>

namespace platform {

void restrict_library_search()
{
    // SetDefaultDllDirectories exists from Windows 8, and on Windows 7 only
    // with KB2533623: looked up, so that the saver still starts without it.
    using SetDefaultDirectories = BOOL(WINAPI*)(DWORD);
    HMODULE kernel = GetModuleHandleW(L"kernel32.dll");
    auto set_default = reinterpret_cast<SetDefaultDirectories>(
        reinterpret_cast<void*>(kernel ? GetProcAddress(kernel, "SetDefaultDllDirectories") : nullptr));
    if (set_default && set_default(LOAD_LIBRARY_SEARCH_SYSTEM32))
        return;
    // Without it, at least the current folder leaves the search.
    SetDllDirectoryW(L"");
}

} // namespace platform
