#include "support/PanelBench.h"
#include "pages/variants/DebouncetimeB.h"
#include "pages/variants/DebouncetimeC.h"
#include "pages/variants/MotionSyncB.h"
#include "pages/variants/RippeControlB.h"
#include "pages/variants/SensorLODB.h"
#include "pages/variants/SensorRateB.h"
#include "pages/variants/StraightLineB.h"
#include "support/FindChild.h"

#include <QCheckBox>
#include <QLabel>
#include <QSlider>
#include <QSpinBox>
#include <QToolButton>
#include <QtTest>

namespace {
const int ReportRateByte = 0;
const int LiftOffByte = 5;
const int DebounceByte = 6;

const char* const RateBoxes[7] = {"Button125HZ",  "Button250HZ",  "Button500HZ", "Button1000HZ",
                                  "Button2000HZ", "Button4000HZ", "Button8000HZ"};

QList<int> Ints(const QSignalSpy& spy)
{
    QList<int> values;
    for (const QList<QVariant>& call : spy)
        values << call.at(0).toInt();
    return values;
}
}

// The second and third designs of the sensor and button panels, each on a test window over the
// simulated wired mouse: what reaches the device byte for byte, with writes off, while a page
// refreshes and with the mouse taken away.
class TestVariantPanels : public QObject, protected PanelBenchCase
{
    Q_OBJECT

private slots:
    void initTestCase() { StartBench(); }
    void cleanupTestCase() { StopBench(); }

    // The slider debounce panel writes the number it shows on release; no refresh flag stops it.
    void debounceSlider_data()
    {
        QTest::addColumn<int>("position");
        QTest::addColumn<bool>("writes");
        QTest::addColumn<bool>("refreshing");
        QTest::addColumn<bool>("online");
        QTest::addColumn<int>("written"); // byte 6 afterwards; -1 nothing written
        QTest::addColumn<int>("notices");
        QTest::newRow("20 written") << 20 << true << false << true << 20 << 0;
        QTest::newRow("1 written") << 1 << true << false << true << 1 << 0;
        QTest::newRow("while the sensor page refreshes") << 9 << true << true << true << 9 << 0;
        QTest::newRow("writes off shows only") << 12 << false << false << true << -1 << 0;
        QTest::newRow("offline: the notice, the number stays") << 15 << true << false << false << -1 << 1;
    }
    void debounceSlider()
    {
        QFETCH(int, position);
        QFETCH(bool, writes);
        QFETCH(bool, refreshing);
        QFETCH(bool, online);
        QFETCH(int, written);
        QFETCH(int, notices);
        QWidget window;
        auto* panel = bench->OpenPanel<DebouncetimeB>(window, {{DebounceByte, 0x80}});
        QVERIFY(panel);
        auto* slider = Child<QSlider>(*panel, "Debunce");
        auto* box = Child<QSpinBox>(*panel, "spinBoxA");
        panel->SetValue(10);

        const int updates = bench->Situation(writes, refreshing, online);
        slider->setSliderDown(true);
        slider->setSliderPosition(position);
        QCOMPARE(box->value(), position); // shown while the handle moves
        EXPECT_DEVICE(*bench, updates, 0, {});
        slider->setSliderDown(false);

        EXPECT_DEVICE_IF(*bench, updates, written >= 0, 1, {{DebounceByte, written}});
        QCOMPARE(box->value(), position);
        QCOMPARE(slider->value(), position);
        QCOMPARE(bench->OfflineNotices(), notices);
    }

    // A host shows a device value: slider and box move, nothing is written; the suffix follows.
    void debounceSliderShowsWithoutWriting()
    {
        QWidget window;
        auto* panel = bench->OpenPanel<DebouncetimeB>(window);
        QVERIFY(panel);
        auto* slider = Child<QSlider>(*panel, "Debunce");
        auto* box = Child<QSpinBox>(*panel, "spinBoxA");
        QSignalSpy moved(slider, SIGNAL(valueChanged(int)));
        const int updates = bench->Situation(true, false, true);
        panel->SetValue(7);
        panel->SetSuffix(QStringLiteral("ms"));
        QCOMPARE(slider->value(), 7);
        QCOMPARE(box->value(), 7);
        QCOMPARE(box->text(), QStringLiteral("7ms"));
        QCOMPARE(moved.count(), 0);
        EXPECT_DEVICE(*bench, updates, 0, {});
    }

