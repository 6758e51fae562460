#include "device/DeviceParamSetters.h"

#include "device/ConnectionState.h"
#include "device/DeviceState.h"
#include "device/PostMsg.h"
#include "platform/hidusb/HIDUsb.h"

#include <cstring>

namespace {

bool AnyPageRefreshing()
{
    return ButtonPageRefreshing || LightPageRefreshing || SensorPageRefreshing;
}

// The refusal every setter shares: nothing written, nothing sent. A working copy that is not yet the
// device's asks for a reload, so that the next pass reads the whole record.
bool Refuse(bool online)
{
    if (online)
        ReloadRequested = true;
    if (!AnyPageRefreshing())
        emit PostMsg::Instance()->SigMouseOffLineo(0);
    return false;
}

bool Writable(bool& online)
{
    online = VidEzorarA_GetDeviceOnLine(CurrentDevicePath) != 0;
    return online && DeviceConfigIsCurrent;
}

// Writes through `write` under the lock, then pushes the copy taken there, outside the lock and in
// the order of the copies.
template <typename Write>
bool WriteAndPush(Write write)
{
    bool online = false;
    if (!Writable(online))
        return Refuse(online);
    PushDeviceConfigCopy(ChangeDeviceConfig(write));
    return true;
}

bool ValidLevel(int level) { return level >= 0 && level < DpiLevelCount; }
bool ValidButton(int button) { return button >= 0 && button < ButtonSlotCount; }

} // namespace

bool IsDeviceOnline()
{
    bool online = false;
    return Writable(online) || Refuse(online);
}

void PushDeviceConfig()
{
    // Sent without the online check, but never a record that is not the current device's.
    if (!DeviceConfigIsCurrent)
        return;
    PushDeviceConfigCopy(DeviceConfigForPush());
}

bool SetDeviceReportRate(uint8_t code) { return WriteAndPush([=](FlashDataMap& r) { r.reportRate = code; }); }
bool SetDeviceDPILevelCount(uint8_t count) { return WriteAndPush([=](FlashDataMap& r) { r.dpiLevelCount = count; }); }
bool SetDeviceCurrentDPILevel(uint8_t level) { return WriteAndPush([=](FlashDataMap& r) { r.currentDpiLevel = level; }); }
bool SetDeviceConfigByte3(uint8_t value) { return WriteAndPush([=](FlashDataMap& r) { r.configByte3 = value; }); }
bool SetDevice20KFps(uint8_t on) { return WriteAndPush([=](FlashDataMap& r) { r.sensor20KFps = on; }); }
bool SetDeviceConfigByte4(uint8_t value) { return WriteAndPush([=](FlashDataMap& r) { r.sensor20KFps = value; }); }
bool SetDeviceLOD(uint8_t code) { return WriteAndPush([=](FlashDataMap& r) { r.liftOffDistance = code; }); }
bool SetDeviceDebounceTime(uint8_t index) { return WriteAndPush([=](FlashDataMap& r) { r.debounceTime = index; }); }
bool SetDeviceMotionSync(uint8_t on) { return WriteAndPush([=](FlashDataMap& r) { r.motionSync = on; }); }
bool SetDeviceSleepTime(uint8_t code) { return WriteAndPush([=](FlashDataMap& r) { r.sleepTime = code; }); }
bool SetDeviceStraightLine(uint8_t on) { return WriteAndPush([=](FlashDataMap& r) { r.straightLine = on; }); }
bool SetDeviceRippleControl(uint8_t on) { return WriteAndPush([=](FlashDataMap& r) { r.rippleControl = on; }); }
bool SetDeviceMovingOffLight(uint8_t on) { return WriteAndPush([=](FlashDataMap& r) { r.movingOffLight = on; }); }
bool SetDevicePerformanceMode(uint8_t on) { return WriteAndPush([=](FlashDataMap& r) { r.performanceMode = on; }); }
bool SetDevicePerformanceTime(uint8_t code) { return WriteAndPush([=](FlashDataMap& r) { r.performanceTime = code; }); }
bool SetDeviceSensorMode(uint8_t mode) { return WriteAndPush([=](FlashDataMap& r) { r.sensorMode = mode; }); }

bool SetDeviceAngle(uint8_t angle)
{
    // The device takes the angle only with its valid flag, so the flag is set with every angle, 0 included.
    return WriteAndPush([=](FlashDataMap& r) {
        r.angleValid = 1;
        r.sensorAngle = int8_t(angle);
    });
}

