#pragma once
#include "device/DeviceAllInfo.h"
#include "device/LockedValue.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QVector>

// The device the program has open, and the devices the device window's discovery found.
// The open device is read by the report callback on the device library's thread, so it is kept
// behind a lock and handed out as copies.
extern LockedValue<DeviceAllInfo> CurrentDeviceInfo;
extern QList<DeviceAllInfo> FoundDeviceList; // GUI thread only

// "v" + major + "." + minor as two upper-case hexadecimal digits: 0x010A gives "v1.0A".
QString VersionText(uint16_t version);

// The attached devices of one vendor and product id, each with its path, ids and USB version text.
// The device window's discovery asks by device id, the selection page by the default device id.
enum class FindBy { DeviceId, DefaultDeviceId };
QList<DeviceAllInfo> ListAttachedDevices(const QString& vid, const QString& pid, FindBy findBy);

// Identifies one device against the model list: 0 no answer, 1 identified, 2 the customer id matches
// but no model's, 3 another customer's device.
int IdentifyDevice(DeviceAllInfo* record, const char* path);

// Lists the attached devices of these vendor and product ids into FoundDeviceList.
void EnumerateDevices(const QStringList& vids, const QVector<QString>& pids, int interfaceId, int deviceId);

// The device window's attach/detach callback: registered with the device library, called on its
// thread; the work itself runs on the GUI thread.
void MainPageUsbChangedCallback();
// The work of one attach/detach notice, on the GUI thread.
void HandleMainPageUsbChanged();

// Pairing talks to the device through callbacks of its own; afterwards the device window takes
// back its attach/detach notices and the open device's connection with its report callback.
void GiveDeviceWindowCallbacksBack();
// The selection page's attach/detach callback, named by the shell when it makes the page.
extern void (*SelectionPageUsbChanged)();
// The same for the selection page: the connection pairing opened is closed and the page's notices
// are registered again.
void GiveSelectionPageCallbacksBack();

// Receiver version and update state found by the last notice, for the settings page.
extern bool ReceiverUpdateAvailable;
extern bool MouseUpdateAvailable;

// Set by the settings page: true while its firmware panel shows and no firmware check runs.
// Unset, no check is asked for.
#include <functional>
extern std::function<bool()> FirmwareCheckAvailable;
