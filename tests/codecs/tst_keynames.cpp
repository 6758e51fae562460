#include "device/KeyNames.h"

#include <QSet>
#include <QtTest>

#include <cstring>

using namespace KeyNames;

namespace {

const QString LeftArrow = QString(QChar(0x2190));
const QString RightArrow = QString(QChar(0x2192));

void SetMouseNames(const QStringList& names)
{
    for (int i = 0; i < 5; ++i)
        MouseButtonNames[size_t(i)] = i < names.size() ? names.at(i) : QString();
}

// The eight bytes of event k of a block, as they lie on the device.
QByteArray EventBytes(const ButtonMacroBlock& block, int k)
{
    return QByteArray(reinterpret_cast<const char*>(&block) + 0x20 + 8 * k, 8);
}

} // namespace

Q_DECLARE_METATYPE(KeyNames::Key)

// The one keyboard table and the conversions of the button page and of the macro editor over it.
class TestKeyNames : public QObject
{
    Q_OBJECT

private slots:
    void init() { SetMouseNames({}); }
    void cleanupTestCase() { SetMouseNames({}); }

    void tableHoldsEveryKeyOnce()
    {
        const auto& table = KeyboardTable();
        QSet<QString> names;
        QSet<int> pairs;
        QSet<int> virtualKeys;
        int modifiers = 0;
        for (const KeyEntry& entry : table) {
            names.insert(QString::fromUtf8(entry.name));
            pairs.insert(entry.usage * 16 + entry.type);
            virtualKeys.insert(entry.virtualKey);
            if (entry.type == KindModifier)
                ++modifiers;
        }
        QCOMPARE(int(table.size()), 104);
        QCOMPARE(names.size(), 104);
        QCOMPARE(pairs.size(), 104);
        QCOMPARE(virtualKeys.size(), 104);
        QVERIFY(!virtualKeys.contains(0));
        QCOMPARE(modifiers, 8);
        // The macro editor's first part ends with NumLock; F1..F12 follow the mouse buttons.
        QCOMPARE(QString::fromUtf8(table[MacroLookupFirstPart - 1].name), QStringLiteral("NumLock"));
        QCOMPARE(QString::fromUtf8(table[MacroLookupFirstPart].name), QStringLiteral("F1"));
        QCOMPARE(QString::fromUtf8(table[KeyboardKeyCount - 1].name), QStringLiteral("F12"));
    }

    // The button page's names of the keys of a key record.
    void comboUsageToName_data()
    {
        QTest::addColumn<int>("usage");
        QTest::addColumn<QStringList>("names"); // for kinds 0, 1 and 2
        QTest::newRow("0x04 left Alt or A") << 0x04 << QStringList{"Alt", "A", ""};
        QTest::newRow("0x08 left Win or E") << 0x08 << QStringList{"Win", "E", ""};
        QTest::newRow("0x10 right Ctrl or M") << 0x10 << QStringList{"Ctrl", "M", ""};
        QTest::newRow("0x20 right Shift or 3") << 0x20 << QStringList{"Shift", "3", ""};
        QTest::newRow("0x40 right Alt or F7, nothing else") << 0x40 << QStringList{"Alt", "F7", ""};
        QTest::newRow("0x80 right Win whatever the kind") << 0x80 << QStringList{"Win", "Win", "Win"};
        QTest::newRow("0x01 Ctrl whatever the kind") << 0x01 << QStringList{"Ctrl", "Ctrl", "Ctrl"};
        QTest::newRow("0x02 Shift whatever the kind") << 0x02 << QStringList{"Shift", "Shift", "Shift"};
        QTest::newRow("0x58 keypad Enter reads Enter") << 0x58 << QStringList{"Enter", "Enter", "Enter"};
        QTest::newRow("0x00 the empty name") << 0x00 << QStringList{"", "", ""};
        QTest::newRow("0x05 B whatever the kind") << 0x05 << QStringList{"B", "B", "B"};
        QTest::newRow("0x32 has no name") << 0x32 << QStringList{"", "", ""};
        QTest::newRow("0x64 has no name") << 0x64 << QStringList{"", "", ""};
        QTest::newRow("0x66 has no name") << 0x66 << QStringList{"", "", ""};
        QTest::newRow("0x81 above 0x80") << 0x81 << QStringList{"", "", ""};
        QTest::newRow("0xFF above 0x80") << 0xFF << QStringList{"", "", ""};
        QTest::newRow("0x4F right arrow") << 0x4F << QStringList{RightArrow, RightArrow, RightArrow};
    }
    void comboUsageToName()
    {
        QFETCH(int, usage);
        QFETCH(QStringList, names);
        for (int kind = 0; kind < 3; ++kind)
            QCOMPARE(ComboUsageToName(usage, kind), names.at(kind));
    }

