#include "app/ReadConfigFile.h"

#include "device/ConfigSetting.h"
#include "device/DeviceDiscovery.h"
#include "pages/advanced/StopCloseTime.h"
#include "pages/buttons/DebounceTime.h"
#include "pages/sensor/SensorFeatures.h"
#include "pages/sensor/SensorLOD.h"
#include "pages/sensor/SensorRate.h"
#include "platform/RegularFile.h"
#include "platform/TraceLog.h"

#include <QDataStream>
#include <QFile>
#include <cstring>
#include <utility>

namespace {

enum class Block { Read, OtherLength, CutShort };

// One block of exactly the expected length. A declared length of any other size is no block of this
// file, so nothing of a larger one is ever read into the record.
Block ReadBlock(QDataStream& stream, int expectedLength, QByteArray* block)
{
    quint32 length = 0;
    stream >> length;
    if (stream.status() != QDataStream::Ok)
        return Block::CutShort;
    if (length != quint32(expectedLength))
        return Block::OtherLength;
    block->resize(expectedLength);
    return stream.readRawData(block->data(), expectedLength) == expectedLength ? Block::Read : Block::CutShort;
}

// A field's text: its bytes up to the first zero byte, or all of them when it has none.
QByteArray FieldText(const QByteArray& field)
{
    return field.left(int(qstrnlen(field.constData(), uint(field.size()))));
}

bool IsReportRateCode(int code)
{
    for (int row = 0; row < SensorRate::RowCount; ++row) {
        if (SensorRate::CodeOfRow(row) == code)
            return true;
    }
    return false;
}

bool IsSleepTimeCode(int code)
{
    for (int row = 0; row < StopCloseTime::RowCount; ++row) {
        if (StopCloseTime::CodeOfRow(row) == code)
            return true;
    }
    return false;
}

// An entry the DPI editor could have written: both code bytes equal, and the value they stand for
// coded again gives the same bytes.
bool IsDpiEntry(const SensorFeatures& features, const DpiLevelEntry& entry)
{
    if (entry.codeX != entry.codeY)
        return false;
    const int value = features.DecodeDpi(entry.codeX, entry.flags);
    const DpiLevelBytes coded = features.EncodeDpi(value, entry.flags);
    return value > 0 && coded.valid && coded.code == entry.codeX && coded.flags == entry.flags;
}

QString ModelGroup(int modelIndex)
{
    return QStringLiteral("Drive") + QString::number(modelIndex + 1);
}

} // namespace

bool ConfigFile::SensorFieldMatches(const QByteArray& field, const QString& modelSensor)
{
    const QByteArray text = FieldText(field);
    const QByteArray name = modelSensor.toUtf8();
    if (text == name)
        return true;
    return name.size() >= FieldSize && (text == name.left(FieldSize - 1) || text == name.left(FieldSize));
}

bool ConfigFile::SettingsFitModel(const FlashDataMap& record, int modelIndex)
{
    if (!IsReportRateCode(record.reportRate) || SensorLOD::TextOfValue(int(record.liftOffDistance) - 1).isEmpty()
        || record.debounceTime >= DebounceTime::ItemCount || !IsSleepTimeCode(record.sleepTime))
        return false;
    for (const uint8_t on : {record.motionSync, record.straightLine, record.rippleControl}) {
        if (on > 1)
            return false;
    }

    SensorFeatures features;
    features.ReadHeaderFile();
    features.ReadSensorModel(modelIndex);
    features.ReadDpiRanges(modelIndex);
    const int shownLevels = qBound(0, ConfigSetting::Instance()->GetValue(ModelGroup(modelIndex), QStringLiteral("DPIMaxGrade")).toInt(),
                                   DpiLevelCount);
    for (int level = 0; level < shownLevels; ++level) {
        if (!IsDpiEntry(features, record.dpiLevels[level]))
            return false;
    }
    return true;
}

int ReadConfigFile(const QString& path, FlashDataMap* out)
{
    QFile file(path);
    if (!IsRegularFile(path) || !file.open(QIODevice::ReadOnly)) {
        qCDebug(kestroTrace) << "failed";
        return 1;
    }
    QDataStream stream(&file);
    QByteArray marker, sensor, image;
    for (const auto& [length, block] : {std::make_pair(ConfigFile::FieldSize, &marker),
                                        std::make_pair(ConfigFile::FieldSize, &sensor),
                                        std::make_pair(ConfigFile::RecordSize, &image)}) {
        const Block read = ReadBlock(stream, length, block);
        if (read == Block::OtherLength)
            return 2;
        if (read == Block::CutShort)
            return 1;
    }
    // Whatever follows the three blocks belongs to no file this program writes.
    if (FieldText(marker) != QByteArray(ConfigFile::Marker) || !file.atEnd())
        return 2;

    const int modelIndex = CurrentDeviceInfo.Get().modelIndex;
    const QString group = ModelGroup(modelIndex);
    ConfigSetting* models = ConfigSetting::Instance();
    if (!ConfigFile::SensorFieldMatches(sensor, models->GetValue(group, QStringLiteral("Sensor"))))
        return 2;

    FlashDataMap record;
    std::memcpy(record.bytes(), image.constData(), sizeof record);
    // The pages index their level tables with these: a count outside 1..8 (or above the model's
    // maximum) or a current level past the count would take them past their tables.
    const int maxLevels = models->GetValue(group, QStringLiteral("DPIMaxGrade")).toInt();
    const int levels = record.dpiLevelCount;
    if (levels < 1 || levels > DpiLevelCount || levels > maxLevels || record.currentDpiLevel >= levels)
        return 2;
    if (!ConfigFile::SettingsFitModel(record, modelIndex))
        return 2;
    if (out)
        *out = record;
    return 0;
}
