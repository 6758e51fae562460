#pragma once
#include <QWidget>

// The sensor page: DPI levels, report rate, lift-off distance and the sensor switches.
class Sensor : public QWidget
{
    Q_OBJECT
public:
    explicit Sensor(QWidget* parent = nullptr);
};
