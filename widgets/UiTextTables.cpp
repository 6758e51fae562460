#include "widgets/UiTextTables.h"

#include "platform/AppPaths.h"
#include "platform/RegularFile.h"

#include <QCoreApplication>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QXmlStreamReader>
#include <QSet>

#include <cstdio>

namespace {

const QStringList mouseSections = {
    QStringLiteral("AdvancedSettings"), QStringLiteral("Settings"), QStringLiteral("common"),
    QStringLiteral("home"), QStringLiteral("infoTips"), QStringLiteral("key"), QStringLiteral("light"),
    QStringLiteral("macro"), QStringLiteral("pair"), QStringLiteral("sensor"), QStringLiteral("update")};
const QStringList keyboardSections = {
    QStringLiteral("Settings"), QStringLiteral("common"), QStringLiteral("key"), QStringLiteral("light"),
    QStringLiteral("macro"), QStringLiteral("pair"), QStringLiteral("update")};
const QStringList keyFunctionTypes = {
    QStringLiteral("0x00"), QStringLiteral("0x01"), QStringLiteral("0x02"), QStringLiteral("0x03"),
    QStringLiteral("0x05"), QStringLiteral("0x06"), QStringLiteral("0x09"), QStringLiteral("0x0A")};

// Which arrays are option lists, under which part, and which members make an entry.
struct OptionListRule
{
    const char* list;
    bool mouse;
    const char* keyMember;
    bool keyIsNumber; // read as an integer and kept as its decimal text
    const char* valueMember;
    bool single;      // a later entry replaces an earlier one under the same key
};

const OptionListRule optionListRules[] = {
    {"KeyOptions", true, "value", false, "label", false},
    {"LightOffTimeOptions", true, "value", true, "option", false},
    {"LightOffTimeOptions", false, "value", true, "option", false},
    {"ReportRates", true, "value", true, "option", false},
    {"ReportRates", false, "value", true, "option", false},
    {"keyboardTabList", false, "value", true, "option", false},
    {"DisableList", false, "value", true, "option", false},
    {"FunctionList", false, "value", true, "option", false},
    {"keyboardKeyfunctions", false, "value", false, "label", false},
    {"modeList", false, "value", true, "option", false},
    {"InsertEventOptions", false, "command", true, "option", false},
    {"InsertEventOptions", true, "command", true, "option", false},
    {"dpiModeOptions", true, "value", true, "option", true},
    {"tabsList", true, "id", true, "option", false},
    {"ProfileOptions", true, "value", true, "option", false},
    {"DPIEffectOptions", true, "value", true, "option", false},
    {"LightModeOptions", true, "value", true, "option", true},
    {"StatusDescriptionList", true, "value", false, "option", false},
    {"receiverList", true, "value", true, "option", false},
    {"receiverStatusList", true, "option", false, "info", false},
    {"LODOptions", true, "value", true, "option", false},
    {"PerformanceOptions", true, "value", true, "option", false},
    {"SensorModeOptions", true, "value", true, "option", false},
};

const OptionListRule* FindOptionListRule(const QString& list, bool mouse)
{
    for (const OptionListRule& rule : optionListRules) {
        if (rule.mouse == mouse && list == QLatin1String(rule.list))
            return &rule;
    }
    return nullptr;
}

QString MemberText(const QJsonObject& element, const char* member, bool asNumber)
{
    const QJsonValue value = element.value(QLatin1String(member));
    return asNumber ? QString::number(value.toInt()) : value.toString();
}

} // namespace

UiTextTables* UiTextTables::Instance()
{
    static UiTextTables* const tables = new UiTextTables;
    return tables;
}

const QStringList& UiTextTables::LanguageFiles()
{
    static const QStringList files = {QStringLiteral("en.json"), QStringLiteral("zh-CN.json"),
                                      QStringLiteral("ru.json")};
    return files;
}

void UiTextTables::LoadUiTextTables()
{
    LoadUiTextTables(AppPaths::ProgramFolder() + QStringLiteral("/Language"));
}

