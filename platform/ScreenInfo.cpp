#include "platform/ScreenInfo.h"

#include <QGuiApplication>
#include <QScreen>
#include <cmath>

namespace ScreenInfo {

int DesktopWidth()
{
    const QScreen* screen = qobject_cast<QGuiApplication*>(QCoreApplication::instance())
        ? QGuiApplication::primaryScreen() : nullptr;
    if (!screen)
        return 1920;
    return int(std::lround(screen->geometry().width() * screen->devicePixelRatio()));
}

int LogicalDpi()
{
    const QScreen* screen = qobject_cast<QGuiApplication*>(QCoreApplication::instance())
        ? QGuiApplication::primaryScreen() : nullptr;
    if (!screen)
        return 96;
    const int dpi = int(std::lround(screen->logicalDotsPerInchX()));
    return dpi > 0 ? dpi : 96;
}

} // namespace ScreenInfo
