#include "app/launch_options.h"

#include "platform/platform.h"

#include <cctype>

namespace {

bool is_blank(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

} // namespace

std::int32_t read_decimal_saturating(const char* text)
{
    while (is_blank(*text))
        ++text;
    bool negative = false;
    if (*text == '+' || *text == '-') {
        negative = *text == '-';
        ++text;
    }
    // Accumulate the magnitude in 64 bits and stop growing once it is past
    // the 32-bit range; the digits that follow are still consumed.
    constexpr std::int64_t limit = std::int64_t{1} << 31;
    std::int64_t magnitude = 0;
    for (; *text >= '0' && *text <= '9'; ++text) {
        if (magnitude <= limit)
            magnitude = magnitude * 10 + (*text - '0');
    }
    if (negative)
        return magnitude >= limit ? INT32_MIN : static_cast<std::int32_t>(-magnitude);
    return magnitude >= limit ? INT32_MAX : static_cast<std::int32_t>(magnitude);
}

std::int32_t read_handle_saturating(const char* text, HandleDigits digits)
{
    const char* p = text;
    while (is_blank(*p))
        ++p;
    bool hex = digits == HandleDigits::DecimalOrHex && p[0] == '0' && (p[1] == 'x' || p[1] == 'X') &&
               std::isxdigit(static_cast<unsigned char>(p[2]));
    if (!hex)
        return read_decimal_saturating(text);
    std::int64_t value = 0;
    for (p += 2; std::isxdigit(static_cast<unsigned char>(*p)); ++p) {
        if (value <= INT32_MAX) {
            char c = static_cast<char>(std::tolower(static_cast<unsigned char>(*p)));
            value = value * 16 + (c <= '9' ? c - '0' : c - 'a' + 10);
        }
    }
    return value > INT32_MAX ? INT32_MAX : static_cast<std::int32_t>(value);
}

LaunchOptions::LaunchOptions(const char* command_line, HandleDigits digits)
{
    if (!command_line)
        return;
    for (const char* p = command_line; *p != '\0'; ++p) {
        if (*p != '/')
            continue;
        char letter = p[1];
        if (letter == 'p')
            mode = RunMode::Preview;
        else if (letter == 's')
            mode = RunMode::Saver;
        else if (letter == 'c')
            mode = RunMode::Configure;
        if (mode == RunMode::None)
            continue;
        // The number starts at a fixed offset of three; stop at the text's
        // end instead of stepping over it.
        if (p[1] == '\0' || p[2] == '\0')
            host_window = 0;
        else
            host_window = read_handle_saturating(p + 3, digits);
    }
}

bool LaunchOptions::is_first_instance(const char* name) const
{
    return platform::claim_single_instance(name);
}

bool LaunchOptions::passes_single_instance_rule(const char* name) const
{
    if (mode != RunMode::Preview && mode != RunMode::None)
        return true;
    return is_first_instance(name);
}

std::uintptr_t LaunchOptions::host_handle() const
{
    return static_cast<std::uintptr_t>(static_cast<std::intptr_t>(host_window));
}
