#include "app/FindNewVer.h"
#include "widgets/LessThree.h"
#include "app/MouseOffLine.h"
#include "app/QuestiondialogB.h"
#include "widgets/UpDateWarning.h"
#include "device/ConfigSetting.h"
#include "pages/buttons/ButtonTables.h"
#include "support/TestHome.h"
#include "widgets/ThemeColor.h"
#include "widgets/UiText.h"
#include "widgets/UiTextTables.h"

#include <QImage>
#include <QJsonDocument>
#include <QRegularExpression>
#include <QSettings>
#include <QTextCodec>
#include <QtTest>

#include <memory>

// The files the build lays beside the program: model list, sensor header, language files, pictures.
class TestShippedData : public QObject
{
    Q_OBJECT
    TestHome home;

    static QString ProgramFile(const QString& name) { return AppPaths::ProgramFolder() + "/" + name; }

    static QStringList Numbers(const QString& group, const QString& key)
    {
        return ConfigSetting::Instance()->GetValueList(group, key);
    }

private slots:
    void initTestCase()
    {
        QVERIFY(QFile::exists(ProgramFile("usersetting/Config.ini")));
        UiTextTables::Instance()->LoadUiTextTables();
    }

    void base64Identifiers_data()
    {
        QTest::addColumn<QString>("group");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("text");
        QTest::newRow("VID") << "Option" << "VID" << "0x3554";
        QTest::newRow("USB_PID") << "Option" << "USB_PID" << "0xF5D1";
        QTest::newRow("Wireless_PID") << "Option" << "Wireless_PID" << "0xF5D2";
        QTest::newRow("Wireless2_PID") << "Option" << "Wireless2_PID" << "0xF5D3";
        QTest::newRow("Wireless4_PID") << "Option" << "Wireless4_PID" << "0xF5D4";
        QTest::newRow("Wireless8_PID") << "Option" << "Wireless8_PID" << "0xF5D5";
        QTest::newRow("CID") << "Option" << "CID" << "28";
        QTest::newRow("wireless MM") << "Drive1" << "MM" << "KestroPlus";
        QTest::newRow("receiver DM") << "Drive1" << "DM" << "KestroPlus-Receiver";
        QTest::newRow("wireless Sensor") << "Drive1" << "Sensor" << "3395";
        QTest::newRow("wired MM") << "Drive2" << "MM" << "KestroPlus-Wired";
        QTest::newRow("wired Sensor") << "Drive2" << "Sensor" << "3950";
    }
    void base64Identifiers()
    {
        QFETCH(QString, group);
        QFETCH(QString, key);
        QFETCH(QString, text);
        QSettings raw(ProgramFile("usersetting/Config.ini"), QSettings::IniFormat);
        raw.setIniCodec(QTextCodec::codecForName("UTF-8"));
        const QString stored = raw.value(group + "/" + key).toString();
        QCOMPARE(QString::fromUtf8(QByteArray::fromBase64(stored.toUtf8(), QByteArray::AbortOnBase64DecodingErrors)),
                 text);
        // The store hands the text out without spaces.
        QCOMPARE(ConfigSetting::Instance()->GetValue(group, key), QString(text).remove(' '));
    }

    void plainIdentifiers()
    {
        ConfigSetting* config = ConfigSetting::Instance();
        QCOMPARE(config->GetValue("Option", "DeviceTotal"), QString("2"));
        QCOMPARE(config->GetValue("Option", "InterfaceId"), QString("1"));
        QCOMPARE(config->GetValue("Option", "DeviceId"), QString("5"));
        QCOMPARE(config->GetValue("Drive1", "MID"), QString("18"));
        QCOMPARE(config->GetValue("Drive2", "MID"), QString("19"));
    }

    void themeColours()
    {
        for (const char* key : {"LabelColor", "ButtonColor", "LinEditColor", "LinEditColorSecond", "ComboxTextColor",
                                "ComboxSelectColor", "ComboxBackGroundColor", "SliderColor"}) {
            const QStringList parts = Numbers("Option", key);
            QVERIFY2(parts.size() == 3, key);
            // What a damaged model list falls back to is what the shipped list holds.
            QCOMPARE(ShippedThemeColor(QLatin1String(key)), parts.join(QLatin1Char(',')));
            for (const QString& part : parts) {
                bool ok = false;
                const int value = part.toInt(&ok);
                QVERIFY2(ok && value >= 0 && value <= 255, key);
            }
        }
    }

