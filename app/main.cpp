#include "platform/AppPaths.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>

int main(int argc, char* argv[])
{
    const QString dataFolder = AppPaths::UserDataFolder();
    for (const char* folder : {"/Log", "/Device_Info", "/Exception", "/usersetting", "/usersetting/MainPage",
                               "/usersetting/MacroPage", "/usersetting/SensorPage"})
        QDir().mkpath(dataFolder + QLatin1String(folder));
    QFile preferences(dataFolder + QStringLiteral("/Macro.ini"));
    if (!preferences.exists() && preferences.open(QIODevice::WriteOnly | QIODevice::Text))
        preferences.close();

    QApplication application(argc, argv);
    QLabel window(AppPaths::ProductName());
    window.setAlignment(Qt::AlignCenter);
    window.resize(1200, 760);
    window.setWindowTitle(AppPaths::ProductName());
    window.show();
    return application.exec();
}
