// The upgrade dialog's own run: the repair check of an interrupted upgrade, the receiver then the
// mouse written on the simulated devices, and every kind of end.
#include "FirmwareRunFixture.h"

#include "app/DialogChange.h"
#include "device/DialogChangeLists.h"
#include "device/FirmwareImageSearch.h"
#include "device/PostMsg.h"
#include "pages/settings/UpDateRepair.h"
#include "widgets/UiText.h"
#include "widgets/UiTextTables.h"

#include <QAbstractButton>
#include <QLabel>
#include <QProgressBar>
#include <QSignalSpy>

using namespace FirmwareRun;

namespace {

QString Text(const char* key)
{
    return UiText::ForReader(UiLanguage, QStringLiteral("UpDateRepair"), QLatin1String(key));
}

DeviceAllInfo Listed(int device)
{
    DeviceAllInfo info;
    info.path = QString::fromLocal8Bit(SimControl_DevicePath(device));
    const uint8_t* ids = VidEzorarA_GetDeviceInfo(SimControl_DevicePath(device), 0);
    info.CID = ids[0];
    info.MID = ids[1];
    info.status = ids[2];
    info.wired = DeviceAllInfo::IsWiredStatus(info.status);
    info.modelIndex = info.MID == 19 ? 1 : 0;
    info.PID = device == Receiver ? QStringLiteral("0xF5D2") : QStringLiteral("0xF5D1");
    return info;
}

// What reaches the bus from a run, in order.
struct RunSignals {
    QSignalSpy progress{PostMsg::Instance(), &PostMsg::SigAutoRepairProgress};
    QSignalSpy result{PostMsg::Instance(), &PostMsg::SigAutoRepair};
    QSignalSpy button{PostMsg::Instance(), &PostMsg::SigUpDateButton};
    QSignalSpy views{PostMsg::Instance(), &PostMsg::SigProgress};

    QList<int> Progress() const
    {
        QList<int> values;
        for (const QList<QVariant>& call : progress)
            values << call.at(0).toInt();
        return values;
    }
    QList<int> Ends() const
    {
        QList<int> values;
        for (const QList<QVariant>& call : views)
            values << call.at(1).toInt();
        return values;
    }
};

} // namespace

class TestUpgradeRepair : public QObject, protected RunCase
{
    Q_OBJECT
    std::unique_ptr<UpDateRepair> dialog;

    QLabel* Message() const { return dialog->findChild<QLabel*>(QStringLiteral("ToolText_2")); }
    QAbstractButton* Button(const char* name) const { return dialog->findChild<QAbstractButton*>(QLatin1String(name)); }
    QProgressBar* Bar() const { return dialog->findChild<QProgressBar*>(QStringLiteral("progressBar_2")); }

    // The receiver stopped in boot mode by a failed upgrade (recorded), the mouse on its cable listed.
    void ReceiverWaitsWithMouseOnCable()
    {
        QVERIFY(LeaveInBootMode(ReceiverImage()));
        RegistryStore(MouseDriveTestKey()).SetValue(QStringLiteral("UpdateFailInfo"), QStringLiteral("211,4,28,18"));
        SimControl_SetAttached(WirelessCable, 1);
        QVERIFY(SettleDevices());
        ListedDevices = FoundDevices = {Listed(WirelessCable)};
    }

    bool WaitForEnd() const
    {
        return QTest::qWaitFor([] { return SimControl_WaitIdle(1) && UpgradeRunState.inProgress == 0; }, 10000)
            && SettleDevices();
    }

private slots:
    void initTestCase()
    {
        QVERIFY(StartCase());
        QVERIFY(!Text("OK").isEmpty());
        UpgradeStage::VersionWaitMs = 300;
    }

