#include "app/frame_pacer.h"

namespace {
int frame_rate_cap = 0; // Hz, 0 for none
}

FramePacer::FramePacer(int refresh_rate, double (*read_clock)(), void (*sleep)(double seconds))
    : read_clock_(read_clock), sleep_(sleep)
{
    set_refresh_rate(refresh_rate);
}

int FramePacer::usable_rate(int refresh_rate)
{
    return refresh_rate >= lowest_refresh_rate ? refresh_rate : fallback_refresh_rate;
}

void FramePacer::cap_frame_rate(int most)
{
    frame_rate_cap = most;
}

void FramePacer::set_refresh_rate(int refresh_rate)
{
    refresh_rate_ = refresh_rate;
    const double display_rate = usable_rate(refresh_rate) * margin;
    held_to_cap_ = frame_rate_cap > 0 && frame_rate_cap < display_rate;
    period_ = 1.0 / (held_to_cap_ ? frame_rate_cap : display_rate);
}

void FramePacer::swap_begins()
{
    swap_began_ = read_clock_();
}

void FramePacer::swap_ended()
{
    const double now = read_clock_();
    last_now_ = now;
    if (swap_began_ >= 0.0 && now - swap_began_ >= waited_share * period_)
        swaps_since_wait_ = 0;
    else if (swaps_since_wait_ < trusted_swaps)
        ++swaps_since_wait_;
    swap_began_ = -1.0;
    // A swap that waited for the blank returns at the blank, a whole period
    // after the one before: what is left until the deadline is the blank's
    // own jitter, and sleeping it would only risk the next blank (a coarse
    // sleep, 15.6 ms steps on Windows, overshoots it). A longer wait left
    // means the swap waited for something else (the drawing itself, a busy
    // machine) and the deadline holds.
    // Held to a cap below the display's rate, the blank alone paces nothing.
    const bool display_paces =
        !held_to_cap_ && swaps_since_wait_ < trusted_swaps && deadline_ - now < waited_share * period_;
    if (started_ && now < deadline_) {
        // The next deadline follows this one, not the end of the wait: a
        // sleep that overshoots a little is made up by the next frame, and
        // a wait left to the display keeps the row, so frames that come
        // early without a blank behind them cannot outrun it.
        next_frame_time_ = display_paces ? now : deadline_;
        deadline_ += period_;
        return;
    }
    started_ = true;
    next_frame_time_ = now;
    deadline_ = now + period_;
}

void FramePacer::wait_for_deadline()
{
    swap_ended();
    if (next_frame_time_ > last_now_)
        sleep_(next_frame_time_ - last_now_);
}
