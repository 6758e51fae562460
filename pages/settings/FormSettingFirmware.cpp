// The settings page's firmware upgrade: the check of the attached devices before a run, the run of
// the receiver and then the mouse on two one-second timers, and the device library's upgrade events.
// It builds on the page's general parts in FormSetting.cpp (the versions and their marks, the update
// button's look, the notice box); the page calls only SetUpFirmware here.
#include "pages/settings/FormSetting.h"
#include "pages/settings/FormSettingFirmware.h"

#include "device/ConfigSetting.h"
#include "device/ConnectionState.h"
#include "device/DeviceDiscovery.h"
#include "device/FirmwareImageSearch.h"
#include "device/GuiThreadRelay.h"
#include "device/PostMsg.h"
#include "pages/settings/UpDateRepair.h"
#include "pages/settings/UpgradeRunState.h"
#include "platform/TraceLog.h"
#include "platform/hidusb/HIDUsb.h"
#include "ui_FormSetting.h"
#include "widgets/UiText.h"

#include <QTimer>

namespace SettingsUpgrade {
std::atomic<int> ReceiverState{Idle};
std::atomic<int> MouseState{Idle};
std::atomic<bool> ReceiverNewFirmware{false};
std::atomic<bool> MouseNewFirmware{false};
std::atomic<int> ImageCount{1};
std::atomic<int> RunFinished{0};
std::atomic<int> CurrentKind{0};
std::atomic<int> Cid{0};
std::atomic<int> Mid{0};
std::atomic<int> ReceiverType{0};
LockedValue<Stage> StartedStage;
QList<QByteArray> UpgradeImageList;
int StepIntervalMs = 1000;
} // namespace SettingsUpgrade

using namespace SettingsUpgrade;

namespace {

const QString Option = QStringLiteral("Option");
// A result reached the dialog in this run (set by the callbacks, read when the run ends).
std::atomic<bool> ResultShown{false};

HidUpgradeImage View(const QByteArray& image)
{
    return HidUpgradeImage{reinterpret_cast<const uint8_t*>(image.constData()), uint32_t(image.size())};
}

// Devices in boot mode that take the image; preset to 5 as the room for the answer.
int BootDevices(const QByteArray& image)
{
    if (image.isEmpty())
        return 0;
    const HidUpgradeImage view = View(image);
    int count = 5;
    UsbUpgradeC_FindBootDevices(&view, &count);
    return count;
}

int RecordReceiverType(const QString& text)
{
    for (int type : {1, 2, 4, 8})
        if (text == QString::number(type))
            return type;
    return 0;
}

// With two devices attached, the receiver among them: the first with an address that is not wired.
const DeviceAllInfo* ReceiverOfTwo()
{
    for (const DeviceAllInfo& device : FoundDeviceList)
        if (!device.address.isEmpty() && !device.wired)
            return &device;
    return nullptr;
}

QString FormText(const char* key)
{
    return UiText::ForReader(UiLanguage, QStringLiteral("FormSetting"), QLatin1String(key));
}

// A stage's result, on the GUI thread: it moves the kind's state from upgrading; a failure ends
// whichever stage writes.
void StageReported(int kind, bool written)
{
    int upgrading = Upgrading;
    if (written) {
        (kind == 211 ? ReceiverState : MouseState).compare_exchange_strong(upgrading, Written);
        return;
    }
    ReceiverState.compare_exchange_strong(upgrading, Failed);
    upgrading = Upgrading;
    MouseState.compare_exchange_strong(upgrading, Failed);
}

// The library's events, on its thread: progress goes to the dialog; a result only moves the kind's
// state, which the step timer weighs on the GUI thread. The result travels the same queue as the
// progress before it, so the run ends only after the dialog and the marks have seen every percent:
// a percent that came late would otherwise move the bar, and the versions' marks, after the result.
void UpgradeEvent(const uint8_t* report, int kind)
{
    if (!report || report[0] != 7)
        return;
    std::atomic<int>& state = kind == 211 ? ReceiverState : MouseState;
    if (report[1] == 1) {
        if (state != Upgrading)
            return;
        int percent = report[2];
        if (ImageCount == 2)
            percent = percent / 2 + (kind == 210 ? 50 : 0);
        emit PostMsg::Instance()->SigProgress(percent, 0);
        return;
    }
    if (report[1] != 2)
        return;
    const bool written = report[2] == 1;
    GuiThreadRelay::Post([kind, written] { StageReported(kind, written); });
}

// A stage that ended without its device running the new firmware, or that could not start after an
// earlier stage of the run: logged, and shown as the failure, never as a success. The record is
// what the stage left: its own when it started writing, the earlier one when it never did.
void StageFailed(int kind, const QString& deviceVersion, const QString& imageVersion)
{
    UpgradeRecord::LogFailure(kind, ReceiverType, Cid, Mid, deviceVersion, imageVersion);
    ReceiverNewFirmware = false;
    MouseNewFirmware = false;
    ResultShown = true;
    emit PostMsg::Instance()->SigProgress(0, 1);
}

// The stage's device runs the image: the record goes (or names the device that still waits), the
// new version is shown and, for the mouse, kept.
void StageSucceeded(int kind, FirmwareSequence& firmware)
{
    const Stage stage = StartedStage.Get();
    const QString version = ImageVersionText(stage.image);
    UpgradeRecord::StageSucceeded();
    if (kind == 210)
        UpgradeRecord::StoreMouseVersion(stage.cidText, stage.midText, version);
    (kind == 211 ? ReceiverState : MouseState) = Upgraded;
    ++firmware.stagesWritten;
    PostMsg* bus = PostMsg::Instance();
    if (kind == 210 || ImageCount == 1) {
        ResultShown = true;
        emit bus->SigProgress(0, 2);
    }
    emit bus->SigLabelText(kind == 211 ? 0 : 1, version);
}

} // namespace

