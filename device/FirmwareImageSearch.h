#pragma once
#include <QByteArray>
#include <QList>
#include <QString>

// Finding the firmware image for a device among the "*.bin" files in the program folder's "bin".
//
// A file matches when its header's kind, CID, MID and model name (case-sensitive) equal the
// caller's. A match qualifies when the caller's current version is empty, or when its version differs
// from the current one as a number (older images count too). Versions compare as numbers, so
// "v1.0a" and "v1.0A" are the same version; a current version that cannot be read as one differs
// from every image. Files are visited in name order ignoring case and the last qualifying file wins.
// Files shorter than the header, larger than FirmwareImage::MaxFileSize or unreadable are skipped.

// The search alone: true when a file qualified; its whole content goes to image when one is given.
// Nothing is kept between calls.
bool SearchFirmwareImage(int kind, const QString& currentVersion, const QString& modelName, int cid, int mid,
                         QByteArray* image = nullptr);

// The search whose result is kept in FirmwareImageList for the upgrade: afterwards the list holds the
// chosen image, or nothing when the result is false (also when there is no "bin" folder).
bool FindFirmwareBin(int kind, const QString& currentVersion, const QString& modelName, int cid, int mid);

// Whether "bin" holds a different image for the device of model modelIndex (Config.ini group
// "Drive" + (modelIndex + 1)): kind 210 looks for the mouse image (model name key "MM"), kind 211 for
// the receiver image of receiverType 1, 2, 4 or 8 (keys "DM", "D2M", "D4M", "D8M"); any other
// receiver type names no receiver and gives false. CID comes from [Option] "CID", MID from the
// model's "MID". An empty current version (the device has not said) gives false. Keeps nothing:
// FirmwareImageList is left as it was. Safe to call from the device library's threads.
bool HasNewFirmware(int kind, const QString& currentVersion, int receiverType, int modelIndex);

// The model-name key of a receiver of receiverType 1, 2, 4 or 8 in a model's group ("DM", "D2M",
// "D4M", "D8M"); empty for any other type, which names no receiver.
QString ReceiverModelKey(int receiverType);

// The image chosen by the last FindFirmwareBin, shared by the GUI thread and the device library's
// upgrade callback. Callers get copies: a copy keeps its bytes alive for as long as the caller holds
// it, even when a later search replaces the list.
namespace FirmwareImageList {
QList<QByteArray> Images();
// The first image, or an empty array when the list is empty.
QByteArray First();
bool IsEmpty();
void Clear();
} // namespace FirmwareImageList