    void models()
    {
        ConfigSetting* config = ConfigSetting::Instance();
        const int total = config->GetValue("Option", "DeviceTotal").toInt();
        for (int n = 1; n <= total; ++n) {
            const QString group = QString("Drive%1").arg(n);
            const QString where = group + ": ";
            QVERIFY2(!config->GetValue(group, "MM").isEmpty(), qPrintable(where + "MM"));
            QVERIFY2(config->GetValue(group, "KeyNumber").toInt() >= 1 && config->GetValue(group, "KeyNumber").toInt() <= 12,
                     qPrintable(where + "KeyNumber"));
            QVERIFY2(Numbers(group, "Adveanced").size() >= 2, qPrintable(where + "Adveanced"));
            QCOMPARE(config->GetValue(group, "XIn1"), QString("1"));
            for (int k = 1; k <= 6; ++k)
                QVERIFY2(Numbers(group, QString("KeyParam%1").arg(k)).size() >= 3, qPrintable(where + "KeyParam"));

            // DPI ranges: minimum, maximum, step per range, then the range kind in hexadecimal.
            const QStringList range = Numbers(group, "DPIRange");
            const int ranges = (range.size() - 1) / 3;
            QVERIFY2(ranges >= 1 && ranges <= 4 && range.size() == 3 * ranges + 1, qPrintable(where + "DPIRange"));
            bool kindOk = false;
            range.last().toInt(&kindOk, 16);
            QVERIFY(kindOk);
            const int lowest = range.at(0).toInt();
            const int highest = range.at(3 * ranges - 2).toInt();
            QVERIFY(lowest > 0 && lowest < highest);

            const int levels = config->GetValue(group, "DPIMaxGrade").toInt();
            QVERIFY2(levels >= 1 && levels <= 8, qPrintable(where + "DPIMaxGrade"));
            const QStringList grades = Numbers(group, "DPIGrade");
            QCOMPARE(grades.size(), 8);
            for (const QString& grade : grades) {
                const int dpi = grade.toInt();
                QVERIFY2(dpi >= lowest && dpi <= highest && dpi % range.at(2).toInt() == 0,
                         qPrintable(where + "DPIGrade " + grade));
            }
            const QStringList colours = Numbers(group, "DPIColor");
            QCOMPARE(colours.size(), 24);
            for (const QString& colour : colours)
                QVERIFY(colour.toInt() >= 0 && colour.toInt() <= 255);
        }
    }

    void sensorHeaderAgreesWithTheModels()
    {
        // The header as the sensor page reads it: "#define", a space, then name and value split by a tab.
        QFile header(ProgramFile("driver_sensor.h"));
        QVERIFY(header.open(QIODevice::ReadOnly | QIODevice::Text));
        QMap<QString, QString> defines;
        while (!header.atEnd()) {
            const QString line = QString::fromUtf8(header.readLine());
            const QStringList tokens = line.split(' ', Qt::SkipEmptyParts);
            if (tokens.size() != 2 || tokens.at(0) != "#define")
                continue;
            const QStringList parts = tokens.at(1).split('\t', Qt::SkipEmptyParts);
            QVERIFY2(parts.size() == 2 && parts.at(1).contains('\n'), qPrintable("unread line: " + line));
            defines.insert(parts.at(0), parts.at(1).trimmed());
        }
        ConfigSetting* config = ConfigSetting::Instance();
        QStringList sensors;
        for (int n = 1; n <= config->GetValue("Option", "DeviceTotal").toInt(); ++n) {
            const QString group = QString("Drive%1").arg(n);
            const QString sensor = config->GetValue(group, "Sensor");
            sensors << sensor;
            const QStringList range = Numbers(group, "DPIRange");
            const int ranges = (range.size() - 1) / 3;
            QCOMPARE(defines.value("SENSOR_" + sensor + "_MIN_DPI"), range.at(0));
            QCOMPARE(defines.value("SENSOR_" + sensor + "_MAX_DPI"), range.at(3 * ranges - 2));
            // No DPI code table: the models code their DPI values by formula.
            for (const QString& name : defines.keys())
                QVERIFY2(!name.contains("SENSOR_" + sensor + "_DPI"), qPrintable(name));
        }
        for (const char* feature : {"SUPPORT_SENSOR_MODE_SEL", "SUPPORT_LOD_CAL", "SUPPORT_RIPPLE", "SUPPORT_FIXLINE",
                                    "SUPPORT_MOTION_SYNC", "SUPPORT_MOUSEPAD_CAL"}) {
            QVERIFY2(defines.contains(feature), feature);
            for (const QString& listed : defines.value(feature).split(','))
                QVERIFY2(sensors.contains(listed), qPrintable(QString(feature) + " lists " + listed));
        }
    }

    void languageFilesParse()
    {
        for (const QString& name : UiTextTables::LanguageFiles()) {
            QFile file(ProgramFile("Language/" + name));
            QVERIFY2(file.open(QIODevice::ReadOnly), qPrintable(name));
            QJsonParseError error;
            const QJsonDocument document = QJsonDocument::fromJson(file.readAll(), &error);
            QVERIFY2(error.error == QJsonParseError::NoError, qPrintable(name + ": " + error.errorString()));
            QVERIFY(document.isObject());
        }
        QCOMPARE(UiTextTables::Instance()->LanguageCount(), 3);
    }

    void everyKeyTheCodeReadsExists()
    {
        for (const UiText::Reader& reader : UiText::Readers()) {
            for (const QString& key : reader.keys) {
                for (int language = 0; language < 3; ++language)
                    QVERIFY2(!UiText::ForReader(language, reader.className, key).isEmpty(),
                             qPrintable(QString("%1 %2 in language %3").arg(reader.className, key).arg(language)));
            }
        }
    }

