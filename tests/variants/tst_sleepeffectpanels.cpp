#include "support/PanelBench.h"
#include "pages/variants/SensorEffectB.h"
#include "pages/variants/StopCloseTimeB.h"
#include "support/FindChild.h"

#include <QCheckBox>
#include <QFrame>
#include <QLabel>
#include <QSlider>
#include <QSpinBox>
#include <QtTest>

namespace {
const int SleepByte = 8;
const int EffectByte = 0x54;
const int BrightnessByte = 0x55;
const int SpeedByte = 0x56;
const int EffectOnByte = 0x57;

}

// The sleep-time slider panel and the check-box DPI light effect panel, each on a test window over
// the simulated wired mouse.
class TestSleepEffectPanels : public QObject, protected PanelBenchCase
{
    Q_OBJECT

private slots:
    void initTestCase() { StartBench(); }
    void cleanupTestCase() { StopBench(); }

    // A released position writes its code into byte 8 and shows its number and unit.
    void sleepRelease_data()
    {
        QTest::addColumn<int>("position");
        QTest::addColumn<bool>("writes");
        QTest::addColumn<bool>("lightRefreshing");
        QTest::addColumn<bool>("online");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<int>("written"); // byte 8 afterwards; -1 nothing written
        QTest::addColumn<int>("notices");
        QTest::newRow("position 1: 10 s") << 1 << true << false << true << "10 s" << 1 << 0;
        QTest::newRow("position 2: 30 s") << 2 << true << false << true << "30 s" << 3 << 0;
        QTest::newRow("position 3: 1 min writes 6") << 3 << true << false << true << "1 min" << 6 << 0;
        QTest::newRow("position 4: 5 min writes 30") << 4 << true << false << true << "5 min" << 30 << 0;
        QTest::newRow("position 7: 20 min") << 7 << true << false << true << "20 min" << 120 << 0;
        QTest::newRow("position 11: 40 min writes 240") << 11 << true << false << true << "40 min" << 240 << 0;
        QTest::newRow("lighting page refreshing: shown only") << 4 << true << true << true << "5 min" << -1 << 0;
        QTest::newRow("writes off: shown only") << 4 << false << false << true << "5 min" << -1 << 0;
        QTest::newRow("offline: the notice, the position stays") << 5 << true << false << false << "10 min" << -1 << 1;
    }
    void sleepRelease()
    {
        QFETCH(int, position);
        QFETCH(bool, writes);
        QFETCH(bool, lightRefreshing);
        QFETCH(bool, online);
        QFETCH(QString, shown);
        QFETCH(int, written);
        QFETCH(int, notices);
        QWidget window;
        auto* panel = bench->OpenPanel<StopCloseTimeB>(window, {{SleepByte, 0x80}});
        QVERIFY(panel);
        panel->SetUnitText(0, QStringLiteral("10 s"));
        panel->SetUnitText(5, QStringLiteral("15 min"));
        panel->SetValue(5);
        auto* slider = Child<QSlider>(*panel, "StopClose");
        auto* box = Child<QSpinBox>(*panel, "spinBoxA");

        const int updates = bench->Situation(writes, false, online, lightRefreshing);
        slider->setSliderDown(true);
        slider->setSliderPosition(position);
        QCOMPARE(box->text(), shown); // shown while the handle moves
        slider->setSliderDown(false);

        QCOMPARE(box->text(), shown);
        QCOMPARE(slider->value(), position);
        EXPECT_DEVICE_IF(*bench, updates, written >= 0, 1, {{SleepByte, written}});
        QCOMPARE(bench->OfflineNotices(), notices);
        LightPageRefreshing = false;
    }

    // The unit words come from the host's texts of rows 0 and 5, their numbers taken out; a host
    // value is shown without a write.
    void sleepUnitsAndValue()
    {
        QWidget window;
        auto* panel = bench->OpenPanel<StopCloseTimeB>(window, {{SleepByte, 0x80}});
        QVERIFY(panel);
        auto* slider = Child<QSlider>(*panel, "StopClose");
        auto* box = Child<QSpinBox>(*panel, "spinBoxA");
        QSignalSpy values(slider, SIGNAL(valueChanged(int)));
        const int updates = bench->Situation(true, false, true);

        panel->SetValue(2);
        QCOMPARE(slider->value(), 3);
        QCOMPARE(box->value(), 1);
        QCOMPARE(box->suffix(), QString());
        panel->SetUnitText(5, QStringLiteral("15 Minuten"));
        QCOMPARE(box->text(), QStringLiteral("1 Minuten"));
        panel->SetUnitText(3, QStringLiteral("5 min"));
        QCOMPARE(box->text(), QStringLiteral("1 Minuten"));
        panel->SetUnitText(0, QStringLiteral("10秒"));
        panel->SetValue(1);
        QCOMPARE(box->text(), QStringLiteral("30秒"));
        panel->SetUnitText(0, QStringLiteral("10 s 10"));
        QCOMPARE(box->text(), QStringLiteral("30 s "));
        QCOMPARE(values.count(), 0);
        EXPECT_DEVICE(*bench, updates, 0, {});

        const int numbers[] = {0, 10, 30, 1, 5, 10, 15, 20, 25, 30, 35, 40, 0};
        for (int position = 0; position <= 12; ++position)
            QCOMPARE(StopCloseTimeB::SleepDisplayNumber(position), numbers[position]);
    }

