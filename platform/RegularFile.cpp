#include "platform/RegularFile.h"

#include <QFile>
#include <QFileInfo>

#include <sys/stat.h>

bool IsRegularFile(const QString& path)
{
    if (path.isEmpty())
        return false;
    struct stat status;
    const QByteArray name = QFile::encodeName(path);
    return ::stat(name.constData(), &status) == 0 && S_ISREG(status.st_mode);
}

QString SettingsFilePath(const QString& path)
{
    return IsRegularFile(path) || !QFileInfo::exists(path) ? path : QString();
}
