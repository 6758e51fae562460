// A per-user folder that cannot be written: the program's own settings (device caches, preferences,
// the registry stand-in) are not kept, the user is told once per run which folder it is, and the
// mouse still gets every setting written to it.
#include "app/StartUp.h"
#include "device/DeviceInfoCache.h"
#include "device/DeviceParamSetters.h"
#include "device/DeviceState.h"
#include "device/UserIniStore.h"
#include "pages/buttons/Buttoninterface.h"
#include "platform/AppPaths.h"
#include "platform/AutoStartEntry.h"
#include "platform/IniFile.h"
#include "platform/RegistryStore.h"
#include "platform/UserFileWrites.h"
#include "platform/WholeFileWrite.h"
#include "support/FileSizeLimit.h"
#include "support/SimulatedDeviceFixture.h"
#include "support/TestHome.h"
#include "widgets/FileNotices.h"
#include "widgets/UiText.h"
#include "widgets/UiTextTables.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QWidget>
#include <QtTest>

#include <unistd.h>

namespace {

// Makes path a plain file where a folder should be: no user, not even the administrator, can
// write below it.
bool ReplaceWithFile(const QString& path)
{
    QDir(path).removeRecursively();
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write("not a folder") > 0;
}

void MakeFolder(const QString& path)
{
    QFile::remove(path);
    QDir().mkpath(path);
}

QList<FileNotices*> OpenNotices()
{
    QList<FileNotices*> open;
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (auto* notice = qobject_cast<FileNotices*>(widget); notice && notice->isVisible())
            open << notice;
    }
    return open;
}

} // namespace

class TestUnkeptSettings : public QObject
{
    Q_OBJECT
    TestHome home;
    SimulatedDevices* devices = nullptr;

    // What the program writes of its own in a session: the cache of the device on the way out,
    // the language, the mouse version in the registry.
    static void WriteProgramSettings()
    {
        WriteDeviceInfoCache(DeviceCacheFileName(28, 34), DeviceConfigSnapshot());
        UserIniStore::Instance()->SetValue(QStringLiteral("Language"), QStringLiteral("Language"), QStringLiteral("2"));
        RegistryStore(QStringLiteral("HKEY_CURRENT_USER\\Software\\Kestro plus\\Mouse Drive Test"))
            .SetValue(QStringLiteral("MouseVer2834"), QStringLiteral("v1.02"));
    }

private slots:
    void initTestCase()
    {
        home.MakeUserFolders();
        UiTextTables::Instance()->LoadUiTextTables();
        devices = new SimulatedDevices;
    }
    void cleanupTestCase()
    {
        UsbServer_Exit();
        delete devices;
    }
    void init()
    {
        MakeFolder(AppPaths::UserConfigFolder());
        MakeFolder(AppPaths::UserDataFolder());
        home.MakeUserFolders();
        UserFileWrites::Instance()->Forget();
        UiLanguage = 0;
    }
    void cleanup()
    {
        for (FileNotices* notice : OpenNotices())
            delete notice;
    }

