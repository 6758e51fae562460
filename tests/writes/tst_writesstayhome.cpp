// Every file the program writes, with a symbolic link (to a file outside the program's folders, or
// to nothing), a FIFO or a folder in its place: the write is refused (a device cache replaces the
// link itself), nothing outside the folders changes, the FIFO stays a FIFO that nothing was written
// into, no temporary file is left, and the caller says that the write did not happen.
#include "app/CrashHandler.h"
#include "app/StartUp.h"
#include "device/DeviceInfoCache.h"
#include "device/MacroBlocks.h"
#include "device/UserIniStore.h"
#include "pages/buttons/Buttoninterface.h"
#include "pages/macro/Macro.h"
#include "pages/settings/UpgradeRunState.h"
#include "platform/AppPaths.h"
#include "platform/AutoStartEntry.h"
#include "platform/RegistryStore.h"
#include "platform/UserFileWrites.h"
#include "platform/WholeFileWrite.h"
#include "support/FindChild.h"
#include "support/PageTestHome.h"
#include "tests/macro/MacroTestSupport.h"
#include "widgets/FileNotices.h"

#include <QApplication>
#include <QListWidget>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <cstring>
#include <fcntl.h>
#include <string>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace MacroTestSupport;

namespace {

const QByteArray OutsideBytes("the user's own file, outside the program's folders\n");

// What lstat sees at path: "link to <target>", "fifo", "folder", "file" or "nothing".
QString Seen(const QString& path)
{
    struct stat status;
    if (::lstat(QFile::encodeName(path).constData(), &status) != 0)
        return QStringLiteral("nothing");
    if (S_ISLNK(status.st_mode))
        return QStringLiteral("link to ") + QFileInfo(path).symLinkTarget();
    if (S_ISFIFO(status.st_mode))
        return QStringLiteral("fifo");
    if (S_ISDIR(status.st_mode))
        return QStringLiteral("folder");
    return S_ISREG(status.st_mode) ? QStringLiteral("file") : QStringLiteral("other");
}

QStringList Entries(const QString& folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
}

// Puts what kind names at path: a link to target or to missing (both outside), a FIFO or a folder.
bool Place(const QString& kind, const QString& path, const QString& target, const QString& missing)
{
    if (kind == QLatin1String("link"))
        return QFile::link(target, path);
    if (kind == QLatin1String("link to nothing"))
        return QFile::link(missing, path);
    if (kind == QLatin1String("fifo"))
        return ::mkfifo(QFile::encodeName(path).constData(), 0600) == 0;
    return QDir().mkdir(path);
}

void Clear(const QString& path)
{
    if (Seen(path) == QLatin1String("folder"))
        QDir(path).removeRecursively();
    else
        QFile::remove(path);
}

ButtonMacroBlock BlockNamed(const QByteArray& name)
{
    ButtonMacroBlock block{};
    block.nameLength = uint8_t(name.size());
    std::memcpy(block.name, name.constData(), size_t(name.size()));
    block.eventCount = 2;
    block.events[0] = {0, 1, 0x04, 0, 10};
    block.events[1] = {1, 1, 0x04, 0, 0};
    return block;
}

// ---- the child that crashes with the handler in place ----

[[noreturn]] void CrashChild()
{
    struct rlimit noCore = {0, 0};
    setrlimit(RLIMIT_CORE, &noCore);
    (new CrashHandler)->Install();
    volatile uintptr_t address = 8;
    *reinterpret_cast<volatile int*>(address) = 1;
    std::_Exit(3);
}

} // namespace

class TestWritesStayHome : public QObject
{
    Q_OBJECT
    PageTestHome home;
    QTemporaryDir outside;

    QString Target() const { return outside.filePath(QStringLiteral("target")); }
    QString Missing() const { return outside.filePath(QStringLiteral("missing")); }
    QString ChosenFolder() const { return home.Path() + QStringLiteral("/Chosen"); }

