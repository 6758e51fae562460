#include "support/DeviceThreadTestMain.h"
#include "device/ConnectionState.h"
#include "device/DeviceDiscovery.h"
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
#include "pages/settings/UpDateRepair.h"
#include "support/FindChild.h"
#include "support/RunOnDeviceThread.h"
#include "support/TestHome.h"
#include "widgets/UiTextTables.h"

#include <QApplication>
#include <QComboBox>
#include <QSlider>
#include <QToolButton>
#include <QtTest>

#include <functional>
#include <memory>

namespace {

// A record as a mouse of model 1 holds it: every field the pages read set to a known value.
FlashDataMap SampleRecord()
{
    FlashDataMap record{};
    record.reportRate = 1;
    record.dpiLevelCount = 4;
    record.currentDpiLevel = 1;
    record.sensor20KFps = 1;
    record.debounceTime = 5;
    record.sleepTime = 18;
    record.performanceMode = 1;
    record.sensorAngle = -30;
    record.dpiLedMode = 2;
    record.dpiLedBrightness = 255;
    record.dpiLedSpeed = 3;
    record.dpiLedOn = 1;
    record.lightMode = 4;
    record.lightRed = 10;
    record.lightGreen = 20;
    record.lightBlue = 30;
    record.lightSpeed = 2;
    record.lightBrightness = 6;
    record.lightOn = 1;
    record.movingOffLight = 1;
    for (int i = 0; i < ButtonSlotCount; ++i)
        record.buttons[i] = {uint8_t(i % 12), uint8_t(i + 1), uint8_t(2 * i)};
    return record;
}

// Runs emit on another thread, as the Worker and the report callback do, while this thread keeps
// handling events; returns what probe saw right after the emit returned.
template <typename Probe>
auto EmitFromDeviceThread(std::function<void()> emitter, Probe probe) -> decltype(probe())
{
    decltype(probe()) seen{};
    RunOnDeviceThread([&] {
        emitter();
        seen = probe();
    });
    return seen;
}

} // namespace

// The record slots of the pages: the refreshing flag around their work, the updated flag once a
// record read from the device is shown, and what each page takes from the record.
class TestPageRecords : public QObject
{
    Q_OBJECT
    TestHome home;

private slots:
    void initTestCase()
    {
        home.MakeUserFolders();
        UiTextTables::Instance()->LoadUiTextTables();
        DeviceAllInfo device;
        device.modelIndex = 0;
        CurrentDeviceInfo.Set(device);
    }
    void init()
    {
        ButtonPageRefreshing = LightPageRefreshing = SensorPageRefreshing = false;
        ButtonPageUpdated = LightPageUpdated = SensorPageUpdated = false;
        UserWritesEnabled = false;
    }

    void sensorSlotsSetTheirFlags_data()
    {
        QTest::addColumn<int>("slot");
        QTest::addColumn<bool>("setsUpdated");
        QTest::newRow("record from the device") << 0 << true;
        QTest::newRow("imported record") << 1 << false;
        QTest::newRow("reset") << 2 << false;
    }
    void sensorSlotsSetTheirFlags()
    {
        QFETCH(int, slot);
        QFETCH(bool, setsUpdated);
        Sensor page;
        QList<bool> refreshingWhileShown;
        const auto watch = connect(PostMsg::Instance(), &PostMsg::Sig20KOpen, this,
                                   [&](bool) { refreshingWhileShown << SensorPageRefreshing; });
        QSignalSpy tVis(PostMsg::Instance(), &PostMsg::SigtVis);
        if (slot == 0)
            page.SlotUpDataSenSorUISensor(SampleRecord());
        else if (slot == 1)
            page.SlotUpDataSenSorUIB(SampleRecord());
        else
            page.SlotFormReset();
        disconnect(watch);
        QCOMPARE(refreshingWhileShown, QList<bool>{true});
        QVERIFY(!SensorPageRefreshing);
        QCOMPARE(bool(SensorPageUpdated), setsUpdated);
        QCOMPARE(tVis.count(), 1);
    }

