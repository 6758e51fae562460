// Editing a macro's event lines and saving them, the macro list's context menu, and the page's own
// key, mouse and language events.
#include "pages/macro/Macro.h"

#include "device/DeviceState.h"
#include "device/MacroBlocks.h"
#include "device/PostMsg.h"
#include "pages/macro/AddDelayTime.h"
#include "pages/macro/KeyNumberLimit.h"
#include "pages/macro/addKey.h"
#include "platform/hidusb/HIDUsb.h"
#include "ui_Macro.h"
#include "widgets/PanelLook.h"
#include "widgets/PlaceOver.h"
#include "widgets/UiText.h"

#include <QCursor>
#include <QKeyEvent>
#include <QListWidgetItem>
#include <QMenu>
#include <QMouseEvent>
#include <QSignalBlocker>

#include <iterator>

namespace {

// The key entry and delay dialogs stand 50 left and 70 up of the page's centre.
constexpr int EntryShiftX = -50;
constexpr int EntryShiftY = -70;

// The insert-event combo's items.
enum InsertItem { InsertNothing, InsertPress, InsertRelease, InsertDelay, InsertFirstButton };
// The mouse-button bits of the combo's items 4 to 8: left, right, middle, forward, back.
constexpr int InsertedButtonBits[] = {0x01, 0x02, 0x04, 0x10, 0x08};

// The key entry dialog's key: empty unless the user chose one with OK.
bool AskKey(QWidget* page, QString* label)
{
    addKey dialog(nullptr);
    PlaceOver(&dialog, page, EntryShiftX, EntryShiftY);
    const int result = dialog.exec();
    if (result != QDialog::Accepted || !dialog.confirmed)
        return false;
    *label = dialog.keyName;
    return true;
}

bool AskDelay(QWidget* page, int* milliseconds)
{
    AddDelayTime dialog(nullptr);
    PlaceOver(&dialog, page, EntryShiftX, EntryShiftY);
    dialog.exec();
    if (!dialog.Confirmed)
        return false;
    *milliseconds = dialog.DelayValue;
    return true;
}

} // namespace

bool Macro::RoomForKeyLines(int added)
{
    int keys = 0;
    for (int row = 0; row < ui->listWidgetKey->count(); ++row)
        keys += IsDelayItem(ui->listWidgetKey->item(row)) ? 0 : 1;
    if (keys + added <= MacroBlocks::EventRoom)
        return true;
    KeyNumberLimit notice(nullptr);
    RunDialog(notice);
    return false;
}

void Macro::on_Amend_clicked()
{
    if (MacroRecording) {
        ExeIsRunNotice(true);
        return;
    }
    QListWidgetItem* item = ui->listWidgetKey->currentItem();
    if (!item)
        return;
    if (IsDelayItem(item)) {
        int milliseconds = 0;
        if (!AskDelay(this, &milliseconds))
            return;
        item->setText(QString::number(milliseconds) + QStringLiteral("ms"));
    } else {
        QString label;
        if (!AskKey(this, &label))
            return;
        // The line stays a press or a release with its icon; it now plays the chosen key, which is
        // what Save writes.
        const MacroFile::Line key = KeyOfLabel(label, item->type() == 0);
        if (key.usage.isEmpty())
            return;
        item->setText(label);
        item->setData(KeyRole, true);
        item->setData(UsageRole, key.usage);
        item->setData(KindRole, key.kind);
    }
    SetSaveActive(true);
}

void Macro::on_ChooseEvent_activated(int index)
{
    if (MacroRecording) {
        ExeIsRunNotice(true);
        return;
    }
    const bool selected = ui->listWidgetHong->currentItem() != nullptr;
    switch (index) {
    case InsertPress:
    case InsertRelease: {
        QString label;
        if (!AskKey(this, &label) || !selected || !RoomForKeyLines(1))
            return;
        eventsChanged = true;
        InsertKeyEvent(label, index == InsertPress);
        SetSaveActive(true);
        return;
    }
    case InsertDelay: {
        int milliseconds = 0;
        if (!AskDelay(this, &milliseconds) || !selected || !ui->listWidgetKey->currentItem())
            return;
        eventsChanged = true;
        InsertDelayEvent(milliseconds);
        SetSaveActive(true);
        return;
    }
    default:
        break;
    }
    if (index < InsertFirstButton || index >= InsertFirstButton + int(std::size(InsertedButtonBits)) || !selected)
        return;
    // A click of a mouse button is its press and its release.
    if (!RoomForKeyLines(2))
        return;
    eventsChanged = true;
    InsertKeyStroke(MouseButtonName(InsertedButtonBits[index - InsertFirstButton]));
    SetSaveActive(true);
}

