#include "device/ConnectionState.h"

std::atomic<bool> RunRequested{false};
std::atomic<bool> DeviceOnline{false};
std::atomic<bool> ConnectionStartedOnline{false};
std::atomic<bool> LastPassOnline{false};
std::atomic<bool> OfflineNoticeOpen{false};
std::atomic<bool> ReloadRequested{false};
std::atomic<bool> FullReloadPending{false};
std::atomic<int> DeviceWindowActive{0};
std::atomic<bool> SettingsWriteInProgress{false};
// Unplugging the mouse must lead back to the selection page unless an upgrade is running.
std::atomic<bool> FollowDeviceRemoval{true};
std::atomic<bool> FirmwareUpdateInProgress{false};

std::atomic<bool> ButtonPageUpdated{false};
std::atomic<bool> LightPageUpdated{false};
std::atomic<bool> SensorPageUpdated{false};
