// Face index lookup: OBJ counts elements from 1, and negative numbers count
// back from the last element read so far.
#pragma once

#include "objl/text.h"

#include <cstdint>
#include <string_view>
#include <vector>

namespace objl {

// Copies the element named by `index_text` into *element: k >= 1 is the
// k-th element, k <= -1 the (size + k + 1)-th, so -1 is the last. False,
// with *element untouched, when the text is no integer, is 0, or lies
// outside 1..size and -size..-1.
template <class Element>
bool resolve_index(const std::vector<Element>& list, std::string_view index_text, Element* element)
{
    std::int32_t k = 0;
    if (!parse_integer(index_text, &k))
        return false;
    const std::int64_t size = static_cast<std::int64_t>(list.size());
    const std::int64_t position = k < 0 ? size + k : static_cast<std::int64_t>(k) - 1;
    if (k == 0 || position < 0 || position >= size)
        return false;
    *element = list[static_cast<std::size_t>(position)];
    return true;
}

} // namespace objl
