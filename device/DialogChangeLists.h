#pragma once
#include "device/DeviceAllInfo.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QVector>

// What the device selection page found, shared with the pairing and firmware dialogs and the
// top-level window's shortcuts. GUI thread only.

// The devices shown, in button order: button k shows entry k.
extern QList<DeviceAllInfo> ListedDevices;
// Every device found, never pruned: a receiver whose mouse is also on its cable stays here.
// Entries are matched to ListedDevices by path, never by index.
extern QList<DeviceAllInfo> FoundDevices;

// Config.ini [Option] receiver product ids as the last search read them, and all five lists
// (USB_PID first) in one.
extern QStringList WirelessPidList;
extern QStringList Wireless2PidList;
extern QStringList Wireless4PidList;
extern QStringList Wireless8PidList;
extern QVector<QString> AllPidList;

// The device the pairing dialog pairs when PairDeviceChosen is set; later pairings keep it.
extern DeviceAllInfo PairDeviceInfo;
extern bool PairDeviceChosen;
// True when pairing was asked for from the device window, false from the selection page.
extern bool PairFromDeviceWindow;

// The question asked before a receiver update, in the current language (kept by the selection page).
extern QString NewVersionTipText;
// The notice that the mouse's own firmware has to be updated first, in the current language; the
// settings page sets it on every language change, the selection page and the top-level window show it.
extern QString MouseUpdateNoticeText;
