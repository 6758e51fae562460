#include "support/DeviceThreadTestMain.h"
#include "device/ConnectionState.h"
#include "device/DeviceReportCallback.h"
#include "device/DeviceState.h"
#include "device/PostMsg.h"
#include "pages/lighting/LampLight.h"
#include "pages/lighting/MouseLight.h"
#include "pages/lighting/OneLed.h"
#include "pages/lighting/ReceiveLight.h"
#include "pages/lighting/ReceiverLightRecords.h"
#include "pages/lighting/ReceiverRefusalNotice.h"
#include "pages/lighting/SensorEffect.h"
#include "pages/lighting/ThreeLed.h"
#include "ReceiverFixture.h"
#include "support/FindChild.h"
#include "widgets/UiText.h"
#include "widgets/UiTextTables.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QLabel>
#include <QSignalSpy>
#include <QSlider>
#include <QSpinBox>
#include <QTabBar>
#include <QTabWidget>
#include <QTextEdit>
#include <QToolButton>
#include <QWheelEvent>
#include <QtTest>
#include <QtTest/qtestspontaneevent.h>
#include "support/LanguageRows.h"

namespace {

// The slots through which records reach the page.
enum Slot { FromDevice, Imported, DpiLight, Reset };

void Deliver(LampLight& page, Slot slot, const FlashDataMap& record)
{
    switch (slot) {
    case FromDevice:
        page.SlotUpDataLightUILight(record);
        break;
    case Imported:
        page.SlotUpDataLightUIA(record);
        break;
    case DpiLight:
        page.SlotUpDataDPILed(record);
        break;
    case Reset:
        page.SlotFormResetLight();
        break;
    }
}

} // namespace

// The lighting page on the simulated receiver of model 1: what each record slot shows in the five
// panels, what it remembers, that no refresh writes anything, when the indicator meaning panel
// shows, and that reports through the report callback come back while the page talks to the
// receiver.
class TestLightingPage : public QObject, protected ReceiverCase
{
    Q_OBJECT

    static QComboBox* Combo(const QObject& parent, const char* name) { return Child<QComboBox>(parent, name); }
    static QSlider* Slider(const QObject& parent, const char* name) { return Child<QSlider>(parent, name); }
    static QSpinBox* Box(const QObject& parent, const char* name) { return Child<QSpinBox>(parent, name); }

    // A record with every light field set to something the panels show differently from their start.
    static FlashDataMap LightRecord()
    {
        FlashDataMap record{};
        record.dpiLedMode = 2;
        record.dpiLedBrightness = 128;
        record.dpiLedSpeed = 4;
        record.dpiLedOn = 1;
        record.lightMode = 5;
        record.lightRed = 11;
        record.lightGreen = 22;
        record.lightBlue = 33;
        record.lightSpeed = 6;
        record.lightBrightness = 2;
        record.lightOn = 1;
        record.movingOffLight = 1;
        return record;
    }

private slots:
    void initTestCase() { StartCaseWithTexts(); }
    void init()
    {
        QVERIFY(fixture.Open());
        LightPageRefreshing = false;
        LightPageUpdated = false;
    }
    void cleanup()
    {
        if (QWidget* notice = ReceiverRefusalNotice::Shown())
            notice->close();
        fixture.Close();
    }

    // The page's layout: five panels, only the DPI light effect panel on screen.
    void onlyTheEffectPanelShows()
    {
        LampLight page;
        page.show();
        QVERIFY(QTest::qWaitForWindowExposed(&page));
        auto* tabs = Child<QTabWidget>(page, "tabWidget");
        QCOMPARE(tabs->currentIndex(), 0);
        QVERIFY(tabs->tabBar()->isHidden());
        QVERIFY(page.EffectPanel()->isVisible());
        QVERIFY(page.MouseLightPanel()->isHidden());
        QVERIFY(page.IndicatorMeaningPanel()->isHidden());
        QVERIFY(!page.ReceiveLightPanel()->isVisible());
        QVERIFY(!page.IndicatorLedsPanel()->isVisible());
        QVERIFY(Child<QWidget>(page, "verticalScrollBar")->isHidden());
    }

