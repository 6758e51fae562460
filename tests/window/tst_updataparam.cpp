#include "app/InportFail.h"
#include "app/UpDataParam.h"
#include "device/ConnectionState.h"
#include "device/DeviceDiscovery.h"
#include "device/DeviceInfoCache.h"
#include "device/DeviceReportCallback.h"
#include "device/DeviceState.h"
#include "device/Worker.h"
#include "support/FittingRecord.h"
#include "support/SimulatedDeviceFixture.h"
#include "widgets/UiText.h"
#include "widgets/UiTextTables.h"
#include "window/BusRecorder.h"
#include "window/ConfigFileWriter.h"

#include <QApplication>
#include <QLabel>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <cstring>
#include <functional>

namespace {

const QString CacheName = QStringLiteral("Device_CID1C_MID12.bin");

QByteArray Bytes(const FlashDataMap& record)
{
    return QByteArray(reinterpret_cast<const char*>(record.bytes()), int(sizeof record));
}

FlashDataMap Pattern(uint8_t seed)
{
    FlashDataMap record{};
    for (std::size_t i = 0; i < sizeof record; ++i)
        record.bytes()[i] = uint8_t(i * 13 + seed);
    record.dpiLevelCount = 5;
    record.currentDpiLevel = 2;
    return FittingRecord(record);
}

void SetPagesUpdated(bool updated)
{
    ButtonPageUpdated = updated;
    LightPageUpdated = updated;
    SensorPageUpdated = updated;
}

QByteArray CacheBytes()
{
    FlashDataMap cached;
    return ReadDeviceInfoCache(CacheName, &cached) ? Bytes(cached) : QByteArray();
}

QByteArray LastUpdate()
{
    FlashDataMap last{};
    return SimControl_LastUpdate(last.bytes()) ? Bytes(last) : QByteArray();
}

// Answers the next modal notice once it shows: inspect sees it, then it is closed.
void AnswerNextNotice(std::function<void(QWidget*)> inspect)
{
    auto* poll = new QTimer;
    poll->setInterval(20);
    QObject::connect(poll, &QTimer::timeout, [poll, inspect] {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal)
            return;
        poll->stop();
        poll->deleteLater();
        inspect(modal);
        modal->close();
    });
    poll->start();
}

} // namespace

// The settings wait: each way its 2500 ms timeout can end, and the import it performs.
class TestUpDataParam : public QObject
{
    Q_OBJECT
    TestHome home;
    SimulatedDevices devices;
    QTemporaryDir files;
    BusRecorder* bus = nullptr;

private slots:
    void initTestCase()
    {
        home.MakeUserFolders();
        UiTextTables::Instance()->LoadUiTextTables();
        bus = new BusRecorder;
        CacheFileName.Set(CacheName);
        ReportCacheFileName.Set(CacheName);
        CurrentDeviceInfo.Update([](DeviceAllInfo& info) { info.modelIndex = 0; });
    }
    void cleanupTestCase() { delete bus; }

    void init()
    {
        devices.Reset();
        bus->Clear();
        QFile::remove(DeviceCacheFolder() + CacheName);
        SetPagesUpdated(false);
        LastPassOnline = false;
        DeviceOnline = false;
        ImportResult = 0;
        AdoptDeviceConfig(Pattern(1));
    }

    void waitForPagesEndsWhenThePagesReported()
    {
        UpDataParam wait;
        wait.SetWaitForPages(true);
        SetPagesUpdated(true);
        wait.onTimeupDestroy();
        QCOMPARE(bus->events, QStringList{"SigSetver(4)"});
        // Reported flags are used up, so that a later wait waits for fresh reports.
        QVERIFY(!ButtonPageUpdated && !LightPageUpdated && !SensorPageUpdated);
        QVERIFY(!wait.WaitForPages());
    }

    void waitForPagesWithoutReportsRaisesTheOfflineNotice()
    {
        UpDataParam wait;
        wait.SetWaitForPages(true);
        ButtonPageUpdated = true;
        SensorPageUpdated = true; // the lighting page never reports
        wait.onTimeupDestroy();
        QCOMPARE(bus->events, (QStringList{"SigSetver(4)", "SigMouseOffLineo(0)"}));
        QVERIFY(!wait.WaitForPages());
    }

    void pagesReportingDuringTheWaitEndIt()
    {
        UpDataParam wait;
        wait.SetWaitForPages(true);
        // The records reach the pages while the wait keeps the event loop running.
        QTimer::singleShot(700, [] { SetPagesUpdated(true); });
        wait.onTimeupDestroy();
        QCOMPARE(bus->events, QStringList{"SigSetver(4)"});
    }

