#include "pages/settings/UpgradeRunState.h"

#include "device/ConfigSetting.h"
#include "device/ConnectionState.h"
#include "device/DeviceAllInfo.h"
#include "device/DeviceDiscovery.h"
#include "device/DeviceReportCallback.h"
#include "device/FirmwareImage.h"
#include "platform/AppPaths.h"
#include "platform/RegistryStore.h"
#include "platform/TraceLog.h"
#include "platform/UserFileWrites.h"
#include "platform/WholeFileWrite.h"
#include "platform/hidusb/HIDUsb.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTextStream>
#include <algorithm>
#include <mutex>

UpgradeRunStateData UpgradeRunState;

namespace {
const QString FailInfoName = QStringLiteral("UpdateFailInfo");
// Both runs' callbacks may write the log; one line is written whole.
std::mutex logLock;

// The record as it stood before the stage that runs now, and that stage's kind.
std::mutex stageLock;
QString recordBeforeStage;
int stageKind = 0;
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

void BeginStage(int kind, int receiverType, int cid, int mid)
{
    std::lock_guard<std::mutex> locker(stageLock);
    recordBeforeStage = RegistryStore(MouseDriveTestKey()).Value(FailInfoName).toString();
    stageKind = kind;
    WriteFailure(kind, receiverType, cid, mid);
}

void StageSucceeded()
{
    std::lock_guard<std::mutex> locker(stageLock);
    const QStringList before = recordBeforeStage.split(QLatin1Char(','), Qt::KeepEmptyParts);
    // Another device still waits in its boot loader: its record is the one the next start needs.
    if (before.size() == 4 && before.at(0).toInt() != stageKind)
        RegistryStore(MouseDriveTestKey()).SetValue(FailInfoName, recordBeforeStage);
    else
        RemoveFailure();
    recordBeforeStage.clear();
}

void StageNotStarted()
{
    std::lock_guard<std::mutex> locker(stageLock);
    if (recordBeforeStage.isEmpty())
        RemoveFailure();
    else
        RegistryStore(MouseDriveTestKey()).SetValue(FailInfoName, recordBeforeStage);
    recordBeforeStage.clear();
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

bool DeviceRunsVersion(int kind, int cid, int mid, const QString& version)
{
    if (version.isEmpty())
        return false;
    ConfigSetting* config = ConfigSetting::Instance();
    const QString option = QStringLiteral("Option");
    QStringList pids;
    for (const char* key : {"USB_PID", "Wireless_PID", "Wireless2_PID", "Wireless4_PID", "Wireless8_PID"})
        pids << config->GetValueList(option, QLatin1String(key));
    for (const QString& vid : config->GetValueList(option, QStringLiteral("VID"))) {
        for (const QString& pid : pids) {
            if (pid.isEmpty())
                continue;
            for (const DeviceAllInfo& device : ListAttachedDevices(vid, pid, FindBy::DefaultDeviceId)) {
                const QByteArray path = device.path.toLocal8Bit();
                uint8_t ids[HIDUSB_DEVICE_INFO_SIZE] = {};
                if (const uint8_t* reply = VidEzorarA_GetDeviceInfo(path.constData(), 0))
                    std::copy(reply, reply + HIDUSB_DEVICE_INFO_SIZE, ids);
                if (ids[0] != cid || ids[1] != mid)
                    continue;
                uint16_t running = 0;
                if (kind == 211) {
                    if (DeviceAllInfo::IsWiredStatus(ids[2]) || !VidEzorarA_GetSlaveVersion(path.constData(), &running))
                        continue;
                } else {
                    running = VidEzorarA_GetVersion(path.constData());
                }
                if (running != 0 && VersionText(running) == version)
                    return true;
            }
        }
    }
    return false;
}

namespace UpgradeStage {

int VersionWaitMs = 10000;

bool RunUnderWay()
{
    return UpgradeRunState.inProgress != 0 || FirmwareUpdateInProgress;
}

} // namespace UpgradeStage
