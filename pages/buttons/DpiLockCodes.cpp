#include "pages/buttons/DpiLockCodes.h"

#include "pages/sensor/SensorFeatures.h"

namespace {

constexpr int PlainStep = 50;

} // namespace

void DpiLockCodes::ReadHeaderFile()
{
    SensorFeatures header;
    header.ReadHeaderFile(SensorFeatures::HeaderLines::AlsoThreePartLines);
    SensorDefineNames = header.SensorConstNames;
    SensorDefineValues = header.SensorConstValues;
}

void DpiLockCodes::ReadHeaderText(const QString& text)
{
    SensorFeatures header;
    header.ReadHeaderText(text, SensorFeatures::HeaderLines::AlsoThreePartLines);
    SensorDefineNames = header.SensorConstNames;
    SensorDefineValues = header.SensorConstValues;
}

QString DpiLockCodes::Prefix() const
{
    return QStringLiteral("SENSOR_") + SensorName + QStringLiteral("_DPI");
}

bool DpiLockCodes::SensorIsListed() const
{
    const QString prefix = Prefix();
    for (const QString& name : SensorDefineNames) {
        if (name.contains(prefix))
            return true;
    }
    return false;
}

int DpiLockCodes::DPIValueToCode(int value) const
{
    if (!SensorIsListed())
        return value / PlainStep - 1;
    const int index = SensorDefineNames.indexOf(Prefix() + QLatin1Char('_') + QString::number(value));
    if (index >= 0 && index < SensorDefineValues.size())
        return SensorDefineValues.at(index);
    return value / PlainStep;
}

int DpiLockCodes::DPICodeToValue(int code) const
{
    const QString prefix = Prefix();
    bool listed = false;
    for (int k = 0; k < SensorDefineNames.size() && k < SensorDefineValues.size(); ++k) {
        const QString& name = SensorDefineNames.at(k);
        if (!name.contains(prefix))
            continue;
        listed = true;
        if (SensorDefineValues.at(k) != code)
            continue;
        // The first entry with the code decides, even one without a number (a range entry gives 0).
        int value = 0;
        SensorFeatures::DpiValueOfName(name, SensorName, &value);
        return value;
    }
    return listed ? 0 : (code + 1) * PlainStep;
}
