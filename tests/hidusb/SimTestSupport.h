#pragma once
#include "platform/hidusb/HIDUsb.h"
#include "platform/hidusb/SimControl.h"
#include "support/TestHome.h"

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>
#include <QtTest>

#include <condition_variable>
#include <cstring>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

// The devices of the program's description, by index.
namespace SimDevices {
constexpr int Receiver = 0;       // receiver with the wireless mouse (MID 18)
constexpr int Wired = 1;          // the wired mouse (MID 19)
constexpr int WirelessCable = 2;  // the wireless mouse on its cable, unplugged at start
}

inline QString ProgramDescription()
{
    return QString::fromLocal8Bit(qgetenv("KESTRO_PROGRAM_DIR")) + QStringLiteral("/simulated/devices.ini");
}

// Starts the library afresh on the program's description (or another) with an empty flash folder;
// Restart keeps the flash, as a program started again finds its mouse as it left it.
class SimSession
{
public:
    explicit SimSession(const QString& description = ProgramDescription()) { Reset(description); }
    void Reset(const QString& description = ProgramDescription())
    {
        flash = std::make_unique<QTemporaryDir>();
        Restart(description);
    }
    void Restart(const QString& description = ProgramDescription())
    {
        SimControl_Reset(description.toLocal8Bit().constData(), flash->path().toLocal8Bit().constData());
    }
    QString FlashFolder() const { return flash->path(); }

private:
    std::unique_ptr<QTemporaryDir> flash;
};

// One report as the callback saw it.
struct SeenReport {
    std::thread::id thread;
    int headerLength = 0;
    QByteArray header;
    QByteArray data;
    int Code() const { return header.size() > 1 ? uint8_t(header[1]) : -1; }
    int Status() const { return header.size() > 3 ? uint8_t(header[3]) : -1; }
    int Item() const { return header.size() > 4 ? uint8_t(header[4]) : -1; }
};

// A report callback that keeps what arrives.
class ReportLog
{
public:
    static void Callback(const uint8_t* header, int headerLength, const uint8_t* data, uint32_t dataLength)
    {
        SeenReport report;
        report.thread = std::this_thread::get_id();
        report.headerLength = headerLength;
        report.header = QByteArray(reinterpret_cast<const char*>(header), headerLength);
        report.data = QByteArray(reinterpret_cast<const char*>(data), int(dataLength));
        std::lock_guard<std::mutex> locker(Lock());
        Reports().push_back(report);
    }
    static std::vector<SeenReport> Take()
    {
        std::lock_guard<std::mutex> locker(Lock());
        std::vector<SeenReport> taken;
        taken.swap(Reports());
        return taken;
    }
    // Connects to the device and forgets what came before.
    static void Connect(int device)
    {
        const char* path = SimControl_DevicePath(device);
        UsbServerC_Start(path, path, &ReportLog::Callback);
        Take();
    }

private:
    static std::mutex& Lock()
    {
        static std::mutex lock;
        return lock;
    }
    static std::vector<SeenReport>& Reports()
    {
        static std::vector<SeenReport> reports;
        return reports;
    }
};

// A gate a callback waits at until the test opens it; a callback never waits longer than the limit,
// so a library that wrongly waits for it shows as a closed wait rather than a hang.
class Latch
{
public:
    void Open()
    {
        std::lock_guard<std::mutex> locker(lock);
        open = true;
        changed.notify_all();
    }
    bool WaitOpen(int limitMs = 10000)
    {
        std::unique_lock<std::mutex> locker(lock);
        return changed.wait_for(locker, std::chrono::milliseconds(limitMs), [this] { return open; });
    }
    void Reset()
    {
        std::lock_guard<std::mutex> locker(lock);
        open = false;
    }

private:
    std::mutex lock;
    std::condition_variable changed;
    bool open = false;
};

inline QByteArray DeviceRecord(int device)
{
    QByteArray record(HIDUSB_FLASH_RECORD_SIZE, '\0');
    SimControl_GetDeviceRecord(device, reinterpret_cast<uint8_t*>(record.data()));
    return record;
}

inline QByteArray ParseImage(const QByteArray& raw)
{
    QByteArray record(HIDUSB_FLASH_RECORD_SIZE, '\x5A');
    ProtocolDataParser(reinterpret_cast<const uint8_t*>(raw.constData()), reinterpret_cast<FlashDataMap*>(record.data()));
    return record;
}

inline uint8_t Update(const QByteArray& record)
{
    return ProtocolDataUpdate(reinterpret_cast<const FlashDataMap*>(record.constData()));
}

inline QByteArray Bytes(std::initializer_list<int> values)
{
    QByteArray bytes;
    for (int value : values)
        bytes.append(char(uint8_t(value)));
    return bytes;
}
