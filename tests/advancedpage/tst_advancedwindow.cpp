#include "support/DeviceThreadTestMain.h"
#include "app/Dialog.h"
#include "device/ConnectionState.h"
#include "device/DeviceDiscovery.h"
#include "device/DeviceState.h"
#include "device/PostMsg.h"
#include "device/Worker.h"
#include "pages/advanced/Advanced.h"
#include "pages/advanced/AngleMove.h"
#include "pages/advanced/KFPS20.h"
#include "pages/advanced/LongMode.h"
#include "pages/advanced/StopCloseTime.h"
#include "support/FindChild.h"
#include "support/OpenInDeviceWindow.h"
#include "support/SettleDevices.h"
#include "support/SimulatedDeviceFixture.h"
#include "widgets/UiText.h"
#include "widgets/UiTextTables.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QSlider>
#include <QTimer>
#include <QToolButton>
#include <QtTest>

// The advanced page in the device window with the simulated receiver and its mouse: every control
// reaches its byte of the mouse's record (or the receiver's long-range mode), and what the mouse
// sends of itself shows.
class TestAdvancedWindow : public QObject
{
    Q_OBJECT
    TestHome home;
    SimulatedDevices devices;

    int LongRangeHeld(const QByteArray& path)
    {
        uint8_t mode = 0xFF;
        return VidEzorarA_GetLongRangeMode(path.constData(), &mode) ? mode : -1;
    }

private slots:
    void initTestCase()
    {
        home.MakeUserFolders();
        UiTextTables::Instance()->LoadUiTextTables();
    }
    void cleanupTestCase()
    {
        UsbServer_Exit();
    }

    void receiverControlsReachTheDevice()
    {
        devices.Reset();
        const int receiver = devices.Find(false);
        QVERIFY(receiver >= 0);
        const QByteArray path = devices.Path(receiver);
        FlashDataMap held = devices.Record(receiver);
        held.sleepTime = 30;
        held.sensorAngle = 5;
        held.sensor20KFps = 0;
        QVERIFY(SimControl_SetDeviceRecord(receiver, held.bytes()));
        // The receiver is already in long-range mode.
        QVERIFY(VidEzorarA_SetLongRangeMode(path.constData(), 1));
        QCOMPARE(LongRangeHeld(path), 1);

        Dialog window;
        auto* page = window.findChild<Advanced*>();
        QVERIFY(page);
        DeviceAllInfo device;
        QCOMPARE(IdentifyDevice(&device, path.constData()), 1);
        device.path = QString::fromLatin1(path);
        QVERIFY(!device.wired);
        QVERIFY(OpenInDeviceWindow(device));
        QVERIFY(SettleDevices());
        window.show();
        QTest::mouseClick(Child<QToolButton>(window, "Advanced"), Qt::LeftButton);

        // What the device holds shows; the receiver's model has the long-range mode.
        QCOMPARE(page->SleepTimePanel()->CurrentRow(), 5);
        QCOMPARE(CurrentSensorAngle, 5);
        QVERIFY(!page->Fps20KChecked());
        QVERIFY(page->LongRangePanel()->isVisible());
        QVERIFY(page->LongRangeChecked());
        QCOMPARE(page->LongRangePanel()->pos(), QPoint(0, 160));
        QVERIFY(!page->Fps20KPanel()->isVisible());
        QVERIFY(!page->AnglePanel()->isVisible());
        for (int language : {1, 2, 0}) {
            UiLanguage = language;
            emit PostMsg::Instance()->SigAllLanguage(language);
            QVERIFY(window.grab().save(QStringLiteral("/tmp/advancedwindow-%1.png").arg(language)));
        }

        // Sleep time: 3 minutes is code 18 of byte 8.
        auto* sleep = Child<QComboBox>(*page->SleepTimePanel(), "StopClose");
        sleep->setCurrentIndex(4);
        emit sleep->activated(4);
        QVERIFY(SettleDevices());
        QCOMPARE(int(devices.Record(receiver).sleepTime), 18);

        // Long-range mode lives in the receiver, not in the record.
        const int updates = SimControl_UpdateCount();
        auto* longRange = Child<QCheckBox>(*page->LongRangePanel(), "checkBox");
        longRange->click();
        QVERIFY(SettleDevices());
        QCOMPARE(LongRangeHeld(path), 0);
        longRange->click();
        QVERIFY(SettleDevices());
        QCOMPARE(LongRangeHeld(path), 1);
        QCOMPARE(SimControl_UpdateCount(), updates);

        // The hidden panels still write when their controls change.
        Child<QToolButton>(*page->Fps20KPanel(), "KFPS")->click();
        QVERIFY(SettleDevices());
        QCOMPARE(int(devices.Record(receiver).sensor20KFps), 1);
        Child<QSlider>(*page->AnglePanel(), "AngleSet")->setValue(-17);
        QVERIFY(SettleDevices());
        QCOMPARE(int(devices.Record(receiver).sensorAngle), -17);
        QCOMPARE(CurrentSensorAngle, -17);

        // The mouse changes itself: the page follows and changes nothing of what the mouse holds.
        FlashDataMap changed = devices.Record(receiver);
        changed.sleepTime = 90;
        changed.sensorAngle = -30;
        changed.sensor20KFps = 2;
        QVERIFY(SimControl_SetDeviceRecord(receiver, changed.bytes()));
        SensorPageUpdated = false;
        SimControl_SwitchProfile(receiver, SimControl_GetActiveProfile(receiver));
        QTRY_VERIFY_WITH_TIMEOUT(SensorPageUpdated, 10000);
        QVERIFY(SettleDevices());
        QCOMPARE(page->SleepTimePanel()->CurrentRow(), 7);
        QCOMPARE(Child<QSlider>(*page->AnglePanel(), "AngleSet")->value(), -30);
        QCOMPARE(Child<QLabel>(*page->AnglePanel(), "Keydown_6")->text(), QStringLiteral("-30°"));
        QVERIFY(!page->Fps20KChecked());
        QCOMPARE(Bytes(devices.Record(receiver)), Bytes(changed));

        DeviceWindowActive = 0;
        WorkerInstance->Stop();
        QTRY_VERIFY_WITH_TIMEOUT(SimControl_WaitIdle(10), 10000);
    }

private:
    static QByteArray Bytes(const FlashDataMap& record)
    {
        return QByteArray(reinterpret_cast<const char*>(record.bytes()), int(sizeof record));
    }
};

KESTRO_DEVICE_THREAD_TEST_MAIN(TestAdvancedWindow)
#include "tst_advancedwindow.moc"
