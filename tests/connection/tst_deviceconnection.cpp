#include "support/SettleDevices.h"
#include "support/RunOnDeviceThread.h"
#include "device/DeliveryMarkedApplication.h"
#include "device/ConfigSetting.h"
#include "device/ConnectionState.h"
#include "device/DeviceDiscovery.h"
#include "device/DeviceInfoCache.h"
#include "device/DeviceParamSetters.h"
#include "device/DeviceReportCallback.h"
#include "device/DeviceState.h"
#include "device/PostMsg.h"
#include "device/ReloadThrottle.h"
#include "device/Worker.h"
#include "platform/RegistryStore.h"
#include "support/SimulatedDeviceFixture.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <QtTest>
#include <cstring>

namespace {
constexpr int Receiver = 0;
constexpr int WiredMouse = 1;
constexpr int WirelessCable = 2;
constexpr int Receiver2K = 5; // the fixture's receiver of status 4

// The receiver's own indicator meaning and long-range mode, as the library reads them.
int IndicatorOf(const QByteArray& path)
{
    uint8_t record[10] = {};
    return VidEzorarA_Get4KDongleRGBValue(path.constData(), record) ? record[0] : -1;
}

int LongRangeOf(const QByteArray& path)
{
    uint8_t mode = 's';
    return VidEzorarA_GetLongRangeMode(path.constData(), &mode) ? mode : -1;
}

QByteArray Bytes(const FlashDataMap& record)
{
    return QByteArray(reinterpret_cast<const char*>(record.bytes()), int(sizeof record));
}
}

// Stands in for the pages: takes what the device side sends on the GUI thread, over the
// connection types the pages use, and keeps the order it arrived in.
class PageStandIn : public QObject
{
    Q_OBJECT
public:
    QStringList events;
    FlashDataMap lastRecord{};
    QList<QVariantList> arguments;

    void ConnectTo(PostMsg* bus)
    {
        const auto blocking = Qt::BlockingQueuedConnection;
        connect(bus, SIGNAL(SigUpDataLightUIButton(FlashDataMap)), this, SLOT(SlotButton(FlashDataMap)), blocking);
        connect(bus, SIGNAL(SigUpDataLightLight(FlashDataMap)), this, SLOT(SlotLight(FlashDataMap)), blocking);
        connect(bus, SIGNAL(SigUpDataLightSensor(FlashDataMap)), this, SLOT(SlotSensor(FlashDataMap)), blocking);
        connect(bus, SIGNAL(SigUpDataDPILed(FlashDataMap)), this, SLOT(SlotDpiLed(FlashDataMap)), blocking);
        connect(bus, SIGNAL(SigForm()), this, SLOT(SlotForm()), blocking);
        connect(bus, SIGNAL(SigFormReset()), this, SLOT(SlotFormReset()), blocking);
        connect(bus, SIGNAL(SigBattery(bool,int,bool)), this, SLOT(SlotBattery(bool,int,bool)), blocking);
        connect(bus, SIGNAL(SigUpDataReportRate(int)), this, SLOT(SlotReportRate(int)), blocking);
        connect(bus, SIGNAL(SigUpDataDPI(int)), this, SLOT(SlotDpi(int)), blocking);
        connect(bus, SIGNAL(SigUpDataConfigUI(int,int,bool)), this, SLOT(SlotConfig(int,int,bool)), blocking);
        connect(bus, SIGNAL(SigLongRangeMode(bool)), this, SLOT(SlotLongRange(bool)), blocking);
        connect(bus, SIGNAL(SigRGBValue(DongleRGB*)), this, SLOT(SlotRgb(DongleRGB*)), blocking);
        connect(bus, &PostMsg::SigUpDataParam, this, [this](int index) { Note("Param", {index}); });
        connect(bus, &PostMsg::SigIsUsb, this, [this](bool usb, bool vs) { Note("IsUsb", {usb, vs}); });
        connect(bus, &PostMsg::SigSetver, this, [this](int index) { Note("Setver", {index}); });
        connect(bus, &PostMsg::SigChangeMainDialog, this, [this](int index) { Note("ChangeMainDialog", {index}); });
        connect(bus, &PostMsg::SigCloseOffOnline, this, [this] { Note("CloseOffOnline", {}); });
        connect(bus, &PostMsg::SigMouseOffLineo, this, [this](int index) { Note("MouseOffLine", {index}); });
    }
    int Count(const QString& event) const { return events.count(event); }
    QVariantList Last(const QString& event) const
    {
        for (int i = events.size() - 1; i >= 0; --i)
            if (events.at(i) == event)
                return arguments.at(i);
        return {};
    }
    void Clear()
    {
        events.clear();
        arguments.clear();
    }

public slots:
    void SlotButton(FlashDataMap DataMap) { Record("Button", DataMap); }
    void SlotLight(FlashDataMap DataMap) { Record("Light", DataMap); }
    void SlotSensor(FlashDataMap DataMap) { Record("Sensor", DataMap); }
    void SlotDpiLed(FlashDataMap DataMap) { Record("DpiLed", DataMap); }
    void SlotForm() { Note("Form", {}); }
    void SlotFormReset() { Note("FormReset", {}); }
    void SlotBattery(bool charging, int level, bool text) { Note("Battery", {charging, level, text}); }
    void SlotReportRate(int rate) { Note("ReportRate", {rate}); }
    void SlotDpi(int level) { Note("Dpi", {level}); }
    void SlotConfig(int total, int index, bool enabled) { Note("Config", {total, index, enabled}); }
    void SlotLongRange(bool on) { Note("LongRange", {on}); }
    void SlotRgb(DongleRGB* rgb) { Note("Rgb", {int(rgb->bytes[0])}); }

private:
    void Note(const QString& event, const QVariantList& values)
    {
        events << event;
        arguments << values;
    }
    void Record(const QString& event, const FlashDataMap& record)
    {
        lastRecord = record;
        Note(event, {});
    }
};

