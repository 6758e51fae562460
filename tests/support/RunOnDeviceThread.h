#pragma once
#include "device/DeviceReportCallback.h"

#include <QByteArray>
#include <QCoreApplication>
#include <atomic>
#include <thread>

// Runs work on a thread of its own, as the device library and the Worker do, while this (GUI)
// thread keeps handling events, so that the blocking deliveries the work makes are answered.
template <typename Work>
void RunOnDeviceThread(Work work)
{
    std::atomic<bool> done{false};
    std::thread device([&] {
        work();
        done = true;
    });
    while (!done)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 1);
    device.join();
}

// One report handed to the report callback from a device thread.
inline void DeliverReport(const QByteArray& header, const QByteArray& data)
{
    RunOnDeviceThread([&] {
        DeviceReportCallback(reinterpret_cast<const uint8_t*>(header.constData()), header.size(),
                             reinterpret_cast<const uint8_t*>(data.constData()), uint32_t(data.size()));
    });
}
