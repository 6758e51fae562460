#include "pages/sensor/MotionSync.h"

#include "device/DeviceParamSetters.h"
#include "ui_MotionSync.h"

MotionSync::MotionSync(QWidget* parent)
    : SwitchPanel({SetDeviceMotionSync, "MotionSync", "MotionSyncTips"}, parent), ui(new Ui::MotionSync)
{
    ui->setupUi(this);
    Attach(ui->MotionSync_2, ui->label, ui->label_2);
}

MotionSync::~MotionSync()
{
    delete ui;
}

void MotionSync::on_MotionSync_2_clicked(bool checked)
{
    Clicked(checked);
}
