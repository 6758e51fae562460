#include "support/DeviceThreadTestMain.h"
#include "app/Dialog.h"
#include "app/UpDataParam.h"
#include "device/ConnectionState.h"
#include "device/DeviceDiscovery.h"
#include "device/DeviceInfoCache.h"
#include "device/DeviceState.h"
#include "device/PostMsg.h"
#include "device/Worker.h"
#include "pages/buttons/Buttoninterface.h"
#include "support/SimulatedDeviceFixture.h"
#include "widgets/UiTextTables.h"
#include "window/BusRecorder.h"

#include <QApplication>
#include <QLabel>
#include <QMutex>
#include <QTemporaryDir>
#include <QToolButton>
#include <QtTest>

#include <memory>

namespace {

QByteArray Bytes(const FlashDataMap& record)
{
    return QByteArray(reinterpret_cast<const char*>(record.bytes()), int(sizeof record));
}

// Every message Qt is handed meanwhile, from any thread; the test's own handler comes back afterwards.
class MessageCatcher
{
public:
    MessageCatcher() { previous = qInstallMessageHandler(&MessageCatcher::Catch); }
    ~MessageCatcher() { qInstallMessageHandler(previous); }
    QStringList Lines() const
    {
        QMutexLocker lock(&mutex);
        return lines;
    }

private:
    static void Catch(QtMsgType, const QMessageLogContext&, const QString& text)
    {
        QMutexLocker lock(&mutex);
        lines.append(text);
    }
    static inline QMutex mutex;
    static inline QStringList lines;
    QtMessageHandler previous = nullptr;
};

// The wait dialog while it shows. Not only the active modal window: the version report may open the
// firmware dialog over it, as the shipped "bin" offers newer firmware for the simulated devices.
UpDataParam* OpenWait()
{
    for (QWidget* window : QApplication::topLevelWidgets())
        if (auto* wait = qobject_cast<UpDataParam*>(window); wait && wait->isVisible() && wait->isModal())
            return wait;
    return nullptr;
}

// Notes every settings wait that shows, however briefly: a fast read may close it again before a
// timer could look.
class WaitWatcher : public QObject
{
public:
    WaitWatcher() { qApp->installEventFilter(this); }
    ~WaitWatcher() override { qApp->removeEventFilter(this); }
    bool shown = false;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Show && qobject_cast<UpDataParam*>(watched))
            shown = true;
        return false;
    }
};

} // namespace

// The device window with a simulated receiver and its mouse: the first read ends the settings wait
// and leaves the cache file, an imported configuration reaches the mouse, and the up-arrow saves it.
class TestDeviceWindowSim : public QObject
{
    Q_OBJECT
    TestHome home;
    SimulatedDevices devices;
    QTemporaryDir files;

private slots:
    void initTestCase()
    {
        home.MakeUserFolders();
        UiTextTables::Instance()->LoadUiTextTables();
    }

    void openImportAndLeave()
    {
        const int device = devices.Find(false);
        QVERIFY(device >= 0);
        const QByteArray path = devices.Path(device);
        DeviceAllInfo info;
        info.path = QString::fromLatin1(path);
        QCOMPARE(IdentifyDevice(&info, path.constData()), 1);
        const QString cacheFile = DeviceCacheFolder() + DeviceCacheFileName(info.CID, info.MID);
        QVERIFY(!QFile::exists(cacheFile));

        // Opening a device is quiet: the frame, the connection and the wait print nothing.
        auto catcher = std::make_unique<MessageCatcher>();
        auto frame = std::make_unique<Dialog>();
        std::unique_ptr<Worker> ownWorker;
        if (!WorkerInstance)
            ownWorker = std::make_unique<Worker>();
        BusRecorder bus;

        // Stand in for the pages' record slots, which report that they applied the record.
        QObject pages;
        PostMsg* post = PostMsg::Instance();
        connect(post, &PostMsg::SigUpDataLightUIButton, &pages, [](FlashDataMap) { ButtonPageUpdated = true; },
                Qt::BlockingQueuedConnection);
        connect(post, &PostMsg::SigUpDataLightLight, &pages, [](FlashDataMap) { LightPageUpdated = true; },
                Qt::BlockingQueuedConnection);
        connect(post, &PostMsg::SigUpDataLightSensor, &pages, [](FlashDataMap) { SensorPageUpdated = true; },
                Qt::BlockingQueuedConnection);

        // The wait runs modally inside the frame's slot.
        WaitWatcher wait;
        // Open the device as the selection page does.
        DeviceWindowActive = 1;
        emit post->SigSelectMouseInfo(info);
        Worker::SelectDevice(info);
        QTRY_VERIFY_WITH_TIMEOUT(bus.events.contains("SigSetver(4)"), 30000);
        const QStringList printed = catcher->Lines();
        catcher.reset();
        QCOMPARE(printed, QStringList());
        QVERIFY(wait.shown);
        QCOMPARE(OpenWait(), nullptr);
        QVERIFY(!bus.events.contains("SigMouseOffLineo(1)"));
        QVERIFY(DeviceConfigIsCurrent);
        const FlashDataMap read = devices.Record(device);
        QCOMPARE(Bytes(DeviceConfigSnapshot()), Bytes(read));
        FlashDataMap cached;
        QVERIFY(ReadDeviceInfoCache(DeviceCacheFileName(info.CID, info.MID), &cached));
        QCOMPARE(Bytes(cached), Bytes(read));
        // The summary shows what the sensor page announced: level 2 of 400, 800, 1600, 3200.
        QCOMPARE(int(read.currentDpiLevel), 1);
        QCOMPARE(frame->findChild<QLabel*>("DpiValue")->text(), QString("800"));

        // Export other settings of this model from the button page and import them.
        FlashDataMap imported = read;
        imported.reportRate = 2;
        imported.dpiLevelCount = 3;
        imported.currentDpiLevel = 2;
        imported.debounceTime = 4;
        imported.sleepTime = 30;
        const QString importPath = files.filePath("profile.bin");
        QVERIFY(Buttoninterface::WriteConfigFile(importPath, imported));
        {
            UpDataParam importing;
            importing.BeginWait();
            importing.SetImportFile(importPath);
            QTimer::singleShot(20000, &importing, &QDialog::reject);
            importing.exec();
        }
        QCOMPARE(ImportResult, 0);
        QVERIFY(SimControl_WaitIdle(5000));
        QCOMPARE(Bytes(devices.Record(device)), Bytes(imported));
        QCOMPARE(frame->findChild<QLabel*>("DpiValue")->text(), QString("1600"));

        // Leave with the up-arrow: the imported record is what the cache file keeps.
        bus.Clear();
        QTest::mouseClick(frame->findChild<QToolButton*>("UpArrow"), Qt::LeftButton);
        QCOMPARE(bus.events, (QStringList{"SigChangeMainDialog(0)", "SigSetMacroPage()"}));
        QVERIFY(ReadDeviceInfoCache(DeviceCacheFileName(info.CID, info.MID), &cached));
        QCOMPARE(Bytes(cached), Bytes(imported));

        DeviceWindowActive = 0;
        if (WorkerInstance)
            WorkerInstance->StopAndWait();
    }
};

KESTRO_DEVICE_THREAD_TEST_MAIN(TestDeviceWindowSim)
#include "tst_devicewindow_sim.moc"
