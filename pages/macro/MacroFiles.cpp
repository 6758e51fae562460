// The macro page's list and its macro files.
#include "pages/macro/Macro.h"

#include "device/KeyNames.h"
#include "device/MacroBlocks.h"
#include "device/MacroFolderListing.h"
#include "platform/WholeFileWrite.h"
#include "ui_Macro.h"

#include <QFile>
#include <QFileInfo>
#include <QSignalBlocker>

void Macro::LoadMacroList(const QString&)
{
    // The shared listing drops the folder's first "xml" file; this list shows no "xml" name at all.
    for (const QString& entry : MacroFolderListing::Entries()) {
        if (!entry.contains(QLatin1String("xml")))
            ui->listWidgetHong->addItem(MacroBlocks::MacroNameOfFile(entry));
    }
}

QString Macro::CurrentMacroName() const
{
    QListWidgetItem* item = ui->listWidgetHong->currentItem();
    return item && item == shownEntry ? item->text() : QString();
}

bool Macro::ReadMacroFile(const QString&)
{
    QListWidgetItem* entry = ui->listWidgetHong->currentItem();
    shownEntry = nullptr;
    readFault = MacroBlocks::FileFault::None;
    faultTold = false;
    if (!entry)
        return true;
    // Loading a macro is not a change of it.
    const QSignalBlocker repeatBlocker(&repeatModeGroup);
    const QSignalBlocker countBlocker(ui->NumberEdit);
    ui->listWidgetKey->clear();
    currentMacroFile = MacroBlocks::MacroFilePath(entry->text());
    QByteArray text;
    readFault = MacroBlocks::ReadMacroFileText(entry->text(), &text);
    if (readFault != MacroBlocks::FileFault::None)
        return false;

    const MacroFile::Content content = MacroFile::Parse(text);
    if (content.hasRepeatMode) {
        const int mode = content.repeatMode;
        if (mode == 254) {
            ui->ReUntilLoose->setChecked(true);
        } else if (mode == 255) {
            ui->ReUntilClick->setChecked(true);
        } else if (mode == 253) {
            ui->ReUntil->setChecked(true);
        } else {
            ui->ReNumber->setChecked(true);
            ui->NumberEdit->setValue(mode >= 1 && mode <= 250 ? mode : 1);
        }
    }
    for (const MacroFile::Line& line : content.lines)
        ui->listWidgetKey->addItem(line.delay ? NewDelayItem(line.text) : NewKeyItem(line));
    shownEntry = entry;
    return true;
}

QStringList Macro::EventLines() const
{
    QStringList lines;
    for (int row = 0; row < ui->listWidgetKey->count(); ++row) {
        const QListWidgetItem* item = ui->listWidgetKey->item(row);
        MacroFile::Line line;
        // A key item writes the key it was made with, whatever its label says by now.
        if (item->data(KeyRole).toBool()) {
            line.usage = item->data(UsageRole).toString();
            line.kind = item->data(KindRole).toInt();
            line.release = item->type() != 0;
        } else {
            line.delay = true;
            line.text = item->text();
        }
        lines << MacroFile::LineText(line);
    }
    return lines;
}

int Macro::RepeatMode() const
{
    if (ui->ReUntilLoose->isChecked())
        return 254;
    if (ui->ReUntilClick->isChecked())
        return 255;
    if (ui->ReUntil->isChecked())
        return 253;
    // With no box checked (a macro imported before any was selected) the count plays it.
    return ui->NumberEdit->value();
}

bool Macro::WriteMacroFile(const QString& name, const QString& repeatLine, const QStringList& lines)
{
    const QString path = MacroBlocks::MacroFilePath(name);
    if (path.isEmpty())
        return false;
    const QFileInfo info(path);
    // A file the user made read-only stays as it is, for every user; only a regular file is replaced.
    if (info.exists() && (!info.isFile() || !(info.permissions() & QFileDevice::WriteOwner)))
        return false;
    return WriteWholeFile(path, MacroFile::FileText(repeatLine, lines));
}

bool Macro::IsNewMacroNameAllowed(const QString& name)
{
    if (!MacroBlocks::IsSafeMacroName(name) || name.toLocal8Bit().size() > MacroBlocks::NameRoom)
        return false;
    // The list shows a file without its ".ini" parts, hides hidden files and names holding "xml":
    // such a macro would come back under another name, or not at all.
    return !name.startsWith(QLatin1Char('.')) && !name.contains(QLatin1String("xml"))
        && !name.contains(QLatin1String(".ini"));
}

bool Macro::CreateMacroFile(const QString& name)
{
    if (!IsNewMacroNameAllowed(name))
        return false;
    // Only a new file: an existing one (a file the list does not show, a link) keeps its content.
    const QString path = MacroBlocks::MacroFilePath(name);
    return !path.isEmpty() && CreateNewFile(path);
}
