#include "platform/VirtualKeys.h"

namespace VirtualKeys {

namespace {

struct Pair {
    int from;
    int code;
};

template <std::size_t N>
int Find(const Pair (&pairs)[N], int from)
{
    for (const Pair& pair : pairs) {
        if (pair.from == from)
            return pair.code;
    }
    return 0;
}

// The keys that type characters, by the evdev code of their place on the keyboard: the US layout's
// key there names the code.
const Pair PositionCodes[] = {
    {2, 0x31}, {3, 0x32}, {4, 0x33}, {5, 0x34}, {6, 0x35}, {7, 0x36}, {8, 0x37}, {9, 0x38}, {10, 0x39},
    {11, 0x30}, {12, 0xBD}, {13, 0xBB},
    {16, 0x51}, {17, 0x57}, {18, 0x45}, {19, 0x52}, {20, 0x54}, {21, 0x59}, {22, 0x55}, {23, 0x49},
    {24, 0x4F}, {25, 0x50}, {26, 0xDB}, {27, 0xDD},
    {30, 0x41}, {31, 0x53}, {32, 0x44}, {33, 0x46}, {34, 0x47}, {35, 0x48}, {36, 0x4A}, {37, 0x4B},
    {38, 0x4C}, {39, 0xBA}, {40, 0xDE}, {41, 0xC0},
    {43, 0xDC}, {44, 0x5A}, {45, 0x58}, {46, 0x43}, {47, 0x56}, {48, 0x42}, {49, 0x4E}, {50, 0x4D},
    {51, 0xBC}, {52, 0xBE}, {53, 0xBF},
    {86, 0xE2}, // the extra key beside the left Shift of European keyboards
};

// The right-hand modifiers by evdev code; a modifier not found here is the left one.
const Pair RightModifierCodes[] = {
    {54, 0xA1}, {97, 0xA3}, {100, 0xA5}, {126, 0x5C},
};

// Keys by the Qt key, for keys without a place code and for events without a scan code.
const Pair KeyCodes[] = {
    {Qt::Key_Escape, 0x1B}, {Qt::Key_Tab, 0x09}, {Qt::Key_Backtab, 0x09}, {Qt::Key_Backspace, 0x08},
    {Qt::Key_Return, 0x0D}, {Qt::Key_Enter, 0x0D}, {Qt::Key_Insert, 0x2D}, {Qt::Key_Delete, 0x2E},
    {Qt::Key_Pause, 0x13}, {Qt::Key_Print, 0x2C}, {Qt::Key_SysReq, 0x2C}, {Qt::Key_Clear, 0x0C},
    {Qt::Key_Home, 0x24}, {Qt::Key_End, 0x23}, {Qt::Key_Left, 0x25}, {Qt::Key_Up, 0x26},
    {Qt::Key_Right, 0x27}, {Qt::Key_Down, 0x28}, {Qt::Key_PageUp, 0x21}, {Qt::Key_PageDown, 0x22},
    {Qt::Key_Shift, 0xA0}, {Qt::Key_Control, 0xA2}, {Qt::Key_Alt, 0xA4}, {Qt::Key_AltGr, 0xA5},
    {Qt::Key_Meta, 0x5B}, {Qt::Key_Super_L, 0x5B}, {Qt::Key_Super_R, 0x5C}, {Qt::Key_Menu, 0x5D},
    {Qt::Key_CapsLock, 0x14}, {Qt::Key_NumLock, 0x90}, {Qt::Key_ScrollLock, 0x91}, {Qt::Key_Space, 0x20},
    // The US layout's characters, shifted or not, as the key they lie on.
    {Qt::Key_Minus, 0xBD}, {Qt::Key_Underscore, 0xBD}, {Qt::Key_Equal, 0xBB}, {Qt::Key_Plus, 0xBB},
    {Qt::Key_BracketLeft, 0xDB}, {Qt::Key_BraceLeft, 0xDB}, {Qt::Key_BracketRight, 0xDD},
    {Qt::Key_BraceRight, 0xDD}, {Qt::Key_Backslash, 0xDC}, {Qt::Key_Bar, 0xDC}, {Qt::Key_Semicolon, 0xBA},
    {Qt::Key_Colon, 0xBA}, {Qt::Key_Apostrophe, 0xDE}, {Qt::Key_QuoteDbl, 0xDE}, {Qt::Key_QuoteLeft, 0xC0},
    {Qt::Key_AsciiTilde, 0xC0}, {Qt::Key_Comma, 0xBC}, {Qt::Key_Less, 0xBC}, {Qt::Key_Period, 0xBE},
    {Qt::Key_Greater, 0xBE}, {Qt::Key_Slash, 0xBF}, {Qt::Key_Question, 0xBF},
    {Qt::Key_ParenRight, 0x30}, {Qt::Key_Exclam, 0x31}, {Qt::Key_At, 0x32}, {Qt::Key_NumberSign, 0x33},
    {Qt::Key_Dollar, 0x34}, {Qt::Key_Percent, 0x35}, {Qt::Key_AsciiCircum, 0x36}, {Qt::Key_Ampersand, 0x37},
    {Qt::Key_Asterisk, 0x38}, {Qt::Key_ParenLeft, 0x39},
    // The Russian layout's letters as the key they lie on.
    {0x419, 0x51}, {0x426, 0x57}, {0x423, 0x45}, {0x41A, 0x52}, {0x415, 0x54}, {0x41D, 0x59},
    {0x413, 0x55}, {0x428, 0x49}, {0x429, 0x4F}, {0x417, 0x50}, {0x425, 0xDB}, {0x42A, 0xDD},
    {0x424, 0x41}, {0x42B, 0x53}, {0x412, 0x44}, {0x410, 0x46}, {0x41F, 0x47}, {0x420, 0x48},
    {0x41E, 0x4A}, {0x41B, 0x4B}, {0x414, 0x4C}, {0x416, 0xBA}, {0x42D, 0xDE}, {0x42F, 0x5A},
    {0x427, 0x58}, {0x421, 0x43}, {0x41C, 0x56}, {0x418, 0x42}, {0x422, 0x4E}, {0x42C, 0x4D},
    {0x411, 0xBC}, {0x42E, 0xBE}, {0x401, 0xC0},
    {Qt::Key_VolumeMute, 0xAD}, {Qt::Key_VolumeDown, 0xAE}, {Qt::Key_VolumeUp, 0xAF},
    {Qt::Key_MediaNext, 0xB0}, {Qt::Key_MediaPrevious, 0xB1}, {Qt::Key_MediaStop, 0xB2},
    {Qt::Key_MediaPlay, 0xB3}, {Qt::Key_MediaTogglePlayPause, 0xB3},
};

// Keys of the keypad (Qt::KeypadModifier): the digits and operators with NumLock on, the navigation
// keys with it off (keypad 5 gives Clear).
const Pair KeypadCodes[] = {
    {Qt::Key_0, 0x60}, {Qt::Key_1, 0x61}, {Qt::Key_2, 0x62}, {Qt::Key_3, 0x63}, {Qt::Key_4, 0x64},
    {Qt::Key_5, 0x65}, {Qt::Key_6, 0x66}, {Qt::Key_7, 0x67}, {Qt::Key_8, 0x68}, {Qt::Key_9, 0x69},
    {Qt::Key_Asterisk, 0x6A}, {Qt::Key_Plus, 0x6B}, {Qt::Key_Minus, 0x6D}, {Qt::Key_Period, 0x6E},
    {Qt::Key_Comma, 0x6E}, {Qt::Key_Slash, 0x6F}, {Qt::Key_Enter, 0x0D},
};

bool IsModifierKey(int qtKey)
{
    return qtKey == Qt::Key_Shift || qtKey == Qt::Key_Control || qtKey == Qt::Key_Alt || qtKey == Qt::Key_AltGr
        || qtKey == Qt::Key_Meta || qtKey == Qt::Key_Super_L || qtKey == Qt::Key_Super_R;
}

bool IsAlt(int virtualKey)
{
    return virtualKey == 0xA4 || virtualKey == 0xA5;
}

bool IsCtrl(int virtualKey)
{
    return virtualKey == 0xA2 || virtualKey == 0xA3;
}

constexpr int EvdevOffset = 8;
constexpr int F10 = 0x79;

} // namespace

int FromKey(int qtKey, Qt::KeyboardModifiers modifiers, quint32 nativeScanCode)
{
    const int evdev = int(nativeScanCode) - EvdevOffset;
    if (nativeScanCode > EvdevOffset && !(modifiers & Qt::KeypadModifier)) {
        if (const int code = Find(PositionCodes, evdev))
            return code;
    }
    if (IsModifierKey(qtKey)) {
        if (const int code = Find(RightModifierCodes, evdev))
            return code;
        return Find(KeyCodes, qtKey);
    }
    if (modifiers & Qt::KeypadModifier) {
        if (const int code = Find(KeypadCodes, qtKey))
            return code;
    }
    if ((qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z) || (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9))
        return qtKey;
    if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F24)
        return 0x70 + (qtKey - Qt::Key_F1);
    return Find(KeyCodes, qtKey);
}

int MessageOf(int virtualKey, bool press, Qt::KeyboardModifiers modifiers)
{
    const bool ctrlHeld = (modifiers & Qt::ControlModifier) && !IsCtrl(virtualKey);
    const bool altHeld = (modifiers & Qt::AltModifier) && !IsAlt(virtualKey);
    bool system = false;
    if (!ctrlHeld) {
        if (press)
            system = IsAlt(virtualKey) || altHeld || virtualKey == F10;
        else
            system = !IsAlt(virtualKey) && (altHeld || virtualKey == F10);
    }
    if (press)
        return system ? SysKeyDown : KeyDown;
    return system ? SysKeyUp : KeyUp;
}

} // namespace VirtualKeys
