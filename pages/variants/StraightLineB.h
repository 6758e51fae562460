#pragma once
#include "pages/sensor/SwitchPanel.h"

namespace Ui {
class StraightLineB;
}

// The second design of the angle snapping (record byte 9) switch: a caption that carries the tool tip and a switch that
// only writes. It starts off whatever the device holds.
class StraightLineB : public SwitchPanel
{
    Q_OBJECT
public:
    explicit StraightLineB(QWidget* parent = nullptr);
    ~StraightLineB() override;

private slots:
    void on_StraightLine_2_clicked(bool checked);

private:
    // Nothing of this design shows the device's state or places a tips icon.
    using SwitchPanel::MoveTips;
    using SwitchPanel::SetChecked;

    Ui::StraightLineB* ui;
};
