#include "device/DeviceState.h"
#include "device/PostMsg.h"
#include "pages/lighting/SensorEffect.h"
#include "support/FindChild.h"
#include "support/SimulatedDeviceFixture.h"

#include <QComboBox>
#include <QSignalSpy>
#include <QSlider>
#include <QSpinBox>
#include <QtTest>

// The DPI light effect panel on a simulated wired mouse: what each user change writes into the
// mouse's record, what a refusal undoes, and that showing device values writes nothing.
class TestSensorEffect : public QObject
{
    Q_OBJECT
    TestHome home;
    SimulatedDevices devices;
    int mouse = -1;
    FlashDataMap held{};

    // The panel as the page leaves it after a read: steady, speed 2, brightness step 10.
    struct Panel {
        SensorEffect effect;
        QComboBox* model = Child<QComboBox>(effect, "Model");
        QSlider* speed = Child<QSlider>(effect, "SpeedH");
        QSlider* light = Child<QSlider>(effect, "LightH");
        QSpinBox* speedBox = Child<QSpinBox>(effect, "SpeedSpinBox");
        QSpinBox* lightBox = Child<QSpinBox>(effect, "LightSpinBox");
        Panel(int mode, int speedValue, int step)
        {
            effect.show();
            effect.SetModel(mode);
            effect.SetSpeedValue(speedValue);
            effect.SetLightValue(step);
        }
    };

    // The record the mouse holds with some bytes changed.
    FlashDataMap Expected(std::initializer_list<std::pair<int, uint8_t>> bytes) const
    {
        FlashDataMap expected = held;
        for (const auto& byte : bytes)
            expected.bytes()[byte.first] = byte.second;
        return expected;
    }

    // A slider the shown mode uses: in view and taking the mouse. The other row stays in view,
    // greyed out, with its value, and lets the mouse pass.
    static bool InUse(const QSlider* slider)
    {
        return slider->isVisible() && !slider->testAttribute(Qt::WA_TransparentForMouseEvents);
    }
    static bool OnlyShown(const QSlider* slider)
    {
        return slider->isVisible() && slider->testAttribute(Qt::WA_TransparentForMouseEvents);
    }

    // The user drags a slider's handle to position and lets it go (tracking is off: the value
    // changes on release).
    static void Drag(QSlider* slider, int position)
    {
        slider->setSliderDown(true);
        slider->setSliderPosition(position);
        slider->setSliderDown(false);
    }

private slots:
    void initTestCase()
    {
        home.MakeUserFolders();
    }
    void init()
    {
        mouse = devices.OpenWiredMouse(&held);
        QVERIFY(mouse >= 0);
        // A known effect: breathing kept while switched off, so that the effect byte can be seen to stay.
        held.dpiLedMode = 2;
        held.dpiLedOn = 1;
        held.dpiLedBrightness = 255;
        held.dpiLedSpeed = 2;
        QVERIFY(SimControl_SetDeviceRecord(mouse, held.bytes()));
        AdoptDeviceConfig(held);
    }

    // Off writes only the on byte (0x57 = 0) and keeps the effect byte; steady and breathing write
    // both (0x57 = 1, 0x54 = the mode).
    void modeChoiceWrites_data()
    {
        QTest::addColumn<int>("from");
        QTest::addColumn<int>("to");
        QTest::addColumn<int>("effectByte");
        QTest::addColumn<int>("onByte");
        QTest::newRow("breathing to off keeps the effect") << 2 << 0 << 2 << 0;
        QTest::newRow("breathing to steady") << 2 << 1 << 1 << 1;
        QTest::newRow("off to breathing") << 0 << 2 << 2 << 1;
        QTest::newRow("off to steady") << 0 << 1 << 1 << 1;
    }
    void modeChoiceWrites()
    {
        QFETCH(int, from);
        QFETCH(int, to);
        QFETCH(int, effectByte);
        QFETCH(int, onByte);
        Panel panel(from, 2, 10);
        const int updates = SimControl_UpdateCount();
        panel.model->setCurrentIndex(to);
        QCOMPARE(SimControl_UpdateCount(), updates + 1);
        QCOMPARE(devices.RecordDifferences(mouse, Expected({{0x54, uint8_t(effectByte)}, {0x57, uint8_t(onByte)}})), QString());
        QCOMPARE(panel.effect.RememberedMode(), to);
    }

