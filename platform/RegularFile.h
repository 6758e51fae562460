#pragma once
#include <QString>

// Whether path names a regular file, following symbolic links. The program reads a file only after
// this said yes: opening a FIFO for reading waits for a writer that may never come (and takes the
// thread with it), and a device node, a socket or a folder holds nothing the program could read.
bool IsRegularFile(const QString& path);
