// What the command line asks for: the run mode and the preview host's
// window handle. Read once at start-up and kept for the whole process.
#pragma once

#include <cstdint>

enum class RunMode : std::int32_t { Preview = 0, Saver = 1, Configure = 2, None = 3 };

// How the window handle after a switch may be written. Windows hands over
// decimal handles; X11 tools print window ids in hex ("0x60000c").
enum class HandleDigits : std::int32_t { Decimal = 0, DecimalOrHex = 1 };

// The name of the single-instance claim; tests claim names of their own.
inline constexpr const char* single_instance_name = "D_ORADED_EZOZEZAZIVU";

class LaunchOptions {
public:
    // Parses the command-line text (the arguments without the program path).
    // At every "/" the next character picks the mode: p Preview, s Saver,
    // c Configure; anything else, upper case included, leaves it. Once a
    // mode is set, every such slash reads host_window as a decimal number
    // starting three characters after the slash (slash, letter, separator):
    // "/p 1234", "/p:1234". With HandleDigits::DecimalOrHex a number that
    // starts with "0x" is read in hex ("/p 0x60000c"). Never fails; unread
    // numbers are 0.
    explicit LaunchOptions(const char* command_line, HandleDigits digits = HandleDigits::Decimal);

    // True when this process may go on: it holds the single-instance claim
    // `name` (the user's session on Windows, the user and display
    // elsewhere), or the claim failed for another reason.
    bool is_first_instance(const char* name = single_instance_name) const;

    // Preview and None runs go on only as the first instance; Saver and
    // Configure runs always go on and never touch the name.
    bool passes_single_instance_rule(const char* name = single_instance_name) const;

    // host_window as the platform seam takes it (an HWND is sign-extended
    // from its 32 bits, as Windows does).
    std::uintptr_t host_handle() const;

    RunMode mode = RunMode::None;
    std::int32_t host_window = 0; // native window handle of the preview host, 0 when none was read
};

// What the C runtime's atoi reads from `text`: leading white space, an
// optional sign, then decimal digits up to the first other character; 0
// without digits. Values beyond the 32-bit range saturate to its ends.
std::int32_t read_decimal_saturating(const char* text);

// The same for a number that may also be written "0x" and hex digits (after
// leading white space, no sign): read up to the first character that is not
// a hex digit, saturating at the top of the 32-bit range.
std::int32_t read_handle_saturating(const char* text, HandleDigits digits);
