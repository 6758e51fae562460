// Creating, renaming and deleting macros, and the page's dialogs.
#include "pages/macro/Macro.h"

#include "device/DeviceState.h"
#include "device/MacroBlocks.h"
#include "device/PostMsg.h"
#include "pages/macro/DeleteConfirm.h"
#include "pages/macro/ExeIsRun.h"
#include "pages/macro/QuestionDialog.h"
#include "pages/macro/SameMacro.h"
#include "platform/WholeFileWrite.h"
#include "ui_Macro.h"
#include "widgets/PlaceOver.h"

#include <QFile>
#include <QFileInfo>

namespace {

const QString SameNameKey = QStringLiteral("DialogSameMacroName");
const QString NameRefusedKey = QStringLiteral("DialogMacroNameRefused");
const QString FileFailedKey = QStringLiteral("DialogMacroFileFailed");
const QString NotTakenKey = QStringLiteral("DialogMacroNotTaken");

// Whether anything at all stands under the macro's file name (a dangling link included).
bool FileNameTaken(const QString& path)
{
    const QFileInfo info(path);
    return info.exists() || info.isSymLink();
}

} // namespace

void Macro::RunDialog(QDialog& dialog)
{
    const QPoint page = mapToGlobal(QPoint(0, 0));
    dialog.move(page.x() + (width() - dialog.width()) / 2 - 100, page.y() + (height() - dialog.height()) / 2 - 50);
    dialog.exec();
}

void Macro::ShowMacroNotice(const QString& textKey, QWidget* window)
{
    SameMacro notice(nullptr);
    notice.SetMessageKey(textKey);
    if (!window) {
        RunDialog(notice);
        return;
    }
    // Over the program's window, as its own notices stand: the page may not be showing.
    PlaceOver(&notice, window, 0, -20);
    notice.exec();
}

void Macro::ExeIsRunNotice(bool stopRecording)
{
    ExeIsRun notice(nullptr);
    if (stopRecording)
        notice.ShowStopRecordFirst();
    else
        notice.ShowSelectMacroFirst();
    RunDialog(notice);
}

QString Macro::AskMacroName(int mode)
{
    QuestionDialog dialog(nullptr);
    dialog.SetMode(mode);
    RunDialog(dialog);
    return dialog.EnteredName;
}

bool Macro::CreateMacro(const QString& name)
{
    if (name.isEmpty())
        return false;
    if (!IsNewMacroNameAllowed(name)) {
        ShowMacroNotice(NameRefusedKey);
        return false;
    }
    if (!ui->listWidgetHong->findItems(name, Qt::MatchExactly | Qt::MatchCaseSensitive).isEmpty()
        || FileNameTaken(MacroBlocks::MacroFilePath(name))) {
        ShowMacroNotice(SameNameKey);
        return false;
    }
    // The file first: an entry always names a file that exists.
    if (!CreateMacroFile(name)) {
        ShowMacroNotice(FileFailedKey);
        return false;
    }
    ui->listWidgetHong->addItem(name);
    ui->listWidgetHong->setCurrentRow(ui->listWidgetHong->count() - 1);
    currentMacroFile = MacroBlocks::MacroFilePath(name);
    ui->listWidgetKey->clear();
    ui->ReNumber->setChecked(true);
    ui->NumberEdit->setValue(1);
    return true;
}

