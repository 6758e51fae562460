#include "device/DeviceParamSetters.h"
#include "device/DeviceState.h"
#include "device/MacroBlocks.h"
#include "device/PostMsg.h"
#include "pages/macro/Macro.h"
#include "support/FindChild.h"
#include "support/SimulatedDeviceFixture.h"
#include "tests/macro/MacroTestSupport.h"
#include "widgets/KeyboardHook.h"
#include "widgets/UiTextTables.h"

#include <QCheckBox>
#include <QComboBox>
#include <QListWidget>
#include <QSignalSpy>
#include <QSpinBox>
#include <QToolButton>
#include <QtTest>

#include <cstring>

using namespace MacroTestSupport;

// The macro page and the mouse's buttons: a saved macro reaches its buttons from its file, a button's
// macro is kept as a macro file exactly once, and leaving the device window frees the page.
class TestMacroTransfer : public QObject
{
    Q_OBJECT
    TestHome home;
    SimulatedDevices devices;

    static QString MacroPath(const QString& name)
    {
        return MacroBlocks::MacroFolder() + QLatin1Char('/') + name + QStringLiteral(".ini");
    }
    static QByteArray ReadAll(const QString& path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
    }
    static void ClearMacroFolder()
    {
        QDir(MacroBlocks::MacroFolder()).removeRecursively();
        QDir().mkpath(MacroBlocks::MacroFolder());
    }
    static QByteArray BlockBytes(const ButtonMacroBlock& block)
    {
        return QByteArray(reinterpret_cast<const char*>(&block), int(sizeof block));
    }
    // A block named by raw bytes (length byte given) with events (action, kind, usage, delay).
    struct Event {
        int action, kind, usage;
        unsigned delay;
    };
    static ButtonMacroBlock Block(const QByteArray& nameBytes, int lengthByte, int count, const QVector<Event>& events)
    {
        ButtonMacroBlock block{};
        block.nameLength = uint8_t(lengthByte);
        std::memcpy(block.name, nameBytes.constData(), size_t(qMin(nameBytes.size(), 30)));
        block.eventCount = uint8_t(count);
        for (int k = 0; k < events.size() && k < 70; ++k) {
            block.events[k].action = uint8_t(events[k].action);
            block.events[k].kind = uint8_t(events[k].kind);
            block.events[k].usage = uint8_t(events[k].usage & 0xFF);
            block.events[k].reserved = uint8_t(events[k].usage >> 8);
            block.events[k].delay = events[k].delay;
        }
        return block;
    }

private slots:
    void initTestCase()
    {
        home.MakeUserFolders();
        UiTextTables::Instance()->LoadUiTextTables();
    }
    void cleanupTestCase() { UsbServer_Exit(); }

