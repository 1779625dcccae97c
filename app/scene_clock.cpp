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

double SceneClock::skip_pause(double library_time)
{
    double skipped = 0.0;
    if (seen_frame_) {
        const double interval = library_time - last_frame_;
        if (interval > longest_frame) {
            skipped = interval - frame_period_;
            offset_ += skipped;
        } else if (interval > 0.0) {
            frame_period_ = interval;
        }
    }
    seen_frame_ = true;
    last_frame_ = library_time;
    return skipped;
}
