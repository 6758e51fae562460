#include "pages/buttons/DpiLockCodes.h"
#include "pages/sensor/SensorFeatures.h"

#include <QtTest>

namespace {

// A small sensor header: no entries for "3395"; "TB" lists a range entry, 350, 800 (tab), 1200
// (hexadecimal) and, on a commented-out line, 1000; "PIX" (a name with a capital I) lists 1600.
const char* const Header =
    "#ifndef DRIVER_SENSOR_H\n"
    "#define DRIVER_SENSOR_H\n"
    "#define SUPPORT_RIPPLE\t3395\n"
    "#define SENSOR_TB_DPIRANGE 7\n"
    "#define SENSOR_TB_DPI_350 7\n"
    "#define SENSOR_TB_DPI_800\t15\n"
    "#define SENSOR_TB_DPI_1200 0x1F\n"
    "#define SENSOR_PIX_DPI_1600\t31 //x\n"
    "//#define SENSOR_TB_DPI_1000 19\n"
    "#endif\n"
    "#define SENSOR_TB_DPI_5000 99";

DpiLockCodes Codes(const QString& sensor)
{
    DpiLockCodes codes;
    codes.ReadHeaderText(QString::fromLatin1(Header));
    codes.SensorName = sensor;
    return codes;
}

} // namespace

// The DPI-lock codes of the button page over the sensor header's constants.
class TestDpiLockCodes : public QObject
{
    Q_OBJECT

private slots:
    void valueToCode_data()
    {
        QTest::addColumn<QString>("sensor");
        QTest::addColumn<int>("value");
        QTest::addColumn<int>("code");
        QTest::newRow("no entries: 100") << "3395" << 100 << 1;
        QTest::newRow("no entries: 800") << "3395" << 800 << 15;
        QTest::newRow("no entries: 1200") << "3395" << 1200 << 23;
        QTest::newRow("no header entry for another sensor") << "3950" << 400 << 7;
        QTest::newRow("listed: 800") << "TB" << 800 << 15;
        QTest::newRow("listed, hexadecimal entry: 1200") << "TB" << 1200 << 31;
        QTest::newRow("listed, entry missing: 900 is 900 / 50") << "TB" << 900 << 18;
        QTest::newRow("entry of a three-part line") << "TB" << 1000 << 19;
        QTest::newRow("entry on a last line without line end is not read") << "TB" << 5000 << 100;
        QTest::newRow("sensor name with an I") << "PIX" << 1600 << 31;
        QTest::newRow("sensor name with an I, entry missing") << "PIX" << 100 << 2;
    }
    void valueToCode()
    {
        QFETCH(QString, sensor);
        QFETCH(int, value);
        QFETCH(int, code);
        QCOMPARE(Codes(sensor).DPIValueToCode(value), code);
    }

    void codeToValue_data()
    {
        QTest::addColumn<QString>("sensor");
        QTest::addColumn<int>("code");
        QTest::addColumn<int>("value");
        QTest::newRow("no entries: code 1") << "3395" << 1 << 100;
        QTest::newRow("no entries: code 15") << "3395" << 15 << 800;
        QTest::newRow("no entries: code 23") << "3395" << 23 << 1200;
        QTest::newRow("listed: code 15") << "TB" << 15 << 800;
        QTest::newRow("listed: code 31") << "TB" << 31 << 1200;
        QTest::newRow("listed, no entry has code 18") << "TB" << 18 << 0;
        QTest::newRow("range entry with the code comes first") << "TB" << 7 << 0;
        QTest::newRow("entry of a three-part line") << "TB" << 19 << 1000;
        QTest::newRow("sensor name with an I reads after _DPI_") << "PIX" << 31 << 1600;
        QTest::newRow("sensor name with an I, no entry has the code") << "PIX" << 1 << 0;
    }
    void codeToValue()
    {
        QFETCH(QString, sensor);
        QFETCH(int, code);
        QFETCH(int, value);
        QCOMPARE(Codes(sensor).DPICodeToValue(code), value);
    }

    // The sensor page reads the same names' numbers, but skips an entry without one, and reads
    // "#define" lines only.
    void sensorPageDecodesTheSameNames()
    {
        SensorFeatures features;
        features.ReadHeaderText(QString::fromLatin1(Header));
        features.CurrentSensorModel = QStringLiteral("PIX");
        QCOMPARE(features.DecodeDpi(31, 0), Codes("PIX").DPICodeToValue(31));
        features.CurrentSensorModel = QStringLiteral("TB");
        QCOMPARE(features.DecodeDpi(15, 0), 800);
        QCOMPARE(features.DecodeDpi(7, 0), 350);
        QCOMPARE(features.DecodeDpi(19, 0), 0);
    }

    // The header's lines through the one parser, in the sensor page's reading and in the button
    // page's, which also takes a line of three parts whatever its first part is.
    void headerLines_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("sensorPage"); // "name=value" in file order
        QTest::addColumn<QStringList>("buttonPage");
        QTest::newRow("tab between name and value") << "#define NAME\t7\n" << QStringList{"NAME=7"} << QStringList{"NAME=7"};
        QTest::newRow("hexadecimal value") << "#define NAME 0x1F\n" << QStringList{"NAME=31"} << QStringList{"NAME=31"};
        QTest::newRow("decimal value") << "#define NAME 12\n" << QStringList{"NAME=12"} << QStringList{"NAME=12"};
        QTest::newRow("switch name is no constant") << "#define SUPPORT_RIPPLE\t1\n" << QStringList{} << QStringList{};
        QTest::newRow("last line without line end") << "#define NAME 7" << QStringList{} << QStringList{};
        QTest::newRow("last tab line without line end") << "#define NAME\t7" << QStringList{} << QStringList{};
        QTest::newRow("tab pair and a comment") << "#define NAME\t7 //c\n" << QStringList{"NAME=7"} << QStringList{"NAME=7"};
        QTest::newRow("three parts, first not #define")
            << "//#define NAME 7\n" << QStringList{} << QStringList{"NAME=7"};
        QTest::newRow("two parts, first not #define") << "X NAME\t7\n" << QStringList{} << QStringList{};
        QTest::newRow("include guard") << "#define GUARD\n" << QStringList{} << QStringList{};
        QTest::newRow("carriage returns") << "#define A 1\r\n#define B 2\r\n" << QStringList{"A=1", "B=2"}
                                          << QStringList{"A=1", "B=2"};
    }
    void headerLines()
    {
        QFETCH(QString, text);
        QFETCH(QStringList, sensorPage);
        QFETCH(QStringList, buttonPage);
        SensorFeatures features;
        features.ReadHeaderText(text);
        QStringList read;
        for (int k = 0; k < features.SensorConstNames.size(); ++k)
            read << features.SensorConstNames.at(k) + '=' + QString::number(features.SensorConstValues.at(k));
        QCOMPARE(read, sensorPage);

        DpiLockCodes codes;
        codes.ReadHeaderText(text);
        read.clear();
        QCOMPARE(codes.SensorDefineNames.size(), codes.SensorDefineValues.size());
        for (int k = 0; k < codes.SensorDefineNames.size(); ++k)
            read << codes.SensorDefineNames.at(k) + '=' + QString::number(codes.SensorDefineValues.at(k));
        QCOMPARE(read, buttonPage);
    }
};

QTEST_GUILESS_MAIN(TestDpiLockCodes)
#include "tst_dpilockcodes.moc"
