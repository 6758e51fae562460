// The settings page's firmware upgrade: the version check, the check of the attached devices before
// a run, and whole runs of the receiver then the mouse on the simulated devices.
#include "FirmwareRunFixture.h"

#include "app/PreVier.h"
#include "device/DeviceDiscovery.h"
#include "device/PostMsg.h"
#include "pages/settings/FormSetting.h"
#include "pages/settings/UpDateRepair.h"
#include "widgets/UiText.h"
#include "widgets/UiTextTables.h"

#include <QAbstractButton>
#include <QElapsedTimer>
#include <QLabel>
#include <QProgressBar>
#include <QSignalSpy>
#include <QThread>

using namespace FirmwareRun;
using SettingsUpgrade::ReceiverState;
using SettingsUpgrade::MouseState;
using SettingsUpgrade::ReceiverNewFirmware;
using SettingsUpgrade::MouseNewFirmware;
using SettingsUpgrade::ImageCount;
using SettingsUpgrade::ReceiverType;
using SettingsUpgrade::StepIntervalMs;
using SettingsUpgrade::Idle;

namespace {

QString Text(const char* key)
{
    return UiText::ForReader(UiLanguage, QStringLiteral("FormSetting"), QLatin1String(key));
}

QString DialogText(const char* key)
{
    return UiText::ForReader(UiLanguage, QStringLiteral("UpDateRepair"), QLatin1String(key));
}

struct PageSignals {
    QSignalSpy progress{PostMsg::Instance(), &PostMsg::SigProgress};
    QSignalSpy labels{PostMsg::Instance(), &PostMsg::SigLabelText};
    QSignalSpy versions{PostMsg::Instance(), &PostMsg::SigAddVer};
    QSignalSpy mainDialog{PostMsg::Instance(), &PostMsg::SigChangeMainDialog};

    QList<int> Percentages() const
    {
        QList<int> values;
        for (const QList<QVariant>& call : progress)
            if (call.at(1).toInt() == 0)
                values << call.at(0).toInt();
        return values;
    }
    QList<int> Ends() const
    {
        QList<int> values;
        for (const QList<QVariant>& call : progress)
            if (call.at(1).toInt() != 0)
                values << call.at(1).toInt();
        return values;
    }
    QStringList Labels() const
    {
        QStringList values;
        for (const QList<QVariant>& call : labels)
            values << QString::number(call.at(0).toInt()) + QLatin1Char(' ') + call.at(1).toString();
        return values;
    }
    bool VersionShown(int type, const QString& version) const
    {
        for (const QList<QVariant>& call : versions)
            if (call.at(0).toInt() == type && call.at(1).toString() == version)
                return true;
        return false;
    }
};

} // namespace

class TestSettingsUpgrade : public QObject, protected RunCase
{
    Q_OBJECT
    std::unique_ptr<FormSetting> page;

    UpDateRepair* Dialog() const { return page->UpdateDialog(); }
    QString Message() const { return Dialog()->findChild<QLabel*>(QStringLiteral("ToolText_2"))->text(); }
    QAbstractButton* Button(const char* name) const { return Dialog()->findChild<QAbstractButton*>(QLatin1String(name)); }
    QString Label(const char* name) const { return page->findChild<QLabel*>(QLatin1String(name))->text(); }

    // The receiver and the wireless mouse on its cable, the cable open in the device window.
    void AttachMouseAndReceiver()
    {
        SimControl_SetAttached(WirelessCable, 1);
        QVERIFY(SettleDevices());
        DeviceAllInfo cable;
        cable.path = QString::fromLocal8Bit(SimControl_DevicePath(WirelessCable));
        QCOMPARE(IdentifyDevice(&cable, SimControl_DevicePath(WirelessCable)), 1);
        cable.online = true;
        cable.firmwareVersion = QStringLiteral("v1.03");
        CurrentDeviceInfo.Set(cable);
        SetCurrentDevicePath(cable.path.toLocal8Bit());
        StartUsbChanged(MainPageUsbChangedCallback, 600);
        QVERIFY(SettleDevices());
        QCOMPARE(FoundDeviceList.size(), 2);
    }

    // Opens one of the shipped devices as the device window does: the device current, the page told
    // its receiver version as the selection page tells it, the attached devices found.
    void OpenDevice(int device, const QString& mouseVersion, const QString& receiverVersion)
    {
        DeviceAllInfo info;
        info.path = QString::fromLocal8Bit(SimControl_DevicePath(device));
        QCOMPARE(IdentifyDevice(&info, SimControl_DevicePath(device)), 1);
        info.online = true;
        info.firmwareVersion = mouseVersion;
        CurrentDeviceInfo.Set(info);
        SetCurrentDevicePath(info.path.toLocal8Bit());
        page->SlotLabelTextB(receiverVersion, QString());
        StartUsbChanged(MainPageUsbChangedCallback, 600);
        QVERIFY(SettleDevices());
    }

