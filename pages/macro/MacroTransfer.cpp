// The macro page and the mouse: a saved macro sent to a button, a button's macro kept as a macro
// file, and the page left while it records.
#include "pages/macro/Macro.h"

#include "device/DeviceParamSetters.h"
#include "device/DeviceState.h"
#include "device/KeyNames.h"
#include "device/MacroBlocks.h"
#include "device/PostMsg.h"
#include "platform/RegularFile.h"
#include "platform/UserFileWrites.h"
#include "ui_Macro.h"

#include <QFile>
#include <QSignalBlocker>

#include <algorithm>

namespace {

constexpr int ButtonCount = 12;
// A macro file holding a device's 70 events takes about a kilobyte; a larger file is not compared.
constexpr qint64 ComparedFileSize = 1 << 20;

// The file's content when it is a regular file of at most ComparedFileSize bytes; empty otherwise.
QByteArray CurrentFileText(const QString& path)
{
    QFile file(path);
    if (!IsRegularFile(path) || file.size() > ComparedFileSize || !file.open(QIODevice::ReadOnly))
        return QByteArray();
    return file.readAll();
}

} // namespace

QString Macro::DeviceMacroName(const ButtonMacroBlock& block, bool* ok)
{
    const QString name = MacroBlocks::MacroNameOfBlock(block);
    // Bytes the local encoding cannot read would come back as other bytes: the file would name
    // another macro than the button plays.
    const int length = qMin(int(block.nameLength), MacroBlocks::NameRoom);
    const char* bytes = reinterpret_cast<const char*>(block.name);
    const QByteArray held(bytes, int(std::find(bytes, bytes + length, '\0') - bytes));
    *ok = !held.isEmpty() && name.toLocal8Bit() == held && MacroBlocks::IsSafeMacroName(name);
    return name;
}

QStringList Macro::DeviceMacroLines(const ButtonMacroBlock& block)
{
    QStringList lines;
    // A count above the block's 70 events reads as 70.
    const int count = qMin(int(block.eventCount), MacroBlocks::EventRoom);
    for (int k = 0; k < count; ++k) {
        const MacroEvent& event = block.events[k];
        // The usage's two bytes, low then high.
        const int code = event.usage | (event.reserved << 8);
        const QString name = event.kind == KeyNames::KindMouseButton ? MouseButtonName(code)
                                                                     : KeyNames::KeyCodeToKeyName(code, event.kind);
        const QStringList usage = KeyNames::KeyNameToUsage(name);
        MacroFile::Line line;
        if (usage.size() == 2) {
            line.usage = usage.at(0);
            line.kind = usage.at(1).toInt();
        } else {
            // A key no name stands for keeps the bytes the mouse holds.
            line.usage = QStringLiteral("0x") + QStringLiteral("%1").arg(code, 2, 16, QLatin1Char('0')).toUpper();
            line.kind = event.kind;
        }
        line.release = event.action != 0;
        lines << MacroFile::LineText(line);
        if (k + 1 < count)
            lines << QString::number(event.delay) + QStringLiteral("ms");
    }
    return lines;
}

bool Macro::StoreDeviceMacro(const QString& name, uint8_t repeatMode, const ButtonMacroBlock& block)
{
    const QString repeatLine = QString::number(repeatMode);
    const QStringList lines = DeviceMacroLines(block);
    // The whole file, so that a second read of the same mouse neither doubles the events nor loses
    // them; an unchanged file is left as it is.
    const QString path = MacroBlocks::MacroFilePath(name);
    if (CurrentFileText(path) == MacroFile::FileText(repeatLine, lines))
        return true;
    if (WriteMacroFile(name, repeatLine, lines))
        return true;
    // The mouse plays its macro all the same; the user hears that the program's copy was not kept,
    // and of a link or a special file in its place (never written through) by the file's name.
    UserFileWrites::NotWritten(path, MacroBlocks::MacroFolder());
    return false;
}

void Macro::SlotButtonToMacro(FlashDataMap DataMap, int KeyNumer)
{
    if (KeyNumer < 0 || KeyNumer >= ButtonCount)
        return;
    const ButtonMacroBlock& block = DataMap.macros[KeyNumer];
    bool nameOk = false;
    const QString name = DeviceMacroName(block, &nameOk);
    if (!nameOk || !StoreDeviceMacro(name, DataMap.buttons[KeyNumer].p2, block))
        return;

    // The entry joins the list; the user's selection, lines and recording stay as they are.
    QListWidget* list = ui->listWidgetHong;
    if (list->findItems(name, Qt::MatchExactly | Qt::MatchCaseSensitive).isEmpty()) {
        const int current = list->currentRow();
        const QSignalBlocker blocker(list);
        if (current >= 0)
            list->insertItem(current + 1, name);
        else
            list->addItem(name);
    }
    // The shown macro follows the mouse only when nothing unsaved would be lost.
    if (CurrentMacroName() == name && !eventsChanged && !repeatModeChanged && !MacroRecording)
        ReadMacroFile();
    emit PostMsg::Instance()->SigAddMacroButton();
}

void Macro::SlotMacroDownLoadData(QString MacroName, int index)
{
    if (index < 0 || index >= ButtonCount)
        return;
    MacroName.remove(QChar(0));
    // The saved file, whatever the editor shows by now; nothing goes out while writes are off.
    bool ok = false;
    const ButtonMacroBlock block = MacroBlocks::MacroFileToRecord(MacroName, &ok);
    if (!ok)
        return;
    const ButtonFunction function = DeviceConfigSnapshot().buttons[index];
    const uint8_t triple[3] = {function.type, function.p1, function.p2};
    SetDeviceButtonMacro(index, triple, block);
}

void Macro::SlotSetMacroPage()
{
    EndRecording();
    // Save waits for the next change.
    SetSaveActive(false);
}
