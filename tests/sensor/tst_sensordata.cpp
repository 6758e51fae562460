#include "device/ConfigSetting.h"
#include "pages/sensor/SensorFeatures.h"
#include "platform/AppPaths.h"
#include "support/TestHome.h"

#include <QFile>
#include <QtTest>

// The sensor header and the model list that ship beside the program: every model's DPI ranges must
// read, and every value the DPI slider can reach must come back from the device bytes unchanged.
class TestSensorData : public QObject
{
    Q_OBJECT
    TestHome home;

private slots:
    void initTestCase()
    {
        QVERIFY(QFile::exists(AppPaths::ProgramFolder() + "/driver_sensor.h"));
        QVERIFY(QFile::exists(AppPaths::ProgramFolder() + "/usersetting/Config.ini"));
    }

    void headerReads()
    {
        SensorFeatures sensor;
        sensor.ReadHeaderFile();
        QCOMPARE(sensor.SensorConstNames.size(), sensor.SensorConstValues.size());
        QVERIFY(!sensor.supportModeSel.isEmpty() || !sensor.supportLodCal.isEmpty() || !sensor.supportRipple.isEmpty()
                || !sensor.supportFixLine.isEmpty());
    }

    void modelRanges_data()
    {
        QTest::addColumn<int>("modelIndex");
        const int models = ConfigSetting::Instance()->GetValue("Option", "DeviceTotal").toInt();
        QVERIFY(models > 0);
        for (int index = 0; index < models; ++index)
            QTest::newRow(qPrintable(QString("Drive%1").arg(index + 1))) << index;
    }
    void modelRanges()
    {
        QFETCH(int, modelIndex);
        SensorFeatures sensor;
        sensor.ReadHeaderFile();
        sensor.ReadSensorModel(modelIndex);
        QVERIFY(!sensor.CurrentSensorModel.isEmpty());
        sensor.ReadDpiRanges(modelIndex);
        QVERIFY2(sensor.DpiRangeCount >= 1 && sensor.DpiRangeCount <= 4, "DPIRange must give 1 to 4 ranges");
        QCOMPARE(sensor.rangeMinText.toInt(), sensor.DpiRangeMinimums.first());
        QCOMPARE(sensor.rangeMaxText.toInt(), sensor.DpiRangeMaximums.last());

        for (int r = 0; r < sensor.DpiRangeCount; ++r) {
            const int minimum = sensor.DpiRangeMinimums[r];
            const int maximum = sensor.DpiRangeMaximums[r];
            const int step = sensor.DpiRangeSteps[r];
            QVERIFY2(minimum <= maximum, qPrintable(QString("range %1: minimum above maximum").arg(r)));
            QVERIFY2(step > 0, qPrintable(QString("range %1: no step").arg(r)));
            for (int value = minimum; value <= maximum; value += step) {
                const DpiLevelBytes bytes = sensor.EncodeDpi(value, 0);
                QVERIFY2(bytes.valid, qPrintable(QString("%1 DPI has no code").arg(value)));
                QCOMPARE(sensor.DecodeDpi(bytes.code, bytes.flags), value);
            }
        }
    }
};

QTEST_GUILESS_MAIN(TestSensorData)
#include "tst_sensordata.moc"
