#include "device/Worker.h"

#include "device/ConfigSetting.h"
#include "device/ConnectionState.h"
#include "device/DeviceDiscovery.h"
#include "device/DeviceInfoCache.h"
#include "device/DeviceReportCallback.h"
#include "device/DeviceState.h"
#include "device/PostMsg.h"
#include "device/ReloadThrottle.h"
#include "platform/TraceLog.h"
#include "platform/hidusb/HIDUsb.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QTimer>

Worker* WorkerInstance = nullptr;
QTimer* WorkerCheckTimer = nullptr;
int ShowBatteryValue = 0;
LockedValue<QString> CacheFileName;

Worker::Worker() : QThread(nullptr)
{
    WorkerInstance = this;
    RunRequested = true;
    ReloadThrottle.Restart();
    PointCurrentDevicePath(placeholderPath);
    DeviceOnline = false;

    WorkerCheckTimer = new QTimer(this);
    connect(WorkerCheckTimer, &QTimer::timeout, this, &Worker::SlotCheckOnline);
    WorkerCheckTimer->setInterval(1300);
    WorkerCheckTimer->start();

    connect(PostMsg::Instance(), SIGNAL(SigSelectMouseInfo(DeviceAllInfo)), this, SLOT(SlotSelectMouseInfo(DeviceAllInfo)));
    connect(PostMsg::Instance(), &PostMsg::SigMainPageChange, this, &Worker::SlotMainPageChange);
    ShowBatteryValue = ConfigSetting::Instance()->GetValue(QStringLiteral("Option"), QStringLiteral("ShowBatteryValue")).toInt();
}

Worker::~Worker()
{
    // A thread object must outlive its thread: here the wait has no limit.
    StopAndWait(-1);
    if (CurrentDevicePath.load() == placeholderPath)
        PointCurrentDevicePath(nullptr);
    if (WorkerInstance == this)
        WorkerInstance = nullptr;
    WorkerCheckTimer = nullptr;
}

void Worker::Stop()
{
    std::lock_guard<std::mutex> locker(passLock);
    passQueued = false;
    RunRequested = false;
}

