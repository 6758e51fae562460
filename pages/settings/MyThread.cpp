#include "pages/settings/MyThread.h"

#include <QLoggingCategory>

namespace {
Q_LOGGING_CATEGORY(screenThread, "kestro.screenthread", QtWarningMsg)
}

void MyThread::run()
{
    while (!isInterruptionRequested()) {
        qCDebug(screenThread) << "Thread is running";
        // Gives the processor back between rounds: the thread has nothing of its own to do.
        QThread::yieldCurrentThread();
    }
}
