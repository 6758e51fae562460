#include "device/ReloadThrottle.h"


ReloadThrottleTimer ReloadThrottle;

void ReloadThrottleTimer::Restart(qint64 ageMs)
{
    std::lock_guard<std::mutex> locker(lock);
    timer.start();
    age = ageMs;
}

bool ReloadThrottleTimer::RestartIfOlderThan(qint64 intervalMs)
{
    std::lock_guard<std::mutex> locker(lock);
    if (timer.isValid() && timer.elapsed() + age <= intervalMs)
        return false;
    timer.start();
    age = 0;
    return true;
}
