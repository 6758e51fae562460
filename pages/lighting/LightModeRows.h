#pragma once
#include <QList>

class QWidget;

// The controls of a light editor that come and go with its light mode, by role.
struct LightModeWidgets
{
    QList<QWidget*> light;       // the brightness slider (and its number)
    QList<QWidget*> speed;       // the speed slider (and its number)
    QWidget* lightLine = nullptr; // the flat bar in the brightness slider's place
    QWidget* speedLine = nullptr; // the flat bar in the speed slider's place
    QList<QWidget*> colour;      // the colour group
};

// The light modes the editors offer: 0 off .. 6.
constexpr int LightModeCount = 7;

// Shows the controls of a light mode and hides the others: 0 only the two flat bars; 1, 4 and 5
// brightness and speed; 2 the colour too; 3 colour and brightness with the speed bar; 6 brightness
// with the speed bar. A mode outside 0..6 changes nothing.
void ApplyLightModeRows(int mode, const LightModeWidgets& widgets);
