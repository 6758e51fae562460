#include "device/DeviceDiscovery.h"

#include "device/ConfigSetting.h"
#include "device/ConnectionState.h"
#include "device/DeviceReportCallback.h"
#include "device/DeviceState.h"
#include "device/FirmwareImageSearch.h"
#include "device/GuiThreadRelay.h"
#include "device/PostMsg.h"
#include "device/Worker.h"
#include "platform/AppPaths.h"
#include "platform/hidusb/HIDUsb.h"

#include <QDir>
#include <algorithm>

LockedValue<DeviceAllInfo> CurrentDeviceInfo;
QList<DeviceAllInfo> FoundDeviceList;
bool ReceiverUpdateAvailable = false;
bool MouseUpdateAvailable = false;
std::function<bool()> FirmwareCheckAvailable;
void (*SelectionPageUsbChanged)() = nullptr;

namespace {

int ModelCount()
{
    return ConfigSetting::Instance()->GetValue(QStringLiteral("Option"), QStringLiteral("DeviceTotal")).toInt();
}

QList<uint8_t> AddressBytes(const uint8_t* status)
{
    return {status[7], status[8], status[9]};
}

} // namespace

QString VersionText(uint16_t version)
{
    return QStringLiteral("v%1.%2")
        .arg(version >> 8)
        .arg(QString::number(version & 0xFF, 16).toUpper().rightJustified(2, QLatin1Char('0')));
}

int IdentifyDevice(DeviceAllInfo* record, const char* path)
{
    ConfigSetting* config = ConfigSetting::Instance();
    const int modelCount = ModelCount();

    uint8_t info[HIDUSB_DEVICE_INFO_SIZE] = {0, 0, 0};
    bool answered = false;
    for (int attempt = 0; attempt < 10 && !answered; ++attempt) {
        const uint8_t* reply = VidEzorarA_GetDeviceInfo(path, 0);
        if (reply)
            std::copy(reply, reply + HIDUSB_DEVICE_INFO_SIZE, info);
        else
            std::fill(info, info + HIDUSB_DEVICE_INFO_SIZE, uint8_t(0));
        answered = info[0] != 0 || info[1] != 0;
    }
    const uint8_t cid = info[0], mid = info[1], status = info[2];
    if (!answered) {
        record->wired = DeviceAllInfo::IsWiredStatus(status);
        record->modelIndex = modelCount;
        return 0;
    }

    const int productCid = config->GetValue(QStringLiteral("Option"), QStringLiteral("CID")).toInt();
    for (int n = 0; n < modelCount; ++n) {
        const int modelMid = config->GetValue(QStringLiteral("Drive%1").arg(n + 1), QStringLiteral("MID")).toInt();
        if (cid != productCid || mid != modelMid)
            continue;
        record->wired = DeviceAllInfo::IsWiredStatus(status);
        record->CID = cid;
        record->MID = mid;
        record->status = status;
        record->modelIndex = n;
        const DeviceAllInfo current = CurrentDeviceInfo.Get();
        if (current.path.isEmpty()) {
            if (VidEzorarA_GetDeviceOnLine(path))
                record->online = true;
        } else {
            uint8_t addressStatus[HIDUSB_USB_ADDRESS_STATUS_SIZE] = {};
            VidEzorarA_GetDeviceOnLineWithUsbAddress(path, addressStatus);
            std::copy(addressStatus, addressStatus + sizeof DiscoveryUsbAddressStatus, DiscoveryUsbAddressStatus);
            record->online = addressStatus[6] == 1;
            record->address = AddressBytes(addressStatus);
            if (record->path == current.path) {
                DeviceAllInfo updated = *record;
                if (updated.version.isEmpty())
                    updated.version = current.version;
                if (updated.firmwareVersion.isEmpty())
                    updated.firmwareVersion = current.firmwareVersion;
                CurrentDeviceInfo.Set(updated);
            }
        }
        return 1;
    }
    record->wired = DeviceAllInfo::IsWiredStatus(status);
    if (modelCount == 0)
        return 0;
    record->modelIndex = modelCount;
    return cid == productCid ? 2 : 3;
}

