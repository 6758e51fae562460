#include "device/ConfigSetting.h"

#include "platform/AppPaths.h"
#include "platform/RegularFile.h"

#include <QSettings>
#include <QTextCodec>

namespace {
std::mutex creationLock;
ConfigSetting* instance = nullptr;
}

ConfigSetting* ConfigSetting::Instance()
{
    std::lock_guard<std::mutex> locker(creationLock);
    if (!instance)
        instance = new ConfigSetting(FilePath());
    return instance;
}

QString ConfigSetting::FilePath()
{
    return AppPaths::ProgramFolder() + QStringLiteral("/usersetting/Config.ini");
}

ConfigSetting::ConfigSetting(const QString& filePath)
    : settings(new QSettings(SettingsFilePath(filePath), QSettings::IniFormat)), path(filePath)
{
    settings->setIniCodec(QTextCodec::codecForName("UTF8"));
}

bool ConfigSetting::IsBase64Key(const QString& key)
{
    static const QStringList keys = {
        QStringLiteral("MM"), QStringLiteral("DM"), QStringLiteral("D2M"), QStringLiteral("D4M"),
        QStringLiteral("D8M"), QStringLiteral("Sensor"), QStringLiteral("CID"), QStringLiteral("VID"),
        QStringLiteral("USB_PID"), QStringLiteral("Wireless_PID"), QStringLiteral("Wireless2_PID"),
        QStringLiteral("Wireless4_PID"), QStringLiteral("Wireless8_PID")};
    return keys.contains(key);
}

QString ConfigSetting::DecodeKeyValue(const QString& text)
{
    QString decoded = QString::fromUtf8(QByteArray::fromBase64(text.toUtf8()));
    decoded.remove(QLatin1Char('\n'));
    decoded.remove(QLatin1Char(' '));
    return decoded;
}

QString ConfigSetting::GetValue(const QString& group, const QString& key)
{
    std::lock_guard<std::mutex> locker(lock);
    const QString text = settings->value(group + QLatin1Char('/') + key).toString();
    if (Mode == 1 && IsBase64Key(key))
        return DecodeKeyValue(text);
    return text;
}

QStringList ConfigSetting::GetValueList(const QString& group, const QString& key)
{
    std::lock_guard<std::mutex> locker(lock);
    QStringList values = settings->value(group + QLatin1Char('/') + key).toStringList();
    if (Mode == 1 && IsBase64Key(key)) {
        for (QString& value : values)
            value = DecodeKeyValue(value);
    }
    return values;
}

void ConfigSetting::SetValue(const QString& group, const QString& key, const QString& value)
{
    std::lock_guard<std::mutex> locker(lock);
    settings->setValue(group + QLatin1Char('/') + key, value);
}

void ConfigSetting::RemoveValue(const QString& group, const QString& key)
{
    std::lock_guard<std::mutex> locker(lock);
    settings->remove(group + QLatin1Char('/') + key);
}

QString ConfigSetting::DecodeBase64(const QString& text)
{
    return QString::fromLocal8Bit(QByteArray::fromBase64(text.toLocal8Bit()));
}
