#include "app/frame_pacer.h"

FramePacer::FramePacer(int refresh_rate, double (*read_clock)(), void (*sleep)(double seconds))
    : read_clock_(read_clock), sleep_(sleep)
{
    const int rate = refresh_rate > 0 ? refresh_rate : fallback_refresh_rate;
    period_ = 1.0 / (rate * margin);
}

void FramePacer::wait_for_deadline()
{
    const double now = read_clock_();
    if (started_ && now < deadline_) {
        sleep_(deadline_ - now);
        // The next deadline follows this one, not the end of the sleep: a
        // sleep that overshoots a little is made up by the next frame.
        deadline_ += period_;
        return;
    }
    started_ = true;
    deadline_ = now + period_;
}
