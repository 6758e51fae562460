#include "device/DeviceParamSetters.h"
#include "device/DeviceState.h"
#include "device/MacroBlocks.h"
#include "device/PostMsg.h"
#include "pages/macro/AddDelayTime.h"
#include "pages/macro/Macro.h"
#include "pages/macro/addKey.h"
#include "platform/VirtualKeys.h"
#include "support/FindChild.h"
#include "support/PageTestHome.h"
#include "support/SimulatedDeviceFixture.h"
#include "tests/macro/MacroTestSupport.h"
#include "widgets/KeyboardHook.h"
#include "widgets/UiText.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QListWidget>
#include <QMenu>
#include <QSignalSpy>
#include <QSpinBox>
#include <QToolButton>
#include <QVBoxLayout>
#include <QtTest>

using namespace MacroTestSupport;

namespace {

QString MacroPath(const QString& name)
{
    return MacroBlocks::MacroFilePath(name);
}

QListWidget* Events(Macro& page)
{
    return Child<QListWidget>(page, "listWidgetKey");
}

// Event lines in short: a key pressed ("A", "LCtrl"; the left, right, middle, forward and back
// mouse buttons "L", "R", "M", "F", "K"), with "^" released; "250ms" a delay. As a macro file after
// the repeat mode, and as the page shows them.
QByteArray FileOf(const QString& repeat, const QString& events)
{
    static const QMap<QString, QString> keys = {{"A", "0x04 1"}, {"B", "0x05 1"}, {"L", "0x01 4"}, {"R", "0x02 4"},
                                                {"M", "0x04 4"}, {"F", "0x10 4"}, {"K", "0x08 4"}, {"LCtrl", "0x01 0"}};
    QByteArray text = repeat.toUtf8() + '\n';
    for (const QString& event : events.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        const bool release = event.endsWith(QLatin1Char('^'));
        const QString key = release ? event.chopped(1) : event;
        if (!keys.contains(key))
            text += event.toUtf8() + '\n';
        else
            text += (keys.value(key) + (release ? " 1" : " 0")).toUtf8() + '\n';
    }
    return text;
}

// The page's event list in the same short form; the mouse buttons show their English names.
QString Shown(Macro& page)
{
    static const QMap<QString, QString> buttons = {{"Left button", "L"}, {"Right button", "R"},
                                                   {"Middle button", "M"}, {"Forward button", "F"},
                                                   {"Back button", "K"}};
    QStringList items;
    QListWidget* list = Events(page);
    for (int row = 0; row < list->count(); ++row) {
        const QString text = list->item(row)->text();
        items << buttons.value(text, text) + (list->item(row)->type() == 1 ? QStringLiteral("^") : QString());
    }
    return items.join(QLatin1Char(','));
}

// `keys` presses of A, each followed by a delay but the last.
QString KeyLines(int keys)
{
    QStringList events;
    for (int k = 0; k < keys; ++k) {
        if (k)
            events << "10ms";
        events << "A";
    }
    return events.join(QLatin1Char(','));
}

// A macro file made and shown on the page, `row` current in its event list.
void Open(Macro& page, const QString& name, const QByteArray& text, int row)
{
    WriteFile(MacroPath(name), text);
    QListWidget* list = Macros(page);
    if (list->findItems(name, Qt::MatchExactly).isEmpty())
        list->addItem(name);
    list->setCurrentItem(list->findItems(name, Qt::MatchExactly).first());
    emit list->clicked(list->currentIndex());
    Events(page)->setCurrentRow(row);
}

void Stroke(int code)
{
    KeyboardHook::Feed(code, VirtualKeys::KeyDown);
    KeyboardHook::Feed(code, VirtualKeys::KeyUp);
}

// Answers the key entry with a key (or cancels it on 0) and the delay dialog with a value (or
// cancels it on 0); closes any other dialog.
std::function<void(QDialog*)> Answer(int keyCode, int delay)
{
    return [keyCode, delay](QDialog* modal) {
        if (auto* key = qobject_cast<addKey*>(modal)) {
            if (keyCode)
                Stroke(keyCode);
            Child<QToolButton>(*key, keyCode ? "NewHong" : "NewHong_2")->click();
        } else if (auto* entry = qobject_cast<AddDelayTime*>(modal)) {
            Child<QSpinBox>(*entry, "spinBox")->setValue(delay ? delay : 10);
            Child<QToolButton>(*entry, delay ? "NewHong" : "NewHong_2")->click();
        } else {
            modal->close();
        }
    };
}

void Choose(Macro& page, int index)
{
    QMetaObject::invokeMethod(Child<QComboBox>(page, "ChooseEvent"), "activated", Q_ARG(int, index));
}

QStringList Updates(const QSignalSpy& spy)
{
    QStringList updates;
    for (const QList<QVariant>& call : spy)
        updates << call.at(0).toString() + QLatin1Char(':') + call.at(1).toString();
    return updates;
}

} // namespace

