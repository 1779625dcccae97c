#include "objl/resource_text.h"

#include "platform/platform.h"

namespace objl {

std::string_view resource_text(std::uint32_t number)
{
    const char* bytes = nullptr;
    std::size_t size = 0;
    if (!platform::text_resource("TEXTFILE", static_cast<int>(number & 0xFFFFu), &bytes, &size) || !bytes)
        return std::string_view();
    return std::string_view(bytes, size);
}

} // namespace objl
