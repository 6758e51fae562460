#include "app/StartUp.h"

#include "app/CrashHandler.h"
#include "app/DialogMain.h"
#include "pages/macro/ExeIsRun.h"
#include "platform/AppPaths.h"
#include "platform/RegularFile.h"
#include "platform/ScreenInfo.h"
#include "platform/UserFileWrites.h"
#include "platform/WholeFileWrite.h"

#include "widgets/FileNotices.h"
#include "widgets/ScaleFontTree.h"
#include <QApplication>
#include <QDebug>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QPair>
#include <QPointer>
#include <QSharedMemory>
#include <QSocketNotifier>
#include <QSystemSemaphore>
#include <QToolTip>
#include <QVector>
#include <QWidget>

#include <csignal>
#include <cerrno>
#include <cstring>
#include <memory>

#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

const QStringList& StartUp::UserFolders()
{
    static const QStringList folders = {
        QStringLiteral("/Log"),          QStringLiteral("/Device_Info"),
        QStringLiteral("/Exception"),    QStringLiteral("/usersetting"),
        QStringLiteral("/usersetting/MainPage"), QStringLiteral("/usersetting/MacroPage"),
        QStringLiteral("/usersetting/SensorPage"),
    };
    return folders;
}

void StartUp::MakeUserFolders()
{
    const QString dataFolder = AppPaths::UserDataFolder();
    bool made = true;
    for (const QString& folder : UserFolders()) {
        const QString path = dataFolder + folder;
        if (!QDir().exists(path))
            made = QDir().mkpath(path) && made;
    }
    // Told once the window shows (FileNotices): the program runs on, keeping nothing of its own.
    if (!made)
        UserFileWrites::Failed(dataFolder);
}

void StartUp::CreateEmptyPreferences()
{
    // A link to a file of the user's is read as the preferences (their writes are refused later);
    // a dangling link, a FIFO or a folder is left as it is and told.
    const QString path = AppPaths::UserDataFolder() + QStringLiteral("/Macro.ini");
    if (IsRegularFile(path))
        return;
    UserFileWrites::NotWritten(path, CreateNewFile(path), AppPaths::UserDataFolder());
}

int StartUp::ScaleFactorForWidth(int desktopWidth)
{
    return desktopWidth <= 1920 ? 0 : desktopWidth / 1920;
}

void StartUp::ApplyScaleFactor(int desktopWidth)
{
    const int factor = ScaleFactorForWidth(desktopWidth);
    if (factor > 0)
        ScreenInfo::SetScaleFactor(factor);
}

void StartUp::LeaveOutGlIntegration()
{
    if (!qEnvironmentVariableIsSet("QT_XCB_GL_INTEGRATION"))
        qputenv("QT_XCB_GL_INTEGRATION", "none");
}

int StartUp::RemoveOldFiles(const QString& folder, const QDateTime& now)
{
    const qint64 nowSeconds = now.toSecsSinceEpoch();
    int removed = 0;
    const QFileInfoList entries =
        QDir(folder).entryInfoList(QDir::Files | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::NoSort);
    for (const QFileInfo& entry : entries) {
        if (entry.isDir())
            continue;
        // A file dated after now was written under a wrong clock and would never grow old enough
        // to go: it goes at once, as one older than a week does.
        const qint64 age = nowSeconds - entry.lastModified().toSecsSinceEpoch();
        const bool expired = age < 0 || age / 86400 > 7;
        if (expired && QFile::remove(entry.absoluteFilePath()))
            ++removed;
    }
    return removed;
}

namespace {

// The lock segment and the lock file of this process, kept until it ends.
std::unique_ptr<QSharedMemory>& LockSegment()
{
    static std::unique_ptr<QSharedMemory> segment;
    return segment;
}

std::unique_ptr<QLockFile>& LockFile()
{
    static std::unique_ptr<QLockFile> file;
    return file;
}

// The lock file in the per-user folder: held by a running copy of this user whatever its
// environment (the segment's key depends on the temporary folder). A file left by a copy that
// died names a process that no longer runs, and the next copy takes it over. True when a copy
// that still runs holds it; a folder where no lock file can be made keeps nobody from starting.
bool LockFileHeldElsewhere(const QString& key)
{
    std::unique_ptr<QLockFile>& file = LockFile();
    if (file && file->isLocked())
        return false;
    const QString path = AppPaths::UserDataFolder() + QLatin1Char('/') + key + QStringLiteral(".lock");
    // Qt reads a lock file it finds to see whether its holder still runs: a FIFO there would keep
    // the start waiting for ever. Anything but a regular file or nothing is left as it is, like a
    // folder where no lock file can be made.
    if (!CheckWritePath(path)) {
        qWarning() << "single-instance lock file not taken: not a regular file:" << path;
        return false;
    }
    file.reset(new QLockFile(path));
    // Only a dead holder makes a lock stale, not its age: the program may run for weeks.
    file->setStaleLockTime(0);
    if (file->tryLock(0))
        return false;
    if (file->error() == QLockFile::LockFailedError)
        return true;
    qWarning() << "single-instance lock file not taken:" << file->error();
    return false;
}

} // namespace