    void init()
    {
        dialog = std::make_unique<UpDateRepair>(nullptr);
        StartTest();
        ListedDevices.clear();
        FoundDevices.clear();
        WirelessPidList = QStringList{QStringLiteral("0xF5D2")};
        Wireless2PidList = QStringList{QStringLiteral("0xF5D3")};
        Wireless4PidList = QStringList{QStringLiteral("0xF5D4")};
        Wireless8PidList = QStringList{QStringLiteral("0xF5D5")};
        DeviceWindowActive = 0;
        FollowDeviceRemoval = true;
        dialog->ResetView();
    }

    void cleanup()
    {
        QVERIFY(SettleDevices());
        dialog.reset();
        program.reset();
        UpgradeRunState.inProgress = 0;
        UpgradeRunState.progressSeen = false;
        FollowDeviceRemoval = true;
        DeviceWindowActive = 0;
    }

    // The repair check, one row per reason it gives. Devices: which are listed (and found), which
    // wait in boot mode; images: which lie in "bin".
    void prepare_data()
    {
        QTest::addColumn<QString>("record");
        QTest::addColumn<Devices>("listed");
        QTest::addColumn<Devices>("alsoFound");
        QTest::addColumn<bool>("receiverInBoot");
        QTest::addColumn<bool>("receiverImage");
        QTest::addColumn<bool>("ready");
        QTest::addColumn<QString>("message");

        const DeviceAllInfo mouse = Fake(true, Mid);
        const DeviceAllInfo receiver = Fake(false, Mid, QStringLiteral("0xF5D4"));
        const QList<DeviceAllInfo> none;
        QTest::newRow("no record") << QString() << QList<DeviceAllInfo>{mouse} << none << true << true << false << QString();
        QTest::newRow("a three-part record is silent") << "210,1,3" << QList<DeviceAllInfo>{mouse} << none << true << true
                                                        << false << QString();
        QTest::newRow("receiver record, nothing listed") << "211,4,28,18" << none << none << true << true << false
                                                         << Text("NoUSB");
        QTest::newRow("mouse record, nothing listed") << "210,4,28,18" << none << none << true << true << false
                                                      << Text("NoRecieve");
        QTest::newRow("another kind, nothing listed") << "7,4,28,18" << none << none << true << true << false
                                                      << Text("NotDevice");
        QTest::newRow("two mice") << "211,4,28,18" << QList<DeviceAllInfo>{mouse, Fake(true, Mid)} << none << true << true
                                  << false << Text("MultiMouse");
        QTest::newRow("two receivers") << "211,4,28,18" << QList<DeviceAllInfo>{receiver, Fake(false, Mid)} << none
                                       << true << true << false << Text("MultiDongle");
        // Devices of other models are not spoken of: the mouse that failed does not wait, the
        // receiver that failed does, and the repair is ready.
        QTest::newRow("mouse record, a mouse of another model") << "210,4,28,18" << QList<DeviceAllInfo>{receiver, Fake(true, 19)}
                                                               << none << true << true << false << Text("NotDevice");
        QTest::newRow("receiver record, a receiver of another model")
            << "211,4,28,18" << QList<DeviceAllInfo>{Fake(false, 19, QStringLiteral("0xF5D4")), mouse}
            << QList<DeviceAllInfo>{} << true << true << true << Text("ReadyUpdate");
        QTest::newRow("receiver record, no mouse listed") << "211,4,28,18" << QList<DeviceAllInfo>{receiver}
                                                                   << none << true << true << false << Text("NoUSB");
        QTest::newRow("211,4,28,18 with the receiver waiting") << "211,4,28,18" << QList<DeviceAllInfo>{mouse} << none
                                                               << true << true << true << Text("ReadyUpdate");
        QTest::newRow("image, nothing waits") << "211,4,28,18" << QList<DeviceAllInfo>{mouse} << none << false << true
                                              << false << Text("NotDevice");
        QTest::newRow("image, a running receiver besides the waiting one")
            << "211,4,28,18" << QList<DeviceAllInfo>{mouse} << QList<DeviceAllInfo>{receiver} << true << true << false
            << Text("SameDevice");
        QTest::newRow("no image, nothing waits") << "211,4,28,18" << QList<DeviceAllInfo>{mouse} << none << false
                                                 << false << false << Text("ErrorFile");
        QTest::newRow("no image, one waits") << "211,4,28,18" << QList<DeviceAllInfo>{mouse} << none << true << false
                                             << false << Text("ErrorFile");
        QTest::newRow("no image, two wait") << "211,4,28,18" << QList<DeviceAllInfo>{mouse} << QList<DeviceAllInfo>{receiver}
                                            << true << false << false << Text("ErrorFile");
    }
    void prepare()
    {
        QFETCH(QString, record);
        QFETCH(QList<DeviceAllInfo>, listed);
        QFETCH(QList<DeviceAllInfo>, alsoFound);
        QFETCH(bool, receiverInBoot);
        QFETCH(bool, receiverImage);
        QFETCH(bool, ready);
        QFETCH(QString, message);
        if (!receiverImage)
            QVERIFY(QFile::remove(AppPaths::ProgramFolder() + "/bin/receiver.bin"));
        if (receiverInBoot)
            QVERIFY(LeaveInBootMode(ReceiverImage()));
        if (!record.isEmpty())
            RegistryStore(MouseDriveTestKey()).SetValue(QStringLiteral("UpdateFailInfo"), record);
        ListedDevices = listed;
        FoundDevices = listed + alsoFound;
        Message()->setText(QStringLiteral("untouched"));

        QCOMPARE(dialog->PrepareUpgrade(), ready);
        if (ready)
            dialog->ShowReadyView();
        QCOMPARE(Message()->text(), message.isEmpty() ? QStringLiteral("untouched") : message);
        if (!message.isEmpty() && !ready)
            QCOMPARE(Button("NewHong_2")->text(), Text("OK"));
        QCOMPARE(UpgradeRunState.inProgress.load(), 0);
        // A refused check starts nothing: pressing OK only closes.
        QSignalSpy started(PostMsg::Instance(), &PostMsg::SigUpdateStart);
        if (!ready) {
            dialog->show();
            QTest::mouseClick(Button("NewHong_2"), Qt::LeftButton);
            QVERIFY(!dialog->isVisible() || message.isEmpty());
            QCOMPARE(UpgradeRunState.inProgress.load(), 0);
        }
        QCOMPARE(started.count(), 0);
    }

