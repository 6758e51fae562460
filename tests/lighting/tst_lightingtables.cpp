#include "device/DeviceDiscovery.h"
#include "device/ModelFeatures.h"
#include "device/SleepTimeCodes.h"
#include "pages/lighting/ReceiverLightRecords.h"
#include "support/TestHome.h"
#include "widgets/DpiLightEffect.h"

#include <QFrame>
#include <cstddef>
#include <QtTest>

// The small tables the light and sleep panels share, and the model feature the receiver panels ask.
class TestLightingTables : public QObject
{
    Q_OBJECT
    TestHome home;

private slots:
    void sleepTimeRows_data()
    {
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("code");
        QTest::addColumn<int>("shown");
        QTest::addColumn<bool>("minutes");
        QTest::newRow("10 s") << 0 << 1 << 10 << false;
        QTest::newRow("30 s") << 1 << 3 << 30 << false;
        QTest::newRow("1 min") << 2 << 6 << 1 << true;
        QTest::newRow("5 min") << 3 << 30 << 5 << true;
        QTest::newRow("10 min") << 4 << 60 << 10 << true;
        QTest::newRow("15 min") << 5 << 90 << 15 << true;
        QTest::newRow("20 min") << 6 << 120 << 20 << true;
        QTest::newRow("25 min") << 7 << 150 << 25 << true;
        QTest::newRow("30 min") << 8 << 180 << 30 << true;
        QTest::newRow("35 min") << 9 << 210 << 35 << true;
        QTest::newRow("40 min") << 10 << 240 << 40 << true;
        QTest::newRow("below the table") << -1 << -1 << 0 << false;
        QTest::newRow("above the table") << 11 << -1 << 0 << false;
    }
    void sleepTimeRows()
    {
        QFETCH(int, row);
        QFETCH(int, code);
        QFETCH(int, shown);
        QFETCH(bool, minutes);
        QCOMPARE(SleepTimeCode(row), code);
        // A slider's position is the row + 1.
        QCOMPARE(SleepDisplayNumber(row + 1), shown);
        QCOMPARE(SleepDisplayInMinutes(row + 1), minutes);
    }

    void brightnessCodes_data()
    {
        QTest::addColumn<int>("step");
        QTest::addColumn<int>("code");
        const int codes[10] = {16, 30, 60, 90, 128, 150, 180, 210, 230, 255};
        for (int step = 1; step <= 10; ++step)
            QTest::addRow("step %d", step) << step << codes[step - 1];
    }
    void brightnessCodes()
    {
        QFETCH(int, step);
        QFETCH(int, code);
        QCOMPARE(DpiLightBrightnessCode(step), code);
        QCOMPARE(DpiLightBrightnessStep(code), step);
    }

    void brightnessOutsideTheTable()
    {
        QCOMPARE(DpiLightBrightnessCode(0), -1);
        QCOMPARE(DpiLightBrightnessCode(11), -1);
        // A code the table does not hold is its own step; the slider clamps it.
        QCOMPARE(DpiLightBrightnessStep(40), 40);
        QCOMPARE(DpiLightBrightnessStep(0), 0);
    }

    void rowsOfAMode_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<QVector<bool>>("visible"); // speed slider, box, line; light slider, box, line
        QTest::addColumn<bool>("applied");
        QTest::newRow("off") << 0 << QVector<bool>{false, false, true, false, false, true} << true;
        QTest::newRow("steady") << 1 << QVector<bool>{false, false, true, true, true, false} << true;
        QTest::newRow("breathing") << 2 << QVector<bool>{true, true, false, false, false, true} << true;
        QTest::newRow("mode 3 changes nothing") << 3 << QVector<bool>{true, true, true, true, true, true} << false;
        QTest::newRow("mode -1 changes nothing") << -1 << QVector<bool>{true, true, true, true, true, true} << false;
    }
    void rowsOfAMode()
    {
        QFETCH(int, mode);
        QFETCH(QVector<bool>, visible);
        QFETCH(bool, applied);
        QFrame host;
        QWidget* widgets[6];
        for (QWidget*& widget : widgets)
            widget = new QWidget(&host);
        host.show();
        const DpiLightRows rows{widgets[0], widgets[1], widgets[2], widgets[3], widgets[4], widgets[5]};
        QCOMPARE(ApplyDpiLightMode(rows, mode), applied);
        for (int i = 0; i < 6; ++i)
            QVERIFY2(widgets[i]->isVisible() == visible.at(i), qPrintable(QString::number(i)));
    }

    // Model 1 (Config.ini "Adveanced" = 0,1) has the indicator meaning, model 2 ("-1,-1") has not,
    // and a model without the list has not.
    void indicatorMeaningOfTheModel_data()
    {
        QTest::addColumn<int>("modelIndex");
        QTest::addColumn<bool>("has");
        QTest::newRow("model 1") << 0 << true;
        QTest::newRow("model 2 marks it absent") << 1 << false;
        QTest::newRow("no such model") << 40 << false;
    }
    void indicatorMeaningOfTheModel()
    {
        QFETCH(int, modelIndex);
        QFETCH(bool, has);
        QCOMPARE(ModelHasIndicatorMeaning(modelIndex), has);
        CurrentDeviceInfo.Update([&](DeviceAllInfo& info) { info.modelIndex = modelIndex; });
        QCOMPARE(ModelHasIndicatorMeaning(), has);
    }

    // The receiver's records are the device library's exchange format, byte for byte; a page being
    // built starts from zeroed records and nothing remembered.
    void receiverRecordsStartZeroed()
    {
        QCOMPARE(offsetof(DongleRGBBar, on), std::size_t(6));
        QCOMPARE(offsetof(DongleRGBBar, brightness), std::size_t(5));
        QCOMPARE(offsetof(DongleRGBBar, speed), std::size_t(4));
        *DongleRGBBarImage = DongleRGBBar{1, 2, 3, 4, 5, 6, 1};
        *DongleIndicatorLedImage = DongleIndicatorLed{{1, 2, 3}};
        LastMouseLightMode = LastReceiverLightMode = LastReceiverLightBrightness = LastReceiverLightSpeed = 5;
        LastIndicatorLedModes[2] = 3;
        ResetReceiverLightRecords();
        QCOMPARE(QByteArray(reinterpret_cast<const char*>(RecordBytes(DongleRGBBarImage)), 7), QByteArray(7, 0));
        QCOMPARE(QByteArray(reinterpret_cast<const char*>(RecordBytes(DongleIndicatorLedImage)), 3), QByteArray(3, 0));
        for (int value : {LastMouseLightMode, LastReceiverLightMode, LastReceiverLightBrightness, LastReceiverLightSpeed,
                          LastIndicatorLedModes[0], LastIndicatorLedModes[1], LastIndicatorLedModes[2]})
            QCOMPARE(value, 0);
    }
};

QTEST_MAIN(TestLightingTables)
#include "tst_lightingtables.moc"