    bool WaitForEnd() const
    {
        return QTest::qWaitFor(
                   [] { return SimControl_WaitIdle(1) && !FirmwareUpdateInProgress && FollowDeviceRemoval; }, 15000)
            && SettleDevices();
    }

    // The receiver open in the device window, the wireless mouse waiting in its boot loader on its
    // cable after an interrupted mouse stage, recorded: the settings page's mouse repair.
    void ReceiverWithMouseWaiting()
    {
        SimControl_SetAttached(WirelessCable, 1);
        QVERIFY(SettleDevices());
        QVERIFY(LeaveInBootMode(MouseImage()));
        QCOMPARE(SimControl_GetDeviceMode(WirelessCable), 2);
        RegistryStore(MouseDriveTestKey()).SetValue(QStringLiteral("UpdateFailInfo"), QStringLiteral("210,4,28,18"));
        DeviceAllInfo receiver;
        receiver.path = QString::fromLocal8Bit(SimControl_DevicePath(Receiver));
        QCOMPARE(IdentifyDevice(&receiver, SimControl_DevicePath(Receiver)), 1);
        receiver.online = true;
        CurrentDeviceInfo.Set(receiver);
        SetCurrentDevicePath(receiver.path.toLocal8Bit());
        StartUsbChanged(MainPageUsbChangedCallback, 600);
        QVERIFY(SettleDevices());
        QCOMPARE(FoundDeviceList.size(), 1);
        page->SlotLabelText(0, QStringLiteral("v1.05"));
        page->SlotLabelText(1, QString());
        page->on_Receive_2_clicked();
        QVERIFY(Dialog()->isVisible());
        QCOMPARE(Message(), DialogText("ReadyUpdate"));
    }

    // Steps the run by hand, one step of the running kind at a time, with `before` called ahead of
    // each (the kind, the step); a stage's writing is waited for. The timers are too slow to fire.
    bool DriveRun(const std::function<void(int kind, int step)>& before)
    {
        for (int steps = 0; steps < 200 && FirmwareUpdateInProgress; ++steps) {
            const FirmwareSequence& run = page->Sequence();
            const int kind = run.receiverRun ? 211 : run.mouseRun ? 210 : 0;
            if (kind == 0)
                return false;
            const int step = run.runStep;
            before(kind, step);
            if (step == 3 && !QTest::qWaitFor([] { return SimControl_WaitIdle(1); }, 10000))
                return false;
            // What the library reported reaches the window before the step timer's next tick.
            QCoreApplication::sendPostedEvents();
            kind == 211 ? page->onDongleCheckTimer() : page->onMouseCheckTimer();
        }
        return !FirmwareUpdateInProgress && SettleDevices();
    }

    // The version check finds the images and opens the dialog ready; the user starts.
    void StartFromTheDialog()
    {
        page->SetVer(0);
        QVERIFY(Dialog()->isVisible());
        QCOMPARE(Message(), DialogText("ReadyUpdate"));
        QTest::mouseClick(Button("NewHong_2"), Qt::LeftButton);
    }

private slots:
    void initTestCase()
    {
        QVERIFY(StartCase());
        StepIntervalMs = 2;
        UpgradeStage::VersionWaitMs = 300;
    }

    void init()
    {
        page = std::make_unique<FormSetting>(nullptr);
        StartTest();
        ReceiverState = MouseState = Idle;
        ReceiverNewFirmware = MouseNewFirmware = false;
        FirmwareUpdateInProgress = false;
        FollowDeviceRemoval = true;
        DeviceWindowActive = 1;
        FoundDeviceList.clear();
        CurrentDeviceInfo.Set(DeviceAllInfo());
    }

    void cleanup()
    {
        StepIntervalMs = 2;
        StopUsbChanged();
        QVERIFY(SettleDevices());
        page.reset();
        program.reset();
        FirmwareUpdateInProgress = false;
        FollowDeviceRemoval = true;
        DeviceWindowActive = 0;
    }

    // The version check with and without "bin": the marks of both rows, the dialog, the versions.
    void versionCheck_data()
    {
        QTest::addColumn<bool>("bin");
        QTest::newRow("images in bin") << true;
        QTest::newRow("no bin") << false;
    }
    void versionCheck()
    {
        QFETCH(bool, bin);
        AttachMouseAndReceiver();
        if (!bin)
            program->RemoveBin();
        QSignalSpy marks(PostMsg::Instance(), &PostMsg::SigAddUpdate);
        QSignalSpy frame(PostMsg::Instance(), &PostMsg::SigUpdateFrame);
        PageSignals run;
        page->SetVer(0);
        QCOMPARE(marks.count(), bin ? 2 : 0);
        QCOMPARE(frame.count(), bin ? 1 : 0);
        if (bin) {
            QCOMPARE(marks.at(0), (QList<QVariant>{0, true}));
            QCOMPARE(marks.at(1), (QList<QVariant>{1, true}));
            QVERIFY(page->MouseHasNewFirmware() && page->ReceiverHasNewFirmware());
        }
        QCOMPARE(Dialog()->isVisible(), bin);
        QCOMPARE(Label("label_5"), QStringLiteral("v1.05"));
        QCOMPARE(Label("label_7"), QStringLiteral("v1.03"));
        QVERIFY(run.VersionShown(1, QStringLiteral("v1.05")));
        QVERIFY(run.VersionShown(0, QStringLiteral("v1.03")));
    }

