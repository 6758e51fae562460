#include "device/MacroBlocks.h"

#include "device/DeviceState.h"
#include "device/KeyNames.h"
#include "platform/AppPaths.h"
#include "platform/RegularFile.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>

#include <algorithm>
#include <cstring>

namespace MacroBlocks {

namespace {

const QLatin1String FileSuffix(".ini");

// An open regular file of a safe name and of a macro file's size, for reading.
FileFault OpenMacroFile(const QString& name, QFile& file, QIODevice::OpenMode mode)
{
    const QString path = MacroFilePath(name);
    if (path.isEmpty() || !IsRegularFile(path))
        return FileFault::NoFile;
    file.setFileName(path);
    if (!file.open(QIODevice::ReadOnly | mode))
        return FileFault::Unreadable;
    // Measured on the open file: whatever stands under the name by now is what is read.
    return file.size() > MaxFileSize ? FileFault::TooLarge : FileFault::None;
}

void SetKey(const QStringList& parts, int k, ButtonMacroBlock& block)
{
    MacroEvent& event = block.events[k];
    const QString name = KeyNames::UsageToKeyName(parts.at(0), parts.at(1).toInt(nullptr, 10));
    KeyNames::MacroNameToEvent(name, k, block);
    // The line end stays with the last field: a last line without one reads as a press.
    if (parts.at(2) == QLatin1String("0\n"))
        event.action = 0;
    else if (parts.at(2) == QLatin1String("1\n"))
        event.action = 1;
    event.delay = 0;
}

} // namespace

QString MacroFolder()
{
    return AppPaths::UserDataFolder() + QStringLiteral("/usersetting/MacroPage");
}

QString MacroNameOfFile(const QString& fileName)
{
    return QString(fileName).remove(FileSuffix);
}

bool IsSafeMacroName(const QString& name)
{
    if (name.isEmpty() || name == QLatin1String(".") || name == QLatin1String(".."))
        return false;
    for (const QChar c : name) {
        if (c == QLatin1Char('/') || c == QLatin1Char('\\') || c.category() == QChar::Other_Control)
            return false;
    }
    const QString folder = QDir::cleanPath(MacroFolder());
    const QString path = QDir::cleanPath(folder + QLatin1Char('/') + name + FileSuffix);
    return QFileInfo(path).path() == folder;
}

QString MacroFilePath(const QString& name)
{
    if (!IsSafeMacroName(name))
        return QString();
    return MacroFolder() + QLatin1Char('/') + name + FileSuffix;
}

QByteArray MacroNameBytes(const QString& source)
{
    QString name = source;
    name.remove(QChar(0));
    QByteArray bytes = name.toLocal8Bit();
    // Cut whole characters (a surrogate pair counts as one) until the bytes fit.
    int length = name.size();
    while (bytes.size() > NameRoom && length > 0) {
        --length;
        if (length > 0 && name.at(length).isLowSurrogate() && name.at(length - 1).isHighSurrogate())
            --length;
        bytes = name.left(length).toLocal8Bit();
    }
    return bytes;
}

QString MacroNameOfBlock(const ButtonMacroBlock& block)
{
    const int length = qMin(int(block.nameLength), NameRoom);
    const char* name = reinterpret_cast<const char*>(block.name);
    const int end = int(std::find(name, name + length, '\0') - name);
    return QString::fromLocal8Bit(name, end);
}

void SetBlockName(ButtonMacroBlock& block, const QString& name)
{
    const QByteArray bytes = MacroNameBytes(name);
    std::memset(block.name, 0, sizeof block.name);
    std::memcpy(block.name, bytes.constData(), size_t(bytes.size()));
    block.nameLength = uint8_t(bytes.size());
}

namespace {

// Reads line by line, so that nothing beyond the 70th event is read, however long the file.
ButtonMacroBlock MacroLinesToBlock(const QString& name, QIODevice& lines)
{
    ButtonMacroBlock block{};
    SetBlockName(block, name);

    int k = 0;
    bool keyOpen = false; // event k holds a key line that no delay line has closed yet
    lines.readLine();     // the repeat mode
    while (!lines.atEnd() && k < EventRoom) {
        // Decoded with its length, not up to a NUL: a NUL byte stays a character of its line, so the
        // line keeps its end and its fields, and a field it damages reads as any other damaged one.
        const QByteArray bytes = lines.readLine();
        const QString line = QString::fromUtf8(bytes.constData(), bytes.size());
        const QStringList parts = line.split(QLatin1Char(' '), Qt::SkipEmptyParts);
        if (parts.size() == 3) {
            if (keyOpen && ++k >= EventRoom)
                break;
            SetKey(parts, k, block);
            keyOpen = true;
        } else if (parts.size() == 1) {
            QString delay = parts.at(0);
            delay.remove(QStringLiteral("ms"));
            block.events[k].delay = delay.trimmed().toUInt();
            ++k;
            keyOpen = false;
        }
    }
    // The closed events and the one after them: the last key, or an all-zero event after a final delay.
    block.eventCount = uint8_t(qMin(k + 1, EventRoom));
    return block;
}

} // namespace

ButtonMacroBlock MacroTextToBlock(const QString& name, const QByteArray& text)
{
    QBuffer buffer;
    buffer.setData(text);
    buffer.open(QIODevice::ReadOnly | QIODevice::Text);
    return MacroLinesToBlock(name, buffer);
}

FileFault ReadMacroFileText(const QString& name, QByteArray* text)
{
    text->clear();
    QFile file;
    // As it is: each reader decides what a CR is.
    const FileFault fault = OpenMacroFile(name, file, QIODevice::NotOpen);
    if (fault != FileFault::None)
        return fault;
    // Up to the limit and a byte: a file that grew since it was measured is still refused.
    QByteArray read = file.read(MaxFileSize + 1);
    if (file.error() != QFileDevice::NoError)
        return FileFault::Unreadable;
    if (read.size() > MaxFileSize)
        return FileFault::TooLarge;
    *text = std::move(read);
    return FileFault::None;
}

ButtonMacroBlock MacroFileToRecord(const QString& name, bool* ok, FileFault* fault)
{
    if (ok)
        *ok = false;
    if (fault)
        *fault = FileFault::None;
    if (!UserWritesEnabled)
        return ButtonMacroBlock{};
    QByteArray text;
    const FileFault read = ReadMacroFileText(name, &text);
    if (fault)
        *fault = read;
    if (read != FileFault::None)
        return ButtonMacroBlock{};
    if (ok)
        *ok = true;
    return MacroTextToBlock(name, text);
}

QString ReadMacroRepeatMode(const QString& name)
{
    QFile file;
    if (OpenMacroFile(name, file, QIODevice::Text) != FileFault::None)
        return QStringLiteral("0");
    const QString line = QString::fromUtf8(file.readLine());
    const QStringList parts = line.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    QString mode = parts.isEmpty() ? QString() : parts.first();
    mode.remove(QLatin1Char('\n'));
    return mode.isEmpty() ? QStringLiteral("0") : mode;
}

int RepeatModeNumber(const QString& text)
{
    return text.toInt(nullptr, 10);
}

uint8_t RepeatModeByte(const QString& text)
{
    return uint8_t(RepeatModeNumber(text) & 0xFF);
}

} // namespace MacroBlocks
