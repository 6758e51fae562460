#pragma once
#include "platform/IniFile.h"

#include <QString>
#include <QStringList>

// The user's own preferences in Macro.ini in the per-user folder: language, auto start and whether
// the new-firmware tip shows. Read once; every change is written at once, the whole file through
// the program's one write. Used on the GUI thread.
class UserIniStore
{
public:
    static UserIniStore* Instance();

    void SetValue(const QString& group, const QString& key, const QString& value);
    // A missing key gives an empty text.
    QString GetValue(const QString& group, const QString& key);
    QStringList GetValueList(const QString& group, const QString& key);
    void RemoveValue(const QString& group, const QString& key);

    // The language index 0 (English), 1 (Chinese) or 2 (Russian). The file is the user's to edit:
    // anything else, or nothing, reads as 0.
    int Language();

private:
    explicit UserIniStore(const QString& path);
    // Writes this run's changes not yet written onto what the file holds now (the user may have
    // edited it meanwhile), as the whole file. A file that cannot be read or written, or a link or
    // special file in its place, is reported (UserFileWrites); the values stay for the run and the
    // changes wait for the next write.
    void Write();

    IniFile::Values values;
    IniFile::Values unwrittenValues;
    QStringList unwrittenRemovals;
    QString path;
};
