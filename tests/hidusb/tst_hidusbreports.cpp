// The connection: every read is answered later on the library's report thread with the codes, items
// and lengths the program relies on; callbacks may call back in; closing never waits for a callback.
#include "SimTestSupport.h"

#include <atomic>

using namespace SimDevices;

namespace {

constexpr int DpiLedAt = 0x54;
constexpr int LightAt = 0x58;

typedef uint8_t (*ReadCall)();
const ReadCall Reads[] = {&UsbServer_ReadAllFlashData, &UsbServer_ReadReportRate, &UsbServer_ReadCurrentDPI,
                          &UsbServer_ReadDPILed,       &UsbServer_ReadLedBar,     &UsbServer_ReadBatteryLevel,
                          &UsbServer_ReadVersion,      &UsbServer_ReadConfig};

std::vector<SeenReport> ReadAndWait(ReadCall read)
{
    ReportLog::Take();
    if (!read())
        return {};
    if (!SimControl_WaitIdle(5000))
        return {};
    return ReportLog::Take();
}

QList<int> Codes(const std::vector<SeenReport>& reports)
{
    QList<int> codes;
    for (const SeenReport& report : reports)
        codes << report.Code();
    return codes;
}

// A report callback that waits at a latch; used to hold the report thread inside a callback.
struct HeldCallback {
    static Latch entered;
    static Latch release;
    static std::atomic<int> calls;
    static std::atomic<bool> releasedInTime;
    static std::thread::id thread;
    static void Reset()
    {
        entered.Reset();
        release.Reset();
        calls = 0;
        releasedInTime = false;
    }
    static void Report(const uint8_t*, int, const uint8_t*, uint32_t)
    {
        ++calls;
        thread = std::this_thread::get_id();
        entered.Open();
        releasedInTime = release.WaitOpen();
    }
    static void Notice()
    {
        Report(nullptr, 0, nullptr, 0);
    }
};
Latch HeldCallback::entered;
Latch HeldCallback::release;
std::atomic<int> HeldCallback::calls{0};
std::atomic<bool> HeldCallback::releasedInTime{false};
std::thread::id HeldCallback::thread;

// A report callback that does what the program's does: asks for more from inside the callback.
struct ChattyCallback {
    static std::atomic<int> images;
    static void Report(const uint8_t* header, int headerLength, const uint8_t* data, uint32_t length)
    {
        ReportLog::Callback(header, headerLength, data, length);
        const int code = header[1];
        if (code == HIDUSB_REPORT_PARAMETER && header[4] == 0 && length == HIDUSB_RAW_IMAGE_SIZE) {
            ++images;
            QByteArray record = ParseImage(QByteArray(reinterpret_cast<const char*>(data), int(length)));
            UsbServer_ReadDPILed();
            UsbServer_ReadBatteryLevel();
            UsbServer_ReadVersion();
            UsbServer_ReadConfig();
            VidEzorarA_GetDeviceOnLine(SimControl_DevicePath(Receiver));
            Update(record);
        } else if (code == HIDUSB_REPORT_STATUS_CHANGE) {
            uint8_t flags[HIDUSB_STATUS_CHANGE_SIZE];
            GetDeviceStatusChanged(data, flags);
            if (flags[0])
                UsbServer_ReadCurrentDPI();
            if (flags[1])
                UsbServer_ReadReportRate();
        } else if (code == HIDUSB_REPORT_DEFAULTS_RESTORED) {
            UsbServer_ReadAllFlashData();
        }
    }
};
std::atomic<int> ChattyCallback::images{0};

std::atomic<int> noticeCount{0};
void CountNotice()
{
    ++noticeCount;
    // What the program does on a notice: look at the bus again.
    int count = 5;
    const char* const* paths = VidEzorarA_FindHidDevicesByDeviceId("0x3554", "0xF5D1", 1, 5, &count);
    for (int i = 0; i < count; ++i)
        VidEzorarA_GetDeviceInfo(paths[i], 0);
}

} // namespace

class HidUsbReportsTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void readsAnswerWithTheirReport_data();
    void readsAnswerWithTheirReport();
    void readsAnswerOnTheReportThreadAfterTheCall();
    void noAnswerWithoutAConnectionOrMouse();
    void callbackCallingBackInDoesNotDeadlock();
    void exitWhileACallbackWaitsForTheCaller();
    void stopNoticesWhileANoticeWaitsForTheCaller();
    void noticesFollowAttachAndDetach();
    void buttonOnTheMouseGivesStatusChangeThenAnswer();
    void batteryChangeIsReported();
    void profilesHoldTheirOwnRecord();
    void clearSettingsRestoresDefaultsThenCode9();
    void pairing_data();
    void pairing();
    void pairingNeedsAReceiver();
    void pairingEndsWhenTheReceiverIsUnplugged();
    void receiverLightWrites_data();
    void receiverLightWrites();
    void indicatorMeaningRefusedWhenTold();
    void indicatorReportOnlyOverTheConnection();

private:
    TestHome home;
    SimSession session;
};

void HidUsbReportsTest::init()
{
    session.Reset();
    ReportLog::Take();
    HeldCallback::Reset();
    noticeCount = 0;
}

void HidUsbReportsTest::cleanup()
{
    HeldCallback::release.Open();
    StopUsbChanged();
    UsbServer_Exit();
    QVERIFY(SimControl_WaitIdle(10000));
}

void HidUsbReportsTest::readsAnswerWithTheirReport_data()
{
    QTest::addColumn<int>("device");
    QTest::addColumn<int>("read"); // index into Reads
    QTest::addColumn<int>("code");
    QTest::addColumn<int>("item");
    QTest::addColumn<int>("length");

    for (int device : {Receiver, Wired}) {
        const char* name = device == Receiver ? "receiver" : "wired";
        QTest::addRow("%s image", name) << device << 0 << 8 << 0 << int(HIDUSB_RAW_IMAGE_SIZE);
        QTest::addRow("%s report rate", name) << device << 1 << 8 << 0 << 1;
        QTest::addRow("%s current DPI", name) << device << 2 << 8 << 4 << 1;
        QTest::addRow("%s DPI light", name) << device << 3 << 8 << 0x4C << 8;
        QTest::addRow("%s light bar", name) << device << 4 << 8 << 0xA0 << 9;
        QTest::addRow("%s battery", name) << device << 5 << 4 << 0 << 2;
        QTest::addRow("%s version", name) << device << 6 << 18 << 0 << 2;
        QTest::addRow("%s profile", name) << device << 7 << 14 << 0 << 1;
    }
}

void HidUsbReportsTest::readsAnswerWithTheirReport()
{
    QFETCH(int, device);
    QFETCH(int, read);
    QFETCH(int, code);
    QFETCH(int, item);
    QFETCH(int, length);

    // A record with distinct values where the small replies look.
    QByteArray record = DeviceRecord(device);
    record[0] = char(2);
    record[2] = char(3);
    for (int i = 0; i < 4; ++i)
        record[DpiLedAt + i] = char(0x41 + i);
    for (int i = 0; i < 7; ++i)
        record[LightAt + i] = char(0x61 + i);
    QVERIFY(SimControl_SetDeviceRecord(device, reinterpret_cast<const uint8_t*>(record.constData())));
    SimControl_SwitchProfile(device, 0);

    ReportLog::Connect(device);
    const auto reports = ReadAndWait(Reads[read]);
    QCOMPARE(int(reports.size()), 1);
    const SeenReport& report = reports[0];
    QCOMPARE(report.headerLength, HIDUSB_REPORT_HEADER_SIZE);
    QCOMPARE(report.Code(), code);
    QCOMPARE(report.Item(), item);
    QCOMPARE(report.Status(), 0);
    QCOMPARE(report.data.size(), length);
    QCOMPARE(SimControl_ReadCount(code), 1);

    const uint8_t* data = reinterpret_cast<const uint8_t*>(report.data.constData());
    uint8_t four[4] = {};
    if (code == 8 && length == HIDUSB_RAW_IMAGE_SIZE) {
        QCOMPARE(ParseImage(report.data), record);
    } else if (code == 8 && item == 0) {
        QCOMPARE(report.data, Bytes({2}));
    } else if (code == 8 && item == 4) {
        QCOMPARE(report.data, Bytes({3}));
    } else if (item == 0x4C) {
        BufferToDPILed(data, four);
        QCOMPARE(QByteArray(reinterpret_cast<char*>(four), 4), record.mid(DpiLedAt, 4));
    } else if (item == 0xA0) {
        BufferToLedBar(data, four);
        QCOMPARE(QByteArray(reinterpret_cast<char*>(four), 4), record.mid(LightAt, 4));
    } else if (code == 4) {
        GetDeviceBatteryStatus(data, four);
        QCOMPARE(QByteArray(reinterpret_cast<char*>(four), 4), device == Receiver ? Bytes({85, 0, 0, 0}) : Bytes({100, 0, 0, 0}));
    } else if (code == 18) {
        QCOMPARE(report.data, device == Receiver ? Bytes({0x03, 0x01}) : Bytes({0x02, 0x01}));
    } else if (code == 14) {
        QCOMPARE(report.data, Bytes({0}));
    }
}

