#pragma once
#include <QString>
#include <QWidget>

class Advanced;
class Buttoninterface;
class CrashHandler;
class FormSetting;
class LampLight;
class Macro;
class PreVier;
class QButtonGroup;
class Sensor;
class UpDataParam;

namespace Ui {
class Dialog;
}

// The device window: the seven pages of the opened device with their page buttons, the battery and
// connection state, the settings wait, and the way back to the device selection.
class Dialog : public QWidget
{
    Q_OBJECT
public:
    explicit Dialog(QWidget* parent = nullptr);
    ~Dialog() override;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void changeEvent(QEvent* event) override;

public slots:
    void SlotBattery(bool IsCharg, int Number, bool IsText);
    void SlotIsUsb(bool Usb, bool IsVs);
    void SlotStartRecord(int index);
    void SlotSecondDialog();
    void SlotUpDataParam(int index);
    void WindowMin();

private slots:
    void on_PreButton_clicked();
    void on_ButtonMain_clicked();
    void on_SensorButton_clicked();
    void on_MacroButton_clicked();
    void on_LightsButton_clicked();
    void on_Advanced_clicked();
    void on_FormSetting_clicked();
    void on_CloseButton_clicked();
    void on_UpArrow_clicked();
    void on_stackedWidgetDialog_currentChanged(int arg1);

private:
    void SetStyles();
    // Saves the working copy to the device's cache file, but only while it is that device's record.
    void SaveDeviceCache();

    Ui::Dialog* ui;
    QButtonGroup* pageButtons = nullptr;
    PreVier* preVier = nullptr;
    Advanced* advanced = nullptr;
    Buttoninterface* buttonPage = nullptr;
    LampLight* lampLight = nullptr;
    Macro* macro = nullptr;
    Sensor* sensor = nullptr;
    FormSetting* formSetting = nullptr;
    UpDataParam* waitDialog = nullptr;
    CrashHandler* crashHandler = nullptr;
    QString pictureFolder;
};
