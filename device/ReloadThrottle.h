#pragma once
#include <QElapsedTimer>
#include <mutex>

// Time since the last full reload was honoured: a status change asks for one at most every
// 3000 ms. Restarted from the GUI thread and read from the device library's thread.
class ReloadThrottleTimer
{
public:
    // Starts counting as if the last reload had been `ageMs` ago.
    void Restart(qint64 ageMs = 0);
    // True, and restarted, when more than `intervalMs` have passed (or it never started).
    bool RestartIfOlderThan(qint64 intervalMs);

private:
    std::mutex lock;
    QElapsedTimer timer;
    qint64 age = 0;
};

extern ReloadThrottleTimer ReloadThrottle;