    void comboNameToKey_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("known");
        QTest::addColumn<int>("usage");
        QTest::addColumn<int>("kind");
        QTest::newRow("Ctrl the left bit") << "Ctrl" << true << 0x01 << 0;
        QTest::newRow("Shift") << "Shift" << true << 0x02 << 0;
        QTest::newRow("Alt") << "Alt" << true << 0x04 << 0;
        QTest::newRow("Win") << "Win" << true << 0x08 << 0;
        QTest::newRow("A") << "A" << true << 0x04 << 1;
        QTest::newRow("Enter is never keypad Enter") << "Enter" << true << 0x28 << 1;
        QTest::newRow("Num+ holds the separator") << "Num+" << true << 0x57 << 1;
        QTest::newRow("right arrow") << RightArrow << true << 0x4F << 1;
        QTest::newRow("empty name is usage 0") << "" << true << 0x00 << 1;
        QTest::newRow("LCtrl is no combination name") << "LCtrl" << false << 0 << 1;
        QTest::newRow("letter case differs") << "a" << false << 0 << 1;
        QTest::newRow("Num alone") << "Num" << false << 0 << 1;
    }
    void comboNameToKey()
    {
        QFETCH(QString, name);
        QFETCH(bool, known);
        QFETCH(int, usage);
        QFETCH(int, kind);
        const Key key = ComboNameToKey(name);
        QCOMPARE(key.known, known);
        QCOMPARE(int(key.usage), usage);
        QCOMPARE(int(key.kind), kind);
    }

    // Every combination name comes back from its key.
    void comboNamesRoundTrip()
    {
        int count = 0;
        for (const ComboModifier& modifier : ComboModifiers()) {
            const Key key = ComboNameToKey(QString::fromLatin1(modifier.name));
            QCOMPARE(ComboUsageToName(key.usage, key.kind), QString::fromLatin1(modifier.name));
            ++count;
        }
        for (const KeyEntry& entry : KeyboardTable()) {
            if (entry.type != KindKey)
                continue;
            const QString name = QString::fromUtf8(entry.name);
            const Key key = ComboNameToKey(name);
            QVERIFY2(key.known, qPrintable(name));
            QCOMPARE(ComboUsageToName(key.usage, key.kind), name);
            ++count;
        }
        QCOMPARE(count, 100);
    }

    void usageToKeyName_data()
    {
        QTest::addColumn<QString>("usageText");
        QTest::addColumn<int>("type");
        QTest::addColumn<QString>("name");
        QTest::newRow("A") << "0x04" << 1 << "A";
        QTest::newRow("left Alt") << "0x04" << 0 << "LAlt";
        QTest::newRow("middle button") << "0x04" << 4 << "Middle";
        QTest::newRow("consumer type names nothing") << "0x04" << 2 << "";
        QTest::newRow("usage 0 is the empty name") << "0x00" << 1 << "";
        QTest::newRow("keypad Enter has no macro name") << "0x58" << 1 << "";
        QTest::newRow("right Alt") << "0x40" << 0 << "RAlt";
        QTest::newRow("F7") << "0x40" << 1 << "F7";
        QTest::newRow("lower-case digits") << "0x2b" << 1 << "";
        QTest::newRow("upper-case X") << "0X2B" << 1 << "";
        QTest::newRow("no prefix") << "2B" << 1 << "";
        QTest::newRow("blank before") << " 0x2B" << 1 << "";
        QTest::newRow("blank after") << "0x2B " << 1 << "";
        QTest::newRow("Tab") << "0x2B" << 1 << "Tab";
        QTest::newRow("mouse bit not a button") << "0x03" << 4 << "";
    }
    void usageToKeyName()
    {
        QFETCH(QString, usageText);
        QFETCH(int, type);
        QFETCH(QString, name);
        SetMouseNames({"Left", "Right", "Middle", "Back", "Forward"});
        QCOMPARE(UsageToKeyName(usageText, type), name);
    }

    void keyNameToUsage_data()
    {
        QTest::addColumn<QStringList>("mouseNames");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QStringList>("usage");
        const QStringList plain{"Left", "Right", "Middle", "Back", "Forward"};
        QTest::newRow("empty name before the mouse texts are set") << QStringList{} << "" << QStringList{"0x00", "1"};
        QTest::newRow("empty name with the mouse texts set") << plain << "" << QStringList{"0x00", "1"};
        QTest::newRow("lower-case a") << plain << "a" << QStringList{};
        QTest::newRow("lower-case tab") << plain << "tab" << QStringList{};
        QTest::newRow("left arrow") << plain << LeftArrow << QStringList{"0x50", "1"};
        QTest::newRow("Screen") << plain << "Screen" << QStringList{"0x46", "1"};
        QTest::newRow("Ctrl is no macro name") << plain << "Ctrl" << QStringList{};
        QTest::newRow("LCtrl") << plain << "LCtrl" << QStringList{"0x01", "0"};
        QTest::newRow("RWin") << plain << "RWin" << QStringList{"0x80", "0"};
        QTest::newRow("back button") << plain << "Back" << QStringList{"0x08", "4"};
        QTest::newRow("mouse text equal to a key stays the key")
            << QStringList{"A", "Right", "Middle", "Back", "Forward"} << "A" << QStringList{"0x04", "1"};
        QTest::newRow("mouse text equal to F1 wins over F1")
            << QStringList{"F1", "Right", "Middle", "Back", "Forward"} << "F1" << QStringList{"0x01", "4"};
        QTest::newRow("equal mouse texts: the lower bit")
            << QStringList{"Left", "Side", "Middle", "Side", "Forward"} << "Side" << QStringList{"0x02", "4"};
    }
    void keyNameToUsage()
    {
        QFETCH(QStringList, mouseNames);
        QFETCH(QString, name);
        QFETCH(QStringList, usage);
        SetMouseNames(mouseNames);
        QCOMPARE(KeyNameToUsage(name), usage);
    }

    // Every macro key name comes back from its usage text and from its device code.
    void macroNamesRoundTrip()
    {
        SetMouseNames({"Left", "Right", "Middle", "Back", "Forward"});
        for (const KeyEntry& entry : KeyboardTable()) {
            const QString name = QString::fromUtf8(entry.name);
            const QStringList usage = KeyNameToUsage(name);
            QCOMPARE(usage.size(), 2);
            QCOMPARE(UsageToKeyName(usage.at(0), usage.at(1).toInt()), name);
            QCOMPARE(KeyCodeToKeyName(entry.usage, entry.type), name);
        }
        for (int i = 0; i < 5; ++i) {
            const QStringList usage = KeyNameToUsage(MouseButtonNames[size_t(i)]);
            QCOMPARE(usage, QStringList({UsageText(MouseButtonBits[i]), "4"}));
            QCOMPARE(UsageToKeyName(usage.at(0), 4), MouseButtonNames[size_t(i)]);
        }
    }

    void keyCodeToKeyName_data()
    {
        QTest::addColumn<int>("code");
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("name");
        QTest::newRow("0x04 kind 1") << 0x04 << 1 << "A";
        QTest::newRow("0x04 kind 0") << 0x04 << 0 << "LAlt";
        QTest::newRow("0x08 kind 0") << 0x08 << 0 << "LWin";
        QTest::newRow("0x10 kind 0") << 0x10 << 0 << "RCtrl";
        QTest::newRow("0x20 kind 0") << 0x20 << 0 << "RShift";
        QTest::newRow("0x20 kind 4 names nothing") << 0x20 << 4 << "";
        QTest::newRow("0x40 kind 0") << 0x40 << 0 << "RAlt";
        QTest::newRow("0x40 kind 4 is F7") << 0x40 << 4 << "F7";
        QTest::newRow("0x40 kind 2 is F7") << 0x40 << 2 << "F7";
        QTest::newRow("0x02 kind 1 is LShift") << 0x02 << 1 << "LShift";
        QTest::newRow("0x80 kind 1 is RWin") << 0x80 << 1 << "RWin";
        QTest::newRow("keypad Enter") << 0x58 << 1 << "Enter";
        QTest::newRow("0x05 kind 0 is still B") << 0x05 << 0 << "B";
        QTest::newRow("0x00 the empty name") << 0x00 << 1 << "";
        QTest::newRow("0x32 no name") << 0x32 << 1 << "";
        QTest::newRow("0x183 no name") << 0x183 << 1 << "";
    }
    void keyCodeToKeyName()
    {
        QFETCH(int, code);
        QFETCH(int, kind);
        QFETCH(QString, name);
        QCOMPARE(KeyCodeToKeyName(code, kind), name);
    }

    // Event 3 of a block, byte for byte, after each order's lookup. The event starts with usage
    // 0x77 and a delay, so that what a lookup leaves alone shows.
    void macroEventInEachOrder_data()
    {
        QTest::addColumn<QStringList>("mouseNames");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("buttonPage");
        QTest::addColumn<QByteArray>("macroEditor");
        const QStringList plain{"Left", "Right", "Middle", "Back", "Forward"};
        QTest::newRow("LWin") << plain << "LWin" << QByteArray::fromHex("0100080009000000")
                              << QByteArray::fromHex("0100080009000000");
        QTest::newRow("A") << plain << "A" << QByteArray::fromHex("0101040009000000")
                           << QByteArray::fromHex("0101040009000000");
        QTest::newRow("forward button") << plain << "Forward" << QByteArray::fromHex("0104100009000000")
                                        << QByteArray::fromHex("0104100009000000");
        QTest::newRow("Ctrl is no macro name: kind 1, usage kept")
            << plain << "Ctrl" << QByteArray::fromHex("0101770009000000") << QByteArray::fromHex("0101770009000000");
        QTest::newRow("empty mouse texts never match")
            << QStringList{} << "" << QByteArray::fromHex("0101000009000000") << QByteArray::fromHex("0101000009000000");
        QTest::newRow("mouse text F1: a key on the button page, a button in the editor")
            << QStringList{"F1", "Right", "Middle", "Back", "Forward"} << "F1"
            << QByteArray::fromHex("01013A0009000000") << QByteArray::fromHex("0104010009000000");
        QTest::newRow("Enter is 0x28") << plain << "Enter" << QByteArray::fromHex("0101280009000000")
                                       << QByteArray::fromHex("0101280009000000");
        QTest::newRow("right arrow") << plain << RightArrow << QByteArray::fromHex("01014F0009000000")
                                     << QByteArray::fromHex("01014F0009000000");
    }
    void macroEventInEachOrder()
    {
        QFETCH(QStringList, mouseNames);
        QFETCH(QString, name);
        QFETCH(QByteArray, buttonPage);
        QFETCH(QByteArray, macroEditor);
        SetMouseNames(mouseNames);
        ButtonMacroBlock start{};
        start.events[3] = MacroEvent{1, 9, 0x77, 0, 9};
        ButtonMacroBlock block = start;
        MacroNameToEvent(name, 3, block);
        QCOMPARE(EventBytes(block, 3), buttonPage);
        block = start;
        KeyNameToMacroEvent(name, 3, block);
        QCOMPARE(EventBytes(block, 3), macroEditor);
        // Nothing but event 3 changes.
        QCOMPARE(std::memcmp(&block, &start, 0x20 + 8 * 3), 0);
        QCOMPARE(std::memcmp(reinterpret_cast<const char*>(&block) + 0x20 + 8 * 4,
                             reinterpret_cast<const char*>(&start) + 0x20 + 8 * 4, sizeof block - 0x20 - 8 * 4), 0);
    }

    void macroEventOutsideTheBlockChangesNothing_data()
    {
        QTest::addColumn<int>("k");
        QTest::newRow("before the first") << -1;
        QTest::newRow("after the 70th") << 70;
    }
    void macroEventOutsideTheBlockChangesNothing()
    {
        QFETCH(int, k);
        ButtonMacroBlock block{};
        const ButtonMacroBlock zero{};
        MacroNameToEvent(QStringLiteral("A"), k, block);
        KeyNameToMacroEvent(QStringLiteral("A"), k, block);
        QCOMPARE(std::memcmp(&block, &zero, sizeof block), 0);
    }
    // The keyboard hook's codes: the combination names over every code, written out from the
    // key-combination dialog's own table, and the macro names of the recorder's 104 codes.
    void virtualKeyToComboName()
    {
        QMap<int, QString> expected;
        for (int i = 0; i < 10; ++i) {
            expected[0x30 + i] = QString::number(i);
            expected[0x60 + i] = QStringLiteral("Num") + QString::number(i);
        }
        for (int i = 0; i < 26; ++i)
            expected[0x41 + i] = QString(QChar('A' + i));
        for (int i = 0; i < 12; ++i)
            expected[0x70 + i] = QStringLiteral("F") + QString::number(i + 1);
        const QList<QPair<int, QString>> single = {
            {0x08, "BackSpace"}, {0x09, "Tab"}, {0x0D, "Enter"}, {0x13, "Pause"}, {0x14, "CapsLock"}, {0x1B, "Esc"},
            {0x20, "Space"}, {0x21, "PgUp"}, {0x22, "PgDn"}, {0x23, "End"}, {0x24, "Home"}, {0x25, LeftArrow},
            {0x26, QString(QChar(0x2191))}, {0x27, RightArrow}, {0x28, QString(QChar(0x2193))}, {0x2C, "Screen"},
            {0x2D, "Insert"}, {0x2E, "Del"}, {0x5D, "APPs"}, {0x6A, "Num*"}, {0x6B, "Num+"}, {0x6D, "Num-"},
            {0x6E, "Num."}, {0x6F, "Num/"}, {0x90, "NumLock"}, {0x91, "Scroll"}, {0xBA, ";"}, {0xBB, "="},
            {0xBC, ","}, {0xBD, "-"}, {0xBE, "."}, {0xBF, "/"}, {0xC0, "`"}, {0xDB, "["}, {0xDC, "\\"},
            {0xDD, "]"}, {0xDE, "'"}};
        for (const auto& entry : single)
            expected[entry.first] = entry.second;
        for (int code = -1; code <= 0x1FF; ++code)
            QCOMPARE(VirtualKeyToComboName(code), expected.value(code));
    }

    void virtualKeyToKeyName_data()
    {
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("known");
        QTest::newRow("A") << 0x41 << "A" << true;
        QTest::newRow("left Shift") << 0xA0 << "LShift" << true;
        QTest::newRow("right Alt") << 0xA5 << "RAlt" << true;
        QTest::newRow("right Windows key") << 0x5C << "RWin" << true;
        QTest::newRow("keypad 5 without NumLock") << 0x0C << "" << true;
        QTest::newRow("F12") << 0x7B << "F12" << true;
        QTest::newRow("generic Shift") << 0x10 << "" << false;
        QTest::newRow("volume up") << 0xAF << "" << false;
        QTest::newRow("none") << 0 << "" << false;
    }
    void virtualKeyToKeyName()
    {
        QFETCH(int, code);
        QFETCH(QString, name);
        QFETCH(bool, known);
        bool found = !known;
        QCOMPARE(VirtualKeyToKeyName(code, &found), name);
        QCOMPARE(found, known);
        QCOMPARE(VirtualKeyToKeyName(code), name);
    }

    void everyRecorderCodeIsNamed()
    {
        int known = 0;
        for (int code = 0; code < 0x100; ++code) {
            bool found = false;
            VirtualKeyToKeyName(code, &found);
            known += found;
        }
        QCOMPARE(known, 104);
    }
};

QTEST_GUILESS_MAIN(TestKeyNames)
#include "tst_keynames.moc"