    QString PathOf(const QString& file) const
    {
        if (file.startsWith(QLatin1String("macro file")))
            return MacroBlocks::MacroFilePath(QStringLiteral("Linked"));
        if (file.startsWith(QLatin1String("preferences")))
            return AppPaths::UserDataFolder() + QStringLiteral("/Macro.ini");
        if (file == QLatin1String("registry"))
            return RegistryStore::FilePath();
        if (file == QLatin1String("device cache"))
            return DeviceCacheFolder() + DeviceCacheFileName(0x1C, 0x12);
        if (file == QLatin1String("profile export"))
            return ChosenFolder() + QStringLiteral("/profile.bin");
        if (file == QLatin1String("macro export"))
            return ChosenFolder() + QStringLiteral("/macro.ini");
        if (file == QLatin1String("autostart entry"))
            return AutoStartEntry::Path();
        return UpgradeRecord::LogPath();
    }

    // The program's own write of file; whether its caller was told that it happened.
    bool WriteBy(const QString& file, const QString& path, QStringList* notices)
    {
        if (file == QLatin1String("macro file saved"))
            return Macro::WriteMacroFile(QStringLiteral("Linked"), QStringLiteral("1"), {QStringLiteral("0x04 1 0")});
        if (file == QLatin1String("macro file made"))
            return Macro::CreateMacroFile(QStringLiteral("Linked"));
        if (file == QLatin1String("macro file from the mouse"))
            return Macro::StoreDeviceMacro(QStringLiteral("Linked"), 1, BlockNamed("Linked"));
        if (file == QLatin1String("preferences")) {
            UserIniStore::Instance()->SetValue(QStringLiteral("Language"), QStringLiteral("Language"), QStringLiteral("2"));
            return UserFileWrites::Instance()->FailureCount() == 0;
        }
        if (file == QLatin1String("preferences made at start")) {
            StartUp::CreateEmptyPreferences();
            return UserFileWrites::Instance()->FailureCount() == 0;
        }
        if (file == QLatin1String("registry")) {
            RegistryStore(QStringLiteral("HKEY_CURRENT_USER\\Software\\Kestro plus\\Mouse Drive Test"))
                .SetValue(QStringLiteral("MouseVer1C12"), QStringLiteral("v1.02"));
            return UserFileWrites::Instance()->FailureCount() == 0;
        }
        if (file == QLatin1String("device cache")) {
            FlashDataMap record{};
            record.reportRate = 8;
            return WriteDeviceInfoCache(DeviceCacheFileName(0x1C, 0x12), record);
        }
        if (file == QLatin1String("profile export")) {
            FlashDataMap record{};
            const bool written = Buttoninterface::WriteConfigFile(path, record);
            // What the button page says when it was not.
            if (!written) {
                std::unique_ptr<FileNotices> notice(FileNotices::ShowExportNotWritten(nullptr, path, CheckWritePath(path)));
                *notices << notice->Text();
            }
            return written;
        }
        if (file == QLatin1String("macro export")) {
            Macro page;
            auto* list = Child<QListWidget>(page, "listWidgetHong");
            WriteFile(MacroBlocks::MacroFilePath(QStringLiteral("Exported")), "1\n0x04 1 0\n10ms\n0x04 1 1\n");
            list->addItem(QStringLiteral("Exported"));
            list->setCurrentRow(list->count() - 1);
            if (!page.ReadMacroFile())
                return false;
            bool written = false;
            *notices << RunWithModals([&] { written = page.ExportMacroTo(path); });
            return written;
        }
        if (file == QLatin1String("autostart entry"))
            return AutoStartEntry::Write(QStringLiteral("/opt/kestro/KestroPlus"));
        return UpgradeRecord::LogFailure(1, 0, 28, 34, QStringLiteral("v1.00"), QStringLiteral("v1.02"));
    }

    // Files the user hears about through the per-user files' notice, naming the file.
    static bool ToldAsUserFile(const QString& file)
    {
        return file == QLatin1String("macro file from the mouse") || file.startsWith(QLatin1String("preferences"))
            || file == QLatin1String("registry") || file == QLatin1String("device cache")
            || file == QLatin1String("upgrade log");
    }

private slots:
    void initTestCase()
    {
        home.Start();
        QVERIFY(outside.isValid());
        QVERIFY(QDir().mkpath(ChosenFolder()));
        QVERIFY(QDir().mkpath(AppPaths::UserConfigFolder()));
        QVERIFY(QDir().mkpath(AutoStartEntry::Folder()));
    }
    void init()
    {
        PageTestHome::Reset();
        UserFileWrites::Instance()->Forget();
        QFile::remove(Missing());
        QFile target(Target());
        QVERIFY(target.open(QIODevice::WriteOnly | QIODevice::Truncate));
        QCOMPARE(target.write(OutsideBytes), qint64(OutsideBytes.size()));
    }

