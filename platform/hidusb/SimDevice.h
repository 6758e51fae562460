#pragma once
#include "platform/hidusb/DeviceDescription.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

class SimMouse;

// One attachable simulated USB device: a receiver with its paired mouse, or a mouse's cable.
// A receiver keeps its own settings and firmware; a cable leads straight to its mouse.
class SimDevice
{
public:
    SimDevice(const DeviceEntry& entry, SimMouse* mouse, int index, const char* path, const char* bootPath);

    const DeviceEntry& Entry() const { return entry; }
    SimMouse* Mouse() const { return mouse; }
    int Index() const { return index; }
    bool IsReceiver() const { return entry.kind == DeviceKind::Receiver; }

    // Waiting for firmware: it shows its boot product id and answers nothing but the upgrade.
    bool InBootMode() const;
    // Attached and running its firmware.
    bool Running() const { return attached && !InBootMode(); }
    // The mouse behind it answers: on its cable, or switched on in range of the receiver.
    bool MouseReachable() const;
    uint16_t CurrentPid() const { return InBootMode() ? entry.bootPid : entry.pid; }
    const char* CurrentPath() const { return InBootMode() ? bootPath : path; }
    const char* Path() const { return path; }

    void RestoreReceiverDefaults();
    std::string FlashName() const;
    uint32_t Identity() const;
    std::vector<uint8_t> FlashImage() const;
    bool LoadFlashImage(const std::vector<uint8_t>& image);

    bool attached = false;
    bool mouseOnline = true;   // receivers only
    bool bootMode = false;     // receivers only; a cable follows its mouse
    uint16_t usbVersion = 0;
    uint16_t receiverFirmware = 0;
    std::array<uint8_t, 10> indicator{};
    std::array<uint8_t, 7> lightBar{};
    std::array<uint8_t, 3> indicatorLeds{};
    uint8_t longRange = 0;
    bool refusesLights = false; // light-bar and indicator-LED writes answered 0
    bool refusesIndicator = false; // indicator-meaning writes answered 0
    std::array<uint8_t, 8> clock{}; // year (2), month, day, hour, minute, second, weekday of the last sync

    // Pairing: 0 idle, 1 pairing, 2 failed, 3 paired; the outcome this attempt will have.
    int pairStatus = 0;
    int pairOutcome = 3;
    int pairStatusReads = 0;

private:
    DeviceEntry entry;
    SimMouse* mouse = nullptr;
    int index = 0;
    const char* path = nullptr;
    const char* bootPath = nullptr;
};
