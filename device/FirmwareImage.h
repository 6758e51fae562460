#pragma once
#include <QByteArray>
#include <QString>
#include <cstdint>

// One firmware image file as the program reads it: the fields of its 728-byte header that the
// program interprets, and the whole file, which goes to the device library unchanged.
//
// Header (little-endian): byte 16 minor version, bytes 17-19 major version (24 bits), byte 20 kind,
// byte 21 CID, byte 22 MID, bytes 87-150 model name (local 8-bit text, ends at the first zero byte).
class FirmwareImage
{
public:
    static constexpr int HeaderSize = 728;
    // A firmware image is small; anything larger is not one and is never read whole.
    static constexpr qint64 MaxFileSize = 4 * 1024 * 1024;

    static constexpr int KindMouse = 210;
    static constexpr int KindReceiver = 211;

    // A version as numbers: major decimal, minor shown as two hexadecimal digits ("v1.0A").
    struct Version {
        uint32_t major = 0;
        uint8_t minor = 0;
        bool operator==(const Version& other) const { return major == other.major && minor == other.minor; }
        bool operator!=(const Version& other) const { return !(*this == other); }
    };

    // Parses the header of a whole file; false when the data is shorter than the header.
    bool Parse(const QByteArray& file);
    bool IsValid() const { return valid; }

    int Kind() const { return kind; }
    int CID() const { return cid; }
    int MID() const { return mid; }
    QString ModelName() const { return modelName; }
    Version ImageVersion() const { return version; }
    QString VersionText() const { return FormatVersion(version); }
    // The whole file, header first.
    QByteArray Data() const { return data; }

    // "v" + major in decimal + "." + minor as two upper-case hexadecimal digits.
    static QString FormatVersion(const Version& version);
    // Reads a version text as a device reports it ("v1.0A", "1.0A"): every lower-case "v" is dropped,
    // then major in decimal, a dot, and a minor of one or two hexadecimal digits. False when the text
    // does not have that form.
    static bool ParseVersion(const QString& text, Version* out);

private:
    bool valid = false;
    int kind = 0;
    int cid = 0;
    int mid = 0;
    QString modelName;
    Version version;
    QByteArray data;
};
