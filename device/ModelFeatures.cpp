#include "device/ModelFeatures.h"

#include "device/ConfigSetting.h"
#include "device/DeviceDiscovery.h"

#include <QStringList>

bool ModelHasIndicatorMeaning(int modelIndex)
{
    const QString group = QStringLiteral("Drive") + QString::number(modelIndex + 1);
    const QStringList features = ConfigSetting::Instance()->GetValueList(group, QStringLiteral("Adveanced"));
    return features.size() >= 2 && features.at(1).trimmed() != QLatin1String("-1");
}

bool ModelHasIndicatorMeaning()
{
    return ModelHasIndicatorMeaning(CurrentDeviceInfo.Get().modelIndex);
}