    // A saved macro goes to each button it is bound to from its file, with the bytes the button
    // page's assignment of that file gives, whatever the editor shows; nothing goes out while
    // writes are off.
    void downloadFromTheSavedFile_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<bool>("otherShown");
        QTest::addColumn<bool>("writes");
        QTest::newRow("key, delay, key") << QByteArray("3\n0x04 1 0\n10ms\n0x04 1 1\n") << false << true;
        QTest::newRow("two key lines in a row") << QByteArray("1\n0x04 1 0\n0x05 1 0\n20ms\n0x05 1 1\n0x04 1 1\n")
                                                << false << true;
        QTest::newRow("another macro shown") << QByteArray("255\n0x01 4 0\n50ms\n0x01 4 1\n") << true << true;
        QTest::newRow("writes off") << QByteArray("3\n0x04 1 0\n10ms\n0x04 1 1\n") << false << false;
    }
    void downloadFromTheSavedFile()
    {
        QFETCH(QByteArray, text);
        QFETCH(bool, otherShown);
        QFETCH(bool, writes);
        ClearMacroFolder();
        WriteFile(MacroPath("Sent"), text);
        WriteFile(MacroPath("Other"), "1\n0x06 1 0\n10ms\n0x06 1 1\n");
        FlashDataMap record{};
        const int device = devices.OpenWiredMouse(&record);
        QVERIFY(device >= 0);
        for (int button : {2, 5})
            record.buttons[button] = ButtonFunction{FunctionMacro, uint8_t(button), 3};
        QVERIFY(SetDeviceButtonMacro(2, reinterpret_cast<const uint8_t*>(&record.buttons[2]), ButtonMacroBlock{}));
        QVERIFY(SetDeviceButtonMacro(5, reinterpret_cast<const uint8_t*>(&record.buttons[5]), ButtonMacroBlock{}));
        const FlashDataMap before = devices.Record(device);

        Macro page;
        auto* list = Child<QListWidget>(page, "listWidgetHong");
        list->setCurrentRow(otherShown ? 0 : 1);
        page.ReadMacroFile();
        UserWritesEnabled = writes;
        const int updates = SimControl_UpdateCount();
        emit PostMsg::Instance()->SigMacroDownLoadData(QStringLiteral("Sent") + QChar(0), 2);
        emit PostMsg::Instance()->SigMacroDownLoadData(QStringLiteral("Sent"), 5);
        const FlashDataMap after = devices.Record(device);
        if (!writes) {
            QCOMPARE(SimControl_UpdateCount(), updates);
            QVERIFY(devices.RecordDifferences(device, before).isEmpty());
            UserWritesEnabled = true;
            return;
        }
        bool ok = false;
        const ButtonMacroBlock expected = MacroBlocks::MacroFileToRecord(QStringLiteral("Sent"), &ok);
        QVERIFY(ok);
        for (int button : {2, 5}) {
            QCOMPARE(BlockBytes(after.macros[button]), BlockBytes(expected));
            QCOMPARE(after.buttons[button].type, uint8_t(FunctionMacro));
            QCOMPARE(after.buttons[button].p1, uint8_t(button));
            QCOMPARE(after.buttons[button].p2, uint8_t(3));
        }
        if (QTest::currentDataTag() == QByteArray("two key lines in a row")) {
            QCOMPARE(int(after.macros[2].eventCount), 4);
            QCOMPARE(int(after.macros[2].events[0].usage), 0x04);
            QCOMPARE(int(after.macros[2].events[1].usage), 0x05);
            QCOMPARE(after.macros[2].events[1].delay, 20u);
        }
    }

    // A button's macro from the mouse: its file holds the repeat mode and the events exactly once,
    // however often the mouse is read; a name that cannot be a file gets neither file nor entry.
    void storeTheMouseMacro_data()
    {
        QTest::addColumn<QByteArray>("nameBytes");
        QTest::addColumn<int>("lengthByte");
        QTest::addColumn<int>("count");
        QTest::addColumn<QString>("file");
        QTest::addColumn<QByteArray>("expected");
        const QVector<Event> keys{{0, 1, 0x04, 10}, {1, 1, 0x04, 0}};
        QTest::newRow("keys") << QByteArray("Copy") << 4 << 2 << "Copy" << QByteArray("7\n0x04 1 0\n10ms\n0x04 1 1\n");
        QTest::newRow("mouse buttons") << QByteArray("Click") << 5 << 2 << "Click"
                                       << QByteArray("7\n0x01 4 0\n30ms\n0x01 4 1\n");
        QTest::newRow("stale tail after a shorter name") << QByteArray("abngName") << 2 << 2 << "ab"
                                                         << QByteArray("7\n0x04 1 0\n10ms\n0x04 1 1\n");
        QTest::newRow("modifier") << QByteArray("Mod") << 3 << 2 << "Mod" << QByteArray("7\n0x01 0 0\n5ms\n0x01 0 1\n");
        QTest::newRow("hostile name") << QByteArray("../x") << 4 << 2 << "" << QByteArray();
        QTest::newRow("not the local encoding") << QByteArray("a\xff\xfe") << 3 << 2 << "" << QByteArray();
        QTest::newRow("empty name") << QByteArray() << 0 << 2 << "" << QByteArray();
    }
    void storeTheMouseMacro()
    {
        QFETCH(QByteArray, nameBytes);
        QFETCH(int, lengthByte);
        QFETCH(int, count);
        QFETCH(QString, file);
        QFETCH(QByteArray, expected);
        ClearMacroFolder();
        WriteFile(MacroPath("Mine"), "1\n0x06 1 0\n");
        QVector<Event> events{{0, 1, 0x04, 10}, {1, 1, 0x04, 0}};
        const QByteArray tag = QTest::currentDataTag();
        if (tag == "mouse buttons")
            events = {{0, 4, 0x01, 30}, {1, 4, 0x01, 0}};
        if (tag == "modifier")
            events = {{0, 0, 0x01, 5}, {1, 0, 0x01, 0}};
        FlashDataMap record{};
        record.buttons[3] = ButtonFunction{FunctionMacro, 3, 7};
        record.macros[3] = Block(nameBytes, lengthByte, count, events);

        Macro page;
        auto* list = Child<QListWidget>(page, "listWidgetHong");
        auto* lines = Child<QListWidget>(page, "listWidgetKey");
        list->setCurrentRow(0);
        page.ReadMacroFile();
        page.AppendDelayEvent(77); // an unsaved line
        MacroRecording = true;
        QSignalSpy added(PostMsg::Instance(), &PostMsg::SigAddMacroButton);
        const auto before = Snapshot(MacroBlocks::MacroFolder());
        emit PostMsg::Instance()->SigButtonToMacro(record, 3);
        emit PostMsg::Instance()->SigButtonToMacro(record, 3);
        MacroRecording = false;

        QCOMPARE(list->currentItem()->text(), QString("Mine"));
        QCOMPARE(lines->count(), 2);
        QCOMPARE(lines->item(1)->text(), QString("77ms"));
        if (file.isEmpty()) {
            QCOMPARE(Snapshot(MacroBlocks::MacroFolder()), before);
            QCOMPARE(list->count(), 1);
            QCOMPARE(added.count(), 0);
            return;
        }
        QCOMPARE(ReadAll(MacroPath(file)), expected);
        QCOMPARE(list->findItems(file, Qt::MatchExactly).size(), 1);
        QCOMPARE(list->count(), 2);
        QCOMPARE(added.count(), 2);
        QCOMPARE(ReadAll(MacroPath("Mine")), QByteArray("1\n0x06 1 0\n"));
    }

    // A count above the block's 70 events reads as 70; a file the user saved is replaced by the
    // mouse's macro, not appended to.
    void storeEdges()
    {
        ClearMacroFolder();
        WriteFile(MacroPath("Long"), "3\n0x05 1 0\n10ms\n0x05 1 1\n");
        QVector<Event> events;
        for (int k = 0; k < 70; ++k)
            events << Event{k % 2, 1, 0x04, 1};
        FlashDataMap record{};
        record.buttons[0] = ButtonFunction{FunctionMacro, 0, 254};
        record.macros[0] = Block("Long", 4, 200, events);
        Macro page;
        emit PostMsg::Instance()->SigButtonToMacro(record, 0);
        emit PostMsg::Instance()->SigButtonToMacro(record, 0);
        const QStringList fileLines = QString::fromUtf8(ReadAll(MacroPath("Long"))).split('\n', Qt::SkipEmptyParts);
        QCOMPARE(fileLines.size(), 1 + 70 + 69);
        QCOMPARE(fileLines.first(), QString("254"));
        QCOMPARE(fileLines.at(1), QString("0x04 1 0"));
        QCOMPARE(fileLines.last(), QString("0x04 1 1"));
        // The file gives the mouse the same block back.
        bool ok = false;
        const ButtonMacroBlock again = MacroBlocks::MacroFileToRecord(QStringLiteral("Long"), &ok);
        QVERIFY(ok);
        ButtonMacroBlock capped = record.macros[0];
        capped.eventCount = 70;
        capped.events[69].delay = 0; // a file holds no delay after its last key
        QCOMPARE(BlockBytes(again), BlockBytes(capped));
    }

    // The shown macro follows the mouse while it holds no unsaved change.
    void shownMacroFollowsTheMouse()
    {
        ClearMacroFolder();
        WriteFile(MacroPath("Copy"), "3\n0x05 1 0\n");
        FlashDataMap record{};
        record.buttons[1] = ButtonFunction{FunctionMacro, 1, 3};
        record.macros[1] = Block("Copy", 4, 2, {{0, 1, 0x04, 10}, {1, 1, 0x04, 0}});
        Macro page;
        auto* list = Child<QListWidget>(page, "listWidgetHong");
        auto* lines = Child<QListWidget>(page, "listWidgetKey");
        list->setCurrentRow(0);
        page.ReadMacroFile();
        QCOMPARE(lines->count(), 1);
        emit PostMsg::Instance()->SigButtonToMacro(record, 1);
        QCOMPARE(lines->count(), 3);
        QCOMPARE(lines->item(0)->text(), QString("A"));
    }

    // Leaving the device window ends a recording and frees every control it locked; Save stays off.
    void leavingThePageDuringARecording()
    {
        Macro page;
        const QStringList locked{"DelayTime", "NumberEdit", "listWidgetHong", "AutoInsertDelay", "DefaultDelay",
                                 "ReUntilLoose", "ReUntilClick", "ReUntil", "ReNumber", "ChooseEvent"};
        for (const QString& name : locked)
            Child<QWidget>(page, name.toLatin1().constData())->setEnabled(false);
        Child<QWidget>(page, "Save")->setEnabled(true);
        MacroRecording = true;
        page.RecorderHook()->InstallKeyboardHook();
        QSignalSpy record(PostMsg::Instance(), &PostMsg::SigStartRecord);
        emit PostMsg::Instance()->SigSetMacroPage();
        for (const QString& name : locked)
            QVERIFY2(Child<QWidget>(page, name.toLatin1().constData())->isEnabled(), qPrintable(name));
        QVERIFY(!Child<QWidget>(page, "Save")->isEnabled());
        QCOMPARE(record.count(), 1);
        QCOMPARE(record.at(0).at(0).toInt(), 1);
        QVERIFY(!MacroRecording);
        QVERIFY(!page.RecorderHook()->IsInstalled());
    }
};

QTEST_MAIN(TestMacroTransfer)
#include "tst_macrotransfer.moc"