void Macro::on_DeleteKey_clicked()
{
    if (MacroRecording) {
        ExeIsRunNotice(true);
        return;
    }
    if (!ui->listWidgetHong->currentItem())
        return;
    QListWidget* list = ui->listWidgetKey;
    const int count = list->count();
    // A key line never goes without its delay: a short list goes as a whole.
    if (count < 4) {
        list->clear();
        eventsChanged = true;
        SetSaveActive(true);
        return;
    }
    const int row = list->currentRow();
    if (row < 0)
        return;
    const bool delay = IsDelayItem(list->item(row));
    delete list->takeItem(row);
    // The line that goes with it, counted in the list as it is now: a delay line inside the list
    // takes the line two above it (none at the top); any other line the one above it (the one
    // below it at the top).
    const int above = row > 0 ? row - 1 : 0;
    const int second = delay && row + 1 < count ? above - 1 : above;
    if (second >= 0)
        delete list->takeItem(second);
    eventsChanged = true;
    SetSaveActive(true);
}

void Macro::on_Save_clicked()
{
    if (MacroRecording) {
        ExeIsRunNotice(true);
        return;
    }
    // One Save at a time: the one on its way ends first.
    if (onItsWay)
        return;
    // What is saved is taken now: whatever runs while the button page is told cannot change it.
    const QString name = CurrentMacroName();
    if (name.isEmpty()) {
        SetSaveActive(false);
        return;
    }
    const QStringList lines = EventLines();
    const QString repeatLine = QString::number(RepeatMode());
    const QList<int> buttons = ButtonsPlayingMacro(name);
    if (buttons.isEmpty() || (!eventsChanged && !repeatModeChanged)) {
        SaveToFile(name, repeatLine, lines);
        return;
    }
    // The mouse would keep the older macro and give it back to the file at its next read: the
    // mouse takes the macro first, and the file is written after. The editor keeps everything for
    // a further Save when the mouse cannot take it.
    if (!MayChangeMacroOnMouse())
        return;
    onItsWay.reset(new SaveOnItsWay);
    SaveOnItsWay& save = *onItsWay;
    save.name = name;
    save.repeatLine = repeatLine;
    save.lines = lines;
    save.block = MacroBlocks::MacroTextToBlock(name, MacroFile::FileText(repeatLine, lines));
    save.repeatByte = MacroBlocks::RepeatModeByte(repeatLine);
    save.buttons = buttons;
    // The flags go with this Save: a change made while it is on its way belongs to the next one.
    save.events = eventsChanged;
    save.repeat = repeatModeChanged;
    eventsChanged = false;
    repeatModeChanged = false;
    SetSaveActive(false);
    HoldCommandsForSave(true);
    // The button page waits, then asks for the macro for each button it shows playing it.
    if (save.events)
        emit PostMsg::Instance()->SigUpDataMacro(name, 0);
    // The buttons it did not ask for, and a change of the repeat mode alone, are sent now.
    SendSaveOnItsWay();
    EndSaveOnItsWay();
}

void Macro::SaveToFile(const QString& name, const QString& repeatLine, const QStringList& lines)
{
    if (!WriteMacroFile(name, repeatLine, lines)) {
        ShowMacroNotice(QStringLiteral("DialogMacroFileFailed"));
        return;
    }
    SetSaveActive(false);
    // The flags are cleared before the button page is told: a change made while it sends the
    // macro to the mouse belongs to the next Save.
    const bool events = eventsChanged;
    const bool repeat = repeatModeChanged;
    eventsChanged = false;
    repeatModeChanged = false;
    if (events)
        emit PostMsg::Instance()->SigUpDataMacro(name, 0);
    if (repeat)
        emit PostMsg::Instance()->SigUpDataMacro(name, 1);
}

bool Macro::MayChangeMacroOnMouse()
{
    if (!UserWritesEnabled || !VidEzorarA_GetDeviceOnLine(CurrentDevicePath)) {
        emit PostMsg::Instance()->SigMouseOffLineo(0);
        return false;
    }
    // It answers, but its record is still being read back after it came.
    if (!MouseTakesMacros()) {
        ShowMacroNotice(QStringLiteral("DialogMacroNotTaken"));
        return false;
    }
    return true;
}