    // A full disk (or a file size limit): no file is left cut short while the write reports success.
    // Every file, the settings files too, is written whole and keeps its old contents.
    void fullDiskCutsNoFileShortSilently_data()
    {
        QTest::addColumn<QString>("file");
        QTest::newRow("device cache") << "cache";
        QTest::newRow("autostart entry") << "autostart";
        QTest::newRow("configuration export") << "export";
        QTest::newRow("registry") << "registry";
        QTest::newRow("settings file") << "settings";
    }
    void fullDiskCutsNoFileShortSilently()
    {
        QFETCH(QString, file);
        const QString cache = DeviceCacheFileName(28, 34);
        FlashDataMap before{};
        for (std::size_t i = 0; i < sizeof before; ++i)
            before.bytes()[i] = uint8_t(i * 5 + 1);
        QVERIFY(WriteDeviceInfoCache(cache, before));
        QVERIFY(AutoStartEntry::Write(QStringLiteral("/opt/kestro/KestroPlus")));
        QFile entryFile(AutoStartEntry::Path());
        QVERIFY(entryFile.open(QIODevice::ReadOnly));
        const QByteArray entryBefore = entryFile.readAll();
        entryFile.close();
        // A settings file of its own, written as the preferences write theirs.
        const QString settingsPath =
            home.Path() + QStringLiteral("/") + QString::fromLatin1(QTest::currentDataTag()) + QStringLiteral(".ini");
        IniFile::Values settings;
        for (int i = 0; i < 8; ++i)
            settings.insert(QStringLiteral("Kept/Key%1").arg(i), QStringLiteral("value %1").arg(i));
        QVERIFY(IniFile::Write(settingsPath, settings, "UTF-8"));
        QFile settingsFile(settingsPath);
        QVERIFY(settingsFile.open(QIODevice::ReadOnly));
        const QByteArray settingsBefore = settingsFile.readAll();
        settingsFile.close();
        RegistryStore registry(QStringLiteral("HKEY_CURRENT_USER\\Software\\Kestro plus\\Mouse Drive Test"));
        for (int i = 0; i < 4; ++i)
            registry.SetValue(QStringLiteral("MouseVer28%1").arg(i), QStringLiteral("v1.0%1").arg(i));
        const QString exportPath = home.Path() + QStringLiteral("/export.bin");
        UserFileWrites::Instance()->Forget();

        FlashDataMap after = before;
        after.reportRate = uint8_t(before.reportRate + 1);
        bool written = true;
        {
            // Room for a part of each file: Qt's settings then write what fits and report no error.
            FileSizeLimit fullDisk(100);
            QVERIFY(fullDisk.Active());
            if (file == QLatin1String("cache")) {
                written = WriteDeviceInfoCache(cache, after);
            } else if (file == QLatin1String("autostart")) {
                written = AutoStartEntry::Write(QStringLiteral("/opt/kestro/an/other/folder/KestroPlus"));
            } else if (file == QLatin1String("export")) {
                written = Buttoninterface::WriteConfigFile(exportPath, after);
            } else if (file == QLatin1String("settings")) {
                settings.insert(QStringLiteral("Language/Language"), QStringLiteral("1"));
                written = IniFile::Write(settingsPath, settings, "UTF-8");
            } else {
                registry.SetValue(QStringLiteral("MouseVer2834"), QStringLiteral("v1.02"));
            }
        }

        if (file == QLatin1String("cache")) {
            QVERIFY(!written);
            FlashDataMap kept{};
            QVERIFY(ReadDeviceInfoCache(cache, &kept));
            QCOMPARE(QByteArray(reinterpret_cast<const char*>(kept.bytes()), sizeof kept),
                     QByteArray(reinterpret_cast<const char*>(before.bytes()), sizeof before));
        } else if (file == QLatin1String("autostart")) {
            QVERIFY(!written);
            QVERIFY(entryFile.open(QIODevice::ReadOnly));
            QCOMPARE(entryFile.readAll(), entryBefore);
        } else if (file == QLatin1String("export")) {
            QVERIFY(!written);
            QVERIFY(!QFile::exists(exportPath));
        }
        // The program's own files: the user hears of it.
        if (file == QLatin1String("cache") || file == QLatin1String("registry"))
            QVERIFY(UserFileWrites::Instance()->FailureCount() >= 1);
        if (file == QLatin1String("settings")) {
            QVERIFY(!written);
            QVERIFY(settingsFile.open(QIODevice::ReadOnly));
            QCOMPARE(settingsFile.readAll(), settingsBefore);
        }
        QVERIFY(QDir(DeviceCacheFolder()).entryList(QDir::Files | QDir::Hidden).filter(QStringLiteral(".bin.")).isEmpty());
    }