    void buttonSlotsSetTheirFlags_data()
    {
        QTest::addColumn<int>("slot");
        QTest::addColumn<bool>("setsUpdated");
        QTest::addColumn<int>("sleepSeconds");
        QTest::addColumn<int>("debounce");
        QTest::newRow("record from the device") << 0 << true << 180 << 5;
        QTest::newRow("imported record") << 1 << false << 180 << 5;
        QTest::newRow("reset") << 2 << false << 60 << 8;
    }
    void buttonSlotsSetTheirFlags()
    {
        QFETCH(int, slot);
        QFETCH(bool, setsUpdated);
        QFETCH(int, sleepSeconds);
        QFETCH(int, debounce);
        Buttoninterface page;
        QList<bool> refreshingWhileShown;
        QList<int> sleepShown;
        QStringList debounceShown;
        const auto sleepWatch = connect(PostMsg::Instance(), &PostMsg::SigLightToFrom, this, [&](int seconds) {
            refreshingWhileShown << ButtonPageRefreshing;
            sleepShown << seconds;
        });
        const auto debounceWatch = connect(PostMsg::Instance(), &PostMsg::SigDebunce, this, [&](const QString& text) {
            refreshingWhileShown << ButtonPageRefreshing;
            debounceShown << text;
        });
        if (slot == 0)
            page.SlotUpDataButtonUIButton(SampleRecord());
        else if (slot == 1)
            page.SlotUpDataButtonUIB(SampleRecord());
        else
            page.SlotFormResetButton();
        disconnect(sleepWatch);
        disconnect(debounceWatch);
        QVERIFY(!refreshingWhileShown.isEmpty());
        QVERIFY(!refreshingWhileShown.contains(false));
        QVERIFY(!ButtonPageRefreshing);
        QCOMPARE(bool(ButtonPageUpdated), setsUpdated);
        QCOMPARE(sleepShown, QList<int>{sleepSeconds});
        QCOMPARE(debounceShown.last(), QString::number(debounce) + QStringLiteral("ms"));
    }

    // The page keeps one assignment per button of the model (Config.ini KeyNumber 6), as the device holds it.
    void buttonPageKeepsTheModelsButtons()
    {
        Buttoninterface page;
        const FlashDataMap record = SampleRecord();
        page.SlotUpDataButtonUIButton(record);
        QCOMPARE(page.Types().size(), 6);
        for (int i = 0; i < 6; ++i) {
            QCOMPARE(page.Types().at(i), int(record.buttons[i].type));
            QCOMPARE(page.Codes().at(i), int(record.buttons[i].p1));
            QCOMPARE(page.Params().at(i), int(record.buttons[i].p2));
        }
        page.SlotFormResetButton();
        QCOMPARE(page.Types(), (QList<int>{1, 1, 1, 1, 1, 2, 2, 2, 7, 7, 4, 0}));
        QCOMPARE(page.Codes(), (QList<int>{1, 2, 4, 8, 16, 1, 2, 3, 0, 0, 10, 0}));
        QCOMPARE(page.Params().size(), 12);
    }

    void lightSlotsSetTheirFlags_data()
    {
        QTest::addColumn<int>("slot");
        QTest::addColumn<bool>("updatedBefore");
        QTest::addColumn<bool>("updatedAfter");
        QTest::newRow("record from the device") << 0 << false << true;
        QTest::newRow("imported record clears the flag") << 1 << true << false;
        QTest::newRow("imported record leaves it clear") << 1 << false << false;
        QTest::newRow("reset") << 2 << false << false;
    }
    void lightSlotsSetTheirFlags()
    {
        QFETCH(int, slot);
        QFETCH(bool, updatedBefore);
        QFETCH(bool, updatedAfter);
        LampLight page;
        LightPageUpdated = updatedBefore;
        if (slot == 0)
            page.SlotUpDataLightUILight(SampleRecord());
        else if (slot == 1)
            page.SlotUpDataLightUIA(SampleRecord());
        else
            page.SlotFormResetLight();
        QVERIFY(!LightPageRefreshing);
        QCOMPARE(bool(LightPageUpdated), updatedAfter);
    }

