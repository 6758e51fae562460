#pragma once
#include "platform/AppPaths.h"

#include <QByteArray>
#include <QDir>
#include <QString>
#include <QTemporaryDir>

// Points HOME at a fresh temporary folder for the life of a test program (and clears the desktop's
// data and config homes, which would otherwise lead past it), and the program folder at the build's
// laid-out program folder, so tests never read or write the user's own files.
class TestHome
{
public:
    TestHome()
    {
        qputenv("HOME", home.path().toLocal8Bit());
        qunsetenv("XDG_DATA_HOME");
        qunsetenv("XDG_CONFIG_HOME");
        const QByteArray programDir = qgetenv("KESTRO_PROGRAM_DIR");
        if (!programDir.isEmpty())
            AppPaths::SetProgramFolder(QString::fromLocal8Bit(programDir));
    }
    QString Path() const { return home.path(); }
    // Creates the per-user folders the program makes at start.
    void MakeUserFolders() const
    {
        for (const char* folder : {"/Log", "/Device_Info", "/Exception", "/usersetting", "/usersetting/MainPage",
                                   "/usersetting/MacroPage", "/usersetting/SensorPage"})
            QDir().mkpath(AppPaths::UserDataFolder() + QLatin1String(folder));
    }

private:
    QTemporaryDir home;
};