    // The check made when a device opens: the dialog only when the upgrade can start or its message
    // asks for something the user can do at once; otherwise the Upgrade button stays as the mark and
    // tells the reason when pressed. A model the upgrade cannot serve is offered nothing.
    void checkAtOpening_data()
    {
        QTest::addColumn<int>("opened");
        QTest::addColumn<bool>("cable");
        QTest::addColumn<bool>("bin");
        QTest::addColumn<bool>("receiverTooMany");
        QTest::addColumn<QString>("dialogAtOpen"); // empty: no dialog
        QTest::addColumn<bool>("mark");
        QTest::addColumn<QString>("upgradeSays"); // what the Upgrade button's press shows

        QTest::newRow("receiver alone") << Receiver << false << true << false << QString() << true << Text("NoUSB");
        QTest::newRow("receiver and the mouse on its cable")
            << WirelessCable << true << true << false << DialogText("ReadyUpdate") << true << DialogText("ReadyUpdate");
        QTest::newRow("a receiver too many") << WirelessCable << true << true << true << Text("MultiDongle") << true
                                             << Text("MultiDongle");
        QTest::newRow("wired-only mouse beside another model's receiver")
            << WiredMouse << false << true << false << QString() << false << QString();
        QTest::newRow("nothing in bin") << Receiver << false << false << false << QString() << false << QString();
    }
    void checkAtOpening()
    {
        QFETCH(int, opened);
        QFETCH(bool, cable);
        QFETCH(bool, bin);
        QFETCH(bool, receiverTooMany);
        QFETCH(QString, dialogAtOpen);
        QFETCH(bool, mark);
        QFETCH(QString, upgradeSays);
        if (bin)
            program->Write(QStringLiteral("wired.bin"), {210, 19, 1, 0x03, "KestroPlus-Wired"});
        else
            program->RemoveBin();
        SimControl_SetAttached(WirelessCable, cable ? 1 : 0);
        QVERIFY(SettleDevices());
        const QString mouseVersion = opened == WiredMouse ? QStringLiteral("v1.02") : QStringLiteral("v1.03");
        OpenDevice(opened, mouseVersion, opened == Receiver ? QStringLiteral("v1.05") : QString());
        if (receiverTooMany)
            FoundDeviceList << Fake(false, FirmwareRun::Mid, QStringLiteral("0xF5D2"));
        page->show();

        QSignalSpy marks(PostMsg::Instance(), &PostMsg::SigAddUpdate);
        page->SetVer(0);
        QCOMPARE(Dialog()->isVisible(), !dialogAtOpen.isEmpty());
        if (!dialogAtOpen.isEmpty())
            QCOMPARE(Message(), dialogAtOpen);
        QAbstractButton* upgrade = page->findChild<QAbstractButton*>(QStringLiteral("Receive_2"));
        QCOMPARE(upgrade->isVisible(), mark);
        bool marked = false;
        for (const QList<QVariant>& call : marks)
            marked = marked || call.at(1).toBool();
        QCOMPARE(marked, mark);
        QCOMPARE(FirmwareUpdateInProgress.load(), false);

        if (!mark)
            return;
        if (Dialog()->isVisible())
            QTest::mouseClick(Button("NewHong"), Qt::LeftButton);
        QVERIFY(!Dialog()->isVisible());
        QTest::mouseClick(upgrade, Qt::LeftButton);
        QVERIFY(Dialog()->isVisible());
        QCOMPARE(Message(), upgradeSays);
    }