bool Worker::StopAndWait(int limitMs)
{
    Stop();
    const QDeadlineTimer deadline(limitMs < 0 ? QDeadlineTimer(QDeadlineTimer::Forever) : QDeadlineTimer(limitMs));
    while (!wait(10)) {
        if (deadline.hasExpired())
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    return true;
}

void Worker::run()
{
    bool requested = false;
    {
        std::lock_guard<std::mutex> locker(passLock);
        passesRunning = true;
        requested = passQueued || RunRequested;
        passQueued = false;
    }
    for (;;) {
        Pass(requested);
        // A request that came during the pass (a device selected, a reload) gets a pass of its own;
        // the pass, or the report of a whole record, has cleared RunRequested meanwhile.
        std::lock_guard<std::mutex> locker(passLock);
        if (!passQueued) {
            passesRunning = false;
            return;
        }
        passQueued = false;
        RunRequested = true;
        requested = true;
    }
}

void Worker::RequestPass()
{
    RunRequested = true;
    Worker* worker = WorkerInstance;
    if (!worker)
        return;
    {
        std::lock_guard<std::mutex> locker(worker->passLock);
        worker->passQueued = true;
        if (worker->passesRunning)
            return;
        worker->passesRunning = true;
    }
    // The thread runs no pass, but the thread of the last one may still be ending, and start() does
    // nothing until it has ended: wait for that end, which takes no time (a thread started without a
    // request takes this one when it begins, and the wait then ends at its limit).
    if (QThread::currentThread() != worker)
        worker->wait(2000);
    worker->start(QThread::InheritPriority);
}

void Worker::Pass(bool requested)
{
    if (!requested)
        return;
    if (!DeviceOnline)
        DeviceOnline = VidEzorarA_GetDeviceOnLine(CurrentDevicePath) != 0;

    const DeviceAllInfo current = CurrentDeviceInfo.Get();
    const bool nothingToDo = !deviceOpened.exchange(false) && current.path == lastStartedPath && current.status == lastStartedStatus
        && ConnectionStartedOnline == DeviceOnline && !FullReloadPending;
    if (!nothingToDo && DeviceWindowActive == 1) {
        PostMsg* bus = PostMsg::Instance();
        if (VidEzorarA_GetDeviceOnLine(CurrentDevicePath)) {
            CurrentDeviceInfo.Update([](DeviceAllInfo& info) { info.online = true; });
            if (FullReloadPending) {
                emit bus->SigUpDataParam(1);
                FullReloadPending = false;
            } else if (!SettingsWriteInProgress) {
                emit bus->SigUpDataParam(0);
            }
        } else {
            OfflineNoticeOpen = true;
            CurrentDeviceInfo.Update([](DeviceAllInfo& info) { info.online = false; });
            // The pages show the last known record; the whole record is read again once the
            // mouse answers, so that nothing is written from a stale copy.
            ReloadRequested = true;
            FlashDataMap cached;
            if (ReadDeviceInfoCache(CacheFileName.Get(), &cached)) {
                emit bus->SigUpDataLightUIButton(cached);
                emit bus->SigUpDataLightLight(cached);
                emit bus->SigUpDataLightSensor(cached);
                emit bus->SigForm();
            } else {
                emit bus->SigFormReset();
            }
        }
        lastStartedPath = current.path;
        lastStartedStatus = current.status;

        UsbServerC_Start(CurrentDevicePath, CurrentDevicePath, DeviceReportCallback);
        qCDebug(kestroTrace) << "OnlinA";
        UsbServer_SetPCDriverStatus(1);
        UsbServer_ReadAllFlashData();
        ConnectionStartedOnline = bool(DeviceOnline);
        qCDebug(kestroTrace) << "OnlinB";
    }
    LastPassOnline = bool(DeviceOnline);
    RunRequested = false;
}

void Worker::SlotCheckOnline()
{
    if (OfflineNoticeOpen) {
        if (DeviceWindowActive == 0) {
            if (CurrentDeviceInfo.Get().status != 0)
                OfflineNoticeOpen = false;
        } else if (FollowDeviceRemoval) {
            DeviceOnline = VidEzorarA_GetDeviceOnLine(CurrentDevicePath) != 0;
            ConnectionStartedOnline = false;
            if (!DeviceOnline)
                return;
            emit PostMsg::Instance()->SigCloseOffOnline();
            OfflineNoticeOpen = false;
        }
    }
    if (DeviceOnline && ReloadRequested) {
        ReloadRequested = false;
        RequestPass();
    }
}

void Worker::SlotMainPageChange()
{
    ConnectionStartedOnline = false;
}

void Worker::SlotSelectMouseInfo(DeviceAllInfo SelectInfo)
{
    const DeviceAllInfo previous = CurrentDeviceInfo.Get();
    if (previous.path != SelectInfo.path || previous.CID != SelectInfo.CID || previous.MID != SelectInfo.MID)
        InvalidateDeviceConfig();
    CurrentDeviceInfo.Set(SelectInfo);
    // The first pass must talk to the selected device, not to the placeholder.
    SetCurrentDevicePath(SelectInfo.path.toLocal8Bit());
    CacheFileName.Set(DeviceCacheFileName(SelectInfo.CID, SelectInfo.MID));
    deviceOpened = true;
}

void Worker::SelectDevice(const DeviceAllInfo& device)
{
    if (VidEzorarA_GetDeviceOnLine(device.path.toLocal8Bit().constData())) {
        const DeviceAllInfo previous = CurrentDeviceInfo.Get();
        if (previous.path != device.path)
            InvalidateDeviceConfig();
        CurrentDeviceInfo.Set(device);
        SetCurrentDevicePath(device.path.toLocal8Bit());
    }
    RequestPass();
}
