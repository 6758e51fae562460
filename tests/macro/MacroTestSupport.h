#pragma once
#include "device/DeviceDiscovery.h"
#include "device/FlashDataMap.h"
#include "device/MacroBlocks.h"
#include "pages/macro/Macro.h"
#include "pages/macro/SameMacro.h"
#include "platform/hidusb/SimControl.h"
#include "support/FindChild.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QMap>
#include <QPair>
#include <QStringList>
#include <QTimer>
#include <QVector>

#include <functional>

namespace MacroTestSupport {

// The macro page's list of macros.
inline QListWidget* Macros(Macro& page)
{
    return Child<QListWidget>(page, "listWidgetHong");
}

// The event list's lines in short, a release marked "^": "A,350ms,A^".
inline QString EventLines(Macro& page)
{
    QStringList items;
    QListWidget* list = Child<QListWidget>(page, "listWidgetKey");
    for (int row = 0; row < list->count(); ++row)
        items << list->item(row)->text() + (list->item(row)->type() == 1 ? QStringLiteral("^") : QString());
    return items.join(QLatin1Char(','));
}

// What a modal dialog showed: its class and its message (a macro notice by its text key).
inline QString Describe(QWidget* modal)
{
    const QString name = QString::fromLatin1(modal->metaObject()->className());
    if (auto* notice = qobject_cast<SameMacro*>(modal))
        return name + QLatin1Char(':') + notice->MessageKey();
    if (auto* label = modal->findChild<QLabel*>(QStringLiteral("label")))
        return name + QLatin1Char(':') + label->text();
    return name;
}

// Runs action; every modal dialog that opens meanwhile is noted and handed to answer, which closes
// it unless told otherwise.
inline QStringList RunWithModals(const std::function<void()>& action,
                                 const std::function<void(QDialog*)>& answer = nullptr)
{
    QStringList seen;
    QTimer timer;
    timer.setInterval(2);
    QWidget* last = nullptr;
    QObject::connect(&timer, &QTimer::timeout, [&] {
        auto* modal = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (!modal || modal == last)
            return;
        last = modal;
        seen << Describe(modal);
        if (answer)
            answer(modal);
        else
            modal->close();
    });
    timer.start();
    action();
    return seen;
}

// Every file below folder with its content, by path relative to it: what a test compares before
// and after a command to see that nothing else was touched.
inline QMap<QString, QByteArray> Snapshot(const QString& folder)
{
    QMap<QString, QByteArray> files;
    QDirIterator it(folder, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        QFile file(path);
        const QString relative = QDir(folder).relativeFilePath(path);
        if (it.fileInfo().isDir())
            files.insert(relative + QLatin1Char('/'), QByteArray());
        else if (file.open(QIODevice::ReadOnly))
            files.insert(relative, file.readAll());
        else
            files.insert(relative, QByteArray("<unreadable>"));
    }
    return files;
}

// The 104 virtual-key codes the recorder and the key entry name, with their names, written out
// from the key table the user sees (keypad 5 without NumLock, 0x0C, has the empty name).
inline const QVector<QPair<int, QString>>& NamedVirtualKeys()
{
    static const QVector<QPair<int, QString>> keys = [] {
        QVector<QPair<int, QString>> all;
        for (int i = 0; i < 10; ++i) {
            all.append({0x30 + i, QString::number(i)});
            all.append({0x60 + i, QStringLiteral("Num") + QString::number(i)});
        }
        for (int i = 0; i < 26; ++i)
            all.append({0x41 + i, QString(QChar('A' + i))});
        for (int i = 0; i < 12; ++i)
            all.append({0x70 + i, QStringLiteral("F") + QString::number(i + 1)});
        const QPair<int, const char*> single[] = {
            {0x08, "BackSpace"}, {0x09, "Tab"}, {0x0C, ""}, {0x0D, "Enter"}, {0x13, "Pause"}, {0x14, "CapsLock"},
            {0x1B, "Esc"}, {0x20, "Space"}, {0x21, "PgUp"}, {0x22, "PgDn"}, {0x23, "End"}, {0x24, "Home"},
            {0x25, "\u2190"}, {0x26, "\u2191"}, {0x27, "\u2192"}, {0x28, "\u2193"}, {0x2C, "Screen"},
            {0x2D, "Insert"}, {0x2E, "Del"}, {0x5B, "LWin"}, {0x5C, "RWin"}, {0x5D, "APPs"}, {0x6A, "Num*"},
            {0x6B, "Num+"}, {0x6D, "Num-"}, {0x6E, "Num."}, {0x6F, "Num/"}, {0x90, "NumLock"}, {0x91, "Scroll"},
            {0xA0, "LShift"}, {0xA1, "RShift"}, {0xA2, "LCtrl"}, {0xA3, "RCtrl"}, {0xA4, "LAlt"}, {0xA5, "RAlt"},
            {0xBA, ";"}, {0xBB, "="}, {0xBC, ","}, {0xBD, "-"}, {0xBE, "."}, {0xBF, "/"}, {0xC0, "`"},
            {0xDB, "["}, {0xDC, "\\"}, {0xDD, "]"}, {0xDE, "'"}};
        for (const auto& key : single)
            all.append({key.first, QString::fromUtf8(key.second)});
        return all;
    }();
    return keys;
}

inline void WriteFile(const QString& path, const QByteArray& content)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    file.open(QIODevice::WriteOnly | QIODevice::Truncate);
    file.write(content);
}

inline QByteArray ReadFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

// A button's macro block as the bytes the mouse holds.
inline QByteArray BlockBytes(const ButtonMacroBlock& block)
{
    return QByteArray(reinterpret_cast<const char*>(&block), int(sizeof block));
}

// A simulated device as the selection page describes it when the user opens it.
inline DeviceAllInfo IdentifiedDevice(const QByteArray& path)
{
    DeviceAllInfo device;
    IdentifyDevice(&device, path.constData());
    device.path = QString::fromLatin1(path);
    return device;
}

// Puts a macro on a button of a simulated device's mouse, as the button page would: the block of
// the file's text and the triple (6, button, repeat mode of its first line).
inline bool PutMacroOnButton(int device, int button, const QString& name, const QByteArray& text)
{
    FlashDataMap record{};
    if (!SimControl_GetDeviceRecord(device, record.bytes()))
        return false;
    record.buttons[button] = ButtonFunction{FunctionMacro, uint8_t(button),
                                            MacroBlocks::RepeatModeByte(QString::fromUtf8(text.left(text.indexOf('\n'))))};
    record.macros[button] = MacroBlocks::MacroTextToBlock(name, text);
    return SimControl_SetDeviceRecord(device, record.bytes()) != 0;
}

// What a button of a simulated device's mouse plays: its macro's name, ":" and the text its file
// gets from it; "no macro" for any other function.
inline QString OnTheButton(int device, int button)
{
    FlashDataMap record{};
    SimControl_GetDeviceRecord(device, record.bytes());
    if (record.buttons[button].type != FunctionMacro)
        return QStringLiteral("no macro");
    const ButtonMacroBlock& block = record.macros[button];
    return MacroBlocks::MacroNameOfBlock(block) + QLatin1Char(':')
        + QString::fromUtf8(MacroFile::FileText(QString::number(record.buttons[button].p2), Macro::DeviceMacroLines(block)));
}

} // namespace MacroTestSupport
