#include "app/ReadConfigFile.h"
#include "device/DeviceDiscovery.h"
#include "pages/buttons/Buttoninterface.h"
#include "support/FittingRecord.h"
#include "support/TestHome.h"
#include "window/ConfigFileWriter.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <cstring>

Q_DECLARE_METATYPE(ConfigFileWriter)

namespace {

// Three models whose sensor names are 4, 12 and 19 bytes long, and one of 11 bytes.
const char* const ModelList =
    "[Option]\nDeviceTotal=4\n"
    "[Drive1]\nSensor=MzM5NQ==\nDPIMaxGrade=8\n"                            // 3395
    "[Drive2]\nSensor=UEFXMzM5NUFCQ0RF\nDPIMaxGrade=8\n"                    // PAW3395ABCDE
    "[Drive3]\nSensor=UEFXMzk1MC1MT05HLVNFTlNPUg==\nDPIMaxGrade=8\n"        // PAW3950-LONG-SENSOR
    "[Drive4]\nSensor=UEFXMzM5NUFCQ0Q=\nDPIMaxGrade=8\n";                   // PAW3395ABCD

QByteArray Field(const QByteArray& text)
{
    QByteArray field = text.left(12);
    field.append(QByteArray(12 - field.size(), '\0'));
    return field;
}

FlashDataMap Record()
{
    FlashDataMap record{};
    for (std::size_t i = 0; i < sizeof record; ++i)
        record.bytes()[i] = uint8_t(i * 11 + 5);
    record.dpiLevelCount = 3;
    record.currentDpiLevel = 0;
    return FittingRecord(record);
}

void SelectModel(int index)
{
    CurrentDeviceInfo.Update([index](DeviceAllInfo& info) { info.modelIndex = index; });
}

} // namespace

// The sensor field of an import names the model's sensor also when the name does not fit the field
// whole: as this program's export cuts it (11 bytes and a zero) or as a full field without a zero.
class TestImportSensorName : public QObject
{
    Q_OBJECT
    TestHome home;
    QTemporaryDir programFolder;
    QTemporaryDir files;

private slots:
    void initTestCase()
    {
        QDir(programFolder.path()).mkpath(QStringLiteral("usersetting"));
        QFile list(programFolder.path() + QStringLiteral("/usersetting/Config.ini"));
        QVERIFY(list.open(QIODevice::WriteOnly));
        list.write(ModelList);
        list.close();
        AppPaths::SetProgramFolder(programFolder.path());
    }

    void fieldMatchesName_data()
    {
        QTest::addColumn<QByteArray>("field");
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("matches");
        QTest::newRow("short name") << Field("3395") << "3395" << true;
        QTest::newRow("short name, field shorter") << Field("339") << "3395" << false;
        QTest::newRow("short name, field longer") << Field("33950") << "3395" << false;
        QTest::newRow("short name, field filled by repeats") << QByteArray("339533953395") << "3395" << false;
        QTest::newRow("11-byte name whole") << Field("PAW3395ABCD") << "PAW3395ABCD" << true;
        QTest::newRow("11-byte name, a 12th byte") << QByteArray("PAW3395ABCDE") << "PAW3395ABCD" << false;
        QTest::newRow("12-byte name as this program cuts it") << Field("PAW3395ABCD") << "PAW3395ABCDE" << true;
        QTest::newRow("12-byte name filling the field") << QByteArray("PAW3395ABCDE") << "PAW3395ABCDE" << true;
        QTest::newRow("12-byte name cut to 10") << Field("PAW3395ABC") << "PAW3395ABCDE" << false;
        QTest::newRow("12-byte name, last byte other") << QByteArray("PAW3395ABCDX") << "PAW3395ABCDE" << false;
        QTest::newRow("19-byte name as this program cuts it") << Field("PAW3950-LON") << "PAW3950-LONG-SENSOR" << true;
        QTest::newRow("19-byte name filling the field") << QByteArray("PAW3950-LONG") << "PAW3950-LONG-SENSOR" << true;
        QTest::newRow("19-byte name cut to 10") << Field("PAW3950-LO") << "PAW3950-LONG-SENSOR" << false;
        QTest::newRow("another long name of the same start") << Field("PAW3950-LON") << "PAW3950-LONGER" << true;
        QTest::newRow("empty field for a long name") << Field("") << "PAW3950-LONG-SENSOR" << false;
        // The export cuts bytes, not characters: a cut through a character still names the model.
        QTest::newRow("name cut inside a character") << Field(QByteArray("\xC3\x89" "CLAIR-339")) << QString::fromUtf8("\xC3\x89" "CLAIR-3395X") << true;
    }
    void fieldMatchesName()
    {
        QFETCH(QByteArray, field);
        QFETCH(QString, name);
        QFETCH(bool, matches);
        QCOMPARE(ConfigFile::SensorFieldMatches(field, name), matches);
    }

    // Each model's own export imports on it, whatever the length of its sensor name; another
    // model's export stays refused.
    void ownExportImports_data()
    {
        QTest::addColumn<int>("exportModel");
        QTest::addColumn<int>("importModel");
        QTest::addColumn<int>("expected");
        QTest::newRow("4-byte name") << 0 << 0 << 0;
        QTest::newRow("12-byte name") << 1 << 1 << 0;
        QTest::newRow("19-byte name") << 2 << 2 << 0;
        QTest::newRow("11-byte name") << 3 << 3 << 0;
        QTest::newRow("12-byte name's export on the 11-byte model") << 1 << 3 << 0;
        QTest::newRow("11-byte name's export on the 12-byte model") << 3 << 1 << 0;
        QTest::newRow("12-byte name's export on the 19-byte model") << 1 << 2 << 2;
        QTest::newRow("19-byte name's export on the 4-byte model") << 2 << 0 << 2;
    }
    void ownExportImports()
    {
        QFETCH(int, exportModel);
        QFETCH(int, importModel);
        QFETCH(int, expected);
        SelectModel(exportModel);
        const QString path = files.filePath(QStringLiteral("export.bin"));
        QVERIFY(Buttoninterface::WriteConfigFile(path, Record()));
        SelectModel(importModel);
        FlashDataMap out;
        std::memset(out.bytes(), 0xAB, sizeof out);
        QCOMPARE(ReadConfigFile(path, &out), expected);
        if (expected == 0)
            QVERIFY(std::memcmp(out.bytes(), Record().bytes(), sizeof out) == 0);
        else
            QCOMPARE(out.bytes()[0], uint8_t(0xAB));
    }

    // A file of the original layout, whose 12-byte field holds the first 12 bytes of the name and no
    // zero, imports on the model.
    void originalLayoutFullField()
    {
        ConfigFileWriter file(Record());
        file.sensor = QByteArray("PAW3950-LONG");
        const QString path = files.filePath(QStringLiteral("original.bin"));
        QVERIFY(file.Write(path));
        SelectModel(2);
        FlashDataMap out{};
        QCOMPARE(ReadConfigFile(path, &out), 0);
        QCOMPARE(QByteArray(reinterpret_cast<const char*>(out.bytes()), int(sizeof out)), file.record);
        SelectModel(0);
        QCOMPARE(ReadConfigFile(path, &out), 2);
    }
};

QTEST_GUILESS_MAIN(TestImportSensorName)
#include "tst_importsensorname.moc"
