// A program that ends while one of the device library's callbacks never returns: the library must
// let the process end all the same. Also ends normally after ordinary traffic.
// Usage: hidusb_exit_helper <report|notice|upgrade|calm> <description> <flash folder>
#include "platform/hidusb/HIDUsb.h"
#include "platform/hidusb/SimControl.h"

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <thread>
#include <vector>

namespace {

std::atomic<bool> entered{false};

void Forever()
{
    entered = true;
    for (;;)
        std::this_thread::sleep_for(std::chrono::hours(1));
}

void StuckReport(const uint8_t*, int, const uint8_t*, uint32_t)
{
    Forever();
}

void StuckNotice()
{
    Forever();
}

void StuckUpgrade(const uint8_t*)
{
    Forever();
}

void Quiet(const uint8_t*, int, const uint8_t*, uint32_t) {}

bool WaitEntered()
{
    for (int i = 0; i < 1000 && !entered; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    return entered;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 4)
        return 2;
    SimControl_Reset(argv[2], argv[3]);
    const char* receiver = SimControl_DevicePath(0);
    const char* mode = argv[1];
    if (std::strcmp(mode, "report") == 0) {
        UsbServerC_Start(receiver, receiver, &StuckReport);
        UsbServer_ReadVersion();
    } else if (std::strcmp(mode, "notice") == 0) {
        StartUsbChanged(&StuckNotice, 600);
    } else if (std::strcmp(mode, "upgrade") == 0) {
        std::vector<uint8_t> image(1024, 0);
        image[20] = 211;
        image[21] = 28;
        image[22] = 18;
        const HidUpgradeImage view{image.data(), uint32_t(image.size())};
        UsbUpgrade_Start(&view, &StuckUpgrade, 10000);
    } else if (std::strcmp(mode, "calm") == 0) {
        UsbServerC_Start(receiver, receiver, &Quiet);
        UsbServer_ReadAllFlashData();
        StartUsbChanged([] {}, 600);
        return SimControl_WaitIdle(5000) ? 0 : 4;
    } else {
        return 2;
    }
    if (!WaitEntered())
        return 3;
    std::puts("in a callback that never returns");
    std::fflush(stdout);
    return 0;
}
