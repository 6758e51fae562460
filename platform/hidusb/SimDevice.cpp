#include "platform/hidusb/SimDevice.h"

#include "platform/hidusb/SimMouse.h"

#include <algorithm>

namespace {
constexpr size_t FlashSize = 32;
}

SimDevice::SimDevice(const DeviceEntry& entry, SimMouse* mouse, int index, const char* path, const char* bootPath)
    : usbVersion(entry.usbVersion), receiverFirmware(entry.receiverFirmware), entry(entry), mouse(mouse), index(index),
      path(path), bootPath(bootPath)
{
    mouseOnline = entry.mouseOnlineAtStart;
    RestoreReceiverDefaults();
}

bool SimDevice::InBootMode() const
{
    return IsReceiver() ? bootMode : (mouse && mouse->bootMode);
}

bool SimDevice::MouseReachable() const
{
    if (!Running() || !mouse || mouse->bootMode)
        return false;
    return !IsReceiver() || mouseOnline;
}

void SimDevice::RestoreReceiverDefaults()
{
    indicator = entry.indicator;
    lightBar = entry.lightBar;
    indicatorLeds = entry.indicatorLeds;
    longRange = entry.longRange;
}

std::string SimDevice::FlashName() const
{
    return "Device" + std::to_string(index + 1) + ".flash";
}

uint32_t SimDevice::Identity() const
{
    return uint32_t(entry.vid) << 16 | entry.pid;
}

std::vector<uint8_t> SimDevice::FlashImage() const
{
    std::vector<uint8_t> image(FlashSize, 0);
    image[0] = bootMode ? 1 : 0;
    image[1] = longRange;
    image[2] = uint8_t(usbVersion);
    image[3] = uint8_t(usbVersion >> 8);
    image[4] = uint8_t(receiverFirmware);
    image[5] = uint8_t(receiverFirmware >> 8);
    std::copy(indicator.begin(), indicator.end(), image.begin() + 6);
    std::copy(lightBar.begin(), lightBar.end(), image.begin() + 16);
    std::copy(indicatorLeds.begin(), indicatorLeds.end(), image.begin() + 23);
    // bytes 26..31: spare
    return image;
}

bool SimDevice::LoadFlashImage(const std::vector<uint8_t>& image)
{
    if (image.size() != FlashSize || image[0] > 1 || image[1] > 1)
        return false;
    bootMode = IsReceiver() && image[0] != 0;
    longRange = image[1];
    usbVersion = uint16_t(image[2] | image[3] << 8);
    receiverFirmware = uint16_t(image[4] | image[5] << 8);
    std::copy(image.begin() + 6, image.begin() + 16, indicator.begin());
    std::copy(image.begin() + 16, image.begin() + 23, lightBar.begin());
    std::copy(image.begin() + 23, image.begin() + 26, indicatorLeds.begin());
    return true;
}
