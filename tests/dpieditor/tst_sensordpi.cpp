#include "device/ConnectionState.h"
#include "device/DeviceDiscovery.h"
#include "device/DeviceParamSetters.h"
#include "device/PostMsg.h"
#include "pages/sensor/SensorDPI.h"
#include "pages/sensor/SensorFeatures.h"
#include "support/SimulatedDeviceFixture.h"
#include "widgets/UiText.h"
#include "widgets/UiTextTables.h"

#include <QApplication>
#include <QDir>
#include <QPixmap>
#include <QComboBox>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QSignalSpy>
#include <QSlider>
#include <QSpinBox>
#include <QToolButton>
#include <QtTest>
#include <cstring>

namespace {

const char* const LevelNames[8] = {"BlueButton",  "BrightRedButton", "RedButton",       "YellowButton",
                                   "GreenButton", "PurpleButton",    "LightBlueButton", "LightYellowButton"};
const int MarkerX[8] = {27, 118, 209, 300, 391, 483, 573, 664};

QByteArray Bytes(const FlashDataMap& record) { return QByteArray(reinterpret_cast<const char*>(record.bytes()), sizeof record); }

// Offsets at which two records differ, for readable failures.
QString Differences(const FlashDataMap& a, const FlashDataMap& b)
{
    QStringList offsets;
    for (std::size_t i = 0; i < sizeof a; ++i) {
        if (a.bytes()[i] != b.bytes()[i])
            offsets << QString("0x%1: %2 != %3").arg(i, 0, 16).arg(a.bytes()[i]).arg(b.bytes()[i]);
    }
    return offsets.join("; ");
}
} // namespace

class TestSensorDPI : public QObject
{
    Q_OBJECT
    TestHome home;
    QTemporaryDir programFolder;
    SimulatedDevices* devices = nullptr;
    int mouse = -1;
    FlashDataMap baseline{};
    SensorDPI* editor = nullptr;

    QToolButton* Level(int k) const { return editor->findChild<QToolButton*>(LevelNames[k]); }
    QToolButton* Swatch(int k) const { return editor->findChild<QToolButton*>(QString(LevelNames[k]) + "A"); }
    QLabel* Marker() const { return editor->findChild<QLabel*>("label_8"); }
    QSlider* Slider() const { return editor->findChild<QSlider*>("horizontalSliderC"); }
    QSpinBox* Spin() const { return editor->findChild<QSpinBox*>("spinBoxA"); }
    QComboBox* Count() const { return editor->findChild<QComboBox*>("ChooseEvent"); }

    // The wired mouse is current and connected, the working copy holds its record, and a new editor
    // shows that record as the sensor page does.
    void OpenMouse()
    {
        mouse = devices->OpenWiredMouse(&baseline);
        QVERIFY(mouse >= 0);
        SettingsWriteInProgress = false;
        UserWritesEnabled = true;
        delete editor;
        editor = new SensorDPI;
        ShowRecord(baseline);
    }

    // The sensor page's calling order for a record, with the page's refresh flag set.
    void ShowRecord(const FlashDataMap& record)
    {
        SensorFeatures& features = SensorFeatures::Instance();
        editor->ReleaseSlider();
        editor->BlockSliderSignals(true);
        SensorPageRefreshing = true;
        editor->SetLevelCount(record.dpiLevelCount);
        editor->SetCurrentLevelIndex(record.currentDpiLevel);
        editor->BlockLevelCountSignals(true);
        editor->FillLevelCountItems(8);
        for (int k = 0; k < 8; ++k) {
            const DpiLevelEntry& entry = record.dpiLevels[k];
            editor->SetLevelColorHex(k, QString::asprintf("#%02x%02x%02x", entry.red, entry.green, entry.blue));
            editor->SetLevelText(k, QString::number(features.DecodeDpi(entry.codeX, entry.flags)));
        }
        editor->SyncSwatchesToLevel(record.currentDpiLevel);
        editor->SetSliderMinimum(50);
        editor->SetSliderMaximum(26000);
        const int current = record.currentDpiLevel;
        if (current < 8) {
            editor->SetSliderValue(editor->LevelText(current).toInt());
            editor->SetSpinValue(editor->LevelText(current).toInt());
        }
        editor->ShowLevelCount(record.dpiLevelCount - 1);
        editor->SetLevelCountIndex(record.dpiLevelCount - 1);
        editor->BlockLevelCountSignals(false);
        editor->MoveMarkerToLevel(record.currentDpiLevel + 1);
        editor->SelectLevel(record.currentDpiLevel);
        SensorPageRefreshing = false;
        editor->ReleaseSlider();
    }

