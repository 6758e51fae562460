// Firmware upgrades: the device goes into boot mode, reports progress and the result on the upgrade
// thread, and comes back with the image's version, its old one, or stays waiting in boot mode.
#include "SimTestSupport.h"

#include <atomic>

using namespace SimDevices;

namespace {

constexpr int MouseKind = 210;
constexpr int ReceiverKind = 211;

QByteArray MakeImage(int kind, int cid, int mid, int major, int minor, int length = 728 + 2048)
{
    QByteArray image(length, '\0');
    for (int i = 728; i < length; ++i)
        image[i] = char(i * 7);
    image[16] = char(minor);
    image[17] = char(major);
    image[18] = char(major >> 8);
    image[19] = char(major >> 16);
    image[20] = char(kind);
    image[21] = char(cid);
    image[22] = char(mid);
    const QByteArray name = kind == ReceiverKind ? "Kestro plus Receiver" : "Kestro plus";
    for (int i = 0; i < name.size(); ++i)
        image[87 + i] = name[i];
    return image;
}

HidUpgradeImage View(const QByteArray& image)
{
    return HidUpgradeImage{reinterpret_cast<const uint8_t*>(image.constData()), uint32_t(image.size())};
}

struct Events {
    static std::mutex lock;
    static QList<QByteArray> seen;
    static std::vector<std::thread::id> threads;
    static std::atomic<int> notices;

    static void Record(const uint8_t* event)
    {
        std::lock_guard<std::mutex> locker(lock);
        seen << QByteArray(reinterpret_cast<const char*>(event), HIDUSB_UPGRADE_EVENT_SIZE);
        threads.push_back(std::this_thread::get_id());
    }
    static QList<QByteArray> Take()
    {
        std::lock_guard<std::mutex> locker(lock);
        QList<QByteArray> taken;
        taken.swap(seen);
        threads.clear();
        return taken;
    }
    static void Notice() { ++notices; }
};
std::mutex Events::lock;
QList<QByteArray> Events::seen;
std::vector<std::thread::id> Events::threads;
std::atomic<int> Events::notices{0};

QList<QByteArray> Progress(int upTo, bool success)
{
    QList<QByteArray> events;
    for (int percent = 0; percent <= upTo; ++percent)
        events << Bytes({7, 1, percent});
    events << Bytes({7, 2, success ? 1 : 0});
    return events;
}

int BootDevices(const QByteArray& image, int room = 5)
{
    const HidUpgradeImage view = View(image);
    int count = room;
    const int found = UsbUpgradeC_FindBootDevices(&view, &count);
    return found == count ? found : -1;
}

uint8_t Start(const QByteArray& image, HidUpgradeStatusCallback callback = &Events::Record)
{
    const HidUpgradeImage view = View(image);
    return UsbUpgrade_Start(&view, callback, 10000);
}

QByteArray ChainedMouseImage;
void StartMouseWhenReceiverIsDone(const uint8_t* event)
{
    Events::Record(event);
    if (event[1] == 2 && event[2] == 1 && !ChainedMouseImage.isEmpty()) {
        const QByteArray image = ChainedMouseImage;
        ChainedMouseImage.clear();
        Start(image, &StartMouseWhenReceiverIsDone);
    }
}

void UnplugAtTwenty(const uint8_t* event)
{
    Events::Record(event);
    if (event[1] == 1 && event[2] == 20)
        SimControl_SetAttached(Receiver, 0);
}

// The library started again from its flash while a write is at 20 %, as a program that ended does.
QByteArray RestartFlash;
void RestartAtTwenty(const uint8_t* event)
{
    Events::Record(event);
    if (event[1] == 1 && event[2] == 20)
        SimControl_Reset(ProgramDescription().toLocal8Bit().constData(), RestartFlash.constData());
}

} // namespace

class HidUsbUpgradeTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void receiverUpgradeSucceeds();
    void mouseUpgradeOverItsCable_data();
    void mouseUpgradeOverItsCable();
    void wirelessMouseThroughItsReceiver();
    void failingHalfwayKeepsTheOldFirmware();
    void stoppingInBootModeWaitsForARepair();
    void refusals();
    void callbackStartsTheNextUpgrade();
    void unpluggedDuringTheWrite();
    void cutOffMidWriteWaitsAfterARestart_data();
    void cutOffMidWriteWaitsAfterARestart();
    void successOfAnImageThatDoesNotStart();

