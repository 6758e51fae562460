#include "widgets/ThemeColor.h"

#include "device/ConfigSetting.h"

#include <QStringList>

// The shipped dark theme. A model list that lost its colours (damaged, cut short) is exactly when
// the notice saying so must be readable: Qt's own black text would vanish on the dark pictures.
QString ShippedThemeColor(const QString& key)
{
    static const struct {
        const char* key;
        const char* colour;
    } shipped[] = {{"LabelColor", "220,224,230"},        {"ButtonColor", "255,255,255"},
                   {"LinEditColor", "30,33,40"},             {"LinEditColorSecond", "36,180,255"},
                   {"ComboxTextColor", "220,224,230"},   {"ComboxSelectColor", "36,180,255"},
                   {"ComboxBackGroundColor", "40,44,52"}, {"SliderColor", "36,180,255"}};
    for (const auto& entry : shipped) {
        if (key == QLatin1String(entry.key))
            return QLatin1String(entry.colour);
    }
    return QString();
}

QString ThemeColor(const QString& key)
{
    const QStringList parts = ConfigSetting::Instance()->GetValueList(QStringLiteral("Option"), key);
    if (parts.isEmpty() || (parts.size() == 1 && parts.front().trimmed().isEmpty()))
        return ShippedThemeColor(key);
    return parts.mid(0, 3).join(QLatin1Char(','));
}

QString DimmedTextColor()
{
    const QStringList ground = ThemeColor(QStringLiteral("ComboxBackGroundColor")).split(QLatin1Char(','));
    const QStringList text = ThemeColor(QStringLiteral("ComboxTextColor")).split(QLatin1Char(','));
    if (ground.size() != 3 || text.size() != 3)
        return ShippedThemeColor(QStringLiteral("ComboxTextColor"));
    QStringList dimmed;
    for (int i = 0; i < 3; ++i) {
        const int from = ground.at(i).trimmed().toInt();
        const int to = text.at(i).trimmed().toInt();
        dimmed << QString::number(from + (to - from) * 3 / 4);
    }
    return dimmed.join(QLatin1Char(','));
}

QString FrameLineColor()
{
    return QStringLiteral("72, 78, 90");
}