bool Macro::RenameCurrentMacro(const QString& newName)
{
    QListWidgetItem* entry = ui->listWidgetHong->currentItem();
    if (!entry || newName.isEmpty() || onItsWay)
        return false;
    if (!IsNewMacroNameAllowed(newName)) {
        ShowMacroNotice(NameRefusedKey);
        return false;
    }
    const QString newPath = MacroBlocks::MacroFilePath(newName);
    if (!ui->listWidgetHong->findItems(newName, Qt::MatchExactly | Qt::MatchCaseSensitive).isEmpty()
        || FileNameTaken(newPath)) {
        ShowMacroNotice(SameNameKey);
        return false;
    }
    const QString oldName = entry->text();
    const QString oldPath = MacroBlocks::MacroFilePath(oldName);
    QByteArray text;
    if (oldPath.isEmpty() || MacroBlocks::ReadMacroFileText(oldName, &text) != MacroBlocks::FileFault::None) {
        ShowMacroNotice(FileFailedKey);
        return false;
    }
    // Buttons that play it are renamed on the mouse first: a mouse that kept the old name would
    // give the old macro back at its next read.
    const QList<int> buttons = ButtonsPlayingMacro(oldName);
    if (!buttons.isEmpty()) {
        if (!MayChangeMacroOnMouse())
            return false;
        if (!SendToButtons(buttons, [&newName](ButtonFunction&, ButtonMacroBlock& block) {
                MacroBlocks::SetBlockName(block, newName);
            })) {
            ShowMacroNotice(NotTakenKey);
            return false;
        }
    }
    // The list and the button page follow the file, never the other way round. The file is
    // written anew under its new name, then the old one goes.
    if (!WriteWholeFile(newPath, text) || !QFile::remove(oldPath)) {
        QFile::remove(newPath);
        ShowMacroNotice(FileFailedKey);
        // The mouse gets the old name back; a mouse that does not keeps the new one, and the
        // button page labels its buttons so.
        if (!SendToButtons(buttons, [&oldName](ButtonFunction&, ButtonMacroBlock& block) {
                MacroBlocks::SetBlockName(block, oldName);
            }))
            emit PostMsg::Instance()->SigMacroRename(oldName, newName);
        return false;
    }
    entry->setText(newName);
    currentMacroFile = newPath;
    emit PostMsg::Instance()->SigMacroRename(oldName, newName);
    return true;
}

bool Macro::DeleteCurrentMacro()
{
    const int row = ui->listWidgetHong->currentRow();
    if (row < 0 || onItsWay)
        return false;
    const QString name = ui->listWidgetHong->item(row)->text();
    const QString path = MacroBlocks::MacroFilePath(name);
    // Buttons that play it get their default functions on the mouse first: a mouse that kept the
    // macro would give it back as a file at its next read. The working copy shows what the button
    // page wrote, sent once more so that the mouse is known to hold it.
    const bool onTheMouse = !ButtonsPlayingMacro(name).isEmpty();
    if (onTheMouse) {
        if (!MayChangeMacroOnMouse())
            return false;
        emit PostMsg::Instance()->SigDeleteMacroButton(macroLabelPrefix + name);
        if (!ButtonsPlayingMacro(name).isEmpty() || !MouseTakesMacros()
            || !PushDeviceConfigCopy(DeviceConfigForPush())) {
            ShowMacroNotice(NotTakenKey);
            return false;
        }
    }
    // An entry whose file is gone already is taken out all the same.
    if (!path.isEmpty() && FileNameTaken(path) && !QFile::remove(path)) {
        ShowMacroNotice(FileFailedKey);
        return false;
    }
    if (!onTheMouse)
        emit PostMsg::Instance()->SigDeleteMacroButton(macroLabelPrefix + name);
    delete ui->listWidgetHong->takeItem(row);
    ui->listWidgetKey->clear();
    ui->listWidgetHong->setCurrentRow(-1);
    currentMacroFile.clear();
    return true;
}

void Macro::on_NewHong_clicked()
{
    if (MacroRecording) {
        ExeIsRunNotice(true);
        return;
    }
    CreateMacro(AskMacroName(0));
}

void Macro::CreateMewMacro()
{
    on_NewHong_clicked();
}

void Macro::RenameMacro()
{
    if (!ui->listWidgetHong->currentItem())
        return;
    RenameCurrentMacro(AskMacroName(1));
}

void Macro::on_DeleteHong_clicked()
{
    if (MacroRecording) {
        ExeIsRunNotice(true);
        return;
    }
    if (ui->listWidgetHong->currentRow() < 0)
        return;
    DeleteConfirm confirm(nullptr);
    RunDialog(confirm);
    if (confirm.Confirmed)
        DeleteCurrentMacro();
}

void Macro::DeleteMacro()
{
    on_DeleteHong_clicked();
}
