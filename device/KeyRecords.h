#pragma once
#include "device/FlashDataMap.h"

#include <QString>
#include <QStringList>
#include <array>
#include <cstdint>

// The 52-byte key record of a button: a key combination of up to three keys, or one multimedia key,
// as press and release events. Every event built here waits 10 ms; events beyond the count are zero.
namespace KeyRecords {

constexpr int MaxComboKeys = 3;
constexpr uint32_t EventDelayMs = 10;

// The parts of a key-combination string: names joined by "+", empty parts kept (the empty string is
// one empty part). The keypad plus key carries the separator in its name: "Num" followed by an
// empty part is the one key "Num+".
QStringList SplitKeyString(const QString& keys);

// The record of a key-combination string: the presses in string order, then the releases in
// reverse order. False, and the record left as it was, for a string of more than three keys: the
// record has room for six events only.
bool KeyStringToRecord(const QString& keys, ButtonKeyRecord& record);

// Fills the press (event k) and the release (event 2n - 1 - k) of one key of an n-key combination.
// A name outside the vocabulary gets kind 1 and keeps the events' usage. A position that does not
// fit the record changes nothing.
ButtonKeyRecord ComboNameToEvents(ButtonKeyRecord record, const QString& name, int k, int n);

// The record of one multimedia key: press and release of consumer usage (high << 8) | low.
ButtonKeyRecord ConsumerKeyRecord(uint8_t high, uint8_t low);

// A multimedia key of the function menu: its one-byte code, the consumer usage it stands for and
// the option button whose text the page shows for it.
struct MultimediaKey {
    uint8_t code;
    uint16_t usage;
    const char* option;
};
const std::array<MultimediaKey, 18>& MultimediaKeys();
// The key of a code, or nullptr: a code with its high byte (0x183) is no code.
const MultimediaKey* FindMultimediaKey(int code);
// The record of a multimedia code; false, and the record left as it was, for a code not in the table.
bool MultimediaKeyRecord(int code, ButtonKeyRecord& record);

} // namespace KeyRecords
