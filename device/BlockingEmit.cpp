#include "device/BlockingEmit.h"

#if defined(__SANITIZE_THREAD__)
#include <QCoreApplication>
#include <QMetaObject>
#include <QThread>
#include <sanitizer/tsan_interface.h>

namespace {
char fenceToken;
}

void BlockingEmitFence()
{
    QCoreApplication* application = QCoreApplication::instance();
    if (!application || QThread::currentThread() == application->thread())
        return;
    // Runs after the slots of the emit just made: they were queued before it.
    QMetaObject::invokeMethod(application, [] { __tsan_release(&fenceToken); }, Qt::BlockingQueuedConnection);
    __tsan_acquire(&fenceToken);
}
#else
void BlockingEmitFence() {}
#endif
