#include "LibraryRecorder.h"

#include "app/DialogChange.h"
#include "device/DeviceDiscovery.h"
#include "device/DeviceReportCallback.h"
#include "platform/hidusb/HIDUsb.h"

#include <QMutex>
#include <QMutexLocker>

namespace {
QMutex lock;
QStringList calls;

QString CallbackName(HidUsbChangedCallback callback)
{
    if (callback == &SelectPageUsbChangedCallback)
        return QStringLiteral("selection");
    if (callback == &MainPageUsbChangedCallback)
        return QStringLiteral("device window");
    return QStringLiteral("other");
}
} // namespace

namespace LibraryRecorder {
QStringList Calls()
{
    QMutexLocker locker(&lock);
    return calls;
}
void Clear()
{
    QMutexLocker locker(&lock);
    calls.clear();
}
void Note(const QString& entry)
{
    QMutexLocker locker(&lock);
    calls << entry;
}
} // namespace LibraryRecorder

extern "C" {

void StartUsbChanged(HidUsbChangedCallback callback, int intervalMs)
{
    LibraryRecorder::Note(QStringLiteral("StartUsbChanged(%1,%2)").arg(CallbackName(callback)).arg(intervalMs));
}

void StopUsbChanged(void)
{
    LibraryRecorder::Note(QStringLiteral("StopUsbChanged"));
}

void UsbServer_Exit(void)
{
    LibraryRecorder::Note(QStringLiteral("UsbServer_Exit"));
}

void UsbServer_SetPCDriverStatus(uint8_t running)
{
    LibraryRecorder::Note(QStringLiteral("UsbServer_SetPCDriverStatus(%1)").arg(running));
}

void UsbServerC_Start(const char* path, const char*, HidReportCallback callback)
{
    LibraryRecorder::Note(QStringLiteral("UsbServerC_Start(%1,%2)")
                              .arg(QString::fromLocal8Bit(path ? path : ""))
                              .arg(callback == &DeviceReportCallback ? "report" : "other"));
}
}