class TestDeviceConnection : public QObject
{
    Q_OBJECT
    TestHome home;
    QTemporaryDir programFolder;
    SimulatedDevices* devices = nullptr;
    int extraModels = 0;
    PageStandIn pages;
    Worker* worker = nullptr;

    // The record as the device describes itself, as the selection page hands it over; a model
    // index of the test's own when given.
    DeviceAllInfo Describe(int device, int modelIndex = -1)
    {
        DeviceAllInfo info;
        info.path = QString::fromLocal8Bit(devices->Path(device));
        const uint8_t* reply = VidEzorarA_GetDeviceInfo(devices->Path(device).constData(), 0);
        info.CID = reply[0];
        info.MID = reply[1];
        info.status = reply[2];
        info.wired = DeviceAllInfo::IsWiredStatus(info.status);
        info.modelIndex = modelIndex >= 0 ? modelIndex : (info.MID == 18 ? 0 : 1);
        info.online = VidEzorarA_GetDeviceOnLine(devices->Path(device).constData()) != 0;
        uint8_t address[HIDUSB_USB_ADDRESS_STATUS_SIZE] = {};
        VidEzorarA_GetDeviceOnLineWithUsbAddress(devices->Path(device).constData(), address);
        info.address = {address[7], address[8], address[9]};
        return info;
    }

    // Opens a device as the selection page does: select it, mark the window open, start a pass.
    void Open(int device, int modelIndex = -1)
    {
        emit PostMsg::Instance()->SigSelectMouseInfo(Describe(device, modelIndex));
        DeviceWindowActive = 1;
        RunRequested = true;
        worker->start();
    }

    static void Deliver(const QByteArray& header, const QByteArray& data) { DeliverReport(header, data); }
    static QByteArray Header(int code, int status = 0, int item = 0)
    {
        const char bytes[5] = {0, char(code), 0, char(status), char(item)};
        return QByteArray(bytes, 5);
    }

private slots:
    void initTestCase()
    {
        home.MakeUserFolders();
        // A program folder of the test's own: the shipped model list with two buttons whose key
        // records the model keeps after a restore, and the shipped simulated devices plus two strangers.
        const QString shipped = AppPaths::ProgramFolder();
        QDir().mkpath(programFolder.path() + "/usersetting");
        QDir().mkpath(programFolder.path() + "/simulated");
        QFile config(shipped + "/usersetting/Config.ini");
        QVERIFY(config.open(QIODevice::ReadOnly));
        QByteArray modelList = config.readAll();
        const int drive2 = modelList.indexOf("[Drive2]");
        QVERIFY(drive2 > 0);
        QByteArray tail = modelList.mid(drive2);
        tail.replace("KeyParam2=0x01,0x02,0x00", "KeyParam2=0x05,0x02,0x00");
        tail.replace("KeyParam5=0x01,0x10,0x00", "KeyParam5=0x05,0x10,0x00");
        modelList = modelList.left(drive2) + tail;
        // Models that differ only in their receiver defaults ("Adveanced"), Drive3 to Drive7.
        const char* const receiverDefaults[] = {"1,3", "0,0", "-1,-1", "2,-1", nullptr};
        for (const char* defaults : receiverDefaults)
            modelList += QByteArray("\n[Drive") + QByteArray::number(++extraModels + 2) + "]\n"
                + (defaults ? QByteArray("Adveanced=") + defaults + "\n" : QByteArray());
        QFile fixtureConfig(programFolder.path() + "/usersetting/Config.ini");
        QVERIFY(fixtureConfig.open(QIODevice::WriteOnly));
        fixtureConfig.write(modelList);
        fixtureConfig.close();

        QFile description(shipped + "/simulated/devices.ini");
        QVERIFY(description.open(QIODevice::ReadOnly));
        QFile fixtureDescription(programFolder.path() + "/simulated/devices.ini");
        QVERIFY(fixtureDescription.open(QIODevice::WriteOnly));
        fixtureDescription.write(description.readAll());
        fixtureDescription.write("\n[Device 4]\nKind=cable\nVID=0x3554\nPID=0xF5D1\nBootPID=0xF5E1\nCID=29\nStatus=2\nMouse=2\n"
                                 "UsbVersion=0x0101\nAttachedAtStart=false\n"
                                 "\n[Device 5]\nKind=cable\nVID=0x3554\nPID=0xF5D1\nBootPID=0xF5E1\nCID=28\nMID=99\nStatus=2\nMouse=2\n"
                                 "UsbVersion=0x0101\nAttachedAtStart=false\n"
                                 "\n[Device 6]\nKind=receiver\nVID=0x3554\nPID=0xF5D3\nBootPID=0xF5E3\nCID=28\nStatus=4\n"
                                 "Mouse=1\nUsbVersion=0x0105\nReceiverFirmware=0x0105\nAddress=0x5A,0x13,0xC7\n"
                                 "AttachedAtStart=false\nMouseOnlineAtStart=true\nIndicator=3,0,0,0,0,0,0,0,0,0\nLongRange=0\n");
        fixtureDescription.close();
        AppPaths::SetProgramFolder(programFolder.path());

        devices = new SimulatedDevices;
        pages.ConnectTo(PostMsg::Instance());
        worker = new Worker;
        // The tests give the 1300 ms ticks themselves, so that a slow run cannot tick in between.
        WorkerCheckTimer->stop();
    }