    FlashDataMap Held()
    {
        [&] { QVERIFY(SimControl_WaitIdle(2000)); }();
        return devices->Record(mouse);
    }

    void ExpectDeviceUnchanged()
    {
        const FlashDataMap held = Held();
        QVERIFY2(Bytes(held) == Bytes(baseline), qPrintable(Differences(held, baseline)));
    }

    // The device holds the baseline with exactly `expected` applied.
    void ExpectDevice(const FlashDataMap& expected)
    {
        const FlashDataMap held = Held();
        QVERIFY2(Bytes(held) == Bytes(expected), qPrintable(Differences(held, expected)));
    }

    void Mouse(QEvent::Type type, QPoint pos, Qt::MouseButtons buttons)
    {
        QMouseEvent event(type, pos, editor->mapToGlobal(pos), Qt::LeftButton, buttons, Qt::NoModifier);
        QApplication::sendEvent(editor, &event);
    }

    // Grabs the marker 5 pixels in and drops it with the pointer at x.
    void Drag(int x)
    {
        const QPoint grab = Marker()->pos() + QPoint(5, 5);
        Mouse(QEvent::MouseButtonPress, grab, Qt::LeftButton);
        Mouse(QEvent::MouseMove, QPoint(x, grab.y()), Qt::LeftButton);
        Mouse(QEvent::MouseButtonRelease, QPoint(x, grab.y()), Qt::NoButton);
    }

private slots:
    void initTestCase()
    {
        home.MakeUserFolders();
        // A program folder of its own: the build's simulated devices and a model list with the
        // defaults under test (model 1: full lists, model 2: short colour list and seven grades).
        QVERIFY(programFolder.isValid());
        const QString built = AppPaths::ProgramFolder();
        QDir().mkpath(programFolder.path() + "/usersetting");
        QDir().mkpath(programFolder.path() + "/simulated");
        QVERIFY(QFile::copy(built + "/simulated/devices.ini", programFolder.path() + "/simulated/devices.ini"));
        QDir().mkpath(programFolder.path() + "/Language");
        for (const char* file : {"en.json", "zh-CN.json", "ru.json"})
            QFile::copy(built + "/Language/" + file, programFolder.path() + "/Language/" + file);
        QFile config(programFolder.path() + "/usersetting/Config.ini");
        QVERIFY(config.open(QIODevice::WriteOnly));
        config.write("[Option]\nDeviceTotal=2\nButtonColor=255,255,255\n"
                     "[Drive1]\nDPIColor=1,2,3,4,5,6,7,8,9,10,11,12,13,14,15,16,17,18,19,20,21,22,23,24\n"
                     "DPIGrade=400,800,1600,3200,6400,12800,20000,26000,30000\nDPIMaxGrade=8\n"
                     "[Drive2]\nDPIColor=101,102,103,104,105,106,107,108,109,110,111,112,113,114,115,116,117,118,119,120,121,122,123\n"
                     "DPIGrade=500,1000,1500,2000,2500,3000,3500\nDPIMaxGrade=200\n");
        config.close();
        AppPaths::SetProgramFolder(programFolder.path());
        devices = new SimulatedDevices;
        SensorFeatures::Instance().ReadDpiRangeList({"50", "26000", "50", "0"});
    }
    void cleanupTestCase()
    {
        delete editor;
        UsbServer_Exit();
        delete devices;
    }

    // Every slot named after a form widget finds its widget: making the editor warns of nothing,
    // and the hidden pushButton sets the slider without a write.
    void formSlotsAllConnect()
    {
        static QStringList warnings;
        warnings.clear();
        const QtMessageHandler previous = qInstallMessageHandler(
            [](QtMsgType type, const QMessageLogContext&, const QString& message) {
                if (type != QtDebugMsg)
                    warnings << message;
            });
        SensorDPI made;
        qInstallMessageHandler(previous);
        QVERIFY2(warnings.filter("No matching signal").isEmpty(), qPrintable(warnings.join('\n')));
        QPushButton* button = made.findChild<QPushButton*>("pushButton");
        QVERIFY(button);
        QVERIFY(button->isHidden());
        QSignalSpy added(PostMsg::Instance(), &PostMsg::SigAddSensor);
        button->click();
        QCOMPARE(made.findChild<QSlider*>("horizontalSliderC")->value(), 5000);
        QCOMPARE(added.count(), 0);
    }

