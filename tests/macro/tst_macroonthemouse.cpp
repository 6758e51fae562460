#include "support/DeviceThreadTestMain.h"
#include "app/Dialog.h"
#include "device/MacroBlocks.h"
#include "device/Worker.h"
#include "pages/macro/AddDelayTime.h"
#include "pages/macro/Macro.h"
#include "support/FindChild.h"
#include "support/OpenInDeviceWindow.h"
#include "support/SettleDevices.h"
#include "support/SimulatedDeviceFixture.h"
#include "tests/macro/MacroTestSupport.h"
#include "widgets/UiTextTables.h"

#include <QListWidget>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QSpinBox>
#include <QToolButton>
#include <QtTest>

using namespace MacroTestSupport;

namespace {

// The button of the mouse that plays the macro "Bound".
constexpr int BoundButton = 2;
const QByteArray Before("1\n0x04 1 0\n350ms\n0x04 1 1\n");
// What each command makes of it when the mouse takes it.
const QByteArray SavedDelay("1\n0x04 1 0\n450ms\n0x04 1 1\n");
const QByteArray SavedRepeat("5\n0x04 1 0\n350ms\n0x04 1 1\n");

// The editor's lines and repeat count in short: "A,450ms,A^ x5".
QString Editor(Macro& page)
{
    return EventLines(page) + QStringLiteral(" x") + QString::number(Child<QSpinBox>(page, "NumberEdit")->value());
}

// The macro page's notices shown while action runs (every dialog is closed; the firmware check's
// and the wait dialogs of a read are not counted).
QStringList MacroNotices(const std::function<void()>& action)
{
    return RunWithModals(action).filter(QRegularExpression("^(SameMacro|ExeIsRun):"));
}

} // namespace

// A change of a macro that a button of the mouse plays is done only when the mouse took it, in the
// device window over the simulated receiver and its mouse: for each command (Save of a changed
// delay, Save of the repeat count alone, rename, delete) and each state of the mouse (answering, away,
// writes off, back but its record not yet read again, unplugged while Save waits to send), what the
// mouse, the macro folder, the editor and the notices hold, and again once the mouse is back and read
// whole (which stores the mouse's copy over the files).
class TestMacroOnTheMouse : public QObject
{
    Q_OBJECT
    TestHome home;
    SimulatedDevices devices;

private slots:
    void initTestCase()
    {
        home.MakeUserFolders();
        UiTextTables::Instance()->LoadUiTextTables();
    }
    void cleanupTestCase() { UsbServer_Exit(); }

