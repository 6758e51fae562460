#pragma once
#include "platform/AppPaths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cstdint>
#include <cstdlib>

// What every fuzz target shares: an application object, a temporary HOME and program folder that
// live for the whole run, and the input written as the file the parser reads.
namespace FuzzSupport {

inline QTemporaryDir& Folder()
{
    static QTemporaryDir folder;
    return folder;
}

// Once per process, before the first input: no file of the user's is ever read or written.
inline void Setup()
{
    static int argc = 1;
    static char name[] = "fuzz";
    static char* argv[] = {name, nullptr};
    static QCoreApplication* app = nullptr;
    if (app)
        return;
    const QString root = Folder().path();
    qputenv("HOME", QFile::encodeName(root + "/home"));
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(root + "/home/.config"));
    qputenv("XDG_DATA_HOME", QFile::encodeName(root + "/home/.local/share"));
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QDir().mkpath(root + "/home");
    QDir().mkpath(root + "/program/usersetting");
    AppPaths::SetProgramFolder(root + "/program");
    app = new QCoreApplication(argc, argv);
    // The parsers report what they reject; thousands of inputs a second would drown the fuzzer's output.
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
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
