#pragma once
#include <functional>

class QColor;
class QImage;
class QPoint;
class QRect;
class QScreen;

// Screen metrics the program sizes itself by, read from the primary screen, and the pixels of the
// screens for the colour pickers.
namespace ScreenInfo {

// Width of the desktop in physical pixels; 1920 when no screen is known.
int DesktopWidth();
// Logical dots per inch of the primary screen; 96 when no screen is known.
int LogicalDpi();
// Scales every window by factor, as "QT_SCALE_FACTOR" would have at the application's start, in
// place of any factor set so: with the application object made, before any window exists.
void SetScaleFactor(double factor);

// Grabs an area of a screen given in the program's coordinates, which Qt maps to the screen's
// pixels by itself (under a scale factor of 1.5 the area at (100, 50) starts at pixel (150, 75)).
using AreaGrab = std::function<QImage(QScreen* screen, const QRect& area)>;

// The colour of the pixel at position (global, in the program's coordinates) on the screen that
// holds it, read from a 2 x 2 grab there. False, with colour untouched, when no screen holds the
// position or the grab gives no pixel (a display server that refuses grabs, no display at all).
bool PixelAt(const QPoint& position, QColor* colour);
// The grab PixelAt uses; an empty function puts back the screens' own grab.
void SetAreaGrab(AreaGrab grab);

} // namespace ScreenInfo
