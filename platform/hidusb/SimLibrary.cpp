#include "platform/hidusb/SimLibrary.h"

#include "platform/hidusb/DeviceDescription.h"
#include "platform/hidusb/RawImageCodec.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>

namespace {

using std::chrono::milliseconds;

constexpr milliseconds ReplyLatency(1);    // a USB round trip
constexpr milliseconds UpgradeStep(2);     // from the last block to the result
// A boot loader's pace: a 64 KiB image takes under three seconds, a small test image a few ms.
constexpr int64_t WriteBytesPerMs = 24;
constexpr milliseconds ShutdownGrace(300); // per thread, at process exit
constexpr milliseconds ResetGrace(5000);
constexpr uint32_t ImageHeaderSize = 728;
constexpr uint8_t MouseImage = 210;
constexpr uint8_t ReceiverImage = 211;

// Vendor and product ids as the program keeps them: "0x3554", or plain decimal; a text with
// hexadecimal letters and no prefix is read as hexadecimal.
bool ParseId(const char* text, uint16_t& id)
{
    if (!text)
        return false;
    std::string t(text);
    while (!t.empty() && std::isspace(static_cast<unsigned char>(t.back())))
        t.pop_back();
    size_t start = 0;
    while (start < t.size() && std::isspace(static_cast<unsigned char>(t[start])))
        ++start;
    t = t.substr(start);
    if (t.empty())
        return false;
    int base = 10;
    if (t.size() > 2 && t[0] == '0' && (t[1] == 'x' || t[1] == 'X')) {
        base = 16;
        t = t.substr(2);
    } else if (std::any_of(t.begin(), t.end(), [](char c) { return std::isalpha(static_cast<unsigned char>(c)); })) {
        base = 16;
    }
    if (t.empty() || !std::all_of(t.begin(), t.end(), [](char c) { return std::isxdigit(static_cast<unsigned char>(c)); }))
        return false;
    char* end = nullptr;
    const unsigned long value = std::strtoul(t.c_str(), &end, base);
    if (*end != '\0' || value > 0xFFFF)
        return false;
    id = uint16_t(value);
    return true;
}

uint8_t ClockSum(const uint8_t* bytes, int count)
{
    uint8_t sum = 0;
    for (int i = 0; i < count; ++i)
        sum = uint8_t(sum + bytes[i]);
    return uint8_t(0x55 - sum);
}

// The version an image carries: minor at byte 16, major in bytes 17..19 (kept to 8 bits here).
uint16_t ImageVersion(const uint8_t* header)
{
    const uint32_t major = header[17] | header[18] << 8 | header[19] << 16;
    return uint16_t(std::min<uint32_t>(major, 0xFF) << 8 | header[16]);
}

} // namespace

SimLibrary& SimLibrary::Instance()
{
    // Never freed: a thread left in a callback that does not return, and calls made by other objects
    // while the process ends, still find the library in place. Its threads end with the process.
    static SimLibrary* const library = new SimLibrary;
    static struct Stopper {
        ~Stopper() { library->Shutdown(); }
    } stopper;
    return *library;
}

SimLibrary::SimLibrary()
{
    std::lock_guard<std::mutex> locker(lock);
    LoadLocked(nullptr, nullptr);
}

void SimLibrary::LoadLocked(const char* descriptionFile, const char* flashFolder)
{
    const std::string file = descriptionFile && *descriptionFile ? std::string(descriptionFile) : DeviceDescription::DefaultFile();
    const std::string folder = flashFolder && *flashFolder ? std::string(flashFolder) : FlashStore::DefaultFolder();
    std::error_code ignored;
    std::filesystem::create_directories(folder, ignored);
    DeviceDescription description;
    if (!description.Load(file))
        std::fprintf(stderr, "HIDUsb: no simulated devices: %s\n", description.Error().c_str());
    bus.Load(description, folder);
}

bool SimLibrary::OnLibraryThread() const
{
    return reportThread.OnThisThread() || noticeThread.OnThisThread() || upgradeThread.OnThisThread();
}

SimDevice* SimLibrary::ConnectedLocked() const
{
    return bus.Device(connected);
}

SimDevice* SimLibrary::ConnectionToLocked(const SimMouse* mouse) const
{
    SimDevice* device = ConnectedLocked();
    return device && device->Mouse() == mouse && device->MouseReachable() ? device : nullptr;
}