QList<DeviceAllInfo> ListAttachedDevices(const QString& vid, const QString& pid, FindBy findBy)
{
    const QByteArray vidText = vid.toLatin1();
    const QByteArray pidText = pid.toLatin1();
    int count = 5;
    const char* const* paths = findBy == FindBy::DeviceId
        ? VidEzorarA_FindHidDevicesByDeviceId(vidText.constData(), pidText.constData(), 1, 5, &count)
        : VidEzorarA_FindHidDevicesByDefaultDeviceId(vidText.constData(), pidText.constData(), &count);
    QList<DeviceAllInfo> devices;
    if (!paths)
        return devices;
    // The library's array lives only until the next find call: copy every path first.
    QList<QByteArray> found;
    for (int i = 0; i < count && i < 5; ++i)
        if (paths[i])
            found << QByteArray(paths[i]);
    for (const QByteArray& path : found) {
        DeviceAllInfo record;
        record.path = QString::fromLocal8Bit(path);
        record.VID = vid;
        record.PID = pid;
        uint8_t attribute[HIDUSB_USB_ATTRIBUTE_SIZE] = {};
        VidEzorarA_GetUsbDeviceAttribute(path.constData(), attribute);
        record.version = VersionText(uint16_t(attribute[8] | attribute[9] << 8));
        devices << record;
    }
    return devices;
}

void EnumerateDevices(const QStringList& vids, const QVector<QString>& pids, int, int)
{
    for (const QString& vid : vids) {
        for (const QString& pid : pids) {
            for (DeviceAllInfo record : ListAttachedDevices(vid, pid, FindBy::DeviceId)) {
                const DeviceAllInfo current = CurrentDeviceInfo.Get();
                if (current.path.isEmpty()) {
                    FoundDeviceList << record;
                    continue;
                }
                const QByteArray path = record.path.toLocal8Bit();
                const int result = IdentifyDevice(&record, path.constData());
                if (result == 1) {
                    if (record.modelIndex != current.modelIndex)
                        continue;
                    if (record.path == current.path)
                        SetCurrentDevicePath(path);
                }
                FoundDeviceList << record;
            }
        }
    }
}

namespace {

// The same mouse on another of its devices: the same model, reached by the receiver's address bytes,
// and answering there.
bool SameMouseOn(const DeviceAllInfo& record, const DeviceAllInfo& current)
{
    return record.modelIndex == current.modelIndex && record.online && record.address == current.address;
}

// The mouse of the open device moved between its receiver and its cable: the device that reaches it
// now becomes current in place and is read, so that the device window stays. Plugged in by cable, the
// cable takes over from the receiver; pulled out again while the mouse still answers through its
// receiver, the receiver takes over from the cable that left (unless removals are not followed, as
// during an upgrade). `current` is the open device as the notice found it, so that one notice makes
// at most one switch.
void FollowTheMouse(const DeviceAllInfo& current)
{
    const auto find = [](auto&& test) -> const DeviceAllInfo* {
        const auto found = std::find_if(FoundDeviceList.cbegin(), FoundDeviceList.cend(), test);
        return found == FoundDeviceList.cend() ? nullptr : &*found;
    };
    const DeviceAllInfo* next = nullptr;
    if (!current.path.isEmpty() || (!current.wired && current.online)) {
        if (!current.wired) {
            next = find([&](const DeviceAllInfo& record) { return record.wired && SameMouseOn(record, current); });
        } else if (FollowDeviceRemoval && !find([&](const DeviceAllInfo& record) { return record.path == current.path; })) {
            // A cable that leaves during an upgrade is the mouse rebooting: the window keeps it.
            next = find([&](const DeviceAllInfo& record) { return !record.wired && SameMouseOn(record, current); });
        }
    } else {
        // No device open: only one of the same (empty) path would be taken.
        next = find([&](const DeviceAllInfo& record) { return record.path == current.path && record.online; });
    }
    if (next)
        Worker::SelectDevice(*next);
}

} // namespace

