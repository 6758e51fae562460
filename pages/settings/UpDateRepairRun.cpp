// The upgrade dialog's own run: the repair check of an interrupted upgrade, the start of the
// receiver and mouse stages, and the device library's events of the run.
#include "pages/settings/UpDateRepair.h"

#include "device/ConfigSetting.h"
#include "device/ConnectionState.h"
#include "device/DialogChangeLists.h"
#include "device/FirmwareImageSearch.h"
#include "device/GuiThreadRelay.h"
#include "device/PostMsg.h"
#include "pages/settings/UpgradeRunState.h"
#include "platform/hidusb/HIDUsb.h"
#include "platform/TraceLog.h"
#include "ui_UpDateRepair.h"

#include <QElapsedTimer>
#include <QTimer>
#include <atomic>

namespace {

const QString Option = QStringLiteral("Option");

int BootDevices(const QByteArray& image)
{
    const HidUpgradeImage view{reinterpret_cast<const uint8_t*>(image.constData()), uint32_t(image.size())};
    int count = 5;
    UsbUpgradeC_FindBootDevices(image.isEmpty() ? nullptr : &view, &count);
    return count;
}

// The receiver type a record's second part names, or 0.
int RecordReceiverType(const QString& text)
{
    for (int type : {1, 2, 4, 8})
        if (text == QString::number(type))
            return type;
    return 0;
}

const QStringList* ReceiverPidList(int type)
{
    switch (type) {
    case 1: return &WirelessPidList;
    case 2: return &Wireless2PidList;
    case 4: return &Wireless4PidList;
    case 8: return &Wireless8PidList;
    default: return nullptr;
    }
}

// Each run has its number: a result or a wait left from an earlier run does not touch a later one.
std::atomic<unsigned> runNumber{0};

QByteArray StageImage(int kind)
{
    return kind == 211 ? UpgradeRunState.receiverImage.Get() : UpgradeRunState.mouseImage.Get();
}

int StageKind()
{
    return UpgradeRunState.stage == 0 ? 211 : 210;
}

// Writes the image of the run's current stage. The record names the stage before the library
// starts writing; a start the library refuses leaves the record as it was.
bool StartStage()
{
    const UpgradeRunStateData& run = UpgradeRunState;
    const int kind = StageKind();
    const QByteArray image = StageImage(kind);
    if (image.isEmpty())
        return false;
    UpgradeRecord::BeginStage(kind, run.receiverType, run.cid, run.mid);
    const HidUpgradeImage view{reinterpret_cast<const uint8_t*>(image.constData()), uint32_t(image.size())};
    if (UsbUpgrade_Start(&view, &UpDateRepair::UpgradeStatusCallback, 10000) != 0)
        return true;
    UpgradeRecord::StageNotStarted();
    return false;
}

// Every run ends here, on the GUI thread: the flags are clear and the connection follows the device
// again before the dialog hears the result; a failure is logged first. The record is what the
// stages left: the failed stage's, or none.
void EndRun(bool success)
{
    const UpgradeRunStateData& run = UpgradeRunState;
    PostMsg* bus = PostMsg::Instance();
    if (!success) {
        const int kind = StageKind();
        UpgradeRecord::LogFailure(kind, run.receiverType, run.cid, run.mid, QString(), ImageVersionText(StageImage(kind)));
    }
    UpgradeRunState.inProgress = 0;
    UpgradeRunState.progressSeen = false;
    FollowDeviceRemoval = true;
    emit bus->SigAutoRepair(success ? 0 : 1);
    emit bus->SigUpDateButton(success);
    emit bus->SigProgress(0, success ? 2 : 6);
}

// The stage's device answers with the image's version: the record goes (or names the device that
// still waits), and the mouse follows the receiver when it waits for its image.
void StageDone()
{
    UpgradeRunStateData& run = UpgradeRunState;
    UpgradeRecord::StageSucceeded();
    if (run.stage == 0 && run.mouseFollows) {
        run.stage = 1;
        if (!StartStage())
            EndRun(false);
        return;
    }
    EndRun(true);
}

// After the library reported a success: the device restarts into the new firmware and comes back on
// the bus. Until it answers with the image's version the stage has not succeeded.
void AwaitNewVersion(unsigned number, const QElapsedTimer& since)
{
    if (number != runNumber || !UpgradeRunState.inProgress)
        return;
    const UpgradeRunStateData& run = UpgradeRunState;
    const int kind = StageKind();
    if (DeviceRunsVersion(kind, run.cid, run.mid, ImageVersionText(StageImage(kind)))) {
        StageDone();
        return;
    }
    if (since.elapsed() >= UpgradeStage::VersionWaitMs) {
        qCDebug(kestroTrace) << "upgrade: the library reported success, the device does not run the image";
        EndRun(false);
        return;
    }
    QTimer::singleShot(100, GuiThreadRelay::Context(), [number, since] { AwaitNewVersion(number, since); });
}

void StageResult(unsigned number, bool reportedSuccess)
{
    if (number != runNumber || !UpgradeRunState.inProgress)
        return;
    UpgradeRunState.progressSeen = false;
    if (!reportedSuccess) {
        EndRun(false);
        return;
    }
    QElapsedTimer since;
    since.start();
    AwaitNewVersion(number, since);
}

} // namespace

