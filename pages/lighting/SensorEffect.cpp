#include "pages/lighting/SensorEffect.h"

#include "device/DeviceParamSetters.h"
#include "device/DeviceState.h"
#include "platform/AppPaths.h"
#include "ui_SensorEffect.h"
#include "widgets/ComboBoxLook.h"
#include "widgets/DpiLightEffect.h"
#include "widgets/PanelLook.h"
#include "widgets/SliderLook.h"
#include "widgets/ThemeColor.h"

#include <QSignalBlocker>

SensorEffect::SensorEffect(QWidget* parent) : QFrame(parent), ui(new Ui::SensorEffect)
{
    ui->setupUi(this);
    // The panel takes its pictures from the sensor page's folder.
    pictureFolder = AppPaths::ProgramFolder() + QStringLiteral("/Picture/Sensor/");
    const QString labelColor = ThemeColor(QStringLiteral("LabelColor"));
    const QString labelStyle = QStringLiteral("QLabel{color: rgb(") + labelColor + QStringLiteral(";);}");
    for (QWidget* label : {ui->label, ui->label_14, ui->label_15})
        label->setStyleSheet(labelStyle);
    ui->TitleButton_3->setStyleSheet(QStringLiteral("#TitleButton_3{border-image: url(") + pictureFolder
                                     + QStringLiteral("Title.png);}"));
    ApplyComboBoxLook(ui->Model, pictureFolder);
    // The number boxes only show the sliders' values: a drag across one would select its number and
    // leave it highlighted.
    for (QSpinBox* box : {ui->SpeedSpinBox, ui->LightSpinBox})
        box->setAttribute(Qt::WA_TransparentForMouseEvents);
    // Until the page shows the device's values the panel shows the light off.
    ApplyMode(0);
}

SensorEffect::~SensorEffect()
{
    delete ui;
}

bool SensorEffect::WritesAllowed()
{
    return UserWritesEnabled && !SensorPageRefreshing;
}

void SensorEffect::ApplyMode(int mode)
{
    if (mode < 0 || mode > 2)
        return;
    // Both rows stay in view with the values the mouse holds: the row the mode does not use is
    // greyed out and out of the mouse's reach, where a bare line without a number stood before.
    ShowRow(ui->SpeedH, ui->SpeedSpinBox, mode == 2);
    ShowRow(ui->LightH, ui->LightSpinBox, mode == 1);
    ui->line->hide();
    ui->line_2->hide();
}

void SensorEffect::ShowRow(QSlider* slider, QSpinBox* box, bool inUse)
{
    slider->show();
    box->show();
    // Out of use, the slider lets presses and the wheel through to the panel; it keeps its enabled
    // state, which says whether the mouse refused a write.
    slider->setAttribute(Qt::WA_TransparentForMouseEvents, !inUse);
    if (inUse)
        ApplySliderLook(slider, pictureFolder);
    else
        ApplyMutedSliderLook(slider, pictureFolder);
    box->setStyleSheet(inUse ? PanelLook::PlainNumberStyle() : PanelLook::MutedNumberStyle());
}

void SensorEffect::SetModel(int mode)
{
    // A mode the list does not hold would leave the list blank: the shown mode stays.
    if (mode < 0 || mode >= ui->Model->count())
        return;
    {
        const QSignalBlocker blocker(ui->Model);
        ui->Model->setCurrentIndex(mode);
        rememberedMode = mode;
    }
    const QSignalBlocker speed(ui->SpeedH);
    const QSignalBlocker light(ui->LightH);
    ApplyMode(mode);
}

void SensorEffect::SetSpeedValue(int speed)
{
    const QSignalBlocker blocker(ui->SpeedH);
    ui->SpeedH->setValue(speed);
    ui->SpeedSpinBox->setValue(speed);
}

void SensorEffect::SetLightValue(int step)
{
    const QSignalBlocker blocker(ui->LightH);
    ui->LightH->setValue(step);
    ui->LightSpinBox->setValue(step);
}

void SensorEffect::EnableSliders(bool enable)
{
    ui->SpeedH->setEnabled(enable);
    ui->LightH->setEnabled(enable);
}

void SensorEffect::UnlockSliders()
{
    EnableSliders(true);
    ui->SpeedH->blockSignals(false);
    ui->LightH->blockSignals(false);
}

void SensorEffect::SetModelItemText(int index, const QString& text)
{
    ui->Model->setItemText(index, text);
}

void SensorEffect::SetTitleText(const QString& text)
{
    ui->label->setText(text);
}

void SensorEffect::SetSpeedText(const QString& text)
{
    ui->label_14->setText(text);
}

void SensorEffect::SetLightText(const QString& text)
{
    ui->label_15->setText(text);
}

void SensorEffect::on_Model_currentIndexChanged(int index)
{
    if (WritesAllowed()) {
        if (!SetDeviceDPILedMode(index)) {
            // Refused: the previous mode comes back without a second write.
            SetModel(rememberedMode);
            return;
        }
        rememberedMode = index;
    }
    ApplyMode(index);
}

void SensorEffect::Dragged(QSlider* slider, QSpinBox* box, int position)
{
    if (!slider->isEnabled())
        return;
    // Asked before the slider is greyed out: disabling a slider ends its drag at once, which would
    // turn every drag into a release at the first step.
    if (!IsDeviceOnline()) {
        // The slider stays greyed out at the number shown until the page shows the device's values.
        const QSignalBlocker blocker(slider);
        slider->setEnabled(false);
        slider->setValue(box->value());
        return;
    }
    box->setValue(position);
}

template <typename Write>
void SensorEffect::Released(QSlider* slider, QSpinBox* box, int value, Write write)
{
    if (!slider->isEnabled()) {
        // Every change of a disabled slider is undone.
        slider->setValue(box->value());
        return;
    }
    if (!WritesAllowed())
        return;
    if (!write(value)) {
        const QSignalBlocker blocker(slider);
        slider->setEnabled(false);
        slider->setValue(box->value());
        return;
    }
    box->setValue(value);
}

void SensorEffect::on_SpeedH_sliderMoved(int position)
{
    Dragged(ui->SpeedH, ui->SpeedSpinBox, position);
}

void SensorEffect::on_LightH_sliderMoved(int position)
{
    Dragged(ui->LightH, ui->LightSpinBox, position);
}

void SensorEffect::on_SpeedH_valueChanged(int value)
{
    Released(ui->SpeedH, ui->SpeedSpinBox, value, [](int speed) { return SetDeviceDPILedSpeed(uint8_t(speed)); });
}

void SensorEffect::on_LightH_valueChanged(int value)
{
    Released(ui->LightH, ui->LightSpinBox, value, [](int step) {
        const int code = DpiLightBrightnessCode(step);
        return code >= 0 && SetDeviceDPILedBrightness(uint8_t(code));
    });
}