    void loadDefaultLevels_data()
    {
        QTest::addColumn<int>("model");
        QTest::addColumn<QStringList>("colors");
        QTest::addColumn<QStringList>("texts");
        const QStringList form = {"100", "200", "200", "100", "100", "200", "100", "200"};
        QTest::newRow("24 numbers, 9 grades: all colours, first 8 grades")
            << 0 << QStringList{"1,2,3", "4,5,6", "7,8,9", "10,11,12", "13,14,15", "16,17,18", "19,20,21", "22,23,24"}
            << QStringList{"400", "800", "1600", "3200", "6400", "12800", "20000", "26000"};
        QTest::newRow("23 numbers, 7 grades: colour 7 and the texts stay")
            << 1
            << QStringList{"101,102,103", "104,105,106", "107,108,109", "110,111,112", "113,114,115", "116,117,118",
                           "119,120,121", "0,212,252"}
            << form;
    }
    void loadDefaultLevels()
    {
        QFETCH(int, model);
        QFETCH(QStringList, colors);
        QFETCH(QStringList, texts);
        CurrentDeviceInfo.Update([&](DeviceAllInfo& info) { info.modelIndex = model; });
        SensorDPI fresh;
        fresh.LoadDefaultLevels();
        for (int k = 0; k < 8; ++k) {
            QCOMPARE(fresh.LevelColor(k), colors.at(k));
            QCOMPARE(fresh.LevelText(k), texts.at(k));
        }
        CurrentDeviceInfo.Update([](DeviceAllInfo& info) { info.modelIndex = 0; });
    }

    // Colours, current level and counts from a device or a file are taken only within 0..7 / 1..8.
    void outOfRangeInputIsIgnored()
    {
        SensorDPI fresh;
        fresh.SetLevelColorHex(2, "#0a10FF");
        QCOMPARE(fresh.LevelColor(2), QString("10,16,255"));
        fresh.SetLevelColorHex(8, "#ffffff");
        fresh.SetLevelColorHex(-1, "#ffffff");
        QCOMPARE(fresh.LevelColor(7), QString("0,212,252"));
        QCOMPARE(fresh.LevelColor(0), QString("255,0,0"));

        QCOMPARE(fresh.CurrentLevel(), 1);
        fresh.SetCurrentLevelIndex(8);
        fresh.SetCurrentLevelIndex(-1);
        fresh.SetCurrentLevelIndex(255);
        QCOMPARE(fresh.CurrentLevel(), 1);
        const QPoint marker = fresh.findChild<QLabel*>("label_8")->pos();
        fresh.MoveMarkerToLevel(9);
        fresh.MoveMarkerToLevel(0);
        QCOMPARE(fresh.CurrentLevel(), 1);
        QCOMPARE(fresh.findChild<QLabel*>("label_8")->pos(), marker);

        fresh.SetLevelCount(0);
        QCOMPARE(fresh.LevelCount(), 1);
        fresh.SetLevelCount(200);
        QCOMPARE(fresh.LevelCount(), 8);

        QComboBox* count = fresh.findChild<QComboBox*>("ChooseEvent");
        fresh.FillLevelCountItems(200);
        QCOMPARE(count->count(), 8);
        fresh.InsertLevelCountItem(8, "9");
        QCOMPARE(count->count(), 8);
        fresh.FillLevelCountItems(0);
        QCOMPARE(count->count(), 1);
    }

    // With the level buttons' signals blocked (as while the page shows a record) the swatches are
    // still restyled and the value is still announced; nothing reaches the device.
    void selectLevelWithBlockedSignals()
    {
        OpenMouse();
        editor->SetLevelText(3, "3200");
        QSignalSpy added(PostMsg::Instance(), &PostMsg::SigAddSensor);
        for (int k = 0; k < 8; ++k)
            Level(k)->blockSignals(true);
        editor->SelectLevel(3);
        for (int k = 0; k < 8; ++k)
            Level(k)->blockSignals(false);
        QCOMPARE(added.count(), 1);
        QCOMPARE(added.at(0).at(0).toInt(), 3200);
        QVERIFY(Level(3)->isChecked());
        QVERIFY(Swatch(3)->isChecked());
        QVERIFY(Swatch(3)->styleSheet().contains("MaxB.png"));
        for (int k = 0; k < 8; ++k) {
            if (k != 3)
                QVERIFY(Swatch(k)->styleSheet().contains("MinB.png"));
        }
        QCOMPARE(Slider()->value(), 3200);
        ExpectDeviceUnchanged();

        added.clear();
        editor->SelectLevel(8);
        QCOMPARE(added.count(), 0);
    }

