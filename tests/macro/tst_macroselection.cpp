#include "device/DeviceState.h"
#include "device/MacroBlocks.h"
#include "device/PostMsg.h"
#include "pages/macro/Macro.h"
#include "support/FindChild.h"
#include "support/PageTestHome.h"
#include "tests/macro/MacroTestSupport.h"

#include <QAction>
#include <QApplication>
#include <QBuffer>
#include <QFileDialog>
#include <QListWidget>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QToolButton>
#include <QtTest>

#include <sys/stat.h>
#include <unistd.h>

using namespace MacroTestSupport;

namespace {

const QByteArray FileA = "3\n0x04 1 0\n10ms\n0x04 1 1\n";
const QByteArray FileB = "254\n0x05 1 0\n20ms\n0x05 1 1\n30ms\n0x06 1 0\n10ms\n0x06 1 1\n";

// The centre of an entry of the macro list, in its window.
QPoint EntryPoint(Macro& page, const QString& name)
{
    QListWidget* list = Macros(page);
    QListWidgetItem* item = list->findItems(name, Qt::MatchExactly).first();
    return page.window()->windowHandle()->mapFromGlobal(
        list->viewport()->mapToGlobal(list->visualItemRect(item).center()));
}

// Answers whatever shows while action runs: the list's context menu gets its action of text
// menuAction (or closes), the file dialog the path (or is cancelled on an empty one), the question
// whether to replace a file Yes; every other modal dialog is noted and closed.
QStringList Answering(const std::function<void()>& action, const QString& menuAction, const QString& path)
{
    QStringList seen;
    QTimer timer;
    timer.setInterval(2);
    QWidget* last = nullptr;
    QObject::connect(&timer, &QTimer::timeout, [&] {
        if (auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
            QAction* chosen = nullptr;
            for (QAction* entry : menu->actions()) {
                if (entry->text() == menuAction)
                    chosen = entry;
            }
            if (seen.endsWith(QStringLiteral("QMenu")))
                return;
            seen << QStringLiteral("QMenu");
            // From the menu's own loop: the dialogs its command opens are answered here too.
            QTimer::singleShot(0, menu, [menu, chosen] {
                menu->close();
                if (chosen)
                    chosen->trigger();
            });
            return;
        }
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal || modal == last)
            return;
        last = modal;
        if (auto* dialog = qobject_cast<QFileDialog*>(modal)) {
            seen << QStringLiteral("QFileDialog");
            if (path.isEmpty()) {
                dialog->reject();
                return;
            }
            dialog->selectFile(path);
            QMetaObject::invokeMethod(dialog, "accept", Qt::QueuedConnection);
        } else if (auto* question = qobject_cast<QMessageBox*>(modal)) {
            seen << QStringLiteral("QMessageBox");
            question->button(QMessageBox::Yes)->click();
        } else if (auto* dialog = qobject_cast<QDialog*>(modal)) {
            seen << Describe(dialog);
            dialog->close();
        }
    });
    timer.start();
    action();
    // A notice the page gives once the command is over.
    QTest::qWait(20);
    // A window still open after the wait shows in what was seen, so that no comparison passes over it.
    if (!QTest::qWaitFor([] { return !QApplication::activeModalWidget() && !QApplication::activePopupWidget(); }, 10000))
        seen << QStringLiteral("still open");
    return seen;
}

// What an export file holds, as the import reads it.
QString ExportText(const QByteArray& bytes)
{
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    const Macro::ExportContent content = Macro::ReadExportStream(buffer);
    QStringList items;
    for (const Macro::ExportItem& item : content.items)
        items << item.text + (item.release ? QStringLiteral("^") : QString());
    return content.marker + QLatin1Char('|') + content.name + QLatin1Char('|') + content.repeatLine + QLatin1Char('|')
        + items.join(QLatin1Char(','));
}

bool IsFifo(const QString& path)
{
    struct stat status;
    return ::lstat(QFile::encodeName(path).constData(), &status) == 0 && S_ISFIFO(status.st_mode);
}

} // namespace

// The macro the editor shows is the one every command acts on, whichever way the user made an
// entry current; and the export file, which the import finds and which is written to regular files
// only.
class TestMacroSelection : public QObject
{
    Q_OBJECT
    PageTestHome home;

