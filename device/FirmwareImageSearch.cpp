#include "device/FirmwareImageSearch.h"

#include "device/ConfigSetting.h"
#include "device/FirmwareImage.h"
#include "platform/AppPaths.h"
#include "platform/RegularFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <mutex>
#include <algorithm>

namespace {
std::mutex imageListLock;
QList<QByteArray> imageList;

void SetImageList(const QList<QByteArray>& images)
{
    std::lock_guard<std::mutex> locker(imageListLock);
    imageList = images;
}

// The whole file, or an empty array when it is not a plausible image or cannot be read.
QByteArray ReadImageFile(const QFileInfo& info)
{
    if (info.size() < FirmwareImage::HeaderSize || info.size() > FirmwareImage::MaxFileSize)
        return QByteArray();
    QFile file(info.filePath());
    if (!IsRegularFile(info.filePath()) || !file.open(QIODevice::ReadOnly))
        return QByteArray();
    // Read one byte past the cap so that a file grown since it was listed is still refused.
    const QByteArray content = file.read(FirmwareImage::MaxFileSize + 1);
    if (content.size() < FirmwareImage::HeaderSize || content.size() > FirmwareImage::MaxFileSize)
        return QByteArray();
    return content;
}

bool ModelNameKey(int kind, int receiverType, QString* key)
{
    if (kind == FirmwareImage::KindMouse) {
        *key = QStringLiteral("MM");
        return true;
    }
    if (kind != FirmwareImage::KindReceiver)
        return false;
    *key = ReceiverModelKey(receiverType);
    return !key->isEmpty();
}

// A CID or MID from Config.ini: a decimal byte value, or -1, which matches no header.
int ConfigByte(const QString& text)
{
    bool ok = false;
    const int value = text.trimmed().toInt(&ok, 10);
    return ok && value >= 0 && value <= 0xFF ? value : -1;
}
} // namespace

bool SearchFirmwareImage(int kind, const QString& currentVersion, const QString& modelName, int cid, int mid,
                         QByteArray* image)
{
    const QDir folder(AppPaths::ProgramFolder() + QStringLiteral("/bin"));
    if (!folder.exists())
        return false;

    const bool anyVersion = currentVersion.isEmpty();
    FirmwareImage::Version current;
    const bool currentKnown = FirmwareImage::ParseVersion(currentVersion, &current);

    QFileInfoList files = folder.entryInfoList({QStringLiteral("*.bin")}, QDir::Files);
    // Names that differ only in case keep a fixed order too.
    std::sort(files.begin(), files.end(), [](const QFileInfo& a, const QFileInfo& b) {
        const int order = QString::compare(a.fileName(), b.fileName(), Qt::CaseInsensitive);
        return order != 0 ? order < 0 : a.fileName() < b.fileName();
    });

    bool found = false;
    for (const QFileInfo& info : files) {
        FirmwareImage candidate;
        if (!candidate.Parse(ReadImageFile(info)))
            continue;
        if (candidate.Kind() != kind || candidate.CID() != cid || candidate.MID() != mid ||
            candidate.ModelName() != modelName)
            continue;
        if (!anyVersion && currentKnown && candidate.ImageVersion() == current)
            continue;
        found = true;
        if (image)
            *image = candidate.Data();
    }
    return found;
}

bool FindFirmwareBin(int kind, const QString& currentVersion, const QString& modelName, int cid, int mid)
{
    QByteArray image;
    const bool found = SearchFirmwareImage(kind, currentVersion, modelName, cid, mid, &image);
    SetImageList(found ? QList<QByteArray>{image} : QList<QByteArray>());
    return found;
}

bool HasNewFirmware(int kind, const QString& currentVersion, int receiverType, int modelIndex)
{
    QString key;
    if (currentVersion.isEmpty() || modelIndex < 0 || !ModelNameKey(kind, receiverType, &key))
        return false;
    ConfigSetting* config = ConfigSetting::Instance();
    const QString group = QStringLiteral("Drive") + QString::number(modelIndex + 1);
    const QString modelName = config->GetValue(group, key);
    const int cid = ConfigByte(config->GetValue(QStringLiteral("Option"), QStringLiteral("CID")));
    const int mid = ConfigByte(config->GetValue(group, QStringLiteral("MID")));
    // A model the list does not describe has no image.
    if (modelName.isEmpty() || cid < 0 || mid < 0)
        return false;
    return SearchFirmwareImage(kind, currentVersion, modelName, cid, mid);
}

namespace FirmwareImageList {

QList<QByteArray> Images()
{
    std::lock_guard<std::mutex> locker(imageListLock);
    return imageList;
}

QByteArray First()
{
    std::lock_guard<std::mutex> locker(imageListLock);
    return imageList.isEmpty() ? QByteArray() : imageList.first();
}

bool IsEmpty()
{
    std::lock_guard<std::mutex> locker(imageListLock);
    return imageList.isEmpty();
}

void Clear()
{
    SetImageList(QList<QByteArray>());
}

} // namespace FirmwareImageList

QString ReceiverModelKey(int receiverType)
{
    switch (receiverType) {
    case 1: return QStringLiteral("DM");
    case 2: return QStringLiteral("D2M");
    case 4: return QStringLiteral("D4M");
    case 8: return QStringLiteral("D8M");
    default: return QString();
    }
}
