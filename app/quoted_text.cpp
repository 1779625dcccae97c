#include "app/quoted_text.h"

#include <cstddef>

std::string quoted_text(const char* text)
{
    constexpr std::size_t most = 40; // bytes of the text shown
    static const char hex[] = "0123456789abcdef";
    std::string result = "\"";
    std::size_t length = 0;
    for (; text[length] != '\0' && length < most; ++length) {
        unsigned char c = static_cast<unsigned char>(text[length]);
        if (c == '"' || c == '\\') {
            result += '\\';
            result += static_cast<char>(c);
        } else if (c >= 0x20 && c < 0x7f) {
            result += static_cast<char>(c);
        } else {
            result += "\\x";
            result += hex[c >> 4];
            result += hex[c & 0xf];
        }
    }
    result += '"';
    if (text[length] != '\0')
        result += "...";
    return result;
}