void FormSetting::ReceiverUpgradeCallback(const uint8_t* report)
{
    UpgradeEvent(report, 211);
}

void FormSetting::MouseUpgradeCallback(const uint8_t* report)
{
    UpgradeEvent(report, 210);
}

void FormSetting::SetUpFirmware()
{
    firmware.dongleTimer = new QTimer(this);
    firmware.mouseTimer = new QTimer(this);
    connect(firmware.dongleTimer, &QTimer::timeout, this, &FormSetting::onDongleCheckTimer);
    connect(firmware.mouseTimer, &QTimer::timeout, this, &FormSetting::onMouseCheckTimer);
    PostMsg* bus = PostMsg::Instance();
    connect(bus, &PostMsg::SigCheckUpdate, this, &FormSetting::SlotCheckUpdate);
    connect(bus, &PostMsg::SigUpdateStart, this, &FormSetting::on_Start);
    connect(bus, &PostMsg::SigUpdateFrame, this, &FormSetting::SlotUpdateFrame);
    connect(bus, &PostMsg::SigContinue, this, &FormSetting::SlotContinue);
}

bool FormSetting::FindUpgradeImage(int kind, const QString& version, const QString& modelName, int cid, int mid)
{
    // An empty version takes any matching image: a device in boot mode says none.
    UpgradeImageList.clear();
    QByteArray image;
    if (!SearchFirmwareImage(kind, version, modelName, cid, mid, &image))
        return false;
    UpgradeImageList << image;
    return true;
}