    // The DPI light effect from 0x57 and 0x54, the brightness step from 0x55, through every slot that
    // shows it; on with a mode the list lacks leaves the mode while speed and brightness show.
    void dpiEffectFromTheRecord_data()
    {
        QTest::addColumn<int>("slot");
        QTest::addColumn<int>("on");
        QTest::addColumn<int>("effect");
        QTest::addColumn<int>("code");
        QTest::addColumn<int>("mode");
        QTest::addColumn<int>("step");
        for (int slot : {FromDevice, Imported, DpiLight}) {
            const char* name = slot == FromDevice ? "read" : slot == Imported ? "import" : "DPI light reply";
            QTest::addRow("%s: off", name) << slot << 0 << 2 << 60 << 0 << 3;
            QTest::addRow("%s: off with effect 0", name) << slot << 0 << 0 << 60 << 0 << 3;
            QTest::addRow("%s: steady", name) << slot << 1 << 1 << 16 << 1 << 1;
            QTest::addRow("%s: breathing", name) << slot << 1 << 2 << 255 << 2 << 10;
            QTest::addRow("%s: effect 3 keeps the mode", name) << slot << 1 << 3 << 230 << 1 << 9;
            QTest::addRow("%s: code 40 clamped", name) << slot << 1 << 1 << 40 << 1 << 10;
        }
    }
    void dpiEffectFromTheRecord()
    {
        QFETCH(int, slot);
        QFETCH(int, on);
        QFETCH(int, effect);
        QFETCH(int, code);
        QFETCH(int, mode);
        QFETCH(int, step);
        LampLight page;
        page.EffectPanel()->SetModel(1);
        FlashDataMap record = LightRecord();
        record.dpiLedOn = uint8_t(on);
        record.dpiLedMode = uint8_t(effect);
        record.dpiLedBrightness = uint8_t(code);
        record.dpiLedSpeed = 5;
        Deliver(page, Slot(slot), record);
        QCOMPARE(Combo(page, "Model")->currentIndex(), mode);
        QCOMPARE(page.EffectPanel()->RememberedMode(), mode);
        QCOMPARE(Slider(page, "SpeedH")->value(), 5);
        QCOMPARE(Box(page, "SpeedSpinBox")->value(), 5);
        QCOMPARE(Slider(page, "LightH")->value(), step);
        QCOMPARE(Box(page, "LightSpinBox")->value(), step);
    }

    // The mouse light from 0x58..0x5E and 0x0B: off shows mode 0 whatever 0x58 holds.
    void mouseLightFromTheRecord_data()
    {
        QTest::addColumn<int>("slot");
        QTest::addColumn<int>("on");
        QTest::addColumn<int>("stored");
        QTest::addColumn<int>("shown");
        for (int slot : {FromDevice, Imported}) {
            const char* name = slot == FromDevice ? "read" : "import";
            QTest::addRow("%s: on, mode 5", name) << slot << 1 << 5 << 5;
            QTest::addRow("%s: off keeps 4 and shows 0", name) << slot << 0 << 4 << 0;
            QTest::addRow("%s: on with mode 0", name) << slot << 1 << 0 << 0;
        }
    }
    void mouseLightFromTheRecord()
    {
        QFETCH(int, slot);
        QFETCH(int, on);
        QFETCH(int, stored);
        QFETCH(int, shown);
        LampLight page;
        LastMouseLightMode = 3;
        FlashDataMap record = LightRecord();
        record.lightOn = uint8_t(on);
        record.lightMode = uint8_t(stored);
        Deliver(page, Slot(slot), record);
        const MouseLight& mouse = *page.MouseLightPanel();
        QCOMPARE(Combo(mouse, "LightMod")->currentIndex(), shown);
        QCOMPARE(LastMouseLightMode, shown);
        QCOMPARE(Slider(mouse, "horizontalLight")->value(), 3);
        QCOMPARE(Box(mouse, "LightSpinBox_2")->value(), 3);
        QCOMPARE(Slider(mouse, "horizontalSpeed")->value(), 7);
        QCOMPARE(Box(mouse, "SpeedSpinBox_2")->value(), 7);
        QCOMPARE(Box(mouse, "RSpinBox")->value(), 11);
        QCOMPARE(Box(mouse, "GSpinBox")->value(), 22);
        QCOMPARE(Box(mouse, "BSpinBox")->value(), 33);
        QCOMPARE(Child<QLabel>(mouse, "labelPreView")->styleSheet(), LightPanel::PreviewStyle(11, 22, 33));
        QVERIFY(Child<QToolButton>(mouse, "RippeControl")->isChecked());
        QCOMPARE(Child<QWidget>(mouse, "horizontalSpeed")->isHidden(), shown == 0);
    }

