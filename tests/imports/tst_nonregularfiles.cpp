#include "app/StartUp.h"
#include "device/ConfigSetting.h"
#include "device/DeviceInfoCache.h"
#include "device/UserIniStore.h"
#include "platform/AppPaths.h"
#include "platform/RegistryStore.h"
#include "platform/RegularFile.h"
#include "platform/hidusb/SimControl.h"
#include "support/FifoFeeder.h"
#include "support/TestHome.h"

#include <QApplication>
#include <QDataStream>
#include <QDirIterator>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <iostream>
#include <string>
#include <sys/stat.h>

namespace {

// ---- the child: the program itself, started by StartUp::Run with a program folder of the test ----

bool childProgram = false;

// Says "ready" once the program's window shows with no notice over it (its quit on SIGTERM is in
// place by then), and closes every notice it meets, naming it.
void WatchChildProgram()
{
    if (!childProgram || !qobject_cast<QApplication*>(QCoreApplication::instance()))
        return;
    auto* poll = new QTimer(QCoreApplication::instance());
    QObject::connect(poll, &QTimer::timeout, [] {
        static bool ready = false;
        if (QWidget* modal = QApplication::activeModalWidget()) {
            std::cout << "notice " << modal->metaObject()->className() << std::endl;
            modal->close();
            return;
        }
        if (ready)
            return;
        for (QWidget* window : QApplication::topLevelWidgets()) {
            if (window->isVisible() && window->inherits("DialogMain")) {
                ready = true;
                std::cout << "ready" << std::endl;
            }
        }
    });
    poll->start(50);
}

// Every file of the shipped program folder as a link in `folder`, the pictures as one link.
bool LinkProgramFolder(const QString& shipped, const QString& folder)
{
    QDirIterator files(shipped, QDir::Files | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
    while (files.hasNext()) {
        const QString file = files.next();
        const QString relative = QDir(shipped).relativeFilePath(file);
        if (relative.startsWith(QLatin1String("Picture/")))
            continue;
        const QString target = folder + QLatin1Char('/') + relative;
        if (!QDir().mkpath(QFileInfo(target).path()) || !QFile::link(file, target))
            return false;
    }
    return QFile::link(shipped + QStringLiteral("/Picture"), folder + QStringLiteral("/Picture"));
}

} // namespace

Q_COREAPP_STARTUP_FUNCTION(WatchChildProgram)

// Only regular files are read: a FIFO (or anything else that is not a file) where the program
// expects one of its files is treated as a missing file, never opened.
class TestNonRegularFiles : public QObject
{
    Q_OBJECT
    TestHome home;

private slots:
    void initTestCase() { home.MakeUserFolders(); }

    void regularFileCheck()
    {
        QTemporaryDir folder;
        const QString file = folder.filePath("file");
        QFile made(file);
        QVERIFY(made.open(QIODevice::WriteOnly));
        made.close();
        QVERIFY(IsRegularFile(file));
        QVERIFY(QFile::link(file, folder.filePath("link")));
        QVERIFY(IsRegularFile(folder.filePath("link")));
        QVERIFY(QFile::link(folder.filePath("nothing"), folder.filePath("dangling")));
        QVERIFY(!IsRegularFile(folder.filePath("dangling")));
        QVERIFY(!IsRegularFile(folder.path()));
        QVERIFY(!IsRegularFile(folder.filePath("nothing")));
        QVERIFY(!IsRegularFile(QString()));
        QVERIFY(!IsRegularFile("/dev/null"));
        QCOMPARE(::mkfifo(QFile::encodeName(folder.filePath("fifo")).constData(), 0600), 0);
        QVERIFY(!IsRegularFile(folder.filePath("fifo")));
        // A settings store reads a missing file as empty and writes it; anything else is left alone.
        QCOMPARE(SettingsFilePath(file), file);
        QCOMPARE(SettingsFilePath(folder.filePath("nothing")), folder.filePath("nothing"));
        QCOMPARE(SettingsFilePath(folder.filePath("fifo")), QString());
        QCOMPARE(SettingsFilePath(folder.path()), QString());
    }

    // Each reader, handed a FIFO that would give it a good file, reads nothing.
    void deviceCacheFifoIsNotRead()
    {
        FlashDataMap record{};
        record.reportRate = 8;
        QByteArray content;
        QDataStream stream(&content, QIODevice::WriteOnly);
        stream.writeBytes(reinterpret_cast<const char*>(record.bytes()), uint(sizeof record));
        const QString name = QStringLiteral("Device_CID1C_MID12.bin");
        FifoFeeder fifo(DeviceCacheFolder() + name, content);
        QVERIFY(fifo.Made());
        FlashDataMap out{};
        QVERIFY(!ReadDeviceInfoCache(name, &out));
        QCOMPARE(out.reportRate, uint8_t(0));
    }

    void registryFifoIsNotRead()
    {
        QDir().mkpath(AppPaths::UserConfigFolder());
        FifoFeeder fifo(RegistryStore::FilePath(), "[Software]\nUpdateFailInfo=fed\n");
        QVERIFY(fifo.Made());
        RegistryStore store(QStringLiteral("HKEY_CURRENT_USER\\Software"));
        QCOMPARE(store.Value("UpdateFailInfo", "none").toString(), QString("none"));
        QVERIFY(!store.Contains("UpdateFailInfo"));
        // A write keeps nothing and leaves the FIFO as it is.
        store.SetValue("UpdateFailInfo", "written");
        QCOMPARE(store.Value("UpdateFailInfo", "none").toString(), QString("none"));
        QVERIFY(QFileInfo(RegistryStore::FilePath()).exists() && !IsRegularFile(RegistryStore::FilePath()));
    }

