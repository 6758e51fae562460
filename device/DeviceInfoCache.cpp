#include "device/DeviceInfoCache.h"

#include "platform/AppPaths.h"
#include "platform/RegularFile.h"
#include "platform/UserFileWrites.h"
#include "platform/WholeFileWrite.h"

#include <QDataStream>
#include <QFile>
#include <cstring>

QString DeviceCacheFileName(uint8_t cid, uint8_t mid)
{
    const auto hex = [](uint8_t value) { return QStringLiteral("%1").arg(value, 2, 16, QLatin1Char('0')).toUpper(); };
    return QStringLiteral("Device_CID") + hex(cid) + QStringLiteral("_MID") + hex(mid) + QStringLiteral(".bin");
}

QString DeviceCacheFolder()
{
    return AppPaths::UserDataFolder() + QStringLiteral("/Device_Info/");
}

bool WriteDeviceInfoCache(const QString& fileName, const FlashDataMap& data)
{
    QByteArray contents;
    QDataStream stream(&contents, QIODevice::WriteOnly);
    stream.writeBytes(reinterpret_cast<const char*>(data.bytes()), uint(sizeof data));
    // A link in a cache's place is replaced, not followed: the folder is the program's alone, and a
    // cache is worth nothing outside it. A FIFO or a device node there is refused and told.
    const QString path = DeviceCacheFolder() + fileName;
    const FileWrite write = WriteWholeFile(path, contents, LinkRule::ReplaceLink);
    // The mouse keeps its settings either way; only the program's copy of them is lost.
    UserFileWrites::NotWritten(path, write, AppPaths::UserDataFolder());
    return write;
}

bool ReadDeviceInfoCache(const QString& fileName, FlashDataMap* out)
{
    if (!out)
        return false;
    const QString path = DeviceCacheFolder() + fileName;
    QFile file(path);
    if (!IsRegularFile(path) || !file.open(QIODevice::ReadOnly))
        return false;
    QDataStream stream(&file);
    quint32 length = 0;
    stream >> length;
    if (stream.status() != QDataStream::Ok || length != sizeof(FlashDataMap))
        return false;
    FlashDataMap record;
    if (stream.readRawData(reinterpret_cast<char*>(record.bytes()), int(sizeof record)) != int(sizeof record))
        return false;
    std::memcpy(out->bytes(), record.bytes(), sizeof record);
    return true;
}
