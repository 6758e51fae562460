#include "pages/sensor/SensorFeatures.h"
#include "platform/AppPaths.h"
#include "support/TestHome.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

namespace {

const QStringList NoSwitches = {"", "", "", "", "", ""};

// The six switch values in their order, with one of them set.
QStringList OneSwitch(int which, const QString& value)
{
    QStringList switches = NoSwitches;
    switches[which] = value;
    return switches;
}

QStringList Switches(const SensorFeatures& sensor)
{
    return {sensor.supportModeSel, sensor.supportLodCal, sensor.supportRipple,
            sensor.supportFixLine, sensor.supportMotionSync, sensor.supportMousepadCal};
}

SensorFeatures Sensor(const QString& model, const QString& ranges, const QString& header = QString())
{
    SensorFeatures sensor;
    sensor.CurrentSensorModel = model;
    sensor.ReadDpiRangeList(ranges.split(',', Qt::SkipEmptyParts));
    sensor.ReadHeaderText(header);
    return sensor;
}

// A code table for a model: "SENSOR_<model>_DPI_<n>" with code 1, 2, ... for n = from, from + step, ... to.
QString CodeTable(const QString& model, int from, int to, int step)
{
    QString header = "#ifndef DRIVER_SENSOR_H\n#define DRIVER_SENSOR_H\n";
    int code = 1;
    for (int n = from; n <= to; n += step)
        header += QString("#define SENSOR_%1_DPI_%2 0x%3\n").arg(model).arg(n).arg(code++, 2, 16, QChar('0'));
    return header + "#endif\n";
}

} // namespace

// Feature switches, named constants and DPI ranges of a sensor model, and the DPI value coding.
class TestSensorFeatures : public QObject
{
    Q_OBJECT
    TestHome home;
    QTemporaryDir programFolder;

private slots:
    void initTestCase()
    {
        QVERIFY(programFolder.isValid());
        QDir().mkpath(programFolder.path() + "/usersetting");
        QFile config(programFolder.path() + "/usersetting/Config.ini");
        QVERIFY(config.open(QIODevice::WriteOnly));
        config.write("[Option]\nDeviceTotal=2\n"
                     "[Drive1]\nSensor=" + QByteArray("3395").toBase64() + "\nDPIRange=50, 26000, 50, 22\n"
                     "[Drive2]\nSensor=" + QByteArray("3950").toBase64() + "\n"
                     "DPIRange=50, 10000, 50, 10100, 20000, 100, 20100, 30000, 100, 30200, 42000, 200, 33\n");
        config.close();
        AppPaths::SetProgramFolder(programFolder.path());
    }

    void headerGrammar_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("switches");
        QTest::addColumn<QStringList>("names");
        QTest::addColumn<QVector<int>>("values");