void HidUsbReportsTest::readsAnswerOnTheReportThreadAfterTheCall()
{
    const char* path = SimControl_DevicePath(Receiver);
    UsbServerC_Start(path, path, &HeldCallback::Report);
    // If the read waited for its answer, the callback would give up waiting for the release.
    QCOMPARE(UsbServer_ReadVersion(), uint8_t(1));
    HeldCallback::release.Open();
    QVERIFY(HeldCallback::entered.WaitOpen());
    QVERIFY(SimControl_WaitIdle(10000));
    QVERIFY(HeldCallback::releasedInTime);
    QCOMPARE(HeldCallback::calls.load(), 1);
    QVERIFY(HeldCallback::thread != std::this_thread::get_id());
}

void HidUsbReportsTest::noAnswerWithoutAConnectionOrMouse()
{
    // No connection at all.
    QCOMPARE(UsbServer_ReadAllFlashData(), uint8_t(0));
    QCOMPARE(UsbServer_ReadBatteryLevel(), uint8_t(0));
    const QByteArray before = DeviceRecord(Receiver);
    QByteArray changed = before;
    changed[0] = char(8);
    QCOMPARE(Update(changed), uint8_t(0));

    // A receiver whose mouse is off answers no reads and stores nothing.
    ReportLog::Connect(Receiver);
    SimControl_SetMouseOnline(Receiver, 0);
    QCOMPARE(UsbServer_ReadAllFlashData(), uint8_t(0));
    QCOMPARE(UsbServer_ReadVersion(), uint8_t(0));
    QCOMPARE(UsbServer_SetCurrentConfig(1), uint8_t(0));
    QCOMPARE(UsbServer_SetClearSetting(), uint8_t(0));
    QCOMPARE(Update(changed), uint8_t(0));
    QCOMPARE(SimControl_UpdateCount(), 0);
    QCOMPARE(DeviceRecord(Receiver), before);
    QVERIFY(SimControl_WaitIdle(5000));
    QCOMPARE(int(ReportLog::Take().size()), 0);

    // Back in range, it answers again.
    SimControl_SetMouseOnline(Receiver, 1);
    QCOMPARE(Codes(ReadAndWait(&UsbServer_ReadConfig)), QList<int>{14});

    // A connection to a path that names no device answers nothing.
    UsbServerC_Start("a", "a", &ReportLog::Callback);
    QCOMPARE(UsbServer_ReadConfig(), uint8_t(0));
}

void HidUsbReportsTest::callbackCallingBackInDoesNotDeadlock()
{
    ChattyCallback::images = 0;
    const char* path = SimControl_DevicePath(Receiver);
    UsbServerC_Start(path, path, &ChattyCallback::Report);
    QCOMPARE(UsbServer_ReadAllFlashData(), uint8_t(1));
    QVERIFY(SimControl_WaitIdle(10000));
    QCOMPARE(Codes(ReportLog::Take()), (QList<int>{8, 8, 4, 18, 14}));
    QCOMPARE(ChattyCallback::images.load(), 1);
    QCOMPARE(SimControl_UpdateCount(), 1);
}

