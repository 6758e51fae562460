#pragma once

class QWidget;

// Places a dialog over a widget's centre, shifted by (dx, dy): its top-left corner at the widget's
// screen position + ((widget width - dialog width) / 2 + dx, (widget height - dialog height) / 2 + dy),
// integer halves. The button page's dialogs stand at (-50, -70) over the page. A null widget
// leaves the dialog where it is.
void PlaceOver(QWidget* dialog, const QWidget* over, int dx, int dy);