bool FormSetting::ChechIsUpDate()
{
    ReceiverType = 0;
    firmware.mousePending = 0;
    const DeviceAllInfo current = CurrentDeviceInfo.Get();
    ConfigSetting* config = ConfigSetting::Instance();
    firmware.group = QStringLiteral("Drive") + QString::number(current.modelIndex + 1);
    firmware.mouseModelName = config->GetValue(firmware.group, QStringLiteral("MM"));
    const QStringList record = UpgradeRecord::FailRecord();
    const bool hasRecord = record.size() == 4;
    firmware.refusalInPlace = false;
    // inPlace: the message asks the user to unplug a device too many, which can be done at once.
    const auto refuse = [this](const QString& text, bool inPlace = false) {
        firmware.refusalInPlace = inPlace;
        updateDialog->SetToolText(text);
        updateDialog->ShowMessageView();
        return false;
    };

    const QList<DeviceAllInfo> devices = FoundDeviceList;
    if (devices.isEmpty())
        return refuse(errorText);
    if (devices.size() == 1) {
        const DeviceAllInfo& device = devices.first();
        if (!hasRecord)
            return refuse(device.wired ? noReceiverText : noUsbText);
        const int kind = record.at(0).toInt();
        const QString recordMid = record.at(3);
        if (kind == 211) {
            if (!device.wired || QString::number(device.MID) != recordMid)
                return refuse(noUsbText);
        } else if (kind == 210) {
            firmware.mousePending = 1;
            if (device.wired || QString::number(device.MID) != recordMid)
                return refuse(noReceiverText);
        } else {
            return refuse(errorText);
        }
        const int type = RecordReceiverType(record.at(1));
        if (type != 0) {
            ReceiverType = type;
            firmware.receiverModelName = config->GetValue(firmware.group, ReceiverModelKey(type));
        }
        if (QString::number(device.CID) != record.at(2))
            return refuse(errorText);
        const int cid = record.at(2).toInt();
        const int mid = recordMid.toInt();
        const QString modelName = kind == 210 ? firmware.mouseModelName : firmware.receiverModelName;
        // No image for the device that waits: nothing to write, and nothing to hand the library.
        if (modelName.isEmpty() || !FindUpgradeImage(kind, QString(), modelName, cid, mid))
            return refuse(FormText("ErrorFile"));
        const int boot = BootDevices(UpgradeImageList.first());
        if (boot != 1)
            return boot > 1 ? refuse(sameDeviceText, true) : refuse(noDeviceText);
        const bool other = kind == 210
            ? !firmware.receiverModelName.isEmpty()
                && FindUpgradeImage(211, ui->label_5->text(), firmware.receiverModelName, cid, mid)
            : FindUpgradeImage(210, ui->label_7->text(), firmware.mouseModelName, cid, mid);
        ImageCount = other ? 2 : 1;
        return true;
    }
    if (devices.size() == 2) {
        if (!devices.at(0).wired && !devices.at(1).wired)
            return refuse(noUsbText);
        if (devices.at(0).MID != devices.at(1).MID)
            return refuse(noReceiverText);
        const DeviceAllInfo* receiver = ReceiverOfTwo();
        const int type = receiver ? DeviceAllInfo::ReceiverTypeOf(receiver->status) : 0;
        if (type == 0)
            return refuse(noReceiverText);
        ReceiverType = type;
        firmware.receiverModelName = config->GetValue(firmware.group, ReceiverModelKey(type));
        const int cid = config->GetValue(Option, QStringLiteral("CID")).toInt();
        const int mid = config->GetValue(firmware.group, QStringLiteral("MID")).toInt();
        const bool receiverFound = !firmware.receiverModelName.isEmpty()
            && FindUpgradeImage(211, ui->label_5->text(), firmware.receiverModelName, cid, mid);
        const bool mouseFound = FindUpgradeImage(210, ui->label_7->text(), firmware.mouseModelName, cid, mid);
        MouseNewFirmware = mouseFound;
        if (receiverFound || mouseFound) {
            ImageCount = receiverFound && mouseFound ? 2 : 1;
            return true;
        }
        updateDialog->SetToolText(newTipsText);
        updateDialog->ShowMessageView(UpDateRepair::MessageTone::Notice);
        firmware.receiverNoImage = true;
        return false;
    }
    int wired = 0;
    for (const DeviceAllInfo& device : devices)
        wired += device.wired ? 1 : 0;
    if (devices.size() - wired >= 2)
        return refuse(multiDongleText, true);
    return wired >= 2 ? refuse(multiMouseText, true) : refuse(errorText);
}