void HidUsbReportsTest::exitWhileACallbackWaitsForTheCaller()
{
    const char* path = SimControl_DevicePath(Receiver);
    UsbServerC_Start(path, path, &HeldCallback::Report);
    QCOMPARE(UsbServer_ReadBatteryLevel(), uint8_t(1));
    QCOMPARE(UsbServer_ReadVersion(), uint8_t(1)); // queued behind the one that will wait
    QVERIFY(HeldCallback::entered.WaitOpen());

    // The callback waits for this thread, which only lets it go once Exit has returned.
    UsbServer_Exit();
    HeldCallback::release.Open();
    QVERIFY(SimControl_WaitIdle(10000));
    QVERIFY(HeldCallback::releasedInTime);
    QCOMPARE(HeldCallback::calls.load(), 1); // the queued answer never started

    QCOMPARE(UsbServer_ReadVersion(), uint8_t(0));
    SimControl_PressDpiButton(Receiver, 2);
    QVERIFY(SimControl_WaitIdle(5000));
    QCOMPARE(HeldCallback::calls.load(), 1);
}

void HidUsbReportsTest::stopNoticesWhileANoticeWaitsForTheCaller()
{
    StartUsbChanged(&HeldCallback::Notice, 600);
    QVERIFY(HeldCallback::entered.WaitOpen());
    SimControl_SetAttached(Wired, 0); // one more notice queued

    StopUsbChanged();
    HeldCallback::release.Open();
    QVERIFY(SimControl_WaitIdle(10000));
    QVERIFY(HeldCallback::releasedInTime);
    QCOMPARE(HeldCallback::calls.load(), 1);
    SimControl_SetAttached(Wired, 1);
    QVERIFY(SimControl_WaitIdle(5000));
    QCOMPARE(HeldCallback::calls.load(), 1);
}

void HidUsbReportsTest::noticesFollowAttachAndDetach()
{
    StartUsbChanged(&CountNotice, 600);
    QVERIFY(SimControl_WaitIdle(5000));
    QCOMPARE(noticeCount.load(), 1); // once soon after registering

    SimControl_SetAttached(WirelessCable, 1);
    QVERIFY(SimControl_WaitIdle(5000));
    QCOMPARE(noticeCount.load(), 2);
    SimControl_SetAttached(WirelessCable, 1); // no change, no notice
    SimControl_SetMouseOnline(Receiver, 0);   // the receiver stays attached
    QVERIFY(SimControl_WaitIdle(5000));
    QCOMPARE(noticeCount.load(), 2);
    SimControl_SetAttached(Receiver, 0);
    SimControl_SetAttached(Wired, 0);
    QVERIFY(SimControl_WaitIdle(5000));
    QCOMPARE(noticeCount.load(), 4);

    // Registering again replaces the callback and gives one more first notice.
    StartUsbChanged(&CountNotice, 600);
    QVERIFY(SimControl_WaitIdle(5000));
    QCOMPARE(noticeCount.load(), 5);
    StopUsbChanged();
    SimControl_SetAttached(Receiver, 1);
    QVERIFY(SimControl_WaitIdle(5000));
    QCOMPARE(noticeCount.load(), 5);
}

