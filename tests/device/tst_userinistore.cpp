#include "device/UserIniStore.h"
#include "support/TestHome.h"

#include <QFile>
#include <QtTest>

class TestUserIniStore : public QObject
{
    Q_OBJECT
    TestHome home;

    static QString iniPath() { return AppPaths::UserDataFolder() + "/Macro.ini"; }
    static void writeIni(const QByteArray& content)
    {
        QFile file(iniPath());
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(content);
    }

private slots:
    void initTestCase()
    {
        home.MakeUserFolders();
        writeIni(QByteArray());
    }

    void emptyFileGivesDefaults()
    {
        UserIniStore* store = UserIniStore::Instance();
        QCOMPARE(store->GetValue("Language", "Language"), QString());
        QCOMPARE(store->GetValue("Language", "Language").toInt(), 0);
        QCOMPARE(store->Language(), 0);
        QCOMPARE(store->GetValue("AutoStart", "Enable"), QString());
        QCOMPARE(store->GetValue("FindNew", "IsShow"), QString());
        QVERIFY(store->GetValueList("Language", "Language").isEmpty());
    }

    void keysOfThePreferences()
    {
        UserIniStore* store = UserIniStore::Instance();
        store->SetValue("Language", "Language", "2");
        store->SetValue("AutoStart", "Enable", "1");
        store->SetValue("FindNew", "IsShow", "0");
        QCOMPARE(store->Language(), 2);
        QCOMPARE(store->GetValue("AutoStart", "Enable").toInt(), 1);
        QCOMPARE(store->GetValue("FindNew", "IsShow"), QString("0"));

        QFile file(iniPath());
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray content = file.readAll();
        QVERIFY(content.contains("[Language]\nLanguage=2"));
        QVERIFY(content.contains("[AutoStart]\nEnable=1"));
        QVERIFY(content.contains("[FindNew]\nIsShow=0"));
    }

    void languageWrittenTwiceKeepsOneEntry()
    {
        UserIniStore* store = UserIniStore::Instance();
        store->SetValue("Language", "Language", "1");
        store->SetValue("Language", "Language", "0");
        QFile file(iniPath());
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll().count("Language="), 1);
        QCOMPARE(store->Language(), 0);
    }

    // The file is the user's to edit: a language index the program does not have reads as English.
    void languageOutsideRangeReadsAsZero_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<int>("expected");
        QTest::newRow("English") << "0" << 0;
        QTest::newRow("Russian") << "2" << 2;
        QTest::newRow("too large") << "3" << 0;
        QTest::newRow("negative") << "-1" << 0;
        QTest::newRow("not a number") << "ru" << 0;
    }
    void languageOutsideRangeReadsAsZero()
    {
        QFETCH(QString, stored);
        QFETCH(int, expected);
        UserIniStore::Instance()->SetValue("Language", "Language", stored);
        QCOMPARE(UserIniStore::Instance()->Language(), expected);
    }

    // The user edits the file while the program runs: the next preference the program writes
    // keeps the edit, and the store answers with it.
    void editOfTheUserIsKept()
    {
        UserIniStore* store = UserIniStore::Instance();
        store->SetValue("Language", "Language", "1");
        writeIni("[Language]\nLanguage=2\n\n[Extra]\nKey=kept\n");
        store->SetValue("FindNew", "IsShow", "0");
        QFile file(iniPath());
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray content = file.readAll();
        QVERIFY(content.contains("[Extra]\nKey=kept"));
        QVERIFY(content.contains("[FindNew]\nIsShow=0"));
        QVERIFY(content.contains("[Language]\nLanguage=2"));
        QCOMPARE(store->GetValue("Extra", "Key"), QString("kept"));
        QCOMPARE(store->Language(), 2);
    }

    void removeValue()
    {
        UserIniStore* store = UserIniStore::Instance();
        store->SetValue("AutoStart", "Enable", "1");
        store->RemoveValue("AutoStart", "Enable");
        QCOMPARE(store->GetValue("AutoStart", "Enable"), QString());
    }
};

QTEST_GUILESS_MAIN(TestUserIniStore)
#include "tst_userinistore.moc"
