#include "device/DeviceReportCallback.h"
#include "support/SettleDevices.h"
#include "support/FindChild.h"
#include "device/ConnectionState.h"
#include "device/DeviceDiscovery.h"
#include "device/DeviceParamSetters.h"
#include "device/DeviceState.h"
#include "device/PostMsg.h"
#include "pages/sensor/RippeControl.h"
#include "pages/sensor/Sensor.h"
#include "pages/sensor/SensorDPI.h"
#include "pages/sensor/SensorLOD.h"
#include "pages/sensor/SensorRate.h"
#include "pages/sensor/StraightLine.h"
#include "support/SimulatedDeviceFixture.h"
#include "widgets/UiTextTables.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QSignalSpy>
#include <QSlider>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QToolButton>
#include <QtTest>
#include <algorithm>
#include <cstring>
#include "support/LanguageRows.h"

namespace {
void IgnoreReports(const uint8_t*, int, const uint8_t*, uint32_t) {}

// Model groups the shipped Config.ini lacks: a compact model and one whose lists are broken.
const char ExtraModels[] =
    "\n[Drive90]\nSensor=Mzk1MA==\nDPIMaxGrade=8\nXIn1=2\nDPIRange=50,30000,50,0\n"
    "\n[Drive91]\nSensor=Mzk1MA==\nDPIMaxGrade=99\nXIn1=x\nDPIRange=50\n";
const int CompactModel = 89;
const int BrokenModel = 90;
const int WiredModel = 1; // Drive2, sensor 3950

bool CopyFolder(const QString& from, const QString& to)
{
    QDir().mkpath(to);
    const QDir source(from);
    for (const QFileInfo& entry : source.entryInfoList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot)) {
        const QString target = to + '/' + entry.fileName();
        if (entry.isDir() ? !CopyFolder(entry.filePath(), target) : !QFile::copy(entry.filePath(), target))
            return false;
    }
    return true;
}

FlashDataMap Record(uint8_t rate, uint8_t sensorMode = 1)
{
    FlashDataMap record{};
    record.reportRate = rate;
    record.dpiLevelCount = 4;
    record.currentDpiLevel = 1;
    record.liftOffDistance = 2;
    record.performanceMode = 1;
    record.performanceTime = 6;
    record.sensorMode = sensorMode;
    record.rippleControl = 1;
    for (int i = 0; i < DpiLevelCount; ++i)
        record.dpiLevels[i] = DpiLevelEntry{uint8_t(8 * (i + 1) - 1), uint8_t(8 * (i + 1) - 1), 0, 255, 0, uint8_t(i)};
    return record;
}

void SetDevice(int modelIndex, uint8_t status)
{
    DeviceAllInfo device;
    device.modelIndex = modelIndex;
    device.status = status;
    device.wired = DeviceAllInfo::IsWiredStatus(status);
    CurrentDeviceInfo.Set(device);
}

} // namespace

class TestSensorPage : public QObject
{
    Q_OBJECT
    TestHome home;
    QTemporaryDir program;
    SimulatedDevices* devices = nullptr;
    int mouse = -1;

    // The wired mouse is current and connected and the working copy holds its record.
    FlashDataMap OpenWiredMouse()
    {
        devices->Reset();
        mouse = devices->Find(true);
        if (mouse < 0)
            qFatal("no wired mouse");
        const QByteArray path = devices->Path(mouse);
        SetCurrentDevicePath(path);
        UsbServerC_Start(path.constData(), path.constData(), IgnoreReports);
        const FlashDataMap record = devices->Record(mouse);
        AdoptDeviceConfig(record);
        SetDevice(WiredModel, 2);
        return record;
    }

