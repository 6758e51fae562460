#include "pages/lighting/ReceiverLightRecords.h"

namespace {
// Static, so that the records outlive every page and panel that points at them.
DongleRGBBar lightBar{};
DongleIndicatorLed indicatorLeds{};
} // namespace

DongleRGBBar* const DongleRGBBarImage = &lightBar;
DongleIndicatorLed* const DongleIndicatorLedImage = &indicatorLeds;

int LastMouseLightMode = 0;
int LastReceiverLightMode = 0;
int LastReceiverLightBrightness = 0;
int LastReceiverLightSpeed = 0;
int LastIndicatorLedModes[3] = {0, 0, 0};

void ResetReceiverLightRecords()
{
    lightBar = DongleRGBBar{};
    indicatorLeds = DongleIndicatorLed{};
    LastMouseLightMode = 0;
    LastReceiverLightMode = 0;
    LastReceiverLightBrightness = 0;
    LastReceiverLightSpeed = 0;
    for (int& mode : LastIndicatorLedModes)
        mode = 0;
}
