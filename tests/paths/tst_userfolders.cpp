#include "app/StartUp.h"
#include "platform/AppPaths.h"
#include "support/TestHome.h"

#include <QCoreApplication>
#include <QDirIterator>
#include <QEvent>
#include <QFileInfo>
#include <QProcess>
#include <QTimer>
#include <QtTest>
#include <cstdio>
#include <unistd.h>

namespace {

const char* const StartChild = "--child-start";

// The child: the program's own start-up, which says when the top-level window has painted for the
// first time and then leaves the way the program does.
class FirstPaint : public QObject
{
public:
    using QObject::QObject;
    bool eventFilter(QObject* object, QEvent* event) override
    {
        if (event->type() == QEvent::Paint && object->inherits("DialogMain")) {
            QCoreApplication::instance()->removeEventFilter(this);
            std::printf("shown\n");
            std::fflush(stdout);
            QTimer::singleShot(0, [] { QCoreApplication::exit(0); });
        }
        return false;
    }
};

void WatchFirstPaint()
{
    // StartUp's probe application runs this too; the filter goes with whichever application it
    // watches, so nothing of it is left behind.
    QCoreApplication* application = QCoreApplication::instance();
    application->installEventFilter(new FirstPaint(application));
    // A start-up that never shows its window fails the test instead of hanging it.
    QTimer::singleShot(120000, [] { _exit(3); });
}

int RunStartUp(int argc, char* argv[])
{
    AppPaths::SetProgramFolder(QFile::decodeName(qgetenv("KESTRO_PROGRAM_DIR")));
    qAddPreRoutine(WatchFirstPaint);
    return StartUp::Run(argc, argv);
}

// Every file and folder under root, relative to it, sorted.
QStringList Tree(const QString& root)
{
    QStringList entries;
    QDirIterator it(root, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext())
        entries << QDir(root).relativeFilePath(it.next());
    entries.sort();
    return entries;
}

} // namespace

// The program's start in a fresh HOME puts its files where a Linux desktop keeps them; what Qt is
// told to load before the first application object.
class TestUserFolders : public QObject
{
    Q_OBJECT
    TestHome home;

private slots:
    // The GL integration Qt would load is left out unless the user named one (an empty value too).
    void glIntegration_data()
    {
        QTest::addColumn<QByteArray>("userValue");
        QTest::addColumn<QByteArray>("value");
        QTest::newRow("unset") << QByteArray() << QByteArray("none");
        QTest::newRow("glx") << QByteArray("glx") << QByteArray("glx");
        QTest::newRow("egl") << QByteArray("xcb_egl") << QByteArray("xcb_egl");
        QTest::newRow("empty") << QByteArray("") << QByteArray("");
    }
    void glIntegration()
    {
        QFETCH(QByteArray, userValue);
        QFETCH(QByteArray, value);
        if (userValue.isNull())
            qunsetenv("QT_XCB_GL_INTEGRATION");
        else
            qputenv("QT_XCB_GL_INTEGRATION", userValue);
        StartUp::LeaveOutGlIntegration();
        const bool set = qEnvironmentVariableIsSet("QT_XCB_GL_INTEGRATION");
        const QByteArray now = qgetenv("QT_XCB_GL_INTEGRATION");
        qunsetenv("QT_XCB_GL_INTEGRATION");
        QVERIFY(set);
        QCOMPARE(now, value);
    }

    void startUpFillsTheDesktopFolders()
    {
        QTemporaryDir temporary;
        QProcess child;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("HOME", home.Path());
        // The single-instance lock of this run only: a copy of the program running elsewhere does
        // not stop the child.
        environment.insert("TMPDIR", temporary.path());
        child.setProcessEnvironment(environment);
        child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        child.start(QCoreApplication::applicationFilePath(), {QString::fromLatin1(StartChild)});
        QByteArray said;
        while (!said.contains("shown") && child.waitForReadyRead(120000))
            said += child.readAll();
        QVERIFY2(said.contains("shown"), said.constData());
        QVERIFY(child.waitForFinished(60000));
        QCOMPARE(child.exitStatus(), QProcess::NormalExit);
        QCOMPARE(child.exitCode(), 0);

        const QString data = home.Path() + "/.local/share/Kestro plus";
        for (const char* folder : {"/Log", "/Device_Info", "/Exception", "/usersetting", "/usersetting/MainPage",
                                   "/usersetting/MacroPage", "/usersetting/SensorPage", "/Device_Flash"})
            QVERIFY2(QFileInfo(data + folder).isDir(), folder);
        QVERIFY(QFileInfo(data + "/Macro.ini").isFile());

        const QStringList tree = Tree(home.Path());
        QVERIFY2(tree.filter("AppData", Qt::CaseInsensitive).isEmpty(), qPrintable(tree.join(' ')));
        // Nothing of the program's lies outside its two folders.
        for (const QString& entry : tree) {
            const bool ours = entry.startsWith(".local/share/Kestro plus") || entry.startsWith(".config/Kestro plus")
                || entry == ".local" || entry == ".local/share" || entry == ".config";
            QVERIFY2(ours, qPrintable(entry));
        }
    }
};

int main(int argc, char* argv[])
{
    if (argc >= 2 && qstrcmp(argv[1], StartChild) == 0)
        return RunStartUp(argc - 1, argv + 1);
    QCoreApplication application(argc, argv);
    TestUserFolders test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_userfolders.moc"