    // The check of the attached devices before a run, one row per answer.
    void checkBeforeRun_data()
    {
        QTest::addColumn<Devices>("attached");
        QTest::addColumn<QString>("record");
        QTest::addColumn<bool>("receiverInBoot");
        QTest::addColumn<QStringList>("images");
        QTest::addColumn<bool>("result");
        QTest::addColumn<QString>("message");
        QTest::addColumn<int>("imageCount");

        const QStringList both{"receiver.bin", "mouse.bin"};
        const DeviceAllInfo mouse = Fake(true, FirmwareRun::Mid);
        const DeviceAllInfo receiver = Fake(false, FirmwareRun::Mid);
        QTest::newRow("nothing attached") << Devices{} << QString() << false << both << false << Text("Error") << 0;
        QTest::newRow("one mouse, no record") << Devices{mouse} << QString() << false << both << false << Text("NoRecieve") << 0;
        QTest::newRow("one receiver, no record") << Devices{receiver} << QString() << false << both << false << Text("NoUSB") << 0;
        QTest::newRow("receiver record, its receiver waits") << Devices{mouse} << "211,4,28,18" << true << both << true
                                                             << DialogText("ReadyUpdate") << 2;
        QTest::newRow("receiver record, only its image") << Devices{mouse} << "211,4,28,18" << true
                                                         << QStringList{"receiver.bin"} << true << DialogText("ReadyUpdate") << 1;
        QTest::newRow("receiver record, another model's mouse") << Devices{Fake(true, 19)} << "211,4,28,18" << true << both
                                                                << false << Text("NoUSB") << 0;
        QTest::newRow("mouse record, another model's receiver") << Devices{Fake(false, 19)} << "210,4,28,18" << false << both
                                                                << false << Text("NoRecieve") << 0;
        QTest::newRow("record of another customer") << Devices{mouse} << "211,4,29,18" << true << both << false
                                                    << Text("Error") << 0;
        QTest::newRow("record of another kind") << Devices{mouse} << "7,4,28,18" << true << both << false << Text("Error") << 0;
        QTest::newRow("receiver record, no image") << Devices{mouse} << "211,4,28,18" << true << QStringList{"mouse.bin"}
                                                   << false << Text("ErrorFile") << 0;
        QTest::newRow("receiver record, unknown receiver type") << Devices{mouse} << "211,3,28,18" << true << both << false
                                                                << Text("ErrorFile") << 0;
        QTest::newRow("receiver record, nothing waits") << Devices{mouse} << "211,4,28,18" << false << both << false
                                                        << Text("NoDevice") << 0;
        QTest::newRow("two, none wired") << Devices{receiver, Fake(false, FirmwareRun::Mid)} << QString() << false << both << false
                                         << Text("NoUSB") << 0;
        QTest::newRow("two, different models") << Devices{mouse, Fake(false, 19)} << QString() << false << both << false
                                               << Text("NoRecieve") << 0;
        QTest::newRow("two, no receiver type") << Devices{mouse, Fake(true, FirmwareRun::Mid)} << QString() << false << both << false
                                               << Text("NoRecieve") << 0;
        QTest::newRow("two, both images") << Devices{mouse, receiver} << QString() << false << both << true
                                          << DialogText("ReadyUpdate") << 2;
        QTest::newRow("two, receiver image") << Devices{mouse, receiver} << QString() << false << QStringList{"receiver.bin"}
                                             << true << DialogText("ReadyUpdate") << 1;
        QTest::newRow("two, mouse image") << Devices{mouse, receiver} << QString() << false << QStringList{"mouse.bin"}
                                          << true << DialogText("ReadyUpdate") << 1;
        QTest::newRow("two, no image") << Devices{mouse, receiver} << QString() << false << QStringList{} << false
                                       << Text("newTips") << 0;
        QTest::newRow("three, two receivers") << Devices{mouse, receiver, Fake(false, FirmwareRun::Mid)} << QString() << false << both
                                              << false << Text("MultiDongle") << 0;
        QTest::newRow("three, two mice") << Devices{mouse, receiver, Fake(true, FirmwareRun::Mid)} << QString() << false << both << false
                                         << Text("MultiMouse") << 0;
    }
    void checkBeforeRun()
    {
        QFETCH(Devices, attached);
        QFETCH(QString, record);
        QFETCH(bool, receiverInBoot);
        QFETCH(QStringList, images);
        QFETCH(bool, result);
        QFETCH(QString, message);
        QFETCH(int, imageCount);
        for (const QString& name : {QStringLiteral("receiver.bin"), QStringLiteral("mouse.bin")})
            if (!images.contains(name))
                QVERIFY(QFile::remove(AppPaths::ProgramFolder() + "/bin/" + name));
        if (receiverInBoot)
            QVERIFY(LeaveInBootMode(ReceiverImage()));
        if (!record.isEmpty())
            RegistryStore(MouseDriveTestKey()).SetValue(QStringLiteral("UpdateFailInfo"), record);
        DeviceAllInfo current = attached.value(0);
        current.modelIndex = 0;
        CurrentDeviceInfo.Set(current);
        FoundDeviceList = attached;
        page->SlotLabelText(0, QStringLiteral("v1.05"));
        page->SlotLabelText(1, QStringLiteral("v1.03"));
        ImageCount = 0;

        Dialog()->ResetView();
        const bool answer = page->ChechIsUpDate();
        if (answer)
            Dialog()->ShowReadyView();
        QCOMPARE(answer, result);
        QCOMPARE(Message(), message);
        if (result)
            QCOMPARE(ImageCount.load(), imageCount);
        else
            QCOMPARE(Button("NewHong_2")->text(), DialogText("OK"));
        QVERIFY(!FirmwareUpdateInProgress);
    }

