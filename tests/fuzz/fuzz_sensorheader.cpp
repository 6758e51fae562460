// The sensor feature header driver_sensor.h, and the DPI coding that reads its constants.
#include "FuzzSupport.h"
#include "pages/sensor/SensorFeatures.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzSupport::Setup();
    SensorFeatures features;
    features.ReadHeaderText(QString::fromUtf8(reinterpret_cast<const char*>(data), int(size)));
    if (features.SensorConstNames.size() != features.SensorConstValues.size())
        std::abort();
    // A model with high code bits, and one whose name the header may give a code table.
    for (const char* model : {"3395", "TB"}) {
        features.CurrentSensorModel = QString::fromLatin1(model);
        features.Offers(features.supportModeSel);
        for (int code : {0, 1, 0x7F, 0xFF})
            for (int flags : {0, 0x11, 0x22, 0x33, 0xC0})
                features.DecodeDpi(uint8_t(code), uint8_t(flags));
        for (int dpi : {0, 50, 400, 1600, 26000, 100000})
            features.EncodeDpi(dpi, 0);
    }
    return 0;
}
