// The device library's C interface, answered by the simulated devices of SimLibrary.
#include "platform/hidusb/HIDUsb.h"

#include "platform/hidusb/RawImageCodec.h"
#include "platform/hidusb/ReportFormat.h"
#include "platform/hidusb/SimLibrary.h"

namespace {
SimLibrary& Library()
{
    return SimLibrary::Instance();
}
} // namespace

extern "C" {

HIDUSB_API uint8_t VidEzorarA_GetDeviceOnLine(const char* path)
{
    return Library().Online(path);
}

HIDUSB_API const char* const* VidEzorarA_FindHidDevicesByDeviceId(const char* vid, const char* pid, int, int, int* count)
{
    return Library().Find(vid, pid, count);
}

HIDUSB_API const char* const* VidEzorarA_FindHidDevicesByDefaultDeviceId(const char* vid, const char* pid, int* count)
{
    return Library().Find(vid, pid, count);
}

HIDUSB_API const uint8_t* VidEzorarA_GetDeviceInfo(const char* path, int)
{
    thread_local uint8_t info[HIDUSB_DEVICE_INFO_SIZE];
    Library().Info(path, info);
    return info;
}

HIDUSB_API uint8_t VidEzorarA_GetUsbDeviceAttribute(const char* path, uint8_t* record)
{
    return Library().Attribute(path, record);
}

HIDUSB_API uint8_t VidEzorarA_GetDeviceOnLineWithUsbAddress(const char* path, uint8_t* status)
{
    return Library().AddressStatus(path, status);
}

HIDUSB_API uint16_t VidEzorarA_GetVersion(const char* path)
{
    return Library().MouseVersion(path);
}

HIDUSB_API uint8_t VidEzorarA_GetSlaveVersion(const char* path, uint16_t* version)
{
    return Library().SlaveVersion(path, version);
}

// The simulated bus reports every change at once, so the polling interval has nothing to set.
HIDUSB_API void StartUsbChanged(HidUsbChangedCallback callback, int)
{
    Library().StartNotices(callback);
}

HIDUSB_API void StopUsbChanged(void)
{
    Library().StopNotices();
}

HIDUSB_API void UsbServerC_Start(const char* path, const char*, HidReportCallback callback)
{
    Library().Connect(path, callback);
}

HIDUSB_API void UsbServer_SetPCDriverStatus(uint8_t running)
{
    Library().SetDriverStatus(running);
}

HIDUSB_API void UsbServer_Exit(void)
{
    Library().Disconnect();
}

HIDUSB_API uint8_t UsbServer_ReadAllFlashData(void)
{
    return Library().Read(SimLibrary::ReadKind::Image);
}

HIDUSB_API uint8_t UsbServer_ReadCurrentDPI(void)
{
    return Library().Read(SimLibrary::ReadKind::CurrentDpi);
}

HIDUSB_API uint8_t UsbServer_ReadReportRate(void)
{
    return Library().Read(SimLibrary::ReadKind::ReportRate);
}

HIDUSB_API uint8_t UsbServer_ReadBatteryLevel(void)
{
    return Library().Read(SimLibrary::ReadKind::Battery);
}

HIDUSB_API uint8_t UsbServer_ReadLedBar(void)
{
    return Library().Read(SimLibrary::ReadKind::LedBar);
}

HIDUSB_API uint8_t UsbServer_ReadDPILed(void)
{
    return Library().Read(SimLibrary::ReadKind::DpiLed);
}

HIDUSB_API uint8_t UsbServer_ReadVersion(void)
{
    return Library().Read(SimLibrary::ReadKind::Version);
}

HIDUSB_API uint8_t UsbServer_ReadConfig(void)
{
    return Library().Read(SimLibrary::ReadKind::Config);
}

HIDUSB_API uint8_t ProtocolDataUpdate(const struct FlashDataMap* record)
{
    return Library().Update(reinterpret_cast<const uint8_t*>(record));
}

HIDUSB_API void ProtocolDataParser(const uint8_t* raw, struct FlashDataMap* record)
{
    if (raw && record)
        RawImageCodec::Parse(raw, reinterpret_cast<uint8_t*>(record));
}

HIDUSB_API void BufferToDPILed(const uint8_t* raw, uint8_t* record)
{
    ReportFormat::ParseLightBytes(raw, record);
}

HIDUSB_API void BufferToLedBar(const uint8_t* raw, uint8_t* record)
{
    ReportFormat::ParseLightBytes(raw, record);
}

HIDUSB_API void GetDeviceBatteryStatus(const uint8_t* raw, uint8_t* status)
{
    ReportFormat::ParseBattery(raw, status);
}

HIDUSB_API void GetDeviceStatusChanged(const uint8_t* raw, uint8_t* flags)
{
    ReportFormat::ParseStatusChange(raw, flags);
}

HIDUSB_API uint8_t VidEzorarA_Get4KDongleRGBValue(const char* path, uint8_t* record)
{
    return Library().ReceiverGet(path, SimLibrary::ReceiverRecord::Indicator, record);
}

HIDUSB_API uint8_t VidEzorarA_Set4KDongleRGB(const char* path, const uint8_t* record)
{
    return Library().ReceiverSet(path, SimLibrary::ReceiverRecord::Indicator, record);
}

HIDUSB_API uint8_t VidEzorarA_GetDongleRGBBarMode(const char* path, uint8_t* record)
{
    return Library().ReceiverGet(path, SimLibrary::ReceiverRecord::LightBar, record);
}

HIDUSB_API uint8_t VidEzorarA_SetDongleRGBBarMode(const char* path, const uint8_t* record)
{
    return Library().ReceiverSet(path, SimLibrary::ReceiverRecord::LightBar, record);
}

HIDUSB_API uint8_t VidEzorarA_GetDongleIndicatorLed(const char* path, uint8_t* record)
{
    return Library().ReceiverGet(path, SimLibrary::ReceiverRecord::IndicatorLeds, record);
}

HIDUSB_API uint8_t VidEzorarA_SetDongleIndicatorLed(const char* path, const uint8_t* record)
{
    return Library().ReceiverSet(path, SimLibrary::ReceiverRecord::IndicatorLeds, record);
}

HIDUSB_API uint8_t VidEzorarA_GetLongRangeMode(const char* path, uint8_t* mode)
{
    return Library().LongRangeGet(path, mode);
}

HIDUSB_API uint8_t VidEzorarA_SetLongRangeMode(const char* path, uint8_t on)
{
    return Library().LongRangeSet(path, on);
}

HIDUSB_API uint8_t VidEzorarA_OpenDevice(const char* path)
{
    return Library().OpenRaw(path);
}

HIDUSB_API uint8_t VidEzorarA_ReadWriteDeviceData(uint8_t* frame, uint8_t* reply, uint8_t length)
{
    return Library().Exchange(frame, reply, length);
}

HIDUSB_API uint8_t UsbServer_SetBatteryOptimizeEnable(uint8_t enable)
{
    return Library().SetBatteryOptimize(enable);
}

HIDUSB_API uint8_t UsbServer_SetClearSetting(void)
{
    return Library().ClearSettings();
}

HIDUSB_API uint8_t UsbServer_SetCurrentConfig(uint8_t profile)
{
    return Library().SelectProfile(profile);
}

HIDUSB_API uint8_t UsbServer_EnterDonglePairOnlyCid(uint8_t cid)
{
    return Library().EnterPairing(cid);
}

HIDUSB_API uint8_t UsbServer_ReadDonglePairStatus(void)
{
    return Library().Read(SimLibrary::ReadKind::PairStatus);
}

HIDUSB_API int UsbUpgradeC_FindBootDevices(const HidUpgradeImage* image, int* count)
{
    return Library().FindBootDevices(image, count);
}

// Each step of the simulated write takes a few milliseconds, far inside any timeout the program gives.
HIDUSB_API uint8_t UsbUpgrade_Start(const HidUpgradeImage* image, HidUpgradeStatusCallback callback, int)
{
    return Library().StartUpgrade(image, callback);
}

} // extern "C"
