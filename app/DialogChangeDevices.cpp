#include "app/DialogChange.h"

#include "app/DialogChangeShared.h"
#include "device/ConfigSetting.h"
#include "device/ConnectionState.h"
#include "device/DeviceDiscovery.h"
#include "device/DialogChangeLists.h"
#include "device/PostMsg.h"
#include "pages/settings/UpDateRepair.h"
#include "platform/hidusb/HIDUsb.h"

#include <algorithm>
#include <initializer_list>

bool SelectPage::IsOnline(const QString& path)
{
    return VidEzorarA_GetDeviceOnLine(path.toLocal8Bit().constData()) != 0;
}

void DialogChange::HandleUsbChanged()
{
    if (noticeOpen) {
        usbChangeDeferred = true;
        return;
    }
    ConfigSetting* config = ConfigSetting::Instance();
    const QStringList vids = config->GetValueList(SelectPage::Option, QStringLiteral("VID"));
    // Read as the device library's other searches do; this search does not use them.
    config->GetValue(SelectPage::Option, QStringLiteral("InterfaceId")).toInt();
    config->GetValue(SelectPage::Option, QStringLiteral("DeviceId")).toInt();

    ListedDevices.clear();
    FoundDevices.clear();

    const QStringList usbPids = config->GetValueList(SelectPage::Option, QStringLiteral("USB_PID"));
    WirelessPidList = config->GetValueList(SelectPage::Option, QStringLiteral("Wireless_PID"));
    Wireless2PidList = config->GetValueList(SelectPage::Option, QStringLiteral("Wireless2_PID"));
    Wireless4PidList = config->GetValueList(SelectPage::Option, QStringLiteral("Wireless4_PID"));
    Wireless8PidList = config->GetValueList(SelectPage::Option, QStringLiteral("Wireless8_PID"));
    AllPidList.clear();
    for (const QStringList* list :
         std::initializer_list<const QStringList*>{&usbPids, &WirelessPidList, &Wireless2PidList, &Wireless4PidList, &Wireless8PidList}) {
        for (const QString& pid : *list) {
            if (!pid.isEmpty())
                AllPidList << pid;
        }
    }

    FindAttachedDevices(vids, AllPidList);
    // The repair is offered as long as a device may wait for it: judged by what is attached now.
    ShowUpdateFailure();
    BuildDeviceButtons();

    if (UpDateRepairInstance && UpDateRepairInstance->isVisible() && FollowDeviceRemoval)
        emit PostMsg::Instance()->SigRepairCheckUpdate();
}

void DialogChange::FindAttachedDevices(const QStringList& vids, const QVector<QString>& pids)
{
    for (const QString& vid : vids) {
        for (const QString& pid : pids) {
            for (DeviceAllInfo record : ListAttachedDevices(vid, pid, FindBy::DefaultDeviceId)) {
                record.online = false;
                if (PageIdentifyDevice(record)) {
                    ListedDevices << record;
                    FoundDevices << record;
                }
            }
        }
    }
}

bool DialogChange::PageIdentifyDevice(DeviceAllInfo& record)
{
    const QByteArray path = record.path.toLocal8Bit();
    uint8_t info[HIDUSB_DEVICE_INFO_SIZE] = {};
    for (int attempt = 0; attempt < 10; ++attempt) {
        const uint8_t* reply = VidEzorarA_GetDeviceInfo(path.constData(), 0);
        if (reply)
            std::copy(reply, reply + HIDUSB_DEVICE_INFO_SIZE, info);
        else
            std::fill(info, info + HIDUSB_DEVICE_INFO_SIZE, uint8_t(0));
        if (info[0] != 0 || info[1] != 0)
            break;
    }
    record.CID = info[0];
    record.MID = info[1];
    record.status = info[2];
    record.wired = DeviceAllInfo::IsWiredStatus(info[2]);
    record.modelIndex = modelCount;

    ConfigSetting* config = ConfigSetting::Instance();
    const bool answered = info[0] != 0 || info[1] != 0;
    if (answered && record.CID == config->GetValue(SelectPage::Option, QStringLiteral("CID")).toInt()) {
        for (int n = 0; n < modelCount; ++n) {
            if (record.MID == config->GetValue(QStringLiteral("Drive%1").arg(n + 1), QStringLiteral("MID")).toInt()) {
                record.modelIndex = n;
                break;
            }
        }
    }
    record.online = VidEzorarA_GetDeviceOnLine(path.constData()) != 0;
    return modelCount >= 1;
}

int DialogChange::IndexOfListed(const QString& path) const
{
    for (int k = 0; k < ListedDevices.size(); ++k) {
        if (ListedDevices.at(k).path == path)
            return k;
    }
    return -1;
}
