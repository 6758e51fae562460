// The firmware upgrade: the devices an image is made for, the start of an upgrade and its run on the
// upgrade thread, a block at a time, with the chip's boot mode and the events the program is sent.
#include "platform/hidusb/SimLibrary.h"

#include <algorithm>

namespace {

using std::chrono::milliseconds;

constexpr milliseconds UpgradeStep(2);     // from the last block to the result
// A boot loader's pace: a 64 KiB image takes under three seconds, a small test image a few ms.
constexpr int64_t WriteBytesPerMs = 24;
constexpr uint32_t ImageHeaderSize = 728;
constexpr uint8_t MouseImage = 210;
constexpr uint8_t ReceiverImage = 211;

// The version an image carries: minor at byte 16, major in bytes 17..19 (kept to 8 bits here).
uint16_t ImageVersion(const uint8_t* header)
{
    const uint32_t major = header[17] | header[18] << 8 | header[19] << 16;
    return uint16_t(std::min<uint32_t>(major, 0xFF) << 8 | header[16]);
}

} // namespace

bool SimLibrary::Takes(const SimDevice& device, const uint8_t* header)
{
    if (device.Entry().cid != header[21])
        return false;
    if (header[20] == ReceiverImage)
        return device.IsReceiver() && device.Entry().mid == header[22];
    if (header[20] == MouseImage)
        return !device.IsReceiver() && device.Mouse()->Model().mid == header[22];
    return false;
}

int SimLibrary::FindBootDevices(const HidUpgradeImage* image, int* count)
{
    int found = 0;
    if (image && image->data && image->length >= ImageHeaderSize) {
        std::lock_guard<std::mutex> locker(lock);
        for (int index = 0; index < bus.Count(); ++index) {
            const SimDevice* device = bus.Device(index);
            if (device->attached && device->InBootMode() && Takes(*device, image->data))
                ++found;
        }
    }
    if (count)
        *count = std::clamp(found, 0, std::max(*count, 0));
    return found;
}

void SimLibrary::SaveChipLocked(SimDevice& device, bool mouseChip)
{
    if (!mouseChip) {
        bus.Save(device);
        return;
    }
    bus.Save(*device.Mouse());
    for (SimDevice* cable : bus.DevicesOf(device.Mouse()))
        if (!cable->IsReceiver())
            bus.Save(*cable);
}

uint8_t SimLibrary::StartUpgrade(const HidUpgradeImage* image, HidUpgradeStatusCallback callback)
{
    if (!image || !image->data || image->length < ImageHeaderSize)
        return 0;
    const uint8_t* header = image->data;
    std::lock_guard<std::mutex> locker(lock);
    if (upgradeRunning)
        return 0;
    // A start the test wants refused is refused once, as a library that finds no writable device
    // would: nothing is written and no event follows.
    if (upgradeOutcome == 3) {
        upgradeOutcome = 0;
        return 0;
    }
    // A device waiting in boot mode first; then a running one the image is made for; a wireless mouse
    // with no cable plugged in takes its firmware through its receiver.
    int target = -1;
    for (int pass = 0; pass < 3 && target < 0; ++pass)
        for (int index = 0; index < bus.Count() && target < 0; ++index) {
            const SimDevice* device = bus.Device(index);
            bool candidate = false;
            if (pass == 0)
                candidate = device->attached && device->InBootMode() && Takes(*device, header);
            else if (pass == 1)
                candidate = device->Running() && Takes(*device, header);
            else
                candidate = header[20] == MouseImage && device->IsReceiver() && device->MouseReachable()
                         && device->Entry().cid == header[21] && device->Mouse()->Model().mid == header[22];
            if (candidate)
                target = index;
        }
    if (target < 0)
        return 0;
    std::vector<uint8_t> copy(image->data, image->data + image->length);
    const int outcome = upgradeOutcome;
    upgradeOutcome = 0;
    upgradeRunning = true;
    const uint64_t generation = upgradeGate.Open(callback);
    const uint64_t runEpoch = epoch;
    upgradeThread.Post([this, runEpoch, target, copy = std::move(copy), outcome, generation]() mutable {
        RunUpgrade(runEpoch, target, std::move(copy), outcome, generation);
    });
    return 1;
}