void HidUsbReportsTest::buttonOnTheMouseGivesStatusChangeThenAnswer()
{
    const char* path = SimControl_DevicePath(Receiver);
    UsbServerC_Start(path, path, &ChattyCallback::Report);

    SimControl_PressDpiButton(Receiver, 3);
    QVERIFY(SimControl_WaitIdle(5000));
    auto reports = ReportLog::Take();
    QCOMPARE(Codes(reports), (QList<int>{10, 8}));
    uint8_t flags[HIDUSB_STATUS_CHANGE_SIZE];
    GetDeviceStatusChanged(reinterpret_cast<const uint8_t*>(reports[0].data.constData()), flags);
    QCOMPARE(QByteArray(reinterpret_cast<char*>(flags), 7), Bytes({1, 0, 0, 0, 0, 0, 0}));
    QCOMPARE(reports[1].Item(), 4);
    QCOMPARE(reports[1].data, Bytes({3}));
    QCOMPARE(uint8_t(DeviceRecord(Receiver)[2]), uint8_t(3));

    SimControl_PressRateButton(Receiver, 8);
    QVERIFY(SimControl_WaitIdle(5000));
    reports = ReportLog::Take();
    QCOMPARE(Codes(reports), (QList<int>{10, 8}));
    GetDeviceStatusChanged(reinterpret_cast<const uint8_t*>(reports[0].data.constData()), flags);
    QCOMPARE(QByteArray(reinterpret_cast<char*>(flags), 7), Bytes({0, 1, 0, 0, 0, 0, 0}));
    QCOMPARE(reports[1].Item(), 0);
    QCOMPARE(reports[1].data, Bytes({8}));

    // Levels beyond the mouse's count and rates it does not have change nothing.
    SimControl_PressDpiButton(Receiver, 4);
    SimControl_PressRateButton(Receiver, 3);
    SimControl_PressDpiButton(Wired, 0); // another mouse than the connected one
    QVERIFY(SimControl_WaitIdle(5000));
    QCOMPARE(int(ReportLog::Take().size()), 0);
    QCOMPARE(uint8_t(DeviceRecord(Receiver)[2]), uint8_t(3));
    QCOMPARE(uint8_t(DeviceRecord(Wired)[2]), uint8_t(0));
}

void HidUsbReportsTest::batteryChangeIsReported()
{
    ReportLog::Connect(Receiver);
    SimControl_SetBattery(Receiver, 40, 1);
    QVERIFY(SimControl_WaitIdle(5000));
    const auto reports = ReportLog::Take();
    QCOMPARE(Codes(reports), QList<int>{4});
    uint8_t status[HIDUSB_BATTERY_STATUS_SIZE];
    GetDeviceBatteryStatus(reinterpret_cast<const uint8_t*>(reports[0].data.constData()), status);
    QCOMPARE(QByteArray(reinterpret_cast<char*>(status), 4), Bytes({40, 1, 0, 0}));
}

void HidUsbReportsTest::profilesHoldTheirOwnRecord()
{
    ReportLog::Connect(Wired);
    const QByteArray defaults = DeviceRecord(Wired);
    QByteArray first = defaults;
    first[0] = char(8);
    first[0x24] = first[0x25] = char(20);
    QCOMPARE(Update(first), uint8_t(1));

    QCOMPARE(UsbServer_SetCurrentConfig(2), uint8_t(1));
    QVERIFY(SimControl_WaitIdle(5000));
    auto reports = ReportLog::Take();
    QCOMPARE(Codes(reports), (QList<int>{14, 8}));
    QCOMPARE(reports[0].data, Bytes({2}));
    QCOMPARE(reports[1].data.size(), HIDUSB_RAW_IMAGE_SIZE);
    QCOMPARE(ParseImage(reports[1].data), defaults);
    QCOMPARE(SimControl_GetActiveProfile(Wired), 2);

    QByteArray third = defaults;
    third[5] = char(3);
    QCOMPARE(Update(third), uint8_t(1));
    QCOMPARE(UsbServer_SetCurrentConfig(0), uint8_t(1));
    QVERIFY(SimControl_WaitIdle(5000));
    reports = ReportLog::Take();
    QCOMPARE(Codes(reports), (QList<int>{14, 8}));
    QCOMPARE(ParseImage(reports[1].data), first);

    // The mouse switching by itself tells the same way.
    SimControl_SwitchProfile(Wired, 2);
    QVERIFY(SimControl_WaitIdle(5000));
    reports = ReportLog::Take();
    QCOMPARE(Codes(reports), (QList<int>{14, 8}));
    QCOMPARE(ParseImage(reports[1].data), third);

    QCOMPARE(UsbServer_SetCurrentConfig(4), uint8_t(0));
    QVERIFY(SimControl_WaitIdle(5000));
    QCOMPARE(int(ReportLog::Take().size()), 0);
    QCOMPARE(SimControl_GetActiveProfile(Wired), 2);
}

