#include "app/CrashHandler.h"
#include "app/StartUp.h"
#include "platform/ScreenInfo.h"
#include "support/TestHome.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDirIterator>
#include <QLabel>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolTip>
#include <QtTest>

#include <csignal>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <string>
#include <sys/resource.h>
#include <thread>
#include <unistd.h>

namespace {

// ---- the child processes the tests start: the test binary run with a mode argument ----

// Takes the lock, says so, then holds it until killed or told to go on stdin.
int HoldLock(const QString& key)
{
    const bool running = StartUp::AnotherCopyRuns(key);
    std::cout << (running ? "running" : "locked") << std::endl;
    std::string line;
    std::getline(std::cin, line);
    return 0;
}

int ProbeLock(const QString& key)
{
    std::cout << (StartUp::AnotherCopyRuns(key) ? "running" : "free") << std::endl;
    return 0;
}

// The start's own check: says which notice a refused start showed, or that it went on.
int StartCopy(int argc, char* argv[], const QString& key)
{
    QApplication application(argc, argv);
    QStringList shown;
    QTimer closer;
    QObject::connect(&closer, &QTimer::timeout, [&shown] {
        if (QWidget* modal = QApplication::activeModalWidget()) {
            shown << QString::fromLatin1(modal->metaObject()->className());
            modal->close();
        }
    });
    closer.start(5);
    const bool refused = StartUp::RefuseSecondCopy(key);
    std::cout << (refused ? "refused" : "started") << ' ' << shown.join(',').toStdString() << std::endl;
    return 0;
}

[[noreturn]] void CrashBy(const std::string& how)
{
    if (how == "segv") {
        volatile uintptr_t address = 8;
        *reinterpret_cast<volatile int*>(address) = 1;
    } else if (how == "abort") {
        std::abort();
    } else if (how == "fpe") {
        // Raised, not divided: the undefined-behaviour checker would stop a division by zero first.
        raise(SIGFPE);
    } else if (how == "ill") {
        __builtin_trap();
    } else if (how == "bus") {
        raise(SIGBUS);
    } else if (how == "thread") {
        std::thread([] {
            volatile uintptr_t address = 8;
            *reinterpret_cast<volatile int*>(address) = 1;
        }).join();
    }
    std::_Exit(3);
}

int Crash(const std::string& how)
{
    // No core file of the deliberate crash.
    struct rlimit noCore = {0, 0};
    setrlimit(RLIMIT_CORE, &noCore);
    (new CrashHandler)->Install();
    CrashBy(how);
}

// A window that says when it is closed; the program's window quits from its close.
class ClosingWindow : public QWidget
{
protected:
    void closeEvent(QCloseEvent* event) override
    {
        std::cout << "closed" << std::endl;
        QWidget::closeEvent(event);
    }
};

int EndOnSignal(int argc, char* argv[])
{
    QApplication application(argc, argv);
    ClosingWindow window;
    StartUp::CloseOnTerminationSignals(&window);
    window.show();
    std::cout << "ready" << std::endl;
    const int code = application.exec();
    std::cout << "ended" << std::endl;
    return code;
}

int ChildMain(int argc, char* argv[])
{
    const std::string mode = argv[1];
    const QString argument = argc > 2 ? QString::fromLocal8Bit(argv[2]) : QString();
    if (mode == "--child-hold")
        return HoldLock(argument);
    if (mode == "--child-probe")
        return ProbeLock(argument);
    if (mode == "--child-start")
        return StartCopy(argc, argv, argument);
    if (mode == "--child-window")
        return EndOnSignal(argc, argv);
    if (mode == "--child-crash")
        return Crash(argc > 2 ? argv[2] : "");
    return 2;
}

} // namespace

// Start-up on a temporary HOME: folders, old files, scaling, the single-instance lock, crash dumps.
class TestStartUp : public QObject
{
    Q_OBJECT
    TestHome home;
    QString lockKey;

    static QString DataFolder() { return AppPaths::UserDataFolder(); }

