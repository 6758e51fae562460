#pragma once
#include "device/FlashDataMap.h"

#include <QByteArray>
#include <QMutex>
#include <atomic>
#include <cstdint>
#include <string>

// Process-wide device state shared by the pages, the Worker and the device library's threads.

// The receiver indicator record: byte 0 is the indicator meaning (1..3).
struct DongleRGB {
    uint8_t bytes[10];
};
static_assert(sizeof(DongleRGB) == 10, "receiver indicator record is 10 bytes");

// The working copy of the current device's record.
extern FlashDataMap DeviceConfigImage;

// The HID path of the device the program talks to: the first argument of every per-device call.
// Points at an empty string at start. Set it only through SetCurrentDevicePath or PointCurrentDevicePath.
extern std::atomic<const char*> CurrentDevicePath;
// Owner of the characters CurrentDevicePath points at after a selection.
extern std::string CurrentDevicePathString;
// Makes path current: stores it in CurrentDevicePathString and points CurrentDevicePath at a copy that
// stays valid for the whole run, so a thread that has just read the pointer never reads freed text.
void SetCurrentDevicePath(const QByteArray& path);
// Points CurrentDevicePath at text that outlives every reader (a placeholder, a library-owned path).
void PointCurrentDevicePath(const char* path);

// The receiver indicator record, allocated zeroed at start and never freed.
extern DongleRGB* const DongleRGBRecord;

// True while a page applies a received record: its panels skip their writes and the setters skip the
// offline notice.
extern std::atomic<bool> ButtonPageRefreshing;
extern std::atomic<bool> LightPageRefreshing;
extern std::atomic<bool> SensorPageRefreshing;
// User changes on the sensor and advanced pages are written only while this is true.
extern std::atomic<bool> UserWritesEnabled;

// Out-buffers handed to the device library.
extern uint8_t SelectionUsbAddressStatus[16]; // the selection page's; starts with the byte '1'
extern uint8_t DiscoveryUsbAddressStatus[16]; // discovery's
extern uint8_t BatteryStatusBuffer[4];
extern uint8_t StatusChangeFlags[7];