void FormSetting::OpenUpdateDialog(bool automatic)
{
    if (ui->Receive_2->text() == newTipsText)
        return;
    // A run, or the result of one, stays on screen.
    if (FirmwareRunActive() || (updateDialog->isVisible() && updateDialog->ShowsRun()))
        return;
    firmware.receiverNoImage = false;
    const bool shown = updateDialog->isVisible();
    if (!shown) {
        const QPoint corner = mapToGlobal(QPoint(0, 0));
        updateDialog->move(corner.x() + (width() - updateDialog->width()) / 2 - 75,
                           corner.y() + (height() - updateDialog->height()) / 2 - 65);
        updateDialog->setModal(true);
        updateDialog->ResetView();
    }
    if (ChechIsUpDate()) {
        updateDialog->ShowReadyView();
        updateDialog->show();
    } else if (firmware.receiverNoImage) {
        ui->Receive_2->setText(newTipsText);
    } else if (shown || !automatic || firmware.refusalInPlace) {
        updateDialog->show();
    }
    // Otherwise the check made at the device's opening keeps its reason (a device to bring, which the
    // user may not have at hand) for the Upgrade button, which stays as the new-firmware mark.
}

void FormSetting::on_Receive_2_clicked()
{
    OpenUpdateDialog(false);
}

void FormSetting::SlotUpdateFrame(bool IsVis)
{
    if (IsVis) {
        OpenUpdateDialog(true);
        return;
    }
    if (!FirmwareRunActive() && !updateDialog->ShowsRun())
        updateDialog->close();
}

void FormSetting::SlotCheckUpdate()
{
    if (FirmwareRunActive())
        return;
    if (ChechIsUpDate())
        updateDialog->ShowReadyView();
}

void FormSetting::StartReceiverRun()
{
    FirmwareUpdateInProgress = true;
    // The receiver leaves the bus while it is written: the device window stays.
    FollowDeviceRemoval = false;
    firmware.runStep = 0;
    receiverMarker = 0;
    ui->toolButton_2->hide();
    SetVer(2);
    RunFinished = 0;
    firmware.dongleTimer->start(StepIntervalMs);
    firmware.receiverRun = true;
}

void FormSetting::on_Start()
{
    // Counts of an earlier run would count devices that are not there.
    firmware.bootCount1 = firmware.bootCount2 = firmware.bootCount4 = firmware.bootCount8 = 0;
    ResultShown = false;
    firmware.endReason.clear();
    firmware.stagesWritten = 0;
    firmware.sinceWritten.invalidate();
    updateDialog->ShowUpgradingView();
    ConfigSetting* config = ConfigSetting::Instance();
    const int cid = config->GetValue(Option, QStringLiteral("CID")).toInt();
    const int mid = config->GetValue(firmware.group, QStringLiteral("MID")).toInt();
    const bool found = !firmware.receiverModelName.isEmpty()
        && FindUpgradeImage(211, ui->label_5->text(), firmware.receiverModelName, cid, mid);
    if (!found && firmware.mousePending == 1) {
        firmware.messageMode = true;
        on_Mouse_clicked();
    } else if (ReceiverState != Upgrading && MouseState != Upgrading && !firmware.mouseRun && !firmware.receiverNoImage) {
        StartReceiverRun();
    } else if (firmware.receiverNoImage) {
        SetUpdateButtonLook(false);
        PostMsg* bus = PostMsg::Instance();
        emit bus->SigAddUpdate(0, false);
        emit bus->SigAddUpdate(1, false);
        SlotContinue(0);
    }
    if (!FirmwareUpdateInProgress)
        EndRun();
}

