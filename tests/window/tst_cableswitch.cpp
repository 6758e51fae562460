// The wireless mouse plugged in by its cable while the device window has it open through its
// receiver, and pulled out again: the window stays, the device the pages talk to follows the mouse,
// and the firmware upgrade that needs the cable can be started from the settings page.
#include "support/DeviceThreadTestMain.h"
#include "app/Dialog.h"
#include "app/DialogChange.h"
#include "app/DialogMain.h"
#include "app/UpDataParam.h"
#include "app/mytoolButtonEnter.h"
#include "device/ConnectionState.h"
#include "device/DeviceDiscovery.h"
#include "device/DeviceInfoCache.h"
#include "device/DeviceReportCallback.h"
#include "device/DeviceState.h"
#include "device/DialogChangeLists.h"
#include "device/PostMsg.h"
#include "device/Worker.h"
#include "pages/advanced/Advanced.h"
#include "pages/sensor/Sensor.h"
#include "pages/settings/FormSetting.h"
#include "pages/settings/FormSettingFirmware.h"
#include "pages/settings/UpDateRepair.h"
#include "support/FindChild.h"
#include "support/LanguageRows.h"
#include "support/SettleDevices.h"
#include "support/SimulatedDeviceFixture.h"
#include "widgets/UiText.h"
#include "widgets/UiTextTables.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QPointer>
#include <QProgressBar>
#include <QSpinBox>
#include <QStackedWidget>
#include <QToolButton>
#include <QtTest>

#include <memory>

namespace {

// The shipped description's devices.
constexpr int Receiver = 0;      // the receiver with the wireless mouse (Mouse 1), status 1
constexpr int WirelessCable = 2; // the same mouse on its own cable, unplugged at start

QByteArray Bytes(const FlashDataMap& record)
{
    return QByteArray(reinterpret_cast<const char*>(record.bytes()), int(sizeof record));
}

// Notes every modal dialog that opens and closes the ones that would wait for a user: the settings
// wait ends by itself and is left to do so; the firmware dialog the version check opens is closed
// while `closeFirmwareDialog` is set.
class ModalWatcher : public QObject
{
public:
    ModalWatcher()
    {
        connect(&timer, &QTimer::timeout, this, [this] {
            QWidget* modal = QApplication::activeModalWidget();
            if (!modal)
                return;
            const QString name = QString::fromLatin1(modal->metaObject()->className());
            if (modal != last) {
                last = modal;
                seen << name;
            }
            if (qobject_cast<UpDataParam*>(modal) || (qobject_cast<UpDateRepair*>(modal) && !closeFirmwareDialog))
                return;
            modal->close();
        });
        timer.start(5);
    }
    QStringList seen;
    bool closeFirmwareDialog = true;

private:
    QPointer<QWidget> last;
    QTimer timer;
};

} // namespace

class TestCableSwitch : public QObject
{
    Q_OBJECT
    TestHome home;
    SimulatedDevices devices;
    std::unique_ptr<DialogMain> window;
    std::unique_ptr<ModalWatcher> modals;
    std::unique_ptr<QSignalSpy> pageChanges;
    // The mouse's record as the description gives it; its flash outlives a reset of the library.
    FlashDataMap described{};

    Dialog* Frame() const { return window->findChild<Dialog*>(); }
    Sensor* SensorPage() const { return window->findChild<Sensor*>(); }
    FormSetting* SettingsPage() const { return window->findChild<FormSetting*>(); }
    QString Path(int device) const { return QString::fromLocal8Bit(devices.Path(device)); }

    // The record the mouse holds, changed on the mouse itself (nothing is reported): what the pages
    // show afterwards came from a read made after the change.
    FlashDataMap ChangeOnTheMouse(uint8_t level, uint8_t rate)
    {
        FlashDataMap record = devices.Record(Receiver);
        record.currentDpiLevel = level;
        record.reportRate = rate;
        SimControl_SetDeviceRecord(Receiver, record.bytes());
        return record;
    }

