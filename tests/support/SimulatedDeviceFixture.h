#pragma once
#include "device/DeviceState.h"
#include "device/FlashDataMap.h"
#include "platform/AppPaths.h"
#include "platform/hidusb/HIDUsb.h"
#include "platform/hidusb/SimControl.h"
#include "support/TestHome.h"

#include <QByteArray>
#include <QStringList>
#include <QTemporaryDir>
#include <QtTest>

// The simulated devices of the program folder's description, with their flash in a temporary folder.
class SimulatedDevices
{
public:
    SimulatedDevices() { Reset(); }

    void Reset()
    {
        const QByteArray description = (AppPaths::ProgramFolder() + "/simulated/devices.ini").toLocal8Bit();
        SimControl_Reset(description.constData(), flash.path().toLocal8Bit().constData());
    }

    // The first attached device whose connection status is wired (true) or a receiver (false); -1 if none.
    int Find(bool wired) const
    {
        for (int device = 0; device < SimControl_DeviceCount(); ++device) {
            const uint8_t* info = VidEzorarA_GetDeviceInfo(SimControl_DevicePath(device), 0);
            if (info && (info[0] || info[1]) && ((info[2] & 0xFA) != 0) == wired)
                return device;
        }
        return -1;
    }

    QByteArray Path(int device) const { return QByteArray(SimControl_DevicePath(device)); }

    FlashDataMap Record(int device) const
    {
        FlashDataMap record{};
        SimControl_GetDeviceRecord(device, record.bytes());
        return record;
    }

    QString FlashFolder() const { return flash.path(); }

    // The starting point of the tests that write through the setters: the library reset, the wired
    // mouse (or the receiver) current and connected, its record in the working copy, no page
    // refreshing, writes allowed. Returns the device index (-1 when the description has none) and
    // its record.
    int OpenDevice(bool wired, FlashDataMap* record)
    {
        Reset();
        const int device = Find(wired);
        if (device < 0)
            return -1;
        const QByteArray path = Path(device);
        SetCurrentDevicePath(path);
        UsbServerC_Start(path.constData(), path.constData(), IgnoreReports);
        *record = Record(device);
        AdoptDeviceConfig(*record);
        ButtonPageRefreshing = LightPageRefreshing = SensorPageRefreshing = false;
        UserWritesEnabled = true;
        return device;
    }
    int OpenWiredMouse(FlashDataMap* record) { return OpenDevice(true, record); }

    // The situation of a user's action: writes allowed or not, the sensor page refreshing or not,
    // the device attached or taken away. Returns the device's update count before the action.
    static int Situation(int device, bool writesEnabled, bool refreshing, bool online)
    {
        UserWritesEnabled = writesEnabled;
        SensorPageRefreshing = refreshing;
        if (!online)
            SimControl_SetAttached(device, 0);
        return SimControl_UpdateCount();
    }

    // Where the record the device holds differs from `expected`, byte by byte ("byte 8 is 3,
    // expected 6"); empty when it holds exactly that.
    QString RecordDifferences(int device, const FlashDataMap& expected) const
    {
        const FlashDataMap held = Record(device);
        QStringList differences;
        for (std::size_t i = 0; i < sizeof held; ++i) {
            if (held.bytes()[i] != expected.bytes()[i])
                differences << QString("byte %1 is %2, expected %3").arg(i).arg(held.bytes()[i]).arg(expected.bytes()[i]);
        }
        return differences.join(QStringLiteral("; "));
    }

private:
    static void IgnoreReports(const uint8_t*, int, const uint8_t*, uint32_t) {}

    QTemporaryDir flash;
};
