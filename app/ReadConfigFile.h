#pragma once
#include "device/FlashDataMap.h"

#include <QString>

// The configuration export file: three blocks as QDataStream::writeBytes writes them (a big-endian
// 32-bit length, then the bytes): the 12-byte marker field ("Velor", zero-padded), the 12-byte sensor
// field (the model's "Sensor" name, zero-padded or cut at 12 bytes) and the 10,448-byte record.
namespace ConfigFile {
constexpr const char* Marker = "Velor";
constexpr int FieldSize = 12;
constexpr int RecordSize = int(sizeof(FlashDataMap));
}

// Reads a configuration file for the current device's model. 0 accepted (out filled); 1 the file
// cannot be opened or is no configuration file (wrong marker, wrong block lengths, cut short); 2 it
// was made for another sensor or its DPI level count or current level do not fit the model.
// out is written only when the file is accepted.
int ReadConfigFile(const QString& path, FlashDataMap* out);
