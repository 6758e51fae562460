#include "device/DeviceParamSetters.h"
#include "device/PostMsg.h"
#include "pages/sensor/MotionSync.h"
#include "pages/sensor/RippeControl.h"
#include "pages/sensor/SensorLOD.h"
#include "pages/sensor/SensorRate.h"
#include "pages/sensor/StraightLine.h"
#include "support/SimulatedDeviceFixture.h"
#include "widgets/UiText.h"
#include "widgets/UiTextTables.h"

#include <QComboBox>
#include <QLabel>
#include <QSignalSpy>
#include <QToolButton>
#include <QtTest>
#include <cstring>

namespace {

const char* const RateButtons[SensorRate::RowCount] = {"Button125HZ",  "Button250HZ",  "Button500HZ", "Button1000HZ",
                                                       "Button2000HZ", "Button4000HZ", "Button8000HZ"};

QStringList Texts(const QSignalSpy& spy)
{
    QStringList texts;
    for (const QList<QVariant>& call : spy)
        texts << call.at(0).toString();
    return texts;
}
QList<int> Ints(const QSignalSpy& spy)
{
    QList<int> values;
    for (const QList<QVariant>& call : spy)
        values << call.at(0).toInt();
    return values;
}
}

// The panels on one test window over the simulated wired mouse: every user action is checked by
// what reached the device, byte for byte, and by what the panel shows and announces afterwards.
class TestSensorPanels : public QObject
{
    Q_OBJECT
    TestHome home;
    SimulatedDevices* devices = nullptr;
    int mouse = -1;
    FlashDataMap baseline{};

    void OpenMouse()
    {
        mouse = devices->OpenWiredMouse(&baseline);
        QVERIFY(mouse >= 0);
    }

    // Sets the click's situation; returns the device's update count before the click.
    int Situation(bool enabled, bool refreshing, bool online)
    {
        return SimulatedDevices::Situation(mouse, enabled, refreshing, online);
    }

    // The device holds the baseline with at most `offset` changed to `value` (-1: nothing changed),
    // and exactly one record reached it when something was written.
    void ExpectDevice(int updatesBefore, int offset, int value)
    {
        QVERIFY(SimControl_WaitIdle(2000));
        QCOMPARE(SimControl_UpdateCount(), updatesBefore + (value >= 0 ? 1 : 0));
        FlashDataMap expected = baseline;
        if (value >= 0)
            expected.bytes()[offset] = uint8_t(value);
        const QString differences = devices->RecordDifferences(mouse, expected);
        QVERIFY2(differences.isEmpty(), qPrintable(differences));
        QCOMPARE(std::memcmp(DeviceConfigSnapshot().bytes(), expected.bytes(), sizeof expected), 0);
    }

    // A baseline byte that differs from every value the test writes there, so a write always shows.
    void MarkBaseline(int offset, uint8_t value)
    {
        baseline.bytes()[offset] = value;
        AdoptDeviceConfig(baseline);
        QVERIFY(SetDeviceReportRate(baseline.bytes()[0]));
        QVERIFY(SimControl_WaitIdle(2000));
        QCOMPARE(devices->Record(mouse).bytes()[offset], value);
    }

    static int CheckedRate(SensorRate& panel)
    {
        int checked = -1;
        for (int row = 0; row < SensorRate::RowCount; ++row) {
            if (panel.findChild<QToolButton*>(RateButtons[row])->isChecked()) {
                if (checked >= 0)
                    return -2;
                checked = row;
            }
        }
        return checked;
    }

private slots:
    void initTestCase()
    {
        home.MakeUserFolders();
        UiTextTables::Instance()->LoadUiTextTables();
        devices = new SimulatedDevices;
    }
    void cleanupTestCase()
    {
        UsbServer_Exit();
        delete devices;
    }