    QProcess* StartChild(const QStringList& arguments, const QString& temporaryFolder = QString())
    {
        auto* child = new QProcess(this);
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("HOME", home.Path());
        if (!temporaryFolder.isEmpty())
            environment.insert("TMPDIR", temporaryFolder);
        child->setProcessEnvironment(environment);
        child->start(QCoreApplication::applicationFilePath(), arguments);
        return child;
    }
    QString ReadLine(QProcess* child)
    {
        while (!child->canReadLine()) {
            if (!child->waitForReadyRead(30000))
                return QStringLiteral("<no answer>");
        }
        return QString::fromLocal8Bit(child->readLine()).trimmed();
    }
    QString Probe(const QString& temporaryFolder = QString())
    {
        QProcess* probe = StartChild({"--child-probe", lockKey}, temporaryFolder);
        const QString answer = ReadLine(probe);
        probe->waitForFinished(30000);
        return answer;
    }

private slots:
    void initTestCase()
    {
        // A key of this run only: a copy of the program or another test run keeps its own lock.
        lockKey = QStringLiteral("Kestro plus test %1").arg(QCoreApplication::applicationPid());
        // The program makes its folders before it takes the lock.
        StartUp::MakeUserFolders();
    }

    void foldersAndPreferences()
    {
        StartUp::MakeUserFolders();
        StartUp::CreateEmptyPreferences();
        for (const char* folder : {"/Log", "/Device_Info", "/Exception", "/usersetting", "/usersetting/MainPage",
                                   "/usersetting/MacroPage", "/usersetting/SensorPage"})
            QVERIFY2(QFileInfo(DataFolder() + folder).isDir(), folder);
        QFile preferences(DataFolder() + "/Macro.ini");
        QVERIFY(preferences.exists());
        QCOMPARE(preferences.size(), 0);

        // A second start keeps what the user has.
        QVERIFY(preferences.open(QIODevice::WriteOnly));
        preferences.write("[Language]\nLanguage=2\n");
        preferences.close();
        QFile keep(DataFolder() + "/usersetting/MacroPage/Mine.ini");
        QVERIFY(keep.open(QIODevice::WriteOnly));
        keep.write("1\n");
        keep.close();
        StartUp::MakeUserFolders();
        StartUp::CreateEmptyPreferences();
        QCOMPARE(QFileInfo(DataFolder() + "/Macro.ini").size(), qint64(strlen("[Language]\nLanguage=2\n")));
        QCOMPARE(QFileInfo(keep.fileName()).size(), qint64(2));
    }

    void oldFilesRemoved_data()
    {
        QTest::addColumn<qint64>("ageSeconds");
        QTest::addColumn<bool>("removed");
        const qint64 day = 86400;
        QTest::newRow("an hour") << qint64(3600) << false;
        QTest::newRow("7 days") << 7 * day << false;
        QTest::newRow("7 days and 23 hours") << 7 * day + 23 * 3600 << false;
        QTest::newRow("8 days") << 8 * day << true;
        QTest::newRow("a year") << 365 * day << true;
        QTest::newRow("a minute in the future") << qint64(-60) << true;
        QTest::newRow("a day in the future") << -day << true;
        QTest::newRow("30 years in the future") << -30 * 365 * day << true;
    }
    void oldFilesRemoved()
    {
        QFETCH(qint64, ageSeconds);
        QFETCH(bool, removed);
        QTemporaryDir folder;
        const QDateTime now = QDateTime::currentDateTime();
        QFile file(folder.filePath("Kestro.log"));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("log");
        QVERIFY(file.flush());
        QVERIFY(file.setFileTime(now.addSecs(-ageSeconds), QFileDevice::FileModificationTime));
        file.close();
        // A folder of the same age is never touched, nor what it holds.
        QVERIFY(QDir(folder.path()).mkdir("Old"));
        QFile inner(folder.filePath("Old/inner.txt"));
        QVERIFY(inner.open(QIODevice::WriteOnly));
        QVERIFY(inner.setFileTime(now.addSecs(-30 * 86400), QFileDevice::FileModificationTime));
        inner.close();

        QCOMPARE(StartUp::RemoveOldFiles(folder.path(), now), removed ? 1 : 0);
        QCOMPARE(QFile::exists(file.fileName()), !removed);
        QVERIFY(QFile::exists(inner.fileName()));
    }

