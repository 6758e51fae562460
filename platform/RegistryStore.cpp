#include "platform/RegistryStore.h"

#include "platform/AppPaths.h"
#include "platform/RegularFile.h"
#include "platform/UserFileWrites.h"
#include "platform/WholeFileWrite.h"

#include <QDir>
#include <mutex>
#include <QSettings>

namespace {
// The firmware upgrade writes from the device library's thread while the GUI reads; one lock
// keeps each read and write of the file whole.
std::mutex registryLock;

// Writes the changes now and reports a file that cannot be written. A store whose path names no
// regular file keeps nothing (SettingsFilePath).
void SyncAndReport(QSettings& settings)
{
    if (!SyncSettingsWhole(settings))
        UserFileWrites::Failed(AppPaths::UserConfigFolder());
}
}

RegistryStore::RegistryStore(const QString& keyPath) : group(GroupOf(keyPath)) {}

QString RegistryStore::FilePath()
{
    return AppPaths::UserConfigFolder() + QStringLiteral("/registry.ini");
}

QString RegistryStore::GroupOf(const QString& keyPath)
{
    QString path = keyPath;
    path.replace(QLatin1Char('\\'), QLatin1Char('/'));
    const int firstSlash = path.indexOf(QLatin1Char('/'));
    if (path.startsWith(QLatin1String("HKEY_"), Qt::CaseInsensitive))
        path = firstSlash < 0 ? QString() : path.mid(firstSlash + 1);
    while (path.endsWith(QLatin1Char('/')))
        path.chop(1);
    return path;
}

QVariant RegistryStore::Value(const QString& name, const QVariant& fallback) const
{
    std::lock_guard<std::mutex> locker(registryLock);
    QSettings settings(SettingsFilePath(FilePath()), QSettings::IniFormat);
    settings.beginGroup(group);
    return settings.value(name, fallback);
}

void RegistryStore::SetValue(const QString& name, const QVariant& value)
{
    std::lock_guard<std::mutex> locker(registryLock);
    QDir().mkpath(AppPaths::UserConfigFolder());
    QSettings settings(SettingsFilePath(FilePath()), QSettings::IniFormat);
    settings.beginGroup(group);
    settings.setValue(name, value);
    SyncAndReport(settings);
}

void RegistryStore::Remove(const QString& name)
{
    std::lock_guard<std::mutex> locker(registryLock);
    QSettings settings(SettingsFilePath(FilePath()), QSettings::IniFormat);
    settings.beginGroup(group);
    // Removing what is not there writes nothing (and needs no writable folder).
    if (!settings.contains(name))
        return;
    settings.remove(name);
    SyncAndReport(settings);
}

bool RegistryStore::Contains(const QString& name) const
{
    std::lock_guard<std::mutex> locker(registryLock);
    QSettings settings(SettingsFilePath(FilePath()), QSettings::IniFormat);
    settings.beginGroup(group);
    return settings.contains(name);
}
