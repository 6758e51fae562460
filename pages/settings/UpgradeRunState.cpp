#include "pages/settings/UpgradeRunState.h"

#include "device/DeviceReportCallback.h"
#include "device/FirmwareImage.h"
#include "platform/AppPaths.h"
#include "platform/RegistryStore.h"
#include "platform/TraceLog.h"
#include "platform/UserFileWrites.h"
#include "platform/WholeFileWrite.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTextStream>
#include <mutex>

UpgradeRunStateData UpgradeRunState;

namespace {
const QString FailInfoName = QStringLiteral("UpdateFailInfo");
// Both runs' callbacks may write the log; one line is written whole.
std::mutex logLock;
} // namespace

namespace UpgradeRecord {

QStringList FailRecord()
{
    const QString text = RegistryStore(MouseDriveTestKey()).Value(FailInfoName).toString();
    return text.isEmpty() ? QStringList() : text.split(QLatin1Char(','), Qt::KeepEmptyParts);
}

void WriteFailure(int kind, int receiverType, int cid, int mid)
{
    RegistryStore(MouseDriveTestKey())
        .SetValue(FailInfoName, QStringLiteral("%1,%2,%3,%4").arg(kind).arg(receiverType).arg(cid).arg(mid));
}

void RemoveFailure()
{
    RegistryStore(MouseDriveTestKey()).Remove(FailInfoName);
}

void StoreMouseVersion(const QString& cidText, const QString& midText, const QString& version)
{
    RegistryStore(MouseDriveTestKey()).SetValue(QStringLiteral("MouseVer") + cidText + midText, version);
}

QString LogPath()
{
    return AppPaths::UserDataFolder() + QStringLiteral("/Exception/UpDateLog.txt");
}

bool LogFailure(int kind, int receiverType, int cid, int mid, const QString& deviceVersion, const QString& imageVersion)
{
    const QString line = QStringLiteral("%1 kind %2 receiver type %3 CID %4 MID %5 device %6 image %7\n")
                             .arg(QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd hh:mm:ss")))
                             .arg(kind)
                             .arg(receiverType)
                             .arg(cid)
                             .arg(mid)
                             .arg(deviceVersion.isEmpty() ? QStringLiteral("-") : deviceVersion)
                             .arg(imageVersion.isEmpty() ? QStringLiteral("-") : imageVersion);
    std::lock_guard<std::mutex> locker(logLock);
    const QString path = LogPath();
    QDir().mkpath(QFileInfo(path).path());
    // A link or a FIFO in the log's place is left as it is; the user hears of it once, as of any
    // file of the program's that was not kept.
    const FileWrite write = AppendToFile(path, line.toUtf8());
    if (!write) {
        qCDebug(kestroTrace) << "upgrade log not written:" << path;
        UserFileWrites::NotWritten(path, write, AppPaths::UserDataFolder());
    }
    return write;
}

} // namespace UpgradeRecord

QString ImageVersionText(const QByteArray& image)
{
    FirmwareImage parsed;
    return parsed.Parse(image) ? parsed.VersionText() : QString();
}
