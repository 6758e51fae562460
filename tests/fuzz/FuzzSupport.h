#pragma once
#include "platform/AppPaths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cstdint>
#include <cstdlib>
#include <initializer_list>

// What every fuzz target shares: an application object, a temporary HOME and program folder that
// live for the whole run, and the input written as the file the parser reads.
namespace FuzzSupport {

inline QTemporaryDir& Folder()
{
    static QTemporaryDir folder;
    return folder;
}

// Once per process, before the first input: HOME and the per-user folders inside the run's
// temporary folder (no file of the user's is ever read or written), the offscreen platform, the
// program folder, the given folders of the per-user data folder, and an application of the given
// kind. False when the application was started before.
template <typename Application>
bool StartOnce(const QString& programFolder, std::initializer_list<const char*> userDataFolders = {})
{
    static int argc = 1;
    static char name[] = "fuzz";
    static char* argv[] = {name, nullptr};
    if (QCoreApplication::instance())
        return false;
    const QString home = Folder().path() + "/home";
    qputenv("HOME", QFile::encodeName(home));
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(home + "/.config"));
    qputenv("XDG_DATA_HOME", QFile::encodeName(home + "/.local/share"));
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QDir().mkpath(home);
    AppPaths::SetProgramFolder(programFolder);
    for (const char* folder : userDataFolders)
        QDir().mkpath(AppPaths::UserDataFolder() + QLatin1String(folder));
    new Application(argc, argv);
    // The parsers report what they reject; thousands of inputs a second would drown the fuzzer's output.
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
    return true;
}

// For the file parsers: a core application and a temporary program folder of their own.
inline void Setup()
{
    if (QCoreApplication::instance())
        return;
    QDir().mkpath(Folder().path() + "/program/usersetting");
    StartOnce<QCoreApplication>(Folder().path() + "/program");
}

inline QString ProgramFolder() { return Folder().path() + "/program"; }

// Writes the input whole as path (made anew for every input).
inline void WriteInput(const QString& path, const uint8_t* data, size_t size)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        std::abort();
    if (size && file.write(reinterpret_cast<const char*>(data), qint64(size)) != qint64(size))
        std::abort();
}

} // namespace FuzzSupport