void SimLibrary::RunUpgrade(uint64_t runEpoch, int index, std::vector<uint8_t> image, int outcome, uint64_t generation)
{
    const auto report = [this, generation](uint8_t kind, uint8_t value) {
        if (const HidUpgradeStatusCallback callback = upgradeGate.Take(generation)) {
            const uint8_t event[HIDUSB_UPGRADE_EVENT_SIZE] = {7, kind, value};
            callback(event);
        }
    };
    // The chip written is the receiver's or the mouse's; over the air the receiver stays on the bus.
    const bool mouseChip = image[20] == MouseImage;
    const auto bootMode = [mouseChip](SimDevice& device) -> bool& {
        return mouseChip ? device.Mouse()->bootMode : device.bootMode;
    };
    const auto reachable = [mouseChip](const SimDevice& device) {
        return device.attached && (!mouseChip || !device.IsReceiver() || device.mouseOnline);
    };
    bool lost = false;
    bool wasInBootMode = false;
    bool overTheAir = false;
    {
        std::lock_guard<std::mutex> locker(lock);
        if (epoch != runEpoch)
            return;
        SimDevice& device = *bus.Device(index);
        overTheAir = mouseChip && device.IsReceiver();
        wasInBootMode = bootMode(device);
        lost = !reachable(device);
        if (!lost && !wasInBootMode) {
            // The chip restarts into its boot loader: a device on the bus leaves it and comes back as a boot device.
            bootMode(device) = true;
            SaveChipLocked(device, mouseChip);
            if (!overTheAir) {
                PostNoticeLocked();
                PostNoticeLocked();
            }
        }
    }
    // Outcome 4 writes the whole image and reports a success, but the chip does not start it.
    const int last = outcome == 0 || outcome == 4 ? 100 : 50;
    // The image is written block by block at the boot loader's pace, and each whole percent
    // written is reported once, as a device reports it: the bar moves with the write.
    const DispatchThread::Clock::time_point started = DispatchThread::Clock::now();
    const std::chrono::microseconds writeTime(int64_t(image.size()) * 1000 / WriteBytesPerMs);
    for (int percent = 0; !lost && percent <= last; ++percent) {
        const DispatchThread::Clock::time_point due = started + writeTime * percent / 100;
        const milliseconds wait = std::chrono::ceil<milliseconds>(due - DispatchThread::Clock::now());
        if (!upgradeThread.Pause(std::max(wait, milliseconds(0))))
            return;
        {
            std::lock_guard<std::mutex> locker(lock);
            if (epoch != runEpoch)
                return;
            lost = !reachable(*bus.Device(index));
        }
        if (!lost)
            report(1, uint8_t(percent));
    }
    if (!upgradeThread.Pause(UpgradeStep))
        return;
    bool success = false;
    {
        std::lock_guard<std::mutex> locker(lock);
        if (epoch != runEpoch)
            return;
        upgradeRunning = false;
        SimDevice& device = *bus.Device(index);
        if (!lost && reachable(device)) {
            // Success brings the new firmware; a failed write of a running chip leaves its old one;
            // a chip that was already waiting, or told to stop in boot mode, keeps waiting.
            if (outcome == 0) {
                const uint16_t version = ImageVersion(image.data());
                if (mouseChip) {
                    device.Mouse()->firmware = version;
                    for (SimDevice* cable : bus.DevicesOf(device.Mouse()))
                        if (!cable->IsReceiver())
                            cable->usbVersion = version;
                } else {
                    device.receiverFirmware = version;
                    device.usbVersion = version;
                }
                success = true;
            }
            // A write reported as done whose image does not start: the chip stays in its boot loader.
            if (outcome == 4)
                success = true;
            if (outcome == 0 || (outcome == 1 && !wasInBootMode)) {
                bootMode(device) = false;
                SaveChipLocked(device, mouseChip);
                if (!overTheAir) {
                    PostNoticeLocked();
                    PostNoticeLocked();
                }
            }
        }
    }
    report(2, success ? 1 : 0);
}
