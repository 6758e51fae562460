#include "pages/lighting/MouseLight.h"

#include "device/DeviceParamSetters.h"
#include "device/DeviceState.h"
#include "device/PostMsg.h"
#include "pages/lighting/ReceiverLightRecords.h"
#include "platform/AppPaths.h"
#include "ui_MouseLight.h"
#include "widgets/UiText.h"

#include <QSignalBlocker>

MouseLight::MouseLight(QWidget* parent) : LightPanel(parent), ui(new Ui::MouseLight)
{
    ui->setupUi(this);
    pictureFolder = AppPaths::ProgramFolder() + QStringLiteral("/Picture/Light/");
    ui->line->hide();
    ui->line_2->hide();
    LightPanelWidgets widgets;
    widgets.title = ui->TitleButton_4;
    widgets.mode = ui->LightMod;
    widgets.labels = {ui->label, ui->label_2, ui->label_3, ui->label_4, ui->label_6, ui->label_8, ui->label_13};
    widgets.light = ui->horizontalLight;
    widgets.lightBox = ui->LightSpinBox_2;
    widgets.lightLine = ui->line;
    widgets.speed = ui->horizontalSpeed;
    widgets.speedBox = ui->SpeedSpinBox_2;
    widgets.speedLine = ui->line_2;
    ColourGroupWidgets& colour = widgets.colour;
    colour.red = ui->RSpinBox;
    colour.green = ui->GSpinBox;
    colour.blue = ui->BSpinBox;
    colour.board = ui->label_7;
    colour.preview = ui->labelPreView;
    colour.adds = {ui->AddR, ui->AddG, ui->AddB};
    colour.reduces = {ui->ReduceR, ui->ReduceG, ui->ReduceB};
    colour.presets = {ui->toolButtonColorA, ui->toolButtonColorB, ui->toolButtonColorC, ui->toolButtonColorD,
                      ui->toolButtonColorE, ui->toolButtonColorF, ui->toolButtonColorG, ui->toolButtonColorH,
                      ui->toolButtonColorI, ui->toolButtonColorJ, ui->toolButtonColorK, ui->toolButtonColorL,
                      ui->toolButtonColorM, ui->toolButtonColorN};
    widgets.colourGroup = {ui->label_6, ui->label_7, ui->label_8, ui->labelPreView, ui->label_11, ui->label_10,
                           ui->label_12, ui->ReduceR, ui->ReduceG, ui->ReduceB, ui->RSpinBox, ui->GSpinBox,
                           ui->BSpinBox, ui->AddR, ui->AddG, ui->AddB, ui->label_13};
    for (QToolButton* preset : colour.presets)
        widgets.colourGroup << preset;
    Rules rules;
    rules.slider = SliderRule::LockAtShownNumber;
    rules.rememberedMode = &LastMouseLightMode;
    TakeWidgets(widgets, pictureFolder, rules);
    ui->RippeControl->setStyleSheet(QStringLiteral("QToolButton{border-image: url(") + pictureFolder
                                    + QStringLiteral("Close.png);}QToolButton:checked{border-image: url(") + pictureFolder
                                    + QStringLiteral("Open.png);}"));
    // The controls of the list's first mode (off). Shown directly rather than through the mode
    // slot, so that building the panel never writes, whatever the write flag says.
    ApplyModeRows(ui->LightMod->currentIndex());

    connect(PostMsg::Instance(), &PostMsg::SigAllLanguage, this, &MouseLight::SlotAllLanguage);
    SlotAllLanguage(UiLanguage);
}

MouseLight::~MouseLight()
{
    delete ui;
}

void MouseLight::EnableSliders(bool enable)
{
    ui->horizontalLight->setEnabled(enable);
    ui->horizontalSpeed->setEnabled(enable);
}

void MouseLight::SetRippeControl(bool on)
{
    ui->RippeControl->setChecked(on);
}

void MouseLight::SlotAllLanguage(int index)
{
    const QString reader = QStringLiteral("MouseLight");
    ui->label->setText(UiText::ForReader(index, reader, QStringLiteral("LightMode")));
    for (int mode = 0; mode < ModeCount; ++mode)
        ui->LightMod->setItemText(mode, UiText::Option(index, QStringLiteral("LightModeOptions"), QString::number(mode)));
    ui->label_2->setText(UiText::ForReader(index, reader, QStringLiteral("Brightness")));
    ui->label_3->setText(UiText::ForReader(index, reader, QStringLiteral("Speed")));
    ui->label_4->setText(UiText::ForReader(index, reader, QStringLiteral("MovingOffLight")));
    ui->label_6->setText(UiText::ForReader(index, reader, QStringLiteral("Preview")));
    ui->label_8->setText(UiText::ForReader(index, reader, QStringLiteral("CustomColor")));
    ui->label_13->setText(UiText::ForReader(index, reader, QStringLiteral("Preset")));
    ui->label_11->setText(QStringLiteral("R:"));
    ui->label_10->setText(QStringLiteral("G:"));
    ui->label_12->setText(QStringLiteral("B:"));
}

bool MouseLight::WriteMode(int index)
{
    // Off keeps the mode byte as it was: only the on byte goes to 0.
    return SetDeviceLightMode(index);
}

void MouseLight::ModeTaken(int index)
{
    if (index != 0)
        return;
    // A light switched off does not go out while moving either: a second write clears it.
    ui->RippeControl->setChecked(false);
    if (!SetDeviceMovingOffLight(0)) {
        const QSignalBlocker blocker(ui->RippeControl);
        ui->RippeControl->setChecked(true);
    }
}

bool MouseLight::WriteLight(int value)
{
    return SetDeviceLightBrightness(uint8_t(value - 1));
}

bool MouseLight::WriteSpeed(int value)
{
    return SetDeviceLightSpeed(uint8_t(value - 1));
}

bool MouseLight::WriteColour(int red, int green, int blue)
{
    // A refusal is told by the setter (the offline notice).
    return SetDeviceLightColor(uint8_t(red), uint8_t(green), uint8_t(blue));
}

void MouseLight::on_RippeControl_clicked(bool checked)
{
    if (!UserWritesEnabled || LightPageRefreshing)
        return;
    if (!SetDeviceMovingOffLight(checked ? 1 : 0)) {
        const QSignalBlocker blocker(ui->RippeControl);
        ui->RippeControl->setChecked(!checked);
    }
}
