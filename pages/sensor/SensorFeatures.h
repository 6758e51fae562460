#pragma once
#include <QString>
#include <QStringList>
#include <QVector>
#include <cstdint>

// The DPI bytes of one level as the device codes them: the code (stored in bytes 0 and 1 of the
// level entry) and the range flags (byte 2).
struct DpiLevelBytes {
    bool valid = false; // false: the sensor has no code for the value, nothing may be written
    uint8_t code = 0;
    uint8_t flags = 0;
};

// What the current sensor model offers and how it codes a DPI value: the feature switches and named
// constants of driver_sensor.h, the model's sensor name and DPI ranges from Config.ini, and the
// conversion between a DPI value and the DPI bytes of a level entry.
//
// The program keeps one instance, Instance(), filled by the sensor page and read by the DPI editor;
// everything runs on the GUI thread. Conversions read only the instance they are called on, so a
// test may build its own.
class SensorFeatures
{
public:
    static SensorFeatures& Instance();

    // Which lines carry constants. The sensor page reads "#define" lines only; the button page's
    // table also takes a line of three parts whatever its first part is.
    enum class HeaderLines { DefineOnly, AlsoThreePartLines };

    // Replaces the switches and the constant tables with those of the program folder's
    // driver_sensor.h; a file that does not open leaves them all empty.
    void ReadHeaderFile(HeaderLines lines = HeaderLines::DefineOnly);
    void ReadHeaderText(const QString& text, HeaderLines lines = HeaderLines::DefineOnly);

    // The DPI value a constant's name gives for a sensor model: the decimal number after
    // "SENSOR_" + model + "_DPI_". False when the name has no such number.
    static bool DpiValueOfName(const QString& name, const QString& model, int* value);

    // CurrentSensorModel = Config.ini "Sensor" of group "Drive" + (modelIndex + 1).
    void ReadSensorModel(int modelIndex);
    // The DPI ranges from "DPIRange" of group "Drive" + (modelIndex + 1).
    void ReadDpiRanges(int modelIndex);
    // Last element: the coding kind (hexadecimal); before it minimum, maximum and step of each range.
    // Every read starts from no ranges (kind 0, count 0, no texts): an empty list or a range count
    // outside 1..4 leaves none, so the model's values are coded without range flags.
    void ReadDpiRangeList(const QStringList& list);

    // Whether a switch value offers its feature to the current model (the model name is a substring).
    bool Offers(const QString& switchValue) const;
    // Whether the header lists DPI codes for the current model.
    bool UsesTableCoding() const;

    // The ranges whose minimum, maximum and step are all known: the header may list fewer of
    // them than it claims ranges.
    int UsableDpiRangeCount() const;
    // DPI value -> level bytes. entryFlags is byte 2 of the level's entry before the write.
    DpiLevelBytes EncodeDpi(int dpi, uint8_t entryFlags) const;
    // Level bytes (entry byte 0 and byte 2) -> DPI value; 0 when a code table lacks the code.
    int DecodeDpi(uint8_t code, uint8_t flags) const;
    // Snaps a value to the ranges: inside a range down to its step (counted from the range's
    // minimum), between two ranges up to the next one's minimum, outside all ranges unchanged.
    // pageStep, when given, takes the step of the range used.
    int QuantiseDpi(int value, int* pageStep = nullptr) const;

    // driver_sensor.h switches: lists of sensor model names.
    QString supportModeSel;
    QString supportLodCal;
    QString supportRipple;
    QString supportFixLine;
    QString supportMotionSync;
    QString supportMousepadCal;

    // driver_sensor.h constants in file order; SensorConstValues[k] belongs to SensorConstNames[k].
    QVector<QString> SensorConstNames;
    QVector<int> SensorConstValues;

    QString CurrentSensorModel;

    int DpiRangeKind = 0;  // 0x33, 0x22 or 0x11; any other kind sets no range flags
    int DpiRangeCount = 0; // 1..4, 0 when no ranges are known
    QVector<int> DpiRangeMinimums;
    QVector<int> DpiRangeMaximums;
    QVector<int> DpiRangeSteps;
    // Minimum, maximum and step text of ranges 0..3: range k at 3k, 3k + 1, 3k + 2.
    QString DpiRangeTexts[12];
    // Lowest and highest DPI of all ranges: the span of the DPI slider.
    QString rangeMinText;
    QString rangeMaxText;

private:
    QString TablePrefix() const;
    bool CodesHighBits() const;
};

// Writes dpi as the value of DPI level 0..7 through SetDeviceDPIValue, coded for the current sensor
// and for byte 2 of the level's entry in the working copy. False when nothing was written: a level
// outside 0..7 (-1 means no level), a value the sensor has no code for, or the setter refused.
bool WriteDPIValue(int level, int dpi);
