#include "support/PanelBench.h"
#include "device/ConnectionState.h"
#include "device/RefreshingScope.h"
#include "pages/sensor/SensorFeatures.h"
#include "pages/variants/SensorDPIB.h"
#include "support/FindChild.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QLabel>
#include <QSlider>
#include <QSpinBox>
#include <QToolButton>
#include <QtTest>

namespace {
const int LevelCountByte = 1;
const int CurrentLevelByte = 2;
int EntryByte(int level, int byte)
{
    return 0x24 + 6 * level + byte;
}

const char Letters[] = "ABCDEFGH";
const char* const ColourButtons[8] = {"BlueButtonA",  "BrightRedButtonA", "RedButtonA",       "YellowButtonA",
                                      "GreenButtonA", "PurpleButtonA",    "LightBlueButtonA", "LightYellowButtonA"};

QSlider* Slider(const QObject& panel, int level)
{
    return Child<QSlider>(panel, qPrintable(QStringLiteral("horizontalSlider") + QLatin1Char(Letters[level])));
}
QSpinBox* Box(const QObject& panel, int level)
{
    return Child<QSpinBox>(panel, qPrintable(QStringLiteral("spinBox") + QLatin1Char(Letters[level])));
}
QCheckBox* Current(const QObject& panel, int level)
{
    return Child<QCheckBox>(panel, qPrintable(QStringLiteral("M") + QLatin1Char(Letters[level])));
}

// A user's drag of a slider that tracks no value while it moves: the handle moves, then the release.
void DragAndRelease(QSlider* slider, int position)
{
    slider->setSliderDown(true);
    slider->setSliderPosition(position);
    slider->setSliderDown(false);
}

// The entry bytes 0..2 of a value of the test sensor: up to 3200 in steps of 50, above in steps of 100.
PanelBench::Changes DpiBytes(int level, int dpi)
{
    const bool high = dpi > 3200;
    const int code = high ? dpi / 100 - 1 : dpi / 50 - 1;
    return {{EntryByte(level, 0), code}, {EntryByte(level, 1), code}, {EntryByte(level, 2), high ? 0x22 : 0}};
}
}

// The second design of the DPI levels panel on a test window over the simulated wired mouse, with a
// sensor of two ranges: 50..3200 in steps of 50 and 3400..6000 in steps of 100.
class TestSensorDPIB : public QObject, protected PanelBenchCase
{
    Q_OBJECT

    // A panel the way a host shows the device: eight levels of values 400, 800, ... 3200 with the
    // given level current and `count` levels in use; nothing of it is written.
    SensorDPIB* Hosted(QWidget* window, int current, int count)
    {
        auto* panel = new SensorDPIB(window);
        window->show();
        RefreshingScope refreshing(SensorPageRefreshing);
        for (int item = 0; item < 8; ++item)
            panel->InsertLevelCountItem(item, QString::number(item + 1));
        Child<QComboBox>(*panel, "ChooseEvent")->setCurrentIndex(count - 1);
        panel->BlockSliderSignals(true);
        for (int level = 0; level < 8; ++level)
            panel->SetLevelValue(level, QString::number(400 * (level + 1)));
        panel->BlockSliderSignals(false);
        panel->SetLevelColorText(2, QStringLiteral("#112233"));
        panel->SetLevelColorText(5, QStringLiteral("#445566"));
        panel->RefreshButtonStyles();
        panel->SetCurrentLevel(current);
        panel->SetLevelCount(count);
        panel->SelectLevel(current);
        panel->ShowLevelRows(count - 1);
        return panel;
    }

