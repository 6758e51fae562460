// Recording keys into the event list: start, stop, each key the recorder's hook reports, and the
// limit of the key events a button can play.
#include "pages/macro/Macro.h"

#include "device/KeyNames.h"
#include "device/MacroBlocks.h"
#include "device/PostMsg.h"
#include "pages/macro/KeyNumberLimit.h"
#include "ui_Macro.h"
#include "widgets/KeyboardHook.h"

#include <QElapsedTimer>
#include <QEvent>
#include <QWindow>

bool MacroRecording = false;

namespace {

// Keys typed during a recording are data, not commands: Space must not press the focused button,
// Enter must not confirm anything and Escape must not close the window. The guard sits on the
// device window's native window, where every key typed into it arrives first; the recorder's key
// filter sits on the application, so it has seen each key before the guard drops it.
class RecordingKeyGuard : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() != QEvent::KeyPress && event->type() != QEvent::KeyRelease)
            return QObject::eventFilter(watched, event);
        event->accept();
        return true;
    }
};

} // namespace

qint64 Macro::RecordingNow() const
{
    if (recordingClock)
        return recordingClock();
    static QElapsedTimer monotonic;
    if (!monotonic.isValid())
        monotonic.start();
    return monotonic.elapsed();
}

void Macro::on_StartRecord_clicked()
{
    if (ui->listWidgetHong->currentRow() < 0) {
        ExeIsRunNotice(false);
        return;
    }
    for (QWidget* box : {ui->AutoInsertDelay, ui->DefaultDelay, ui->ReUntilLoose, ui->ReUntilClick, ui->ReUntil,
                         ui->ReNumber})
        box->setEnabled(false);
    emit PostMsg::Instance()->SigStartRecord(0);
    recordedKeyCount = 0;
    ui->ChooseEvent->setEnabled(false);
    eventsChanged = true;

    keyboardHook->InstallKeyboardHook();
    keyboardHook->SetCallback([this](int keyCode, bool downOrUp, bool aotu) { UpdateCapslockTip(keyCode, downOrUp, aotu); });
    if (QWindow* window = this->window()->windowHandle()) {
        if (!keyGuard)
            keyGuard = new RecordingKeyGuard(this);
        if (guardedWindow && guardedWindow != window)
            guardedWindow->removeEventFilter(keyGuard);
        window->installEventFilter(keyGuard);
        guardedWindow = window;
    }

    ui->StartRecord->hide();
    ui->StopRecord->show();
    MacroRecording = true;
    recordingKey = true;
    // A recording replaces every event of the macro on screen.
    ui->listWidgetKey->clear();
    ui->DelayTime->setEnabled(false);
    ui->NumberEdit->setEnabled(false);
    ui->listWidgetHong->setEnabled(false);
    keysDown.clear();
}

void Macro::on_StopRecord_clicked()
{
    EndRecording();
    // Whether or not anything was recorded: starting emptied the list, and a save sends that too.
    SetSaveActive(true);
}

void Macro::EndRecording()
{
    for (QWidget* box : {ui->AutoInsertDelay, ui->DefaultDelay, ui->ReUntilLoose, ui->ReUntilClick, ui->ReUntil,
                         ui->ReNumber})
        box->setEnabled(true);
    emit PostMsg::Instance()->SigStartRecord(1);
    keyboardHook->RemoveKeyboardHook();
    if (guardedWindow)
        guardedWindow->removeEventFilter(keyGuard);
    guardedWindow = nullptr;
    recordedKeyCount = 0;
    ui->StopRecord->hide();
    ui->StartRecord->show();
    ui->DelayTime->setEnabled(true);
    ui->NumberEdit->setEnabled(true);
    ui->listWidgetHong->setEnabled(true);
    MacroRecording = false;
    ui->ChooseEvent->setEnabled(true);
    keysDown.clear();
}

void Macro::UpdateCapslockTip(int keyCode, bool downOrUp, bool aotu)
{
    Q_UNUSED(aotu)
    if (!MacroRecording) {
        keyTimerStart = RecordingNow();
        return;
    }

    // One key line for each press and each release: a key-down of a key that is down already is
    // the keyboard repeating it, and a key-up of a key that is not down (held before the
    // recording began) would be a release without its press.
    if (downOrUp) {
        if (keysDown.contains(keyCode))
            return;
        keysDown.insert(keyCode);
    } else if (!keysDown.remove(keyCode)) {
        return;
    }

    const qint64 now = RecordingNow();
    if (recordingKey) {
        recordingKey = false;
    } else {
        const qint64 delay = ui->AutoInsertDelay->isChecked() ? now - keyTimerStart : ui->DelayTime->value();
        AppendDelayEvent(double(delay));
    }
    keyTimerStart = now;

    bool known = false;
    const QString label = KeyNames::VirtualKeyToKeyName(keyCode, &known);
    if (!known) {
        // The delay before it stays; the next key gets none.
        recordingKey = true;
        return;
    }
    const int before = ui->listWidgetKey->count();
    AppendKeyEvent(label, downOrUp);
    if (ui->listWidgetKey->count() == before)
        return;
    if (++recordedKeyCount < MacroBlocks::EventRoom)
        return;

    // A button plays no more key events. The hook goes at once, so no later key arrives; the
    // notice waits until this key event has been delivered, for a modal loop inside the key
    // filter would hand the event to whatever has the focus once the notice closes. The recording
    // layout, and the guard with it, stays until the user stops; the lines are complete, so they
    // may be saved before that.
    MacroRecording = false;
    recordedKeyCount = 0;
    keyboardHook->RemoveKeyboardHook();
    SetSaveActive(true);
    QMetaObject::invokeMethod(
        this,
        [this] {
            KeyNumberLimit notice(nullptr);
            RunDialog(notice);
        },
        Qt::QueuedConnection);
}