    // The number box debounce panel: presses of less (-) and more (+) from its start at 0.
    void debounceSteps_data()
    {
        QTest::addColumn<QString>("presses");
        QTest::addColumn<bool>("writes");
        QTest::addColumn<bool>("online");
        QTest::addColumn<int>("shown");
        QTest::addColumn<int>("records"); // records that reached the device
        QTest::addColumn<int>("written"); // byte 6 afterwards; -1 nothing written
        QTest::addColumn<int>("notices");
        QTest::newRow("less at 0 does nothing") << "-" << true << true << 0 << 0 << -1 << 0;
        QTest::newRow("first more shows and writes 1") << "+" << true << true << 1 << 1 << 1 << 0;
        QTest::newRow("less at 1 does nothing") << "+-" << true << true << 1 << 1 << 1 << 0;
        QTest::newRow("more and less") << "+++-" << true << true << 2 << 4 << 2 << 0;
        QTest::newRow("up to 20") << QString(20, '+') << true << true << 20 << 20 << 20 << 0;
        QTest::newRow("more at 20 writes nothing") << QString(22, '+') << true << true << 20 << 20 << 20 << 0;
        QTest::newRow("down from 20") << QString(20, '+') + "-" << true << true << 19 << 21 << 19 << 0;
        QTest::newRow("writes off still counts") << "+++" << false << true << 3 << 0 << -1 << 0;
        QTest::newRow("offline: a notice a press, the number stays") << "++" << true << false << 2 << 0 << -1 << 2;
    }
    void debounceSteps()
    {
        QFETCH(QString, presses);
        QFETCH(bool, writes);
        QFETCH(bool, online);
        QFETCH(int, shown);
        QFETCH(int, records);
        QFETCH(int, written);
        QFETCH(int, notices);
        QWidget window;
        auto* panel = bench->OpenPanel<DebouncetimeC>(window, {{DebounceByte, 0x80}});
        QVERIFY(panel);
        auto* box = Child<QSpinBox>(*panel, "spinBoxA");
        QCOMPARE(box->value(), 0);

        const int updates = bench->Situation(writes, false, online);
        for (const QChar press : presses)
            Child<QToolButton>(*panel, press == '+' ? "AddLevelA" : "ReduceLevelA")->click();

        QCOMPARE(box->value(), shown);
        EXPECT_DEVICE_IF(*bench, updates, written >= 0, records, {{DebounceByte, written}});
        QCOMPARE(bench->OfflineNotices(), notices);
    }

    // The second-design switches write 1 or 0 into their byte and keep the user's state when the
    // mouse refuses; no page's refresh flag holds them back.
    void switches_data()
    {
        QTest::addColumn<int>("panel"); // 0 ripple, 1 angle snapping, 2 motion sync
        QTest::addColumn<int>("clicks");
        QTest::addColumn<bool>("writes");
        QTest::addColumn<bool>("refreshing");
        QTest::addColumn<bool>("online");
        QTest::addColumn<int>("records");
        QTest::addColumn<int>("written"); // the byte afterwards; -1 nothing written
        QTest::addColumn<bool>("checked");
        const char* names[3] = {"ripple", "angle snapping", "motion sync"};
        for (int panel = 0; panel < 3; ++panel) {
            QTest::addRow("%s on writes 1", names[panel]) << panel << 1 << true << false << true << 1 << 1 << true;
            QTest::addRow("%s off writes 0", names[panel]) << panel << 2 << true << false << true << 2 << 0 << false;
            QTest::addRow("%s while a page refreshes", names[panel]) << panel << 1 << true << true << true << 1 << 1 << true;
            QTest::addRow("%s writes off toggles only", names[panel]) << panel << 1 << false << false << true << 0 << -1 << true;
            QTest::addRow("%s offline keeps the user's state", names[panel]) << panel << 1 << true << false << false << 0 << -1 << true;
        }
    }
    void switches()
    {
        QFETCH(int, panel);
        QFETCH(int, clicks);
        QFETCH(bool, writes);
        QFETCH(bool, refreshing);
        QFETCH(bool, online);
        QFETCH(int, records);
        QFETCH(int, written);
        QFETCH(bool, checked);
        const int offsets[3] = {10, 9, 7};
        const char* switchNames[3] = {"RippeControl_2", "StraightLine_2", "MotionSync_2"};
        QVERIFY(bench->Open());
        QVERIFY(bench->Mark({{offsets[panel], 0x80}}));
        QWidget window;
        QFrame* frame = nullptr;
        switch (panel) {
        case 0: frame = new RippeControlB(&window); break;
        case 1: frame = new StraightLineB(&window); break;
        default: frame = new MotionSyncB(&window); break;
        }
        window.show();
        auto* toggle = Child<QToolButton>(*frame, switchNames[panel]);

        const int updates = bench->Situation(writes, refreshing, online);
        for (int click = 0; click < clicks; ++click)
            toggle->click();

        EXPECT_DEVICE_IF(*bench, updates, written >= 0, records, {{offsets[panel], written}});
        QCOMPARE(toggle->isChecked(), checked);
        QCOMPARE(bench->OfflineNotices(), writes && !online ? clicks : 0);
    }

