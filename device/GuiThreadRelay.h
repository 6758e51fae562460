#pragma once
#include <QObject>

#include <functional>

// Carries a call from a device library thread to the GUI thread, where the lists, the pages and the
// runs' states belong. The call runs behind every signal and event posted to the GUI thread before
// it: a result reaches the windows after the progress reported before it. A queued signal without
// arguments announces each call, so that a ThreadSanitizer build sees the hand-over (DeliveryMarks);
// the calls wait in order under a lock. The one relay is made during static initialisation, on the
// main thread.
class GuiThreadRelay : public QObject
{
    Q_OBJECT
public:
    GuiThreadRelay();

    // Runs call on the GUI thread, from any thread (from the GUI thread too: after what waits there).
    static void Post(std::function<void()> call);
    // The relay, living in the GUI thread: a context for timers that belong to what it carried.
    static QObject* Context();

signals:
    void Carry();
};
