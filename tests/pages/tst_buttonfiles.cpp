#include "app/ReadConfigFile.h"
#include "device/DeviceDiscovery.h"
#include "device/DeviceState.h"
#include "device/KeyNames.h"
#include "device/MacroBlocks.h"
#include "pages/buttons/Buttoninterface.h"
#include "support/FileSizeLimit.h"
#include "support/FittingRecord.h"
#include "support/TestHome.h"
#include "widgets/FileNotices.h"
#include "widgets/UiTextTables.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QFile>
#include <QTemporaryDir>
#include <QTextCodec>
#include <QTimer>
#include <QtEndian>
#include <QtTest>

#include <cstring>

namespace {

// A model list of three models whose sensor names are 4, 12 and 19 bytes long.
const char* const ModelList =
    "[Option]\nDeviceTotal=3\n"
    "[Drive1]\nSensor=MzM5NQ==\nKeyNumber=6\nDPIMaxGrade=8\n"          // 3395
    "[Drive2]\nSensor=UEFXMzM5NUFCQ0RF\nKeyNumber=6\nDPIMaxGrade=8\n"  // PAW3395ABCDE (12 bytes)
    "[Drive3]\nSensor=UEFXMzk1MC1MT05HLVNFTlNPUg==\nKeyNumber=6\nDPIMaxGrade=8\n"; // PAW3950-LONG-SENSOR (19 bytes)

QByteArray Bytes(const FlashDataMap& record)
{
    return QByteArray(reinterpret_cast<const char*>(record.bytes()), sizeof record);
}

QByteArray Field(const QByteArray& text)
{
    QByteArray field(12, '\0');
    std::memcpy(field.data(), text.constData(), size_t(text.size()));
    return field;
}

FlashDataMap PatternRecord()
{
    FlashDataMap record{};
    for (std::size_t i = 0; i < sizeof record; ++i)
        record.bytes()[i] = uint8_t(i * 7 + 3);
    record.dpiLevelCount = 4;
    record.currentDpiLevel = 1;
    return FittingRecord(record);
}

// The bytes of a block after its name: the event count, then the events, zeros to the end.
QByteArray EventBytes(const ButtonMacroBlock& block)
{
    return QByteArray(reinterpret_cast<const char*>(&block) + 31, int(sizeof block) - 31);
}

// One 8-byte macro event: action, kind, usage, a zero byte, the delay (little-endian).
QByteArray Ev(int action, int kind, int usage, int delay)
{
    QByteArray event(8, '\0');
    event[0] = char(action);
    event[1] = char(kind);
    event[2] = char(usage);
    qToLittleEndian<quint32>(quint32(delay), event.data() + 4);
    return event;
}

// The count byte and the events, padded with zeros to the end of the block.
QByteArray Events(const QList<QByteArray>& events)
{
    QByteArray bytes(1, char(events.size()));
    for (const QByteArray& event : events)
        bytes += event;
    return bytes + QByteArray(561 - bytes.size(), '\0');
}

const QStringList MouseNames{"Left", "Right", "Middle", "Back", "Forward"};

void SelectModel(int index)
{
    CurrentDeviceInfo.Update([index](DeviceAllInfo& info) { info.modelIndex = index; });
}

} // namespace

// The configuration export file and the macro blocks built from macro files.
class TestButtonFiles : public QObject
{
    Q_OBJECT
    TestHome home;
    QTemporaryDir programFolder;
    QTemporaryDir exports;

    QString MacroFolder() const { return AppPaths::UserDataFolder() + QStringLiteral("/usersetting/MacroPage/"); }
    void WriteMacro(const QString& name, const QByteArray& content)
    {
        QFile file(MacroFolder() + name + QStringLiteral(".ini"));
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(content);
    }

