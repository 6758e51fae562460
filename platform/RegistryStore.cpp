#include "platform/RegistryStore.h"

#include "platform/AppPaths.h"
#include "platform/IniFile.h"
#include "platform/UserFileWrites.h"

#include <QDir>
#include <mutex>

namespace {
// The firmware upgrade writes from the device library's thread while the GUI reads; one lock
// keeps each read and write of the file whole.
std::mutex registryLock;

// Writes the values as the whole file and reports a file that cannot be written, or a link or
// special file in its place (left as it is). values: what the file held, read whole, with the change.
void WriteAndReport(const IniFile::Values& values)
{
    const FileWrite write = IniFile::Write(RegistryStore::FilePath(), values, nullptr);
    if (!write)
        UserFileWrites::NotWritten(RegistryStore::FilePath(), write, AppPaths::UserConfigFolder());
}

// The file's values, or a failure reported: nothing is written then, which would lose the values
// that could not be read.
bool ReadForChange(IniFile::Values* values)
{
    if (IniFile::Read(RegistryStore::FilePath(), nullptr, values))
        return true;
    UserFileWrites::Failed(AppPaths::UserConfigFolder());
    return false;
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

QString RegistryStore::Key(const QString& name) const
{
    return group.isEmpty() ? name : group + QLatin1Char('/') + name;
}

QVariant RegistryStore::Value(const QString& name, const QVariant& fallback) const
{
    std::lock_guard<std::mutex> locker(registryLock);
    IniFile::Values values;
    IniFile::Read(FilePath(), nullptr, &values);
    return values.value(Key(name), fallback);
}

void RegistryStore::SetValue(const QString& name, const QVariant& value)
{
    std::lock_guard<std::mutex> locker(registryLock);
    QDir().mkpath(AppPaths::UserConfigFolder());
    IniFile::Values values;
    if (!ReadForChange(&values))
        return;
    values.insert(Key(name), value);
    WriteAndReport(values);
}

void RegistryStore::Remove(const QString& name)
{
    std::lock_guard<std::mutex> locker(registryLock);
    IniFile::Values values;
    // Removing what is not there writes nothing (and needs no writable folder).
    if (!IniFile::Read(FilePath(), nullptr, &values) || !values.contains(Key(name)))
        return;
    IniFile::Remove(values, Key(name));
    WriteAndReport(values);
}

bool RegistryStore::Contains(const QString& name) const
{
    std::lock_guard<std::mutex> locker(registryLock);
    IniFile::Values values;
    IniFile::Read(FilePath(), nullptr, &values);
    return values.contains(Key(name));
}