void UpDateRepair::ShowMessage(const QString& text)
{
    ui->ToolText_2->setText(text);
    ShowMessageView();
}

void UpDateRepair::SlotRepairCheckUpdate()
{
    // A run under way is not checked again: its devices come and go while they are written.
    if (UpgradeRunState.inProgress)
        return;
    if (PrepareUpgrade())
        ShowReadyView();
}

bool UpDateRepair::PrepareUpgrade()
{
    UpgradeRunStateData& run = UpgradeRunState;
    const QStringList record = UpgradeRecord::FailRecord();
    if (record.size() != 4)
        return false;
    run.failRecord.Set(record);
    run.receiverType = 0;
    failedKind = record.at(0).toInt();
    const QString recordMid = record.at(3);
    imageReady = false;

    if (ListedDevices.isEmpty()) {
        ShowMessage(failedKind == 210 ? noReceiverText : failedKind == 211 ? noUsbText : notDeviceText);
        return false;
    }
    // Devices of other models take no part in the repair: the images are the recorded model's, and
    // nothing is said of them.
    const auto ofModel = [&recordMid](const DeviceAllInfo& device) { return QString::number(device.MID) == recordMid; };
    int mice = 0, receivers = 0;
    for (const DeviceAllInfo& device : ListedDevices)
        if (ofModel(device))
            ++(device.wired ? mice : receivers);
    if (mice >= 2 || receivers >= 2) {
        ShowMessage(mice >= 2 ? multiMouseText : multiDongleText);
        return false;
    }

    // Receivers that run their normal firmware count with the ones waiting in boot mode: one
    // receiver in all is what a receiver repair writes.
    int runningReceivers = 0;
    if (failedKind == 211) {
        const auto countIn = [&ofModel](const QStringList& pids) {
            int count = 0;
            for (const DeviceAllInfo& device : FoundDevices)
                if (ofModel(device) && pids.contains(device.PID))
                    ++count;
            return count;
        };
        const QStringList anyReceiver = WirelessPidList + Wireless2PidList + Wireless4PidList + Wireless8PidList;
        runningReceivers = countIn(anyReceiver);
        if (runningReceivers == 1) {
            const QStringList* ofType = ReceiverPidList(RecordReceiverType(record.at(1)));
            runningReceivers = ofType ? countIn(*ofType) : 0;
        }
    }
    run.stage = 0;

    // A receiver repair is made beside the mouse on its cable, a mouse repair beside its receiver.
    if ((failedKind == 211 && mice == 0) || (failedKind == 210 && receivers == 0)) {
        ShowMessage(failedKind == 211 ? noUsbText : noReceiverText);
        return false;
    }

    ConfigSetting* config = ConfigSetting::Instance();
    modelSection.clear();
    const int models = config->GetValue(Option, QStringLiteral("DeviceTotal")).toInt();
    for (int n = 1; n <= models && modelSection.isEmpty(); ++n) {
        const QString section = QStringLiteral("Drive") + QString::number(n);
        if (config->GetValue(section, QStringLiteral("MID")) == recordMid)
            modelSection = section;
    }
    run.mouseModelName.Set(config->GetValue(modelSection, QStringLiteral("MM")));
    const int type = RecordReceiverType(record.at(1));
    if (type != 0) {
        run.receiverType = type;
        receiverModelName = config->GetValue(modelSection, ReceiverModelKey(type));
    }
    run.cid = record.at(2).toInt();
    run.mid = config->GetValue(modelSection, QStringLiteral("MID")).toInt();

    QByteArray mouseImage, receiverImage;
    const bool mouseFound = !modelSection.isEmpty()
        && SearchFirmwareImage(210, QString(), run.mouseModelName.Get(), run.cid, run.mid, &mouseImage);
    const bool receiverFound = !modelSection.isEmpty() && !receiverModelName.isEmpty()
        && SearchFirmwareImage(211, QString(), receiverModelName, run.cid, run.mid, &receiverImage);
    run.imageCount = mouseFound && receiverFound ? 2 : 1;
    run.failedStage = failedKind == 210 ? 1 : 0;
    imageReady = failedKind == 210 ? mouseFound : failedKind == 211 ? receiverFound : false;

    const int total = BootDevices(failedKind == 210 ? mouseImage : receiverImage) + runningReceivers;
    if (imageReady && total == 1)
        return true;
    if (imageReady) {
        ShowMessage(total == 0 ? notDeviceText : sameDeviceText);
        run.inProgress = 0;
        return false;
    }
    // Without the image of the stage that failed there is nothing a start could write.
    imageReady = false;
    ShowMessage(errorFileText);
    return false;
}

