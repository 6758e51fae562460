#include "platform/AppPaths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <mutex>

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

// The desktop's base folder named by an environment value, or home + fallback when the value is
// unset, empty or relative (a relative value is to be ignored, so a program started from another
// working folder never scatters its files there).
// QDir::homePath() follows HOME, so a test's temporary HOME moves these folders too.
static QString BaseFolder(const char* variable, const QString& fallback)
{
    const QString base = QFile::decodeName(qgetenv(variable));
    if (base.isEmpty() || !QDir::isAbsolutePath(base))
        return QDir::homePath() + fallback;
    return base;
}

QString UserDataFolder()
{
    return BaseFolder("XDG_DATA_HOME", QStringLiteral("/.local/share")) + QLatin1Char('/') + ProductName();
}

QString UserConfigFolder()
{
    return BaseFolder("XDG_CONFIG_HOME", QStringLiteral("/.config")) + QLatin1Char('/') + ProductName();
}

} // namespace AppPaths
