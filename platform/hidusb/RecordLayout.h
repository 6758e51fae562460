#pragma once
#include <array>
#include <cstdint>

// Where things lie in the 10,448-byte parameter record and in the library's own reports.
namespace RecordLayout {

constexpr int RecordSize = 10448;
constexpr int RawImageSize = 6912;
constexpr int HeaderSize = 5;

constexpr int ReportRate = 0x00;
constexpr int DpiLevelCount = 0x01;
constexpr int CurrentDpiLevel = 0x02;
constexpr int DpiEntries = 0x24;
constexpr int DpiEntrySize = 6;
constexpr int DpiLevels = 8;
constexpr int DpiLed = 0x54;      // mode, brightness, speed, on
constexpr int MouseLight = 0x58;  // mode, red, green, blue, speed, brightness, on
constexpr int Buttons = 0x5F;     // 16 triples: type, p1, p2
constexpr int ButtonSlots = 16;
constexpr int KeyRecords = 0x90;
constexpr int KeyRecordSize = 52;
constexpr int MacroBlocks = 0x3D0;
constexpr int MacroBlockSize = 592;
constexpr int MacroNameRoom = 30;
constexpr int MacroEventsAt = 0x20;
constexpr int MacroEventSize = 8;
constexpr int MacroEventRoom = 70;

static_assert(Buttons + ButtonSlots * 3 == 0x8F, "button triples end at the spare byte");
static_assert(KeyRecords + ButtonSlots * KeyRecordSize == MacroBlocks, "key records end where macros begin");
static_assert(MacroBlocks + ButtonSlots * MacroBlockSize == RecordSize, "macro blocks fill the record");
static_assert(MacroEventsAt + MacroEventRoom * MacroEventSize == MacroBlockSize, "events fill a macro block");

} // namespace RecordLayout

using Record = std::array<uint8_t, RecordLayout::RecordSize>;
