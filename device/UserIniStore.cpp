#include "device/UserIniStore.h"

#include "platform/AppPaths.h"
#include "platform/UserFileWrites.h"

#include <cerrno>
#include <mutex>

namespace {
std::mutex creationLock;
UserIniStore* instance = nullptr;
// The user edits the file in any editor; the program reads and writes it as UTF-8.
const char* const Codec = "UTF-8";
}

UserIniStore* UserIniStore::Instance()
{
    std::lock_guard<std::mutex> locker(creationLock);
    if (!instance)
        instance = new UserIniStore(AppPaths::UserDataFolder() + QStringLiteral("/Macro.ini"));
    return instance;
}

UserIniStore::UserIniStore(const QString& filePath) : path(filePath)
{
    readWhole = IniFile::Read(path, Codec, &values);
}

void UserIniStore::SetValue(const QString& group, const QString& key, const QString& value)
{
    values.insert(group + QLatin1Char('/') + key, value);
    // Written now, so that a crash or a kill right after a change keeps the preference.
    Write();
}

QString UserIniStore::GetValue(const QString& group, const QString& key)
{
    return values.value(group + QLatin1Char('/') + key).toString();
}

QStringList UserIniStore::GetValueList(const QString& group, const QString& key)
{
    return values.value(group + QLatin1Char('/') + key).toStringList();
}

void UserIniStore::RemoveValue(const QString& group, const QString& key)
{
    IniFile::Remove(values, group + QLatin1Char('/') + key);
    Write();
}

void UserIniStore::Write()
{
    FileWrite write;
    write.error = EIO;
    if (readWhole)
        write = IniFile::Write(path, values, Codec);
    if (!write)
        UserFileWrites::NotWritten(path, write, AppPaths::UserDataFolder());
}

int UserIniStore::Language()
{
    const int index = GetValue(QStringLiteral("Language"), QStringLiteral("Language")).toInt();
    return index >= 0 && index <= 2 ? index : 0;
}
