#include "platform/hidusb/RawImageCodec.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr int RawKeyRecords = 0x90;
constexpr int RawMacroBlocks = RawKeyRecords + RecordLayout::ButtonSlots * RecordLayout::KeyRecordSize;
constexpr int RawMacroEventsAt = 32;
constexpr int RawMacroEventSize = 4;

uint32_t ReadU32(const uint8_t* p)
{
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

} // namespace

void RawImageCodec::Encode(const uint8_t* record, uint8_t* raw)
{
    using namespace RecordLayout;
    std::memset(raw, 0, RawImageSize);
    std::memcpy(raw, record, MacroBlocks); // general fields and key records keep their places
    for (int block = 0; block < ButtonSlots; ++block) {
        const uint8_t* in = record + MacroBlocks + block * MacroBlockSize;
        uint8_t* out = raw + RawMacroBlocks + block * MacroBlockRawSize;
        std::memcpy(out, in, MacroEventsAt); // name length, name, event count
        for (int e = 0; e < MacroEventRoom; ++e) {
            const uint8_t* event = in + MacroEventsAt + e * MacroEventSize;
            uint8_t* packed = out + RawMacroEventsAt + e * RawMacroEventSize;
            const uint32_t delay = std::min<uint32_t>(ReadU32(event + 4), 0xFFFF);
            packed[0] = uint8_t((event[0] & 0x0F) | (event[1] & 0x0F) << 4);
            packed[1] = event[2];
            packed[2] = uint8_t(delay);
            packed[3] = uint8_t(delay >> 8);
        }
    }
}

void RawImageCodec::Parse(const uint8_t* raw, uint8_t* record)
{
    using namespace RecordLayout;
    std::memset(record, 0, RecordSize);
    std::memcpy(record, raw, MacroBlocks);
    for (int block = 0; block < ButtonSlots; ++block) {
        const uint8_t* in = raw + RawMacroBlocks + block * MacroBlockRawSize;
        uint8_t* out = record + MacroBlocks + block * MacroBlockSize;
        std::memcpy(out, in, MacroEventsAt);
        for (int e = 0; e < MacroEventRoom; ++e) {
            const uint8_t* packed = in + RawMacroEventsAt + e * RawMacroEventSize;
            uint8_t* event = out + MacroEventsAt + e * MacroEventSize;
            event[0] = packed[0] & 0x0F;
            event[1] = packed[0] >> 4;
            event[2] = packed[1];
            event[4] = packed[2];
            event[5] = packed[3];
        }
    }
}

Record RawImageCodec::Holdable(const uint8_t* record)
{
    uint8_t raw[RecordLayout::RawImageSize];
    Encode(record, raw);
    Record held;
    Parse(raw, held.data());
    return held;
}
