#include "support/DeviceThreadTestMain.h"
#include "app/Dialog.h"
#include "app/DialogMain.h"
#include "device/MacroBlocks.h"
#include "device/Worker.h"
#include "device/PostMsg.h"
#include "pages/macro/Macro.h"
#include "platform/AppPaths.h"
#include "platform/VirtualKeys.h"
#include "platform/hidusb/HIDUsb.h"
#include "support/FindChild.h"
#include "support/TestHome.h"
#include "tests/macro/MacroTestSupport.h"
#include "widgets/KeyboardHook.h"
#include "widgets/UiText.h"
#include "widgets/UiTextTables.h"

#include <QCheckBox>
#include <QListWidget>
#include <QPushButton>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QSpinBox>
#include <QStackedWidget>
#include <QToolButton>
#include <QtTest>

#include <memory>

using namespace MacroTestSupport;

namespace {

// The controls a recording locks on the page, and the device window's page buttons.
const char* const LockedControls[] = {"AutoInsertDelay", "DefaultDelay", "ReUntilLoose", "ReUntilClick", "ReUntil",
                                      "ReNumber", "ChooseEvent", "DelayTime", "NumberEdit", "listWidgetHong"};
const char* const PageButtons[] = {"PreButton", "ButtonMain", "SensorButton", "MacroButton",
                                   "LightsButton", "Advanced", "FormSetting"};

// The event list as "label" for a press or a delay and "label^" for a release.
QString EventText(Macro& page)
{
    QStringList items;
    auto* list = Child<QListWidget>(page, "listWidgetKey");
    for (int row = 0; row < list->count(); ++row)
        items << list->item(row)->text() + (list->item(row)->type() == 1 ? QStringLiteral("^") : QString());
    return items.join(QLatin1Char(','));
}

// Counts the key events that reach the widgets it watches.
class KeyCounter : public QObject
{
public:
    int keys = 0;
    // Watches the widget that has the keyboard focus, or the window when none has.
    void WatchFocus(QWidget* window)
    {
        QWidget* focused = QApplication::focusWidget();
        (focused ? focused : window)->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease)
            ++keys;
        return false;
    }
};

} // namespace

// Recording keys on the macro page: the recorder's lines from scripted key events with a clock the
// test sets, keys typed into the program's top-level window through the real key filter, and the
// limit of the key events a button plays.
class TestMacroRecording : public QObject
{
    Q_OBJECT
    TestHome home;
    qint64 now = 0;
    std::unique_ptr<DialogMain> window;

    static int CodeOf(const QString& name)
    {
        static const QMap<QString, int> named{{"F10", 0x79},  {"Alt", 0xA4},  {"Clear", 0x0C},
                                              {"Media", 0xB3}, {"Space", 0x20}, {"Shift", 0x10},
                                              {"Enter", 0x0D}, {"Esc", 0x1B}};
        return named.value(name, name.at(0).unicode());
    }

    // Events written as words: "A+" a key down, "A-" up, "A^" a system key down, "Av" up; "@30"
    // lets 30 ms pass on the test's clock.
    void Feed(const QString& events)
    {
        for (const QString& word : events.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
            if (word.startsWith(QLatin1Char('@'))) {
                now += word.mid(1).toInt();
                continue;
            }
            const QChar mark = word.back();
            const int message = mark == QLatin1Char('+')   ? VirtualKeys::KeyDown
                : mark == QLatin1Char('-')                 ? VirtualKeys::KeyUp
                : mark == QLatin1Char('^')                 ? VirtualKeys::SysKeyDown
                                                           : VirtualKeys::SysKeyUp;
            KeyboardHook::Feed(CodeOf(word.chopped(1)), message);
        }
    }

    static void Start(Macro& page)
    {
        Child<QPushButton>(page, "StartRecord")->click();
        QVERIFY(MacroRecording);
        QVERIFY(page.RecorderHook()->IsInstalled());
    }

