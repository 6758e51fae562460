#pragma once
#include "device/FlashDataMap.h"

#include <QByteArray>
#include <mutex>
#include <atomic>
#include <cstdint>
#include <functional>
#include <string>

// Process-wide device state shared by the pages, the Worker and the device library's threads.

// The receiver indicator record: byte 0 is the indicator meaning (1..3).
struct DongleRGB {
    uint8_t bytes[10];
};
static_assert(sizeof(DongleRGB) == 10, "receiver indicator record is 10 bytes");

// The working copy of the current device's record. The setters write it on the GUI thread and report
// handling on the device library's thread: every access holds DeviceConfigLock, a record is emitted
// only as a copy taken under the lock and pushed only as a numbered one (DeviceConfigCopy), and no
// signal is emitted and no push made while the lock is held.
extern FlashDataMap DeviceConfigImage;
extern std::mutex DeviceConfigLock;

// True while the working copy holds the current device's record: set by a parsed whole image and by
// an accepted import, cleared when another device is selected. While it is false nothing is pushed,
// so one field change can never overwrite a mouse with a zeroed or another device's record.
extern std::atomic<bool> DeviceConfigIsCurrent;

// A whole copy of the working copy, taken under the lock.
FlashDataMap DeviceConfigSnapshot();
// Replaces the working copy with the current device's record and marks it current. Returns the
// record's place in the order of pushes (see PushDeviceConfigCopy).
uint64_t AdoptDeviceConfig(const FlashDataMap& record);

// A copy of the working copy to be pushed, numbered in the order the copies were taken under the
// lock: a copy with a higher number holds every change that a lower one holds.
struct DeviceConfigCopy {
    FlashDataMap record;
    uint64_t order = 0;
};
// Changes the working copy through `write` under the lock and returns the copy taken there.
DeviceConfigCopy ChangeDeviceConfig(const std::function<void(FlashDataMap&)>& write);
// The working copy as it is now, numbered for a push.
DeviceConfigCopy DeviceConfigForPush();
// Sends a numbered copy to the device. Writers on several threads push after they released the
// lock, so copies can arrive here out of order: one older than the last copy sent is not sent (the
// device already holds its changes and later ones), so the device always ends holding the latest
// copy. Pushes run one at a time; DeviceConfigLock is not held meanwhile. True when the device took
// the copy, or, for a copy not sent, the later one.
bool PushDeviceConfigCopy(const FlashDataMap& record, uint64_t order);
inline bool PushDeviceConfigCopy(const DeviceConfigCopy& copy) { return PushDeviceConfigCopy(copy.record, copy.order); }
// Puts back the working copy `previous` (current or not) in place of the record numbered `order`,
// unless a later copy was taken meanwhile: an adopted record that never reached the device.
void RestoreDeviceConfig(const FlashDataMap& previous, bool previousCurrent, uint64_t order);
// Marks the working copy as no longer the current device's (another device was selected).
void InvalidateDeviceConfig();

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
