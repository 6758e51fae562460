#include "pages/lighting/LampLight.h"

#include "device/RefreshingScope.h"
#include "device/ConfigSetting.h"
#include "device/ConnectionState.h"
#include "device/DeviceDiscovery.h"
#include "device/ModelFeatures.h"
#include "device/PostMsg.h"
#include "platform/AppPaths.h"
#include "ui_LampLight.h"
#include "widgets/DpiLightEffect.h"
#include "widgets/UiText.h"

#include <QTabBar>


LampLight::LampLight(QWidget* parent) : QWidget(parent), ui(new Ui::LampLight)
{
    ui->setupUi(this);
    pictureFolder = AppPaths::ProgramFolder() + QStringLiteral("/Picture/Light/");
    ui->tabWidget->setStyleSheet(
        QStringLiteral("QTabWidget::pane {    border: 0px solid #AAAAAA;    background-color: transparent;}"));
    ui->tabWidget->tabBar()->hide();
    ui->verticalScrollBar->hide();

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

void LampLight::SlotAllLanguage(int index)
{
    SensorEffect* effect = ui->frameEffect;
    for (int mode = 0; mode < 3; ++mode)
        effect->SetModelItemText(mode, UiText::Option(index, QStringLiteral("DPIEffectOptions"), QString::number(mode)));
    effect->SetTitleText(UiText::ForReader(index, QStringLiteral("LampLight"), QStringLiteral("DPIEffect")));
    effect->SetSpeedText(UiText::ForReader(index, QStringLiteral("LampLight"), QStringLiteral("Speed")));
    effect->SetLightText(UiText::ForReader(index, QStringLiteral("LampLight"), QStringLiteral("Brightness")));
}

void LampLight::ApplyDpiEffect(const FlashDataMap& record)
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

void LampLight::ApplyRecord(const FlashDataMap& record)
{
    ui->frameEffect->EnableSliders(true);
    ui->frameEffect->UnlockSliders();
    ApplyDpiEffect(record);
    shown.mouseLightBrightness = record.lightBrightness + 1;
    shown.mouseLightSpeed = record.lightSpeed + 1;
    shown.mouseRed = record.lightRed;
    shown.mouseGreen = record.lightGreen;
    shown.mouseBlue = record.lightBlue;
    // The mode is kept while the light is off; off shows mode 0.
    shown.mouseLightMode = record.lightOn != 0 ? record.lightMode : 0;
    shown.movingOffLight = record.movingOffLight != 0;
}

void LampLight::SlotUpDataLightUILight(FlashDataMap DataMap)
{
    LightPageUpdated = false;
    {
        const RefreshingScope refreshing(LightPageRefreshing);
        ApplyRecord(DataMap);
    }
    LightPageUpdated = true;
}

void LampLight::SlotUpDataLightUIA(FlashDataMap DataMap)
{
    // An imported record is not a read from the device: the flag is cleared and only the next
    // read sets it again.
    LightPageUpdated = false;
    const RefreshingScope refreshing(LightPageRefreshing);
    ApplyRecord(DataMap);
}

void LampLight::SlotFormResetLight()
{
    const RefreshingScope refreshing(LightPageRefreshing);
    shown.mouseLightMode = 1;
    shown.mouseLightBrightness = 10;
    shown.mouseLightSpeed = 8;
    shown.movingOffLight = false;
    shown.indicatorMeaningShown = false;
    ui->frameEffect->SetModel(0);
    ui->frameEffect->SetSpeedValue(3);
    ui->frameEffect->SetLightValue(5);
}

void LampLight::SlotUpDataDPILed(FlashDataMap DataMap)
{
    ApplyDpiEffect(DataMap);
}

void LampLight::SlotRGBValue(DongleRGB* Rgb)
{
    const DeviceAllInfo device = CurrentDeviceInfo.Get();
    if (!ModelHasIndicatorMeaning() || device.wired || device.status != 1)
        return;
    shown.indicatorMeaningShown = true;
    const int meaning = Rgb ? Rgb->bytes[0] : 0;
    if (meaning >= 1 && meaning <= 3)
        shown.indicatorMeaning = meaning - 1;
}

void LampLight::SlotForm()
{
    const DeviceAllInfo device = CurrentDeviceInfo.Get();
    // Only a receiver of kind 1 has the indicator meaning; SlotRGBValue shows the panel.
    if (!ModelHasIndicatorMeaning() || device.wired || device.status != 1)
        shown.indicatorMeaningShown = false;
}

void LampLight::SlotFormB()
{
    // After an import the panel waits for the receiver to report its indicator meaning again.
    shown.indicatorMeaningShown = false;
}

void LampLight::wheelEvent(QWheelEvent* event)
{
    // A wheel turn over the page stops here: nothing scrolls and the device window does not see it.
    Q_UNUSED(event)
}
