#include "app/ReadConfigFile.h"
#include "device/DeviceDiscovery.h"
#include "device/DeviceState.h"
#include "pages/buttons/Buttoninterface.h"
#include "support/FittingRecord.h"
#include "support/TestHome.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
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

private slots:
    void initTestCase()
    {
        home.MakeUserFolders();
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
        QTest::newRow("modifier") << QByteArray("1\n0x20 0 0\n5ms\n") << 2 << QList<int>{0, 0, 0x20, 5};
        QTest::newRow("mouse button") << QByteArray("1\n0x10 4 1\n7ms\n") << 2 << QList<int>{1, 4, 0x10, 7};
        QTest::newRow("key without a name") << QByteArray("1\n0x32 1 0\n") << 1 << QList<int>{0, 1, 0, 0};
        QTest::newRow("lower-case usage") << QByteArray("1\n0x0a 1 0\n") << 1 << QList<int>{0, 1, 0, 0};
        QTest::newRow("last line without line feed") << QByteArray("1\n0x05 1 1") << 1 << QList<int>{0, 1, 5, 0};
        QTest::newRow("repeat line only") << QByteArray("253\n") << 1 << QList<int>{0, 0, 0, 0};
        QTest::newRow("empty file") << QByteArray() << 1 << QList<int>{0, 0, 0, 0};
        QTest::newRow("delay not a number") << QByteArray("1\n0x06 1 0\nlongms\n") << 2 << QList<int>{0, 1, 6, 0};
    }
    void macroKeysAndLines()
    {
        QFETCH(QByteArray, content);
        QFETCH(int, count);
        QFETCH(QList<int>, event0);
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
};

QTEST_MAIN(TestButtonFiles)
#include "tst_buttonfiles.moc"
