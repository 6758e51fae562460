#pragma once
#include "platform/hidusb/RecordLayout.h"

#include <cstdint>

// The whole-image report in the library's own compact format (6,912 bytes).
//
// Layout: record bytes 0x00..0x8F as they are; the 16 key records as they are (832 bytes); then per
// macro block 312 bytes: name length, 30 name bytes, event count, and 70 events of 4 bytes (byte 0 =
// action | kind << 4, byte 1 = usage, bytes 2-3 = delay in ms, little-endian). The rest is zero.
//
// So a device holds macro events whose action and kind are below 16, whose spare byte is zero and whose
// delay is at most 65,535 ms; every such record survives Encode then Parse byte for byte.
class RawImageCodec
{
public:
    static constexpr int MacroBlockRawSize = 312;
    static constexpr int UsedSize = 0x90 + 16 * 52 + 16 * MacroBlockRawSize;

    static void Encode(const uint8_t* record, uint8_t* raw);
    // Fills all 10,448 bytes of record.
    static void Parse(const uint8_t* raw, uint8_t* record);
    // What a device keeps of a record handed to it: delays above 65,535 ms become 65,535, the spare
    // event byte is cleared, action and kind keep their low four bits.
    static Record Holdable(const uint8_t* record);
};

static_assert(RawImageCodec::UsedSize <= RecordLayout::RawImageSize, "the compact image fits its report");
