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
    {"FireKey", 0},
    {"RightKey", 1},
    {"BackKey", 2},
    {"StartPause", 4},
    {"TopMusic", 3},
    {"BackMusic", 5},
    {"Button7", 6},
    {"Button8", 7},
    {"Button9", 8},
    {"Button10", 9},
    {"Button11", 10},
    {"Button12", 11},
}};

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

const std::array<const char*, 17>& MenuEntryNames()
{
    return MenuEntries;
}

const std::array<const char*, 41>& OptionNames()
{
    return Options;
}

const std::array<ButtonFunction, PageButtonCount>& DefaultAssignment()
{
    return Defaults;
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
