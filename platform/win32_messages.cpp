// Modal message boxes without an owner window: they block until dismissed.
// Notes go to the debugger's output instead and block nothing.
#include "platform/platform.h"

#include <windows.h>

namespace platform {

void message_box(const char* text, const char* caption, MessageIcon icon)
{
    UINT style = icon == MessageIcon::exclamation ? MB_ICONEXCLAMATION : MB_ICONINFORMATION;
    MessageBoxA(nullptr, text, caption, MB_OK | style);
}

void note(const char* text)
{
    OutputDebugStringA(text);
    OutputDebugStringA("\n");
}

} // namespace platform