void MainPageUsbChangedCallback()
{
    // The lists and the current device belong to the GUI thread.
    GuiThreadRelay::Post(&HandleMainPageUsbChanged);
}

void HandleMainPageUsbChanged()
{
    PostMsg* bus = PostMsg::Instance();
    ConfigSetting* config = ConfigSetting::Instance();
    emit bus->SigSetver(4);

    const QString option = QStringLiteral("Option");
    const QStringList vids = config->GetValueList(option, QStringLiteral("VID"));
    const int interfaceId = config->GetValue(option, QStringLiteral("InterfaceId")).toInt();
    const int deviceId = config->GetValue(option, QStringLiteral("DeviceId")).toInt();
    QVector<QString> pids;
    for (const char* key : {"USB_PID", "Wireless_PID", "Wireless2_PID", "Wireless4_PID", "Wireless8_PID"})
        for (const QString& pid : config->GetValueList(option, QLatin1String(key)))
            pids << pid;
    FoundDeviceList.clear();
    EnumerateDevices(vids, pids, interfaceId, deviceId);

    if (FoundDeviceList.isEmpty()) {
        if (FollowDeviceRemoval) {
            CurrentDeviceInfo.Set(DeviceAllInfo());
            emit bus->SigChangeMainDialog(0);
        }
    } else {
        FollowTheMouse(CurrentDeviceInfo.Get());
        // Asked after the mouse was followed: the device it left is missing from the list, but the
        // device window's device is the one that reaches the mouse now.
        const QString currentPath = CurrentDeviceInfo.Get().path;
        const bool gone = !currentPath.isEmpty()
            && std::none_of(FoundDeviceList.cbegin(), FoundDeviceList.cend(),
                            [&](const DeviceAllInfo& record) { return record.path == currentPath; });
        if (gone && FollowDeviceRemoval)
            emit bus->SigChangeMainDialog(0);
    }

    const DeviceAllInfo current = CurrentDeviceInfo.Get();
    if (current.wired) {
        QString receiverVersion;
        const QString mouseVersion = current.firmwareVersion;
        int receiverType = 0;
        if (FoundDeviceList.size() == 2) {
            for (const DeviceAllInfo& record : FoundDeviceList) {
                if (!record.address.isEmpty() && !record.wired) {
                    receiverVersion = record.version;
                    receiverType = DeviceAllInfo::ReceiverTypeOf(record.status);
                    break;
                }
            }
        }
        if (QDir(AppPaths::ProgramFolder() + QStringLiteral("/bin")).exists()) {
            ReceiverUpdateAvailable = HasNewFirmware(211, receiverVersion, receiverType, current.modelIndex);
            MouseUpdateAvailable = HasNewFirmware(210, mouseVersion, receiverType, current.modelIndex);
            emit bus->SigLabelTextB(receiverVersion, ReceiverUpdateAvailable || MouseUpdateAvailable
                                                         ? QStringLiteral("true") : QString());
        } else {
            emit bus->SigLabelTextB(receiverVersion, QString());
        }
    }

    if (FirmwareCheckAvailable && FirmwareCheckAvailable())
        emit bus->SigCheckUpdate();
}

void GiveDeviceWindowCallbacksBack()
{
    StartUsbChanged(MainPageUsbChangedCallback, 600);
    UsbServerC_Start(CurrentDevicePath, CurrentDevicePath, DeviceReportCallback);
}

void GiveSelectionPageCallbacksBack()
{
    UsbServer_Exit();
    if (SelectionPageUsbChanged)
        StartUsbChanged(SelectionPageUsbChanged, 600);
}

