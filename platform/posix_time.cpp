// Sleeping, for the frame loop's pacing.
#include "platform/platform.h"

#include <ctime>

namespace platform {

void sleep_seconds(double seconds)
{
    if (!(seconds > 0.0))
        return;
    timespec wait{};
    wait.tv_sec = static_cast<time_t>(seconds);
    wait.tv_nsec = static_cast<long>((seconds - static_cast<double>(wait.tv_sec)) * 1e9);
    // A signal cuts the sleep short and the loop goes on at once, so that a
    // termination request is seen without waiting out the frame.
    nanosleep(&wait, nullptr);
}

} // namespace platform
