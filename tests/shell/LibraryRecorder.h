#pragma once
#include <QString>
#include <QStringList>

// Stand-ins for the device library's attach/detach and server calls: the test program defines
// them itself, so the program's calls land here instead of in the library. They record each call,
// in order, together with the notes a test adds, and do nothing else.
namespace LibraryRecorder {
QStringList Calls();
void Clear();
void Note(const QString& entry);
} // namespace LibraryRecorder
