// Finding the simulated devices and asking them about themselves: paths, identity, USB attributes,
// addresses, versions, the receiver's own settings and its raw exchange.
#include "SimTestSupport.h"

#include <QFile>
#include <QRegularExpression>

using namespace SimDevices;

namespace {

QStringList Find(const char* vid, const char* pid, int room)
{
    int count = room;
    const char* const* paths = VidEzorarA_FindHidDevicesByDeviceId(vid, pid, 1, 5, &count);
    QStringList found;
    for (int i = 0; paths && i < count; ++i)
        found << QString::fromLatin1(paths[i]);
    return found;
}

QByteArray Info(const char* path)
{
    const uint8_t* info = VidEzorarA_GetDeviceInfo(path, 0);
    return QByteArray(reinterpret_cast<const char*>(info), HIDUSB_DEVICE_INFO_SIZE);
}

QByteArray AddressStatus(const char* path, uint8_t* result = nullptr)
{
    QByteArray status(HIDUSB_USB_ADDRESS_STATUS_SIZE + 4, '\x77');
    const uint8_t ok = VidEzorarA_GetDeviceOnLineWithUsbAddress(path, reinterpret_cast<uint8_t*>(status.data()));
    if (result)
        *result = ok;
    return status;
}

QString WriteDescription(const QTemporaryDir& dir, const QString& text)
{
    const QString file = dir.path() + QStringLiteral("/devices.ini");
    QFile out(file);
    out.open(QIODevice::WriteOnly | QIODevice::Truncate);
    out.write(text.toUtf8());
    return file;
}

const char* const ModelAndMouse =
    "[Model 1]\nName=M\nMID=40\nDpiLevels=1\n[Mouse 1]\nModel=1\n";

} // namespace

class HidUsbDiscoveryTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void findsAttachedDevices_data();
    void findsAttachedDevices();
    void findGivesAtMostEightPaths();
    void pathsStayUntilTheNextFind();
    void deviceInfo_data();
    void deviceInfo();
    void usbAttributes();
    void addressStatusTiesTheCableToItsReceiver();
    void versions();
    void receiverRecords();
    void receiverRefusesWhatItCannotShow();
    void longRangeModeLeavesThePresetWhenNotAnswered();
    void clockSyncExchange();
    void faultyDescriptionGivesNoDevices_data();
    void faultyDescriptionGivesNoDevices();

private:
    TestHome home;
    SimSession session;
};

void HidUsbDiscoveryTest::init()
{
    session.Reset();
}

void HidUsbDiscoveryTest::findsAttachedDevices_data()
{
    QTest::addColumn<QByteArray>("vid");
    QTest::addColumn<QByteArray>("pid");
    QTest::addColumn<int>("room");
    QTest::addColumn<bool>("plugCable");
    QTest::addColumn<QStringList>("expected");

    const QString receiver = QStringLiteral("/dev/hidraw-sim/3554-f5d2-0");
    const QString wired = QStringLiteral("/dev/hidraw-sim/3554-f5d1-1");
    const QString cable = QStringLiteral("/dev/hidraw-sim/3554-f5d1-2");
    QTest::newRow("receiver") << QByteArray("0x3554") << QByteArray("0xF5D2") << 5 << false << QStringList{receiver};
    QTest::newRow("wired, cable unplugged") << QByteArray("0x3554") << QByteArray("0xF5D1") << 5 << false << QStringList{wired};
    QTest::newRow("wired and cable") << QByteArray("0x3554") << QByteArray("0xF5D1") << 5 << true << QStringList{wired, cable};
    QTest::newRow("room for one") << QByteArray("0x3554") << QByteArray("0xF5D1") << 1 << true << QStringList{wired};
    QTest::newRow("no room") << QByteArray("0x3554") << QByteArray("0xF5D1") << 0 << true << QStringList{};
    QTest::newRow("negative room") << QByteArray("0x3554") << QByteArray("0xF5D1") << -3 << true << QStringList{};
    QTest::newRow("lower case hex") << QByteArray("0x3554") << QByteArray("0xf5d2") << 5 << false << QStringList{receiver};
    QTest::newRow("decimal") << QByteArray("13652") << QByteArray("62930") << 5 << false << QStringList{receiver};
    QTest::newRow("hex letters without prefix") << QByteArray("0x3554") << QByteArray("F5D2") << 5 << false << QStringList{receiver};
    QTest::newRow("unused receiver pid") << QByteArray("0x3554") << QByteArray("0xF5D3") << 5 << false << QStringList{};
    QTest::newRow("other vendor") << QByteArray("0x3555") << QByteArray("0xF5D2") << 5 << false << QStringList{};
    QTest::newRow("not a number") << QByteArray("0x3554") << QByteArray("0xF5G2") << 5 << false << QStringList{};
    QTest::newRow("empty") << QByteArray("") << QByteArray("") << 5 << false << QStringList{};
}