    // A mode box writes its mode (on/off byte and effect byte), also when it is already checked.
    void effectMode_data()
    {
        QTest::addColumn<QString>("boxes"); // boxes clicked, in order: 1 steady, 2 breathing, 3 off
        QTest::addColumn<bool>("writes");
        QTest::addColumn<bool>("refreshing");
        QTest::addColumn<bool>("online");
        QTest::addColumn<int>("records");
        QTest::addColumn<int>("effect"); // byte 0x54 afterwards; -1 unchanged
        QTest::addColumn<int>("on");     // byte 0x57 afterwards; -1 unchanged
        QTest::addColumn<int>("mode");   // the rows shown afterwards
        QTest::addColumn<int>("notices");
        QTest::newRow("steady") << "1" << true << false << true << 1 << 1 << 1 << 1 << 0;
        QTest::newRow("breathing") << "2" << true << false << true << 1 << 2 << 1 << 2 << 0;
        QTest::newRow("off writes the on byte only") << "3" << true << false << true << 1 << -1 << 0 << 0 << 0;
        QTest::newRow("a repeated click writes again") << "22" << true << false << true << 2 << 2 << 1 << 2 << 0;
        QTest::newRow("breathing then off") << "23" << true << false << true << 2 << 2 << 0 << 0 << 0;
        QTest::newRow("writes off: the rows only") << "2" << false << false << true << 0 << -1 << -1 << 2 << 0;
        QTest::newRow("page refreshing: the rows only") << "2" << true << true << true << 0 << -1 << -1 << 2 << 0;
        QTest::newRow("offline: the notice, the box stays") << "1" << true << false << false << 0 << -1 << -1 << 1 << 1;
    }
    void effectMode()
    {
        QFETCH(QString, boxes);
        QFETCH(bool, writes);
        QFETCH(bool, refreshing);
        QFETCH(bool, online);
        QFETCH(int, records);
        QFETCH(int, effect);
        QFETCH(int, on);
        QFETCH(int, mode);
        QFETCH(int, notices);
        QWidget window;
        auto* panel = bench->OpenPanel<SensorEffectB>(window, {{EffectByte, 0x80}, {EffectOnByte, 0x80}});
        QVERIFY(panel);
        const int updates = bench->Situation(writes, refreshing, online);
        for (const QChar box : boxes)
            Child<QCheckBox>(*panel, qPrintable(QStringLiteral("MM") + box))->click();

        PanelBench::Changes changes;
        if (effect >= 0)
            changes.push_back({EffectByte, effect});
        if (on >= 0)
            changes.push_back({EffectOnByte, on});
        EXPECT_DEVICE(*bench, updates, records, changes);
        const char* checkedName = mode == 0 ? "MM3" : mode == 1 ? "MM1" : "MM2";
        for (const char* name : {"MM1", "MM2", "MM3"})
            QCOMPARE(Child<QCheckBox>(*panel, name)->isChecked(), qstrcmp(name, checkedName) == 0);
        QCOMPARE(Child<QSlider>(*panel, "SpeedH")->isVisible(), mode == 2);
        QCOMPARE(Child<QSlider>(*panel, "LightH")->isVisible(), mode == 1);
        QCOMPARE(Child<QFrame>(*panel, "line")->isVisible(), mode != 2);
        QCOMPARE(Child<QFrame>(*panel, "line_2")->isVisible(), mode != 1);
        QCOMPARE(bench->OfflineNotices(), notices);
    }

