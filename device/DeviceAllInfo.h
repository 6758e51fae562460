#pragma once
#include <QList>
#include <QString>
#include <cstdint>

// One attached mouse or receiver as the selection page, the device window and the Worker see it.
// Copied by value; two records name the same device when their paths are equal.
struct DeviceAllInfo {
    QString path;               // HID path
    QString VID = QStringLiteral("0");
    QString PID = QStringLiteral("0");
    uint8_t CID = 0;            // customer id reported by the device
    uint8_t MID = 0;            // model id reported by the device
    uint8_t status = 0;         // connection kind: 0, 1, 4, 5 receiver kinds, other bits a cable
    int32_t modelIndex = 0;     // Config.ini group "Drive" + (index + 1)
    bool online = false;
    bool wired = false;         // (status & 0xFA) != 0
    QString version;            // version of the attached USB device, "v1.05"
    QString firmwareVersion;    // mouse firmware version
    QList<uint8_t> address;     // three receiver address bytes

    bool operator==(const DeviceAllInfo& other) const { return path == other.path; }
    bool operator!=(const DeviceAllInfo& other) const { return !(*this == other); }

    static bool IsWiredStatus(uint8_t status) { return (status & 0xFA) != 0; }
    // The receiver type (its report-rate class in kHz) of a receiver's connection status; 0 for a
    // cable, which has no receiver.
    static int ReceiverTypeOf(uint8_t status)
    {
        switch (status) {
        case 0: return 1;
        case 1: return 4;
        case 4: return 2;
        case 5: return 8;
        default: return 0;
        }
    }
};