    // Distinct entries on the device, so a moved entry shows.
    static PanelBench::Changes EntryMarks(int count, int current)
    {
        PanelBench::Changes marks = {{LevelCountByte, count}, {CurrentLevelByte, current}};
        for (int level = 0; level < 8; ++level)
            for (int byte = 0; byte < 6; ++byte)
                marks.push_back({EntryByte(level, byte), 0x10 * level + byte + 1});
        return marks;
    }

private slots:
    void initTestCase()
    {
        StartBench();
        SensorFeatures& sensor = SensorFeatures::Instance();
        sensor.CurrentSensorModel = QStringLiteral("3335");
        sensor.SensorConstNames.clear();
        sensor.SensorConstValues.clear();
        sensor.ReadDpiRangeList({"50", "3200", "50", "3400", "6000", "100", "22"});
        QCOMPARE(sensor.UsableDpiRangeCount(), 2);
    }
    void cleanupTestCase() { StopBench(); }
    void init()
    {
        SettingsWriteInProgress = false;
    }

    // A release is snapped to the sensor's ranges (down to the range's step, up into the next
    // range between two ranges, unchanged outside them), shown and written.
    void quantises_data()
    {
        QTest::addColumn<int>("level");
        QTest::addColumn<int>("released");
        QTest::addColumn<int>("shown");
        QTest::addColumn<int>("pageStep");
        QTest::newRow("3300 between the ranges goes up to 3400") << 2 << 3300 << 3400 << 100;
        QTest::newRow("4550 down to 4500") << 4 << 4550 << 4500 << 100;
        QTest::newRow("8000 outside every range unchanged") << 7 << 8000 << 8000 << 50;
        QTest::newRow("175 down to 150") << 0 << 175 << 150 << 50;
        QTest::newRow("3200 the first range's maximum") << 5 << 3200 << 3200 << 50;
    }
    void quantises()
    {
        QFETCH(int, level);
        QFETCH(int, released);
        QFETCH(int, shown);
        QFETCH(int, pageStep);
        QWidget window;
        auto* panel = bench->OpenPanel<SensorDPIB>(window, EntryMarks(8, 0));
        QVERIFY(panel);
        const int updates = bench->Situation(true, false, true);
        DragAndRelease(Slider(*panel, (level + 1) % 8), 1000); // the first release is only shown
        EXPECT_DEVICE(*bench, updates, 0, {});

        DragAndRelease(Slider(*panel, level), released);
        QCOMPARE(Box(*panel, level)->value(), shown);
        QCOMPARE(Slider(*panel, level)->value(), released); // the handle stays where the user left it
        QCOMPARE(Slider(*panel, level)->pageStep(), pageStep);
        EXPECT_DEVICE(*bench, updates, 1, DpiBytes(level, shown));
        QCOMPARE(bench->OfflineNotices(), 0);
    }

    // Who stops a release: the mouse offline (raw value shown, the notice), a settings restore
    // (shown only); writes off and a refreshing page do not stop it, the setter decides.
    void releaseSituations_data()
    {
        QTest::addColumn<bool>("writes");
        QTest::addColumn<bool>("refreshing");
        QTest::addColumn<bool>("online");
        QTest::addColumn<bool>("restoring");
        QTest::addColumn<int>("shown");
        QTest::addColumn<bool>("written");
        QTest::addColumn<int>("notices");
        QTest::newRow("online") << true << false << true << false << 4500 << true << 0;
        QTest::newRow("offline: raw value and the notice") << true << false << false << false << 4550 << false << 1;
        QTest::newRow("offline while the page refreshes: quiet") << true << true << false << false << 4500 << false << 0;
        QTest::newRow("page refreshing, online: written") << true << true << true << false << 4500 << true << 0;
        QTest::newRow("writes off: the setter writes") << false << false << true << false << 4500 << true << 0;
        QTest::newRow("writes off, offline: the setter refuses") << false << false << false << false << 4500 << false << 1;
        QTest::newRow("settings restore: shown only") << true << false << true << true << 4500 << false << 0;
    }
    void releaseSituations()
    {
        QFETCH(bool, writes);
        QFETCH(bool, refreshing);
        QFETCH(bool, online);
        QFETCH(bool, restoring);
        QFETCH(int, shown);
        QFETCH(bool, written);
        QFETCH(int, notices);
        QWidget window;
        auto* panel = bench->OpenPanel<SensorDPIB>(window, EntryMarks(8, 0));
        QVERIFY(panel);
        int updates = bench->Situation(true, false, true);
        DragAndRelease(Slider(*panel, 0), 1000);
        EXPECT_DEVICE(*bench, updates, 0, {});

        updates = bench->Situation(writes, refreshing, online);
        SettingsWriteInProgress = restoring;
        DragAndRelease(Slider(*panel, 3), 4550);
        SettingsWriteInProgress = false;
        QCOMPARE(Box(*panel, 3)->value(), shown);
        EXPECT_DEVICE_IF(*bench, updates, written, 1, DpiBytes(3, shown));
        QCOMPARE(bench->OfflineNotices(), notices);
    }