bool StartUp::AnotherCopyRuns(const QString& key)
{
    // Starts of copies take turns; the guard is released by the system when its holder dies.
    QSystemSemaphore guard(key + QStringLiteral(" start"), 1, QSystemSemaphore::Open);
    const bool guarded = guard.acquire();

    bool running = LockFileHeldElsewhere(key);
    std::unique_ptr<QSharedMemory>& segment = LockSegment();
    if (!running) {
        if (!segment)
            segment.reset(new QSharedMemory(key));

        // A segment of a copy that died stays in the system without anyone attached. Attaching and
        // detaching again removes a segment that nobody else holds; one that a live copy holds stays.
        if (!segment->isAttached() && segment->attach(QSharedMemory::ReadWrite))
            segment->detach();

        if (segment->isAttached()) {
            running = false; // this process took the lock earlier
        } else if (segment->attach(QSharedMemory::ReadWrite)) {
            segment->detach();
            running = true;
        } else if (!segment->create(1, QSharedMemory::ReadWrite)) {
            // Anything else that keeps the lock from being taken (another user's segment under the
            // same key, no shared memory) does not keep the program from starting.
            qWarning() << "single-instance lock not taken:" << segment->errorString();
        }
        // A copy found through the segment alone keeps its lock file: this one lets it go again.
        if (running && LockFile())
            LockFile()->unlock();
    }
    if (guarded)
        guard.release();
    return running;
}

bool StartUp::RefuseSecondCopy(const QString& key)
{
    if (!AnotherCopyRuns(key))
        return false;
    ExeIsRun notice(nullptr);
    notice.exec();
    return true;
}

namespace {

// The signal handler only writes a byte; the GUI thread reads it.
int terminationPipe[2] = {-1, -1};

void OnTerminationSignal(int)
{
    const int savedErrno = errno;
    const char byte = 1;
    const ssize_t written = write(terminationPipe[1], &byte, 1);
    (void)written;
    errno = savedErrno;
}

} // namespace

void StartUp::CloseOnTerminationSignals(QWidget* window)
{
    if (terminationPipe[0] < 0) {
        if (socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0, terminationPipe) != 0)
            return;
    }
    auto* notifier = new QSocketNotifier(terminationPipe[0], QSocketNotifier::Read, window);
    QPointer<QWidget> target(window);
    QObject::connect(notifier, &QSocketNotifier::activated, window, [target] {
        char bytes[16];
        while (read(terminationPipe[0], bytes, sizeof bytes) > 0) {
        }
        if (target)
            target->close();
    });
    struct sigaction action;
    std::memset(&action, 0, sizeof action);
    action.sa_handler = &OnTerminationSignal;
    action.sa_flags = SA_RESTART;
    sigemptyset(&action.sa_mask);
    for (int signalNumber : {SIGTERM, SIGINT, SIGHUP})
        sigaction(signalNumber, &action, nullptr);
}

void StartUp::ScaleWidgetFont(QWidget* widget, double factor)
{
    if (!widget)
        return;
    ScaleFontTree(widget, factor, QStringLiteral("Receive_2"));
    QWidget* tips = widget->objectName() == QLatin1String("NoApear") ? widget : widget->findChild<QWidget*>(QStringLiteral("NoApear"));
    if (tips)
        QToolTip::setFont(tips->font());
}

int StartUp::Run(int argc, char* argv[])
{
    LeaveOutGlIntegration();
    MakeUserFolders();
    CreateEmptyPreferences();
    QCoreApplication::setAttribute(Qt::AA_EnableHighDpiScaling, false);
    QCoreApplication::setAttribute(Qt::AA_UseHighDpiPixmaps, false);
    RemoveOldFiles(AppPaths::UserDataFolder() + QStringLiteral("/Log"));
    RemoveOldFiles(AppPaths::UserDataFolder() + QStringLiteral("/Exception"));

    QApplication application(argc, argv);
    // The screen is known from here on; no window exists yet to be scaled late.
    ApplyScaleFactor(ScreenInfo::DesktopWidth());
    // Crashes during start-up leave a dump too; the device window installs it again when built.
    CrashHandler startUpCrashHandler;
    startUpCrashHandler.Install();
    const double factor = ScreenInfo::LogicalDpi() / 96.0;

    if (RefuseSecondCopy(AppPaths::ProductName()))
        return 0;

    std::unique_ptr<DialogMain> window(new DialogMain(nullptr));
    ScaleWidgetFont(window.get(), 1.0 / factor);
    // The device window comes after the first paint and is scaled the same way.
    QObject::connect(window.get(), &DialogMain::DeviceWindowBuilt,
                     [factor](QWidget* deviceWindow) { ScaleWidgetFont(deviceWindow, 1.0 / factor); });
    CloseOnTerminationSignals(window.get());
    window->show();
    // Over the window, not before it: the user sees which program speaks.
    FileNotices::ShowModelListProblem(window.get());
    FileNotices::WatchSettingsWrites(window.get());
    return application.exec();
}