    uint8_t DeviceByte(int offset)
    {
        SimControl_WaitIdle(2000);
        const FlashDataMap held = devices->Record(mouse);
        return held.bytes()[offset];
    }

private slots:
    void initTestCase()
    {
        home.MakeUserFolders();
        QVERIFY(CopyFolder(AppPaths::ProgramFolder(), program.path()));
        QFile config(program.path() + "/usersetting/Config.ini");
        QVERIFY(config.open(QIODevice::Append));
        config.write(ExtraModels);
        config.close();
        AppPaths::SetProgramFolder(program.path());
        UiTextTables::Instance()->LoadUiTextTables();
        devices = new SimulatedDevices;
    }
    void cleanupTestCase()
    {
        UsbServer_Exit();
        delete devices;
    }
    void init()
    {
        SensorPageRefreshing = false;
        SensorPageUpdated = false;
        UserWritesEnabled = true;
        SetDevice(WiredModel, 1);
    }

    // Rate and sensor mode as the connection allows them: a cable or a fast rate on a receiver
    // that runs it shows "Corded" and takes the choice away.
    void recordShowsRateAndMode_data()
    {
        QTest::addColumn<int>("status");
        QTest::addColumn<int>("rate");
        QTest::addColumn<int>("rateRow");
        QTest::addColumn<int>("mode");
        QTest::addColumn<bool>("modeEnabled");
        QTest::newRow("cable at 4000 Hz shows 1000 Hz") << 2 << 32 << 3 << 2 << false;
        QTest::newRow("cable at 1000 Hz") << 2 << 1 << 3 << 2 << false;
        QTest::newRow("receiver at 4000 Hz") << 1 << 32 << 5 << 2 << false;
        QTest::newRow("receiver at 500 Hz") << 1 << 2 << 2 << 1 << true;
        QTest::newRow("slow receiver kind at 2000 Hz") << 0 << 16 << 4 << 1 << true;
    }
    void recordShowsRateAndMode()
    {
        QFETCH(int, status);
        QFETCH(int, rate);
        QFETCH(int, rateRow);
        QFETCH(int, mode);
        QFETCH(bool, modeEnabled);
        SetDevice(WiredModel, uint8_t(status));
        Sensor page;
        page.SlotUpDataSenSorUISensor(Record(uint8_t(rate)));
        QCOMPARE(Child<SensorRate>(page, "frameRate")->CurrentRate(), rateRow);
        auto* modeChoice = Child<QComboBox>(page, "ModelChoose");
        QCOMPARE(modeChoice->currentIndex(), mode);
        QCOMPARE(modeChoice->isEnabled(), modeEnabled);
        QVERIFY(SensorPageUpdated);
        QVERIFY(!SensorPageRefreshing);
    }

    // The fast-rate buttons follow the connection kind of the device.
    void rateModeFollowsStatus_data()
    {
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("shown");
        QTest::newRow("status 0") << 0 << "";
        QTest::newRow("status 2 (cable)") << 2 << "";
        QTest::newRow("status 1") << 1 << "2000,4000";
        QTest::newRow("status 4") << 4 << "2000";
        QTest::newRow("status 3") << 3 << "2000,4000,8000";
        QTest::newRow("status 5") << 5 << "2000,4000,8000";
    }
    void rateModeFollowsStatus()
    {
        QFETCH(int, status);
        QFETCH(QString, shown);
        SetDevice(WiredModel, uint8_t(status));
        Sensor page;
        page.SlotUpDataSenSorUISensor(Record(1));
        QStringList visible;
        for (const char* rate : {"2000", "4000", "8000"})
            if (Child<QToolButton>(page, qPrintable(QString("Button%1HZ").arg(rate)))->isVisibleTo(&page))
                visible << rate;
        QCOMPARE(visible.join(','), shown);
    }

    // XIn1 = 2 keeps only DPI, rate and angle snapping; motion sync is never shown.
    void compactModelHidesControls_data()
    {
        QTest::addColumn<int>("model");
        QTest::addColumn<bool>("compact");
        QTest::newRow("XIn1 = 1") << WiredModel << false;
        QTest::newRow("XIn1 = 2") << CompactModel << true;
    }
    void compactModelHidesControls()
    {
        QFETCH(int, model);
        QFETCH(bool, compact);
        SetDevice(model, 1);
        Sensor page;
        page.SlotUpDataSenSorUISensor(Record(1));
        for (const char* name : {"TitleButton_4", "label_5", "label_11", "ModelChoose", "frameLOD", "Performance",
                                 "PerformanceOpen", "frame"})
            QVERIFY2(Child<QWidget>(page, name)->isVisibleTo(&page) == !compact, name);
        QVERIFY(Child<QWidget>(page, "frame_4")->isVisibleTo(&page));
        QVERIFY(!Child<QWidget>(page, "frame_3")->isVisibleTo(&page));
    }

