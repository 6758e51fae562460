#pragma once
// What the firmware run tests share: a program folder whose "bin" holds the test's own images, the
// simulated devices reset from the shipped description, and the checks made after every kind of end.
#include "device/ConfigSetting.h"
#include "device/ConnectionState.h"
#include "device/DeviceAllInfo.h"
#include "device/DeviceParamSetters.h"
#include "device/DeviceReportCallback.h"
#include "device/DeviceState.h"
#include "device/FirmwareImage.h"
#include "device/FlashDataMap.h"
#include "device/PostMsg.h"
#include "pages/settings/UpgradeRunState.h"
#include "platform/AppPaths.h"
#include "platform/RegistryStore.h"
#include "platform/hidusb/HIDUsb.h"
#include "platform/hidusb/SimControl.h"
#include "support/SettleDevices.h"
#include "support/TestHome.h"
#include "widgets/UiText.h"
#include "widgets/UiTextTables.h"

#include <QDir>
#include <QFile>
#include <QSemaphore>
#include <QTemporaryDir>
#include <QtTest>
#include <atomic>
#include <functional>
#include <memory>

namespace FirmwareRun {

// The shipped description's devices.
constexpr int Receiver = 0;      // the wireless mouse's receiver, type 4, firmware v1.05
constexpr int WiredMouse = 1;    // the wired-only model, MID 19
constexpr int WirelessCable = 2; // the wireless mouse's own cable, unplugged at start, firmware v1.03

constexpr int Cid = 28;
constexpr int Mid = 18;

struct Image {
    int kind;
    int mid;
    int major;
    int minor;
    QByteArray name;
};

inline QByteArray MakeImage(const Image& image)
{
    QByteArray data(FirmwareImage::HeaderSize + 512, '\0');
    for (int i = FirmwareImage::HeaderSize; i < data.size(); ++i)
        data[i] = char(i * 13);
    data[16] = char(image.minor);
    data[17] = char(image.major);
    data[20] = char(image.kind);
    data[21] = char(Cid);
    data[22] = char(image.mid);
    for (int i = 0; i < image.name.size(); ++i)
        data[87 + i] = image.name[i];
    return data;
}

inline Image ReceiverImage() { return {211, Mid, 1, 0x06, "KestroPlus-Receiver4K"}; }
inline Image MouseImage() { return {210, Mid, 1, 0x04, "KestroPlus"}; }

// Switches the program folder to a temporary one with its own "bin" for the life of the object;
// the model list and the texts stay those already read from the shipped folder.
class ProgramFolder
{
public:
    ProgramFolder() : shipped(AppPaths::ProgramFolder())
    {
        QDir(folder.path()).mkpath(QStringLiteral("bin"));
        AppPaths::SetProgramFolder(folder.path());
    }
    ~ProgramFolder() { AppPaths::SetProgramFolder(shipped); }
    void Write(const QString& name, const Image& image) const
    {
        QFile file(folder.filePath(QStringLiteral("bin/") + name));
        QVERIFY(file.open(QIODevice::WriteOnly));
        QVERIFY(file.write(MakeImage(image)) > 0);
    }
    void RemoveBin() const { QDir(folder.filePath(QStringLiteral("bin"))).removeRecursively(); }
    QString Shipped() const { return shipped; }
    QString Path() const { return folder.path(); }

private:
    QString shipped;
    QTemporaryDir folder;
};

// The shipped devices, flash in a temporary folder; the run state as at program start.
inline void ResetDevices(const QString& shippedFolder, const QString& flashFolder)
{
    const QByteArray description = (shippedFolder + QStringLiteral("/simulated/devices.ini")).toLocal8Bit();
    SimControl_Reset(description.constData(), flashFolder.toLocal8Bit().constData());
}

// The fixture of a run test case: a temporary HOME with the shipped model list and texts read, and
// for each test a fresh program folder with both images in "bin", fresh device flash, no failure
// record and no upgrade log.
class RunCase
{
protected:
    TestHome home;
    // The devices' flash outlives a reset of the library: each test starts from a fresh one.
    std::unique_ptr<QTemporaryDir> flash;
    std::unique_ptr<ProgramFolder> program;