void SimLibrary::PostReportLocked(Report report)
{
    const uint64_t generation = connection;
    reportThread.Post([this, generation, report = std::move(report)] { DeliverReport(generation, report); }, ReplyLatency);
}

void SimLibrary::DeliverReport(uint64_t generation, const Report& report)
{
    const HidReportCallback callback = reportGate.Take(generation);
    if (!callback)
        return;
    ++readCounts[report.Code()];
    static const uint8_t none[1] = {0};
    callback(report.header.data(), int(report.header.size()), report.data.empty() ? none : report.data.data(),
             uint32_t(report.data.size()));
}

void SimLibrary::PostNoticeLocked()
{
    noticeThread.Post(
        [this] {
            if (const HidUsbChangedCallback callback = noticeGate.Current())
                callback();
        },
        ReplyLatency);
}

// ---- Discovery and presence ----

uint8_t SimLibrary::Online(const char* path)
{
    std::lock_guard<std::mutex> locker(lock);
    const SimDevice* device = bus.ByPath(path);
    return device && device->MouseReachable() ? 1 : 0;
}

const char* const* SimLibrary::Find(const char* vid, const char* pid, int* count)
{
    int room = count ? *count : HIDUSB_MAX_PATHS;
    room = std::clamp(room, 0, int(HIDUSB_MAX_PATHS));
    std::lock_guard<std::mutex> locker(lock);
    auto& result = findResults[findNext];
    findNext = (findNext + 1) % FindRing;
    result.fill(nullptr);
    int found = 0;
    uint16_t vendor = 0;
    uint16_t product = 0;
    if (ParseId(vid, vendor) && ParseId(pid, product))
        for (const SimDevice* device : bus.Matching(vendor, product)) {
            if (found == room)
                break;
            result[found++] = device->CurrentPath();
        }
    if (count)
        *count = found;
    return result.data();
}

void SimLibrary::Info(const char* path, uint8_t* out)
{
    std::memset(out, 0, HIDUSB_DEVICE_INFO_SIZE);
    std::lock_guard<std::mutex> locker(lock);
    const SimDevice* device = bus.ByPath(path);
    if (!device || !device->Running())
        return;
    out[0] = device->Entry().cid;
    out[1] = device->Entry().mid;
    out[2] = device->Entry().status;
}

uint8_t SimLibrary::Attribute(const char* path, uint8_t* record)
{
    if (!record)
        return 0;
    std::lock_guard<std::mutex> locker(lock);
    const SimDevice* device = bus.ByPath(path);
    if (!device)
        return 0;
    const uint16_t values[4] = {HIDUSB_USB_ATTRIBUTE_SIZE, device->Entry().vid, device->CurrentPid(), device->usbVersion};
    std::memset(record, 0, HIDUSB_USB_ATTRIBUTE_SIZE);
    record[0] = uint8_t(values[0]);
    for (int i = 1; i < 4; ++i) {
        record[2 + 2 * i] = uint8_t(values[i]);
        record[3 + 2 * i] = uint8_t(values[i] >> 8);
    }
    return 1;
}

uint8_t SimLibrary::AddressStatus(const char* path, uint8_t* status)
{
    if (!status)
        return 0;
    std::lock_guard<std::mutex> locker(lock);
    const SimDevice* device = bus.ByPath(path);
    if (!device || !device->Running())
        return 0;
    const auto address = bus.AddressOf(*device);
    std::memset(status, 0, HIDUSB_USB_ADDRESS_STATUS_SIZE);
    status[0] = uint8_t(device->Entry().vid);
    status[1] = uint8_t(device->Entry().vid >> 8);
    status[2] = uint8_t(device->Entry().pid);
    status[3] = uint8_t(device->Entry().pid >> 8);
    status[4] = device->Entry().cid;
    status[5] = device->Entry().mid;
    status[6] = device->MouseReachable() ? 1 : 0;
    std::copy(address.begin(), address.end(), status + 7);
    return 1;
}

uint16_t SimLibrary::MouseVersion(const char* path)
{
    std::lock_guard<std::mutex> locker(lock);
    const SimDevice* device = bus.ByPath(path);
    return device && device->MouseReachable() ? device->Mouse()->firmware : 0;
}

uint8_t SimLibrary::SlaveVersion(const char* path, uint16_t* version)
{
    std::lock_guard<std::mutex> locker(lock);
    const SimDevice* device = bus.ByPath(path);
    if (!version || !device || !device->IsReceiver() || !device->Running())
        return 0;
    *version = device->receiverFirmware;
    return 1;
}