    // A receiver left in boot mode, the program started again, the repair from the selection page:
    // receiver then mouse, progress 0-50 and 50-100, the record removed, the mouse working after.
    void repairAfterRestart()
    {
        QVERIFY(LeaveInBootMode(ReceiverImage()));
        RegistryStore(MouseDriveTestKey()).SetValue(QStringLiteral("UpdateFailInfo"), QStringLiteral("211,4,28,18"));
        ResetDevices(program->Shipped(), flash->path()); // the program and the library start again
        QCOMPARE(SimControl_GetDeviceMode(Receiver), 2);
        SimControl_SetAttached(WirelessCable, 1);
        QVERIFY(SettleDevices());
        ListedDevices = FoundDevices = {Listed(WirelessCable)};

        RunSignals run;
        QVERIFY(dialog->PrepareUpgrade());
        dialog->ShowReadyView();
        dialog->show();
        QTest::mouseClick(Button("NewHong_2"), Qt::LeftButton);
        QCOMPARE(UpgradeRunState.inProgress.load(), 1);
        QVERIFY(!FollowDeviceRemoval);
        QVERIFY(WaitForEnd());

        QCOMPARE(run.Progress(), Range(0, 50) + Range(50, 100));
        QCOMPARE(run.Ends(), QList<int>{2});
        QCOMPARE(run.result.count(), 1);
        QCOMPARE(run.result.first().at(0).toInt(), 0);
        QCOMPARE(Message()->text(), Text("DialogUpgradeSuccess"));
        QCOMPARE(Bar()->value(), 100);
        QCOMPARE(FailRecord(), QString());
        QCOMPARE(LogLines(), 0);
        QCOMPARE(SimControl_GetDeviceMode(Receiver), 1);
        QCOMPARE(SimControl_GetReceiverFirmwareVersion(Receiver), uint16_t(0x0106));
        QCOMPARE(SimControl_GetFirmwareVersion(WirelessCable), uint16_t(0x0104));
        QString why;
        QVERIFY2(MouseWorksAfterwards(WirelessCable, &why), qPrintable(why));
        // Closed at 100 %: the settings page hears of the new versions.
        QSignalSpy newVersions(PostMsg::Instance(), &PostMsg::SigSetNewVer);
        QTest::mouseClick(Button("NewHong_2"), Qt::LeftButton);
        QCOMPARE(newVersions.count(), 1);
        QVERIFY(!dialog->isVisible());
    }

