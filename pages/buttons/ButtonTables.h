#pragma once
#include "device/FlashDataMap.h"

#include <QString>
#include <array>
#include <cstdint>

// What the button page writes as a button's function triple {type, code, parameter}, which selector
// shows which device button, and the assignment the page holds when no record can be had.
namespace ButtonTables {

constexpr int PageButtonCount = 12;

// The setter that writes a triple of the type: the triple alone, with the button's key record, or
// with its macro block.
enum class TripleWriter { Function, KeyRecord, Macro };

// The codes and parameter of one function type. A type whose code is a value rather than a choice
// (fire-key interval, DPI-lock code, the macro's own slot) lists no codes.
struct FunctionTypeRow {
    ButtonFunctionType type;
    TripleWriter writer;
    int codeCount;
    uint8_t codes[5];
    bool parameterIsValue; // fire-key count, macro repeat mode; every other parameter is 0
};
const std::array<FunctionTypeRow, 12>& FunctionTypes();

// The selectors in row order and the device button each shows: rows 4 and 5 show buttons 4 and 3.
// Each row has its hotspot on the mouse picture, and the width of the selector list's scroll bar
// while the row's menu is open: rows 2 to 6 lie beside the open menu, which covers their bar.
struct SelectorRow {
    const char* selector;
    int button;
    const char* hotspot;
    int scrollBarWidth;
};
const std::array<SelectorRow, PageButtonCount>& SelectorRows();
// The selector of a device button 0..11; nullptr outside.
const char* SelectorOfButton(int button);

// How far the selector list scrolls for a row (0-based) picked on the mouse picture: one row, 20 px.
constexpr int SelectorRowHeight = 20;
// The rows of the menu's lists, as far as a scroll to a row goes.
constexpr int MenuRowHeight = 15;

// Where a selector opens the function menu for a function type: the sub-page, the main-list entry
// marked and the main-list row scrolled to. The option marked on the sub-page is DisplayOption's for
// the type and code. A mouse key is itself an entry of the main list: it is marked, and the row is its
// place among the mouse keys (FunctionTypes()), which the main list shows in that order. The key
// records (a multimedia key, else a key combination), the macros and the DPI locks are decoded by the
// page; their rows give the place of what they find.
struct MenuPlaceRow {
    ButtonFunctionType type;
    const char* subPage;
    const char* entry; // nullptr for the mouse keys
    int mainListRow;
};
// The row of a type 0..11; nullptr for any other type.
const MenuPlaceRow* FindMenuPlace(int type);
// A key record that is no multimedia key of the menu is shown as a key combination.
const MenuPlaceRow& KeyCombinationPlace();

// The 17 entries of the function menu, in menu order.
const std::array<const char*, 17>& MenuEntryNames();
// The 41 options of the menu's sub-pages in the order the page groups them: 18 multimedia keys,
// 4 light toggles, 12 DPI locks, wheel right and left, DPI down, cycle and up, wheel up and down.
const std::array<const char*, 41>& OptionNames();

// How an option of the function menu writes its function.
enum class OptionKind {
    Triple,     // the triple {type, p1, 0} alone
    Multimedia, // a key record of one multimedia key, by its one-byte code, with {5, 0, 0}
    DpiLock,    // {10, the sensor's code of the DPI value, 0}
};
// One of the 49 options that assign in one click. A main-list option clears the sub-pages' marks first.
struct OptionRow {
    const char* option;
    OptionKind kind;
    uint8_t type;
    uint8_t p1;       // Triple
    uint8_t code;     // Multimedia: the low byte of the consumer usage
    int dpiValue;     // DpiLock
    bool mainList;
};
const std::array<OptionRow, 49>& OptionRows();
const OptionRow* FindOption(const QString& option);
// The DPI-lock option of a DPI value (100, 200, .. 1200); nullptr for any other value.
const OptionRow* DpiLockOption(int dpiValue);

// Buttons 0..11 when the mouse is offline and no record of it is kept.
const std::array<ButtonFunction, PageButtonCount>& DefaultAssignment();
// The option whose text a selector shows for a function triple: one option per type for the
// disabled button, rapid fire, the report-rate and the profile switch, whatever their code; the
// option of the type and code for the mouse keys, DPI actions, wheels and lights. nullptr for a
// triple no option stands for (light code 2, a type beyond 11, key records, macros, DPI locks).
const char* DisplayOption(int type, int code);
// The option of a button's default function (DefaultAssignment); nullptr outside 0..11.
const char* DefaultOption(int button);

// A text the page takes from the "KeyOptions" labels of the language: position `position` of the
// labels listed under `value`, the label defined last at position 0.
struct PageLabelRow {
    const char* object;
    const char* value;
    int position;
};
// The selectors' provisional labels (until the assignments show), then the options of the menu.
const std::array<PageLabelRow, 54>& PageLabelRows();

// The triple of a key-record assignment, and of a macro on a button: its own slot, and the repeat
// mode's low 8 bits.
ButtonFunction KeyRecordTriple();
ButtonFunction MacroTriple(int button, const QString& repeatMode);

} // namespace ButtonTables