void HidUsbDiscoveryTest::findsAttachedDevices()
{
    QFETCH(QByteArray, vid);
    QFETCH(QByteArray, pid);
    QFETCH(int, room);
    QFETCH(bool, plugCable);
    QFETCH(QStringList, expected);
    if (plugCable)
        SimControl_SetAttached(WirelessCable, 1);
    QCOMPARE(Find(vid.constData(), pid.constData(), room), expected);

    int count = room;
    VidEzorarA_FindHidDevicesByDefaultDeviceId(vid.constData(), pid.constData(), &count);
    QCOMPARE(count, int(expected.size()));
}

void HidUsbDiscoveryTest::findGivesAtMostEightPaths()
{
    QTemporaryDir dir;
    QString text = QString::fromLatin1(ModelAndMouse);
    for (int n = 1; n <= 10; ++n)
        text += QStringLiteral("[Device %1]\nKind=cable\nVID=0x1234\nPID=0x0001\nBootPID=0x0002\nMouse=1\nAttachedAtStart=true\n").arg(n);
    session.Reset(WriteDescription(dir, text));
    QCOMPARE(SimControl_DeviceCount(), 10);

    const QStringList found = Find("0x1234", "0x0001", 20);
    QCOMPARE(found.size(), int(HIDUSB_MAX_PATHS));
    QCOMPARE(QSet<QString>(found.begin(), found.end()).size(), found.size());
    int count = 20;
    const char* const* paths = VidEzorarA_FindHidDevicesByDeviceId("0x1234", "0x0001", 1, 5, &count);
    QCOMPARE(paths[HIDUSB_MAX_PATHS], nullptr);
}

void HidUsbDiscoveryTest::pathsStayUntilTheNextFind()
{
    int count = 5;
    const char* const* paths = VidEzorarA_FindHidDevicesByDeviceId("0x3554", "0xF5D2", 1, 5, &count);
    QCOMPARE(count, 1);
    const QByteArray kept(paths[0]);
    QVERIFY(QRegularExpression(QStringLiteral("^/dev/hidraw-sim/[0-9a-f]{4}-[0-9a-f]{4}-\\d+$")).match(QString::fromLatin1(kept)).hasMatch());

    // Other calls and changes on the bus leave the array alone.
    SimControl_SetAttached(Wired, 0);
    SimControl_SetAttached(WirelessCable, 1);
    QVERIFY(SimControl_WaitIdle(5000));
    VidEzorarA_GetDeviceInfo(paths[0], 0);
    uint8_t record[HIDUSB_USB_ATTRIBUTE_SIZE];
    VidEzorarA_GetUsbDeviceAttribute(paths[0], record);
    QCOMPARE(QByteArray(paths[0]), kept);
    QCOMPARE(paths[1], nullptr);

    // The same device is found under the same path again.
    QCOMPARE(Find("0x3554", "0xF5D2", 5), QStringList{QString::fromLatin1(kept)});
    QCOMPARE(QByteArray(SimControl_DevicePath(Receiver)), kept);
}

