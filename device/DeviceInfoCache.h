#pragma once
#include "device/FlashDataMap.h"

#include <QString>
#include <cstdint>

// The last known record of every device seen, one file per device in the per-user "Device_Info"
// folder, so that the pages can show a device's settings while it is offline.
// File: a big-endian 32-bit length (10,448) followed by the record.

// "Device_CID" + CID + "_MID" + MID + ".bin", each byte as two upper-case hexadecimal digits.
QString DeviceCacheFileName(uint8_t cid, uint8_t mid);

// The folder the cache files lie in.
QString DeviceCacheFolder();

// Writes the record whole or not at all: a failed write keeps the last good file, and is told to
// the user (UserFileWrites). False on failure.
bool WriteDeviceInfoCache(const QString& fileName, const FlashDataMap& data);

// Reads a record; false (and out unchanged) when the file is missing, its length is not 10,448 or it
// ends early.
bool ReadDeviceInfoCache(const QString& fileName, FlashDataMap* out);
