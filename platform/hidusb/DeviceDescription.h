#pragma once
#include "platform/hidusb/RecordLayout.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

// A mouse model and the record it holds after a factory reset ([Model n]).
struct ModelEntry {
    std::string name;
    std::string sensor;
    uint8_t mid = 0;
    Record defaults{};
};

// One physical mouse ([Mouse n]); every device that names it reaches the same mouse.
struct MouseEntry {
    int model = 0; // index into the models
    uint16_t firmware = 0;
    int battery = 100;
    bool charging = false;
};

enum class DeviceKind { Receiver, Cable };

// One attachable USB device ([Device n]): a receiver or a mouse's cable.
struct DeviceEntry {
    DeviceKind kind = DeviceKind::Cable;
    std::string name;
    uint16_t vid = 0;
    uint16_t pid = 0;
    uint16_t bootPid = 0;     // the product id it shows while in boot mode
    uint8_t cid = 0;
    uint8_t mid = 0;
    uint8_t status = 0;
    uint16_t usbVersion = 0;
    uint16_t receiverFirmware = 0;
    std::array<uint8_t, 3> address{};
    bool attachedAtStart = false;
    bool mouseOnlineAtStart = true;
    int mouse = -1; // index into the mice
    // Receiver settings after a factory reset.
    std::array<uint8_t, 10> indicator{};
    std::array<uint8_t, 7> lightBar{};
    std::array<uint8_t, 3> indicatorLeds{};
    uint8_t longRange = 0;
};

// The simulated devices as "simulated/devices.ini" describes them.
class DeviceDescription
{
public:
    // Reads the file; false (with Error()) when it cannot be read or a group is wrong.
    bool Load(const std::string& file);
    const std::string& Error() const { return error; }

    // "simulated/devices.ini" in the folder the library lies in (the program folder).
    static std::string DefaultFile();

    std::vector<ModelEntry> models;
    std::vector<MouseEntry> mice;
    std::vector<DeviceEntry> devices;

private:
    std::string error;
};