    void showLevelCount_data()
    {
        QTest::addColumn<int>("index");
        QTest::addColumn<int>("visible");
        QTest::newRow("0 shows level 0 only") << 0 << 1;
        QTest::newRow("7 shows all") << 7 << 8;
        QTest::newRow("8 changes nothing") << 8 << 3;
    }
    void showLevelCount()
    {
        QFETCH(int, index);
        QFETCH(int, visible);
        SensorDPI fresh;
        fresh.ShowLevelCount(2);
        fresh.ShowLevelCount(index);
        for (int k = 0; k < 8; ++k) {
            auto* level = fresh.findChild<QToolButton*>(LevelNames[k]);
            auto* swatch = fresh.findChild<QToolButton*>(QString(LevelNames[k]) + "A");
            QCOMPARE(!level->isHidden(), k < visible);
            QCOMPARE(!swatch->isHidden(), k < visible);
        }
    }

    void markerPositions()
    {
        SensorDPI fresh;
        QLabel* marker = fresh.findChild<QLabel*>("label_8");
        QCOMPARE(marker->pos(), QPoint(103, 154));
        for (int k : {7, 0, 5}) {
            fresh.ShowLevelSelected(k);
            QCOMPARE(marker->pos(), QPoint(MarkerX[k], 154));
        }
        fresh.MoveMarkerToLevel(1);
        QCOMPARE(fresh.CurrentLevel(), 0);
        QCOMPARE(marker->pos(), QPoint(27, 154));
        fresh.MoveMarkerToLevel(8);
        QCOMPARE(fresh.CurrentLevel(), 7);
        QCOMPARE(marker->pos(), QPoint(664, 154));
        // Only the marker and the number move: level 5 stays the checked one.
        QVERIFY(fresh.findChild<QToolButton*>(LevelNames[5])->isChecked());
    }

    // A level count that leaves the current level outside swaps it into the new last slot.
    void levelCountChange_data()
    {
        QTest::addColumn<int>("current");
        QTest::addColumn<int>("index");
        QTest::newRow("level 3 current, one level") << 3 << 0;
        QTest::newRow("level 3 current, three levels") << 3 << 2;
        QTest::newRow("level 3 current, six levels: no swap") << 3 << 5;
        QTest::newRow("level 0 current, eight levels") << 0 << 7;
    }
    void levelCountChange()
    {
        QFETCH(int, current);
        QFETCH(int, index);
        OpenMouse();
        // The device starts with eight levels and `current` as its current level.
        FlashDataMap start = baseline;
        start.dpiLevelCount = 8;
        start.currentDpiLevel = uint8_t(current);
        QVERIFY(SimControl_SetDeviceRecord(mouse, start.bytes()));
        AdoptDeviceConfig(start);
        baseline = start;
        ShowRecord(start);
        const QString currentText = editor->LevelText(current);
        const QString currentColor = editor->LevelColor(current);
        const QString lastText = editor->LevelText(index);

        Count()->setCurrentIndex(index);

        FlashDataMap expected = start;
        expected.dpiLevelCount = uint8_t(index + 1);
        if (current > index) {
            std::swap(expected.dpiLevels[current], expected.dpiLevels[index]);
            expected.currentDpiLevel = uint8_t(index);
            QCOMPARE(editor->LevelText(index), currentText);
            QCOMPARE(editor->LevelText(current), lastText);
            QCOMPARE(editor->LevelColor(index), currentColor);
        }
        ExpectDevice(expected);
        QCOMPARE(editor->CurrentLevel(), int(expected.currentDpiLevel));
        QVERIFY(Level(expected.currentDpiLevel)->isChecked());
        QCOMPARE(Marker()->pos(), QPoint(MarkerX[expected.currentDpiLevel], 154));
        for (int k = 0; k < 8; ++k)
            QCOMPARE(!Level(k)->isHidden(), k <= index);
    }

    // Offline the choice goes back and nothing is written.
    void levelCountOffline()
    {
        OpenMouse();
        const int before = Count()->currentIndex();
        SimControl_SetAttached(mouse, 0);
        QSignalSpy offline(PostMsg::Instance(), &PostMsg::SigMouseOffLineo);
        Count()->setCurrentIndex(0);
        QCOMPARE(Count()->currentIndex(), before);
        QCOMPARE(offline.count(), 1);
        SimControl_SetAttached(mouse, 1);
        ExpectDeviceUnchanged();
    }