    // A model whose lists are missing or short shows what it can and never reads past the record.
    void brokenModelListsAreSafe()
    {
        SetDevice(BrokenModel, 1);
        Sensor page;
        auto* dpi = Child<SensorDPI>(page, "frameDpi");
        auto* slider = Child<QSlider>(page, "horizontalSliderC");
        const int maximum = slider->maximum();
        page.SlotUpDataSenSorUISensor(Record(1));
        QCOMPARE(slider->maximum(), maximum);
        QCOMPARE(Child<QComboBox>(page, "ChooseEvent")->count(), 8);
        QCOMPARE(dpi->LevelText(7), QString("3200"));
        QVERIFY(Child<QWidget>(page, "ModelChoose")->isVisibleTo(&page));

        SetDevice(999, 1);
        page.SlotUpDataSenSorUISensor(Record(1));
        QCOMPARE(Child<QComboBox>(page, "ChooseEvent")->count(), 0);
        QVERIFY(SensorPageUpdated);
    }

    // The level count the page starts with comes from Level.ini; absent or empty gives 1.
    void levelFileGivesTheStartLevelCount_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<bool>("present");
        QTest::addColumn<int>("read");
        QTest::addColumn<int>("shown");
        QTest::newRow("absent") << QByteArray() << false << 1 << 1;
        QTest::newRow("five") << QByteArray("5\n") << true << 5 << 5;
        QTest::newRow("empty") << QByteArray() << true << 1 << 1;
        QTest::newRow("not a number") << QByteArray("x\n") << true << 0 << 1;
        QTest::newRow("too many") << QByteArray("40") << true << 40 << 8;
    }
    void levelFileGivesTheStartLevelCount()
    {
        QFETCH(QByteArray, content);
        QFETCH(bool, present);
        QFETCH(int, read);
        QFETCH(int, shown);
        const QString path = AppPaths::UserDataFolder() + "/usersetting/SensorPage/Level.ini";
        QFile::remove(path);
        if (present) {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(content);
        }
        Sensor page;
        const int readBack = page.ReadLevelFile();
        QFile::remove(path);
        QCOMPARE(readBack, read);
        QCOMPARE(Child<SensorDPI>(page, "frameDpi")->LevelCount(), shown);
    }

    // A duration the list doesn't have keeps the shown one.
    void performanceTimeOutsideTheListKeepsTheSelection()
    {
        Sensor page;
        auto* duration = Child<QComboBox>(page, "PerformanceOpen");
        FlashDataMap record = Record(1);
        record.performanceTime = 90;
        page.SlotUpDataSenSorUISensor(record);
        QCOMPARE(duration->currentIndex(), 7);
        record.performanceTime = 21;
        page.SlotUpDataSenSorUISensor(record);
        QCOMPARE(duration->currentIndex(), 7);
        QVERIFY(Child<QCheckBox>(page, "Performance")->isChecked());
        QVERIFY(duration->isEnabled());
    }

    void performanceTimeCodes_data()
    {
        QTest::addColumn<int>("index");
        QTest::addColumn<int>("code");
        const int codes[] = {1, 3, 6, 12, 18, 30, 60, 90, 210, 240};
        for (int index = 0; index < 10; ++index)
            QTest::newRow(qPrintable(QString("row %1").arg(index))) << index << codes[index];
        QTest::newRow("row -1") << -1 << -1;
        QTest::newRow("row 10") << 10 << -1;
    }
    void performanceTimeCodes()
    {
        QFETCH(int, index);
        QFETCH(int, code);
        QCOMPARE(Sensor::PerformanceTimeCode(index), code);
    }

    // Showing anything the device or a file sent writes nothing back, even with user writes on.
    void recordSlotsPushNothing()
    {
        const FlashDataMap held = OpenWiredMouse();
        Sensor page;
        SimControl_WaitIdle(2000);
        const int pushes = SimControl_UpdateCount();
        FlashDataMap other = Record(32, 0);
        other.performanceTime = 30;
        other.liftOffDistance = 3;
        other.straightLine = 1;
        other.motionSync = 1;
        other.currentDpiLevel = 3;
        UserWritesEnabled = true;
        page.SlotUpDataSenSorUISensor(other);
        page.SlotUpDataSenSorUIB(Record(2, 1));
        page.SlotFormReset();
        page.SlotUpDataSenSorUISensor(Record(64, 1));
        // As a receiver kind the device's rate changes move the mode choice too.
        SetDevice(WiredModel, 1);
        page.SlotUpDataSenSorUISensor(Record(1, 1));
        page.SlotUpDataReportRate(1);
        page.SlotUpDataReportRate(32);
        page.SlotHideModel(0);
        page.SlotHideModel(1);
        page.SlotUpDataDPI(5);
        QVERIFY(SimControl_WaitIdle(2000));
        QCOMPARE(SimControl_UpdateCount(), pushes);
        const FlashDataMap now = devices->Record(mouse);
        QCOMPARE(std::memcmp(now.bytes(), held.bytes(), sizeof now), 0);
        QVERIFY(!SensorPageRefreshing);
        QVERIFY(UserWritesEnabled);
    }

    // The level the device changed to is shown without being written, and user writes come back as
    // they were.
    void deviceLevelChangeIsShownOnly_data()
    {
        QTest::addColumn<bool>("writesBefore");
        QTest::newRow("writes on") << true;
        QTest::newRow("writes off") << false;
    }
    void deviceLevelChangeIsShownOnly()
    {
        QFETCH(bool, writesBefore);
        OpenWiredMouse();
        Sensor page;
        page.SlotUpDataSenSorUISensor(devices->Record(mouse));
        QList<bool> writesDuring;
        const auto watch = connect(Child<QToolButton>(page, "YellowButton"), &QToolButton::toggled, this,
                                   [&](bool) { writesDuring << UserWritesEnabled; });
        SimControl_WaitIdle(2000);
        const int pushes = SimControl_UpdateCount();
        UserWritesEnabled = writesBefore;
        page.SlotUpDataDPI(3);
        disconnect(watch);
        QVERIFY(Child<QToolButton>(page, "YellowButton")->isChecked());
        QCOMPARE(writesDuring, QList<bool>{false});
        QCOMPARE(bool(UserWritesEnabled), writesBefore);
        QVERIFY(SimControl_WaitIdle(2000));
        QCOMPARE(SimControl_UpdateCount(), pushes);
    }

    // The user's changes on the page reach the device byte for byte.
    void userChangesReachTheDevice()
    {
        OpenWiredMouse();
        Sensor page;
        page.SlotUpDataSenSorUISensor(devices->Record(mouse));
        UserWritesEnabled = true;

        Child<QToolButton>(page, "Button500HZ")->click();
        QCOMPARE(DeviceByte(0x00), uint8_t(2));

        auto* liftOff = Child<QComboBox>(page, "LOD");
        liftOff->setCurrentIndex(liftOff->findText("2mm"));
        QCOMPARE(DeviceByte(0x05), uint8_t(2));

        const uint8_t ripple = DeviceByte(0x0A);
        Child<QToolButton>(page, "RippeControl_2")->click();
        QCOMPARE(DeviceByte(0x0A), uint8_t(ripple ? 0 : 1));

        auto* performance = Child<QCheckBox>(page, "Performance");
        const bool wasOn = performance->isChecked();
        performance->click();
        QCOMPARE(DeviceByte(0x0C), uint8_t(wasOn ? 0 : 1));
        if (!performance->isChecked())
            performance->click();
        QCOMPARE(DeviceByte(0x0C), uint8_t(1));

        auto* duration = Child<QComboBox>(page, "PerformanceOpen");
        duration->setCurrentIndex(0);
        QCOMPARE(DeviceByte(0x0D), uint8_t(1));
        duration->setCurrentIndex(7);
        QCOMPARE(DeviceByte(0x0D), uint8_t(90));

        // A cable shows "Corded", which is never sent.
        auto* modeChoice = Child<QComboBox>(page, "ModelChoose");
        const uint8_t mode = DeviceByte(0x0E);
        modeChoice->setCurrentIndex(2);
        QCOMPARE(DeviceByte(0x0E), mode);

        // On a receiver at 1000 Hz the mode is the user's to choose.
        SetDevice(WiredModel, 1);
        FlashDataMap slow = devices->Record(mouse);
        slow.reportRate = 1;
        slow.sensorMode = 0;
        page.SlotUpDataSenSorUISensor(slow);
        QVERIFY(modeChoice->isEnabled());
        modeChoice->setCurrentIndex(1);
        QCOMPARE(DeviceByte(0x0E), uint8_t(1));

        // The current level's value, as the slider sets it: 1600 DPI is code 31 in steps of 50.
        const int level = DeviceByte(0x02);
        auto* slider = Child<QSlider>(page, "horizontalSliderC");
        slider->setValue(1600);
        QCOMPARE(DeviceByte(0x24 + 6 * level), uint8_t(31));
        QCOMPARE(DeviceByte(0x24 + 6 * level + 1), uint8_t(31));
    }

    // Changes made on the mouse itself reach the page; offline a click is refused with the notice and
    // the page and the device stay as they were; back online the click goes through.
    void followsTheDeviceAndRefusesOffline()
    {
        OpenWiredMouse();
        Sensor page;
        page.SlotUpDataSenSorUISensor(devices->Record(mouse));
        UserWritesEnabled = true;
        const QByteArray path = devices->Path(mouse);
        UsbServerC_Start(path.constData(), path.constData(), DeviceReportCallback);

        SimControl_PressDpiButton(mouse, 2);
        QTRY_VERIFY(Child<QToolButton>(page, "RedButton")->isChecked());
        SimControl_PressRateButton(mouse, 8);
        QTRY_VERIFY(Child<QToolButton>(page, "Button125HZ")->isChecked());
        QVERIFY(SettleDevices());

        SimControl_SetAttached(mouse, 0);
        QVERIFY(SettleDevices());
        QSignalSpy notices(PostMsg::Instance(), SIGNAL(SigMouseOffLineo(int)));
        Child<QToolButton>(page, "Button500HZ")->click();
        QCOMPARE(notices.count(), 1);
        QVERIFY(Child<QToolButton>(page, "Button125HZ")->isChecked());
        QVERIFY(!Child<QToolButton>(page, "Button500HZ")->isChecked());
        QCOMPARE(int(devices->Record(mouse).reportRate), 8);

        SimControl_SetAttached(mouse, 1);
        QVERIFY(SettleDevices());
        Child<QToolButton>(page, "Button500HZ")->click();
        QVERIFY(SettleDevices());
        QCOMPARE(int(devices->Record(mouse).reportRate), 2);
        UsbServer_Exit();
        QVERIFY(SettleDevices());
    }

    // Every tips icon sits after its caption's text, keeps a gap to whatever follows on its row and
    // stays inside the page, in every language: compared as rectangles on the page.
    void tipsIconsKeepClear_data()
    {
        LanguageRows();
    }
    void tipsIconsKeepClear()
    {
        QFETCH(int, language);
        const int gap = 4;
        Sensor page;
        page.SlotUpDataSenSorUISensor(Record(1));
        page.SlotAllLanguage(language);
        page.show();
        QVERIFY(QTest::qWaitForWindowExposed(&page));
        const auto onPage = [&page](const QWidget* widget) {
            return QRect(widget->mapTo(&page, QPoint(0, 0)), widget->size());
        };
        // What is drawn on the page: visible widgets without visible widgets of their own.
        QList<QWidget*> leaves;
        for (QWidget* widget : page.findChildren<QWidget*>()) {
            if (!widget->isVisibleTo(&page))
                continue;
            const QList<QWidget*> children = widget->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly);
            if (std::none_of(children.begin(), children.end(), [&page](QWidget* child) { return child->isVisibleTo(&page); }))
                leaves << widget;
        }
        // Where a caption's text ends, as drawn.
        const auto textEnd = [&](const QWidget* widget) {
            if (const auto* label = qobject_cast<const QLabel*>(widget))
                return onPage(label).left() + label->fontMetrics().horizontalAdvance(label->text());
            if (const auto* box = qobject_cast<const QCheckBox*>(widget))
                return onPage(box).left() + box->sizeHint().width();
            return onPage(widget).right() + 1;
        };
        int icons = 0;
        for (QWidget* icon : leaves) {
            if (!icon->styleSheet().contains(QLatin1String("Tips.png")))
                continue;
            ++icons;
            const QRect rect = onPage(icon);
            const QString name = icon->parentWidget()->objectName() + QLatin1Char('/') + icon->objectName();
            QVERIFY2(page.rect().contains(rect), qPrintable(name + " leaves the page"));
            // The caption: the nearest widget on the icon's row that starts left of it.
            QWidget* caption = nullptr;
            for (QWidget* other : leaves) {
                const QRect o = onPage(other);
                if (other == icon || o.bottom() < rect.top() || o.top() > rect.bottom())
                    continue;
                if (o.left() < rect.left()) {
                    if (!other->styleSheet().contains(QLatin1String("Tips.png"))
                        && (!caption || o.left() > onPage(caption).left()))
                        caption = other;
                } else {
                    QVERIFY2(o.left() - rect.right() - 1 >= gap,
                             qPrintable(name + " touches " + other->objectName()));
                }
            }
            QVERIFY2(caption, qPrintable(name + " has no caption"));
            QVERIFY2(textEnd(caption) <= rect.left(), qPrintable(name + " covers the text of " + caption->objectName()));
            QVERIFY2(onPage(caption).right() < rect.left(), qPrintable(name + " lies on " + caption->objectName()));
        }
        QVERIFY(icons >= 4);
    }

    // The page renders in each language with its texts.
    void rendersInEachLanguage_data()
    {
        QTest::addColumn<int>("language");
        QTest::addColumn<QString>("performance");
        QTest::newRow("English") << 0 << "Full performance";
        QTest::newRow("Chinese") << 1 << QString::fromUtf8("性能全开");
        QTest::newRow("Russian") << 2 << QString::fromUtf8("Полная мощность");
    }
    void rendersInEachLanguage()
    {
        QFETCH(int, language);
        QFETCH(QString, performance);
        Sensor page;
        page.SlotUpDataSenSorUISensor(Record(1));
        page.SlotAllLanguage(language);
        QCOMPARE(Child<QCheckBox>(page, "Performance")->text(), performance);
        QVERIFY(!Child<QLabel>(page, "label_11")->text().isEmpty());
        QCOMPARE(Child<QComboBox>(page, "PerformanceOpen")->itemText(0).isEmpty(), false);
        const QByteArray out = qgetenv("KESTRO_SENSOR_SHOTS");
        if (!out.isEmpty()) {
            // On the device window's dark ground, as the program shows it.
            QWidget ground;
            ground.setStyleSheet("QWidget#ground{background: rgb(24, 27, 33);}");
            ground.setObjectName("ground");
            ground.resize(page.size());
            page.setParent(&ground);
            page.show();
            ground.show();
            ground.grab().save(QString::fromLocal8Bit(out) + QString("/sensor-%1.png").arg(language));
            page.setParent(nullptr);
        }
    }
};

QTEST_MAIN(TestSensorPage)
#include "tst_sensorpage.moc"