// Editing a macro's lines and saving them: the delete rule, the insert items, amending, the change
// flags and what Save sends, refusals while recording, at the limit and while the mouse is away.
class TestMacroEditing : public QObject
{
    Q_OBJECT
    PageTestHome home;
    SimulatedDevices devices;

    // The mouse's record with button 2 playing the macro "Bound" (when given); the device index.
    int MouseWithBoundMacro(bool bound)
    {
        FlashDataMap record{};
        const int device = devices.OpenWiredMouse(&record);
        if (device < 0)
            return device;
        ButtonMacroBlock block{};
        MacroBlocks::SetBlockName(block, bound ? QStringLiteral("Bound") : QStringLiteral("Elsewhere"));
        const uint8_t triple[3] = {FunctionMacro, 2, 1};
        if (!SetDeviceButtonMacro(2, triple, block))
            return -1;
        return device;
    }

private slots:
    void initTestCase()
    {
        home.Start();
    }
    void cleanupTestCase()
    {
        UsbServer_Exit();
    }
    void init()
    {
        PageTestHome::Reset();
        UserWritesEnabled = true;
        QDir(MacroBlocks::MacroFolder()).removeRecursively();
        QDir().mkpath(MacroBlocks::MacroFolder());
        // No macro is on a button unless a case puts it there.
        AdoptDeviceConfig(FlashDataMap{});
    }

    // Deleting lines: which rows go for the current row and its kind.
    void deleteLines_data()
    {
        QTest::addColumn<QString>("events");
        QTest::addColumn<int>("row");
        QTest::addColumn<QString>("left");
        const QString seven = "A,10ms,A^,20ms,B,30ms,B^";
        QTest::newRow("key at the top goes with the line below") << seven << 0 << "A^,20ms,B,30ms,B^";
        QTest::newRow("key inside goes with the line above") << seven << 2 << "A,20ms,B,30ms,B^";
        QTest::newRow("last key goes with the delay above") << seven << 6 << "A,10ms,A^,20ms,B";
        QTest::newRow("delay in row 1 goes alone") << seven << 1 << "A,A^,20ms,B,30ms,B^";
        QTest::newRow("delay inside goes with the delay two above") << seven << 3 << "A,A^,B,30ms,B^";
        QTest::newRow("delay before the last key") << seven << 5 << "A,10ms,A^,B,B^";
        QTest::newRow("delay as the last line goes with the key above") << "A,10ms,A^,20ms" << 3 << "A,10ms";
        QTest::newRow("delay at the top goes alone") << "10ms,A,20ms,A^" << 0 << "A,20ms,A^";
        QTest::newRow("mouse button inside goes with the line above") << "L,10ms,L^,20ms" << 2 << "L,20ms";
        QTest::newRow("three lines go whole") << "A,10ms,A^" << 1 << "";
        QTest::newRow("two lines go whole without a current line") << "A,A^" << -1 << "";
        QTest::newRow("four lines and no current line") << "A,10ms,A^,20ms" << -1 << "A,10ms,A^,20ms";
    }
    void deleteLines()
    {
        QFETCH(QString, events);
        QFETCH(int, row);
        QFETCH(QString, left);
        Macro page;
        Open(page, "M1", FileOf("1", events), row);
        QSignalSpy updates(PostMsg::Instance(), &PostMsg::SigUpDataMacro);
        QToolButton* save = Child<QToolButton>(page, "Save");
        QVERIFY(!save->isEnabled());
        Child<QToolButton>(page, "DeleteKey")->click();
        QCOMPARE(Shown(page), left);
        const bool changed = left != events;
        QCOMPARE(save->isEnabled(), changed);
        if (!changed)
            return;
        save->click();
        QCOMPARE(ReadFile(MacroPath("M1")), FileOf("1", left));
        QCOMPARE(Updates(updates), QStringList{"M1:0"});
    }

