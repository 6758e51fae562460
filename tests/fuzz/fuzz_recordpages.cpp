// A record as the device thread hands it to the pages: read from the mouse (or its cache), or
// imported. Whatever bytes it holds, every page shows it without a fault and writes nothing back.
// An input shorter than a record fills its start; the rest stays zero.
#include "FuzzPages.h"
#include "device/DeviceState.h"
#include "pages/advanced/Advanced.h"
#include "pages/buttons/Buttoninterface.h"
#include "pages/lighting/LampLight.h"
#include "pages/sensor/Sensor.h"
#include "widgets/UiTextTables.h"

#include <cstring>

namespace {
struct Pages {
    Sensor sensor;
    Advanced advanced;
    Buttoninterface buttons;
    LampLight lighting;
};
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzSupport::SetupPages();
    // The pages are built once: building them is what the program does once per device window, and
    // the fuzzer is after the records.
    static Pages* pages = [] {
        UiTextTables::Instance()->LoadUiTextTables();
        return new Pages;
    }();
    FlashDataMap record;
    std::memset(record.bytes(), 0, sizeof record);
    std::memcpy(record.bytes(), data, std::min(size, sizeof record));
    const FlashDataMap before = DeviceConfigSnapshot();
    pages->sensor.SlotUpDataSenSorUISensor(record);
    pages->sensor.SlotUpDataSenSorUIB(record);
    pages->advanced.SlotUpDataSenSorUISensor(record);
    pages->advanced.SlotUpDataSenSorUIB(record);
    pages->buttons.SlotUpDataButtonUIButton(record);
    pages->buttons.SlotUpDataButtonUIB(record);
    pages->lighting.SlotUpDataLightUILight(record);
    pages->lighting.SlotUpDataLightUIA(record);
    pages->lighting.SlotUpDataDPILed(record);
    // Showing a record changes nothing of the working copy the device is written from.
    const FlashDataMap after = DeviceConfigSnapshot();
    if (std::memcmp(before.bytes(), after.bytes(), sizeof before) != 0)
        std::abort();
    return 0;
}
