#pragma once
#include "device/FlashDataMap.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <cstdint>

// A button's 592-byte macro block and the macro files it is built from. A macro file (one per macro,
// named after it with ".ini", in the per-user macro folder) holds the repeat mode on its first line,
// then key lines ("0x04 1 0": usage text, key type, 0 press or 1 release) and delay lines ("10ms",
// the delay after the key event before it).
namespace MacroBlocks {

constexpr int NameRoom = int(sizeof(ButtonMacroBlock::name));
constexpr int EventRoom = int(sizeof(ButtonMacroBlock::events) / sizeof(MacroEvent));

// The per-user macro folder.
QString MacroFolder();
// Whether a macro name may become a file name: not empty, not "." or "..", no "/", "\" or control
// character, and its file inside the macro folder. Names come from typing, pasting and the device's
// blocks, so every path made from one is checked here first.
bool IsSafeMacroName(const QString& name);
// The macro's file; empty for a name IsSafeMacroName refuses.
QString MacroFilePath(const QString& name);

// The macro folder as the macro lists show it: its files (no folders, no symbolic links) by name,
// ignoring case, without the first one whose name contains "xml" (the folder's one XML file).
// Further names holding "xml" stay listed; each list decides what to make of them.
QStringList MacroListEntries();
// The macro a listed file stands for: its name with every ".ini" removed.
QString MacroNameOfFile(const QString& fileName);

// The name as the block holds it: NULs removed, in the local 8-bit encoding, cut to whole characters
// within 30 bytes.
QByteArray MacroNameBytes(const QString& name);
// The name a block holds: at most its length byte's count of bytes, up to the first zero, at most 30.
QString MacroNameOfBlock(const ButtonMacroBlock& block);
// Gives the block a name: its length byte and its bytes (MacroNameBytes), the rest of the 30 name
// bytes zero, so that no tail of an earlier, longer name stays behind it.
void SetBlockName(ButtonMacroBlock& block, const QString& name);

// The block of a macro file's text. Event k takes the key of a key line and is closed by the delay
// line after it; a key line that follows a key line closes the open event first, so that a release
// is never overwritten by the next press. The count is the closed events plus the last one, at most
// 70; nothing beyond 70 events is read.
ButtonMacroBlock MacroTextToBlock(const QString& name, const QByteArray& text);
// The block of the macro's file. ok is false, and the block all zero, while user writes are off, for
// a refused name, and for a file that is missing, not a regular file or unreadable.
ButtonMacroBlock MacroFileToRecord(const QString& name, bool* ok);

// The first field of the file's first line; "0" for a refused name and for a missing, unreadable or
// empty file.
QString ReadMacroRepeatMode(const QString& name);
// A repeat mode text as a number: base 10, 0 when it is not a number. The device takes its low 8 bits.
int RepeatModeNumber(const QString& text);
uint8_t RepeatModeByte(const QString& text);

} // namespace MacroBlocks