void HidUsbDiscoveryTest::deviceInfo_data()
{
    QTest::addColumn<int>("device");
    QTest::addColumn<bool>("mouseOn");
    QTest::addColumn<QByteArray>("info");
    QTest::addColumn<bool>("online");

    QTest::newRow("receiver") << Receiver << true << Bytes({28, 18, 1}) << true;
    QTest::newRow("receiver, mouse off") << Receiver << false << Bytes({28, 18, 1}) << false;
    QTest::newRow("wired") << Wired << true << Bytes({28, 19, 2}) << true;
    QTest::newRow("wireless on cable") << WirelessCable << true << Bytes({28, 18, 2}) << true;
}

void HidUsbDiscoveryTest::deviceInfo()
{
    QFETCH(int, device);
    QFETCH(bool, mouseOn);
    QFETCH(QByteArray, info);
    QFETCH(bool, online);
    SimControl_SetAttached(WirelessCable, 1);
    SimControl_SetMouseOnline(Receiver, mouseOn ? 1 : 0);
    const char* path = SimControl_DevicePath(device);
    QCOMPARE(Info(path), info);
    QCOMPARE(VidEzorarA_GetDeviceOnLine(path), uint8_t(online ? 1 : 0));
    const uint8_t status = uint8_t(info[2]);
    QCOMPARE((status & 0xFA) != 0, device != Receiver); // cable connections read as wired

    // Gone from the bus: no answer.
    SimControl_SetAttached(device, 0);
    QCOMPARE(Info(path), QByteArray(3, '\0'));
    QCOMPARE(VidEzorarA_GetDeviceOnLine(path), uint8_t(0));
}

void HidUsbDiscoveryTest::usbAttributes()
{
    QByteArray record(HIDUSB_USB_ATTRIBUTE_SIZE + 4, '\x77');
    QCOMPARE(VidEzorarA_GetUsbDeviceAttribute(SimControl_DevicePath(Receiver), reinterpret_cast<uint8_t*>(record.data())), uint8_t(1));
    QCOMPARE(record, Bytes({12, 0, 0, 0, 0x54, 0x35, 0xD2, 0xF5, 0x05, 0x01, 0, 0, 0x77, 0x77, 0x77, 0x77}));
    QCOMPARE(VidEzorarA_GetUsbDeviceAttribute(SimControl_DevicePath(Wired), reinterpret_cast<uint8_t*>(record.data())), uint8_t(1));
    QCOMPARE(record.left(12), Bytes({12, 0, 0, 0, 0x54, 0x35, 0xD1, 0xF5, 0x02, 0x01, 0, 0}));

    QByteArray untouched(HIDUSB_USB_ATTRIBUTE_SIZE, '\x77');
    QCOMPARE(VidEzorarA_GetUsbDeviceAttribute("a", reinterpret_cast<uint8_t*>(untouched.data())), uint8_t(0));
    QCOMPARE(VidEzorarA_GetUsbDeviceAttribute(SimControl_DevicePath(WirelessCable), reinterpret_cast<uint8_t*>(untouched.data())), uint8_t(0));
    QCOMPARE(untouched, QByteArray(HIDUSB_USB_ATTRIBUTE_SIZE, '\x77'));
}

