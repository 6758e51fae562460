#include "widgets/WaitProcessingEvents.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QEventLoop>
#include <QThread>
#include <QTimer>

void WaitProcessingEvents(int milliseconds)
{
    if (!QCoreApplication::instance()) {
        if (milliseconds > 0)
            QThread::msleep(static_cast<unsigned long>(milliseconds));
        return;
    }
    if (milliseconds <= 0) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 100);
        return;
    }
    const QDeadlineTimer deadline(milliseconds, Qt::PreciseTimer);
    // A nested loop sleeps until an event or the deadline comes, instead of spinning.
    QEventLoop loop;
    QTimer timer;
    timer.setSingleShot(true);
    timer.setTimerType(Qt::PreciseTimer);
    QObject::connect(&timer, &QTimer::timeout, &loop, &QEventLoop::quit);
    timer.start(milliseconds);
    loop.exec(QEventLoop::AllEvents);
    // The loop ends early only when the application is quitting; the rest of the time still
    // passes, with the events handled, so that a caller's "wait, then act" keeps its order.
    while (!deadline.hasExpired()) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        const qint64 left = deadline.remainingTime();
        if (left > 0)
            QThread::msleep(static_cast<unsigned long>(qMin<qint64>(left, 5)));
    }
}