    // Nothing sets a second-design switch from the device: each starts off, whatever it holds.
    void switchesStartOff()
    {
        QVERIFY(bench->Open());
        QVERIFY(bench->Mark({{10, 1}, {9, 1}, {7, 1}}));
        QWidget window;
        const QList<QPair<QFrame*, const char*>> panels = {{new RippeControlB(&window), "RippeControl_2"},
                                                           {new StraightLineB(&window), "StraightLine_2"},
                                                           {new MotionSyncB(&window), "MotionSync_2"}};
        window.show();
        for (const auto& panel : panels) {
            auto* toggle = Child<QToolButton>(*panel.first, panel.second);
            QVERIFY2(!toggle->isChecked(), panel.second);
            QVERIFY(toggle->styleSheet().contains(QStringLiteral("Close.png")));
        }
        auto* ripple = static_cast<RippeControlB*>(panels.at(0).first);
        ripple->SetText(QStringLiteral("Ripple"));
        ripple->SetToolTip(QStringLiteral("Smooths the pointer"));
        auto* caption = Child<QLabel>(*ripple, "label");
        QCOMPARE(caption->text(), QStringLiteral("Ripple"));
        QCOMPARE(caption->toolTip(), QStringLiteral("Smooths the pointer"));
        // A language change leaves the host's texts alone.
        emit PostMsg::Instance()->SigAllLanguage(1);
        QCOMPARE(caption->text(), QStringLiteral("Ripple"));
        emit PostMsg::Instance()->SigAllLanguage(0);
    }

