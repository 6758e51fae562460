#pragma once
#include "device/FlashDataMap.h"

#include <QString>
#include <QStringList>
#include <QWidget>

class QEvent;
class QListView;

namespace Ui {
class Sensor;
}

// The sensor page: DPI levels, report rate, lift-off distance, the sensor switches, the sensor mode
// and the full-performance mode. Every record it shows is applied with SensorPageRefreshing set and
// with its own controls' signals blocked, so that nothing is written back to the device.
class Sensor : public QWidget
{
    Q_OBJECT
public:
    explicit Sensor(QWidget* parent = nullptr);
    ~Sensor() override;

    // Device code of the full-performance duration of a PerformanceOpen row (tens of seconds);
    // -1 for a row that has none.
    static int PerformanceTimeCode(int index);
    // The level count of Level.ini in the user's SensorPage folder: 1 when absent or empty.
    int ReadLevelFile() const;

public slots:
    // A record read from the device (or its cache while the mouse is offline).
    void SlotUpDataSenSorUISensor(FlashDataMap DataMap);
    // A record from a configuration import.
    void SlotUpDataSenSorUIB(FlashDataMap DataMap);
    // No record can be had: the page shows the device's defaults.
    void SlotFormReset();
    // The current DPI level changed on the device.
    void SlotUpDataDPI(int level);
    // The report rate changed on the device (record code).
    void SlotUpDataReportRate(int code);
    // From the report-rate panel: 0 for 125-1000 Hz, 1 for the fast rates.
    void SlotHideModel(int index);
    void SlotAllLanguage(int language);

    void on_ModelChoose_currentIndexChanged(int index);
    void on_PerformanceOpen_currentIndexChanged(int index);
    void on_Performance_clicked(bool checked);
    void on_Performance_toggled(bool checked);
    void on_LOD_currentIndexChanged(int index);

protected:
    void changeEvent(QEvent* event) override;

private:
    void ApplyRecord(const FlashDataMap& record);
    void ReadModel();
    bool OffersModeChoice() const;
    // ModelChoose set from the device with its signals blocked, so that nothing is written back.
    void ShowSensorMode(int index, bool enabled, bool cordedRowShown);
    void ShowPerformance(bool on);
    void StyleControls();

    Ui::Sensor* ui;
    QString levelFolder;
    QStringList buttonColor;
    QString buttonColorText;
    QString pictureFolder;
    QListView* modelView = nullptr;
    int currentSensorMode = 0;
    int currentPerformanceTime = 0;
};
