#pragma once
#include "device/DeviceState.h"
#include "device/FlashDataMap.h"

#include <QString>
#include <QWidget>

namespace Ui {
class LampLight;
}
class MouseLight;
class OneLed;
class ReceiveLight;
class SensorEffect;
class ThreeLed;

// The lighting page: five light panels in the three tabs of a tab widget whose tab bar is hidden,
// so that only the DPI light effect panel is on screen; the others are built, kept up to date from
// the device and never shown. The page writes nothing itself: it carries the device's values into
// the panels with LightPageRefreshing set, so that the panels write nothing back, and it keeps the
// receiver's two light records that the receiver panels send.
class LampLight : public QWidget
{
    Q_OBJECT
public:
    explicit LampLight(QWidget* parent = nullptr);
    ~LampLight() override;

    // The step (1..10) of a DPI light brightness code; a code outside the table is its own step.
    static int BrightnessStep(int code);

    SensorEffect* EffectPanel() const;
    MouseLight* MouseLightPanel() const;
    ReceiveLight* ReceiveLightPanel() const;
    OneLed* IndicatorMeaningPanel() const;
    ThreeLed* IndicatorLedsPanel() const;

    // Sleep time by list row 0..10, written to the mouse. No control of the page calls it.
    void on_StopCloseTime_activated(int index);

public slots:
    void SlotAllLanguage(int index);
    void SlotUpDataLightUILight(FlashDataMap DataMap);
    void SlotUpDataLightUIA(FlashDataMap DataMap);
    void SlotFormResetLight();
    void SlotUpDataDPILed(FlashDataMap DataMap);
    void SlotRGBValue(DongleRGB* Rgb);
    void SlotForm();
    void SlotFormB();

private slots:
    // Connected by name to controls of the mouse light panel and the page's scroll bar; they do nothing.
    void on_LightSpinBox_2_valueChanged(int value);
    void on_SpeedSpinBox_2_valueChanged(int value);
    void on_LightMod_editTextChanged(const QString& text);
    void on_LightMod_activated(int index);
    void on_verticalScrollBar_valueChanged(int value);

protected:
    void changeEvent(QEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    // A record read from the device (true) or imported (false) into every panel.
    void ShowRecord(const FlashDataMap& record, bool fromDevice);
    void ReadReceiverLights();
    void ShowReceiverLightBar();
    void ShowDpiEffect(const FlashDataMap& record);
    void ShowMouseLight(const FlashDataMap& record);

    Ui::LampLight* ui;
    QString pictureFolder;
};
