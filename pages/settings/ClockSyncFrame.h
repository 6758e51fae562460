#pragma once
#include "device/LockedValue.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QStringList>
#include <QVector>

#include <cstdint>
#include <functional>
#include <optional>

// The receiver clock sync: the frame that sets a receiver's clock to the computer's local time,
// its checksum and the exchange that sends it.

// A frame is 40 bytes, zero where nothing is set; its last byte is the checksum.
constexpr int ClockSyncFrameLength = 40;
// Tries of one exchange before the frame is dropped.
constexpr int ClockSyncTries = 5;

// 0x0A, 0x00, 0x10, year (high byte first), month, day, hour, minute, second, day of the week
// (1 Monday .. 7 Sunday), then zeros; the checksum byte is left zero.
QByteArray ClockSyncFrame(const QDateTime& localTime);

// 0x55 minus the byte sum of every byte but the last, in 8-bit arithmetic.
uint8_t ClockSyncChecksum(const QByteArray& frame);
// The reply's last byte is the checksum of the reply.
bool CheckClockSyncReply(const QByteArray& reply);

// One raw exchange with the opened receiver: sends length bytes of frame, fills reply (64 bytes).
using ClockSyncExchange = std::function<void(uint8_t* frame, uint8_t* reply, uint8_t length)>;
// The library's exchange (VidEzorarA_ReadWriteDeviceData).
void LibraryClockSyncExchange(uint8_t* frame, uint8_t* reply, uint8_t length);

// Writes the checksum into the frame's last byte and exchanges it up to ClockSyncTries times. The
// first reply that repeats the frame's bytes 0 to 6 under a valid checksum of its own is returned;
// after that many unanswered tries, none.
std::optional<QByteArray> ExchangeClockSyncFrame(QByteArray frame, const ClockSyncExchange& exchange);

// The receiver to sync with: its vendor id and product ids (nothing in the program fills them yet)
// and the paths FindReceiverDevices found. The paths are rewritten on the device library's thread
// when the search runs as its attach/detach callback.
extern QString ReceiverVendorId;
extern QVector<QString> ReceiverProductIds;
extern LockedValue<QStringList> ReceiverPathList;

// Lists the receivers of ReceiverVendorId and ReceiverProductIds into ReceiverPathList; returns how
// many there are.
int FindReceiverDevices();
// FindReceiverDevices as the library's attach/detach callback.
void FindReceiverDevicesCallback();
