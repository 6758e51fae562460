// The devices' flash: what was written survives a restart of the library, written whole each time;
// a missing or damaged flash gives the model's defaults.
#include "SimTestSupport.h"

#include <QDir>
#include <QFile>

using namespace SimDevices;

namespace {

QByteArray Indicator()
{
    QByteArray record(HIDUSB_DONGLE_RGB_SIZE, '\0');
    VidEzorarA_Get4KDongleRGBValue(SimControl_DevicePath(Receiver), reinterpret_cast<uint8_t*>(record.data()));
    return record;
}

QByteArray LightBar()
{
    QByteArray record(HIDUSB_DONGLE_RGB_BAR_SIZE, '\0');
    VidEzorarA_GetDongleRGBBarMode(SimControl_DevicePath(Receiver), reinterpret_cast<uint8_t*>(record.data()));
    return record;
}

uint8_t LongRange()
{
    uint8_t mode = 's';
    VidEzorarA_GetLongRangeMode(SimControl_DevicePath(Receiver), &mode);
    return mode;
}

QByteArray ChangedRecord(int device)
{
    QByteArray record = DeviceRecord(device);
    record[0] = char(16);
    record[0x11] = char(0x99);                      // a byte the program never names travels too
    record[0x90] = char(2);                         // a key record
    record[0x3D0 + 592 * 15 + 0x20 + 8 * 69] = 1;   // the last event of the last macro
    return record;
}

} // namespace

class HidUsbFlashTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void settingsSurviveARestart();
    void aNewFolderHoldsTheDefaults();
    void damagedFlashGivesDefaults_data();
    void damagedFlashGivesDefaults();
    void flashIsWrittenWhole();
    void defaultFolderIsInTheUserData();

private:
    TestHome home;
    SimSession session;
    QByteArray defaults;
};

void HidUsbFlashTest::init()
{
    session.Reset();
    defaults = DeviceRecord(Receiver);
}

void HidUsbFlashTest::settingsSurviveARestart()
{
    ReportLog::Connect(Receiver);
    QCOMPARE(UsbServer_SetCurrentConfig(1), uint8_t(1));
    const QByteArray record = ChangedRecord(Receiver);
    QCOMPARE(Update(record), uint8_t(1));
    const QByteArray indicator = Bytes({2, 1, 2, 3, 4, 5, 6, 7, 8, 9});
    QCOMPARE(VidEzorarA_Set4KDongleRGB(SimControl_DevicePath(Receiver), reinterpret_cast<const uint8_t*>(indicator.constData())), uint8_t(1));
    const QByteArray bar = Bytes({3, 1, 2, 3, 4, 5, 1});
    QCOMPARE(VidEzorarA_SetDongleRGBBarMode(SimControl_DevicePath(Receiver), reinterpret_cast<const uint8_t*>(bar.constData())), uint8_t(1));
    QCOMPARE(VidEzorarA_SetLongRangeMode(SimControl_DevicePath(Receiver), 1), uint8_t(1));
    SimControl_PressDpiButton(Wired, 3);
    UsbServer_Exit();
    QVERIFY(SimControl_WaitIdle(5000));

    session.Restart();
    QCOMPARE(SimControl_GetActiveProfile(Receiver), 1);
    QCOMPARE(DeviceRecord(Receiver), record);
    QCOMPARE(Indicator(), indicator);
    QCOMPARE(LightBar(), bar);
    QCOMPARE(LongRange(), uint8_t(1));
    QCOMPARE(uint8_t(DeviceRecord(Wired)[2]), uint8_t(3));
    // The same mouse on its cable holds the same flash.
    QCOMPARE(DeviceRecord(WirelessCable), record);
    SimControl_SwitchProfile(Receiver, 0);
    QCOMPARE(DeviceRecord(Receiver), defaults);
}