// ---- Attach and detach ----

void SimLibrary::StartNotices(HidUsbChangedCallback callback)
{
    std::lock_guard<std::mutex> locker(lock);
    noticeGate.Open(callback);
    if (callback)
        PostNoticeLocked();
}

void SimLibrary::StopNotices()
{
    noticeGate.Close();
}

// ---- The connection ----

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

// ---- Receiver ----

uint8_t* SimLibrary::ReceiverBytes(SimDevice& device, ReceiverRecord which, std::size_t* length)
{
    switch (which) {
    case ReceiverRecord::Indicator:
        *length = device.indicator.size();
        return device.indicator.data();
    case ReceiverRecord::LightBar:
        *length = device.lightBar.size();
        return device.lightBar.data();
    case ReceiverRecord::IndicatorLeds:
        *length = device.indicatorLeds.size();
        return device.indicatorLeds.data();
    }
    *length = 0;
    return nullptr;
}

uint8_t SimLibrary::ReceiverGet(const char* path, ReceiverRecord which, uint8_t* out)
{
    if (!out)
        return 0;
    std::lock_guard<std::mutex> locker(lock);
    SimDevice* device = bus.ByPath(path);
    if (!device || !device->IsReceiver() || !device->Running())
        return 0;
    std::size_t length = 0;
    const uint8_t* bytes = ReceiverBytes(*device, which, &length);
    std::copy(bytes, bytes + length, out);
    return 1;
}

uint8_t SimLibrary::ReceiverSet(const char* path, ReceiverRecord which, const uint8_t* in)
{
    if (!in)
        return 0;
    std::lock_guard<std::mutex> locker(lock);
    ++receiverWrites[std::size_t(which)];
    SimDevice* device = bus.ByPath(path);
    if (!device || !device->IsReceiver() || !device->Running())
        return 0;
    std::size_t length = 0;
    uint8_t* bytes = ReceiverBytes(*device, which, &length);
    switch (which) {
    case ReceiverRecord::Indicator:
        if (device->refusesIndicator || in[0] < 1 || in[0] > 3) // the indicator shows one of three things
            return 0;
        break;
    case ReceiverRecord::LightBar:
        if (device->refusesLights)
            return 0;
        break;
    case ReceiverRecord::IndicatorLeds:
        if (device->refusesLights || std::any_of(in, in + length, [](uint8_t mode) { return mode > 3; }))
            return 0;
        break;
    }
    std::copy(in, in + length, bytes);
    bus.Save(*device);
    return 1;
}

uint8_t SimLibrary::LongRangeGet(const char* path, uint8_t* mode)
{
    if (!mode)
        return 0;
    std::lock_guard<std::mutex> locker(lock);
    const SimDevice* device = bus.ByPath(path);
    if (!device || !device->IsReceiver() || !device->Running())
        return 0;
    *mode = device->longRange;
    return 1;
}

uint8_t SimLibrary::LongRangeSet(const char* path, uint8_t on)
{
    std::lock_guard<std::mutex> locker(lock);
    SimDevice* device = bus.ByPath(path);
    if (!device || !device->IsReceiver() || !device->Running() || on > 1)
        return 0;
    device->longRange = on;
    bus.Save(*device);
    return 1;
}

uint8_t SimLibrary::OpenRaw(const char* path)
{
    std::lock_guard<std::mutex> locker(lock);
    const SimDevice* device = bus.ByPath(path);
    rawDevice = device && device->IsReceiver() && device->Running() ? device->Index() : -1;
    return rawDevice >= 0 ? 1 : 0;
}

uint8_t SimLibrary::Exchange(uint8_t* frame, uint8_t* reply, uint8_t length)
{
    constexpr int ReplyRoom = 64;
    if (!frame || !reply || length == 0 || length > ReplyRoom)
        return 0;
    std::lock_guard<std::mutex> locker(lock);
    SimDevice* device = bus.Device(rawDevice);
    if (!device || !device->attached || !device->Running())
        return 0;
    // A clock-sync frame: 0x0A, 0, 0x10, year (high byte first), month, day, hour, minute, second, weekday.
    if (frame[0] == 0x0A && length >= 11 && frame[length - 1] == ClockSum(frame, length - 1))
        std::copy(frame + 3, frame + 11, device->clock.begin());
    // The receiver echoes what it was sent, under its own checksum.
    std::memset(reply, 0, ReplyRoom);
    std::memcpy(reply, frame, length - 1u);
    reply[length - 1] = ClockSum(reply, length - 1);
    return 1;
}

