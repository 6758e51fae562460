#include "device/DeviceInfoCache.h"
#include "support/TestHome.h"

#include <QDataStream>
#include <QFile>
#include <QtTest>
#include <cstring>

class TestDeviceInfoCache : public QObject
{
    Q_OBJECT
    TestHome home;

    static FlashDataMap patterned(uint8_t seed)
    {
        FlashDataMap record;
        for (std::size_t i = 0; i < sizeof record; ++i)
            record.bytes()[i] = uint8_t(i * 31 + seed);
        return record;
    }
    static void writeRaw(const QString& name, quint32 length, int bodyBytes)
    {
        QFile file(DeviceCacheFolder() + name);
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        QDataStream stream(&file);
        stream << length;
        stream.writeRawData(QByteArray(bodyBytes, '\x5A').constData(), bodyBytes);
    }

private slots:
    void initTestCase() { home.MakeUserFolders(); }

    void fileNames_data()
    {
        QTest::addColumn<int>("cid");
        QTest::addColumn<int>("mid");
        QTest::addColumn<QString>("name");
        QTest::newRow("padded upper case") << 0x0A << 0x3F << "Device_CID0A_MID3F.bin";
        QTest::newRow("letters") << 5 << 0xA0 << "Device_CID05_MIDA0.bin";
        QTest::newRow("zero") << 0 << 0 << "Device_CID00_MID00.bin";
    }
    void fileNames()
    {
        QFETCH(int, cid);
        QFETCH(int, mid);
        QFETCH(QString, name);
        QCOMPARE(DeviceCacheFileName(uint8_t(cid), uint8_t(mid)), name);
    }

    void writeThenReadGivesTheSameRecord()
    {
        const FlashDataMap written = patterned(7);
        QVERIFY(WriteDeviceInfoCache("Device_CID1C_MID12.bin", written));
        QCOMPARE(QFileInfo(DeviceCacheFolder() + "Device_CID1C_MID12.bin").size(), qint64(10452));
        QFile file(DeviceCacheFolder() + "Device_CID1C_MID12.bin");
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.read(4), QByteArray("\x00\x00\x28\xD0", 4));
        file.close();

        FlashDataMap read{};
        QVERIFY(ReadDeviceInfoCache("Device_CID1C_MID12.bin", &read));
        QCOMPARE(std::memcmp(read.bytes(), written.bytes(), sizeof read), 0);
    }

    // A damaged or foreign file is refused whole and the caller's record stays as it was.
    void damagedFilesAreRefused_data()
    {
        QTest::addColumn<quint32>("length");
        QTest::addColumn<int>("bodyBytes");
        QTest::newRow("ends early") << quint32(10448) << 5000;
        QTest::newRow("longer record") << quint32(20000) << 20000;
        QTest::newRow("shorter record") << quint32(100) << 100;
        QTest::newRow("length only") << quint32(10448) << 0;
        QTest::newRow("huge length") << quint32(0xFFFFFFFF) << 16;
    }
    void damagedFilesAreRefused()
    {
        QFETCH(quint32, length);
        QFETCH(int, bodyBytes);
        writeRaw("Device_CID01_MID02.bin", length, bodyBytes);
        FlashDataMap out = patterned(3);
        const FlashDataMap before = out;
        QVERIFY(!ReadDeviceInfoCache("Device_CID01_MID02.bin", &out));
        QCOMPARE(std::memcmp(out.bytes(), before.bytes(), sizeof out), 0);
    }

    void missingFileIsRefused()
    {
        FlashDataMap out = patterned(1);
        QVERIFY(!ReadDeviceInfoCache("Device_CIDFF_MIDFF.bin", &out));
        QCOMPARE(int(out.bytes()[0]), int(patterned(1).bytes()[0]));
    }

    // A write that cannot complete keeps the last good cache file.
    void failedWriteKeepsLastGoodFile()
    {
        const FlashDataMap good = patterned(9);
        QVERIFY(WriteDeviceInfoCache("Device_CID1C_MID13.bin", good));
        QFile::setPermissions(DeviceCacheFolder(), QFile::ReadOwner | QFile::ExeOwner);
        const bool written = WriteDeviceInfoCache("Device_CID1C_MID13.bin", patterned(10));
        QFile::setPermissions(DeviceCacheFolder(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        if (written)
            QSKIP("the folder stays writable for this user (running as root)");
        FlashDataMap read{};
        QVERIFY(ReadDeviceInfoCache("Device_CID1C_MID13.bin", &read));
        QCOMPARE(std::memcmp(read.bytes(), good.bytes(), sizeof read), 0);
    }

    void missingFolderMakesWriteFail()
    {
        QVERIFY(!WriteDeviceInfoCache("no-such-folder/Device_CID00_MID00.bin", patterned(0)));
    }
};

QTEST_GUILESS_MAIN(TestDeviceInfoCache)
#include "tst_deviceinfocache.moc"
