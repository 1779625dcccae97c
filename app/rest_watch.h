// Looks at what the system says about the displays, the session and the
// power source, no more often than each answer can change usefully, and
// turns it into the loop's decision (app/draw_decision.h). The queries and
// the clock are handed in, so a test can drive it.
#pragma once

#include "app/draw_decision.h"

struct GLFWwindow;

// Full-screen runs: from now on the system's queries follow `window` (the
// first view's): its display connection on X11, its messages on Windows.
void watch_rest_of(GLFWwindow* window);

struct RestQueries {
    bool (*displays_dark)(); // a round trip to the X server: asked at most once a second while drawing
    bool (*nobody_looks)();
    bool (*on_battery)();    // reads files: asked every five seconds
};

class RestWatch {
public:
    static constexpr double display_look_period = 1.0; // seconds between looks while drawing
    static constexpr double power_look_period = 5.0;   // seconds between looks at the power source

    RestWatch(const RestQueries& queries, bool software_renderer);

    // The decision at `now` seconds (any steady clock). While the displays
    // are dark every call looks again, so the picture returns at the loop's
    // next wake after they light up.
    DrawDecision decide(double now);

private:
    RestQueries queries_;
    RestState state_;
    double next_display_look_ = 0.0; // seconds
    double next_power_look_ = 0.0;   // seconds
};
