#pragma once
#include "platform/WholeFileWrite.h"

#include <QMap>
#include <QString>
#include <QVariant>

// The ini stores of the program (the preferences, the registry stand-in) in Qt's ini format, read
// and written whole. Qt's settings object would write its file itself, following a link to its
// target and replacing a FIFO, and would sync again on its own later; so it only ever works on a
// copy in a private temporary folder, and the text it makes there reaches the store's file through
// WriteWholeFile like every other write of the program.
namespace IniFile {

// Keys as Qt's settings name them ("Group/Key"), values as it reads them.
using Values = QMap<QString, QVariant>;

// Puts in *values the keys and values of the ini file at path; none when nothing or no regular
// file is there (a FIFO is not opened). False when a regular file is there but could not be read:
// a store then writes nothing, which would lose the keys it could not read. codec: the text codec
// of the store's file (nullptr: Qt's default for ini files).
bool Read(const QString& path, const char* codec, Values* values);

// The text of values as Qt writes an ini file; false in *made when it could not be made whole.
QByteArray Text(const Values& values, const char* codec, bool* made);

// Writes values as the whole ini file at path (a link or special file there is refused).
FileWrite Write(const QString& path, const Values& values, const char* codec);

// Takes out key and every key below it, as Qt's settings do.
void Remove(Values& values, const QString& key);

} // namespace IniFile
