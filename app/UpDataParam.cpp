#include "app/UpDataParam.h"

#include "app/InportFail.h"
#include "app/ReadConfigFile.h"
#include "device/ConnectionState.h"
#include "device/DeviceInfoCache.h"
#include "device/DeviceReportCallback.h"
#include "device/DeviceState.h"
#include "device/PostMsg.h"
#include "device/Worker.h"
#include "platform/Sleep.h"
#include "platform/TraceLog.h"
#include "platform/hidusb/HIDUsb.h"
#include "ui_UpDataParam.h"
#include "widgets/NoticeLook.h"
#include "widgets/SettingsWait.h"
#include "widgets/UiText.h"
#include "widgets/WaitProcessingEvents.h"

#include <QTimer>

int ImportResult = 0;
int ImportTextMode = 0;

namespace {

bool PagesUpdated()
{
    return ButtonPageUpdated && LightPageUpdated && SensorPageUpdated;
}

void ClearPagesUpdated()
{
    ButtonPageUpdated = false;
    LightPageUpdated = false;
    SensorPageUpdated = false;
}

bool CurrentDeviceOnline()
{
    return VidEzorarA_GetDeviceOnLine(CurrentDevicePath) != 0;
}

// The imported record becomes the working copy only when the device took it. A device that left
// during the wait, or a push that did not reach the mouse, leaves the working copy the record the
// mouse still holds, so that nothing is shown or kept that the mouse does not have.
bool ImportIntoDevice(const FlashDataMap& record)
{
    if (!CurrentDeviceOnline())
        return false;
    const bool previousCurrent = DeviceConfigIsCurrent;
    const FlashDataMap previous = DeviceConfigSnapshot();
    const uint64_t order = AdoptDeviceConfig(record);
    if (PushDeviceConfigCopy(record, order))
        return true;
    RestoreDeviceConfig(previous, previousCurrent, order);
    return false;
}

} // namespace

UpDataParam::UpDataParam(QWidget* parent) : QDialog(parent), ui(new Ui::UpDataParam)
{
    ui->setupUi(this);
    NoticeLook::StyleNotice(this, ui->label, nullptr, ui->UpDataParamA);
    timer = new QTimer(this);
    timer->setSingleShot(true);
    connect(timer, SIGNAL(timeout()), this, SLOT(onTimeupDestroy()));
    connect(PostMsg::Instance(), SIGNAL(SigAllLanguage(int)), this, SLOT(SlotAllLanguage(int)));
    SlotAllLanguage(UiLanguage);
    NoticeLook::ScaleFonts(this);
}

UpDataParam::~UpDataParam()
{
    delete ui;
}

void UpDataParam::BeginWait()
{
    ++waitsBegun;
    timer->start(2500);
}

void UpDataParam::SetWaitForPages(bool wait)
{
    waitForPages = wait;
}

void UpDataParam::SetImportFile(const QString& path)
{
    importPath = path;
    importPending = true;
}

void UpDataParam::SlotAllLanguage(int index)
{
    // The import and the reload show the same words.
    ui->label->setText(UiText::ForReader(index, QStringLiteral("UpDataParam"), QStringLiteral("DialogUpdating")));
}

bool UpDataParam::WaitForPageUpdates()
{
    for (int check = 0; check < 12; ++check) {
        if (PagesUpdated())
            return true;
        WaitProcessingEvents(500);
    }
    return PagesUpdated();
}

void UpDataParam::onTimeupDestroy()
{
    PostMsg* bus = PostMsg::Instance();
    emit bus->SigSetver(4);
    // A wait that began while this one waited for the pages (this one's dialog was closed early and
    // a reload followed) owns the reports that came meanwhile and decides on its own end: this one
    // neither uses them up nor calls the mouse offline, else the later wait would never see them.
    const unsigned thisWait = waitsBegun;
    const auto superseded = [this, thisWait] { return waitsBegun != thisWait; };

    if (waitForPages) {
        qCDebug(kestroTrace) << "z";
        const bool reported = WaitForPageUpdates();
        // A later wait must see fresh reports, not these.
        if (reported && !superseded())
            ClearPagesUpdated();
        Sleep(2000);
        close();
        if (!reported && !superseded())
            emit bus->SigMouseOffLineo(0);
    } else if (importPending) {
        qCDebug(kestroTrace) << "v";
        FlashDataMap record{};
        ImportResult = ReadConfigFile(importPath, &record);
        if (ImportResult == 0 && !ImportIntoDevice(record))
            ImportResult = ImportDeviceAway;
        if (ImportResult == 0) {
            emit bus->SigUpDataLightUIA(record);
            emit bus->SigUpDataSensorUIB(record);
            emit bus->SigUpDataButtonUIC(record);
            emit bus->SigFormB();
            for (int step = 0; step < 5; ++step)
                WaitProcessingEvents(500);
        } else if (ImportResult == ImportDeviceAway) {
            close();
            emit bus->SigMouseOffLineo(0);
        } else {
            InportFail notice;
            const QPoint topLeft = mapToGlobal(QPoint(0, 0));
            notice.move(topLeft.x() + (width() - notice.width()) / 2, topLeft.y() + (height() - notice.height()) / 2);
            notice.exec();
        }
        importPending = false;
        close();
    } else if (LastPassOnline) {
        qCDebug(kestroTrace) << "vvv";
        const bool reported = WaitForPageUpdates();
        if (reported && !superseded())
            ClearPagesUpdated();
        close();
        if (!reported && !superseded())
            emit bus->SigMouseOffLineo(1);
        // The first read of a device online leaves its first cache file; later reads keep the file.
        FlashDataMap cached;
        if (DeviceOnline && DeviceConfigIsCurrent && !ReadDeviceInfoCache(CacheFileName.Get(), &cached))
            WriteDeviceInfoCache(ReportCacheFileName.Get(), DeviceConfigSnapshot());
    } else {
        qCDebug(kestroTrace) << "vv";
        FlashDataMap cached;
        if (ReadDeviceInfoCache(CacheFileName.Get(), &cached)) {
            emit bus->SigUpDataLightUIA(cached);
            emit bus->SigUpDataSensorUIB(cached);
            emit bus->SigUpDataButtonUIC(cached);
            emit bus->SigFormB();
        }
        emit bus->SigMouseOffLineo(0);
        close();
    }
    qCDebug(kestroTrace) << "x";
    // Each wait states its own mode; a mode left over would decide the next wait. A wait begun
    // meanwhile has stated its mode already.
    if (superseded())
        return;
    waitForPages = false;
    importPending = false;
    importPath.clear();
}

void UpDataParam::InstallAsSettingsWait()
{
    SettingsWait::Install([](const SettingsWait::Request& request, const SettingsWait::Placement& place) {
        const bool importing = !request.importPath.isEmpty();
        // The file dialog before an import may have stayed open for minutes: a device that left
        // meanwhile gets the offline notice, not a wait that cannot end in success.
        if (importing && !CurrentDeviceOnline()) {
            ImportResult = ImportDeviceAway;
            emit PostMsg::Instance()->SigMouseOffLineo(0);
            return;
        }
        if (importing)
            ImportTextMode = 1;
        UpDataParam wait;
        wait.BeginWait();
        wait.SetWaitForPages(request.waitForPages);
        if (importing)
            wait.SetImportFile(request.importPath);
        if (place)
            place(&wait);
        wait.exec();
        if (importing)
            ImportTextMode = 0;
    });
}