    void changeOfAMacroOnAButton_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("state");
        QTest::addColumn<QString>("notice");
        for (const char* command : {"save", "repeat", "rename", "delete"}) {
            QTest::addRow("%s, online", command) << command << "online" << "";
            QTest::addRow("%s, away", command) << command << "away" << "offline";
            QTest::addRow("%s, writes off", command) << command << "writes off" << "offline";
            QTest::addRow("%s, back, first pass running", command) << command << "first pass" << "DialogMacroNotTaken";
        }
        QTest::addRow("save, unplugged before the download") << "save" << "unplugged" << "DialogMacroNotTaken";
    }
    void changeOfAMacroOnAButton()
    {
        QFETCH(QString, command);
        QFETCH(QString, state);
        QFETCH(QString, notice);
        const bool taken = notice.isEmpty();
        const QString folder = MacroBlocks::MacroFolder();
        QDir(folder).removeRecursively();
        QDir().mkpath(folder);
        WriteFile(MacroBlocks::MacroFilePath("Bound"), Before);
        devices.Reset();
        const int receiver = devices.Find(false);
        QVERIFY(receiver >= 0);
        QVERIFY(PutMacroOnButton(receiver, BoundButton, "Bound", Before));
        const QString heldBefore = OnTheButton(receiver, BoundButton);
        QCOMPARE(heldBefore, "Bound:" + QString::fromUtf8(Before));

        Dialog window;
        auto* page = window.findChild<Macro*>();
        QVERIFY(page);
        const DeviceAllInfo device = IdentifiedDevice(devices.Path(receiver));
        QVERIFY(OpenInDeviceWindow(device));
        QVERIFY(SettleDevices());
        window.show();
        QTest::mouseClick(Child<QToolButton>(window, "MacroButton"), Qt::LeftButton);
        QListWidget* macros = Macros(*page);
        QCOMPARE(macros->findItems("Bound", Qt::MatchExactly).size(), 1);
        macros->setCurrentItem(macros->findItems("Bound", Qt::MatchExactly).first());
        emit macros->clicked(macros->currentIndex());
        QCOMPARE(Editor(*page), QString("A,350ms,A^ x1"));

        // The user's change in the editor.
        QString edited = Editor(*page);
        if (command == "save") {
            // The delay line amended to 450 ms in the delay dialog.
            Child<QListWidget>(*page, "listWidgetKey")->setCurrentRow(1);
            RunWithModals([&] { Child<QToolButton>(*page, "Amend")->click(); },
                          [](QDialog* modal) {
                              if (auto* delay = qobject_cast<AddDelayTime*>(modal)) {
                                  Child<QSpinBox>(*delay, "spinBox")->setValue(450);
                                  Child<QToolButton>(*delay, "NewHong")->click();
                              } else {
                                  modal->close();
                              }
                          });
            edited = "A,450ms,A^ x1";
        } else if (command == "repeat") {
            Child<QSpinBox>(*page, "NumberEdit")->setValue(5);
            edited = "A,350ms,A^ x5";
        }
        QCOMPARE(Editor(*page), edited);
        QCOMPARE(Child<QToolButton>(*page, "Save")->isEnabled(), command == "save" || command == "repeat");

        if (state == "away")
            SimControl_SetMouseOnline(receiver, 0);
        else if (state == "writes off")
            UserWritesEnabled = false;
        else if (state == "first pass")
            InvalidateDeviceConfig();
        else if (state == "unplugged")
            QTimer::singleShot(300, [receiver] { SimControl_SetAttached(receiver, 0); });

        QSignalSpy offline(PostMsg::Instance(), &PostMsg::SigMouseOffLineo);
        const QStringList notices = MacroNotices([&] {
            if (command == "save" || command == "repeat")
                QMetaObject::invokeMethod(page, "on_Save_clicked");
            else if (command == "rename")
                QCOMPARE(page->RenameCurrentMacro("Renamed"), taken);
            else
                QCOMPARE(page->DeleteCurrentMacro(), taken);
        });
        QVERIFY(SettleDevices());

        // The notice came at once, and only that one.
        QCOMPARE(offline.count(), notice == "offline" ? 1 : 0);
        const QStringList expectedNotices =
            notice.isEmpty() || notice == "offline" ? QStringList() : QStringList{"SameMacro:" + notice};
        QVERIFY2(notices == expectedNotices, qPrintable(notices.join(" | ")));
        QMap<QString, QByteArray> files{{"Bound.ini", Before}};
        QString held = heldBefore;
        if (taken && command == "save") {
            files = {{"Bound.ini", SavedDelay}};
            held = "Bound:" + QString::fromUtf8(SavedDelay);
        } else if (taken && command == "repeat") {
            files = {{"Bound.ini", SavedRepeat}};
            held = "Bound:" + QString::fromUtf8(SavedRepeat);
        } else if (taken && command == "rename") {
            files = {{"Renamed.ini", Before}};
            held = "Renamed:" + QString::fromUtf8(Before);
        } else if (taken && command == "delete") {
            files = {};
            held = "no macro";
        }
        const auto check = [&](const char* when) {
            QVERIFY2(Snapshot(folder) == files, when);
            QVERIFY2(OnTheButton(receiver, BoundButton) == held, when);
            if (command == "save" || command == "repeat") {
                // The editor keeps the user's lines; Save waits for them when the mouse did not take them.
                QVERIFY2(Editor(*page) == edited, when);
                QVERIFY2(Child<QToolButton>(*page, "Save")->isEnabled() == !taken, when);
            } else {
                QStringList listed;
                for (int row = 0; row < macros->count(); ++row)
                    listed << macros->item(row)->text();
                QStringList expected;
                for (const QString& file : files.keys())
                    expected << file.chopped(4);
                QVERIFY2(listed == expected, when);
            }
        };
        check("after the command");
        if (QTest::currentTestFailed())
            return;

        // The mouse is back and read whole: its copy is stored over the files, which hold what it holds.
        if (state == "away")
            SimControl_SetMouseOnline(receiver, 1);
        else if (state == "unplugged")
            SimControl_SetAttached(receiver, 1);
        QVERIFY(SettleDevices());
        QVERIFY(OpenInDeviceWindow(device));
        QVERIFY(SettleDevices());
        check("after the mouse is back");
        if (QTest::currentTestFailed())
            return;

        // A Save the mouse did not take goes through now.
        if (!taken && (command == "save" || command == "repeat")) {
            const QStringList again = MacroNotices([&] { QMetaObject::invokeMethod(page, "on_Save_clicked"); });
            QVERIFY2(again.isEmpty(), qPrintable(again.join(" | ")));
            QVERIFY(SettleDevices());
            const QByteArray saved = command == "save" ? SavedDelay : SavedRepeat;
            QCOMPARE(ReadFile(MacroBlocks::MacroFilePath("Bound")), saved);
            QCOMPARE(OnTheButton(receiver, BoundButton), "Bound:" + QString::fromUtf8(saved));
            QVERIFY(!Child<QToolButton>(*page, "Save")->isEnabled());
        }
        DeviceWindowActive = 0;
    }
};

KESTRO_DEVICE_THREAD_TEST_MAIN(TestMacroOnTheMouse)
#include "tst_macroonthemouse.moc"
