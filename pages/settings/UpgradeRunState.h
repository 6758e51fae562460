#pragma once
#include "device/LockedValue.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <atomic>

// The state of the upgrade dialog's own run (a repair, or the receiver upgrade the Space key asks
// for). The dialog writes it on the GUI thread before a stage starts; the device library's upgrade
// callback reads and writes it afterwards on the library's thread. Whether the connection may look
// at the device meanwhile is FollowDeviceRemoval (device/ConnectionState.h).
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
namespace UpgradeRecord {
// "UpdateFailInfo" split at "," keeping empty parts; empty when there is none.
QStringList FailRecord();
// Records a failed stage: kind, receiver type, CID and MID as decimal numbers joined by ",".
void WriteFailure(int kind, int receiverType, int cid, int mid);
void RemoveFailure();
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
