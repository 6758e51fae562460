#include "device/ReloadThrottle.h"

#include <QMutexLocker>

ReloadThrottleTimer ReloadThrottle;

void ReloadThrottleTimer::Restart(qint64 ageMs)
{
    QMutexLocker locker(&lock);
    timer.start();
    age = ageMs;
}

bool ReloadThrottleTimer::RestartIfOlderThan(qint64 intervalMs)
{
    QMutexLocker locker(&lock);
    if (timer.isValid() && timer.elapsed() + age <= intervalMs)
        return false;
    timer.start();
    age = 0;
    return true;
}
