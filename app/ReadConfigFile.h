#pragma once
#include "device/FlashDataMap.h"

#include <QByteArray>
#include <QString>

// The configuration export file: three blocks as QDataStream::writeBytes writes them (a big-endian
// 32-bit length, then the bytes): the 12-byte marker field ("Velor", zero-padded), the 12-byte sensor
// field (the model's "Sensor" name, zero-padded or cut at 12 bytes) and the 10,448-byte record.
namespace ConfigFile {
constexpr const char* Marker = "Velor";
constexpr int FieldSize = 12;
constexpr int RecordSize = int(sizeof(FlashDataMap));

// Whether a sensor field names the model's sensor. A name of 12 bytes or more cannot be kept whole
// with its zero byte: this program's export keeps its first 11 bytes, older exports fill all 12.
bool SensorFieldMatches(const QByteArray& field, const QString& modelSensor);

// Whether every setting of the record holds a value that a control of the program can set for the
// model: report rate, lift-off distance, debounce time, sleep time, the three switches and the
// model's DPI level entries, each read with the table its panel uses.
bool SettingsFitModel(const FlashDataMap& record, int modelIndex);
}

// Reads a configuration file for the current device's model. 0 accepted (out filled); 1 the file
// cannot be opened (missing, not a regular file) or ends inside a block; 2 it does not fit: wrong
// marker, blocks of other lengths, bytes after the three blocks, another model's sensor, a DPI level
// count or current level the model does not have, or a setting no control of the program can set.
// out is written only when the file is accepted.
int ReadConfigFile(const QString& path, FlashDataMap* out);