    // The page shown with the macros A and B, A loaded by a click and changed (its first line
    // deleted) but not saved.
    void OpenWithEditedA(Macro& page)
    {
        page.show();
        QVERIFY(QTest::qWaitForWindowExposed(&page));
        QTest::mouseClick(page.window()->windowHandle(), Qt::LeftButton, {}, EntryPoint(page, "A"));
        QCOMPARE(EventLines(page), QString("A,10ms,A^"));
        Child<QListWidget>(page, "listWidgetKey")->setCurrentRow(0);
        QMetaObject::invokeMethod(&page, "on_DeleteKey_clicked");
        QCOMPARE(EventLines(page), QString());
        QVERIFY(Child<QToolButton>(page, "Save")->isEnabled());
    }

    // Makes B current the given way: the arrow key, a press on A dragged to B, or a right click on B
    // (whose menu then gets menuAction).
    QStringList ChooseB(Macro& page, const QString& way, const QString& menuAction, const QString& path)
    {
        QWindow* window = page.window()->windowHandle();
        if (way == "keys") {
            Macros(page)->setFocus();
            QTest::keyClick(Macros(page), Qt::Key_Down);
        } else if (way == "drag") {
            QTest::mousePress(window, Qt::LeftButton, {}, EntryPoint(page, "A"));
            QTest::mouseMove(window, EntryPoint(page, "B"));
            QTest::mouseRelease(window, Qt::LeftButton, {}, EntryPoint(page, "B"));
        } else {
            return Answering([&] { QTest::mouseClick(window, Qt::RightButton, {}, EntryPoint(page, "B")); },
                             menuAction, path);
        }
        if (menuAction.isEmpty())
            return {};
        // The export is the menu's, over the entry now current.
        return Answering([&] { QTest::mouseClick(window, Qt::RightButton, {}, EntryPoint(page, "B")); }, menuAction,
                         path);
    }

private slots:
    void initTestCase()
    {
        home.Start();
    }
    void init()
    {
        PageTestHome::Reset();
        UserWritesEnabled = true;
        // No macro is on a button: Save asks nothing of the mouse.
        AdoptDeviceConfig(FlashDataMap{});
        QDir(MacroBlocks::MacroFolder()).removeRecursively();
        QDir().mkpath(MacroBlocks::MacroFolder());
        WriteFile(MacroBlocks::MacroFilePath("A"), FileA);
        WriteFile(MacroBlocks::MacroFilePath("B"), FileB);
    }

    // Open A, delete a line, make B current without a click, then Save or Export: what is written
    // is B's, byte for byte, as a plain click on B would give; A keeps its file (its unsaved edit
    // is dropped, as a click on B drops it).
    void commandsActOnTheShownMacro_data()
    {
        QTest::addColumn<QString>("way");
        QTest::addColumn<bool>("save");
        for (const char* way : {"keys", "drag", "right click"}) {
            QTest::addRow("%s, then Save", way) << QString(way) << true;
            QTest::addRow("%s, then Export", way) << QString(way) << false;
        }
    }
    void commandsActOnTheShownMacro()
    {
        QFETCH(QString, way);
        QFETCH(bool, save);
        QTemporaryDir exports;
        // What a click on B exports: the reference.
        const QString reference = exports.filePath("reference.ini");
        {
            Macro plain;
            Macros(plain)->setCurrentItem(Macros(plain)->findItems("B", Qt::MatchExactly).first());
            emit Macros(plain)->clicked(Macros(plain)->currentIndex());
            QVERIFY(plain.ExportMacroTo(reference));
        }
        const QByteArray referenceBytes = ReadFile(reference);
        QCOMPARE(ExportText(referenceBytes), QString("Velor|B|254|B,20ms,B^,30ms,C,10ms,C^"));

        Macro page;
        OpenWithEditedA(page);
        QSignalSpy updates(PostMsg::Instance(), &PostMsg::SigUpDataMacro);
        const QString exported = exports.filePath("b.ini");
        const QStringList seen =
            ChooseB(page, way, save ? QString() : page.MenuText("MacroExport"), save ? QString() : exported);
        QCOMPARE(Macros(page)->currentItem()->text(), QString("B"));
        QCOMPARE(EventLines(page), QString("B,20ms,B^,30ms,C,10ms,C^"));
        // Loading is no change: Save waits for one.
        QVERIFY(!Child<QToolButton>(page, "Save")->isEnabled());
        if (save) {
            QVERIFY(seen.isEmpty() || seen == QStringList{"QMenu"});
            QMetaObject::invokeMethod(&page, "on_Save_clicked");
            QCOMPARE(ReadFile(MacroBlocks::MacroFilePath("B")), FileB);
            // A's change was not saved; the flag it raised goes with the next Save, as it always did,
            // and the mouse gets B's file.
            QCOMPARE(updates.count(), 1);
            QCOMPARE(updates.first().at(0).toString(), QString("B"));
        } else {
            QCOMPARE(seen, QStringList({"QMenu", "QFileDialog"}));
            QCOMPARE(ReadFile(exported), referenceBytes);
            QCOMPARE(ReadFile(MacroBlocks::MacroFilePath("B")), FileB);
        }
        QCOMPARE(ReadFile(MacroBlocks::MacroFilePath("A")), FileA);
    }

