#include "pages/sensor/SensorFeatures.h"

#include "device/ConfigSetting.h"
#include "device/DeviceParamSetters.h"
#include "device/DeviceState.h"
#include "platform/AppPaths.h"
#include "platform/RegularFile.h"

#include <QFile>

namespace {

const QLatin1String DefineWord("#define");

// A header number: hexadecimal when it carries "0x", else decimal; 0 when it does not convert.
int HeaderNumber(QString text)
{
    text.remove(QLatin1Char('\n'));
    return text.toInt(nullptr, text.contains(QLatin1String("0x")) ? 16 : 10);
}

int CodeMaximum(bool highBits)
{
    return highBits ? 0x3FF : 0xFF;
}

} // namespace

SensorFeatures& SensorFeatures::Instance()
{
    static SensorFeatures* instance = new SensorFeatures;
    return *instance;
}

void SensorFeatures::ReadHeaderFile(HeaderLines lines)
{
    const QString path = AppPaths::ProgramFolder() + QStringLiteral("/driver_sensor.h");
    QFile file(path);
    QString text;
    if (IsRegularFile(path) && file.open(QIODevice::ReadOnly | QIODevice::Text))
        text = QString::fromUtf8(file.readAll());
    ReadHeaderText(text, lines);
}

void SensorFeatures::ReadHeaderText(const QString& source, HeaderLines lines)
{
    QString* const switches[] = {&supportModeSel, &supportLodCal, &supportRipple,
                                 &supportFixLine, &supportMotionSync, &supportMousepadCal};
    static const QLatin1String switchNames[] = {
        QLatin1String("SUPPORT_SENSOR_MODE_SEL"), QLatin1String("SUPPORT_LOD_CAL"), QLatin1String("SUPPORT_RIPPLE"),
        QLatin1String("SUPPORT_FIXLINE"), QLatin1String("SUPPORT_MOTION_SYNC"), QLatin1String("SUPPORT_MOUSEPAD_CAL")};
    for (QString* value : switches)
        value->clear();
    SensorConstNames.clear();
    SensorConstValues.clear();

    QString text = source;
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    if (text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);

    int start = 0;
    while (start < text.size()) {
        const int end = text.indexOf(QLatin1Char('\n'), start);
        // Each line keeps its line end; only the last one may lack it.
        const QString line = end < 0 ? text.mid(start) : text.mid(start, end - start + 1);
        start = end < 0 ? text.size() : end + 1;

        const QStringList tokens = line.split(QLatin1Char(' '), Qt::SkipEmptyParts);
        // Only #define lines carry switches and constants: include guards, other directives and
        // comments (a commented-out switch among them) are never read as values. The button page's
        // table alone also takes any line of three parts as a constant.
        const bool define = tokens.size() >= 2 && tokens.first().trimmed() == DefineWord;
        const bool threeParts = tokens.size() == 3 && lines == HeaderLines::AlsoThreePartLines;
        if (!define && !threeParts)
            continue;

        if (tokens.size() == 2) {
            const QString& body = tokens.at(1);
            int which = -1;
            for (int s = 0; s < 6 && which < 0; ++s) {
                if (body.contains(switchNames[s]))
                    which = s;
            }
            const QStringList parts = body.split(QLatin1Char('\t'), Qt::SkipEmptyParts);
            if (which >= 0) {
                if (parts.size() >= 2) {
                    QString value = parts.at(1);
                    *switches[which] = value.remove(QLatin1Char('\n'));
                }
                continue;
            }
            // A name without a value (an include guard) and a last line without line end are skipped.
            if (parts.size() < 2 || !parts.at(1).contains(QLatin1Char('\n')))
                continue;
            SensorConstNames.append(parts.at(0));
            SensorConstValues.append(HeaderNumber(parts.at(1)));
        } else if (tokens.size() == 3) {
            const QString& last = tokens.at(2);
            if (!last.contains(QLatin1String("//")) && !last.contains(QLatin1Char('\n')))
                continue;
            const QStringList parts = tokens.at(1).split(QLatin1Char('\t'), Qt::SkipEmptyParts);
            if (parts.size() == 1) {
                SensorConstNames.append(parts.at(0));
                SensorConstValues.append(HeaderNumber(last));
            } else if (parts.size() == 2) {
                // Name and value joined by a tab, then a comment.
                SensorConstNames.append(parts.at(0));
                SensorConstValues.append(HeaderNumber(parts.at(1)));
            }
        }
    }
}

