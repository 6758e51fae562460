#include "device/ConnectionState.h"
#include "device/DeviceParamSetters.h"
#include "device/PostMsg.h"
#include "support/SimulatedDeviceFixture.h"

#include <QSignalSpy>
#include <QtTest>
#include <atomic>
#include <chrono>
#include <cstring>
#include <dlfcn.h>
#include <functional>
#include <map>
#include <thread>

namespace {

struct SetterCase {
    std::function<bool()> call;
    std::map<int, uint8_t> expected; // offset -> byte the device must hold afterwards
};

// The bytes of `values` laid from `offset` on.
std::map<int, uint8_t> Bytes(int offset, std::initializer_list<uint8_t> values)
{
    std::map<int, uint8_t> bytes;
    for (uint8_t value : values)
        bytes[offset++] = value;
    return bytes;
}
std::map<int, uint8_t> operator+(std::map<int, uint8_t> a, const std::map<int, uint8_t>& b)
{
    for (const auto& entry : b)
        a[entry.first] = entry.second;
    return a;
}

// While armed, every other record handed to the library waits a little before it goes on: two
// threads that push at once then reach the library in the other order than they took their copies,
// unless their pushes are kept in order.
std::atomic<bool> delayEveryOtherPush{false};
std::atomic<int> pushCalls{0};
}

extern "C" uint8_t ProtocolDataUpdate(const struct FlashDataMap* record)
{
    if (delayEveryOtherPush && pushCalls++ % 2 == 0)
        std::this_thread::sleep_for(std::chrono::microseconds(300));
    static const auto real = reinterpret_cast<uint8_t (*)(const FlashDataMap*)>(dlsym(RTLD_NEXT, "ProtocolDataUpdate"));
    return real ? real(record) : 0;
}

