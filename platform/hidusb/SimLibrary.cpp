// The library's life and its threads: the one instance, the devices loaded from their description,
// the delivery of reports and attach/detach notices, a reset for tests, waiting for the threads to go
// idle and their end with the process.
#include "platform/hidusb/SimLibrary.h"

#include "platform/hidusb/DeviceDescription.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>

namespace {

using std::chrono::milliseconds;

constexpr milliseconds ReplyLatency(1);    // a USB round trip
constexpr milliseconds ShutdownGrace(300); // per thread, at process exit
constexpr milliseconds ResetGrace(5000);

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
