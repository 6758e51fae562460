#pragma once
#include "device/DeviceDiscovery.h"
#include "device/DeviceState.h"
#include "device/PostMsg.h"
#include "pages/lighting/ReceiverLightRecords.h"
#include "support/SimulatedDeviceFixture.h"
#include "widgets/UiTextTables.h"

#include <QByteArray>
#include <QSignalSpy>

// The lighting tests' starting point: the simulated receiver of model 1 (status 1) current and
// connected, its mouse online, writes allowed, no page refreshing, and counters of what reached
// the receiver and the mouse.
class ReceiverFixture
{
public:
    SimulatedDevices devices;
    int receiver = -1;
    FlashDataMap held{};

    bool Open()
    {
        receiver = devices.OpenDevice(false, &held);
        if (receiver < 0)
            return false;
        DeviceAllInfo info;
        info.path = QString::fromLocal8Bit(devices.Path(receiver));
        info.status = 1;
        info.modelIndex = 0;
        info.online = true;
        info.wired = false;
        CurrentDeviceInfo.Set(info);
        *DongleRGBRecord = DongleRGB{};
        ResetReceiverLightRecords();
        return true;
    }

    // Ends the connection Open started and waits until the library has delivered all it queued.
    void Close() const
    {
        UsbServer_Exit();
        QVERIFY(QTest::qWaitFor([] { return SimControl_WaitIdle(0) != 0; }, 10000));
    }

    // What the receiver holds of one record (SIMCONTROL_RECEIVER_...).
    QByteArray Held(int which) const
    {
        QByteArray bytes(Size(which), 0);
        SimControl_GetReceiverRecord(receiver, which, reinterpret_cast<uint8_t*>(bytes.data()));
        return bytes;
    }
    void Hold(int which, const QByteArray& bytes) const
    {
        SimControl_SetReceiverRecord(receiver, which, reinterpret_cast<const uint8_t*>(bytes.constData()));
    }
    static int Size(int which)
    {
        return which == SIMCONTROL_RECEIVER_INDICATOR ? 10 : which == SIMCONTROL_RECEIVER_LIGHT_BAR ? 7 : 3;
    }
    // Writes of all three receiver records, taken or refused.
    static int ReceiverWrites()
    {
        return SimControl_ReceiverWriteCount(SIMCONTROL_RECEIVER_INDICATOR)
               + SimControl_ReceiverWriteCount(SIMCONTROL_RECEIVER_LIGHT_BAR)
               + SimControl_ReceiverWriteCount(SIMCONTROL_RECEIVER_INDICATOR_LEDS);
    }
    void SetMouseOnline(bool online) const
    {
        SimControl_SetMouseOnline(receiver, online ? 1 : 0);
        CurrentDeviceInfo.Update([&](DeviceAllInfo& info) { info.online = online; });
    }
};

// What the lighting test cases share: a temporary HOME and the receiver fixture.
class ReceiverCase
{
protected:
    TestHome home;
    ReceiverFixture fixture;

    // From initTestCase of the cases that show texts: the user's folders and the texts read.
    void StartCaseWithTexts()
    {
        home.MakeUserFolders();
        UiTextTables::Instance()->LoadUiTextTables();
    }
};

inline QByteArray Bytes(std::initializer_list<int> values)
{
    QByteArray bytes;
    for (int value : values)
        bytes.append(char(value));
    return bytes;
}

template <typename Record>
QByteArray BytesOf(Record* record)
{
    return QByteArray(reinterpret_cast<const char*>(RecordBytes(record)), int(sizeof(Record)));
}
