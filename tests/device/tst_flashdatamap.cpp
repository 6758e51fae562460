#include "device/FlashDataMap.h"

#include <QtTest>
#include <cstring>
#include <random>

// The record is the exchange format with the device library: every field at its fixed offset.
class TestFlashDataMap : public QObject
{
    Q_OBJECT
private slots:
    void fieldOffsets_data()
    {
        QTest::addColumn<int>("actual");
        QTest::addColumn<int>("expected");
#define FIELD(member, offset) QTest::newRow(#member) << int(offsetof(FlashDataMap, member)) << int(offset)
        FIELD(reportRate, 0x00);
        FIELD(dpiLevelCount, 0x01);
        FIELD(currentDpiLevel, 0x02);
        FIELD(configByte3, 0x03);
        FIELD(sensor20KFps, 0x04);
        FIELD(liftOffDistance, 0x05);
        FIELD(debounceTime, 0x06);
        FIELD(motionSync, 0x07);
        FIELD(sleepTime, 0x08);
        FIELD(straightLine, 0x09);
        FIELD(rippleControl, 0x0A);
        FIELD(movingOffLight, 0x0B);
        FIELD(performanceMode, 0x0C);
        FIELD(performanceTime, 0x0D);
        FIELD(sensorMode, 0x0E);
        FIELD(sensorAngle, 0x0F);
        FIELD(angleValid, 0x10);
        FIELD(reserved11, 0x11);
        FIELD(dpiLevels, 0x24);
        FIELD(dpiLedMode, 0x54);
        FIELD(dpiLedBrightness, 0x55);
        FIELD(dpiLedSpeed, 0x56);
        FIELD(dpiLedOn, 0x57);
        FIELD(lightMode, 0x58);
        FIELD(lightRed, 0x59);
        FIELD(lightGreen, 0x5A);
        FIELD(lightBlue, 0x5B);
        FIELD(lightSpeed, 0x5C);
        FIELD(lightBrightness, 0x5D);
        FIELD(lightOn, 0x5E);
        FIELD(buttons, 0x5F);
        FIELD(reserved8F, 0x8F);
        FIELD(keyRecords, 0x90);
        FIELD(macros, 0x3D0);
#undef FIELD
        QTest::newRow("sizeof") << int(sizeof(FlashDataMap)) << 10448;
    }
    void fieldOffsets()
    {
        QFETCH(int, actual);
        QFETCH(int, expected);
        QCOMPARE(actual, expected);
    }

    // Array elements sit at base + stride * i, and the members of each element where the device expects them.
    void arrayStrides()
    {
        FlashDataMap record{};
        const uint8_t* base = record.bytes();
        for (int i = 0; i < DpiLevelCount; ++i) {
            QCOMPARE(reinterpret_cast<const uint8_t*>(&record.dpiLevels[i].codeX) - base, 0x24 + 6 * i);
            QCOMPARE(reinterpret_cast<const uint8_t*>(&record.dpiLevels[i].red) - base, 0x24 + 6 * i + 3);
        }
        for (int i = 0; i < ButtonSlotCount; ++i) {
            QCOMPARE(reinterpret_cast<const uint8_t*>(&record.buttons[i]) - base, 0x5F + 3 * i);
            QCOMPARE(reinterpret_cast<const uint8_t*>(&record.keyRecords[i]) - base, 0x90 + 52 * i);
            QCOMPARE(reinterpret_cast<const uint8_t*>(&record.keyRecords[i].events[0]) - base, 0x90 + 52 * i + 4);
            QCOMPARE(reinterpret_cast<const uint8_t*>(&record.macros[i]) - base, 0x3D0 + 592 * i);
            QCOMPARE(reinterpret_cast<const uint8_t*>(&record.macros[i].eventCount) - base, 0x3D0 + 592 * i + 0x1F);
            QCOMPARE(reinterpret_cast<const uint8_t*>(&record.macros[i].events[0]) - base, 0x3D0 + 592 * i + 0x20);
        }
        QCOMPARE(reinterpret_cast<const uint8_t*>(&record.macros[15].events[69].delay) + 4 - base, 0x28D0);
    }

    // Multi-byte fields are little-endian, as the device library lays them out.
    void multiByteFieldsAreLittleEndian()
    {
        FlashDataMap record{};
        record.keyRecords[2].events[1].usage = 0x1234;
        record.macros[3].events[0].delay = 0x0A0B0C0D;
        const uint8_t* usage = record.bytes() + 0x90 + 52 * 2 + 4 + 8 + 2;
        QCOMPARE(int(usage[0]), 0x34);
        QCOMPARE(int(usage[1]), 0x12);
        const uint8_t* delay = record.bytes() + 0x3D0 + 592 * 3 + 0x20 + 4;
        QCOMPARE(int(delay[0]), 0x0D);
        QCOMPARE(int(delay[3]), 0x0A);
    }

    // A copy carries every byte, the ones the program never names included.
    void wholeRecordCopiesByteForByte()
    {
        FlashDataMap original;
        std::mt19937 random(10448);
        for (std::size_t i = 0; i < sizeof original; ++i)
            original.bytes()[i] = uint8_t(random());
        const FlashDataMap copy = original;
        QCOMPARE(std::memcmp(copy.bytes(), original.bytes(), sizeof original), 0);
        FlashDataMap assigned{};
        assigned = original;
        QCOMPARE(std::memcmp(assigned.bytes(), original.bytes(), sizeof original), 0);
    }
};

QTEST_APPLESS_MAIN(TestFlashDataMap)
#include "tst_flashdatamap.moc"
