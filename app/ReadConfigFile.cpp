#include "app/ReadConfigFile.h"

#include "device/ConfigSetting.h"
#include "device/DeviceDiscovery.h"

#include <QByteArray>
#include <QDataStream>
#include <QDebug>
#include <QFile>
#include <cstring>

namespace {

// One block of exactly the expected length; a declared length of any other size is no block of this
// file, so nothing of a larger one is ever read into the record.
bool ReadBlock(QDataStream& stream, int expectedLength, QByteArray* block)
{
    quint32 length = 0;
    stream >> length;
    if (stream.status() != QDataStream::Ok || length != quint32(expectedLength))
        return false;
    block->resize(expectedLength);
    return stream.readRawData(block->data(), expectedLength) == expectedLength;
}

// A field's text: its bytes up to the first zero byte, or all of them when it has none.
QByteArray FieldText(const QByteArray& field)
{
    return field.left(int(qstrnlen(field.constData(), uint(field.size()))));
}

} // namespace

int ReadConfigFile(const QString& path, FlashDataMap* out)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        qDebug() << "failed";
        return 1;
    }
    QDataStream stream(&file);
    QByteArray marker, sensor, image;
    if (!ReadBlock(stream, ConfigFile::FieldSize, &marker) || !ReadBlock(stream, ConfigFile::FieldSize, &sensor)
        || !ReadBlock(stream, ConfigFile::RecordSize, &image))
        return 1;
    if (FieldText(marker) != QByteArray(ConfigFile::Marker))
        return 1;

    const QString group = QStringLiteral("Drive") + QString::number(CurrentDeviceInfo.Get().modelIndex + 1);
    ConfigSetting* models = ConfigSetting::Instance();
    if (FieldText(sensor) != models->GetValue(group, QStringLiteral("Sensor")).toUtf8())
        return 2;

    FlashDataMap record;
    std::memcpy(record.bytes(), image.constData(), sizeof record);
    // The pages index their level tables with these: a count outside 1..8 (or above the model's
    // maximum) or a current level past the count would take them past their tables.
    const int maxLevels = models->GetValue(group, QStringLiteral("DPIMaxGrade")).toInt();
    const int levels = record.dpiLevelCount;
    if (levels < 1 || levels > DpiLevelCount || levels > maxLevels || record.currentDpiLevel >= levels)
        return 2;
    if (out)
        *out = record;
    return 0;
}
