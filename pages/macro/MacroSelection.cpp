// The macro shown follows the macro list's current entry, however it became current: the commands
// act on the entry shown, with the lines of its own file.
#include "pages/macro/Macro.h"

#include "pages/macro/SameMacro.h"
#include "ui_Macro.h"

#include <QApplication>
#include <QEvent>
#include <QTimer>

void Macro::ShowCurrentMacro(bool tellNow)
{
    // Loading is not a change: Save waits for one.
    SetSaveActive(false);
    ui->listWidgetKey->clear();
    QListWidgetItem* entry = ui->listWidgetHong->currentItem();
    if (!entry) {
        shownEntry = nullptr;
        currentMacroFile.clear();
        return;
    }
    if (ReadMacroFile())
        return;
    if (tellNow) {
        faultTold = true;
        ShowMacroNotice(SameMacro::FileFaultKey(readFault));
        return;
    }
    // Not in the middle of the press, the key or the command that changed the entry: a command that
    // passes over an entry on its way (a deletion) says nothing of it.
    QMetaObject::invokeMethod(this, [this, entry] { TellUnloadedEntry(entry); }, Qt::QueuedConnection);
}

void Macro::TellUnloadedEntry(QListWidgetItem* entry)
{
    // The entry is compared, never used: it may be gone.
    if (ui->listWidgetHong->currentItem() != entry || shownEntry == entry || faultTold)
        return;
    // After the list's context menu, whose command may have told already.
    if (QWidget* popup = QApplication::activePopupWidget()) {
        connect(popup, &QObject::destroyed, this, [this, entry] { TellUnloadedEntry(entry); }, Qt::QueuedConnection);
        return;
    }
    // After the press that chose the entry: its click tells, a drag ends first.
    if (QGuiApplication::mouseButtons() != Qt::NoButton) {
        QTimer::singleShot(50, this, [this, entry] { TellUnloadedEntry(entry); });
        return;
    }
    faultTold = true;
    ShowMacroNotice(SameMacro::FileFaultKey(readFault));
}

void Macro::on_listWidgetHong_currentItemChanged(QListWidgetItem*, QListWidgetItem*)
{
    if (listPressed)
        listPressLoaded = true;
    ShowCurrentMacro(false);
}

void Macro::on_listWidgetHong_clicked(const QModelIndex&)
{
    // A press that made its entry current loaded it; a click on the entry shown already reads its
    // file again, dropping what was not saved.
    const bool loaded = listPressed && listPressLoaded;
    listPressed = false;
    listPressLoaded = false;
    if (!loaded)
        ShowCurrentMacro(true);
    else if (!shownEntry && !faultTold && ui->listWidgetHong->currentItem()) {
        faultTold = true;
        ShowMacroNotice(SameMacro::FileFaultKey(readFault));
    }
}

bool Macro::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == ui->listWidgetHong->viewport() && event->type() == QEvent::MouseButtonPress) {
        listPressed = true;
        listPressLoaded = false;
    }
    return QWidget::eventFilter(watched, event);
}