void SensorFeatures::ReadSensorModel(int modelIndex)
{
    CurrentSensorModel = ConfigSetting::Instance()->GetValue(
        QStringLiteral("Drive") + QString::number(modelIndex + 1), QStringLiteral("Sensor"));
}

void SensorFeatures::ReadDpiRanges(int modelIndex)
{
    ReadDpiRangeList(ConfigSetting::Instance()->GetValueList(
        QStringLiteral("Drive") + QString::number(modelIndex + 1), QStringLiteral("DPIRange")));
}

void SensorFeatures::ReadDpiRangeList(const QStringList& list)
{
    // Each model starts without ranges: a model without a usable list would otherwise have its
    // values coded with the kind and ranges of the model shown before.
    DpiRangeKind = 0;
    DpiRangeCount = 0;
    DpiRangeMinimums.clear();
    DpiRangeMaximums.clear();
    DpiRangeSteps.clear();
    for (QString& text : DpiRangeTexts)
        text.clear();
    rangeMinText.clear();
    rangeMaxText.clear();
    if (list.isEmpty())
        return;
    DpiRangeKind = list.last().trimmed().toInt(nullptr, 16);
    const int count = (list.size() - 1) / 3;
    if (count < 1 || count > 4)
        return;
    DpiRangeCount = count;
    for (int i = 0; i < 3 * count; ++i)
        DpiRangeTexts[i] = list.at(i).trimmed();
    for (int k = 0; k < count; ++k) {
        DpiRangeMinimums.append(DpiRangeTexts[3 * k].toInt());
        DpiRangeMaximums.append(DpiRangeTexts[3 * k + 1].toInt());
        DpiRangeSteps.append(DpiRangeTexts[3 * k + 2].toInt());
    }
    rangeMinText = DpiRangeTexts[0];
    rangeMaxText = DpiRangeTexts[3 * count - 2];
}

bool SensorFeatures::Offers(const QString& switchValue) const
{
    return switchValue.contains(CurrentSensorModel);
}

QString SensorFeatures::TablePrefix() const
{
    return QStringLiteral("SENSOR_") + CurrentSensorModel + QStringLiteral("_DPI");
}

bool SensorFeatures::UsesTableCoding() const
{
    const QString prefix = TablePrefix();
    for (const QString& name : SensorConstNames) {
        if (name.contains(prefix))
            return true;
    }
    return false;
}

// Only these two sensors carry code bits 8-9 in the flags byte.
bool SensorFeatures::CodesHighBits() const
{
    return CurrentSensorModel == QLatin1String("3395") || CurrentSensorModel == QLatin1String("3950");
}

