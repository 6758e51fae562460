#include "pages/lighting/LightModeRows.h"

#include <QWidget>

namespace {

struct ModeRows
{
    bool light;
    bool speed;
    bool colour;
    bool lightLine;
    bool speedLine;
};

const ModeRows modeRows[LightModeCount] = {
    {false, false, false, true, true}, // 0 off
    {true, true, false, false, false}, // 1
    {true, true, true, false, false},  // 2
    {true, false, true, false, true},  // 3
    {true, true, false, false, false}, // 4
    {true, true, false, false, false}, // 5
    {true, false, false, false, true}, // 6
};

} // namespace

void ApplyLightModeRows(int mode, const LightModeWidgets& widgets)
{
    if (mode < 0 || mode >= LightModeCount)
        return;
    const ModeRows& rows = modeRows[mode];
    for (QWidget* widget : widgets.light)
        widget->setVisible(rows.light);
    for (QWidget* widget : widgets.speed)
        widget->setVisible(rows.speed);
    widgets.lightLine->setVisible(rows.lightLine);
    widgets.speedLine->setVisible(rows.speedLine);
    for (QWidget* widget : widgets.colour)
        widget->setVisible(rows.colour);
}
