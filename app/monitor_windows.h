// The views of a run, one per window drawn in (render/view.h): the display
// window's first, the primary view, then in full-screen runs one
// full-screen window on every further monitor, whose GL context shares the
// display window's objects (the programs, the snow texture, the
// background), with nine particle batches of its own and its own size.
// The frame loop, the respawn pass and the input checks walk this one
// list; in full-screen runs it follows the monitors as they come, go and
// change (app/monitor_changes.h). With a single monitor that never changes it holds the display
// window alone, and the frame is drawn as it always was.
#pragma once

struct GLFWmonitor;
struct GLFWwindow;
class SnowflakeBatch;
struct View;

// `monitor`'s current refresh rate in Hz; 0 when the system does not know
// it (Xvfb and Wine report 0) or there is no monitor.
int current_refresh_rate(GLFWmonitor* monitor);

// Asks the next full-screen window for `monitor`'s current refresh rate.
// Left to choose, the library takes the highest rate the size offers and
// switches the display mode to it.
void hint_current_refresh_rate(GLFWmonitor* monitor);

// Makes `window` the first view, drawn into primary_view, covering
// `monitor` (null for a preview's or a hack's window, which is paced by
// the monitor that holds most of it).
void add_display_view(GLFWwindow* window, GLFWmonitor* monitor);

// The first view's window; null while there is none.
GLFWwindow* first_view_window();

// The view drawn into `window`; primary_view for a window that has none
// (the display window before the list knows it).
View& view_of(GLFWwindow* window);

// Opens a window on every monitor but the primary, once the display
// window's view and GL state exist. A monitor whose window or context
// cannot be made is left out with a note; the others run. Leaves the
// display window's context current.
void open_monitor_windows();

// How many views there are besides the first.
int monitor_window_count();

// After set_up_scene: nine batches for each further view, placed after the
// primary's, so the primary's first population is the same with any number
// of monitors.
void set_up_monitor_snowfalls();

// Every view's batches in one list, nine per view in list order: what the
// respawn pass walks. Valid until the list changes.
SnowflakeBatch* const* every_batch();
int every_batch_count();

// Frame hooks over that list. reupload_any_batch sends what changed in
// entry `batch` to its buffer. draw_due_views draws the frame at `time`
// seconds in every view whose pacer lets it and swaps there; only the
// first view's swap waits for the vertical blank (waiting in every window
// would divide the frame rate by the number of monitors).
void reupload_any_batch(int batch);
void draw_due_views(float time);

// From now on every view draws at most `frame_rate_cap` frames a second
// (Hz; 0 for its display's rate), from its next frame on.
void cap_every_view(int frame_rate_cap);

// True when some view may draw a frame now.
bool a_view_is_due();

// Waits until the next frame of some view may begin: a sleep, or with no
// view at all (every monitor gone) a wait for the library's events of at
// most a quarter of a second. Events are processed by the caller.
void wait_for_next_frame();

// True when a view's window was asked to close or, with `escape_ends`,
// Escape is down in one.
bool a_view_asks_to_end(bool escape_ends);
