#include "widgets/UiText.h"
#include "widgets/UiTextTables.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

// The language files' walk and the labels file, on small files written by the test.
class TestUiTextTables : public QObject
{
    Q_OBJECT

    static void Write(const QString& path, const QByteArray& content)
    {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(content);
    }

    // Loads the given files as en.json, zh-CN.json, ru.json (a null entry leaves that file out)
    // and Net.xml into the tables a reader sees.
    static void LoadFolder(const QTemporaryDir& folder, const QList<QByteArray>& files, const QByteArray& labels = {})
    {
        for (int i = 0; i < files.size(); ++i) {
            if (!files.at(i).isNull())
                Write(folder.path() + "/" + UiTextTables::LanguageFiles().at(i), files.at(i));
        }
        if (!labels.isNull())
            Write(folder.path() + "/Net.xml", labels);
        UiTextTables::Instance()->LoadUiTextTables(folder.path());
    }

    static UiLanguageTables ReadOne(const QByteArray& content)
    {
        QTemporaryDir folder;
        Write(folder.path() + "/one.json", content);
        UiTextTables tables;
        tables.LoadLanguageFile(folder.path() + "/one.json");
        return tables.working;
    }

private slots:
    void sectionTexts()
    {
        const UiLanguageTables t = ReadOne(R"({"mouse": {"home": {"OpenMain": "Open", "Exit": "Quit",
            "deeper": {"nested": {"Far": "far text"}}, "Empty": ""},
            "common": {"OK": "Fine", "sub": {"home": {"Back": "in home again"}, "tail": "still home"}}}})");
        QCOMPARE(t.mouseTexts.value("home").value("OpenMain"), QString("Open"));
        QCOMPARE(t.mouseTexts.value("home").value("Exit"), QString("Quit"));
        // Texts anywhere below a section belong to it, until another section name is met.
        QCOMPARE(t.mouseTexts.value("home").value("Far"), QString("far text"));
        QCOMPARE(t.mouseTexts.value("common").value("OK"), QString("Fine"));
        QCOMPARE(t.mouseTexts.value("home").value("Back"), QString("in home again"));
        // "common" is walked before "home": its inner "home" moves the section for what follows.
        QCOMPARE(t.mouseTexts.value("home").value("tail"), QString("still home"));
        QVERIFY(!t.mouseTexts.value("common").contains("tail"));
        QVERIFY(!t.mouseTexts.value("home").contains("Empty"));
        QVERIFY(t.keyboardTexts.isEmpty());
    }

    void keyboardPartAndCarryOver()
    {
        // Members are walked in key order: "a" before "keyboard" before "mouse".
        const UiLanguageTables t = ReadOne(R"({"a": "before any section",
            "keyboard": {"home": {"Open": "kb home"}, "update": {"Ver": "kb update"}, "zz": "kb tail"},
            "mouse": {"Lead": "mouse before a section", "common": {"OK": "m ok"}}})");
        // "a" came before any section and is nowhere.
        for (const auto& table : t.mouseTexts)
            QVERIFY(!table.contains("a"));
        for (const auto& table : t.keyboardTexts)
            QVERIFY(!table.contains("a"));
        // "home" has no keyboard table: nothing stored, but the section moved to "home".
        QVERIFY(!t.keyboardTexts.contains("home") || t.keyboardTexts.value("home").isEmpty());
        QCOMPARE(t.keyboardTexts.value("update").value("Ver"), QString("kb update"));
        QCOMPARE(t.keyboardTexts.value("update").value("zz"), QString("kb tail"));
        // Under "mouse" the section carried over from the keyboard part ("update") takes the lead text.
        QCOMPARE(t.mouseTexts.value("update").value("Lead"), QString("mouse before a section"));
        QCOMPARE(t.mouseTexts.value("common").value("OK"), QString("m ok"));
        QCOMPARE(t.mouseTexts.size(), 2);
    }

    void laterTextWinsEmptyKeepsEarlier()
    {
        const UiLanguageTables t = ReadOne(R"({"mouse": {"common": {"A": {"OK": "first"}, "B": {"OK": "second"},
            "C": {"Tip": "kept"}, "D": {"Tip": ""}}}})");
        QCOMPARE(t.mouseTexts.value("common").value("OK"), QString("second"));
        QCOMPARE(t.mouseTexts.value("common").value("Tip"), QString("kept"));
    }

    void optionLists()
    {
        const UiLanguageTables t = ReadOne(R"({
            "keyboard": {"ReportRates": [{"option": "kb 125", "value": 1}],
                         "keyboardKeyfunctions": [{"label": "A", "value": "0x04", "type": "0x00"},
                                                  {"label": "Vol", "value": "0xE9", "type": "0x03"},
                                                  {"label": "Odd", "value": "0x01", "type": "0x04"}]},
            "mouse": {"ReportRates": [{"option": "125 Hz", "value": 1}, "not an object", 7,
                                      {"option": "no value"}],
                      "DPIEffectOptions": [{"option": "Steady", "value": 0}, {"option": "Breathing", "value": 0}],
                      "LightModeOptions": [{"option": "Off", "value": 0}, {"option": "Wave", "value": 0}],
                      "KeyOptions": [{"label": "Left", "value": "0x0100", "children": [
                                         {"label": "Left click", "value": "0x0100", "children": [
                                             {"label": "Deep", "value": "0x0200"}]}]},
                                     {"label": "Text only", "value": 5}],
                      "receiverStatusList": [{"option": "Green", "info": "Good signal"},
                                             {"option": "Red", "info": "Weak signal"}],
                      "UnknownList": [{"option": "x", "value": 1}]}})");
        QCOMPARE(t.mouseOptions.value("ReportRates").values("1"), QStringList{"125 Hz"});
        // A missing member reads as 0.
        QCOMPARE(t.mouseOptions.value("ReportRates").value("0"), QString("no value"));
        QCOMPARE(t.keyboardOptions.value("ReportRates").value("1"), QString("kb 125"));
        QCOMPARE(t.mouseOptions.value("DPIEffectOptions").values("0"), (QStringList{"Breathing", "Steady"}));
        QCOMPARE(t.mouseOptions.value("LightModeOptions").values("0"), QStringList{"Wave"});
        QCOMPARE(t.mouseOptions.value("KeyOptions").values("0x0100"), (QStringList{"Left click", "Left"}));
        QCOMPARE(t.mouseOptions.value("KeyOptions").value("0x0200"), QString("Deep"));
        // A text member given as a number reads as an empty text.
        QCOMPARE(t.mouseOptions.value("KeyOptions").value(""), QString("Text only"));
        QCOMPARE(t.keyboardKeyfunctions.value("0x00").value("0x04"), QString("A"));
        QCOMPARE(t.keyboardKeyfunctions.value("0x03").value("0xE9"), QString("Vol"));
        QVERIFY(!t.keyboardKeyfunctions.contains("0x04"));
        QCOMPARE(t.receiverStatusList.size(), 2);
        QCOMPARE(t.receiverStatusList.at(1), qMakePair(QString("Red"), QString("Weak signal")));
        QVERIFY(!t.mouseOptions.contains("UnknownList"));
        // Option texts are entries, not section texts.
        QVERIFY(t.mouseTexts.isEmpty());
    }

    void topLevelArrayAndBrokenFiles()
    {
        UiTextTables tables;
        QTemporaryDir folder;
        Write(folder.path() + "/array.json", R"([{"option": "x", "value": 1}])");
        Write(folder.path() + "/broken.json", R"({"mouse": {"home": {"OpenMain": "Open")");
        Write(folder.path() + "/scalar.json", "42");
        tables.LoadLanguageFile(folder.path() + "/array.json");
        tables.LoadLanguageFile(folder.path() + "/broken.json");
        tables.LoadLanguageFile(folder.path() + "/scalar.json");
        tables.LoadLanguageFile(folder.path() + "/missing.json");
        QVERIFY(tables.working.mouseTexts.isEmpty());
        QVERIFY(tables.working.mouseOptions.isEmpty());
    }

    void languagesKeepTheirPositions()
    {
        QTemporaryDir folder;
        LoadFolder(folder, {R"({"mouse": {"home": {"Exit": "Exit"}}})", QByteArray(),
                            R"({"mouse": {"home": {"Exit": "Выход"}}})"});
        QCOMPARE(UiTextTables::Instance()->LanguageCount(), 3);
        QCOMPARE(UiText::Text(0, "home", "Exit"), QString("Exit"));
        // The missing file's language reads English rather than nothing.
        QCOMPARE(UiText::Text(1, "home", "Exit"), QString("Exit"));
        QCOMPARE(UiText::Text(2, "home", "Exit"), QString::fromUtf8("Выход"));
    }

    // A language file that is damaged, or lacks texts, falls back to English key by key; only a
    // file that cannot be read at all is refused, and the refusal names the file and why.
    void damagedLanguageFallsBackToEnglish_data()
    {
        QTest::addColumn<QByteArray>("chinese");
        QTest::addColumn<QString>("exitText");
        QTest::addColumn<QString>("okText");
        QTest::addColumn<QStringList>("rates");
        QTest::addColumn<QString>("refusedBecause");
        const QByteArray whole = R"({"mouse": {"home": {"Exit": "zh exit"}, "common": {"OK": "zh ok"},
            "ReportRates": [{"value": 1, "option": "zh 1000"}]}})";
        const QByteArray english = "Exit";
        QTest::newRow("whole file") << whole << "zh exit" << "zh ok" << QStringList{"zh 1000"} << QString();
        QTest::newRow("lacks a text") << QByteArray(R"({"mouse": {"home": {"Exit": "zh exit"},
            "ReportRates": [{"value": 1, "option": "zh 1000"}]}})")
                                      << "zh exit" << "OK" << QStringList{"zh 1000"} << QString();
        QTest::newRow("lacks a list") << QByteArray(R"({"mouse": {"home": {"Exit": "zh exit"}, "common": {"OK": "zh ok"}}})")
                                      << "zh exit" << "zh ok" << QStringList{"1000 Hz"} << QString();
        QTest::newRow("truncated") << whole.left(whole.size() / 2) << QString(english) << "OK" << QStringList{"1000 Hz"}
                                   << "at byte";
        QTest::newRow("not json") << QByteArray("\xff\xfe garbage") << QString(english) << "OK"
                                  << QStringList{"1000 Hz"} << "at byte";
        QTest::newRow("empty") << QByteArray("") << QString(english) << "OK" << QStringList{"1000 Hz"} << "at byte";
        QTest::newRow("a number") << QByteArray("42") << QString(english) << "OK" << QStringList{"1000 Hz"} << "at byte";
        QTest::newRow("missing") << QByteArray() << QString(english) << "OK" << QStringList{"1000 Hz"} << "missing";
    }
    void damagedLanguageFallsBackToEnglish()
    {
        QFETCH(QByteArray, chinese);
        QFETCH(QString, exitText);
        QFETCH(QString, okText);
        QFETCH(QStringList, rates);
        QFETCH(QString, refusedBecause);
        QTemporaryDir folder;
        LoadFolder(folder, {R"({"mouse": {"home": {"Exit": "Exit", "OpenMain": "Open"}, "common": {"OK": "OK"},
                                "ReportRates": [{"value": 1, "option": "1000 Hz"}]}})",
                            chinese, R"({"mouse": {"home": {"Exit": "ru exit"}}})"});
        QCOMPARE(UiText::Text(1, "home", "Exit"), exitText);
        QCOMPARE(UiText::ForReader(1, "UpDateWarning", "OK"), okText);
        QCOMPARE(UiText::Text(1, "home", "OpenMain"), QString("Open"));
        QCOMPARE(UiText::OptionLabels(1, "ReportRates", "1"), rates);
        // The other languages are not touched by the damaged one.
        QCOMPARE(UiText::Text(2, "home", "Exit"), QString("ru exit"));
        QCOMPARE(UiText::Text(0, "home", "Exit"), QString("Exit"));

        const QStringList errors = UiTextTables::Instance()->LanguageErrors;
        if (refusedBecause.isEmpty()) {
            QVERIFY2(errors.isEmpty(), qPrintable(errors.join('\n')));
        } else {
            QCOMPARE(errors.size(), 1);
            QVERIFY2(errors.first().contains(folder.path() + "/zh-CN.json"), qPrintable(errors.first()));
            QVERIFY2(errors.first().contains(refusedBecause), qPrintable(errors.first()));
            QVERIFY2(errors.first().contains("English texts used instead"), qPrintable(errors.first()));
        }
    }

    void damagedEnglishHasNothingToFallBackOn()
    {
        QTemporaryDir folder;
        LoadFolder(folder, {"{broken", R"({"mouse": {"home": {"Exit": "zh exit"}}})", QByteArray()});
        QCOMPARE(UiText::Text(0, "home", "Exit"), QString());
        QCOMPARE(UiText::Text(1, "home", "Exit"), QString("zh exit"));
        QCOMPARE(UiText::Text(2, "home", "Exit"), QString());
        const QStringList errors = UiTextTables::Instance()->LanguageErrors;
        QCOMPARE(errors.size(), 2);
        QVERIFY2(errors.at(0).contains("/en.json refused") && errors.at(0).contains("no texts used instead"),
                 qPrintable(errors.at(0)));
        QVERIFY2(errors.at(1).contains("/ru.json refused (missing)"), qPrintable(errors.at(1)));
    }

    // Entries of one key keep their order when they come from English.
    void fallbackKeepsEveryEntryOfAKey()
    {
        UiLanguageTables english;
        english.mouseOptions["KeyOptions"].insert("1", "first");
        english.mouseOptions["KeyOptions"].insert("1", "second");
        english.receiverStatusList << qMakePair(QString("1"), QString("paired"));
        UiLanguageTables other;
        other.mouseOptions["KeyOptions"].insert("2", "own");
        UiTextTables::FillMissing(other, english);
        QCOMPARE(other.mouseOptions.value("KeyOptions").values("1"), english.mouseOptions.value("KeyOptions").values("1"));
        QCOMPARE(other.mouseOptions.value("KeyOptions").values("2"), QStringList{"own"});
        QCOMPARE(other.receiverStatusList, english.receiverStatusList);
    }

    void sectionAndFlagCarryIntoTheNextFile()
    {
        QTemporaryDir folder;
        // The second file has no section or part of its own: it goes on with mouse "update".
        LoadFolder(folder, {R"({"mouse": {"update": {"Tip": "en tip"}}})", R"({"Tip": "zh tip"})",
                            R"({"keyboard": {"Tip": "kb"}})"});
        QCOMPARE(UiText::Text(1, "update", "Tip"), QString("zh tip"));
        QCOMPARE(UiText::KeyboardText(2, "update", "Tip"), QString("kb"));
        // The third file has no mouse text of its own: English fills it.
        QCOMPARE(UiText::Text(2, "update", "Tip"), QString("en tip"));
    }

    void languageOutsideTheTablesReadsEnglish_data()
    {
        QTest::addColumn<int>("index");
        QTest::newRow("3") << 3;
        QTest::newRow("-1") << -1;
        QTest::newRow("large") << 1000000;
    }
    void languageOutsideTheTablesReadsEnglish()
    {
        QFETCH(int, index);
        QTemporaryDir folder;
        LoadFolder(folder, {R"({"mouse": {"common": {"OK": "OK"}}})", R"({"mouse": {"common": {"OK": "zh"}}})",
                            R"({"mouse": {"common": {"OK": "ru"}}})"});
        QCOMPARE(UiText::Text(index, "common", "OK"), QString("OK"));
        QCOMPARE(UiText::ForReader(index, "UpDateWarning", "OK"), QString("OK"));
    }

    void readerSectionsInOrder()
    {
        QTemporaryDir folder;
        LoadFolder(folder, {R"({"mouse": {"common": {"OK": "common ok"}, "infoTips": {"DialogOffline": "tips text",
                                "OK": "tips ok"}, "key": {"DialogDebounceTips": "wait"}}})",
                            QByteArray(), QByteArray()});
        // MouseOffLine reads "common" before "infoTips"; LessThree reads "common", then "key".
        QCOMPARE(UiText::ForReader(0, "MouseOffLine", "OK"), QString("common ok"));
        QCOMPARE(UiText::ForReader(0, "MouseOffLine", "DialogOffline"), QString("tips text"));
        QCOMPARE(UiText::ForReader(0, "LessThree", "DialogDebounceTips"), QString("wait"));
        // A section the class does not read is not consulted.
        QCOMPARE(UiText::ForReader(0, "UpDateWarning", "DialogOffline"), QString());
    }

    void companyInfo_data()
    {
        QTest::addColumn<QByteArray>("labels");
        QTest::addColumn<QList<QStringList>>("expected");
        QTest::addColumn<bool>("error");
        QTest::newRow("one company") << QByteArray(R"(<?xml version="1.0"?>
<Profile><MouseOffLine><label>x</label></MouseOffLine>
  <English><CompanyName>Kestro plus</CompanyName><Other>skip <b>me</b></Other>
    <CompanyNameCn>Kestro plus cn</CompanyNameCn><CompanyWebcn>https://cn</CompanyWebcn>
    <CompanyWeben>https://en</CompanyWeben></English>
  <Unknown><English><CompanyWeben>hidden</CompanyWeben></English></Unknown></Profile>)")
            << QList<QStringList>{{"Kestro plus", "Kestro plus cn", "https://cn", "https://en"}} << false;
        QTest::newRow("two companies") << QByteArray(
            "<Profile><English><CompanyName>A</CompanyName><CompanyWeben>a</CompanyWeben>"
            "<CompanyName>B</CompanyName><CompanyWeben>b</CompanyWeben></English></Profile>")
            << QList<QStringList>{{"A", "a"}, {"B", "b"}} << false;
        QTest::newRow("wrong root") << QByteArray(
            "<Labels><English><CompanyName>A</CompanyName><CompanyWeben>a</CompanyWeben></English></Labels>")
            << QList<QStringList>() << true;
        QTest::newRow("not XML") << QByteArray("{\"mouse\": 1}") << QList<QStringList>() << true;
        QTest::newRow("missing") << QByteArray() << QList<QStringList>() << false;
    }
    void companyInfo()
    {
        QFETCH(QByteArray, labels);
        QFETCH(QList<QStringList>, expected);
        QFETCH(bool, error);
        QTemporaryDir folder;
        LoadFolder(folder, {}, labels);
        QCOMPARE(UiTextTables::Instance()->CompanyInfoList, expected);
        QCOMPARE(!UiTextTables::Instance()->LabelsError.isEmpty(), error);
        if (QTest::currentDataTag() == QLatin1String("wrong root"))
            QCOMPARE(UiTextTables::Instance()->LabelsError, QString("Not a labels file"));
    }
};

QTEST_GUILESS_MAIN(TestUiTextTables)
#include "tst_uitexttables.moc"
