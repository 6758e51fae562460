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
    IniFile::Read(path, Codec, &values);
}

void UserIniStore::SetValue(const QString& group, const QString& key, const QString& value)
{
    const QString name = group + QLatin1Char('/') + key;
    values.insert(name, value);
    unwrittenValues.insert(name, value);
    unwrittenRemovals.removeAll(name);
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
    const QString name = group + QLatin1Char('/') + key;
    IniFile::Remove(values, name);
    IniFile::Remove(unwrittenValues, name);
    unwrittenRemovals << name;
    Write();
}

void UserIniStore::Write()
{
    IniFile::Values merged;
    FileWrite write;
    write.error = EIO;
    if (IniFile::Read(path, Codec, &merged)) {
        for (const QString& name : unwrittenRemovals)
            IniFile::Remove(merged, name);
        for (auto value = unwrittenValues.cbegin(); value != unwrittenValues.cend(); ++value)
            merged.insert(value.key(), value.value());
        write = IniFile::Write(path, merged, Codec);
    }
    if (!write) {
        UserFileWrites::NotWritten(path, write, AppPaths::UserDataFolder());
        return;
    }
    values = merged;
    unwrittenValues.clear();
    unwrittenRemovals.clear();
}

int UserIniStore::Language()
{
    const int index = GetValue(QStringLiteral("Language"), QStringLiteral("Language")).toInt();
    return index >= 0 && index <= 2 ? index : 0;
}
