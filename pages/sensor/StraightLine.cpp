#include "pages/sensor/StraightLine.h"

#include "device/DeviceParamSetters.h"
#include "ui_StraightLine.h"

StraightLine::StraightLine(QWidget* parent)
    : SwitchPanel({SetDeviceStraightLine, "Angle", "AngleTips"}, parent), ui(new Ui::StraightLine)
{
    ui->setupUi(this);
    Attach(ui->StraightLine_2, ui->label, ui->label_2);
}

StraightLine::~StraightLine()
{
    delete ui;
}

void StraightLine::on_StraightLine_2_clicked(bool checked)
{
    Clicked(checked);
}
