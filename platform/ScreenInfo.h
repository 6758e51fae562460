#pragma once

// Screen metrics the program sizes itself by, read from the primary screen.
namespace ScreenInfo {

// Width of the desktop in physical pixels; 1920 when no screen is known.
int DesktopWidth();
// Logical dots per inch of the primary screen; 96 when no screen is known.
int LogicalDpi();

} // namespace ScreenInfo
