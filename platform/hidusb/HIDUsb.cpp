// Placeholder device library: no devices attached. Replaced by the simulated devices.
#include "platform/hidusb/HIDUsb.h"

extern "C" {
HIDUSB_API uint8_t VidEzorarA_GetDeviceOnLine(const char*) { return 0; }
HIDUSB_API const char* const* VidEzorarA_FindHidDevicesByDeviceId(const char*, const char*, int, int, int*) { return nullptr; }
HIDUSB_API const char* const* VidEzorarA_FindHidDevicesByDefaultDeviceId(const char*, const char*, int*) { return nullptr; }
HIDUSB_API const uint8_t* VidEzorarA_GetDeviceInfo(const char*, int) { return nullptr; }
HIDUSB_API uint8_t VidEzorarA_GetUsbDeviceAttribute(const char*, uint8_t*) { return 0; }
HIDUSB_API uint8_t VidEzorarA_GetDeviceOnLineWithUsbAddress(const char*, uint8_t*) { return 0; }
HIDUSB_API uint16_t VidEzorarA_GetVersion(const char*) { return 0; }
HIDUSB_API uint8_t VidEzorarA_GetSlaveVersion(const char*, uint16_t*) { return 0; }
HIDUSB_API void StartUsbChanged(HidUsbChangedCallback, int) {}
HIDUSB_API void StopUsbChanged(void) {}
HIDUSB_API void UsbServerC_Start(const char*, const char*, HidReportCallback) {}
HIDUSB_API void UsbServer_SetPCDriverStatus(uint8_t) {}
HIDUSB_API void UsbServer_Exit(void) {}
HIDUSB_API uint8_t UsbServer_ReadAllFlashData(void) { return 0; }
HIDUSB_API uint8_t UsbServer_ReadCurrentDPI(void) { return 0; }
HIDUSB_API uint8_t UsbServer_ReadReportRate(void) { return 0; }
HIDUSB_API uint8_t UsbServer_ReadBatteryLevel(void) { return 0; }
HIDUSB_API uint8_t UsbServer_ReadLedBar(void) { return 0; }
HIDUSB_API uint8_t UsbServer_ReadDPILed(void) { return 0; }
HIDUSB_API uint8_t UsbServer_ReadVersion(void) { return 0; }
HIDUSB_API uint8_t UsbServer_ReadConfig(void) { return 0; }
HIDUSB_API uint8_t ProtocolDataUpdate(const struct FlashDataMap*) { return 0; }
HIDUSB_API void ProtocolDataParser(const uint8_t*, struct FlashDataMap*) {}
HIDUSB_API void BufferToDPILed(const uint8_t*, uint8_t*) {}
HIDUSB_API void BufferToLedBar(const uint8_t*, uint8_t*) {}
HIDUSB_API void GetDeviceBatteryStatus(const uint8_t*, uint8_t*) {}
HIDUSB_API void GetDeviceStatusChanged(const uint8_t*, uint8_t*) {}
HIDUSB_API uint8_t VidEzorarA_Get4KDongleRGBValue(const char*, uint8_t*) { return 0; }
HIDUSB_API uint8_t VidEzorarA_Set4KDongleRGB(const char*, const uint8_t*) { return 0; }
HIDUSB_API uint8_t VidEzorarA_GetDongleRGBBarMode(const char*, uint8_t*) { return 0; }
HIDUSB_API uint8_t VidEzorarA_SetDongleRGBBarMode(const char*, const uint8_t*) { return 0; }
HIDUSB_API uint8_t VidEzorarA_GetDongleIndicatorLed(const char*, uint8_t*) { return 0; }
HIDUSB_API uint8_t VidEzorarA_SetDongleIndicatorLed(const char*, const uint8_t*) { return 0; }
HIDUSB_API uint8_t VidEzorarA_GetLongRangeMode(const char*, uint8_t*) { return 0; }
HIDUSB_API uint8_t VidEzorarA_SetLongRangeMode(const char*, uint8_t) { return 0; }
HIDUSB_API uint8_t VidEzorarA_OpenDevice(const char*) { return 0; }
HIDUSB_API uint8_t VidEzorarA_ReadWriteDeviceData(uint8_t*, uint8_t*, uint8_t) { return 0; }
HIDUSB_API uint8_t UsbServer_SetBatteryOptimizeEnable(uint8_t) { return 0; }
HIDUSB_API uint8_t UsbServer_SetClearSetting(void) { return 0; }
HIDUSB_API uint8_t UsbServer_SetCurrentConfig(uint8_t) { return 0; }
HIDUSB_API uint8_t UsbServer_EnterDonglePairOnlyCid(uint8_t) { return 0; }
HIDUSB_API uint8_t UsbServer_ReadDonglePairStatus(void) { return 0; }
HIDUSB_API int UsbUpgradeC_FindBootDevices(const HidUpgradeImage*, int*) { return 0; }
HIDUSB_API uint8_t UsbUpgrade_Start(const HidUpgradeImage*, HidUpgradeStatusCallback, int) { return 0; }
}