    // The whole run from the settings page: receiver then mouse, with progress 0-50 then 50-100, the
    // new versions shown, "MouseVer" written, the device window kept while the devices reboot.
    void receiverThenMouse()
    {
        AttachMouseAndReceiver();
        PageSignals run;
        // The summary beside the page, and what it shows at the moment each new version appears.
        PreVier summary;
        QStringList shownWithVersion;
        connect(PostMsg::Instance(), &PostMsg::SigLabelText, &summary, [&](int index, QString) {
            const bool receiver = index == 0;
            shownWithVersion << summary.findChild<QLabel*>(receiver ? "DongleValue" : "MouseValue")->text()
                    + (summary.findChild<QLabel*>(receiver ? "DongleUp" : "MouseUp")->isHidden() ? "" : " marked");
        });
        // Whatever the devices report while they come and go, a new version never stands marked.
        QStringList markedNew;
        const auto lookAtMarks = [&] {
            for (const char* row : {"Dongle", "Mouse"}) {
                const QString version = summary.findChild<QLabel*>(QLatin1String(row) + "Value")->text();
                const bool marked = !summary.findChild<QLabel*>(QLatin1String(row) + "Up")->isHidden();
                if ((version == "v1.06" || version == "v1.04") && marked)
                    markedNew << version;
            }
        };
        // The mouse keeps its mark after the receiver's success, while it is written itself, until its
        // own new version shows.
        // A version report that comes meanwhile (a device back from its boot loader says what it runs,
        // or nothing yet) leaves the run's marks alone.
        bool mouseMarkedWhileWritten = false;
        bool busyWindowTried = false;
        connect(PostMsg::Instance(), &PostMsg::SigProgress, &summary, [&](int value, int view) {
            if (view == 0 && value == 55) {
                CurrentDeviceInfo.Update([](DeviceAllInfo& info) { info.firmwareVersion.clear(); });
                emit PostMsg::Instance()->SigSetver(0);
            }
            if (view == 0 && value == 60)
                mouseMarkedWhileWritten = !summary.findChild<QLabel*>("MouseUp")->isHidden();
            // A busy window: the library writes the rest of the mouse and reports its result while
            // the percents still wait to be shown, and the step timer comes first. The stage ends
            // only after they were shown.
            if (view == 0 && value == 52 && !busyWindowTried) {
                busyWindowTried = true;
                QElapsedTimer waited;
                waited.start();
                while (SimControl_GetFirmwareVersion(WirelessCable) != 0x0104 && waited.elapsed() < 10000)
                    QThread::msleep(10);
                SimControl_WaitIdle(5000);
                for (waited.restart(); waited.elapsed() < 1000; QThread::msleep(10))
                    page->onMouseCheckTimer();
            }
        });
        connect(PostMsg::Instance(), &PostMsg::SigAddUpdate, &summary, lookAtMarks);
        connect(PostMsg::Instance(), &PostMsg::SigAddVer, &summary, lookAtMarks);
        QList<int> bar{Dialog()->findChild<QProgressBar*>()->value()};
        connect(Dialog()->findChild<QProgressBar*>(), &QProgressBar::valueChanged, &summary, [&](int value) { bar << value; });
        StartFromTheDialog();
        QVERIFY(FirmwareUpdateInProgress);
        QVERIFY(!FollowDeviceRemoval);
        // Devices come and go while they are written: neither the notices nor a check touch the run.
        QVERIFY(FirmwareCheckAvailable && !FirmwareCheckAvailable());
        page->SetVer(4);
        QVERIFY(page->Sequence().receiverRun);
        QVERIFY(WaitForEnd());

        QCOMPARE(run.Percentages(), Range(0, 50) + Range(50, 100));
        // The bar moves through every percent, not in jumps.
        std::sort(bar.begin(), bar.end());
        bar.erase(std::unique(bar.begin(), bar.end()), bar.end());
        QCOMPARE(bar, Range(0, 100));
        QCOMPARE(run.Ends(), QList<int>{2});
        QCOMPARE(run.Labels(), (QStringList{"0 v1.06", "1 v1.04"}));
        // The new-firmware mark goes as the new version is shown.
        QCOMPARE(shownWithVersion, (QStringList{"v1.06", "v1.04"}));
        QCOMPARE(markedNew, QStringList());
        QVERIFY(mouseMarkedWhileWritten);
        QVERIFY(run.VersionShown(1, QStringLiteral("v1.06")));
        QVERIFY(run.VersionShown(0, QStringLiteral("v1.04")));
        QCOMPARE(run.mainDialog.count(), 0);
        QCOMPARE(Label("label_5"), QStringLiteral("v1.06"));
        QCOMPARE(Label("label_7"), QStringLiteral("v1.04"));
        QCOMPARE(Message(), DialogText("DialogUpgradeSuccess"));
        QCOMPARE(Dialog()->findChild<QProgressBar*>()->value(), 100);
        QCOMPARE(RegistryStore(MouseDriveTestKey()).Value(QStringLiteral("MouseVer2818")).toString(), QStringLiteral("v1.04"));
        QCOMPARE(FailRecord(), QString());
        QCOMPARE(LogLines(), 0);
        QCOMPARE(SimControl_GetReceiverFirmwareVersion(Receiver), uint16_t(0x0106));
        QCOMPARE(SimControl_GetFirmwareVersion(WirelessCable), uint16_t(0x0104));
        QVERIFY(!page->MouseHasNewFirmware() && !page->ReceiverHasNewFirmware());
        QString why;
        QVERIFY2(MouseWorksAfterwards(WirelessCable, &why), qPrintable(why));
    }