    void init()
    {
        devices->Reset();
        pages.Clear();
        CurrentDeviceInfo.Set(DeviceAllInfo());
        InvalidateDeviceConfig();
        DeviceOnline = false;
        ConnectionStartedOnline = false;
        OfflineNoticeOpen = false;
        ReloadRequested = false;
        FullReloadPending = false;
        FollowDeviceRemoval = true;
        KeyRecordResetPending = false;
        SkipReceiverReadOnce = false;
    }

    void cleanup()
    {
        worker->StopAndWait();
        UsbServer_Exit();
        StopUsbChanged();
        QVERIFY(SettleDevices());
    }

    void cleanupTestCase()
    {
        delete worker;
        delete devices;
    }

    void afterConstructionAPassFindsNothingToDo()
    {
        DeviceWindowActive = 0;
        RunRequested = true;
        worker->start();
        QVERIFY(worker->wait(5000));
        QVERIFY(!RunRequested);
        QVERIFY(pages.events.isEmpty());
    }

    // Opening a device reads its whole record and hands it to every page, in order, and the working
    // copy becomes the device's; then one setter changes exactly its byte on the device.
    void openingADeviceDeliversItsRecord()
    {
        Open(WiredMouse);
        QTRY_VERIFY_WITH_TIMEOUT(pages.events.contains("Form"), 5000);
        const int param = pages.events.indexOf("Param");
        const int usb = pages.events.indexOf("IsUsb");
        const int button = pages.events.indexOf("Button");
        QVERIFY(param >= 0 && param < usb);
        QCOMPARE(pages.events.mid(button, 4), QStringList({"Button", "Light", "Sensor", "Form"}));
        QCOMPARE(pages.Last("Param"), QVariantList({0}));
        QCOMPARE(pages.Last("IsUsb"), QVariantList({true, true}));

        const FlashDataMap held = devices->Record(WiredMouse);
        QCOMPARE(Bytes(pages.lastRecord), Bytes(held));
        QCOMPARE(Bytes(DeviceConfigSnapshot()), Bytes(held));
        QVERIFY(DeviceConfigIsCurrent);
        QVERIFY(LastPassOnline);
        QCOMPARE(ReportCacheFileName.Get(), QString("Device_CID1C_MID13.bin"));
        QCOMPARE(QByteArray(CurrentDevicePath.load()), devices->Path(WiredMouse));

        QTRY_VERIFY_WITH_TIMEOUT(pages.events.contains("Setver"), 5000);
        QVERIFY(SettleDevices());
        QVERIFY(SetDeviceReportRate(uint8_t(held.reportRate == 2 ? 4 : 2)));
        QVERIFY(SettleDevices());
        FlashDataMap expected = held;
        expected.reportRate = held.reportRate == 2 ? 4 : 2;
        QCOMPARE(Bytes(devices->Record(WiredMouse)), Bytes(expected));

        // A second pass for the same device and state has nothing to do.
        pages.Clear();
        RunRequested = true;
        worker->start();
        QVERIFY(worker->wait(5000));
        QVERIFY(!pages.events.contains("Param"));
    }

    // What the device reports on its own reaches the working copy and the pages.
    void reportsFromTheDevice()
    {
        Open(WiredMouse);
        QTRY_VERIFY_WITH_TIMEOUT(pages.events.contains("Form"), 5000);
        QVERIFY(SettleDevices());

        SimControl_PressDpiButton(WiredMouse, 3);
        QTRY_COMPARE_WITH_TIMEOUT(pages.Last("Dpi"), QVariantList({3}), 5000);
        QCOMPARE(int(DeviceConfigSnapshot().currentDpiLevel), 3);

        SimControl_PressRateButton(WiredMouse, 64);
        QTRY_COMPARE_WITH_TIMEOUT(pages.Last("ReportRate"), QVariantList({64}), 5000);
        QCOMPARE(int(DeviceConfigSnapshot().reportRate), 64);

        SimControl_SetBattery(WiredMouse, 15, 1);
        QTRY_COMPARE_WITH_TIMEOUT(pages.Last("Battery"), QVariantList({true, 15, true}), 5000);

        pages.Clear();
        UsbServer_ReadDPILed();
        QTRY_VERIFY_WITH_TIMEOUT(pages.events.contains("DpiLed"), 5000);
        QCOMPARE(QByteArray(reinterpret_cast<const char*>(pages.lastRecord.bytes()) + 0x54, 4),
                 QByteArray(reinterpret_cast<const char*>(devices->Record(WiredMouse).bytes()) + 0x54, 4));
        UsbServer_ReadLedBar();
        QTRY_VERIFY_WITH_TIMEOUT(pages.events.contains("Light"), 5000);
        QCOMPARE(QByteArray(reinterpret_cast<const char*>(pages.lastRecord.bytes()) + 0x58, 4),
                 QByteArray(reinterpret_cast<const char*>(devices->Record(WiredMouse).bytes()) + 0x58, 4));

        // Switching the on-board profile: the profile report, then the profile's whole record.
        pages.Clear();
        UsbServer_SetCurrentConfig(2);
        QTRY_VERIFY_WITH_TIMEOUT(pages.events.contains("Form"), 5000);
        QCOMPARE(pages.Last("Config"), QVariantList({4, 2, true}));
        QVERIFY(pages.events.indexOf("Config") < pages.events.indexOf("Button"));
    }

