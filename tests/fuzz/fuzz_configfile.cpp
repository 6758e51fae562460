// A configuration file the user imports (ReadConfigFile), checked against the model list of a
// program folder of the target's own: model 1 with sensor "3395" and at most 8 DPI levels.
#include "FuzzSupport.h"
#include "app/ReadConfigFile.h"
#include "device/DeviceDiscovery.h"

#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzSupport::Setup();
    static const bool models = [] {
        QFile config(FuzzSupport::ProgramFolder() + "/usersetting/Config.ini");
        if (!config.open(QIODevice::WriteOnly))
            return false;
        config.write("[Option]\nCID=MjI=\n[Drive1]\nSensor=MzM5NQ==\nDPIMaxGrade=8\n");
        return true;
    }();
    if (!models)
        std::abort();
    const QString path = FuzzSupport::Folder().path() + "/import.cfg";
    FuzzSupport::WriteInput(path, data, size);

    FlashDataMap record;
    std::memset(record.bytes(), 0x5A, sizeof record);
    const FlashDataMap before = record;
    const int result = ReadConfigFile(path, &record);
    if (result < 0 || result > 2)
        std::abort();
    if (result != 0 && std::memcmp(record.bytes(), before.bytes(), sizeof record) != 0)
        std::abort();
    if (result == 0 && (record.dpiLevelCount < 1 || record.dpiLevelCount > 8
                        || record.currentDpiLevel >= record.dpiLevelCount || !ConfigFile::SettingsFitModel(record, 0)))
        std::abort();
    return 0;
}