    // After a run left the receiver in its boot loader, the mouse on its cable opens with the repair
    // ready: the receiver waiting and the cable are one device waiting, and the repair writes the
    // receiver then the mouse.
    void cableRepairsTheWaitingReceiver()
    {
        AttachMouseAndReceiver();
        QVERIFY(LeaveInBootMode(ReceiverImage()));
        QCOMPARE(FoundDeviceList.size(), 1);
        RegistryStore(MouseDriveTestKey()).SetValue(QStringLiteral("UpdateFailInfo"), QStringLiteral("211,4,28,18"));
        PageSignals run;
        StartFromTheDialog();
        QVERIFY(WaitForEnd());

        QCOMPARE(run.Ends(), QList<int>{2});
        QCOMPARE(Message(), DialogText("DialogUpgradeSuccess"));
        QCOMPARE(FailRecord(), QString());
        QCOMPARE(SimControl_GetDeviceMode(Receiver), 1);
        QCOMPARE(SimControl_GetReceiverFirmwareVersion(Receiver), uint16_t(0x0106));
        QCOMPARE(SimControl_GetFirmwareVersion(WirelessCable), uint16_t(0x0104));
        QVERIFY(page->findChild<QWidget*>(QStringLiteral("toolButton_2"))->isHidden());
        QString why;
        QVERIFY2(MouseWorksAfterwards(WirelessCable, &why), qPrintable(why));
    }

    // A stage that fails halfway: its record, one log line, the failure shown, never the success,
    // the old version still shown, and the mouse still works.
    void failureHalfway_data()
    {
        QTest::addColumn<bool>("inMouseStage");
        QTest::addColumn<QString>("record");
        QTest::addColumn<QStringList>("labels");
        QTest::addColumn<QString>("receiverVersion");
        QTest::newRow("receiver stage") << false << "211,4,28,18" << QStringList{} << "v1.05";
        QTest::newRow("mouse stage") << true << "210,4,28,18" << QStringList{"0 v1.06"} << "v1.06";
    }
    void failureHalfway()
    {
        QFETCH(bool, inMouseStage);
        QFETCH(QString, record);
        QFETCH(QStringList, labels);
        QFETCH(QString, receiverVersion);
        AttachMouseAndReceiver();
        QMetaObject::Connection failLater;
        if (inMouseStage)
            failLater = connect(PostMsg::Instance(), &PostMsg::SigLabelText, PostMsg::Instance(),
                                [](int index, QString) {
                                    if (index == 0)
                                        SimControl_SetUpgradeOutcome(1);
                                },
                                Qt::DirectConnection);
        else
            SimControl_SetUpgradeOutcome(1);
        PageSignals run;
        StartFromTheDialog();
        QVERIFY(WaitForEnd());
        disconnect(failLater);

        QCOMPARE(run.Ends(), QList<int>{1});
        QCOMPARE(run.Labels(), labels);
        QCOMPARE(run.mainDialog.count(), 0);
        QCOMPARE(Message(), DialogText("DialogUpgradeFail"));
        QVERIFY(Button("CloseButton")->isEnabled());
        QCOMPARE(FailRecord(), record);
        QCOMPARE(LogLines(), 1);
        QCOMPARE(Label("label_5"), receiverVersion);
        QCOMPARE(Label("label_7"), QStringLiteral("v1.03"));
        QCOMPARE(SimControl_GetFirmwareVersion(WirelessCable), uint16_t(0x0103));
        QString why;
        QVERIFY2(MouseWorksAfterwards(WirelessCable, &why), qPrintable(why));
    }

    // The library refuses the start: the run ends as failed, logged, and the dialog can be closed.
    void refusedStart()
    {
        AttachMouseAndReceiver();
        SimControl_SetUpgradeOutcome(3);
        PageSignals run;
        StartFromTheDialog();
        QVERIFY(WaitForEnd());
        QCOMPARE(run.Ends(), QList<int>{1});
        QCOMPARE(Message(), DialogText("DialogUpgradeFail"));
        // Nothing was written: nothing waits for a repair, and the next start offers none.
        QCOMPARE(FailRecord(), QString());
        QCOMPARE(LogLines(), 1);
        QVERIFY(Button("CloseButton")->isEnabled());
        QTest::mouseClick(Button("CloseButton"), Qt::LeftButton);
        QVERIFY(!Dialog()->isVisible());
        QCOMPARE(SimControl_GetReceiverFirmwareVersion(Receiver), uint16_t(0x0105));
        QString why;
        QVERIFY2(MouseWorksAfterwards(WirelessCable, &why), qPrintable(why));
    }