    // The first release after construction, or after SelectLevel, is shown and written nowhere;
    // the next one, of any slider, is written.
    void firstReleaseUnwritten()
    {
        QWidget window;
        auto* panel = bench->OpenPanel<SensorDPIB>(window, EntryMarks(8, 0));
        QVERIFY(panel);
        const int updates = bench->Situation(true, false, true);
        DragAndRelease(Slider(*panel, 2), 1000);
        QCOMPARE(Box(*panel, 2)->value(), 1000);
        EXPECT_DEVICE(*bench, updates, 0, {});
        DragAndRelease(Slider(*panel, 5), 2000);
        EXPECT_DEVICE(*bench, updates, 1, DpiBytes(5, 2000));

        panel->SelectLevel(6); // writes the current level, then the next release is only shown
        PanelBench::Changes changes = DpiBytes(5, 2000);
        changes.push_back({CurrentLevelByte, 6});
        EXPECT_DEVICE(*bench, updates, 2, changes);
        DragAndRelease(Slider(*panel, 6), 3000);
        QCOMPARE(Box(*panel, 6)->value(), 3000);
        EXPECT_DEVICE(*bench, updates, 2, changes);
        DragAndRelease(Slider(*panel, 6), 2500);
        for (const auto& change : DpiBytes(6, 2500))
            changes.push_back(change);
        EXPECT_DEVICE(*bench, updates, 3, changes);
    }

    // A colour chosen in the dialog becomes #rrggbb in lower case and its three bytes in the entry;
    // checking a level's box makes it current on the device. Both only with writes on and no page
    // refreshing; offline the setter refuses with the notice.
    void levelWrites_data()
    {
        QTest::addColumn<bool>("colour"); // the colour of level 2, else level 4 made current
        QTest::addColumn<bool>("writes");
        QTest::addColumn<bool>("refreshing");
        QTest::addColumn<bool>("online");
        QTest::addColumn<bool>("written");
        QTest::addColumn<int>("notices");
        for (const bool colour : {true, false}) {
            const char* what = colour ? "colour" : "current level";
            QTest::addRow("%s written", what) << colour << true << false << true << true << 0;
            QTest::addRow("%s with writes off: shown only", what) << colour << false << false << true << false << 0;
            QTest::addRow("%s while the page refreshes: shown only", what) << colour << true << true << true << false << 0;
            QTest::addRow("%s offline: the notice, shown", what) << colour << true << false << false << false << 1;
        }
    }
    void levelWrites()
    {
        QFETCH(bool, colour);
        QFETCH(bool, writes);
        QFETCH(bool, refreshing);
        QFETCH(bool, online);
        QFETCH(bool, written);
        QFETCH(int, notices);
        QWidget window;
        auto* panel = bench->OpenPanel<SensorDPIB>(window, EntryMarks(8, 0));
        QVERIFY(panel);
        const int updates = bench->Situation(writes, refreshing, online);
        PanelBench::Changes changes;
        if (colour) {
            Child<QToolButton>(*panel, ColourButtons[1])->click();
            auto* dialog = panel->findChild<QColorDialog*>();
            QVERIFY(dialog && dialog->isVisible());
            dialog->setCurrentColor(QColor(10, 200, 255));
            dialog->accept();
            QCOMPARE(panel->LevelColorText(1), QStringLiteral("#0ac8ff"));
            QVERIFY(Child<QToolButton>(*panel, ColourButtons[1])->styleSheet().contains(QStringLiteral("background-color:#0ac8ff;")));
            changes = {{EntryByte(1, 3), 10}, {EntryByte(1, 4), 200}, {EntryByte(1, 5), 255}};
        } else {
            Current(*panel, 3)->click();
            QVERIFY(Current(*panel, 3)->isChecked());
            changes = {{CurrentLevelByte, 3}};
        }
        EXPECT_DEVICE_IF(*bench, updates, written, 1, changes);
        QCOMPARE(bench->OfflineNotices(), notices);
    }