    // The program's top-level window showing the macro page of the device window, active, with a
    // macro selected; built once for the tests that need it.
    Macro* MacroPageInWindow()
    {
        if (!window) {
            window.reset(new DialogMain);
            window->move(50, 50);
            window->show();
            window->BuildDeviceWindow();
            Child<QStackedWidget>(*window, "stackedWidgetMain")->setCurrentWidget(window->DeviceWindow());
            Child<QToolButton>(*window->DeviceWindow(), "MacroButton")->click();
        }
        auto* page = window->findChild<Macro*>();
        page->SetRecordingClock([this] { return now; });
        page->LoadMacroList();
        Child<QListWidget>(*page, "listWidgetHong")->setCurrentRow(0);
        window->activateWindow();
        if (!QTest::qWaitForWindowActive(window.get()))
            return nullptr;
        return page;
    }

    void ExpectIdle(Macro& page, bool saveActive)
    {
        QVERIFY(!MacroRecording);
        QVERIFY(!page.RecorderHook()->IsInstalled());
        QVERIFY(!Child<QPushButton>(page, "StartRecord")->isHidden());
        QVERIFY(Child<QPushButton>(page, "StopRecord")->isHidden());
        for (const char* name : LockedControls)
            QVERIFY2(Child<QWidget>(page, name)->isEnabled(), name);
        QCOMPARE(Child<QToolButton>(page, "Save")->isEnabled(), saveActive);
        if (window) {
            for (const char* name : PageButtons)
                QVERIFY2(Child<QWidget>(*window->DeviceWindow(), name)->isEnabled(), name);
        }
    }

private slots:
    void initTestCase()
    {
        home.MakeUserFolders();
        UiTextTables::Instance()->LoadUiTextTables();
    }
    void cleanupTestCase()
    {
        window.reset();
        if (WorkerInstance)
            WorkerInstance->StopAndWait();
        StopUsbChanged();
        UsbServer_Exit();
    }
    void init()
    {
        UiLanguage = 0;
        MacroRecording = false;
        now = 0;
        QDir(MacroBlocks::MacroFolder()).removeRecursively();
        QDir().mkpath(MacroBlocks::MacroFolder());
        WriteFile(MacroBlocks::MacroFolder() + QStringLiteral("/m.ini"), "1\n");
    }
    void cleanup()
    {
        QVERIFY(!KeyboardHook::MacroRecorder().IsInstalled());
        MacroRecording = false;
    }

    // --- the recorder's lines ---

    void recordedLines_data()
    {
        QTest::addColumn<QString>("events");
        QTest::addColumn<int>("fixedDelay"); // 0: the measured delay
        QTest::addColumn<QString>("lines");
        QTest::newRow("A held with auto-repeat") << "A+ @30 A+ @30 A+ @40 A-" << 0 << "A,100ms,A^";
        QTest::newRow("A and B interleaved") << "A+ @10 B+ @20 A- @30 B-" << 0 << "A,10ms,B,20ms,A^,30ms,B^";
        QTest::newRow("press, release, press A") << "A+ @10 A- @15 A+" << 0 << "A,10ms,A^,15ms,A";
        QTest::newRow("B pressed again after A and B") << "A+ @1 B+ @2 A- @3 B- @4 B+" << 0
                                                       << "A,1ms,B,2ms,A^,3ms,B^,4ms,B";
        QTest::newRow("a code outside the table") << "A+ @10 Media+ @20 Media- @30 A- @5 B+" << 0
                                                  << "A,10ms,A^,5ms,B";
        QTest::newRow("the generic Shift code") << "Shift+ @10 A+" << 0 << "A";
        QTest::newRow("keypad 5 without NumLock") << "Clear+ @7 Clear-" << 0 << ",7ms,^";
        QTest::newRow("no delay before the first key") << "@500 A+ @10 A-" << 0 << "A,10ms,A^";
        QTest::newRow("a release whose press came before") << "Q- @10 A+" << 0 << "A";
        QTest::newRow("DefaultDelay takes DelayTime") << "A+ @3 B+ @900 A- @1 B-" << 250
                                                      << "A,250ms,B,250ms,A^,250ms,B^";
        QTest::newRow("Alt and F10") << "Alt^ @10 B^ @10 Bv @10 Alt- @10 F10^ @10 F10v" << 0
                                     << "LAlt,10ms,B,10ms,B^,10ms,LAlt^,10ms,F10,10ms,F10^";
        QTest::newRow("Space, Enter and Escape") << "Space+ @2 Space- @2 Enter+ @2 Enter- @2 Esc+ @2 Esc-" << 0
                                                 << "Space,2ms,Space^,2ms,Enter,2ms,Enter^,2ms,Esc,2ms,Esc^";
    }
    void recordedLines()
    {
        QFETCH(QString, events);
        QFETCH(int, fixedDelay);
        QFETCH(QString, lines);
        Macro page;
        page.SetRecordingClock([this] { return now; });
        page.LoadMacroList();
        Child<QListWidget>(page, "listWidgetHong")->setCurrentRow(0);
        if (fixedDelay) {
            Child<QCheckBox>(page, "DefaultDelay")->setChecked(true);
            Child<QSpinBox>(page, "DelayTime")->setValue(fixedDelay);
        }
        // A recording replaces what the list showed.
        page.AppendKeyEvent("Z", true);
        Start(page);
        QCOMPARE(EventText(page), QString());
        Feed(events);
        QCOMPARE(EventText(page), lines);
        // Each key line carries its usage and kind, as the file writer needs them.
        for (const QString& line : page.EventLines())
            QVERIFY2(QRegularExpression("^(0x[0-9A-F]{2} [014] [01]|[0-9]+ms)$").match(line).hasMatch(), qPrintable(line));
        Child<QPushButton>(page, "StopRecord")->click();
        ExpectIdle(page, true);
        // Stopped, the hook reports nothing more.
        Feed("C+ C-");
        QCOMPARE(EventText(page), lines);
    }

