#include "app/run_plan.h"

RunPlan plan_run(RunMode mode, bool hack)
{
    RunPlan plan;
    const bool full_screen = (mode == RunMode::Saver || mode == RunMode::None) && !hack;
    // A preview's host and a screensaver daemon deal with monitors, the
    // display's power and its screen-saver settings themselves.
    plan.covers_monitors = full_screen;
    plan.rests = full_screen;
    plan.input_ends_run = !hack;
    // A hack drawing into its daemon's window is a preview of that window.
    plan.follows_host = mode == RunMode::Preview;
    return plan;
}
