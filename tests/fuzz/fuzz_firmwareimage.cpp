// A firmware image: its header parsed alone, and the search among the "*.bin" files of "bin".
#include "FuzzSupport.h"
#include "device/FirmwareImage.h"
#include "device/FirmwareImageSearch.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzSupport::Setup();
    const QByteArray file(reinterpret_cast<const char*>(data), int(size));
    FirmwareImage image;
    if (image.Parse(file) != (size >= size_t(FirmwareImage::HeaderSize)))
        std::abort();
    if (image.IsValid()) {
        image.VersionText();
        image.ModelName();
    }
    // The version text a device reports goes through the same reading; take it from the input too.
    FirmwareImage::Version version;
    FirmwareImage::ParseVersion(QString::fromLatin1(file.left(16)), &version);

    static const bool folder = QDir().mkpath(FuzzSupport::ProgramFolder() + "/bin");
    if (!folder)
        std::abort();
    FuzzSupport::WriteInput(FuzzSupport::ProgramFolder() + "/bin/image.bin", data, size);
    QByteArray found;
    const QString model = image.IsValid() ? image.ModelName() : QStringLiteral("KestroPlus");
    const bool match = SearchFirmwareImage(image.IsValid() ? image.Kind() : FirmwareImage::KindMouse,
                                           QStringLiteral("v1.00"), model, image.CID(), image.MID(), &found);
    if (match && found != file)
        std::abort();
    return 0;
}
