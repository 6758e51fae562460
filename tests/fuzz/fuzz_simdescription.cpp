// The simulated library's description ("simulated/devices.ini"): models, mice and devices with their
// records after a factory reset. Read by the library's reset; whatever it accepts is then asked
// about through the library's own calls, as the program and the tests do.
#include "FuzzSupport.h"
#include "device/FlashDataMap.h"
#include "platform/hidusb/HIDUsb.h"
#include "platform/hidusb/SimControl.h"

#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzSupport::Setup();
    const QString root = FuzzSupport::Folder().path();
    const QString path = root + "/devices.ini";
    FuzzSupport::WriteInput(path, data, size);
    // A flash folder of its own for every input: no earlier input's flash is read.
    QDir(root + "/flash").removeRecursively();
    SimControl_Reset(QFile::encodeName(path).constData(), QFile::encodeName(root + "/flash").constData());

    const int count = SimControl_DeviceCount();
    FlashDataMap record{};
    std::vector<uint8_t> raw(HIDUSB_RAW_IMAGE_SIZE);
    uint8_t status[HIDUSB_USB_ADDRESS_STATUS_SIZE] = {};
    for (int device = 0; device < count; ++device) {
        const char* devicePath = SimControl_DevicePath(device);
        if (devicePath) {
            VidEzorarA_GetDeviceInfo(devicePath, 0);
            VidEzorarA_GetDeviceOnLine(devicePath);
            VidEzorarA_GetDeviceOnLineWithUsbAddress(devicePath, status);
        }
        SimControl_GetFirmwareVersion(device);
        SimControl_GetReceiverFirmwareVersion(device);
        SimControl_GetDeviceMode(device);
        if (SimControl_GetDeviceRecord(device, record.bytes())) {
            SimControl_EncodeImage(record.bytes(), raw.data());
            ProtocolDataParser(raw.data(), &record);
        }
    }
    return 0;
}