    // The repair as the user makes it from the selection page. After a failed run the page offers it
    // while a device waits for it: with the receiver back on its old firmware the offer goes; with the
    // receiver in its boot loader (also after the program started again) it stays, says what it is in
    // every language, and its button opens the repair ready, whatever mouse of another model is
    // plugged in; the start writes the receiver then the mouse, and the offer goes away.
    void repairFromTheSelectionPage_data()
    {
        QTest::addColumn<int>("outcome"); // of the Space key's receiver upgrade; -1: none, a restart
        QTest::addColumn<bool>("offered");
        QTest::newRow("the receiver waits in its boot loader after a restart") << -1 << true;
        QTest::newRow("the receiver waits in its boot loader after a failed run") << 2 << true;
        QTest::newRow("the receiver came back working after a failed run") << 1 << false;
    }
    void repairFromTheSelectionPage()
    {
        QFETCH(int, outcome);
        QFETCH(bool, offered);
        if (outcome < 0) {
            QVERIFY(LeaveInBootMode(ReceiverImage()));
            RegistryStore(MouseDriveTestKey()).SetValue(QStringLiteral("UpdateFailInfo"), QStringLiteral("211,4,28,18"));
            ResetDevices(program->Shipped(), flash->path());
        } else {
            ListedDevices = FoundDevices = {Listed(Receiver)};
            SimControl_SetUpgradeOutcome(outcome);
            dialog->SetAutoUpdate(0);
            QVERIFY(WaitForEnd());
            QCOMPARE(Message()->text(), Text("DialogUpgradeFail"));
            dialog->hide();
        }
        QCOMPARE(FailRecord(), QStringLiteral("211,4,28,18"));
        QCOMPARE(SimControl_GetDeviceMode(Receiver), offered ? 2 : 1);
        SimControl_SetAttached(WirelessCable, 1);
        QVERIFY(SettleDevices());
        UpDateRepair* const before = UpDateRepairInstance;
        UpDateRepairInstance = nullptr;
        auto page = std::make_unique<DialogChange>();
        page->show();
        QVERIFY(SettleDevices());
        QCoreApplication::processEvents();
        // The mouse on its cable, and the wired-only mouse of another model, which the repair leaves alone.
        QCOMPARE(ListedDevices.size(), 2);
        auto* repair = page->findChild<QWidget*>(QStringLiteral("Repair"));
        QCOMPARE(repair->isVisible(), offered);
        std::unique_ptr<UpDateRepair> opened;
        if (offered) {
            for (int language = 0; language < 3; ++language) {
                emit PostMsg::Instance()->SigAllLanguage(language);
                QVERIFY(!repair->toolTip().isEmpty());
                QCOMPARE(repair->toolTip(), UiText::Text(language, QStringLiteral("home"), QStringLiteral("RepairTips")));
            }
            emit PostMsg::Instance()->SigAllLanguage(0);
            QVERIFY(QMetaObject::invokeMethod(page.get(), "on_Repair_clicked"));
            opened.reset(UpDateRepairInstance);
            QVERIFY(opened && opened->isVisible());
            QCOMPARE(opened->findChild<QLabel*>(QStringLiteral("ToolText_2"))->text(), Text("ReadyUpdate"));
            RunSignals run;
            QTest::mouseClick(opened->findChild<QAbstractButton*>(QStringLiteral("NewHong_2")), Qt::LeftButton);
            QVERIFY(WaitForEnd());
            QCOMPARE(run.Progress(), Range(0, 50) + Range(50, 100));
            QCOMPARE(opened->findChild<QLabel*>(QStringLiteral("ToolText_2"))->text(), Text("DialogUpgradeSuccess"));
            QVERIFY(!repair->isVisible());
            QCOMPARE(SimControl_GetReceiverFirmwareVersion(Receiver), uint16_t(0x0106));
        }
        QCOMPARE(FailRecord(), QString());
        QCOMPARE(SimControl_GetDeviceMode(Receiver), 1);
        QString why;
        QVERIFY2(MouseWorksAfterwards(WirelessCable, &why), qPrintable(why));
        StopUsbChanged();
        QVERIFY(SettleDevices());
        page.reset();
        opened.reset();
        UpDateRepairInstance = before;
    }