    // Escape and the window's close while each stage writes: the dialog stays with its progress,
    // and the run ends as it would have.
    void closeWhileAStageWrites_data() { CloseWhileAStageWritesRows(); }
    void closeWhileAStageWrites()
    {
        QFETCH(int, percent);
        QFETCH(bool, escape);
        AttachMouseAndReceiver();
        PageSignals run;
        HoldAtProgress hold(percent, false);
        StartFromTheDialog();
        QVERIFY(hold.WaitHeld());
        if (escape)
            QTest::keyClick(Dialog(), Qt::Key_Escape);
        else
            Dialog()->close();
        QCoreApplication::processEvents();
        QVERIFY(Dialog()->isVisible());
        QCOMPARE(run.mainDialog.count(), 0);
        hold.Release();
        QVERIFY(WaitForEnd());
        QCOMPARE(run.Percentages(), Range(0, 50) + Range(50, 100));
        QCOMPARE(run.Ends(), QList<int>{2});
        QCOMPARE(Message(), DialogText("DialogUpgradeSuccess"));
        QCOMPARE(SimControl_GetReceiverFirmwareVersion(Receiver), uint16_t(0x0106));
        QCOMPARE(SimControl_GetFirmwareVersion(WirelessCable), uint16_t(0x0104));
        // Once the run has ended Escape closes it (through the cancel button's shortcut, which
        // clicks it a moment later).
        QTest::keyClick(Dialog(), Qt::Key_Escape);
        QTRY_VERIFY(!Dialog()->isVisible());
    }

    // The mouse's cable pulled at each moment of the mouse stage: the receiver is upgraded, the mouse
    // keeps its firmware, and the dialog says the upgrade failed, never that it succeeded. A mouse
    // stage that began writing leaves its record; one that never began leaves none.
    void cablePulledInTheMouseStage_data()
    {
        QTest::addColumn<int>("pullBeforeStep");
        QTest::addColumn<int>("pullAtPercent");
        QTest::addColumn<QString>("record");
        QTest::newRow("before its start, as the receiver's result shows") << 4 << -1 << QString();
        QTest::newRow("before its start, as the mouse stage begins") << 1 << -1 << QString();
        QTest::newRow("at its start") << 2 << -1 << "210,4,28,18";
        QTest::newRow("half way") << -1 << 75 << "210,4,28,18";
    }
    void cablePulledInTheMouseStage()
    {
        QFETCH(int, pullBeforeStep);
        QFETCH(int, pullAtPercent);
        QFETCH(QString, record);
        AttachMouseAndReceiver();
        RegistryStore(MouseDriveTestKey()).Remove(QStringLiteral("MouseVer2818"));
        StepIntervalMs = 3600000;
        PageSignals run;
        const auto pull = [] { SimControl_SetAttached(WirelessCable, 0); };
        HoldAtProgress halfWay(pullAtPercent, false, pull, false);
        StartFromTheDialog();
        bool pulled = false;
        QVERIFY(DriveRun([&](int kind, int step) {
            const bool mouseMoment = pullBeforeStep == 4 ? kind == 211 && step == 4 : kind == 210 && step == pullBeforeStep;
            if (pulled || !mouseMoment)
                return;
            pulled = true;
            pull();
            if (step != 2)
                SettleDevices(); // the device window has heard that the cable is gone
        }));
        QCOMPARE(SimControl_GetDeviceMode(WirelessCable), 0);
        QVERIFY(!run.Ends().contains(2));
        QVERIFY(!run.Ends().isEmpty());
        QCOMPARE(Message(), DialogText("DialogUpgradeFail"));
        QCOMPARE(SimControl_GetReceiverFirmwareVersion(Receiver), uint16_t(0x0106));
        QCOMPARE(SimControl_GetFirmwareVersion(WirelessCable), uint16_t(0x0103));
        QCOMPARE(Label("label_7"), QStringLiteral("v1.03"));
        QCOMPARE(FailRecord(), record);
        QCOMPARE(LogLines(), 1);
        QVERIFY(!RegistryStore(MouseDriveTestKey()).Contains(QStringLiteral("MouseVer2818")));
        QVERIFY(Button("CloseButton")->isEnabled());
    }