    // The page's export button, with typed chosen in its save dialog.
    static bool ExportAs(Buttoninterface& page, const QString& typed, bool* answered)
    {
        QTimer::singleShot(0, [typed, answered] {
            auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            if (!dialog)
                return;
            *answered = true;
            dialog->selectFile(typed);
            QMetaObject::invokeMethod(dialog, "accept");
        });
        return QMetaObject::invokeMethod(&page, "on_OutputData_clicked");
    }

private slots:
    void initTestCase()
    {
        home.MakeUserFolders();
        // The local 8-bit encoding of the systems the program runs on.
        QTextCodec::setCodecForLocale(QTextCodec::codecForName("UTF-8"));
        // The model list is read once, from this folder.
        QDir(programFolder.path()).mkpath(QStringLiteral("usersetting"));
        QFile list(programFolder.path() + QStringLiteral("/usersetting/Config.ini"));
        QVERIFY(list.open(QIODevice::WriteOnly));
        list.write(ModelList);
        list.close();
        AppPaths::SetProgramFolder(programFolder.path());
    }
    void init()
    {
        for (QString& name : KeyNames::MouseButtonNames)
            name.clear();
        SelectModel(0);
        UserWritesEnabled = true;
    }

    void exportLayoutByteForByte()
    {
        const FlashDataMap record = PatternRecord();
        const QString path = exports.filePath(QStringLiteral("a.bin"));
        QVERIFY(Buttoninterface::WriteConfigFile(path, record));
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray content = file.readAll();
        QByteArray expected;
        expected += QByteArray::fromHex("0000000C") + Field("Velor");
        expected += QByteArray::fromHex("0000000C") + Field("3395");
        expected += QByteArray::fromHex("000028D0") + Bytes(record);
        QCOMPARE(content.size(), 10484);
        QCOMPARE(content, expected);

        // The import reader takes the file back for the same model.
        FlashDataMap read{};
        QCOMPARE(ReadConfigFile(path, &read), 0);
        QCOMPARE(Bytes(read), Bytes(record));
    }

    // The sensor field always ends with a zero byte inside its 12 bytes.
    void sensorFieldKeepsItsEnd_data()
    {
        QTest::addColumn<int>("model");
        QTest::addColumn<QByteArray>("field");
        QTest::newRow("4-byte name") << 0 << Field("3395");
        QTest::newRow("12-byte name") << 1 << Field("PAW3395ABCD");
        QTest::newRow("19-byte name") << 2 << Field("PAW3950-LON");
    }
    void sensorFieldKeepsItsEnd()
    {
        QFETCH(int, model);
        QFETCH(QByteArray, field);
        SelectModel(model);
        const QString path = exports.filePath(QStringLiteral("sensor.bin"));
        QVERIFY(Buttoninterface::WriteConfigFile(path, PatternRecord()));
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray content = file.readAll();
        QCOMPARE(content.size(), 10484);
        QCOMPARE(content.mid(16, 4), QByteArray::fromHex("0000000C"));
        QCOMPARE(content.mid(20, 12), field);
        QCOMPARE(content.at(31), '\0');
        QCOMPARE(content.mid(32, 4), QByteArray::fromHex("000028D0"));
        QCOMPARE(content.mid(36), Bytes(PatternRecord()));
    }

    // An export that cannot be written leaves nothing behind and says so.
    void exportThatCannotBeWritten()
    {
        const QString path = exports.filePath(QStringLiteral("missing-folder/b.bin"));
        QVERIFY(!Buttoninterface::WriteConfigFile(path, PatternRecord()));
        QVERIFY(!QFile::exists(path));
        QVERIFY(QDir(exports.path()).entryList(QDir::Files | QDir::Hidden).filter(QStringLiteral("b.bin")).isEmpty());
    }

