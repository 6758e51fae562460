#pragma once
#include <QString>

// Starting with the session: a desktop entry named after the application in the user's autostart
// folder (the "autostart" folder of the desktop's configuration home), which the session starts at
// login.
class AutoStartEntry
{
public:
    // <configuration home>/autostart
    static QString Folder();
    // Folder() + "/" + application name + ".desktop"
    static QString Path();

    // Writes the entry whole (or leaves the earlier one as it was) so that the session starts
    // programPath; false when the folder or the file could not be written, or when a link or a
    // special file stands in the entry's place (left as it is: the folder is the user's).
    static bool Write(const QString& programPath);
    // Removes this application's entry and nothing else; true when no such entry is left.
    static bool Remove();
    static bool Exists();

    // The Exec value that starts programPath as one argument, whatever characters it holds.
    static QString ExecValue(const QString& programPath);
};
