#pragma once
#include <QEvent>
#include <QObject>

#if defined(__SANITIZE_THREAD__)
#include <sanitizer/tsan_interface.h>
#endif

// The device threads reach the pages only through signals: queued ones carry copies to the GUI
// thread, blocking ones let the GUI thread read the emitter's own argument while the emitter waits.
// Qt's event queue and wait are invisible to ThreadSanitizer, which would take both for races. Under
// ThreadSanitizer the marks below state the order Qt gives; otherwise they are empty.
namespace CrossThread {
#if defined(__SANITIZE_THREAD__)
inline char token;
inline void Publish() { __tsan_release(&token); }
inline void Consume() { __tsan_acquire(&token); }
#else
inline void Publish() {}
inline void Consume() {}
#endif
} // namespace CrossThread

// Emits a signal (queued or blocking) from a device thread, or posts work to the GUI thread.
template <typename Emit>
void EmitFromDeviceThread(Emit emitSignal)
{
    CrossThread::Publish();
    emitSignal();
    CrossThread::Consume();
}

// The application object: each event is delivered after what its sender published, and its
// handlers are done before Qt lets a waiting sender go on.
template <typename Application>
class BlockingDeliveryAware : public Application
{
public:
    using Application::Application;
    bool notify(QObject* receiver, QEvent* event) override
    {
        CrossThread::Consume();
        const bool handled = Application::notify(receiver, event);
        CrossThread::Publish();
        return handled;
    }
};
