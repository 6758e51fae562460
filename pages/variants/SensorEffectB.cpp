#include "pages/variants/SensorEffectB.h"

#include "device/DeviceParamSetters.h"
#include "device/DeviceState.h"
#include "platform/AppPaths.h"
#include "ui_SensorEffectB.h"
#include "widgets/DpiLightEffect.h"
#include "widgets/NoticeLook.h"
#include "widgets/PanelLook.h"
#include "widgets/SliderLook.h"

#include <QButtonGroup>
#include <QSignalBlocker>

SensorEffectB::SensorEffectB(QWidget* parent) : QFrame(parent), ui(new Ui::SensorEffectB)
{
    ui->setupUi(this);
    pictureFolder = AppPaths::ProgramFolder() + QStringLiteral("/Picture/Sensor/");
    group = new QButtonGroup(this);
    group->setExclusive(true);
    group->addButton(ui->MM1);
    group->addButton(ui->MM2);
    group->addButton(ui->MM3);
    const QString labelStyle = NoticeLook::LabelStyle();
    for (QWidget* label : {ui->label, ui->label_14, ui->label_15})
        label->setStyleSheet(labelStyle);
    const QString boxStyle = PanelLook::ChoiceBoxStyle(pictureFolder);
    for (QWidget* box : {ui->MM1, ui->MM2, ui->MM3})
        box->setStyleSheet(boxStyle);
    ApplySliderLook(ui->SpeedH, pictureFolder);
    ApplySliderLook(ui->LightH, pictureFolder);
    const QString numberStyle = PanelLook::PlainNumberStyle();
    ui->SpeedSpinBox->setStyleSheet(numberStyle);
    ui->LightSpinBox->setStyleSheet(numberStyle);
}

SensorEffectB::~SensorEffectB()
{
    delete ui;
}

bool SensorEffectB::WritesAllowed()
{
    return UserWritesEnabled && !SensorPageRefreshing;
}

bool SensorEffectB::ApplyMode(int mode)
{
    return ApplyDpiLightMode({ui->SpeedH, ui->SpeedSpinBox, ui->line, ui->LightH, ui->LightSpinBox, ui->line_2}, mode);
}

void SensorEffectB::SetModel(int mode)
{
    QAbstractButton* const boxes[3] = {ui->MM3, ui->MM1, ui->MM2};
    if (mode < 0 || mode > 2)
        return;
    const QSignalBlocker speedBlocker(ui->SpeedH);
    const QSignalBlocker lightBlocker(ui->LightH);
    boxes[mode]->setChecked(true);
    ApplyMode(mode);
}

void SensorEffectB::EnableSliders(bool enable)
{
    ui->SpeedH->setEnabled(enable);
    ui->LightH->setEnabled(enable);
}

void SensorEffectB::SetModelItemText(int index, const QString& text)
{
    QAbstractButton* const boxes[3] = {ui->MM3, ui->MM1, ui->MM2};
    if (index >= 0 && index < 3)
        boxes[index]->setText(text);
}

void SensorEffectB::SetTitleText(const QString& text)
{
    ui->label->setText(text);
}

void SensorEffectB::SetSpeedText(const QString& text)
{
    ui->label_14->setText(text);
}

void SensorEffectB::SetLightText(const QString& text)
{
    ui->label_15->setText(text);
}

void SensorEffectB::ModeClicked(int mode, bool checked)
{
    if (!checked)
        return;
    ApplyMode(mode);
    // A refused write (mouse offline) is told by the setter; the new box stays checked.
    if (WritesAllowed())
        SetDeviceDPILedMode(mode);
}

void SensorEffectB::on_MM3_clicked(bool checked) { ModeClicked(0, checked); }
void SensorEffectB::on_MM1_clicked(bool checked) { ModeClicked(1, checked); }
void SensorEffectB::on_MM2_clicked(bool checked) { ModeClicked(2, checked); }

// No list is named Model on this panel: the slot is reached only by a call by name.
void SensorEffectB::on_Model_currentIndexChanged(int index)
{
    ApplyMode(index);
    if (WritesAllowed())
        SetDeviceDPILedMode(index);
}

void SensorEffectB::on_SpeedH_sliderMoved(int position)
{
    ui->SpeedSpinBox->setValue(position);
}

void SensorEffectB::on_LightH_sliderMoved(int position)
{
    ui->LightSpinBox->setValue(position);
}

void SensorEffectB::on_SpeedH_valueChanged(int value)
{
    ui->SpeedSpinBox->setValue(value);
    if (WritesAllowed())
        SetDeviceDPILedSpeed(uint8_t(value));
}

void SensorEffectB::on_LightH_valueChanged(int value)
{
    ui->LightSpinBox->setValue(value);
    if (WritesAllowed())
        SetDeviceDPILedBrightness(uint8_t(DpiLightBrightnessCode(value)));
}
