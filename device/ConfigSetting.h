#pragma once
#include <QString>
#include <QStringList>
#include <mutex>

class QSettings;

// Read access to usersetting/Config.ini in the program folder: the supported models and the theme
// colours. The installation writes the file; the program only reads it. Reads come from the GUI
// thread, the Worker and the device library's threads, so every access holds the store's lock.
class ConfigSetting
{
public:
    static ConfigSetting* Instance();
    // The program folder's "usersetting/Config.ini", the file the store reads.
    static QString FilePath();

    // The value of group/key; Base64 keys are decoded and stripped of spaces and line breaks.
    // A missing file or key gives an empty text.
    QString GetValue(const QString& group, const QString& key);
    QStringList GetValueList(const QString& group, const QString& key);
    void SetValue(const QString& group, const QString& key, const QString& value);
    void RemoveValue(const QString& group, const QString& key);
    static QString DecodeBase64(const QString& text);

    // Whether a key's value is stored as Base64 (the key alone decides, not the group).
    static bool IsBase64Key(const QString& key);

    // 1 = Base64 keys are decoded on read.
    int Mode = 1;

private:
    explicit ConfigSetting(const QString& path);
    static QString DecodeKeyValue(const QString& text);

    QSettings* settings;
    QString path;
    std::mutex lock;
};
