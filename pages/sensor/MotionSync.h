#pragma once
#include "pages/sensor/SwitchPanel.h"

namespace Ui {
class MotionSync;
}

// The motion sync (record byte 7) switch of the sensor page.
class MotionSync : public SwitchPanel
{
    Q_OBJECT
public:
    explicit MotionSync(QWidget* parent = nullptr);
    ~MotionSync() override;

private slots:
    void on_MotionSync_2_clicked(bool checked);

private:
    Ui::MotionSync* ui;
};