    // The receiver's light bar and indicator LEDs, changed on the receiver, reach the hidden panels
    // at the next read: byte 6 = 0 shows mode 0, bytes 4 and 5 of 0 show speed and brightness 1.
    void receiverLightsAtTheNextRead_data()
    {
        QTest::addColumn<QByteArray>("bar");
        QTest::addColumn<QByteArray>("leds");
        QTest::addColumn<int>("mode");
        QTest::addColumn<int>("speed");
        QTest::addColumn<int>("brightness");
        QTest::newRow("mode 2") << Bytes({2, 10, 20, 30, 4, 6, 1}) << Bytes({1, 2, 3}) << 2 << 5 << 7;
        QTest::newRow("off flag hides mode 3") << Bytes({3, 10, 20, 30, 4, 6, 0}) << Bytes({3, 0, 1}) << 0 << 5 << 7;
        QTest::newRow("speed and brightness 0 show 1") << Bytes({6, 0, 0, 0, 0, 0, 1}) << Bytes({0, 0, 0}) << 6 << 1 << 1;
        QTest::newRow("brightest, fastest") << Bytes({1, 255, 255, 255, 9, 9, 1}) << Bytes({2, 2, 2}) << 1 << 10 << 10;
    }
    void receiverLightsAtTheNextRead()
    {
        QFETCH(QByteArray, bar);
        QFETCH(QByteArray, leds);
        QFETCH(int, mode);
        QFETCH(int, speed);
        QFETCH(int, brightness);
        LampLight page;
        page.SlotUpDataLightUILight(LightRecord());
        fixture.Hold(SIMCONTROL_RECEIVER_LIGHT_BAR, bar);
        fixture.Hold(SIMCONTROL_RECEIVER_INDICATOR_LEDS, leds);
        page.SlotUpDataLightUILight(LightRecord());

        QCOMPARE(BytesOf(DongleRGBBarImage), bar);
        QCOMPARE(BytesOf(DongleIndicatorLedImage), leds);
        const ReceiveLight& panel = *page.ReceiveLightPanel();
        QCOMPARE(Combo(panel, "LightMod_2")->currentIndex(), mode);
        QCOMPARE(Slider(panel, "horizontalSpeed_2")->value(), speed);
        QCOMPARE(Box(panel, "SpeedSpinBox_3")->value(), speed);
        QCOMPARE(Slider(panel, "horizontalLight_2")->value(), brightness);
        QCOMPARE(Box(panel, "LightSpinBox_3")->value(), brightness);
        QCOMPARE(Box(panel, "RSpinBox_2")->value(), int(uint8_t(bar.at(1))));
        QCOMPARE(Box(panel, "BSpinBox_2")->value(), int(uint8_t(bar.at(3))));
        QCOMPARE(LastReceiverLightMode, mode);
        QCOMPARE(LastReceiverLightSpeed, speed);
        QCOMPARE(LastReceiverLightBrightness, brightness);
        const char* names[3] = {"LightMod_3", "LightMod_4", "LightMod_5"};
        for (int led = 0; led < 3; ++led) {
            QCOMPARE(Combo(*page.IndicatorLedsPanel(), names[led])->currentIndex(), int(leds.at(led)));
            QCOMPARE(LastIndicatorLedModes[led], int(leds.at(led)));
        }
        QCOMPARE(ReceiverFixture::ReceiverWrites(), 0);
    }

    // Before the first read both records are zeroed and nothing is remembered; a receiver that does
    // not answer (the current device is the wired mouse) leaves the records as they were.
    void recordsBeforeAndWithoutAReceiver()
    {
        *DongleRGBBarImage = DongleRGBBar{1, 2, 3, 4, 5, 6, 1};
        LastReceiverLightMode = 4;
        LampLight page;
        QCOMPARE(BytesOf(DongleRGBBarImage), QByteArray(7, 0));
        QCOMPARE(BytesOf(DongleIndicatorLedImage), QByteArray(3, 0));
        QCOMPARE(LastReceiverLightMode, 0);
        QCOMPARE(LastIndicatorLedModes[2], 0);

        page.SlotUpDataLightUILight(LightRecord());
        const QByteArray read = BytesOf(DongleRGBBarImage);
        QCOMPARE(read, fixture.Held(SIMCONTROL_RECEIVER_LIGHT_BAR));
        const int wired = fixture.devices.Find(true);
        QVERIFY(wired >= 0);
        SetCurrentDevicePath(fixture.devices.Path(wired));
        fixture.Hold(SIMCONTROL_RECEIVER_LIGHT_BAR, Bytes({5, 1, 1, 1, 1, 1, 1}));
        page.SlotUpDataLightUILight(LightRecord());
        QCOMPARE(BytesOf(DongleRGBBarImage), read);
    }

