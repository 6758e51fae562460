#include "device/KeyRecords.h"

#include <QtTest>

#include <cstring>

using namespace KeyRecords;

namespace {

QByteArray Bytes(const ButtonKeyRecord& record)
{
    return QByteArray(reinterpret_cast<const char*>(&record), sizeof record);
}

// One 8-byte event as the device holds it: action, kind, usage (little-endian), delay 10 ms.
QByteArray Event(int action, int kind, int usage)
{
    QByteArray event(8, '\0');
    event[0] = char(action);
    event[1] = char(kind);
    event[2] = char(usage & 0xFF);
    event[3] = char(usage >> 8);
    event[4] = 10;
    return event;
}

// A whole 52-byte record: the count, three reserved zeros, the events, zeros up to the end.
QByteArray Record(const QList<QByteArray>& events)
{
    QByteArray record(4, '\0');
    record[0] = char(events.size());
    for (const QByteArray& event : events)
        record += event;
    return record + QByteArray(52 - record.size(), '\0');
}

// A key's press and release in an n-key combination.
QList<QByteArray> Combo(const QList<QPair<int, int>>& keys) // (kind, usage) in string order
{
    QList<QByteArray> events;
    for (const auto& key : keys)
        events << Event(0, key.first, key.second);
    for (int i = keys.size() - 1; i >= 0; --i)
        events << Event(1, keys.at(i).first, keys.at(i).second);
    return events;
}

// A record with every byte set, to show what a refusal leaves.
ButtonKeyRecord Filled()
{
    ButtonKeyRecord record;
    std::memset(&record, 0xA5, sizeof record);
    return record;
}

} // namespace

// Key-combination strings and multimedia codes as the 52 bytes a button's key record holds.
class TestKeyRecords : public QObject
{
    Q_OBJECT

private slots:
    void keyStringToRecord_data()
    {
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QByteArray>("record");
        QTest::newRow("one key") << "A" << Record(Combo({{1, 0x04}}));
        QTest::newRow("modifier and key") << "Ctrl+A" << Record(Combo({{0, 0x01}, {1, 0x04}}));
        QTest::newRow("three keys: presses in order, releases reversed")
            << "Ctrl+Shift+Esc" << Record(Combo({{0, 0x01}, {0, 0x02}, {1, 0x29}}));
        QTest::newRow("empty string is one key of usage 0") << "" << Record(Combo({{1, 0}}));
        QTest::newRow("++ gives three empty keys") << "++" << Record(Combo({{1, 0}, {1, 0}, {1, 0}}));
        QTest::newRow("two + in a row: an empty key between") << "Alt++B" << Record(Combo({{0, 0x04}, {1, 0}, {1, 0x05}}));
        QTest::newRow("unknown name: kind 1, usage 0") << "Ctrl+Foo" << Record(Combo({{0, 0x01}, {1, 0}}));
        QTest::newRow("LCtrl is no combination name") << "LCtrl+A" << Record(Combo({{1, 0}, {1, 0x04}}));
        QTest::newRow("same name twice") << "A+A" << Record(Combo({{1, 0x04}, {1, 0x04}}));
        QTest::newRow("Ctrl+Num+ is Ctrl and keypad plus") << "Ctrl+Num+" << Record(Combo({{0, 0x01}, {1, 0x57}}));
        QTest::newRow("Num+ alone") << "Num+" << Record(Combo({{1, 0x57}}));
        QTest::newRow("keypad plus first") << "Num++Alt" << Record(Combo({{1, 0x57}, {0, 0x04}}));
        QTest::newRow("three keys ending in keypad plus")
            << "Ctrl+Alt+Num+" << Record(Combo({{0, 0x01}, {0, 0x04}, {1, 0x57}}));
        QTest::newRow("Enter is never keypad Enter") << "Enter" << Record(Combo({{1, 0x28}}));
        QTest::newRow("right-hand modifiers have no combination name") << "Win+F7" << Record(Combo({{0, 0x08}, {1, 0x40}}));
    }
    void keyStringToRecord()
    {
        QFETCH(QString, keys);
        QFETCH(QByteArray, record);
        ButtonKeyRecord built = Filled();
        QVERIFY(KeyStringToRecord(keys, built));
        QCOMPARE(Bytes(built), record);
    }

