#pragma once
#include "platform/hidusb/RecordLayout.h"

#include <array>
#include <cstdint>
#include <vector>

// One report as the device sends it: a 5-byte header (byte 1 code, byte 3 status, byte 4 item) and data.
struct Report {
    std::array<uint8_t, RecordLayout::HeaderSize> header{};
    std::vector<uint8_t> data;

    int Code() const { return header[1]; }
};

// The small reports of the library's own format and the parsers the program hands them to.
class ReportFormat
{
public:
    static constexpr uint8_t FrameMark = 0xA5; // header byte 0 of every report
    static constexpr int DpiLedReplySize = 8;
    static constexpr int LedBarReplySize = 9;
    static constexpr int StatusFlagCount = 7;
    static constexpr int LongRangeOffSize = 10;

    static Report Make(uint8_t code, uint8_t item, std::vector<uint8_t> data);

    // Item 0x4C: mode, brightness, speed, on, four spare bytes.
    static std::vector<uint8_t> DpiLedReply(const Record& record);
    // Item 0xA0: mode, red, green, blue, speed, brightness, on, two spare bytes.
    static std::vector<uint8_t> LedBarReply(const Record& record);
    // Code 4: level 0..100, then bit 0 charging.
    static std::vector<uint8_t> BatteryReply(int level, bool charging);
    // Code 10: one byte, bit k set when flag k changed.
    static std::vector<uint8_t> StatusChange(int flag);
    // Code 18: firmware version, little-endian.
    static std::vector<uint8_t> VersionReply(uint16_t version);

    // The DPI light and the light bar replies are both their four bytes as the device keeps them.
    static void ParseLightBytes(const uint8_t* raw, uint8_t* out4);
    static void ParseBattery(const uint8_t* raw, uint8_t* out4);
    static void ParseStatusChange(const uint8_t* raw, uint8_t* out7);
};