    // How the three record slots differ: a read opens the mouse light's sliders and sets the updated
    // flag; an import locks them and leaves the flag clear; the meaning panel shows meaning 2
    // quietly after an import, and after a read only while the mouse is away.
    void slotDifferences_data()
    {
        QTest::addColumn<int>("slot");
        QTest::addColumn<bool>("online");
        QTest::addColumn<bool>("slidersEnabled");
        QTest::addColumn<int>("meaning");
        QTest::addColumn<bool>("updated");
        QTest::newRow("read, mouse online") << int(FromDevice) << true << true << -1 << true;
        QTest::newRow("read, mouse away") << int(FromDevice) << false << true << 1 << true;
        QTest::newRow("import, mouse online") << int(Imported) << true << false << 1 << false;
        QTest::newRow("import, mouse away") << int(Imported) << false << false << 1 << false;
    }
    void slotDifferences()
    {
        QFETCH(int, slot);
        QFETCH(bool, online);
        QFETCH(bool, slidersEnabled);
        QFETCH(int, meaning);
        QFETCH(bool, updated);
        LampLight page;
        page.MouseLightPanel()->EnableSliders(!slidersEnabled);
        fixture.SetMouseOnline(online);
        LightPageUpdated = true;
        bool refreshingInside = false;
        QObject::connect(Combo(*page.MouseLightPanel(), "LightMod"), QOverload<int>::of(&QComboBox::currentIndexChanged),
                         [&] { refreshingInside = LightPageRefreshing; });
        Deliver(page, Slot(slot), LightRecord());
        QVERIFY(refreshingInside);
        QVERIFY(!LightPageRefreshing);
        QCOMPARE(bool(LightPageUpdated), updated);
        QCOMPARE(Slider(*page.MouseLightPanel(), "horizontalLight")->isEnabled(), slidersEnabled);
        QCOMPARE(Slider(*page.MouseLightPanel(), "horizontalSpeed")->isEnabled(), slidersEnabled);
        QCOMPARE(page.IndicatorMeaningPanel()->CheckedMeaning(), meaning);
        QCOMPARE(SimControl_ReceiverWriteCount(SIMCONTROL_RECEIVER_INDICATOR), 0);
    }

    // A restore of defaults shows the mouse's defaults in every panel, remembers them, hides the
    // meaning panel, and leaves the colours and the receiver's records as they were.
    void resetShowsTheDefaults()
    {
        fixture.Hold(SIMCONTROL_RECEIVER_LIGHT_BAR, Bytes({2, 10, 20, 30, 4, 6, 1}));
        fixture.Hold(SIMCONTROL_RECEIVER_INDICATOR_LEDS, Bytes({1, 2, 3}));
        LampLight page;
        page.SlotUpDataLightUILight(LightRecord());
        page.IndicatorMeaningPanel()->show();
        const QByteArray bar = BytesOf(DongleRGBBarImage);
        const QByteArray leds = BytesOf(DongleIndicatorLedImage);
        LightPageUpdated = true;

        page.SlotFormResetLight();

        QVERIFY(!LightPageRefreshing);
        QVERIFY(LightPageUpdated);
        const MouseLight& mouse = *page.MouseLightPanel();
        const ReceiveLight& receiver = *page.ReceiveLightPanel();
        QCOMPARE(Combo(mouse, "LightMod")->currentIndex(), 1);
        QCOMPARE(Combo(receiver, "LightMod_2")->currentIndex(), 1);
        for (const QObject* panel : {static_cast<const QObject*>(&mouse), static_cast<const QObject*>(&receiver)}) {
            const bool isMouse = panel == &mouse;
            QCOMPARE(Slider(*panel, isMouse ? "horizontalLight" : "horizontalLight_2")->value(), 10);
            QCOMPARE(Slider(*panel, isMouse ? "horizontalSpeed" : "horizontalSpeed_2")->value(), 8);
            QCOMPARE(Box(*panel, isMouse ? "LightSpinBox_2" : "LightSpinBox_3")->value(), 10);
            QCOMPARE(Box(*panel, isMouse ? "SpeedSpinBox_2" : "SpeedSpinBox_3")->value(), 8);
        }
        QVERIFY(!Child<QToolButton>(mouse, "RippeControl")->isChecked());
        QCOMPARE(Box(mouse, "RSpinBox")->value(), 11);
        QCOMPARE(Box(receiver, "GSpinBox_2")->value(), 20);
        QCOMPARE(LastMouseLightMode, 1);
        QCOMPARE(LastReceiverLightMode, 1);
        QCOMPARE(LastReceiverLightBrightness, 10);
        QCOMPARE(LastReceiverLightSpeed, 8);
        QVERIFY(page.IndicatorMeaningPanel()->isHidden());
        QCOMPARE(Combo(page, "Model")->currentIndex(), 0);
        QCOMPARE(Slider(page, "SpeedH")->value(), 3);
        QCOMPARE(Slider(page, "LightH")->value(), 5);
        for (const char* name : {"LightMod_3", "LightMod_4", "LightMod_5"})
            QCOMPARE(Combo(*page.IndicatorLedsPanel(), name)->currentIndex(), 0);
        for (int mode : LastIndicatorLedModes)
            QCOMPARE(mode, 0);
        QCOMPARE(BytesOf(DongleRGBBarImage), bar);
        QCOMPARE(BytesOf(DongleIndicatorLedImage), leds);
    }

