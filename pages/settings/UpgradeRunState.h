#pragma once
#include "device/LockedValue.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <atomic>

// The state of the upgrade dialog's own run (a repair, or the receiver upgrade the Space key asks
// for). The dialog writes it on the GUI thread; the device library's upgrade callback reads it and
// marks the progress it sees on the library's thread, and hands each result to the GUI thread, where
// the next stage starts. Whether the connection may look at the device meanwhile is
// FollowDeviceRemoval (device/ConnectionState.h).
struct UpgradeRunStateData {
    std::atomic<int> inProgress{0};       // a run is under way: the selection page asks for no repair check
    std::atomic<bool> progressSeen{false}; // a stage reports progress: close and cancel do nothing
    std::atomic<int> stage{0};            // 0 the receiver is written, 1 the mouse
    std::atomic<int> imageCount{1};       // 2 when a receiver and a mouse image are written
    std::atomic<int> failedStage{0};      // the stage the record names: 1 for kind 210, 0 for 211
    std::atomic<int> receiverType{0};
    std::atomic<int> cid{0};
    std::atomic<int> mid{0};
    // A mouse stage follows a successful receiver stage: its image was found when the run started.
    std::atomic<bool> mouseFollows{false};
    LockedValue<QString> mouseModelName;
    LockedValue<QStringList> failRecord;
    // The images of the run, found on the GUI thread before the first stage: each stage writes its
    // own, whatever a later search leaves in FirmwareImageList.
    LockedValue<QByteArray> receiverImage;
    LockedValue<QByteArray> mouseImage;
};
extern UpgradeRunStateData UpgradeRunState;

// The interrupted-upgrade record and the mouse version kept under the program's registry key, and
// the upgrade log. Safe on any thread.
//
// The record stands while a device may be left waiting in its boot loader: it is written before a
// stage starts (whatever then cuts the stage off, a crash, a kill, a quit, a lost cable or power,
// leaves it for the next start to repair) and goes only when the stage's device answers with its
// new firmware.
namespace UpgradeRecord {
// "UpdateFailInfo" split at "," keeping empty parts; empty when there is none.
QStringList FailRecord();
// Records a failed stage: kind, receiver type, CID and MID as decimal numbers joined by ",".
void WriteFailure(int kind, int receiverType, int cid, int mid);
void RemoveFailure();
// Before a stage starts: the record names the stage (kind 211 receiver, 210 mouse). What stood
// before is kept for the stage's end.
void BeginStage(int kind, int receiverType, int cid, int mid);
// The stage's device answers with its new firmware: the record goes, or names again the other
// device that an earlier interrupted stage left waiting (a mouse repair writes the receiver first).
void StageSucceeded();
// The library refused the start: nothing was written, the record is as it was before the stage.
void StageNotStarted();
// "MouseVer" + the model list's CID and MID texts := version.
void StoreMouseVersion(const QString& cidText, const QString& midText, const QString& version);
// Appends one line for a failed stage to "UpDateLog.txt" in the per-user "Exception" folder: the
// time, the kind, the receiver type, CID, MID, the device's and the image's versions. False when
// the line could not be written.
bool LogFailure(int kind, int receiverType, int cid, int mid, const QString& deviceVersion, const QString& imageVersion);
// The log file's path.
QString LogPath();
} // namespace UpgradeRecord

// The version text of a whole image ("v1.06"), empty when the data holds no header.
QString ImageVersionText(const QByteArray& image);

// After the library reported a stage's success: whether the device the stage wrote runs the new
// firmware. Kind 211: an attached receiver of this CID and MID reports version as its own; kind
// 210: a mouse of this CID and MID answers version, on its cable or through its receiver. A device
// still in its boot loader or gone answers nothing. GUI thread.
bool DeviceRunsVersion(int kind, int cid, int mid, const QString& version);

namespace UpgradeStage {
// How long a stage's device may take to come back with its new firmware after the library reported
// the success; tests shorten it.
extern int VersionWaitMs;
// An upgrade run of either kind is under way, from the checks before its first stage to its result:
// nothing closes its dialog and the program does not quit meanwhile.
bool RunUnderWay();
} // namespace UpgradeStage
