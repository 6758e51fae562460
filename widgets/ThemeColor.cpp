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
