#include "device/DeviceState.h"

#include "platform/hidusb/HIDUsb.h"

#include <set>

FlashDataMap DeviceConfigImage = {};
std::mutex DeviceConfigLock;
std::atomic<bool> DeviceConfigIsCurrent{false};

namespace {
// Number of the last copy taken for a push; guarded by DeviceConfigLock.
uint64_t lastCopyOrder = 0;

// Pushes run one at a time under pushLock, which is taken after DeviceConfigLock was released and
// never while a signal is emitted: the library's calls do not wait for the threads that push.
std::mutex pushLock;
uint64_t lastPushedOrder = 0;
bool lastPushReached = false;
}

FlashDataMap DeviceConfigSnapshot()
{
    std::lock_guard<std::mutex> locker(DeviceConfigLock);
    return DeviceConfigImage;
}

uint64_t AdoptDeviceConfig(const FlashDataMap& record)
{
    std::lock_guard<std::mutex> locker(DeviceConfigLock);
    DeviceConfigImage = record;
    DeviceConfigIsCurrent = true;
    return ++lastCopyOrder;
}

DeviceConfigCopy ChangeDeviceConfig(const std::function<void(FlashDataMap&)>& write)
{
    DeviceConfigCopy copy;
    std::lock_guard<std::mutex> locker(DeviceConfigLock);
    write(DeviceConfigImage);
    copy.record = DeviceConfigImage;
    copy.order = ++lastCopyOrder;
    return copy;
}

DeviceConfigCopy DeviceConfigForPush()
{
    return ChangeDeviceConfig([](FlashDataMap&) {});
}

bool PushDeviceConfigCopy(const FlashDataMap& record, uint64_t order)
{
    std::lock_guard<std::mutex> locker(pushLock);
    if (order <= lastPushedOrder)
        return lastPushReached;
    lastPushedOrder = order;
    lastPushReached = ProtocolDataUpdate(&record) != 0;
    return lastPushReached;
}

void RestoreDeviceConfig(const FlashDataMap& previous, bool previousCurrent, uint64_t order)
{
    std::lock_guard<std::mutex> locker(DeviceConfigLock);
    if (lastCopyOrder != order)
        return;
    DeviceConfigImage = previous;
    DeviceConfigIsCurrent = previousCurrent;
}

void InvalidateDeviceConfig()
{
    DeviceConfigIsCurrent = false;
}

namespace {
const char emptyPath[1] = {0};
std::mutex pathLock;
// Every path ever made current, kept for the whole run: a handful of entries per session.
std::set<std::string>& keptPaths()
{
    static std::set<std::string>* const paths = new std::set<std::string>;
    return *paths;
}
}

std::atomic<const char*> CurrentDevicePath{emptyPath};
std::string CurrentDevicePathString;

void SetCurrentDevicePath(const QByteArray& path)
{
    std::lock_guard<std::mutex> locker(pathLock);
    const std::string text(path.constData(), size_t(path.size()));
    const auto kept = keptPaths().insert(text).first;
    CurrentDevicePathString = text;
    CurrentDevicePath.store(kept->c_str());
}

void PointCurrentDevicePath(const char* path)
{
    CurrentDevicePath.store(path ? path : emptyPath);
}

DongleRGB* const DongleRGBRecord = new DongleRGB{};

std::atomic<bool> ButtonPageRefreshing{false};
std::atomic<bool> LightPageRefreshing{false};
std::atomic<bool> SensorPageRefreshing{false};
std::atomic<bool> UserWritesEnabled{false};

uint8_t SelectionUsbAddressStatus[16] = {'1'};
uint8_t DiscoveryUsbAddressStatus[16] = {0};
uint8_t BatteryStatusBuffer[4] = {0};
uint8_t StatusChangeFlags[7] = {0};