// ---- Firmware upgrade ----

bool SimLibrary::Takes(const SimDevice& device, const uint8_t* header)
{
    if (device.Entry().cid != header[21])
        return false;
    if (header[20] == ReceiverImage)
        return device.IsReceiver() && device.Entry().mid == header[22];
    if (header[20] == MouseImage)
        return !device.IsReceiver() && device.Mouse()->Model().mid == header[22];
    return false;
}

int SimLibrary::FindBootDevices(const HidUpgradeImage* image, int* count)
{
    int found = 0;
    if (image && image->data && image->length >= ImageHeaderSize) {
        std::lock_guard<std::mutex> locker(lock);
        for (int index = 0; index < bus.Count(); ++index) {
            const SimDevice* device = bus.Device(index);
            if (device->attached && device->InBootMode() && Takes(*device, image->data))
                ++found;
        }
    }
    if (count)
        *count = std::clamp(found, 0, std::max(*count, 0));
    return found;
}

void SimLibrary::SaveChipLocked(SimDevice& device, bool mouseChip)
{
    if (!mouseChip) {
        bus.Save(device);
        return;
    }
    bus.Save(*device.Mouse());
    for (SimDevice* cable : bus.DevicesOf(device.Mouse()))
        if (!cable->IsReceiver())
            bus.Save(*cable);
}

uint8_t SimLibrary::StartUpgrade(const HidUpgradeImage* image, HidUpgradeStatusCallback callback)
{
    if (!image || !image->data || image->length < ImageHeaderSize)
        return 0;
    const uint8_t* header = image->data;
    std::lock_guard<std::mutex> locker(lock);
    if (upgradeRunning)
        return 0;
    // A start the test wants refused is refused once, as a library that finds no writable device
    // would: nothing is written and no event follows.
    if (upgradeOutcome == 3) {
        upgradeOutcome = 0;
        return 0;
    }
    // A device waiting in boot mode first; then a running one the image is made for; a wireless mouse
    // with no cable plugged in takes its firmware through its receiver.
    int target = -1;
    for (int pass = 0; pass < 3 && target < 0; ++pass)
        for (int index = 0; index < bus.Count() && target < 0; ++index) {
            const SimDevice* device = bus.Device(index);
            bool candidate = false;
            if (pass == 0)
                candidate = device->attached && device->InBootMode() && Takes(*device, header);
            else if (pass == 1)
                candidate = device->Running() && Takes(*device, header);
            else
                candidate = header[20] == MouseImage && device->IsReceiver() && device->MouseReachable()
                         && device->Entry().cid == header[21] && device->Mouse()->Model().mid == header[22];
            if (candidate)
                target = index;
        }
    if (target < 0)
        return 0;
    std::vector<uint8_t> copy(image->data, image->data + image->length);
    const int outcome = upgradeOutcome;
    upgradeOutcome = 0;
    upgradeRunning = true;
    const uint64_t generation = upgradeGate.Open(callback);
    const uint64_t runEpoch = epoch;
    upgradeThread.Post([this, runEpoch, target, copy = std::move(copy), outcome, generation]() mutable {
        RunUpgrade(runEpoch, target, std::move(copy), outcome, generation);
    });
    return 1;
}

