#pragma once
#include <QThread>

// The receiver screen dialog's worker thread. Nothing starts it; once started, it runs until an
// interruption is requested, so that it can be stopped and waited for.
class MyThread : public QThread
{
public:
    using QThread::QThread;

protected:
    void run() override;
};
