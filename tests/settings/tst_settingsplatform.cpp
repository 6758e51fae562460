#include "platform/AutoStartEntry.h"
#include "platform/DesktopMouseSettings.h"
#include "platform/UrlOpener.h"
#include "settings/DesktopEntryExec.h"
#include "settings/StandInProgram.h"
#include "support/TestHome.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

namespace {

QByteArray ReadAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}


} // namespace

// The services the settings page starts: the session's autostart entry, the desktop's own mouse
// settings and the web link.
class TestSettingsPlatform : public QObject
{
    Q_OBJECT
    TestHome home;
    QTemporaryDir config;
    QTemporaryDir bin;
    QByteArray savedPath;
    QByteArray savedDesktop;

private slots:
    void initTestCase()
    {
        qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());
        savedPath = qgetenv("PATH");
        savedDesktop = qgetenv("XDG_CURRENT_DESKTOP");
    }
    void init()
    {
        QDir(config.path()).removeRecursively();
        QDir().mkpath(config.path());
    }
    void cleanup()
    {
        qputenv("PATH", savedPath);
        qputenv("XDG_CURRENT_DESKTOP", savedDesktop);
        UrlOpener::SetOpener({});
    }

    void entryIsNamedAfterTheApplication()
    {
        QCOMPARE(AutoStartEntry::Folder(), config.path() + "/autostart");
        QCOMPARE(AutoStartEntry::Path(), config.path() + "/autostart/" + QCoreApplication::applicationName() + ".desktop");
    }

    void execGivesBackTheProgramPath_data()
    {
        QTest::addColumn<QString>("program");
        QTest::newRow("plain") << "/opt/KestroPlus/KestroPlus";
        QTest::newRow("space") << "/opt/Kestro plus/KestroPlus";
        QTest::newRow("space and quote") << "/home/o'brien/my \"mouse\" tools/KestroPlus";
        QTest::newRow("backslash") << "/opt/back\\slash/KestroPlus";
        QTest::newRow("dollar and backquote") << "/opt/$HOME/`date`/KestroPlus";
        QTest::newRow("percent") << "/opt/100%/%f/KestroPlus";
        QTest::newRow("reserved characters") << "/opt/a;b|c&d<e>f~(g)*?#/KestroPlus";
        QTest::newRow("tab") << "/opt/a\tb/KestroPlus";
    }
    void execGivesBackTheProgramPath()
    {
        QFETCH(QString, program);
        QVERIFY(AutoStartEntry::Write(program));
        const QString entry = QString::fromUtf8(ReadAll(AutoStartEntry::Path()));
        QVERIFY(entry.startsWith("[Desktop Entry]\n"));
        QVERIFY(entry.contains("\nType=Application\n"));
        QCOMPARE(SplitDesktopEntryExec(ExecOf(entry)), QStringList{program});
        QVERIFY(AutoStartEntry::Exists());
    }

    void rewritingReplacesTheEntryWhole()
    {
        QVERIFY(AutoStartEntry::Write("/opt/a/KestroPlus"));
        QVERIFY(AutoStartEntry::Write("/opt/b/KestroPlus"));
        const QString entry = QString::fromUtf8(ReadAll(AutoStartEntry::Path()));
        QCOMPARE(entry.count("Exec="), 1);
        QCOMPARE(SplitDesktopEntryExec(ExecOf(entry)), QStringList{"/opt/b/KestroPlus"});
        QCOMPARE(QDir(AutoStartEntry::Folder()).entryList(QDir::Files | QDir::Hidden), QStringList{QFileInfo(AutoStartEntry::Path()).fileName()});
    }

    void removingTouchesOnlyThisEntry()
    {
        QVERIFY(AutoStartEntry::Write("/opt/KestroPlus"));
        QFile other(AutoStartEntry::Folder() + "/other.desktop");
        QVERIFY(other.open(QIODevice::WriteOnly));
        other.write("[Desktop Entry]\nExec=other\n");
        other.close();
        QVERIFY(AutoStartEntry::Remove());
        QVERIFY(!AutoStartEntry::Exists());
        QVERIFY(QFileInfo::exists(other.fileName()));
        QCOMPARE(ReadAll(other.fileName()), QByteArray("[Desktop Entry]\nExec=other\n"));
        // Nothing to remove is no failure.
        QVERIFY(AutoStartEntry::Remove());
    }

    void unwritableFolderIsAFailure()
    {
        // A file where the folder should be stops any writer, whoever runs the test.
        QFile blocker(AutoStartEntry::Folder());
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        QVERIFY(!AutoStartEntry::Write("/opt/KestroPlus"));
        QVERIFY(!AutoStartEntry::Exists());
    }

    void unremovableEntryIsAFailure()
    {
        QVERIFY(QDir().mkpath(AutoStartEntry::Path() + "/held"));
        QVERIFY(!AutoStartEntry::Remove());
    }

    void mouseSettingsOfTheDesktop_data()
    {
        QTest::addColumn<QString>("desktop");
        QTest::addColumn<QStringList>("onPath");
        QTest::addColumn<QString>("program"); // empty: none
        QTest::addColumn<QStringList>("arguments");
        const QStringList mouse{"mouse"};
        QTest::newRow("GNOME") << "GNOME" << QStringList{"gnome-control-center"} << "gnome-control-center" << mouse;
        QTest::newRow("Ubuntu's GNOME") << "ubuntu:GNOME" << QStringList{"gnome-control-center"} << "gnome-control-center" << mouse;
        QTest::newRow("GNOME without its program") << "GNOME" << QStringList{"systemsettings"} << "" << QStringList{};
        QTest::newRow("Plasma 6") << "KDE" << QStringList{"systemsettings", "systemsettings5"} << "systemsettings" << QStringList{"kcm_mouse"};
        QTest::newRow("Plasma 5") << "KDE" << QStringList{"systemsettings5"} << "systemsettings5" << QStringList{"kcm_mouse"};
        QTest::newRow("Xfce") << "XFCE" << QStringList{"xfce4-mouse-settings"} << "xfce4-mouse-settings" << QStringList{};
        QTest::newRow("Cinnamon") << "X-Cinnamon" << QStringList{"cinnamon-settings"} << "cinnamon-settings" << mouse;
        QTest::newRow("MATE") << "MATE" << QStringList{"mate-mouse-properties"} << "mate-mouse-properties" << QStringList{};
        QTest::newRow("LXQt") << "LXQt" << QStringList{"lxqt-config-input"} << "lxqt-config-input" << QStringList{};
        QTest::newRow("Budgie falls back") << "Budgie:GNOME" << QStringList{"gnome-control-center"} << "gnome-control-center" << mouse;
        QTest::newRow("case of the name") << "gnome" << QStringList{"gnome-control-center"} << "gnome-control-center" << mouse;
        QTest::newRow("unknown desktop") << "Hyprland" << QStringList{"gnome-control-center"} << "" << QStringList{};
        QTest::newRow("no desktop") << "" << QStringList{"gnome-control-center"} << "" << QStringList{};
    }
    void mouseSettingsOfTheDesktop()
    {
        QFETCH(QString, desktop);
        QFETCH(QStringList, onPath);
        QFETCH(QString, program);
        QFETCH(QStringList, arguments);
        QTemporaryDir folder;
        for (const QString& name : onPath)
            WriteStandInProgram(folder.filePath(name), folder.filePath("record"));
        qputenv("PATH", folder.path().toLocal8Bit());
        qputenv("XDG_CURRENT_DESKTOP", desktop.toLocal8Bit());
        const DesktopMouseSettings::Command found = DesktopMouseSettings::Find();
        QCOMPARE(found.program, program.isEmpty() ? QString() : folder.filePath(program));
        QCOMPARE(found.arguments, arguments);
        QCOMPARE(DesktopMouseSettings::Available(), !program.isEmpty());
    }

    void mouseSettingsStartAtTheMousePage()
    {
        QTemporaryDir folder;
        WriteStandInProgram(folder.filePath("gnome-control-center"), folder.filePath("record"));
        qputenv("PATH", folder.path().toLocal8Bit());
        qputenv("XDG_CURRENT_DESKTOP", "GNOME");
        QVERIFY(DesktopMouseSettings::Open());
        QVERIFY(QTest::qWaitFor([&] { return QFileInfo::exists(folder.filePath("record")); }, 10000));
        QCOMPARE(ReadAll(folder.filePath("record")), QByteArray("mouse\n"));
    }

    void noMouseSettingsStartsNothing()
    {
        QTemporaryDir folder;
        qputenv("PATH", folder.path().toLocal8Bit());
        qputenv("XDG_CURRENT_DESKTOP", "GNOME");
        QVERIFY(!DesktopMouseSettings::Open());
    }

    void linkGoesThroughTheSeam_data()
    {
        QTest::addColumn<bool>("opened");
        QTest::newRow("opened") << true;
        QTest::newRow("refused") << false;
    }
    void linkGoesThroughTheSeam()
    {
        QFETCH(bool, opened);
        QList<QUrl> asked;
        UrlOpener::SetOpener([&](const QUrl& url) {
            asked << url;
            return opened;
        });
        QCOMPARE(UrlOpener::Open(QUrl("https://example.com/kestro")), opened);
        QCOMPARE(asked, QList<QUrl>{QUrl("https://example.com/kestro")});
    }
};

QTEST_MAIN(TestSettingsPlatform)
#include "tst_settingsplatform.moc"