    void lightPageShowsTheRecord()
    {
        LampLight page;
        FlashDataMap record = SampleRecord();
        page.SlotUpDataLightUILight(record);
        MouseLight* mouse = page.MouseLightPanel();
        QCOMPARE(Child<QComboBox>(page, "Model")->currentIndex(), 2);
        QCOMPARE(Child<QSlider>(page, "LightH")->value(), 10);
        QCOMPARE(Child<QComboBox>(*mouse, "LightMod")->currentIndex(), 4);
        QCOMPARE(Child<QSlider>(*mouse, "horizontalSpeed")->value(), 3);
        QCOMPARE(Child<QSlider>(*mouse, "horizontalLight")->value(), 7);
        QVERIFY(Child<QToolButton>(*mouse, "RippeControl")->isChecked());
        // Off shows mode 0 whatever mode is kept; an effect mode the panel lacks keeps the shown one.
        record.lightOn = 0;
        record.dpiLedMode = 3;
        page.SlotUpDataLightUILight(record);
        QCOMPARE(Child<QComboBox>(*mouse, "LightMod")->currentIndex(), 0);
        QCOMPARE(Child<QComboBox>(page, "Model")->currentIndex(), 2);
        QCOMPARE(LampLight::BrightnessStep(16), 1);
        QCOMPARE(LampLight::BrightnessStep(40), 40);
    }

    // Byte 8 in tens of seconds: the eight codes of the panel select rows 0..7, anything else
    // leaves the row that was shown.
    void sleepTimeRowFromTheRecord_data()
    {
        QTest::addColumn<int>("code");
        QTest::addColumn<int>("row");
        const int codes[8] = {1, 3, 6, 12, 18, 30, 60, 90};
        for (int row = 0; row < 8; ++row)
            QTest::addRow("code %d", codes[row]) << codes[row] << row;
        for (int code : {0, 2, 9, 120, 180, 240, 255})
            QTest::addRow("code %d leaves the row", code) << code << -1;
    }
    void sleepTimeRowFromTheRecord()
    {
        QFETCH(int, code);
        QFETCH(int, row);
        Advanced page;
        page.SleepTimePanel()->SetCurrentIndex(5);
        FlashDataMap record = SampleRecord();
        record.sleepTime = uint8_t(code);
        page.SlotUpDataSenSorUISensor(record);
        const int expected = row < 0 ? 5 : row;
        QCOMPARE(page.SleepTimePanel()->CurrentRow(), expected);
        QCOMPARE(page.SleepTimePanel()->findChild<QComboBox*>(QStringLiteral("StopClose"))->currentIndex(), expected);
        page.SlotUpDataSenSorUIB(record);
        QCOMPARE(page.SleepTimePanel()->CurrentRow(), expected);
    }

    void advancedPageFollowsModelAndDevice()
    {
        Advanced page;
        FlashDataMap record = SampleRecord();
        page.SlotUpDataSenSorUISensor(record);
        QVERIFY(page.Fps20KChecked());
        QCOMPARE(page.SensorAngle(), -30);
        record.sensor20KFps = 2;
        page.SlotUpDataSenSorUISensor(record);
        QVERIFY(!page.Fps20KChecked());

        // Model 1 has a long-range mode, model 2 (the wired mouse) has none.
        page.SlotForm();
        QVERIFY(page.LongRangeWanted());
        CurrentDeviceInfo.Update([](DeviceAllInfo& info) { info.wired = true; });
        page.SlotForm();
        QVERIFY(!page.LongRangeWanted());
        page.SlotLongRangeMode(true);
        QVERIFY(page.LongRangeWanted());
        QVERIFY(page.LongRangeChecked());
        CurrentDeviceInfo.Update([](DeviceAllInfo& info) { info.wired = false; info.modelIndex = 1; });
        page.SlotFormB();
        QVERIFY(!page.LongRangeWanted());
        CurrentDeviceInfo.Update([](DeviceAllInfo& info) { info.modelIndex = 0; });

        page.SlotFormReset();
        QCOMPARE(page.SleepTimePanel()->CurrentRow(), 2);
        QCOMPARE(page.SensorAngle(), 0);
        QVERIFY(!page.Fps20KChecked());
    }

