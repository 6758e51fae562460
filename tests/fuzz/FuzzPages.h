#pragma once
#include "FuzzSupport.h"

#include <QApplication>

namespace FuzzSupport {

// For targets that feed pages: a widget application on the offscreen platform, a temporary HOME with
// the per-user folders the program makes at start, and the build's laid-out program folder, whose
// model list, pictures and language files the pages read.
inline void SetupPages()
{
    static int argc = 1;
    static char name[] = "fuzz";
    static char* argv[] = {name, nullptr};
    static QApplication* app = nullptr;
    if (app)
        return;
    const QString home = Folder().path() + "/home";
    qputenv("HOME", QFile::encodeName(home));
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(home + "/.config"));
    qputenv("XDG_DATA_HOME", QFile::encodeName(home + "/.local/share"));
    qputenv("QT_QPA_PLATFORM", "offscreen");
    AppPaths::SetProgramFolder(QStringLiteral(KESTRO_FUZZ_PROGRAM_DIR));
    for (const char* folder : {"/usersetting/MainPage", "/usersetting/MacroPage", "/usersetting/SensorPage"})
        QDir().mkpath(AppPaths::UserDataFolder() + QLatin1String(folder));
    app = new QApplication(argc, argv);
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
}

} // namespace FuzzSupport