    // The import lists ".bin" files only: a name chosen without an ending gets that one.
    void exportFilePath_data()
    {
        QTest::addColumn<QString>("chosen");
        QTest::addColumn<QString>("written");
        QTest::newRow("no ending") << "/home/u/profile1" << "/home/u/profile1.bin";
        QTest::newRow("ending") << "/home/u/profile1.bin" << "/home/u/profile1.bin";
        QTest::newRow("upper-case ending") << "/home/u/profile1.BIN" << "/home/u/profile1.BIN";
        QTest::newRow("other ending") << "/home/u/profile1.txt" << "/home/u/profile1.txt";
        QTest::newRow("a dot in the folder only") << "/home/u/v1.2/profile1" << "/home/u/v1.2/profile1.bin";
        QTest::newRow("ends with a dot") << "/home/u/profile1." << "/home/u/profile1.bin";
    }
    void exportFilePath()
    {
        QFETCH(QString, chosen);
        QFETCH(QString, written);
        QCOMPARE(Buttoninterface::ExportFilePath(chosen), written);
    }

    // Through the page's export button: the name typed in the save dialog comes back with the ending,
    // so that the import dialog lists the file just saved.
    void exportButtonAddsTheEnding()
    {
        Buttoninterface page;
        const QString typed = exports.filePath(QStringLiteral("profile1"));
        bool answered = false;
        QVERIFY(ExportAs(page, typed, &answered));
        QVERIFY(answered);
        QVERIFY(!QFile::exists(typed));
        QFile file(typed + QStringLiteral(".bin"));
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.size(), qint64(10484));
    }

    // A full disk: the export button's file is not left cut short, and the user is told which file
    // was not written.
    void exportButtonTellsWhenTheFileIsNotWritten()
    {
        // The texts of the laid-out program folder beside this test's own model list.
        const QString shipped = QString::fromLocal8Bit(qgetenv("KESTRO_PROGRAM_DIR")) + QStringLiteral("/Language");
        QDir().mkpath(programFolder.path() + QStringLiteral("/Language"));
        for (const QString& name : QDir(shipped).entryList(QDir::Files))
            QFile::copy(shipped + QLatin1Char('/') + name, programFolder.path() + QStringLiteral("/Language/") + name);
        UiTextTables::Instance()->LoadUiTextTables();
        Buttoninterface page;
        const QString typed = exports.filePath(QStringLiteral("full.bin"));
        bool answered = false;
        {
            FileSizeLimit fullDisk(64);
            QVERIFY(fullDisk.Active());
            QVERIFY(ExportAs(page, typed, &answered));
        }
        QVERIFY(answered);
        QVERIFY(!QFile::exists(typed));
        QVERIFY(QDir(exports.path()).entryList(QDir::Files | QDir::Hidden).filter(QStringLiteral("full")).isEmpty());
        FileNotices* notice = nullptr;
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            if (auto* shown = qobject_cast<FileNotices*>(widget); shown && shown->isVisible())
                notice = shown;
        }
        QVERIFY(notice);
        QCOMPARE(notice->Text(), FileNotices::ExportNotWrittenText(0, typed));
        QVERIFY(notice->Text().contains(QDir::toNativeSeparators(typed)));
        delete notice;
    }

    void macroFileToBlock()
    {
        WriteMacro(QStringLiteral("Macro1"), "1\n0x04 1 0\n10ms\n0x04 1 1\n");
        bool ok = false;
        const ButtonMacroBlock block = Buttoninterface::MacroFileToRecord(QStringLiteral("Macro1"), &ok);
        QVERIFY(ok);
        QCOMPARE(int(block.nameLength), 6);
        QCOMPARE(QByteArray(reinterpret_cast<const char*>(block.name), 30), Field("Macro1") + QByteArray(18, '\0'));
        QCOMPARE(int(block.eventCount), 2);
        const MacroEvent& press = block.events[0];
        const MacroEvent& release = block.events[1];
        QCOMPARE(QList<int>({press.action, press.kind, press.usage, int(press.delay)}), QList<int>({0, 1, 4, 10}));
        QCOMPARE(QList<int>({release.action, release.kind, release.usage, int(release.delay)}), QList<int>({1, 1, 4, 0}));
    }

    void macroKeysAndLines_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<int>("count");
        QTest::addColumn<QList<int>>("event0"); // action, kind, usage, delay
        QTest::addColumn<QStringList>("mouseNames");
        QTest::newRow("modifier") << QByteArray("1\n0x20 0 0\n5ms\n") << 2 << QList<int>{0, 0, 0x20, 5} << QStringList();
        QTest::newRow("mouse button") << QByteArray("1\n0x10 4 1\n7ms\n") << 2 << QList<int>{1, 4, 0x10, 7} << MouseNames;
        // Before the macro page has named the mouse buttons, a mouse-button line names no key.
        QTest::newRow("mouse button before its names are set") << QByteArray("1\n0x10 4 1\n7ms\n") << 2
                                                               << QList<int>{1, 1, 0, 7} << QStringList();
        QTest::newRow("key without a name") << QByteArray("1\n0x32 1 0\n") << 1 << QList<int>{0, 1, 0, 0} << QStringList();
        QTest::newRow("lower-case usage") << QByteArray("1\n0x0a 1 0\n") << 1 << QList<int>{0, 1, 0, 0} << QStringList();
        QTest::newRow("last line without line feed") << QByteArray("1\n0x05 1 1") << 1 << QList<int>{0, 1, 5, 0} << QStringList();
        QTest::newRow("repeat line only") << QByteArray("253\n") << 1 << QList<int>{0, 0, 0, 0} << QStringList();
        QTest::newRow("empty file") << QByteArray() << 1 << QList<int>{0, 0, 0, 0} << QStringList();
        QTest::newRow("delay not a number") << QByteArray("1\n0x06 1 0\nlongms\n") << 2 << QList<int>{0, 1, 6, 0} << QStringList();
    }
    void macroKeysAndLines()
    {
        QFETCH(QByteArray, content);
        QFETCH(int, count);
        QFETCH(QList<int>, event0);
        QFETCH(QStringList, mouseNames);
        for (int i = 0; i < 5; ++i)
            KeyNames::MouseButtonNames[size_t(i)] = mouseNames.value(i);
        WriteMacro(QStringLiteral("Keys"), content);
        bool ok = false;
        const ButtonMacroBlock block = Buttoninterface::MacroFileToRecord(QStringLiteral("Keys"), &ok);
        QVERIFY(ok);
        QCOMPARE(int(block.eventCount), count);
        const MacroEvent& event = block.events[0];
        QCOMPARE(QList<int>({event.action, event.kind, event.usage, int(event.delay)}), event0);
    }

    // A block holds 30 name bytes and 70 events: longer names and longer files are cut, and the
    // counts say what the block holds.
    void macroLimits()
    {
        const QString name = QStringLiteral("A").repeated(40);
        QByteArray content("1\n");
        for (int i = 0; i < 100; ++i)
            content += QByteArray("0x") + QByteArray::number(4 + i % 20, 16).toUpper().rightJustified(2, '0')
                + " 1 " + QByteArray::number(i % 2) + "\n" + QByteArray::number(i + 1) + "ms\n";
        WriteMacro(name, content);
        bool ok = false;
        const ButtonMacroBlock block = Buttoninterface::MacroFileToRecord(name, &ok);
        QVERIFY(ok);
        QCOMPARE(int(block.nameLength), 30);
        QCOMPARE(QByteArray(reinterpret_cast<const char*>(block.name), 30), QByteArray(30, 'A'));
        QCOMPARE(int(block.eventCount), 70);
        const MacroEvent& last = block.events[69];
        QCOMPARE(QList<int>({last.action, last.kind, last.usage, int(last.delay)}), QList<int>({1, 1, 4 + 69 % 20, 70}));

        // 70 closed events and a final key line: the block still ends at 70.
        QByteArray seventy("1\n");
        for (int i = 0; i < 70; ++i)
            seventy += "0x04 1 0\n1ms\n";
        seventy += "0x05 1 1\n";
        WriteMacro(QStringLiteral("Seventy"), seventy);
        const ButtonMacroBlock full = Buttoninterface::MacroFileToRecord(QStringLiteral("Seventy"), &ok);
        QCOMPARE(int(full.eventCount), 70);
        QCOMPARE(int(full.events[69].usage), 4);
    }

    void macroNameInTheLocalEncoding()
    {
        // Cut on whole characters: no half character at the end of the 30 bytes.
        const QString name = QString::fromUtf8("宏").repeated(12);
        WriteMacro(name, "1\n");
        bool ok = false;
        const ButtonMacroBlock block = Buttoninterface::MacroFileToRecord(name, &ok);
        QVERIFY(ok);
        const QByteArray local = name.toLocal8Bit();
        QVERIFY(block.nameLength <= 30);
        QCOMPARE(QByteArray(reinterpret_cast<const char*>(block.name), block.nameLength), local.left(block.nameLength));
        QCOMPARE(QString::fromLocal8Bit(reinterpret_cast<const char*>(block.name), block.nameLength),
                 name.left(QString::fromLocal8Bit(reinterpret_cast<const char*>(block.name), block.nameLength).size()));
    }

    void macroRefused_data()
    {
        QTest::addColumn<bool>("writesAllowed");
        QTest::addColumn<QString>("name");
        QTest::newRow("writes not allowed") << false << "Exists";
        QTest::newRow("no such macro") << true << "Missing";
    }
    void macroRefused()
    {
        QFETCH(bool, writesAllowed);
        QFETCH(QString, name);
        WriteMacro(QStringLiteral("Exists"), "1\n0x04 1 0\n10ms\n");
        UserWritesEnabled = writesAllowed;
        bool ok = true;
        const ButtonMacroBlock block = Buttoninterface::MacroFileToRecord(name, &ok);
        QVERIFY(!ok);
        const ButtonMacroBlock zero{};
        QCOMPARE(std::memcmp(&block, &zero, sizeof block), 0);
    }
    // Whole blocks, byte for byte after the name.
    void macroBlockBytes_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QStringList>("mouseNames");
        QTest::addColumn<QByteArray>("events");
        const QByteArray pressA = Ev(0, 1, 0x04, 10);
        const QByteArray releaseA = Ev(1, 1, 0x04, 0);
        QTest::newRow("press, delay, release") << QByteArray("1\n0x04 1 0\n10ms\n0x04 1 1\n") << MouseNames
                                               << Events({pressA, releaseA});
        QTest::newRow("a final delay counts an all-zero event")
            << QByteArray("1\n0x04 1 0\n10ms\n0x04 1 1\n20ms\n") << MouseNames
            << Events({pressA, Ev(1, 1, 0x04, 20), Ev(0, 0, 0, 0)});
        QTest::newRow("last key line without line feed is a press")
            << QByteArray("1\n0x04 1 0\n10ms\n0x04 1 1") << MouseNames << Events({pressA, Ev(0, 1, 0x04, 0)});
        QTest::newRow("repeat line only") << QByteArray("1\n") << MouseNames << Events({Ev(0, 0, 0, 0)});
        QTest::newRow("empty file") << QByteArray() << MouseNames << Events({Ev(0, 0, 0, 0)});
        // A release followed at once by the next press keeps both: no key is left held.
        QTest::newRow("two key lines in a row")
            << QByteArray("1\n0x04 1 0\n10ms\n0x04 1 1\n0x05 1 0\n20ms\n0x05 1 1\n") << MouseNames
            << Events({pressA, releaseA, Ev(0, 1, 0x05, 20), Ev(1, 1, 0x05, 0)});
        QTest::newRow("key lines only") << QByteArray("1\n0x04 1 0\n0x04 1 1\n") << MouseNames
                                        << Events({Ev(0, 1, 0x04, 0), releaseA});
        QTest::newRow("delays in a row") << QByteArray("1\n0x04 1 0\n10ms\n20ms\n0x04 1 1\n") << MouseNames
                                         << Events({pressA, Ev(0, 0, 0, 20), releaseA});
        QTest::newRow("leading delay") << QByteArray("1\n5ms\n0x04 1 0\n") << MouseNames
                                       << Events({Ev(0, 0, 0, 5), Ev(0, 1, 0x04, 0)});
        QTest::newRow("mouse button with its names set") << QByteArray("1\n0x02 4 0\n3ms\n0x02 4 1\n") << MouseNames
                                                         << Events({Ev(0, 4, 0x02, 3), Ev(1, 4, 0x02, 0)});
        QTest::newRow("mouse button before its names are set")
            << QByteArray("1\n0x02 4 0\n3ms\n0x02 4 1\n") << QStringList() << Events({Ev(0, 1, 0, 3), Ev(1, 1, 0, 0)});
        // The macro editor names no key 0x58 (it records Enter as 0x28), so the button gets what the
        // macro page shows for such a line: the empty key.
        QTest::newRow("keypad Enter has no macro name") << QByteArray("1\n0x58 1 0\n") << MouseNames
                                                        << Events({Ev(0, 1, 0, 0)});
        QTest::newRow("Enter") << QByteArray("1\n0x28 1 0\n") << MouseNames << Events({Ev(0, 1, 0x28, 0)});
        QTest::newRow("right Alt") << QByteArray("1\n0x40 0 0\n") << MouseNames << Events({Ev(0, 0, 0x40, 0)});
        QTest::newRow("F7") << QByteArray("1\n0x40 1 0\n") << MouseNames << Events({Ev(0, 1, 0x40, 0)});
        QTest::newRow("carriage returns") << QByteArray("1\r\n0x04 1 0\r\n10ms\r\n0x04 1 1\r\n") << MouseNames
                                          << Events({pressA, releaseA});
        QTest::newRow("other lines are ignored") << QByteArray("1\n0x04 1 0\nnot a line at all\n10ms\n") << MouseNames
                                                 << Events({pressA, Ev(0, 0, 0, 0)});
        // A NUL byte is one more character of its line: the line keeps its end and its fields, and a
        // field it damages reads as any other damaged field does.
        QTest::newRow("NUL inside a line") << QByteArray("1\n0x04 1 0\n10ms\n0x05 1 0") + '\0' + " 1\n0x04 1 1\n"
                                           << MouseNames << Events({pressA, releaseA});
        QTest::newRow("NUL in the key type") << QByteArray("1\n0x04 1 0\n10ms\n0x04 ") + '\0' + " 1\n" << MouseNames
                                             << Events({pressA, Ev(1, 0, 0x04, 0)});
        QTest::newRow("NUL in a delay") << QByteArray("1\n0x04 1 0\n1") + '\0' + "ms\n0x04 1 1\n" << MouseNames
                                        << Events({Ev(0, 1, 0x04, 0), releaseA});
    }
    void macroBlockBytes()
    {
        QFETCH(QByteArray, content);
        QFETCH(QStringList, mouseNames);
        QFETCH(QByteArray, events);
        for (int i = 0; i < 5; ++i)
            KeyNames::MouseButtonNames[size_t(i)] = mouseNames.value(i);
        WriteMacro(QStringLiteral("Bytes"), content);
        bool ok = false;
        const ButtonMacroBlock block = Buttoninterface::MacroFileToRecord(QStringLiteral("Bytes"), &ok);
        QVERIFY(ok);
        QCOMPARE(int(block.nameLength), 5);
        QCOMPARE(QByteArray(reinterpret_cast<const char*>(block.name), 30), QByteArray("Bytes") + QByteArray(25, '\0'));
        QCOMPARE(EventBytes(block), events);
    }

    // 71 keys: the block takes 70 and nothing is written past it.
    void seventyOneKeys_data()
    {
        QTest::addColumn<bool>("delays");
        QTest::newRow("each key followed by a delay") << true;
        QTest::newRow("key lines only") << false;
    }
    void seventyOneKeys()
    {
        QFETCH(bool, delays);
        QByteArray content("1\n");
        QList<QByteArray> expected;
        for (int i = 0; i < 71; ++i) {
            const int usage = 0x04 + i % 26;
            content += "0x" + QByteArray::number(usage, 16).toUpper().rightJustified(2, '0') + " 1 0\n";
            if (delays)
                content += QByteArray::number(i + 1) + "ms\n";
            if (i < 70)
                expected << Ev(0, 1, usage, delays ? i + 1 : 0);
        }
        WriteMacro(QStringLiteral("Long"), content);
        bool ok = false;
        const ButtonMacroBlock block = Buttoninterface::MacroFileToRecord(QStringLiteral("Long"), &ok);
        QVERIFY(ok);
        QCOMPARE(EventBytes(block), Events(expected));
    }

    void repeatMode_data()
    {
        QTest::addColumn<QByteArray>("content"); // "missing" writes no file
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("number");
        QTest::addColumn<int>("deviceByte");
        QTest::newRow("count") << QByteArray("5\n0x04 1 0\n") << "5" << 5 << 5;
        QTest::newRow("253") << QByteArray("253\n") << "253" << 253 << 253;
        QTest::newRow("300 reaches the mouse as 44") << QByteArray("300\n") << "300" << 300 << 44;
        QTest::newRow("not a number") << QByteArray("x\n") << "x" << 0 << 0;
        QTest::newRow("first field of the line") << QByteArray("  7 more\n") << "7" << 7 << 7;
        QTest::newRow("without line end") << QByteArray("254") << "254" << 254 << 254;
        QTest::newRow("empty first line") << QByteArray("\n0x04 1 0\n") << "0" << 0 << 0;
        QTest::newRow("empty file") << QByteArray() << "0" << 0 << 0;
        QTest::newRow("missing file") << QByteArray("missing") << "0" << 0 << 0;
    }
    void repeatMode()
    {
        QFETCH(QByteArray, content);
        QFETCH(QString, text);
        QFETCH(int, number);
        QFETCH(int, deviceByte);
        QFile::remove(MacroFolder() + QStringLiteral("Repeat.ini"));
        if (content != "missing")
            WriteMacro(QStringLiteral("Repeat"), content);
        const QString mode = Buttoninterface::ReadMacroRepeatMode(QStringLiteral("Repeat"));
        QCOMPARE(mode, text);
        QCOMPARE(MacroBlocks::RepeatModeNumber(mode), number);
        QCOMPARE(int(MacroBlocks::RepeatModeByte(mode)), deviceByte);
    }

    // A name reaches the block as at most 30 bytes in the local 8-bit encoding (UTF-8 here), cut on
    // a character, and comes back from the block as the same text.
    void macroNameBytes_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("plain") << "Macro 1" << QByteArray("Macro 1");
        QTest::newRow("NULs removed") << QString::fromUtf8("a\0b", 3) << QByteArray("ab");
        QTest::newRow("30 bytes kept") << QString(30, 'x') << QByteArray(30, 'x');
        QTest::newRow("40 bytes cut to 30") << QString(40, 'x') << QByteArray(30, 'x');
        QTest::newRow("three-byte characters cut whole") << QString::fromUtf8("宏").repeated(12)
                                                         << QString::fromUtf8("宏").repeated(10).toUtf8();
        QTest::newRow("four-byte characters cut whole") << QString::fromUtf8("😀").repeated(8)
                                                        << QString::fromUtf8("😀").repeated(7).toUtf8();
        QTest::newRow("empty") << "" << QByteArray();
    }
    void macroNameBytes()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, bytes);
        QCOMPARE(MacroBlocks::MacroNameBytes(name), bytes);
        ButtonMacroBlock block{};
        std::memcpy(block.name, bytes.constData(), size_t(bytes.size()));
        block.nameLength = uint8_t(bytes.size());
        QCOMPARE(MacroBlocks::MacroNameOfBlock(block), QString::fromUtf8(bytes));
    }

    void macroNameOfBlock_data()
    {
        QTest::addColumn<int>("length");
        QTest::addColumn<QByteArray>("name"); // the 30 name bytes
        QTest::addColumn<QString>("text");
        QTest::newRow("length byte decides") << 3 << QByteArray("abcdef") << "abc";
        QTest::newRow("a zero ends the name") << 6 << QByteArray("ab\0def", 6) << "ab";
        QTest::newRow("length beyond 30 reads 30") << 200 << QByteArray(30, 'y') << QString(30, 'y');
        QTest::newRow("length 0") << 0 << QByteArray("abc") << "";
    }
    void macroNameOfBlock()
    {
        QFETCH(int, length);
        QFETCH(QByteArray, name);
        QFETCH(QString, text);
        ButtonMacroBlock block{};
        std::memset(&block.eventCount, 0x7A, sizeof block - 31); // bytes after the name are no name
        std::memcpy(block.name, name.constData(), size_t(qMin(name.size(), 30)));
        block.nameLength = uint8_t(length);
        QCOMPARE(MacroBlocks::MacroNameOfBlock(block), text);
    }

    // A name that would leave the macro folder, or is no file name, opens nothing.
    void hostileMacroNames_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("empty") << "";
        QTest::newRow("dot") << ".";
        QTest::newRow("dot dot") << "..";
        QTest::newRow("parent folder") << "../Outside";
        QTest::newRow("slash") << "a/b";
        QTest::newRow("backslash") << "..\\Outside";
        QTest::newRow("absolute path") << "/tmp/Outside";
        QTest::newRow("tab") << "Out\tside";
        QTest::newRow("line feed") << "Out\nside";
        QTest::newRow("NUL") << QString::fromUtf8("Out\0side", 8);
        QTest::newRow("delete character") << QString::fromUtf8("Out\x7fside");
        QTest::newRow("a folder, not a file") << "Folder";
    }
    void hostileMacroNames()
    {
        QFETCH(QString, name);
        // Files a careless path would find.
        QFile outside(MacroFolder() + QStringLiteral("../Outside.ini"));
        QVERIFY(outside.open(QIODevice::WriteOnly | QIODevice::Truncate));
        outside.write("9\n0x04 1 0\n10ms\n");
        outside.close();
        QDir().mkpath(MacroFolder() + QStringLiteral("Folder.ini"));

        bool ok = true;
        const ButtonMacroBlock block = Buttoninterface::MacroFileToRecord(name, &ok);
        QVERIFY(!ok);
        const ButtonMacroBlock zero{};
        QCOMPARE(std::memcmp(&block, &zero, sizeof block), 0);
        QCOMPARE(Buttoninterface::ReadMacroRepeatMode(name), QStringLiteral("0"));
        QVERIFY(MacroBlocks::MacroFilePath(name).isEmpty() || name == QLatin1String("Folder"));
    }

    void goodMacroNames_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("spaces") << "My macro 2";
        QTest::newRow("dots inside") << "a..b";
        QTest::newRow("leading dot") << ".hidden";
        QTest::newRow("other script") << QString::fromUtf8("宏一");
    }
    void goodMacroNames()
    {
        QFETCH(QString, name);
        QVERIFY(MacroBlocks::IsSafeMacroName(name));
        WriteMacro(name, "12\n0x04 1 0\n");
        bool ok = false;
        MacroBlocks::MacroFileToRecord(name, &ok);
        QVERIFY(ok);
        QCOMPARE(MacroBlocks::ReadMacroRepeatMode(name), QStringLiteral("12"));
    }
};


QTEST_MAIN(TestButtonFiles)
#include "tst_buttonfiles.moc"