    // The slider snaps to the ranges; the value reaches the checked level's DPI bytes.
    void sliderQuantises_data()
    {
        QTest::addColumn<int>("value");
        QTest::addColumn<int>("expected");
        QTest::newRow("inside the first range") << 490 << 450;
        QTest::newRow("between the ranges") << 550 << 600;
        QTest::newRow("inside the second range") << 899 << 800;
    }
    void sliderQuantises()
    {
        QFETCH(int, value);
        QFETCH(int, expected);
        OpenMouse();
        SensorFeatures::Instance().ReadDpiRangeList({"50", "500", "50", "600", "900", "100", "0"});
        const int level = editor->CurrentLevel();
        QVERIFY(editor->SliderChangeArmed());
        QSignalSpy added(PostMsg::Instance(), &PostMsg::SigAddSensor);
        Slider()->setValue(value);
        QCOMPARE(Spin()->value(), expected);
        QCOMPARE(editor->LevelText(level), QString::number(expected));
        QCOMPARE(added.count(), 1);
        QCOMPARE(added.at(0).at(0).toInt(), expected);

        FlashDataMap record = baseline;
        const DpiLevelBytes bytes = SensorFeatures::Instance().EncodeDpi(expected, record.dpiLevels[level].flags);
        QVERIFY(bytes.valid);
        record.dpiLevels[level].codeX = record.dpiLevels[level].codeY = bytes.code;
        record.dpiLevels[level].flags = bytes.flags;
        ExpectDevice(record);
        SensorFeatures::Instance().ReadDpiRangeList({"50", "26000", "50", "0"});
    }

    void stepButtons_data()
    {
        QTest::addColumn<QStringList>("ranges");
        QTest::addColumn<int>("start");
        QTest::addColumn<bool>("up");
        QTest::addColumn<int>("expected");
        const QStringList two = {"50", "500", "50", "600", "900", "100", "0"};
        QTest::newRow("up from the first range's top") << two << 500 << true << 600;
        QTest::newRow("down from the second range's bottom") << two << 600 << false << 500;
        QTest::newRow("up inside a range") << two << 700 << true << 800;
        QTest::newRow("up inside the first range") << two << 200 << true << 250;
        QTest::newRow("down inside a range") << two << 800 << false << 700;
        QTest::newRow("down from the first range's top") << two << 500 << false << 450;
        QTest::newRow("zero step stays") << QStringList{"50", "500", "0", "0"} << 300 << true << 300;
        QTest::newRow("zero step down stays") << QStringList{"50", "500", "0", "0"} << 300 << false << 300;
    }
    void stepButtons()
    {
        QFETCH(QStringList, ranges);
        QFETCH(int, start);
        QFETCH(bool, up);
        QFETCH(int, expected);
        OpenMouse();
        SensorFeatures::Instance().ReadDpiRangeList(ranges);
        Slider()->setValue(start);
        QCOMPARE(Spin()->value(), start);
        QTest::mouseClick(editor->findChild<QToolButton*>(up ? "AddLevelA" : "ReduceLevelA"), Qt::LeftButton);
        QCOMPARE(Spin()->value(), expected);
        QCOMPARE(editor->LevelText(editor->CurrentLevel()), QString::number(expected));
        const FlashDataMap held = Held();
        const DpiLevelEntry& entry = held.dpiLevels[editor->CurrentLevel()];
        QCOMPARE(SensorFeatures::Instance().DecodeDpi(entry.codeX, entry.flags), expected);
        SensorFeatures::Instance().ReadDpiRangeList({"50", "26000", "50", "0"});
    }

    // Between two ranges a step goes to the nearer range's edge: up to the upper range's minimum,
    // down to the lower range's top (never up, as a step to the next range's minimum would).
    void stepBetweenRanges_data()
    {
        QTest::addColumn<bool>("up");
        QTest::addColumn<int>("expected");
        QTest::newRow("down to the lower range's top") << false << 500;
        QTest::newRow("up to the upper range's minimum") << true << 600;
    }
    void stepBetweenRanges()
    {
        QFETCH(bool, up);
        QFETCH(int, expected);
        OpenMouse();
        SensorFeatures& features = SensorFeatures::Instance();
        features.ReadDpiRangeList({"50", "500", "50", "600", "900", "100", "0"});
        // The device holds 550 at the current level: a value between the two ranges.
        FlashDataMap start = baseline;
        const int level = start.currentDpiLevel;
        start.dpiLevels[level].codeX = start.dpiLevels[level].codeY = 10;
        start.dpiLevels[level].flags = 0;
        QVERIFY(SimControl_SetDeviceRecord(mouse, start.bytes()));
        AdoptDeviceConfig(start);
        ShowRecord(start);
        QCOMPARE(Spin()->value(), 550);

        QTest::mouseClick(editor->findChild<QToolButton*>(up ? "AddLevelA" : "ReduceLevelA"), Qt::LeftButton);
        QCOMPARE(Spin()->value(), expected);
        FlashDataMap written = start;
        written.dpiLevels[level].codeX = written.dpiLevels[level].codeY = uint8_t(expected / 50 - 1);
        ExpectDevice(written);
        features.ReadDpiRangeList({"50", "26000", "50", "0"});
    }