    // A record has room for three keys: a longer string is refused and nothing is built.
    void moreThanThreeKeysRefused_data()
    {
        QTest::addColumn<QString>("keys");
        QTest::newRow("four keys") << "Ctrl+Shift+Alt+A";
        QTest::newRow("five keys") << "A+B+C+D+E";
        QTest::newRow("three + give four empty keys") << "+++";
        QTest::newRow("three keys and keypad plus") << "Ctrl+Shift+Alt+Num+";
    }
    void moreThanThreeKeysRefused()
    {
        QFETCH(QString, keys);
        ButtonKeyRecord record = Filled();
        QVERIFY(!KeyStringToRecord(keys, record));
        QCOMPARE(Bytes(record), Bytes(Filled()));
    }

    void comboNameToEventsLeavesTheRest()
    {
        ButtonKeyRecord record = Filled();
        const ButtonKeyRecord start = record;
        record = ComboNameToEvents(record, QStringLiteral("Foo"), 1, 3);
        QByteArray expected = Bytes(start);
        // Press at event 1 and release at event 4: action, kind and delay set, usage kept.
        expected.replace(4 + 8, 8, Event(0, 1, 0xA5A5).left(4) + QByteArray::fromHex("0A000000"));
        expected.replace(4 + 32, 8, Event(1, 1, 0xA5A5).left(4) + QByteArray::fromHex("0A000000"));
        QCOMPARE(Bytes(record), expected);
        // A position the record has no room for changes nothing.
        QCOMPARE(Bytes(ComboNameToEvents(start, QStringLiteral("A"), 3, 4)), Bytes(start));
        QCOMPARE(Bytes(ComboNameToEvents(start, QStringLiteral("A"), 2, 2)), Bytes(start));
    }

    void multimediaRecord_data()
    {
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("option");
        QTest::addColumn<QByteArray>("record");
        QTest::newRow("0x83 media player, usage 0x183") << 0x83 << "Player"
                                                        << Record({Event(0, 2, 0x183), Event(1, 2, 0x183)});
        QTest::newRow("0xCD play/pause") << 0xCD << "StartPause_2" << Record({Event(0, 2, 0xCD), Event(1, 2, 0xCD)});
        QTest::newRow("0x2A browser favorites") << 0x2A << "VolumeDown_11"
                                                << Record({Event(0, 2, 0x22A), Event(1, 2, 0x22A)});
        QTest::newRow("0x94 my computer") << 0x94 << "VolumeDown_3" << Record({Event(0, 2, 0x194), Event(1, 2, 0x194)});
    }
    void multimediaRecord()
    {
        QFETCH(int, code);
        QFETCH(QString, option);
        QFETCH(QByteArray, record);
        ButtonKeyRecord built = Filled();
        QVERIFY(MultimediaKeyRecord(code, built));
        QCOMPARE(Bytes(built), record);
        QCOMPARE(QString::fromLatin1(FindMultimediaKey(code)->option), option);
        const MultimediaKey* key = FindMultimediaKey(code);
        QCOMPARE(Bytes(ConsumerKeyRecord(uint8_t(key->usage >> 8), uint8_t(key->usage))), record);
    }

    void multimediaCodeRefused_data()
    {
        QTest::addColumn<int>("code");
        QTest::newRow("code with its high byte") << 0x183;
        QTest::newRow("code not in the table") << 0x84;
        QTest::newRow("zero") << 0;
        QTest::newRow("negative") << -1;
    }
    void multimediaCodeRefused()
    {
        QFETCH(int, code);
        ButtonKeyRecord record = Filled();
        QVERIFY(!MultimediaKeyRecord(code, record));
        QVERIFY(!FindMultimediaKey(code));
        QCOMPARE(Bytes(record), Bytes(Filled()));
    }

    void multimediaTableIsWhole()
    {
        QSet<int> codes;
        QSet<QString> options;
        for (const MultimediaKey& key : MultimediaKeys()) {
            codes.insert(key.code);
            options.insert(QString::fromLatin1(key.option));
            QCOMPARE(int(key.usage & 0xFF), int(key.code));
        }
        QCOMPARE(codes.size(), 18);
        QCOMPARE(options.size(), 18);
    }
};

QTEST_GUILESS_MAIN(TestKeyRecords)
#include "tst_keyrecords.moc"