    // While the page shows values, with writes allowed and mouse online or away: nothing is pushed,
    // nothing goes to the receiver, and no offline notice is raised, although every mode changes.
    void refreshesWriteNothing_data()
    {
        QTest::addColumn<int>("slot");
        QTest::addColumn<bool>("online");
        for (bool online : {true, false}) {
            const char* state = online ? "online" : "mouse away";
            QTest::addRow("read, %s", state) << int(FromDevice) << online;
            QTest::addRow("import, %s", state) << int(Imported) << online;
            QTest::addRow("DPI light reply, %s", state) << int(DpiLight) << online;
            QTest::addRow("reset, %s", state) << int(Reset) << online;
        }
    }
    void refreshesWriteNothing()
    {
        QFETCH(int, slot);
        QFETCH(bool, online);
        fixture.Hold(SIMCONTROL_RECEIVER_LIGHT_BAR, Bytes({4, 10, 20, 30, 4, 6, 1}));
        fixture.Hold(SIMCONTROL_RECEIVER_INDICATOR_LEDS, Bytes({1, 2, 3}));
        fixture.SetMouseOnline(online);
        const int updates = SimControl_UpdateCount();
        QSignalSpy offline(PostMsg::Instance(), &PostMsg::SigMouseOffLineo);
        LampLight page; // built with writes allowed: building writes nothing either
        Deliver(page, Slot(slot), LightRecord());
        FlashDataMap other = LightRecord();
        other.lightMode = 2;
        other.dpiLedMode = 1;
        Deliver(page, Slot(slot), other);
        QCOMPARE(SimControl_UpdateCount(), updates);
        QCOMPARE(ReceiverFixture::ReceiverWrites(), 0);
        QCOMPARE(offline.count(), 0);
    }

    // The indicator meaning panel by the model's "Adveanced" entry 1 (model 1 a value, model 2 "-1",
    // no such model: absent) and the device's status byte (1, 4, or a cable).
    void meaningPanelVisibility_data()
    {
        QTest::addColumn<int>("model");
        QTest::addColumn<int>("status");
        QTest::addColumn<bool>("formKeeps");    // SlotForm leaves it shown
        QTest::addColumn<bool>("reportShows");  // SlotRGBValue shows it
        QTest::newRow("value, status 1") << 0 << 1 << true << true;
        QTest::newRow("value, status 4") << 0 << 4 << false << false;
        QTest::newRow("value, cable") << 0 << 2 << false << false;
        QTest::newRow("-1, status 1") << 1 << 1 << false << false;
        QTest::newRow("-1, cable") << 1 << 2 << false << false;
        QTest::newRow("absent, status 1") << 40 << 1 << false << false;
    }
    void meaningPanelVisibility()
    {
        QFETCH(int, model);
        QFETCH(int, status);
        QFETCH(bool, formKeeps);
        QFETCH(bool, reportShows);
        CurrentDeviceInfo.Update([&](DeviceAllInfo& info) {
            info.modelIndex = model;
            info.status = uint8_t(status);
            info.wired = DeviceAllInfo::IsWiredStatus(uint8_t(status));
        });
        LampLight page;
        OneLed* panel = page.IndicatorMeaningPanel();
        QVERIFY(panel->isHidden());
        DongleRGBRecord->bytes[0] = 2;
        page.SlotRGBValue(DongleRGBRecord);
        QCOMPARE(!panel->isHidden(), reportShows);

        panel->show();
        page.SlotForm();
        QCOMPARE(!panel->isHidden(), formKeeps);
        panel->show();
        page.SlotFormB(); // hides it for status 1 as well
        QVERIFY(panel->isHidden());
    }