    // The device side's records reach the pages over blocking connections: the page has applied the
    // record before the emit returns on the device thread.
    void recordsArriveBeforeTheEmitReturns()
    {
        Advanced advanced;
        Sensor sensor;
        LampLight light;
        FlashDataMap record = SampleRecord();
        record.sleepTime = 60;
        PostMsg* bus = PostMsg::Instance();
        const int row = EmitFromDeviceThread([&] { emit bus->SigUpDataLightSensor(record); },
                                             [&] { return advanced.SleepTimePanel()->CurrentRow(); });
        QCOMPARE(row, 6);
        QVERIFY(SensorPageUpdated);
        const bool lightUpdated = EmitFromDeviceThread([&] { emit bus->SigUpDataLightLight(record); },
                                                       [&] { return bool(LightPageUpdated); });
        QVERIFY(lightUpdated);
        const int resetRow = EmitFromDeviceThread([&] { emit bus->SigFormReset(); },
                                                  [&] { return advanced.SleepTimePanel()->CurrentRow(); });
        QCOMPARE(resetRow, 2);
    }

    // The settings page reports the versions it shows to the summary panel and keeps them for the
    // update check; the device changes ask for a check only while the upgrade dialog shows.
    void settingsPageVersions()
    {
        QSignalSpy versions(PostMsg::Instance(), &PostMsg::SigAddVer);
        QSignalSpy updates(PostMsg::Instance(), &PostMsg::SigAddUpdate);
        {
            FormSetting page;
            QVERIFY(bool(FirmwareCheckAvailable));
            QVERIFY(!FirmwareCheckAvailable());
            QVERIFY(!WiredModeText.isEmpty());
            page.SlotLabelText(0, QStringLiteral("v1.05"));
            page.SlotLabelText(1, QStringLiteral("v2.0A"));
            page.SlotLabelText(2, QStringLiteral("ignored"));
            QCOMPARE(ReceiverVersionText, QStringLiteral("v1.05"));
            QCOMPARE(MouseVersionText, QStringLiteral("v2.0A"));
            page.SlotLabelTextB(QStringLiteral("v1.06"), QStringLiteral("true"));
            page.SlotLabelTextB(QStringLiteral("v1.06"), QString());
            page.SetVer(6);
            QCOMPARE(versions.count(), 6);
            QCOMPARE(versions.at(0), (QList<QVariant>{1, QStringLiteral("v1.05")}));
            QCOMPARE(versions.at(1), (QList<QVariant>{0, QStringLiteral("v2.0A")}));
            QCOMPARE(versions.at(2), (QList<QVariant>{1, QStringLiteral("v1.06")}));
            QCOMPARE(versions.at(4), (QList<QVariant>{1, QString()}));
            QCOMPARE(versions.at(5), (QList<QVariant>{0, QString()}));
            // A version an upgrade wrote takes its row's new-firmware mark away.
            QCOMPARE(updates.count(), 4);
            QCOMPARE(updates.at(0), (QList<QVariant>{1, false}));
            QCOMPARE(updates.at(1), (QList<QVariant>{0, false}));
            QCOMPARE(updates.at(2), (QList<QVariant>{1, true}));
            QCOMPARE(updates.at(3), (QList<QVariant>{1, false}));
            page.UpdateDialog()->show();
            QVERIFY(FirmwareCheckAvailable());
            page.UpdateDialog()->hide();
        }
        QVERIFY(!FirmwareCheckAvailable);
    }

    // Restore defaults while the mouse is offline only raises the offline notice.
    void restoreDefaultsOffline()
    {
        FormSetting page;
        PointCurrentDevicePath("no-such-device");
        QSignalSpy notices(PostMsg::Instance(), &PostMsg::SigMouseOffLineo);
        const bool before = SettingsWriteInProgress;
        page.on_Reset_clicked();
        QCOMPARE(notices.count(), 1);
        QVERIFY(QApplication::activeModalWidget() == nullptr);
        QCOMPARE(bool(SettingsWriteInProgress), before);
    }
};

KESTRO_DEVICE_THREAD_TEST_MAIN(TestPageRecords)
#include "tst_pagerecords.moc"
