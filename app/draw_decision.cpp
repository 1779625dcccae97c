#include "app/draw_decision.h"

#include "app/software_renderer.h"

namespace {

// The lower of two caps, where 0 stands for none.
int lower_cap(int a, int b)
{
    if (a == 0 || b == 0)
        return a + b;
    return a < b ? a : b;
}

} // namespace

DrawDecision decide_drawing(const RestState& state)
{
    DrawDecision decision;
    decision.draw = !state.displays_dark && !state.nobody_looks;
    if (state.on_battery)
        decision.frame_rate_cap = battery_frame_rate;
    if (state.software_renderer)
        decision.frame_rate_cap = lower_cap(decision.frame_rate_cap, software_frame_rate);
    return decision;
}
