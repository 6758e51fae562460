#include "pages/lighting/ReceiveLight.h"

#include "device/DeviceParamSetters.h"
#include "device/DeviceState.h"
#include "device/PostMsg.h"
#include "pages/lighting/ReceiverLightRecords.h"
#include "pages/lighting/ReceiverRefusalNotice.h"
#include "platform/AppPaths.h"
#include "platform/hidusb/HIDUsb.h"
#include "ui_ReceiveLight.h"
#include "widgets/UiText.h"

#include <QSignalBlocker>

ReceiveLight::ReceiveLight(QWidget* parent) : LightPanel(parent), ui(new Ui::ReceiveLight)
{
    ui->setupUi(this);
    pictureFolder = AppPaths::ProgramFolder() + QStringLiteral("/Picture/Light/");
    ui->line_3->hide();
    ui->line_4->hide();
    LightPanelWidgets widgets;
    widgets.title = ui->TitleButton_5;
    widgets.mode = ui->LightMod_2;
    widgets.labels = {ui->label_9, ui->label_14, ui->label_15, ui->label_23, ui->label_20,
                      ui->label_21, ui->label_22, ui->label_18, ui->label_19};
    widgets.light = ui->horizontalLight_2;
    widgets.lightBox = ui->LightSpinBox_3;
    widgets.lightLine = ui->line_3;
    widgets.speed = ui->horizontalSpeed_2;
    widgets.speedBox = ui->SpeedSpinBox_3;
    widgets.speedLine = ui->line_4;
    ColourGroupWidgets& colour = widgets.colour;
    colour.red = ui->RSpinBox_2;
    colour.green = ui->GSpinBox_2;
    colour.blue = ui->BSpinBox_2;
    colour.board = ui->label_24;
    colour.preview = ui->labelPreView_2;
    colour.adds = {ui->AddR_2, ui->AddG_2, ui->AddB_2};
    colour.reduces = {ui->ReduceR_2, ui->ReduceG_2, ui->ReduceB_2};
    colour.presets = {ui->toolButtonColorA_2, ui->toolButtonColorB_2, ui->toolButtonColorC_2, ui->toolButtonColorD_2,
                      ui->toolButtonColorE_2, ui->toolButtonColorF_2, ui->toolButtonColorG_2, ui->toolButtonColorH_2,
                      ui->toolButtonColorI_2, ui->toolButtonColorJ_2, ui->toolButtonColorK_2, ui->toolButtonColorL_2,
                      ui->toolButtonColorM_2, ui->toolButtonColorN_2};
    widgets.colourGroup = {ui->label_23, ui->label_24, ui->label_18, ui->labelPreView_2, ui->label_19, ui->label_20,
                           ui->label_21, ui->ReduceG_2, ui->ReduceR_2, ui->ReduceB_2, ui->RSpinBox_2, ui->GSpinBox_2,
                           ui->BSpinBox_2, ui->AddR_2, ui->AddG_2, ui->AddB_2, ui->label_22};
    for (QToolButton* preset : colour.presets)
        widgets.colourGroup << preset;
    Rules rules;
    rules.slider = SliderRule::BackToRemembered;
    rules.rememberedMode = &LastReceiverLightMode;
    rules.rememberedLight = &LastReceiverLightBrightness;
    rules.rememberedSpeed = &LastReceiverLightSpeed;
    TakeWidgets(widgets, pictureFolder, rules);
    // Unlike the mouse panel, no mode's controls are applied here: until the mode list first
    // changes, every control shows except the two flat bars.

    connect(PostMsg::Instance(), &PostMsg::SigAllLanguage, this, &ReceiveLight::SlotAllLanguage);
    SlotAllLanguage(UiLanguage);
}

ReceiveLight::~ReceiveLight()
{
    delete ui;
}

bool ReceiveLight::SendLightBar()
{
    if (!VidEzorarA_SetDongleRGBBarMode(CurrentDevicePath, RecordBytes(DongleRGBBarImage)))
        return false;
    PushDeviceConfig();
    return true;
}

bool ReceiveLight::SendChange(const std::function<void(DongleRGBBar&)>& change)
{
    const DongleRGBBar before = *DongleRGBBarImage;
    change(*DongleRGBBarImage);
    if (SendLightBar())
        return true;
    *DongleRGBBarImage = before;
    ReceiverRefusalNotice::Show(this);
    return false;
}

bool ReceiveLight::WriteMode(int index)
{
    // Off is sent as mode 0 with the on byte 0.
    return SendChange([index](DongleRGBBar& bar) {
        bar.mode = uint8_t(index);
        bar.on = index != 0 ? 1 : 0;
    });
}

bool ReceiveLight::WriteLight(int value)
{
    return SendChange([value](DongleRGBBar& bar) { bar.brightness = uint8_t(value - 1); });
}

bool ReceiveLight::WriteSpeed(int value)
{
    return SendChange([value](DongleRGBBar& bar) { bar.speed = uint8_t(value - 1); });
}

bool ReceiveLight::WriteColour(int red, int green, int blue)
{
    return SendChange([=](DongleRGBBar& bar) {
        bar.red = uint8_t(red);
        bar.green = uint8_t(green);
        bar.blue = uint8_t(blue);
    });
}

void ReceiveLight::SlotAllLanguage(int index)
{
    const QString reader = QStringLiteral("ReceiveLight");
    for (int mode = 0; mode < ModeCount; ++mode)
        ui->LightMod_2->setItemText(mode, UiText::Option(index, QStringLiteral("LightModeOptions"), QString::number(mode)));
    ui->label_9->setText(UiText::ForReader(index, reader, QStringLiteral("receiverLight")));
    ui->label_14->setText(UiText::ForReader(index, reader, QStringLiteral("Brightness")));
    ui->label_15->setText(UiText::ForReader(index, reader, QStringLiteral("Speed")));
    ui->label_23->setText(UiText::ForReader(index, reader, QStringLiteral("Preview")));
    ui->label_18->setText(UiText::ForReader(index, reader, QStringLiteral("CustomColor")));
    ui->label_22->setText(UiText::ForReader(index, reader, QStringLiteral("Preset")));
}
