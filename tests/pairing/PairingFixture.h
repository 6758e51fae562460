#pragma once
#include "device/ConfigSetting.h"
#include "device/ConnectionState.h"
#include "device/DeviceAllInfo.h"
#include "device/DeviceDiscovery.h"
#include "device/DialogChangeLists.h"
#include "pages/settings/Match.h"
#include "platform/hidusb/SimControl.h"
#include "support/SimulatedDeviceFixture.h"
#include "widgets/UiText.h"
#include "widgets/UiTextTables.h"

#include <QCoreApplication>

#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>

// The pairing tests' starting point: the simulated receiver (its mouse paired and on) and the wired
// mouse attached, no attempt running, the device window closed, nothing chosen for pairing.
class PairingFixture
{
public:
    SimulatedDevices devices;
    int receiver = -1;
    int cable = -1;

    // The shipped description, or one whose receiver belongs to another customer (CID 29).
    bool Reset(bool receiverOfAnotherCustomer = false)
    {
        if (receiverOfAnotherCustomer) {
            QFile shipped(AppPaths::ProgramFolder() + "/simulated/devices.ini");
            if (!shipped.open(QIODevice::ReadOnly))
                return false;
            // The models name no CID: the first one is the receiver's ([Device 1]).
            QByteArray text = shipped.readAll();
            const int at = text.indexOf("CID=28");
            if (at < 0)
                return false;
            text.replace(at, 6, "CID=29");
            const QString copy = files.filePath("devices.ini");
            QFile file(copy);
            if (!file.open(QIODevice::WriteOnly) || file.write(text) != text.size())
                return false;
            file.close();
            SimControl_Reset(copy.toLocal8Bit().constData(), devices.FlashFolder().toLocal8Bit().constData());
        } else {
            devices.Reset();
        }
        receiver = devices.Find(false);
        cable = devices.Find(true);
        Match::SetAttemptTimeLimit(60000);
        PairResult = 0;
        PairingActive = false;
        SavedDeviceWindowFlag = false;
        DeviceWindowActive = 0;
        PairDeviceChosen = false;
        PairDeviceInfo = DeviceAllInfo();
        ListedDevices.clear();
        CurrentDeviceInfo.Set(DeviceAllInfo());
        return receiver >= 0 && cable >= 0;
    }

    // A listed device as the program finds it: path, the vendor and product id texts of the model
    // list, and whether it is on its cable.
    DeviceAllInfo Info(int device) const
    {
        ConfigSetting* config = ConfigSetting::Instance();
        const bool wired = device == cable;
        DeviceAllInfo info;
        info.path = QString::fromLocal8Bit(devices.Path(device));
        info.VID = config->GetValueList("Option", "VID").value(0);
        info.PID = config->GetValueList("Option", wired ? "USB_PID" : "Wireless_PID").value(0);
        info.status = wired ? 2 : 1;
        info.wired = wired;
        info.online = true;
        info.modelIndex = wired ? 1 : 0;
        info.CID = 28;
        info.MID = wired ? 19 : 18;
        return info;
    }

    // Pairing asked for from the device window with this device open, or from the selection page
    // with this device chosen.
    void OpenFrom(bool deviceWindow, const DeviceAllInfo& device) const
    {
        if (deviceWindow) {
            CurrentDeviceInfo.Set(device);
            DeviceWindowActive = 1;
        } else {
            DeviceWindowActive = 0;
            PairDeviceChosen = true;
            PairDeviceInfo = device;
        }
    }

    static QPushButton* PairButton(QWidget* dialog) { return dialog->findChild<QPushButton*>("MatchButton"); }
    static QString Text(const char* key) { return UiText::ForReader(UiLanguage, "Match", key); }
    // The button's picture of "/Picture/Setting/".
    static bool Shows(QWidget* dialog, const char* picture)
    {
        return PairButton(dialog)->styleSheet().contains(QStringLiteral("/Picture/Setting/") + picture);
    }

private:
    QTemporaryDir files;
};

// What the pairing test cases share: a temporary HOME with the texts read, and the fixture.
class PairingCase
{
protected:
    TestHome home;
    PairingFixture fixture;

    // From initTestCase.
    void StartCase()
    {
        home.MakeUserFolders();
        UiTextTables::Instance()->LoadUiTextTables();
    }
    // From cleanup, last: the library stopped and what it queued delivered; false when it stayed busy.
    static bool StopLibrary()
    {
        UsbServer_Exit();
        const bool idle = SimControl_WaitIdle(5000);
        QCoreApplication::processEvents();
        return idle;
    }
};
