#include "device/DialogChangeLists.h"

QList<DeviceAllInfo> ListedDevices;
QList<DeviceAllInfo> FoundDevices;
QStringList WirelessPidList;
QStringList Wireless2PidList;
QStringList Wireless4PidList;
QStringList Wireless8PidList;
QVector<QString> AllPidList;
DeviceAllInfo PairDeviceInfo;
bool PairDeviceChosen = false;
bool PairFromDeviceWindow = false;
QString NewVersionTipText;
QString MouseUpdateNoticeText;
