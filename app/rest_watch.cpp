#include "app/rest_watch.h"

RestWatch::RestWatch(const RestQueries& queries, bool software_renderer) : queries_(queries)
{
    state_.software_renderer = software_renderer;
}

DrawDecision RestWatch::decide(double now)
{
    if (state_.displays_dark || now >= next_display_look_) {
        state_.displays_dark = queries_.displays_dark();
        next_display_look_ = now + display_look_period;
    }
    state_.nobody_looks = queries_.nobody_looks();
    if (now >= next_power_look_) {
        state_.on_battery = queries_.on_battery();
        next_power_look_ = now + power_look_period;
    }
    return decide_drawing(state_);
}
