#include "app/hack_options.h"

#include "app/quoted_text.h"

#include <cstring>

namespace {

// The protocol keeps the top three bits of every resource id zero.
constexpr std::uint64_t largest_window_id = 0x1fffffff;

// The option name without its leading dashes ("--root" and "-root" both give
// "root"); null for an argument that is not an option.
const char* option_name(const char* argument)
{
    if (argument[0] != '-')
        return nullptr;
    return argument[1] == '-' ? argument + 2 : argument + 1;
}

bool is_named(const char* argument, const char* name)
{
    const char* given = option_name(argument);
    return given && std::strcmp(given, name) == 0;
}

int hex_digit_value(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

} // namespace

bool is_hack_option(const char* argument)
{
    return is_named(argument, "root") || is_named(argument, "window") || is_named(argument, "window-id") ||
           is_named(argument, "fps");
}

bool is_hack_command_line(int argc, const char* const* argv)
{
    for (int i = 1; i < argc; ++i) {
        if (is_hack_option(argv[i]))
            return true;
    }
    return false;
}

bool read_window_id(const char* text, std::uint32_t* id)
{
    if (!text || *text == '\0')
        return false;
    unsigned base = 10;
    if (text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        base = 16;
        text += 2;
        if (*text == '\0')
            return false;
    }
    std::uint64_t value = 0;
    for (; *text != '\0'; ++text) {
        int digit = base == 16 ? hex_digit_value(*text) : (*text >= '0' && *text <= '9' ? *text - '0' : -1);
        if (digit < 0)
            return false;
        value = value * base + static_cast<unsigned>(digit);
        if (value > largest_window_id)
            return false; // also keeps the sum far from overflowing
    }
    if (value == 0)
        return false;
    *id = static_cast<std::uint32_t>(value);
    return true;
}

bool parse_hack_options(int argc, const char* const* argv, HackOptions* options, std::string* error)
{
    *options = HackOptions{};
    for (int i = 1; i < argc; ++i) {
        const char* argument = argv[i];
        if (is_named(argument, "root")) {
            options->root = true;
        } else if (is_named(argument, "window")) {
            options->own_window = true;
        } else if (is_named(argument, "fps")) {
            // The daemon's frame-rate overlay: nothing to show here.
        } else if (is_named(argument, "window-id")) {
            if (i + 1 >= argc) {
                *error = std::string(argument) + " needs a window id";
                return false;
            }
            const char* value = argv[++i];
            if (!read_window_id(value, &options->window_id)) {
                *error = std::string(argument) + " " + quoted_text(value) + " is not a window id";
                return false;
            }
            options->window_id_given = true;
        } else {
            *error = "unknown option " + quoted_text(argument) + " (hack options: --root, --window, --window-id ID, --fps)";
            return false;
        }
    }
    return true;
}

HackWindowChoice choose_hack_window(const HackOptions& options, const char* environment_window)
{
    HackWindowChoice choice;
    if (environment_window && *environment_window != '\0') {
        if (!read_window_id(environment_window, &choice.window_id)) {
            choice.error = "XSCREENSAVER_WINDOW " + quoted_text(environment_window) + " is not a window id";
            return choice;
        }
        choice.target = HackTarget::GivenWindow;
    } else if (options.window_id_given) {
        choice.target = HackTarget::GivenWindow;
        choice.window_id = options.window_id;
    } else if (options.root) {
        choice.target = HackTarget::RootWindow;
    } else {
        choice.target = HackTarget::OwnWindow;
    }
    return choice;
}