private:
    TestHome home;
    SimSession session;
};

void HidUsbUpgradeTest::init()
{
    session.Reset();
    StartUsbChanged(&Events::Notice, 600);
    QVERIFY(SimControl_WaitIdle(5000));
    Events::notices = 0;
    Events::Take();
}

void HidUsbUpgradeTest::cleanup()
{
    StopUsbChanged();
    QVERIFY(SimControl_WaitIdle(10000));
}

void HidUsbUpgradeTest::receiverUpgradeSucceeds()
{
    const QByteArray image = MakeImage(ReceiverKind, 28, 18, 1, 0x06);
    QCOMPARE(BootDevices(image), 0);
    QCOMPARE(Start(image), uint8_t(1));
    QVERIFY(SimControl_WaitIdle(10000));

    const std::vector<std::thread::id> threads = Events::threads;
    QCOMPARE(Events::Take(), Progress(100, true));
    for (std::thread::id thread : threads) {
        QVERIFY(thread != std::this_thread::get_id());
        QVERIFY(thread == threads.front());
    }
    QCOMPARE(Events::notices.load(), 4); // into boot mode (gone, back), then out of it (gone, back)

    const char* path = SimControl_DevicePath(Receiver);
    QCOMPARE(SimControl_GetDeviceMode(Receiver), 1);
    QCOMPARE(SimControl_GetReceiverFirmwareVersion(Receiver), uint16_t(0x0106));
    uint16_t version = 0;
    QCOMPARE(VidEzorarA_GetSlaveVersion(path, &version), uint8_t(1));
    QCOMPARE(version, uint16_t(0x0106));
    uint8_t attribute[HIDUSB_USB_ATTRIBUTE_SIZE];
    QCOMPARE(VidEzorarA_GetUsbDeviceAttribute(path, attribute), uint8_t(1));
    QCOMPARE(attribute[8], uint8_t(0x06));
    QCOMPARE(attribute[9], uint8_t(0x01));
    QCOMPARE(SimControl_GetFirmwareVersion(Receiver), uint16_t(0x0103)); // the mouse keeps its own
    QCOMPARE(VidEzorarA_GetDeviceOnLine(path), uint8_t(1));
}

void HidUsbUpgradeTest::mouseUpgradeOverItsCable_data()
{
    QTest::addColumn<int>("cable");
    QTest::addColumn<int>("mid");
    QTest::addColumn<int>("alsoSeenThrough");
    QTest::newRow("wired mouse") << Wired << 19 << -1;
    QTest::newRow("wireless mouse on its cable") << WirelessCable << 18 << Receiver;
}

void HidUsbUpgradeTest::mouseUpgradeOverItsCable()
{
    QFETCH(int, cable);
    QFETCH(int, mid);
    QFETCH(int, alsoSeenThrough);
    SimControl_SetAttached(cable, 1);
    QVERIFY(SimControl_WaitIdle(5000));
    Events::notices = 0;

    QCOMPARE(Start(MakeImage(MouseKind, 28, mid, 2, 0x0A)), uint8_t(1));
    QVERIFY(SimControl_WaitIdle(10000));
    QCOMPARE(Events::Take(), Progress(100, true));
    QCOMPARE(Events::notices.load(), 4);
    QCOMPARE(SimControl_GetFirmwareVersion(cable), uint16_t(0x020A));
    QCOMPARE(VidEzorarA_GetVersion(SimControl_DevicePath(cable)), uint16_t(0x020A));
    if (alsoSeenThrough >= 0)
        QCOMPARE(VidEzorarA_GetVersion(SimControl_DevicePath(alsoSeenThrough)), uint16_t(0x020A)); // the same mouse
    QCOMPARE(SimControl_GetReceiverFirmwareVersion(Receiver), uint16_t(0x0105));
}

