#include "device/DeviceState.h"
#include "device/PostMsg.h"
#include "pages/sensor/SensorFeatures.h"
#include "platform/hidusb/HIDUsb.h"
#include "support/TestHome.h"

#include <QSignalSpy>
#include <QtTest>
#include <cstring>

// This program stands in for the device library's online check and record update, so that the test
// sees exactly the record that reaches the device.
namespace {
bool deviceOnline = true;
int updateCount = 0;
FlashDataMap lastUpdate{};
}

extern "C" uint8_t VidEzorarA_GetDeviceOnLine(const char*)
{
    return deviceOnline ? 1 : 0;
}

extern "C" uint8_t ProtocolDataUpdate(const FlashDataMap* record)
{
    ++updateCount;
    lastUpdate = *record;
    return 1;
}

class TestWriteDPIValue : public QObject
{
    Q_OBJECT
    TestHome home;
    FlashDataMap baseline{};

    // The working copy holds a device record whose bytes are all distinct from what the writes put there.
    void OpenDevice(const QString& model, const QString& ranges, const QString& header)
    {
        for (std::size_t i = 0; i < sizeof baseline; ++i)
            baseline.bytes()[i] = uint8_t(i * 7 + 0x5A);
        baseline.dpiLevels[3].flags = 0x22;
        baseline.dpiLevels[4].flags = 0x00;
        AdoptDeviceConfig(baseline);
        deviceOnline = true;
        updateCount = 0;
        SensorPageRefreshing = false;

        SensorFeatures& sensor = SensorFeatures::Instance();
        sensor.CurrentSensorModel = model;
        sensor.ReadDpiRangeList(ranges.split(',', Qt::SkipEmptyParts));
        sensor.ReadHeaderText(header);
    }

    static QByteArray Bytes(const FlashDataMap& record)
    {
        return QByteArray(reinterpret_cast<const char*>(record.bytes()), sizeof record);
    }

private slots:
    void writesTheLevelsBytes_data()
    {
        QTest::addColumn<QString>("model");
        QTest::addColumn<QString>("ranges");
        QTest::addColumn<QString>("header");
        QTest::addColumn<int>("level");
        QTest::addColumn<int>("dpi");
        QTest::addColumn<int>("code");
        QTest::addColumn<int>("flags");

        const QString table = "#define SENSOR_3950_DPI_400 0x21\n";
        QTest::newRow("3950 code 259 at level 5") << "3950" << "50,10000,50,10100,26000,100,22" << "" << 5 << 26000 << 3 << 0x66;
        QTest::newRow("0x33 range 3 at level 7") << "3389" << "50,6000,50,6100,12000,100,12100,24000,100,24200,48000,200,33"
                                                 << "" << 7 << 30000 << 149 << 0x33;
        QTest::newRow("800 at level 0") << "3389" << "50,6000,50,33" << "" << 0 << 800 << 15 << 0;
        QTest::newRow("table value found") << "3950" << "50,10000,50,22" << table << 2 << 400 << 0x21 << 0;
        QTest::newRow("table value missing, entry flags 0x22: dpi / 100") << "3950" << "50,10000,50,22" << table << 3 << 1200
                                                                          << 12 << 0;
        QTest::newRow("table value missing, entry flags clear: dpi / 50") << "3950" << "50,10000,50,22" << table << 4 << 1200
                                                                          << 24 << 0;
    }
    void writesTheLevelsBytes()
    {
        QFETCH(QString, model);
        QFETCH(QString, ranges);
        QFETCH(QString, header);
        QFETCH(int, level);
        QFETCH(int, dpi);
        QFETCH(int, code);
        QFETCH(int, flags);
        OpenDevice(model, ranges, header);

        QVERIFY(WriteDPIValue(level, dpi));
        QCOMPARE(updateCount, 1);
        FlashDataMap expected = baseline;
        expected.dpiLevels[level].codeX = uint8_t(code);
        expected.dpiLevels[level].codeY = uint8_t(code);
        expected.dpiLevels[level].flags = uint8_t(flags);
        QCOMPARE(Bytes(lastUpdate), Bytes(expected));
        QCOMPARE(Bytes(DeviceConfigSnapshot()), Bytes(expected));
    }

    // A refused write leaves the working copy as it was and sends nothing; only a refusal by the
    // device's state raises the offline notice.
    void refusals_data()
    {
        QTest::addColumn<int>("level");
        QTest::addColumn<int>("dpi");
        QTest::addColumn<bool>("online");
        QTest::addColumn<bool>("current");
        QTest::addColumn<int>("notices");
        QTest::newRow("no level (-1)") << -1 << 800 << true << true << 0;
        QTest::newRow("level 8") << 8 << 800 << true << true << 0;
        QTest::newRow("level far out") << 100000 << 800 << true << true << 0;
        QTest::newRow("negative level") << -7 << 800 << true << true << 0;
        QTest::newRow("value without a code") << 0 << 20 << true << true << 0;
        QTest::newRow("value beyond the code range") << 1 << 30000 << true << true << 0;
        QTest::newRow("device offline") << 0 << 800 << false << true << 1;
        QTest::newRow("working copy not the device's") << 0 << 800 << true << false << 1;
    }
    void refusals()
    {
        QFETCH(int, level);
        QFETCH(int, dpi);
        QFETCH(bool, online);
        QFETCH(bool, current);
        OpenDevice("3389", "50,12800,50,22", "");
        deviceOnline = online;
        if (!current)
            InvalidateDeviceConfig();
        QSignalSpy notices(PostMsg::Instance(), SIGNAL(SigMouseOffLineo(int)));

        QVERIFY(!WriteDPIValue(level, dpi));
        QCOMPARE(updateCount, 0);
        QTEST(int(notices.count()), "notices");
        QCOMPARE(Bytes(DeviceConfigSnapshot()), Bytes(baseline));
    }
};

QTEST_GUILESS_MAIN(TestWriteDPIValue)
#include "tst_writedpivalue.moc"
