#pragma once
#include "pages/sensor/SwitchPanel.h"

namespace Ui {
class RippeControlB;
}

// The second design of the ripple control (record byte 10) switch: a caption that carries the tool tip and a switch that
// only writes. It starts off whatever the device holds.
class RippeControlB : public SwitchPanel
{
    Q_OBJECT
public:
    explicit RippeControlB(QWidget* parent = nullptr);
    ~RippeControlB() override;

private slots:
    void on_RippeControl_2_clicked(bool checked);

private:
    // Nothing of this design shows the device's state or places a tips icon.
    using SwitchPanel::MoveTips;
    using SwitchPanel::SetChecked;

    Ui::RippeControlB* ui;
};