void HidUsbUpgradeTest::wirelessMouseThroughItsReceiver()
{
    // No cable plugged in: the image goes over the air; the receiver stays on the bus.
    QCOMPARE(Start(MakeImage(MouseKind, 28, 18, 1, 0x11)), uint8_t(1));
    QVERIFY(SimControl_WaitIdle(10000));
    QCOMPARE(Events::Take(), Progress(100, true));
    QCOMPARE(Events::notices.load(), 0);
    QCOMPARE(VidEzorarA_GetVersion(SimControl_DevicePath(Receiver)), uint16_t(0x0111));
    QCOMPARE(SimControl_GetReceiverFirmwareVersion(Receiver), uint16_t(0x0105));

    // Stopped in boot mode, the mouse no longer answers through the receiver and waits for its cable.
    SimControl_SetUpgradeOutcome(2);
    QCOMPARE(Start(MakeImage(MouseKind, 28, 18, 1, 0x12)), uint8_t(1));
    QVERIFY(SimControl_WaitIdle(10000));
    QCOMPARE(Events::Take(), Progress(50, false));
    QCOMPARE(VidEzorarA_GetDeviceOnLine(SimControl_DevicePath(Receiver)), uint8_t(0));
    QCOMPARE(SimControl_GetDeviceMode(Receiver), 1);
    QCOMPARE(Start(MakeImage(MouseKind, 28, 18, 1, 0x12)), uint8_t(0));
    SimControl_SetAttached(WirelessCable, 1);
    QCOMPARE(SimControl_GetDeviceMode(WirelessCable), 2);
    QCOMPARE(BootDevices(MakeImage(MouseKind, 28, 18, 1, 0x12)), 1);
    QCOMPARE(Start(MakeImage(MouseKind, 28, 18, 1, 0x12)), uint8_t(1));
    QVERIFY(SimControl_WaitIdle(10000));
    QCOMPARE(Events::Take(), Progress(100, true));
    QCOMPARE(SimControl_GetDeviceMode(WirelessCable), 1);
    QCOMPARE(VidEzorarA_GetDeviceOnLine(SimControl_DevicePath(Receiver)), uint8_t(1));
    QCOMPARE(VidEzorarA_GetVersion(SimControl_DevicePath(Receiver)), uint16_t(0x0112));
}

void HidUsbUpgradeTest::failingHalfwayKeepsTheOldFirmware()
{
    SimControl_SetUpgradeOutcome(1);
    QCOMPARE(Start(MakeImage(ReceiverKind, 28, 18, 1, 0x07)), uint8_t(1));
    QVERIFY(SimControl_WaitIdle(10000));
    QCOMPARE(Events::Take(), Progress(50, false));
    QCOMPARE(Events::notices.load(), 4);
    QCOMPARE(SimControl_GetDeviceMode(Receiver), 1);
    QCOMPARE(SimControl_GetReceiverFirmwareVersion(Receiver), uint16_t(0x0105));

    // The outcome held for one upgrade only.
    QCOMPARE(Start(MakeImage(ReceiverKind, 28, 18, 1, 0x07)), uint8_t(1));
    QVERIFY(SimControl_WaitIdle(10000));
    QCOMPARE(Events::Take(), Progress(100, true));
}