    void oldFilesRemovedInOnePass()
    {
        QTemporaryDir folder;
        const QDateTime now = QDateTime::currentDateTime();
        for (int i = 0; i < 5; ++i) {
            QFile file(folder.filePath(QString("%1.dmp").arg(i)));
            QVERIFY(file.open(QIODevice::WriteOnly));
            QVERIFY(file.setFileTime(now.addDays(i < 3 ? -9 - i : -1), QFileDevice::FileModificationTime));
        }
        QCOMPARE(StartUp::RemoveOldFiles(folder.path(), now), 3);
        QCOMPARE(QDir(folder.path()).entryList(QDir::Files), QStringList({"3.dmp", "4.dmp"}));
        QCOMPARE(StartUp::RemoveOldFiles(folder.path() + "/missing", now), 0);
    }

    void scaleFactor_data()
    {
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("factor");
        QTest::newRow("1366") << 1366 << 0;
        QTest::newRow("1920") << 1920 << 0;
        QTest::newRow("1921") << 1921 << 1;
        QTest::newRow("2560") << 2560 << 1;
        QTest::newRow("3839") << 3839 << 1;
        QTest::newRow("3840") << 3840 << 2;
        QTest::newRow("5760") << 5760 << 3;
        QTest::newRow("7680") << 7680 << 4;
    }
    void scaleFactor()
    {
        QFETCH(int, width);
        QFETCH(int, factor);
        QCOMPARE(StartUp::ScaleFactorForWidth(width), factor);
        // A factor of the user's stands at 1920 or less and gives way to the program's above.
        ScreenInfo::SetScaleFactor(1.5);
        StartUp::ApplyScaleFactor(width);
        {
            QWidget window;
            window.show();
            QVERIFY(QTest::qWaitForWindowExposed(&window));
            QCOMPARE(window.devicePixelRatioF(), factor == 0 ? 1.5 : double(factor));
        }
        ScreenInfo::SetScaleFactor(1);
    }

    void fontsScaledOnceEach()
    {
        QWidget window;
        QFont windowFont = window.font();
        windowFont.setPointSizeF(12);
        window.setFont(windowFont);
        auto* inherits = new QLabel("inherits", &window);
        auto* own = new QLabel("own", &window);
        QFont ownFont = own->font();
        ownFont.setPointSizeF(9);
        own->setFont(ownFont);
        auto* kept = new QWidget(&window);
        kept->setObjectName("Receive_2");
        QFont keptFont = kept->font();
        keptFont.setPointSizeF(15);
        kept->setFont(keptFont);
        auto* underKept = new QLabel("under", kept);
        auto* tips = new QLabel("tips", &window);
        tips->setObjectName("NoApear");

        // 144 logical dots per inch: every font ends at two thirds, once.
        StartUp::ScaleWidgetFont(&window, 96.0 / 144.0);
        QCOMPARE(window.font().pointSizeF(), 8.0);
        QCOMPARE(inherits->font().pointSizeF(), 8.0);
        QCOMPARE(own->font().pointSizeF(), 6.0);
        QCOMPARE(kept->font().pointSizeF(), 15.0);
        QCOMPARE(underKept->font().pointSizeF(), 10.0);
        QCOMPARE(tips->font().pointSizeF(), 8.0);
        QCOMPARE(QToolTip::font().pointSizeF(), 8.0);
        StartUp::ScaleWidgetFont(nullptr, 2.0);
    }

    void secondCopyFindsTheLock()
    {
        QProcess* first = StartChild({"--child-hold", lockKey});
        QCOMPARE(ReadLine(first), QString("locked"));
        QCOMPARE(Probe(), QString("running"));
        QCOMPARE(Probe(), QString("running"));

        // The first copy ends normally: the lock goes with it.
        first->write("end\n");
        QVERIFY(first->waitForFinished(30000));
        QCOMPARE(first->exitStatus(), QProcess::NormalExit);
        QCOMPARE(Probe(), QString("free"));
    }

    void killedCopyLeavesNoLock()
    {
        QProcess* first = StartChild({"--child-hold", lockKey});
        QCOMPARE(ReadLine(first), QString("locked"));
        first->kill();
        QVERIFY(first->waitForFinished(30000));
        QCOMPARE(first->exitStatus(), QProcess::CrashExit);

        // The next start takes the lock although the killed copy never let it go...
        QProcess* second = StartChild({"--child-hold", lockKey});
        QCOMPARE(ReadLine(second), QString("locked"));
        // ...and holds it like any running copy.
        QCOMPARE(Probe(), QString("running"));
        second->write("end\n");
        QVERIFY(second->waitForFinished(30000));
    }

