#include "device/KeyNames.h"

namespace KeyNames {

std::array<QString, 5> MouseButtonNames;

namespace {

// Names, usages and types in the macro editor's lookup order; the virtual-key code is the key the
// macro recorder and the key entry name so.
const std::array<KeyEntry, KeyboardKeyCount> Table = {{
    {"Tab", 0x2B, KindKey, 0x09},
    {"0", 0x27, KindKey, 0x30},
    {"1", 0x1E, KindKey, 0x31},
    {"2", 0x1F, KindKey, 0x32},
    {"3", 0x20, KindKey, 0x33},
    {"4", 0x21, KindKey, 0x34},
    {"5", 0x22, KindKey, 0x35},
    {"6", 0x23, KindKey, 0x36},
    {"7", 0x24, KindKey, 0x37},
    {"8", 0x25, KindKey, 0x38},
    {"9", 0x26, KindKey, 0x39},
    {"A", 0x04, KindKey, 0x41},
    {"B", 0x05, KindKey, 0x42},
    {"C", 0x06, KindKey, 0x43},
    {"D", 0x07, KindKey, 0x44},
    {"E", 0x08, KindKey, 0x45},
    {"F", 0x09, KindKey, 0x46},
    {"G", 0x0A, KindKey, 0x47},
    {"H", 0x0B, KindKey, 0x48},
    {"I", 0x0C, KindKey, 0x49},
    {"J", 0x0D, KindKey, 0x4A},
    {"K", 0x0E, KindKey, 0x4B},
    {"L", 0x0F, KindKey, 0x4C},
    {"M", 0x10, KindKey, 0x4D},
    {"N", 0x11, KindKey, 0x4E},
    {"O", 0x12, KindKey, 0x4F},
    {"P", 0x13, KindKey, 0x50},
    {"Q", 0x14, KindKey, 0x51},
    {"R", 0x15, KindKey, 0x52},
    {"S", 0x16, KindKey, 0x53},
    {"T", 0x17, KindKey, 0x54},
    {"U", 0x18, KindKey, 0x55},
    {"V", 0x19, KindKey, 0x56},
    {"W", 0x1A, KindKey, 0x57},
    {"X", 0x1B, KindKey, 0x58},
    {"Y", 0x1C, KindKey, 0x59},
    {"Z", 0x1D, KindKey, 0x5A},
    {"Esc", 0x29, KindKey, 0x1B},
    {"BackSpace", 0x2A, KindKey, 0x08},
    {"CapsLock", 0x39, KindKey, 0x14},
    {"Insert", 0x49, KindKey, 0x2D},
    {"Del", 0x4C, KindKey, 0x2E},
    {"Home", 0x4A, KindKey, 0x24},
    {"End", 0x4D, KindKey, 0x23},
    {"PgUp", 0x4B, KindKey, 0x21},
    {"PgDn", 0x4E, KindKey, 0x22},
    {"Scroll", 0x47, KindKey, 0x91},
    {"Pause", 0x48, KindKey, 0x13},
    {"Screen", 0x46, KindKey, 0x2C},
    {u8"\u2190", 0x50, KindKey, 0x25},
    {u8"\u2192", 0x4F, KindKey, 0x27},
    {u8"\u2191", 0x52, KindKey, 0x26},
    {u8"\u2193", 0x51, KindKey, 0x28},
    {"`", 0x35, KindKey, 0xC0},
    {"-", 0x2D, KindKey, 0xBD},
    {"=", 0x2E, KindKey, 0xBB},
    {"LShift", 0x02, KindModifier, 0xA0},
    {"RShift", 0x20, KindModifier, 0xA1},
    {"LCtrl", 0x01, KindModifier, 0xA2},
    {"RCtrl", 0x10, KindModifier, 0xA3},
    {"LWin", 0x08, KindModifier, 0x5B},
    {"RWin", 0x80, KindModifier, 0x5C},
    {"LAlt", 0x04, KindModifier, 0xA4},
    {"RAlt", 0x40, KindModifier, 0xA5},
    {"APPs", 0x65, KindKey, 0x5D},
    {"Space", 0x2C, KindKey, 0x20},
    {"[", 0x2F, KindKey, 0xDB},
    {"]", 0x30, KindKey, 0xDD},
    {"\\", 0x31, KindKey, 0xDC},
    {"Enter", 0x28, KindKey, 0x0D},
    {";", 0x33, KindKey, 0xBA},
    {"'", 0x34, KindKey, 0xDE},
    {",", 0x36, KindKey, 0xBC},
    {".", 0x37, KindKey, 0xBE},
    {"/", 0x38, KindKey, 0xBF},
    {"Num/", 0x54, KindKey, 0x6F},
    {"Num*", 0x55, KindKey, 0x6A},
    {"Num-", 0x56, KindKey, 0x6D},
    {"Num+", 0x57, KindKey, 0x6B},
    {"Num0", 0x62, KindKey, 0x60},
    {"Num1", 0x59, KindKey, 0x61},
    {"Num2", 0x5A, KindKey, 0x62},
    {"Num3", 0x5B, KindKey, 0x63},
    {"Num4", 0x5C, KindKey, 0x64},
    {"Num5", 0x5D, KindKey, 0x65},
    {"Num6", 0x5E, KindKey, 0x66},
    {"Num7", 0x5F, KindKey, 0x67},
    {"Num8", 0x60, KindKey, 0x68},
    {"Num9", 0x61, KindKey, 0x69},
    {"Num.", 0x63, KindKey, 0x6E},
    {"", 0x00, KindKey, 0x0C},
    {"NumLock", 0x53, KindKey, 0x90},
    {"F1", 0x3A, KindKey, 0x70},
    {"F2", 0x3B, KindKey, 0x71},
    {"F3", 0x3C, KindKey, 0x72},
    {"F4", 0x3D, KindKey, 0x73},
    {"F5", 0x3E, KindKey, 0x74},
    {"F6", 0x3F, KindKey, 0x75},
    {"F7", 0x40, KindKey, 0x76},
    {"F8", 0x41, KindKey, 0x77},
    {"F9", 0x42, KindKey, 0x78},
    {"F10", 0x43, KindKey, 0x79},
    {"F11", 0x44, KindKey, 0x7A},
    {"F12", 0x45, KindKey, 0x7B},
}};

const std::array<ComboModifier, 4> Modifiers = {{
    {"Ctrl", 0x01},
    {"Shift", 0x02},
    {"Alt", 0x04},
    {"Win", 0x08},
}};

// The codes whose name is not simply the keyboard key's: the values that are both a modifier bit
// and a key, the modifier bits that are no key, and keypad Enter (0x58), which is shown as "Enter"
// while "Enter" always converts to 0x28. The names for kind 0, kind 1 and any other kind.
struct CodeNames {
    int code;
    const char* modifier;
    const char* key;
    const char* other;
};

// The combination names: both hands' bits read as the plain modifier names.
const CodeNames ComboCodeNames[] = {
    {0x04, "Alt", "A", ""}, {0x08, "Win", "E", ""}, {0x10, "Ctrl", "M", ""}, {0x20, "Shift", "3", ""},
    {0x40, "Alt", "F7", ""}, {0x01, "Ctrl", "Ctrl", "Ctrl"}, {0x02, "Shift", "Shift", "Shift"},
    {0x80, "Win", "Win", "Win"}, {0x58, "Enter", "Enter", "Enter"},
};

// The macro names: the modifiers with their side; 0x40 of an unexpected kind is F7.
const CodeNames MacroCodeNames[] = {
    {0x04, "LAlt", "A", ""}, {0x08, "LWin", "E", ""}, {0x10, "RCtrl", "M", ""}, {0x20, "RShift", "3", ""},
    {0x40, "RAlt", "F7", "F7"}, {0x01, "LCtrl", "LCtrl", "LCtrl"}, {0x02, "LShift", "LShift", "LShift"},
    {0x80, "RWin", "RWin", "RWin"}, {0x58, "Enter", "Enter", "Enter"},
};

QString NameOf(const KeyEntry& entry)
{
    return QString::fromUtf8(entry.name);
}

// The keyboard key (type KindKey) of a usage, or none.
const KeyEntry* KeyOfUsage(int usage)
{
    for (const KeyEntry& entry : Table) {
        if (entry.type == KindKey && entry.usage == usage)
            return &entry;
    }
    return nullptr;
}

template <std::size_t N>
QString NameOfCode(const CodeNames (&names)[N], int code, int kind)
{
    for (const CodeNames& entry : names) {
        if (entry.code != code)
            continue;
        return QString::fromLatin1(kind == KindModifier ? entry.modifier : kind == KindKey ? entry.key : entry.other);
    }
    const KeyEntry* entry = KeyOfUsage(code);
    return entry ? NameOf(*entry) : QString();
}

Key KeyOf(const KeyEntry& entry)
{
    return Key{true, entry.usage, entry.type};
}

// Table entries first to last (from, to), by name.
bool FindInTable(const QString& name, int from, int to, Key* key)
{
    for (int i = from; i < to; ++i) {
        if (NameOf(Table[size_t(i)]) == name) {
            *key = KeyOf(Table[size_t(i)]);
            return true;
        }
    }
    return false;
}

bool FindMouseButton(const QString& name, Key* key)
{
    // The empty name is the key of usage 0, never a mouse button still without its text.
    if (name.isEmpty())
        return false;
    for (int i = 0; i < 5; ++i) {
        if (MouseButtonNames[size_t(i)] == name) {
            *key = Key{true, MouseButtonBits[i], KindMouseButton};
            return true;
        }
    }
    return false;
}

// The macro editor's order: entries up to NumLock, the mouse buttons, then F1..F12.
Key MacroEditorKey(const QString& name)
{
    Key key;
    if (FindInTable(name, 0, MacroLookupFirstPart, &key) || FindMouseButton(name, &key)
        || FindInTable(name, MacroLookupFirstPart, KeyboardKeyCount, &key))
        return key;
    return Key{};
}

// The button page's order: every keyboard key and modifier, then the mouse buttons.
Key ButtonPageKey(const QString& name)
{
    Key key;
    if (FindInTable(name, 0, KeyboardKeyCount, &key) || FindMouseButton(name, &key))
        return key;
    return Key{};
}

void SetEvent(const Key& key, int k, ButtonMacroBlock& block)
{
    if (k < 0 || k >= int(sizeof block.events / sizeof block.events[0]))
        return;
    MacroEvent& event = block.events[k];
    event.kind = key.kind;
    if (key.known) {
        // The usage is 16 bits wide on the device, high byte 0 for every key named here.
        event.usage = uint8_t(key.usage);
        event.reserved = 0;
    }
}

} // namespace

const std::array<KeyEntry, KeyboardKeyCount>& KeyboardTable()
{
    return Table;
}

const std::array<ComboModifier, 4>& ComboModifiers()
{
    return Modifiers;
}

QString UsageText(int usage)
{
    return QStringLiteral("0x") + QString::number(usage & 0xFF, 16).toUpper().rightJustified(2, QLatin1Char('0'));
}

QString VirtualKeyToKeyName(int virtualKey, bool* known)
{
    for (const KeyEntry& entry : Table) {
        if (entry.virtualKey == virtualKey) {
            if (known)
                *known = true;
            return NameOf(entry);
        }
    }
    if (known)
        *known = false;
    return QString();
}

QString VirtualKeyToComboName(int virtualKey)
{
    for (const KeyEntry& entry : Table) {
        if (entry.virtualKey == virtualKey)
            return entry.type == KindModifier ? QString() : NameOf(entry);
    }
    return QString();
}

QString ComboUsageToName(int usage, int kind)
{
    return NameOfCode(ComboCodeNames, usage, kind);
}

Key ComboNameToKey(const QString& name)
{
    for (const ComboModifier& modifier : Modifiers) {
        if (name == QLatin1String(modifier.name))
            return Key{true, modifier.bit, KindModifier};
    }
    for (const KeyEntry& entry : Table) {
        if (entry.type == KindKey && NameOf(entry) == name)
            return KeyOf(entry);
    }
    return Key{};
}

void MacroNameToEvent(const QString& name, int k, ButtonMacroBlock& block)
{
    SetEvent(ButtonPageKey(name), k, block);
}

void KeyNameToMacroEvent(const QString& name, int k, ButtonMacroBlock& block)
{
    SetEvent(MacroEditorKey(name), k, block);
}

QString UsageToKeyName(const QString& usageText, int type)
{
    if (usageText.size() != 4 || !usageText.startsWith(QLatin1String("0x")))
        return QString();
    for (int i = 2; i < 4; ++i) {
        const QChar c = usageText.at(i);
        if (!((c >= QLatin1Char('0') && c <= QLatin1Char('9')) || (c >= QLatin1Char('A') && c <= QLatin1Char('F'))))
            return QString();
    }
    const int usage = usageText.mid(2).toInt(nullptr, 16);
    if (type == KindMouseButton) {
        for (int i = 0; i < 5; ++i) {
            if (MouseButtonBits[i] == usage)
                return MouseButtonNames[size_t(i)];
        }
        return QString();
    }
    for (const KeyEntry& entry : Table) {
        if (entry.usage == usage && entry.type == type)
            return NameOf(entry);
    }
    return QString();
}

QStringList KeyNameToUsage(const QString& name)
{
    const Key key = MacroEditorKey(name);
    if (!key.known)
        return QStringList();
    return QStringList{UsageText(key.usage), QString::number(key.kind)};
}

QString KeyCodeToKeyName(int code, int kind)
{
    return NameOfCode(MacroCodeNames, code, kind);
}

} // namespace KeyNames
