#include "pages/buttons/ButtonTables.h"

#include <QtTest>

using namespace ButtonTables;

namespace {

QByteArray Bytes(const ButtonFunction& triple)
{
    return QByteArray(reinterpret_cast<const char*>(&triple), sizeof triple);
}

} // namespace

// The button page's triples, selectors and default assignment.
class TestButtonTables : public QObject
{
    Q_OBJECT

private slots:
    void defaultAssignmentBytes()
    {
        QByteArray bytes;
        for (const ButtonFunction& triple : DefaultAssignment())
            bytes += Bytes(triple);
        QCOMPARE(bytes, QByteArray::fromHex("010100" "010200" "010400" "010800" "011000" "020100"
                                            "020200" "020300" "070000" "070000" "040A00" "000000"));
    }

    // Every default is a triple the page itself writes.
    void defaultsUseTheTypesCodes()
    {
        for (const ButtonFunction& triple : DefaultAssignment()) {
            const FunctionTypeRow& row = FunctionTypes().at(triple.type);
            QCOMPARE(int(row.type), int(triple.type));
            bool known = row.codeCount == 0;
            for (int i = 0; i < row.codeCount; ++i)
                known = known || row.codes[i] == triple.p1;
            QVERIFY(known);
            QVERIFY(row.parameterIsValue || triple.p2 == 0);
        }
    }

    void typesInTheirOrder()
    {
        for (int type = 0; type < int(FunctionTypes().size()); ++type)
            QCOMPARE(int(FunctionTypes().at(size_t(type)).type), type);
        QVERIFY(FunctionTypes().at(FunctionKeyRecord).writer == TripleWriter::KeyRecord);
        QVERIFY(FunctionTypes().at(FunctionMacro).writer == TripleWriter::Macro);
        QVERIFY(FunctionTypes().at(FunctionDpiLock).writer == TripleWriter::Function);
    }

    void selectorOfButton_data()
    {
        QTest::addColumn<int>("button");
        QTest::addColumn<QString>("selector");
        QTest::newRow("button 0") << 0 << "FireKey";
        QTest::newRow("button 2") << 2 << "BackKey";
        QTest::newRow("button 3 on row 5") << 3 << "TopMusic";
        QTest::newRow("button 4 on row 4") << 4 << "StartPause";
        QTest::newRow("button 5") << 5 << "BackMusic";
        QTest::newRow("button 7") << 7 << "Button8";
        QTest::newRow("button 11") << 11 << "Button12";
        QTest::newRow("button 12 has none") << 12 << "";
        QTest::newRow("button -1 has none") << -1 << "";
    }
    void selectorOfButton()
    {
        QFETCH(int, button);
        QFETCH(QString, selector);
        QCOMPARE(QString::fromLatin1(SelectorOfButton(button)), selector);
    }

    void selectorRowsSwapFourAndFive()
    {
        QList<int> buttons;
        for (const SelectorRow& row : SelectorRows())
            buttons << row.button;
        QCOMPARE(buttons, QList<int>({0, 1, 2, 4, 3, 5, 6, 7, 8, 9, 10, 11}));
    }

    void triples_data()
    {
        QTest::addColumn<QByteArray>("triple");
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("key record") << Bytes(KeyRecordTriple()) << QByteArray::fromHex("050000");
        QTest::newRow("macro on button 5, repeat 3") << Bytes(MacroTriple(5, "3")) << QByteArray::fromHex("060503");
        QTest::newRow("macro repeat 253") << Bytes(MacroTriple(0, "253")) << QByteArray::fromHex("0600FD");
        QTest::newRow("macro repeat 300 sends its low 8 bits") << Bytes(MacroTriple(11, "300")) << QByteArray::fromHex("060B2C");
        QTest::newRow("macro repeat not a number") << Bytes(MacroTriple(2, "x")) << QByteArray::fromHex("060200");
    }
    void triples()
    {
        QFETCH(QByteArray, triple);
        QFETCH(QByteArray, bytes);
        QCOMPARE(triple, bytes);
    }
};

QTEST_GUILESS_MAIN(TestButtonTables)
#include "tst_buttontables.moc"