    // The nine items of the insert combo, at the last line of "A,10ms,A^", with the dialogs
    // answered; what the list shows and what Save writes.
    void insertItems_data()
    {
        QTest::addColumn<int>("index");
        QTest::addColumn<int>("keyCode");
        QTest::addColumn<int>("delay");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QStringList>("dialogs");
        const QString before = "A,10ms,A^";
        const QStringList key{"addKey"};
        const QStringList delay{"AddDelayTime"};
        QTest::newRow("0 nothing") << 0 << 0 << 0 << before << QStringList();
        QTest::newRow("1 key press") << 1 << 0x42 << 0 << "A,10ms,A^,10ms,B" << key;
        QTest::newRow("1 key press cancelled") << 1 << 0 << 0 << before << key;
        QTest::newRow("2 key release") << 2 << 0xA2 << 0 << "A,10ms,A^,10ms,LCtrl^" << key;
        QTest::newRow("3 delay") << 3 << 0 << 250 << "A,250ms,A^" << delay;
        QTest::newRow("3 delay cancelled") << 3 << 0 << 0 << before << delay;
        QTest::newRow("4 left button") << 4 << 0 << 0 << "A,10ms,A^,10ms,L,10ms,L^" << QStringList();
        QTest::newRow("5 right button") << 5 << 0 << 0 << "A,10ms,A^,10ms,R,10ms,R^" << QStringList();
        QTest::newRow("6 middle button") << 6 << 0 << 0 << "A,10ms,A^,10ms,M,10ms,M^" << QStringList();
        QTest::newRow("7 forward button") << 7 << 0 << 0 << "A,10ms,A^,10ms,F,10ms,F^" << QStringList();
        QTest::newRow("8 back button") << 8 << 0 << 0 << "A,10ms,A^,10ms,K,10ms,K^" << QStringList();
    }
    void insertItems()
    {
        QFETCH(int, index);
        QFETCH(int, keyCode);
        QFETCH(int, delay);
        QFETCH(QString, shown);
        QFETCH(QStringList, dialogs);
        Macro page;
        Open(page, "M1", FileOf("1", "A,10ms,A^"), 2);
        QSignalSpy updates(PostMsg::Instance(), &PostMsg::SigUpDataMacro);
        QStringList seen = RunWithModals([&] { Choose(page, index); }, Answer(keyCode, delay));
        for (QString& dialog : seen)
            dialog = dialog.section(QLatin1Char(':'), 0, 0);
        QCOMPARE(seen, dialogs);
        QCOMPARE(Shown(page), shown);
        QToolButton* save = Child<QToolButton>(page, "Save");
        QCOMPARE(save->isEnabled(), shown != "A,10ms,A^");
        QVERIFY(!KeyboardHook::MacroStepEntry().IsInstalled());
        QMetaObject::invokeMethod(&page, "on_Save_clicked");
        QCOMPARE(ReadFile(MacroPath("M1")), FileOf("1", shown));
        QCOMPARE(Updates(updates), shown != "A,10ms,A^" ? QStringList{"M1:0"} : QStringList());
    }

