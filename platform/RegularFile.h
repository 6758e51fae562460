#pragma once
#include <QString>

// Whether path names a regular file, following symbolic links. The program reads a file only after
// this said yes: opening a FIFO for reading waits for a writer that may never come (and takes the
// thread with it), and a device node, a socket or a folder holds nothing the program could read.
bool IsRegularFile(const QString& path);

// The path a QSettings store may read: the path itself when it names a regular file or nothing yet,
// an empty path otherwise, with which the store reads nothing and keeps nothing.
QString SettingsFilePath(const QString& path);