    static bool WaitShows()
    {
        const QWidgetList windows = QApplication::topLevelWidgets();
        return std::any_of(windows.cbegin(), windows.cend(),
                           [](QWidget* window) { return qobject_cast<UpDataParam*>(window) && window->isVisible(); });
    }

    // `device` is current and a whole record read through it after it became current is the working
    // copy; the settings wait of that read has ended.
    bool ReadThrough(int device, const FlashDataMap& expected) const
    {
        return QTest::qWaitFor(
            [&] {
                return CurrentDeviceInfo.Get().path == Path(device) && QByteArray(CurrentDevicePath.load()) == devices.Path(device)
                    && DeviceConfigIsCurrent && Bytes(DeviceConfigSnapshot()) == Bytes(expected) && !WaitShows();
            },
            30000);
    }

    // What the device window shows of the connection, the sensor page and the summary; empty when
    // all of it is the device's (a cable, or a receiver of status 1 that offers 2000 and 4000 Hz).
    QString Shown(bool cable, int dpi) const
    {
        QStringList wrong;
        const QString connection = Child<QLabel>(*Frame(), "label_4")->styleSheet();
        if (!connection.contains(cable ? "OnLineUsb.png" : "OnLineWifi.png"))
            wrong << "connection picture: " + connection;
        const auto* mode = Child<QComboBox>(*SensorPage(), "ModelChoose");
        // A cable runs the sensor as "Corded", which cannot be chosen.
        if ((mode->currentIndex() == 2) != cable || mode->isEnabled() == cable)
            wrong << QStringLiteral("sensor mode %1, enabled %2").arg(mode->currentIndex()).arg(mode->isEnabled());
        for (const char* rate : {"Button2000HZ", "Button4000HZ"})
            if (Child<QToolButton>(*SensorPage(), rate)->isVisibleTo(SensorPage()) == cable)
                wrong << QString::fromLatin1(rate) + (cable ? " shows on a cable" : " hidden on the receiver");
        const int spin = Child<QSpinBox>(*SensorPage(), "spinBoxA")->value();
        if (spin != dpi)
            wrong << QStringLiteral("sensor page shows %1 DPI, not %2").arg(spin).arg(dpi);
        // The long-range mode belongs to the receiver.
        const auto* advanced = window->findChild<Advanced*>();
        if (Child<QWidget>(*advanced, "FrameLongMode")->isVisibleTo(advanced) == cable)
            wrong << QStringLiteral("long-range mode shown: %1").arg(!cable);
        const QString summary = Child<QLabel>(*window, "DpiValue")->text();
        if (summary != QString::number(dpi))
            wrong << "summary shows " + summary + " DPI";
        return wrong.join("; ");
    }

    mytoolButtonEnter* ButtonOf(int device) const
    {
        for (int k = 0; k < ListedDevices.size(); ++k)
            if (ListedDevices.at(k).path == Path(device))
                return window->findChild<mytoolButtonEnter*>(QStringLiteral("btn%1").arg(k));
        return nullptr;
    }

    void Shoot(const QString& name, int language, QWidget* shown = nullptr)
    {
        const QByteArray folder = qgetenv("KESTRO_CABLE_SHOTS");
        if (folder.isEmpty())
            return;
        QTest::qWait(200);
        QVERIFY((shown ? shown : window.get())->grab().save(QString::fromLocal8Bit(folder) + QStringLiteral("/cable-%1-%2.png").arg(name).arg(language)));
    }