    void offThenSteady()
    {
        Panel panel(2, 2, 10);
        panel.model->setCurrentIndex(0);
        QCOMPARE(devices.RecordDifferences(mouse, Expected({{0x57, 0}})), QString());
        panel.model->setCurrentIndex(1);
        QCOMPARE(devices.RecordDifferences(mouse, Expected({{0x57, 1}, {0x54, 1}})), QString());
    }

    // Each brightness step writes its code; the number box follows the accepted step.
    void brightnessStepWritesItsCode_data()
    {
        QTest::addColumn<int>("step");
        QTest::addColumn<int>("code");
        const int codes[10] = {16, 30, 60, 90, 128, 150, 180, 210, 230, 255};
        for (int step = 1; step <= 9; ++step)
            QTest::addRow("step %d", step) << step << codes[step - 1];
    }
    void brightnessStepWritesItsCode()
    {
        QFETCH(int, step);
        QFETCH(int, code);
        Panel panel(1, 2, 10);
        const int updates = SimControl_UpdateCount();
        Drag(panel.light, step);
        QCOMPARE(SimControl_UpdateCount(), updates + 1);
        QCOMPARE(devices.RecordDifferences(mouse, Expected({{0x55, uint8_t(code)}})), QString());
        QCOMPARE(panel.lightBox->value(), step);
        QVERIFY(panel.light->isEnabled());
    }

    void speedWritesTheSliderValue()
    {
        Panel panel(2, 2, 10);
        Drag(panel.speed, 3);
        QCOMPARE(devices.RecordDifferences(mouse, Expected({{0x56, 3}})), QString());
        QCOMPARE(panel.speedBox->value(), 3);
    }

    // The mouse is gone: the mode goes back to the one in force, with one notice and no write, and
    // the rows of that mode stay.
    void refusedModeGoesBack()
    {
        Panel panel(1, 2, 10);
        SimulatedDevices::Situation(mouse, true, false, false);
        QSignalSpy notices(PostMsg::Instance(), &PostMsg::SigMouseOffLineo);
        const int updates = SimControl_UpdateCount();
        panel.model->setCurrentIndex(2);
        QCOMPARE(panel.model->currentIndex(), 1);
        QCOMPARE(panel.effect.RememberedMode(), 1);
        QCOMPARE(notices.count(), 1);
        QCOMPARE(SimControl_UpdateCount(), updates);
        QVERIFY(InUse(panel.light));
        QVERIFY(OnlyShown(panel.speed));
        QCOMPARE(devices.RecordDifferences(mouse, held), QString());
    }

    // A drag while the mouse is gone puts the handle back to the number shown and greys the slider
    // out; it stays so, and undoes any change, until the page enables the sliders again.
    void offlineDragLocksTheSlider_data()
    {
        QTest::addColumn<bool>("brightness");
        QTest::newRow("brightness") << true;
        QTest::newRow("speed") << false;
    }
    void offlineDragLocksTheSlider()
    {
        QFETCH(bool, brightness);
        Panel panel(brightness ? 1 : 2, 2, 10);
        QSlider* slider = brightness ? panel.light : panel.speed;
        QSpinBox* box = brightness ? panel.lightBox : panel.speedBox;
        const int shown = box->value();
        SimulatedDevices::Situation(mouse, true, false, false);
        QSignalSpy notices(PostMsg::Instance(), &PostMsg::SigMouseOffLineo);
        const int updates = SimControl_UpdateCount();
        Drag(slider, 4);
        QVERIFY(!slider->isEnabled());
        QCOMPARE(slider->value(), shown);
        QCOMPARE(box->value(), shown);
        QCOMPARE(notices.count(), 1);
        slider->setValue(3);
        QCOMPARE(slider->value(), shown);
        QVERIFY(!slider->isEnabled());
        QCOMPARE(SimControl_UpdateCount(), updates);
        panel.effect.EnableSliders(true);
        QVERIFY(slider->isEnabled());
    }