    void versionTextAndRegistryValue()
    {
        Open(WiredMouse);
        QTRY_VERIFY_WITH_TIMEOUT(pages.events.contains("Setver"), 5000);
        const QString expected = VersionText(SimControl_GetFirmwareVersion(WiredMouse));
        QCOMPARE(CurrentDeviceInfo.Get().firmwareVersion, expected);
        QCOMPARE(RegistryStore(MouseDriveTestKey()).Value("MouseVer2819").toString(), expected);
    }

    void versionTexts_data()
    {
        QTest::addColumn<int>("version");
        QTest::addColumn<QString>("text");
        QTest::newRow("0x0103") << 0x0103 << "v1.03";
        QTest::newRow("0x1A0B") << 0x1A0B << "v26.0B";
        QTest::newRow("0x010A") << 0x010A << "v1.0A";
        QTest::newRow("0x0C0F") << 0x0C0F << "v12.0F";
        QTest::newRow("0x0000") << 0 << "v0.00";
    }
    void versionTexts()
    {
        QFETCH(int, version);
        QFETCH(QString, text);
        QCOMPARE(VersionText(uint16_t(version)), text);
    }

    // After a restore of the defaults the next whole record keeps the receiver settings just written
    // and clears the key records and macros of every button but those the model keeps ("0x05").
    void restoreClearsKeyRecordsButTheKeptButtons()
    {
        Open(WiredMouse);
        QTRY_VERIFY_WITH_TIMEOUT(pages.events.contains("Form"), 5000);
        QVERIFY(SettleDevices());

        FlashDataMap filled = devices->Record(WiredMouse);
        for (int button = 0; button < ButtonSlotCount; ++button) {
            filled.keyRecords[button].eventCount = 2;
            filled.keyRecords[button].events[0] = KeyEvent{0, 1, uint16_t(4 + button), 10};
            filled.macros[button].nameLength = 1;
            filled.macros[button].name[0] = uint8_t('A' + button);
            filled.macros[button].eventCount = 1;
            filled.macros[button].events[0] = MacroEvent{0, 1, uint8_t(button), 0, 100};
        }
        QByteArray raw(HIDUSB_RAW_IMAGE_SIZE, 0);
        SimControl_EncodeImage(filled.bytes(), reinterpret_cast<uint8_t*>(raw.data()));
        FlashDataMap parsed{};
        ProtocolDataParser(reinterpret_cast<const uint8_t*>(raw.constData()), &parsed);

        const int updatesBefore = SimControl_UpdateCount();
        KeyRecordResetPending = true;
        SkipReceiverReadOnce = true;
        pages.Clear();
        Deliver(Header(HIDUSB_REPORT_PARAMETER, 0, 0), raw);
        QVERIFY(!KeyRecordResetPending);
        QVERIFY(!SkipReceiverReadOnce);
        QVERIFY(!pages.events.contains("LongRange"));

        const FlashDataMap working = DeviceConfigSnapshot();
        for (int button = 0; button < ButtonSlotCount; ++button) {
            const bool kept = button == 1 || button == 4;
            QCOMPARE(std::memcmp(&working.keyRecords[button], &parsed.keyRecords[button], sizeof(ButtonKeyRecord)) == 0, kept);
            QCOMPARE(std::memcmp(&working.macros[button], &parsed.macros[button], sizeof(ButtonMacroBlock)) == 0, kept);
            if (!kept) {
                QCOMPARE(int(working.keyRecords[button].eventCount), 0);
                QCOMPARE(int(working.macros[button].nameLength), 0);
            }
        }
        QCOMPARE(std::memcmp(working.bytes(), parsed.bytes(), FlashOffset::KeyRecords), 0);
        QVERIFY(SettleDevices());
        QCOMPARE(SimControl_UpdateCount(), updatesBefore + 1);
        QCOMPARE(Bytes(devices->Record(WiredMouse)), Bytes(working));
    }

    // The real restore: code 9 from the device, then its defaults come back without key records.
    void restoreOnTheDevice()
    {
        Open(WiredMouse);
        QTRY_VERIFY_WITH_TIMEOUT(pages.events.contains("Form"), 5000);
        QVERIFY(SettleDevices());
        pages.Clear();
        UsbServer_SetClearSetting();
        QTRY_VERIFY_WITH_TIMEOUT(pages.events.contains("Form"), 5000);
        QVERIFY(SettleDevices());
        const FlashDataMap held = devices->Record(WiredMouse);
        QCOMPARE(Bytes(DeviceConfigSnapshot()), Bytes(held));
        QVERIFY(DeviceConfigIsCurrent);
    }