    // Released sliders: speed as it is, brightness through the brightness codes; a moved handle
    // shows its step in every situation.
    void effectSliders_data()
    {
        QTest::addColumn<bool>("light"); // the brightness slider, else the speed slider
        QTest::addColumn<int>("position");
        QTest::addColumn<bool>("writes");
        QTest::addColumn<bool>("online");
        QTest::addColumn<int>("written"); // -1 nothing written
        QTest::addColumn<int>("notices");
        QTest::newRow("speed 3") << false << 3 << true << true << 3 << 0;
        QTest::newRow("brightness 5 writes 128") << true << 5 << true << true << 128 << 0;
        QTest::newRow("brightness 10 writes 255") << true << 10 << true << true << 255 << 0;
        QTest::newRow("brightness 2 writes 30") << true << 2 << true << true << 30 << 0;
        QTest::newRow("brightness with writes off: its box follows") << true << 7 << false << true << -1 << 0;
        QTest::newRow("speed offline: the notice, the box follows") << false << 4 << true << false << -1 << 1;
    }
    void effectSliders()
    {
        QFETCH(bool, light);
        QFETCH(int, position);
        QFETCH(bool, writes);
        QFETCH(bool, online);
        QFETCH(int, written);
        QFETCH(int, notices);
        QVERIFY(bench->Open());
        QVERIFY(bench->Mark({{BrightnessByte, 0x80}, {SpeedByte, 0x80}}));
        QWidget window;
        auto* panel = new SensorEffectB(&window);
        panel->SetModel(light ? 1 : 2);
        window.show();
        auto* slider = Child<QSlider>(*panel, light ? "LightH" : "SpeedH");
        auto* box = Child<QSpinBox>(*panel, light ? "LightSpinBox" : "SpeedSpinBox");
        const int updates = bench->Situation(writes, false, online);
        slider->setSliderDown(true);
        slider->setSliderPosition(position);
        QCOMPARE(box->value(), position);
        slider->setSliderDown(false);
        QCOMPARE(box->value(), position);
        EXPECT_DEVICE_IF(*bench, updates, written >= 0, 1, {{light ? BrightnessByte : SpeedByte, written}});
        QCOMPARE(bench->OfflineNotices(), notices);
    }

    // A host shows a mode: its box checked, its rows shown, no slot run and nothing written.
    void effectSetModel()
    {
        QWidget window;
        auto* panel = bench->OpenPanel<SensorEffectB>(window);
        QVERIFY(panel);
        auto* breathing = Child<QCheckBox>(*panel, "MM2");
        QSignalSpy clicked(breathing, SIGNAL(clicked(bool)));
        const int updates = bench->Situation(true, false, true);
        panel->SetModel(2);
        QVERIFY(breathing->isChecked());
        QVERIFY(Child<QSlider>(*panel, "SpeedH")->isVisible());
        QVERIFY(Child<QSpinBox>(*panel, "SpeedSpinBox")->isVisible());
        QVERIFY(Child<QFrame>(*panel, "line_2")->isVisible());
        QVERIFY(!Child<QSlider>(*panel, "LightH")->isVisible());
        panel->SetModel(3);
        QVERIFY(breathing->isChecked());
        QVERIFY(Child<QSlider>(*panel, "SpeedH")->isVisible());
        panel->SetModel(0);
        QVERIFY(Child<QCheckBox>(*panel, "MM3")->isChecked());
        QVERIFY(!Child<QSlider>(*panel, "SpeedH")->isVisible());
        QCOMPARE(clicked.count(), 0);
        EXPECT_DEVICE(*bench, updates, 0, {});

        panel->SetModelItemText(0, QStringLiteral("Off"));
        panel->SetModelItemText(1, QStringLiteral("Steady"));
        panel->SetModelItemText(2, QStringLiteral("Breathing"));
        panel->SetModelItemText(3, QStringLiteral("Other"));
        QCOMPARE(Child<QCheckBox>(*panel, "MM3")->text(), QStringLiteral("Off"));
        QCOMPARE(Child<QCheckBox>(*panel, "MM1")->text(), QStringLiteral("Steady"));
        QCOMPARE(Child<QCheckBox>(*panel, "MM2")->text(), QStringLiteral("Breathing"));
        panel->SetTitleText(QStringLiteral("DPI light"));
        panel->SetSpeedText(QStringLiteral("Speed"));
        panel->SetLightText(QStringLiteral("Brightness"));
        QCOMPARE(Child<QLabel>(*panel, "label")->text(), QStringLiteral("DPI light"));
        QCOMPARE(Child<QLabel>(*panel, "label_14")->text(), QStringLiteral("Speed"));
        QCOMPARE(Child<QLabel>(*panel, "label_15")->text(), QStringLiteral("Brightness"));
        panel->EnableSliders(false);
        QVERIFY(!Child<QSlider>(*panel, "SpeedH")->isEnabled());
        QVERIFY(!Child<QSlider>(*panel, "LightH")->isEnabled());
    }
};

QTEST_MAIN(TestSleepEffectPanels)
#include "tst_sleepeffectpanels.moc"
