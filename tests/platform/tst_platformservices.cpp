#include "platform/AppPaths.h"
#include "platform/RegistryStore.h"
#include "support/TestHome.h"

#include <QDir>
#include <QFile>
#include <QSettings>
#include <QtTest>

class TestPlatformServices : public QObject
{
    Q_OBJECT
    TestHome home;
private slots:
    void userFoldersFollowHome()
    {
        QCOMPARE(AppPaths::UserDataFolder(), home.Path() + "/AppData/Local/Kestro plus");
        QCOMPARE(AppPaths::UserConfigFolder(), home.Path() + "/.config/Kestro plus");
        qputenv("XDG_CONFIG_HOME", (home.Path() + "/xdg").toLocal8Bit());
        QCOMPARE(AppPaths::UserConfigFolder(), home.Path() + "/xdg/Kestro plus");
        qunsetenv("XDG_CONFIG_HOME");
    }

    void programFolderCanBeSet()
    {
        const QString previous = AppPaths::ProgramFolder();
        AppPaths::SetProgramFolder("/opt/somewhere");
        QCOMPARE(AppPaths::ProgramFolder(), QString("/opt/somewhere"));
        AppPaths::SetProgramFolder(previous);
    }

    void registryKeyPathsBecomeGroups_data()
    {
        QTest::addColumn<QString>("keyPath");
        QTest::addColumn<QString>("group");
        QTest::newRow("program key") << "HKEY_CURRENT_USER\\Software\\Kestro plus\\Kestro plus\\Mouse Drive Test"
                                     << "Software/Kestro plus/Kestro plus/Mouse Drive Test";
        QTest::newRow("trailing backslash") << "HKEY_CURRENT_USER\\Software\\Kestro plus\\" << "Software/Kestro plus";
        QTest::newRow("no hive") << "Software\\Kestro plus" << "Software/Kestro plus";
    }
    void registryKeyPathsBecomeGroups()
    {
        QFETCH(QString, keyPath);
        QFETCH(QString, group);
        QCOMPARE(RegistryStore::GroupOf(keyPath), group);
    }

    // Values land in the ini file under the user's configuration folder, never in a stray file named
    // after the key in the working folder.
    void registryValuesKeptInUserConfig()
    {
        QTemporaryDir workingFolder;
        const QString previous = QDir::currentPath();
        QDir::setCurrent(workingFolder.path());

        RegistryStore key("HKEY_CURRENT_USER\\Software\\Kestro plus\\Kestro plus\\Mouse Drive Test");
        QVERIFY(!key.Contains("MouseVer1020"));
        key.SetValue("MouseVer1020", "v1.05");
        QVERIFY(key.Contains("MouseVer1020"));
        QCOMPARE(RegistryStore("HKEY_CURRENT_USER\\Software\\Kestro plus\\Kestro plus\\Mouse Drive Test")
                     .Value("MouseVer1020").toString(), QString("v1.05"));
        QCOMPARE(key.Value("Missing", "none").toString(), QString("none"));
        key.Remove("MouseVer1020");
        QVERIFY(!key.Contains("MouseVer1020"));

        QCOMPARE(RegistryStore::FilePath(), home.Path() + "/.config/Kestro plus/registry.ini");
        QVERIFY(QFile::exists(RegistryStore::FilePath()));
        QVERIFY(QDir(workingFolder.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries).isEmpty());
        QDir::setCurrent(previous);
    }
};

QTEST_GUILESS_MAIN(TestPlatformServices)
#include "tst_platformservices.moc"
