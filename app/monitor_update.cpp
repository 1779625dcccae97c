#include "app/monitor_update.h"

MonitorUpdate monitor_update(const Rect& covered, int paced_rate, const Rect& now, int rate)
{
    if (now.width <= 0 || now.height <= 0)
        return MonitorUpdate::none;
    if (!(now == covered))
        return MonitorUpdate::refit;
    return rate == paced_rate ? MonitorUpdate::none : MonitorUpdate::repace;
}
