#pragma once
#include <QString>
#include <QStringList>

// The macro folder's files as the macro lists show them, read from the folder once and again only
// after the folder changed: the button page asks for them at every visit and a folder may hold
// thousands of files. GUI thread only.
//
// A change is seen through the folder's own modification time (and its identity): adding, removing
// or renaming a file changes it, a macro's new content does not (the lists show names only). The file
// system stamps a change with a clock tick that may lie before the moment of a read; a listing taken
// while the folder's time is that fresh is not kept, and the next call reads again.
class MacroFolderListing
{
public:
    // Its files (no folders, no symbolic links, nothing but regular files) by name ignoring case,
    // without the first one whose name contains "xml" (the folder's one XML file). Further names
    // holding "xml" stay listed; each list decides what to make of them. A name that is not in the
    // system's encoding is listed too, as near as it decodes (its file cannot be opened by that name).
    static QStringList Entries();
    // How often the folder was read in this run.
    static int Reads();
};
