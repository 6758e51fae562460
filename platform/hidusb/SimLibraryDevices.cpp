// The devices on the bus: discovery and presence by path, and the attach and detach notices.
#include "platform/hidusb/SimLibrary.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

// Vendor and product ids as the program keeps them: "0x3554", or plain decimal; a text with
// hexadecimal letters and no prefix is read as hexadecimal.
bool ParseId(const char* text, uint16_t& id)
{
    if (!text)
        return false;
    std::string t(text);
    while (!t.empty() && std::isspace(static_cast<unsigned char>(t.back())))
        t.pop_back();
    size_t start = 0;
    while (start < t.size() && std::isspace(static_cast<unsigned char>(t[start])))
        ++start;
    t = t.substr(start);
    if (t.empty())
        return false;
    int base = 10;
    if (t.size() > 2 && t[0] == '0' && (t[1] == 'x' || t[1] == 'X')) {
        base = 16;
        t = t.substr(2);
    } else if (std::any_of(t.begin(), t.end(), [](char c) { return std::isalpha(static_cast<unsigned char>(c)); })) {
        base = 16;
    }
    if (t.empty() || !std::all_of(t.begin(), t.end(), [](char c) { return std::isxdigit(static_cast<unsigned char>(c)); }))
        return false;
    char* end = nullptr;
    const unsigned long value = std::strtoul(t.c_str(), &end, base);
    if (*end != '\0' || value > 0xFFFF)
        return false;
    id = uint16_t(value);
    return true;
}

} // namespace

// ---- Discovery and presence ----

uint8_t SimLibrary::Online(const char* path)
{
    std::lock_guard<std::mutex> locker(lock);
    const SimDevice* device = bus.ByPath(path);
    return device && device->MouseReachable() ? 1 : 0;
}

const char* const* SimLibrary::Find(const char* vid, const char* pid, int* count)
{
    int room = count ? *count : HIDUSB_MAX_PATHS;
    room = std::clamp(room, 0, int(HIDUSB_MAX_PATHS));
    std::lock_guard<std::mutex> locker(lock);
    auto& result = findResults[findNext];
    findNext = (findNext + 1) % FindRing;
    result.fill(nullptr);
    int found = 0;
    uint16_t vendor = 0;
    uint16_t product = 0;
    if (ParseId(vid, vendor) && ParseId(pid, product))
        for (const SimDevice* device : bus.Matching(vendor, product)) {
            if (found == room)
                break;
            result[found++] = device->CurrentPath();
        }
    if (count)
        *count = found;
    return result.data();
}

void SimLibrary::Info(const char* path, uint8_t* out)
{
    std::memset(out, 0, HIDUSB_DEVICE_INFO_SIZE);
    std::lock_guard<std::mutex> locker(lock);
    const SimDevice* device = bus.ByPath(path);
    if (!device || !device->Running())
        return;
    out[0] = device->Entry().cid;
    out[1] = device->Entry().mid;
    out[2] = device->Entry().status;
}

uint8_t SimLibrary::Attribute(const char* path, uint8_t* record)
{
    if (!record)
        return 0;
    std::lock_guard<std::mutex> locker(lock);
    const SimDevice* device = bus.ByPath(path);
    if (!device)
        return 0;
    const uint16_t values[4] = {HIDUSB_USB_ATTRIBUTE_SIZE, device->Entry().vid, device->CurrentPid(), device->usbVersion};
    std::memset(record, 0, HIDUSB_USB_ATTRIBUTE_SIZE);
    record[0] = uint8_t(values[0]);
    for (int i = 1; i < 4; ++i) {
        record[2 + 2 * i] = uint8_t(values[i]);
        record[3 + 2 * i] = uint8_t(values[i] >> 8);
    }
    return 1;
}

uint8_t SimLibrary::AddressStatus(const char* path, uint8_t* status)
{
    if (!status)
        return 0;
    std::lock_guard<std::mutex> locker(lock);
    const SimDevice* device = bus.ByPath(path);
    if (!device || !device->Running())
        return 0;
    const auto address = bus.AddressOf(*device);
    std::memset(status, 0, HIDUSB_USB_ADDRESS_STATUS_SIZE);
    status[0] = uint8_t(device->Entry().vid);
    status[1] = uint8_t(device->Entry().vid >> 8);
    status[2] = uint8_t(device->Entry().pid);
    status[3] = uint8_t(device->Entry().pid >> 8);
    status[4] = device->Entry().cid;
    status[5] = device->Entry().mid;
    status[6] = device->MouseReachable() ? 1 : 0;
    std::copy(address.begin(), address.end(), status + 7);
    return 1;
}

uint16_t SimLibrary::MouseVersion(const char* path)
{
    std::lock_guard<std::mutex> locker(lock);
    const SimDevice* device = bus.ByPath(path);
    return device && device->MouseReachable() ? device->Mouse()->firmware : 0;
}

uint8_t SimLibrary::SlaveVersion(const char* path, uint16_t* version)
{
    std::lock_guard<std::mutex> locker(lock);
    const SimDevice* device = bus.ByPath(path);
    if (!version || !device || !device->IsReceiver() || !device->Running())
        return 0;
    *version = device->receiverFirmware;
    return 1;
}

// ---- Attach and detach ----

void SimLibrary::StartNotices(HidUsbChangedCallback callback)
{
    std::lock_guard<std::mutex> locker(lock);
    noticeGate.Open(callback);
    if (callback)
        PostNoticeLocked();
}

void SimLibrary::StopNotices()
{
    noticeGate.Close();
}
