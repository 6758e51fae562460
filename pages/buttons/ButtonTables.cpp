#include "pages/buttons/ButtonTables.h"

#include "device/MacroBlocks.h"

namespace ButtonTables {

namespace {

const std::array<FunctionTypeRow, 12> Types = {{
    {FunctionDisabled, TripleWriter::Function, 1, {0}, false},
    {FunctionMouseKey, TripleWriter::Function, 5, {1, 2, 4, 8, 16}, false}, // left, right, middle, back, forward
    {FunctionDpi, TripleWriter::Function, 3, {1, 2, 3}, false},             // cycle, up, down
    {FunctionWheelLeftRight, TripleWriter::Function, 2, {1, 2}, false},     // left, right
    {FunctionFireKey, TripleWriter::Function, 0, {}, true},                 // interval, count
    {FunctionKeyRecord, TripleWriter::KeyRecord, 1, {0}, false},
    {FunctionMacro, TripleWriter::Macro, 0, {}, true},                      // own slot, repeat mode
    {FunctionReportRate, TripleWriter::Function, 1, {0}, false},
    {FunctionLights, TripleWriter::Function, 4, {0, 1, 3, 4}, false},       // all, DPI light, strip, strip effect
    {FunctionProfile, TripleWriter::Function, 1, {0}, false},
    {FunctionDpiLock, TripleWriter::Function, 0, {}, false},                // the sensor's DPI code
    {FunctionWheelUpDown, TripleWriter::Function, 2, {1, 2}, false},        // up, down
}};

const std::array<SelectorRow, PageButtonCount> Selectors = {{
    {"FireKey", 0, "Number1", 10},
    {"RightKey", 1, "Number2", 0},
    {"BackKey", 2, "Number3", 0},
    {"StartPause", 4, "Number4", 0},
    {"TopMusic", 3, "Number5", 0},
    {"BackMusic", 5, "Number6", 0},
    {"Button7", 6, "Number7", 10},
    {"Button8", 7, "Number8", 10},
    {"Button9", 8, "Number9", 10},
    {"Button10", 9, "Number10", 10},
    {"Button11", 10, "Number11", 10},
    {"Button12", 11, "Number12", 10},
}};

const std::array<MenuPlaceRow, 12> MenuPlaces = {{
    {FunctionDisabled, "page_9", "DPI_5", 9},
    {FunctionMouseKey, "page_9", nullptr, 0},
    {FunctionDpi, "page_7", "DPI_7", 13},
    {FunctionWheelLeftRight, "page_4", "DPI_11", 10},
    {FunctionFireKey, "page_9", "DPI_6", 7},
    {FunctionKeyRecord, "page_3", "DPI_12", 16}, // a multimedia key
    {FunctionMacro, "page_5", "DPI_10", 15},
    {FunctionReportRate, "page_9", "DPI_2", 5},
    {FunctionLights, "page_6", "DPI_9", 12},
    {FunctionProfile, "page_9", "DPI_3", 6},
    {FunctionDpiLock, "page_8", "DPI_4", 15},
    {FunctionWheelUpDown, "page_10", "DPI_13", 10},
}};

const MenuPlaceRow KeyCombination = {FunctionKeyRecord, "page_9", "DPI_8", 8};

const std::array<const char*, 17> MenuEntries = {{
    "LeftKey_3", "RightKey_3", "MidKey", "BackKey_2", "ForWardKey", "DPI_2", "DPI_3", "DPI_6", "DPI_8",
    "DPI_5", "DPI_13", "DPI_11", "DPI_4", "DPI_9", "DPI_7", "DPI_12", "DPI_10",
}};

const std::array<const char*, 41> Options = {{
    "Player", "StartPause_2", "BackMusic_2", "TopMusic_2", "Mute", "VolumeUp", "VolumeDown",
    "VolumeDown_3", "VolumeDown_4", "VolumeDown_5", "VolumeDown_6", "VolumeDown_7", "VolumeDown_8",
    "VolumeDown_9", "VolumeDown_10", "VolumeDown_11", "VolumeDown_12", "VolumeDown_13",
    "VolumeUp_4", "VolumeUp_5", "VolumeUp_6", "VolumeUp_7",
    "VolumeUp_11", "VolumeUp_12", "VolumeUp_13", "VolumeUp_15", "VolumeUp_16", "VolumeUp_18",
    "VolumeUp_19", "VolumeUp_20", "VolumeUp_21", "VolumeUp_22", "VolumeUp_23", "VolumeUp_24",
    "VolumeDown_2", "VolumeUp_2", "VolumeUp_10", "VolumeUp_8", "VolumeUp_9", "VolumeUp_14", "VolumeDown_14",
}};

constexpr OptionKind T = OptionKind::Triple;
constexpr OptionKind M = OptionKind::Multimedia;
constexpr OptionKind L = OptionKind::DpiLock;

const std::array<OptionRow, 49> OptionTable = {{
    // The main list: mouse keys, report-rate switch, profile switch, no function.
    {"LeftKey_3", T, FunctionMouseKey, 1, 0, 0, true},
    {"RightKey_3", T, FunctionMouseKey, 2, 0, 0, true},
    {"MidKey", T, FunctionMouseKey, 4, 0, 0, true},
    {"BackKey_2", T, FunctionMouseKey, 8, 0, 0, true},
    {"ForWardKey", T, FunctionMouseKey, 16, 0, 0, true},
    {"DPI_2", T, FunctionReportRate, 0, 0, 0, true},
    {"DPI_3", T, FunctionProfile, 0, 0, 0, true},
    {"DPI_5", T, FunctionDisabled, 0, 0, 0, true},
    // Multimedia keys: the names do not follow the keys (VolumeUp is mute, Mute is stop).
    {"Player", M, FunctionKeyRecord, 0, 0x83, 0, false},
    {"StartPause_2", M, FunctionKeyRecord, 0, 0xCD, 0, false},
    {"BackMusic_2", M, FunctionKeyRecord, 0, 0xB5, 0, false},
    {"TopMusic_2", M, FunctionKeyRecord, 0, 0xB6, 0, false},
    {"Mute", M, FunctionKeyRecord, 0, 0xB7, 0, false},
    {"VolumeUp", M, FunctionKeyRecord, 0, 0xE2, 0, false},
    {"VolumeDown", M, FunctionKeyRecord, 0, 0xE9, 0, false},
    {"VolumeDown_4", M, FunctionKeyRecord, 0, 0xEA, 0, false},
    {"VolumeDown_5", M, FunctionKeyRecord, 0, 0x8A, 0, false},
    {"VolumeDown_6", M, FunctionKeyRecord, 0, 0x92, 0, false},
    {"VolumeDown_3", M, FunctionKeyRecord, 0, 0x94, 0, false},
    {"VolumeDown_8", M, FunctionKeyRecord, 0, 0x23, 0, false},
    {"VolumeDown_9", M, FunctionKeyRecord, 0, 0x21, 0, false},
    {"VolumeDown_7", M, FunctionKeyRecord, 0, 0x25, 0, false},
    {"VolumeDown_10", M, FunctionKeyRecord, 0, 0x24, 0, false},
    {"VolumeDown_12", M, FunctionKeyRecord, 0, 0x26, 0, false},
    {"VolumeDown_13", M, FunctionKeyRecord, 0, 0x27, 0, false},
    {"VolumeDown_11", M, FunctionKeyRecord, 0, 0x2A, 0, false},
    // Wheel tilt, lights (no code 2), DPI actions, wheel up/down.
    {"VolumeUp_2", T, FunctionWheelLeftRight, 1, 0, 0, false},
    {"VolumeDown_2", T, FunctionWheelLeftRight, 2, 0, 0, false},
    {"VolumeUp_4", T, FunctionLights, 0, 0, 0, false},
    {"VolumeUp_5", T, FunctionLights, 1, 0, 0, false},
    {"VolumeUp_6", T, FunctionLights, 3, 0, 0, false},
    {"VolumeUp_7", T, FunctionLights, 4, 0, 0, false},
    {"VolumeUp_8", T, FunctionDpi, 1, 0, 0, false},
    {"VolumeUp_9", T, FunctionDpi, 2, 0, 0, false},
    {"VolumeUp_10", T, FunctionDpi, 3, 0, 0, false},
    {"VolumeUp_14", T, FunctionWheelUpDown, 1, 0, 0, false},
    {"VolumeDown_14", T, FunctionWheelUpDown, 2, 0, 0, false},
    // DPI locks: the value goes with the text, not with the name's number.
    {"VolumeUp_11", L, FunctionDpiLock, 0, 0, 100, false},
    {"VolumeUp_12", L, FunctionDpiLock, 0, 0, 200, false},
    {"VolumeUp_13", L, FunctionDpiLock, 0, 0, 300, false},
    {"VolumeUp_16", L, FunctionDpiLock, 0, 0, 400, false},
    {"VolumeUp_15", L, FunctionDpiLock, 0, 0, 500, false},
    {"VolumeUp_19", L, FunctionDpiLock, 0, 0, 600, false},
    {"VolumeUp_20", L, FunctionDpiLock, 0, 0, 700, false},
    {"VolumeUp_22", L, FunctionDpiLock, 0, 0, 800, false},
    {"VolumeUp_18", L, FunctionDpiLock, 0, 0, 900, false},
    {"VolumeUp_24", L, FunctionDpiLock, 0, 0, 1000, false},
    {"VolumeUp_23", L, FunctionDpiLock, 0, 0, 1100, false},
    {"VolumeUp_21", L, FunctionDpiLock, 0, 0, 1200, false},
}};

const std::array<ButtonFunction, PageButtonCount> Defaults = {{
    {FunctionMouseKey, 1, 0},    // left
    {FunctionMouseKey, 2, 0},    // right
    {FunctionMouseKey, 4, 0},    // middle
    {FunctionMouseKey, 8, 0},    // back
    {FunctionMouseKey, 16, 0},   // forward
    {FunctionDpi, 1, 0},         // DPI cycle
    {FunctionDpi, 2, 0},         // DPI up
    {FunctionDpi, 3, 0},         // DPI down
    {FunctionReportRate, 0, 0},
    {FunctionReportRate, 0, 0},
    {FunctionFireKey, 10, 0},    // interval 10
    {FunctionDisabled, 0, 0},
}};

// Types whose selector text does not depend on the code.
struct TypeOption {
    ButtonFunctionType type;
    const char* option;
};
const std::array<TypeOption, 4> CodeFreeOptions = {{
    {FunctionDisabled, "DPI_5"},
    {FunctionFireKey, "DPI_6"},
    {FunctionReportRate, "DPI_2"},
    {FunctionProfile, "DPI_3"},
}};

const std::array<PageLabelRow, 54> LabelRows = {{
    // Selectors: the labels they show until the mouse's assignments do.
    {"FireKey", "0x0100", 3},
    {"RightKey", "0x0200", 3},
    {"BackKey", "0x0400", 0},
    {"StartPause", "0x1000", 0},
    {"TopMusic", "0x0800", 0},
    {"BackMusic", "0x0100", 0},
    {"Button9", "0x0100", 0},
    {"Button10", "0x0100", 0},
    {"Button11", "0x0100", 0},
    {"Button12", "0x0100", 0},
    // The main list and the menu entries; the entries' values are the function types they open.
    {"VolumeUp_8", "0x0100", 0},
    {"LeftKey_3", "0x0100", 3},
    {"RightKey_3", "0x0200", 3},
    {"MidKey", "0x0400", 0},
    {"BackKey_2", "0x0800", 0},
    {"ForWardKey", "0x1000", 0},
    {"DPI_2", "7", 0},
    {"DPI_3", "9", 0},
    {"DPI_6", "4", 0},
    {"DPI_8", "5", 0},
    {"DPI_5", "10", 0},
    {"DPI_13", "B", 0},
    {"DPI_11", "3", 0},
    {"DPI_10", "6", 0},
    {"DPI_9", "11", 0},
    {"DPI_7", "2", 0},
    {"DPI_12", "1005", 0},
    {"DPI_4", "12", 0},
    // Multimedia keys by their consumer usage.
    {"Player", "0x0183", 0},
    {"StartPause_2", "0x00CD", 0},
    {"BackMusic_2", "0x00B5", 0},
    {"TopMusic_2", "0x00B6", 0},
    {"Mute", "0x00B7", 0},
    {"VolumeUp", "0x00E2", 0},
    {"VolumeDown", "0x00E9", 0},
    {"VolumeDown_4", "0x00EA", 0},
    {"VolumeDown_5", "0x018A", 0},
    {"VolumeDown_6", "0x0192", 0},
    {"VolumeDown_3", "0x0194", 0},
    {"VolumeDown_8", "0x0223", 0},
    {"VolumeDown_9", "0x0221", 0},
    {"VolumeDown_7", "0x0225", 0},
    {"VolumeDown_10", "0x0224", 0},
    {"VolumeDown_12", "0x0226", 0},
    {"VolumeDown_13", "0x0227", 0},
    {"VolumeDown_11", "0x022A", 0},
    // Lights and wheels.
    {"VolumeUp_4", "13", 0},
    {"VolumeUp_5", "14", 0},
    {"VolumeUp_6", "15", 0},
    {"VolumeUp_7", "16", 0},
    {"VolumeUp_2", "0x0100", 2},
    {"VolumeDown_2", "0x0200", 2},
    {"VolumeUp_14", "0x0100", 1},
    {"VolumeDown_14", "0x0200", 1},
}};

} // namespace

const std::array<FunctionTypeRow, 12>& FunctionTypes()
{
    return Types;
}

const std::array<SelectorRow, PageButtonCount>& SelectorRows()
{
    return Selectors;
}

const char* SelectorOfButton(int button)
{
    for (const SelectorRow& row : Selectors) {
        if (row.button == button)
            return row.selector;
    }
    return nullptr;
}

const MenuPlaceRow* FindMenuPlace(int type)
{
    for (const MenuPlaceRow& row : MenuPlaces) {
        if (row.type == type)
            return &row;
    }
    return nullptr;
}

const MenuPlaceRow& KeyCombinationPlace()
{
    return KeyCombination;
}

const std::array<const char*, 17>& MenuEntryNames()
{
    return MenuEntries;
}

const std::array<const char*, 41>& OptionNames()
{
    return Options;
}

const std::array<OptionRow, 49>& OptionRows()
{
    return OptionTable;
}

const OptionRow* FindOption(const QString& option)
{
    for (const OptionRow& row : OptionTable) {
        if (option == QLatin1String(row.option))
            return &row;
    }
    return nullptr;
}

const OptionRow* DpiLockOption(int dpiValue)
{
    for (const OptionRow& row : OptionTable) {
        if (row.kind == OptionKind::DpiLock && row.dpiValue == dpiValue)
            return &row;
    }
    return nullptr;
}

const std::array<ButtonFunction, PageButtonCount>& DefaultAssignment()
{
    return Defaults;
}

const char* DisplayOption(int type, int code)
{
    for (const TypeOption& entry : CodeFreeOptions) {
        if (entry.type == type)
            return entry.option;
    }
    for (const OptionRow& row : OptionTable) {
        if (row.kind == OptionKind::Triple && row.type == type && row.p1 == code)
            return row.option;
    }
    return nullptr;
}

const char* DefaultOption(int button)
{
    if (button < 0 || button >= PageButtonCount)
        return nullptr;
    return DisplayOption(Defaults[size_t(button)].type, Defaults[size_t(button)].p1);
}

const std::array<PageLabelRow, 54>& PageLabelRows()
{
    return LabelRows;
}

ButtonFunction KeyRecordTriple()
{
    return ButtonFunction{FunctionKeyRecord, 0, 0};
}

ButtonFunction MacroTriple(int button, const QString& repeatMode)
{
    return ButtonFunction{FunctionMacro, uint8_t(button), MacroBlocks::RepeatModeByte(repeatMode)};
}

} // namespace ButtonTables
