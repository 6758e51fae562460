#include "pages/variants/SensorLODB.h"

#include "device/DeviceParamSetters.h"
#include "device/DeviceState.h"
#include "platform/AppPaths.h"
#include "ui_SensorLODB.h"
#include "widgets/NoticeLook.h"
#include "widgets/PanelLook.h"

#include <QButtonGroup>

namespace {
// Record byte 5: 3 is 0.7 mm, 1 is 1 mm, 2 is 2 mm.
const uint8_t ZeroCode = 3;
const uint8_t OneCode = 1;
const uint8_t TwoCode = 2;
const int RowX[3] = {80, 165, 250};
}

SensorLODB::SensorLODB(QWidget* parent) : QFrame(parent), ui(new Ui::SensorLODB)
{
    ui->setupUi(this);
    pictureFolder = AppPaths::ProgramFolder() + QStringLiteral("/Picture/Sensor/");
    group = new QButtonGroup(this);
    group->setExclusive(true);
    group->addButton(ui->MM0);
    group->addButton(ui->MM1);
    group->addButton(ui->MM2);
    ui->label->setStyleSheet(NoticeLook::LabelStyle());
    const QString boxStyle = PanelLook::ChoiceBoxStyle(pictureFolder);
    ui->MM1->setStyleSheet(boxStyle);
    ui->MM2->setStyleSheet(boxStyle);
    ui->MM0->hide();
}

SensorLODB::~SensorLODB()
{
    delete ui;
}

void SensorLODB::ShowZeroOption()
{
    ui->MM0->show();
    ui->MM0->move(RowX[0], 0);
    ui->MM1->move(RowX[1], 0);
    ui->MM2->move(RowX[2], 0);
}

void SensorLODB::HideZeroOption()
{
    ui->MM0->hide();
    ui->MM1->move(RowX[0], 0);
    ui->MM2->move(RowX[1], 0);
}

void SensorLODB::EnableOptions(bool enable)
{
    ui->MM1->setEnabled(enable);
    ui->MM2->setEnabled(enable);
}

void SensorLODB::SetText(const QString& text)
{
    ui->label->setText(text);
}

void SensorLODB::SetToolTip(const QString& text)
{
    ui->label->setToolTip(text);
}

void SensorLODB::Choose(uint8_t code)
{
    // A refused write (mouse offline) is told by the setter; the clicked box stays checked.
    if (UserWritesEnabled && !SensorPageRefreshing)
        SetDeviceLOD(code);
}

void SensorLODB::on_MM1_clicked(bool) { Choose(OneCode); }
void SensorLODB::on_MM2_clicked(bool) { Choose(TwoCode); }
void SensorLODB::on_MM0_clicked(bool) { Choose(ZeroCode); }