DpiLevelBytes SensorFeatures::EncodeDpi(int dpi, uint8_t entryFlags) const
{
    int code = dpi / ((entryFlags & 0x22) ? 100 : 50);

    int flags = 0;
    int divisor = 1;
    if (DpiRangeKind == 0x33) {
        const int ranges = qMin(DpiRangeCount, DpiRangeMinimums.size());
        for (int i = ranges - 1; i >= 0; --i) {
            if (DpiRangeMinimums.at(i) > dpi)
                continue;
            static const int rangeFlags[] = {0, 0x22, 0x11, 0x33};
            static const int rangeDivisors[] = {1, 2, 2, 4};
            flags = rangeFlags[i];
            divisor = rangeDivisors[i];
            break;
        }
    } else if (DpiRangeKind == 0x22 || DpiRangeKind == 0x11) {
        if (!DpiRangeMaximums.isEmpty() && dpi > DpiRangeMaximums.first()) {
            flags = DpiRangeKind;
            divisor = 2;
        }
    }

    const bool highBits = CodesHighBits();
    DpiLevelBytes bytes;
    if (UsesTableCoding()) {
        // Without an entry for the value the code stays dpi / step.
        const int index = SensorConstNames.indexOf(TablePrefix() + QLatin1Char('_') + QString::number(dpi / divisor));
        if (index >= 0 && index < SensorConstValues.size())
            code = SensorConstValues.at(index);
        if (code < 0 || code > 0xFF)
            return bytes;
    } else {
        code = dpi / (50 * divisor) - 1;
        if (code < 0 || code > CodeMaximum(highBits))
            return bytes;
        if (highBits) {
            const int high = code >> 8;
            flags |= ((high << 4) | high) << 2;
        }
    }
    bytes.valid = true;
    bytes.code = uint8_t(code & 0xFF);
    bytes.flags = uint8_t(flags);
    return bytes;
}

int SensorFeatures::DecodeDpi(uint8_t code, uint8_t flags) const
{
    int value = 0;
    if (UsesTableCoding()) {
        // The value is the number after the model's prefix, so a model name with an "I" reads right too.
        const QString prefix = TablePrefix();
        for (int k = 0; k < SensorConstNames.size() && k < SensorConstValues.size(); ++k) {
            const QString& name = SensorConstNames.at(k);
            if (SensorConstValues.at(k) != code || !name.contains(prefix))
                continue;
            int number = 0;
            if (!DpiValueOfName(name, CurrentSensorModel, &number))
                continue;
            value = number;
            break;
        }
        if (flags & 0x22)
            value *= 2;
    } else {
        int fullCode = code;
        if (CodesHighBits())
            fullCode |= (flags & 0xC0) << 2;
        value = (fullCode + 1) * ((flags & 0x22) ? 100 : 50);
    }
    if (flags & 0x11)
        value *= 2;
    return value;
}

bool SensorFeatures::DpiValueOfName(const QString& name, const QString& model, int* value)
{
    const QString numbered = QStringLiteral("SENSOR_") + model + QStringLiteral("_DPI_");
    const int at = name.indexOf(numbered);
    bool ok = false;
    const int number = at < 0 ? 0 : name.mid(at + numbered.size()).toInt(&ok, 10);
    if (value)
        *value = ok ? number : 0;
    return ok;
}

int SensorFeatures::UsableDpiRangeCount() const
{
    return qMin(qMin(DpiRangeCount, DpiRangeMinimums.size()), qMin(DpiRangeMaximums.size(), DpiRangeSteps.size()));
}

int SensorFeatures::QuantiseDpi(int value, int* pageStep) const
{
    const int ranges = UsableDpiRangeCount();
    for (int r = 0; r < ranges; ++r) {
        const int minimum = DpiRangeMinimums.at(r);
        const int step = DpiRangeSteps.at(r);
        const bool between = r > 0 && DpiRangeMaximums.at(r - 1) < value && value < minimum;
        const bool inside = minimum <= value && value <= DpiRangeMaximums.at(r);
        if (!between && !inside)
            continue;
        if (pageStep && step > 0)
            *pageStep = step;
        if (between)
            return minimum;
        // A range without a positive step keeps the value as it is.
        return step > 0 ? minimum + (value - minimum) / step * step : value;
    }
    return value;
}

bool WriteDPIValue(int level, int dpi)
{
    if (level < 0 || level >= DpiLevelCount)
        return false;
    const uint8_t entryFlags = DeviceConfigSnapshot().dpiLevels[level].flags;
    const DpiLevelBytes bytes = SensorFeatures::Instance().EncodeDpi(dpi, entryFlags);
    if (!bytes.valid)
        return false;
    return SetDeviceDPIValue(level, bytes.code, bytes.code, bytes.flags);
}
