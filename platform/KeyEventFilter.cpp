#include "platform/KeyEventFilter.h"

#include "platform/VirtualKeys.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QPointer>

namespace KeyEventFilter {

namespace {

class Filter : public QObject
{
public:
    explicit Filter(QObject* application) : QObject(application) {}

    Sink sink;

protected:
    bool eventFilter(QObject* receiver, QEvent* event) override
    {
        if (event->type() != QEvent::KeyPress && event->type() != QEvent::KeyRelease)
            return false;
        const auto* key = static_cast<const QKeyEvent*>(event);
        const bool passingOn = IsNextStep(receiver, key);
        Remember(receiver, key);
        if (passingOn)
            return false;
        // Keys reach the program's windows only while one of them is active; the check keeps a
        // synthetic event sent to an inactive program out as well.
        if (!QGuiApplication::focusWindow())
            return false;
        const bool press = event->type() == QEvent::KeyPress;
        if (!press && key->isAutoRepeat())
            return false;
        const int code = VirtualKeys::FromKey(key->key(), key->modifiers(), key->nativeScanCode());
        if (code && sink) {
            // A copy: the receiver may stop the filter or start it with another sink.
            const Sink report = sink;
            report(code, VirtualKeys::MessageOf(code, press, key->modifiers()));
        }
        return false;
    }

private:
    // The step an unaccepted key event takes next: from the window to the widget it forwards it
    // to, or from a widget to its parent. The same event object then arrives again.
    bool IsNextStep(const QObject* receiver, const QKeyEvent* key) const
    {
        if (key != last.event || !last.receiver || key->type() != last.type || key->key() != last.key
            || key->nativeScanCode() != last.scanCode || key->timestamp() != last.timestamp
            || key->isAutoRepeat() != last.autoRepeat)
            return false;
        if (last.receiver->isWindowType())
            return !receiver->isWindowType();
        return last.receiver->parent() == receiver;
    }

    void Remember(QObject* receiver, const QKeyEvent* key)
    {
        last = Last{key, receiver, key->type(), key->key(), key->nativeScanCode(), key->timestamp(), key->isAutoRepeat()};
    }

    // The event last seen, to tell its further steps from a new event at the same address.
    struct Last {
        const QKeyEvent* event = nullptr;
        QPointer<QObject> receiver;
        QEvent::Type type = QEvent::None;
        int key = 0;
        quint32 scanCode = 0;
        ulong timestamp = 0;
        bool autoRepeat = false;
    } last;
};

// One filter for the process, made on first use with the application object as its parent; it is
// only taken off the application when stopped, so a sink may stop it while its event is delivered.
QPointer<Filter> TheFilter;
bool IsRunning = false;

} // namespace

void Start(Sink sink)
{
    QCoreApplication* application = QCoreApplication::instance();
    if (!application)
        return;
    if (!TheFilter)
        TheFilter = new Filter(application);
    TheFilter->sink = std::move(sink);
    if (!IsRunning)
        application->installEventFilter(TheFilter);
    IsRunning = true;
}

void Stop()
{
    if (IsRunning && TheFilter && QCoreApplication::instance())
        QCoreApplication::instance()->removeEventFilter(TheFilter);
    IsRunning = false;
}

bool Running()
{
    return IsRunning && TheFilter;
}

} // namespace KeyEventFilter
