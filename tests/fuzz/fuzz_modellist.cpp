// The model list usersetting/Config.ini. The store (ConfigSetting) is made once per process, so
// this target reads each input the way the store does: a QSettings ini file in UTF-8, Base64 keys
// decoded through ConfigSetting's own rule. The values then go to the readers that index by them.
#include "FuzzSupport.h"
#include "device/ConfigSetting.h"
#include "pages/sensor/SensorFeatures.h"

#include <QSettings>
#include <QTextCodec>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzSupport::Setup();
    const QString path = FuzzSupport::Folder().path() + "/Config.ini";
    FuzzSupport::WriteInput(path, data, size);
    QSettings settings(path, QSettings::IniFormat);
    settings.setIniCodec(QTextCodec::codecForName("UTF8"));

    SensorFeatures features;
    features.CurrentSensorModel = QStringLiteral("3395");
    const QStringList keys = settings.allKeys();
    for (const QString& key : keys) {
        const QString name = key.section(QLatin1Char('/'), -1);
        const QVariant value = settings.value(key);
        if (ConfigSetting::IsBase64Key(name)) {
            for (const QString& text : value.toStringList())
                ConfigSetting::DecodeBase64(text);
        }
        if (name == QLatin1String("DPIRange")) {
            features.ReadDpiRangeList(value.toStringList());
            int step = 0;
            for (int dpi : {0, 50, 799, 26000, 30000})
                features.QuantiseDpi(dpi, &step);
            for (int flags : {0, 0x22})
                features.EncodeDpi(1600, uint8_t(flags));
        }
        // Every list key of a model (DPIGrade, DPIColor, KeyParam*, Adveanced) is read entry by entry as numbers.
        for (const QString& entry : value.toStringList())
            entry.toInt(nullptr, 0);
    }
    return 0;
}