void FormSetting::on_Receive_clicked()
{
    const DeviceAllInfo current = CurrentDeviceInfo.Get();
    if (!current.wired) {
        ReceiverType = DeviceAllInfo::ReceiverTypeOf(current.status);
    } else if (FoundDeviceList.size() == 2) {
        const DeviceAllInfo* receiver = ReceiverOfTwo();
        ReceiverType = receiver ? DeviceAllInfo::ReceiverTypeOf(receiver->status) : 0;
    }
    if (firmware.receiverNoImage || firmware.mouseRun)
        return;
    StartReceiverRun();
}

void FormSetting::on_Mouse_clicked()
{
    const DeviceAllInfo current = CurrentDeviceInfo.Get();
    if (current.wired) {
        // The mouse may still be rebooting: without it on its cable nothing is written.
        const bool cableThere = !FoundDeviceList.isEmpty() && FoundDeviceList.first().wired
            && FoundDeviceList.first().MID == current.MID;
        if (!cableThere) {
            UpgradeRecord::LogFailure(210, ReceiverType, Cid, Mid, ui->label_7->text(), QString());
            ResultShown = true;
            emit PostMsg::Instance()->SigProgress(0, 5);
            return;
        }
    }
    if (!firmware.mouseNoImage && !firmware.receiverRun) {
        FirmwareUpdateInProgress = true;
        FollowDeviceRemoval = false;
        firmware.runStep = 0;
        mouseMarker = 0;
        ui->toolButton_3->hide();
        SetVer(1);
        RunFinished = 0;
        firmware.mouseTimer->start(StepIntervalMs);
        firmware.mouseRun = true;
    } else if (firmware.mouseNoImage) {
        ui->Receive_2->setText(newTipsText);
    }
}

void FormSetting::SlotContinue(int index)
{
    Q_UNUSED(index)
    firmware.bootCount1 = firmware.bootCount2 = firmware.bootCount4 = firmware.bootCount8 = 0;
    if (MouseNewFirmware && (ReceiverState == Upgraded || ReceiverState == NotUpgraded)) {
        firmware.messageMode = true;
        on_Mouse_clicked();
    }
    if (ReceiverNewFirmware && (MouseState == Upgraded || MouseState == NotUpgraded)) {
        firmware.messageMode = true;
        on_Receive_clicked();
    }
}

void FormSetting::onDongleCheckTimer()
{
    RunUpgradeStep(firmware.runStep, 211, ui->label_5->text());
}

void FormSetting::onMouseCheckTimer()
{
    RunUpgradeStep(firmware.runStep, 210, ui->label_7->text());
}

void FormSetting::NoImageFor(int kind)
{
    if (kind == 211) {
        ReceiverState = NotUpgraded;
        ShowReceiverUpdateResult();
        firmware.receiverNoImage = true;
    } else {
        MouseState = NotUpgraded;
        ShowMouseUpdateResult();
        firmware.mouseNoImage = true;
    }
    firmware.endReason = newTipsText;
    firmware.runStep = 4;
}

