#include "pages/variants/RippeControlB.h"

#include "device/DeviceParamSetters.h"
#include "ui_RippeControlB.h"

RippeControlB::RippeControlB(QWidget* parent) : SwitchPanel({SetDeviceRippleControl, nullptr, nullptr}, parent), ui(new Ui::RippeControlB)
{
    ui->setupUi(this);
    Attach(ui->RippeControl_2, ui->label, nullptr);
}

RippeControlB::~RippeControlB()
{
    delete ui;
}

void RippeControlB::on_RippeControl_2_clicked(bool checked)
{
    Clicked(checked);
}
