// The whole-image format: every record a device can hold comes back byte for byte, and a record
// handed to the device is stored as the device can hold it.
#include "SimTestSupport.h"

#include <QRandomGenerator>

namespace {

constexpr int MacroBlocks = 0x3D0;
constexpr int MacroBlockSize = 592;

// Random bytes everywhere, with macro events inside what the device holds; every macro block full.
QByteArray RandomHoldableRecord(quint32 seed)
{
    QRandomGenerator random(seed);
    QByteArray record(HIDUSB_FLASH_RECORD_SIZE, '\0');
    for (char& byte : record)
        byte = char(random.bounded(256));
    for (int block = 0; block < 16; ++block) {
        const int b = MacroBlocks + block * MacroBlockSize;
        record[b] = char(30);
        record[b + 0x1F] = char(70);
        for (int e = 0; e < 70; ++e) {
            const int event = b + 0x20 + e * 8;
            record[event] = char(random.bounded(16));
            record[event + 1] = char(random.bounded(16));
            record[event + 3] = 0;
            record[event + 6] = record[event + 7] = 0; // delays up to 65,535 ms
        }
    }
    return record;
}

void SetEvent(QByteArray& record, int block, int event, int action, int kind, int usage, int spare, quint32 delay)
{
    char* e = record.data() + MacroBlocks + block * MacroBlockSize + 0x20 + event * 8;
    e[0] = char(action);
    e[1] = char(kind);
    e[2] = char(usage);
    e[3] = char(spare);
    for (int i = 0; i < 4; ++i)
        e[4 + i] = char(delay >> (8 * i));
}

QByteArray Encode(const QByteArray& record)
{
    QByteArray raw(HIDUSB_RAW_IMAGE_SIZE, '\0');
    SimControl_EncodeImage(reinterpret_cast<const uint8_t*>(record.constData()), reinterpret_cast<uint8_t*>(raw.data()));
    return raw;
}

} // namespace

class HidUsbImageTest : public QObject
{
    Q_OBJECT

private slots:
    void holdableRecordsRoundTrip_data();
    void holdableRecordsRoundTrip();
    void imageStaysInsideItsSize();
    void parserFillsTheWholeRecord();
    void deviceStoresWhatItCanHold();

private:
    TestHome home;
};

void HidUsbImageTest::holdableRecordsRoundTrip_data()
{
    QTest::addColumn<QByteArray>("record");
    for (quint32 seed : {1u, 2u, 77u, 4242u, 900001u})
        QTest::newRow(qPrintable(QStringLiteral("random %1").arg(seed))) << RandomHoldableRecord(seed);

    // The largest values the device holds in every field of every event.
    QByteArray extreme(HIDUSB_FLASH_RECORD_SIZE, '\xFF');
    for (int block = 0; block < 16; ++block)
        for (int e = 0; e < 70; ++e)
            SetEvent(extreme, block, e, 15, 15, 255, 0, 65535);
    QTest::newRow("largest values") << extreme;
    QTest::newRow("all zero") << QByteArray(HIDUSB_FLASH_RECORD_SIZE, '\0');
}

void HidUsbImageTest::holdableRecordsRoundTrip()
{
    QFETCH(QByteArray, record);
    QCOMPARE(ParseImage(Encode(record)), record);
}

void HidUsbImageTest::imageStaysInsideItsSize()
{
    const QByteArray record(HIDUSB_FLASH_RECORD_SIZE, '\xFF');
    QByteArray raw(HIDUSB_RAW_IMAGE_SIZE + 64, '\xEE');
    SimControl_EncodeImage(reinterpret_cast<const uint8_t*>(record.constData()), reinterpret_cast<uint8_t*>(raw.data()));
    QCOMPARE(raw.mid(HIDUSB_RAW_IMAGE_SIZE), QByteArray(64, '\xEE'));
    // 144 general bytes, 832 key-record bytes, 16 macro blocks of 312: the rest of the image is zero.
    const int used = 144 + 832 + 16 * 312;
    QCOMPARE(raw.mid(used, HIDUSB_RAW_IMAGE_SIZE - used), QByteArray(HIDUSB_RAW_IMAGE_SIZE - used, '\0'));
    QCOMPARE(raw.left(MacroBlocks), record.left(MacroBlocks));
}

void HidUsbImageTest::parserFillsTheWholeRecord()
{
    // Nothing of what the record held before survives a parse.
    QCOMPARE(ParseImage(QByteArray(HIDUSB_RAW_IMAGE_SIZE, '\0')), QByteArray(HIDUSB_FLASH_RECORD_SIZE, '\0'));
}

void HidUsbImageTest::deviceStoresWhatItCanHold()
{
    SimSession session;
    ReportLog::Connect(SimDevices::Receiver);

    QByteArray sent = RandomHoldableRecord(31);
    SetEvent(sent, 0, 0, 0x21, 0x34, 0x04, 0xAB, 65536);       // high bits, spare byte, delay one too long
    SetEvent(sent, 15, 69, 1, 2, 0x2C, 0, 0x12345678);         // a delay far too long
    QByteArray expected = sent;
    SetEvent(expected, 0, 0, 0x01, 0x04, 0x04, 0, 65535);
    SetEvent(expected, 15, 69, 1, 2, 0x2C, 0, 65535);

    QCOMPARE(Update(sent), uint8_t(1));
    QCOMPARE(DeviceRecord(SimDevices::Receiver), expected);
    QByteArray last(HIDUSB_FLASH_RECORD_SIZE, '\0');
    QCOMPARE(SimControl_LastUpdate(reinterpret_cast<uint8_t*>(last.data())), 1);
    QCOMPARE(last, sent); // the record as the program handed it

    // The whole image read back gives exactly what the device stored.
    QCOMPARE(UsbServer_ReadAllFlashData(), uint8_t(1));
    QVERIFY(SimControl_WaitIdle(5000));
    const auto reports = ReportLog::Take();
    QCOMPARE(int(reports.size()), 1);
    QCOMPARE(reports[0].data.size(), HIDUSB_RAW_IMAGE_SIZE);
    QCOMPARE(ParseImage(reports[0].data), expected);
}

QTEST_GUILESS_MAIN(HidUsbImageTest)
#include "tst_hidusbimage.moc"