    // A model without ranges after one with them: the slider writes its value coded without range
    // flags, and the step buttons, which have no step to go by, write nothing.
    void modelWithoutRanges_data()
    {
        QTest::addColumn<QString>("control");
        QTest::addColumn<int>("expected");
        QTest::newRow("slider") << "horizontalSliderC" << 12050;
        QTest::newRow("step up") << "AddLevelA" << 800;
        QTest::newRow("step down") << "ReduceLevelA" << 800;
    }
    void modelWithoutRanges()
    {
        QFETCH(QString, control);
        QFETCH(int, expected);
        SensorFeatures& features = SensorFeatures::Instance();
        FlashDataMap start{};
        OpenMouse();
        start = baseline;
        const int level = start.currentDpiLevel;
        start.dpiLevels[level].codeX = start.dpiLevels[level].codeY = 15;
        start.dpiLevels[level].flags = 0;
        QVERIFY(SimControl_SetDeviceRecord(mouse, start.bytes()));
        AdoptDeviceConfig(start);
        baseline = start;
        features.ReadDpiRangeList({"50", "10000", "50", "10100", "26000", "100", "22"});
        features.ReadDpiRangeList({});
        ShowRecord(start);
        QCOMPARE(Spin()->value(), 800);

        if (control == QLatin1String("horizontalSliderC"))
            Slider()->setValue(expected);
        else
            QTest::mouseClick(editor->findChild<QToolButton*>(control), Qt::LeftButton);
        QCOMPARE(Spin()->value(), expected);
        FlashDataMap written = start;
        written.dpiLevels[level].codeX = written.dpiLevels[level].codeY = uint8_t(expected / 50 - 1);
        ExpectDevice(written);
        features.ReadDpiRangeList({"50", "26000", "50", "0"});
    }

    // A slider moved while the page shows a record or while writes are off writes nothing.
    void sliderWritesOnlyForTheUser_data()
    {
        QTest::addColumn<bool>("refreshing");
        QTest::addColumn<bool>("writes");
        QTest::addColumn<bool>("reset");
        QTest::newRow("page refreshing") << true << true << false;
        QTest::newRow("writes disabled") << false << false << false;
        QTest::newRow("import or reset running") << false << true << true;
    }
    void sliderWritesOnlyForTheUser()
    {
        QFETCH(bool, refreshing);
        QFETCH(bool, writes);
        QFETCH(bool, reset);
        OpenMouse();
        QVERIFY(editor->SliderChangeArmed());
        SensorPageRefreshing = refreshing;
        UserWritesEnabled = writes;
        SettingsWriteInProgress = reset;
        QSignalSpy added(PostMsg::Instance(), &PostMsg::SigAddSensor);
        Slider()->setValue(5000);
        SensorPageRefreshing = false;
        UserWritesEnabled = true;
        SettingsWriteInProgress = false;
        QCOMPARE(Spin()->value(), 5000);
        QCOMPARE(added.count(), 0);
        ExpectDeviceUnchanged();
    }

    // Selecting a level (here with its swatch) whose value the slider already shows leaves the
    // next change written; another value is shown without being written.
    void selectingTheShownValueStaysArmed()
    {
        OpenMouse();
        const int current = editor->CurrentLevel();
        const int other = current == 0 ? 1 : 0;
        editor->SetLevelText(other, QString::number(Slider()->value()));
        Swatch(other)->click();
        QCOMPARE(editor->CurrentLevel(), other);
        QVERIFY(editor->SliderChangeArmed());
        Slider()->setValue(5000);
        FlashDataMap held = Held();
        QCOMPARE(int(held.currentDpiLevel), other);
        QCOMPARE(SensorFeatures::Instance().DecodeDpi(held.dpiLevels[other].codeX, held.dpiLevels[other].flags), 5000);

        editor->SetLevelText(current, "1200");
        Swatch(current)->click();
        QCOMPARE(Slider()->value(), 1200);
        QCOMPARE(Spin()->value(), 1200);
        QVERIFY(editor->SliderChangeArmed());
        held = Held();
        QCOMPARE(int(held.currentDpiLevel), current);
        QCOMPARE(Bytes(held).mid(0x24 + 6 * current, 6), Bytes(baseline).mid(0x24 + 6 * current, 6));
    }