void Macro::EndSaveOnItsWay()
{
    const std::unique_ptr<SaveOnItsWay> save = std::move(onItsWay);
    HoldCommandsForSave(false);
    // A quit saw to it already.
    if (!save || save->ended)
        return;
    const bool written = save->taken && WriteMacroFile(save->name, save->repeatLine, save->lines);
    if (!written) {
        // The editor keeps the lines for a further Save. Not taken, the file and the mouse keep the
        // older macro; taken but not written, the mouse's copy reaches the file at its next read.
        eventsChanged = eventsChanged || save->events;
        repeatModeChanged = repeatModeChanged || save->repeat;
        SetSaveActive(true);
        ShowMacroNotice(save->taken ? QStringLiteral("DialogMacroFileNotKept") : QStringLiteral("DialogMacroNotTaken"));
        return;
    }
    // The button page follows the repeat mode the mouse took.
    if (save->repeat)
        emit PostMsg::Instance()->SigUpDataMacro(save->name, 1);
}

void Macro::HoldCommandsForSave(bool hold)
{
    for (QWidget* widget : {static_cast<QWidget*>(ui->listWidgetHong), static_cast<QWidget*>(ui->NewHong),
                            static_cast<QWidget*>(ui->DeleteHong), static_cast<QWidget*>(ui->StartRecord)})
        widget->setEnabled(!hold);
}

void Macro::on_listWidgetKey_itemChanged(QListWidgetItem*)
{
    eventsChanged = true;
}

void Macro::on_NumberEdit_valueChanged(int)
{
    repeatModeChanged = true;
    SetSaveActive(true);
}

void Macro::on_DelayTime_valueChanged(int arg1)
{
    // A delay line holds at most 16 bits.
    if (arg1 >= 65535)
        ui->DelayTime->setValue(65535);
}

void Macro::on_listWidgetHong_customContextMenuRequested(const QPoint& pos)
{
    if (MacroRecording) {
        ExeIsRunNotice(true);
        return;
    }
    QMenu menu(this);
    menu.setFont(ui->listWidgetHong->font());
    // The page's dark list colours: Qt's plain menu would show white on the dark page.
    menu.setStyleSheet(PanelLook::MenuStyle());
    if (ui->listWidgetHong->itemAt(pos)) {
        connect(menu.addAction(MenuText(QStringLiteral("MacroExport"))), &QAction::triggered, this, &Macro::ExPortMacro);
        connect(menu.addAction(MenuText(QStringLiteral("Rename"))), &QAction::triggered, this, &Macro::RenameMacro);
        connect(menu.addAction(MenuText(QStringLiteral("Delete"))), &QAction::triggered, this, &Macro::DeleteMacro);
    } else {
        connect(menu.addAction(MenuText(QStringLiteral("NewMacro"))), &QAction::triggered, this, &Macro::CreateMewMacro);
        connect(menu.addAction(MenuText(QStringLiteral("MacroImport"))), &QAction::triggered, this, &Macro::InPortMacro);
    }
    menu.exec(QCursor::pos());
}

void Macro::on_AutoInsertDelay_released() {}
void Macro::on_NumberEdit_editingFinished() {}
void Macro::on_ReNumber_released() {}
void Macro::on_ReUntilClick_released() {}
void Macro::on_ReUntilLoose_released() {}

void Macro::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape || event->key() == Qt::Key_F12)
        return;
    QWidget::keyPressEvent(event);
}

void Macro::mousePressEvent(QMouseEvent* event)
{
    const auto inside = [this, event](QWidget* box) {
        return QRect(box->mapTo(this, QPoint(0, 0)), box->size()).contains(event->pos());
    };
    if (!inside(ui->DelayTime) && !inside(ui->NumberEdit)) {
        ui->DelayTime->clearFocus();
        ui->NumberEdit->clearFocus();
        setFocus(Qt::OtherFocusReason);
    }
    QWidget::mousePressEvent(event);
}

void Macro::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange) {
        const int choice = ui->ChooseEvent->currentIndex();
        const int delay = ui->DelayTime->value();
        const int count = ui->NumberEdit->value();
        {
            const QSignalBlocker choiceBlocker(ui->ChooseEvent);
            const QSignalBlocker delayBlocker(ui->DelayTime);
            const QSignalBlocker countBlocker(ui->NumberEdit);
            ui->retranslateUi(this);
            ui->ChooseEvent->setCurrentIndex(choice);
            ui->DelayTime->setValue(delay);
            ui->NumberEdit->setValue(count);
        }
        // The form's own texts are only its defaults: the page shows its language's.
        SlotAllLanguage(UiLanguage);
    }
    QWidget::changeEvent(event);
}