    // A stage that fails halfway: the four-number record of that stage, one log line, the failure
    // text, never the success; the device keeps its old firmware and the mouse still works.
    void failureHalfway_data()
    {
        QTest::addColumn<bool>("inMouseStage");
        QTest::addColumn<QString>("record");
        QTest::addColumn<QList<int>>("progress");
        QTest::newRow("receiver stage") << false << "211,4,28,18" << Range(0, 50, 50);
        QTest::newRow("mouse stage") << true << "210,4,28,18" << Range(0, 50) + Range(50, 100, 50);
    }
    void failureHalfway()
    {
        QFETCH(bool, inMouseStage);
        QFETCH(QString, record);
        QFETCH(QList<int>, progress);
        ReceiverWaitsWithMouseOnCable();
        // The mouse stage's failure is asked for once the receiver's last progress is reported.
        QMetaObject::Connection failLater;
        if (inMouseStage)
            failLater = connect(PostMsg::Instance(), &PostMsg::SigAutoRepairProgress, PostMsg::Instance(),
                                [](int value) {
                                    if (value == 50)
                                        SimControl_SetUpgradeOutcome(1);
                                },
                                Qt::DirectConnection);
        else
            SimControl_SetUpgradeOutcome(1);

        RunSignals run;
        QVERIFY(dialog->PrepareUpgrade());
        dialog->StartUpgrade();
        QVERIFY(WaitForEnd());
        disconnect(failLater);

        QCOMPARE(run.Progress(), progress);
        QCOMPARE(run.Ends(), QList<int>{6});
        QCOMPARE(run.button.count(), 1);
        QCOMPARE(run.button.first().at(0).toBool(), false);
        QCOMPARE(Message()->text(), Text("DialogUpgradeFail"));
        QVERIFY(Button("CloseButton")->isEnabled());
        QVERIFY(Button("NewHong")->isEnabled());
        QCOMPARE(FailRecord(), record);
        QCOMPARE(LogLines(), 1);
        QCOMPARE(SimControl_GetFirmwareVersion(WirelessCable), uint16_t(0x0103));
        QString why;
        QVERIFY2(MouseWorksAfterwards(WirelessCable, &why), qPrintable(why));
    }

    // The library refuses the start: the run ends as failed at once, the dialog can be closed.
    void refusedStart()
    {
        ReceiverWaitsWithMouseOnCable();
        QFile::remove(UpgradeRecord::LogPath());

        RunSignals run;
        QVERIFY(dialog->PrepareUpgrade());
        dialog->show();
        SimControl_SetUpgradeOutcome(3);
        dialog->StartUpgrade();
        QCoreApplication::processEvents();
        QCOMPARE(UpgradeRunState.inProgress.load(), 0);
        QVERIFY(FollowDeviceRemoval);
        QCOMPARE(run.Ends(), QList<int>{6});
        QCOMPARE(Message()->text(), Text("DialogUpgradeFail"));
        QCOMPARE(FailRecord(), QStringLiteral("211,4,28,18"));
        QCOMPARE(LogLines(), 1);
        QTest::mouseClick(Button("CloseButton"), Qt::LeftButton);
        QVERIFY(!dialog->isVisible());
        // A second start does nothing until the next check.
        dialog->StartUpgrade();
        QCOMPARE(UpgradeRunState.inProgress.load(), 0);
        QCOMPARE(SimControl_GetDeviceMode(Receiver), 2);
        QString why;
        QVERIFY2(MouseWorksAfterwards(WirelessCable, &why), qPrintable(why));
    }

