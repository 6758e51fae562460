#include "app/Dialog.h"
#include "app/PreVier.h"
#include "app/UpDataParam.h"
#include "device/ConnectionState.h"
#include "device/DeviceInfoCache.h"
#include "device/DeviceReportCallback.h"
#include "device/DeviceState.h"
#include "device/PostMsg.h"
#include "device/Worker.h"
#include "pages/advanced/Advanced.h"
#include "pages/buttons/Buttoninterface.h"
#include "pages/lighting/LampLight.h"
#include "pages/macro/Macro.h"
#include "pages/sensor/Sensor.h"
#include "pages/settings/FormSetting.h"
#include "platform/hidusb/HIDUsb.h"
#include "support/TestHome.h"
#include "widgets/UiText.h"
#include "widgets/UiTextTables.h"
#include "window/BusRecorder.h"

#include <QApplication>
#include <QButtonGroup>
#include <QFrame>
#include <QLabel>
#include <QMutex>
#include <QProgressBar>
#include <QStackedWidget>
#include <QToolButton>
#include <QtTest>

#include <dlfcn.h>
#include <functional>
#include <memory>
#include <thread>

// The device library calls of the frame, noted in order as they reach the library; at the stop of
// the server the note also tells whether the cache file was in place by then.
namespace {
QMutex libraryLock;
QStringList libraryCalls;
QString watchedCacheFile;

void NoteLibraryCall(const QString& call)
{
    QMutexLocker locker(&libraryLock);
    libraryCalls << call;
}

template <typename Function>
Function Real(const char* name)
{
    return reinterpret_cast<Function>(dlsym(RTLD_NEXT, name));
}
} // namespace

extern "C" {
void UsbServer_SetPCDriverStatus(uint8_t running)
{
    NoteLibraryCall(QStringLiteral("UsbServer_SetPCDriverStatus(%1)").arg(running));
    static const auto real = Real<void (*)(uint8_t)>("UsbServer_SetPCDriverStatus");
    if (real)
        real(running);
}
void UsbServer_Exit(void)
{
    const bool cached = !watchedCacheFile.isEmpty() && QFile::exists(DeviceCacheFolder() + watchedCacheFile);
    NoteLibraryCall(cached ? QStringLiteral("UsbServer_Exit() with the cache file saved")
                           : QStringLiteral("UsbServer_Exit()"));
    static const auto real = Real<void (*)()>("UsbServer_Exit");
    if (real)
        real();
}
}

namespace {

const QString CacheName = QStringLiteral("Device_CID1C_MID13.bin");

QByteArray Bytes(const FlashDataMap& record)
{
    return QByteArray(reinterpret_cast<const char*>(record.bytes()), int(sizeof record));
}

FlashDataMap Pattern(uint8_t seed)
{
    FlashDataMap record{};
    for (std::size_t i = 0; i < sizeof record; ++i)
        record.bytes()[i] = uint8_t(i * 11 + seed);
    return record;
}

QByteArray CacheBytes()
{
    FlashDataMap cached;
    return ReadDeviceInfoCache(CacheName, &cached) ? Bytes(cached) : QByteArray();
}

// A window around the frame that notes the keys that reach it.
class KeyWatcher : public QWidget
{
public:
    QList<int> keys;

protected:
    void keyPressEvent(QKeyEvent* event) override { keys << event->key(); }
};

} // namespace

using PageCheck = std::function<bool(QWidget*)>;
Q_DECLARE_METATYPE(PageCheck)
using Emit = std::function<void()>;
Q_DECLARE_METATYPE(Emit)

// The device window frame: its pages and page buttons, battery and connection state, and the ways
// out (up-arrow, close, minimise). The summary page's slots are tested on a panel of their own.
class TestDeviceFrame : public QObject
{
    Q_OBJECT
    TestHome home;
    KeyWatcher* window = nullptr;
    Dialog* frame = nullptr;
    BusRecorder* bus = nullptr;

    template <typename T>
    T* Child(const char* name) const
    {
        T* child = frame->findChild<T*>(QLatin1String(name));
        if (!child)
            qWarning() << "no" << name;
        return child;
    }
    QStackedWidget* Stack() const { return Child<QStackedWidget>("stackedWidgetDialog"); }

