#include "pages/lighting/LampLight.h"

#include "device/ConnectionState.h"
#include "device/DeviceDiscovery.h"
#include "device/DeviceParamSetters.h"
#include "device/ModelFeatures.h"
#include "device/PostMsg.h"
#include "device/RefreshingScope.h"
#include "device/SleepTimeCodes.h"
#include "pages/lighting/ReceiverLightRecords.h"
#include "platform/AppPaths.h"
#include "platform/hidusb/HIDUsb.h"
#include "ui_LampLight.h"
#include "widgets/DpiLightEffect.h"
#include "widgets/UiText.h"

#include <QTabBar>
#include <QWheelEvent>

LampLight::LampLight(QWidget* parent) : QWidget(parent), ui(new Ui::LampLight)
{
    ui->setupUi(this);
    // The panels are laid out by space alone: their drawn frames would box them on the dark page.
    for (QFrame* panel : {static_cast<QFrame*>(ui->LightPage), static_cast<QFrame*>(ui->frameEffect),
                          static_cast<QFrame*>(ui->FrameMouseLight), static_cast<QFrame*>(ui->FrameReceiveLight),
                          static_cast<QFrame*>(ui->FrameOneLed), static_cast<QFrame*>(ui->FrameThreeLed)})
        panel->setFrameShape(QFrame::NoFrame);
    pictureFolder = AppPaths::ProgramFolder() + QStringLiteral("/Picture/Light/");
    ResetReceiverLightRecords();

    ui->FrameMouseLight->hide();
    ui->verticalScrollBar->hide();
    ui->tabWidget->setStyleSheet(
        QStringLiteral("QTabWidget::pane {    border: 0px solid #AAAAAA;    background-color: transparent;}"));
    ui->verticalScrollBar->setStyleSheet(QStringLiteral(
        "QScrollBar:vertical{background: #3f3f3f; width: 12px; border-radius: 6px;}"
        "QScrollBar::handle:vertical{background: #5B5B5B; border-radius: 5px; min-height: 20px;}"
        "QScrollBar::handle:vertical:hover{background: #666666;}"));
    ui->tabWidget->tabBar()->hide();
    // Shown only for a receiver whose model has the feature, when it reports its meaning.
    ui->FrameOneLed->hide();

    PostMsg* bus = PostMsg::Instance();
    connect(bus, &PostMsg::SigAllLanguage, this, &LampLight::SlotAllLanguage);
    SlotAllLanguage(UiLanguage);
    // What the Worker and the report callback send is connected blocking: they wait for the page.
    connect(bus, SIGNAL(SigUpDataLightLight(FlashDataMap)), this, SLOT(SlotUpDataLightUILight(FlashDataMap)),
            Qt::BlockingQueuedConnection);
    connect(bus, SIGNAL(SigUpDataLightUIA(FlashDataMap)), this, SLOT(SlotUpDataLightUIA(FlashDataMap)));
    connect(bus, &PostMsg::SigFormReset, this, &LampLight::SlotFormResetLight, Qt::BlockingQueuedConnection);
    connect(bus, SIGNAL(SigUpDataDPILed(FlashDataMap)), this, SLOT(SlotUpDataDPILed(FlashDataMap)),
            Qt::BlockingQueuedConnection);
    connect(bus, &PostMsg::SigForm, this, &LampLight::SlotForm, Qt::BlockingQueuedConnection);
    connect(bus, &PostMsg::SigFormB, this, &LampLight::SlotFormB);
    connect(bus, SIGNAL(SigRGBValue(DongleRGB*)), this, SLOT(SlotRGBValue(DongleRGB*)), Qt::BlockingQueuedConnection);

    ui->tabWidget->setCurrentIndex(0);
}

LampLight::~LampLight()
{
    delete ui;
}

int LampLight::BrightnessStep(int code)
{
    return DpiLightBrightnessStep(code);
}

SensorEffect* LampLight::EffectPanel() const
{
    return ui->frameEffect;
}

MouseLight* LampLight::MouseLightPanel() const
{
    return ui->FrameMouseLight;
}

ReceiveLight* LampLight::ReceiveLightPanel() const
{
    return ui->FrameReceiveLight;
}

OneLed* LampLight::IndicatorMeaningPanel() const
{
    return ui->FrameOneLed;
}

ThreeLed* LampLight::IndicatorLedsPanel() const
{
    return ui->FrameThreeLed;
}

