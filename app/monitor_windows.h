// Full-screen runs cover every monitor. The primary monitor keeps SaverApp's
// display window; every other monitor gets a full-screen window of its own
// at its current mode, whose GL context shares the primary's objects (the
// programs, the snow texture, the background), with nine particle batches
// of its own and its own size. With a single monitor nothing here creates a
// window, a context or a buffer, and the frame is drawn as before.
#pragma once

struct GLFWmonitor;
struct GLFWwindow;
class SnowflakeBatch;

// `monitor`'s current refresh rate in Hz; 0 when the system does not know
// it (Xvfb and Wine report 0) or there is no monitor.
int current_refresh_rate(GLFWmonitor* monitor);

// Asks the next full-screen window for `monitor`'s current refresh rate.
// Left to choose, the library takes the highest rate the size offers and
// switches the display mode to it.
void hint_current_refresh_rate(GLFWmonitor* monitor);

// Opens a window on every monitor but the primary, once the primary's
// window and GL state exist. A monitor whose window or context cannot be
// made is left out with a note; the others run. Leaves the primary's
// context current.
void open_monitor_windows(GLFWwindow* primary);

// How many windows open_monitor_windows opened.
int monitor_window_count();

// After set_up_scene: nine batches for each further monitor, placed after
// the primary's, so the primary's first population is the same with any
// number of monitors.
void set_up_monitor_snowfalls();

// Every drawn monitor's batches in one list, nine per monitor, the
// primary's (the scene's own) first: what the respawn pass walks.
SnowflakeBatch* const* every_batch();
int every_batch_count();

// Frame hooks over that list. reupload_any_batch sends what changed in entry
// `batch` to its buffer. draw_every_monitor draws the frame at `time` seconds in each
// further window and presents it there (swap interval 0), then draws the
// primary's frame into its back buffer, for the frame loop to present with
// its own, vertical-blank-paced swap.
void reupload_any_batch(int batch);
void draw_every_monitor(float time);

// True when Escape is down in a further window or one was asked to close.
bool monitor_window_asks_to_end();
