#include "pages/variants/SensorRateB.h"

#include "device/DeviceParamSetters.h"
#include "device/DeviceState.h"
#include "device/PostMsg.h"
#include "pages/sensor/SensorRate.h"
#include "platform/AppPaths.h"
#include "ui_SensorRateB.h"
#include "widgets/NoticeLook.h"
#include "widgets/PanelLook.h"

#include <QButtonGroup>

SensorRateB::SensorRateB(QWidget* parent) : QFrame(parent), ui(new Ui::SensorRateB)
{
    ui->setupUi(this);
    pictureFolder = AppPaths::ProgramFolder() + QStringLiteral("/Picture/Sensor/");
    group = new QButtonGroup(this);
    group->setExclusive(true);
    ui->label->setStyleSheet(NoticeLook::LabelStyle());
    const QString boxStyle = PanelLook::ChoiceBoxStyle(pictureFolder);
    for (QCheckBox* box : {ui->Button125HZ, ui->Button250HZ, ui->Button500HZ, ui->Button1000HZ, ui->Button2000HZ,
                           ui->Button4000HZ, ui->Button8000HZ}) {
        group->addButton(box);
        box->setStyleSheet(boxStyle);
    }
}

SensorRateB::~SensorRateB()
{
    delete ui;
}

void SensorRateB::SetRateMode(int mode)
{
    SensorRate::ShowFastRates(mode, ui->Button2000HZ, ui->Button4000HZ, ui->Button8000HZ);
}

void SensorRateB::SetTitleText(const QString& text)
{
    ui->label->setText(text);
}

void SensorRateB::RateClicked(int row, bool checked)
{
    if (!checked || !UserWritesEnabled)
        return;
    // A refused write (mouse offline) is told by the setter; the clicked box stays checked.
    if (SetDeviceReportRate(uint8_t(SensorRate::CodeOfRow(row))))
        emit PostMsg::Instance()->SigHideModel(SensorRate::IsFastRow(row) ? 1 : 0);
}

void SensorRateB::on_Button125HZ_clicked(bool checked) { RateClicked(0, checked); }
void SensorRateB::on_Button250HZ_clicked(bool checked) { RateClicked(1, checked); }
void SensorRateB::on_Button500HZ_clicked(bool checked) { RateClicked(2, checked); }
void SensorRateB::on_Button1000HZ_clicked(bool checked) { RateClicked(3, checked); }
void SensorRateB::on_Button2000HZ_clicked(bool checked) { RateClicked(4, checked); }
void SensorRateB::on_Button4000HZ_clicked(bool checked) { RateClicked(5, checked); }
void SensorRateB::on_Button8000HZ_clicked(bool checked) { RateClicked(6, checked); }
