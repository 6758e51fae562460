#include "device/DeliveryMarkedApplication.h"
#include "device/ConnectionState.h"
#include "device/DeviceDiscovery.h"
#include "device/DeviceState.h"
#include "device/PostMsg.h"
#include "device/Worker.h"
#include "support/SettleDevices.h"
#include "support/SimulatedDeviceFixture.h"

#include <QGuiApplication>
#include <QtTest>

#include <atomic>
#include <dlfcn.h>

namespace {

// Armed by a test: the next request for the whole record selects `deviceToSelect` on the GUI thread
// before it goes to the library. A pass makes that request after it started the connection, so the
// selection then happens while the pass still runs, past the point where it looks at the device.
std::atomic<bool> selectDuringRead{false};
DeviceAllInfo deviceToSelect;

QByteArray Bytes(const FlashDataMap& record)
{
    return QByteArray(reinterpret_cast<const char*>(record.bytes()), int(sizeof record));
}

} // namespace

extern "C" uint8_t UsbServer_ReadAllFlashData(void)
{
    if (selectDuringRead.exchange(false)) {
        QMetaObject::invokeMethod(qApp, [] { Worker::SelectDevice(deviceToSelect); }, Qt::BlockingQueuedConnection);
    }
    static const auto real = reinterpret_cast<uint8_t (*)()>(dlsym(RTLD_NEXT, "UsbServer_ReadAllFlashData"));
    return real ? real() : 0;
}

// Passes of the Worker asked for while one runs.
class TestPassRequests : public QObject
{
    Q_OBJECT
    TestHome home;
    SimulatedDevices* devices = nullptr;
    Worker* worker = nullptr;

    DeviceAllInfo Describe(int device)
    {
        DeviceAllInfo info;
        info.path = QString::fromLocal8Bit(devices->Path(device));
        IdentifyDevice(&info, devices->Path(device).constData());
        return info;
    }

private slots:
    void initTestCase()
    {
        home.MakeUserFolders();
        devices = new SimulatedDevices;
        worker = new Worker;
        WorkerCheckTimer->stop();
    }
    void cleanupTestCase()
    {
        worker->StopAndWait();
        UsbServer_Exit();
        QVERIFY(SettleDevices());
        delete worker;
        delete devices;
    }

    // A receiver whose mouse is out of range is opened; while its pass runs, the wired mouse is
    // selected. The pass cannot take it any more: a pass of its own must follow and read it.
    void deviceSelectedWhileAPassRunsIsRead()
    {
        const int receiver = devices->Find(false);
        const int mouse = devices->Find(true);
        QVERIFY(receiver >= 0 && mouse >= 0);
        const DeviceAllInfo opened = Describe(receiver);
        SimControl_SetMouseOnline(receiver, 0);
        QVERIFY(SettleDevices());
        InvalidateDeviceConfig();
        deviceToSelect = Describe(mouse);
        QVERIFY(deviceToSelect.online);

        selectDuringRead = true;
        emit PostMsg::Instance()->SigSelectMouseInfo(opened);
        DeviceWindowActive = 1;
        Worker::RequestPass();
        QTRY_VERIFY_WITH_TIMEOUT(!selectDuringRead, 5000);
        QTRY_VERIFY_WITH_TIMEOUT(DeviceConfigIsCurrent, 5000);
        QVERIFY(worker->wait(5000));
        QVERIFY(SettleDevices());

        QCOMPARE(QByteArray(CurrentDevicePath.load()), devices->Path(mouse));
        QCOMPARE(Bytes(DeviceConfigSnapshot()), Bytes(devices->Record(mouse)));
        QVERIFY(!RunRequested);
    }
};

int main(int argc, char* argv[])
{
    DeliveryMarkedApplication<QGuiApplication> application(argc, argv);
    TestPassRequests test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}
#include "tst_passrequests.moc"
