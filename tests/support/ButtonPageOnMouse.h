#pragma once
#include "device/DeviceDiscovery.h"
#include "pages/buttons/Buttoninterface.h"
#include "platform/AppPaths.h"
#include "support/SimulatedDeviceFixture.h"
#include "widgets/UiTextTables.h"

#include <QObject>
#include <QTemporaryDir>

// What the button page's tests on the simulated mouse share: a temporary HOME, a copy of the
// program folder that the test lays out, the simulated devices and one page at a time.
class ButtonPageOnMouse : public QObject
{
protected:
    TestHome home;
    QTemporaryDir program;
    SimulatedDevices* devices = nullptr;
    Buttoninterface* page = nullptr;
    int mouse = -1;

    // The user's folders, the program folder laid out by layout(from, to), its texts and devices.
    template <typename Layout>
    bool Start(Layout layout)
    {
        home.MakeUserFolders();
        if (!layout(AppPaths::ProgramFolder(), program.path()))
            return false;
        AppPaths::SetProgramFolder(program.path());
        UiTextTables::Instance()->LoadUiTextTables();
        devices = new SimulatedDevices;
        return true;
    }
    void Stop()
    {
        delete page;
        page = nullptr;
        UsbServer_Exit();
        delete devices;
        devices = nullptr;
    }
    static void UseModel(int model)
    {
        DeviceAllInfo device;
        device.modelIndex = model;
        CurrentDeviceInfo.Set(device);
    }
    // A new page for the model's device over the wired mouse, which becomes current with its
    // record in the working copy (SimulatedDevices::OpenWiredMouse). False without a wired mouse.
    bool NewPage(int model, FlashDataMap* record)
    {
        UseModel(model);
        delete page;
        page = new Buttoninterface;
        mouse = devices->OpenWiredMouse(record);
        return mouse >= 0;
    }
};
