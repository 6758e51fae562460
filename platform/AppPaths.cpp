#include "platform/AppPaths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <mutex>
#include <QProcessEnvironment>

namespace {
std::mutex folderLock;
QString programFolderOverride;
}

namespace AppPaths {

QString ProductName()
{
    return QStringLiteral("Kestro plus");
}

QString ProgramFolder()
{
    {
        std::lock_guard<std::mutex> locker(folderLock);
        if (!programFolderOverride.isEmpty())
            return programFolderOverride;
    }
    if (QCoreApplication::instance())
        return QCoreApplication::applicationDirPath();
    // Before the application object exists (or in a plain library user): the executable's folder.
    return QFileInfo(QStringLiteral("/proc/self/exe")).canonicalFilePath().section(QLatin1Char('/'), 0, -2);
}

void SetProgramFolder(const QString& folder)
{
    std::lock_guard<std::mutex> locker(folderLock);
    programFolderOverride = folder;
}

QString UserDataFolder()
{
    return QDir::homePath() + QStringLiteral("/AppData/Local/") + ProductName();
}

QString UserConfigFolder()
{
    // QDir::homePath() follows HOME, so a test's temporary HOME moves this folder too.
    QString base = QProcessEnvironment::systemEnvironment().value(QStringLiteral("XDG_CONFIG_HOME"));
    if (base.isEmpty() || !QDir::isAbsolutePath(base))
        base = QDir::homePath() + QStringLiteral("/.config");
    return base + QLatin1Char('/') + ProductName();
}

} // namespace AppPaths