    // Dropping the marker one, three and seven levels away makes that level current on the device.
    void markerDrop_data()
    {
        QTest::addColumn<int>("from");
        QTest::addColumn<int>("distance");
        QTest::addColumn<int>("to");
        QTest::newRow("one level right") << 0 << 100 << 1;
        QTest::newRow("three levels right") << 0 << 290 << 3;
        QTest::newRow("seven levels right") << 0 << 640 << 7;
        QTest::newRow("three levels left") << 7 << -260 << 4;
        QTest::newRow("between two rows snaps back") << 0 << 60 << 0;
        QTest::newRow("beyond the editor's edge snaps back") << 7 << 45 << 7;
    }
    void markerDrop()
    {
        QFETCH(int, from);
        QFETCH(int, distance);
        QFETCH(int, to);
        OpenMouse();
        FlashDataMap start = baseline;
        start.dpiLevelCount = 8;
        start.currentDpiLevel = uint8_t(from);
        QVERIFY(SimControl_SetDeviceRecord(mouse, start.bytes()));
        AdoptDeviceConfig(start);
        baseline = start;
        ShowRecord(start);
        QSignalSpy added(PostMsg::Instance(), &PostMsg::SigAddSensor);

        Drag(MarkerX[from] + distance);

        QCOMPARE(editor->CurrentLevel(), to);
        QCOMPARE(Marker()->pos(), QPoint(MarkerX[to], 154));
        QVERIFY(Level(to)->isChecked());
        FlashDataMap expected = start;
        expected.currentDpiLevel = uint8_t(to);
        ExpectDevice(expected);
        if (to != from) {
            QCOMPARE(added.count(), 1);
            QCOMPARE(added.at(0).at(0).toInt(), editor->LevelText(to).toInt());
            QCOMPARE(Slider()->value(), editor->LevelText(to).toInt());
        }
    }

    // Drops at the limits: past the last shown level's limit the unchanged level is written again;
    // at the limit, or beyond either end of the track, nothing is written. The marker goes back.
    void markerDropLimits_data()
    {
        QTest::addColumn<int>("countIndex");
        QTest::addColumn<int>("from");
        QTest::addColumn<int>("x");
        QTest::addColumn<int>("writes");
        QTest::newRow("two levels, x 160") << 1 << 0 << 160 << 0;
        QTest::newRow("two levels, x 161") << 1 << 0 << 161 << 1;
        QTest::newRow("one level, x 70") << 0 << 0 << 70 << 1;
        QTest::newRow("left of the track") << 7 << 0 << 14 << 0;
        QTest::newRow("right of the track") << 7 << 7 << 707 << 0;
    }
    void markerDropLimits()
    {
        QFETCH(int, countIndex);
        QFETCH(int, from);
        QFETCH(int, x);
        QFETCH(int, writes);
        OpenMouse();
        FlashDataMap start = baseline;
        start.dpiLevelCount = uint8_t(countIndex + 1);
        start.currentDpiLevel = uint8_t(from);
        QVERIFY(SimControl_SetDeviceRecord(mouse, start.bytes()));
        AdoptDeviceConfig(start);
        baseline = start;
        ShowRecord(start);
        QCOMPARE(Count()->currentIndex(), countIndex);
        QVERIFY(SimControl_WaitIdle(2000));
        const int updates = SimControl_UpdateCount();

        Drag(x);

        QCOMPARE(editor->CurrentLevel(), from);
        QCOMPARE(Marker()->pos(), QPoint(MarkerX[from], 154));
        ExpectDeviceUnchanged();
        QCOMPARE(SimControl_UpdateCount(), updates + writes);
    }