    // From initTestCase, before the tests switch the program folder: false when the shipped model
    // list was not read.
    bool StartCase()
    {
        home.MakeUserFolders();
        UiLanguage = 0;
        UiTextTables::Instance()->LoadUiTextTables();
        return !ConfigSetting::Instance()->GetValue(QStringLiteral("Option"), QStringLiteral("CID")).isEmpty();
    }
    // From init.
    void StartTest()
    {
        program = std::make_unique<ProgramFolder>();
        flash = std::make_unique<QTemporaryDir>();
        ResetDevices(program->Shipped(), flash->path());
        program->Write(QStringLiteral("receiver.bin"), ReceiverImage());
        program->Write(QStringLiteral("mouse.bin"), MouseImage());
        UpgradeRecord::RemoveFailure();
        QFile::remove(UpgradeRecord::LogPath());
    }
};

inline QString FailRecord()
{
    return RegistryStore(MouseDriveTestKey()).Value(QStringLiteral("UpdateFailInfo")).toString();
}

inline int LogLines()
{
    QFile log(UpgradeRecord::LogPath());
    if (!log.open(QIODevice::ReadOnly))
        return 0;
    return log.readAll().count('\n');
}

// Drives a device to wait in its boot loader: an upgrade that stops there.
inline bool LeaveInBootMode(const Image& image)
{
    const QByteArray data = MakeImage(image);
    const HidUpgradeImage view{reinterpret_cast<const uint8_t*>(data.constData()), uint32_t(data.size())};
    SimControl_SetUpgradeOutcome(2);
    if (!UsbUpgrade_Start(&view, [](const uint8_t*) {}, 10000))
        return false;
    return SettleDevices();
}

// After any end of a run: nothing is in progress, the connection follows the device again, and the
// mouse behind `device` is online and takes a setting that reaches it.
inline bool MouseWorksAfterwards(int device, QString* why)
{
    if (UpgradeRunState.inProgress != 0 || UpgradeRunState.progressSeen) {
        *why = QStringLiteral("the run is still marked as under way");
        return false;
    }
    if (!FollowDeviceRemoval) {
        *why = QStringLiteral("the connection does not follow the device");
        return false;
    }
    const QByteArray path(SimControl_DevicePath(device));
    SetCurrentDevicePath(path);
    UsbServerC_Start(path.constData(), path.constData(), [](const uint8_t*, int, const uint8_t*, uint32_t) {});
    FlashDataMap record{};
    SimControl_GetDeviceRecord(device, record.bytes());
    AdoptDeviceConfig(record);
    ButtonPageRefreshing = LightPageRefreshing = SensorPageRefreshing = false;
    UserWritesEnabled = true;
    const uint8_t rate = record.bytes()[0] == 2 ? 3 : 2;
    if (!SetDeviceReportRate(rate)) {
        *why = QStringLiteral("the setting was refused");
        return false;
    }
    SettleDevices();
    SimControl_GetDeviceRecord(device, record.bytes());
    if (record.bytes()[0] != rate) {
        *why = QStringLiteral("the setting did not reach the mouse");
        return false;
    }
    return true;
}

// The percentages a run shows for one image whose 0..100 % it scales onto from..to, the library
// reporting every whole percent up to last.
inline QList<int> Range(int from, int to, int last = 100)
{
    QList<int> values;
    for (int percent = 0; percent <= last; ++percent)
        values << from + percent * (to - from) / 100;
    return values;
}

// A device record as the lists of attached devices hold one, for a device no library knows.
inline DeviceAllInfo Fake(bool wired, int mid, const QString& pid = QStringLiteral("0xF5D1"), int cid = Cid)
{
    static int made = 0;
    DeviceAllInfo info;
    info.path = QStringLiteral("fake-%1").arg(++made);
    info.CID = uint8_t(cid);
    info.MID = uint8_t(mid);
    info.status = wired ? 2 : 1;
    info.wired = wired;
    info.PID = pid;
    if (!wired)
        info.address = {0x5A, 0x13, 0xC7};
    return info;
}

// The rows of the tests that close the dialog while a stage writes: at 20 % of the receiver stage
// (10 on a two-image run's bar) and of the mouse stage (60), by Escape or the window's close.
inline void CloseWhileAStageWritesRows()
{
    QTest::addColumn<int>("percent");
    QTest::addColumn<bool>("escape");
    QTest::newRow("receiver stage, Escape") << 10 << true;
    QTest::newRow("receiver stage, window closed") << 10 << false;
    QTest::newRow("mouse stage, Escape") << 60 << true;
    QTest::newRow("mouse stage, window closed") << 60 << false;
}

// The rows of the mouse repairs: the mouse stage that follows the receiver's fails or succeeds.
inline void MouseRepairRows()
{
    QTest::addColumn<bool>("mouseFails");
    QTest::newRow("mouse stage fails") << true;
    QTest::newRow("mouse stage succeeds") << false;
}

// Holds the device library's upgrade thread inside the progress event that shows `value`, so that
// the test acts while the stage writes; the stage goes on once released (or when the hold ends).
// `signal` is the run's progress signal: SigProgress (the settings page's run, value first, 0 second)
// or SigAutoRepairProgress (the dialog's run).
class HoldAtProgress
{
public:
    // With block false the event only runs whileHeld and the stage goes on at once.
    HoldAtProgress(int value, bool dialogRun, std::function<void()> whileHeld = nullptr, bool block = true)
        : value(value), whileHeld(std::move(whileHeld)), block(block)
    {
        PostMsg* bus = PostMsg::Instance();
        if (dialogRun)
            connection = QObject::connect(bus, &PostMsg::SigAutoRepairProgress, bus, [this](int shown) { Reached(shown); },
                                          Qt::DirectConnection);
        else
            connection = QObject::connect(bus, &PostMsg::SigProgress, bus,
                                          [this](int shown, int kind) {
                                              if (kind == 0)
                                                  Reached(shown);
                                          },
                                          Qt::DirectConnection);
    }
    ~HoldAtProgress()
    {
        QObject::disconnect(connection);
        Release();
    }
    // Waits on the GUI thread, handling its events, until the library's thread is held.
    bool WaitHeld() const
    {
        return QTest::qWaitFor([this] { return held.load(); }, 15000);
    }
    void Release()
    {
        if (block && held && !released.exchange(true))
            gate.release();
    }

private:
    void Reached(int shown)
    {
        if (shown != value || entered.exchange(true))
            return;
        if (whileHeld)
            whileHeld();
        held = true;
        if (block)
            gate.acquire();
    }

    const int value;
    std::function<void()> whileHeld;
    const bool block;
    QMetaObject::Connection connection;
    std::atomic<bool> entered{false};
    std::atomic<bool> held{false};
    std::atomic<bool> released{false};
    QSemaphore gate;
};

} // namespace FirmwareRun

using Devices = QList<DeviceAllInfo>;
Q_DECLARE_METATYPE(Devices)