        QTest::newRow("switch with tab value") << "#define SUPPORT_RIPPLE\t3950,3395\n"
                                               << OneSwitch(2, "3950,3395") << QStringList() << QVector<int>();
        QTest::newRow("six switches in order, the last without line end")
            << "#define SUPPORT_SENSOR_MODE_SEL\t1\n#define SUPPORT_LOD_CAL\t2\n#define SUPPORT_RIPPLE\t3\n"
               "#define SUPPORT_FIXLINE\t4\n#define SUPPORT_MOTION_SYNC\t5\n#define SUPPORT_MOUSEPAD_CAL\t6"
            << QStringList{"1", "2", "3", "4", "5", "6"} << QStringList() << QVector<int>();
        QTest::newRow("switch without value ignored") << "#define SUPPORT_RIPPLE\n#define SUPPORT_FIXLINE\n"
                                                      << NoSwitches << QStringList() << QVector<int>();
        QTest::newRow("commented-out switch ignored") << "//#define SUPPORT_RIPPLE\t3950\n// SUPPORT_FIXLINE\t3950\n"
                                                      << NoSwitches << QStringList() << QVector<int>();
        QTest::newRow("three-token define with hex") << "#define SENSOR_3950_DPI_400 0x07\n"
                                                     << NoSwitches << QStringList{"SENSOR_3950_DPI_400"} << QVector<int>{7};
        QTest::newRow("three-token define, decimal") << "#define MAX_GRADE 8\n"
                                                     << NoSwitches << QStringList{"MAX_GRADE"} << QVector<int>{8};
        QTest::newRow("name and value joined by a tab, then a comment")
            << "#define SENSOR_3950_DPI_800\t12 //code\n" << NoSwitches << QStringList{"SENSOR_3950_DPI_800"} << QVector<int>{12};
        QTest::newRow("hex value before a comment") << "#define SENSOR_3950_DPI_1600\t0x1F //code\n"
                                                    << NoSwitches << QStringList{"SENSOR_3950_DPI_1600"} << QVector<int>{31};
        QTest::newRow("comment on a last line without line end") << "#define LAST\t12 //end"
                                                                 << NoSwitches << QStringList{"LAST"} << QVector<int>{12};
        QTest::newRow("tab-separated constants") << "#define LEVELS\t8\n#define MASK\t0x3F\n"
                                                 << NoSwitches << QStringList{"LEVELS", "MASK"} << QVector<int>{8, 63};
        QTest::newRow("switch name with a space-separated value is a constant")
            << "#define SUPPORT_LOD_CAL 3950\n" << NoSwitches << QStringList{"SUPPORT_LOD_CAL"} << QVector<int>{3950};
        QTest::newRow("last line without line end ignored") << "#define A\t5\n#define B\t6"
                                                            << NoSwitches << QStringList{"A"} << QVector<int>{5};
        QTest::newRow("last three-token line without line end ignored") << "#define A 5\n#define C 7"
                                                                        << NoSwitches << QStringList{"A"} << QVector<int>{5};
        QTest::newRow("include guard ignored") << "#ifndef DRIVER_SENSOR_H\n#define DRIVER_SENSOR_H\n\n#endif\n"
                                               << NoSwitches << QStringList() << QVector<int>();
        QTest::newRow("comments and blank lines ignored") << "// sensor features\n// a b\n/* DPI codes */\n\n   \n\t\n"
                                                          << NoSwitches << QStringList() << QVector<int>();
        QTest::newRow("other directives ignored") << "#pragma once\n#include <cstdint>\n#if defined X\n#undef A 5\n"
                                                  << NoSwitches << QStringList() << QVector<int>();
        QTest::newRow("longer line ignored") << "#define SENSOR_3950_DPI_400 0x07 // 400 dpi\n"
                                             << NoSwitches << QStringList() << QVector<int>();
        QTest::newRow("value that does not convert reads 0") << "#define NAME\tabc\n"
                                                             << NoSwitches << QStringList{"NAME"} << QVector<int>{0};
        QTest::newRow("windows line ends") << "#define A\t5\r\n#define SUPPORT_RIPPLE\t3950\r\n#define B 0x10\r\n"
                                           << OneSwitch(2, "3950") << QStringList{"A", "B"} << QVector<int>{5, 16};
        QTest::newRow("constants in file order around switches")
            << "#define SENSOR_3950_DPI_400 0x07\n#define SUPPORT_FIXLINE\t3950\n#define SENSOR_3950_DPI_800\t0x0F\n"
            << OneSwitch(3, "3950") << QStringList{"SENSOR_3950_DPI_400", "SENSOR_3950_DPI_800"} << QVector<int>{7, 15};
        QTest::newRow("empty text") << "" << NoSwitches << QStringList() << QVector<int>();
    }
    void headerGrammar()
    {
        QFETCH(QString, text);
        QFETCH(QStringList, switches);
        QFETCH(QStringList, names);
        QFETCH(QVector<int>, values);
        SensorFeatures sensor;
        sensor.ReadHeaderText(text);
        QCOMPARE(Switches(sensor), switches);
        QCOMPARE(QStringList(sensor.SensorConstNames.toList()), names);
        QCOMPARE(sensor.SensorConstValues, values);
    }

    // The header is read whenever a sensor page is built: a second reading replaces the first.
    void readingAgainReplaces()
    {
        SensorFeatures sensor;
        sensor.ReadHeaderText("#define SUPPORT_RIPPLE\t3950\n#define A\t1\n");
        sensor.ReadHeaderText("#define A\t2\n");
        QCOMPARE(Switches(sensor), NoSwitches);
        QCOMPARE(sensor.SensorConstNames, QVector<QString>{"A"});
        QCOMPARE(sensor.SensorConstValues, QVector<int>{2});
    }

    void headerFileInProgramFolder()
    {
        QFile file(programFolder.path() + "/driver_sensor.h");
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("\xEF\xBB\xBF#define SUPPORT_LOD_CAL\t3950\r\n#define SENSOR_3950_DPI_400 0x07\r\n");
        file.close();
        SensorFeatures sensor;
        sensor.ReadHeaderFile();
        QCOMPARE(sensor.supportLodCal, QString("3950"));
        QCOMPARE(sensor.SensorConstNames, QVector<QString>{"SENSOR_3950_DPI_400"});
        QCOMPARE(sensor.SensorConstValues, QVector<int>{7});

        // Without the file every switch and table is empty again.
        QVERIFY(file.remove());
        sensor.ReadHeaderFile();
        QCOMPARE(Switches(sensor), NoSwitches);
        QVERIFY(sensor.SensorConstNames.isEmpty());
        QVERIFY(sensor.SensorConstValues.isEmpty());
    }

    void dpiRangeList_data()
    {
        QTest::addColumn<QStringList>("list");
        QTest::addColumn<int>("count");
        QTest::addColumn<int>("kind");
        QTest::addColumn<QVector<int>>("minimums");
        QTest::addColumn<QVector<int>>("maximums");
        QTest::addColumn<QVector<int>>("steps");
        QTest::addColumn<QString>("minText");
        QTest::addColumn<QString>("maxText");
        QTest::addColumn<QStringList>("texts");

        // Before each row the previous model's two ranges are in place.
        const QStringList before = {"100", "200", "10", "300", "400", "20", "", "", "", "", "", ""};
        QTest::newRow("one range") << QStringList{"50", "12000", "50", "33"} << 1 << 0x33 << QVector<int>{50}
                                   << QVector<int>{12000} << QVector<int>{50} << "50" << "12000"
                                   << QStringList{"50", "12000", "50", "", "", "", "", "", "", "", "", ""};
        const QStringList four = {"50", "10000", "50", "10100", "20000", "100", "20100", "30000", "100",
                                  "30200", "42000", "200"};
        QTest::newRow("four ranges") << (four + QStringList{"33"}) << 4 << 0x33 << QVector<int>{50, 10100, 20100, 30200}
                                     << QVector<int>{10000, 20000, 30000, 42000} << QVector<int>{50, 100, 100, 200}
                                     << "50" << "42000" << four;
        QTest::newRow("spaces around elements") << QStringList{" 50", " 800", " 50", " 11"} << 1 << 0x11
                                                << QVector<int>{50} << QVector<int>{800} << QVector<int>{50} << "50" << "800"
                                                << QStringList{"50", "800", "50", "", "", "", "", "", "", "", "", ""};
        QTest::newRow("element beyond the last range unused")
            << QStringList{"50", "800", "50", "900", "22"} << 1 << 0x22 << QVector<int>{50} << QVector<int>{800}
            << QVector<int>{50} << "50" << "800" << QStringList{"50", "800", "50", "", "", "", "", "", "", "", "", ""};
        // A list without usable ranges leaves none of the previous model's: kind as read, no ranges, no texts.
        const QStringList none = QVector<QString>(12).toList();
        QTest::newRow("five ranges leave none") << (four + QStringList{"43000", "50000", "200", "33"}) << 0 << 0x33
                                                << QVector<int>() << QVector<int>() << QVector<int>() << "" << "" << none;
        QTest::newRow("short list leaves none") << QStringList{"50", "12000", "22"} << 0 << 0x22 << QVector<int>()
                                                << QVector<int>() << QVector<int>() << "" << "" << none;
        QTest::newRow("kind alone leaves none") << QStringList{"11"} << 0 << 0x11 << QVector<int>() << QVector<int>()
                                                << QVector<int>() << "" << "" << none;
        QTest::newRow("empty list leaves none") << QStringList() << 0 << 0 << QVector<int>() << QVector<int>()
                                                << QVector<int>() << "" << "" << none;
    }
    void dpiRangeList()
    {
        QFETCH(QStringList, list);
        SensorFeatures sensor;
        sensor.ReadDpiRangeList({"100", "200", "10", "300", "400", "20", "22"});
        sensor.ReadDpiRangeList(list);
        QTEST(sensor.DpiRangeCount, "count");
        QTEST(sensor.DpiRangeKind, "kind");
        QTEST(sensor.DpiRangeMinimums, "minimums");
        QTEST(sensor.DpiRangeMaximums, "maximums");
        QTEST(sensor.DpiRangeSteps, "steps");
        QTEST(sensor.rangeMinText, "minText");
        QTEST(sensor.rangeMaxText, "maxText");
        QStringList texts;
        for (const QString& text : sensor.DpiRangeTexts)
            texts << text;
        QTEST(texts, "texts");
    }

    // A model read after one with ranges codes its values as if it had never seen them.
    void encodingAfterAModelWithRanges_data()
    {
        QTest::addColumn<QStringList>("previous");
        QTest::addColumn<QStringList>("next");
        QTest::addColumn<int>("dpi");
        QTest::addColumn<int>("code");
        QTest::addColumn<int>("flags");
        const QStringList twoRanges22 = {"50", "10000", "50", "10100", "26000", "100", "22"};
        const QStringList fourRanges33 = {"50", "6000", "50", "6100", "12000", "100", "12100", "24000", "100",
                                          "24200", "30000", "200", "33"};
        QTest::newRow("0x22, then no list") << twoRanges22 << QStringList() << 12000 << 239 << 0;
        QTest::newRow("0x22, then a short list") << twoRanges22 << QStringList{"50", "12000", "11"} << 12000 << 239 << 0;
        QTest::newRow("0x33, then no list") << fourRanges33 << QStringList() << 8000 << 159 << 0;
        QTest::newRow("0x33, then five ranges")
            << fourRanges33 << (fourRanges33.mid(0, 12) + QStringList{"30200", "40000", "200", "33"}) << 8000 << 159 << 0;
        QTest::newRow("0x22, then its own ranges again") << twoRanges22 << twoRanges22 << 12000 << 119 << 0x22;
    }
    void encodingAfterAModelWithRanges()
    {
        QFETCH(QStringList, previous);
        QFETCH(QStringList, next);
        QFETCH(int, dpi);
        SensorFeatures sensor;
        sensor.CurrentSensorModel = QStringLiteral("3389");
        sensor.ReadDpiRangeList(previous);
        sensor.ReadDpiRangeList(next);
        const DpiLevelBytes bytes = sensor.EncodeDpi(dpi, 0);
        QVERIFY(bytes.valid);
        QTEST(int(bytes.code), "code");
        QTEST(int(bytes.flags), "flags");
    }

    // Model and ranges come from group "Drive" + (model index + 1); the sensor name is stored in Base64.
    void modelAndRangesFromConfig()
    {
        SensorFeatures sensor;
        sensor.ReadSensorModel(1);
        sensor.ReadDpiRanges(1);
        QCOMPARE(sensor.CurrentSensorModel, QString("3950"));
        QCOMPARE(sensor.DpiRangeCount, 4);
        QCOMPARE(sensor.DpiRangeKind, 0x33);
        QCOMPARE(sensor.rangeMaxText, QString("42000"));
        sensor.ReadSensorModel(0);
        sensor.ReadDpiRanges(0);
        QCOMPARE(sensor.CurrentSensorModel, QString("3395"));
        QCOMPARE(sensor.DpiRangeMaximums, QVector<int>{26000});
        sensor.ReadSensorModel(7);
        QCOMPARE(sensor.CurrentSensorModel, QString());
    }

    void featureOffered_data()
    {
        QTest::addColumn<QString>("model");
        QTest::addColumn<QString>("switchValue");
        QTest::addColumn<bool>("offered");
        QTest::newRow("listed first") << "3950" << "3950,3395" << true;
        QTest::newRow("listed second") << "3395" << "3950,3395" << true;
        QTest::newRow("not listed") << "3389" << "3950,3395" << false;
        QTest::newRow("case matters") << "paw3950" << "PAW3950" << false;
        QTest::newRow("empty switch offers nothing to a model") << "3950" << "" << false;
        QTest::newRow("no model: listed feature shows") << "" << "3950" << true;
        QTest::newRow("no model: empty switch shows too") << "" << "" << true;
    }
    void featureOffered()
    {
        QFETCH(QString, model);
        QFETCH(QString, switchValue);
        SensorFeatures sensor;
        sensor.CurrentSensorModel = model;
        QTEST(sensor.Offers(switchValue), "offered");
    }

    void encodeDpi_data()
    {
        QTest::addColumn<QString>("model");
        QTest::addColumn<QString>("ranges");
        QTest::addColumn<QString>("header");
        QTest::addColumn<int>("dpi");
        QTest::addColumn<int>("entryFlags");
        QTest::addColumn<bool>("valid");
        QTest::addColumn<int>("code");
        QTest::addColumn<int>("flags");

        const QString fourRanges = "50,6000,50,6100,12000,100,12100,24000,100,24200,48000,200,33";
        QTest::newRow("0x33 range 3") << "3389" << fourRanges << "" << 30000 << 0 << true << 149 << 0x33;
        QTest::newRow("0x33 range 3 at its minimum") << "3389" << fourRanges << "" << 24200 << 0 << true << 120 << 0x33;
        QTest::newRow("0x33 range 2") << "3389" << fourRanges << "" << 20000 << 0 << true << 199 << 0x11;
        QTest::newRow("0x33 range 1") << "3389" << fourRanges << "" << 8000 << 0 << true << 79 << 0x22;
        QTest::newRow("0x33 800 in range 0") << "3389" << fourRanges << "" << 800 << 0 << true << 15 << 0;
        QTest::newRow("0x33 between ranges 0 and 1 codes as range 0") << "3389" << fourRanges << "" << 6050 << 0 << true << 120 << 0;
        QTest::newRow("0x33 below every range has no code") << "3389" << fourRanges << "" << 40 << 0 << false << 0 << 0;
        QTest::newRow("0x33 without ranges") << "3389" << "33" << "" << 800 << 0 << true << 15 << 0;

        const QString twoRanges22 = "50,10000,50,10100,26000,100,22";
        QTest::newRow("3950 0x22 code 259") << "3950" << twoRanges22 << "" << 26000 << 0 << true << 3 << 0x66;
        QTest::newRow("3395 0x22 code 259") << "3395" << twoRanges22 << "" << 26000 << 0 << true << 3 << 0x66;
        QTest::newRow("3950 0x33 code 511") << "3950" << "50,10000,50,10100,25000,100,25100,40000,100,40200,102400,200,33"
                                            << "" << 102400 << 0 << true << 0xFF << 0x77;
        QTest::newRow("0x22 at range 0 maximum") << "3950" << twoRanges22 << "" << 10000 << 0 << true << 199 << 0;
        QTest::newRow("0x11 above range 0") << "3389" << "50,10000,50,10100,20000,100,11" << "" << 12000 << 0 << true << 119 << 0x11;
        QTest::newRow("0x22 without ranges sets no flags") << "3389" << "22" << "" << 3200 << 0 << true << 63 << 0;
        QTest::newRow("other kind sets no flags") << "3389" << "50,12800,50,44" << "" << 1600 << 0 << true << 31 << 0;
        QTest::newRow("other model: code above 255 has no code") << "3389" << twoRanges22 << "" << 26000 << 0 << false << 0 << 0;
        QTest::newRow("3950: code above 1023 has no code") << "3950" << "50,60000,50,00" << "" << 60000 << 0 << false << 0 << 0;

        const QString table = "#define SENSOR_3950_DPI_400 0x21\n#define SENSOR_3950_DPI_800\t0x42 //x\n";
        QTest::newRow("table value found") << "3950" << "50,1000,50,2000,3200,100,22" << table << 400 << 0 << true << 0x21 << 0;
        QTest::newRow("table value found after halving") << "3950" << "50,1000,50,2000,3200,100,22" << table << 1600 << 0
                                                         << true << 0x42 << 0x22;
        QTest::newRow("table value found in range 3") << "3950" << "50,1000,50,1100,1200,100,1300,2000,100,3200,6400,200,33"
                                                      << table << 3200 << 0 << true << 0x42 << 0x33;
        QTest::newRow("table value missing: dpi / 50") << "3950" << "50,10000,50,22" << table << 1200 << 0 << true << 24 << 0;
        QTest::newRow("table value missing: dpi / 100 by the entry's flags") << "3950" << "50,10000,50,22" << table << 1200
                                                                             << 0x22 << true << 12 << 0;
        QTest::newRow("table value missing, code above 255") << "3950" << "50,20000,50,22" << table << 12800 << 0 << false << 0 << 0;
        QTest::newRow("another model's table is not used") << "3395" << "50,10000,50,22" << table << 400 << 0 << true << 7 << 0;
    }
    void encodeDpi()
    {
        QFETCH(QString, model);
        QFETCH(QString, ranges);
        QFETCH(QString, header);
        QFETCH(int, dpi);
        QFETCH(int, entryFlags);
        QFETCH(bool, valid);
        const SensorFeatures sensor = Sensor(model, ranges, header);
        const DpiLevelBytes bytes = sensor.EncodeDpi(dpi, uint8_t(entryFlags));
        QCOMPARE(bytes.valid, valid);
        if (!valid)
            return;
        QTEST(int(bytes.code), "code");
        QTEST(int(bytes.flags), "flags");
    }

    void decodeDpi_data()
    {
        QTest::addColumn<QString>("model");
        QTest::addColumn<QString>("header");
        QTest::addColumn<int>("code");
        QTest::addColumn<int>("flags");
        QTest::addColumn<int>("value");

        QTest::newRow("code 15, no flags") << "3389" << "" << 15 << 0 << 800;
        QTest::newRow("0x11 doubles the step") << "3389" << "" << 99 << 0x11 << 10000;
        QTest::newRow("0x22 doubles the step") << "3389" << "" << 79 << 0x22 << 8000;
        QTest::newRow("0x33 quadruples the step") << "3389" << "" << 149 << 0x33 << 30000;
        QTest::newRow("3950 high code bits") << "3950" << "" << 3 << 0x66 << 26000;
        QTest::newRow("3395 high code bits") << "3395" << "" << 3 << 0x66 << 26000;
        QTest::newRow("other model ignores high bits") << "3389" << "" << 3 << 0x66 << 400;

        const QString table = "#define SENSOR_3950_DPI_400 0x21\n#define SENSOR_3950_DPI_800\t0x42 //x\n"
                              "#define SENSOR_3950_DPI_850 0x42\n";
        QTest::newRow("table code found") << "3950" << table << 0x21 << 0 << 400;
        QTest::newRow("table code, first name wins") << "3950" << table << 0x42 << 0 << 800;
        QTest::newRow("table doubles for 0x22") << "3950" << table << 0x42 << 0x22 << 1600;
        QTest::newRow("table doubles for 0x11") << "3950" << table << 0x42 << 0x11 << 1600;
        QTest::newRow("table quadruples for 0x33") << "3950" << table << 0x42 << 0x33 << 3200;
        QTest::newRow("table ignores high code bits") << "3950" << table << 0x21 << 0x40 << 400;
        QTest::newRow("table code not found reads 0") << "3950" << table << 0x33 << 0 << 0;
        QTest::newRow("table of a model named with an I") << "AI5" << "#define SENSOR_AI5_DPI_400 0x07\n" << 7 << 0 << 400;
        QTest::newRow("table name without a number is passed over")
            << "3950" << "#define SENSOR_3950_DPIMAX 0x07\n#define SENSOR_3950_DPI_400 0x07\n" << 7 << 0 << 400;
    }
    void decodeDpi()
    {
        QFETCH(QString, model);
        QFETCH(QString, header);
        QFETCH(int, code);
        QFETCH(int, flags);
        const SensorFeatures sensor = Sensor(model, "", header);
        QTEST(sensor.DecodeDpi(uint8_t(code), uint8_t(flags)), "value");
    }

    // Every value of every range, on its step and between steps once quantised, reads back as it was written.
    void roundTrip_data()
    {
        QTest::addColumn<QString>("model");
        QTest::addColumn<QString>("ranges");
        QTest::addColumn<QString>("header");
        QTest::newRow("formula 0x33") << "3389" << "50,6000,50,6100,12000,100,12100,24000,100,24200,48000,200,33" << "";
        QTest::newRow("formula 0x22, high code bits") << "3950" << "50,10000,50,10100,51200,100,22" << "";
        QTest::newRow("formula 0x33, high code bits")
            << "3395" << "50,12800,50,12900,25600,100,25700,51200,100,51400,102400,200,33" << "";
        QTest::newRow("formula 0x11") << "3389" << "50,10000,50,10100,20000,100,11" << "";
        QTest::newRow("formula, one range") << "3389" << "50,12800,50,00" << "";
        QTest::newRow("table 0x22") << "3311" << "100,1000,100,1200,3000,200,22" << CodeTable("3311", 100, 1500, 100);
        QTest::newRow("table 0x33") << "3311" << "100,1000,100,1200,2000,200,2400,4000,400,4800,8000,800,33"
                                    << CodeTable("3311", 100, 2000, 100);
    }
    void roundTrip()
    {
        QFETCH(QString, model);
        QFETCH(QString, ranges);
        QFETCH(QString, header);
        const SensorFeatures sensor = Sensor(model, ranges, header);
        QVERIFY(sensor.DpiRangeCount > 0);
        for (int r = 0; r < sensor.DpiRangeCount; ++r) {
            const int step = sensor.DpiRangeSteps[r];
            for (int v = sensor.DpiRangeMinimums[r]; v <= sensor.DpiRangeMaximums[r]; v += step / 2) {
                const int quantised = sensor.QuantiseDpi(v);
                QCOMPARE(quantised % step, sensor.DpiRangeMinimums[r] % step);
                const DpiLevelBytes bytes = sensor.EncodeDpi(quantised, 0);
                QVERIFY2(bytes.valid, qPrintable(QString("%1 has no code").arg(quantised)));
                QCOMPARE(sensor.DecodeDpi(bytes.code, bytes.flags), quantised);
            }
        }
    }

    void quantise_data()
    {
        QTest::addColumn<QString>("ranges");
        QTest::addColumn<int>("value");
        QTest::addColumn<int>("quantised");
        QTest::addColumn<int>("pageStep");
        const QString two = "50,500,50,600,900,100,22";
        QTest::newRow("down to the step") << two << 490 << 450 << 50;
        QTest::newRow("first range maximum") << two << 500 << 500 << 50;
        QTest::newRow("between ranges up to the next") << two << 550 << 600 << 100;
        QTest::newRow("down in the second range") << two << 899 << 800 << 100;
        QTest::newRow("below every range unchanged") << two << 40 << 40 << -1;
        QTest::newRow("above every range unchanged") << two << 950 << 950 << -1;
        QTest::newRow("step counted from the minimum") << "150,1000,100,22" << 420 << 350 << 100;
        QTest::newRow("zero step keeps the value") << "50,500,0,22" << 123 << 123 << -1;
        QTest::newRow("no ranges") << "22" << 123 << 123 << -1;
    }
    void quantise()
    {
        QFETCH(QString, ranges);
        QFETCH(int, value);
        const SensorFeatures sensor = Sensor("3389", ranges);
        int pageStep = -1;
        QTEST(sensor.QuantiseDpi(value, &pageStep), "quantised");
        QTEST(pageStep, "pageStep");
    }
};

QTEST_GUILESS_MAIN(TestSensorFeatures)
#include "tst_sensorfeatures.moc"
