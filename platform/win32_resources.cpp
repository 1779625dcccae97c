// Text resources of the executable's own module, read in place: the bytes
// belong to the loaded image and stay valid until the process ends.
#include "platform/platform.h"

#include <windows.h>

namespace platform {

bool text_resource(const char* type_name, int id, const char** bytes, std::size_t* size)
{
    *bytes = nullptr;
    *size = 0;
    if (id <= 0 || id > 0xFFFF)
        return false; // not an integer resource name
    HRSRC info = FindResourceA(nullptr, MAKEINTRESOURCEA(id), type_name);
    if (!info)
        return false;
    HGLOBAL loaded = LoadResource(nullptr, info);
    if (!loaded)
        return false;
    const void* locked = LockResource(loaded);
    if (!locked)
        return false;
    *bytes = static_cast<const char*>(locked);
    *size = SizeofResource(nullptr, info);
    return true;
}

} // namespace platform
