#pragma once
#include "platform/hidusb/FlashStore.h"
#include "platform/hidusb/SimDevice.h"
#include "platform/hidusb/SimMouse.h"

#include <array>
#include <memory>
#include <string>
#include <vector>

class DeviceDescription;

// The simulated USB bus: the mice and the attachable devices of one description, with their flash.
// Not locked itself: the library holds its lock around every use.
class SimBus
{
public:
    // Forgets every device, then builds them from the description with their flash from folder.
    void Load(const DeviceDescription& description, const std::string& flashFolder);

    int Count() const { return int(devices.size()); }
    SimDevice* Device(int index) const;
    // The attached device whose current path (normal or boot) is path.
    SimDevice* ByPath(const char* path) const;
    // Attached devices showing this vendor and product id, in device order.
    std::vector<SimDevice*> Matching(uint16_t vid, uint16_t pid) const;
    // Devices through which a mouse is reached.
    std::vector<SimDevice*> DevicesOf(const SimMouse* mouse) const;
    // A receiver's own address; a cable reports the address of the receiver its mouse is paired with.
    std::array<uint8_t, 3> AddressOf(const SimDevice& device) const;

    void Save(const SimMouse& mouse) const;
    void Save(const SimDevice& device) const;
    const FlashStore& Store() const { return store; }

private:
    FlashStore store;
    std::vector<std::unique_ptr<SimMouse>> mice;
    std::vector<std::unique_ptr<SimDevice>> devices;
};
