#pragma once
#include "platform/hidusb/CallbackGate.h"
#include "platform/hidusb/DispatchThread.h"
#include "platform/hidusb/HIDUsb.h"
#include "platform/hidusb/ReportFormat.h"
#include "platform/hidusb/SimBus.h"

#include <array>
#include <atomic>
#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

// The device library behind the C interface: the simulated bus, the connection to one device, and the
// library's three threads (reports, attach/detach notices, upgrade events).
//
// One lock guards the bus and the connection. It is never held while a callback of the program runs,
// and no call waits for one of the library's threads, so a callback may call back in and may wait for
// the thread that calls UsbServer_Exit or StopUsbChanged.
//
// The class is split by concern: SimLibrary.cpp (the instance, loading the devices, the threads and
// the delivery of reports and notices, reset, waiting and shutdown), SimLibraryDevices.cpp (discovery,
// presence and attach/detach notices), SimLibraryConnection.cpp (the connection, its reads, the record
// exchange and the start of pairing), SimLibraryReceiver.cpp (the receiver's lights, indicator,
// long-range mode and raw frames), SimLibraryReceiverReports.cpp (reports a receiver sends of itself),
// SimLibraryUpgrade.cpp (the firmware upgrade), SimLibraryControl.cpp (the rest of the control for
// tests).
class SimLibrary
{
public:
    // Started on first use; stopped when the process ends.
    static SimLibrary& Instance();

    enum class ReadKind { Image, CurrentDpi, ReportRate, Battery, LedBar, DpiLed, Version, Config, PairStatus };
    enum class ReceiverRecord { Indicator, LightBar, IndicatorLeds };

    // Discovery and presence
    uint8_t Online(const char* path);
    const char* const* Find(const char* vid, const char* pid, int* count);
    void Info(const char* path, uint8_t* out);
    uint8_t Attribute(const char* path, uint8_t* record);
    uint8_t AddressStatus(const char* path, uint8_t* status);
    uint16_t MouseVersion(const char* path);
    uint8_t SlaveVersion(const char* path, uint16_t* version);

    // Attach and detach notices
    void StartNotices(HidUsbChangedCallback callback);
    void StopNotices();

    // The connection
    void Connect(const char* path, HidReportCallback callback);
    void SetDriverStatus(uint8_t running);
    void Disconnect();
    uint8_t Read(ReadKind kind);
    uint8_t Update(const uint8_t* record);
    uint8_t SetBatteryOptimize(uint8_t enable);
    uint8_t ClearSettings();
    uint8_t SelectProfile(uint8_t profile);
    uint8_t EnterPairing(uint8_t cid);

    // Receiver
    uint8_t ReceiverGet(const char* path, ReceiverRecord which, uint8_t* out);
    uint8_t ReceiverSet(const char* path, ReceiverRecord which, const uint8_t* in);
    uint8_t LongRangeGet(const char* path, uint8_t* mode);
    uint8_t LongRangeSet(const char* path, uint8_t on);
    uint8_t OpenRaw(const char* path);
    uint8_t Exchange(uint8_t* frame, uint8_t* reply, uint8_t length);

    // Firmware upgrade
    int FindBootDevices(const HidUpgradeImage* image, int* count);
    uint8_t StartUpgrade(const HidUpgradeImage* image, HidUpgradeStatusCallback callback);

    // Control for tests
    void Reset(const char* descriptionFile, const char* flashFolder);
    int DeviceCount();
    const char* DevicePath(int device);
    void SetAttached(int device, bool attached);
    void SetMouseOnline(int device, bool online);
    void SetBattery(int device, int level, bool charging);
    void PressDpiButton(int device, int level);
    void PressRateButton(int device, int rateCode);
    void SwitchProfile(int device, int profile);
    void SetPairingOutcome(int outcome);
    void SetUpgradeOutcome(int outcome);
    int GetRecord(int device, uint8_t* out);
    int SetRecord(int device, const uint8_t* record);
    uint16_t FirmwareVersion(int device);
    uint16_t ReceiverFirmwareVersion(int device);
    int DeviceMode(int device);
    int ActiveProfile(int device);
    int GetReceiverRecord(int device, int which, uint8_t* out);
    int SetReceiverRecord(int device, int which, const uint8_t* in);
    void SetReceiverRefusesLights(int device, bool refuse);
    void SetReceiverRefusesIndicator(int device, bool refuse);
    void ReportIndicator(int device);
    int ReceiverWriteCount(int which);
    int UpdateCount();
    int ReadCount(int code);
    int LastUpdate(uint8_t* out);
    int WaitIdle(int timeoutMs);

    // Reports a receiver sends of itself, for tests (SimLibraryReceiverReports.cpp)
    void ChangeIndicatorOnReceiver(int device, int meaning);
    void LeaveLongRangeOnReceiver(int device);
    void SendReport(int device, int code, int item, const uint8_t* data, int length);

    // Ends the threads; false when one had to be left running (a callback that never returns).
    bool Shutdown();

private:
    SimLibrary();
    void LoadLocked(const char* descriptionFile, const char* flashFolder);
    SimDevice* ConnectedLocked() const;
    // The bytes of one receiver record of a device and their length; null for another kind.
    static uint8_t* ReceiverBytes(SimDevice& device, ReceiverRecord which, std::size_t* length);
    // The connected device when it reaches this mouse, else null.
    SimDevice* ConnectionToLocked(const SimMouse* mouse) const;
    void PostReportLocked(Report report);
    void PostNoticeLocked();
    void DeliverReport(uint64_t generation, const Report& report);
    bool OnLibraryThread() const;
    static bool Takes(const SimDevice& device, const uint8_t* header);
    void RunUpgrade(uint64_t epoch, int device, std::vector<uint8_t> image, int outcome, uint64_t generation);
    void SaveChipLocked(SimDevice& device, bool mouseChip);

    std::mutex lock;
    SimBus bus;
    uint64_t epoch = 0; // a reset starts a new one; work of an older one stops

    int connected = -1;
    uint64_t connection = 0;
    // The connected device left the bus after the connection was opened: as a real handle, the
    // connection does not reach it again when it comes back. The pairing calls heed it.
    bool connectionUnplugged = false;
    uint8_t driverRunning = 0;
    int rawDevice = -1;

    int pairingOutcome = 3;
    int upgradeOutcome = 0;
    bool upgradeRunning = false;

    int updates = 0;
    bool hasLastUpdate = false;
    Record lastUpdate{};
    std::array<std::atomic<int>, 256> readCounts{};
    std::array<int, 3> receiverWrites{}; // by ReceiverRecord

    static constexpr int FindRing = 8;
    std::array<std::array<const char*, HIDUSB_MAX_PATHS + 1>, FindRing> findResults{};
    int findNext = 0;

    CallbackGate<HidReportCallback> reportGate;
    CallbackGate<HidUsbChangedCallback> noticeGate;
    CallbackGate<HidUpgradeStatusCallback> upgradeGate;
    std::atomic<unsigned long> posted{0};
    DispatchThread reportThread{"hidusb-reports", posted};
    DispatchThread noticeThread{"hidusb-notices", posted};
    DispatchThread upgradeThread{"hidusb-upgrade", posted};
};