void HidUsbReportsTest::clearSettingsRestoresDefaultsThenCode9()
{
    const QByteArray defaults = DeviceRecord(Receiver);
    // The model's defaults as the description gives them.
    QCOMPARE(defaults.left(3), Bytes({1, 4, 1}));
    QCOMPARE(uint8_t(defaults[8]), uint8_t(6));
    QCOMPARE(defaults.mid(0x24, 24), Bytes({7, 7, 0, 255, 0, 0, 15, 15, 0, 0, 255, 0, 31, 31, 0, 0, 0, 255, 63, 63, 0, 255, 255, 0}));
    QCOMPARE(defaults.mid(0x5F, 15), Bytes({1, 1, 0, 1, 2, 0, 1, 4, 0, 1, 8, 0, 1, 16, 0}));

    const char* path = SimControl_DevicePath(Receiver);
    UsbServerC_Start(path, path, &ChattyCallback::Report);
    QByteArray changed = defaults;
    changed[0] = char(64);
    changed[0x90] = char(2);
    QCOMPARE(Update(changed), uint8_t(1));
    QCOMPARE(UsbServer_SetCurrentConfig(3), uint8_t(1));
    QCOMPARE(Update(changed), uint8_t(1));
    QVERIFY(SimControl_WaitIdle(5000));
    ReportLog::Take();

    QCOMPARE(UsbServer_SetClearSetting(), uint8_t(1));
    QVERIFY(SimControl_WaitIdle(5000));
    const auto reports = ReportLog::Take();
    QCOMPARE(reports.front().Code(), 9);
    QCOMPARE(reports.front().data.size(), 0);
    QCOMPARE(DeviceRecord(Receiver), defaults);
    QCOMPARE(SimControl_GetActiveProfile(Receiver), 0);
    SimControl_SwitchProfile(Receiver, 3);
    QCOMPARE(DeviceRecord(Receiver), defaults); // every profile is back to the defaults
}

void HidUsbReportsTest::pairing_data()
{
    QTest::addColumn<int>("outcome");
    QTest::addColumn<int>("cid");
    QTest::addColumn<int>("reported");
    QTest::newRow("paired") << 3 << 28 << 3;
    QTest::newRow("failed") << 2 << 28 << 2;
    QTest::newRow("still pairing") << 1 << 28 << 1;
    QTest::newRow("another customer's mouse") << 3 << 29 << 2;
}

void HidUsbReportsTest::pairing()
{
    QFETCH(int, outcome);
    QFETCH(int, cid);
    QFETCH(int, reported);
    SimControl_SetMouseOnline(Receiver, 0); // a mouse waiting to be paired
    ReportLog::Connect(Receiver);
    SimControl_SetPairingOutcome(outcome);
    QCOMPARE(UsbServer_EnterDonglePairOnlyCid(uint8_t(cid)), uint8_t(1));
    for (int i = 0; i < 3; ++i)
        QCOMPARE(UsbServer_ReadDonglePairStatus(), uint8_t(1));
    QVERIFY(SimControl_WaitIdle(5000));
    const auto reports = ReportLog::Take();
    QCOMPARE(Codes(reports), (QList<int>{6, 6, 6}));
    QCOMPARE(reports[0].data, Bytes({1}));
    QCOMPARE(reports[1].data, Bytes({reported}));
    QCOMPARE(reports[2].data, Bytes({reported}));
    QCOMPARE(VidEzorarA_GetDeviceOnLine(SimControl_DevicePath(Receiver)), uint8_t(reported == 3 ? 1 : 0));

    // The outcome is used once: the next attempt pairs.
    QCOMPARE(UsbServer_EnterDonglePairOnlyCid(28), uint8_t(1));
    UsbServer_ReadDonglePairStatus();
    UsbServer_ReadDonglePairStatus();
    QVERIFY(SimControl_WaitIdle(5000));
    QCOMPARE(ReportLog::Take().back().data, Bytes({3}));
}

void HidUsbReportsTest::pairingNeedsAReceiver()
{
    ReportLog::Connect(Wired);
    QCOMPARE(UsbServer_EnterDonglePairOnlyCid(28), uint8_t(0));
    QCOMPARE(UsbServer_ReadDonglePairStatus(), uint8_t(0));
    QVERIFY(SimControl_WaitIdle(5000));
    QCOMPARE(int(ReportLog::Take().size()), 0);
}

