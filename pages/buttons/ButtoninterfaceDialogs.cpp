// The entries of the function menu that ask before they assign: rapid fire asks for its interval
// and count, the key combination for its keys, the macro category for one of the user's macros.
// Each writes through the page's one assignment path, so the last left click is kept here too.
#include "pages/buttons/Buttoninterface.h"

#include "device/DeviceState.h"
#include "device/MacroBlocks.h"
#include "pages/buttons/FireKey.h"
#include "pages/buttons/GroupKey.h"
#include "pages/buttons/MakeMacro.h"
#include "platform/hidusb/HIDUsb.h"
#include "ui_Buttoninterface.h"

#include <QToolButton>

bool Buttoninterface::HasMacros() const
{
    // The hidden placeholders that keep a short list at the top of its sub-page are no macros.
    for (const QToolButton* button : MacroButtons) {
        if (button->isEnabled())
            return true;
    }
    return false;
}

void Buttoninterface::on_DPI_10_clicked()
{
    if (HasMacros()) {
        ui->stackedWidget_2->setCurrentWidget(ui->page_5);
        return;
    }
    ui->stackedWidget_2->setCurrentWidget(ui->page_9);
    MakeMacro notice;
    PlaceNotice(&notice);
    notice.exec();
}

void Buttoninterface::on_DPI_6_clicked()
{
    // While the page shows a record the dialog may open for an absent mouse; a user's press for one
    // only closes the menu (the write would be refused anyway).
    if (!VidEzorarA_GetDeviceOnLine(CurrentDevicePath) && !ButtonPageRefreshing) {
        CloseFunctionMenu();
        return;
    }
    FireKey dialog;
    const int button = SelectedButton();
    const QToolButton* selector = SelectorOfButton(button);
    // A button that already fires rapidly starts from its own interval and count; any other from
    // the dialog's defaults.
    if (selector && selector->text() == ui->DPI_6->text()) {
        const CopyEntry fire = FunctionAt(button);
        dialog.SetInterval(fire.code);
        dialog.SetCount(fire.parameter);
    } else {
        dialog.SetInterval(10);
        dialog.SetCount(3);
    }
    PlaceNotice(&dialog);
    dialog.exec();
    if (!dialog.IsOk)
        return;
    FireInterval = dialog.FireInterval;
    FireCount = dialog.FireCount;
    on_DPI_6_clicked(true);
}

void Buttoninterface::on_DPI_6_clicked(bool checked)
{
    // A single press gives false (the dialog does the rest); a double click assigns the stored values.
    if (!checked)
        return;
    UncheckAllOptions();
    AssignToSelected(FunctionFireKey, FireInterval, FireCount, ui->DPI_6->text());
    CloseFunctionMenu();
}

void Buttoninterface::on_DPI_8_clicked()
{
    GroupKey dialog;
    PlaceNotice(&dialog);
    dialog.exec();
    if (!dialog.IsOk)
        return;
    // With no selector checked nothing is written, and the menu shows as after an assignment.
    AssignKeyCombination(SelectedButton(), dialog.KeyString);
}

void Buttoninterface::slotButtonClicked(bool checked)
{
    auto* entry = qobject_cast<QToolButton*>(sender());
    if (!checked || !entry)
        return;
    const int button = SelectedButton();
    if (button >= 0) {
        const QString name = entry->text();
        bool ok = false;
        MacroBlocks::FileFault fault = MacroBlocks::FileFault::None;
        // A macro whose file cannot be read, or writes that are off, give no block: nothing is sent.
        const ButtonMacroBlock block = MacroFileToRecord(name, &ok, &fault);
        if (ok) {
            // The copy keeps the whole repeat mode; the device takes its low 8 bits. The macro plays
            // from the button's own slot.
            const int repeatMode = MacroBlocks::RepeatModeNumber(ReadMacroRepeatMode(name));
            AssignToButton(button, FunctionMacro, button, repeatMode, MacroLabel(name), nullptr, &block);
        } else {
            TellMacroRefused(fault);
        }
    }
    CloseFunctionMenu();
}
