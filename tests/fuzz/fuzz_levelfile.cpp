// The DPI level count the sensor page starts with, read from Level.ini in the user's SensorPage
// folder: whatever the file holds, the page shows between one and eight levels.
#include "FuzzPages.h"
#include "pages/sensor/Sensor.h"
#include "pages/sensor/SensorDPI.h"
#include "widgets/UiTextTables.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzSupport::SetupPages();
    // One page for the whole run: the page is what reads the file, and it reads it again on demand.
    static Sensor* page = [] {
        UiTextTables::Instance()->LoadUiTextTables();
        return new Sensor;
    }();
    static SensorDPI* levels = page->findChild<SensorDPI*>(QStringLiteral("frameDpi"));
    if (!levels)
        std::abort();
    FuzzSupport::WriteInput(AppPaths::UserDataFolder() + "/usersetting/SensorPage/Level.ini", data, size);
    levels->SetLevelCount(page->ReadLevelFile());
    if (levels->LevelCount() < 1 || levels->LevelCount() > 8)
        std::abort();
    return 0;
}
