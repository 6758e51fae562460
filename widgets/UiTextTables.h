#pragma once
#include <QHash>
#include <QJsonArray>
#include <QJsonValue>
#include <QList>
#include <QMap>
#include <QMultiMap>
#include <QPair>
#include <QString>
#include <QStringList>
#include <QVector>

class QXmlStreamReader;

// The tables of one language file.
struct UiLanguageTables
{
    // Section name ("home", "common", ...) to the section's texts by key.
    QHash<QString, QMap<QString, QString>> mouseTexts;
    QHash<QString, QMap<QString, QString>> keyboardTexts;
    // Option list key ("KeyOptions", "ReportRates", ...) to its entries. Most lists keep every entry
    // under a key (values() gives the newest first); "dpiModeOptions" and "LightModeOptions" keep one.
    QHash<QString, QMultiMap<QString, QString>> mouseOptions;
    QHash<QString, QMultiMap<QString, QString>> keyboardOptions;
    // "keyboardKeyfunctions", one list per function type ("0x00", "0x01", ...).
    QHash<QString, QMultiMap<QString, QString>> keyboardKeyfunctions;
    // "receiverStatusList": (option, info) pairs in file order.
    QVector<QPair<QString, QString>> receiverStatusList;
};

// The UI texts of every language, read once from the language files under "/Language/" before any
// page exists and only read afterwards (GUI thread). Language k is the k-th file of LanguageFiles(),
// also when that file is missing or broken. Every text, option or list that a language lacks is
// taken from English (all of them when its file cannot be read), so that no label goes blank.
class UiTextTables
{
public:
    static UiTextTables* Instance();

    // en.json, zh-CN.json, ru.json: the load order, which is the language index.
    static const QStringList& LanguageFiles();

    // Loads the three language files and "Net.xml" of the given folder (by default the program
    // folder's "/Language"), replacing whatever was loaded before.
    void LoadUiTextTables();
    void LoadUiTextTables(const QString& languageFolder);

    // Reads one language file into the working tables; section and keyboard/mouse flag carry over
    // from the file before. A file that can't be read or parsed adds nothing; the return value then
    // says why (empty when the file was read).
    QString LoadLanguageFile(const QString& path);

    // Adds to tables every text, option entry and list of fallback that tables lacks.
    static void FillMissing(UiLanguageTables& tables, const UiLanguageTables& fallback);
    // Reads the company information of a labels file into CompanyInfoList.
    void LoadLabelsFile(const QString& path);

    int LanguageCount() const { return languages.size(); }
    // The tables of language index; an index outside the loaded languages reads language 0,
    // and empty tables when nothing is loaded.
    const UiLanguageTables& Language(int index) const;

    // One entry per "English" company block: name, Chinese name, Chinese web address, English web address.
    QList<QStringList> CompanyInfoList;
    // Why the labels file was not read to its end; empty when it was.
    QString LabelsError;
    // One line per language file that was refused at the last load: the file and why.
    QStringList LanguageErrors;

    // The working tables of the file being read (used between files and by tests).
    UiLanguageTables working;

private:
    void ReadLanguageValue(const QJsonValue& value, const QString& key);
    void ReadLanguageOptionList(const QJsonArray& array, const QString& key);
    void ReadProfile(QXmlStreamReader& reader);
    void ReadCompanyInfo(QXmlStreamReader& reader);
    static void SkipXmlElement(QXmlStreamReader& reader);

    QVector<UiLanguageTables> languages;
    QString currentSection;
    bool mouseFlag = false;
};
