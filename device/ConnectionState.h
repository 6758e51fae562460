#pragma once
#include <QElapsedTimer>
#include <QString>
#include <atomic>

// Flags of the device connection, shared by the GUI thread, the Worker and the device library's
// threads. Each is one value written whole.

extern std::atomic<bool> RunRequested;            // a Worker pass is wanted
extern std::atomic<bool> DeviceOnline;            // last answer of the online check
extern std::atomic<bool> ConnectionStartedOnline; // DeviceOnline when the connection was last started
extern std::atomic<bool> LastPassOnline;          // DeviceOnline at the end of the last pass
extern std::atomic<bool> OfflineNoticeOpen;       // the device was found offline; polled until back
extern std::atomic<bool> ReloadRequested;         // a full reload is wanted
extern std::atomic<bool> FullReloadPending;       // the next pass reloads after a status change
extern std::atomic<int> DeviceWindowActive;       // 1 while a device window is open
extern std::atomic<bool> SettingsWriteInProgress; // an import or reset is writing the device
extern std::atomic<bool> FollowDeviceRemoval;     // removals are followed (cleared during an upgrade)
// The settings page's firmware upgrade run is active: its progress views keep themselves open meanwhile.
extern std::atomic<bool> FirmwareUpdateInProgress;

// Set by each page once it has applied a whole record; the settings wait watches them.
extern std::atomic<bool> ButtonPageUpdated;
extern std::atomic<bool> LightPageUpdated;
extern std::atomic<bool> SensorPageUpdated;
