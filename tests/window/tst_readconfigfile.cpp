#include "app/ReadConfigFile.h"
#include "device/DeviceDiscovery.h"
#include "pages/buttons/Buttoninterface.h"
#include "pages/sensor/SensorFeatures.h"
#include "support/FittingRecord.h"
#include "support/TestHome.h"
#include "window/ConfigFileWriter.h"

#include <QTemporaryDir>
#include <QtTest>

#include <cstring>
#include <sys/stat.h>

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
        return FittingRecord(record);
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

        // A file that ends inside a block cannot be read; one whose blocks are not this program's is
        // another kind of file.
        QTest::newRow("record cut short") << with([](ConfigFileWriter& w) { w.cutAt = 36 + 5000; }) << 0 << 1;
        QTest::newRow("cut inside a length") << with([](ConfigFileWriter& w) { w.cutAt = 18; }) << 0 << 1;
        QTest::newRow("empty file") << with([](ConfigFileWriter& w) { w.cutAt = 0; }) << 0 << 1;
        QTest::newRow("marker in other letter case") << with([](ConfigFileWriter& w) { w.marker = w.Field("velor"); }) << 0 << 2;
        QTest::newRow("marker without its zero byte")
            << with([](ConfigFileWriter& w) { w.marker = QByteArray("VelorVelorVe"); }) << 0 << 2;
        QTest::newRow("marker block of 13 bytes")
            << with([](ConfigFileWriter& w) { w.marker.append('\0'); }) << 0 << 2;
        QTest::newRow("sensor block of 11 bytes") << with([](ConfigFileWriter& w) { w.sensor.chop(1); }) << 0 << 2;
        QTest::newRow("record block of 10,000 bytes") << with([](ConfigFileWriter& w) { w.record.truncate(10000); }) << 0 << 2;
        QTest::newRow("record block of 10,449 bytes") << with([](ConfigFileWriter& w) { w.record.append('\x01'); }) << 0 << 2;
        QTest::newRow("record length far past the file")
            << with([](ConfigFileWriter& w) { w.recordLength = 0xFFFFFFFFu; }) << 0 << 2;
        QTest::newRow("one byte after the blocks") << with([](ConfigFileWriter& w) { w.trailing = QByteArray(1, '\0'); }) << 0 << 2;
        QTest::newRow("a second record after the blocks")
            << with([](ConfigFileWriter& w) { w.trailing = w.Bytes(); }) << 0 << 2;

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

        // One row per setting that no control of the program can set; each row changes one byte
        // of a record that is accepted as it is.
        const auto setting = [&sample](std::size_t offset, uint8_t value) {
            FlashDataMap record = sample;
            record.bytes()[offset] = value;
            return ConfigFileWriter(record);
        };
        QTest::newRow("report rate 0") << setting(FlashOffset::ReportRate, 0) << 0 << 2;
        QTest::newRow("report rate of two rows") << setting(FlashOffset::ReportRate, 3) << 0 << 2;
        QTest::newRow("report rate 128") << setting(FlashOffset::ReportRate, 128) << 0 << 2;
        QTest::newRow("report rate 0xFF") << setting(FlashOffset::ReportRate, 0xFF) << 0 << 2;
        QTest::newRow("lift-off 0") << setting(FlashOffset::LiftOffDistance, 0) << 0 << 2;
        QTest::newRow("lift-off 4") << setting(FlashOffset::LiftOffDistance, 4) << 0 << 2;
        QTest::newRow("lift-off 0xFF") << setting(FlashOffset::LiftOffDistance, 0xFF) << 0 << 2;
        QTest::newRow("debounce 16") << setting(FlashOffset::DebounceTime, 16) << 0 << 2;
        QTest::newRow("debounce 0xFF") << setting(FlashOffset::DebounceTime, 0xFF) << 0 << 2;
        QTest::newRow("sleep time 0") << setting(FlashOffset::SleepTime, 0) << 0 << 2;
        QTest::newRow("sleep time 5") << setting(FlashOffset::SleepTime, 5) << 0 << 2;
        QTest::newRow("sleep time 0xFF") << setting(FlashOffset::SleepTime, 0xFF) << 0 << 2;
        QTest::newRow("motion sync 2") << setting(FlashOffset::MotionSync, 2) << 0 << 2;
        QTest::newRow("angle snapping 0xFF") << setting(FlashOffset::StraightLine, 0xFF) << 0 << 2;
        QTest::newRow("ripple control 2") << setting(FlashOffset::RippleControl, 2) << 0 << 2;
        QTest::newRow("DPI codes X and Y differ") << setting(FlashOffset::DpiLevels + 1, 8) << 0 << 2;
        QTest::newRow("DPI level code 0xFF with every flag")
            << [&sample] {
                   FlashDataMap record = sample;
                   record.dpiLevels[0] = DpiLevelEntry{0xFF, 0xFF, 0xFF, 0, 0, 0};
                   return ConfigFileWriter(record);
               }()
            << 0 << 2;
        QTest::newRow("DPI range flags on a model without ranges") << setting(FlashOffset::DpiLevels + 2, 0x22) << 0 << 2;
        QTest::newRow("DPI level past the count but shown by the model")
            << setting(FlashOffset::DpiLevels + 7 * sizeof(DpiLevelEntry) + 2, 0x11) << 0 << 2;
        QTest::newRow("every settings byte 0xFF but count and level")
            << [&sample] {
                   FlashDataMap record = sample;
                   std::memset(record.bytes(), 0xFF, FlashOffset::DpiLed);
                   record.dpiLevelCount = 4;
                   record.currentDpiLevel = 1;
                   return ConfigFileWriter(record);
               }()
            << 0 << 2;

        // Values the panels do set are taken, each on its own.
        QTest::newRow("report rate 8000 Hz") << setting(FlashOffset::ReportRate, 64) << 0 << 0;
        QTest::newRow("report rate 125 Hz") << setting(FlashOffset::ReportRate, 8) << 0 << 0;
        QTest::newRow("lift-off 0.7 mm") << setting(FlashOffset::LiftOffDistance, 3) << 0 << 0;
        QTest::newRow("debounce 0") << setting(FlashOffset::DebounceTime, 0) << 0 << 0;
        QTest::newRow("debounce 15") << setting(FlashOffset::DebounceTime, 15) << 0 << 0;
        QTest::newRow("sleep time 10 s") << setting(FlashOffset::SleepTime, 1) << 0 << 0;
        QTest::newRow("sleep time 40 min") << setting(FlashOffset::SleepTime, 240) << 0 << 0;
        QTest::newRow("switches on")
            << [&sample] {
                   FlashDataMap record = sample;
                   record.motionSync = record.straightLine = record.rippleControl = 1;
                   return ConfigFileWriter(record);
               }()
            << 0 << 0;
        QTest::newRow("26000 DPI, coded with the high bits") << [&sample] {
            FlashDataMap record = sample;
            record.dpiLevels[3] = DpiLevelEntry{7, 7, 0x88, 1, 2, 3};
            return ConfigFileWriter(record);
        }() << 0 << 0;
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

    // Only a regular file is opened: a FIFO would hold the reader until a writer came, and a folder
    // or a device holds no configuration. A link to a good file is that file.
    void onlyRegularFilesAreRead_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<int>("expected");
        QTest::newRow("FIFO") << "fifo" << 1;
        QTest::newRow("folder") << "folder" << 1;
        QTest::newRow("device node") << "device" << 1;
        QTest::newRow("link to a FIFO") << "link to fifo" << 1;
        QTest::newRow("link to a good file") << "link to file" << 0;
    }
    void onlyRegularFilesAreRead()
    {
        QFETCH(QString, kind);
        QFETCH(int, expected);
        const QString good = files.filePath("good.bin");
        QVERIFY(ConfigFileWriter(SampleRecord()).Write(good));
        const QString fifo = files.filePath("pipe.bin");
        if (!QFile::exists(fifo))
            QCOMPARE(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
        QString path;
        if (kind == "fifo")
            path = fifo;
        else if (kind == "folder")
            path = files.path();
        else if (kind == "device")
            path = "/dev/zero";
        else
            path = files.filePath(kind.replace(' ', '-'));
        if (kind == "link-to-fifo" && !QFile::exists(path))
            QVERIFY(QFile::link(fifo, path));
        if (kind == "link-to-file" && !QFile::exists(path))
            QVERIFY(QFile::link(good, path));

        FlashDataMap out;
        std::memset(out.bytes(), 0xAB, sizeof out);
        QCOMPARE(ReadConfigFile(path, &out), expected);
        if (expected == 0)
            QCOMPARE(QByteArray(reinterpret_cast<const char*>(out.bytes()), int(sizeof out)), ConfigFileWriter(SampleRecord()).record);
        else
            QCOMPARE(out.bytes()[100], uint8_t(0xAB));
    }

    // A valid file followed by 100 MB is refused without reading what follows.
    void hugeTailIsRefused()
    {
        const QString path = files.filePath("huge.bin");
        QVERIFY(ConfigFileWriter(SampleRecord()).Write(path));
        QFile file(path);
        QVERIFY(file.resize(100 * 1024 * 1024));
        FlashDataMap out{};
        QCOMPARE(ReadConfigFile(path, &out), 2);
    }

    // Every value the panels write, exported on each model, imports again: the checks refuse
    // nothing the program itself writes.
    void exportOfEveryTableValueImports_data()
    {
        QTest::addColumn<int>("offset");
        QTest::addColumn<QList<int>>("values");
        QTest::newRow("report rates") << int(FlashOffset::ReportRate) << QList<int>{8, 4, 2, 1, 16, 32, 64};
        QTest::newRow("lift-off distances") << int(FlashOffset::LiftOffDistance) << QList<int>{1, 2, 3};
        QTest::newRow("debounce times") << int(FlashOffset::DebounceTime)
                                        << QList<int>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15};
        QTest::newRow("sleep times") << int(FlashOffset::SleepTime) << QList<int>{1, 3, 6, 12, 18, 30, 60, 90, 180, 210, 240};
        QTest::newRow("motion sync") << int(FlashOffset::MotionSync) << QList<int>{0, 1};
        QTest::newRow("angle snapping") << int(FlashOffset::StraightLine) << QList<int>{0, 1};
        QTest::newRow("ripple control") << int(FlashOffset::RippleControl) << QList<int>{0, 1};
    }
    void exportOfEveryTableValueImports()
    {
        QFETCH(int, offset);
        QFETCH(QList<int>, values);
        const QString path = files.filePath("table.bin");
        for (int model : {0, 1}) {
            SelectModel(model);
            for (int value : values) {
                FlashDataMap record = SampleRecord();
                record.bytes()[offset] = uint8_t(value);
                QVERIFY(Buttoninterface::WriteConfigFile(path, record));
                FlashDataMap out{};
                QVERIFY2(ReadConfigFile(path, &out) == 0, qPrintable(QString("model %1, value %2").arg(model).arg(value)));
                QVERIFY(std::memcmp(out.bytes(), record.bytes(), sizeof record) == 0);
            }
        }
    }

    // Every DPI value the editor writes, from the lowest to the model's highest in steps of 50,
    // exports and imports on its model.
    void everyWrittenDpiValueImports()
    {
        const QString path = files.filePath("dpi.bin");
        for (int model : {0, 1}) {
            SelectModel(model);
            SensorFeatures features;
            features.ReadHeaderFile();
            features.ReadSensorModel(model);
            features.ReadDpiRanges(model);
            const int highest = features.rangeMaxText.toInt();
            QVERIFY(highest >= 26000);
            for (int dpi = 50; dpi <= highest; dpi += 50) {
                const DpiLevelBytes bytes = features.EncodeDpi(dpi, 0);
                QVERIFY(bytes.valid);
                FlashDataMap record = SampleRecord();
                record.dpiLevels[2].codeX = record.dpiLevels[2].codeY = bytes.code;
                record.dpiLevels[2].flags = bytes.flags;
                QVERIFY(Buttoninterface::WriteConfigFile(path, record));
                FlashDataMap out{};
                QVERIFY2(ReadConfigFile(path, &out) == 0, qPrintable(QString("model %1, %2 DPI").arg(model).arg(dpi)));
            }
        }
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
