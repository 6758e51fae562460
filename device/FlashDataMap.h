#pragma once
#include <cstddef>
#include <cstdint>
#include <type_traits>

// The mouse's whole parameter set: one plain 10,448-byte record in the device library's layout.
// Multi-byte values are little-endian (the layout of the library and of this machine). Bytes the
// program does not name travel unchanged between a parse and the next update.
#pragma pack(push, 1)

// One DPI level: the code twice (X and Y, always equal), the range flags and the level colour.
struct DpiLevelEntry {
    uint8_t codeX;
    uint8_t codeY;
    uint8_t flags;   // two equal halves: bits 0-1 range code 1..3, bits 2-3 code bits 8-9 (3395/3950)
    uint8_t red;
    uint8_t green;
    uint8_t blue;
};

// What a button does: function type, then two parameters whose meaning depends on the type.
struct ButtonFunction {
    uint8_t type;
    uint8_t p1;
    uint8_t p2;
};

enum ButtonFunctionType : uint8_t {
    FunctionDisabled = 0,
    FunctionMouseKey = 1,
    FunctionDpi = 2,
    FunctionWheelLeftRight = 3,
    FunctionFireKey = 4,
    FunctionKeyRecord = 5,
    FunctionMacro = 6,
    FunctionReportRate = 7,
    FunctionLights = 8,
    FunctionProfile = 9,
    FunctionDpiLock = 10,
    FunctionWheelUpDown = 11
};

// One key event of a key record: press (0) or release (1), kind (0 modifier bits, 1 keyboard usage,
// 2 consumer usage), usage code and delay in milliseconds.
struct KeyEvent {
    uint8_t action;
    uint8_t kind;
    uint16_t usage;
    uint32_t delay;
};

// A key combination bound to one button: up to six events.
struct ButtonKeyRecord {
    uint8_t eventCount;
    uint8_t reserved[3];
    KeyEvent events[6];
};

// One macro event: press or release, kind, usage code, one unused byte, delay in milliseconds.
struct MacroEvent {
    uint8_t action;
    uint8_t kind;
    uint8_t usage;
    uint8_t reserved;
    uint32_t delay;
};

// A macro bound to one button: its name in the local 8-bit code page and up to 70 events.
struct ButtonMacroBlock {
    uint8_t nameLength;
    uint8_t name[30];
    uint8_t eventCount;
    MacroEvent events[70];
};

constexpr int DpiLevelCount = 8;
constexpr int ButtonSlotCount = 16;

struct FlashDataMap {
    uint8_t reportRate;        // 0x00 one-hot: 8 = 125 Hz, 4 = 250, 2 = 500, 1 = 1000, 16 = 2000, 32 = 4000, 64 = 8000
    uint8_t dpiLevelCount;     // 0x01 1..8
    uint8_t currentDpiLevel;   // 0x02 0-based
    uint8_t configByte3;       // 0x03
    uint8_t sensor20KFps;      // 0x04 1 = on
    uint8_t liftOffDistance;   // 0x05 1 = 1 mm, 2 = 2 mm, 3 = 0.7 mm
    uint8_t debounceTime;      // 0x06 index 0..15
    uint8_t motionSync;        // 0x07 1 = on
    uint8_t sleepTime;         // 0x08 tens of seconds
    uint8_t straightLine;      // 0x09 angle snapping, 1 = on
    uint8_t rippleControl;     // 0x0A 1 = on
    uint8_t movingOffLight;    // 0x0B 1 = light off while moving
    uint8_t performanceMode;   // 0x0C 1 = on
    uint8_t performanceTime;   // 0x0D tens of seconds
    uint8_t sensorMode;        // 0x0E
    int8_t sensorAngle;        // 0x0F -30..30 degrees
    uint8_t angleValid;        // 0x10 1 whenever the angle is written
    uint8_t reserved11[19];    // 0x11..0x23
    DpiLevelEntry dpiLevels[DpiLevelCount];      // 0x24
    uint8_t dpiLedMode;        // 0x54 kept while the effect is off
    uint8_t dpiLedBrightness;  // 0x55
    uint8_t dpiLedSpeed;       // 0x56
    uint8_t dpiLedOn;          // 0x57
    uint8_t lightMode;         // 0x58 kept while the light is off
    uint8_t lightRed;          // 0x59
    uint8_t lightGreen;        // 0x5A
    uint8_t lightBlue;         // 0x5B
    uint8_t lightSpeed;        // 0x5C panel value - 1
    uint8_t lightBrightness;   // 0x5D panel value - 1
    uint8_t lightOn;           // 0x5E
    ButtonFunction buttons[ButtonSlotCount];     // 0x5F
    uint8_t reserved8F;        // 0x8F
    ButtonKeyRecord keyRecords[ButtonSlotCount]; // 0x90
    ButtonMacroBlock macros[ButtonSlotCount];    // 0x3D0