void SimLibrary::RunUpgrade(uint64_t runEpoch, int index, std::vector<uint8_t> image, int outcome, uint64_t generation)
{
    const auto report = [this, generation](uint8_t kind, uint8_t value) {
        if (const HidUpgradeStatusCallback callback = upgradeGate.Take(generation)) {
            const uint8_t event[HIDUSB_UPGRADE_EVENT_SIZE] = {7, kind, value};
            callback(event);
        }
    };
    // The chip written is the receiver's or the mouse's; over the air the receiver stays on the bus.
    const bool mouseChip = image[20] == MouseImage;
    const auto bootMode = [mouseChip](SimDevice& device) -> bool& {
        return mouseChip ? device.Mouse()->bootMode : device.bootMode;
    };
    const auto reachable = [mouseChip](const SimDevice& device) {
        return device.attached && (!mouseChip || !device.IsReceiver() || device.mouseOnline);
    };
    bool lost = false;
    bool wasInBootMode = false;
    bool overTheAir = false;
    {
        std::lock_guard<std::mutex> locker(lock);
        if (epoch != runEpoch)
            return;
        SimDevice& device = *bus.Device(index);
        overTheAir = mouseChip && device.IsReceiver();
        wasInBootMode = bootMode(device);
        lost = !reachable(device);
        if (!lost && !wasInBootMode) {
            // The chip restarts into its boot loader: a device on the bus leaves it and comes back as a boot device.
            bootMode(device) = true;
            SaveChipLocked(device, mouseChip);
            if (!overTheAir) {
                PostNoticeLocked();
                PostNoticeLocked();
            }
        }
    }
    // Outcome 4 writes the whole image and reports a success, but the chip does not start it.
    const int last = outcome == 0 || outcome == 4 ? 100 : 50;
    // The image is written block by block at the boot loader's pace, and each whole percent
    // written is reported once, as a device reports it: the bar moves with the write.
    const DispatchThread::Clock::time_point started = DispatchThread::Clock::now();
    const std::chrono::microseconds writeTime(int64_t(image.size()) * 1000 / WriteBytesPerMs);
    for (int percent = 0; !lost && percent <= last; ++percent) {
        const DispatchThread::Clock::time_point due = started + writeTime * percent / 100;
        const milliseconds wait = std::chrono::ceil<milliseconds>(due - DispatchThread::Clock::now());
        if (!upgradeThread.Pause(std::max(wait, milliseconds(0))))
            return;
        {
            std::lock_guard<std::mutex> locker(lock);
            if (epoch != runEpoch)
                return;
            lost = !reachable(*bus.Device(index));
        }
        if (!lost)
            report(1, uint8_t(percent));
    }
    if (!upgradeThread.Pause(UpgradeStep))
        return;
    bool success = false;
    {
        std::lock_guard<std::mutex> locker(lock);
        if (epoch != runEpoch)
            return;
        upgradeRunning = false;
        SimDevice& device = *bus.Device(index);
        if (!lost && reachable(device)) {
            // Success brings the new firmware; a failed write of a running chip leaves its old one;
            // a chip that was already waiting, or told to stop in boot mode, keeps waiting.
            if (outcome == 0) {
                const uint16_t version = ImageVersion(image.data());
                if (mouseChip) {
                    device.Mouse()->firmware = version;
                    for (SimDevice* cable : bus.DevicesOf(device.Mouse()))
                        if (!cable->IsReceiver())
                            cable->usbVersion = version;
                } else {
                    device.receiverFirmware = version;
                    device.usbVersion = version;
                }
                success = true;
            }
            // A write reported as done whose image does not start: the chip stays in its boot loader.
            if (outcome == 4)
                success = true;
            if (outcome == 0 || (outcome == 1 && !wasInBootMode)) {
                bootMode(device) = false;
                SaveChipLocked(device, mouseChip);
                if (!overTheAir) {
                    PostNoticeLocked();
                    PostNoticeLocked();
                }
            }
        }
    }
    report(2, success ? 1 : 0);
}

// ---- Control ----

void SimLibrary::Reset(const char* descriptionFile, const char* flashFolder)
{
    reportGate.Close();
    noticeGate.Close();
    upgradeGate.Close();
    {
        std::lock_guard<std::mutex> locker(lock);
        ++epoch;
        connected = -1;
        connection = 0;
        connectionUnplugged = false;
        driverRunning = 0;
        rawDevice = -1;
        pairingOutcome = 3;
        upgradeOutcome = 0;
        upgradeRunning = false;
        updates = 0;
        hasLastUpdate = false;
        lastUpdate.fill(0);
        for (auto& count : readCounts)
            count = 0;
        receiverWrites.fill(0);
        LoadLocked(descriptionFile, flashFolder);
    }
    reportThread.Clear();
    noticeThread.Clear();
    upgradeThread.Clear();
    if (!OnLibraryThread()) {
        const auto deadline = DispatchThread::Clock::now() + ResetGrace;
        upgradeThread.WaitIdle(deadline);
        noticeThread.WaitIdle(deadline);
        reportThread.WaitIdle(deadline);
    }
}

int SimLibrary::DeviceCount()
{
    std::lock_guard<std::mutex> locker(lock);
    return bus.Count();
}

const char* SimLibrary::DevicePath(int device)
{
    std::lock_guard<std::mutex> locker(lock);
    const SimDevice* found = bus.Device(device);
    return found ? found->Path() : nullptr;
}

