// What a full-screen view needs after a look at its monitor: rectangles and
// rates in, an action out (app/monitor_changes.cpp carries it out).
#pragma once

struct Rect {
    int x = 0; // pixels on the virtual desktop
    int y = 0;
    int width = 0;
    int height = 0;
};

inline bool operator==(const Rect& a, const Rect& b)
{
    return a.x == b.x && a.y == b.y && a.width == b.width && a.height == b.height;
}

enum class MonitorUpdate {
    none,   // nothing changed, or the monitor reads as empty for a moment
    repace, // same rectangle, another refresh rate: only the pacer follows
    refit,  // moved or resized: the window is fitted again, the pacer follows
};

// `covered` and `paced_rate` (Hz) are what the view was made for; `now` and
// `rate` (Hz) what the monitor shows now.
MonitorUpdate monitor_update(const Rect& covered, int paced_rate, const Rect& now, int rate);
