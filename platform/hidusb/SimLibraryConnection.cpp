// The connection to one device: opening and closing it, the reads answered by reports, the record
// exchange, the calls that change the mouse's settings and profile, and the start of pairing.
#include "platform/hidusb/SimLibrary.h"

#include "platform/hidusb/RawImageCodec.h"

#include <cstring>

void SimLibrary::Connect(const char* path, HidReportCallback callback)
{
    std::lock_guard<std::mutex> locker(lock);
    const SimDevice* device = bus.ByPath(path);
    connected = device ? device->Index() : -1;
    connectionUnplugged = false;
    connection = reportGate.Open(callback);
}

void SimLibrary::SetDriverStatus(uint8_t running)
{
    std::lock_guard<std::mutex> locker(lock);
    driverRunning = running;
}

void SimLibrary::Disconnect()
{
    std::lock_guard<std::mutex> locker(lock);
    connected = -1;
    connectionUnplugged = false;
    connection = reportGate.Close();
}

uint8_t SimLibrary::Read(ReadKind kind)
{
    std::lock_guard<std::mutex> locker(lock);
    SimDevice* device = ConnectedLocked();
    if (!device)
        return 0;
    if (kind == ReadKind::PairStatus) {
        // The receiver answers this itself, whether a mouse is in range or not; over a connection
        // opened before it was unplugged the read does not reach it, also once it is back.
        if (!device->IsReceiver() || !device->Running() || connectionUnplugged)
            return 0;
        if (device->pairStatus == 1 && device->pairStatusReads > 0 && device->pairOutcome != 1) {
            device->pairStatus = device->pairOutcome;
            if (device->pairStatus == 3)
                device->mouseOnline = true;
        }
        ++device->pairStatusReads;
        PostReportLocked(ReportFormat::Make(HIDUSB_REPORT_PAIR_STATUS, 0, {uint8_t(device->pairStatus)}));
        return 1;
    }
    if (!device->MouseReachable())
        return 0;
    const SimMouse& mouse = *device->Mouse();
    const Record& record = mouse.Current();
    switch (kind) {
    case ReadKind::Image: {
        std::vector<uint8_t> raw(RecordLayout::RawImageSize);
        RawImageCodec::Encode(record.data(), raw.data());
        PostReportLocked(ReportFormat::Make(HIDUSB_REPORT_PARAMETER, HIDUSB_ITEM_IMAGE_OR_RATE, std::move(raw)));
        break;
    }
    case ReadKind::ReportRate:
        PostReportLocked(ReportFormat::Make(HIDUSB_REPORT_PARAMETER, HIDUSB_ITEM_IMAGE_OR_RATE, {record[RecordLayout::ReportRate]}));
        break;
    case ReadKind::CurrentDpi:
        PostReportLocked(ReportFormat::Make(HIDUSB_REPORT_PARAMETER, HIDUSB_ITEM_CURRENT_DPI, {record[RecordLayout::CurrentDpiLevel]}));
        break;
    case ReadKind::DpiLed:
        PostReportLocked(ReportFormat::Make(HIDUSB_REPORT_PARAMETER, HIDUSB_ITEM_DPI_LED, ReportFormat::DpiLedReply(record)));
        break;
    case ReadKind::LedBar:
        PostReportLocked(ReportFormat::Make(HIDUSB_REPORT_PARAMETER, HIDUSB_ITEM_LED_BAR, ReportFormat::LedBarReply(record)));
        break;
    case ReadKind::Battery:
        PostReportLocked(ReportFormat::Make(HIDUSB_REPORT_BATTERY, 0, ReportFormat::BatteryReply(mouse.battery, mouse.charging)));
        break;
    case ReadKind::Version:
        PostReportLocked(ReportFormat::Make(HIDUSB_REPORT_VERSION, 0, ReportFormat::VersionReply(mouse.firmware)));
        break;
    case ReadKind::Config:
        PostReportLocked(ReportFormat::Make(HIDUSB_REPORT_PROFILE, 0, {uint8_t(mouse.ActiveProfile())}));
        break;
    case ReadKind::PairStatus:
        break;
    }
    return 1;
}

uint8_t SimLibrary::Update(const uint8_t* record)
{
    if (!record)
        return 0;
    std::lock_guard<std::mutex> locker(lock);
    std::memcpy(lastUpdate.data(), record, RecordLayout::RecordSize);
    hasLastUpdate = true;
    SimDevice* device = ConnectedLocked();
    if (!device || !device->MouseReachable())
        return 0;
    device->Mouse()->Store(record);
    bus.Save(*device->Mouse());
    ++updates;
    return 1;
}

uint8_t SimLibrary::SetBatteryOptimize(uint8_t enable)
{
    std::lock_guard<std::mutex> locker(lock);
    SimDevice* device = ConnectedLocked();
    if (!device || !device->MouseReachable())
        return 0;
    device->Mouse()->batteryOptimize = enable != 0;
    bus.Save(*device->Mouse());
    return 1;
}

uint8_t SimLibrary::ClearSettings()
{
    std::lock_guard<std::mutex> locker(lock);
    SimDevice* device = ConnectedLocked();
    if (!device || !device->MouseReachable())
        return 0;
    device->Mouse()->RestoreDefaults();
    bus.Save(*device->Mouse());
    PostReportLocked(ReportFormat::Make(HIDUSB_REPORT_DEFAULTS_RESTORED, 0, {}));
    return 1;
}

uint8_t SimLibrary::SelectProfile(uint8_t profile)
{
    std::lock_guard<std::mutex> locker(lock);
    SimDevice* device = ConnectedLocked();
    if (!device || !device->MouseReachable() || !device->Mouse()->SelectProfile(profile))
        return 0;
    SimMouse& mouse = *device->Mouse();
    bus.Save(mouse);
    PostReportLocked(ReportFormat::Make(HIDUSB_REPORT_PROFILE, 0, {profile}));
    std::vector<uint8_t> raw(RecordLayout::RawImageSize);
    RawImageCodec::Encode(mouse.Current().data(), raw.data());
    PostReportLocked(ReportFormat::Make(HIDUSB_REPORT_PARAMETER, HIDUSB_ITEM_IMAGE_OR_RATE, std::move(raw)));
    return 1;
}

uint8_t SimLibrary::EnterPairing(uint8_t cid)
{
    std::lock_guard<std::mutex> locker(lock);
    SimDevice* device = ConnectedLocked();
    if (!device || !device->IsReceiver() || !device->Running() || connectionUnplugged)
        return 0;
    device->pairStatus = 1;
    device->pairStatusReads = 0;
    // A receiver pairs only mice of its own customer id.
    device->pairOutcome = cid == device->Entry().cid ? pairingOutcome : 2;
    pairingOutcome = 3;
    return 1;
}