    // A wait whose dialog was closed early still ends on its timer. When a reload begins the next
    // wait meanwhile and the pages report, the reports are the next wait's: the earlier one leaves
    // them, and the next one ends on them instead of calling the mouse offline.
    void waitBegunDuringAnEarlierWaitKeepsItsReports_data()
    {
        QTest::addColumn<bool>("waitForPages");
        QTest::newRow("reload") << false;
        QTest::newRow("reload after a status change") << true;
    }
    void waitBegunDuringAnEarlierWaitKeepsItsReports()
    {
        QFETCH(bool, waitForPages);
        UpDataParam wait;
        wait.SetWaitForPages(waitForPages);
        LastPassOnline = true;
        QTimer::singleShot(0, &wait, [&wait, waitForPages] {
            wait.BeginWait();
            wait.SetWaitForPages(waitForPages);
            SetPagesUpdated(true);
        });
        wait.onTimeupDestroy();
        QVERIFY(ButtonPageUpdated && LightPageUpdated && SensorPageUpdated);
        QCOMPARE(wait.WaitForPages(), waitForPages);
        QCOMPARE(bus->events, QStringList{"SigSetver(4)"});

        // The next wait ends on its own timer, with the reports.
        QTRY_VERIFY_WITH_TIMEOUT(!ButtonPageUpdated, 15000);
        QTRY_VERIFY_WITH_TIMEOUT(!wait.WaitForPages(), 5000);
        QCOMPARE(bus->events, (QStringList{"SigSetver(4)", "SigSetver(4)"}));
    }

    void waitAfterAWaitForPagesShowsTheOfflineRecord()
    {
        UpDataParam wait;
        wait.SetWaitForPages(true);
        SetPagesUpdated(true);
        wait.onTimeupDestroy();
        bus->Clear();

        // The next wait is a plain one for a device that went offline, with stale reports set.
        const FlashDataMap cached = Pattern(9);
        QVERIFY(WriteDeviceInfoCache(CacheName, cached));
        SetPagesUpdated(true);
        wait.onTimeupDestroy();
        QCOMPARE(bus->events, (QStringList{"SigSetver(4)", "SigUpDataLightUIA", "SigUpDataSensorUIB", "SigUpDataButtonUIC",
                                           "SigFormB()", "SigMouseOffLineo(0)"}));
        for (const QByteArray& record : bus->records)
            QCOMPARE(record, Bytes(cached));
    }

    void waitAfterAWaitForPagesWritesTheFirstCacheFile()
    {
        UpDataParam wait;
        wait.SetWaitForPages(true);
        SetPagesUpdated(true);
        wait.onTimeupDestroy();
        bus->Clear();

        LastPassOnline = true;
        DeviceOnline = true;
        SetPagesUpdated(true);
        wait.onTimeupDestroy();
        QCOMPARE(bus->events, QStringList{"SigSetver(4)"});
        QCOMPARE(CacheBytes(), Bytes(Pattern(1)));
    }

    void firstReadOnlineWritesTheCacheFileOnce()
    {
        UpDataParam wait;
        LastPassOnline = true;
        DeviceOnline = true;
        SetPagesUpdated(true);
        wait.onTimeupDestroy();
        QCOMPARE(bus->events, QStringList{"SigSetver(4)"});
        QVERIFY(!ButtonPageUpdated && !LightPageUpdated && !SensorPageUpdated);
        QCOMPARE(CacheBytes(), Bytes(Pattern(1)));

        // A later read keeps the file.
        AdoptDeviceConfig(Pattern(2));
        SetPagesUpdated(true);
        wait.onTimeupDestroy();
        QCOMPARE(CacheBytes(), Bytes(Pattern(1)));
    }

    void readWithoutTheDevicesRecordWritesNoCacheFile()
    {
        // Another device was selected and its record has not arrived: the working copy is not its.
        InvalidateDeviceConfig();
        UpDataParam wait;
        LastPassOnline = true;
        DeviceOnline = true;
        SetPagesUpdated(true);
        wait.onTimeupDestroy();
        QVERIFY(CacheBytes().isEmpty());
    }

    void readWhosePagesNeverReportTimesOut()
    {
        UpDataParam wait;
        LastPassOnline = true;
        DeviceOnline = true;
        wait.onTimeupDestroy();
        QCOMPARE(bus->events, (QStringList{"SigSetver(4)", "SigMouseOffLineo(1)"}));
    }

    void offlineWithoutCacheOnlyRaisesTheNotice()
    {
        UpDataParam wait;
        wait.onTimeupDestroy();
        QCOMPARE(bus->events, (QStringList{"SigSetver(4)", "SigMouseOffLineo(0)"}));
    }