    // Insertions never take the list past the 70 key events a button plays.
    void insertionLimit_data()
    {
        QTest::addColumn<int>("keys");
        QTest::addColumn<int>("index");
        QTest::addColumn<bool>("refused");
        QTest::newRow("69 keys and a press") << 69 << 1 << false;
        QTest::newRow("70 keys and a press") << 70 << 1 << true;
        QTest::newRow("70 keys and a release") << 70 << 2 << true;
        QTest::newRow("68 keys and a click") << 68 << 4 << false;
        QTest::newRow("69 keys and a click") << 69 << 8 << true;
        QTest::newRow("70 keys and a delay") << 70 << 3 << false;
    }
    void insertionLimit()
    {
        QFETCH(int, keys);
        QFETCH(int, index);
        QFETCH(bool, refused);
        Macro page;
        const QString events = KeyLines(keys) + ",10ms";
        Open(page, "M1", FileOf("1", events), 1);
        const QString before = Shown(page);
        const QStringList seen = RunWithModals([&] { Choose(page, index); }, Answer(0x42, 30));
        if (refused) {
            QCOMPARE(seen.size(), index <= 2 ? 2 : 1);
            QCOMPARE(seen.last().section(QLatin1Char(':'), 0, 0), QString("KeyNumberLimit"));
            QCOMPARE(Shown(page), before);
            QVERIFY(!Child<QToolButton>(page, "Save")->isEnabled());
            return;
        }
        QVERIFY(!seen.join(' ').contains("KeyNumberLimit"));
        QVERIFY(Shown(page) != before);
        int keyLines = 0;
        for (int row = 0; row < Events(page)->count(); ++row)
            keyLines += !Events(page)->item(row)->text().contains("ms");
        QVERIFY(keyLines <= 70);
    }

    // Amending a line: a key takes the entered key and stays a press or a release with its icon; a
    // delay takes the entered delay; a cancelled dialog changes nothing.
    void amend_data()
    {
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("keyCode");
        QTest::addColumn<int>("delay");
        QTest::addColumn<QString>("shown");
        QTest::newRow("press to B") << 0 << 0x42 << 0 << "B,10ms,A^";
        QTest::newRow("release to LCtrl") << 2 << 0xA2 << 0 << "A,10ms,LCtrl^";
        QTest::newRow("delay to 250") << 1 << 0 << 250 << "A,250ms,A^";
        QTest::newRow("key cancelled") << 0 << 0 << 0 << "A,10ms,A^";
        QTest::newRow("delay cancelled") << 1 << 0 << 0 << "A,10ms,A^";
    }
    void amend()
    {
        QFETCH(int, row);
        QFETCH(int, keyCode);
        QFETCH(int, delay);
        QFETCH(QString, shown);
        Macro page;
        Open(page, "M1", FileOf("1", "A,10ms,A^"), row);
        const QImage icon = Events(page)->item(row)->icon().pixmap(16, 16).toImage();
        QSignalSpy updates(PostMsg::Instance(), &PostMsg::SigUpDataMacro);
        const QStringList seen =
            RunWithModals([&] { Child<QToolButton>(page, "Amend")->click(); }, Answer(keyCode, delay));
        QCOMPARE(seen.size(), 1);
        QCOMPARE(Shown(page), shown);
        QCOMPARE(Events(page)->item(row)->icon().pixmap(16, 16).toImage(), icon);
        const bool changed = shown != "A,10ms,A^";
        QCOMPARE(Child<QToolButton>(page, "Save")->isEnabled(), changed);
        QMetaObject::invokeMethod(&page, "on_Save_clicked");
        QCOMPARE(ReadFile(MacroPath("M1")), FileOf("1", shown));
        QCOMPARE(Updates(updates), changed ? QStringList{"M1:0"} : QStringList());
    }

