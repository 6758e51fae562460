#pragma once
#include "device/LockedValue.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <QList>
#include <QString>
#include <QStringList>
#include <atomic>

class QTimer;

// The settings page's firmware upgrade: the state its two one-second timers step through on the
// GUI thread, and the values its upgrade callbacks write on the device library's thread.
namespace SettingsUpgrade {

// Per-kind upgrade states. Written: the library reported the success, the device has not yet
// answered with the new firmware; only then is the kind Upgraded.
enum State { Idle = 0, Upgrading = 1, Upgraded = 2, Failed = 3, NotUpgraded = 4, Written = 5 };

// Written by the callbacks, polled by the timers.
extern std::atomic<int> ReceiverState;
extern std::atomic<int> MouseState;
// Set by the version check, cleared by a failed run or a shown success.
extern std::atomic<bool> ReceiverNewFirmware;
extern std::atomic<bool> MouseNewFirmware;
extern std::atomic<int> ImageCount;   // 2 scales a run's progress: receiver 0..50, mouse 50..100
extern std::atomic<int> RunFinished;  // 0 when a run starts, 1 when its result is shown
extern std::atomic<int> CurrentKind;  // 210 or 211, the kind the library writes
extern std::atomic<int> Cid;
extern std::atomic<int> Mid;
// The receiver type of the run (1, 2, 4, 8; 0 none).
extern std::atomic<int> ReceiverType;

// What the callbacks need of the stage they report on: the image handed to the library, the
// device's version before it, and the model list's CID and MID texts for "MouseVer".
struct Stage {
    QByteArray image;
    QString deviceVersion;
    QString cidText;
    QString midText;
};
extern LockedValue<Stage> StartedStage;

// The image found by the page's last upgrade search; GUI thread only.
extern QList<QByteArray> UpgradeImageList;

// How long one step of a run waits; tests shorten it.
extern int StepIntervalMs;

} // namespace SettingsUpgrade

// The GUI-thread members of the page's run.
struct FirmwareSequence {
    int runStep = 0;
    bool messageMode = false;
    int mousePending = 0;
    bool receiverNoImage = false;
    bool mouseNoImage = false;
    bool mouseRun = false;
    bool receiverRun = false;
    int bootCount1 = 0, bootCount2 = 0, bootCount4 = 0, bootCount8 = 0;
    QStringList receiverPaths;
    QString group;
    QString mouseModelName;
    QString receiverModelName;
    // Why the run ended without writing anything, for the dialog when no result reached it.
    QString endReason;
    // Stages of this run whose device came back with its new firmware: a later stage that cannot
    // start leaves the run unfinished, which is a failure, never a success.
    int stagesWritten = 0;
    // Since the library reported the running stage's success.
    QElapsedTimer sinceWritten;
    // The last check before a run refused with a message the user can act on where they are: a
    // device too many to unplug.
    bool refusalInPlace = false;
    QTimer* dongleTimer = nullptr;
    QTimer* mouseTimer = nullptr;
};