    void keysWhileTheProgramIsNotActive()
    {
        Macro page;
        page.LoadMacroList();
        Child<QListWidget>(page, "listWidgetHong")->setCurrentRow(0);
        Start(page);
        QVERIFY(!QGuiApplication::focusWindow());
        QTest::keyClick(&page, Qt::Key_A);
        QCOMPARE(EventText(page), QString());
        Child<QPushButton>(page, "StopRecord")->click();
    }

    // --- keys typed into the program's window ---

    void keysTypedIntoTheWindow_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<QString>("label");
        QTest::addColumn<bool>("stopFocused");
        for (bool stopFocused : {false, true}) {
            const QString where = stopFocused ? QStringLiteral(" on the focused stop button") : QStringLiteral(" with nothing focused");
            QTest::newRow(qPrintable("A" + where)) << int(Qt::Key_A) << "A" << stopFocused;
            QTest::newRow(qPrintable("Space" + where)) << int(Qt::Key_Space) << "Space" << stopFocused;
            QTest::newRow(qPrintable("Enter" + where)) << int(Qt::Key_Return) << "Enter" << stopFocused;
            QTest::newRow(qPrintable("Escape" + where)) << int(Qt::Key_Escape) << "Esc" << stopFocused;
        }
    }
    void keysTypedIntoTheWindow()
    {
        QFETCH(int, key);
        QFETCH(QString, label);
        QFETCH(bool, stopFocused);
        Macro* page = MacroPageInWindow();
        QVERIFY(page);
        Start(*page);
        auto* stop = Child<QPushButton>(*page, "StopRecord");
        if (stopFocused) {
            stop->setFocus();
            QCOMPARE(QApplication::focusWidget(), stop);
        } else if (QWidget* focused = QApplication::focusWidget()) {
            focused->clearFocus();
        }
        KeyCounter reached;
        window->installEventFilter(&reached);
        stop->installEventFilter(&reached);
        QSignalSpy clicked(stop, &QPushButton::clicked);
        QSignalSpy enter(PostMsg::Instance(), &PostMsg::SigEnterKey);

        const QStringList seen = RunWithModals([&] {
            QTest::keyPress(window->windowHandle(), Qt::Key(key));
            QTest::keyRelease(window->windowHandle(), Qt::Key(key));
        });
        QCOMPARE(EventText(*page), label + ",0ms," + label + "^");
        QVERIFY(seen.isEmpty());
        QCOMPARE(reached.keys, 0);
        QCOMPARE(clicked.count(), 0);
        QCOMPARE(enter.count(), 0);
        QVERIFY(MacroRecording);
        QVERIFY(window->isVisible());
        QVERIFY(!stop->isHidden());

        stop->click();
        // Once stopped, keys reach the window's widgets again and are not recorded.
        reached.WatchFocus(window.get());
        QTest::keyClick(window->windowHandle(), Qt::Key_B);
        QVERIFY(reached.keys > 0);
        QCOMPARE(EventText(*page), label + ",0ms," + label + "^");
    }

    // --- the limit ---

    void endingAtTheLimit_data()
    {
        QTest::addColumn<bool>("leave");
        QTest::newRow("stop") << false;
        QTest::newRow("leaving the device window") << true;
    }
    void endingAtTheLimit()
    {
        QFETCH(bool, leave);
        Macro* page = MacroPageInWindow();
        QVERIFY(page);
        // Leaving the device window before leaves Save inactive.
        emit PostMsg::Instance()->SigSetMacroPage();
        QVERIFY(!Child<QToolButton>(*page, "Save")->isEnabled());
        Start(*page);
        for (const char* name : PageButtons)
            QVERIFY2(!Child<QWidget>(*window->DeviceWindow(), name)->isEnabled(), name);

        // 69 key lines, then the 70th: the hook goes inside its event, the notice only after it.
        for (int i = 0; i < 34; ++i)
            Feed("A+ @1 A- @1");
        Feed("A+ @1");
        QStringList seen = RunWithModals([&] { Feed("A-"); });
        QVERIFY(seen.isEmpty());
        QVERIFY(!page->RecorderHook()->IsInstalled());
        QVERIFY(!MacroRecording);
        seen = RunWithModals([] { QCoreApplication::processEvents(); });
        QCOMPARE(seen.size(), 1);
        QVERIFY2(seen.first().startsWith("KeyNumberLimit"), qPrintable(seen.first()));

        auto* events = Child<QListWidget>(*page, "listWidgetKey");
        QCOMPARE(events->count(), 70 + 69);
        QCOMPARE(page->EventLines().filter(QRegularExpression("^0x")).size(), 70);
        // Later keys are not recorded; the recording layout stays, its key guard too.
        KeyCounter reached;
        reached.WatchFocus(window.get());
        Feed("B+ B-");
        QTest::keyClick(window->windowHandle(), Qt::Key_Space);
        QCOMPARE(events->count(), 70 + 69);
        QCOMPARE(reached.keys, 0);
        QVERIFY(!Child<QPushButton>(*page, "StopRecord")->isHidden());
        QVERIFY(Child<QToolButton>(*page, "Save")->isEnabled());
        for (const char* name : LockedControls)
            QVERIFY2(!Child<QWidget>(*page, name)->isEnabled(), name);
        for (const char* name : PageButtons)
            QVERIFY2(!Child<QWidget>(*window->DeviceWindow(), name)->isEnabled(), name);

        // Save works before the recording is stopped: the file holds the lines on screen.
        {
            // The button page's wait before it sends a saved macro to its buttons is not tested here.
            const QSignalBlocker quiet(PostMsg::Instance());
            Child<QToolButton>(*page, "Save")->click();
        }
        const QString saved = QString::fromUtf8(ReadFile(MacroBlocks::MacroFolder() + QStringLiteral("/m.ini")));
        QCOMPARE(saved.split(QLatin1Char('\n'), Qt::SkipEmptyParts), QStringList{"1"} + page->EventLines());

        if (leave)
            emit PostMsg::Instance()->SigSetMacroPage();
        else
            Child<QPushButton>(*page, "StopRecord")->click();
        ExpectIdle(*page, !leave);
        QCOMPARE(events->count(), 70 + 69);
        reached.WatchFocus(window.get());
        QTest::keyClick(window->windowHandle(), Qt::Key_B);
        QVERIFY(reached.keys > 0);
    }

    // Leaving the device window in the middle of a recording ends it as Stop does, but Save waits.
    void leavingDuringARecording()
    {
        Macro* page = MacroPageInWindow();
        QVERIFY(page);
        Start(*page);
        Feed("A+ @5 A-");
        QSignalSpy record(PostMsg::Instance(), &PostMsg::SigStartRecord);
        emit PostMsg::Instance()->SigSetMacroPage();
        QCOMPARE(record.count(), 1);
        QCOMPARE(record.at(0).at(0).toInt(), 1);
        ExpectIdle(*page, false);
        QCOMPARE(EventText(*page), QString("A,5ms,A^"));
    }
};

KESTRO_DEVICE_THREAD_TEST_MAIN(TestMacroRecording)
#include "tst_macrorecording.moc"
