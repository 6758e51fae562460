// A program killed while a firmware stage writes: the device stays in its boot loader, the record
// of the stage stays, and the next start of the program offers the repair, which brings the device
// back with its new firmware.
#include "FirmwareRunFixture.h"

#include "app/DialogChange.h"
#include "device/DialogChangeLists.h"
#include "pages/settings/UpDateRepair.h"
#include "support/DeviceThreadTestMain.h"

#include <QAbstractButton>
#include <QLabel>
#include <QProcess>

using namespace FirmwareRun;

class TestUpgradeKill : public QObject, protected RunCase
{
    Q_OBJECT

private slots:
    void initTestCase() { QVERIFY(StartCase()); }

    void init()
    {
        StartTest();
        DeviceWindowActive = 0;
        FollowDeviceRemoval = true;
        UpgradeRunState.inProgress = 0;
    }

    void cleanup()
    {
        StopUsbChanged();
        QVERIFY(SettleDevices());
        program.reset();
    }

    // Killed at 20 % of each stage of the settings page's upgrade of receiver and mouse.
    void killedWhileAStageWrites_data()
    {
        QTest::addColumn<int>("value");
        QTest::addColumn<int>("device");
        QTest::addColumn<QString>("record");
        QTest::newRow("receiver stage") << 10 << Receiver << "211,4,28,18";
        QTest::newRow("mouse stage") << 60 << WirelessCable << "210,4,28,18";
    }
    void killedWhileAStageWrites()
    {
        QFETCH(int, value);
        QFETCH(int, device);
        QFETCH(QString, record);

        QProcess child;
        child.start(QStringLiteral(UPGRADE_KILL_HELPER), {program->Path(), flash->path(), QString::number(value)});
        QVERIFY(child.waitForStarted());
        QByteArray said;
        QVERIFY2(QTest::qWaitFor(
                     [&] {
                         said += child.readAllStandardOutput();
                         return said.contains("held") || child.state() != QProcess::Running;
                     },
                     60000),
                 "the upgrade never reached the stage");
        QCOMPARE(child.state(), QProcess::Running);
        child.kill();
        QVERIFY(child.waitForFinished(10000));
        QCOMPARE(child.exitStatus(), QProcess::CrashExit);

        // The program and its device library start again; the devices are as the kill left them.
        ResetDevices(program->Shipped(), flash->path());
        SimControl_SetAttached(WiredMouse, 0);
        SimControl_SetAttached(WirelessCable, 1);
        QVERIFY(SettleDevices());
        QCOMPARE(SimControl_GetDeviceMode(device), 2);
        QCOMPARE(FailRecord(), record);

        UpDateRepair* const before = UpDateRepairInstance;
        UpDateRepairInstance = nullptr;
        auto page = std::make_unique<DialogChange>();
        page->show();
        QVERIFY(SettleDevices());
        QVERIFY(QTest::qWaitFor([&] { return page->findChild<QWidget*>(QStringLiteral("Repair"))->isVisible(); }, 10000));
        QVERIFY(QMetaObject::invokeMethod(page.get(), "on_Repair_clicked"));
        std::unique_ptr<UpDateRepair> repair(UpDateRepairInstance);
        QVERIFY(repair && repair->isVisible());
        QCOMPARE(repair->findChild<QLabel*>(QStringLiteral("ToolText_2"))->text(),
                 UiText::ForReader(UiLanguage, QStringLiteral("UpDateRepair"), QStringLiteral("ReadyUpdate")));
        QTest::mouseClick(repair->findChild<QAbstractButton*>(QStringLiteral("NewHong_2")), Qt::LeftButton);
        QVERIFY(QTest::qWaitFor([] { return SimControl_WaitIdle(1) && UpgradeRunState.inProgress == 0; }, 20000));
        QVERIFY(SettleDevices());

        QCOMPARE(repair->findChild<QLabel*>(QStringLiteral("ToolText_2"))->text(),
                 UiText::ForReader(UiLanguage, QStringLiteral("UpDateRepair"), QStringLiteral("DialogUpgradeSuccess")));
        QCOMPARE(SimControl_GetDeviceMode(Receiver), 1);
        QCOMPARE(SimControl_GetDeviceMode(WirelessCable), 1);
        QCOMPARE(SimControl_GetReceiverFirmwareVersion(Receiver), uint16_t(0x0106));
        QCOMPARE(SimControl_GetFirmwareVersion(WirelessCable), uint16_t(0x0104));
        QCOMPARE(FailRecord(), QString());
        QVERIFY(!page->findChild<QWidget*>(QStringLiteral("Repair"))->isVisible());
        QString why;
        QVERIFY2(MouseWorksAfterwards(WirelessCable, &why), qPrintable(why));
        StopUsbChanged();
        QVERIFY(SettleDevices());
        page.reset();
        repair.reset();
        UpDateRepairInstance = before;
    }
};

KESTRO_DEVICE_THREAD_TEST_MAIN(TestUpgradeKill)
#include "tst_upgradekill.moc"
