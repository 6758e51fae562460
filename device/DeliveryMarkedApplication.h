#pragma once
#include <QEvent>
#include <QObject>

// The device threads reach the pages only through signals: queued ones carry copies to the GUI
// thread, blocking ones let the GUI thread read the emitter's own argument while the emitter waits.
// Qt orders both with its own locks, which ThreadSanitizer cannot see, so it would report every
// hand-over as a race. Under ThreadSanitizer the application marks that order on every signal and
// every event; in other builds the marks are empty and cost nothing.
namespace DeliveryMarks {
void Publish();
void Consume();
void Install();
} // namespace DeliveryMarks

template <typename Application>
class DeliveryMarkedApplication : public Application
{
public:
    DeliveryMarkedApplication(int& argc, char** argv) : Application(argc, argv) { DeliveryMarks::Install(); }

    bool notify(QObject* receiver, QEvent* event) override
    {
        DeliveryMarks::Consume();
        const bool handled = Application::notify(receiver, event);
        DeliveryMarks::Publish();
        return handled;
    }
};
