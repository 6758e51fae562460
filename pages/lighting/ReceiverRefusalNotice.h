#pragma once
#include <QString>

class QWidget;

// The notice that the receiver did not take a light change (its light bar, indicator meaning or
// indicator LEDs): the panel has put its control and the receiver's record back as they were. One
// notice over the window that holds the panel, shown without waiting for it: a panel may be inside
// a slot that a device thread waits for. A second refusal while it shows shows the same notice.
namespace ReceiverRefusalNotice {

void Show(QWidget* panel);
// The notice's text in a language (UiText's index).
QString Text(int language);
// The notice while it shows; null otherwise.
QWidget* Shown();

} // namespace ReceiverRefusalNotice