    void rateClick_data()
    {
        QTest::addColumn<int>("start");      // current rate index the page set; -1 unset
        QTest::addColumn<int>("row");        // the button clicked
        QTest::addColumn<bool>("enabled");
        QTest::addColumn<bool>("refreshing");
        QTest::addColumn<bool>("online");
        QTest::addColumn<int>("code");       // byte 0 on the device afterwards; -1 nothing written
        QTest::addColumn<int>("shown");      // the checked row afterwards; -1 none
        QTest::addColumn<QList<int>>("reports");
        QTest::addColumn<QList<int>>("hides");
        QTest::addColumn<int>("toggles");    // toggled signals of all buttons, the click's own only

        const int codes[SensorRate::RowCount] = {8, 4, 2, 1, 16, 32, 64};
        const int rates[SensorRate::RowCount] = {125, 250, 500, 1000, 2000, 4000, 8000};
        for (int row = 0; row < SensorRate::RowCount; ++row) {
            const int start = row == 0 ? 3 : 0;
            QTest::addRow("%d Hz written", rates[row]) << start << row << true << false << true << codes[row] << row
                                                       << QList<int>{rates[row]} << QList<int>{row >= 4 ? 1 : 0} << 2;
        }
        QTest::newRow("checked button writes again") << 3 << 3 << true << false << true << 1 << 3 << QList<int>{1000}
                                                     << QList<int>{0} << 0;
        QTest::newRow("writes disabled moves the mark only") << 2 << 5 << false << false << true << -1 << 5 << QList<int>{}
                                                             << QList<int>{} << 2;
        QTest::newRow("page refreshing writes nothing") << 2 << 5 << true << true << true << -1 << 5 << QList<int>{}
                                                        << QList<int>{} << 2;
        QTest::newRow("offline puts the rate back") << 2 << 6 << true << false << false << -1 << 2 << QList<int>{500}
                                                    << QList<int>{} << 2;
        QTest::newRow("offline with the rate unknown shows none") << -1 << 4 << true << false << false << -1 << -1
                                                                  << QList<int>{} << QList<int>{} << 1;
    }
    void rateClick()
    {
        QFETCH(int, start);
        QFETCH(int, row);
        QFETCH(bool, enabled);
        QFETCH(bool, refreshing);
        QFETCH(bool, online);
        QFETCH(int, code);
        QFETCH(int, shown);
        QFETCH(QList<int>, reports);
        QFETCH(QList<int>, hides);
        QFETCH(int, toggles);
        OpenMouse();
        MarkBaseline(0, 0x80);

        QWidget window;
        auto* panel = new SensorRate(&window);
        panel->SetRateMode(3);
        window.show();
        panel->SetCurrentRate(start);
        QCOMPARE(CheckedRate(*panel), start);

        QSignalSpy reportSpy(PostMsg::Instance(), SIGNAL(SigAddReport(int)));
        QSignalSpy hideSpy(PostMsg::Instance(), SIGNAL(SigHideModel(int)));
        QSignalSpy offlineSpy(PostMsg::Instance(), SIGNAL(SigMouseOffLineo(int)));
        QList<QSignalSpy*> toggleSpies;
        for (const char* name : RateButtons)
            toggleSpies << new QSignalSpy(panel->findChild<QToolButton*>(name), SIGNAL(toggled(bool)));

        const int updates = Situation(enabled, refreshing, online);
        panel->findChild<QToolButton*>(RateButtons[row])->click();

        ExpectDevice(updates, 0, code);
        QCOMPARE(CheckedRate(*panel), shown);
        QCOMPARE(Ints(reportSpy), reports);
        QCOMPARE(Ints(hideSpy), hides);
        QCOMPARE(offlineSpy.count(), enabled && !refreshing && !online ? 1 : 0);
        int toggled = 0;
        for (QSignalSpy* spy : toggleSpies)
            toggled += spy->count();
        qDeleteAll(toggleSpies);
        QCOMPARE(toggled, toggles);
        QCOMPARE(panel->CurrentRate(), code >= 0 ? row : start);
    }

