#include "platform/hidusb/ReportFormat.h"

#include <cstring>

Report ReportFormat::Make(uint8_t code, uint8_t item, std::vector<uint8_t> data)
{
    Report report;
    report.header = {FrameMark, code, 0, 0, item};
    report.data = std::move(data);
    return report;
}

std::vector<uint8_t> ReportFormat::DpiLedReply(const Record& record)
{
    const uint8_t* led = record.data() + RecordLayout::DpiLed;
    return {led[0], led[1], led[2], led[3], 0, 0, 0, 0};
}

std::vector<uint8_t> ReportFormat::LedBarReply(const Record& record)
{
    const uint8_t* light = record.data() + RecordLayout::MouseLight;
    return {light[0], light[1], light[2], light[3], light[4], light[5], light[6], 0, 0};
}

std::vector<uint8_t> ReportFormat::BatteryReply(int level, bool charging)
{
    const int clamped = level < 0 ? 0 : (level > 100 ? 100 : level);
    return {uint8_t(clamped), uint8_t(charging ? 1 : 0)};
}

std::vector<uint8_t> ReportFormat::StatusChange(int flag)
{
    return {uint8_t(flag >= 0 && flag < StatusFlagCount ? 1u << flag : 0u)};
}

std::vector<uint8_t> ReportFormat::VersionReply(uint16_t version)
{
    return {uint8_t(version), uint8_t(version >> 8)};
}

void ReportFormat::ParseLightBytes(const uint8_t* raw, uint8_t* out4)
{
    if (!out4)
        return;
    if (!raw) {
        std::memset(out4, 0, 4);
        return;
    }
    std::memcpy(out4, raw, 4);
}

void ReportFormat::ParseBattery(const uint8_t* raw, uint8_t* out4)
{
    if (!out4)
        return;
    std::memset(out4, 0, 4);
    if (!raw)
        return;
    out4[0] = raw[0] > 100 ? 100 : raw[0];
    out4[1] = raw[1] & 1;
}

void ReportFormat::ParseStatusChange(const uint8_t* raw, uint8_t* out7)
{
    if (!out7)
        return;
    for (int flag = 0; flag < StatusFlagCount; ++flag)
        out7[flag] = raw && (raw[0] >> flag & 1) ? 1 : 0;
}