    void storesTakeNothingFromFifos()
    {
        // The two stores are made on first use: here, with FIFOs at their files.
        QTemporaryDir programFolder;
        QDir().mkpath(programFolder.filePath("usersetting"));
        AppPaths::SetProgramFolder(programFolder.path());
        FifoFeeder models(programFolder.filePath("usersetting/Config.ini"), "[Option]\nDeviceTotal=2\n");
        FifoFeeder preferences(AppPaths::UserDataFolder() + "/Macro.ini", "[Language]\nLanguage=2\n");
        QVERIFY(models.Made() && preferences.Made());
        QCOMPARE(ConfigSetting::Instance()->GetValue("Option", "DeviceTotal"), QString());
        QCOMPARE(UserIniStore::Instance()->GetValue("Language", "Language"), QString());
        QCOMPARE(UserIniStore::Instance()->Language(), 0);
    }

    void simulatedDescriptionFifoIsNotRead()
    {
        QFile shipped(QString::fromLocal8Bit(qgetenv("KESTRO_PROGRAM_DIR")) + "/simulated/devices.ini");
        QVERIFY(shipped.open(QIODevice::ReadOnly));
        QTemporaryDir folder;
        const QString path = folder.filePath("devices.ini");
        {
            FifoFeeder fifo(path, shipped.readAll());
            QVERIFY(fifo.Made());
            SimControl_Reset(QFile::encodeName(path).constData(), QFile::encodeName(folder.filePath("flash")).constData());
            QCOMPARE(SimControl_DeviceCount(), 0);
        }
        // The same description as a file describes devices.
        QVERIFY(shipped.copy(path));
        SimControl_Reset(QFile::encodeName(path).constData(), QFile::encodeName(folder.filePath("flash")).constData());
        QVERIFY(SimControl_DeviceCount() > 0);
        SimControl_Reset("", "");
    }

    // The program, with a FIFO at one of the files it reads at start-up or at quit, shows its window
    // (after any notice) and quits on SIGTERM. The limits only end a run that hangs.
    void programStartsAndQuits_data()
    {
        QTest::addColumn<QString>("where");
        QTest::addColumn<QString>("file");
        QTest::newRow("model list") << "program" << "usersetting/Config.ini";
        QTest::newRow("English texts") << "program" << "Language/en.json";
        QTest::newRow("Chinese texts") << "program" << "Language/zh-CN.json";
        QTest::newRow("Russian texts") << "program" << "Language/ru.json";
        QTest::newRow("labels") << "program" << "Language/Net.xml";
        QTest::newRow("sensor header") << "program" << "driver_sensor.h";
        QTest::newRow("firmware image") << "program" << "bin/Kestro.bin";
        QTest::newRow("preferences") << "user" << "Macro.ini";
        QTest::newRow("DPI level count") << "user" << "usersetting/SensorPage/Level.ini";
        QTest::newRow("device cache") << "user" << "Device_Info/Device_CID1C_MID12.bin";
        QTest::newRow("registry") << "config" << "registry.ini";
        QTest::newRow("single-instance lock") << "user" << AppPaths::ProductName() + ".lock";
    }
    void programStartsAndQuits()
    {
        QFETCH(QString, where);
        QFETCH(QString, file);
        QTemporaryDir childHome;
        QTemporaryDir programFolder;
        QVERIFY(LinkProgramFolder(QString::fromLocal8Bit(qgetenv("KESTRO_PROGRAM_DIR")), programFolder.path()));
        const QString userFolder = childHome.path() + "/.local/share/" + AppPaths::ProductName();
        const QString base = where == "program" ? programFolder.path()
                           : where == "user"    ? userFolder
                                                : childHome.path() + "/.config/" + AppPaths::ProductName();
        const QString fifo = base + QLatin1Char('/') + file;
        QVERIFY(QDir().mkpath(QFileInfo(fifo).path()));
        QFile::remove(fifo);
        QCOMPARE(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);

        QProcess child;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("HOME", childHome.path());
        environment.remove("XDG_CONFIG_HOME");
        environment.remove("XDG_DATA_HOME");
        // The single-instance lock of Qt's shared memory lives in the temporary folder: other
        // tests starting the program meanwhile are other users' copies, not this one's.
        environment.insert("TMPDIR", childHome.path());
        child.setProcessEnvironment(environment);
        child.setProcessChannelMode(QProcess::SeparateChannels);
        child.start(QCoreApplication::applicationFilePath(), {"--child-program", programFolder.path()});
        QVERIFY(child.waitForStarted(60000));
        QStringList said;
        while (!said.contains("ready")) {
            if (!child.canReadLine() && !child.waitForReadyRead(60000))
                break;
            while (child.canReadLine())
                said << QString::fromLocal8Bit(child.readLine()).trimmed();
        }
        const bool ready = said.contains("ready");
        if (ready)
            child.terminate();
        const bool ended = child.waitForFinished(60000);
        if (!ended)
            child.kill();
        child.waitForFinished(10000);
        QVERIFY2(ready, qPrintable(said.join(", ") + " | " + QString::fromLocal8Bit(child.readAllStandardError())));
        QVERIFY(ended);
        QCOMPARE(child.exitStatus(), QProcess::NormalExit);
        QCOMPARE(child.exitCode(), 0);
        // The FIFO is still what it was: nothing replaced or removed it.
        QVERIFY(QFileInfo::exists(fifo) && !IsRegularFile(fifo));
    }
};

int main(int argc, char* argv[])
{
    if (argc > 2 && std::string(argv[1]) == "--child-program") {
        childProgram = true;
        AppPaths::SetProgramFolder(QString::fromLocal8Bit(argv[2]));
        return StartUp::Run(argc, argv);
    }
    QApplication application(argc, argv);
    TestNonRegularFiles test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_nonregularfiles.moc"