namespace {
const uint8_t entryA[6] = {0x10, 0x10, 0x11, 1, 2, 3};
const uint8_t entryB[6] = {0x20, 0x20, 0x22, 4, 5, 6};

std::map<QString, SetterCase> SetterCases()
{
    std::map<QString, SetterCase> cases;
    cases["report rate"] = {[] { return SetDeviceReportRate(2); }, {{0x00, 2}}};
    cases["level count"] = {[] { return SetDeviceDPILevelCount(6); }, {{0x01, 6}}};
    cases["current level"] = {[] { return SetDeviceCurrentDPILevel(3); }, {{0x02, 3}}};
    cases["byte 3"] = {[] { return SetDeviceConfigByte3(0x77); }, {{0x03, 0x77}}};
    cases["20K fps"] = {[] { return SetDevice20KFps(1); }, {{0x04, 1}}};
    cases["byte 4"] = {[] { return SetDeviceConfigByte4(0); }, {{0x04, 0}}};
    cases["lift-off"] = {[] { return SetDeviceLOD(3); }, {{0x05, 3}}};
    cases["debounce"] = {[] { return SetDeviceDebounceTime(9); }, {{0x06, 9}}};
    cases["motion sync"] = {[] { return SetDeviceMotionSync(1); }, {{0x07, 1}}};
    cases["sleep"] = {[] { return SetDeviceSleepTime(90); }, {{0x08, 90}}};
    cases["straight line"] = {[] { return SetDeviceStraightLine(1); }, {{0x09, 1}}};
    cases["ripple"] = {[] { return SetDeviceRippleControl(1); }, {{0x0A, 1}}};
    cases["moving off light"] = {[] { return SetDeviceMovingOffLight(1); }, {{0x0B, 1}}};
    cases["performance mode"] = {[] { return SetDevicePerformanceMode(1); }, {{0x0C, 1}}};
    cases["performance time"] = {[] { return SetDevicePerformanceTime(240); }, {{0x0D, 240}}};
    cases["sensor mode"] = {[] { return SetDeviceSensorMode(2); }, {{0x0E, 2}}};
    cases["angle negative"] = {[] { return SetDeviceAngle(uint8_t(-30)); }, {{0x0F, 0xE2}, {0x10, 1}}};
    cases["angle zero sets the flag"] = {[] { return SetDeviceAngle(0); }, {{0x0F, 0}, {0x10, 1}}};
    cases["DPI value level 7"] = {[] { return SetDeviceDPIValue(7, 0x3F, 0x3F, 0x26); },
                                  {{0x24 + 42, 0x3F}, {0x24 + 43, 0x3F}, {0x24 + 44, 0x26}}};
    cases["DPI colour level 0"] = {[] { return SetDeviceDPIColor(0, 9, 8, 7); }, {{0x27, 9}, {0x28, 8}, {0x29, 7}}};
    cases["swap levels 1 and 4"] = {[] { return SwapDeviceDPILevels(entryA, entryB, 1, 4, 7); },
                                    Bytes(0x24 + 24, {0x10, 0x10, 0x11, 1, 2, 3}) + Bytes(0x24 + 6, {0x20, 0x20, 0x22, 4, 5, 6})
                                        + Bytes(0x01, {8, 7})};
    cases["swap a level with itself keeps b"] = {[] { return SwapDeviceDPILevels(entryA, entryB, 2, 2, 2); },
                                                 Bytes(0x24 + 12, {0x20, 0x20, 0x22, 4, 5, 6}) + Bytes(0x01, {3, 2})};
    cases["DPI light on"] = {[] { return SetDeviceDPILedMode(3); }, {{0x57, 1}, {0x54, 3}}};
    cases["DPI light brightness"] = {[] { return SetDeviceDPILedBrightness(230); }, {{0x55, 230}}};
    cases["DPI light speed"] = {[] { return SetDeviceDPILedSpeed(4); }, {{0x56, 4}}};
    cases["light on"] = {[] { return SetDeviceLightMode(5); }, {{0x5E, 1}, {0x58, 5}}};
    cases["light colour"] = {[] { return SetDeviceLightColor(250, 128, 1); }, {{0x59, 250}, {0x5A, 128}, {0x5B, 1}}};
    cases["light speed"] = {[] { return SetDeviceLightSpeed(2); }, {{0x5C, 2}}};
    cases["light brightness"] = {[] { return SetDeviceLightBrightness(4); }, {{0x5D, 4}}};
    cases["button 11 function"] = {[] { return SetDeviceButtonFunction(11, 2, 1, 0); }, Bytes(0x5F + 33, {2, 1, 0})};
    cases["button 3 key record"] = {[] {
        const uint8_t function[3] = {5, 0, 0};
        ButtonKeyRecord record{};
        record.eventCount = 2;
        record.events[0] = KeyEvent{0, 1, 0x04, 10};
        record.events[1] = KeyEvent{1, 1, 0x04, 10};
        return SetDeviceButtonKeyRecord(3, function, record);
    }, Bytes(0x5F + 9, {5, 0, 0}) + Bytes(0x90 + 156, {2, 0, 0, 0}) + Bytes(0x90 + 156 + 4, {0, 1, 0x04, 0, 10, 0, 0, 0})
           + Bytes(0x90 + 156 + 12, {1, 1, 0x04, 0, 10, 0, 0, 0})};
    cases["button 15 macro"] = {[] {
        const uint8_t function[3] = {6, 15, 2};
        ButtonMacroBlock block{};
        block.nameLength = 2;
        block.name[0] = 'M';
        block.name[1] = '1';
        block.eventCount = 70;
        for (MacroEvent& event : block.events)
            event = MacroEvent{1, 1, 0x1E, 0, 65535};
        return SetDeviceButtonMacro(15, function, block);
    }, [] {
        std::map<int, uint8_t> bytes = Bytes(0x5F + 45, {6, 15, 2}) + Bytes(0x3D0 + 592 * 15, {2, 'M', '1'});
        bytes[0x3D0 + 592 * 15 + 0x1F] = 70;
        for (int event = 0; event < 70; ++event)
            bytes = bytes + Bytes(0x3D0 + 592 * 15 + 0x20 + event * 8, {1, 1, 0x1E, 0, 0xFF, 0xFF, 0, 0});
        return bytes;
    }()};
    return cases;
}
}