void SimLibrary::SetAttached(int device, bool attached)
{
    std::lock_guard<std::mutex> locker(lock);
    SimDevice* found = bus.Device(device);
    if (!found || found->attached == attached)
        return;
    found->attached = attached;
    if (!attached) {
        // Unplugged, a receiver forgets its pairing mode, and the open connection loses it.
        found->pairStatus = 0;
        if (found->Index() == connected)
            connectionUnplugged = true;
    }
    PostNoticeLocked();
}

void SimLibrary::SetMouseOnline(int device, bool online)
{
    std::lock_guard<std::mutex> locker(lock);
    SimDevice* found = bus.Device(device);
    if (found && found->IsReceiver())
        found->mouseOnline = online;
}

void SimLibrary::SetBattery(int device, int level, bool charging)
{
    std::lock_guard<std::mutex> locker(lock);
    SimDevice* found = bus.Device(device);
    if (!found)
        return;
    SimMouse* mouse = found->Mouse();
    mouse->battery = std::clamp(level, 0, 100);
    mouse->charging = charging;
    if (ConnectionToLocked(mouse))
        PostReportLocked(ReportFormat::Make(HIDUSB_REPORT_BATTERY, 0, ReportFormat::BatteryReply(mouse->battery, charging)));
}

void SimLibrary::PressDpiButton(int device, int level)
{
    std::lock_guard<std::mutex> locker(lock);
    SimDevice* found = bus.Device(device);
    if (!found || !found->Mouse()->PressDpiButton(level))
        return;
    bus.Save(*found->Mouse());
    if (ConnectionToLocked(found->Mouse()))
        PostReportLocked(ReportFormat::Make(HIDUSB_REPORT_STATUS_CHANGE, 0, ReportFormat::StatusChange(0)));
}

void SimLibrary::PressRateButton(int device, int rateCode)
{
    std::lock_guard<std::mutex> locker(lock);
    SimDevice* found = bus.Device(device);
    if (!found || !found->Mouse()->PressRateButton(rateCode))
        return;
    bus.Save(*found->Mouse());
    if (ConnectionToLocked(found->Mouse()))
        PostReportLocked(ReportFormat::Make(HIDUSB_REPORT_STATUS_CHANGE, 0, ReportFormat::StatusChange(1)));
}

void SimLibrary::SwitchProfile(int device, int profile)
{
    std::lock_guard<std::mutex> locker(lock);
    SimDevice* found = bus.Device(device);
    if (!found || !found->Mouse()->SelectProfile(profile))
        return;
    SimMouse& mouse = *found->Mouse();
    bus.Save(mouse);
    if (!ConnectionToLocked(&mouse))
        return;
    PostReportLocked(ReportFormat::Make(HIDUSB_REPORT_PROFILE, 0, {uint8_t(profile)}));
    std::vector<uint8_t> raw(RecordLayout::RawImageSize);
    RawImageCodec::Encode(mouse.Current().data(), raw.data());
    PostReportLocked(ReportFormat::Make(HIDUSB_REPORT_PARAMETER, HIDUSB_ITEM_IMAGE_OR_RATE, std::move(raw)));
}

void SimLibrary::SetPairingOutcome(int outcome)
{
    std::lock_guard<std::mutex> locker(lock);
    if (outcome >= 1 && outcome <= 3)
        pairingOutcome = outcome;
}

void SimLibrary::SetUpgradeOutcome(int outcome)
{
    std::lock_guard<std::mutex> locker(lock);
    if (outcome >= 0 && outcome <= 4)
        upgradeOutcome = outcome;
}

int SimLibrary::GetRecord(int device, uint8_t* out)
{
    std::lock_guard<std::mutex> locker(lock);
    const SimDevice* found = bus.Device(device);
    if (!found || !out)
        return 0;
    const Record& record = found->Mouse()->Current();
    std::copy(record.begin(), record.end(), out);
    return 1;
}

int SimLibrary::SetRecord(int device, const uint8_t* record)
{
    std::lock_guard<std::mutex> locker(lock);
    SimDevice* found = bus.Device(device);
    if (!found || !record)
        return 0;
    found->Mouse()->Store(record);
    bus.Save(*found->Mouse());
    return 1;
}

uint16_t SimLibrary::FirmwareVersion(int device)
{
    std::lock_guard<std::mutex> locker(lock);
    const SimDevice* found = bus.Device(device);
    return found ? found->Mouse()->firmware : 0;
}