    // The lift-off boxes: 0.7 mm writes 3, 1 mm 1, 2 mm 2; only while the sensor page is not
    // refreshing; a click on the checked box writes again.
    void liftOff_data()
    {
        QTest::addColumn<QString>("boxes"); // the boxes clicked, in order
        QTest::addColumn<bool>("writes");
        QTest::addColumn<bool>("refreshing");
        QTest::addColumn<bool>("online");
        QTest::addColumn<int>("records");
        QTest::addColumn<int>("written"); // byte 5 afterwards; -1 nothing written
        QTest::addColumn<QString>("checked");
        QTest::newRow("1 mm writes 1") << "1" << true << false << true << 1 << 1 << "MM1";
        QTest::newRow("2 mm writes 2") << "2" << true << false << true << 1 << 2 << "MM2";
        QTest::newRow("0.7 mm writes 3") << "0" << true << false << true << 1 << 3 << "MM0";
        QTest::newRow("checked box writes again") << "22" << true << false << true << 2 << 2 << "MM2";
        QTest::newRow("another box") << "21" << true << false << true << 2 << 1 << "MM1";
        QTest::newRow("page refreshing writes nothing") << "2" << true << true << true << 0 << -1 << "MM2";
        QTest::newRow("writes off writes nothing") << "2" << false << false << true << 0 << -1 << "MM2";
        QTest::newRow("offline: the notice, the box stays") << "1" << true << false << false << 0 << -1 << "MM1";
    }
    void liftOff()
    {
        QFETCH(QString, boxes);
        QFETCH(bool, writes);
        QFETCH(bool, refreshing);
        QFETCH(bool, online);
        QFETCH(int, records);
        QFETCH(int, written);
        QFETCH(QString, checked);
        QVERIFY(bench->Open());
        QVERIFY(bench->Mark({{LiftOffByte, 0x80}}));
        QWidget window;
        auto* panel = new SensorLODB(&window);
        panel->ShowZeroOption();
        window.show();

        const int updates = bench->Situation(writes, refreshing, online);
        for (const QChar box : boxes)
            Child<QCheckBox>(*panel, qPrintable(QStringLiteral("MM") + box))->click();

        EXPECT_DEVICE_IF(*bench, updates, written >= 0, records, {{LiftOffByte, written}});
        for (const char* name : {"MM0", "MM1", "MM2"})
            QCOMPARE(Child<QCheckBox>(*panel, name)->isChecked(), checked == QLatin1String(name));
        QCOMPARE(bench->OfflineNotices(), writes && !refreshing && !online ? 1 : 0);
    }

    // Where the boxes stand: 0.7 mm hidden at start, shown first by the host and hidden again;
    // disabling the options leaves the 0.7 mm box clickable.
    void liftOffRow()
    {
        QWidget window;
        auto* panel = bench->OpenPanel<SensorLODB>(window, {{LiftOffByte, 0x80}});
        QVERIFY(panel);
        auto* zero = Child<QCheckBox>(*panel, "MM0");
        auto* one = Child<QCheckBox>(*panel, "MM1");
        auto* two = Child<QCheckBox>(*panel, "MM2");
        QVERIFY(zero->isHidden());
        QCOMPARE(one->pos(), QPoint(165, 0));
        QCOMPARE(two->pos(), QPoint(250, 0));

        panel->HideZeroOption();
        QVERIFY(zero->isHidden());
        QCOMPARE(one->pos(), QPoint(80, 0));
        QCOMPARE(two->pos(), QPoint(165, 0));

        panel->ShowZeroOption();
        QVERIFY(zero->isVisible());
        QCOMPARE(zero->pos(), QPoint(80, 0));
        QCOMPARE(one->pos(), QPoint(165, 0));
        QCOMPARE(two->pos(), QPoint(250, 0));

        panel->EnableOptions(false);
        QVERIFY(!one->isEnabled());
        QVERIFY(!two->isEnabled());
        QVERIFY(zero->isEnabled());
        const int updates = bench->Situation(true, false, true);
        QTest::mouseClick(one, Qt::LeftButton);
        QVERIFY(!one->isChecked());
        EXPECT_DEVICE(*bench, updates, 0, {});
        QTest::mouseClick(zero, Qt::LeftButton);
        QVERIFY(zero->isChecked());
        EXPECT_DEVICE(*bench, updates, 1, {{LiftOffByte, 3}});
        panel->EnableOptions(true);
        QVERIFY(one->isEnabled() && two->isEnabled());

        panel->SetText(QStringLiteral("Lift-off"));
        panel->SetToolTip(QStringLiteral("Height"));
        QCOMPARE(Child<QLabel>(*panel, "label")->text(), QStringLiteral("Lift-off"));
        QCOMPARE(Child<QLabel>(*panel, "label")->toolTip(), QStringLiteral("Height"));
    }