    void rateMode_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<QList<bool>>("shown"); // 2000, 4000, 8000 Hz
        QTest::newRow("0 slow rates only") << 0 << QList<bool>{false, false, false};
        QTest::newRow("1 up to 4000") << 1 << QList<bool>{true, true, false};
        QTest::newRow("2 up to 2000") << 2 << QList<bool>{true, false, false};
        QTest::newRow("3 all") << 3 << QList<bool>{true, true, true};
        QTest::newRow("4 leaves them") << 4 << QList<bool>{false, true, false};
        QTest::newRow("-1 leaves them") << -1 << QList<bool>{false, true, false};
    }
    void rateMode()
    {
        QFETCH(int, mode);
        QFETCH(QList<bool>, shown);
        OpenMouse();
        QWidget window;
        auto* panel = new SensorRate(&window);
        window.show();
        // A known layout to tell "unchanged" apart: only 4000 Hz of the fast rates shown.
        panel->findChild<QToolButton*>("Button2000HZ")->hide();
        panel->findChild<QToolButton*>("Button8000HZ")->hide();
        panel->SetCurrentRate(6);
        const int updates = SimControl_UpdateCount();

        panel->SetRateMode(mode);
        for (int fast = 0; fast < 3; ++fast)
            QCOMPARE(panel->findChild<QToolButton*>(RateButtons[4 + fast])->isVisible(), shown[fast]);
        for (int slow = 0; slow < 4; ++slow)
            QVERIFY(panel->findChild<QToolButton*>(RateButtons[slow])->isVisible());
        // Hiding the rate in force neither unchecks it nor writes anything.
        QCOMPARE(CheckedRate(*panel), 6);
        ExpectDevice(updates, 0, -1);
    }

    // What the page sets is shown and announced, hidden or not; a value without a row is only kept.
    void rateFromThePage()
    {
        OpenMouse();
        QWidget window;
        auto* panel = new SensorRate(&window);
        panel->SetRateMode(0);
        window.show();
        const int updates = SimControl_UpdateCount();
        QSignalSpy reportSpy(PostMsg::Instance(), SIGNAL(SigAddReport(int)));
        QSignalSpy hideSpy(PostMsg::Instance(), SIGNAL(SigHideModel(int)));
        panel->SetCurrentRate(6);
        panel->SetCurrentRate(1);
        panel->SetCurrentRate(9);
        QCOMPARE(Ints(reportSpy), (QList<int>{8000, 250}));
        QCOMPARE(hideSpy.count(), 0);
        QCOMPARE(CheckedRate(*panel), 1);
        QCOMPARE(panel->CurrentRate(), 9);
        ExpectDevice(updates, 0, -1);
    }

    void lodChoice_data()
    {
        QTest::addColumn<bool>("three");
        QTest::addColumn<int>("start");      // value the page set
        QTest::addColumn<int>("row");        // the row the user picks
        QTest::addColumn<bool>("enabled");
        QTest::addColumn<bool>("refreshing");
        QTest::addColumn<bool>("online");
        QTest::addColumn<int>("code");       // byte 5 afterwards; -1 nothing written
        QTest::addColumn<int>("shown");      // the selected row afterwards
        QTest::addColumn<QStringList>("announced");

        QTest::newRow("two items: 2mm") << false << 0 << 1 << true << false << true << 2 << 1 << QStringList{"2mm"};
        QTest::newRow("two items: 1mm") << false << 1 << 0 << true << false << true << 1 << 0 << QStringList{"1mm"};
        QTest::newRow("three items: 0.7mm") << true << 0 << 0 << true << false << true << 3 << 0 << QStringList{"0.7mm"};
        QTest::newRow("three items: 1mm") << true << 2 << 1 << true << false << true << 1 << 1 << QStringList{"1mm"};
        QTest::newRow("three items: 2mm") << true << 0 << 2 << true << false << true << 2 << 2 << QStringList{"2mm"};
        QTest::newRow("writes disabled") << false << 0 << 1 << false << false << true << -1 << 1 << QStringList{};
        QTest::newRow("page refreshing") << true << 0 << 0 << true << true << true << -1 << 0 << QStringList{};
        QTest::newRow("offline puts 0.7mm back") << true << 2 << 2 << true << false << false << -1 << 0 << QStringList{};
        QTest::newRow("offline puts 1mm back") << false << 0 << 1 << true << false << false << -1 << 0 << QStringList{};
        QTest::newRow("offline, value without a row shows none") << false << 2 << 0 << true << false << false << -1 << -1
                                                                 << QStringList{};
    }
    void lodChoice()
    {
        QFETCH(bool, three);
        QFETCH(int, start);
        QFETCH(int, row);
        QFETCH(bool, enabled);
        QFETCH(bool, refreshing);
        QFETCH(bool, online);
        QFETCH(int, code);
        QFETCH(int, shown);
        QFETCH(QStringList, announced);
        OpenMouse();
        MarkBaseline(5, 0x80);

        QWidget window;
        auto* panel = new SensorLOD(&window);
        auto* combo = panel->findChild<QComboBox*>("LOD");
        window.show();
        if (three)
            panel->AddItem();
        panel->SetLOD(start);
        const int updates = Situation(enabled, refreshing, online);
        QSignalSpy lodSpy(PostMsg::Instance(), SIGNAL(SigAddLOD(QString)));
        QSignalSpy changeSpy(combo, SIGNAL(currentIndexChanged(int)));

        combo->setCurrentIndex(row); // what a pick from the list does

        ExpectDevice(updates, 5, code);
        QCOMPARE(combo->currentIndex(), shown);
        QCOMPARE(Texts(lodSpy), announced);
        QCOMPARE(changeSpy.count(), 1); // the pick's own; the putting back is silent
        QCOMPARE(panel->CurrentLOD(), code >= 0 ? (code + 2) % 3 : start);
    }

    // The page switches the layout and shows values silently: nothing reaches the device.
    void lodListChanges()
    {
        OpenMouse();
        QWidget window;
        auto* panel = new SensorLOD(&window);
        auto* combo = panel->findChild<QComboBox*>("LOD");
        window.show();
        const int updates = SimControl_UpdateCount();
        QSignalSpy lodSpy(PostMsg::Instance(), SIGNAL(SigAddLOD(QString)));

        panel->SetLOD(0);
        panel->AddItem();
        QCOMPARE(combo->count(), 3);
        QCOMPARE(combo->itemText(0), QString("0.7mm"));
        QCOMPARE(combo->currentText(), QString("1mm"));
        QCOMPARE(combo->currentIndex(), 1);
        panel->AddItem();
        QCOMPARE(combo->count(), 3);

        panel->SetLOD(2);
        QCOMPARE(combo->currentIndex(), 0);
        panel->SetLOD(5); // no row: kept, not shown, not announced
        QCOMPARE(combo->currentIndex(), 0);
        QCOMPARE(panel->CurrentLOD(), 5);

        panel->RemoveItem();
        QCOMPARE(combo->count(), 2);
        QCOMPARE(combo->currentText(), QString("1mm"));
        panel->RemoveItem();
        QCOMPARE(combo->count(), 2);

        panel->SetLOD(2); // two items: no row, announced as 2 mm
        QCOMPARE(combo->currentIndex(), -1);
        panel->SetLOD(1);
        QCOMPARE(combo->currentText(), QString("2mm"));
        QCOMPARE(Texts(lodSpy), (QStringList{"1mm", "0.7mm", "2mm", "2mm"}));

        panel->SetEnable(false);
        QVERIFY(!combo->isEnabled());
        ExpectDevice(updates, 5, -1);
    }

    void switchClick_data()
    {
        QTest::addColumn<int>("panel"); // 0 ripple, 1 angle snapping, 2 motion sync
        QTest::addColumn<bool>("start");
        QTest::addColumn<bool>("enabled");
        QTest::addColumn<bool>("refreshing");
        QTest::addColumn<bool>("online");
        QTest::addColumn<int>("value"); // the panel's byte afterwards; -1 nothing written
        QTest::addColumn<bool>("checked");
        const char* names[3] = {"ripple", "angle", "motion sync"};
        for (int panel = 0; panel < 3; ++panel) {
            QTest::addRow("%s on", names[panel]) << panel << false << true << false << true << 1 << true;
            QTest::addRow("%s off", names[panel]) << panel << true << true << false << true << 0 << false;
            QTest::addRow("%s writes disabled", names[panel]) << panel << false << false << false << true << -1 << true;
            QTest::addRow("%s page refreshing", names[panel]) << panel << true << true << true << true << -1 << false;
            QTest::addRow("%s offline flips back on", names[panel]) << panel << true << true << false << false << -1 << true;
            QTest::addRow("%s offline flips back off", names[panel]) << panel << false << true << false << false << -1 << false;
        }
    }
    void switchClick()
    {
        QFETCH(int, panel);
        QFETCH(bool, start);
        QFETCH(bool, enabled);
        QFETCH(bool, refreshing);
        QFETCH(bool, online);
        QFETCH(int, value);
        QFETCH(bool, checked);
        OpenMouse();
        const int offsets[3] = {10, 9, 7};
        MarkBaseline(offsets[panel], 0x80);

        QWidget window;
        SwitchPanel* switchPanel = nullptr;
        const char* toggleName[3] = {"RippeControl_2", "StraightLine_2", "MotionSync_2"};
        switch (panel) {
        case 0: switchPanel = new RippeControl(&window); break;
        case 1: switchPanel = new StraightLine(&window); break;
        default: switchPanel = new MotionSync(&window); break;
        }
        auto* toggle = switchPanel->findChild<QToolButton*>(toggleName[panel]);
        QVERIFY(toggle);
        window.show();
        switchPanel->SetChecked(start);
        QSignalSpy toggledSpy(toggle, SIGNAL(toggled(bool)));
        QSignalSpy clickedSpy(toggle, SIGNAL(clicked(bool)));

        const int updates = Situation(enabled, refreshing, online);
        toggle->click();

        ExpectDevice(updates, offsets[panel], value);
        QCOMPARE(toggle->isChecked(), checked);
        QCOMPARE(switchPanel->IsChecked(), checked);
        QCOMPARE(toggledSpy.count(), 1); // the click's own; flipping back is silent
        QCOMPARE(clickedSpy.count(), 1);
    }

    // The tips icon sits right after the caption in every language, never over it and never
    // outside the panel; an index outside 0..7 leaves it where it is.
    void tipsFollowTheCaption()
    {
        QWidget window;
        const QList<QFrame*> panels = {new RippeControl(&window), new StraightLine(&window), new MotionSync(&window),
                                       new SensorLOD(&window)};
        window.show();
        for (int language = 0; language < 3; ++language) {
            emit PostMsg::Instance()->SigAllLanguage(language);
            for (QFrame* panel : panels) {
                auto* caption = panel->findChild<QLabel*>("label");
                auto* tips = panel->findChild<QLabel*>("label_2");
                const int textEnd = caption->x() + caption->fontMetrics().horizontalAdvance(caption->text());
                const QString where = panel->objectName() + " " + QString::number(language);
                QVERIFY2(!caption->text().isEmpty(), qPrintable(where));
                QVERIFY2(tips->x() > textEnd, qPrintable(where));
                QVERIFY2(tips->geometry().right() < panel->width(), qPrintable(where));
                QVERIFY2(caption->geometry().right() < tips->x(), qPrintable(where));
            }
        }
        auto* ripple = static_cast<SwitchPanel*>(panels[0]);
        auto* tips = ripple->findChild<QLabel*>("label_2");
        tips->move(3, 3);
        ripple->MoveTips(8);
        ripple->MoveTips(-1);
        QCOMPARE(tips->pos(), QPoint(3, 3));
        ripple->MoveTips(7);
        QVERIFY(tips->x() > 40);
        emit PostMsg::Instance()->SigAllLanguage(0);
    }

    // Every panel takes its caption and tips from the language tables of each language, and
    // follows a language change on the bus. KESTRO_PANEL_SHOTS names a folder for pictures of them.
    void languages()
    {
        QWidget window;
        window.setStyleSheet("background-color: rgb(24, 27, 33);");
        window.resize(760, 260);
        auto* rate = new SensorRate(&window);
        auto* lod = new SensorLOD(&window);
        auto* ripple = new RippeControl(&window);
        auto* angle = new StraightLine(&window);
        auto* sync = new MotionSync(&window);
        rate->move(10, 10);
        lod->move(10, 100);
        ripple->move(200, 100);
        angle->move(200, 140);
        sync->move(200, 180);
        rate->SetRateMode(3);
        rate->SetCurrentRate(3);
        lod->SetLOD(0);
        angle->SetChecked(true);
        window.show();
        const QString shots = qEnvironmentVariable("KESTRO_PANEL_SHOTS");
        const char* names[3] = {"en", "zh", "ru"};
        for (int language = 0; language < 3; ++language) {
            emit PostMsg::Instance()->SigAllLanguage(language);
            const auto text = [&](const char* reader, const char* key) {
                const QString value = UiText::ForReader(language, reader, key);
                if (value.isEmpty())
                    qWarning("no %s text for %s in language %d", key, reader, language);
                return value;
            };
            QCOMPARE(rate->findChild<QLabel*>("label")->text(), text("SensorRate", "ReportRate"));
            QCOMPARE(lod->findChild<QLabel*>("label")->text(), text("SensorLOD", "LOD"));
            QCOMPARE(lod->findChild<QLabel*>("label_2")->toolTip(), text("SensorLOD", "LODTips"));
            QCOMPARE(ripple->findChild<QLabel*>("label")->text(), text("RippeControl", "Ripple"));
            QCOMPARE(ripple->findChild<QLabel*>("label_2")->toolTip(), text("RippeControl", "RippleTips"));
            QCOMPARE(angle->findChild<QLabel*>("label")->text(), text("StraightLine", "Angle"));
            QCOMPARE(sync->findChild<QLabel*>("label_2")->toolTip(), text("MotionSync", "MotionSyncTips"));
            for (QLabel* label : window.findChildren<QLabel*>("label"))
                QVERIFY2(!label->text().isEmpty(), qPrintable(label->parent()->objectName()));
            if (!shots.isEmpty())
                QVERIFY(window.grab().save(shots + "/sensorpanels-" + names[language] + ".png"));
        }
        emit PostMsg::Instance()->SigAllLanguage(0);
    }
};

QTEST_MAIN(TestSensorPanels)
#include "tst_sensorpanels.moc"