// A receiver unplugged during pairing leaves pairing mode, and the connection opened before takes no
// pairing call, also once the receiver is back, as a handle of the device that left would not. A new
// connection reaches the receiver again: it is idle, and pairs when asked.
void HidUsbReportsTest::pairingEndsWhenTheReceiverIsUnplugged()
{
    ReportLog::Connect(Receiver);
    QCOMPARE(UsbServer_EnterDonglePairOnlyCid(28), uint8_t(1));
    QCOMPARE(UsbServer_ReadDonglePairStatus(), uint8_t(1));
    SimControl_SetAttached(Receiver, 0);
    SimControl_SetAttached(Receiver, 1);
    QCOMPARE(UsbServer_ReadDonglePairStatus(), uint8_t(0));
    QCOMPARE(UsbServer_EnterDonglePairOnlyCid(28), uint8_t(0));
    QVERIFY(SimControl_WaitIdle(5000));
    std::vector<SeenReport> reports = ReportLog::Take();
    QCOMPARE(Codes(reports), (QList<int>{6}));
    QCOMPARE(reports[0].data, Bytes({1}));

    ReportLog::Connect(Receiver);
    QCOMPARE(UsbServer_ReadDonglePairStatus(), uint8_t(1));
    QCOMPARE(UsbServer_EnterDonglePairOnlyCid(28), uint8_t(1));
    UsbServer_ReadDonglePairStatus();
    UsbServer_ReadDonglePairStatus();
    QVERIFY(SimControl_WaitIdle(5000));
    reports = ReportLog::Take();
    QCOMPARE(Codes(reports), (QList<int>{6, 6, 6}));
    QCOMPARE(reports[0].data, Bytes({0}));
    QCOMPARE(reports[2].data, Bytes({3}));
}

// A receiver told to refuse its light writes answers 0 to the light bar and the indicator LEDs and
// keeps what it held; the indicator meaning is not a light write. Every attempt is counted.
void HidUsbReportsTest::receiverLightWrites_data()
{
    QTest::addColumn<int>("which");
    QTest::addColumn<bool>("refusing");
    QTest::addColumn<QByteArray>("sent");
    QTest::addColumn<bool>("taken");
    const QByteArray bar = Bytes({3, 10, 20, 30, 4, 5, 1});
    const QByteArray leds = Bytes({1, 2, 3});
    const QByteArray meaning = Bytes({2, 0, 0, 0, 0, 0, 0, 0, 0, 0});
    QTest::newRow("light bar taken") << int(SIMCONTROL_RECEIVER_LIGHT_BAR) << false << bar << true;
    QTest::newRow("light bar refused") << int(SIMCONTROL_RECEIVER_LIGHT_BAR) << true << bar << false;
    QTest::newRow("indicator LEDs taken") << int(SIMCONTROL_RECEIVER_INDICATOR_LEDS) << false << leds << true;
    QTest::newRow("indicator LEDs refused") << int(SIMCONTROL_RECEIVER_INDICATOR_LEDS) << true << leds << false;
    QTest::newRow("indicator LED mode 4 refused") << int(SIMCONTROL_RECEIVER_INDICATOR_LEDS) << false << Bytes({0, 4, 0})
                                                  << false;
    QTest::newRow("meaning taken while lights are refused") << int(SIMCONTROL_RECEIVER_INDICATOR) << true << meaning
                                                            << true;
}

