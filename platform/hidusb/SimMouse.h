#pragma once
#include "platform/hidusb/DeviceDescription.h"
#include "platform/hidusb/RecordLayout.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

// One simulated mouse: four on-board profiles each holding a whole record, the firmware version and
// the state kept in its flash. Reached through a receiver, a cable, or both.
class SimMouse
{
public:
    static constexpr int ProfileCount = 4;

    SimMouse(const MouseEntry& entry, const ModelEntry& model, int number);

    const Record& Current() const { return profiles[active]; }
    int ActiveProfile() const { return active; }
    const ModelEntry& Model() const { return model; }

    // Stores what the mouse can hold of record into the active profile.
    void Store(const uint8_t* record);
    // Factory reset: every profile back to the model's defaults, profile 0 active.
    void RestoreDefaults();
    bool SelectProfile(int profile);
    // Changes made with the mouse's own buttons; false when the value is not one the mouse has.
    bool PressDpiButton(int level);
    bool PressRateButton(int rateCode);

    std::string FlashName() const;
    uint32_t Identity() const;
    std::vector<uint8_t> FlashImage() const;
    bool LoadFlashImage(const std::vector<uint8_t>& image);

    uint16_t firmware = 0;
    bool bootMode = false; // waiting for firmware after an interrupted upgrade
    bool batteryOptimize = false;
    int battery = 100;     // not kept in flash: a property of the battery
    bool charging = false;

private:
    ModelEntry model;
    int number = 0;
    std::array<Record, ProfileCount> profiles{};
    int active = 0;
};
