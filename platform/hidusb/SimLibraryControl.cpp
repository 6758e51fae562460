// Control for tests: what a test does to the simulated devices (plugging, the mouse in range, the
// battery, its buttons, the outcomes of pairing and upgrade, the records) and what it reads back.
#include "platform/hidusb/SimLibrary.h"

#include "platform/hidusb/RawImageCodec.h"

#include <algorithm>

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
