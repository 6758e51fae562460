#include "platform/hidusb/SimBus.h"

#include "platform/hidusb/DeviceDescription.h"

#include <cstdio>
#include <cstring>
#include <mutex>
#include <set>

namespace {

// Path texts outlive the devices that had them, so a path a caller still holds never dangles.
const char* Intern(const std::string& text)
{
    static std::mutex poolLock;
    static std::set<std::string>* pool = new std::set<std::string>; // never freed: callers may hold its texts
    std::lock_guard<std::mutex> locker(poolLock);
    return pool->insert(text).first->c_str();
}

std::string HidPath(uint16_t vid, uint16_t pid, int index)
{
    char text[64];
    std::snprintf(text, sizeof text, "/dev/hidraw-sim/%04x-%04x-%d", vid, pid, index);
    return text;
}

} // namespace

void SimBus::Load(const DeviceDescription& description, const std::string& flashFolder)
{
    devices.clear();
    mice.clear();
    store = FlashStore(flashFolder);
    for (size_t m = 0; m < description.mice.size(); ++m) {
        const MouseEntry& entry = description.mice[m];
        auto mouse = std::make_unique<SimMouse>(entry, description.models[entry.model], int(m) + 1);
        std::vector<uint8_t> image;
        if (store.Read(mouse->FlashName(), mouse->Identity(), image) && !mouse->LoadFlashImage(image))
            *mouse = SimMouse(entry, description.models[entry.model], int(m) + 1); // damaged: factory state
        mice.push_back(std::move(mouse));
    }
    for (size_t d = 0; d < description.devices.size(); ++d) {
        const DeviceEntry& entry = description.devices[d];
        const char* path = Intern(HidPath(entry.vid, entry.pid, int(d)));
        const char* bootPath = Intern(HidPath(entry.vid, entry.bootPid, int(d)));
        auto device = std::make_unique<SimDevice>(entry, mice[entry.mouse].get(), int(d), path, bootPath);
        std::vector<uint8_t> image;
        if (store.Read(device->FlashName(), device->Identity(), image) && !device->LoadFlashImage(image))
            *device = SimDevice(entry, mice[entry.mouse].get(), int(d), path, bootPath);
        device->attached = entry.attachedAtStart;
        devices.push_back(std::move(device));
    }
}

SimDevice* SimBus::Device(int index) const
{
    return index >= 0 && index < Count() ? devices[index].get() : nullptr;
}

SimDevice* SimBus::ByPath(const char* path) const
{
    if (!path)
        return nullptr;
    for (const auto& device : devices)
        if (device->attached && std::strcmp(device->CurrentPath(), path) == 0)
            return device.get();
    return nullptr;
}

std::vector<SimDevice*> SimBus::Matching(uint16_t vid, uint16_t pid) const
{
    std::vector<SimDevice*> found;
    for (const auto& device : devices)
        if (device->attached && device->Entry().vid == vid && device->CurrentPid() == pid)
            found.push_back(device.get());
    return found;
}

std::vector<SimDevice*> SimBus::DevicesOf(const SimMouse* mouse) const
{
    std::vector<SimDevice*> found;
    for (const auto& device : devices)
        if (device->Mouse() == mouse)
            found.push_back(device.get());
    return found;
}

std::array<uint8_t, 3> SimBus::AddressOf(const SimDevice& device) const
{
    if (!device.IsReceiver())
        for (const auto& other : devices)
            if (other->IsReceiver() && other->Mouse() == device.Mouse())
                return other->Entry().address;
    return device.Entry().address;
}

void SimBus::Save(const SimMouse& mouse) const
{
    store.Write(mouse.FlashName(), mouse.Identity(), mouse.FlashImage());
}

void SimBus::Save(const SimDevice& device) const
{
    store.Write(device.FlashName(), device.Identity(), device.FlashImage());
}
