// Statement text helpers shared by the OBJ and MTL readers. "Blank" means a
// space or a tab and nothing else: a carriage return is an ordinary
// character here. Results that are text are views into the argument, so the
// argument must outlive them.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

namespace objl {

// The first blank-delimited word of `line`; empty for an empty or all-blank
// line.
std::string_view statement_keyword(std::string_view line);

// Everything after the first word, without leading and trailing blanks;
// empty for a line of one word or none. A trailing CR is kept.
std::string_view statement_arguments(std::string_view line);

// Splits `text` at every occurrence of `separator` (not empty). A separator
// at the start or right after another gives an empty field; a single one at
// the end gives nothing; an empty text gives no field.
std::vector<std::string_view> split_fields(std::string_view text, std::string_view separator);

// Calls emit(field) for each field that split_fields(text, separator) gives,
// in order, without building the list.
template <class Emit>
void for_each_field(std::string_view text, std::string_view separator, Emit emit);

// `text` without its trailing CR and LF characters; a text made only of
// them (or empty) comes back unchanged.
std::string_view trim_line_breaks(std::string_view text);

// Decimal text to float32: leading white space is skipped, then the longest
// prefix that forms a number is read ('.' as decimal point, optional sign,
// exponent, "inf", "nan") and the rest ignored. False, with *value
// untouched, when there is no number or it lies outside the double range.
bool parse_float(std::string_view text, float* value);

// The same for a base-10 integer with optional sign; false when there is no
// digit or the value does not fit 32 bits.
bool parse_integer(std::string_view text, std::int32_t* value);

// Takes the next line of `*rest`, which runs up to the next LF (excluded) or
// to the end, and moves `*rest` past it and its LF. False when `*rest` is
// empty, so a final LF does not make an empty last line.
bool next_line(std::string_view* rest, std::string_view* line);

template <class Emit>
void for_each_field(std::string_view text, std::string_view separator, Emit emit)
{
    const std::size_t s = separator.size();
    if (s == 0) {
        if (!text.empty())
            emit(text);
        return;
    }
    // The field being collected is always text[field_start, i). A separator
    // right after another (or at the start) gives an empty field and moves
    // on by one character only.
    std::size_t field_start = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == separator[0] && text.compare(i, s, separator) == 0) {
            if (i > field_start) {
                emit(text.substr(field_start, i - field_start));
                i += s - 1;
            } else {
                emit(std::string_view());
            }
            field_start = i + 1;
        } else if (i + s >= text.size()) {
            emit(text.substr(field_start));
            return;
        }
    }
}

} // namespace objl
