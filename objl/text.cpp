#include "objl/text.h"

#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>

namespace objl {

namespace {

bool is_blank(char c)
{
    return c == ' ' || c == '\t';
}

// White space as the C library's conversions skip it.
bool is_space(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

std::size_t first_non_blank(std::string_view text, std::size_t from)
{
    while (from < text.size() && is_blank(text[from]))
        ++from;
    return from;
}

std::size_t first_blank(std::string_view text, std::size_t from)
{
    while (from < text.size() && !is_blank(text[from]))
        ++from;
    return from;
}

// Strips leading white space and one '+' (which std::from_chars refuses but
// the C conversions accept). False when a second sign follows the '+'.
bool strip_number_prefix(std::string_view* text)
{
    std::size_t i = 0;
    while (i < text->size() && is_space((*text)[i]))
        ++i;
    if (i < text->size() && (*text)[i] == '+') {
        ++i;
        if (i < text->size() && ((*text)[i] == '+' || (*text)[i] == '-'))
            return false;
    }
    text->remove_prefix(i);
    return true;
}

} // namespace

std::string_view statement_keyword(std::string_view line)
{
    const std::size_t start = first_non_blank(line, 0);
    const std::size_t end = first_blank(line, start);
    return line.substr(start, end - start);
}

std::string_view statement_arguments(std::string_view line)
{
    const std::size_t start = first_non_blank(line, 0);
    const std::size_t gap = first_blank(line, start);
    const std::size_t from = first_non_blank(line, gap);
    if (from >= line.size())
        return std::string_view();
    std::size_t last = line.size() - 1;
    while (is_blank(line[last]))
        --last;  // stops at `from` at the latest, which is not blank
    return line.substr(from, last - from + 1);
}

std::vector<std::string_view> split_fields(std::string_view text, std::string_view separator)
{
    std::vector<std::string_view> fields;
    for_each_field(text, separator, [&fields](std::string_view field) { fields.push_back(field); });
    return fields;
}

std::string_view trim_line_breaks(std::string_view text)
{
    const std::size_t last = text.find_last_not_of("\r\n");
    if (last == std::string_view::npos)
        return text;
    return text.substr(0, last + 1);
}

bool parse_float(std::string_view text, float* value)
{
    if (!strip_number_prefix(&text))
        return false;
    double number = 0.0;
    const std::from_chars_result result = std::from_chars(text.data(), text.data() + text.size(), number);
    if (result.ec != std::errc())
        return false;
    // Narrowing follows IEEE rounding: beyond the float range it gives an
    // infinity, as the model data would on any other float32 path.
    *value = static_cast<float>(number);
    return true;
}

bool parse_integer(std::string_view text, std::int32_t* value)
{
    if (!strip_number_prefix(&text))
        return false;
    std::int32_t number = 0;
    const std::from_chars_result result = std::from_chars(text.data(), text.data() + text.size(), number, 10);
    if (result.ec != std::errc())
        return false;
    *value = number;
    return true;
}

bool next_line(std::string_view* rest, std::string_view* line)
{
    if (rest->empty())
        return false;
    const void* lf = std::memchr(rest->data(), '\n', rest->size());
    if (!lf) {
        *line = *rest;
        *rest = std::string_view();
        return true;
    }
    const std::size_t length = static_cast<std::size_t>(static_cast<const char*>(lf) - rest->data());
    *line = rest->substr(0, length);
    rest->remove_prefix(length + 1);
    return true;
}

} // namespace objl