namespace {

template <typename Table>
void FillMissingTexts(QHash<QString, Table>& tables, const QHash<QString, Table>& fallback)
{
    for (auto part = fallback.constBegin(); part != fallback.constEnd(); ++part) {
        Table& own = tables[part.key()];
        const QList<QString> ownKeys = own.keys();
        const QSet<QString> present(ownKeys.cbegin(), ownKeys.cend());
        // Backwards, so that several entries under one key keep their order (the newest is met first).
        const Table& from = part.value();
        for (auto entry = from.constEnd(); entry != from.constBegin();) {
            --entry;
            if (!present.contains(entry.key()))
                own.insert(entry.key(), entry.value());
        }
    }
}

// A refused language file is told once per run on standard error, however often the tables load.
void TellRefused(const QString& line)
{
    static QSet<QString> told;
    if (told.contains(line))
        return;
    told.insert(line);
    std::fprintf(stderr, "%s\n", line.toLocal8Bit().constData());
    std::fflush(stderr);
}

} // namespace

void UiTextTables::FillMissing(UiLanguageTables& tables, const UiLanguageTables& fallback)
{
    FillMissingTexts(tables.mouseTexts, fallback.mouseTexts);
    FillMissingTexts(tables.keyboardTexts, fallback.keyboardTexts);
    FillMissingTexts(tables.mouseOptions, fallback.mouseOptions);
    FillMissingTexts(tables.keyboardOptions, fallback.keyboardOptions);
    FillMissingTexts(tables.keyboardKeyfunctions, fallback.keyboardKeyfunctions);
    if (tables.receiverStatusList.isEmpty())
        tables.receiverStatusList = fallback.receiverStatusList;
}

void UiTextTables::LoadUiTextTables(const QString& languageFolder)
{
    languages.clear();
    CompanyInfoList.clear();
    LabelsError.clear();
    LanguageErrors.clear();
    currentSection.clear();
    mouseFlag = false;
    for (const QString& file : LanguageFiles()) {
        working = UiLanguageTables();
        const QString path = languageFolder + QLatin1Char('/') + file;
        const QString error = LoadLanguageFile(path);
        if (!error.isEmpty()) {
            const QString fallback = languages.isEmpty() ? QStringLiteral("no texts") : QStringLiteral("English texts");
            LanguageErrors << QStringLiteral("Language file %1 refused (%2); %3 used instead").arg(path, error, fallback);
            TellRefused(LanguageErrors.last());
        }
        if (!languages.isEmpty())
            FillMissing(working, languages.first());
        languages.append(working);
    }
    working = UiLanguageTables();
    LoadLabelsFile(languageFolder + QStringLiteral("/Net.xml"));
}

const UiLanguageTables& UiTextTables::Language(int index) const
{
    static const UiLanguageTables none;
    if (languages.isEmpty())
        return none;
    return index >= 0 && index < languages.size() ? languages.at(index) : languages.at(0);
}

QString UiTextTables::LoadLanguageFile(const QString& path)
{
    QFile file(path);
    if (!file.exists())
        return QStringLiteral("missing");
    if (!IsRegularFile(path))
        return QStringLiteral("not a regular file");
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return file.errorString();
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(file.readAll(), &error);
    if (error.error != QJsonParseError::NoError)
        return QStringLiteral("%1 at byte %2").arg(error.errorString()).arg(error.offset);
    if (document.isObject())
        ReadLanguageValue(document.object(), QString());
    else if (document.isArray())
        ReadLanguageValue(document.array(), QString());
    else
        return QStringLiteral("no texts");
    return QString();
}