    void oneNoticeAndTheMouseStillWritten_data()
    {
        QTest::addColumn<QString>("broken");
        QTest::newRow("nothing broken") << QString();
        QTest::newRow("config folder is a file") << "config";
        QTest::newRow("data folder is a file") << "data";
        QTest::newRow("both") << "both";
    }
    void oneNoticeAndTheMouseStillWritten()
    {
        QFETCH(QString, broken);
        const QString data = AppPaths::UserDataFolder();
        const QString config = AppPaths::UserConfigFolder();
        if (broken == QLatin1String("data") || broken == QLatin1String("both"))
            QVERIFY(ReplaceWithFile(data));
        if (broken == QLatin1String("config") || broken == QLatin1String("both"))
            QVERIFY(ReplaceWithFile(config));

        QWidget window;
        window.resize(1000, 700);
        window.show();
        FileNotices::WatchSettingsWrites(&window);

        FlashDataMap expected{};
        const int mouse = devices->OpenWiredMouse(&expected);
        QVERIFY(mouse >= 0);
        // Twice over, with a setting of the mouse in between: still one notice.
        WriteProgramSettings();
        QVERIFY(SetDeviceReportRate(2));
        expected.reportRate = 2;
        WriteProgramSettings();
        QVERIFY(SimControl_WaitIdle(2000));
        QCOMPARE(devices->RecordDifferences(mouse, expected), QString());
        QCoreApplication::processEvents();
        QCoreApplication::processEvents();

        const QList<FileNotices*> notices = OpenNotices();
        if (broken.isEmpty()) {
            QCOMPARE(notices.size(), 0);
            QCOMPARE(UserFileWrites::Instance()->FailureCount(), 0);
            QVERIFY(ReadDeviceInfoCache(DeviceCacheFileName(28, 34), &expected));
            return;
        }
        QCOMPARE(notices.size(), 1);
        // The folder of the first write that failed: the cache lies in the data folder.
        const QString folder = broken == QLatin1String("config") ? config : data;
        QCOMPARE(notices.first()->Text(), FileNotices::SettingsNotKeptText(0, folder));
        QVERIFY(notices.first()->Text().contains(QDir::toNativeSeparators(folder)));
        QVERIFY(notices.first()->isModal());
        QVERIFY(UserFileWrites::Instance()->FailureCount() >= 2);
        for (int language : {1, 2}) {
            const QString text = FileNotices::SettingsNotKeptText(language, folder);
            QVERIFY(text.contains(QDir::toNativeSeparators(folder)));
            QVERIFY(text != FileNotices::SettingsNotKeptText(0, folder));
        }
    }

    // Start-up makes the per-user folders before any window: a folder it could not make is told
    // as soon as the window watches.
    void startUpFailureIsToldWhenTheWindowShows()
    {
        QDir(AppPaths::UserDataFolder()).removeRecursively();
        // The data home itself is a file: nothing can be made below it.
        const QString dataHome = QFileInfo(AppPaths::UserDataFolder()).absolutePath();
        const QString saved = dataHome + QStringLiteral(".saved");
        QVERIFY(QDir().rename(dataHome, saved));
        QVERIFY(ReplaceWithFile(dataHome));
        StartUp::MakeUserFolders();
        StartUp::CreateEmptyPreferences();
        QCOMPARE(UserFileWrites::Instance()->FailedFolder(), AppPaths::UserDataFolder());

        QWidget window;
        window.show();
        FileNotices::WatchSettingsWrites(&window);
        QCOMPARE(OpenNotices().size(), 1);
        WriteProgramSettings();
        QCoreApplication::processEvents();
        QCOMPARE(OpenNotices().size(), 1);

        QVERIFY(QFile::remove(dataHome));
        QVERIFY(QDir().rename(saved, dataHome));
    }

    // A folder without write permission (the administrator writes anyway, so only for a user).
    void readOnlyFolder()
    {
        if (geteuid() == 0)
            QSKIP("the administrator writes to read-only folders");
        const QString cacheFolder = DeviceCacheFolder();
        QVERIFY(QFile::setPermissions(cacheFolder, QFile::ReadOwner | QFile::ExeOwner));
        QVERIFY(!WriteDeviceInfoCache(DeviceCacheFileName(28, 34), DeviceConfigSnapshot()));
        QVERIFY(QFile::setPermissions(cacheFolder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
        QCOMPARE(UserFileWrites::Instance()->FailedFolder(), AppPaths::UserDataFolder());
    }
};

QTEST_MAIN(TestUnkeptSettings)
#include "tst_unkeptsettings.moc"
