#pragma once
#include <cstdint>

// The receiver's two light records, as the receiver light calls of the device library exchange them,
// and the values the lighting page last showed, which the light panels put a control back to after
// a refused write. All of them live for the whole run and are touched on the GUI thread only.

// The receiver light bar: mode, red, green, blue, speed - 1, brightness - 1, and the on flag (1 when
// the mode is not 0).
struct DongleRGBBar {
    uint8_t mode;
    uint8_t red;
    uint8_t green;
    uint8_t blue;
    uint8_t speed;      // slider value - 1
    uint8_t brightness; // slider value - 1
    uint8_t on;
};
static_assert(sizeof(DongleRGBBar) == 7, "receiver light bar record is 7 bytes");

// The receiver's three indicator LEDs: what each shows, 0..3 (the index of its list on the page).
struct DongleIndicatorLed {
    uint8_t modes[3];
};
static_assert(sizeof(DongleIndicatorLed) == 3, "receiver indicator LED record is 3 bytes");

// The one record of each kind; they hold the bytes last read from or written to the receiver.
extern DongleRGBBar* const DongleRGBBarImage;
extern DongleIndicatorLed* const DongleIndicatorLedImage;

// The mode, brightness and speed shown or last accepted; a value never set is 0.
extern int LastMouseLightMode;
extern int LastReceiverLightMode;
extern int LastReceiverLightBrightness;
extern int LastReceiverLightSpeed;
extern int LastIndicatorLedModes[3];

// A lighting page being built starts from zeroed records and nothing remembered.
void ResetReceiverLightRecords();

// The bytes of a record, for the device library's calls.
inline uint8_t* RecordBytes(DongleRGBBar* record)
{
    return reinterpret_cast<uint8_t*>(record);
}
inline uint8_t* RecordBytes(DongleIndicatorLed* record)
{
    return record->modes;
}