void LampLight::SlotAllLanguage(int index)
{
    SensorEffect* effect = ui->frameEffect;
    for (int mode = 0; mode < 3; ++mode)
        effect->SetModelItemText(mode, UiText::Option(index, QStringLiteral("DPIEffectOptions"), QString::number(mode)));
    effect->SetTitleText(UiText::ForReader(index, QStringLiteral("LampLight"), QStringLiteral("DPIEffect")));
    effect->SetSpeedText(UiText::ForReader(index, QStringLiteral("LampLight"), QStringLiteral("Speed")));
    effect->SetLightText(UiText::ForReader(index, QStringLiteral("LampLight"), QStringLiteral("Brightness")));
}

void LampLight::ReadReceiverLights()
{
    // What a receiver that does not answer leaves in the records is shown as it is.
    const char* path = CurrentDevicePath;
    VidEzorarA_GetDongleRGBBarMode(path, RecordBytes(DongleRGBBarImage));
    VidEzorarA_GetDongleIndicatorLed(path, RecordBytes(DongleIndicatorLedImage));
    ThreeLed* leds = ui->FrameThreeLed;
    leds->SetLed1Mode(DongleIndicatorLedImage->modes[0]);
    leds->SetLed2Mode(DongleIndicatorLedImage->modes[1]);
    leds->SetLed3Mode(DongleIndicatorLedImage->modes[2]);
    // What a list shows: a byte out of its range leaves the item it showed, which a refused write
    // then puts back.
    for (int led = 0; led < 3; ++led)
        LastIndicatorLedModes[led] = leds->ShownLedMode(led);
}

void LampLight::ShowReceiverLightBar()
{
    ReceiveLight* bar = ui->FrameReceiveLight;
    const DongleRGBBar& record = *DongleRGBBarImage;
    bar->BlockValueSignals(true);
    LastReceiverLightBrightness = record.brightness + 1;
    LastReceiverLightSpeed = record.speed + 1;
    bar->SetLightValue(LastReceiverLightBrightness);
    bar->SetSpeedValue(LastReceiverLightSpeed);
    bar->SetLightSpinBox(LastReceiverLightBrightness);
    bar->SetSpeedSpinBox(LastReceiverLightSpeed);
    bar->SetRGB(record.red, record.green, record.blue);
    bar->BlockValueSignals(false);
    // With signals live, so that the panel shows the mode's controls; it writes nothing meanwhile.
    // A mode out of the list's range leaves the mode shown, which is then the one remembered.
    bar->SetLightMode(record.on != 0 ? record.mode : 0);
    LastReceiverLightMode = bar->ShownMode();
}

void LampLight::ShowDpiEffect(const FlashDataMap& record)
{
    SensorEffect* effect = ui->frameEffect;
    // The effect switched on with a mode the panel does not offer keeps the mode shown.
    if (record.dpiLedOn == 0)
        effect->SetModel(0);
    else if (record.dpiLedMode == 1 || record.dpiLedMode == 2)
        effect->SetModel(record.dpiLedMode);
    effect->SetSpeedValue(record.dpiLedSpeed);
    effect->SetLightValue(BrightnessStep(record.dpiLedBrightness));
}

void LampLight::ShowMouseLight(const FlashDataMap& record)
{
    MouseLight* light = ui->FrameMouseLight;
    light->BlockValueSignals(true);
    light->SetLightValue(record.lightBrightness + 1);
    light->SetSpeedValue(record.lightSpeed + 1);
    light->SetSpeedSpinBox(record.lightSpeed + 1);
    light->SetLightSpinBox(record.lightBrightness + 1);
    light->SetRGB(record.lightRed, record.lightGreen, record.lightBlue);
    light->BlockValueSignals(false);
    // The mode is kept while the light is off; off shows mode 0. A mode out of the list's range
    // leaves the mode shown, which is then the one remembered.
    light->SetLightMode(record.lightOn != 0 ? record.lightMode : 0);
    LastMouseLightMode = light->ShownMode();
    light->SetRippeControl(record.movingOffLight != 0);
}

void LampLight::ShowRecord(const FlashDataMap& record, bool fromDevice)
{
    // An imported record is not the mouse's yet: its sliders stay locked until a read shows it.
    ui->FrameMouseLight->EnableSliders(fromDevice);
    ReadReceiverLights();
    ShowReceiverLightBar();
    ui->frameEffect->EnableSliders(true);
    ui->frameEffect->UnlockSliders();
    ShowDpiEffect(record);
    ShowMouseLight(record);
    // Without its mouse the receiver's meaning is unknown; the second one is shown, not sent.
    if (!fromDevice || !CurrentDeviceInfo.Get().online)
        ui->FrameOneLed->SetMeaningQuiet(1);
}

