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
    // The desktop's data and config homes, each ignored when empty or relative; "~" stands for HOME.
    void userFoldersFollowTheDesktop_data()
    {
        QTest::addColumn<QString>("dataHome");
        QTest::addColumn<QString>("configHome");
        QTest::addColumn<QString>("dataFolder");
        QTest::addColumn<QString>("configFolder");
        const QString unset;
        QTest::newRow("HOME only") << unset << unset << "~/.local/share/Kestro plus" << "~/.config/Kestro plus";
        QTest::newRow("data home set") << "~/data" << unset << "~/data/Kestro plus" << "~/.config/Kestro plus";
        QTest::newRow("config home set") << unset << "~/conf" << "~/.local/share/Kestro plus" << "~/conf/Kestro plus";
        QTest::newRow("both set") << "~/data" << "~/conf" << "~/data/Kestro plus" << "~/conf/Kestro plus";
        QTest::newRow("data home relative") << "data" << unset << "~/.local/share/Kestro plus"
                                            << "~/.config/Kestro plus";
        QTest::newRow("both relative") << "./data" << "conf/x" << "~/.local/share/Kestro plus"
                                       << "~/.config/Kestro plus";
        QTest::newRow("both empty") << "" << "" << "~/.local/share/Kestro plus" << "~/.config/Kestro plus";
    }
    void userFoldersFollowTheDesktop()
    {
        QFETCH(QString, dataHome);
        QFETCH(QString, configHome);
        QFETCH(QString, dataFolder);
        QFETCH(QString, configFolder);
        const auto expand = [this](QString path) { return path.replace(QLatin1Char('~'), home.Path()); };
        const auto set = [&](const char* name, const QString& value) {
            if (value.isNull())
                qunsetenv(name);
            else
                qputenv(name, QFile::encodeName(expand(value)));
        };
        set("XDG_DATA_HOME", dataHome);
        set("XDG_CONFIG_HOME", configHome);
        const QString data = AppPaths::UserDataFolder();
        const QString config = AppPaths::UserConfigFolder();
        qunsetenv("XDG_DATA_HOME");
        qunsetenv("XDG_CONFIG_HOME");
        QCOMPARE(data, expand(dataFolder));
        QCOMPARE(config, expand(configFolder));
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