    // A release the mouse refuses greys the slider out at the number shown.
    void refusedReleaseLocksTheSlider()
    {
        Panel panel(1, 2, 10);
        SimulatedDevices::Situation(mouse, true, false, false);
        panel.light->setValue(6); // a click on the groove
        QVERIFY(!panel.light->isEnabled());
        QCOMPARE(panel.light->value(), 10);
        QCOMPARE(panel.lightBox->value(), 10);
        panel.effect.UnlockSliders();
        QVERIFY(panel.light->isEnabled());
    }

    // Showing device values and texts writes nothing and raises nothing, also with the mouse gone.
    void hostOperationsWriteNothing_data()
    {
        QTest::addColumn<bool>("online");
        QTest::newRow("online") << true;
        QTest::newRow("offline") << false;
    }
    void hostOperationsWriteNothing()
    {
        QFETCH(bool, online);
        Panel panel(0, 1, 1);
        SimulatedDevices::Situation(mouse, true, false, online);
        QSignalSpy notices(PostMsg::Instance(), &PostMsg::SigMouseOffLineo);
        const int updates = SimControl_UpdateCount();
        panel.effect.SetModel(1);
        panel.effect.SetLightValue(7);
        panel.effect.SetSpeedValue(4);
        panel.effect.SetModel(2);
        panel.effect.EnableSliders(false);
        panel.effect.EnableSliders(true);
        panel.effect.UnlockSliders();
        panel.effect.SetModelItemText(1, QStringLiteral("Steady"));
        panel.effect.SetTitleText(QStringLiteral("DPI light effect"));
        QCOMPARE(SimControl_UpdateCount(), updates);
        QCOMPARE(notices.count(), 0);
        QCOMPARE(panel.model->currentIndex(), 2);
        QCOMPARE(panel.effect.RememberedMode(), 2);
        QCOMPARE(panel.light->value(), 7);
        QCOMPARE(panel.lightBox->value(), 7);
        QCOMPARE(panel.speedBox->value(), 4);
        QVERIFY(InUse(panel.speed) && panel.speedBox->isVisible());
        QVERIFY(OnlyShown(panel.light));
        if (online)
            QCOMPARE(devices.RecordDifferences(mouse, held), QString());
    }

    // A mode the list does not hold leaves the mode shown.
    void unknownModeLeavesTheList()
    {
        Panel panel(2, 2, 10);
        panel.effect.SetModel(3);
        QCOMPARE(panel.model->currentIndex(), 2);
        QCOMPARE(panel.effect.RememberedMode(), 2);
        QVERIFY(InUse(panel.speed));
    }

    // Writes not allowed (before the device window, or while the sensor page refreshes): a mode
    // choice only shows its rows, a click on the groove moves the handle but not the number, and
    // nothing is written; a drag still shows its position while the mouse answers.
    void withoutWritesNothingIsWritten_data()
    {
        QTest::addColumn<bool>("writesEnabled");
        QTest::addColumn<bool>("sensorRefreshing");
        QTest::newRow("writes off") << false << false;
        QTest::newRow("sensor page refreshing") << true << true;
    }
    void withoutWritesNothingIsWritten()
    {
        QFETCH(bool, writesEnabled);
        QFETCH(bool, sensorRefreshing);
        Panel panel(1, 2, 5);
        SimulatedDevices::Situation(mouse, writesEnabled, sensorRefreshing, true);
        QSignalSpy notices(PostMsg::Instance(), &PostMsg::SigMouseOffLineo);
        const int updates = SimControl_UpdateCount();
        panel.light->triggerAction(QAbstractSlider::SliderPageStepAdd);
        QCOMPARE(panel.light->value(), 6);
        QCOMPARE(panel.lightBox->value(), 5);
        panel.light->setSliderDown(true);
        panel.light->setSliderPosition(8);
        QCOMPARE(panel.lightBox->value(), 8);
        panel.light->setSliderDown(false);
        panel.model->setCurrentIndex(2);
        QVERIFY(InUse(panel.speed));
        QVERIFY(OnlyShown(panel.light));
        QCOMPARE(panel.effect.RememberedMode(), 1);
        QCOMPARE(SimControl_UpdateCount(), updates);
        QCOMPARE(notices.count(), 0);
        QCOMPARE(devices.RecordDifferences(mouse, held), QString());
        SensorPageRefreshing = false;
    }
};

QTEST_MAIN(TestSensorEffect)
#include "tst_sensoreffect.moc"
