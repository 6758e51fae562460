// Quitting while a firmware stage writes: the program window with the device window open runs the
// settings page's upgrade, the selection page runs a repair; every way of quitting is asked while
// a stage is held at 20 %. The quit is refused with a notice and the run ends as it would have.
#include "FirmwareRunFixture.h"

#include "app/Dialog.h"
#include "app/DialogChange.h"
#include "app/DialogMain.h"
#include "app/StartUp.h"
#include "device/DialogChangeLists.h"
#include "device/DeviceDiscovery.h"
#include "device/Worker.h"
#include "pages/settings/FormSetting.h"
#include "pages/settings/UpDateRepair.h"
#include "support/DeviceThreadTestMain.h"
#include "support/OpenInDeviceWindow.h"
#include "widgets/UpDateWarning.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLabel>
#include <csignal>

using namespace FirmwareRun;

namespace {

enum class QuitWay { DeviceWindowClose, TrayQuit, Terminate, SelectionPageExit };

QString DialogText(const char* key)
{
    return UiText::ForReader(UiLanguage, QStringLiteral("UpDateRepair"), QLatin1String(key));
}

// The notice that says an upgrade runs, when one shows.
UpDateWarning* RunningNotice()
{
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        auto* notice = qobject_cast<UpDateWarning*>(widget);
        if (notice && notice->isVisible()
            && notice->findChild<QLabel*>(QStringLiteral("label"))->text() == DialogText("UpgradeRunning"))
            return notice;
    }
    return nullptr;
}

} // namespace

class TestUpgradeQuit : public QObject, protected RunCase
{
    Q_OBJECT
    std::unique_ptr<DialogMain> window;

    // Every way of quitting, asked while the run is held; the window stays, a notice says why.
    void TryToQuit(QuitWay way)
    {
        switch (way) {
        case QuitWay::DeviceWindowClose:
            QVERIFY(QMetaObject::invokeMethod(window->DeviceWindow(), "on_CloseButton_clicked"));
            break;
        case QuitWay::TrayQuit:
            window->slotActionExitApp();
            break;
        case QuitWay::Terminate:
            std::raise(SIGTERM);
            break;
        case QuitWay::SelectionPageExit:
            QVERIFY(QMetaObject::invokeMethod(window->findChild<DialogChange*>(), "on_CloseButton_clicked"));
            break;
        }
        QVERIFY(QTest::qWaitFor([] { return RunningNotice() != nullptr; }, 10000));
        QVERIFY(!window->IsQuitting());
        QVERIFY(window->isVisible());
        QVERIFY(UpDateRepairInstance->isVisible());
        RunningNotice()->close();
    }

    // The dialog shows its ready view: the start is pressed, the run held at `percent` and a quit
    // tried; then the run goes on and ends as it would have: both devices back with their new firmware.
    void StartHeldAndTryToQuit(int percent, bool dialogRun, QuitWay way)
    {
        QCOMPARE(Message(), DialogText("ReadyUpdate"));
        HoldAtProgress hold(percent, dialogRun);
        QTest::mouseClick(Upgrade()->findChild<QAbstractButton*>(QStringLiteral("NewHong_2")), Qt::LeftButton);
        QVERIFY(hold.WaitHeld());
        TryToQuit(way);
        hold.Release();
        QVERIFY(WaitForEnd());
        QCOMPARE(Message(), DialogText("DialogUpgradeSuccess"));
        QCOMPARE(FailRecord(), QString());
        QCOMPARE(SimControl_GetDeviceMode(Receiver), 1);
        QCOMPARE(SimControl_GetDeviceMode(WirelessCable), 1);
        QCOMPARE(SimControl_GetReceiverFirmwareVersion(Receiver), uint16_t(0x0106));
        QCOMPARE(SimControl_GetFirmwareVersion(WirelessCable), uint16_t(0x0104));
    }

    UpDateRepair* Upgrade() const { return UpDateRepairInstance; }
    QString Message() const { return Upgrade()->findChild<QLabel*>(QStringLiteral("ToolText_2"))->text(); }

    DeviceAllInfo CableInfo() const
    {
        ConfigSetting* config = ConfigSetting::Instance();
        DeviceAllInfo info;
        info.path = QString::fromLocal8Bit(SimControl_DevicePath(WirelessCable));
        info.VID = config->GetValueList(QStringLiteral("Option"), QStringLiteral("VID")).value(0);
        info.PID = config->GetValueList(QStringLiteral("Option"), QStringLiteral("USB_PID")).value(0);
        info.status = 2;
        info.wired = true;
        info.online = true;
        info.CID = Cid;
        info.MID = Mid;
        info.firmwareVersion = QStringLiteral("v1.03");
        return info;
    }

    bool WaitForEnd() const
    {
        return QTest::qWaitFor(
                   [] { return SimControl_WaitIdle(1) && !UpgradeStage::RunUnderWay() && FollowDeviceRemoval; }, 20000)
            && SettleDevices();
    }

private slots:
    void initTestCase()
    {
        QVERIFY(StartCase());
        SettingsUpgrade::StepIntervalMs = 2;
    }

