#pragma once

#include <QString>

class QWidget;

// Multiplies the point size of the font of a widget and of every widget below it by factor.
// Each widget ends at factor times the size it had before, whether its font was its own or
// inherited. A null widget does nothing. Dialogs call it last in their constructors with
// 96 / the screen's logical DPI (NoticeLook::ScaleFonts).
// A widget named keepName keeps the size it has (its children are scaled all the same).
void ScaleFontTree(QWidget* widget, double factor, const QString& keepName = QString());