    // The mouse goes offline between the press and the drop: the editor shows the level the
    // device still has.
    void markerDropOffline()
    {
        OpenMouse();
        FlashDataMap start = baseline;
        start.dpiLevelCount = 8;
        start.currentDpiLevel = 1;
        QVERIFY(SimControl_SetDeviceRecord(mouse, start.bytes()));
        AdoptDeviceConfig(start);
        baseline = start;
        ShowRecord(start);
        QSignalSpy offline(PostMsg::Instance(), &PostMsg::SigMouseOffLineo);
        const QPoint grab = Marker()->pos() + QPoint(5, 5);
        Mouse(QEvent::MouseButtonPress, grab, Qt::LeftButton);
        Mouse(QEvent::MouseMove, QPoint(MarkerX[1] + 290, grab.y()), Qt::LeftButton);
        SimControl_SetAttached(mouse, 0);
        Mouse(QEvent::MouseButtonRelease, QPoint(MarkerX[1] + 290, grab.y()), Qt::NoButton);
        QCOMPARE(offline.count(), 1);
        QCOMPARE(editor->CurrentLevel(), 1);
        QCOMPARE(Marker()->pos(), QPoint(MarkerX[1], 154));
        QVERIFY(Level(1)->isChecked());
        QVERIFY(Swatch(1)->isChecked());
        SimControl_SetAttached(mouse, 1);
        ExpectDeviceUnchanged();
    }

    // A level chosen with the mouse's own DPI button shows once the page passes the record on.
    void showsDeviceSideChange()
    {
        OpenMouse();
        SimControl_PressDpiButton(mouse, 3);
        const FlashDataMap held = Held();
        QCOMPARE(int(held.currentDpiLevel), 3);
        AdoptDeviceConfig(held);
        ShowRecord(held);
        QCOMPARE(editor->CurrentLevel(), 3);
        QVERIFY(Level(3)->isChecked());
        QVERIFY(Swatch(3)->isChecked());
        QCOMPARE(Marker()->pos(), QPoint(MarkerX[3], 154));
        QCOMPARE(Slider()->value(), editor->LevelText(3).toInt());
        QCOMPARE(Spin()->value(), editor->LevelText(3).toInt());
    }

    // With KESTRO_DPIEDITOR_SHOTS set to a folder, the editor is drawn there in the three languages.
    void renderLanguages()
    {
        const QString folder = qEnvironmentVariable("KESTRO_DPIEDITOR_SHOTS");
        if (folder.isEmpty())
            QSKIP("no picture folder asked for");
        OpenMouse();
        UiTextTables::Instance()->LoadUiTextTables();
        const char* const names[3] = {"en", "zh-CN", "ru"};
        QWidget window;
        window.setStyleSheet("background-color: rgb(30, 33, 40);");
        window.resize(728, 194);
        editor->setParent(&window);
        editor->move(0, 0);
        window.show();
        for (int language = 0; language < 3; ++language) {
            UiLanguage = language;
            emit PostMsg::Instance()->SigAllLanguage(language);
            QCOMPARE(editor->findChild<QLabel*>("label")->text(), UiText::ForReader(language, "SensorDPI", "DPILevels"));
            QVERIFY(window.grab().save(folder + "/sensordpi-" + names[language] + ".png"));
        }
        UiLanguage = 0;
        editor->setParent(nullptr);
    }

    // A chosen colour reaches the checked swatch's level; offline it is dropped, with writes off
    // it is only shown.
    void colorChange_data()
    {
        QTest::addColumn<bool>("online");
        QTest::addColumn<bool>("writes");
        QTest::newRow("online") << true << true;
        QTest::newRow("offline") << false << true;
        QTest::newRow("writes disabled") << true << false;
    }
    void colorChange()
    {
        QFETCH(bool, online);
        QFETCH(bool, writes);
        OpenMouse();
        SensorPageRefreshing = true;
        editor->SelectLevel(2);
        SensorPageRefreshing = false;
        QVERIFY(Swatch(2)->isChecked());
        const QString before = editor->LevelColor(2);
        QSignalSpy offline(PostMsg::Instance(), &PostMsg::SigMouseOffLineo);
        if (!online)
            SimControl_SetAttached(mouse, 0);
        UserWritesEnabled = writes;
        editor->SetColor(QColor(5, 200, 16));
        UserWritesEnabled = true;
        if (!online)
            SimControl_SetAttached(mouse, 1);

        QCOMPARE(offline.count(), online ? 0 : 1);
        QCOMPARE(editor->LevelColor(2), online ? QString("5,200,16") : before);
        FlashDataMap expected = baseline;
        if (online && writes) {
            expected.dpiLevels[2].red = 5;
            expected.dpiLevels[2].green = 200;
            expected.dpiLevels[2].blue = 16;
        }
        ExpectDevice(expected);
        if (online)
            QVERIFY(Swatch(2)->styleSheet().contains("rgb(5,200,16)"));
    }
};

QTEST_MAIN(TestSensorDPI)
#include "tst_sensordpi.moc"
