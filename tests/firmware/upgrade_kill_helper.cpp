// A program that upgrades the receiver and then the mouse from the settings page on the simulated
// devices and stops at one progress value, where its parent kills it: the stage is cut off while it
// writes. Prints "held <value>" once there.
// Usage: upgrade_kill_helper <program folder with bin> <flash folder> <progress value>
// The shipped program folder (its model list, texts and device description) is KESTRO_PROGRAM_DIR.
#include "device/ConfigSetting.h"
#include "device/ConnectionState.h"
#include "device/DeviceDiscovery.h"
#include "device/DeviceState.h"
#include "device/PostMsg.h"
#include "pages/settings/FormSetting.h"
#include "pages/settings/FormSettingFirmware.h"
#include "pages/settings/UpDateRepair.h"
#include "platform/AppPaths.h"
#include "platform/hidusb/HIDUsb.h"
#include "platform/hidusb/SimControl.h"
#include "widgets/UiText.h"
#include "widgets/UiTextTables.h"

#include <QAbstractButton>
#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>

#include <chrono>
#include <functional>
#include <cstdio>
#include <thread>

namespace {

constexpr int Receiver = 0;
constexpr int WiredMouse = 1;
constexpr int WirelessCable = 2;

bool WaitFor(const std::function<bool()>& condition)
{
    QElapsedTimer clock;
    clock.start();
    while (!condition()) {
        if (clock.elapsed() > 20000)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    return true;
}

} // namespace

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    if (argc != 4)
        return 2;
    const QString programWithBin = QString::fromLocal8Bit(argv[1]);
    const QByteArray flash(argv[2]);
    const int stopAt = QByteArray(argv[3]).toInt();
    const QString shipped = QString::fromLocal8Bit(qgetenv("KESTRO_PROGRAM_DIR"));
    AppPaths::SetProgramFolder(shipped);
    UiLanguage = 0;
    UiTextTables::Instance()->LoadUiTextTables();
    ConfigSetting::Instance()->GetValue(QStringLiteral("Option"), QStringLiteral("CID"));
    const QByteArray description = (shipped + QStringLiteral("/simulated/devices.ini")).toLocal8Bit();
    SimControl_Reset(description.constData(), flash.constData());
    SimControl_SetAttached(WiredMouse, 0);
    SimControl_SetAttached(WirelessCable, 1);
    AppPaths::SetProgramFolder(programWithBin);

    SettingsUpgrade::StepIntervalMs = 2;
    FormSetting page(nullptr);
    QObject::connect(
        PostMsg::Instance(), &PostMsg::SigProgress, PostMsg::Instance(),
        [stopAt](int value, int kind) {
            if (kind != 0 || value != stopAt)
                return;
            // On the library's thread, in the middle of the stage: it writes no further.
            std::printf("held %d\n", value);
            std::fflush(stdout);
            for (;;)
                std::this_thread::sleep_for(std::chrono::hours(1));
        },
        Qt::DirectConnection);

    // The mouse's cable open in the device window, its receiver beside it.
    DeviceAllInfo cable;
    cable.path = QString::fromLocal8Bit(SimControl_DevicePath(WirelessCable));
    if (IdentifyDevice(&cable, SimControl_DevicePath(WirelessCable)) != 1)
        return 3;
    cable.online = true;
    cable.firmwareVersion = QStringLiteral("v1.03");
    CurrentDeviceInfo.Set(cable);
    SetCurrentDevicePath(cable.path.toLocal8Bit());
    DeviceWindowActive = 1;
    StartUsbChanged(MainPageUsbChangedCallback, 600);
    if (!WaitFor([] { return FoundDeviceList.size() == 2; }))
        return 4;
    page.SetVer(0);
    UpDateRepair* dialog = page.UpdateDialog();
    if (!dialog->isVisible())
        return 5;
    dialog->findChild<QAbstractButton*>(QStringLiteral("NewHong_2"))->click();
    // Held at the value until killed; a run that never gets there ends here.
    QTimer::singleShot(60000, &application, [] { QCoreApplication::exit(6); });
    return application.exec();
}
