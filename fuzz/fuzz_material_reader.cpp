// Arbitrary bytes as an MTL text: read it twice on one reader, which must
// append the same materials again or reject both times.
#include "objl/model_reader.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    objl::ModelReader reader;
    const bool first = reader.read_materials_text(text);
    const std::size_t count = reader.materials.size();
    const bool second = reader.read_materials_text(text);
    if (first != second || reader.materials.size() != (first ? 2 * count : 0) || (first && count == 0))
        __builtin_trap();
    return 0;
}