    void acceptedImportReachesTheDeviceAndThePages()
    {
        const FlashDataMap imported = Pattern(40);
        const QString path = files.filePath("accepted.bin");
        QVERIFY(ConfigFileWriter(imported).Write(path));
        // The receiver of the model the file was made for is open, its record not read yet.
        FlashDataMap held{};
        const int receiver = devices.OpenDevice(false, &held);
        QVERIFY(receiver >= 0);
        InvalidateDeviceConfig();

        UpDataParam wait;
        wait.SetImportFile(path);
        QVERIFY(wait.ImportPending());
        wait.onTimeupDestroy();

        QCOMPARE(ImportResult, 0);
        QCOMPARE(Bytes(DeviceConfigSnapshot()), Bytes(imported));
        QVERIFY(DeviceConfigIsCurrent);
        QCOMPARE(LastUpdate(), Bytes(imported));
        QVERIFY(SimControl_WaitIdle(5000));
        // The mouse keeps the record as it stores any record (its macro events in its own form).
        QByteArray raw(HIDUSB_RAW_IMAGE_SIZE, '\0');
        SimControl_EncodeImage(imported.bytes(), reinterpret_cast<uint8_t*>(raw.data()));
        FlashDataMap stored{};
        ProtocolDataParser(reinterpret_cast<const uint8_t*>(raw.constData()), &stored);
        QCOMPARE(Bytes(devices.Record(receiver)), Bytes(stored));
        QCOMPARE(bus->events, (QStringList{"SigSetver(4)", "SigUpDataLightUIA", "SigUpDataSensorUIB", "SigUpDataButtonUIC",
                                           "SigFormB()"}));
        for (const QByteArray& record : bus->records)
            QCOMPARE(record, Bytes(imported));
        QVERIFY(!wait.ImportPending());

        // The import is done: the next wait is a plain one again.
        bus->Clear();
        wait.onTimeupDestroy();
        QCOMPARE(bus->events, (QStringList{"SigSetver(4)", "SigMouseOffLineo(0)"}));
    }

    void refusedImportShowsWhyAndChangesNothing_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<int>("result");
        QTest::addColumn<QString>("key");
        QTest::newRow("cannot be opened") << "missing.bin" << 1 << "DialogConfigError";
        QTest::newRow("other sensor") << "other-sensor.bin" << 2 << "DialogEConfigMismatch";
        QTest::newRow("nine DPI levels") << "nine-levels.bin" << 2 << "DialogEConfigMismatch";
    }
    void refusedImportShowsWhyAndChangesNothing()
    {
        QFETCH(QString, file);
        QFETCH(int, result);
        QFETCH(QString, key);
        ConfigFileWriter otherSensor(Pattern(40));
        otherSensor.sensor = ConfigFileWriter::Field("3950");
        QVERIFY(otherSensor.Write(files.filePath("other-sensor.bin")));
        FlashDataMap nine = Pattern(40);
        nine.dpiLevelCount = 9;
        QVERIFY(ConfigFileWriter(nine).Write(files.filePath("nine-levels.bin")));

        UiLanguage = 2;
        QString shown;
        bool wasInportFail = false;
        AnswerNextNotice([&](QWidget* notice) {
            wasInportFail = qobject_cast<InportFail*>(notice) != nullptr;
            if (auto* label = notice->findChild<QLabel*>("label"))
                shown = label->text();
        });
        UpDataParam wait;
        wait.SetImportFile(files.filePath(file));
        wait.onTimeupDestroy();
        UiLanguage = 0;

        QCOMPARE(ImportResult, result);
        QVERIFY(wasInportFail);
        QCOMPARE(shown, UiText::ForReader(2, "InportFail", key));
        QVERIFY(!shown.isEmpty());
        QCOMPARE(Bytes(DeviceConfigSnapshot()), Bytes(Pattern(1)));
        QCOMPARE(SimControl_UpdateCount(), 0);
        QVERIFY(LastUpdate().isEmpty());
        QCOMPARE(bus->events, QStringList{"SigSetver(4)"});
        QVERIFY(!wait.ImportPending());
    }

    void waitRunsOnItsOwnAfterBeginWait()
    {
        UpDataParam wait;
        wait.SetWaitForPages(true);
        SetPagesUpdated(true);
        wait.BeginWait();
        QTimer::singleShot(15000, &wait, &QDialog::reject); // ends a wait that never ends the test
        wait.exec();
        QCOMPARE(bus->events, QStringList{"SigSetver(4)"});
        QVERIFY(!wait.isVisible());
    }

    void texts()
    {
        UpDataParam wait;
        for (int language : {1, 2, 0}) {
            emit PostMsg::Instance()->SigAllLanguage(language);
            const QString expected = UiText::ForReader(language, "UpDataParam", "DialogUpdating");
            QVERIFY(!expected.isEmpty());
            QCOMPARE(wait.findChild<QLabel*>("label")->text(), expected);
        }
        QCOMPARE(wait.size(), QSize(300, 140));
        QCOMPARE(wait.windowFlags() & ~Qt::Window, Qt::WindowFlags(0x6C12));
    }
};

QTEST_MAIN(TestUpDataParam)
#include "tst_updataparam.moc"
