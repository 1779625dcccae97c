// A stretch of a CPU array to send to its GL buffer.
#pragma once

#include <cstdint>

struct ByteRange {
    std::int32_t offset = 0; // bytes from the start of the array
    std::int32_t bytes = 0;  // length in bytes
};
