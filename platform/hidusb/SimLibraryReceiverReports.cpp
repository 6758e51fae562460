// Reports a simulated receiver sends of itself: a change made on the receiver, or any report a test
// makes up, delivered through the open connection as every other report is.
#include "platform/hidusb/ReportFormat.h"
#include "platform/hidusb/SimLibrary.h"

void SimLibrary::ChangeIndicatorOnReceiver(int device, int meaning)
{
    std::lock_guard<std::mutex> locker(lock);
    SimDevice* found = bus.Device(device);
    // The indicator shows one of three things, as Set4KDongleRGB takes them.
    if (!found || !found->IsReceiver() || !found->Running() || meaning < 1 || meaning > 3)
        return;
    found->indicator[0] = uint8_t(meaning);
    bus.Save(*found);
    if (ConnectedLocked() == found)
        PostReportLocked(ReportFormat::Make(HIDUSB_REPORT_RECEIVER_INDICATOR, 0, {}));
}

void SimLibrary::LeaveLongRangeOnReceiver(int device)
{
    std::lock_guard<std::mutex> locker(lock);
    SimDevice* found = bus.Device(device);
    if (!found || !found->IsReceiver() || !found->Running())
        return;
    found->longRange = 0;
    bus.Save(*found);
    if (ConnectedLocked() == found)
        PostReportLocked(ReportFormat::Make(HIDUSB_REPORT_LONG_RANGE_OFF, 0,
                                            std::vector<uint8_t>(ReportFormat::LongRangeOffSize, 0)));
}

void SimLibrary::SendReport(int device, int code, int item, const uint8_t* data, int length)
{
    std::lock_guard<std::mutex> locker(lock);
    SimDevice* found = bus.Device(device);
    if (!found || ConnectedLocked() != found || code < 0 || code > 255 || item < 0 || item > 255 || length < 0
        || (length > 0 && !data))
        return;
    PostReportLocked(ReportFormat::Make(uint8_t(code), uint8_t(item), std::vector<uint8_t>(data, data + length)));
}
