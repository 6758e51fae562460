#include "platform/ScreenInfo.h"

#include <QColor>
#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QRect>
#include <QScreen>
#include <QtGui/private/qhighdpiscaling_p.h>
#include <cmath>

namespace ScreenInfo {

namespace {

bool HasScreens()
{
    return qobject_cast<QGuiApplication*>(QCoreApplication::instance()) != nullptr;
}

QImage GrabFromScreen(QScreen* screen, const QRect& area)
{
    // Window 0 is the whole desktop: the area is in global coordinates.
    return screen->grabWindow(0, area.x(), area.y(), area.width(), area.height()).toImage();
}

AreaGrab& CurrentGrab()
{
    static AreaGrab grab = GrabFromScreen;
    return grab;
}

} // namespace

int DesktopWidth()
{
    const QScreen* screen = HasScreens() ? QGuiApplication::primaryScreen() : nullptr;
    if (!screen)
        return 1920;
    return int(std::lround(screen->geometry().width() * screen->devicePixelRatio()));
}

int LogicalDpi()
{
    const QScreen* screen = HasScreens() ? QGuiApplication::primaryScreen() : nullptr;
    if (!screen)
        return 96;
    const int dpi = int(std::lround(screen->logicalDotsPerInchX()));
    return dpi > 0 ? dpi : 96;
}

void SetScaleFactor(double factor)
{
    if (HasScreens())
        QHighDpiScaling::setGlobalFactor(factor);
}

bool PixelAt(const QPoint& position, QColor* colour)
{
    QScreen* screen = HasScreens() ? QGuiApplication::screenAt(position) : nullptr;
    if (!screen)
        return false;
    const QImage image = CurrentGrab()(screen, QRect(position, QSize(2, 2)));
    if (image.isNull() || !image.valid(0, 0))
        return false;
    *colour = QColor(image.pixel(0, 0));
    return true;
}

void SetAreaGrab(AreaGrab grab)
{
    CurrentGrab() = grab ? std::move(grab) : AreaGrab(GrabFromScreen);
}

} // namespace ScreenInfo
