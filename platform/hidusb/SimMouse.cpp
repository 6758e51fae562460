#include "platform/hidusb/SimMouse.h"

#include "platform/hidusb/RawImageCodec.h"

#include <cstring>

namespace {
constexpr size_t FlashHead = 8; // active profile, boot mode, battery optimise, spare, firmware (2), spare (2)
}

SimMouse::SimMouse(const MouseEntry& entry, const ModelEntry& model, int number)
    : firmware(entry.firmware), battery(entry.battery), charging(entry.charging), model(model), number(number)
{
    this->model.defaults = RawImageCodec::Holdable(model.defaults.data());
    RestoreDefaults();
}

void SimMouse::Store(const uint8_t* record)
{
    profiles[active] = RawImageCodec::Holdable(record);
}

void SimMouse::RestoreDefaults()
{
    profiles.fill(model.defaults);
    active = 0;
}

bool SimMouse::SelectProfile(int profile)
{
    if (profile < 0 || profile >= ProfileCount)
        return false;
    active = profile;
    return true;
}

bool SimMouse::PressDpiButton(int level)
{
    Record& record = profiles[active];
    const int count = record[RecordLayout::DpiLevelCount];
    if (level < 0 || level >= count || level >= RecordLayout::DpiLevels)
        return false;
    record[RecordLayout::CurrentDpiLevel] = uint8_t(level);
    return true;
}

bool SimMouse::PressRateButton(int rateCode)
{
    switch (rateCode) {
    case 1: case 2: case 4: case 8: case 16: case 32: case 64:
        profiles[active][RecordLayout::ReportRate] = uint8_t(rateCode);
        return true;
    default:
        return false;
    }
}

std::string SimMouse::FlashName() const
{
    return "Mouse" + std::to_string(number) + ".flash";
}

uint32_t SimMouse::Identity() const
{
    return 0x4D000000u | model.mid; // 'M' and the model
}

std::vector<uint8_t> SimMouse::FlashImage() const
{
    std::vector<uint8_t> image(FlashHead + ProfileCount * RecordLayout::RecordSize, 0);
    image[0] = uint8_t(active);
    image[1] = bootMode ? 1 : 0;
    image[2] = batteryOptimize ? 1 : 0;
    image[4] = uint8_t(firmware);
    image[5] = uint8_t(firmware >> 8);
    for (int p = 0; p < ProfileCount; ++p)
        std::memcpy(image.data() + FlashHead + p * RecordLayout::RecordSize, profiles[p].data(), RecordLayout::RecordSize);
    return image;
}

bool SimMouse::LoadFlashImage(const std::vector<uint8_t>& image)
{
    if (image.size() != FlashHead + ProfileCount * RecordLayout::RecordSize || image[0] >= ProfileCount || image[1] > 1
        || image[2] > 1)
        return false;
    active = image[0];
    bootMode = image[1] != 0;
    batteryOptimize = image[2] != 0;
    firmware = uint16_t(image[4] | image[5] << 8);
    for (int p = 0; p < ProfileCount; ++p)
        profiles[p] = RawImageCodec::Holdable(image.data() + FlashHead + p * RecordLayout::RecordSize);
    return true;
}