void FormSetting::RunUpgradeStep(int step, int kind, const QString& version)
{
    const bool receiver = kind == 211;
    ConfigSetting* config = ConfigSetting::Instance();
    const QString receiverModel = config->GetValue(firmware.group, ReceiverModelKey(ReceiverType));
    switch (step) {
    case 0: {
        Cid = config->GetValue(Option, QStringLiteral("CID")).toInt();
        Mid = config->GetValue(firmware.group, QStringLiteral("MID")).toInt();
        bool found = false;
        if (receiver) {
            firmware.receiverPaths.clear();
            // A receiver waiting in boot mode has no version to show: any image of its type counts.
            found = !receiverModel.isEmpty() && FindUpgradeImage(211, QString(), receiverModel, Cid, Mid);
            if (found) {
                const int boot = BootDevices(UpgradeImageList.first());
                switch (ReceiverType) {
                case 1: firmware.bootCount1 = boot; break;
                case 2: firmware.bootCount2 = boot; break;
                case 4: firmware.bootCount4 = boot; break;
                case 8: firmware.bootCount8 = boot; break;
                default: break;
                }
            }
            // Receivers are counted by what they are, whichever device the window has open: those
            // in their boot loader above, those running their firmware here. The mouse on its cable
            // is none of them.
            for (const DeviceAllInfo& device : FoundDeviceList)
                if (!device.wired)
                    firmware.receiverPaths << device.path;
        } else {
            found = FindUpgradeImage(210, version, firmware.mouseModelName, Cid, Mid);
        }
        if (!found && ReceiverType != 0)
            NoImageFor(kind);
        else
            firmware.runStep = 1;
        break;
    }
    case 1: {
        int devices = 0;
        if (receiver) {
            devices = firmware.bootCount1 + firmware.bootCount2 + firmware.bootCount4 + firmware.bootCount8
                + firmware.receiverPaths.size();
        } else {
            for (const DeviceAllInfo& device : FoundDeviceList)
                devices += device.wired ? 1 : 0;
            devices += firmware.mousePending;
        }
        if (devices != 1) {
            (receiver ? ReceiverState : MouseState) = Idle;
            receiver ? ShowReceiverUpdateResult() : ShowMouseUpdateResult();
            const QString reason = devices > 1 ? sameDeviceText : receiver ? noDeviceText : WiredModeText;
            if (!firmware.messageMode) {
                int& marker = receiver ? receiverMarker : mouseMarker;
                marker = devices == 0 ? 1 : 2;
                (receiver ? ui->toolButton_2 : ui->toolButton_3)->show();
            } else {
                ShowWarning(reason);
                firmware.messageMode = false;
            }
            firmware.endReason = reason;
            // The run wrote a device and was to go on with this one: it did not finish.
            if (firmware.stagesWritten > 0)
                StageFailed(kind, version, UpgradeImageList.isEmpty() ? QString() : ImageVersionText(UpgradeImageList.first()));
            firmware.runStep = 4;
            break;
        }
        bool found = false;
        if (receiver) {
            int bootType = 0;
            if (firmware.bootCount1 == 1) bootType = 1;
            else if (firmware.bootCount2 == 1) bootType = 2;
            else if (firmware.bootCount4 == 1) bootType = 4;
            else if (firmware.bootCount8 == 1) bootType = 8;
            if (bootType != 0) {
                const QString model = config->GetValue(firmware.group, ReceiverModelKey(bootType));
                found = !model.isEmpty() && FindUpgradeImage(211, QString(), model, Cid, Mid);
            } else {
                QString receiverVersion = version;
                if (ReceiverType == 4 || ReceiverType == 8 || ReceiverType == 2) {
                    uint16_t slave = 0;
                    const QByteArray path = firmware.receiverPaths.value(0).toLocal8Bit();
                    receiverVersion = VidEzorarA_GetSlaveVersion(path.constData(), &slave) ? VersionText(slave) : QString();
                }
                found = !receiverModel.isEmpty() && FindUpgradeImage(211, receiverVersion, receiverModel, Cid, Mid);
            }
        } else {
            found = FindUpgradeImage(210, version, firmware.mouseModelName, Cid, Mid);
        }
        if (!found) {
            NoImageFor(kind);
            break;
        }
        CurrentKind = kind;
        Stage stage;
        stage.image = UpgradeImageList.first();
        stage.deviceVersion = version;
        stage.cidText = config->GetValue(Option, QStringLiteral("CID"));
        stage.midText = config->GetValue(firmware.group, QStringLiteral("MID"));
        StartedStage.Set(stage);
        // Upgrading before the start: the library may report before the next step runs. The record
        // names the stage before a byte is written.
        std::atomic<int>& state = receiver ? ReceiverState : MouseState;
        state = Upgrading;
        UpgradeRecord::BeginStage(kind, ReceiverType, Cid, Mid);
        const HidUpgradeImage view = View(stage.image);
        if (UsbUpgrade_Start(&view, receiver ? &FormSetting::ReceiverUpgradeCallback : &FormSetting::MouseUpgradeCallback, 10000)) {
            firmware.runStep = 2;
            break;
        }
        // Refused: nothing was written, so nothing waits for a repair; the run ends as failed.
        UpgradeRecord::StageNotStarted();
        state = Failed;
        StageFailed(kind, version, ImageVersionText(stage.image));
        firmware.runStep = 4;
        break;
    }
    case 2:
        firmware.runStep = 3;
        break;
    case 3: {
        std::atomic<int>& state = receiver ? ReceiverState : MouseState;
        if (state == Upgrading)
            break;
        const Stage stage = StartedStage.Get();
        if (state == Written) {
            // The library says the image is written; the device restarts into it and must answer
            // with its version before the stage counts.
            if (!firmware.sinceWritten.isValid())
                firmware.sinceWritten.start();
            if (DeviceRunsVersion(kind, Cid, Mid, ImageVersionText(stage.image))) {
                StageSucceeded(kind, firmware);
            } else if (firmware.sinceWritten.elapsed() < UpgradeStage::VersionWaitMs) {
                break;
            } else {
                qCDebug(kestroTrace) << "upgrade: the library reported success, the device does not run the image";
                state = Failed;
                StageFailed(kind, stage.deviceVersion, ImageVersionText(stage.image));
            }
        } else if (state == Failed) {
            StageFailed(kind, stage.deviceVersion, ImageVersionText(stage.image));
        }
        firmware.sinceWritten.invalidate();
        firmware.runStep = 4;
        break;
    }
    case 4: {
        if (receiver) {
            firmware.receiverRun = false;
            ShowReceiverUpdateResult();
        } else {
            firmware.mouseRun = false;
            ShowMouseUpdateResult();
        }
        firmware.messageMode = false;
        firmware.dongleTimer->stop();
        firmware.mouseTimer->stop();
        FirmwareUpdateInProgress = false;
        if (receiver) {
            if (firmware.mousePending == 1) {
                firmware.messageMode = true;
                on_Mouse_clicked();
            } else {
                SlotContinue(0);
            }
        }
        if (!FirmwareUpdateInProgress)
            EndRun();
        break;
    }
    default:
        break;
    }
}