class TestDeviceParamSetters : public QObject
{
    Q_OBJECT
    TestHome home;
    SimulatedDevices* devices = nullptr;
    int mouse = -1;
    FlashDataMap baseline{};

    // One sane start: the wired mouse is current, connected, and the working copy holds its record.
    void OpenMouse()
    {
        mouse = devices->OpenWiredMouse(&baseline);
        QVERIFY(mouse >= 0);
        ReloadRequested = false;
    }

    void ExpectDeviceUnchanged()
    {
        QVERIFY(SimControl_WaitIdle(2000));
        const QString differences = devices->RecordDifferences(mouse, baseline);
        QVERIFY2(differences.isEmpty(), qPrintable(differences));
        const FlashDataMap working = DeviceConfigSnapshot();
        QCOMPARE(std::memcmp(working.bytes(), baseline.bytes(), sizeof working), 0);
    }

private slots:
    void initTestCase()
    {
        home.MakeUserFolders();
        devices = new SimulatedDevices;
    }
    void cleanupTestCase()
    {
        UsbServer_Exit();
        delete devices;
    }

    // Every setter writes exactly its bytes: the device ends up holding the baseline with those bytes
    // changed and nothing else.
    void setterWritesExactlyItsField_data()
    {
        QTest::addColumn<QString>("name");
        for (const auto& entry : SetterCases())
            QTest::newRow(entry.first.toUtf8().constData()) << entry.first;
    }
    void setterWritesExactlyItsField()
    {
        QFETCH(QString, name);
        OpenMouse();
        const SetterCase setter = SetterCases().at(name);
        const int updatesBefore = SimControl_UpdateCount();
        QVERIFY(setter.call());
        QVERIFY(SimControl_WaitIdle(2000));
        QCOMPARE(SimControl_UpdateCount(), updatesBefore + 1);

        FlashDataMap expected = baseline;
        for (const auto& change : setter.expected)
            expected.bytes()[change.first] = change.second;
        const FlashDataMap held = devices->Record(mouse);
        for (std::size_t i = 0; i < sizeof held; ++i) {
            if (held.bytes()[i] != expected.bytes()[i])
                QFAIL(qPrintable(QString("byte 0x%1 is 0x%2, expected 0x%3").arg(i, 0, 16)
                                     .arg(held.bytes()[i], 0, 16).arg(expected.bytes()[i], 0, 16)));
        }
        const FlashDataMap working = DeviceConfigSnapshot();
        QCOMPARE(std::memcmp(working.bytes(), expected.bytes(), sizeof working), 0);
    }

    // Switching a light effect off clears only its switch; the mode stays for switching on again.
    void lightOffKeepsTheMode()
    {
        OpenMouse();
        QVERIFY(SetDeviceDPILedMode(4));
        QVERIFY(SetDeviceDPILedMode(0));
        QVERIFY(SetDeviceLightMode(6));
        QVERIFY(SetDeviceLightMode(0));
        QVERIFY(SimControl_WaitIdle(2000));
        const FlashDataMap held = devices->Record(mouse);
        QCOMPARE(int(held.dpiLedOn), 0);
        QCOMPARE(int(held.dpiLedMode), 4);
        QCOMPARE(int(held.lightOn), 0);
        QCOMPARE(int(held.lightMode), 6);
    }

