// Control of the simulated devices for tests and benchmarks.
#include "platform/hidusb/SimControl.h"

#include "platform/hidusb/RawImageCodec.h"
#include "platform/hidusb/SimLibrary.h"

namespace {
SimLibrary& Library()
{
    return SimLibrary::Instance();
}
} // namespace

extern "C" {

HIDUSB_API void SimControl_Reset(const char* descriptionFile, const char* flashFolder)
{
    Library().Reset(descriptionFile, flashFolder);
}

HIDUSB_API int SimControl_DeviceCount(void)
{
    return Library().DeviceCount();
}

HIDUSB_API const char* SimControl_DevicePath(int device)
{
    return Library().DevicePath(device);
}

HIDUSB_API void SimControl_SetAttached(int device, int attached)
{
    Library().SetAttached(device, attached != 0);
}

HIDUSB_API void SimControl_SetMouseOnline(int device, int online)
{
    Library().SetMouseOnline(device, online != 0);
}

HIDUSB_API void SimControl_SetBattery(int device, int level, int charging)
{
    Library().SetBattery(device, level, charging != 0);
}

HIDUSB_API void SimControl_PressDpiButton(int device, int level)
{
    Library().PressDpiButton(device, level);
}

HIDUSB_API void SimControl_PressRateButton(int device, int rateCode)
{
    Library().PressRateButton(device, rateCode);
}

HIDUSB_API void SimControl_SwitchProfile(int device, int profile)
{
    Library().SwitchProfile(device, profile);
}

HIDUSB_API void SimControl_SetPairingOutcome(int outcome)
{
    Library().SetPairingOutcome(outcome);
}

HIDUSB_API void SimControl_SetUpgradeOutcome(int outcome)
{
    Library().SetUpgradeOutcome(outcome);
}

HIDUSB_API int SimControl_GetDeviceRecord(int device, uint8_t* out)
{
    return Library().GetRecord(device, out);
}

HIDUSB_API int SimControl_SetDeviceRecord(int device, const uint8_t* record)
{
    return Library().SetRecord(device, record);
}

HIDUSB_API uint16_t SimControl_GetFirmwareVersion(int device)
{
    return Library().FirmwareVersion(device);
}

HIDUSB_API uint16_t SimControl_GetReceiverFirmwareVersion(int device)
{
    return Library().ReceiverFirmwareVersion(device);
}

HIDUSB_API int SimControl_GetDeviceMode(int device)
{
    return Library().DeviceMode(device);
}

HIDUSB_API int SimControl_GetActiveProfile(int device)
{
    return Library().ActiveProfile(device);
}

HIDUSB_API int SimControl_GetReceiverRecord(int device, int which, uint8_t* out)
{
    return Library().GetReceiverRecord(device, which, out);
}

HIDUSB_API int SimControl_SetReceiverRecord(int device, int which, const uint8_t* in)
{
    return Library().SetReceiverRecord(device, which, in);
}

HIDUSB_API void SimControl_SetReceiverRefusesLights(int device, int refuse)
{
    Library().SetReceiverRefusesLights(device, refuse != 0);
}

HIDUSB_API void SimControl_SetReceiverRefusesIndicator(int device, int refuse)
{
    Library().SetReceiverRefusesIndicator(device, refuse != 0);
}

HIDUSB_API void SimControl_ReportIndicator(int device)
{
    Library().ReportIndicator(device);
}

HIDUSB_API int SimControl_ReceiverWriteCount(int which)
{
    return Library().ReceiverWriteCount(which);
}

HIDUSB_API int SimControl_UpdateCount(void)
{
    return Library().UpdateCount();
}

HIDUSB_API int SimControl_ReadCount(int reportCode)
{
    return Library().ReadCount(reportCode);
}

HIDUSB_API int SimControl_LastUpdate(uint8_t* out)
{
    return Library().LastUpdate(out);
}

HIDUSB_API int SimControl_WaitIdle(int timeoutMs)
{
    return Library().WaitIdle(timeoutMs);
}

HIDUSB_API void SimControl_EncodeImage(const uint8_t* record, uint8_t* raw)
{
    if (record && raw)
        RawImageCodec::Encode(record, raw);
}

HIDUSB_API void SimControl_ChangeIndicatorOnReceiver(int device, int meaning)
{
    Library().ChangeIndicatorOnReceiver(device, meaning);
}

HIDUSB_API void SimControl_LeaveLongRangeOnReceiver(int device)
{
    Library().LeaveLongRangeOnReceiver(device);
}

HIDUSB_API void SimControl_SendReport(int device, int code, int item, const uint8_t* data, int length)
{
    Library().SendReport(device, code, item, data, length);
}

} // extern "C"
