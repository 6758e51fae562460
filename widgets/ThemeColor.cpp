#include "widgets/ThemeColor.h"

#include "device/ConfigSetting.h"

#include <QStringList>

QString ThemeColor(const QString& key)
{
    const QStringList parts = ConfigSetting::Instance()->GetValueList(QStringLiteral("Option"), key);
    return parts.mid(0, 3).join(QLatin1Char(','));
}
