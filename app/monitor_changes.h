// How the views follow the monitors: in full-screen runs each monitor
// keeps a view of its own whatever happens to the layout (see
// app/monitor_windows.h); a preview's or a hack's window is only paced by
// the monitor under it.
#pragma once

struct GLFWwindow;

// From now on the library's monitor events are noted for follow_monitors.
void watch_monitors();

// The refresh rate in Hz of the monitor that holds most of `window`; 0
// when none does or its rate is unknown.
int rate_of_monitor_under(GLFWwindow* window);

// Full-screen runs: follows what the library's events and a look at the
// monitors four times a second show. A view whose monitor went away goes (its
// window and buffers are destroyed); a monitor without a view gets one,
// its first particles starting at `scene_time` seconds; a window whose
// monitor moved or changed its mode is moved and sized to the new
// rectangle. Every view is paced by its monitor's rate. True when the list
// of views changed (every_batch then changed too).
bool follow_monitors(float scene_time);

// Preview and hack windows: paces the window by the monitor that holds
// most of it, looked at four times a second.
void follow_monitor_under_window();

