#include "app/scene_clock.h"

#include <cmath>

double SceneClock::advance_if_due(double scene_time)
{
    if (!(scene_time >= threshold))
        return 0.0;
    // The fewest steps that bring the time below the threshold; it then
    // lies in [threshold - step, threshold).
    double moved = (std::floor((scene_time - threshold) / step) + 1.0) * step;
    // The division may round down across a whole step after a huge jump
    // (bounded: past 2^53 steps adding one changes nothing).
    for (int extra = 0; extra < 2 && scene_time - moved >= threshold; ++extra)
        moved += step;
    offset_ += moved;
    return moved;
}
