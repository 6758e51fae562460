#pragma once
#include "platform/hidusb/SimControl.h"

#include <QCoreApplication>
#include <QElapsedTimer>

// Waits until the simulated devices have delivered everything queued (at most five seconds). Their
// callbacks may wait for the GUI thread in blocking deliveries, so the GUI thread keeps answering.
inline bool SettleDevices()
{
    QElapsedTimer waited;
    waited.start();
    while (!SimControl_WaitIdle(5)) {
        if (waited.elapsed() > 5000)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    }
    QCoreApplication::processEvents();
    return true;
}
