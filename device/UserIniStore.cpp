#include "device/UserIniStore.h"

#include "platform/AppPaths.h"
#include "platform/WholeFileWrite.h"
#include "platform/RegularFile.h"
#include "platform/UserFileWrites.h"

#include <mutex>
#include <QSettings>
#include <QTextCodec>

namespace {
std::mutex creationLock;
UserIniStore* instance = nullptr;
}

UserIniStore* UserIniStore::Instance()
{
    std::lock_guard<std::mutex> locker(creationLock);
    if (!instance)
        instance = new UserIniStore(AppPaths::UserDataFolder() + QStringLiteral("/Macro.ini"));
    return instance;
}

UserIniStore::UserIniStore(const QString& filePath)
    : settings(new QSettings(SettingsFilePath(filePath), QSettings::IniFormat)), path(filePath)
{
    settings->setIniCodec(QTextCodec::codecForName("UTF-8"));
}

void UserIniStore::SetValue(const QString& group, const QString& key, const QString& value)
{
    settings->setValue(group + QLatin1Char('/') + key, value);
    // Written now, so that a crash or a kill right after a change keeps the preference.
    Sync();
}

QString UserIniStore::GetValue(const QString& group, const QString& key)
{
    return settings->value(group + QLatin1Char('/') + key).toString();
}

QStringList UserIniStore::GetValueList(const QString& group, const QString& key)
{
    return settings->value(group + QLatin1Char('/') + key).toStringList();
}

void UserIniStore::RemoveValue(const QString& group, const QString& key)
{
    settings->remove(group + QLatin1Char('/') + key);
    Sync();
}

void UserIniStore::Sync()
{
    // A store whose path names no regular file keeps nothing (SettingsFilePath). QSettings keeps the
    // first error for the run, so after one failed write every later one reports as failed too;
    // the user is told once either way.
    if (!SyncSettingsWhole(*settings))
        UserFileWrites::Failed(AppPaths::UserDataFolder());
}

int UserIniStore::Language()
{
    const int index = GetValue(QStringLiteral("Language"), QStringLiteral("Language")).toInt();
    return index >= 0 && index <= 2 ? index : 0;
}