    static void EmitBatteryFromTheLibrary(bool charging, int level, bool asText)
    {
        // The report callback emits on the library's thread and waits for the frame.
        bool done = false;
        std::thread library([&] {
            emit PostMsg::Instance()->SigBattery(charging, level, asText);
            done = true;
        });
        while (!done)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        library.join();
    }

private slots:
    void initTestCase()
    {
        home.MakeUserFolders();
        UiTextTables::Instance()->LoadUiTextTables();
        window = new KeyWatcher;
        window->resize(1020, 700);
        frame = new Dialog(window);
        bus = new BusRecorder;
    }
    void cleanupTestCase()
    {
        delete bus;
        delete window;
        if (WorkerInstance)
            WorkerInstance->StopAndWait();
    }
    void init()
    {
        bus->Clear();
        QMutexLocker locker(&libraryLock);
        libraryCalls.clear();
    }

    void pagesAreStackedInTheirOrder()
    {
        const QList<PageCheck> expected = {
            [](QWidget* w) { return qobject_cast<PreVier*>(w) != nullptr; },
            [](QWidget* w) { return qobject_cast<Buttoninterface*>(w) != nullptr; },
            [](QWidget* w) { return qobject_cast<Sensor*>(w) != nullptr; },
            [](QWidget* w) { return qobject_cast<Macro*>(w) != nullptr; },
            [](QWidget* w) { return qobject_cast<LampLight*>(w) != nullptr; },
            [](QWidget* w) { return qobject_cast<Advanced*>(w) != nullptr; },
            [](QWidget* w) { return qobject_cast<FormSetting*>(w) != nullptr; },
        };
        QCOMPARE(Stack()->count(), expected.size());
        for (int index = 0; index < expected.size(); ++index)
            QVERIFY2(expected.at(index)(Stack()->widget(index)), qPrintable(QString::number(index)));
        QCOMPARE(Stack()->currentIndex(), 0);
        QVERIFY(Child<QToolButton>("PreButton")->isChecked());
        QCOMPARE(frame->size(), QSize(1020, 700));
    }