    // A reported meaning 0 or 4 shows the panel but changes no box; 1..3 checks its box. The
    // receiver holds what it reports: nothing goes back to it, and with its mouse away the box
    // still follows the report, without the offline notice the user did nothing to cause.
    void reportedMeaning_data()
    {
        QTest::addColumn<int>("reported");
        QTest::addColumn<bool>("online");
        QTest::addColumn<int>("checked");
        for (bool online : {true, false}) {
            const char* state = online ? "mouse online" : "mouse away";
            QTest::addRow("0, %s", state) << 0 << online << 1;
            QTest::addRow("4, %s", state) << 4 << online << 1;
            QTest::addRow("2, already shown, %s", state) << 2 << online << 1;
            QTest::addRow("3, %s", state) << 3 << online << 2;
            QTest::addRow("1, %s", state) << 1 << online << 0;
        }
    }
    void reportedMeaning()
    {
        QFETCH(int, reported);
        QFETCH(bool, online);
        QFETCH(int, checked);
        LampLight page;
        page.IndicatorMeaningPanel()->SetMeaningQuiet(1);
        fixture.SetMouseOnline(online);
        QSignalSpy offline(PostMsg::Instance(), &PostMsg::SigMouseOffLineo);
        DongleRGBRecord->bytes[0] = uint8_t(reported);
        page.SlotRGBValue(DongleRGBRecord);
        QVERIFY(!page.IndicatorMeaningPanel()->isHidden());
        QCOMPARE(page.IndicatorMeaningPanel()->CheckedMeaning(), checked);
        QCOMPARE(int(DongleRGBRecord->bytes[0]), reported);
        QCOMPARE(SimControl_ReceiverWriteCount(SIMCONTROL_RECEIVER_INDICATOR), 0);
        QCOMPARE(offline.count(), 0);
        // A later click on the box shown sends nothing; another box sends its meaning.
        fixture.SetMouseOnline(true);
        if (checked != 1) {
            Child<QAbstractButton>(*page.IndicatorMeaningPanel(), checked == 0 ? "ReUntil" : "ReUntil_3")->click();
            QCOMPARE(SimControl_ReceiverWriteCount(SIMCONTROL_RECEIVER_INDICATOR), 0);
            Child<QAbstractButton>(*page.IndicatorMeaningPanel(), "ReUntil_2")->click();
            QCOMPARE(SimControl_ReceiverWriteCount(SIMCONTROL_RECEIVER_INDICATOR), 1);
            QCOMPARE(int(fixture.Held(SIMCONTROL_RECEIVER_INDICATOR).at(0)), 2);
        }
    }

