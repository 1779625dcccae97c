// Text resources from the table the build links into the binary.
#include "platform/embedded_resources.h"
#include "platform/platform.h"

#include <cstring>

namespace platform {

const EmbeddedResource* find_embedded_resource(const char* type_name, int id)
{
    for (int i = 0; i < embedded_resource_count; ++i) {
        const EmbeddedResource& r = embedded_resources[i];
        if (r.id == id && std::strcmp(r.type_name, type_name) == 0)
            return &r;
    }
    return nullptr;
}

bool text_resource(const char* type_name, int id, const char** bytes, std::size_t* size)
{
    *bytes = nullptr;
    *size = 0;
    const EmbeddedResource* r = find_embedded_resource(type_name, id);
    if (!r)
        return false;
    *bytes = reinterpret_cast<const char*>(r->begin);
    *size = static_cast<std::size_t>(r->end - r->begin);
    return true;
}

} // namespace platform
