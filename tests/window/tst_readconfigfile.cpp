#include "app/ReadConfigFile.h"
#include "device/DeviceDiscovery.h"
#include "pages/buttons/Buttoninterface.h"
#include "support/TestHome.h"
#include "window/ConfigFileWriter.h"

#include <QTemporaryDir>
#include <QtTest>

#include <cstring>

Q_DECLARE_METATYPE(ConfigFileWriter)

// Reading configuration export files against the model list of the program folder:
// Drive1 sensor "3395", Drive2 sensor "3950", both DPIMaxGrade 8; there is no Drive3.
class TestReadConfigFile : public QObject
{
    Q_OBJECT
    TestHome home;
    QTemporaryDir files;

    static FlashDataMap SampleRecord()
    {
        FlashDataMap record{};
        for (std::size_t i = 0; i < sizeof record; ++i)
            record.bytes()[i] = uint8_t(i * 7 + 3);
        record.dpiLevelCount = 4;
        record.currentDpiLevel = 1;
        return record;
    }

    static void SelectModel(int modelIndex)
    {
        CurrentDeviceInfo.Update([modelIndex](DeviceAllInfo& info) { info.modelIndex = modelIndex; });
    }

private slots:
    void init() { SelectModel(0); }

    void fileIsJudged_data()
    {
        QTest::addColumn<ConfigFileWriter>("file");
        QTest::addColumn<int>("modelIndex");
        QTest::addColumn<int>("expected");

        const FlashDataMap sample = SampleRecord();
        const auto with = [&sample](void (*change)(ConfigFileWriter&)) {
            ConfigFileWriter writer(sample);
            change(writer);
            return writer;
        };
        const auto levels = [&sample](int count, int current) {
            FlashDataMap record = sample;
            record.dpiLevelCount = uint8_t(count);
            record.currentDpiLevel = uint8_t(current);
            return ConfigFileWriter(record);
        };

        QTest::newRow("accepted") << ConfigFileWriter(sample) << 0 << 0;
        QTest::newRow("accepted for the other model") << with([](ConfigFileWriter& w) { w.sensor = w.Field("3950"); }) << 1 << 0;

        QTest::newRow("marker in other letter case") << with([](ConfigFileWriter& w) { w.marker = w.Field("velor"); }) << 0 << 1;
        QTest::newRow("marker without its zero byte")
            << with([](ConfigFileWriter& w) { w.marker = QByteArray("VelorVelorVe"); }) << 0 << 1;
        QTest::newRow("marker block of 13 bytes")
            << with([](ConfigFileWriter& w) { w.marker.append('\0'); }) << 0 << 1;
        QTest::newRow("sensor block of 11 bytes") << with([](ConfigFileWriter& w) { w.sensor.chop(1); }) << 0 << 1;
        QTest::newRow("record block of 10,000 bytes") << with([](ConfigFileWriter& w) { w.record.truncate(10000); }) << 0 << 1;
        QTest::newRow("record block of 10,449 bytes") << with([](ConfigFileWriter& w) { w.record.append('\x01'); }) << 0 << 1;
        QTest::newRow("record length far past the file")
            << with([](ConfigFileWriter& w) { w.recordLength = 0xFFFFFFFFu; }) << 0 << 1;
        QTest::newRow("record cut short") << with([](ConfigFileWriter& w) { w.cutAt = 36 + 5000; }) << 0 << 1;
        QTest::newRow("empty file") << with([](ConfigFileWriter& w) { w.cutAt = 0; }) << 0 << 1;

        QTest::newRow("other sensor") << with([](ConfigFileWriter& w) { w.sensor = w.Field("3950"); }) << 0 << 2;
        QTest::newRow("sensor name filling the field") << with([](ConfigFileWriter& w) { w.sensor = QByteArray("339533953395"); })
                                                       << 0 << 2;
        QTest::newRow("model without sensor or level maximum")
            << with([](ConfigFileWriter& w) { w.sensor = w.Field(""); }) << 2 << 2;

        QTest::newRow("8 levels, the model's maximum") << levels(8, 7) << 0 << 0;
        QTest::newRow("1 level") << levels(1, 0) << 0 << 0;
        QTest::newRow("9 levels") << levels(9, 0) << 0 << 2;
        QTest::newRow("no level") << levels(0, 0) << 0 << 2;
        QTest::newRow("255 levels") << levels(255, 0) << 0 << 2;
        QTest::newRow("current level at the count") << levels(4, 4) << 0 << 2;
        QTest::newRow("current level far past the count") << levels(4, 200) << 0 << 2;
    }
    void fileIsJudged()
    {
        QFETCH(ConfigFileWriter, file);
        QFETCH(int, modelIndex);
        QFETCH(int, expected);
        SelectModel(modelIndex);
        const QString path = files.filePath(QString::fromLatin1(QTest::currentDataTag()) + ".bin");
        QVERIFY(file.Write(path));

        FlashDataMap out;
        std::memset(out.bytes(), 0xAB, sizeof out);
        QCOMPARE(ReadConfigFile(path, &out), expected);

        QByteArray expectedOut;
        if (expected == 0)
            expectedOut = file.record;
        else
            expectedOut.fill(char(0xAB), int(sizeof out));
        QCOMPARE(QByteArray(reinterpret_cast<const char*>(out.bytes()), int(sizeof out)), expectedOut);
    }

    void missingFileCannotBeOpened()
    {
        FlashDataMap out{};
        QCOMPARE(ReadConfigFile(files.filePath("nothing-here.bin"), &out), 1);
        QCOMPARE(ReadConfigFile(QString(), &out), 1);
    }

    void exportedFileReadsBack()
    {
        // The layout of an export of the 3395 model, byte for byte, read back into the record.
        const FlashDataMap record = SampleRecord();
        QByteArray file;
        file += QByteArray::fromHex("0000000C") + QByteArray("Velor") + QByteArray(7, '\0');
        file += QByteArray::fromHex("0000000C") + QByteArray("3395") + QByteArray(8, '\0');
        file += QByteArray::fromHex("000028D0") + QByteArray(reinterpret_cast<const char*>(record.bytes()), int(sizeof record));
        QCOMPARE(file.size(), 10484);
        QCOMPARE(ConfigFileWriter(record).Bytes(), file);

        // The button page's export writes exactly this.
        const QString path = files.filePath("export.bin");
        QVERIFY(Buttoninterface::WriteConfigFile(path, record));
        QFile exported(path);
        QVERIFY(exported.open(QIODevice::ReadOnly));
        QCOMPARE(exported.readAll(), file);
        FlashDataMap out{};
        QCOMPARE(ReadConfigFile(path, &out), 0);
        QVERIFY(std::memcmp(out.bytes(), record.bytes(), sizeof record) == 0);
        // The same file on the wired model (sensor 3950) is another model's.
        SelectModel(1);
        QCOMPARE(ReadConfigFile(path, &out), 2);
    }
};

QTEST_GUILESS_MAIN(TestReadConfigFile)
#include "tst_readconfigfile.moc"
