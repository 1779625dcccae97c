// Someone else's text (an argument, an environment value) quoted inside one
// of our one-line messages.
#pragma once

#include <string>

// `text` between double quotes, cut after 40 bytes (then "..." follows the
// closing quote). Printable ASCII stays as it is, except that a quote or a
// backslash gets a backslash before it; every other byte is written as a
// \xNN escape, so the message is always one line of plain ASCII, whatever
// the bytes were (control characters, invalid UTF-8).
std::string quoted_text(const char* text);
