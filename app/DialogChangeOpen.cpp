#include "app/DialogChange.h"

#include "app/DialogChangeShared.h"
#include "app/mytoolButtonEnter.h"
#include "device/ConfigSetting.h"
#include "device/ConnectionState.h"
#include "device/DeviceDiscovery.h"
#include "device/DeviceReportCallback.h"
#include "device/DialogChangeLists.h"
#include "device/FirmwareImageSearch.h"
#include "device/ModelListCheck.h"
#include "device/PostMsg.h"
#include "device/Worker.h"
#include "pages/settings/Match.h"
#include "pages/settings/RePair.h"
#include "platform/AppPaths.h"
#include "platform/RegistryStore.h"
#include "platform/Sleep.h"
#include "widgets/FileNotices.h"
#include "widgets/UpDateWarning.h"

#include <QDir>
#include <QScopeGuard>

void DialogChange::EndClick()
{
    if (--clickDepth > 0)
        return;
    for (QWidget* page : qAsConst(retiredPages))
        page->deleteLater();
    retiredPages.clear();
}

void DialogChange::slotButtonClicked()
{
    emit DeviceWindowNeeded();
    PostMsg* bus = PostMsg::Instance();
    emit bus->SigIsUsb(false, true);
    emit bus->SigSetver(6);

    auto* button = qobject_cast<mytoolButtonEnter*>(sender());
    const int k = button ? button->DeviceIndex() : -1;
    if (k < 0 || k >= ListedDevices.size())
        return;
    ++clickDepth;
    const auto endClick = qScopeGuard([this] { EndClick(); });

    // The dialogs below run their own event loops, and a notice may rebuild the lists meanwhile:
    // the pressed device is known by its path from here on.
    const DeviceAllInfo pressed = ListedDevices.at(k);
    const QString path = pressed.path;
    ConfigSetting* config = ConfigSetting::Instance();
    const QString group = QStringLiteral("Drive%1").arg(pressed.modelIndex + 1);
    const int modelMid = config->GetValue(group, QStringLiteral("MID")).toInt();
    if (modelMid >= 18 && modelMid <= 20)
        emit bus->SigMouseIndex(modelMid - 18);

    // A receiver whose mouse does not answer while the same model answers on the other device.
    if (ListedDevices.size() == 2 && k <= 1) {
        const DeviceAllInfo other = ListedDevices.at(1 - k);
        if (other.CID == pressed.CID && other.MID == pressed.MID && !SelectPage::IsOnline(path)
            && SelectPage::IsOnline(other.path)) {
            if (RunPairingCheck(path, group, false))
                return;
        }
    }

    const int index = IndexOfListed(path);
    if (index < 0)
        return;
    const DeviceAllInfo device = ListedDevices.at(index);
    if (device.modelIndex >= modelCount) {
        const ModelListProblem problem = CheckModelList();
        // With the model list whole, an unknown receiver is most likely one whose mouse is not
        // paired yet. Anything else cannot be opened, and the user is told why.
        if (!device.wired && !problem.Damaged()) {
            RunPairingCheck(path, QStringLiteral("Drive%1").arg(modelCount + 1), true);
            return;
        }
        const int mid = device.MID;
        FileNotices notice([mid, problem](int language) { return FileNotices::UnknownModelText(language, mid, problem); });
        CentreOnPage(&notice);
        notice.exec();
        return;
    }

    emit bus->SigSelectMouseInfo(device);
    const int receiverType = DeviceAllInfo::ReceiverTypeOf(device.status);
    QString updateFlag;
    if (QDir(AppPaths::ProgramFolder() + QStringLiteral("/bin")).exists()) {
        ReceiverUpdateAvailable = HasNewFirmware(211, device.version, receiverType, device.modelIndex);
        if (ReceiverUpdateAvailable)
            updateFlag = QStringLiteral("true");
    }
    emit bus->SigLabelTextB(device.version, updateFlag);
    emit bus->SigChangeMainDialog(1);
    Sleep(150);
    // Before the thread starts: its first pass does its work only inside an open device window.
    DeviceWindowActive = 1;
    Worker::RequestPass();
}

bool DialogChange::RunPairingCheck(const QString& path, const QString& group, bool receiverOnlyStops)
{
    const int index = IndexOfListed(path);
    if (index < 0)
        return true;
    const DeviceAllInfo device = ListedDevices.at(index);
    ConfigSetting* config = ConfigSetting::Instance();
    const QString cidText = config->GetValue(SelectPage::Option, QStringLiteral("CID"));
    const QString midText = config->GetValue(group, QStringLiteral("MID"));
    const QString mouseVersion =
        RegistryStore(MouseDriveTestKey()).Value(QStringLiteral("MouseVer") + cidText + midText).toString();
    if (mouseVersion.isEmpty()) {
        OpenPairing(path);
        return true;
    }

    const int cid = cidText.toInt();
    const int mid = midText.toInt();
    const bool mouseNewer = SearchFirmwareImage(210, mouseVersion, config->GetValue(group, QStringLiteral("MM")), cid, mid);
    // A cable has no receiver: no key, so no receiver firmware is looked for.
    const QString receiverKey = ReceiverModelKey(DeviceAllInfo::ReceiverTypeOf(device.status));
    const QString receiverName = receiverKey.isEmpty() ? QString() : config->GetValue(group, receiverKey);
    const bool receiverNewer = !receiverName.isEmpty() && FindFirmwareBin(211, device.version, receiverName, cid, mid);

    if (mouseNewer == receiverNewer) {
        bool confirmed = false;
        {
            RePair question(nullptr);
            CentreOnPage(&question);
            question.exec();
            confirmed = question.IsConfirm;
        }
        if (confirmed)
            OpenPairing(path);
        return true;
    }
    if (mouseNewer) {
        UpDateWarning notice(nullptr);
        notice.SetText(MouseUpdateNoticeText);
        CentreOnPage(&notice, 20);
        notice.exec();
        return true;
    }
    return receiverOnlyStops;
}

void DialogChange::OpenPairing(const QString& path)
{
    // Gone while a question was open: there is nothing left to pair.
    const int index = IndexOfListed(path);
    if (index < 0)
        return;
    PairDeviceChosen = true;
    PairDeviceInfo = ListedDevices.at(index);
    Match::Open(false, [this](QWidget* dialog) { CentreOnPage(dialog); });
}
