#include "app/Dialog.h"
#include "device/ConnectionState.h"
#include "device/DeviceDiscovery.h"
#include "device/DeviceInfoCache.h"
#include "device/DeviceState.h"
#include "device/PostMsg.h"
#include "device/Worker.h"
#include "pages/advanced/Advanced.h"
#include "pages/advanced/StopCloseTime.h"
#include "pages/buttons/Buttoninterface.h"
#include "pages/lighting/LampLight.h"
#include "pages/lighting/MouseLight.h"
#include "pages/sensor/Sensor.h"
#include "pages/settings/FormSetting.h"
#include "support/FindChild.h"
#include "support/OpenInDeviceWindow.h"
#include "support/SimulatedDeviceFixture.h"
#include "widgets/UiTextTables.h"

#include <QApplication>
#include <QComboBox>
#include <QPointer>
#include <QTimer>
#include <QtTest>

#include <atomic>

// The pages inside the device window, fed by the Worker and the report callback of a simulated
// mouse; and the Worker the button page owns.
class TestPagesWindow : public QObject
{
    Q_OBJECT
    TestHome home;
    SimulatedDevices* devices = nullptr;

private slots:
    void initTestCase()
    {
        home.MakeUserFolders();
        UiTextTables::Instance()->LoadUiTextTables();
        devices = new SimulatedDevices;
    }
    void cleanupTestCase()
    {
        DeviceWindowActive = 0;
        UsbServer_Exit();
        delete devices;
    }

    // The button page makes the one Worker and ends it with the page, also while a pass waits in a
    // blocking emit for the GUI thread that is closing the page.
    void workerEndsWithThePageWithoutAHang()
    {
        FlashDataMap cached{};
        cached.sleepTime = 30;
        cached.debounceTime = 9;
        const QString cacheName = DeviceCacheFileName(0x1C, 0x7E);
        QVERIFY(WriteDeviceInfoCache(cacheName, cached));

        std::atomic<bool> passEmitting{false};
        // Connected before the page: runs on the Worker thread just before the page's blocking slot.
        QObject marker;
        QObject::connect(PostMsg::Instance(), &PostMsg::SigUpDataLightUIButton, &marker,
                         [&](FlashDataMap) { passEmitting = true; }, Qt::DirectConnection);

        QVERIFY(WorkerInstance == nullptr);
        auto* page = new Buttoninterface;
        QPointer<Worker> worker = WorkerInstance;
        QVERIFY(worker);
        QVERIFY(WorkerCheckTimer);

        // The cached record of an offline mouse is emitted from the Worker thread itself.
        CacheFileName.Set(cacheName);
        DeviceWindowActive = 1;
        DeviceOnline = false;
        ConnectionStartedOnline = true; // the last connection was online: this pass has work to do
        ButtonPageUpdated = false;
        RunRequested = true;
        worker->start();
        QElapsedTimer waited;
        waited.start();
        while (!passEmitting && waited.elapsed() < 5000)
            QThread::msleep(1);
        QVERIFY(passEmitting);
        QThread::msleep(20);

        delete page; // must not hang: the destructor handles the pass's blocking emit
        QVERIFY(ButtonPageUpdated);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(worker.isNull());
        QVERIFY(WorkerInstance == nullptr);
        DeviceWindowActive = 0;
    }

    // The five pages are built by the device window and show the record the simulated mouse sends.
    void pagesShowTheMouseInTheDeviceWindow()
    {
        devices->Reset();
        const int mouse = devices->Find(true);
        QVERIFY(mouse >= 0);
        FlashDataMap held = devices->Record(mouse);
        held.sleepTime = 30;
        held.debounceTime = 11;
        held.lightOn = 1;
        held.lightMode = 3;
        QVERIFY(SimControl_SetDeviceRecord(mouse, held.bytes()));

        Dialog window;
        auto* advanced = window.findChild<Advanced*>();
        auto* buttons = window.findChild<Buttoninterface*>();
        auto* light = window.findChild<LampLight*>();
        auto* sensor = window.findChild<Sensor*>();
        auto* settings = window.findChild<FormSetting*>();
        QVERIFY(advanced && buttons && light && sensor && settings);
        QVERIFY(WorkerInstance);

        DeviceAllInfo device;
        const QByteArray path = devices->Path(mouse);
        QCOMPARE(IdentifyDevice(&device, path.constData()), 1);
        device.path = QString::fromLocal8Bit(path);
        QVERIFY(OpenInDeviceWindow(device));
        QVERIFY(!ButtonPageRefreshing && !LightPageRefreshing && !SensorPageRefreshing);

        QCOMPARE(advanced->SleepTimePanel()->CurrentRow(), 5);
        QCOMPARE(buttons->Types().size(), 6);
        for (int i = 0; i < 6; ++i)
            QCOMPARE(buttons->Types().at(i), int(held.buttons[i].type));
        QCOMPARE(Child<QComboBox>(*light->MouseLightPanel(), "LightMod")->currentIndex(), 3);
        QVERIFY(DeviceConfigIsCurrent);
        QCOMPARE(int(DeviceConfigSnapshot().debounceTime), 11);

        DeviceWindowActive = 0;
        WorkerInstance->Stop();
        // Late replies may wait in a blocking emit for this thread: keep handling events meanwhile.
        QTRY_VERIFY_WITH_TIMEOUT(SimControl_WaitIdle(10), 10000);
    }
};

QTEST_MAIN(TestPagesWindow)
#include "tst_pageswindow.moc"