void HidUsbReportsTest::receiverLightWrites()
{
    QFETCH(int, which);
    QFETCH(bool, refusing);
    QFETCH(QByteArray, sent);
    QFETCH(bool, taken);
    using Set = uint8_t (*)(const char*, const uint8_t*);
    const Set set[3] = {VidEzorarA_Set4KDongleRGB, VidEzorarA_SetDongleRGBBarMode, VidEzorarA_SetDongleIndicatorLed};
    QByteArray before(sent.size(), 0);
    QVERIFY(SimControl_GetReceiverRecord(Receiver, which, reinterpret_cast<uint8_t*>(before.data())));
    SimControl_SetReceiverRefusesLights(Receiver, refusing ? 1 : 0);
    const uint8_t result = set[which](SimControl_DevicePath(Receiver), reinterpret_cast<const uint8_t*>(sent.constData()));
    QCOMPARE(result != 0, taken);
    QByteArray held(sent.size(), 0);
    QVERIFY(SimControl_GetReceiverRecord(Receiver, which, reinterpret_cast<uint8_t*>(held.data())));
    QCOMPARE(held, taken ? sent : before);
    QCOMPARE(SimControl_ReceiverWriteCount(which), 1);
    // Told otherwise, the receiver takes the same write.
    SimControl_SetReceiverRefusesLights(Receiver, 0);
    if (which != SIMCONTROL_RECEIVER_INDICATOR && sent.at(1) != 4) {
        QCOMPARE(set[which](SimControl_DevicePath(Receiver), reinterpret_cast<const uint8_t*>(sent.constData())),
                 uint8_t(1));
        QCOMPARE(SimControl_ReceiverWriteCount(which), 2);
    }
    // A reset takes the refusal back and zeroes the counts.
    SimControl_SetReceiverRefusesLights(Receiver, 1);
    session.Reset();
    QCOMPARE(SimControl_ReceiverWriteCount(which), 0);
    QCOMPARE(VidEzorarA_SetDongleIndicatorLed(SimControl_DevicePath(Receiver), reinterpret_cast<const uint8_t*>("\1\1\1")),
             uint8_t(1));
}

// Told to refuse the indicator meaning, the receiver answers 0 and keeps the meaning it held, while
// it still takes its light writes; told otherwise, or after a reset, it takes the meaning again.
void HidUsbReportsTest::indicatorMeaningRefusedWhenTold()
{
    const char* path = SimControl_DevicePath(Receiver);
    const QByteArray meaning = Bytes({3, 0, 0, 0, 0, 0, 0, 0, 0, 0});
    const auto held = [] {
        QByteArray bytes(HIDUSB_DONGLE_RGB_SIZE, 0);
        SimControl_GetReceiverRecord(Receiver, SIMCONTROL_RECEIVER_INDICATOR, reinterpret_cast<uint8_t*>(bytes.data()));
        return bytes;
    };
    const QByteArray before = held();
    SimControl_SetReceiverRefusesIndicator(Receiver, 1);
    QCOMPARE(VidEzorarA_Set4KDongleRGB(path, reinterpret_cast<const uint8_t*>(meaning.constData())), uint8_t(0));
    QCOMPARE(held(), before);
    QCOMPARE(SimControl_ReceiverWriteCount(SIMCONTROL_RECEIVER_INDICATOR), 1);
    QCOMPARE(VidEzorarA_SetDongleIndicatorLed(path, reinterpret_cast<const uint8_t*>("\1\1\1")), uint8_t(1));
    SimControl_SetReceiverRefusesIndicator(Receiver, 0);
    QCOMPARE(VidEzorarA_Set4KDongleRGB(path, reinterpret_cast<const uint8_t*>(meaning.constData())), uint8_t(1));
    QCOMPARE(held(), meaning);
    SimControl_SetReceiverRefusesIndicator(Receiver, 1);
    session.Reset();
    QCOMPARE(VidEzorarA_Set4KDongleRGB(SimControl_DevicePath(Receiver), reinterpret_cast<const uint8_t*>(meaning.constData())),
             uint8_t(1));
}

void HidUsbReportsTest::indicatorReportOnlyOverTheConnection()
{
    SimControl_ReportIndicator(Receiver);
    QVERIFY(SimControl_WaitIdle(5000));
    QCOMPARE(SimControl_ReadCount(HIDUSB_REPORT_RECEIVER_INDICATOR), 0);
    ReportLog::Connect(Receiver);
    SimControl_ReportIndicator(Wired);
    SimControl_ReportIndicator(Receiver);
    QVERIFY(SimControl_WaitIdle(5000));
    QCOMPARE(Codes(ReportLog::Take()), QList<int>{HIDUSB_REPORT_RECEIVER_INDICATOR});
}

QTEST_GUILESS_MAIN(HidUsbReportsTest)
#include "tst_hidusbreports.moc"
