#include "device/DeviceReportCallback.h"

#include "device/ConfigSetting.h"
#include "device/ConnectionState.h"
#include "device/DeviceDiscovery.h"
#include "device/DeviceInfoCache.h"
#include "device/DeviceState.h"
#include "device/PostMsg.h"
#include "device/ReloadThrottle.h"
#include "device/Worker.h"
#include "platform/AppPaths.h"
#include "platform/RegistryStore.h"
#include "platform/hidusb/HIDUsb.h"

#include <cstring>

std::atomic<bool> KeyRecordResetPending{false};
std::atomic<bool> SkipReceiverReadOnce{false};
LockedValue<QString> ReportCacheFileName;

QString MouseDriveTestKey()
{
    const QString product = AppPaths::ProductName();
    return QStringLiteral("HKEY_CURRENT_USER\\Software\\") + product + QLatin1Char('\\') + product
        + QStringLiteral("\\Mouse Drive Test");
}

namespace {

QString ModelGroup(const DeviceAllInfo& device)
{
    return QStringLiteral("Drive%1").arg(device.modelIndex + 1);
}

// Element `index` of a model's feature list as a number; a missing element counts as -1 (no feature).
int FeatureValue(const QStringList& features, int index)
{
    bool ok = false;
    const int value = index < features.size() ? features.at(index).trimmed().toInt(&ok) : -1;
    return ok ? value : -1;
}

// Key records and macros of every button the model does not keep are cleared after a restore.
void ClearKeyRecords(FlashDataMap& record, const DeviceAllInfo& device)
{
    QList<int> keptButtons;
    for (int k = 1; k <= 6; ++k) {
        const QStringList value = ConfigSetting::Instance()->GetValueList(ModelGroup(device), QStringLiteral("KeyParam%1").arg(k));
        if (!value.isEmpty() && value.first().trimmed() == QLatin1String("0x05"))
            keptButtons << k - 1;
    }
    if (keptButtons.isEmpty()) {
        std::memset(record.bytes() + FlashOffset::KeyRecords, 0, FlashOffset::End - FlashOffset::KeyRecords);
        return;
    }
    for (int button = 0; button < ButtonSlotCount; ++button) {
        if (keptButtons.contains(button))
            continue;
        record.keyRecords[button] = ButtonKeyRecord{};
        record.macros[button] = ButtonMacroBlock{};
    }
}

void HandleWholeImage(const uint8_t* data)
{
    PostMsg* bus = PostMsg::Instance();
    FlashDataMap image{};
    ProtocolDataParser(data, &image);

    const DeviceAllInfo device = CurrentDeviceInfo.Get();
    ReportCacheFileName.Set(DeviceCacheFileName(device.CID, device.MID));

    UsbServer_ReadDPILed();
    UsbServer_ReadBatteryLevel();
    UsbServer_ReadVersion();
    UsbServer_ReadConfig();
    emit bus->SigIsUsb(device.wired, true);

    const QByteArray receiverPath = device.path.toLatin1();
    if (!SkipReceiverReadOnce) {
        if (!device.wired && device.status == 1) {
            VidEzorarA_Get4KDongleRGBValue(receiverPath.constData(), DongleRGBRecord->bytes);
            if (DongleRGBRecord->bytes[0] != 0)
                emit bus->SigRGBValue(DongleRGBRecord);
        }
        uint8_t longRange = 's';
        VidEzorarA_GetLongRangeMode(receiverPath.constData(), &longRange);
        if (longRange != 's' && longRange != 0)
            emit bus->SigLongRangeMode(true);
    }
    SkipReceiverReadOnce = false;

    if (KeyRecordResetPending) {
        ClearKeyRecords(image, device);
        KeyRecordResetPending = false;
    }

    PushDeviceConfigCopy(image, AdoptDeviceConfig(image));

    ButtonPageUpdated = false;
    LightPageUpdated = false;
    SensorPageUpdated = false;
    emit bus->SigUpDataLightUIButton(image);
    emit bus->SigUpDataLightLight(image);
    emit bus->SigUpDataLightSensor(image);
    emit bus->SigForm();

    LastPassOnline = true;
    RunRequested = false;
}

// A single field the device reports: kept in the working copy and sent back with it, but only when
// the working copy is this device's record.
void HandleSingleByte(std::size_t offset, uint8_t value)
{
    if (!DeviceConfigIsCurrent)
        return;
    PushDeviceConfigCopy(ChangeDeviceConfig([=](FlashDataMap& record) { record.bytes()[offset] = value; }));
}

// Fills part of the working copy through the library's converter and returns a copy of the whole.
template <typename Convert>
FlashDataMap ConvertInto(std::size_t offset, Convert convert)
{
    std::lock_guard<std::mutex> locker(DeviceConfigLock);
    convert(DeviceConfigImage.bytes() + offset);
    return DeviceConfigImage;
}

void HandleParameterReply(uint8_t item, const uint8_t* data, uint32_t length)
{
    PostMsg* bus = PostMsg::Instance();
    if (item == HIDUSB_ITEM_IMAGE_OR_RATE && length == HIDUSB_RAW_IMAGE_SIZE) {
        HandleWholeImage(data);
    } else if (item == HIDUSB_ITEM_IMAGE_OR_RATE && length == 1) {
        HandleSingleByte(FlashOffset::ReportRate, data[0]);
        emit bus->SigUpDataReportRate(data[0]);
    } else if (item == HIDUSB_ITEM_CURRENT_DPI && length == 1) {
        HandleSingleByte(FlashOffset::CurrentDpiLevel, data[0]);
        emit bus->SigUpDataDPI(data[0]);
    } else if (item == HIDUSB_ITEM_DPI_LED && length == 8) {
        const FlashDataMap copy = ConvertInto(FlashOffset::DpiLed, [&](uint8_t* out) { BufferToDPILed(data, out); });
        emit bus->SigUpDataDPILed(copy);
    } else if (item == HIDUSB_ITEM_LED_BAR && length == 9) {
        const FlashDataMap copy = ConvertInto(FlashOffset::LedBar, [&](uint8_t* out) { BufferToLedBar(data, out); });
        emit bus->SigUpDataLightLight(copy);
    }
}

void HandleDefaultsRestored()
{
    PostMsg* bus = PostMsg::Instance();
    UsbServer_SetBatteryOptimizeEnable(1);
    const DeviceAllInfo device = CurrentDeviceInfo.Get();
    const QStringList features = ConfigSetting::Instance()->GetValueList(ModelGroup(device), QStringLiteral("Adveanced"));
    const int longRange = FeatureValue(features, 0);
    const int indicator = FeatureValue(features, 1);
    const QByteArray receiverPath = device.path.toLatin1();
    if (indicator > 0 && !device.wired && device.status == 1) {
        DongleRGBRecord->bytes[0] = uint8_t(indicator);
        VidEzorarA_Set4KDongleRGB(receiverPath.constData(), DongleRGBRecord->bytes);
        if (DongleRGBRecord->bytes[0] != 0)
            emit bus->SigRGBValue(DongleRGBRecord);
    }
    if (longRange == 0 || longRange == 1) {
        VidEzorarA_SetLongRangeMode(receiverPath.constData(), uint8_t(longRange));
        emit bus->SigLongRangeMode(longRange == 1);
    }
    UsbServer_ReadAllFlashData();
    KeyRecordResetPending = true;
    SkipReceiverReadOnce = true;
}

void HandleVersion()
{
    const DeviceAllInfo device = CurrentDeviceInfo.Get();
    const QString version = VersionText(VidEzorarA_GetVersion(device.path.toLocal8Bit().constData()));
    CurrentDeviceInfo.Update([&](DeviceAllInfo& info) { info.firmwareVersion = version; });
    emit PostMsg::Instance()->SigSetver(0);
    ConfigSetting* config = ConfigSetting::Instance();
    const QString name = QStringLiteral("MouseVer") + config->GetValue(QStringLiteral("Option"), QStringLiteral("CID"))
        + config->GetValue(ModelGroup(device), QStringLiteral("MID"));
    RegistryStore(MouseDriveTestKey()).SetValue(name, version);
}

} // namespace

