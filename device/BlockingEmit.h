#pragma once
#include <QEvent>
#include <QObject>

#if defined(__SANITIZE_THREAD__)
#include <sanitizer/tsan_interface.h>
#endif

// The device side hands records to the pages over blocking queued connections: the emitting thread
// waits until the GUI thread has run every slot with the emitter's own argument. Qt's wait is
// invisible to ThreadSanitizer, which would take the emitter's next use of that memory for a race.
// Under ThreadSanitizer the two calls below mark the order that Qt's wait gives; otherwise they are
// empty.

namespace BlockingDelivery {
#if defined(__SANITIZE_THREAD__)
inline char token;
inline void Done() { __tsan_release(&token); }
inline void Returned() { __tsan_acquire(&token); }
#else
inline void Done() {}
inline void Returned() {}
#endif
} // namespace BlockingDelivery

// Emits a signal connected with Qt::BlockingQueuedConnection from a device thread.
template <typename Emit>
void EmitBlocking(Emit emitSignal)
{
    emitSignal();
    BlockingDelivery::Returned();
}

// The application object: every event, a blocking delivery included, is marked done after its
// handlers ran and before Qt lets the waiting thread go on.
template <typename Application>
class BlockingDeliveryAware : public Application
{
public:
    using Application::Application;
    bool notify(QObject* receiver, QEvent* event) override
    {
        const bool handled = Application::notify(receiver, event);
        BlockingDelivery::Done();
        return handled;
    }
};
