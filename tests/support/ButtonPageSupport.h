#pragma once
#include "device/FlashDataMap.h"
#include "device/KeyRecords.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QString>
#include <QWidget>
#include <QtTest>

#include <cstring>
#include "support/LanguageRows.h"

// What the button page's tests share: the key record a multimedia key must reach the mouse as, and
// the pictures of the page that KESTRO_BUTTON_SHOTS asks for.
namespace ButtonPageSupport {

// Press and release of one consumer usage, 10 ms each, the rest zero.
inline ButtonKeyRecord ConsumerBytes(uint16_t usage)
{
    ButtonKeyRecord record{};
    uint8_t* bytes = reinterpret_cast<uint8_t*>(&record);
    bytes[0] = 2;
    const uint8_t events[2][8] = {{0, 2, uint8_t(usage & 0xFF), uint8_t(usage >> 8), 10, 0, 0, 0},
                                  {1, 2, uint8_t(usage & 0xFF), uint8_t(usage >> 8), 10, 0, 0, 0}};
    std::memcpy(bytes + 4, events, sizeof events);
    return record;
}

// Copies the program folder's data (model list, language files, pictures, simulated devices and the
// sensor header) from one folder to another, for a test that changes some of it.
inline bool CopyProgramFolder(const QString& from, const QString& to)
{
    const auto copyTree = [](const QString& source, const QString& target, auto& self) -> bool {
        QDir().mkpath(target);
        const QFileInfoList entries = QDir(source).entryInfoList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot);
        for (const QFileInfo& entry : entries) {
            const QString copy = target + QLatin1Char('/') + entry.fileName();
            if (entry.isDir() ? !self(entry.filePath(), copy, self) : !QFile::copy(entry.filePath(), copy))
                return false;
        }
        return true;
    };
    for (const char* folder : {"usersetting", "Language", "Picture", "simulated"}) {
        if (!copyTree(from + QLatin1Char('/') + folder, to + QLatin1Char('/') + folder, copyTree))
            return false;
    }
    return QFile::copy(from + "/driver_sensor.h", to + "/driver_sensor.h");
}

// Replaces the first `before` found after `after` in a file; false when there is none.
inline bool EditFile(const QString& path, const QByteArray& before, const QByteArray& replacement,
                     const QByteArray& after = QByteArray())
{
    QFile file(path);
    if (!file.open(QIODevice::ReadWrite))
        return false;
    QByteArray text = file.readAll();
    const int start = after.isEmpty() ? 0 : text.indexOf(after);
    const int at = start < 0 ? -1 : text.indexOf(before, start);
    if (at < 0)
        return false;
    text.replace(at, before.size(), replacement);
    file.resize(0);
    return file.write(text) == text.size();
}

// Adds text to the end of a file.
inline bool AppendToFile(const QString& path, const QByteArray& text)
{
    QFile file(path);
    return file.open(QIODevice::Append) && file.write(text) == text.size();
}

// A copy of the program folder for the assignment tests. Model 1 (Drive2) has twelve buttons and
// key-record defaults for buttons 0 to 2 (a volume-up key, Ctrl+C, and a list of five entries that
// gives nothing); model 2 names 20 buttons, model 3 none. Model 0 is shipped as it is: six buttons,
// every default a mouse key or the DPI cycle.
inline bool LayOutAssignmentModels(const QString& from, const QString& to)
{
    const QString config = to + "/usersetting/Config.ini";
    return CopyProgramFolder(from, to) && EditFile(config, "KeyNumber=6", "KeyNumber=12", "[Drive2]")
        && EditFile(config, "KeyParam1=0x01,0x01,0x00", "KeyParam1=0x05,0x00,0xE9", "[Drive2]")
        && EditFile(config, "KeyParam2=0x01,0x02,0x00", "KeyParam2=0x05,0x00,0x00,Ctrl+C", "[Drive2]")
        && EditFile(config, "KeyParam3=0x01,0x04,0x00", "KeyParam3=0x05,0x00,0x00,A,B", "[Drive2]")
        && AppendToFile(config, "\n[Drive3]\nKeyNumber=20\n\n[Drive4]\nKeyNumber=0\n");
}

// Every file under a folder with its bytes, to show that nothing was written there.
inline QMap<QString, QByteArray> FilesUnder(const QString& folder)
{
    QMap<QString, QByteArray> files;
    QDirIterator it(folder, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        QFile file(it.next());
        files.insert(file.fileName(), file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(unreadable)"));
    }
    return files;
}

// The bytes of a record or a part of one.
template <typename Slot>
QByteArray Bytes(const Slot& slot)
{
    return QByteArray(reinterpret_cast<const char*>(&slot), int(sizeof slot));
}

inline QByteArray ComboBytes(const QString& keys, int count)
{
    ButtonKeyRecord record{};
    if (!keys.isEmpty())
        KeyRecords::KeyStringToRecord(keys, record);
    record.eventCount = uint8_t(count);
    return Bytes(record);
}

// A macro block with the name bytes as given (length byte first) and two events.
inline QByteArray MacroBytes(const QByteArray& lengthAndName)
{
    ButtonMacroBlock block{};
    std::memcpy(&block, lengthAndName.constData(), size_t(qMin(lengthAndName.size(), 31)));
    block.eventCount = 2;
    block.events[0] = MacroEvent{0, 1, 0x04, 0, 10};
    block.events[1] = MacroEvent{1, 1, 0x04, 0, 10};
    return Bytes(block);
}

// Puts a button's function into a record.
inline void Place(FlashDataMap& record, int button, int type, int code, int parameter)
{
    record.buttons[button] = ButtonFunction{uint8_t(type), uint8_t(code), uint8_t(parameter)};
}

// The same with the button's key record (52 bytes) or macro block (592 bytes).
inline void Place(FlashDataMap& record, int button, int type, int code, int parameter, const QByteArray& slot)
{
    Place(record, button, type, code, parameter);
    uint8_t* target = slot.size() == int(sizeof(ButtonKeyRecord)) ? reinterpret_cast<uint8_t*>(&record.keyRecords[button])
        : slot.size() == int(sizeof(ButtonMacroBlock))             ? reinterpret_cast<uint8_t*>(&record.macros[button])
                                                                    : nullptr;
    QVERIFY(target);
    std::memcpy(target, slot.constData(), size_t(slot.size()));
}

// The rows of a picture test: one per language.
using ::LanguageRows;

// The folder KESTRO_BUTTON_SHOTS names; empty when no pictures are asked for.
inline QString ShotFolder()
{
    return qEnvironmentVariable("KESTRO_BUTTON_SHOTS");
}

// The device window's dark ground that the page is drawn on.
inline void MakeGround(QWidget& ground)
{
    ground.setObjectName("ground");
    ground.setStyleSheet("QWidget#ground{background: rgb(24, 27, 33);}");
}

} // namespace ButtonPageSupport