    // The lock belongs to the user, not to the environment: a copy started with another temporary
    // folder finds the first, shows the already-running notice and builds no window.
    void secondCopyWithAnotherTemporaryFolder()
    {
        QTemporaryDir firstTemporary, secondTemporary;
        QProcess* first = StartChild({"--child-hold", lockKey}, firstTemporary.path());
        QCOMPARE(ReadLine(first), QString("locked"));
        QVERIFY(QFileInfo(DataFolder() + "/" + lockKey + ".lock").isFile());
        QCOMPARE(Probe(secondTemporary.path()), QString("running"));

        QProcess* second = StartChild({"--child-start", lockKey, "-platform", "offscreen"}, secondTemporary.path());
        QCOMPARE(ReadLine(second), QString("refused ExeIsRun"));
        QVERIFY(second->waitForFinished(30000));

        // The refused copies took nothing: after the first ends, a start goes on without a notice.
        first->write("end\n");
        QVERIFY(first->waitForFinished(30000));
        QProcess* third = StartChild({"--child-start", lockKey, "-platform", "offscreen"}, secondTemporary.path());
        QCOMPARE(ReadLine(third), QString("started"));
        QVERIFY(third->waitForFinished(30000));
        QCOMPARE(Probe(firstTemporary.path()), QString("free"));
    }

    // A lock file left by a copy that was killed (another temporary folder, so its segment is
    // not seen) is taken over by the next start.
    void killedCopysLockFileTakenOver()
    {
        QTemporaryDir firstTemporary, secondTemporary;
        QProcess* first = StartChild({"--child-hold", lockKey}, firstTemporary.path());
        QCOMPARE(ReadLine(first), QString("locked"));
        first->kill();
        QVERIFY(first->waitForFinished(30000));
        QVERIFY(QFileInfo(DataFolder() + "/" + lockKey + ".lock").exists());

        QProcess* second = StartChild({"--child-hold", lockKey}, secondTemporary.path());
        QCOMPARE(ReadLine(second), QString("locked"));
        QCOMPARE(Probe(firstTemporary.path()), QString("running"));
        second->write("end\n");
        QVERIFY(second->waitForFinished(30000));
    }

    // A per-user folder where no lock file can be made keeps nobody from starting.
    void unwritableFolderStillStarts()
    {
        QTemporaryDir otherHome;
        QFile blocker(otherHome.path() + "/AppData");
        QVERIFY(blocker.open(QIODevice::WriteOnly)); // a file where the folder's parent should be
        blocker.close();
        auto* child = new QProcess(this);
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("HOME", otherHome.path());
        environment.insert("XDG_DATA_HOME", otherHome.path() + "/AppData/share");
        child->setProcessEnvironment(environment);
        child->start(QCoreApplication::applicationFilePath(), {"--child-probe", lockKey + " unwritable"});
        QCOMPARE(ReadLine(child), QString("free"));
        QVERIFY(child->waitForFinished(30000));
    }

    void terminationClosesTheWindow_data()
    {
        QTest::addColumn<int>("signalNumber");
        QTest::newRow("SIGTERM") << int(SIGTERM);
        QTest::newRow("SIGINT") << int(SIGINT);
        QTest::newRow("SIGHUP") << int(SIGHUP);
    }
    void terminationClosesTheWindow()
    {
        QFETCH(int, signalNumber);
        QProcess* child = StartChild({"--child-window"});
        QCOMPARE(ReadLine(child), QString("ready"));
        QCOMPARE(::kill(pid_t(child->processId()), signalNumber), 0);
        QCOMPARE(ReadLine(child), QString("closed"));
        QCOMPARE(ReadLine(child), QString("ended"));
        QVERIFY(child->waitForFinished(30000));
        QCOMPARE(child->exitStatus(), QProcess::NormalExit);
        QCOMPARE(child->exitCode(), 0);
    }

