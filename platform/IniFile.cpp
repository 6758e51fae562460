#include "platform/IniFile.h"

#include "platform/RegularFile.h"

#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <QTextCodec>

#include <cerrno>

namespace {

// The copy Qt's settings work on: a file in a folder of its own that only this process can enter,
// made anew each time, so that Qt's shared copy of an earlier file never answers for it.
const QString ScratchName = QStringLiteral("store.ini");

void UseCodec(QSettings& settings, const char* codec)
{
    if (codec)
        settings.setIniCodec(QTextCodec::codecForName(codec));
}

// Qt writes its ini file through a buffer, so a full disk cuts it short without an error; the
// text itself tells. The ini writer puts every key on a line of its own ("key=value", line breaks
// in values escaped) and ends every line: a text cut short lacks keys or its last end.
bool Complete(const QByteArray& contents, int keys)
{
    if (!contents.endsWith('\n'))
        return false;
    int lines = 0;
    for (const QByteArray& line : contents.split('\n')) {
        const QByteArray text = line.trimmed();
        if (!text.isEmpty() && !text.startsWith('[') && !text.startsWith(';') && text.contains('='))
            ++lines;
    }
    return lines == keys;
}

bool ReadFile(const QString& path, QByteArray* contents)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    *contents = file.readAll();
    return file.error() == QFileDevice::NoError;
}

} // namespace

namespace IniFile {

bool Read(const QString& path, const char* codec, Values* values)
{
    values->clear();
    if (!IsRegularFile(path))
        return true;
    QByteArray contents;
    if (!ReadFile(path, &contents))
        return false;
    if (contents.isEmpty())
        return true;
    QTemporaryDir scratch;
    if (!scratch.isValid() || !WriteScratchFile(scratch.filePath(ScratchName), contents))
        return false;
    QSettings settings(scratch.filePath(ScratchName), QSettings::IniFormat);
    UseCodec(settings, codec);
    if (settings.status() != QSettings::NoError)
        return false;
    for (const QString& key : settings.allKeys())
        values->insert(key, settings.value(key));
    return true;
}

QByteArray Text(const Values& values, const char* codec, bool* made)
{
    *made = false;
    if (values.isEmpty()) {
        *made = true;
        return QByteArray();
    }
    QTemporaryDir scratch;
    if (!scratch.isValid())
        return QByteArray();
    const QString file = scratch.filePath(ScratchName);
    int keys = 0;
    {
        QSettings settings(file, QSettings::IniFormat);
        UseCodec(settings, codec);
        for (auto value = values.cbegin(); value != values.cend(); ++value)
            settings.setValue(value.key(), value.value());
        settings.sync();
        if (settings.status() != QSettings::NoError)
            return QByteArray();
        keys = settings.allKeys().size();
    }
    QByteArray contents;
    if (!ReadFile(file, &contents) || !Complete(contents, keys))
        return QByteArray();
    *made = true;
    return contents;
}

FileWrite Write(const QString& path, const Values& values, const char* codec)
{
    bool made = false;
    const QByteArray text = Text(values, codec, &made);
    if (!made) {
        FileWrite failed;
        failed.error = EIO;
        return failed;
    }
    return WriteWholeFile(path, text, LinkRule::Refuse);
}

void Remove(Values& values, const QString& key)
{
    if (key.isEmpty()) {
        values.clear();
        return;
    }
    values.remove(key);
    const QString below = key + QLatin1Char('/');
    for (auto value = values.lowerBound(below); value != values.end() && value.key().startsWith(below);)
        value = values.erase(value);
}

} // namespace IniFile