    // With the page connected and the report callback installed on the receiver: a whole image, a
    // light-bar reply and an indicator report each come back (no deadlock while the page reads the
    // receiver on the GUI thread as the report thread waits), and the meaning the receiver reports
    // is shown without going back to it.
    void reportsThroughTheCallbackReturn()
    {
        LampLight page;
        page.IndicatorMeaningPanel()->SetMeaningQuiet(1);
        fixture.Hold(SIMCONTROL_RECEIVER_INDICATOR, Bytes({3, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
        fixture.Hold(SIMCONTROL_RECEIVER_LIGHT_BAR, Bytes({2, 1, 2, 3, 4, 5, 1}));
        const QByteArray path = fixture.devices.Path(fixture.receiver);
        UsbServerC_Start(path.constData(), path.constData(), DeviceReportCallback);
        const auto settled = [] { return QTest::qWaitFor([] { return SimControl_WaitIdle(0) != 0; }, 10000); };

        QVERIFY(UsbServer_ReadAllFlashData());
        QVERIFY(QTest::qWaitFor([] { return bool(LightPageUpdated); }, 10000));
        QVERIFY(settled());
        QVERIFY(!page.IndicatorMeaningPanel()->isHidden());
        QCOMPARE(page.IndicatorMeaningPanel()->CheckedMeaning(), 2);
        QCOMPARE(SimControl_ReceiverWriteCount(SIMCONTROL_RECEIVER_INDICATOR), 0);
        QCOMPARE(int(fixture.Held(SIMCONTROL_RECEIVER_INDICATOR).at(0)), 3);
        QCOMPARE(Combo(*page.ReceiveLightPanel(), "LightMod_2")->currentIndex(), 2);

        fixture.Hold(SIMCONTROL_RECEIVER_LIGHT_BAR, Bytes({5, 1, 2, 3, 4, 5, 1}));
        LightPageUpdated = false;
        QVERIFY(UsbServer_ReadLedBar());
        QVERIFY(QTest::qWaitFor([] { return bool(LightPageUpdated); }, 10000));
        QVERIFY(settled());
        QCOMPARE(Combo(*page.ReceiveLightPanel(), "LightMod_2")->currentIndex(), 5);

        SimControl_ReportIndicator(fixture.receiver);
        QVERIFY(QTest::qWaitFor([] { return SimControl_ReadCount(HIDUSB_REPORT_RECEIVER_INDICATOR) == 1; }, 10000));
        QVERIFY(settled());
        QCOMPARE(page.IndicatorMeaningPanel()->CheckedMeaning(), 2);
        QCOMPARE(ReceiverFixture::ReceiverWrites(), 0);
    }

    // Device bytes the lists cannot show (mouse light mode 9, light-bar mode 12, LED byte 7) leave
    // each list on the entry it showed, which is the one remembered: a later refused write puts the
    // list back to that entry, never to a blank one.
    void bytesOutOfRangeKeepTheShownEntry_data()
    {
        QTest::addColumn<QString>("control");
        QTest::newRow("mouse light mode 9") << "mouse";
        QTest::newRow("light bar mode 12") << "bar";
        QTest::newRow("LED1 byte 7") << "led";
    }
    void bytesOutOfRangeKeepTheShownEntry()
    {
        QFETCH(QString, control);
        fixture.Hold(SIMCONTROL_RECEIVER_LIGHT_BAR, Bytes({2, 10, 20, 30, 4, 6, 1}));
        fixture.Hold(SIMCONTROL_RECEIVER_INDICATOR_LEDS, Bytes({1, 2, 3}));
        LampLight page;
        page.SlotUpDataLightUILight(LightRecord());
        QComboBox* list = control == "mouse" ? Combo(*page.MouseLightPanel(), "LightMod")
                          : control == "bar" ? Combo(*page.ReceiveLightPanel(), "LightMod_2")
                                             : Combo(*page.IndicatorLedsPanel(), "LightMod_3");
        const int shown = control == "mouse" ? 5 : control == "bar" ? 2 : 1;
        QCOMPARE(list->currentIndex(), shown);

        FlashDataMap record = LightRecord();
        if (control == "mouse")
            record.lightMode = 9;
        else if (control == "bar")
            fixture.Hold(SIMCONTROL_RECEIVER_LIGHT_BAR, Bytes({12, 10, 20, 30, 4, 6, 1}));
        else
            fixture.Hold(SIMCONTROL_RECEIVER_INDICATOR_LEDS, Bytes({7, 2, 3}));
        page.SlotUpDataLightUILight(record);

        QCOMPARE(list->currentIndex(), shown);
        QVERIFY(!list->currentText().isEmpty());
        const int remembered = control == "mouse" ? LastMouseLightMode
                               : control == "bar" ? LastReceiverLightMode
                                                  : LastIndicatorLedModes[0];
        QCOMPARE(remembered, shown);

        // Refused: the mouse away for its light, the receiver refusing for its own.
        if (control == "mouse")
            fixture.SetMouseOnline(false);
        else
            SimControl_SetReceiverRefusesLights(fixture.receiver, 1);
        const int updates = SimControl_UpdateCount();
        list->setCurrentIndex(3);
        QCOMPARE(list->currentIndex(), shown);
        QCOMPARE(SimControl_UpdateCount(), updates);
    }

    // The sleep slot, which no control calls: the list row's code into byte 8, only with writes
    // allowed, outside a refresh, and for rows 0..10.
    void sleepSlot_data()
    {
        QTest::addColumn<int>("row");
        QTest::addColumn<bool>("writes");
        QTest::addColumn<bool>("refreshing");
        QTest::addColumn<int>("code"); // -1 nothing written
        const int codes[11] = {1, 3, 6, 30, 60, 90, 120, 150, 180, 210, 240};
        for (int row = 0; row < 11; ++row)
            QTest::addRow("row %d", row) << row << true << false << codes[row];
        QTest::newRow("writes off") << 4 << false << false << -1;
        QTest::newRow("refreshing") << 4 << true << true << -1;
        QTest::newRow("row 11") << 11 << true << false << -1;
        QTest::newRow("row -1") << -1 << true << false << -1;
    }
    void sleepSlot()
    {
        QFETCH(int, row);
        QFETCH(bool, writes);
        QFETCH(bool, refreshing);
        QFETCH(int, code);
        LampLight page;
        UserWritesEnabled = writes;
        LightPageRefreshing = refreshing;
        const int updates = SimControl_UpdateCount();
        page.on_StopCloseTime_activated(row);
        LightPageRefreshing = false;
        FlashDataMap expected = fixture.held;
        if (code >= 0)
            expected.sleepTime = uint8_t(code);
        QCOMPARE(SimControl_UpdateCount() - updates, code >= 0 ? 1 : 0);
        QCOMPARE(fixture.devices.RecordDifferences(fixture.receiver, expected), QString());
    }

    // Sliders locked by a refused write or an import open again with the next read from the device.
    void lockedSlidersOpenAtTheNextRead()
    {
        LampLight page;
        page.SlotUpDataLightUIA(LightRecord());
        QVERIFY(!Slider(*page.MouseLightPanel(), "horizontalLight")->isEnabled());
        page.EffectPanel()->EnableSliders(false);
        page.SlotUpDataLightUILight(LightRecord());
        QVERIFY(Slider(*page.MouseLightPanel(), "horizontalLight")->isEnabled());
        QVERIFY(Slider(page, "LightH")->isEnabled());
        QVERIFY(Slider(page, "SpeedH")->isEnabled());
    }

    // Every panel takes its texts from the language files on each language change; a language with
    // fewer than three indicator descriptions leaves them empty.
    void textsFollowTheLanguage_data()
    {
        LanguageRows();
    }
    void textsFollowTheLanguage()
    {
        QFETCH(int, language);
        LampLight page;
        emit PostMsg::Instance()->SigAllLanguage(language);
        const QString light = QStringLiteral("light");
        const auto text = [&](const char* key) { return UiText::Text(language, light, QLatin1String(key)); };
        QVERIFY(!text("DPIEffect").isEmpty());
        QCOMPARE(Child<QLabel>(page, "label")->text(), text("DPIEffect"));
        QCOMPARE(Combo(page, "Model")->itemText(2), UiText::Option(language, "DPIEffectOptions", "2"));
        QCOMPARE(Child<QLabel>(*page.MouseLightPanel(), "label_4")->text(), text("MovingOffLight"));
        QCOMPARE(Combo(*page.MouseLightPanel(), "LightMod")->itemText(6), UiText::Option(language, "LightModeOptions", "6"));
        QCOMPARE(Child<QLabel>(*page.ReceiveLightPanel(), "label_9")->text(), text("receiverLight"));
        QCOMPARE(Child<QLabel>(*page.IndicatorMeaningPanel(), "label_16")->text(), text("receiver"));
        const auto& pairs = UiTextTables::Instance()->Language(language).receiverStatusList;
        QCOMPARE(pairs.size(), 3);
        QCOMPARE(Child<QTextEdit>(*page.IndicatorMeaningPanel(), "textEdit_4")->toPlainText(),
                 pairs.at(2).first + pairs.at(2).second);
        const ThreeLed& leds = *page.IndicatorLedsPanel();
        QCOMPARE(Combo(leds, "LightMod_4")->itemText(1), UiText::Option(language, "receiverList", "3"));
        QCOMPARE(Child<QLabel>(leds, "label_33")->text(), UiText::Option(language, "receiverList", "1"));
        QCOMPARE(Child<QLabel>(leds, "label_35")->text(), UiText::Option(language, "StatusDescriptionList", "#42e81b"));
        QCOMPARE(Child<QLabel>(leds, "label_49")->text(), text("default"));
        QVERIFY(!Child<QLabel>(leds, "label_49")->text().isEmpty());
        emit PostMsg::Instance()->SigAllLanguage(0);
    }
    void fewerThanThreeDescriptionsLeaveThemEmpty()
    {
        QTemporaryDir folder;
        QFile english(folder.filePath("en.json"));
        QVERIFY(english.open(QIODevice::WriteOnly));
        english.write(R"({"mouse": {"receiverStatusList": [{"option": "A: ", "info": "a"}, {"option": "B: ", "info": "b"}]}})");
        english.close();
        UiTextTables::Instance()->LoadUiTextTables(folder.path());
        OneLed panel;
        UiTextTables::Instance()->LoadUiTextTables();
        for (const char* name : {"textEdit_2", "textEdit_3", "textEdit_4"})
            QVERIFY(Child<QTextEdit>(panel, name)->toPlainText().isEmpty());
    }

    // A wheel turn over the page is taken there: nothing scrolls and it goes no further up. Delivered
    // as the window system delivers it (spontaneous, handed over ignored).
    void wheelStopsAtThePage()
    {
        struct Parent : QWidget {
            int wheels = 0;
            void wheelEvent(QWheelEvent* event) override
            {
                ++wheels;
                event->ignore();
            }
        } parent;
        auto* page = new LampLight(&parent);
        parent.show();
        QWheelEvent wheel(QPointF(10, 10), QPointF(10, 10), QPoint(), QPoint(0, -120), Qt::NoButton, Qt::NoModifier,
                          Qt::NoScrollPhase, false);
        QSpontaneKeyEvent::setSpontaneous(&wheel);
        qApp->notify(page, &wheel);
        QCOMPARE(parent.wheels, 0);
        QVERIFY(wheel.isAccepted());
    }
};

KESTRO_DEVICE_THREAD_TEST_MAIN(TestLightingPage)
#include "tst_lightingpage.moc"
