#pragma once
#include "device/FlashDataMap.h"

#include <QWidget>

namespace Ui {
class Sensor;
}

// The sensor page: DPI levels, report rate, lift-off distance and the sensor switches. It shows every
// record that arrives with SensorPageRefreshing set, so that its panels write nothing back.
class Sensor : public QWidget
{
    Q_OBJECT
public:
    explicit Sensor(QWidget* parent = nullptr);
    ~Sensor() override;

public slots:
    // A record read from the device (or its cache while the mouse is offline).
    void SlotUpDataSenSorUISensor(FlashDataMap DataMap);
    // A record from a configuration import.
    void SlotUpDataSenSorUIB(FlashDataMap DataMap);
    // No record can be had: the page shows the device's defaults.
    void SlotFormReset();

private:
    void ApplyRecord(const FlashDataMap& record);

    Ui::Sensor* ui;
};