    // While a recording runs every command shows the stop-recording notice and changes nothing.
    void commandsDuringARecording_data()
    {
        QTest::addColumn<QString>("command");
        for (const char* command : {"Amend", "DeleteKey", "Save", "NewHong", "DeleteHong", "insert", "menu"})
            QTest::newRow(command) << command;
    }
    void commandsDuringARecording()
    {
        QFETCH(QString, command);
        Macro page;
        Open(page, "M1", FileOf("1", "A,10ms,A^"), 1);
        Child<QSpinBox>(page, "NumberEdit")->setValue(5); // a change Save would write
        const auto files = Snapshot(home.Path());
        QSignalSpy updates(PostMsg::Instance(), &PostMsg::SigUpDataMacro);
        MacroRecording = true;
        const QStringList seen = RunWithModals([&] {
            if (command == "insert")
                Choose(page, 4);
            else if (command == "menu")
                emit Macros(page)->customContextMenuRequested(QPoint(2, 2));
            else
                Child<QToolButton>(page, command.toLatin1().constData())->click();
        });
        MacroRecording = false;
        QCOMPARE(seen, QStringList{"ExeIsRun:" + UiText::Text(0, "macro", "DialogStopRecordFirst")});
        QCOMPARE(Shown(page), QString("A,10ms,A^"));
        QCOMPARE(Macros(page)->count(), 1);
        QCOMPARE(Snapshot(home.Path()), files);
        QVERIFY(updates.isEmpty());
    }

    // The change flags: Save sends the events first, then the repeat mode, once; they survive a
    // switch to another macro; a Save without changes writes the file and sends nothing.
    void changeFlags_data()
    {
        QTest::addColumn<QString>("changes");
        QTest::addColumn<QString>("repeat");
        QTest::addColumn<QStringList>("sent");
        QTest::newRow("none") << "" << "3" << QStringList();
        QTest::newRow("a deleted line") << "delete" << "3" << QStringList{"M1:0"};
        QTest::newRow("the count") << "count7" << "7" << QStringList{"M1:1"};
        QTest::newRow("until any pressed") << "untilAny" << "255" << QStringList{"M1:1"};
        QTest::newRow("both") << "count7 delete" << "7" << QStringList{"M1:0", "M1:1"};
        QTest::newRow("both, then another macro") << "count7 delete switch" << "1" << QStringList{"M2:0", "M2:1"};
    }
    void changeFlags()
    {
        QFETCH(QString, changes);
        QFETCH(QString, repeat);
        QFETCH(QStringList, sent);
        Macro page;
        WriteFile(MacroPath("M2"), FileOf("1", "B,10ms,B^"));
        Open(page, "M1", FileOf("3", "A,10ms,A^,20ms"), 3);
        Macros(page)->addItem("M2");
        QSignalSpy updates(PostMsg::Instance(), &PostMsg::SigUpDataMacro);
        QToolButton* save = Child<QToolButton>(page, "Save");
        for (const QString& change : changes.split(' ', Qt::SkipEmptyParts)) {
            if (change == "delete")
                Child<QToolButton>(page, "DeleteKey")->click();
            else if (change == "count7")
                Child<QSpinBox>(page, "NumberEdit")->setValue(7);
            else if (change == "untilAny")
                Child<QCheckBox>(page, "ReUntilClick")->setChecked(true);
            else if (change == "switch")
                Open(page, "M2", FileOf("1", "B,10ms,B^"), 0);
        }
        const bool active = !changes.isEmpty() && !changes.endsWith("switch");
        QCOMPARE(save->isEnabled(), active);
        const QString name = Macros(page)->currentItem()->text();
        const QByteArray events = name == "M1" ? FileOf("", changes.contains("delete") ? "A,10ms" : "A,10ms,A^,20ms")
                                               : FileOf("", "B,10ms,B^");
        WriteFile(MacroPath(name), "stale\n");
        QMetaObject::invokeMethod(&page, "on_Save_clicked");
        QCOMPARE(ReadFile(MacroPath(name)), repeat.toUtf8() + events);
        QCOMPARE(Updates(updates), sent);
        QVERIFY(!save->isEnabled());
        // The flags went with that Save.
        updates.clear();
        QMetaObject::invokeMethod(&page, "on_Save_clicked");
        QVERIFY(updates.isEmpty());
    }

