#include "pages/variants/StraightLineB.h"

#include "device/DeviceParamSetters.h"
#include "ui_StraightLineB.h"

StraightLineB::StraightLineB(QWidget* parent) : SwitchPanel({SetDeviceStraightLine, nullptr, nullptr}, parent), ui(new Ui::StraightLineB)
{
    ui->setupUi(this);
    Attach(ui->StraightLine_2, ui->label, nullptr);
}

StraightLineB::~StraightLineB()
{
    delete ui;
}

void StraightLineB::on_StraightLine_2_clicked(bool checked)
{
    Clicked(checked);
}
