#pragma once
#include <QString>

// The file an export writes when the user chose a name: the name as given when it has an ending of
// its own, else the name with ending (without its dot), so that the import, which lists files of
// that ending, finds it. A name ending in a dot gets the ending after that dot.
QString WithFileEnding(const QString& chosen, const QString& ending);
