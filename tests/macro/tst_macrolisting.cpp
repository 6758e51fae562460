#include "device/DeviceParamSetters.h"
#include "device/DeviceState.h"
#include "device/MacroBlocks.h"
#include "device/MacroFolderListing.h"
#include "device/PostMsg.h"
#include "pages/buttons/Buttoninterface.h"
#include "pages/macro/Macro.h"
#include "support/FindChild.h"
#include "support/ShippedMouseTest.h"
#include "tests/macro/MacroTestSupport.h"
#include "widgets/UiText.h"

#include <QListWidget>
#include <QStackedWidget>
#include <QToolButton>
#include <QtTest>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace MacroTestSupport;

namespace {

QByteArray FolderBytes()
{
    return QFile::encodeName(MacroBlocks::MacroFolder());
}

// Writes a file under its name as raw bytes: a name the system's encoding cannot read is made too.
bool WriteRaw(const QByteArray& name, const QByteArray& content, qint64 size = -1)
{
    const QByteArray path = FolderBytes() + '/' + name;
    const int file = ::open(path.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    if (file < 0)
        return false;
    bool ok = ::write(file, content.constData(), size_t(content.size())) == content.size();
    // A large file is sparse: its size without its bytes on the disk.
    if (size >= 0)
        ok = ok && ::ftruncate(file, size) == 0;
    return ::close(file) == 0 && ok;
}

// The file's size and first bytes, read by its raw name.
QByteArray RawHead(const QByteArray& name)
{
    const QByteArray path = FolderBytes() + '/' + name;
    struct stat status;
    if (::stat(path.constData(), &status) != 0)
        return "<missing>";
    QByteArray head(64, '\0');
    const int file = ::open(path.constData(), O_RDONLY);
    const ssize_t read = file < 0 ? -1 : ::read(file, head.data(), size_t(head.size()));
    if (file >= 0)
        ::close(file);
    head.truncate(read < 0 ? 0 : int(read));
    return QByteArray::number(qint64(status.st_size)) + ':' + head;
}

// Every name in the folder, raw.
QList<QByteArray> RawNames()
{
    QList<QByteArray> names;
    const QByteArray path = FolderBytes();
    if (DIR* folder = ::opendir(path.constData())) {
        while (const dirent* entry = ::readdir(folder)) {
            const QByteArray name(entry->d_name);
            if (name != "." && name != "..")
                names << name;
        }
        ::closedir(folder);
    }
    std::sort(names.begin(), names.end());
    return names;
}

// Gives the folder a modification time some seconds ago, as a folder nobody changed lately has.
void AgeFolder(int seconds)
{
    const timespec times[2] = {{0, UTIME_OMIT}, {::time(nullptr) - seconds, 0}};
    QCOMPARE(::utimensat(AT_FDCWD, FolderBytes().constData(), times, 0), 0);
}

QStringList Texts(const QList<QToolButton*>& buttons)
{
    QStringList texts;
    for (const QToolButton* button : buttons) {
        if (button->isEnabled())
            texts << button->text();
    }
    return texts;
}

} // namespace

// The macro folder's listing, read once and again only when the folder changed, with whatever the
// folder holds: thousands of files, a name the system's encoding cannot read, a name that does not
// come back to its file, and a file far too large for a macro. What cannot be used is refused with
// a notice where it is chosen, on the macro page and on the button page, and nothing reaches the
// mouse.
class TestMacroListing : public ShippedMouseTest
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        Start();
    }
    void cleanupTestCase()
    {
        Stop();
    }
    void init()
    {
        UiLanguage = 0;
        MacroRecording = false;
        UserWritesEnabled = true;
        // By the raw names: Qt's own removal passes over a name the system's encoding cannot read.
        for (const QByteArray& name : RawNames())
            ::unlink((FolderBytes() + '/' + name).constData());
        QDir(MacroBlocks::MacroFolder()).removeRecursively();
        QDir().mkpath(MacroBlocks::MacroFolder());
    }

    // 5,000 macro files: the two pages read the folder once between them; showing the button page
    // again and again reads it no more and keeps its buttons; a new file is read once and listed.
    void manyMacrosAreReadOnce()
    {
        constexpr int Many = 5000;
        for (int i = 0; i < Many; ++i)
            QVERIFY(WriteRaw(QString("Macro %1.ini").arg(i, 4, 10, QLatin1Char('0')).toUtf8(), "1\n"));
        AgeFolder(3600);
        const int before = MacroFolderListing::Reads();
        Buttoninterface buttons;
        Macro macros;
        QCOMPARE(MacroFolderListing::Reads(), before + 1);
        QCOMPARE(Child<QListWidget>(macros, "listWidgetHong")->count(), Many);
        QCOMPARE(Texts(buttons.MacroListButtons()).size(), Many);

        // The device window's button-page button, as often as the user likes.
        QToolButton* first = buttons.MacroListButtons().first();
        for (int visit = 0; visit < 3; ++visit)
            emit PostMsg::Instance()->SigAddMacroButton();
        QCOMPARE(MacroFolderListing::Reads(), before + 1);
        QCOMPARE(buttons.MacroListButtons().first(), first);

        QVERIFY(WriteRaw("Another.ini", "1\n"));
        AgeFolder(1800);
        emit PostMsg::Instance()->SigAddMacroButton();
        emit PostMsg::Instance()->SigAddMacroButton();
        QCOMPARE(MacroFolderListing::Reads(), before + 2);
        const QStringList listed = Texts(buttons.MacroListButtons());
        QCOMPARE(listed.size(), Many + 1);
        QCOMPARE(listed.first(), QString("Another"));
    }

    // A file added in the same clock tick as a read leaves the folder's time as it was: a listing
    // read while that time was fresh is read again, so the file is listed.
    void changeInTheTickOfTheReadIsSeen()
    {
        QVERIFY(WriteRaw("one.ini", "1\n"));
        struct stat status;
        QCOMPARE(::stat(FolderBytes().constData(), &status), 0);
        QCOMPARE(MacroFolderListing::Entries(), QStringList{"one.ini"});
        QVERIFY(WriteRaw("two.ini", "1\n"));
        const timespec times[2] = {{0, UTIME_OMIT}, status.st_mtim};
        QCOMPARE(::utimensat(AT_FDCWD, FolderBytes().constData(), times, 0), 0);
        QCOMPARE(MacroFolderListing::Entries(), QStringList({"one.ini", "two.ini"}));
    }

    // Files that are listed but hold no usable macro: chosen on the macro page, the notice and an
    // empty editor whose Save writes nothing; chosen for a button, the notice and nothing on the
    // mouse; asked for by a bound button, nothing on the mouse.
    void unusableFiles_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<qint64>("size");
        QTest::addColumn<QString>("notice");
        const QByteArray macro = "1\n0x04 1 0\n10ms\n0x04 1 1\n";
        QTest::newRow("name not in the system's encoding") << QByteArray("bad\xff.ini") << macro << qint64(-1)
                                                           << "DialogMacroFileMissing";
        QTest::newRow("doubled ending") << QByteArray("a.ini.ini") << macro << qint64(-1) << "DialogMacroFileMissing";
        QTest::newRow("another ending") << QByteArray("notes.txt") << macro << qint64(-1) << "DialogMacroFileMissing";
        QTest::newRow("100 MB on one line") << QByteArray("Big.ini") << QByteArray("1") << qint64(100 << 20)
                                            << "DialogMacroFileTooLarge";
        QTest::newRow("just over 1 MiB") << QByteArray("Big.ini") << macro << qint64((1 << 20) + 1)
                                         << "DialogMacroFileTooLarge";
    }
    void unusableFiles()
    {
        QFETCH(QByteArray, file);
        QFETCH(QByteArray, content);
        QFETCH(qint64, size);
        QFETCH(QString, notice);
        QVERIFY(WriteRaw(file, content, size));
        QVERIFY(WriteRaw("Good.ini", "1\n0x05 1 0\n"));
        const QByteArray head = RawHead(file);
        const QList<QByteArray> names = RawNames();
        const QString listed = MacroBlocks::MacroNameOfFile(QFile::decodeName(file));
        // A name the system's encoding reads back to its bytes names its file: it is usable.
        if (QTest::currentDataTag() == QLatin1String("name not in the system's encoding")
            && QFile::encodeName(QFile::decodeName(file)) == file)
            QSKIP("the system's encoding reads every byte: the name is an ordinary one");

        // The macro page: the entry is listed, choosing it tells, and nothing is shown or saved.
        Macro page;
        page.show();
        QListWidget* list = Child<QListWidget>(page, "listWidgetHong");
        QCOMPARE(list->count(), 2);
        const QList<QListWidgetItem*> found = list->findItems(listed, Qt::MatchExactly);
        QCOMPARE(found.size(), 1);
        const QRect entry = list->visualItemRect(found.first());
        QStringList seen = RunWithModals([&] { QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, entry.center()); });
        QCOMPARE(seen, QStringList{"SameMacro:" + notice});
        QCOMPARE(Child<QListWidget>(page, "listWidgetKey")->count(), 0);
        QVERIFY(page.CurrentMacroName().isEmpty());
        QMetaObject::invokeMethod(&page, "on_Save_clicked");
        // By the arrow key from the other entry: told once the key is handled.
        list->setCurrentRow(found.first() == list->item(0) ? 1 : 0);
        QCOMPARE(Child<QListWidget>(page, "listWidgetKey")->count(), 1);
        bool told = false;
        seen = RunWithModals(
            [&] {
                QTest::keyClick(list, found.first() == list->item(0) ? Qt::Key_Up : Qt::Key_Down);
                QTRY_VERIFY(told);
            },
            [&](QDialog* modal) {
                told = true;
                modal->close();
            });
        QCOMPARE(seen, QStringList{"SameMacro:" + notice});
        QCOMPARE(Child<QListWidget>(page, "listWidgetKey")->count(), 0);
        QCOMPARE(RawNames(), names);
        QCOMPARE(RawHead(file), head);

        // The button page: the entry is listed; chosen for a button, the notice, and the mouse keeps
        // what it had.
        FlashDataMap record{};
        const int mouse = devices->OpenWiredMouse(&record);
        QVERIFY(mouse >= 0);
        Buttoninterface buttons;
        buttons.SlotUpDataButtonUIB(record);
        buttons.show();
        Child<QToolButton>(buttons, "BackKey")->setChecked(true);
        Child<QStackedWidget>(buttons, "stackedWidget")->setCurrentWidget(Child<QWidget>(buttons, "page_2"));
        QTest::mouseClick(Child<QToolButton>(buttons, "DPI_10"), Qt::LeftButton);
        QToolButton* macro = nullptr;
        for (QToolButton* button : buttons.MacroListButtons()) {
            if (button->isEnabled() && button->text() == listed)
                macro = button;
        }
        QVERIFY(macro);
        seen = RunWithModals([&] { QTest::mouseClick(macro, Qt::LeftButton); });
        QCOMPARE(seen, QStringList{"SameMacro:" + notice});
        QVERIFY(SimControl_WaitIdle(2000));
        QCOMPARE(devices->RecordDifferences(mouse, record), QString());

        // A button bound to the name asks for it: nothing goes out.
        emit PostMsg::Instance()->SigMacroDownLoadData(listed, 2);
        QVERIFY(SimControl_WaitIdle(2000));
        QCOMPARE(devices->RecordDifferences(mouse, record), QString());
        QCOMPARE(RawHead(file), head);
    }
};

QTEST_MAIN(TestMacroListing)
#include "tst_macrolisting.moc"