    // The receiver stage succeeds with no mouse to follow: the run ends, nothing stays in progress.
    void receiverAloneEndsTheRun()
    {
        QVERIFY(LeaveInBootMode(ReceiverImage()));
        RegistryStore(MouseDriveTestKey()).SetValue(QStringLiteral("UpdateFailInfo"), QStringLiteral("211,4,28,18"));
        QVERIFY(QFile::remove(AppPaths::ProgramFolder() + "/bin/mouse.bin"));
        SimControl_SetAttached(WirelessCable, 1);
        QVERIFY(SettleDevices());
        ListedDevices = FoundDevices = {Listed(WirelessCable)};

        RunSignals run;
        QVERIFY(dialog->PrepareUpgrade());
        dialog->StartUpgrade();
        QVERIFY(WaitForEnd());
        QCOMPARE(run.Progress(), Range(0, 100));
        QCOMPARE(run.Ends(), QList<int>{2});
        QCOMPARE(UpgradeRunState.inProgress.load(), 0);
        QCOMPARE(SimControl_GetFirmwareVersion(WirelessCable), uint16_t(0x0103));
        // The selection page may ask again.
        RegistryStore(MouseDriveTestKey()).SetValue(QStringLiteral("UpdateFailInfo"), QStringLiteral("211,4,28,18"));
        dialog->SlotRepairCheckUpdate();
        QCOMPARE(Message()->text(), Text("NotDevice"));
    }

    // A search on the GUI thread between the receiver's success and the mouse stage (as the
    // selection page or the Space key make) leaves the receiver image in the shared list: the mouse
    // stage still writes the mouse image.
    void mouseStageWritesTheMouseImage()
    {
        ReceiverWaitsWithMouseOnCable();
        const QMetaObject::Connection search = connect(
            PostMsg::Instance(), &PostMsg::SigAutoRepairProgress, PostMsg::Instance(),
            [](int value) {
                if (value == 50)
                    FindFirmwareBin(211, QString(), QStringLiteral("KestroPlus-Receiver4K"), Cid, Mid);
            },
            Qt::DirectConnection);
        QVERIFY(dialog->PrepareUpgrade());
        dialog->StartUpgrade();
        QVERIFY(WaitForEnd());
        disconnect(search);
        QCOMPARE(FirmwareImageList::First(), MakeImage(ReceiverImage()));
        QCOMPARE(SimControl_GetFirmwareVersion(WirelessCable), uint16_t(0x0104));
        QCOMPARE(SimControl_GetReceiverFirmwareVersion(Receiver), uint16_t(0x0106));
    }

    // No image at all: no run, no success, the reason.
    void nothingToWrite()
    {
        ReceiverWaitsWithMouseOnCable();
        QVERIFY(dialog->PrepareUpgrade());
        program->RemoveBin();
        RunSignals run;
        dialog->StartUpgrade();
        QCoreApplication::processEvents();
        QCOMPARE(run.result.count(), 0);
        QCOMPARE(run.button.count(), 0);
        QCOMPARE(Message()->text(), Text("ErrorFile"));
        QCOMPARE(UpgradeRunState.inProgress.load(), 0);
        QVERIFY(FollowDeviceRemoval);
    }

