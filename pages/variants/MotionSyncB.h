#pragma once
#include "pages/sensor/SwitchPanel.h"

namespace Ui {
class MotionSyncB;
}

// The second design of the motion sync (record byte 7) switch: a caption that carries the tool tip and a switch that
// only writes. It starts off whatever the device holds.
class MotionSyncB : public SwitchPanel
{
    Q_OBJECT
public:
    explicit MotionSyncB(QWidget* parent = nullptr);
    ~MotionSyncB() override;

private slots:
    void on_MotionSync_2_clicked(bool checked);

private:
    // Nothing of this design shows the device's state or places a tips icon.
    using SwitchPanel::MoveTips;
    using SwitchPanel::SetChecked;

    Ui::MotionSyncB* ui;
};