void FormSetting::EndRun()
{
    // Nothing follows: the connection follows the device again, and the dialog is left closable
    // with what happened.
    FollowDeviceRemoval = true;
    if (ResultShown)
        return;
    if (firmware.stagesWritten > 0) {
        emit PostMsg::Instance()->SigProgress(0, 2);
        return;
    }
    const QString reason = firmware.endReason.isEmpty() ? newTipsText : firmware.endReason;
    updateDialog->SetToolText(reason);
    updateDialog->ShowMessageView(reason == newTipsText ? UpDateRepair::MessageTone::Notice
                                                        : UpDateRepair::MessageTone::Warning);
}

void FormSetting::ShowReceiverUpdateResult()
{
    ShowUpdateResult(211);
}

void FormSetting::ShowMouseUpdateResult()
{
    ShowUpdateResult(210);
}

void FormSetting::ShowUpdateResult(int kind)
{
    const bool receiver = kind == 211;
    RunFinished = 1;
    const int state = receiver ? ReceiverState : MouseState;
    if (state == Upgrading || state == Upgraded || state == NotUpgraded) {
        (receiver ? receiverMarker : mouseMarker) = 0;
        (receiver ? ui->toolButton_2 : ui->toolButton_3)->hide();
    }
    // The kind's own mark goes (an upgraded one's went with its new version); the other kind keeps
    // its mark until it is written too. The interrupted-upgrade record is the stage's own to remove.
    if (state == Upgraded || state == NotUpgraded)
        NewVersionShown(receiver ? 0 : 1);
    if (!receiver && state == NotUpgraded)
        ui->Receive_2->setText(newTipsText);
}

