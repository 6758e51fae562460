#include "pages/sensor/RippeControl.h"

#include "device/DeviceParamSetters.h"
#include "ui_RippeControl.h"

RippeControl::RippeControl(QWidget* parent)
    : SwitchPanel({SetDeviceRippleControl, "Ripple", "RippleTips"}, parent), ui(new Ui::RippeControl)
{
    ui->setupUi(this);
    Attach(ui->RippeControl_2, ui->label, ui->label_2);
}

RippeControl::~RippeControl()
{
    delete ui;
}

void RippeControl::on_RippeControl_2_clicked(bool checked)
{
    Clicked(checked);
}
