#pragma once
#include "device/FlashDataMap.h"

#include <QString>
#include <QStringList>
#include <array>
#include <cstdint>

// Keys by name and by HID usage: the names a user sees and types ("Ctrl", "A", "F7", "Num0", "LWin"),
// the (usage, kind) pairs that key records and macro blocks hold, and the usage texts of macro files
// ("0x04"). There is one keyboard table; the button page's combination names and the macro editor's
// key names are two vocabularies over it, and each conversion keeps its own reading where the two
// differ (the code 0x40 of an unexpected kind, and where mouse-button names rank against F1..F12).
//
// Everything here is a pure function of its arguments, the table and MouseButtonNames, and runs on
// the GUI thread.
namespace KeyNames {

// The kind byte of a key event, and the key type of a macro file's key line.
enum KeyKind : uint8_t {
    KindModifier = 0,   // usage: one bit of the keyboard modifier byte
    KindKey = 1,        // usage: a usage ID of the keyboard/keypad page
    KindConsumer = 2,   // usage: a usage ID of the consumer (multimedia) page
    KindMouseButton = 4 // usage: 1 left, 2 right, 4 middle, 8 back, 16 forward
};

// One key of the keyboard table.
struct KeyEntry {
    const char* name;   // UTF-8; the arrows are the single characters U+2190..U+2193
    uint8_t usage;
    uint8_t type;       // KindModifier or KindKey
    uint8_t virtualKey; // the Windows virtual-key code whose key the recorder names so
};

// The 104 keyboard keys in the order the macro editor's name lookups test them: the first
// MacroLookupFirstPart entries, then the five mouse-button names, then F1..F12. The eight modifier
// entries are "LShift" .. "RAlt"; every other entry is a key of type KindKey, the empty name included.
constexpr int KeyboardKeyCount = 104;
constexpr int MacroLookupFirstPart = 92;
const std::array<KeyEntry, KeyboardKeyCount>& KeyboardTable();

// The modifiers of a key combination, named without side; each names its left-hand bit.
struct ComboModifier {
    const char* name;
    uint8_t bit;
};
const std::array<ComboModifier, 4>& ComboModifiers();

// The texts of the left, right, middle, back and forward mouse buttons in the macro page's current
// language (bits 0x01, 0x02, 0x04, 0x08, 0x10). Empty until the macro page sets them; an empty text
// never names a mouse button.
extern std::array<QString, 5> MouseButtonNames;
constexpr uint8_t MouseButtonBits[5] = {0x01, 0x02, 0x04, 0x08, 0x10};

// A key as a key event holds it. known is false for a name outside the vocabulary: such a key goes
// out with kind KindKey and the usage its event already had (0 in a zeroed record).
struct Key {
    bool known = false;
    uint16_t usage = 0;
    uint8_t kind = KindKey;
};

// --- the button page's combination names ("Ctrl", "Shift", "Alt", "Win" and the keyboard keys) ---

// The name under which a key of a key record is shown. usage is the low byte of the event's usage.
// Both hands' modifier bits read as the plain modifier names; usage 0x58 (keypad Enter) reads "Enter".
QString ComboUsageToName(int usage, int kind);
// A part of a key-combination string as a key.
Key ComboNameToKey(const QString& name);

// --- the macro key names ("LCtrl" .. "RWin", the keyboard keys and the mouse-button texts) ---

// Sets kind and usage of event k (0..69) of a macro block from a macro key name, in the button
// page's order: keyboard keys (F1..F12 among them), modifiers, then mouse-button names. Action and
// delay are the caller's. A name found nowhere sets kind KindKey and keeps the usage; an event index
// outside the block changes nothing.
void MacroNameToEvent(const QString& name, int k, ButtonMacroBlock& block);
// The same in the macro editor's order: mouse-button names rank before F1..F12.
void KeyNameToMacroEvent(const QString& name, int k, ButtonMacroBlock& block);

// The macro key name of a macro file's key: usage text exactly "0x" + two upper-case hexadecimal
// digits, and its type. Any other form, and a pair the table lacks, gives the empty name.
QString UsageToKeyName(const QString& usageText, int type);
// A macro key name as [usage text, type as decimal text]; an empty list for a name outside the table.
QStringList KeyNameToUsage(const QString& name);
// The macro key name of an event of a device macro block (code and kind byte). Kind decides only for
// the codes that are both a modifier bit and a key; 0x58 reads "Enter".
QString KeyCodeToKeyName(int code, int kind);

// --- virtual-key codes, as the keyboard hook reports keys ---

// The macro key name of a virtual-key code: the name of that key among the 104 ("LShift" for 0xA0;
// keypad 5 without NumLock, 0x0C, has the empty name). *known (when given) is false for a code
// outside the 104, which gives the empty name too.
QString VirtualKeyToKeyName(int virtualKey, bool* known = nullptr);
// The combination name of a virtual-key code: the same names, but the Shift, Ctrl, Alt and Windows
// keys (which a combination names by its ticked modifiers) and any code outside the 104 give the
// empty name.
QString VirtualKeyToComboName(int virtualKey);

// "0x" + two upper-case hexadecimal digits.
QString UsageText(int usage);

} // namespace KeyNames