    void writeStaysHome_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("kind");
        for (const char* file : {"macro file saved", "macro file made", "macro file from the mouse", "preferences",
                                 "preferences made at start", "registry", "device cache", "profile export",
                                 "macro export", "autostart entry", "upgrade log"}) {
            for (const char* kind : {"link", "link to nothing", "fifo", "folder"})
                QTest::newRow(qPrintable(QStringLiteral("%1, %2").arg(QLatin1String(file), QLatin1String(kind))))
                    << QString::fromLatin1(file) << QString::fromLatin1(kind);
        }
    }
    void writeStaysHome()
    {
        QFETCH(QString, file);
        QFETCH(QString, kind);
        const QString path = PathOf(file);
        const QString folder = QFileInfo(path).path();
        QVERIFY(QDir().mkpath(folder));
        Clear(path);
        QVERIFY(Place(kind, path, Target(), Missing()));
        const QString placed = Seen(path);
        const QStringList entries = Entries(folder);
        const QMap<QString, QByteArray> outsideBefore = Snapshot(outside.path());
        // A reader on the FIFO: a write that opened it would not wait but leave its bytes here.
        int reader = -1;
        if (kind == QLatin1String("fifo"))
            QVERIFY((reader = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK)) >= 0);

        QStringList notices;
        const bool done = WriteBy(file, path, &notices);

        // Nothing outside changed: the target holds its bytes, the missing file is still missing.
        QCOMPARE(Snapshot(outside.path()), outsideBefore);
        QVERIFY(!QFileInfo::exists(Missing()));
        QCOMPARE(Entries(folder), entries);
        if (kind == QLatin1String("fifo")) {
            char byte = 0;
            QCOMPARE(::read(reader, &byte, 1), ssize_t(0));
            ::close(reader);
        }
        const bool linkReplaced = file == QLatin1String("device cache") && kind.startsWith(QLatin1String("link"));
        // The preferences made at start need nothing made where a link leads to a file.
        const bool nothingToDo = file == QLatin1String("preferences made at start") && kind == QLatin1String("link");
        if (linkReplaced) {
            QVERIFY(done);
            QCOMPARE(Seen(path), QString("file"));
            QCOMPARE(QFileInfo(path).size(), qint64(4 + sizeof(FlashDataMap)));
        } else {
            QCOMPARE(Seen(path), placed);
            QCOMPARE(done, nothingToDo);
        }
        if (kind == QLatin1String("folder"))
            QVERIFY(Entries(path).isEmpty());

        // The caller says so: the per-user files' notice names the file, the exports say why.
        if (ToldAsUserFile(file) && !linkReplaced && !nothingToDo) {
            QCOMPARE(UserFileWrites::Instance()->RefusedFile(), path);
            const QString text = FileNotices::FileRefusedText(0, path);
            QVERIFY(text.contains(QDir::toNativeSeparators(path)));
        }
        if (file == QLatin1String("profile export"))
            QCOMPARE(notices, QStringList{FileNotices::ExportRefusedText(0, path)});
        if (file == QLatin1String("macro export"))
            QCOMPARE(notices.size(), 1);
        Clear(path);
    }

    // The notice of a refused per-user file names the file, once, over the window that watches.
    void refusalIsToldOnce()
    {
        const QString path = AppPaths::UserDataFolder() + QStringLiteral("/Macro.ini");
        Clear(path);
        QVERIFY(QFile::link(Target(), path));
        QWidget window;
        window.show();
        FileNotices::WatchSettingsWrites(&window);
        UserIniStore::Instance()->SetValue(QStringLiteral("Language"), QStringLiteral("Language"), QStringLiteral("1"));
        UserIniStore::Instance()->SetValue(QStringLiteral("Language"), QStringLiteral("Language"), QStringLiteral("2"));
        QCoreApplication::processEvents();
        QList<FileNotices*> shown;
        for (QWidget* widget : QApplication::topLevelWidgets())
            if (auto* notice = qobject_cast<FileNotices*>(widget); notice && notice->isVisible())
                shown << notice;
        QCOMPARE(shown.size(), 1);
        QCOMPARE(shown.first()->Text(), FileNotices::FileRefusedText(0, path));
        for (int language : {1, 2}) {
            const QString text = FileNotices::FileRefusedText(language, path);
            QVERIFY(text.contains(QDir::toNativeSeparators(path)) && text != FileNotices::FileRefusedText(0, path));
        }
        qDeleteAll(shown);
        QCOMPARE(Snapshot(outside.path()).value("target"), OutsideBytes);
        // The value stays for the run.
        QCOMPARE(UserIniStore::Instance()->Language(), 2);
        Clear(path);
    }

    // A link put in the file's place while the whole-file write runs is not replaced either.
    void linkPutThereMeanwhile()
    {
        const QString path = home.Path() + QStringLiteral("/Chosen/meanwhile.bin");
        Clear(path);
        WholeFileWriter writer;
        QVERIFY(writer.Begin(QFile::encodeName(path).constData(), LinkRule::Refuse));
        QVERIFY(writer.Write("new", 3));
        QVERIFY(QFile::link(Target(), path));
        const FileWrite result = writer.Commit();
        QCOMPARE(int(result.outcome), int(FileWrite::RefusedLink));
        QCOMPARE(Snapshot(outside.path()).value("target"), OutsideBytes);
        QCOMPARE(Entries(ChosenFolder()), QStringList{"meanwhile.bin"});
        Clear(path);
    }

    // The crash handler writes its dump the same way: with a link, a FIFO or a folder under every
    // name the dump may take, the crash leaves them all as they were and writes nothing outside.
    void crashDumpStaysHome_data()
    {
        QTest::addColumn<QString>("kind");
        for (const char* kind : {"link", "link to nothing", "fifo", "folder"})
            QTest::newRow(kind) << QString::fromLatin1(kind);
    }
    void crashDumpStaysHome()
    {
        QFETCH(QString, kind);
        const QString folder = CrashHandler::DumpFolder();
        QDir(folder).removeRecursively();
        QVERIFY(QDir().mkpath(folder));
        const QDateTime now = QDateTime::currentDateTime();
        QStringList placed;
        for (int second = -2; second <= 60; ++second) {
            const QString path = folder + QLatin1Char('/') + now.addSecs(second).toString("yyyy_MM_dd_hh_mm_ss") + ".dmp";
            QVERIFY(Place(kind, path, Target(), Missing()));
            placed << Seen(path);
        }
        const QStringList entries = Entries(folder);
        const QMap<QString, QByteArray> outsideBefore = Snapshot(outside.path());

        QProcess child;
        child.start(QCoreApplication::applicationFilePath(), {"--child-crash"});
        const bool ended = child.waitForFinished(30000);
        if (!ended)
            child.kill();
        QVERIFY2(ended, "the crash handler waited on what stands at the dump's name");
        QCOMPARE(child.exitStatus(), QProcess::CrashExit);
        QCOMPARE(child.exitCode(), int(SIGSEGV));
        QVERIFY(QDateTime::currentDateTime() < now.addSecs(60));

        QCOMPARE(Snapshot(outside.path()), outsideBefore);
        QVERIFY(!QFileInfo::exists(Missing()));
        QCOMPARE(Entries(folder), entries);
        QStringList seen;
        for (const QString& name : entries)
            seen << Seen(folder + QLatin1Char('/') + name);
        QCOMPARE(seen, placed);
        QDir(folder).removeRecursively();
    }
};

int main(int argc, char* argv[])
{
    if (argc >= 2 && std::string(argv[1]) == "--child-crash")
        CrashChild();
    QApplication application(argc, argv);
    TestWritesStayHome test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_writesstayhome.moc"