void UpDateRepair::SetAutoUpdate(int value)
{
    autoStart = true;
    autoValue = value;
    // The Space key asks about the one listed receiver: the run is that receiver's model.
    if (ListedDevices.size() != 1 || ListedDevices.first().wired) {
        ShowMessage(ListedDevices.isEmpty() ? notDeviceText : multiDongleText);
        return;
    }
    const DeviceAllInfo device = ListedDevices.first();
    UpgradeRunStateData& run = UpgradeRunState;
    ConfigSetting* config = ConfigSetting::Instance();
    modelSection = QStringLiteral("Drive") + QString::number(device.modelIndex + 1);
    run.receiverType = DeviceAllInfo::ReceiverTypeOf(device.status);
    receiverModelName = config->GetValue(modelSection, ReceiverModelKey(run.receiverType));
    run.mouseModelName.Set(config->GetValue(modelSection, QStringLiteral("MM")));
    run.cid = config->GetValue(Option, QStringLiteral("CID")).toInt();
    run.mid = config->GetValue(modelSection, QStringLiteral("MID")).toInt();
    run.failedStage = 0;
    run.failRecord.Set(QStringList());
    imageReady = true;
    StartUpgrade();
}

void UpDateRepair::StartUpgrade()
{
    if (!imageReady)
        return;
    UpgradeRunStateData& run = UpgradeRunState;
    QByteArray receiverImage, mouseImage;
    const bool receiverFound = !receiverModelName.isEmpty()
        && SearchFirmwareImage(211, QString(), receiverModelName, run.cid, run.mid, &receiverImage);
    const bool mouseFound = SearchFirmwareImage(210, QString(), run.mouseModelName.Get(), run.cid, run.mid, &mouseImage);
    if (!receiverFound && !mouseFound) {
        // Nothing would be written: no success can follow.
        imageReady = false;
        ShowMessage(errorFileText);
        return;
    }
    // After the receiver, the mouse is written when it is the one that failed or when it is on its
    // cable beside the receiver.
    bool mousePresent = run.failedStage == 1;
    for (const DeviceAllInfo& device : ListedDevices)
        if (device.wired && device.MID == run.mid)
            mousePresent = true;
    run.receiverImage.Set(receiverImage);
    run.mouseImage.Set(mouseImage);
    run.stage = receiverFound ? 0 : 1;
    run.mouseFollows = receiverFound && mouseFound && mousePresent;
    run.imageCount = run.mouseFollows ? 2 : 1;
    run.progressSeen = false;
    run.inProgress = 1;
    ++runNumber;
    // The device leaves the bus while it is written: the connection must not follow it away.
    FollowDeviceRemoval = false;
    ShowUpgradingView();
    imageReady = StartStage();
    if (!imageReady)
        EndRun(false);
}

void UpDateRepair::UpgradeStatusCallback(const uint8_t* event)
{
    if (!event || event[0] != 7)
        return;
    UpgradeRunStateData& run = UpgradeRunState;
    if (event[1] == 1) {
        run.progressSeen = true;
        int value = event[2];
        if (run.imageCount == 2)
            value = value / 2 + (run.stage != 0 ? 50 : 0);
        emit PostMsg::Instance()->SigAutoRepairProgress(value);
        return;
    }
    if (event[1] != 2)
        return;
    // The result is weighed on the GUI thread: a success counts once the device answers with it.
    const unsigned number = runNumber;
    const bool reportedSuccess = event[2] == 1;
    GuiThreadRelay::Post([number, reportedSuccess] { StageResult(number, reportedSuccess); });
}

