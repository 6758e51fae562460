#pragma once
#include <QtGlobal>
#include <Qt>

// The keyboard as a Windows low-level keyboard hook reports it: a virtual-key code and a message per
// key event. The program's key entry (the macro recorder, a macro step's key, a key combination)
// speaks in these codes whatever the desktop, so this is the one place that turns the desktop's keys
// into them.
namespace VirtualKeys {

// The messages of a key event: a key going down or up, and the same while Alt is held (or for F10),
// which Windows sends as "system" keys.
enum Message : int {
    KeyDown = 0x100,
    KeyUp = 0x101,
    SysKeyDown = 0x104,
    SysKeyUp = 0x105,
};

// The virtual-key code of a key; 0 for a key that has none.
// Letters, digits and punctuation go by the key's place on the keyboard, not by the character it
// types: with a native scan code (the X keyboard's key code, the evdev code + 8, as every Linux
// desktop gives it) by that code, else by the Qt key, reading a shifted character of the US layout
// ("!" is the key of 1) and a Cyrillic letter of the Russian layout ("Ф" is the key of A) as the key
// it lies on. The keypad goes by Qt::KeypadModifier: its digits with NumLock on, its navigation
// codes (and Clear, 0x0C, for keypad 5) with NumLock off. The modifiers keep their side (Shift
// 0xA0/0xA1, Ctrl 0xA2/0xA3, Alt 0xA4/0xA5, Win 0x5B/0x5C) when the scan code tells it, else
// read as the left one.
int FromKey(int qtKey, Qt::KeyboardModifiers modifiers, quint32 nativeScanCode);

// The message Windows sends for a key event: a system message while Alt is held without Ctrl (Alt's
// own press included, its release not), and for F10; otherwise KeyDown or KeyUp.
int MessageOf(int virtualKey, bool press, Qt::KeyboardModifiers modifiers);

} // namespace VirtualKeys