    void badIndexWritesNothing_data()
    {
        QTest::addColumn<int>("which");
        QTest::newRow("DPI value level 8") << 0;
        QTest::newRow("DPI value level -1") << 1;
        QTest::newRow("DPI colour level 8") << 2;
        QTest::newRow("swap i out of range") << 3;
        QTest::newRow("swap count past eight levels") << 4;
        QTest::newRow("button 16") << 5;
        QTest::newRow("button -1 key record") << 6;
        QTest::newRow("button 16 macro") << 7;
    }
    void badIndexWritesNothing()
    {
        QFETCH(int, which);
        OpenMouse();
        QSignalSpy notices(PostMsg::Instance(), SIGNAL(SigMouseOffLineo(int)));
        const int updatesBefore = SimControl_UpdateCount();
        const uint8_t function[3] = {6, 0, 0};
        bool result = true;
        switch (which) {
        case 0: result = SetDeviceDPIValue(8, 1, 1, 0x11); break;
        case 1: result = SetDeviceDPIValue(-1, 1, 1, 0x11); break;
        case 2: result = SetDeviceDPIColor(8, 1, 2, 3); break;
        case 3: result = SwapDeviceDPILevels(entryA, entryB, 8, 0, 1); break;
        case 4: result = SwapDeviceDPILevels(entryA, entryB, 0, 1, 8); break;
        case 5: result = SetDeviceButtonFunction(16, 1, 1, 0); break;
        case 6: result = SetDeviceButtonKeyRecord(-1, function, ButtonKeyRecord{}); break;
        case 7: result = SetDeviceButtonMacro(16, function, ButtonMacroBlock{}); break;
        }
        QVERIFY(!result);
        QCOMPARE(SimControl_UpdateCount(), updatesBefore);
        QCOMPARE(notices.count(), 0);
        ExpectDeviceUnchanged();
    }

    // Offline: nothing written or sent; exactly one notice, none while a page refreshes itself.
    void offlineRefusesWithOneNotice_data()
    {
        QTest::addColumn<int>("refreshingPage");
        QTest::addColumn<int>("notices");
        QTest::newRow("no page refreshing") << 0 << 1;
        QTest::newRow("button page refreshing") << 1 << 0;
        QTest::newRow("lighting page refreshing") << 2 << 0;
        QTest::newRow("sensor page refreshing") << 3 << 0;
    }
    void offlineRefusesWithOneNotice()
    {
        QFETCH(int, refreshingPage);
        QFETCH(int, notices);
        OpenMouse();
        SimControl_SetAttached(mouse, 0);
        ButtonPageRefreshing = refreshingPage == 1;
        LightPageRefreshing = refreshingPage == 2;
        SensorPageRefreshing = refreshingPage == 3;
        QSignalSpy spy(PostMsg::Instance(), SIGNAL(SigMouseOffLineo(int)));
        const int updatesBefore = SimControl_UpdateCount();
        QVERIFY(!SetDeviceReportRate(64));
        QVERIFY(!IsDeviceOnline());
        QCOMPARE(spy.count(), notices * 2);
        if (notices)
            QCOMPARE(spy.first().first().toInt(), 0);
        QCOMPARE(SimControl_UpdateCount(), updatesBefore);
        QCOMPARE(int(DeviceConfigSnapshot().reportRate), int(baseline.reportRate));
        ButtonPageRefreshing = LightPageRefreshing = SensorPageRefreshing = false;
        SimControl_SetAttached(mouse, 1);
    }

    // Before the working copy holds the device's record (at start, or after another device was
    // selected) no setter may push it: that would overwrite the whole mouse.
    void workingCopyNotYetTheDevicesIsNeverPushed()
    {
        OpenMouse();
        InvalidateDeviceConfig();
        QSignalSpy spy(PostMsg::Instance(), SIGNAL(SigMouseOffLineo(int)));
        const int updatesBefore = SimControl_UpdateCount();
        QVERIFY(!SetDeviceReportRate(64));
        QVERIFY(!IsDeviceOnline());
        PushDeviceConfig();
        QCOMPARE(SimControl_UpdateCount(), updatesBefore);
        QVERIFY(ReloadRequested);
        QCOMPARE(spy.count(), 2);
        ExpectDeviceUnchanged();
    }

    void pushSendsWithoutOnlineCheckAndEmitsNothing()
    {
        OpenMouse();
        SimControl_SetAttached(mouse, 0);
        QSignalSpy spy(PostMsg::Instance(), SIGNAL(SigMouseOffLineo(int)));
        {
            std::lock_guard<std::mutex> locker(DeviceConfigLock);
            DeviceConfigImage.sleepTime = 30;
        }
        PushDeviceConfig();
        QVERIFY(SimControl_WaitIdle(2000));
        QCOMPARE(spy.count(), 0);
        FlashDataMap last{};
        QVERIFY(SimControl_LastUpdate(last.bytes()));
        QCOMPARE(int(last.sleepTime), 30);
        SimControl_SetAttached(mouse, 1);
    }