void HidUsbUpgradeTest::stoppingInBootModeWaitsForARepair()
{
    const QByteArray image = MakeImage(ReceiverKind, 28, 18, 1, 0x08);
    const char* path = SimControl_DevicePath(Receiver);
    SimControl_SetUpgradeOutcome(2);
    QCOMPARE(Start(image), uint8_t(1));
    QVERIFY(SimControl_WaitIdle(10000));
    QCOMPARE(Events::Take(), Progress(50, false));
    QCOMPARE(Events::notices.load(), 2); // it left and came back as a boot device

    QCOMPARE(SimControl_GetDeviceMode(Receiver), 2);
    int count = 5;
    VidEzorarA_FindHidDevicesByDeviceId("0x3554", "0xF5D2", 1, 5, &count);
    QCOMPARE(count, 0);
    count = 5;
    const char* const* boot = VidEzorarA_FindHidDevicesByDeviceId("0x3554", "0xF5E2", 1, 5, &count);
    QCOMPARE(count, 1);
    const QByteArray bootPath(boot[0]);
    QCOMPARE(bootPath, QByteArray("/dev/hidraw-sim/3554-f5e2-0"));
    QCOMPARE(VidEzorarA_GetDeviceOnLine(path), uint8_t(0));
    QCOMPARE(VidEzorarA_GetDeviceOnLine(bootPath.constData()), uint8_t(0));
    QCOMPARE(QByteArray(reinterpret_cast<const char*>(VidEzorarA_GetDeviceInfo(bootPath.constData(), 0)), 3), QByteArray(3, '\0'));
    QCOMPARE(BootDevices(image), 1);
    QCOMPARE(BootDevices(image, 0), -1);                              // no room: the count says 0
    QCOMPARE(BootDevices(MakeImage(MouseKind, 28, 18, 1, 8)), 0);     // waits for receiver firmware only
    QCOMPARE(BootDevices(MakeImage(ReceiverKind, 28, 19, 1, 8)), 0);  // of its own model

    // A device waiting for firmware still waits after the program and library start again.
    session.Restart();
    QCOMPARE(SimControl_GetDeviceMode(Receiver), 2);
    StartUsbChanged(&Events::Notice, 600);
    QVERIFY(SimControl_WaitIdle(5000));
    Events::notices = 0;

    // A failed repair leaves it waiting; a good one brings it back.
    SimControl_SetUpgradeOutcome(1);
    QCOMPARE(Start(image), uint8_t(1));
    QVERIFY(SimControl_WaitIdle(10000));
    QCOMPARE(Events::Take(), Progress(50, false));
    QCOMPARE(SimControl_GetDeviceMode(Receiver), 2);
    QCOMPARE(Events::notices.load(), 0);

    QCOMPARE(Start(image), uint8_t(1));
    QVERIFY(SimControl_WaitIdle(10000));
    QCOMPARE(Events::Take(), Progress(100, true));
    QCOMPARE(Events::notices.load(), 2);
    QCOMPARE(SimControl_GetDeviceMode(Receiver), 1);
    QCOMPARE(BootDevices(image), 0);
    QCOMPARE(SimControl_GetReceiverFirmwareVersion(Receiver), uint16_t(0x0108));
}

void HidUsbUpgradeTest::refusals()
{
    const QByteArray good = MakeImage(ReceiverKind, 28, 18, 1, 9);
    QCOMPARE(Start(good.left(727)), uint8_t(0));
    QCOMPARE(UsbUpgrade_Start(nullptr, &Events::Record, 10000), uint8_t(0));
    QCOMPARE(Start(MakeImage(ReceiverKind, 29, 18, 1, 9)), uint8_t(0));   // another customer
    QCOMPARE(Start(MakeImage(ReceiverKind, 28, 40, 1, 9)), uint8_t(0));   // a model not attached
    QCOMPARE(Start(MakeImage(0x42, 28, 18, 1, 9)), uint8_t(0));           // neither mouse nor receiver
    SimControl_SetMouseOnline(Receiver, 0);
    QCOMPARE(Start(MakeImage(MouseKind, 28, 18, 1, 9)), uint8_t(0));      // a wireless mouse switched off, no cable
    SimControl_SetMouseOnline(Receiver, 1);
    int count = 5;
    QCOMPARE(UsbUpgradeC_FindBootDevices(nullptr, &count), 0);
    QCOMPARE(count, 0);

    // A refusal asked for by the test: the next start only, nothing written, no event, no notice.
    SimControl_SetUpgradeOutcome(3);
    QCOMPARE(Start(good), uint8_t(0));
    QVERIFY(SimControl_WaitIdle(10000));
    QCOMPARE(Events::Take(), QList<QByteArray>());
    QCOMPARE(Events::notices.load(), 0);
    QCOMPARE(SimControl_GetDeviceMode(Receiver), 1);
    QCOMPARE(SimControl_GetReceiverFirmwareVersion(Receiver), uint16_t(0x0105));

    QCOMPARE(Start(good), uint8_t(1));
    QCOMPARE(Start(MakeImage(MouseKind, 28, 19, 1, 9)), uint8_t(0));      // one at a time
    QVERIFY(SimControl_WaitIdle(10000));
    QCOMPARE(Events::Take(), Progress(100, true));
    QCOMPARE(SimControl_GetFirmwareVersion(Wired), uint16_t(0x0102));
}

void HidUsbUpgradeTest::callbackStartsTheNextUpgrade()
{
    ChainedMouseImage = MakeImage(MouseKind, 28, 19, 3, 1);
    QCOMPARE(Start(MakeImage(ReceiverKind, 28, 18, 3, 1), &StartMouseWhenReceiverIsDone), uint8_t(1));
    QVERIFY(SimControl_WaitIdle(10000));
    QCOMPARE(Events::Take(), Progress(100, true) + Progress(100, true));
    QCOMPARE(SimControl_GetReceiverFirmwareVersion(Receiver), uint16_t(0x0301));
    QCOMPARE(SimControl_GetFirmwareVersion(Wired), uint16_t(0x0301));
}