void HidUsbDiscoveryTest::addressStatusTiesTheCableToItsReceiver()
{
    SimControl_SetAttached(WirelessCable, 1);
    uint8_t ok = 0;
    const QByteArray receiver = AddressStatus(SimControl_DevicePath(Receiver), &ok);
    QCOMPARE(ok, uint8_t(1));
    QCOMPARE(receiver.mid(6, 4), Bytes({1, 0x5A, 0x13, 0xC7}));
    QCOMPARE(receiver.mid(HIDUSB_USB_ADDRESS_STATUS_SIZE), QByteArray(4, '\x77')); // nothing past the record

    // The same mouse on its cable reports its receiver's address; the wired mouse has none.
    QCOMPARE(AddressStatus(SimControl_DevicePath(WirelessCable)).mid(6, 4), Bytes({1, 0x5A, 0x13, 0xC7}));
    QCOMPARE(AddressStatus(SimControl_DevicePath(Wired)).mid(6, 4), Bytes({1, 0, 0, 0}));

    SimControl_SetMouseOnline(Receiver, 0);
    QCOMPARE(AddressStatus(SimControl_DevicePath(Receiver)).mid(6, 4), Bytes({0, 0x5A, 0x13, 0xC7}));

    const QByteArray none = AddressStatus("/dev/hidraw-sim/none", &ok);
    QCOMPARE(ok, uint8_t(0));
    QCOMPARE(none, QByteArray(HIDUSB_USB_ADDRESS_STATUS_SIZE + 4, '\x77'));
}

void HidUsbDiscoveryTest::versions()
{
    const char* receiver = SimControl_DevicePath(Receiver);
    QCOMPARE(VidEzorarA_GetVersion(receiver), uint16_t(0x0103));
    QCOMPARE(VidEzorarA_GetVersion(SimControl_DevicePath(Wired)), uint16_t(0x0102));
    uint16_t version = 0;
    QCOMPARE(VidEzorarA_GetSlaveVersion(receiver, &version), uint8_t(1));
    QCOMPARE(version, uint16_t(0x0105));

    version = 0xBEEF;
    QCOMPARE(VidEzorarA_GetSlaveVersion(SimControl_DevicePath(Wired), &version), uint8_t(0));
    QCOMPARE(version, uint16_t(0xBEEF));
    SimControl_SetMouseOnline(Receiver, 0);
    QCOMPARE(VidEzorarA_GetVersion(receiver), uint16_t(0)); // the mouse does not answer
    QCOMPARE(VidEzorarA_GetSlaveVersion(receiver, &version), uint8_t(1)); // the receiver does
}

