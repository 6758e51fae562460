// The receiver's own records: its lights and indicator, its long-range mode, and the raw frames of the
// clock sync.
#include "platform/hidusb/SimLibrary.h"

#include <algorithm>
#include <cstring>

namespace {

uint8_t ClockSum(const uint8_t* bytes, int count)
{
    uint8_t sum = 0;
    for (int i = 0; i < count; ++i)
        sum = uint8_t(sum + bytes[i]);
    return uint8_t(0x55 - sum);
}

} // namespace

uint8_t* SimLibrary::ReceiverBytes(SimDevice& device, ReceiverRecord which, std::size_t* length)
{
    switch (which) {
    case ReceiverRecord::Indicator:
        *length = device.indicator.size();
        return device.indicator.data();
    case ReceiverRecord::LightBar:
        *length = device.lightBar.size();
        return device.lightBar.data();
    case ReceiverRecord::IndicatorLeds:
        *length = device.indicatorLeds.size();
        return device.indicatorLeds.data();
    }
    *length = 0;
    return nullptr;
}

uint8_t SimLibrary::ReceiverGet(const char* path, ReceiverRecord which, uint8_t* out)
{
    if (!out)
        return 0;
    std::lock_guard<std::mutex> locker(lock);
    SimDevice* device = bus.ByPath(path);
    if (!device || !device->IsReceiver() || !device->Running())
        return 0;
    std::size_t length = 0;
    const uint8_t* bytes = ReceiverBytes(*device, which, &length);
    std::copy(bytes, bytes + length, out);
    return 1;
}

uint8_t SimLibrary::ReceiverSet(const char* path, ReceiverRecord which, const uint8_t* in)
{
    if (!in)
        return 0;
    std::lock_guard<std::mutex> locker(lock);
    ++receiverWrites[std::size_t(which)];
    SimDevice* device = bus.ByPath(path);
    if (!device || !device->IsReceiver() || !device->Running())
        return 0;
    std::size_t length = 0;
    uint8_t* bytes = ReceiverBytes(*device, which, &length);
    switch (which) {
    case ReceiverRecord::Indicator:
        if (device->refusesIndicator || in[0] < 1 || in[0] > 3) // the indicator shows one of three things
            return 0;
        break;
    case ReceiverRecord::LightBar:
        if (device->refusesLights)
            return 0;
        break;
    case ReceiverRecord::IndicatorLeds:
        if (device->refusesLights || std::any_of(in, in + length, [](uint8_t mode) { return mode > 3; }))
            return 0;
        break;
    }
    std::copy(in, in + length, bytes);
    bus.Save(*device);
    return 1;
}

uint8_t SimLibrary::LongRangeGet(const char* path, uint8_t* mode)
{
    if (!mode)
        return 0;
    std::lock_guard<std::mutex> locker(lock);
    const SimDevice* device = bus.ByPath(path);
    if (!device || !device->IsReceiver() || !device->Running())
        return 0;
    *mode = device->longRange;
    return 1;
}

uint8_t SimLibrary::LongRangeSet(const char* path, uint8_t on)
{
    std::lock_guard<std::mutex> locker(lock);
    SimDevice* device = bus.ByPath(path);
    if (!device || !device->IsReceiver() || !device->Running() || on > 1)
        return 0;
    device->longRange = on;
    bus.Save(*device);
    return 1;
}

uint8_t SimLibrary::OpenRaw(const char* path)
{
    std::lock_guard<std::mutex> locker(lock);
    const SimDevice* device = bus.ByPath(path);
    rawDevice = device && device->IsReceiver() && device->Running() ? device->Index() : -1;
    return rawDevice >= 0 ? 1 : 0;
}

uint8_t SimLibrary::Exchange(uint8_t* frame, uint8_t* reply, uint8_t length)
{
    constexpr int ReplyRoom = 64;
    if (!frame || !reply || length == 0 || length > ReplyRoom)
        return 0;
    std::lock_guard<std::mutex> locker(lock);
    SimDevice* device = bus.Device(rawDevice);
    if (!device || !device->attached || !device->Running())
        return 0;
    // A clock-sync frame: 0x0A, 0, 0x10, year (high byte first), month, day, hour, minute, second, weekday.
    if (frame[0] == 0x0A && length >= 11 && frame[length - 1] == ClockSum(frame, length - 1))
        std::copy(frame + 3, frame + 11, device->clock.begin());
    // The receiver echoes what it was sent, under its own checksum.
    std::memset(reply, 0, ReplyRoom);
    std::memcpy(reply, frame, length - 1u);
    reply[length - 1] = ClockSum(reply, length - 1);
    return 1;
}
