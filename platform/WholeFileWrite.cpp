#include "platform/WholeFileWrite.h"

#include "platform/RegularFile.h"

#include <QFile>
#include <QSaveFile>
#include <QSettings>
#include <QStringList>

bool WriteWholeFile(const QString& path, const QByteArray& contents)
{
    QSaveFile file(path);
    // Unbuffered: every write reaches the system at once and its failure is seen before the commit.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return false;
    if (file.write(contents) != contents.size()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

bool SyncSettingsWhole(QSettings& settings)
{
    settings.sync();
    if (settings.status() != QSettings::NoError || settings.fileName().isEmpty())
        return false;
    // Another QSettings on the same file would answer from Qt's shared copy in memory, not from the
    // file; the file itself is read. The ini writer puts every key on a line of its own ("key=value",
    // line breaks in values escaped) and ends every line: a file cut short lacks keys or its last end.
    const int keys = settings.allKeys().size();
    QFile file(settings.fileName());
    if (keys == 0)
        return true;
    if (!IsRegularFile(file.fileName()) || !file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray contents = file.readAll();
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
