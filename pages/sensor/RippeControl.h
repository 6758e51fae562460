#pragma once
#include "pages/sensor/SwitchPanel.h"

namespace Ui {
class RippeControl;
}

// The ripple control (record byte 10) switch of the sensor page.
class RippeControl : public SwitchPanel
{
    Q_OBJECT
public:
    explicit RippeControl(QWidget* parent = nullptr);
    ~RippeControl() override;

private slots:
    void on_RippeControl_2_clicked(bool checked);

private:
    Ui::RippeControl* ui;
};