    // A restore of the defaults (code 9) applies the model's receiver defaults ("Adveanced": long-range
    // mode, then indicator meaning) before the record is read again: the indicator only on a receiver
    // of status 1, the long-range mode on whatever is open; "-1" or no value leaves each alone.
    void restoreAppliesTheReceiverDefaults_data()
    {
        QTest::addColumn<int>("device");
        QTest::addColumn<int>("model");        // its "Adveanced": 0 "0,1", 1 "-1,-1", 2 "1,3", 3 "0,0",
                                               // 4 "-1,-1", 5 "2,-1", 6 none
        QTest::addColumn<int>("indicator");    // the receiver's afterwards
        QTest::addColumn<int>("longRange");    // the receiver's afterwards
        QTest::addColumn<QVariantList>("rgb"); // SigRGBValue's byte 0, when sent
        QTest::addColumn<QVariantList>("longRangeSignal");
        // Before each row: indicator 2, long-range mode 1.
        QTest::newRow("receiver 0,1") << Receiver << 0 << 1 << 0 << QVariantList{1} << QVariantList{false};
        QTest::newRow("receiver 1,3") << Receiver << 2 << 3 << 1 << QVariantList{3} << QVariantList{true};
        QTest::newRow("receiver 0,0: no indicator") << Receiver << 3 << 2 << 0 << QVariantList() << QVariantList{false};
        QTest::newRow("receiver -1,-1") << Receiver << 4 << 2 << 1 << QVariantList() << QVariantList();
        QTest::newRow("receiver 2,-1: no such mode") << Receiver << 5 << 2 << 1 << QVariantList() << QVariantList();
        QTest::newRow("receiver without a value") << Receiver << 6 << 2 << 1 << QVariantList() << QVariantList();
        QTest::newRow("receiver of status 4") << Receiver2K << 0 << 3 << 0 << QVariantList() << QVariantList{false};
        QTest::newRow("wired mouse") << WiredMouse << 2 << 2 << 1 << QVariantList() << QVariantList{true};
    }
    void restoreAppliesTheReceiverDefaults()
    {
        QFETCH(int, device);
        QFETCH(int, model);
        QFETCH(int, indicator);
        QFETCH(int, longRange);
        QFETCH(QVariantList, rgb);
        QFETCH(QVariantList, longRangeSignal);
        SimControl_SetAttached(Receiver2K, 1);
        QVERIFY(SettleDevices());
        // The receiver the row looks at: the open one, or the wireless mouse's for a cable.
        const QByteArray receiver = devices->Path(device == Receiver2K ? Receiver2K : Receiver);
        const uint8_t two[10] = {2};
        QVERIFY(VidEzorarA_Set4KDongleRGB(devices->Path(Receiver).constData(), two));
        QVERIFY(VidEzorarA_SetLongRangeMode(receiver.constData(), 1));

        Open(device, model);
        QTRY_VERIFY_WITH_TIMEOUT(pages.events.contains("Form"), 5000);
        QVERIFY(SettleDevices());
        const int before = IndicatorOf(receiver);

        pages.Clear();
        UsbServer_SetClearSetting();
        QTRY_VERIFY_WITH_TIMEOUT(pages.events.contains("Form"), 5000);
        QVERIFY(SettleDevices());
        QCOMPARE(SimControl_ReadCount(HIDUSB_REPORT_DEFAULTS_RESTORED), 1);
        QCOMPARE(IndicatorOf(receiver), device == Receiver ? indicator : before);
        QCOMPARE(LongRangeOf(receiver), longRange);
        QCOMPARE(pages.Count("Rgb"), rgb.isEmpty() ? 0 : 1);
        QCOMPARE(pages.Last("Rgb"), rgb);
        QCOMPARE(pages.Count("LongRange"), longRangeSignal.isEmpty() ? 0 : 1);
        QCOMPARE(pages.Last("LongRange"), longRangeSignal);
        // The receiver settings just written are not read back with the record.
        QVERIFY(pages.events.indexOf("LongRange") <= pages.events.indexOf("Button"));
    }

    // The whole record read on opening also reads the receiver: its indicator meaning only from a
    // receiver of status 1, its long-range mode from any device, reported only when it is on (a
    // device that cannot answer leaves the preset value, which reports nothing).
    void openingReadsTheReceiver_data()
    {
        QTest::addColumn<int>("device");
        QTest::addColumn<int>("longRange");
        QTest::addColumn<QVariantList>("rgb");
        QTest::addColumn<QVariantList>("longRangeSignal");
        QTest::newRow("receiver, long range on") << Receiver << 1 << QVariantList{2} << QVariantList{true};
        QTest::newRow("receiver, long range off") << Receiver << 0 << QVariantList{2} << QVariantList();
        QTest::newRow("receiver of status 4, on") << Receiver2K << 1 << QVariantList() << QVariantList{true};
        QTest::newRow("wired mouse: no answer") << WiredMouse << 1 << QVariantList() << QVariantList();
    }
    void openingReadsTheReceiver()
    {
        QFETCH(int, device);
        QFETCH(int, longRange);
        QFETCH(QVariantList, rgb);
        QFETCH(QVariantList, longRangeSignal);
        SimControl_SetAttached(Receiver2K, 1);
        QVERIFY(SettleDevices());
        const uint8_t two[10] = {2};
        for (int receiver : {Receiver, Receiver2K}) {
            QVERIFY(VidEzorarA_Set4KDongleRGB(devices->Path(receiver).constData(), two));
            QVERIFY(VidEzorarA_SetLongRangeMode(devices->Path(receiver).constData(), uint8_t(longRange)));
        }
        DongleRGBRecord->bytes[0] = 0;

        Open(device);
        QTRY_VERIFY_WITH_TIMEOUT(pages.events.contains("Form"), 5000);
        QVERIFY(SettleDevices());
        QCOMPARE(pages.Count("Rgb"), rgb.isEmpty() ? 0 : 1);
        QCOMPARE(pages.Last("Rgb"), rgb);
        QCOMPARE(pages.Count("LongRange"), longRangeSignal.isEmpty() ? 0 : 1);
        QCOMPARE(pages.Last("LongRange"), longRangeSignal);
        if (!rgb.isEmpty())
            QVERIFY(pages.events.indexOf("Rgb") < pages.events.indexOf("Button"));
    }

