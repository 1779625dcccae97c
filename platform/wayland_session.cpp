#include "platform/wayland_platform.h"

#include <cstdlib>
#include <cstring>
#include <string>
#include <sys/stat.h>

namespace platform {

bool wayland_session_found()
{
    const char* name = std::getenv("WAYLAND_DISPLAY");
    if (!name || !*name) {
        const char* type = std::getenv("XDG_SESSION_TYPE");
        if (!type || std::strcmp(type, "wayland") != 0)
            return false;
        name = "wayland-0";
    }
    std::string path = name;
    if (name[0] != '/') {
        const char* runtime = std::getenv("XDG_RUNTIME_DIR");
        if (!runtime || runtime[0] != '/')
            return false;
        path = std::string(runtime) + "/" + name;
    }
    struct stat status {};
    return stat(path.c_str(), &status) == 0 && S_ISSOCK(status.st_mode);
}

} // namespace platform
