#include "pages/settings/ClockSyncFrame.h"

#include "platform/hidusb/HIDUsb.h"

QString ReceiverVendorId;
QVector<QString> ReceiverProductIds;
LockedValue<QStringList> ReceiverPathList;

QByteArray ClockSyncFrame(const QDateTime& localTime)
{
    QByteArray frame(ClockSyncFrameLength, '\0');
    const QDate date = localTime.date();
    const QTime time = localTime.time();
    frame[0] = char(0x0A);
    frame[1] = char(0x00);
    frame[2] = char(0x10);
    frame[3] = char((date.year() >> 8) & 0xFF);
    frame[4] = char(date.year() & 0xFF);
    frame[5] = char(date.month());
    frame[6] = char(date.day());
    frame[7] = char(time.hour());
    frame[8] = char(time.minute());
    frame[9] = char(time.second());
    frame[10] = char(date.dayOfWeek());
    return frame;
}

uint8_t ClockSyncChecksum(const QByteArray& frame)
{
    uint8_t sum = 0;
    for (int i = 0; i + 1 < frame.size(); ++i)
        sum = uint8_t(sum + uint8_t(frame.at(i)));
    return uint8_t(0x55 - sum);
}

bool CheckClockSyncReply(const QByteArray& reply)
{
    return !reply.isEmpty() && uint8_t(reply.back()) == ClockSyncChecksum(reply);
}

void LibraryClockSyncExchange(uint8_t* frame, uint8_t* reply, uint8_t length)
{
    VidEzorarA_ReadWriteDeviceData(frame, reply, length);
}

std::optional<QByteArray> ExchangeClockSyncFrame(QByteArray frame, const ClockSyncExchange& exchange)
{
    if (frame.size() != ClockSyncFrameLength)
        return std::nullopt;
    frame[ClockSyncFrameLength - 1] = char(ClockSyncChecksum(frame));
    constexpr int ReplyRoom = 64;
    constexpr int EchoedBytes = 7;
    for (int attempt = 0; attempt < ClockSyncTries; ++attempt) {
        QByteArray sent = frame;
        uint8_t reply[ReplyRoom] = {};
        exchange(reinterpret_cast<uint8_t*>(sent.data()), reply, uint8_t(ClockSyncFrameLength));
        const QByteArray answer(reinterpret_cast<const char*>(reply), ClockSyncFrameLength);
        if (answer.left(EchoedBytes) == frame.left(EchoedBytes) && CheckClockSyncReply(answer))
            return answer;
    }
    return std::nullopt;
}

int FindReceiverDevices()
{
    QStringList paths;
    const QByteArray vendor = ReceiverVendorId.toLatin1();
    for (const QString& product : ReceiverProductIds) {
        int count = 0;
        const char* const* found =
            VidEzorarA_FindHidDevicesByDeviceId(vendor.constData(), product.toLatin1().constData(), 1, 8, &count);
        for (int i = 0; found && i < count; ++i)
            paths << QString::fromLatin1(found[i]);
    }
    ReceiverPathList.Set(paths);
    return paths.size();
}

void FindReceiverDevicesCallback()
{
    FindReceiverDevices();
}
