#pragma once
#include "device/FlashDataMap.h"

#include <cstdint>

// The only road by which a page changes a device parameter. Each setter checks that the current
// device answers and that the working copy holds its record, writes one field (or one small group)
// of the working copy and pushes the whole record. Refused (offline, working copy not yet the
// device's, or an index out of range): nothing is written or sent and the result is false; the
// offline notice is raised unless a page is refreshing itself.

bool IsDeviceOnline();
void PushDeviceConfig();

bool SetDeviceReportRate(uint8_t code);
bool SetDeviceDPILevelCount(uint8_t count);
bool SetDeviceCurrentDPILevel(uint8_t level);
bool SetDeviceConfigByte3(uint8_t value);
bool SetDevice20KFps(uint8_t on);
bool SetDeviceConfigByte4(uint8_t value);
bool SetDeviceLOD(uint8_t code);
bool SetDeviceDebounceTime(uint8_t index);
bool SetDeviceMotionSync(uint8_t on);
bool SetDeviceSleepTime(uint8_t code);
bool SetDeviceStraightLine(uint8_t on);
bool SetDeviceRippleControl(uint8_t on);
bool SetDeviceMovingOffLight(uint8_t on);
bool SetDevicePerformanceMode(uint8_t on);
bool SetDevicePerformanceTime(uint8_t code);
bool SetDeviceSensorMode(uint8_t mode);
bool SetDeviceAngle(uint8_t angle);
bool SetDeviceDPIValue(int level, uint8_t b0, uint8_t b1, uint8_t b2);
bool SetDeviceDPIColor(int level, uint8_t r, uint8_t g, uint8_t b);
bool SwapDeviceDPILevels(const uint8_t a[6], const uint8_t b[6], int i, int j, uint8_t n);
// Levels `kept` and `moved` exchange their entries of the working copy; `kept` becomes the current
// and last level (count kept + 1).
bool ExchangeDeviceDPILevels(int kept, int moved);
bool SetDeviceDPILedMode(int mode);
bool SetDeviceDPILedBrightness(uint8_t code);
bool SetDeviceDPILedSpeed(uint8_t speed);
bool SetDeviceLightMode(int mode);
bool SetDeviceLightColor(uint8_t r, uint8_t g, uint8_t b);
bool SetDeviceLightSpeed(uint8_t value);
bool SetDeviceLightBrightness(uint8_t value);
bool SetDeviceButtonFunction(int button, uint8_t type, uint8_t p1, uint8_t p2);
bool SetDeviceButtonKeyRecord(int button, const uint8_t function[3], const ButtonKeyRecord& record);
bool SetDeviceButtonMacro(int button, const uint8_t function[3], const ButtonMacroBlock& block);