    void pageButtonsShowTheirPages_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<int>("page");
        QTest::addColumn<QStringList>("announced");
        QTest::newRow("ButtonMain") << "ButtonMain" << 1 << QStringList{"SigAddMacroButton() on page 1"};
        QTest::newRow("SensorButton") << "SensorButton" << 2 << QStringList{};
        QTest::newRow("MacroButton") << "MacroButton" << 3 << QStringList{};
        QTest::newRow("LightsButton") << "LightsButton" << 4 << QStringList{};
        // The advanced page is told before it shows.
        QTest::newRow("Advanced") << "Advanced" << 5 << QStringList{"SigtVis(0) on page 0"};
        QTest::newRow("FormSetting") << "FormSetting" << 6 << QStringList{};
        QTest::newRow("PreButton") << "PreButton" << 0 << QStringList{};
    }
    void pageButtonsShowTheirPages()
    {
        QFETCH(QString, button);
        QFETCH(int, page);
        QFETCH(QStringList, announced);
        // Start from the summary, or from another page for the summary's own button.
        Stack()->setCurrentIndex(page == 0 ? 3 : 0);
        QStringList seen;
        QObject context;
        connect(PostMsg::Instance(), &PostMsg::SigAddMacroButton, &context,
                [&] { seen << QStringLiteral("SigAddMacroButton() on page %1").arg(Stack()->currentIndex()); });
        connect(PostMsg::Instance(), &PostMsg::SigtVis, &context,
                [&](int index) { seen << QStringLiteral("SigtVis(%1) on page %2").arg(index).arg(Stack()->currentIndex()); });
        QToolButton* pageButton = Child<QToolButton>(button.toLatin1().constData());
        QTest::mouseClick(pageButton, Qt::LeftButton);
        QCOMPARE(Stack()->currentIndex(), page);
        QCOMPARE(seen, announced);
        // One page button is checked at a time.
        QVERIFY(pageButton->isChecked());
        int checked = 0;
        for (QToolButton* other : frame->findChildren<QToolButton*>())
            checked += other->isCheckable() && other->isChecked();
        QCOMPARE(checked, 1);
    }

    void backgroundFollowsThePage()
    {
        QFrame* background = Child<QFrame>("frame_2");
        Stack()->setCurrentIndex(2);
        QVERIFY(background->styleSheet().contains("/Picture/Dialog/BackGround.png"));
        Stack()->setCurrentIndex(0);
        QVERIFY(background->styleSheet().contains("/Picture/Dialog/BackGround2.png"));
    }

    void returnToTheSelectionShowsTheSummaryNextTime()
    {
        QTest::mouseClick(Child<QToolButton>("MacroButton"), Qt::LeftButton);
        QCOMPARE(Stack()->currentIndex(), 3);
        emit PostMsg::Instance()->SigSecondPageChange();
        QCOMPARE(Stack()->currentIndex(), 0);
        QVERIFY(Child<QToolButton>("PreButton")->isChecked());
    }

    void batteryLevel_data()
    {
        QTest::addColumn<bool>("charging");
        QTest::addColumn<int>("level");
        QTest::addColumn<bool>("asText");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("bar");
        QTest::newRow("15 is low") << true << 15 << true << "15%" << "rgb(152, 43, 34)";
        QTest::newRow("16 is not") << false << 16 << true << "16%" << "rgb(0, 255, 153)";
        QTest::newRow("0") << false << 0 << true << "0%" << "rgb(152, 43, 34)";
        QTest::newRow("bare number") << false << 80 << false << "80" << "rgb(0, 255, 153)";
        QTest::newRow("full, charging") << true << 100 << true << "100%" << "rgb(0, 255, 153)";
    }
    void batteryLevel()
    {
        QFETCH(bool, charging);
        QFETCH(int, level);
        QFETCH(bool, asText);
        QFETCH(QString, text);
        QFETCH(QString, bar);
        EmitBatteryFromTheLibrary(charging, level, asText);
        QCOMPARE(Child<QLabel>("label_2")->text(), text);
        QCOMPARE(Child<QProgressBar>("progressBar")->value(), level);
        QCOMPARE(Child<QProgressBar>("progressBar")->styleSheet(),
                 "#progressBar{border: none;background-color: transparent;}#progressBar::chunk {background-color: " + bar
                     + ";}");
        QCOMPARE(!Child<QLabel>("label")->isHidden(), charging);
    }

    void connectionKind()
    {
        emit PostMsg::Instance()->SigIsUsb(true, false);
        QVERIFY(Child<QLabel>("label_4")->styleSheet().endsWith("/Picture/Dialog/OnLineUsb.png);}"));
        emit PostMsg::Instance()->SigIsUsb(false, true);
        QVERIFY(Child<QLabel>("label_4")->styleSheet().endsWith("/Picture/Dialog/OnLineWifi.png);}"));
    }

    void recordingLocksThePageButtons()
    {
        const QStringList pageButtons = {"PreButton", "Advanced", "ButtonMain", "MacroButton",
                                         "LightsButton", "SensorButton", "FormSetting"};
        const auto enabled = [&](const QStringList& names) {
            QVector<bool> states;
            for (const QString& name : names)
                states << Child<QToolButton>(name.toLatin1().constData())->isEnabled();
            return states;
        };
        const QVector<bool> allOn(pageButtons.size(), true), allOff(pageButtons.size(), false);
        emit PostMsg::Instance()->SigStartRecord(0);
        QCOMPARE(enabled(pageButtons), allOff);
        QCOMPARE(enabled({"UpArrow", "MinButton", "CloseButton"}), (QVector<bool>{true, true, true}));
        emit PostMsg::Instance()->SigStartRecord(2);
        QCOMPARE(enabled(pageButtons), allOff);
        emit PostMsg::Instance()->SigStartRecord(1);
        QCOMPARE(enabled(pageButtons), allOn);
        emit PostMsg::Instance()->SigStartRecord(-1);
        QCOMPARE(enabled(pageButtons), allOn);
    }

    void escapeStaysInTheFrame()
    {
        window->keys.clear();
        QTest::keyClick(frame, Qt::Key_Escape);
        QTest::keyClick(frame, Qt::Key_F12);
        QTest::keyClick(frame, Qt::Key_A);
        QCOMPARE(window->keys, QList<int>{Qt::Key_A});
    }

    void upArrowSavesThenStopsThenLeaves()
    {
        const FlashDataMap record = Pattern(5);
        AdoptDeviceConfig(record);
        ReportCacheFileName.Set(CacheName);
        QFile::remove(DeviceCacheFolder() + CacheName);
        watchedCacheFile = CacheName;
        Stack()->setCurrentIndex(4);
        Child<QToolButton>("LightsButton")->setChecked(true);

        QTest::mouseClick(Child<QToolButton>("UpArrow"), Qt::LeftButton);
        watchedCacheFile.clear();

        QCOMPARE(libraryCalls, (QStringList{"UsbServer_SetPCDriverStatus(0)", "UsbServer_Exit() with the cache file saved"}));
        QCOMPARE(bus->events, (QStringList{"SigChangeMainDialog(0)", "SigSetMacroPage()"}));
        QCOMPARE(CacheBytes(), Bytes(record));
        QVERIFY(Child<QToolButton>("PreButton")->isChecked());
        // The page itself changes when the top-level window switches to the selection page.
        QCOMPARE(Stack()->currentIndex(), 4);
    }

    void leavingBeforeTheRecordArrivedKeepsTheCacheFile_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QStringList>("events");
        QTest::newRow("up-arrow") << "UpArrow" << QStringList{"SigChangeMainDialog(0)", "SigSetMacroPage()"};
        QTest::newRow("close") << "CloseButton" << QStringList{"SigChangeSize(1)"};
    }
    void leavingBeforeTheRecordArrivedKeepsTheCacheFile()
    {
        QFETCH(QString, button);
        QFETCH(QStringList, events);
        const FlashDataMap saved = Pattern(7);
        QVERIFY(WriteDeviceInfoCache(CacheName, saved));
        ReportCacheFileName.Set(CacheName);
        AdoptDeviceConfig(Pattern(8));
        InvalidateDeviceConfig(); // another device was selected; its record is still on the way
        QTest::mouseClick(Child<QToolButton>(button.toLatin1().constData()), Qt::LeftButton);
        QCOMPARE(bus->events, events);
        QCOMPARE(CacheBytes(), Bytes(saved));
    }

    void closeSavesThenQuits()
    {
        const FlashDataMap record = Pattern(3);
        AdoptDeviceConfig(record);
        ReportCacheFileName.Set(CacheName);
        QFile::remove(DeviceCacheFolder() + CacheName);
        QString cacheWhenAsked;
        QObject context;
        connect(PostMsg::Instance(), &PostMsg::SigChangeSize, &context, [&] { cacheWhenAsked = CacheBytes().toHex(); });
        QTest::mouseClick(Child<QToolButton>("CloseButton"), Qt::LeftButton);
        QCOMPARE(bus->events, QStringList{"SigChangeSize(1)"});
        QCOMPARE(cacheWhenAsked, QString(Bytes(record).toHex()));
        QVERIFY(libraryCalls.isEmpty());
    }

    void reloadDuringTheWaitMakesItWaitForThePages()
    {
        LastPassOnline = false;
        ButtonPageUpdated = LightPageUpdated = SensorPageUpdated = true;
        window->move(100, 50);
        QPoint placed;
        QPoint frameTopLeft = frame->mapToGlobal(QPoint(0, 0));
        QTimer::singleShot(100, [&] {
            auto* wait = qobject_cast<UpDataParam*>(QApplication::activeModalWidget());
            if (!wait)
                return;
            placed = wait->pos();
            // The status change arrives while the first wait still shows: the same wait goes on.
            emit PostMsg::Instance()->SigUpDataParam(1);
        });
        emit PostMsg::Instance()->SigUpDataParam(0);
        // Centred over the frame, 20 pixels higher.
        QCOMPARE(placed, frameTopLeft + QPoint((1020 - 300) / 2, (700 - 140) / 2 - 20));
        // Ended as a wait for the pages (which had reported), not as an offline device's wait.
        QCOMPARE(bus->events, QStringList{"SigSetver(4)"});
        QVERIFY(!ButtonPageUpdated && !LightPageUpdated && !SensorPageUpdated);
        QCOMPARE(QApplication::activeModalWidget(), nullptr);
    }

    void minimiseAsksTheWindowToHide()
    {
        QTest::mouseClick(Child<QToolButton>("MinButton"), Qt::LeftButton);
        QCOMPARE(bus->events, QStringList{"SigChangeSize(0)"});
        QVERIFY(libraryCalls.isEmpty());
    }

    void summarySlots_data()
    {
        QTest::addColumn<Emit>("emitter");
        QTest::addColumn<QString>("control");
        QTest::addColumn<QString>("shown");
        PostMsg* b = PostMsg::Instance();
        QTest::newRow("DPI") << Emit([b] { emit b->SigAddSensor(3200); }) << "DpiValue" << "3200";
        QTest::newRow("report rate") << Emit([b] { emit b->SigAddReport(8000); }) << "ReportValue" << "8000Hz";
        QTest::newRow("lift-off") << Emit([b] { emit b->SigAddLOD("2mm"); }) << "LodValue" << "2mm";
        QTest::newRow("debounce") << Emit([b] { emit b->SigDebunce("4ms"); }) << "DebunceValue" << "4ms";
        QTest::newRow("profile") << Emit([b] { emit b->SigAddConfig("Profile 2"); }) << "ConfigValue" << "Profile 2";
        QTest::newRow("mouse version") << Emit([b] { emit b->SigAddVer(0, "v1.0A"); }) << "MouseValue" << "v1.0A";
        QTest::newRow("receiver version") << Emit([b] { emit b->SigAddVer(1, "v2.03"); }) << "DongleValue" << "v2.03";
        QTest::newRow("version of type 2") << Emit([b] { emit b->SigAddVer(2, "v9.99"); }) << "MouseValue|DongleValue"
                                           << "v2.21|v1.0";
        QTest::newRow("receiver update") << Emit([b] { emit b->SigAddUpdate(1, true); }) << "MouseUp|DongleUp"
                                         << "hidden|shown";
        QTest::newRow("receiver update gone") << Emit([b] {
            emit b->SigAddUpdate(1, true);
            emit b->SigAddUpdate(1, false);
        }) << "DongleUp" << "hidden";
        QTest::newRow("mouse update") << Emit([b] { emit b->SigAddUpdate(0, true); }) << "MouseUp|DongleUp"
                                      << "shown|hidden";
        QTest::newRow("update of type 5") << Emit([b] { emit b->SigAddUpdate(5, true); }) << "MouseUp|DongleUp"
                                          << "hidden|hidden";
        QTest::newRow("before any signal") << Emit([] {}) << "DpiValue|ReportValue|LodValue|DebunceValue|ConfigValue|MouseValue|DongleValue"
                                           << "1600|1600|1600|1600|1600|v2.21|v1.0";
    }
    void summarySlots()
    {
        QFETCH(Emit, emitter);
        QFETCH(QString, control);
        QFETCH(QString, shown);
        PreVier summary;
        emitter();
        const QStringList controls = control.split('|'), expected = shown.split('|');
        for (int i = 0; i < controls.size(); ++i) {
            QLabel* label = summary.findChild<QLabel*>(controls.at(i));
            QVERIFY(label);
            const QString state = expected.at(i) == "shown" || expected.at(i) == "hidden"
                ? QString(label->isHidden() ? "hidden" : "shown")
                : label->text();
            QCOMPARE(state, expected.at(i));
        }
    }

    void summaryPictureAndTexts()
    {
        PreVier summary;
        emit PostMsg::Instance()->SigMouseIndex(2);
        QVERIFY(summary.findChild<QWidget*>("widget")->styleSheet().contains("/Picture/Buttoninterface/mouse2.png);}"));
        const QStringList names = {"ReportName", "MotionName", "ConfigName", "MouseVer", "DongleVer"};
        const QStringList keys = {"ReportRate", "DebounceTime", "configName", "MouseVersion", "DongleVersion"};
        for (int language : {1, 2, 0}) {
            emit PostMsg::Instance()->SigAllLanguage(language);
            for (int i = 0; i < names.size(); ++i) {
                const QString expected = UiText::ForReader(language, "PreVier", keys.at(i));
                QVERIFY2(!expected.isEmpty(), qPrintable(keys.at(i)));
                QCOMPARE(summary.findChild<QLabel*>(names.at(i))->text(), expected);
            }
            QCOMPARE(summary.findChild<QLabel*>("DpiName")->text(), QString("DPI"));
            QCOMPARE(summary.findChild<QLabel*>("LodName")->text(), QString("LOD"));
        }
    }
};

QTEST_MAIN(TestDeviceFrame)
#include "tst_deviceframe.moc"