bool SetDeviceDPIValue(int level, uint8_t b0, uint8_t b1, uint8_t b2)
{
    if (!ValidLevel(level))
        return false;
    return WriteAndPush([=](FlashDataMap& r) {
        r.dpiLevels[level].codeX = b0;
        r.dpiLevels[level].codeY = b1;
        r.dpiLevels[level].flags = b2;
    });
}

bool SetDeviceDPIColor(int level, uint8_t red, uint8_t green, uint8_t blue)
{
    if (!ValidLevel(level))
        return false;
    return WriteAndPush([=](FlashDataMap& r) {
        r.dpiLevels[level].red = red;
        r.dpiLevels[level].green = green;
        r.dpiLevels[level].blue = blue;
    });
}

bool SwapDeviceDPILevels(const uint8_t a[6], const uint8_t b[6], int i, int j, uint8_t n)
{
    if (!a || !b || !ValidLevel(i) || !ValidLevel(j) || n >= DpiLevelCount)
        return false;
    DpiLevelEntry entryA;
    DpiLevelEntry entryB;
    std::memcpy(&entryA, a, sizeof entryA);
    std::memcpy(&entryB, b, sizeof entryB);
    // Entry j first, so that with i == j the entry ends up as b.
    return WriteAndPush([&](FlashDataMap& r) {
        r.dpiLevels[j] = entryA;
        r.dpiLevels[i] = entryB;
        r.currentDpiLevel = n;
        r.dpiLevelCount = uint8_t(n + 1);
    });
}

bool ExchangeDeviceDPILevels(int kept, int moved)
{
    if (!ValidLevel(kept) || !ValidLevel(moved))
        return false;
    const FlashDataMap record = DeviceConfigSnapshot();
    uint8_t keptEntry[6];
    uint8_t movedEntry[6];
    std::memcpy(keptEntry, &record.dpiLevels[kept], sizeof keptEntry);
    std::memcpy(movedEntry, &record.dpiLevels[moved], sizeof movedEntry);
    return SwapDeviceDPILevels(keptEntry, movedEntry, kept, moved, uint8_t(kept));
}

bool SetDeviceDPILedMode(int mode)
{
    // Off clears only the switch, so that switching on again can show the last effect.
    return WriteAndPush([=](FlashDataMap& r) {
        if (mode != 0) {
            r.dpiLedOn = 1;
            r.dpiLedMode = uint8_t(mode);
        } else {
            r.dpiLedOn = 0;
        }
    });
}

bool SetDeviceDPILedBrightness(uint8_t code) { return WriteAndPush([=](FlashDataMap& r) { r.dpiLedBrightness = code; }); }
bool SetDeviceDPILedSpeed(uint8_t speed) { return WriteAndPush([=](FlashDataMap& r) { r.dpiLedSpeed = speed; }); }

bool SetDeviceLightMode(int mode)
{
    return WriteAndPush([=](FlashDataMap& r) {
        if (mode != 0) {
            r.lightOn = 1;
            r.lightMode = uint8_t(mode);
        } else {
            r.lightOn = 0;
        }
    });
}

bool SetDeviceLightColor(uint8_t red, uint8_t green, uint8_t blue)
{
    return WriteAndPush([=](FlashDataMap& r) {
        r.lightRed = red;
        r.lightGreen = green;
        r.lightBlue = blue;
    });
}

bool SetDeviceLightSpeed(uint8_t value) { return WriteAndPush([=](FlashDataMap& r) { r.lightSpeed = value; }); }
bool SetDeviceLightBrightness(uint8_t value) { return WriteAndPush([=](FlashDataMap& r) { r.lightBrightness = value; }); }

bool SetDeviceButtonFunction(int button, uint8_t type, uint8_t p1, uint8_t p2)
{
    if (!ValidButton(button))
        return false;
    return WriteAndPush([=](FlashDataMap& r) { r.buttons[button] = ButtonFunction{type, p1, p2}; });
}

bool SetDeviceButtonKeyRecord(int button, const uint8_t function[3], const ButtonKeyRecord& record)
{
    if (!ValidButton(button) || !function)
        return false;
    const ButtonFunction triple{function[0], function[1], function[2]};
    return WriteAndPush([&](FlashDataMap& r) {
        r.buttons[button] = triple;
        r.keyRecords[button] = record;
    });
}

bool SetDeviceButtonMacro(int button, const uint8_t function[3], const ButtonMacroBlock& block)
{
    if (!ValidButton(button) || !function)
        return false;
    const ButtonFunction triple{function[0], function[1], function[2]};
    return WriteAndPush([&](FlashDataMap& r) {
        r.buttons[button] = triple;
        r.macros[button] = block;
    });
}
