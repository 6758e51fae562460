#pragma once
#include "pages/sensor/SwitchPanel.h"

namespace Ui {
class StraightLine;
}

// The angle snapping (record byte 9) switch of the sensor page.
class StraightLine : public SwitchPanel
{
    Q_OBJECT
public:
    explicit StraightLine(QWidget* parent = nullptr);
    ~StraightLine() override;

private slots:
    void on_StraightLine_2_clicked(bool checked);

private:
    Ui::StraightLine* ui;
};