    // The Space key's receiver upgrade: prepared from the listed receiver, started at once.
    void spaceKeyUpgradesTheReceiver()
    {
        ListedDevices = FoundDevices = {Listed(Receiver)};
        RunSignals run;
        dialog->SetAutoUpdate(0);
        QVERIFY(dialog->AutoStart());
        QVERIFY(WaitForEnd());
        QCOMPARE(run.Progress(), Range(0, 100));
        QCOMPARE(run.Ends(), QList<int>{2});
        QCOMPARE(Message()->text(), Text("DialogUpgradeSuccess"));
        QCOMPARE(SimControl_GetReceiverFirmwareVersion(Receiver), uint16_t(0x0106));
        QCOMPARE(FailRecord(), QString());
        QString why;
        QVERIFY2(MouseWorksAfterwards(Receiver, &why), qPrintable(why));
    }

    // Escape and the window's close while each stage writes: the dialog stays with its progress,
    // and the repair ends as it would have.
    void closeWhileAStageWrites_data() { CloseWhileAStageWritesRows(); }
    void closeWhileAStageWrites()
    {
        QFETCH(int, percent);
        QFETCH(bool, escape);
        ReceiverWaitsWithMouseOnCable();
        RunSignals run;
        HoldAtProgress hold(percent, true);
        QVERIFY(dialog->PrepareUpgrade());
        dialog->ShowReadyView();
        dialog->show();
        QTest::mouseClick(Button("NewHong_2"), Qt::LeftButton);
        QVERIFY(hold.WaitHeld());
        QSignalSpy closed(dialog.get(), &QDialog::finished);
        if (escape)
            QTest::keyClick(dialog.get(), Qt::Key_Escape);
        else
            dialog->close();
        QCoreApplication::processEvents();
        QVERIFY(dialog->isVisible());
        QCOMPARE(closed.count(), 0);
        hold.Release();
        QVERIFY(WaitForEnd());
        QCOMPARE(run.Progress(), Range(0, 50) + Range(50, 100));
        QCOMPARE(run.Ends(), QList<int>{2});
        QCOMPARE(Message()->text(), Text("DialogUpgradeSuccess"));
        QCOMPARE(FailRecord(), QString());
        QCOMPARE(SimControl_GetDeviceMode(Receiver), 1);
        QCOMPARE(SimControl_GetFirmwareVersion(WirelessCable), uint16_t(0x0104));
        dialog->close();
        QVERIFY(!dialog->isVisible());
    }

    // The library reports the receiver's success, but the receiver does not start the image and
    // stays in its boot loader: the repair failed, its record stays, one log line.
    void successTheDeviceDoesNotRun()
    {
        ReceiverWaitsWithMouseOnCable();
        RunSignals run;
        QVERIFY(dialog->PrepareUpgrade());
        SimControl_SetUpgradeOutcome(4);
        dialog->StartUpgrade();
        QVERIFY(WaitForEnd());
        QCOMPARE(run.Progress(), Range(0, 50));
        QCOMPARE(run.Ends(), QList<int>{6});
        QCOMPARE(Message()->text(), Text("DialogUpgradeFail"));
        QCOMPARE(FailRecord(), QStringLiteral("211,4,28,18"));
        QCOMPARE(LogLines(), 1);
        QCOMPARE(SimControl_GetDeviceMode(Receiver), 2);
        QCOMPARE(SimControl_GetFirmwareVersion(WirelessCable), uint16_t(0x0103));
    }