    // The library reports a stage's success, but the device does not start the image and stays in
    // its boot loader: the stage failed, its record stays for the repair, one log line.
    void successTheDeviceDoesNotRun_data()
    {
        QTest::addColumn<bool>("inMouseStage");
        QTest::addColumn<QString>("record");
        QTest::newRow("receiver stage") << false << "211,4,28,18";
        QTest::newRow("mouse stage") << true << "210,4,28,18";
    }
    void successTheDeviceDoesNotRun()
    {
        QFETCH(bool, inMouseStage);
        QFETCH(QString, record);
        AttachMouseAndReceiver();
        RegistryStore(MouseDriveTestKey()).Remove(QStringLiteral("MouseVer2818"));
        QMetaObject::Connection later;
        if (inMouseStage)
            later = connect(PostMsg::Instance(), &PostMsg::SigLabelText, PostMsg::Instance(),
                            [](int index, QString) {
                                if (index == 0)
                                    SimControl_SetUpgradeOutcome(4);
                            },
                            Qt::DirectConnection);
        else
            SimControl_SetUpgradeOutcome(4);
        PageSignals run;
        StartFromTheDialog();
        QVERIFY(WaitForEnd());
        disconnect(later);
        QCOMPARE(run.Ends(), QList<int>{1});
        QCOMPARE(Message(), DialogText("DialogUpgradeFail"));
        QCOMPARE(FailRecord(), record);
        QCOMPARE(LogLines(), 1);
        QCOMPARE(SimControl_GetDeviceMode(inMouseStage ? WirelessCable : Receiver), 2);
        QCOMPARE(SimControl_GetFirmwareVersion(WirelessCable), uint16_t(0x0103));
        QCOMPARE(Label("label_7"), QStringLiteral("v1.03"));
        QVERIFY(!RegistryStore(MouseDriveTestKey()).Contains(QStringLiteral("MouseVer2818")));
    }

    // A mouse repair from the settings page writes the receiver first: its success leaves the mouse's
    // record, which goes only when the mouse runs its new firmware.
    void mouseRepairKeepsItsRecord_data() { MouseRepairRows(); }
    void mouseRepairKeepsItsRecord()
    {
        QFETCH(bool, mouseFails);
        ReceiverWithMouseWaiting();
        QString betweenStages;
        QMetaObject::Connection receiverDone = connect(PostMsg::Instance(), &PostMsg::SigLabelText, PostMsg::Instance(),
                                                       [&](int index, QString) {
                                                           if (index != 0)
                                                               return;
                                                           betweenStages = FailRecord();
                                                           if (mouseFails)
                                                               SimControl_SetUpgradeOutcome(1);
                                                       });
        QString duringMouse;
        HoldAtProgress mouseWrites(55, false, [&] { duringMouse = FailRecord(); }, false);
        PageSignals run;
        QTest::mouseClick(Button("NewHong_2"), Qt::LeftButton);
        QVERIFY(WaitForEnd());
        disconnect(receiverDone);
        QCOMPARE(SimControl_GetReceiverFirmwareVersion(Receiver), uint16_t(0x0106));
        QCOMPARE(betweenStages, QStringLiteral("210,4,28,18"));
        QCOMPARE(duringMouse, QStringLiteral("210,4,28,18"));
        QCOMPARE(run.Ends(), QList<int>{mouseFails ? 1 : 2});
        QCOMPARE(FailRecord(), mouseFails ? QStringLiteral("210,4,28,18") : QString());
        QCOMPARE(LogLines(), mouseFails ? 1 : 0);
        QCOMPARE(SimControl_GetDeviceMode(WirelessCable), mouseFails ? 2 : 1);
        QCOMPARE(SimControl_GetFirmwareVersion(WirelessCable), uint16_t(mouseFails ? 0x0103 : 0x0104));
    }

    // The mouse is asked for while its cable is gone (it reboots): the failure view, no run.
    void mouseAskedForWhileItReboots()
    {
        AttachMouseAndReceiver();
        FoundDeviceList.clear();
        PageSignals run;
        page->on_Mouse_clicked();
        QCOMPARE(run.Ends(), QList<int>{5});
        QVERIFY(!page->Sequence().mouseRun);
        QVERIFY(!FirmwareUpdateInProgress);
        QVERIFY(FollowDeviceRemoval);
    }

    // A start forgets the boot-device counts of every receiver type, type 2 too.
    void startForgetsEveryBootCount()
    {
        AttachMouseAndReceiver();
        program->Write(QStringLiteral("receiver2k.bin"), {211, FirmwareRun::Mid, 1, 0x06, "KestroPlus-Receiver2K"});
        QVERIFY(LeaveInBootMode(ReceiverImage()));
        page->ChechIsUpDate();
        ReceiverType = 2;
        page->RunUpgradeStep(0, 211, QStringLiteral("v1.05"));
        QCOMPARE(page->Sequence().bootCount2, 1);
        page->on_Start();
        QCOMPARE(page->Sequence().bootCount2, 0);
        QVERIFY(WaitForEnd());
    }
};

QTEST_MAIN(TestSettingsUpgrade)
#include "tst_settingsupgrade.moc"
