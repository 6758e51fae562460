#pragma once
#include <QString>
#include <QVector>

// The DPI value of a DPI-lock button and the one-byte sensor code its function triple holds. The
// codes come from the button page's table of driver_sensor.h constants: a sensor that lists
// "SENSOR_" + sensor + "_DPI_" + value entries has its codes there, any other codes a value v as
// v / 50 - 1. Steps are always 50 and no range flags are added, whatever the sensor.
class DpiLockCodes
{
public:
    // Fills the table from the program folder's driver_sensor.h; a file that does not open leaves
    // it empty (every sensor then has the plain codes).
    void ReadHeaderFile();
    void ReadHeaderText(const QString& text);

    // DPI value -> device code. Listed sensors: the value of the entry named exactly for v, or v / 50
    // when the table lacks v.
    int DPIValueToCode(int value) const;
    // Device code -> DPI value. Listed sensors: the first of the sensor's entries whose value is c
    // gives the number after its "_DPI_" (0 when it has none, as a range entry); 0 when no entry
    // has the value.
    int DPICodeToValue(int code) const;

    // "Sensor" of the model's group of the model list.
    QString SensorName;
    // The constants in file order; SensorDefineValues[k] belongs to SensorDefineNames[k].
    QVector<QString> SensorDefineNames;
    QVector<int> SensorDefineValues;

private:
    QString Prefix() const;
    bool SensorIsListed() const;
};
