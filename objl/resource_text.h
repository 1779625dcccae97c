// Model and material texts stored in the executable.
#pragma once

#include <cstdint>
#include <string_view>

namespace objl {

// The bytes of "TEXTFILE" resource `number` (only its low 16 bits count, as
// an integer resource identifier), exactly the resource's size, with no
// terminator looked for. A missing resource gives empty text. The bytes
// belong to the executable image and stay valid for the whole run.
std::string_view resource_text(std::uint32_t number);

} // namespace objl