    // The selection page lists the receiver; the user presses it and the device window opens on it.
    void OpenTheReceiver()
    {
        window = std::make_unique<DialogMain>();
        window->show();
        mytoolButtonEnter* button = nullptr;
        QTRY_VERIFY_WITH_TIMEOUT(button = ButtonOf(Receiver), 15000);
        button->click();
        QCOMPARE(window->CurrentPage(), 1);
        QVERIFY(ReadThrough(Receiver, devices.Record(Receiver)));
        QVERIFY(SettleDevices());
        pageChanges = std::make_unique<QSignalSpy>(PostMsg::Instance(), &PostMsg::SigChangeMainDialog);
    }

private slots:
    void initTestCase()
    {
        home.MakeUserFolders();
        UiTextTables::Instance()->LoadUiTextTables();
        SettingsUpgrade::StepIntervalMs = 2;
        described = devices.Record(Receiver);
    }

    void init()
    {
        devices.Reset();
        QVERIFY(SimControl_SetDeviceRecord(Receiver, described.bytes()));
        modals = std::make_unique<ModalWatcher>();
        FollowDeviceRemoval = true;
    }

    void cleanup()
    {
        DeviceWindowActive = 0;
        if (WorkerInstance)
            WorkerInstance->StopAndWait();
        StopUsbChanged();
        QVERIFY(SettleDevices());
        window.reset();
        modals.reset();
        pageChanges.reset();
        UsbServer_Exit();
        CurrentDeviceInfo.Set(DeviceAllInfo());
        FoundDeviceList.clear();
    }

    // Receiver open, cable plugged in: the window stays and reads the mouse through the cable; cable
    // pulled with the mouse still on its receiver: the window stays and reads it through the receiver.
    void cableInAndOut_data() { LanguageRows(); }
    void cableInAndOut()
    {
        QFETCH(int, language);
        UiLanguage = language;
        OpenTheReceiver();
        if (QTest::currentTestFailed())
            return;
        emit PostMsg::Instance()->SigAllLanguage(language);
        QTest::mouseClick(Child<QToolButton>(*Frame(), "SensorButton"), Qt::LeftButton);
        QTRY_COMPARE(Shown(false, 800), QString());
        Shoot("receiver", language);

        const DeviceAllInfo receiver = CurrentDeviceInfo.Get();
        const int reads = SimControl_ReadCount(HIDUSB_REPORT_PARAMETER);
        const int batteryReports = SimControl_ReadCount(HIDUSB_REPORT_BATTERY);
        const FlashDataMap onCable = ChangeOnTheMouse(3, 1);
        SimControl_SetAttached(WirelessCable, 1);
        QVERIFY(ReadThrough(WirelessCable, onCable));
        QVERIFY(SettleDevices());

        QCOMPARE(window->CurrentPage(), 1);
        QCOMPARE(pageChanges->count(), 0);
        QCOMPARE(DeviceWindowActive.load(), 1);
        const DeviceAllInfo cable = CurrentDeviceInfo.Get();
        QVERIFY(cable.wired);
        QCOMPARE(cable.address, receiver.address);
        QVERIFY(SimControl_ReadCount(HIDUSB_REPORT_PARAMETER) > reads);
        QVERIFY(SimControl_ReadCount(HIDUSB_REPORT_BATTERY) > batteryReports);
        QCOMPARE(Child<QLabel>(*Frame(), "label_2")->text().remove('%'), QStringLiteral("85"));
        QTRY_COMPARE(Shown(true, 3200), QString());
        // The cable's record is kept under the cable's name.
        const QString cacheName = DeviceCacheFileName(cable.CID, cable.MID);
        QCOMPARE(ReportCacheFileName.Get(), cacheName);
        QCOMPARE(CacheFileName.Get(), cacheName);
        // The mouse's firmware is read through the cable and the settings page offers the upgrade.
        QTRY_COMPARE_WITH_TIMEOUT(CurrentDeviceInfo.Get().firmwareVersion, VersionText(SimControl_GetFirmwareVersion(WirelessCable)), 10000);
        QTRY_VERIFY_WITH_TIMEOUT(SettingsPage()->MouseHasNewFirmware(), 10000);
        QCOMPARE(Child<QLabel>(*SettingsPage(), "label_7")->text(), QStringLiteral("v1.03"));
        Shoot("cable", language);
        QTest::mouseClick(Child<QToolButton>(*Frame(), "FormSetting"), Qt::LeftButton);
        Shoot("cable-settings", language);
        QTest::mouseClick(Child<QToolButton>(*Frame(), "PreButton"), Qt::LeftButton);
        Shoot("cable-summary", language);
        QTest::mouseClick(Child<QToolButton>(*Frame(), "SensorButton"), Qt::LeftButton);

        // Pulled out while the mouse still answers through its receiver.
        const FlashDataMap onReceiver = ChangeOnTheMouse(2, 1);
        SimControl_SetAttached(WirelessCable, 0);
        QVERIFY(ReadThrough(Receiver, onReceiver));
        QVERIFY(SettleDevices());
        QCOMPARE(window->CurrentPage(), 1);
        QCOMPARE(pageChanges->count(), 0);
        QVERIFY(!CurrentDeviceInfo.Get().wired);
        QTRY_COMPARE(Shown(false, 1600), QString());
        Shoot("receiver-again", language);

        // Leaving saves the last record the mouse gave under its name.
        QTest::mouseClick(Child<QToolButton>(*Frame(), "UpArrow"), Qt::LeftButton);
        QTRY_COMPARE(window->CurrentPage(), 0);
        FlashDataMap cached;
        QVERIFY(ReadDeviceInfoCache(cacheName, &cached));
        QCOMPARE(Bytes(cached), Bytes(onReceiver));
        QVERIFY2(!modals->seen.contains("MouseOffLine"), qPrintable(modals->seen.join(',')));
    }