void HidUsbUpgradeTest::unpluggedDuringTheWrite()
{
    QCOMPARE(Start(MakeImage(ReceiverKind, 28, 18, 1, 0x0C), &UnplugAtTwenty), uint8_t(1));
    QVERIFY(SimControl_WaitIdle(10000));
    QCOMPARE(Events::Take(), Progress(20, false));
    QCOMPARE(SimControl_GetDeviceMode(Receiver), 0);
    SimControl_SetAttached(Receiver, 1);
    QCOMPARE(SimControl_GetDeviceMode(Receiver), 2); // the half-written receiver waits for firmware
    QCOMPARE(SimControl_GetReceiverFirmwareVersion(Receiver), uint16_t(0x0105));
}

void HidUsbUpgradeTest::cutOffMidWriteWaitsAfterARestart_data()
{
    QTest::addColumn<bool>("unplug");
    QTest::newRow("unplugged") << true;
    QTest::newRow("library restarted") << false;
}

// A receiver cut off at 20 % waits in its boot loader with its old firmware after the library
// starts again on the same flash, found as a boot device; a repair brings it back.
void HidUsbUpgradeTest::cutOffMidWriteWaitsAfterARestart()
{
    QFETCH(bool, unplug);
    const QByteArray image = MakeImage(ReceiverKind, 28, 18, 1, 0x0D);
    RestartFlash = session.FlashFolder().toLocal8Bit();
    QCOMPARE(Start(image, unplug ? &UnplugAtTwenty : &RestartAtTwenty), uint8_t(1));
    QVERIFY(SimControl_WaitIdle(10000));
    const QList<QByteArray> seen = Events::Take();
    // Every percent up to the cut, and no result.
    QVERIFY(seen.size() >= 21);
    QCOMPARE(seen.mid(0, 21), Progress(20, true).mid(0, 21));
    QVERIFY(!seen.contains(Bytes({7, 2, 1})));

    session.Restart();
    SimControl_SetAttached(Receiver, 1);
    QCOMPARE(SimControl_GetDeviceMode(Receiver), 2);
    QCOMPARE(SimControl_GetReceiverFirmwareVersion(Receiver), uint16_t(0x0105));
    QCOMPARE(BootDevices(image), 1);
    StartUsbChanged(&Events::Notice, 600);
    QVERIFY(SimControl_WaitIdle(5000));
    QCOMPARE(Start(image), uint8_t(1));
    QVERIFY(SimControl_WaitIdle(10000));
    QCOMPARE(Events::Take(), Progress(100, true));
    QCOMPARE(SimControl_GetDeviceMode(Receiver), 1);
    QCOMPARE(SimControl_GetReceiverFirmwareVersion(Receiver), uint16_t(0x010D));
}

// Outcome 4: the whole image is written and the success reported, but the receiver does not start
// it: it waits in its boot loader with its old firmware and answers no version, also after a restart.
void HidUsbUpgradeTest::successOfAnImageThatDoesNotStart()
{
    const QByteArray image = MakeImage(ReceiverKind, 28, 18, 1, 0x0E);
    SimControl_SetUpgradeOutcome(4);
    QCOMPARE(Start(image), uint8_t(1));
    QVERIFY(SimControl_WaitIdle(10000));
    QCOMPARE(Events::Take(), Progress(100, true));
    QCOMPARE(SimControl_GetDeviceMode(Receiver), 2);
    QCOMPARE(SimControl_GetReceiverFirmwareVersion(Receiver), uint16_t(0x0105));
    uint16_t version = 0;
    QCOMPARE(VidEzorarA_GetSlaveVersion(SimControl_DevicePath(Receiver), &version), uint8_t(0));
    session.Restart();
    QCOMPARE(SimControl_GetDeviceMode(Receiver), 2);
    QCOMPARE(BootDevices(image), 1);
}

QTEST_GUILESS_MAIN(HidUsbUpgradeTest)
#include "tst_hidusbupgrade.moc"