    void isDeviceOnlineSendsNothing()
    {
        OpenMouse();
        const int updatesBefore = SimControl_UpdateCount();
        QVERIFY(IsDeviceOnline());
        QCOMPARE(SimControl_UpdateCount(), updatesBefore);
    }

    // Setters on two threads at once, each changing its own DPI level's colour again and again: once
    // a setter returned, the device holds that change, and a copy taken before another thread's
    // change never reaches the device after it. The device ends holding the last change of each.
    void settersOnTwoThreadsLeaveTheLastChange()
    {
        OpenMouse();
        QVERIFY(mouse >= 0);
        constexpr int Changes = 250;
        std::atomic<int> refused{0};
        std::atomic<int> overtaken{0};
        const auto changeLevel = [&](int level) {
            for (int value = 1; value <= Changes; ++value) {
                if (!SetDeviceDPIColor(level, uint8_t(value), uint8_t(value), uint8_t(value))) {
                    ++refused;
                    continue;
                }
                FlashDataMap held{};
                SimControl_GetDeviceRecord(mouse, held.bytes());
                if (held.dpiLevels[level].red != value)
                    ++overtaken;
            }
        };
        delayEveryOtherPush = true;
        std::thread first(changeLevel, 0);
        std::thread second(changeLevel, 1);
        first.join();
        second.join();
        delayEveryOtherPush = false;
        QCOMPARE(refused.load(), 0);
        QCOMPARE(overtaken.load(), 0);

        FlashDataMap expected = baseline;
        for (int level : {0, 1})
            expected.dpiLevels[level].red = expected.dpiLevels[level].green = expected.dpiLevels[level].blue = Changes;
        QVERIFY(SimControl_WaitIdle(2000));
        const QString differences = devices->RecordDifferences(mouse, expected);
        QVERIFY2(differences.isEmpty(), qPrintable(differences));
        QCOMPARE(std::memcmp(DeviceConfigSnapshot().bytes(), expected.bytes(), sizeof expected), 0);
    }

    // A copy that reaches the push after a later copy was sent is not sent: it would take the later
    // change back. Its result is that of the later copy.
    void olderCopyAfterANewerOneIsNotSent()
    {
        OpenMouse();
        QVERIFY(mouse >= 0);
        const DeviceConfigCopy older = ChangeDeviceConfig([](FlashDataMap& r) { r.sleepTime = 30; });
        const DeviceConfigCopy newer = ChangeDeviceConfig([](FlashDataMap& r) { r.reportRate = 2; });
        const int updatesBefore = SimControl_UpdateCount();
        QVERIFY(PushDeviceConfigCopy(newer));
        QVERIFY(PushDeviceConfigCopy(older));
        QCOMPARE(SimControl_UpdateCount(), updatesBefore + 1);
        FlashDataMap expected = baseline;
        expected.sleepTime = 30;
        expected.reportRate = 2;
        const QString differences = devices->RecordDifferences(mouse, expected);
        QVERIFY2(differences.isEmpty(), qPrintable(differences));
    }

    // The device's record survives a restart of the library, like a real mouse's flash.
    void changesSurviveARestart()
    {
        OpenMouse();
        QVERIFY(SetDeviceReportRate(8));
        QVERIFY(SetDeviceDPIColor(5, 1, 2, 3));
        QVERIFY(SimControl_WaitIdle(2000));
        UsbServer_Exit();
        devices->Reset();
        const FlashDataMap held = devices->Record(devices->Find(true));
        QCOMPARE(int(held.reportRate), 8);
        QCOMPARE(int(held.dpiLevels[5].green), 2);
    }
};

QTEST_GUILESS_MAIN(TestDeviceParamSetters)
#include "tst_deviceparamsetters.moc"
