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

// The macro a listed file stands for (MacroFolderListing): its name with every ".ini" removed.
QString MacroNameOfFile(const QString& fileName);

// Far beyond any macro file (70 events take about a kilobyte): a larger file is no macro file, and
// is not read into memory.
constexpr qint64 MaxFileSize = 1 << 20;

// What keeps a macro's file from being read as one.
enum class FileFault {
    None,
    // No regular file under the macro's name, or a name refused as a file name: also a listed file
    // whose name does not come back to it ("a.ini.ini" stands for "a"), or one whose name is not in
    // the system's encoding.
    NoFile,
    TooLarge,   // over MaxFileSize bytes
    Unreadable, // it cannot be opened or read
};
// Reads the whole of the macro's file into text; text is left empty unless the result is None.
FileFault ReadMacroFileText(const QString& name, QByteArray* text);

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
// The block of the macro's file. ok is false, and the block all zero, while user writes are off and
// for a file ReadMacroFileText refuses; fault (when given) says why the file was refused.
ButtonMacroBlock MacroFileToRecord(const QString& name, bool* ok, FileFault* fault = nullptr);

// The first field of the file's first line; "0" for a refused name and for a missing, unreadable,
// oversized or empty file.
QString ReadMacroRepeatMode(const QString& name);
// A repeat mode text as a number: base 10, 0 when it is not a number. The device takes its low 8 bits.
int RepeatModeNumber(const QString& text);
uint8_t RepeatModeByte(const QString& text);

} // namespace MacroBlocks
