#include "device/DeviceParamSetters.h"
#include "device/DeviceState.h"
#include "device/MacroBlocks.h"
#include "device/PostMsg.h"
#include "pages/macro/Macro.h"
#include "platform/AppPaths.h"
#include "support/FileSizeLimit.h"
#include "support/FindChild.h"
#include "support/SimulatedDeviceFixture.h"
#include "tests/macro/MacroTestSupport.h"
#include "widgets/KeyboardHook.h"
#include "widgets/UiText.h"
#include "widgets/UiTextTables.h"

#include <QBuffer>
#include <QCheckBox>
#include <QDataStream>
#include <QFileInfo>
#include <QIcon>
#include <QImage>
#include <QPixmap>
#include <QSize>
#include <QComboBox>
#include <QListWidget>
#include <QSignalSpy>
#include <QSpinBox>
#include <QToolButton>
#include <QtTest>

#include <cstring>
#include <functional>
#include <sys/stat.h>
#include "support/LanguageRows.h"

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
    static void ClearMacroFolder()
    {
        QDir(MacroBlocks::MacroFolder()).removeRecursively();
        QDir().mkpath(MacroBlocks::MacroFolder());
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
        QCOMPARE(ReadFile(MacroPath(file)), expected);
        QCOMPARE(list->findItems(file, Qt::MatchExactly).size(), 1);
        QCOMPARE(list->count(), 2);
        QCOMPARE(added.count(), 2);
        QCOMPARE(ReadFile(MacroPath("Mine")), QByteArray("1\n0x06 1 0\n"));
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
        const QStringList fileLines = QString::fromUtf8(ReadFile(MacroPath("Long"))).split('\n', Qt::SkipEmptyParts);
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
    // Export and import: the fields of the file, a round trip into a fresh folder, and import files
    // that are refused or cut short.
    void exportAndImport()
    {
        ClearMacroFolder();
        const QByteArray text("255\n0x04 1 0\n10ms\n0x01 4 1\n");
        WriteFile(MacroPath("Copy"), text);
        const QString exportPath = home.Path() + QStringLiteral("/copy.ini");
        {
            Macro page;
            auto* list = Child<QListWidget>(page, "listWidgetHong");
            list->setCurrentRow(0);
            QVERIFY(page.ReadMacroFile());
            QVERIFY(page.ExportMacroTo(exportPath));
        }
        const QByteArray bytes = ReadFile(exportPath);
        QByteArray head;
        head += QByteArray::fromHex("0000000c") + QByteArray("Velor", 5) + QByteArray(7, '\0');
        head += QByteArray::fromHex("00000030") + QByteArray("Copy") + QByteArray(44, '\0');
        head += QByteArray::fromHex("0000000c") + QByteArray("255") + QByteArray(9, '\0');
        head += QByteArray::fromHex("00000003");
        QCOMPARE(bytes.left(head.size()), head);

        ClearMacroFolder();
        Macro fresh;
        auto* list = Child<QListWidget>(fresh, "listWidgetHong");
        QVERIFY(fresh.ImportMacroFrom(exportPath));
        QCOMPARE(ReadFile(MacroPath("Copy")), text);
        QCOMPARE(list->currentItem()->text(), QString("Copy"));
        // The same name again: the notice, before the marker is looked at.
        QStringList seen = RunWithModals([&] { QVERIFY(!fresh.ImportMacroFrom(exportPath)); });
        QCOMPARE(seen, QStringList{"SameMacro:DialogSameMacroName"});
        // A listed name in a file of another kind: the same notice, the marker comes after.
        QByteArray other = ReadFile(exportPath);
        other.replace(4, 5, "Other");
        WriteFile(exportPath, other);
        seen = RunWithModals([&] { QVERIFY(!fresh.ImportMacroFrom(exportPath)); });
        QCOMPARE(seen, QStringList{"SameMacro:DialogSameMacroName"});
    }

    void hostileImports_data()
    {
        QTest::addColumn<QByteArray>("marker");
        QTest::addColumn<QByteArray>("name");
        QTest::addColumn<QByteArray>("repeat");
        QTest::addColumn<int>("keys");
        QTest::addColumn<QString>("notice");
        QTest::addColumn<QByteArray>("expected");
        QTest::newRow("wrong marker") << QByteArray("Other") << QByteArray("M") << QByteArray("1") << 1 << "" << QByteArray();
        QTest::newRow("climbing name") << QByteArray("Velor") << QByteArray("../x") << QByteArray("1") << 1
                                       << "SameMacro:DialogMacroNameRefused" << QByteArray();
        QTest::newRow("line end in the repeat field") << QByteArray("Velor") << QByteArray("M") << QByteArray("1\n0x04 1 0")
                                                      << 1 << "" << QByteArray("1\n0x04 1 0\n");
        QTest::newRow("80 keys keep 70") << QByteArray("Velor") << QByteArray("M") << QByteArray("2") << 80
                                         << "KeyNumberLimit:The macro holds as many keys as it can" << QByteArray();
    }
    void hostileImports()
    {
        QFETCH(QByteArray, marker);
        QFETCH(QByteArray, name);
        QFETCH(QByteArray, repeat);
        QFETCH(int, keys);
        QFETCH(QString, notice);
        QFETCH(QByteArray, expected);
        ClearMacroFolder();
        const QString path = home.Path() + QStringLiteral("/import.ini");
        QByteArray data;
        {
            QDataStream out(&data, QIODevice::WriteOnly);
            out.setVersion(QDataStream::Qt_5_6);
            auto field = [](QByteArray b, int n) { b.truncate(n); return b + QByteArray(n - b.size(), '\0'); };
            out << field(marker, 12) << field(name, 48) << field(repeat, 12) << qint32(keys);
            for (int k = 0; k < keys; ++k)
                out << QString("A") << QIcon() << "0";
        }
        WriteFile(path, data);
        const auto before = Snapshot(MacroBlocks::MacroFolder());
        Macro page;
        const QStringList seen = RunWithModals([&] { page.ImportMacroFrom(path); });
        QCOMPARE(seen, notice.isEmpty() ? QStringList() : QStringList{notice});
        if (QTest::currentDataTag() == QByteArray("80 keys keep 70")) {
            const QStringList lines = QString::fromUtf8(ReadFile(MacroPath("M"))).split('\n', Qt::SkipEmptyParts);
            QCOMPARE(lines.size(), 71);
            return;
        }
        if (expected.isEmpty())
            QCOMPARE(Snapshot(MacroBlocks::MacroFolder()), before);
        else
            QCOMPARE(ReadFile(MacroPath(QString::fromUtf8(name))), expected);
    }

    // Files that are no export file are refused with a notice; an unwritable export path says so.
    void refusedFiles()
    {
        ClearMacroFolder();
        WriteFile(MacroPath("Copy"), "1\n");
        Macro page;
        Child<QListWidget>(page, "listWidgetHong")->setCurrentRow(0);
        QStringList seen = RunWithModals([&] { QVERIFY(!page.ImportMacroFrom(home.Path())); });
        QCOMPARE(seen, QStringList{"SameMacro:DialogMacroFileFailed"});
        seen = RunWithModals([&] { QVERIFY(!page.ExportMacroTo(home.Path() + "/no/such/folder/x.ini")); });
        QCOMPARE(seen, QStringList{"SameMacro:DialogMacroExportFailed"});
        // A full disk: no cut export file, and the notice.
        const QString full = home.Path() + "/full.ini";
        {
            FileSizeLimit fullDisk(16);
            QVERIFY(fullDisk.Active());
            seen = RunWithModals([&] { QVERIFY(!page.ExportMacroTo(full)); });
        }
        QCOMPARE(seen, QStringList{"SameMacro:DialogMacroExportFailed"});
        QVERIFY(!QFile::exists(full));
        // A stream cut short keeps what was read.
        QByteArray data;
        {
            QDataStream out(&data, QIODevice::WriteOnly);
            out.setVersion(QDataStream::Qt_5_6);
            out << QByteArray("Velor") + QByteArray(7, '\0') << QByteArray("Cut") + QByteArray(45, '\0')
                << QByteArray("3") + QByteArray(11, '\0') << qint32(5) << QString("B") << QIcon() << "1"
                << QString("10ms") << QIcon();
        }
        QBuffer buffer(&data);
        buffer.open(QIODevice::ReadOnly);
        const Macro::ExportContent content = Macro::ReadExportStream(buffer);
        QCOMPARE(content.items.size(), 2);
        QVERIFY(content.items.at(0).release);
        QCOMPARE(content.repeatLine, QString("3"));
    }

    // An item's icon is passed over, never made: the import gives each item its icon from its
    // label. An icon entry naming a file must not open it (a named pipe would hold the page for
    // good); an icon the export never writes, or a picture that is not a whole PNG file, ends the
    // reading with what came before.
    void iconsArePassedOver_data()
    {
        QTest::addColumn<QByteArray>("icon");
        QTest::addColumn<int>("items");
        const QString pipe = home.Path() + QStringLiteral("/pipe");
        QVERIFY(mkfifo(QFile::encodeName(pipe).constData(), 0600) == 0 || QFileInfo(pipe).exists());
        auto stream = [](const std::function<void(QDataStream&)>& write) {
            QByteArray bytes;
            QDataStream out(&bytes, QIODevice::WriteOnly);
            out.setVersion(QDataStream::Qt_5_6);
            write(out);
            return bytes;
        };
        const QByteArray png = ReadFile(AppPaths::ProgramFolder() + QStringLiteral("/Picture/Macro/MacroTime.png"));
        QVERIFY(png.startsWith("\x89PNG"));
        QTest::newRow("an entry naming a pipe") << stream([&](QDataStream& out) {
            out << QString("QPixmapIconEngine") << qint32(1) << qint32(0) << pipe << QSize(16, 16) << quint32(0)
                << quint32(0);
        }) << 2;
        QTest::newRow("a picture as the export writes it") << stream([&](QDataStream& out) { out << QIcon(QPixmap::fromImage(QImage::fromData(png))); }) << 2;
        QTest::newRow("a picture and a file name") << stream([&](QDataStream& out) {
            out << QString("QPixmapIconEngine") << qint32(1) << qint32(1);
            out.writeRawData(png.constData(), png.size());
            out << pipe << QSize(16, 16) << quint32(0) << quint32(0);
        }) << 2;
        QTest::newRow("an icon of another kind") << stream([](QDataStream& out) { out << QString("svg") << qint32(1); }) << 0;
        QTest::newRow("a picture that is no PNG file") << stream([](QDataStream& out) {
            out << QString("QPixmapIconEngine") << qint32(1) << qint32(1) << QByteArray("GIF89a....");
        }) << 0;
        QTest::newRow("a PNG file cut short") << stream([&](QDataStream& out) {
            out << QString("QPixmapIconEngine") << qint32(1) << qint32(1);
            out.writeRawData(png.constData(), png.size() - 20);
        }) << 0;
    }
    void iconsArePassedOver()
    {
        QFETCH(QByteArray, icon);
        QFETCH(int, items);
        QByteArray data;
        {
            QDataStream out(&data, QIODevice::WriteOnly);
            out.setVersion(QDataStream::Qt_5_6);
            out << QByteArray("Velor") + QByteArray(7, '\0') << QByteArray("Icons") + QByteArray(43, '\0')
                << QByteArray("3") + QByteArray(11, '\0') << qint32(2) << QString("B");
            out.writeRawData(icon.constData(), icon.size());
            out << "0" << QString("10ms") << QIcon();
        }
        QBuffer buffer(&data);
        buffer.open(QIODevice::ReadOnly);
        const Macro::ExportContent content = Macro::ReadExportStream(buffer);
        QCOMPARE(content.name, QString("Icons"));
        QCOMPARE(content.items.size(), items);
        if (items) {
            QCOMPARE(content.items.at(0).text, QString("B"));
            QVERIFY(!content.items.at(0).release);
            QCOMPARE(content.items.at(1).text, QString("10ms"));
        }
    }

    // A mouse button's item is named in the language of the machine that exported it: the name of
    // every language the program speaks gives the button.
    void mouseButtonsOfEveryLanguage_data()
    {
        LanguageRows();
    }
    void mouseButtonsOfEveryLanguage()
    {
        QFETCH(int, language);
        ClearMacroFolder();
        UiLanguage = 0;
        const QString path = home.Path() + QStringLiteral("/buttons.ini");
        QByteArray data;
        {
            QDataStream out(&data, QIODevice::WriteOnly);
            out.setVersion(QDataStream::Qt_5_6);
            out << QByteArray("Velor") + QByteArray(7, '\0') << QByteArray("Clicks") + QByteArray(42, '\0')
                << QByteArray("1") + QByteArray(11, '\0') << qint32(3)
                << UiText::Option(language, "InsertEventOptions", "2") << QIcon() << "0" << QString("10ms") << QIcon()
                << UiText::Option(language, "InsertEventOptions", "6") << QIcon() << "1";
        }
        WriteFile(path, data);
        Macro page;
        QVERIFY(page.ImportMacroFrom(path));
        QCOMPARE(ReadFile(MacroPath("Clicks")), QByteArray("1\n0x01 4 0\n10ms\n0x08 4 1\n"));
    }

    // With KESTRO_MACRO_SHOTS set to a folder, the page after a macro arrived from the mouse and
    // another was imported is drawn there in the three languages, with the export-failure notice.
    void shots_data()
    {
        LanguageRows();
    }
    void shots()
    {
        QFETCH(int, language);
        const QString folder = qEnvironmentVariable("KESTRO_MACRO_SHOTS");
        if (folder.isEmpty())
            QSKIP("KESTRO_MACRO_SHOTS names no folder");
        ClearMacroFolder();
        WriteFile(MacroPath("Copy"), "3\n0x01 0 0\n10ms\n0x06 1 0\n32ms\n0x06 1 1\n10ms\n0x01 0 1\n");
        UiLanguage = language;
        QWidget ground;
        ground.setObjectName("ground");
        ground.setStyleSheet("QWidget#ground{background: rgb(24, 27, 33);}");
        auto* page = new Macro(&ground);
        page->SlotAllLanguage(language);
        ground.resize(page->size());
        ground.show();
        const QString exportPath = home.Path() + QStringLiteral("/copy.ini");
        Child<QListWidget>(*page, "listWidgetHong")->setCurrentRow(0);
        page->ReadMacroFile();
        QVERIFY(page->ExportMacroTo(exportPath));
        QFile::remove(MacroPath("Copy"));
        delete Child<QListWidget>(*page, "listWidgetHong")->takeItem(0);
        FlashDataMap record{};
        record.buttons[4] = ButtonFunction{FunctionMacro, 4, 255};
        record.macros[4] = Block("FromMouse", 9, 2, {{0, 4, 0x01, 40}, {1, 4, 0x01, 0}});
        emit PostMsg::Instance()->SigButtonToMacro(record, 4);
        QVERIFY(page->ImportMacroFrom(exportPath));
        QTest::qWait(50);
        ground.grab().save(folder + QString("/macro-transfer-%1.png").arg(language));
        RunWithModals([&] { page->ExportMacroTo(home.Path() + "/no/such/x.ini"); },
                      [&](QDialog* modal) {
                          QTest::qWait(50);
                          modal->grab().save(folder + QString("/export-failed-%1.png").arg(language));
                          modal->close();
                      });
    }
};

QTEST_MAIN(TestMacroTransfer)
#include "tst_macrotransfer.moc"