    // A receiver whose indicator was changed on the receiver says so (code 21): the pages are handed
    // the indicator record as the program holds it.
    void indicatorChangedOnTheReceiver()
    {
        const uint8_t one[10] = {1};
        QVERIFY(VidEzorarA_Set4KDongleRGB(devices->Path(Receiver).constData(), one));
        Open(Receiver);
        QTRY_VERIFY_WITH_TIMEOUT(pages.events.contains("Form"), 5000);
        QVERIFY(SettleDevices());
        pages.Clear();
        SimControl_ChangeIndicatorOnReceiver(Receiver, 3);
        QVERIFY(SettleDevices());
        QCOMPARE(SimControl_ReadCount(HIDUSB_REPORT_RECEIVER_INDICATOR), 1);
        QCOMPARE(pages.events, QStringList{"Rgb"});
        QCOMPARE(pages.Last("Rgb"), QVariantList{1});
    }

    // A receiver that left long-range mode says so with 10 bytes (code 23); other lengths say nothing.
    void longRangeLeftOnTheReceiver_data()
    {
        QTest::addColumn<int>("length"); // -1: the receiver's own report
        QTest::addColumn<QStringList>("events");
        QTest::newRow("the receiver's report") << -1 << QStringList{"LongRange"};
        QTest::newRow("10 bytes") << 10 << QStringList{"LongRange"};
        QTest::newRow("no data") << 0 << QStringList();
        QTest::newRow("9 bytes") << 9 << QStringList();
        QTest::newRow("11 bytes") << 11 << QStringList();
    }
    void longRangeLeftOnTheReceiver()
    {
        QFETCH(int, length);
        QFETCH(QStringList, events);
        QVERIFY(VidEzorarA_SetLongRangeMode(devices->Path(Receiver).constData(), 1));
        Open(Receiver);
        QTRY_VERIFY_WITH_TIMEOUT(pages.events.contains("Form"), 5000);
        QVERIFY(SettleDevices());
        pages.Clear();
        if (length < 0) {
            SimControl_LeaveLongRangeOnReceiver(Receiver);
        } else {
            const QByteArray data(length, char(1));
            SimControl_SendReport(Receiver, HIDUSB_REPORT_LONG_RANGE_OFF, 0,
                                  reinterpret_cast<const uint8_t*>(data.constData()), length);
        }
        QVERIFY(SettleDevices());
        QCOMPARE(SimControl_ReadCount(HIDUSB_REPORT_LONG_RANGE_OFF), 1);
        QCOMPARE(pages.events, events);
        if (!events.isEmpty())
            QCOMPARE(pages.Last("LongRange"), QVariantList{false});
        QCOMPARE(LongRangeOf(devices->Path(Receiver)), length < 0 ? 0 : 1);
    }

    void ignoredReports_data()
    {
        QTest::addColumn<QByteArray>("header");
        QTest::addColumn<QByteArray>("data");
        QTest::newRow("DPI reply of 2 bytes") << Header(HIDUSB_REPORT_PARAMETER, 0, 4) << QByteArray(2, 3);
        QTest::newRow("reply with an error status") << Header(HIDUSB_REPORT_PARAMETER, 1, 0) << QByteArray(1, 2);
        QTest::newRow("unknown code") << Header(77) << QByteArray(4, 1);
        QTest::newRow("short header") << QByteArray(1, 8) << QByteArray(1, 2);
        QTest::newRow("image of the wrong length") << Header(HIDUSB_REPORT_PARAMETER, 0, 0) << QByteArray(100, 1);
    }
    void ignoredReports()
    {
        QFETCH(QByteArray, header);
        QFETCH(QByteArray, data);
        FlashDataMap record{};
        record.reportRate = 1;
        AdoptDeviceConfig(record);
        const int updatesBefore = SimControl_UpdateCount();
        Deliver(header, data);
        QCOMPARE(Bytes(DeviceConfigSnapshot()), Bytes(record));
        QCOMPARE(SimControl_UpdateCount(), updatesBefore);
        QVERIFY(pages.events.isEmpty());
    }

    void profileReportWithoutDataDisablesTheSelector()
    {
        Deliver(Header(HIDUSB_REPORT_PROFILE), QByteArray());
        QCOMPARE(pages.Last("Config"), QVariantList({0, 0, false}));
        Deliver(Header(HIDUSB_REPORT_PROFILE), QByteArray(1, 3));
        QCOMPARE(pages.Last("Config"), QVariantList({4, 3, true}));
    }