void HidUsbFlashTest::aNewFolderHoldsTheDefaults()
{
    ReportLog::Connect(Receiver);
    QCOMPARE(Update(ChangedRecord(Receiver)), uint8_t(1));
    session.Reset();
    QCOMPARE(DeviceRecord(Receiver), defaults);
    QCOMPARE(SimControl_GetActiveProfile(Receiver), 0);
    QCOMPARE(Indicator(), Bytes({1, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
    QCOMPARE(LongRange(), uint8_t(0));
}

void HidUsbFlashTest::damagedFlashGivesDefaults_data()
{
    QTest::addColumn<QString>("damage");
    QTest::newRow("cut short") << "cut";
    QTest::newRow("one byte changed") << "flip";
    QTest::newRow("another mouse's flash") << "foreign";
    QTest::newRow("not a flash file") << "garbage";
    QTest::newRow("empty") << "empty";
}

void HidUsbFlashTest::damagedFlashGivesDefaults()
{
    QFETCH(QString, damage);
    ReportLog::Connect(Receiver);
    QCOMPARE(Update(ChangedRecord(Receiver)), uint8_t(1));
    ReportLog::Connect(Wired);
    const QByteArray wired = ChangedRecord(Wired);
    QCOMPARE(Update(wired), uint8_t(1));

    const QString file = session.FlashFolder() + QStringLiteral("/Mouse1.flash");
    QFile flash(file);
    QVERIFY(flash.open(QIODevice::ReadOnly));
    QByteArray bytes = flash.readAll();
    flash.close();
    if (damage == "cut")
        bytes.chop(100);
    else if (damage == "flip")
        bytes[5000] = char(bytes[5000] ^ 0x01);
    else if (damage == "garbage")
        bytes = QByteArray(bytes.size(), 'x');
    else if (damage == "empty")
        bytes.clear();
    else if (damage == "foreign") {
        QFile other(session.FlashFolder() + QStringLiteral("/Mouse2.flash"));
        QVERIFY(other.open(QIODevice::ReadOnly));
        bytes = other.readAll();
    }
    QVERIFY(flash.open(QIODevice::WriteOnly | QIODevice::Truncate));
    flash.write(bytes);
    flash.close();

    session.Restart();
    QCOMPARE(DeviceRecord(Receiver), defaults);
    QCOMPARE(SimControl_GetFirmwareVersion(Receiver), uint16_t(0x0103));
    QCOMPARE(DeviceRecord(Wired), wired); // the other mouse keeps its flash
}

void HidUsbFlashTest::flashIsWrittenWhole()
{
    ReportLog::Connect(Receiver);
    for (int i = 0; i < 3; ++i) {
        QByteArray record = ChangedRecord(Receiver);
        record[1] = char(i + 1);
        QCOMPARE(Update(record), uint8_t(1));
    }
    const QStringList files = QDir(session.FlashFolder()).entryList(QDir::Files);
    QCOMPARE(files, QStringList{QStringLiteral("Mouse1.flash")});
    // Head, four profiles, checksum.
    QCOMPARE(QFileInfo(session.FlashFolder() + QStringLiteral("/Mouse1.flash")).size(), qint64(16 + 8 + 4 * 10448 + 4));
}

void HidUsbFlashTest::defaultFolderIsInTheUserData()
{
    SimControl_Reset(ProgramDescription().toLocal8Bit().constData(), nullptr);
    const QString folder = home.Path() + QStringLiteral("/.local/share/Kestro plus/Device_Flash");
    QVERIFY(QDir(folder).exists());
    ReportLog::Connect(Receiver);
    const QByteArray changed = ChangedRecord(Receiver);
    QCOMPARE(Update(changed), uint8_t(1));
    QVERIFY(QFile::exists(folder + QStringLiteral("/Mouse1.flash")));
    SimControl_Reset(ProgramDescription().toLocal8Bit().constData(), "");
    QCOMPARE(DeviceRecord(Receiver), changed);
    UsbServer_Exit();
}

QTEST_GUILESS_MAIN(HidUsbFlashTest)
#include "tst_hidusbflash.moc"