    uint8_t* bytes() { return reinterpret_cast<uint8_t*>(this); }
    const uint8_t* bytes() const { return reinterpret_cast<const uint8_t*>(this); }
};

#pragma pack(pop)

static_assert(sizeof(DpiLevelEntry) == 6, "DPI level entry is 6 bytes");
static_assert(sizeof(ButtonFunction) == 3, "button function is 3 bytes");
static_assert(sizeof(KeyEvent) == 8, "key event is 8 bytes");
static_assert(sizeof(ButtonKeyRecord) == 52, "key record is 52 bytes");
static_assert(sizeof(MacroEvent) == 8, "macro event is 8 bytes");
static_assert(sizeof(ButtonMacroBlock) == 592, "macro block is 592 bytes");
static_assert(sizeof(FlashDataMap) == 10448, "the device record is exactly 10,448 bytes");
static_assert(std::is_trivially_copyable<FlashDataMap>::value, "the record is copied as plain bytes");
static_assert(std::is_standard_layout<FlashDataMap>::value, "the record has the library's layout");

// Offsets the device library and the pages agree on.
namespace FlashOffset {
constexpr std::size_t ReportRate = 0x00;
constexpr std::size_t DpiLevelCount = 0x01;
constexpr std::size_t CurrentDpiLevel = 0x02;
constexpr std::size_t Sensor20KFps = 0x04;
constexpr std::size_t LiftOffDistance = 0x05;
constexpr std::size_t DebounceTime = 0x06;
constexpr std::size_t MotionSync = 0x07;
constexpr std::size_t SleepTime = 0x08;
constexpr std::size_t StraightLine = 0x09;
constexpr std::size_t RippleControl = 0x0A;
constexpr std::size_t MovingOffLight = 0x0B;
constexpr std::size_t PerformanceMode = 0x0C;
constexpr std::size_t PerformanceTime = 0x0D;
constexpr std::size_t SensorMode = 0x0E;
constexpr std::size_t SensorAngle = 0x0F;
constexpr std::size_t AngleValid = 0x10;
constexpr std::size_t DpiLevels = 0x24;
constexpr std::size_t DpiLed = 0x54;
constexpr std::size_t LedBar = 0x58;
constexpr std::size_t LightOn = 0x5E;
constexpr std::size_t Buttons = 0x5F;
constexpr std::size_t KeyRecords = 0x90;
constexpr std::size_t Macros = 0x3D0;
constexpr std::size_t End = 0x28D0;
} // namespace FlashOffset

static_assert(offsetof(FlashDataMap, sensorAngle) == FlashOffset::SensorAngle, "angle at 0x0F");
static_assert(offsetof(FlashDataMap, angleValid) == FlashOffset::AngleValid, "angle flag at 0x10");
static_assert(offsetof(FlashDataMap, dpiLevels) == FlashOffset::DpiLevels, "DPI levels at 0x24");
static_assert(offsetof(FlashDataMap, dpiLedMode) == FlashOffset::DpiLed, "DPI light at 0x54");
static_assert(offsetof(FlashDataMap, lightMode) == FlashOffset::LedBar, "mouse light at 0x58");
static_assert(offsetof(FlashDataMap, lightOn) == FlashOffset::LightOn, "mouse light switch at 0x5E");
static_assert(offsetof(FlashDataMap, buttons) == FlashOffset::Buttons, "buttons at 0x5F");
static_assert(offsetof(FlashDataMap, reserved8F) == 0x8F, "spare byte at 0x8F");
static_assert(offsetof(FlashDataMap, keyRecords) == FlashOffset::KeyRecords, "key records at 0x90");
static_assert(offsetof(FlashDataMap, macros) == FlashOffset::Macros, "macro blocks at 0x3D0");