    // A single field the device reports is never pushed back in a working copy that is not its record.
    void singleFieldReplyDoesNotPushAStrangersRecord()
    {
        const int updatesBefore = SimControl_UpdateCount();
        Deliver(Header(HIDUSB_REPORT_PARAMETER, 0, 0), QByteArray(1, 4));
        QCOMPARE(pages.Last("ReportRate"), QVariantList({4}));
        QCOMPARE(SimControl_UpdateCount(), updatesBefore);
    }

    // A whole-configuration change asks for a full reload at most every 3000 ms.
    void reloadThrottle_data()
    {
        QTest::addColumn<int>("sinceLastMs");
        QTest::addColumn<bool>("honoured");
        QTest::newRow("2 s after the last") << 2000 << false;
        QTest::newRow("3 s after the last") << 3000 << false;
        QTest::newRow("3.1 s after the last") << 3100 << true;
    }
    void reloadThrottle()
    {
        QFETCH(int, sinceLastMs);
        QFETCH(bool, honoured);
        ReloadThrottle.Restart(sinceLastMs);
        std::memset(StatusChangeFlags, 0, sizeof StatusChangeFlags);
        StatusChangeFlags[2] = 1;
        HandleDeviceStatusChange();
        QCOMPARE(bool(ReloadRequested), honoured);
        QCOMPARE(bool(FullReloadPending), honoured);
        if (honoured) {
            // Restarted: an immediate second request waits again.
            ReloadRequested = FullReloadPending = false;
            HandleDeviceStatusChange();
            QVERIFY(!ReloadRequested);
        }
        StatusChangeFlags[2] = 0;
    }

    // A reload after a status change runs at the next tick when the device is online, and its pass
    // tells the frame to wait even while a reset writes the device.
    void reloadRunsAtTheNextTick()
    {
        Open(WiredMouse);
        QTRY_VERIFY_WITH_TIMEOUT(pages.events.contains("Form"), 5000);
        QVERIFY(worker->wait(5000));
        pages.Clear();
        SettingsWriteInProgress = true;
        ReloadRequested = true;
        FullReloadPending = true;
        worker->SlotCheckOnline();
        QTRY_VERIFY_WITH_TIMEOUT(pages.events.contains("Form"), 5000);
        QCOMPARE(pages.Last("Param"), QVariantList({1}));
        QVERIFY(!FullReloadPending);
        SettingsWriteInProgress = false;
    }

    // Offline at open: the pages show the cached record; when the mouse answers again the notice
    // closes and the whole record is read, so that nothing is written from the cached copy.
    void offlineOpenShowsTheCacheThenReloads()
    {
        FlashDataMap cached = devices->Record(WiredMouse);
        cached.sleepTime = 90;
        QVERIFY(WriteDeviceInfoCache("Device_CID1C_MID13.bin", cached));
        const DeviceAllInfo mouse = Describe(WiredMouse);
        SimControl_SetAttached(WiredMouse, 0);
        QVERIFY(SettleDevices());

        emit PostMsg::Instance()->SigSelectMouseInfo(mouse);
        DeviceWindowActive = 1;
        RunRequested = true;
        worker->start();
        QTRY_VERIFY_WITH_TIMEOUT(pages.events.contains("Form"), 5000);
        QVERIFY(worker->wait(5000));
        QCOMPARE(pages.events, QStringList({"Button", "Light", "Sensor", "Form"}));
        QCOMPARE(Bytes(pages.lastRecord), Bytes(cached));
        QVERIFY(OfflineNoticeOpen);
        QVERIFY(!DeviceConfigIsCurrent);
        QVERIFY(!SetDeviceSleepTime(3));

        worker->SlotCheckOnline();
        QVERIFY(OfflineNoticeOpen);
        SimControl_SetAttached(WiredMouse, 1);
        QVERIFY(SettleDevices());
        pages.Clear();
        worker->SlotCheckOnline();
        QVERIFY(!OfflineNoticeOpen);
        QTRY_VERIFY_WITH_TIMEOUT(pages.events.contains("Form"), 5000);
        QCOMPARE(pages.events.first(), QString("CloseOffOnline"));
        QVERIFY(DeviceConfigIsCurrent);
        QCOMPARE(int(DeviceConfigSnapshot().sleepTime), int(devices->Record(WiredMouse).sleepTime));
    }

    void offlineOpenWithoutCacheResetsThePages()
    {
        QFile::remove(DeviceCacheFolder() + "Device_CID1C_MID13.bin");
        const DeviceAllInfo mouse = Describe(WiredMouse);
        SimControl_SetAttached(WiredMouse, 0);
        QVERIFY(SettleDevices());
        emit PostMsg::Instance()->SigSelectMouseInfo(mouse);
        DeviceWindowActive = 1;
        RunRequested = true;
        worker->start();
        QTRY_VERIFY_WITH_TIMEOUT(pages.events.contains("FormReset"), 5000);
        QVERIFY(!pages.events.contains("Button"));
    }

    void identification_data()
    {
        QTest::addColumn<int>("device");
        QTest::addColumn<int>("result");
        QTest::addColumn<int>("modelIndex");
        QTest::newRow("receiver with the wireless mouse") << Receiver << 1 << 0;
        QTest::newRow("wired mouse") << WiredMouse << 1 << 1;
        QTest::newRow("another customer's device") << 3 << 3 << 2;
        QTest::newRow("our customer, unknown model") << 4 << 2 << 2;
    }
    void identification()
    {
        QFETCH(int, device);
        QFETCH(int, result);
        QFETCH(int, modelIndex);
        SimControl_SetAttached(device, 1);
        DeviceAllInfo record;
        record.path = QString::fromLocal8Bit(devices->Path(device));
        QCOMPARE(IdentifyDevice(&record, devices->Path(device).constData()), result);
        QCOMPARE(record.modelIndex, modelIndex);
        if (result == 1) {
            QCOMPARE(int(record.CID), 28);
            QVERIFY(record.online);
        }
    }