    // Fewer levels: a current level beyond the new last one moves into the last kept slot (panel
    // values, check box and device entries); the count is written last.
    void levelCount_data()
    {
        QTest::addColumn<int>("current");
        QTest::addColumn<int>("count"); // levels in use before
        QTest::addColumn<int>("index"); // the chosen item: index + 1 levels
        QTest::addColumn<bool>("online");
        QTest::newRow("level 6 current, 3 levels: swap") << 5 << 8 << 2 << true;
        QTest::newRow("level 2 current, 4 to 2 levels: no swap") << 1 << 4 << 1 << true;
        QTest::newRow("more levels: no entry moves") << 1 << 2 << 5 << true;
        QTest::newRow("offline with a swap") << 5 << 8 << 2 << false;
        QTest::newRow("offline without a swap") << 1 << 4 << 1 << false;
    }
    void levelCount()
    {
        QFETCH(int, current);
        QFETCH(int, count);
        QFETCH(int, index);
        QFETCH(bool, online);
        QVERIFY(bench->Open());
        QVERIFY(bench->Mark(EntryMarks(count, current)));
        QWidget window;
        SensorDPIB* panel = Hosted(&window, current, count);
        const bool swap = current > index;

        const int updates = bench->Situation(true, false, online);
        Child<QComboBox>(*panel, "ChooseEvent")->setCurrentIndex(index);

        const int kept = swap ? index : current;
        QVERIFY(Current(*panel, kept)->isChecked());
        QCOMPARE(Box(*panel, index)->value(), 400 * ((swap ? current : index) + 1));
        QCOMPARE(Box(*panel, current)->value(), 400 * ((swap ? index : current) + 1));
        if (swap) {
            QCOMPARE(panel->LevelColorText(index), QStringLiteral("#445566"));
            QCOMPARE(panel->LevelColorText(current), QStringLiteral("#112233"));
        }
        for (int level = 0; level < 8; ++level)
            QCOMPARE(Slider(*panel, level)->isVisible(), level <= index);

        if (!online) {
            EXPECT_DEVICE(*bench, updates, 0, {});
            // One notice from each refused write: check box and swap, then the count.
            QCOMPARE(bench->OfflineNotices(), swap ? 3 : 1);
            return;
        }
        PanelBench::Changes changes = {{LevelCountByte, index + 1}};
        if (swap) {
            changes.push_back({CurrentLevelByte, index});
            for (int byte = 0; byte < 6; ++byte) {
                changes.push_back({EntryByte(index, byte), 0x10 * current + byte + 1});
                changes.push_back({EntryByte(current, byte), 0x10 * index + byte + 1});
            }
        }
        // With a swap: the check box, the swap and the count each send the record.
        EXPECT_DEVICE(*bench, updates, swap ? 3 : 1, changes);
        QCOMPARE(bench->OfflineNotices(), 0);
    }