void HidUsbDiscoveryTest::receiverRecords()
{
    const char* receiver = SimControl_DevicePath(Receiver);
    SimControl_SetMouseOnline(Receiver, 0); // the receiver answers for itself

    QByteArray indicator(HIDUSB_DONGLE_RGB_SIZE, '\0');
    QCOMPARE(VidEzorarA_Get4KDongleRGBValue(receiver, reinterpret_cast<uint8_t*>(indicator.data())), uint8_t(1));
    QCOMPARE(indicator, Bytes({1, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
    const QByteArray newIndicator = Bytes({3, 9, 8, 7, 6, 5, 4, 3, 2, 1});
    QCOMPARE(VidEzorarA_Set4KDongleRGB(receiver, reinterpret_cast<const uint8_t*>(newIndicator.constData())), uint8_t(1));
    QCOMPARE(VidEzorarA_Get4KDongleRGBValue(receiver, reinterpret_cast<uint8_t*>(indicator.data())), uint8_t(1));
    QCOMPARE(indicator, newIndicator);

    QByteArray bar(HIDUSB_DONGLE_RGB_BAR_SIZE, '\0');
    QCOMPARE(VidEzorarA_GetDongleRGBBarMode(receiver, reinterpret_cast<uint8_t*>(bar.data())), uint8_t(1));
    QCOMPARE(bar, Bytes({1, 0, 255, 0, 2, 4, 1}));
    const QByteArray newBar = Bytes({4, 10, 20, 30, 0, 9, 1});
    QCOMPARE(VidEzorarA_SetDongleRGBBarMode(receiver, reinterpret_cast<const uint8_t*>(newBar.constData())), uint8_t(1));
    QCOMPARE(VidEzorarA_GetDongleRGBBarMode(receiver, reinterpret_cast<uint8_t*>(bar.data())), uint8_t(1));
    QCOMPARE(bar, newBar);

    QByteArray leds(HIDUSB_DONGLE_INDICATOR_LED_SIZE, '\0');
    QCOMPARE(VidEzorarA_GetDongleIndicatorLed(receiver, reinterpret_cast<uint8_t*>(leds.data())), uint8_t(1));
    QCOMPARE(leds, Bytes({1, 2, 3}));
    const QByteArray newLeds = Bytes({0, 3, 2});
    QCOMPARE(VidEzorarA_SetDongleIndicatorLed(receiver, reinterpret_cast<const uint8_t*>(newLeds.constData())), uint8_t(1));
    QCOMPARE(VidEzorarA_GetDongleIndicatorLed(receiver, reinterpret_cast<uint8_t*>(leds.data())), uint8_t(1));
    QCOMPARE(leds, newLeds);
}

void HidUsbDiscoveryTest::receiverRefusesWhatItCannotShow()
{
    const char* receiver = SimControl_DevicePath(Receiver);
    for (int meaning : {0, 4, 255}) {
        const QByteArray wrong = Bytes({meaning, 1, 1, 1, 1, 1, 1, 1, 1, 1});
        QCOMPARE(VidEzorarA_Set4KDongleRGB(receiver, reinterpret_cast<const uint8_t*>(wrong.constData())), uint8_t(0));
    }
    const QByteArray wrongLeds = Bytes({1, 4, 1});
    QCOMPARE(VidEzorarA_SetDongleIndicatorLed(receiver, reinterpret_cast<const uint8_t*>(wrongLeds.constData())), uint8_t(0));
    QByteArray indicator(HIDUSB_DONGLE_RGB_SIZE, '\0');
    VidEzorarA_Get4KDongleRGBValue(receiver, reinterpret_cast<uint8_t*>(indicator.data()));
    QCOMPARE(indicator, Bytes({1, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
    QByteArray leds(HIDUSB_DONGLE_INDICATOR_LED_SIZE, '\0');
    VidEzorarA_GetDongleIndicatorLed(receiver, reinterpret_cast<uint8_t*>(leds.data()));
    QCOMPARE(leds, Bytes({1, 2, 3}));

    // A mouse on a cable has no receiver records; the caller's buffer is left alone.
    QByteArray untouched(HIDUSB_DONGLE_RGB_SIZE, '\x66');
    QCOMPARE(VidEzorarA_Get4KDongleRGBValue(SimControl_DevicePath(Wired), reinterpret_cast<uint8_t*>(untouched.data())), uint8_t(0));
    QCOMPARE(VidEzorarA_GetDongleRGBBarMode(SimControl_DevicePath(Wired), reinterpret_cast<uint8_t*>(untouched.data())), uint8_t(0));
    QCOMPARE(untouched, QByteArray(HIDUSB_DONGLE_RGB_SIZE, '\x66'));
}

void HidUsbDiscoveryTest::longRangeModeLeavesThePresetWhenNotAnswered()
{
    uint8_t mode = 's';
    QCOMPARE(VidEzorarA_GetLongRangeMode(SimControl_DevicePath(Wired), &mode), uint8_t(0));
    QCOMPARE(mode, uint8_t('s'));
    QCOMPARE(VidEzorarA_SetLongRangeMode(SimControl_DevicePath(Wired), 1), uint8_t(0));

    const char* receiver = SimControl_DevicePath(Receiver);
    QCOMPARE(VidEzorarA_GetLongRangeMode(receiver, &mode), uint8_t(1));
    QCOMPARE(mode, uint8_t(0));
    QCOMPARE(VidEzorarA_SetLongRangeMode(receiver, 1), uint8_t(1));
    QCOMPARE(VidEzorarA_SetLongRangeMode(receiver, 2), uint8_t(0));
    mode = 's';
    QCOMPARE(VidEzorarA_GetLongRangeMode(receiver, &mode), uint8_t(1));
    QCOMPARE(mode, uint8_t(1));
}

void HidUsbDiscoveryTest::clockSyncExchange()
{
    // 31 December 2025, 23:59:58, a Wednesday; the checksum in the last of 40 bytes.
    uint8_t frame[40] = {0x0A, 0x00, 0x10, 0x07, 0xE9, 0x0C, 0x1F, 0x17, 0x3B, 0x3A, 0x03};
    uint8_t sum = 0;
    for (int i = 0; i < 39; ++i)
        sum = uint8_t(sum + frame[i]);
    frame[39] = uint8_t(0x55 - sum);

    uint8_t reply[64];
    QCOMPARE(VidEzorarA_ReadWriteDeviceData(frame, reply, 40), uint8_t(0)); // nothing opened yet
    QCOMPARE(VidEzorarA_OpenDevice(SimControl_DevicePath(Wired)), uint8_t(0));
    QCOMPARE(VidEzorarA_OpenDevice(SimControl_DevicePath(Receiver)), uint8_t(1));
    std::memset(reply, 0xEE, sizeof reply);
    QCOMPARE(VidEzorarA_ReadWriteDeviceData(frame, reply, 40), uint8_t(1));
    QCOMPARE(QByteArray(reinterpret_cast<char*>(reply), 7), QByteArray(reinterpret_cast<char*>(frame), 7));
    uint8_t replySum = 0;
    for (int i = 0; i < 39; ++i)
        replySum = uint8_t(replySum + reply[i]);
    QCOMPARE(reply[39], uint8_t(0x55 - replySum));

    // A short frame: the reply's checksum stands at its own last byte.
    uint8_t shortFrame[3] = {0x0A, 0x10, 0x00};
    QCOMPARE(VidEzorarA_ReadWriteDeviceData(shortFrame, reply, 3), uint8_t(1));
    QCOMPARE(QByteArray(reinterpret_cast<char*>(reply), 3), Bytes({0x0A, 0x10, 0x3B}));
    QCOMPARE(VidEzorarA_ReadWriteDeviceData(shortFrame, reply, 65), uint8_t(0)); // more than the reply can hold

    SimControl_SetAttached(Receiver, 0);
    QCOMPARE(VidEzorarA_ReadWriteDeviceData(frame, reply, 40), uint8_t(0));
}

void HidUsbDiscoveryTest::faultyDescriptionGivesNoDevices_data()
{
    QTest::addColumn<QString>("text");
    const QString base = QString::fromLatin1(ModelAndMouse);
    QTest::newRow("missing file") << QString();
    QTest::newRow("kind unknown") << base + "[Device 1]\nKind=hub\nPID=1\nBootPID=2\nMouse=1\n";
    QTest::newRow("no such mouse") << base + "[Device 1]\nKind=cable\nPID=1\nBootPID=2\nMouse=2\n";
    QTest::newRow("pid out of range") << base + "[Device 1]\nKind=cable\nPID=0x10000\nBootPID=2\nMouse=1\n";
    QTest::newRow("boot pid missing") << base + "[Device 1]\nKind=cable\nPID=1\nMouse=1\n";
    QTest::newRow("not a byte list") << base + "[Device 1]\nKind=receiver\nPID=1\nBootPID=2\nMouse=1\nAddress=1,2,x\n";
    QTest::newRow("line outside a group") << QStringLiteral("Kind=cable\n") + base;
}

void HidUsbDiscoveryTest::faultyDescriptionGivesNoDevices()
{
    QFETCH(QString, text);
    QTemporaryDir dir;
    const QString file = text.isEmpty() ? dir.path() + QStringLiteral("/none.ini") : WriteDescription(dir, text);
    session.Reset(file);
    QCOMPARE(SimControl_DeviceCount(), 0);
    QCOMPARE(Find("0x3554", "0xF5D2", 5), QStringList{});
    QCOMPARE(SimControl_DevicePath(0), nullptr);
}

QTEST_GUILESS_MAIN(HidUsbDiscoveryTest)
#include "tst_hidusbdiscovery.moc"
