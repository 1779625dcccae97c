// Sleeping, for the frame loop's pacing. Sleep() counts in the system
// timer's ticks (15.6 ms unless someone raised the rate), too coarse for a
// 60 Hz frame; a high-resolution waitable timer (Windows 10 1803 on) is
// not, so it is used where the system has one.
#include "platform/platform.h"

#include <windows.h>

#ifndef CREATE_WAITABLE_TIMER_HIGH_RESOLUTION
#define CREATE_WAITABLE_TIMER_HIGH_RESOLUTION 0x00000002
#endif

namespace platform {

void sleep_seconds(double seconds)
{
    if (!(seconds > 0.0))
        return;
    static HANDLE timer =
        CreateWaitableTimerExW(nullptr, nullptr, CREATE_WAITABLE_TIMER_HIGH_RESOLUTION, TIMER_ALL_ACCESS);
    if (timer) {
        LARGE_INTEGER due;
        due.QuadPart = -static_cast<LONGLONG>(seconds * 1e7); // relative, in 100 ns units
        if (SetWaitableTimer(timer, &due, 0, nullptr, nullptr, FALSE)) {
            WaitForSingleObject(timer, INFINITE);
            return;
        }
    }
    Sleep(static_cast<DWORD>(seconds * 1000.0));
}

} // namespace platform
