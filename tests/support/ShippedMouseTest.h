#pragma once
#include "device/DeviceDiscovery.h"
#include "support/SimulatedDeviceFixture.h"
#include "widgets/UiTextTables.h"

#include <QObject>

// What the tests of the shipped program folder on the simulated mouse share: a temporary HOME with
// the user's folders, the language texts, the first model current and the simulated devices.
// A test calls Start in initTestCase and Stop in cleanupTestCase.
class ShippedMouseTest : public QObject
{
protected:
    TestHome home;
    SimulatedDevices* devices = nullptr;

    void Start()
    {
        home.MakeUserFolders();
        UiTextTables::Instance()->LoadUiTextTables();
        DeviceAllInfo device;
        device.modelIndex = 0;
        CurrentDeviceInfo.Set(device);
        devices = new SimulatedDevices;
    }
    void Stop()
    {
        UsbServer_Exit();
        delete devices;
        devices = nullptr;
    }
};