    // A mouse repair writes the receiver first: the mouse's record stays through the receiver's
    // success and goes only when the mouse runs its new firmware.
    void mouseRepairKeepsItsRecord_data() { MouseRepairRows(); }
    void mouseRepairKeepsItsRecord()
    {
        QFETCH(bool, mouseFails);
        SimControl_SetAttached(WirelessCable, 1);
        QVERIFY(SettleDevices());
        QVERIFY(LeaveInBootMode(MouseImage()));
        RegistryStore(MouseDriveTestKey()).SetValue(QStringLiteral("UpdateFailInfo"), QStringLiteral("210,4,28,18"));
        ListedDevices = FoundDevices = {Listed(Receiver)};
        QString duringMouse;
        HoldAtProgress mouseWrites(55, true,
                                   [&] {
                                       duringMouse = FailRecord();
                                   },
                                   false);
        QMetaObject::Connection failLater;
        if (mouseFails)
            failLater = connect(PostMsg::Instance(), &PostMsg::SigAutoRepairProgress, PostMsg::Instance(),
                                [](int value) {
                                    if (value == 50 && UpgradeRunState.stage == 0)
                                        SimControl_SetUpgradeOutcome(1);
                                },
                                Qt::DirectConnection);
        RunSignals run;
        QVERIFY(dialog->PrepareUpgrade());
        dialog->StartUpgrade();
        QVERIFY(WaitForEnd());
        disconnect(failLater);
        QCOMPARE(SimControl_GetReceiverFirmwareVersion(Receiver), uint16_t(0x0106));
        QCOMPARE(duringMouse, QStringLiteral("210,4,28,18"));
        QCOMPARE(run.Ends(), QList<int>{mouseFails ? 6 : 2});
        QCOMPARE(FailRecord(), mouseFails ? QStringLiteral("210,4,28,18") : QString());
        QCOMPARE(LogLines(), mouseFails ? 1 : 0);
        QCOMPARE(SimControl_GetDeviceMode(WirelessCable), mouseFails ? 2 : 1);
        QCOMPARE(SimControl_GetFirmwareVersion(WirelessCable), uint16_t(mouseFails ? 0x0103 : 0x0104));
    }

    // The Space key's upgrade refused by the library: nothing was written, so no record is left.
    void spaceKeyRefusedLeavesNoRecord()
    {
        ListedDevices = FoundDevices = {Listed(Receiver)};
        RunSignals run;
        SimControl_SetUpgradeOutcome(3);
        dialog->SetAutoUpdate(0);
        QCoreApplication::processEvents();
        QCOMPARE(run.Ends(), QList<int>{6});
        QCOMPARE(FailRecord(), QString());
        QCOMPARE(LogLines(), 1);
        QCOMPARE(UpgradeRunState.inProgress.load(), 0);
        QCOMPARE(SimControl_GetDeviceMode(Receiver), 1);
    }

    // The buttons while a stage reports progress, at 100 %, below it, and start with the device window.
    void buttons()
    {
        QSignalSpy newVersions(PostMsg::Instance(), &PostMsg::SigSetNewVer);
        QSignalSpy mainDialog(PostMsg::Instance(), &PostMsg::SigChangeMainDialog);
        QSignalSpy started(PostMsg::Instance(), &PostMsg::SigUpdateStart);
        dialog->show();
        dialog->ShowUpgradingView();
        dialog->SlotAutoRepairProgress(40);
        UpgradeRunState.progressSeen = true;
        for (const char* name : {"CloseButton", "NewHong", "NewHong_2"}) {
            QMetaObject::invokeMethod(dialog.get(), (QByteArray("on_") + name + "_clicked").constData());
            QVERIFY2(dialog->isVisible(), name);
        }
        QCOMPARE(newVersions.count() + mainDialog.count() + started.count(), 0);
        UpgradeRunState.progressSeen = false;

        DeviceWindowActive = 1;
        QMetaObject::invokeMethod(dialog.get(), "on_NewHong_clicked");
        QVERIFY(!dialog->isVisible());
        QCOMPARE(mainDialog.count(), 1);
        QCOMPARE(mainDialog.first().at(0).toInt(), 0);

        dialog->show();
        dialog->SlotProgress(0, 2);
        QMetaObject::invokeMethod(dialog.get(), "on_CloseButton_clicked");
        QVERIFY(!dialog->isVisible());
        QCOMPARE(newVersions.count(), 1);

        dialog->ResetView();
        dialog->show();
        QTest::mouseClick(Button("NewHong_2"), Qt::LeftButton);
        QCOMPARE(started.count(), 1);
        QCOMPARE(UpgradeRunState.inProgress.load(), 0);
        QVERIFY(SettleDevices());
        QCOMPARE(SimControl_GetDeviceMode(Receiver), 1);
    }
};

QTEST_MAIN(TestUpgradeRepair)
#include "tst_upgraderepair.moc"
