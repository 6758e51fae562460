#include "app/DialogChange.h"

#include "app/DialogChangeShared.h"
#include "device/ConfigSetting.h"
#include "device/ConnectionState.h"
#include "device/DialogChangeLists.h"
#include "device/FirmwareImageSearch.h"
#include "device/PostMsg.h"
#include "pages/settings/UpDateRepair.h"
#include "pages/settings/UpgradeRunState.h"
#include "platform/TraceLog.h"
#include "platform/hidusb/HIDUsb.h"
#include "ui_DialogChange.h"

namespace {

// The interrupted upgrade's record stands for a device left waiting in its boot loader. It is spent
// when the recorded device is attached and answers with working firmware while no device waits in
// a boot loader for its image: there is nothing left to repair.
bool RecordSpent(const QStringList& record)
{
    if (record.size() != 4)
        return false;
    const int kind = record.at(0).toInt();
    const int type = record.at(1).toInt();
    const int cid = record.at(2).toInt();
    const int mid = record.at(3).toInt();
    bool answers = false;
    for (const DeviceAllInfo& device : qAsConst(FoundDevices)) {
        if (device.CID != cid || device.MID != mid)
            continue;
        if (kind == 211)
            answers = answers || (!device.wired && DeviceAllInfo::ReceiverTypeOf(device.status) == type);
        else if (kind == 210)
            // The mouse on its cable, or through its receiver when it answers there.
            answers = answers || device.wired || SelectPage::IsOnline(device.path);
    }
    if (!answers)
        return false;
    ConfigSetting* config = ConfigSetting::Instance();
    const int models = config->GetValue(SelectPage::Option, QStringLiteral("DeviceTotal")).toInt();
    for (int n = 1; n <= models; ++n) {
        const QString group = QStringLiteral("Drive") + QString::number(n);
        if (config->GetValue(group, QStringLiteral("MID")).toInt() != mid)
            continue;
        const QString key = kind == 210 ? QStringLiteral("MM") : ReceiverModelKey(type);
        const QString name = key.isEmpty() ? QString() : config->GetValue(group, key);
        QByteArray image;
        if (name.isEmpty() || !SearchFirmwareImage(kind, QString(), name, cid, mid, &image))
            break;
        const HidUpgradeImage view{reinterpret_cast<const uint8_t*>(image.constData()), uint32_t(image.size())};
        int waiting = 5;
        UsbUpgradeC_FindBootDevices(&view, &waiting);
        return waiting == 0;
    }
    // Without an image nothing could be written, and the recorded device works.
    return true;
}

} // namespace

void DialogChange::ShowUpdateFailure()
{
    // A record is judged only between runs: while one writes, its devices leave and come back.
    const QStringList record = UpgradeRecord::FailRecord();
    bool failed = !record.isEmpty();
    if (failed && FollowDeviceRemoval && !UpgradeStage::RunUnderWay() && RecordSpent(record)) {
        qCDebug(kestroTrace) << "upgrade record dropped: the recorded device works and nothing waits for its image";
        UpgradeRecord::RemoveFailure();
        failed = false;
    }
    ui->Repair->setVisible(failed);
    ui->label_2->setText(failed ? repairPromptText : promptText);
}

void DialogChange::SlotUpDateButton(bool IsHide)
{
    ui->Repair->setVisible(!IsHide);
    ui->label_2->setText(IsHide ? promptText : repairPromptText);
}

void DialogChange::on_Repair_clicked()
{
    emit DeviceWindowNeeded();
    // The settings page keeps the one upgrade dialog; without a settings page the page makes it.
    if (!UpDateRepairInstance)
        UpDateRepairInstance = new UpDateRepair(nullptr);
    UpDateRepair* dialog = UpDateRepairInstance;
    CentreOnPage(dialog);
    dialog->ResetView();
    dialog->setModal(true);
    emit PostMsg::Instance()->SigRepairCheckUpdate();
    dialog->show();
}
