// What the frame loop does in a turn, from what the system says about who
// can see the saver: nothing at all while every display is dark or nobody
// looks at the session, fewer frames on battery and on a software
// renderer. Plain data in, a decision out: no clock, no window.
#pragma once

// What the system said at the latest look (see app/rest_watch.h).
struct RestState {
    bool displays_dark = false;     // every display is in standby, suspend or off
    bool nobody_looks = false;      // the session is locked or disconnected
    bool on_battery = false;        // on battery or in battery saver
    bool software_renderer = false; // the drawing runs on the processor
};

struct DrawDecision {
    bool draw = true;       // draw and swap the views that are due
    int frame_rate_cap = 0; // Hz: most frames a second in every view; 0 for the display's rate
};

// Frames a second on battery: what the software renderer gets too, half a
// common display's rate, still smooth for snow that falls slowly.
constexpr int battery_frame_rate = 30; // Hz

// Seconds the loop waits for events between looks while it draws nothing:
// a key still ends the run at once, and the picture comes back soon after
// the display does.
constexpr double resting_wait = 0.25;

DrawDecision decide_drawing(const RestState& state);