    // Each rate box writes its code into byte 0 and, once written, announces a fast rate or not.
    void rate_data()
    {
        QTest::addColumn<QString>("rows"); // the boxes clicked, by row 0..6
        QTest::addColumn<bool>("writes");
        QTest::addColumn<bool>("refreshing");
        QTest::addColumn<bool>("online");
        QTest::addColumn<int>("records");
        QTest::addColumn<int>("written"); // byte 0 afterwards; -1 nothing written
        QTest::addColumn<QList<int>>("hides");
        QTest::addColumn<int>("checked");
        const int codes[7] = {8, 4, 2, 1, 16, 32, 64};
        for (int row = 0; row < 7; ++row)
            QTest::addRow("%s writes %d", RateBoxes[row], codes[row]) << QString::number(row) << true << false << true
                                                                      << 1 << codes[row]
                                                                      << QList<int>{row >= 4 ? 1 : 0} << row;
        QTest::newRow("a repeated click writes again") << "55" << true << false << true << 2 << 32 << QList<int>{1, 1} << 5;
        QTest::newRow("500 after 4000") << "52" << true << false << true << 2 << 2 << QList<int>{1, 0} << 2;
        QTest::newRow("while the sensor page refreshes") << "3" << true << true << true << 1 << 1 << QList<int>{0} << 3;
        QTest::newRow("writes off moves the mark only") << "6" << false << false << true << 0 << -1 << QList<int>{} << 6;
        QTest::newRow("offline: the notice, 8000 stays checked") << "6" << true << false << false << 0 << -1
                                                                  << QList<int>{} << 6;
    }
    void rate()
    {
        QFETCH(QString, rows);
        QFETCH(bool, writes);
        QFETCH(bool, refreshing);
        QFETCH(bool, online);
        QFETCH(int, records);
        QFETCH(int, written);
        QFETCH(QList<int>, hides);
        QFETCH(int, checked);
        QVERIFY(bench->Open());
        QVERIFY(bench->Mark({{ReportRateByte, 0x80}}));
        QWidget window;
        auto* panel = new SensorRateB(&window);
        panel->SetRateMode(3);
        window.show();
        QSignalSpy hideSpy(PostMsg::Instance(), SIGNAL(SigHideModel(int)));

        const int updates = bench->Situation(writes, refreshing, online);
        for (const QChar row : rows)
            Child<QCheckBox>(*panel, RateBoxes[row.digitValue()])->click();

        EXPECT_DEVICE_IF(*bench, updates, written >= 0, records, {{ReportRateByte, written}});
        QCOMPARE(Ints(hideSpy), hides);
        for (int row = 0; row < 7; ++row)
            QCOMPARE(Child<QCheckBox>(*panel, RateBoxes[row])->isChecked(), row == checked);
        QCOMPARE(bench->OfflineNotices(), writes && !online ? 1 : 0);
    }

    // The fast rates offered by mode; 125 to 1000 Hz always; another mode changes nothing.
    void rateMode_data()
    {
        QTest::addColumn<QList<int>>("modes"); // applied in order
        QTest::addColumn<QList<bool>>("shown"); // 2000, 4000, 8000 Hz
        QTest::newRow("0 slow rates only") << QList<int>{3, 0} << QList<bool>{false, false, false};
        QTest::newRow("1 up to 4000") << QList<int>{1} << QList<bool>{true, true, false};
        QTest::newRow("2 up to 2000") << QList<int>{3, 2} << QList<bool>{true, false, false};
        QTest::newRow("3 all") << QList<int>{3} << QList<bool>{true, true, true};
        QTest::newRow("7 leaves them") << QList<int>{1, 7} << QList<bool>{true, true, false};
        QTest::newRow("-1 leaves them") << QList<int>{2, -1} << QList<bool>{true, false, false};
    }
    void rateMode()
    {
        QFETCH(QList<int>, modes);
        QFETCH(QList<bool>, shown);
        QWidget window;
        auto* panel = new SensorRateB(&window);
        window.show();
        for (int mode : modes)
            panel->SetRateMode(mode);
        for (int row = 0; row < 4; ++row)
            QVERIFY(Child<QCheckBox>(*panel, RateBoxes[row])->isVisible());
        for (int fast = 0; fast < 3; ++fast)
            QCOMPARE(Child<QCheckBox>(*panel, RateBoxes[4 + fast])->isVisible(), shown.at(fast));
        panel->SetTitleText(QStringLiteral("Polling rate"));
        QCOMPARE(Child<QLabel>(*panel, "label")->text(), QStringLiteral("Polling rate"));
    }
};

QTEST_MAIN(TestVariantPanels)
#include "tst_variantpanels.moc"
