// A per-device cache file of the "Device_Info" folder: the last known record of a device.
#include "FuzzSupport.h"
#include "device/DeviceInfoCache.h"

#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzSupport::Setup();
    static const QString name = DeviceCacheFileName(0x1C, 0x22);
    static const bool folder = QDir().mkpath(DeviceCacheFolder());
    if (!folder)
        std::abort();
    FuzzSupport::WriteInput(DeviceCacheFolder() + name, data, size);

    FlashDataMap record;
    std::memset(record.bytes(), 0xA5, sizeof record);
    const FlashDataMap before = record;
    const bool read = ReadDeviceInfoCache(name, &record);
    // A refused file leaves the record as it was; an accepted one is the bytes after the length.
    if (!read && std::memcmp(record.bytes(), before.bytes(), sizeof record) != 0)
        std::abort();
    if (read && (size < 4 + sizeof record || std::memcmp(record.bytes(), data + 4, sizeof record) != 0))
        std::abort();
    return 0;
}