    void init()
    {
        StartTest();
        // The window reads its texts and pictures from the program folder: the shipped ones, beside
        // the test's own "bin".
        const QDir shipped(program->Shipped());
        for (const QString& entry : shipped.entryList(QDir::Dirs | QDir::Files | QDir::NoDotAndDotDot))
            if (entry != QLatin1String("bin"))
                QVERIFY(QFile::link(shipped.filePath(entry), program->Path() + QLatin1Char('/') + entry));
        // One mouse and its receiver: the wired-only model would make a repair ask for one mouse.
        SimControl_SetAttached(WiredMouse, 0);
        SimControl_SetAttached(WirelessCable, 1);
        QVERIFY(SettleDevices());
        DeviceWindowActive = 0;
        FollowDeviceRemoval = true;
        FirmwareUpdateInProgress = false;
        CurrentDeviceInfo.Set(DeviceAllInfo());
    }

    void cleanup()
    {
        if (window && !window->IsQuitting())
            window->slotActionExitApp();
        QVERIFY(!window || window->IsQuitting());
        window.reset();
        StopUsbChanged();
        QVERIFY(SettleDevices());
        program.reset();
        DeviceWindowActive = 0;
        FollowDeviceRemoval = true;
    }

    // The settings page's upgrade of receiver and mouse, held at 20 % of each stage.
    void quitDuringTheSettingsPageUpgrade_data()
    {
        QTest::addColumn<int>("percent");
        QTest::addColumn<int>("way");
        for (int percent : {10, 60}) {
            const QString stage = percent == 10 ? "receiver stage, " : "mouse stage, ";
            QTest::newRow(qPrintable(stage + "device window closed")) << percent << int(QuitWay::DeviceWindowClose);
            QTest::newRow(qPrintable(stage + "tray Quit")) << percent << int(QuitWay::TrayQuit);
            QTest::newRow(qPrintable(stage + "SIGTERM")) << percent << int(QuitWay::Terminate);
        }
    }
    void quitDuringTheSettingsPageUpgrade()
    {
        QFETCH(int, percent);
        QFETCH(int, way);
        window = std::make_unique<DialogMain>();
        window->show();
        StartUp::CloseOnTerminationSignals(window.get());
        window->SlotChangeMainDialog(1);
        QVERIFY(OpenInDeviceWindow(CableInfo()));
        QVERIFY(QTest::qWaitFor([] { return FoundDeviceList.size() == 2; }, 10000));
        auto* settings = window->DeviceWindow()->findChild<FormSetting*>();
        QVERIFY(settings);
        settings->SetVer(0);
        QVERIFY(Upgrade()->isVisible());
        StartHeldAndTryToQuit(percent, false, QuitWay(way));
        if (QTest::currentTestFailed())
            return;
        QCOMPARE(window->CurrentPage(), 1);
        // Once the run has ended the program quits.
        window->slotActionExitApp();
        QVERIFY(window->IsQuitting());
    }

    // The selection page's repair of a receiver left in its boot loader, held at 20 % of each stage
    // while the page's exit is pressed.
    void quitDuringARepair_data()
    {
        QTest::addColumn<int>("percent");
        QTest::addColumn<int>("way");
        QTest::newRow("receiver stage, selection page exit") << 10 << int(QuitWay::SelectionPageExit);
        QTest::newRow("mouse stage, selection page exit") << 60 << int(QuitWay::SelectionPageExit);
        QTest::newRow("mouse stage, tray Quit") << 60 << int(QuitWay::TrayQuit);
    }
    void quitDuringARepair()
    {
        QFETCH(int, percent);
        QFETCH(int, way);
        QVERIFY(LeaveInBootMode(ReceiverImage()));
        RegistryStore(MouseDriveTestKey()).SetValue(QStringLiteral("UpdateFailInfo"), QStringLiteral("211,4,28,18"));
        window = std::make_unique<DialogMain>();
        window->show();
        QVERIFY(QTest::qWaitFor([] { return ListedDevices.size() == 1 && ListedDevices.first().wired; }, 10000));
        auto* page = window->findChild<DialogChange*>();
        QVERIFY(page->findChild<QWidget*>(QStringLiteral("Repair"))->isVisible());
        QVERIFY(QMetaObject::invokeMethod(page, "on_Repair_clicked"));
        QVERIFY(Upgrade() && Upgrade()->isVisible());
        StartHeldAndTryToQuit(percent, true, QuitWay(way));
        if (QTest::currentTestFailed())
            return;
        QVERIFY(!page->findChild<QWidget*>(QStringLiteral("Repair"))->isVisible());
        QVERIFY(QMetaObject::invokeMethod(page, "on_CloseButton_clicked"));
        QVERIFY(window->IsQuitting());
    }
};

KESTRO_DEVICE_THREAD_TEST_MAIN(TestUpgradeQuit)
#include "tst_upgradequit.moc"
