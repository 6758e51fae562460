#pragma once
#include "device/FlashDataMap.h"

#include <QByteArray>
#include <QDataStream>
#include <QFile>
#include <QString>

// Builds configuration export files as the button page's export lays them out: three blocks of a
// big-endian 32-bit length and the bytes (12-byte marker field, 12-byte sensor field, the record).
// The lengths can be set apart from the contents to build damaged files.
struct ConfigFileWriter
{
    QByteArray marker = Field("Velor");
    QByteArray sensor = Field("3395");
    QByteArray record;
    qint64 markerLength = -1; // -1: the block's own size
    qint64 sensorLength = -1;
    qint64 recordLength = -1;
    QByteArray trailing; // bytes after the three blocks
    int cutAt = -1;      // keep only this many bytes of the file

    explicit ConfigFileWriter(const FlashDataMap& data = FlashDataMap{})
        : record(reinterpret_cast<const char*>(data.bytes()), int(sizeof data))
    {
    }

    // A text zero-padded (or cut) to the 12-byte field.
    static QByteArray Field(const QByteArray& text)
    {
        QByteArray field = text.left(12);
        field.append(QByteArray(12 - field.size(), '\0'));
        return field;
    }

    QByteArray Bytes() const
    {
        QByteArray bytes;
        QDataStream stream(&bytes, QIODevice::WriteOnly);
        const auto block = [&stream](const QByteArray& data, qint64 length) {
            stream << quint32(length < 0 ? data.size() : length);
            stream.writeRawData(data.constData(), data.size());
        };
        block(marker, markerLength);
        block(sensor, sensorLength);
        block(record, recordLength);
        stream.writeRawData(trailing.constData(), trailing.size());
        return cutAt < 0 ? bytes : bytes.left(cutAt);
    }

    bool Write(const QString& path) const
    {
        QFile file(path);
        return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(Bytes()) == Bytes().size();
    }
};