    // The button page labels its selectors and options from "KeyOptions": every label it reads is
    // there, in every language, and no two positions of the mouse keys' values read alike.
    void everyKeyOptionTheButtonPageReadsExists()
    {
        for (int language = 0; language < 3; ++language) {
            for (const ButtonTables::PageLabelRow& row : ButtonTables::PageLabelRows()) {
                const QStringList labels = UiText::OptionLabels(language, "KeyOptions", row.value);
                QVERIFY2(!labels.value(row.position).isEmpty(),
                         qPrintable(QString("%1: %2 position %3 in language %4").arg(row.object, row.value).arg(row.position).arg(language)));
            }
            for (const char* value : {"0x0100", "0x0200"}) {
                const QStringList labels = UiText::OptionLabels(language, "KeyOptions", value);
                QCOMPARE(QSet<QString>(labels.begin(), labels.end()).size(), labels.size());
            }
            QVERIFY(!UiText::Option(language, "ProfileOptions", "0").isEmpty());
        }
    }

    void everyLanguageHasEveryEnglishKey()
    {
        const UiLanguageTables& english = UiTextTables::Instance()->Language(0);
        for (int language = 1; language < 3; ++language) {
            const UiLanguageTables& other = UiTextTables::Instance()->Language(language);
            for (auto section = english.mouseTexts.begin(); section != english.mouseTexts.end(); ++section) {
                for (const QString& key : section->keys())
                    QVERIFY2(other.mouseTexts.value(section.key()).contains(key),
                             qPrintable(QString("%1/%2 in language %3").arg(section.key(), key).arg(language)));
            }
            for (auto section = english.keyboardTexts.begin(); section != english.keyboardTexts.end(); ++section) {
                for (const QString& key : section->keys())
                    QVERIFY2(other.keyboardTexts.value(section.key()).contains(key), qPrintable(key));
            }
            for (auto list = english.mouseOptions.begin(); list != english.mouseOptions.end(); ++list) {
                for (const QString& key : list->uniqueKeys())
                    QVERIFY2(other.mouseOptions.value(list.key()).values(key).size() == list->values(key).size(),
                             qPrintable(QString("%1 %2 in language %3").arg(list.key(), key).arg(language)));
            }
            QCOMPARE(other.receiverStatusList.size(), english.receiverStatusList.size());
        }
    }

    void companyInformation()
    {
        const UiTextTables* tables = UiTextTables::Instance();
        QCOMPARE(tables->LabelsError, QString());
        QVERIFY(!tables->CompanyInfoList.isEmpty());
        const QStringList company = tables->CompanyInfoList.first();
        QCOMPARE(company.size(), 4);
        QCOMPARE(company.at(0), QString("Kestro plus"));
        QVERIFY(company.at(2).startsWith("https://"));
        QVERIFY(company.at(3).startsWith("https://"));
    }

    void everyPictureOfTheTableIsDrawn()
    {
        QFile table(qEnvironmentVariable("KESTRO_SOURCE_DIR") + "/data/PictureTool/Pictures.tsv");
        QVERIFY(table.open(QIODevice::ReadOnly | QIODevice::Text));
        int rows = 0;
        while (!table.atEnd()) {
            const QString row = QString::fromUtf8(table.readLine()).trimmed();
            if (row.isEmpty() || row.startsWith('#'))
                continue;
            const QStringList fields = row.split(QRegularExpression("\\s+"));
            const QImage picture(ProgramFile("Picture/" + fields.at(0)));
            QVERIFY2(!picture.isNull(), qPrintable(fields.at(0)));
            QCOMPARE(picture.size(), QSize(fields.at(1).toInt(), fields.at(2).toInt()));
            ++rows;
        }
        QVERIFY(rows > 0);
    }

    void everyPictureTheNoticesNameExists()
    {
        const QRegularExpression url("url\\(([^)]*)\\)");
        std::vector<std::unique_ptr<QDialog>> notices;
        notices.emplace_back(new MouseOffLine);
        notices.emplace_back(new LessThree);
        notices.emplace_back(new QuestiondialogB);
        notices.emplace_back(new UpDateWarning);
        notices.emplace_back(new FindNewVer);
        int named = 0;
        for (const auto& notice : notices) {
            QList<QWidget*> widgets = notice->findChildren<QWidget*>();
            widgets << notice.get();
            for (QWidget* widget : widgets) {
                auto match = url.globalMatch(widget->styleSheet());
                while (match.hasNext()) {
                    const QString path = match.next().captured(1).trimmed();
                    QVERIFY2(QFileInfo(path).isFile(), qPrintable(notice->metaObject()->className() + QString(": ") + path));
                    ++named;
                }
            }
        }
        QVERIFY(named >= 20);
    }
};

QTEST_MAIN(TestShippedData)
#include "tst_shippeddata.moc"