uint16_t SimLibrary::ReceiverFirmwareVersion(int device)
{
    std::lock_guard<std::mutex> locker(lock);
    const SimDevice* found = bus.Device(device);
    return found && found->IsReceiver() ? found->receiverFirmware : 0;
}

int SimLibrary::DeviceMode(int device)
{
    std::lock_guard<std::mutex> locker(lock);
    const SimDevice* found = bus.Device(device);
    if (!found || !found->attached)
        return 0;
    return found->InBootMode() ? 2 : 1;
}

int SimLibrary::ActiveProfile(int device)
{
    std::lock_guard<std::mutex> locker(lock);
    const SimDevice* found = bus.Device(device);
    return found ? found->Mouse()->ActiveProfile() : -1;
}

int SimLibrary::GetReceiverRecord(int device, int which, uint8_t* out)
{
    std::lock_guard<std::mutex> locker(lock);
    SimDevice* found = bus.Device(device);
    if (!found || !found->IsReceiver() || !out || which < 0 || which > 2)
        return 0;
    std::size_t length = 0;
    const uint8_t* bytes = ReceiverBytes(*found, ReceiverRecord(which), &length);
    std::copy(bytes, bytes + length, out);
    return 1;
}

int SimLibrary::SetReceiverRecord(int device, int which, const uint8_t* in)
{
    std::lock_guard<std::mutex> locker(lock);
    SimDevice* found = bus.Device(device);
    if (!found || !found->IsReceiver() || !in || which < 0 || which > 2)
        return 0;
    std::size_t length = 0;
    uint8_t* bytes = ReceiverBytes(*found, ReceiverRecord(which), &length);
    std::copy(in, in + length, bytes);
    bus.Save(*found);
    return 1;
}

void SimLibrary::SetReceiverRefusesLights(int device, bool refuse)
{
    std::lock_guard<std::mutex> locker(lock);
    if (SimDevice* found = bus.Device(device))
        found->refusesLights = refuse;
}

void SimLibrary::SetReceiverRefusesIndicator(int device, bool refuse)
{
    std::lock_guard<std::mutex> locker(lock);
    if (SimDevice* found = bus.Device(device))
        found->refusesIndicator = refuse;
}

void SimLibrary::ReportIndicator(int device)
{
    std::lock_guard<std::mutex> locker(lock);
    SimDevice* found = bus.Device(device);
    if (found && found->IsReceiver() && found->Running() && ConnectedLocked() == found)
        PostReportLocked(ReportFormat::Make(HIDUSB_REPORT_RECEIVER_INDICATOR, 0, {}));
}

int SimLibrary::ReceiverWriteCount(int which)
{
    std::lock_guard<std::mutex> locker(lock);
    return which >= 0 && which < int(receiverWrites.size()) ? receiverWrites[std::size_t(which)] : 0;
}

int SimLibrary::UpdateCount()
{
    std::lock_guard<std::mutex> locker(lock);
    return updates;
}

int SimLibrary::ReadCount(int code)
{
    return code >= 0 && code < int(readCounts.size()) ? readCounts[code].load() : 0;
}

int SimLibrary::LastUpdate(uint8_t* out)
{
    std::lock_guard<std::mutex> locker(lock);
    if (!hasLastUpdate || !out)
        return 0;
    std::copy(lastUpdate.begin(), lastUpdate.end(), out);
    return 1;
}

int SimLibrary::WaitIdle(int timeoutMs)
{
    if (OnLibraryThread())
        return 0;
    const auto deadline = DispatchThread::Clock::now() + milliseconds(std::max(timeoutMs, 0));
    for (;;) {
        const unsigned long before = posted.load();
        if (!upgradeThread.WaitIdle(deadline) || !noticeThread.WaitIdle(deadline) || !reportThread.WaitIdle(deadline))
            return 0;
        if (posted.load() == before && upgradeThread.Idle() && noticeThread.Idle() && reportThread.Idle())
            return 1;
    }
}

bool SimLibrary::Shutdown()
{
    reportGate.Close();
    noticeGate.Close();
    upgradeGate.Close();
    {
        std::lock_guard<std::mutex> locker(lock);
        ++epoch;
    }
    bool joined = reportThread.Shutdown(ShutdownGrace);
    joined = noticeThread.Shutdown(ShutdownGrace) && joined;
    joined = upgradeThread.Shutdown(ShutdownGrace) && joined;
    return joined;
}
