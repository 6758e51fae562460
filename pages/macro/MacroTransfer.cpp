// The macro page and the mouse: a saved macro sent to a button, a button's macro kept as a macro
// file, and the page left while it records.
#include "pages/macro/Macro.h"

#include "device/DeviceInfoCache.h"
#include "device/DeviceParamSetters.h"
#include "device/DeviceState.h"
#include "device/KeyNames.h"
#include "device/MacroBlocks.h"
#include "device/PostMsg.h"
#include "device/Worker.h"
#include "platform/UserFileWrites.h"
#include "platform/hidusb/HIDUsb.h"
#include "ui_Macro.h"
#include "widgets/WaitProcessingEvents.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QSignalBlocker>

#include <algorithm>
#include <cstring>

namespace {

constexpr int ButtonCount = 12;
// How long a quit waits for a mouse that answers but whose record is still being read back.
constexpr int QuitWaitForMouseMs = 2000;

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
    QByteArray current;
    MacroBlocks::ReadMacroFileText(name, &current);
    if (current == MacroFile::FileText(repeatLine, lines))
        return true;
    if (WriteMacroFile(name, repeatLine, lines))
        return true;
    // The mouse plays its macro all the same; the user hears that the program's copy was not kept,
    // and of a link or a special file in its place (never written through) by the file's name.
    UserFileWrites::NotWritten(path, MacroBlocks::MacroFolder());
    return false;
}

bool Macro::MouseTakesMacros()
{
    return UserWritesEnabled && DeviceConfigIsCurrent && VidEzorarA_GetDeviceOnLine(CurrentDevicePath) != 0;
}

QList<int> Macro::ButtonsPlayingMacro(const QString& name)
{
    // Until the mouse's own record is read the pages show its cached one: its buttons are the ones
    // the mouse will give back.
    FlashDataMap record{};
    if (DeviceConfigIsCurrent || !ReadDeviceInfoCache(CacheFileName.Get(), &record))
        record = DeviceConfigSnapshot();
    QList<int> buttons;
    for (int button = 0; button < ButtonCount; ++button) {
        if (record.buttons[button].type == FunctionMacro && MacroBlocks::MacroNameOfBlock(record.macros[button]) == name)
            buttons << button;
    }
    return buttons;
}

bool Macro::SendToButtons(const QList<int>& buttons, const std::function<void(ButtonFunction&, ButtonMacroBlock&)>& change)
{
    if (buttons.isEmpty())
        return true;
    if (!MouseTakesMacros())
        return false;
    FlashDataMap before{};
    const DeviceConfigCopy sent = ChangeDeviceConfig([&](FlashDataMap& record) {
        before = record;
        for (int button : buttons)
            change(record.buttons[button], record.macros[button]);
    });
    if (PushDeviceConfigCopy(sent))
        return true;
    // The buttons keep what the mouse holds, unless something changed them since.
    ChangeDeviceConfig([&](FlashDataMap& record) {
        for (int button : buttons) {
            if (std::memcmp(&record.buttons[button], &sent.record.buttons[button], sizeof(ButtonFunction)) == 0
                && std::memcmp(&record.macros[button], &sent.record.macros[button], sizeof(ButtonMacroBlock)) == 0) {
                record.buttons[button] = before.buttons[button];
                record.macros[button] = before.macros[button];
            }
        }
    });
    return false;
}

void Macro::SendSaveOnItsWay()
{
    SaveOnItsWay* save = onItsWay.get();
    if (!save || save->ended || save->taken || save->refused)
        return;
    // All its buttons in one record: the mouse plays the new macro on every button or on none.
    const bool events = save->events;
    const bool repeat = save->repeat;
    const ButtonMacroBlock block = save->block;
    const uint8_t repeatByte = save->repeatByte;
    const bool taken = SendToButtons(save->buttons, [&](ButtonFunction& function, ButtonMacroBlock& held) {
        if (events)
            held = block;
        if (repeat)
            function.p2 = repeatByte;
    });
    save->taken = taken;
    save->refused = !taken;
}

bool Macro::SeeSaveThroughAtQuit(QWidget* window)
{
    if (!onItsWay || onItsWay->ended)
        return true;
    // A quit asked again while this one waits for the mouse is this one's to answer.
    if (quitHoldRunning)
        return false;
    quitHoldRunning = true;
    // A mouse that answers while its record is being read back takes the macro in a moment.
    QElapsedTimer waited;
    waited.start();
    while (onItsWay && !onItsWay->ended && UserWritesEnabled && !DeviceConfigIsCurrent
           && VidEzorarA_GetDeviceOnLine(CurrentDevicePath) && waited.elapsed() < QuitWaitForMouseMs)
        WaitProcessingEvents(50);
    if (onItsWay && !onItsWay->ended) {
        SendSaveOnItsWay();
        onItsWay->ended = true;
        if (!onItsWay->taken)
            ShowMacroNotice(QStringLiteral("DialogMacroNotSentAtQuit"), window);
        else if (!WriteMacroFile(onItsWay->name, onItsWay->repeatLine, onItsWay->lines))
            ShowMacroNotice(QStringLiteral("DialogMacroFileNotKept"), window);
    }
    quitHoldRunning = false;
    return true;
}

void Macro::SlotButtonToMacro(FlashDataMap DataMap, int KeyNumer)
{
    if (KeyNumer < 0 || KeyNumer >= ButtonCount)
        return;
    const ButtonMacroBlock& block = DataMap.macros[KeyNumer];
    bool nameOk = false;
    const QString name = DeviceMacroName(block, &nameOk);
    if (!nameOk)
        return;
    // A Save on its way writes the file itself once the mouse took it; until then the file holds
    // what the mouse holds, and the editor keeps the lines being sent.
    const bool sending = onItsWay && onItsWay->name == name;
    // A record that is not the mouse's own (the one cached when the device window last closed,
    // shown while the mouse is away) may be older than a file whose Save the mouse took since: it
    // fills in a missing file and replaces none. The mouse's copy is stored once it is read.
    const bool cachedOverAFile = !DeviceConfigIsCurrent && QFileInfo::exists(MacroBlocks::MacroFilePath(name));
    if (!sending && !cachedOverAFile && !StoreDeviceMacro(name, DataMap.buttons[KeyNumer].p2, block))
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
    if (CurrentMacroName() == name && !eventsChanged && !repeatModeChanged && !MacroRecording && !sending)
        ReadMacroFile();
    emit PostMsg::Instance()->SigAddMacroButton();
}

void Macro::SlotMacroDownLoadData(QString MacroName, int index)
{
    if (index < 0 || index >= ButtonCount)
        return;
    MacroName.remove(QChar(0));
    // A Save on its way goes to all its buttons at the first request; its file follows.
    if (onItsWay && onItsWay->name == MacroName) {
        SendSaveOnItsWay();
        return;
    }
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
    // A Save on its way keeps the list waiting until the mouse took it.
    if (onItsWay)
        HoldCommandsForSave(true);
    // Save waits for the next change.
    SetSaveActive(false);
}
