#pragma once
#include <QString>
#include <QStringList>

class QSettings;

// The user's own preferences in Macro.ini in the per-user folder: language, auto start and whether
// the new-firmware tip shows. Used on the GUI thread.
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
    // Writes the changes to the file; a file that cannot be written is reported (UserFileWrites).
    void Sync();

    QSettings* settings;
    QString path;
};
