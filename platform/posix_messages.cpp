// Message boxes become one line on standard error: the saver runs unattended
// here, and nobody would be there to dismiss a window.
#include "platform/platform.h"

#include <cstdio>

namespace platform {

void message_box(const char* text, const char* caption, MessageIcon)
{
    std::fprintf(stderr, "%s: %s\n", caption, text);
    std::fflush(stderr);
}

void note(const char* text)
{
    std::fprintf(stderr, "%s\n", text);
    std::fflush(stderr);
}

} // namespace platform
