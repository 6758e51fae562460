#include "pages/lighting/ReceiveLight.h"

#include "device/DeviceParamSetters.h"
#include "device/DeviceState.h"
#include "device/PostMsg.h"
#include "pages/lighting/ReceiverLightRecords.h"
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
    widgets.red = ui->RSpinBox_2;
    widgets.green = ui->GSpinBox_2;
    widgets.blue = ui->BSpinBox_2;
    widgets.board = ui->label_24;
    widgets.preview = ui->labelPreView_2;
    widgets.adds = {ui->AddR_2, ui->AddG_2, ui->AddB_2};
    widgets.reduces = {ui->ReduceR_2, ui->ReduceG_2, ui->ReduceB_2};
    widgets.presets = {ui->toolButtonColorA_2, ui->toolButtonColorB_2, ui->toolButtonColorC_2, ui->toolButtonColorD_2,
                       ui->toolButtonColorE_2, ui->toolButtonColorF_2, ui->toolButtonColorG_2, ui->toolButtonColorH_2,
                       ui->toolButtonColorI_2, ui->toolButtonColorJ_2, ui->toolButtonColorK_2, ui->toolButtonColorL_2,
                       ui->toolButtonColorM_2, ui->toolButtonColorN_2};
    widgets.colourGroup = {ui->label_23, ui->label_24, ui->label_18, ui->labelPreView_2, ui->label_19, ui->label_20,
                           ui->label_21, ui->ReduceG_2, ui->ReduceR_2, ui->ReduceB_2, ui->RSpinBox_2, ui->GSpinBox_2,
                           ui->BSpinBox_2, ui->AddR_2, ui->AddG_2, ui->AddB_2, ui->label_22};
    for (QToolButton* preset : widgets.presets)
        widgets.colourGroup << preset;
    TakeWidgets(widgets, pictureFolder);
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

void ReceiveLight::on_LightMod_2_currentIndexChanged(int index)
{
    if (UserWritesEnabled && !LightPageRefreshing) {
        DongleRGBBarImage->mode = uint8_t(index);
        DongleRGBBarImage->on = index != 0 ? 1 : 0;
        if (!SendLightBar()) {
            // Refused: the list goes back to the mode in force; the record keeps the refused
            // bytes, which the next taken write carries along.
            const QSignalBlocker blocker(ui->LightMod_2);
            ui->LightMod_2->setCurrentIndex(LastReceiverLightMode);
            return;
        }
        LastReceiverLightMode = index;
    }
    ApplyModeRows(index);
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