    // Unplugging the open device leads back to the selection page, unless an upgrade runs.
    void unplugReturnsToSelection_data()
    {
        QTest::addColumn<bool>("follow");
        QTest::newRow("following removals") << true;
        QTest::newRow("during an upgrade") << false;
    }
    void unplugReturnsToSelection()
    {
        QFETCH(bool, follow);
        FollowDeviceRemoval = follow;
        CurrentDeviceInfo.Set(Describe(WiredMouse));
        SimControl_SetAttached(WiredMouse, 0);
        SimControl_SetAttached(Receiver, 0);
        QVERIFY(SettleDevices());
        HandleMainPageUsbChanged();
        QCOMPARE(pages.Count("ChangeMainDialog"), follow ? 1 : 0);
        QCOMPARE(CurrentDeviceInfo.Get().path.isEmpty(), follow);
        FollowDeviceRemoval = true;
    }

    // The attach/detach notice of the library runs its work on the GUI thread.
    void noticesArriveOnTheGuiThread()
    {
        CurrentDeviceInfo.Set(Describe(WiredMouse));
        StartUsbChanged(MainPageUsbChangedCallback, 600);
        QTRY_VERIFY_WITH_TIMEOUT(pages.events.contains("Setver"), 5000);
        pages.Clear();
        SimControl_SetAttached(WiredMouse, 0);
        QTRY_VERIFY_WITH_TIMEOUT(pages.events.contains("ChangeMainDialog"), 5000);
        StopUsbChanged();
    }

    // The wireless mouse moves between its receiver and its cable while one of them is open: the
    // program follows it to the device that reaches it now and reads it there, and leaves the device
    // window only when nothing reaches it any more.
    void mouseFollowedBetweenReceiverAndCable_data()
    {
        QTest::addColumn<int>("opened");
        QTest::addColumn<int>("moved");
        QTest::addColumn<bool>("plugged");
        QTest::addColumn<bool>("mouseOnReceiver");
        QTest::addColumn<bool>("follow");
        QTest::addColumn<int>("current");
        QTest::addColumn<bool>("leaves");
        QTest::newRow("cable plugged in beside the receiver")
            << Receiver << WirelessCable << true << true << true << WirelessCable << false;
        QTest::newRow("cable plugged in, the mouse was off its receiver")
            << Receiver << WirelessCable << true << false << true << WirelessCable << false;
        QTest::newRow("cable pulled, the mouse answers through its receiver")
            << WirelessCable << WirelessCable << false << true << true << Receiver << false;
        QTest::newRow("cable pulled, the mouse is off its receiver")
            << WirelessCable << WirelessCable << false << false << true << WirelessCable << true;
        QTest::newRow("cable pulled during an upgrade")
            << WirelessCable << WirelessCable << false << true << false << WirelessCable << false;
        QTest::newRow("receiver pulled beside the open cable")
            << WirelessCable << Receiver << false << true << true << WirelessCable << false;
    }
    void mouseFollowedBetweenReceiverAndCable()
    {
        QFETCH(int, opened);
        QFETCH(int, moved);
        QFETCH(bool, plugged);
        QFETCH(bool, mouseOnReceiver);
        QFETCH(bool, follow);
        QFETCH(int, current);
        QFETCH(bool, leaves);
        if (opened == WirelessCable)
            SimControl_SetAttached(WirelessCable, 1);
        Open(opened);
        QTRY_VERIFY_WITH_TIMEOUT(pages.events.contains("Form"), 5000);
        QVERIFY(worker->wait(5000));
        // The window's discovery has seen the open device once, as it does when it registers.
        HandleMainPageUsbChanged();
        QVERIFY(worker->wait(5000));
        QVERIFY(SettleDevices());

        FollowDeviceRemoval = follow;
        SimControl_SetMouseOnline(Receiver, mouseOnReceiver);
        SimControl_SetAttached(moved, plugged);
        QVERIFY(SettleDevices());
        pages.Clear();
        HandleMainPageUsbChanged();
        QCOMPARE(CurrentDeviceInfo.Get().path, QString::fromLocal8Bit(devices->Path(current)));
        QCOMPARE(QByteArray(CurrentDevicePath.load()), devices->Path(current));
        QCOMPARE(pages.Count("ChangeMainDialog"), leaves ? 1 : 0);
        if (current != opened) {
            // A pass reads the mouse through the device that reaches it now.
            QTRY_VERIFY_WITH_TIMEOUT(pages.events.contains("Form"), 5000);
            QCOMPARE(pages.Last("IsUsb"), QVariantList({current == WirelessCable, true}));
            QCOMPARE(Bytes(pages.lastRecord), Bytes(devices->Record(current)));
        }
        FollowDeviceRemoval = true;
    }
};

int main(int argc, char* argv[])
{
    DeliveryMarkedApplication<QGuiApplication> application(argc, argv);
    TestDeviceConnection test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}
#include "tst_deviceconnection.moc"
