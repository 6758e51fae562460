#pragma once
#include "device/DeviceAllInfo.h"
#include "device/LockedValue.h"

#include <QString>
#include <QThread>
#include <atomic>
#include <mutex>

class QTimer;

// Opens the connection to the current device and asks it for its whole record: one pass per start
// of the thread. The device answers later through DeviceReportCallback on the library's thread.
// One object exists, created by the button page; its 1300 ms timer lives in the GUI thread and
// restarts the thread when a reload is due.
class Worker : public QThread
{
    Q_OBJECT
public:
    Worker();
    ~Worker() override;

    // Makes a device current and starts a pass.
    static void SelectDevice(const DeviceAllInfo& device);
    // Asks the Worker for a pass: starts one, or, while a pass runs, has another run right after it,
    // so that a request made during a pass is never lost.
    static void RequestPass();

    // No further pass does anything; a pass asked for and not yet begun is dropped.
    void Stop();
    // How long quitting waits for a running pass.
    static constexpr int StopLimitMs = 5000;
    // Stops and waits for a running pass, at most limitMs (a negative limit waits as long as it
    // takes); true when no pass runs any more. The pass may itself be waiting for the GUI thread in
    // a blocking emit, so the GUI thread keeps processing events while it waits. A pass still
    // running at the limit is left to end on its own, so that quitting goes on.
    bool StopAndWait(int limitMs = StopLimitMs);

public slots:
    void SlotCheckOnline();
    void SlotMainPageChange();
    void SlotSelectMouseInfo(DeviceAllInfo SelectInfo);

protected:
    void run() override;

private:
    // One pass; `requested` says a pass was asked for (a pass that was not does nothing).
    void Pass(bool requested);

    // Passes asked for and not yet begun, and whether the thread runs passes now; a request finds
    // the thread either running (its loop takes the request) or not (the request starts it).
    std::mutex passLock;
    bool passQueued = false;
    bool passesRunning = false;
    // Stays the device library's path until a real device is selected: it names no device.
    char placeholderPath[2] = {'a', 0};
    int lastStartedStatus = 0;
    QString lastStartedPath;
    // Set when a device is opened: its first pass always starts the connection, also when the same
    // device was open before and is offline now, so that the pages show its cached record.
    std::atomic<bool> deviceOpened{false};
};

// The Worker the button page created, and its timer (stopped while a reset writes the device).
extern Worker* WorkerInstance;
extern QTimer* WorkerCheckTimer;

// Config.ini [Option] ShowBatteryValue, read once by the Worker.
extern int ShowBatteryValue;
// Cache file of the selected device, read when it is offline.
extern LockedValue<QString> CacheFileName;
