#include "support/DeviceThreadTestMain.h"
#include "app/InportFail.h"
#include "app/UpDataParam.h"
#include "device/DeviceDiscovery.h"
#include "device/DeviceState.h"
#include "pages/buttons/Buttoninterface.h"
#include "support/SimulatedDeviceFixture.h"
#include "widgets/SettingsWait.h"
#include "widgets/UiTextTables.h"
#include "window/BusRecorder.h"

#include <QApplication>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <functional>

namespace {

QByteArray Bytes(const FlashDataMap& record)
{
    return QByteArray(reinterpret_cast<const char*>(record.bytes()), int(sizeof record));
}

// Ways the device can leave while an import waits: the receiver unplugged, its mouse out of range,
// and the connection closed while the receiver and mouse still answer (the record then cannot reach
// the mouse although the device looked present).
using Leave = std::function<void(int device)>;
Leave Unplug()
{
    return [](int device) { SimControl_SetAttached(device, 0); };
}
Leave OutOfRange()
{
    return [](int device) { SimControl_SetMouseOnline(device, 0); };
}
Leave CloseConnection()
{
    return [](int) { UsbServer_Exit(); };
}

// Notes every modal notice other than the wait itself, and closes it.
class NoticeWatch : public QObject
{
public:
    QStringList shown;
    NoticeWatch()
    {
        connect(&poll, &QTimer::timeout, this, [this] {
            QWidget* modal = QApplication::activeModalWidget();
            if (!modal || qobject_cast<UpDataParam*>(modal))
                return;
            shown << QString::fromLatin1(modal->metaObject()->className());
            modal->close();
        });
        poll.start(20);
    }

private:
    QTimer poll;
};

} // namespace

Q_DECLARE_METATYPE(Leave)

// An import meets a device that went away: while the file was being chosen, or during the wait
// before the record is sent. The user then sees the offline notice, never the success path, and the
// mouse and the working copy keep the record the mouse holds.
class TestImportDeviceAway : public QObject
{
    Q_OBJECT
    TestHome home;
    SimulatedDevices devices;
    QTemporaryDir files;
    BusRecorder* bus = nullptr;
    int receiver = -1;
    FlashDataMap held{};
    FlashDataMap imported{};
    QString importPath;

    // The receiver with its mouse is open and connected, its record in the working copy, and a
    // configuration file of other settings of its model is at importPath.
    void OpenReceiver()
    {
        receiver = devices.OpenDevice(false, &held);
        QVERIFY(receiver >= 0);
        DeviceAllInfo info;
        info.path = QString::fromLatin1(devices.Path(receiver));
        QCOMPARE(IdentifyDevice(&info, devices.Path(receiver).constData()), 1);
        CurrentDeviceInfo.Set(info);
        imported = held;
        imported.reportRate = 2;
        imported.dpiLevelCount = 3;
        imported.currentDpiLevel = 2;
        imported.debounceTime = 4;
        imported.sleepTime = 30;
        importPath = files.filePath("profile.bin");
        QVERIFY(Buttoninterface::WriteConfigFile(importPath, imported));
        bus->Clear();
        ImportResult = -1;
    }

    // The mouse and the working copy hold what they held before the import.
    void ExpectNothingChanged()
    {
        QVERIFY(SimControl_WaitIdle(5000));
        const QString differences = devices.RecordDifferences(receiver, held);
        QVERIFY2(differences.isEmpty(), qPrintable(differences));
        QCOMPARE(Bytes(DeviceConfigSnapshot()), Bytes(held));
        QVERIFY(DeviceConfigIsCurrent);
    }

private slots:
    void initTestCase()
    {
        home.MakeUserFolders();
        UiTextTables::Instance()->LoadUiTextTables();
        bus = new BusRecorder;
        UpDataParam::InstallAsSettingsWait();
    }
    void cleanupTestCase()
    {
        UsbServer_Exit();
        delete bus;
    }

    void deviceLeavesDuringTheWait_data()
    {
        QTest::addColumn<Leave>("leave");
        QTest::addColumn<int>("result");
        QTest::newRow("stays") << Leave() << 0;
        QTest::newRow("receiver unplugged") << Unplug() << int(ImportDeviceAway);
        QTest::newRow("mouse out of range") << OutOfRange() << int(ImportDeviceAway);
        QTest::newRow("record does not reach the mouse") << CloseConnection() << int(ImportDeviceAway);
    }
    void deviceLeavesDuringTheWait()
    {
        QFETCH(Leave, leave);
        QFETCH(int, result);
        OpenReceiver();
        NoticeWatch notices;
        {
            UpDataParam wait;
            wait.BeginWait();
            wait.SetImportFile(importPath);
            if (leave)
                QTimer::singleShot(200, &wait, [this, leave] { leave(receiver); });
            QTimer::singleShot(20000, &wait, &QDialog::reject); // ends a wait that never ends the test
            wait.exec();
        }
        QCOMPARE(ImportResult, result);
        QCOMPARE(notices.shown, QStringList());
        if (result == 0) {
            QVERIFY(SimControl_WaitIdle(5000));
            QCOMPARE(Bytes(devices.Record(receiver)), Bytes(imported));
            QCOMPARE(Bytes(DeviceConfigSnapshot()), Bytes(imported));
            QCOMPARE(bus->events, (QStringList{"SigSetver(4)", "SigUpDataLightUIA", "SigUpDataSensorUIB",
                                               "SigUpDataButtonUIC", "SigFormB()"}));
            return;
        }
        // The pages keep showing the record the mouse holds.
        QCOMPARE(bus->events, (QStringList{"SigSetver(4)", "SigMouseOffLineo(0)"}));
        ExpectNothingChanged();
    }

    // The file dialog may stay open for minutes: the device is asked again once a file was chosen.
    void deviceLeftWhileTheFileWasChosen_data()
    {
        QTest::addColumn<Leave>("leave");
        QTest::newRow("receiver unplugged") << Unplug();
        QTest::newRow("mouse out of range") << OutOfRange();
    }
    void deviceLeftWhileTheFileWasChosen()
    {
        QFETCH(Leave, leave);
        OpenReceiver();
        leave(receiver);
        NoticeWatch notices;
        SettingsWait::Request import;
        import.importPath = importPath;
        QVERIFY(SettingsWait::Run(import, {}));
        QCOMPARE(ImportResult, int(ImportDeviceAway));
        QCOMPARE(notices.shown, QStringList());
        QCOMPARE(bus->events, QStringList{"SigMouseOffLineo(0)"});
        ExpectNothingChanged();
    }
};

KESTRO_DEVICE_THREAD_TEST_MAIN(TestImportDeviceAway)
#include "tst_importdeviceaway.moc"