    // The name chosen for an export gets ".ini" when it has no ending of its own, and the import,
    // which lists "*.ini", reads it back as the macro.
    void exportName_data()
    {
        QTest::addColumn<QString>("chosen");
        QTest::addColumn<QString>("written");
        QTest::newRow("no ending") << "macro_export" << "macro_export.ini";
        QTest::newRow("a dot at the end") << "macro." << "macro.ini";
        QTest::newRow("its own ending") << "macro.ini" << "macro.ini";
        QTest::newRow("another ending") << "macro.txt" << "macro.txt";
    }
    void exportName()
    {
        QFETCH(QString, chosen);
        QFETCH(QString, written);
        QTemporaryDir exports;
        Macro page;
        page.show();
        Macros(page)->setCurrentRow(1);
        QCOMPARE(EventLines(page), QString("B,20ms,B^,30ms,C,10ms,C^"));
        const QStringList seen = Answering([&] { page.ExPortMacro(); }, QString(), exports.filePath(chosen));
        QCOMPARE(seen, QStringList{"QFileDialog"});
        QCOMPARE(QDir(exports.path()).entryList(QDir::Files), QStringList{written});
        QCOMPARE(ExportText(ReadFile(exports.filePath(written))), QString("Velor|B|254|B,20ms,B^,30ms,C,10ms,C^"));

        if (!written.endsWith(".ini"))
            return;
        // Gone from the list and the folder, B comes back from the export.
        QVERIFY(page.DeleteCurrentMacro());
        QVERIFY(QDir::match(QStringLiteral("*.ini"), written));
        QCOMPARE(Answering([&] { page.InPortMacro(); }, QString(), exports.filePath(written)),
                 QStringList{"QFileDialog"});
        QCOMPARE(Macros(page)->currentItem()->text(), QString("B"));
        QCOMPARE(EventLines(page), QString("B,20ms,B^,30ms,C,10ms,C^"));
        QCOMPARE(ReadFile(MacroBlocks::MacroFilePath("B")), FileB);
    }

    // An export onto anything but a regular file (or a new one) is refused with its notice, and
    // what stood there stays: a named pipe a pipe, a link a link with its target unchanged.
    void exportRefusesSpecialFiles_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::newRow("named pipe") << "pipe";
        QTest::newRow("link to a file") << "link";
        QTest::newRow("link to nothing") << "dangling link";
    }
    void exportRefusesSpecialFiles()
    {
        QFETCH(QString, kind);
        QTemporaryDir exports;
        const QString target = exports.filePath("target.ini");
        const QString path = exports.filePath("export.ini");
        if (kind == "pipe") {
            QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
        } else {
            if (kind == "link")
                WriteFile(target, "kept");
            QVERIFY(QFile::link(target, path));
        }
        Macro page;
        page.show();
        Macros(page)->setCurrentRow(0);
        const QStringList seen = Answering([&] { page.ExPortMacro(); }, QString(), path);
        QCOMPARE(seen.last(), QString("SameMacro:DialogMacroExportNotFile"));
        if (kind == "pipe") {
            QVERIFY(IsFifo(path));
        } else {
            QCOMPARE(QFileInfo(path).symLinkTarget(), target);
            QCOMPARE(ReadFile(target), kind == "link" ? QByteArray("kept") : QByteArray("<missing>"));
        }
        // Nothing else was left in the folder.
        QCOMPARE(QDir(exports.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot).size(),
                 kind == "link" ? 2 : 1);
    }
};

QTEST_MAIN(TestMacroSelection)
#include "tst_macroselection.moc"
