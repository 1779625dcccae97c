// The platform seam: every operating-system call the saver makes goes through
// these plain functions. CMake compiles one family behind them: win32_*.cpp on
// Windows; posix_*.cpp, x11_*.cpp and the resources linked into the binary
// (embedded_*.cpp) elsewhere. The portable core (objl/, snow/, render/, most
// of app/) never includes a system header of its own. What only the X Window
// System has is declared in platform/x11_platform.h instead.
#pragma once

#include <cstddef>
#include <cstdint>

namespace platform {

// --- Resources of the executable -------------------------------------------

// Text resource of the given type name ("TEXTFILE") and number. On success
// sets *bytes to the first byte and *size to the byte count and returns true.
// The memory belongs to the executable image: never freed, never written.
// A missing resource returns false and leaves *bytes null and *size 0.
bool text_resource(const char* type_name, int id, const char** bytes, std::size_t* size);

// Size in pixels of bitmap resource `id`; false (and 0 x 0) when missing.
bool bitmap_size(int id, int* width, int* height);

// Reads the colours of bitmap resource `id` for the pixels (x, y) with
// 0 <= x < width, 0 <= y < height, counted from the top-left of the picture,
// as 8-bit red, green, blue: rgb[(y * width + x) * 3 + 0..2]. Pixels outside
// the bitmap read as black. Returns false (and writes black) when the bitmap
// is missing.
bool read_bitmap_rgb(int id, int width, int height, unsigned char* rgb);

// --- Messages ----------------------------------------------------------------

enum class MessageIcon { information, exclamation };

// A modal box without owner on Windows (blocks until dismissed); one line
// "caption: text" on standard error elsewhere.
void message_box(const char* text, const char* caption, MessageIcon icon);

// A remark that must not stop the run: one line on standard error
// elsewhere; on Windows, where a saver's standard error reaches nobody and
// a box would wait for an answer, it goes to the debugger's output only.
void note(const char* text);

// --- Window system -------------------------------------------------------------

enum class WindowSystem { win32, x11, wayland };

// The window system this run draws with. Windows has one of its own and
// ignores the choice; elsewhere the entry point names X11 or Wayland once,
// before the single-instance claim and the windowing library start. X11
// until then.
void use_window_system(WindowSystem system);
WindowSystem window_system();

// --- Process -----------------------------------------------------------------

// Windows only, the first call of WinMain: DLLs loaded later by bare name
// (the windowing library's optional ones, opengl32.dll) come from the
// system folder, never from the program's own folder, where anyone who
// can drop a file beside a downloaded .scr could plant one.
void restrict_library_search();

// Claims the single-instance name. True when this process is the first
// holder (or the claim failed for another reason, with a note); false when
// another live process holds it. The claim is released by the system when
// the process ends, however it ends. On Windows it is a named event of the
// user's session; elsewhere it belongs to the user and the display (DISPLAY,
// or WAYLAND_DISPLAY for a Wayland run): an flock on NAME-DISPLAY.lock in
// $XDG_RUNTIME_DIR, or in /tmp/vesperine-UID where that is not a folder of
// the user's own with mode 0700; where neither is, the rule is skipped.
bool claim_single_instance(const char* name);

// The raw system version word as GetVersion reports it: low byte major,
// next byte minor. Non-Windows systems report 6.2 (0x0206), the value a
// current Windows gives a program without a compatibility manifest.
std::uint32_t system_version_word();

// Hook run by exit_process before the process ends (the app installs the
// windowing library's shutdown here). Null for none.
void set_exit_hook(void (*hook)());

// Ends the process at once with the given code, after the exit hook.
[[noreturn]] void exit_process(int code);

// Ends the process at once with the given code and runs nothing else, not
// even the exit hook: for the windowing library's own callbacks, from which
// the library may not be shut down.
[[noreturn]] void end_process_now(int code);

// --- Stop signals (hack mode and full-screen runs) ----------------------------

// From now on SIGTERM, SIGINT and SIGHUP only note that a stop was asked
// for; the frame loop reads that through stop_requested and ends the run
// cleanly. Nothing on Windows, which sends its screensavers no signals.
void catch_stop_signals();

// True once one of those signals has arrived. Always false on Windows, and
// wherever catch_stop_signals was not called.
bool stop_requested();

// POSIX only: from now on SIGUSR1 is ignored. xsecurelock sends it to its
// saver whenever its password box closes (a hint to start over), and its
// default action would end the process.
void ignore_locker_signals();

// --- Presses anywhere (full-screen runs) ---------------------------------------

// From now on notes every key press and mouse-button press on the whole
// display, whichever window has the input focus, before our window exists
// as after (X11: XInput2 raw events on the root window; Windows: raw input
// to a message-only window of our own). Wheel turns (X11 buttons 4 to 7)
// and pointer moves are not noted. False where the system offers no such
// input (no display, an X server without XInput 2.1): then only the
// window's own events end the run.
bool watch_presses();

// True once a press was noted since watch_presses; reads what has arrived
// without waiting. Always false where watch_presses was not called or failed.
bool press_noted();

// --- The display's rest (full-screen runs) ----------------------------------------

// Windows: drops this thread's request to keep the display on, which the
// windowing library makes each time a full-screen window takes a monitor
// (SetThreadExecutionState(ES_CONTINUOUS)): the power plan turns the
// display off while the saver runs, as it would without it. Elsewhere
// nothing.
void release_display_request();

// X11: notes the server's screen-saver settings (timeout, interval,
// blanking, exposures), which the library zeroes for a full-screen window,
// and from now on puts them back however the process ends: a return from
// main, exit_process, end_process_now, or Xlib ending it when the server
// drops the library's connection. Call before the first full-screen window
// exists; later calls change nothing. Windows: nothing to note.
void keep_screen_saver_settings();

// Starts following what the three queries below read, for the saver's
// first window:
// Windows: `window` is its HWND, registered for the console display state,
// the power source and session changes; X11: `connection` is the library's
// Display*, on which the DPMS state is read. Once only.
void watch_rest(std::uintptr_t window, void* connection);

// Whether every display is dark: the DPMS power level on X11 (false on a
// server without DPMS or with it disabled), the console display state on
// Windows. One round trip on X11.
bool displays_dark();

// Windows: the session is locked or disconnected from its console or
// remote client. False elsewhere.
bool nobody_looks();

// Linux: no online mains or USB supply and a discharging battery under
// /sys/class/power_supply; Windows: on battery or in battery saver. False
// on a machine without a battery.
bool on_battery();

// --- Time ----------------------------------------------------------------------

// Sleeps about `seconds` (nothing for 0 or less) without using the
// processor. A signal may end it early.
void sleep_seconds(double seconds);

// --- Preview host window -----------------------------------------------------
// `host` is an HWND on Windows and an X11 window id elsewhere.

// Client area size of the host in pixels; false (and 0 x 0) when the host is
// gone or unreadable.
bool host_client_size(std::uintptr_t host, int* width, int* height);

// True while the host exists and accepts input (IsWindowEnabled). A vanished
// host gives false, never a crash.
bool host_is_enabled(std::uintptr_t host);

} // namespace platform
