// The flash files of the simulated library: one per mouse ("Mouse<n>.flash", its profiles) and one
// per device ("Device<n>.flash", a receiver's own settings), read when the library is reset.
// Byte 0 chooses the file (bit 0) and whether the rest is the whole file (bit 1 clear) or is laid
// over the contents of a file the library wrote itself and sealed with that file's head and a right
// check sum (bit 1 set), so that it gets past the head and reaches what reads the contents.
#include "FuzzSupport.h"
#include "device/FlashDataMap.h"
#include "platform/hidusb/FlashStore.h"
#include "platform/hidusb/HIDUsb.h"
#include "platform/hidusb/SimControl.h"

#include <QByteArray>
#include <algorithm>
#include <cstring>
#include <vector>

namespace {

// One mouse on its cable and one receiver, each with a flash file of its own.
const char Description[] = "[Model 1]\nName=Fuzz\nMID=33\nSensor=3395\nDpiLevels=4\n\n"
                           "[Mouse 1]\nModel=1\nFirmware=0x0103\n\n"
                           "[Device 1]\nKind=receiver\nVID=0x3554\nPID=0xF5D2\nBootPID=0xF5E2\nCID=28\nStatus=1\n"
                           "Mouse=1\nUsbVersion=0x0105\nReceiverFirmware=0x0105\nAttachedAtStart=true\n\n"
                           "[Device 2]\nKind=cable\nVID=0x3554\nPID=0xF5D1\nBootPID=0xF5E1\nCID=28\nStatus=2\n"
                           "Mouse=1\nUsbVersion=0x0103\nAttachedAtStart=true\n";
const char* const FileNames[] = {"Mouse1.flash", "Device1.flash"};
QByteArray ReadFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzSupport::Setup();
    const QString root = FuzzSupport::Folder().path();
    const QString description = root + "/devices.ini";
    const QString flash = root + "/flash";
    static QByteArray written[2];
    if (written[0].isEmpty()) {
        FuzzSupport::WriteInput(description, reinterpret_cast<const uint8_t*>(Description), sizeof Description - 1);
        // Files as the library writes them: a changed record and receiver setting are kept in flash.
        SimControl_Reset(QFile::encodeName(description).constData(), QFile::encodeName(flash).constData());
        FlashDataMap record{};
        SimControl_GetDeviceRecord(1, record.bytes());
        record.bytes()[0] ^= 0x03;
        SimControl_SetDeviceRecord(1, record.bytes());
        SimControl_WaitIdle(2000);
        for (int file = 0; file < 2; ++file)
            written[file] = ReadFile(flash + "/" + FileNames[file]);
    }
    if (size == 0)
        return 0;
    const int file = data[0] & 1;
    const bool sealed = (data[0] & 2) != 0;
    ++data;
    --size;

    QDir(flash).removeRecursively();
    QDir().mkpath(flash);
    QByteArray contents(reinterpret_cast<const char*>(data), int(size));
    const QByteArray& model = written[file];
    if (sealed && size_t(model.size()) > FlashStore::HeadSize + 4) {
        std::vector<uint8_t> sealedFile(model.begin(), model.end());
        const size_t payload = sealedFile.size() - FlashStore::HeadSize - 4;
        std::copy_n(contents.constData(), std::min(payload, size_t(contents.size())), sealedFile.begin() + FlashStore::HeadSize);
        FlashStore::Seal(sealedFile);
        contents = QByteArray(reinterpret_cast<const char*>(sealedFile.data()), int(sealedFile.size()));
    }
    FuzzSupport::WriteInput(flash + "/" + FileNames[file], reinterpret_cast<const uint8_t*>(contents.constData()),
                            size_t(contents.size()));
    SimControl_Reset(QFile::encodeName(description).constData(), QFile::encodeName(flash).constData());

    FlashDataMap record{};
    std::vector<uint8_t> raw(HIDUSB_RAW_IMAGE_SIZE);
    for (int device = 0; device < SimControl_DeviceCount(); ++device) {
        SimControl_GetFirmwareVersion(device);
        SimControl_GetReceiverFirmwareVersion(device);
        SimControl_GetDeviceMode(device);
        SimControl_GetActiveProfile(device);
        if (SimControl_GetDeviceRecord(device, record.bytes())) {
            SimControl_EncodeImage(record.bytes(), raw.data());
            ProtocolDataParser(raw.data(), &record);
        }
    }
    return 0;
}
