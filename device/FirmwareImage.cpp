#include "device/FirmwareImage.h"

namespace {
constexpr int MinorOffset = 16;
constexpr int KindOffset = 20;
constexpr int CidOffset = 21;
constexpr int MidOffset = 22;
constexpr int NameOffset = 87;
constexpr int NameLength = 64;

bool AllDigits(const QString& text, int base)
{
    if (text.isEmpty())
        return false;
    for (const QChar c : text) {
        const ushort u = c.unicode();
        const bool digit = u >= '0' && u <= '9';
        const bool hex = (u >= 'A' && u <= 'F') || (u >= 'a' && u <= 'f');
        if (!digit && !(base == 16 && hex))
            return false;
    }
    return true;
}
} // namespace

bool FirmwareImage::Parse(const QByteArray& file)
{
    *this = FirmwareImage();
    if (file.size() < HeaderSize)
        return false;
    const auto byte = [&file](int offset) { return uint8_t(file.at(offset)); };
    version.minor = byte(MinorOffset);
    version.major = uint32_t(byte(MinorOffset + 1)) | uint32_t(byte(MinorOffset + 2)) << 8 |
                    uint32_t(byte(MinorOffset + 3)) << 16;
    kind = byte(KindOffset);
    cid = byte(CidOffset);
    mid = byte(MidOffset);
    const QByteArray nameField = file.mid(NameOffset, NameLength);
    const int end = nameField.indexOf('\0');
    modelName = QString::fromLocal8Bit(end < 0 ? nameField : nameField.left(end));
    data = file;
    valid = true;
    return true;
}

QString FirmwareImage::FormatVersion(const Version& version)
{
    return QStringLiteral("v") + QString::number(version.major) + QLatin1Char('.') +
           QStringLiteral("%1").arg(version.minor, 2, 16, QLatin1Char('0')).toUpper();
}

bool FirmwareImage::ParseVersion(const QString& text, Version* out)
{
    QString plain = text;
    plain.remove(QLatin1Char('v'), Qt::CaseSensitive);
    const int dot = plain.indexOf(QLatin1Char('.'));
    if (dot < 0)
        return false;
    const QString majorText = plain.left(dot);
    const QString minorText = plain.mid(dot + 1);
    if (!AllDigits(majorText, 10) || !AllDigits(minorText, 16) || minorText.size() > 2)
        return false;
    bool ok = false;
    const qulonglong major = majorText.toULongLong(&ok, 10);
    if (!ok || major > 0xFFFFFFu)
        return false;
    if (out) {
        out->major = uint32_t(major);
        out->minor = uint8_t(minorText.toUInt(nullptr, 16));
    }
    return true;
}
