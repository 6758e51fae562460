#pragma once
#include "device/LockedValue.h"

#include <QList>
#include <QString>
#include <atomic>
#include <cstdint>

// Handles every report of the connected device, on the device library's thread: keeps the working
// copy up to date, asks for follow-up data and tells the pages through the bus. Never touches a widget.
void DeviceReportCallback(const uint8_t* header, int headerLength, const uint8_t* data, uint32_t dataLength);

// Asks the device for what a status-change report says changed.
void HandleDeviceStatusChange();

// Set by a "defaults restored" report, consumed by the next whole image: that image keeps the
// receiver settings just written and has the key records and macros cleared, but for the buttons
// the model keeps.
extern std::atomic<bool> KeyRecordResetPending;
extern std::atomic<bool> SkipReceiverReadOnce;
// Cache file of the device whose whole image arrived last; the device window saves to it.
extern LockedValue<QString> ReportCacheFileName;

// The registry key the mouse firmware version is kept under.
QString MouseDriveTestKey();