void UiTextTables::ReadLanguageValue(const QJsonValue& value, const QString& key)
{
    if (value.isArray()) {
        ReadLanguageOptionList(value.toArray(), key);
        return;
    }
    if (!value.isObject())
        return;
    const QJsonObject object = value.toObject();
    for (auto member = object.begin(); member != object.end(); ++member) {
        const QString name = member.key();
        if (name == QLatin1String("keyboard"))
            mouseFlag = false;
        else if (name == QLatin1String("mouse"))
            mouseFlag = true;
        if (mouseSections.contains(name))
            currentSection = name;

        const QJsonValue memberValue = member.value();
        const QString text = memberValue.toString();
        if (memberValue.isString() && !text.isEmpty()) {
            if (mouseFlag && mouseSections.contains(currentSection))
                working.mouseTexts[currentSection].insert(name, text);
            else if (!mouseFlag && keyboardSections.contains(currentSection))
                working.keyboardTexts[currentSection].insert(name, text);
        }
        ReadLanguageValue(memberValue, name);
    }
}

void UiTextTables::ReadLanguageOptionList(const QJsonArray& array, const QString& key)
{
    const OptionListRule* rule = FindOptionListRule(key, mouseFlag);
    for (const QJsonValue& item : array) {
        if (!item.isObject())
            continue;
        const QJsonObject element = item.toObject();
        if (rule) {
            const QString entryKey = MemberText(element, rule->keyMember, rule->keyIsNumber);
            const QString entryValue = MemberText(element, rule->valueMember, false);
            if (key == QLatin1String("receiverStatusList")) {
                working.receiverStatusList.append(qMakePair(entryKey, entryValue));
            } else if (key == QLatin1String("keyboardKeyfunctions")) {
                const QString type = element.value(QLatin1String("type")).toString();
                if (keyFunctionTypes.contains(type))
                    working.keyboardKeyfunctions[type].insert(entryKey, entryValue);
            } else {
                QMultiMap<QString, QString>& list =
                    rule->mouse ? working.mouseOptions[key] : working.keyboardOptions[key];
                if (rule->single)
                    list.replace(entryKey, entryValue);
                else
                    list.insert(entryKey, entryValue);
            }
        }
        const QJsonValue children = element.value(QLatin1String("children"));
        if (children.isArray())
            ReadLanguageOptionList(children.toArray(), key);
    }
}

void UiTextTables::LoadLabelsFile(const QString& path)
{
    QFile file(path);
    if (!IsRegularFile(path) || !file.open(QIODevice::ReadOnly | QIODevice::Text))
        return;
    QXmlStreamReader reader(&file);
    while (!reader.atEnd()) {
        reader.readNext();
        if (!reader.isStartElement())
            continue;
        if (reader.name() == QLatin1String("Profile"))
            ReadProfile(reader);
        else
            reader.raiseError(QCoreApplication::translate("UiTextTables", "Not a labels file"));
    }
    if (reader.hasError())
        LabelsError = reader.errorString();
}

void UiTextTables::ReadProfile(QXmlStreamReader& reader)
{
    // The file also carries the labels of older dialogs; only the company information is kept.
    while (reader.readNextStartElement()) {
        if (reader.name() == QLatin1String("English"))
            ReadCompanyInfo(reader);
        else
            SkipXmlElement(reader);
    }
}

void UiTextTables::ReadCompanyInfo(QXmlStreamReader& reader)
{
    QStringList collected;
    while (reader.readNextStartElement()) {
        const QStringRef name = reader.name();
        const bool weben = name == QLatin1String("CompanyWeben");
        if (name == QLatin1String("CompanyName") || name == QLatin1String("CompanyNameCn")
            || name == QLatin1String("CompanyWebcn") || weben) {
            collected << reader.readElementText(QXmlStreamReader::SkipChildElements).trimmed();
            if (weben) {
                CompanyInfoList.append(collected);
                collected.clear();
            }
        } else {
            SkipXmlElement(reader);
        }
    }
}

void UiTextTables::SkipXmlElement(QXmlStreamReader& reader)
{
    int depth = 1;
    while (depth > 0 && !reader.atEnd()) {
        reader.readNext();
        if (reader.isStartElement())
            ++depth;
        else if (reader.isEndElement())
            --depth;
    }
}
