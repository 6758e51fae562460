#pragma once
#include "device/ConnectionState.h"
#include "device/DeviceAllInfo.h"
#include "device/DeviceState.h"
#include "device/PostMsg.h"
#include "device/Worker.h"
#include "support/ModalCloser.h"

#include <QtTest>

// Opens a device in the device window as the selection page does, closing the wait dialog and
// notices meanwhile, and waits until every page has applied the device's record. Run inside a
// test function with QVERIFY: a missing record ends the test.
inline bool OpenInDeviceWindow(const DeviceAllInfo& device)
{
    ButtonPageUpdated = LightPageUpdated = SensorPageUpdated = false;
    DeviceWindowActive = 1;
    UserWritesEnabled = true;
    ModalCloser closer;
    PostMsg* bus = PostMsg::Instance();
    emit bus->SigSetver(6);
    emit bus->SigSelectMouseInfo(device);
    emit bus->SigLabelTextB(device.version, QString());
    Worker::SelectDevice(device);
    return QTest::qWaitFor([] { return ButtonPageUpdated && LightPageUpdated && SensorPageUpdated; }, 15000);
}