void LampLight::SlotUpDataLightUILight(FlashDataMap DataMap)
{
    LightPageUpdated = false;
    {
        const RefreshingScope refreshing(LightPageRefreshing);
        ShowRecord(DataMap, true);
    }
    LightPageUpdated = true;
}

void LampLight::SlotUpDataLightUIA(FlashDataMap DataMap)
{
    // An imported record is not a read from the device: the flag is cleared and only the next
    // read sets it again.
    LightPageUpdated = false;
    const RefreshingScope refreshing(LightPageRefreshing);
    ShowRecord(DataMap, false);
}

void LampLight::SlotUpDataDPILed(FlashDataMap DataMap)
{
    ShowDpiEffect(DataMap);
}

void LampLight::SlotFormResetLight()
{
    // The mouse's defaults; the colours and the receiver's records stay as they are. No signal is
    // held back: the panels' slots see the flag and write nothing.
    const RefreshingScope refreshing(LightPageRefreshing);
    MouseLight* mouse = ui->FrameMouseLight;
    ReceiveLight* bar = ui->FrameReceiveLight;
    mouse->SetLightMode(1);
    bar->SetLightMode(1);
    LastMouseLightMode = 1;
    mouse->SetLightValue(10);
    mouse->SetSpeedValue(8);
    LastReceiverLightMode = 1;
    bar->SetLightValue(10);
    LastReceiverLightBrightness = 10;
    bar->SetSpeedValue(8);
    LastReceiverLightSpeed = 8;
    bar->SetSpeedSpinBox(8);
    bar->SetLightSpinBox(10);
    mouse->SetLightSpinBox(10);
    mouse->SetSpeedSpinBox(8);
    mouse->SetRippeControl(false);
    ui->FrameOneLed->hide();
    ui->frameEffect->SetModel(0);
    ui->frameEffect->SetSpeedValue(3);
    ui->frameEffect->SetLightValue(5);
    ui->FrameThreeLed->SetLed1Mode(0);
    ui->FrameThreeLed->SetLed2Mode(0);
    ui->FrameThreeLed->SetLed3Mode(0);
    for (int& mode : LastIndicatorLedModes)
        mode = 0;
}

void LampLight::SlotRGBValue(DongleRGB* Rgb)
{
    const DeviceAllInfo device = CurrentDeviceInfo.Get();
    if (!ModelHasIndicatorMeaning() || device.wired || device.status != 1)
        return;
    ui->FrameOneLed->show();
    const int meaning = Rgb ? Rgb->bytes[0] : 0;
    // The receiver holds the meaning it reports: shown, not sent back (nor refused when its mouse
    // is away).
    if (meaning >= 1 && meaning <= 3)
        ui->FrameOneLed->SetMeaningQuiet(meaning - 1);
}

void LampLight::SlotForm()
{
    // Only a receiver of kind 1 has the indicator meaning; SlotRGBValue shows the panel.
    const DeviceAllInfo device = CurrentDeviceInfo.Get();
    const bool receiverKind = DeviceAllInfo::IsWiredStatus(device.status) || device.status == 1;
    if (!ModelHasIndicatorMeaning() || !receiverKind || device.wired)
        ui->FrameOneLed->hide();
}

void LampLight::SlotFormB()
{
    const DeviceAllInfo device = CurrentDeviceInfo.Get();
    if (!ModelHasIndicatorMeaning() || !DeviceAllInfo::IsWiredStatus(device.status) || device.wired)
        ui->FrameOneLed->hide();
}

void LampLight::on_StopCloseTime_activated(int index)
{
    if (!UserWritesEnabled)
        return;
    const int code = SleepTimeCode(index);
    if (code < 0 || LightPageRefreshing)
        return;
    SetDeviceSleepTime(uint8_t(code));
}

void LampLight::on_LightSpinBox_2_valueChanged(int) {}
void LampLight::on_SpeedSpinBox_2_valueChanged(int) {}
void LampLight::on_LightMod_editTextChanged(const QString&) {}
void LampLight::on_LightMod_activated(int) {}
void LampLight::on_verticalScrollBar_valueChanged(int) {}

void LampLight::changeEvent(QEvent* event)
{
    // Nothing of the page changes with the language or the style: the panels retranslate themselves.
    Q_UNUSED(event)
}

void LampLight::wheelEvent(QWheelEvent* event)
{
    // A wheel turn over the page stops here: nothing scrolls and the device window does not see it.
    // The application hands the event over as ignored, and an ignored wheel event goes on to the
    // parent: taking it is what ends it here.
    event->accept();
}
