#pragma once
#include "device/DeviceState.h"
#include "device/FlashDataMap.h"

#include <QString>
#include <QWidget>

namespace Ui {
class LampLight;
}
class SensorEffect;

// The lighting page: the DPI light effect, the mouse light and the receiver lights. The page writes
// nothing itself; it carries the device's values into its panels with LightPageRefreshing set, so
// that the panels write nothing back.
class LampLight : public QWidget
{
    Q_OBJECT
public:
    explicit LampLight(QWidget* parent = nullptr);
    ~LampLight() override;

    // The values the page last took from the device for the panels it does not yet hold.
    struct Shown {
        int mouseLightMode = 0;      // 0 off
        int mouseRed = 0, mouseGreen = 0, mouseBlue = 0;
        int mouseLightSpeed = 1;
        int mouseLightBrightness = 1;
        bool movingOffLight = false;
        bool indicatorMeaningShown = false; // the receiver indicator meaning panel
        int indicatorMeaning = -1;          // 0..2 while known
    };
    const Shown& ShownValues() const { return shown; }

    // The step (1..10) of a DPI light brightness code; a code outside the table is its own step.
    static int BrightnessStep(int code);
    SensorEffect* EffectPanel() const;

public slots:
    void SlotAllLanguage(int index);
    void SlotUpDataLightUILight(FlashDataMap DataMap);
    void SlotUpDataLightUIA(FlashDataMap DataMap);
    void SlotFormResetLight();
    void SlotUpDataDPILed(FlashDataMap DataMap);
    void SlotRGBValue(DongleRGB* Rgb);
    void SlotForm();
    void SlotFormB();

protected:
    void wheelEvent(QWheelEvent* event) override;

private:
    void ApplyDpiEffect(const FlashDataMap& record);
    void ApplyRecord(const FlashDataMap& record);

    Ui::LampLight* ui;
    QString pictureFolder;
    Shown shown;
};
