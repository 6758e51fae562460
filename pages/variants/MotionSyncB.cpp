#include "pages/variants/MotionSyncB.h"

#include "device/DeviceParamSetters.h"
#include "ui_MotionSyncB.h"

MotionSyncB::MotionSyncB(QWidget* parent) : SwitchPanel({SetDeviceMotionSync, nullptr, nullptr}, parent), ui(new Ui::MotionSyncB)
{
    ui->setupUi(this);
    Attach(ui->MotionSync_2, ui->label, nullptr);
}

MotionSyncB::~MotionSyncB()
{
    delete ui;
}

void MotionSyncB::on_MotionSync_2_clicked(bool checked)
{
    Clicked(checked);
}