    // The mouse's upgrade needs its cable: from the receiver's window, plugged in, the mouse's
    // version read through the cable brings up the upgrade, which runs, receiver first, while the
    // window stays with the mouse on its cable.
    void upgradeAfterTheCableSwitch()
    {
        OpenTheReceiver();
        if (QTest::currentTestFailed())
            return;
        QTRY_VERIFY(!QApplication::activeModalWidget());
        modals->closeFirmwareDialog = false;
        SimControl_SetAttached(WirelessCable, 1);
        QVERIFY(ReadThrough(WirelessCable, described));
        QTRY_VERIFY_WITH_TIMEOUT(SettingsPage()->MouseHasNewFirmware(), 10000);

        UpDateRepair* dialog = SettingsPage()->UpdateDialog();
        auto* start = Child<QToolButton>(*dialog, "NewHong_2");
        QTRY_VERIFY_WITH_TIMEOUT(dialog->isVisible() && start->isVisible() && !dialog->ShowsRun(), 10000);
        QVERIFY(SettleDevices());
        QVERIFY(start->isEnabled());
        Shoot("upgrade-ready", UiLanguage, dialog);
        QTest::mouseClick(start, Qt::LeftButton);
        QVERIFY(FirmwareUpdateInProgress);
        QVERIFY(QTest::qWaitFor([] { return SimControl_WaitIdle(1) && !FirmwareUpdateInProgress && FollowDeviceRemoval; }, 30000));
        QVERIFY(SettleDevices());

        QCOMPARE(SimControl_GetReceiverFirmwareVersion(Receiver), uint16_t(0x0106));
        QCOMPARE(SimControl_GetFirmwareVersion(WirelessCable), uint16_t(0x0104));
        QCOMPARE(SimControl_GetDeviceMode(WirelessCable), 1);
        QCOMPARE(window->CurrentPage(), 1);
        QCOMPARE(pageChanges->count(), 0);
        // The window goes on with the mouse on its cable.
        QTRY_COMPARE_WITH_TIMEOUT(CurrentDeviceInfo.Get().path, Path(WirelessCable), 10000);
        QVERIFY2(!modals->seen.contains("MouseOffLine"), qPrintable(modals->seen.join(',')));
    }
};

KESTRO_DEVICE_THREAD_TEST_MAIN(TestCableSwitch)
#include "tst_cableswitch.moc"