    // A macro on a button is saved only while the mouse takes it: offline or with writes off the
    // Save is refused with the offline notice, file and editor as they were, and goes through once
    // the mouse is back. A macro on no button is saved either way.
    void saveWhileTheMouseIsAway_data()
    {
        QTest::addColumn<bool>("bound");
        QTest::addColumn<bool>("online");
        QTest::addColumn<bool>("writes");
        QTest::addColumn<bool>("refused");
        QTest::newRow("bound, online") << true << true << true << false;
        QTest::newRow("bound, offline") << true << false << true << true;
        QTest::newRow("bound, writes off") << true << true << false << true;
        QTest::newRow("unbound, offline") << false << false << true << false;
        QTest::newRow("unbound, writes off") << false << true << false << false;
    }
    void saveWhileTheMouseIsAway()
    {
        QFETCH(bool, bound);
        QFETCH(bool, online);
        QFETCH(bool, writes);
        QFETCH(bool, refused);
        const int device = MouseWithBoundMacro(bound);
        QVERIFY(device >= 0);
        Macro page;
        const QByteArray before = FileOf("1", "A,10ms,A^,20ms");
        Open(page, "Bound", before, 3);
        Child<QToolButton>(page, "DeleteKey")->click();
        Child<QSpinBox>(page, "NumberEdit")->setValue(4);
        QSignalSpy updates(PostMsg::Instance(), &PostMsg::SigUpDataMacro);
        QSignalSpy offline(PostMsg::Instance(), &PostMsg::SigMouseOffLineo);
        SimulatedDevices::Situation(device, writes, false, online);
        QMetaObject::invokeMethod(&page, "on_Save_clicked");
        QToolButton* save = Child<QToolButton>(page, "Save");
        const QByteArray after = FileOf("4", "A,10ms");
        if (!refused) {
            QCOMPARE(ReadFile(MacroPath("Bound")), after);
            QCOMPARE(Updates(updates), (QStringList{"Bound:0", "Bound:1"}));
            QVERIFY(offline.isEmpty());
            QVERIFY(!save->isEnabled());
            return;
        }
        QCOMPARE(offline.count(), 1);
        QCOMPARE(offline.first().at(0).toInt(), 0);
        QCOMPARE(ReadFile(MacroPath("Bound")), before);
        QVERIFY(updates.isEmpty());
        QCOMPARE(Shown(page), QString("A,10ms"));
        QVERIFY(save->isEnabled());
        // The mouse is back: the same Save goes through with both changes.
        SimControl_SetAttached(device, 1);
        UserWritesEnabled = true;
        QMetaObject::invokeMethod(&page, "on_Save_clicked");
        QCOMPARE(ReadFile(MacroPath("Bound")), after);
        QCOMPARE(Updates(updates), (QStringList{"Bound:0", "Bound:1"}));
    }

    // A click on another macro while the button page is told of the Save (it lets the event loop
    // run meanwhile) leaves both files right and both signals naming the saved macro.
    void clickOnAnotherMacroDuringSave()
    {
        Macro page;
        const QByteArray other = FileOf("1", "B,10ms,B^");
        WriteFile(MacroPath("Other"), other);
        Open(page, "Saved", FileOf("1", "A,10ms,A^,20ms"), 3);
        Macros(page)->addItem("Other");
        Child<QToolButton>(page, "DeleteKey")->click();
        Child<QSpinBox>(page, "NumberEdit")->setValue(2);
        QStringList sent;
        const auto connection = connect(PostMsg::Instance(), &PostMsg::SigUpDataMacro, this,
                                        [&](const QString& name, int index) {
                                            sent << name + ":" + QString::number(index);
                                            if (index == 0)
                                                Open(page, "Other", other, 0);
                                        });
        QMetaObject::invokeMethod(&page, "on_Save_clicked");
        disconnect(connection);
        QCOMPARE(sent, (QStringList{"Saved:0", "Saved:1"}));
        QCOMPARE(ReadFile(MacroPath("Saved")), FileOf("2", "A,10ms"));
        QCOMPARE(ReadFile(MacroPath("Other")), other);
        QCOMPARE(Shown(page), QString("B,10ms,B^"));
    }