    // The first item put into the empty list becomes current and runs the count like any choice:
    // with level 2 current at start, levels 2 and 1 exchange and one level is shown.
    void firstItemInserted()
    {
        QWidget window;
        auto* panel = bench->OpenPanel<SensorDPIB>(window, EntryMarks(4, 1));
        QVERIFY(panel);
        panel->BlockSliderSignals(true);
        panel->SetLevelValue(0, QStringLiteral("800"));
        panel->SetLevelValue(1, QStringLiteral("1600"));
        panel->BlockSliderSignals(false);
        const int updates = bench->Situation(true, false, true);
        panel->InsertLevelCountItem(0, QStringLiteral("1"));

        QCOMPARE(Child<QComboBox>(*panel, "ChooseEvent")->currentIndex(), 0);
        QCOMPARE(Box(*panel, 0)->value(), 1600);
        QCOMPARE(Box(*panel, 1)->value(), 800);
        QCOMPARE(panel->LevelColorText(0), QStringLiteral("#ffff00"));
        QCOMPARE(panel->LevelColorText(1), QStringLiteral("#ff0000"));
        QVERIFY(Current(*panel, 0)->isChecked());
        for (int level = 1; level < 8; ++level)
            QVERIFY(Box(*panel, level)->isHidden());
        PanelBench::Changes changes = {{LevelCountByte, 1}, {CurrentLevelByte, 0}};
        for (int byte = 0; byte < 6; ++byte) {
            changes.push_back({EntryByte(0, byte), 0x10 + byte + 1});
            changes.push_back({EntryByte(1, byte), byte + 1});
        }
        EXPECT_DEVICE(*bench, updates, 3, changes);
    }

    // The host's operations write nothing; levels outside 0..7 are ignored.
    void hostOperations()
    {
        QWidget window;
        auto* panel = bench->OpenPanel<SensorDPIB>(window);
        QVERIFY(panel);
        const int updates = bench->Situation(true, false, true);
        panel->BlockSliderSignals(true);
        panel->SetLevelValue(4, QStringLiteral("2400"));
        panel->SetLevelValue(8, QStringLiteral("2400"));
        panel->BlockSliderSignals(false);
        QCOMPARE(Box(*panel, 4)->value(), 2400);
        QCOMPARE(Slider(*panel, 4)->value(), 2400);
        // A new range moves sliders outside it: the host blocks their signals meanwhile.
        panel->BlockSliderSignals(true);
        panel->SetSlidersMinimum(100);
        panel->SetSlidersMaximum(26000);
        panel->BlockSliderSignals(false);
        QCOMPARE(Slider(*panel, 7)->minimum(), 100);
        QCOMPARE(Slider(*panel, 0)->maximum(), 26000);
        panel->EnableSliders(false);
        QVERIFY(!Slider(*panel, 3)->isEnabled());
        panel->EnableSliders(true);
        panel->SetLevelColorText(-1, QStringLiteral("#000000"));
        panel->SetLevelColorText(3, QStringLiteral("#a1b2c3"));
        panel->UpdateLevelButtonStyle(3);
        QVERIFY(Child<QToolButton>(*panel, ColourButtons[3])->styleSheet().contains(QStringLiteral("#a1b2c3")));
        panel->SetDefaultButtonStyles();
        QVERIFY(Child<QToolButton>(*panel, ColourButtons[3])->styleSheet().contains(QStringLiteral("#ffffff")));
        QCOMPARE(panel->LevelColorText(3), QStringLiteral("#a1b2c3"));
        panel->ShowLevelRows(3);
        panel->ShowLevelRows(8);
        panel->ShowLevelRows(-1);
        for (int level = 0; level < 8; ++level)
            QCOMPARE(Current(*panel, level)->isVisible(), level <= 3);
        panel->ClearLevelCountItems();
        QCOMPARE(Child<QComboBox>(*panel, "ChooseEvent")->count(), 0);
        panel->SetTitleText(QStringLiteral("Levels"));
        QCOMPARE(Child<QLabel>(*panel, "label")->text(), QStringLiteral("Levels"));
        EXPECT_DEVICE(*bench, updates, 0, {});
        QCOMPARE(bench->OfflineNotices(), 0);
    }

    // SelectLevel with the mouse offline: the notice, and nothing changes.
    void selectLevelOffline()
    {
        QWidget window;
        auto* panel = bench->OpenPanel<SensorDPIB>(window);
        QVERIFY(panel);
        const int updates = bench->Situation(true, false, false);
        panel->SelectLevel(4);
        QVERIFY(!Current(*panel, 4)->isChecked());
        QCOMPARE(bench->OfflineNotices(), 1);
        EXPECT_DEVICE(*bench, updates, 0, {});
    }
};

QTEST_MAIN(TestSensorDPIB)
#include "tst_sensordpib.moc"
