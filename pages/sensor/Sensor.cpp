#include "pages/sensor/Sensor.h"

Sensor::Sensor(QWidget* parent) : QWidget(parent) {}