    // The small slots and the page's own events.
    void delayTimeStopsAt65535()
    {
        Macro page;
        auto* delay = Child<QSpinBox>(page, "DelayTime");
        QCOMPARE(delay->maximum(), 99999);
        delay->setValue(70000);
        QCOMPARE(delay->value(), 65535);
        delay->setValue(65534);
        QCOMPARE(delay->value(), 65534);
    }

    void escapeAndF12StayOnThePage()
    {
        QDialog window;
        auto* page = new Macro(&window);
        auto* layout = new QVBoxLayout(&window);
        layout->addWidget(page);
        window.show();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        page->setFocus();
        QTest::keyClick(page, Qt::Key_Escape);
        QTest::keyClick(page, Qt::Key_F12);
        QVERIFY(window.isVisible());
    }

    void aPressBesideTheSpinBoxesEndsTheirEdit()
    {
        Macro page;
        page.show();
        QVERIFY(QTest::qWaitForWindowActive(&page));
        auto* delay = Child<QSpinBox>(page, "DelayTime");
        delay->setFocus();
        QVERIFY(delay->hasFocus());
        QTest::mouseClick(&page, Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
        QVERIFY(!delay->hasFocus());
        QVERIFY(page.hasFocus());
    }

    void languageChangeKeepsTheValues()
    {
        Macro page;
        Open(page, "M1", FileOf("1", "A,10ms,A^"), 0);
        auto* choice = Child<QComboBox>(page, "ChooseEvent");
        auto* delay = Child<QSpinBox>(page, "DelayTime");
        auto* count = Child<QSpinBox>(page, "NumberEdit");
        choice->setCurrentIndex(3);
        delay->setValue(500);
        { const QSignalBlocker blocker(count); count->setValue(9); }
        QSignalSpy updates(PostMsg::Instance(), &PostMsg::SigUpDataMacro);
        QEvent change(QEvent::LanguageChange);
        QApplication::sendEvent(&page, &change);
        QCOMPARE(choice->currentIndex(), 3);
        QCOMPARE(delay->value(), 500);
        QCOMPARE(count->value(), 9);
        QVERIFY(!Child<QToolButton>(page, "Save")->isEnabled());
        // The page's texts stay those of its language, not the form's.
        QCOMPARE(Child<QToolButton>(page, "Save")->text(), UiText::ForReader(0, "Macro", "Save"));
        QCOMPARE(Child<QToolButton>(page, "Amend")->text(), UiText::ForReader(0, "Macro", "Modify"));
    }

    // The context menu: on an entry export, rename and delete; on empty space new and import; in
    // the list's font.
    void contextMenu_data()
    {
        QTest::addColumn<bool>("onEntry");
        QTest::addColumn<QStringList>("keys");
        QTest::newRow("on an entry") << true << QStringList{"MacroExport", "Rename", "Delete"};
        QTest::newRow("on empty space") << false << QStringList{"NewMacro", "MacroImport"};
    }
    void contextMenu()
    {
        QFETCH(bool, onEntry);
        QFETCH(QStringList, keys);
        Macro page;
        Open(page, "M1", FileOf("1", "A"), 0);
        page.show();
        QListWidget* list = Macros(page);
        const QPoint pos = onEntry ? list->visualItemRect(list->item(0)).center() : QPoint(5, list->height() - 5);
        QStringList shown;
        QFont font;
        QTimer::singleShot(20, [&] {
            auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
            if (!menu)
                return;
            for (QAction* action : menu->actions())
                shown << action->text();
            font = menu->font();
            menu->close();
        });
        emit list->customContextMenuRequested(pos);
        QStringList expected;
        for (const QString& key : keys)
            expected << page.MenuText(key);
        QCOMPARE(shown, expected);
        QCOMPARE(font, list->font());
    }
};

QTEST_MAIN(TestMacroEditing)
#include "tst_macroediting.moc"