    void dumpFileName_data()
    {
        QTest::addColumn<QDateTime>("moment");
        QTest::newRow("epoch") << QDateTime(QDate(1970, 1, 1), QTime(0, 0, 0), Qt::UTC);
        QTest::newRow("before 2000") << QDateTime(QDate(1999, 12, 31), QTime(23, 59, 59), Qt::UTC);
        QTest::newRow("leap day") << QDateTime(QDate(2024, 2, 29), QTime(12, 5, 9), Qt::UTC);
        QTest::newRow("after leap day") << QDateTime(QDate(2024, 3, 1), QTime(0, 0, 1), Qt::UTC);
        QTest::newRow("century") << QDateTime(QDate(2100, 2, 28), QTime(23, 0, 0), Qt::UTC);
        QTest::newRow("past 2038") << QDateTime(QDate(2040, 7, 15), QTime(7, 30, 45), Qt::UTC);
    }
    void dumpFileName()
    {
        QFETCH(QDateTime, moment);
        char name[CrashHandler::DumpNameSize];
        CrashHandler::DumpFileName(moment.toSecsSinceEpoch(), name);
        QCOMPARE(QString::fromLatin1(name), moment.toString("yyyy_MM_dd_hh_mm_ss") + ".dmp");
    }

    void crashLeavesADump_data()
    {
        QTest::addColumn<QString>("how");
        QTest::addColumn<int>("signalNumber");
        QTest::addColumn<QString>("signalName");
        QTest::newRow("segmentation fault") << "segv" << int(SIGSEGV) << "SIGSEGV";
        QTest::newRow("abort") << "abort" << int(SIGABRT) << "SIGABRT";
        QTest::newRow("division by zero") << "fpe" << int(SIGFPE) << "SIGFPE";
        QTest::newRow("illegal instruction") << "ill" << int(SIGILL) << "SIGILL";
        QTest::newRow("bus error") << "bus" << int(SIGBUS) << "SIGBUS";
        QTest::newRow("fault in another thread") << "thread" << int(SIGSEGV) << "SIGSEGV";
    }
    void crashLeavesADump()
    {
        QFETCH(QString, how);
        QFETCH(int, signalNumber);
        QFETCH(QString, signalName);
        QDir dumps(DataFolder() + "/Exception");
        if (dumps.exists())
            QVERIFY(dumps.removeRecursively());
        // The folder is made by the handler's install, not by the test.
        const QDateTime before = QDateTime::currentDateTime().addSecs(-1);
        QProcess* child = StartChild({"--child-crash", how});
        QVERIFY(child->waitForFinished(30000));
        const QDateTime after = QDateTime::currentDateTime().addSecs(1);

        // The process ended by the same signal, as it would have without the handler.
        QCOMPARE(child->exitStatus(), QProcess::CrashExit);
        QCOMPARE(child->exitCode(), signalNumber);

        const QStringList files = dumps.entryList(QDir::Files);
        QCOMPARE(files.size(), 1);
        const QRegularExpressionMatch name =
            QRegularExpression("^(\\d{4}_\\d\\d_\\d\\d_\\d\\d_\\d\\d_\\d\\d)\\.dmp$").match(files.first());
        QVERIFY2(name.hasMatch(), qPrintable(files.first()));
        const QDateTime stamp = QDateTime::fromString(name.captured(1), "yyyy_MM_dd_hh_mm_ss");
        QVERIFY2(stamp >= before.addMSecs(-before.time().msec()) && stamp <= after,
                 qPrintable(files.first() + " outside " + before.toString() + " .. " + after.toString()));

        QFile dump(dumps.filePath(files.first()));
        QVERIFY(dump.open(QIODevice::ReadOnly));
        const QString text = QString::fromLocal8Bit(dump.readAll());
        QVERIFY2(text.contains(QString("signal: %1 (%2)\n").arg(signalNumber).arg(signalName)), qPrintable(text.left(300)));
        const int backtrace = text.indexOf("backtrace:\n");
        const int map = text.indexOf("memory map:\n");
        QVERIFY(backtrace > 0 && map > backtrace);
        // The frames name the module they are in, so that they can be resolved later: the handler's
        // frame lies in the user interface layer (a shared library under test, the program itself
        // when it runs), the faulting frame in this program.
        const QString program = QFileInfo(QCoreApplication::applicationFilePath()).fileName();
        const QString frames = text.mid(backtrace, map - backtrace);
        QVERIFY2(frames.contains("CrashHandler") && frames.count(program + "(") >= 1, qPrintable(text.mid(backtrace, 600)));
        QVERIFY(text.mid(map).contains(program));
    }
};

int main(int argc, char* argv[])
{
    if (argc >= 2 && QByteArray(argv[1]).startsWith("--child-"))
        return ChildMain(argc, argv);
    QApplication application(argc, argv);
    TestStartUp test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_startup.moc"