void HandleDeviceStatusChange()
{
    if (StatusChangeFlags[0])
        UsbServer_ReadCurrentDPI();
    if (StatusChangeFlags[1])
        UsbServer_ReadReportRate();
    if (StatusChangeFlags[6])
        UsbServer_ReadBatteryLevel();
    if (StatusChangeFlags[5])
        UsbServer_ReadLedBar();
    if (StatusChangeFlags[3])
        UsbServer_ReadDPILed();
    if (StatusChangeFlags[2]) {
        if (ReloadThrottle.RestartIfOlderThan(3000)) {
            ReloadRequested = true;
            FullReloadPending = true;
        }
    }
}

void DeviceReportCallback(const uint8_t* header, int headerLength, const uint8_t* data, uint32_t dataLength)
{
    const auto headerByte = [&](int index) { return header && index < headerLength ? header[index] : uint8_t(0); };
    const uint8_t code = headerByte(1);
    PostMsg* bus = PostMsg::Instance();
    switch (code) {
    case HIDUSB_REPORT_BATTERY:
        GetDeviceBatteryStatus(data, BatteryStatusBuffer);
        emit bus->SigBattery(BatteryStatusBuffer[1] > 0, BatteryStatusBuffer[0], ShowBatteryValue == 1);
        break;
    case HIDUSB_REPORT_PARAMETER:
        if (headerByte(3) == 0 && data)
            HandleParameterReply(headerByte(4), data, dataLength);
        break;
    case HIDUSB_REPORT_DEFAULTS_RESTORED:
        HandleDefaultsRestored();
        break;
    case HIDUSB_REPORT_STATUS_CHANGE:
        GetDeviceStatusChanged(data, StatusChangeFlags);
        HandleDeviceStatusChange();
        break;
    case HIDUSB_REPORT_PROFILE:
        if (dataLength == 1 && data)
            emit bus->SigUpDataConfigUI(4, data[0], true);
        else
            emit bus->SigUpDataConfigUI(0, 0, false);
        break;
    case HIDUSB_REPORT_VERSION:
        HandleVersion();
        break;
    case HIDUSB_REPORT_RECEIVER_INDICATOR:
        emit bus->SigRGBValue(DongleRGBRecord);
        break;
    case HIDUSB_REPORT_LONG_RANGE_OFF:
        if (dataLength == 10)
            emit bus->SigLongRangeMode(false);
        break;
    default:
        break;
    }
}
