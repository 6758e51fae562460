#include "device/KeyNames.h"
#include "device/MacroBlocks.h"
#include "device/PostMsg.h"
#include "pages/macro/Macro.h"
#include "pages/macro/QuestionDialog.h"
#include "platform/AppPaths.h"
#include "support/FileSizeLimit.h"
#include "support/FindChild.h"
#include "support/PageTestHome.h"
#include "tests/macro/MacroTestSupport.h"
#include "widgets/KeyboardHook.h"
#include "widgets/MyConmboBox.h"
#include "widgets/UiText.h"
#include "widgets/UiTextTables.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSignalSpy>
#include <QSpinBox>
#include <QToolButton>
#include <QtTest>
#include "support/LanguageRows.h"

using namespace MacroTestSupport;

namespace {

QString MacroPath(const QString& name)
{
    return MacroBlocks::MacroFolder() + QLatin1Char('/') + name + QStringLiteral(".ini");
}

QListWidget* Events(Macro& page)
{
    return Child<QListWidget>(page, "listWidgetKey");
}

QStringList Entries(QListWidget* list)
{
    QStringList entries;
    for (int row = 0; row < list->count(); ++row)
        entries << list->item(row)->text();
    return entries;
}

// The event list as "label" for a press or a delay and "label^" for a release.
QString EventText(Macro& page)
{
    QStringList items;
    QListWidget* list = Events(page);
    for (int row = 0; row < list->count(); ++row)
        items << list->item(row)->text() + (list->item(row)->type() == 1 ? QStringLiteral("^") : QString());
    return items.join(QLatin1Char(','));
}

// The checked repeat-mode box and the count.
QString RepeatBoxes(Macro& page)
{
    QStringList checked;
    for (const char* name : {"ReUntilLoose", "ReUntilClick", "ReNumber", "ReUntil"}) {
        if (Child<QCheckBox>(page, name)->isChecked())
            checked << QLatin1String(name);
    }
    return checked.join(QLatin1Char('+')) + QLatin1Char(' ') + QString::number(Child<QSpinBox>(page, "NumberEdit")->value());
}

void SelectMacro(Macro& page, const QString& name)
{
    const auto found = Macros(page)->findItems(name, Qt::MatchExactly);
    QVERIFY(!found.isEmpty());
    Macros(page)->setCurrentItem(found.first());
}

} // namespace

// The macro page with its macro files in a temporary home: the list, the files, the names, the
// event-list primitives and the page's texts.
class TestMacroPage : public QObject
{
    Q_OBJECT
    PageTestHome home;

private slots:
    void initTestCase()
    {
        home.Start();
    }
    void init()
    {
        PageTestHome::Reset();
        QDir(MacroBlocks::MacroFolder()).removeRecursively();
        QDir().mkpath(MacroBlocks::MacroFolder());
        WriteFile(AppPaths::UserDataFolder() + QStringLiteral("/Macro.ini"), "[Language]\nLanguage=0\n");
    }

    // --- the form ---

    void formControls_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("className");
        QTest::addColumn<QRect>("geometry");
        QTest::addColumn<bool>("takesFocus");
        const struct {
            const char* name;
            const char* className;
            QRect geometry;
            bool focus;
        } rows[] = {
            {"label_2", "QLabel", {350, 60, 201, 17}, false},
            {"listWidgetKey", "QListWidget", {350, 87, 261, 421}, false},
            {"label", "QLabel", {70, 60, 141, 17}, false},
            {"listWidgetHong", "QListWidget", {70, 87, 261, 421}, true},
            {"ChooseEvent", "MyConmboBox", {640, 432, 181, 30}, false},
            {"ReUntilClick", "QCheckBox", {640, 257, 21, 20}, false},
            {"AutoInsertDelay", "QCheckBox", {640, 100, 20, 20}, false},
            {"ReNumber", "QCheckBox", {640, 337, 191, 17}, false},
            {"NewHong", "QToolButton", {70, 530, 116, 30}, false},
            {"DeleteHong", "QToolButton", {200, 530, 116, 30}, false},
            {"Amend", "QToolButton", {350, 530, 116, 30}, false},
            {"DeleteKey", "QToolButton", {485, 530, 116, 30}, false},
            {"DefaultDelay", "QCheckBox", {640, 142, 211, 20}, false},
            {"StartRecord", "QPushButton", {637, 57, 190, 32}, false},
            {"StopRecord", "QPushButton", {637, 57, 190, 32}, false},
            {"label_3", "QLabel", {640, 407, 181, 16}, false},
            {"DelayTime", "QSpinBox", {660, 167, 76, 30}, true},
            {"NumberEdit", "QSpinBox", {660, 362, 76, 30}, true},
            {"ReUntil", "QCheckBox", {640, 297, 16, 17}, false},
            {"Save", "QToolButton", {640, 477, 116, 30}, false},
            {"AutoInsertDelayLabel", "QLabel", {660, 100, 201, 41}, false},
            {"ReUntilLabel", "QLabel", {660, 295, 201, 41}, false},
            {"ReUntilClickLabel", "QLabel", {660, 255, 201, 41}, false},
            {"ReUntilLoose", "QCheckBox", {640, 217, 21, 20}, false},
            {"ReUntilLooseLabel", "QLabel", {660, 215, 201, 41}, false},
        };
        for (const auto& row : rows)
            QTest::newRow(row.name) << row.name << row.className << row.geometry << row.focus;
    }
    void formControls()
    {
        QFETCH(QString, name);
        QFETCH(QString, className);
        QFETCH(QRect, geometry);
        QFETCH(bool, takesFocus);
        Macro page;
        auto* control = page.findChild<QWidget*>(name);
        QVERIFY(control);
        QCOMPARE(QString(control->metaObject()->className()), className);
        QCOMPARE(control->parentWidget()->objectName(), QString("MacroPage"));
        QCOMPARE(control->geometry(), geometry);
        // Space and Enter typed while recording press nothing on the page.
        QCOMPARE(control->focusPolicy() != Qt::NoFocus, takesFocus);
    }

    void formAsAWhole()
    {
        Macro page;
        QCOMPARE(page.objectName(), QString("Macro"));
        QCOMPARE(page.minimumSize(), QSize(883, 630));
        QCOMPARE(page.maximumSize(), QSize(883, 630));
        auto* frame = Child<QFrame>(page, "MacroPage");
        QStringList order;
        for (QObject* child : frame->children()) {
            if (child->isWidgetType())
                order << child->objectName();
        }
        QCOMPARE(order, QStringList({"label_2", "listWidgetKey", "label", "listWidgetHong", "ChooseEvent", "ReUntilClick",
                                     "AutoInsertDelay", "ReNumber", "NewHong", "DeleteHong", "Amend", "DeleteKey",
                                     "DefaultDelay", "StartRecord", "StopRecord", "label_3", "DelayTime", "NumberEdit",
                                     "ReUntil", "Save", "AutoInsertDelayLabel", "ReUntilLabel", "ReUntilClickLabel",
                                     "ReUntilLoose", "ReUntilLooseLabel"}));
        auto* delay = Child<QSpinBox>(page, "DelayTime");
        QCOMPARE(delay->minimum(), 10);
        QCOMPARE(delay->maximum(), 99999);
        QCOMPARE(delay->value(), 10);
        auto* count = Child<QSpinBox>(page, "NumberEdit");
        QCOMPARE(count->minimum(), 1);
        QCOMPARE(count->maximum(), 250);
        QCOMPARE(count->value(), 1);
        QCOMPARE(Child<MyConmboBox>(page, "ChooseEvent")->count(), 9);
        QCOMPARE(Child<MyConmboBox>(page, "ChooseEvent")->itemText(0), QString());
        // The constructor's state: stop hidden, delays recorded as they come, a count of 1, Save off.
        QVERIFY(Child<QPushButton>(page, "StopRecord")->isHidden());
        QVERIFY(Child<QCheckBox>(page, "AutoInsertDelay")->isChecked());
        QCOMPARE(RepeatBoxes(page), QString("ReNumber 1"));
        QVERIFY(!Child<QToolButton>(page, "Save")->isEnabled());
        // The recorder's hook is the page's, and waits for a recording.
        QCOMPARE(page.RecorderHook(), &KeyboardHook::MacroRecorder());
        QVERIFY(!page.RecorderHook()->IsInstalled());
        page.RecorderHook()->InstallKeyboardHook();
        emit PostMsg::Instance()->SigSetMacroPage();
        QVERIFY(!page.RecorderHook()->IsInstalled());
    }

    // Every picture the page's style sheets and icons name is laid out beside the program.
    void everyPictureThePageNamesExists()
    {
        Macro page;
        QVERIFY(page.CreateMacro("m"));
        page.AppendKeyEvent("A", true);
        page.AppendDelayEvent(10);
        page.AppendKeyEvent("A", false);
        const QRegularExpression url("url\\(([^)]*)\\)");
        QStringList sheets;
        for (QWidget* widget : page.findChildren<QWidget*>())
            sheets << widget->styleSheet();
        int pictures = 0;
        for (const QString& sheet : sheets) {
            auto match = url.globalMatch(sheet);
            while (match.hasNext()) {
                const QString path = match.next().captured(1);
                QVERIFY2(QFileInfo(path).isFile(), qPrintable(path));
                ++pictures;
            }
        }
        QVERIFY(pictures >= 20);
        for (int row = 0; row < Events(page)->count(); ++row)
            QVERIFY(!Events(page)->item(row)->icon().pixmap(12, 12).isNull());
    }

    // --- the macro list ---

    void listFromTheFolder()
    {
        const QString folder = MacroBlocks::MacroFolder() + QLatin1Char('/');
        for (const char* file : {"b.ini", "A.ini", "ab.ini.ini", "xmlnotes.ini", "notes.txt", "y.xml.ini"})
            WriteFile(folder + file, "1\n");
        QDir().mkpath(folder + "sub.ini");
        QFile::link(folder + "b.ini", folder + "link.ini");
        Macro page;
        // By name ignoring case; every ".ini" dropped; no "xml" name; no folder, no link.
        QCOMPARE(Entries(Macros(page)), QStringList({"A", "ab", "b", "notes.txt"}));
        QCOMPARE(Macros(page)->currentRow(), -1);
    }

    // --- reading a macro file ---

    void readFile_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QString>("events");
        QTest::addColumn<QString>("repeat");
        QTest::newRow("key and delay lines") << QByteArray("3\n0x04 1 0\n10ms\n0x04 1 1\n") << "A,10ms,A^" << "ReNumber 3";
        QTest::newRow("CR LF") << QByteArray("5\r\n0x04 1 0\r\n10ms\r\n0x04 1 1\r\n") << "A,10ms,A^" << "ReNumber 5";
        QTest::newRow("cut after a CR") << QByteArray("5\r\n0x04 1 0\r\n10ms\r") << "A,10ms" << "ReNumber 5";
        QTest::newRow("wrong third field") << QByteArray("1\n0x04 1 2\n0x05 1 0\n") << "B" << "ReNumber 1";
        QTest::newRow("two fields") << QByteArray("1\n0x04 1\n20ms\n") << "20ms" << "ReNumber 1";
        QTest::newRow("four fields") << QByteArray("1\n0x04 1 0 0\n20ms\n") << "20ms" << "ReNumber 1";
        QTest::newRow("empty line") << QByteArray("1\n0x04 1 0\n\n0x04 1 1\n") << "A,,A^" << "ReNumber 1";
        QTest::newRow("last key line without its end") << QByteArray("1\n0x04 1 0\n10ms\n0x04 1 1") << "A,10ms"
                                                        << "ReNumber 1";
        QTest::newRow("last delay line without its end") << QByteArray("1\n0x04 1 0\n10ms") << "A,10ms" << "ReNumber 1";
        QTest::newRow("modifier and mouse button") << QByteArray("1\n0x01 0 0\n0x01 4 0\n0x10 4 1\n")
                                                   << "LCtrl,Left,Forward^" << "ReNumber 1";
        QTest::newRow("a pair the table lacks") << QByteArray("1\n0xF0 1 0\n") << "" << "ReNumber 1";
        QTest::newRow("repeat 0") << QByteArray("0\n") << "" << "ReNumber 1";
        QTest::newRow("repeat 250") << QByteArray("250\n") << "" << "ReNumber 250";
        QTest::newRow("repeat 251") << QByteArray("251\n") << "" << "ReNumber 1";
        QTest::newRow("repeat 253") << QByteArray("253\n") << "" << "ReUntil 1";
        QTest::newRow("repeat 254") << QByteArray("254\n") << "" << "ReUntilLoose 1";
        QTest::newRow("repeat 255") << QByteArray("255\n") << "" << "ReUntilClick 1";
        QTest::newRow("empty file") << QByteArray() << "" << "ReNumber 1";
    }
    void readFile()
    {
        QFETCH(QByteArray, text);
        QFETCH(QString, events);
        QFETCH(QString, repeat);
        WriteFile(MacroPath("m"), text);
        Macro page;
        page.SlotAllLanguage(0);
        KeyNames::MouseButtonNames = {"Left", "Right", "Middle", "Back", "Forward"};
        SelectMacro(page, "m");
        QVERIFY(page.ReadMacroFile());
        QCOMPARE(EventText(page), events);
        QCOMPARE(RepeatBoxes(page), repeat);
        // Loading is not a change: Save stays off.
        QVERIFY(!Child<QToolButton>(page, "Save")->isEnabled());
        // Every line the page kept is written back as it was read.
        const QStringList lines = page.EventLines();
        const MacroFile::Content content = MacroFile::Parse(text);
        QCOMPARE(lines.size(), content.lines.size());
        for (int i = 0; i < lines.size(); ++i)
            QCOMPARE(lines.at(i), MacroFile::LineText(content.lines.at(i)));
    }

    void clickingAnEntryShowsItsMacro()
    {
        WriteFile(MacroPath("one"), "254\n0x04 1 0\n10ms\n0x04 1 1\n");
        WriteFile(MacroPath("two"), "7\n0x05 1 0\n");
        Macro page;
        page.show();
        QListWidget* list = Macros(page);
        const QRect second = list->visualItemRect(list->item(1));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, second.center());
        QCOMPARE(EventText(page), QString("B"));
        QCOMPARE(RepeatBoxes(page), QString("ReNumber 7"));
        const QRect first = list->visualItemRect(list->item(0));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, first.center());
        QCOMPARE(EventText(page), QString("A,10ms,A^"));
        QCOMPARE(RepeatBoxes(page), QString("ReUntilLoose 7"));
        QVERIFY(!Child<QToolButton>(page, "Save")->isEnabled());

        // A file far too large for a macro: not read, the notice.
        WriteFile(MacroPath("one"), "1\n" + QByteArray(1 << 20, ' ') + "\n0x04 1 0\n");
        QStringList seen = RunWithModals([&] { QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, first.center()); });
        QCOMPARE(seen, QStringList({"SameMacro:DialogMacroFileTooLarge"}));
        QCOMPARE(EventText(page), QString());

        // A file that went away meanwhile: an empty list and the notice.
        QVERIFY(QFile::remove(MacroPath("two")));
        seen = RunWithModals([&] { QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, second.center()); });
        QCOMPARE(seen, QStringList({"SameMacro:DialogMacroFileMissing"}));
        QCOMPARE(EventText(page), QString());
    }

    // --- writing ---

    // Every key name and the five mouse-button names come back from the file, also when the
    // language changed between making the lines and reading them back.
    void writeThenReadKeepsEveryKey_data()
    {
        QTest::addColumn<int>("readLanguage");
        QTest::newRow("same language") << 0;
        QTest::newRow("after a language switch") << 1;
    }
    void writeThenReadKeepsEveryKey()
    {
        QFETCH(int, readLanguage);
        Macro page;
        QVERIFY(page.CreateMacro("all"));
        QStringList labels;
        for (const KeyNames::KeyEntry& entry : KeyNames::KeyboardTable()) {
            if (*entry.name)
                labels << QString::fromUtf8(entry.name);
        }
        for (const QString& name : KeyNames::MouseButtonNames)
            labels << name;
        QCOMPARE(labels.size(), 103 + 5);
        for (const QString& label : labels) {
            page.AppendKeyEvent(label, true);
            page.AppendDelayEvent(15);
            page.AppendKeyEvent(label, false);
        }
        QCOMPARE(Events(page)->count(), 3 * labels.size());
        const QStringList lines = page.EventLines();

        UiLanguage = readLanguage;
        emit PostMsg::Instance()->SigAllLanguage(readLanguage);
        // Items already in the list keep their text; their lines are those they were made with.
        QCOMPARE(Events(page)->item(3 * 103)->text(), UiText::Option(0, "InsertEventOptions", "2"));
        QCOMPARE(page.EventLines(), lines);
        QVERIFY(Macro::WriteMacroFile("all", "9", page.EventLines()));
        QVERIFY(page.ReadMacroFile());
        QCOMPARE(page.EventLines(), lines);
        QStringList expected;
        for (int i = 0; i < labels.size(); ++i) {
            const QString label = i < 103 ? labels.at(i) : KeyNames::MouseButtonNames[size_t(i - 103)];
            expected << label << "15ms" << label + "^";
        }
        QCOMPARE(EventText(page), expected.join(','));
        QCOMPARE(RepeatBoxes(page), QString("ReNumber 9"));
    }

    void writerGivesTheRepeatMode_data()
    {
        QTest::addColumn<QString>("box");
        QTest::addColumn<int>("count");
        QTest::addColumn<int>("mode");
        QTest::newRow("until released") << "ReUntilLoose" << 1 << 254;
        QTest::newRow("until any key") << "ReUntilClick" << 1 << 255;
        QTest::newRow("until pressed again") << "ReUntil" << 1 << 253;
        QTest::newRow("seven times") << "ReNumber" << 7 << 7;
    }
    void writerGivesTheRepeatMode()
    {
        QFETCH(QString, box);
        QFETCH(int, count);
        QFETCH(int, mode);
        Macro page;
        QVERIFY(page.CreateMacro("m"));
        page.AppendKeyEvent("A", true);
        Child<QSpinBox>(page, "NumberEdit")->setValue(count);
        page.findChild<QCheckBox*>(box)->setChecked(true);
        QCOMPARE(page.RepeatMode(), mode);
        QVERIFY(Macro::WriteMacroFile("m", QString::number(page.RepeatMode()), page.EventLines()));
        QCOMPARE(ReadFile(MacroPath("m")), QByteArray::number(mode) + "\n0x04 1 0\n");
        QCOMPARE(MacroBlocks::ReadMacroRepeatMode("m"), QString::number(mode));
    }

    // A write that cannot be made leaves the file as it was.
    void refusedWritesKeepTheOldFile()
    {
        WriteFile(MacroPath("kept"), "3\n0x04 1 0\n");
        QVERIFY(QFile::setPermissions(MacroPath("kept"), QFile::ReadOwner | QFile::ReadGroup));
        QVERIFY(!Macro::WriteMacroFile("kept", "5", {"0x05 1 0"}));
        QCOMPARE(ReadFile(MacroPath("kept")), QByteArray("3\n0x04 1 0\n"));
        QFile::setPermissions(MacroPath("kept"), QFile::ReadOwner | QFile::WriteOwner);

        QDir().mkpath(MacroPath("folder"));
        QVERIFY(!Macro::WriteMacroFile("folder", "5", {}));
        QVERIFY(QFileInfo(MacroPath("folder")).isDir());

        const auto before = Snapshot(home.Path());
        QVERIFY(!Macro::WriteMacroFile("../../Macro", "5", {}));
        QVERIFY(!Macro::WriteMacroFile("", "5", {}));
        QCOMPARE(Snapshot(home.Path()), before);

        QVERIFY(Macro::WriteMacroFile("kept", "5", {"0x05 1 0", "10ms"}));
        QCOMPARE(ReadFile(MacroPath("kept")), QByteArray("5\n0x05 1 0\n10ms\n"));

        // A full disk: what fits is not put in place of the saved macro.
        QStringList longMacro;
        for (int i = 0; i < 40; ++i)
            longMacro << QStringLiteral("0x%1 1 0").arg(0x04 + i % 26, 2, 16, QLatin1Char('0')).toUpper() << QStringLiteral("10ms");
        {
            FileSizeLimit fullDisk(64);
            QVERIFY(fullDisk.Active());
            QVERIFY(!Macro::WriteMacroFile("kept", "5", longMacro));
        }
        QCOMPARE(ReadFile(MacroPath("kept")), QByteArray("5\n0x05 1 0\n10ms\n"));
    }

    // --- names ---

    // Names typed, pasted or brought from elsewhere: a refused one touches nothing and says so.
    void namesThroughCreateAndRename_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("accepted");
        QTest::newRow("up two folders") << "../../Macro" << false;
        QTest::newRow("up one folder") << "../MacroPage" << false;
        QTest::newRow("slash") << "a/b" << false;
        QTest::newRow("backslash") << "a\\b" << false;
        QTest::newRow("dot dot") << ".." << false;
        QTest::newRow("dot") << "." << false;
        QTest::newRow("leading dot") << ".x" << false;
        QTest::newRow("absolute") << "/tmp/x" << false;
        QTest::newRow("line feed") << "a\nb" << false;
        QTest::newRow("ends in .ini") << "ab.ini" << false;
        QTest::newRow("holds xml") << "xmlnotes" << false;
        QTest::newRow("31 bytes") << QString(31, 'n') << false;
        QTest::newRow("11 Chinese characters") << QString::fromUtf8("一二三四五六七八九十百") << false;
        QTest::newRow("30 bytes") << QString(30, 'n') << true;
        QTest::newRow("10 Chinese characters") << QString::fromUtf8("一二三四五六七八九十") << true;
        QTest::newRow("inner spaces") << "my  macro 2" << true;
        QTest::newRow("Chinese") << QString::fromUtf8("宏一") << true;
        QTest::newRow("dots inside") << "a.b" << true;
    }
    void namesThroughCreateAndRename()
    {
        QFETCH(QString, name);
        QFETCH(bool, accepted);
        WriteFile(AppPaths::UserDataFolder() + "/Macro.ini", "[Language]\nLanguage=0\n");
        WriteFile(MacroPath("old"), "2\n0x04 1 0\n");
        Macro page;
        QSignalSpy renamed(PostMsg::Instance(), &PostMsg::SigMacroRename);

        // Create.
        auto before = Snapshot(home.Path());
        QStringList seen = RunWithModals([&] { QCOMPARE(page.CreateMacro(name), accepted); });
        if (accepted) {
            QCOMPARE(seen, QStringList());
            QCOMPARE(Entries(Macros(page)), QStringList({"old", name}));
            QCOMPARE(Macros(page)->currentRow(), 1);
            // The one change: the new macro's empty file in the macro folder.
            auto expected = before;
            expected.insert(QDir(home.Path()).relativeFilePath(MacroPath(name)), QByteArray());
            QCOMPARE(Snapshot(home.Path()), expected);
            QVERIFY(QFile::remove(MacroPath(name)));
            delete Macros(page)->takeItem(1);
        } else {
            QCOMPARE(seen, QStringList({"SameMacro:DialogMacroNameRefused"}));
            QCOMPARE(Entries(Macros(page)), QStringList({"old"}));
            QCOMPARE(Snapshot(home.Path()), before);
        }

        // Rename.
        SelectMacro(page, "old");
        seen = RunWithModals([&] { QCOMPARE(page.RenameCurrentMacro(name), accepted); });
        if (accepted) {
            QCOMPARE(seen, QStringList());
            QCOMPARE(Entries(Macros(page)), QStringList({name}));
            QCOMPARE(ReadFile(MacroPath(name)), QByteArray("2\n0x04 1 0\n"));
            QVERIFY(!QFile::exists(MacroPath("old")));
            QCOMPARE(renamed.count(), 1);
            QCOMPARE(renamed.at(0), QVariantList({"old", name}));
        } else {
            QCOMPARE(seen, QStringList({"SameMacro:DialogMacroNameRefused"}));
            QCOMPARE(Entries(Macros(page)), QStringList({"old"}));
            QCOMPARE(Snapshot(home.Path()), before);
            QCOMPARE(renamed.count(), 0);
        }
    }

    void takenNames_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("notice");
        QTest::newRow("create a listed name") << "create" << "two" << "SameMacro:DialogSameMacroName";
        QTest::newRow("create a name whose file came later") << "create" << "late" << "SameMacro:DialogSameMacroName";
        QTest::newRow("create another case") << "create" << "TWO" << "";
        QTest::newRow("rename to the current name") << "rename" << "one" << "SameMacro:DialogSameMacroName";
        QTest::newRow("rename to another macro") << "rename" << "two" << "SameMacro:DialogSameMacroName";
        QTest::newRow("rename to a name whose file came later") << "rename" << "late" << "SameMacro:DialogSameMacroName";
        QTest::newRow("rename to another case") << "rename" << "One" << "";
        QTest::newRow("create an empty name") << "create" << "" << "";
        QTest::newRow("rename to an empty name") << "rename" << "" << "";
    }
    void takenNames()
    {
        QFETCH(QString, command);
        QFETCH(QString, name);
        QFETCH(QString, notice);
        WriteFile(MacroPath("one"), "1\n0x04 1 0\n");
        WriteFile(MacroPath("two"), "2\n0x05 1 0\n");
        Macro page;
        WriteFile(MacroPath("late"), "3\n0x06 1 0\n");
        SelectMacro(page, "one");
        QSignalSpy renamed(PostMsg::Instance(), &PostMsg::SigMacroRename);
        const auto before = Snapshot(home.Path());
        bool changed = false;
        const QStringList seen = RunWithModals([&] {
            changed = command == "create" ? page.CreateMacro(name) : page.RenameCurrentMacro(name);
        });
        QCOMPARE(seen, notice.isEmpty() ? QStringList() : QStringList({notice}));
        QCOMPARE(changed, notice.isEmpty() && !name.isEmpty());
        if (!changed) {
            QCOMPARE(Snapshot(home.Path()), before);
            QCOMPARE(Entries(Macros(page)), QStringList({"one", "two"}));
            QCOMPARE(renamed.count(), 0);
        }
    }

    // --- create, rename, delete ---

    void createThroughTheNameDialog()
    {
        WriteFile(MacroPath("one"), "254\n0x04 1 0\n");
        Macro page;
        page.show();
        SelectMacro(page, "one");
        QVERIFY(page.ReadMacroFile());
        QCOMPARE(RepeatBoxes(page), QString("ReUntilLoose 1"));
        Child<QSpinBox>(page, "NumberEdit")->setValue(4);
        const QStringList seen = RunWithModals([&] { Child<QToolButton>(page, "NewHong")->click(); },
                                               [](QDialog* dialog) {
                                                   auto* field = Child<QLineEdit>(*dialog, "lineEdit");
                                                   QTest::keyClicks(field, "typed");
                                                   Child<QToolButton>(*dialog, "NewHong")->click();
                                               });
        QCOMPARE(seen.size(), 1);
        QVERIFY(seen.first().startsWith("QuestionDialog:"));
        QCOMPARE(Entries(Macros(page)), QStringList({"one", "typed"}));
        QCOMPARE(Macros(page)->currentRow(), 1);
        QCOMPARE(ReadFile(MacroPath("typed")), QByteArray());
        QCOMPARE(EventText(page), QString());
        QCOMPARE(RepeatBoxes(page), QString("ReNumber 1"));

        // Cancelled: nothing.
        const auto before = Snapshot(home.Path());
        RunWithModals([&] { Child<QToolButton>(page, "NewHong")->click(); },
                      [](QDialog* dialog) {
                          QTest::keyClicks(Child<QLineEdit>(*dialog, "lineEdit"), "other");
                          Child<QToolButton>(*dialog, "NewHong_2")->click();
                      });
        QCOMPARE(Snapshot(home.Path()), before);
        QCOMPARE(Macros(page)->count(), 2);
    }

    void renameThroughTheContextCommand()
    {
        WriteFile(MacroPath("one"), "1\n0x04 1 0\n");
        Macro page;
        SelectMacro(page, "one");
        QSignalSpy renamed(PostMsg::Instance(), &PostMsg::SigMacroRename);
        RunWithModals([&] { page.RenameMacro(); },
                      [](QDialog* dialog) {
                          QTest::keyClicks(Child<QLineEdit>(*dialog, "lineEdit"), "first");
                          Child<QToolButton>(*dialog, "NewHong")->click();
                      });
        QCOMPARE(Entries(Macros(page)), QStringList({"first"}));
        QCOMPARE(ReadFile(MacroPath("first")), QByteArray("1\n0x04 1 0\n"));
        QCOMPARE(renamed.count(), 1);
    }

    // The file moves first; when it cannot, the list and the button page stay as they were.
    void failedRenameChangesNothing()
    {
        WriteFile(MacroPath("one"), "1\n");
        Macro page;
        SelectMacro(page, "one");
        QVERIFY(QFile::remove(MacroPath("one")));
        QSignalSpy renamed(PostMsg::Instance(), &PostMsg::SigMacroRename);
        const QStringList seen = RunWithModals([&] { QVERIFY(!page.RenameCurrentMacro("new")); });
        QCOMPARE(seen, QStringList({"SameMacro:DialogMacroFileFailed"}));
        QCOMPARE(Entries(Macros(page)), QStringList({"one"}));
        QVERIFY(!QFile::exists(MacroPath("new")));
        QCOMPARE(renamed.count(), 0);
    }

    void deleteAsksFirst_data()
    {
        QTest::addColumn<QString>("answer");
        QTest::addColumn<bool>("deleted");
        QTest::newRow("confirmed") << "NewHong" << true;
        QTest::newRow("closed") << "CloseButton" << false;
        QTest::newRow("escape") << "Escape" << false;
    }
    void deleteAsksFirst()
    {
        QFETCH(QString, answer);
        QFETCH(bool, deleted);
        WriteFile(MacroPath("one"), "1\n0x04 1 0\n");
        WriteFile(MacroPath("two"), "2\n");
        Macro page;
        page.SlotAllLanguage(0);
        SelectMacro(page, "one");
        QVERIFY(page.ReadMacroFile());
        QSignalSpy gone(PostMsg::Instance(), &PostMsg::SigDeleteMacroButton);
        const auto before = Snapshot(home.Path());
        const QStringList seen = RunWithModals([&] { Child<QToolButton>(page, "DeleteHong")->click(); },
                                               [&](QDialog* dialog) {
                                                   if (answer == "Escape")
                                                       QTest::keyClick(dialog, Qt::Key_Escape);
                                                   else
                                                       dialog->findChild<QToolButton*>(answer)->click();
                                               });
        QCOMPARE(seen, QStringList({"DeleteConfirm:" + UiText::Text(0, "macro", "DialogDeleteMacro")}));
        if (deleted) {
            QVERIFY(!QFile::exists(MacroPath("one")));
            QCOMPARE(ReadFile(MacroPath("two")), QByteArray("2\n"));
            QCOMPARE(gone.count(), 1);
            QCOMPARE(gone.at(0).at(0).toString(), UiText::Text(0, "macro", "MacroSeond") + "one");
            QCOMPARE(Entries(Macros(page)), QStringList({"two"}));
            QCOMPARE(Macros(page)->currentRow(), -1);
            QCOMPARE(EventText(page), QString());
        } else {
            QCOMPARE(Snapshot(home.Path()), before);
            QCOMPARE(gone.count(), 0);
            QCOMPARE(Entries(Macros(page)), QStringList({"one", "two"}));
        }
    }

    void deleteWithoutASelectionAsksNothing()
    {
        WriteFile(MacroPath("one"), "1\n");
        Macro page;
        const QStringList seen = RunWithModals([&] { Child<QToolButton>(page, "DeleteHong")->click(); });
        QCOMPARE(seen, QStringList());
        QVERIFY(QFile::exists(MacroPath("one")));
    }

    void recordingStopsCreateAndDelete_data()
    {
        QTest::addColumn<QString>("button");
        QTest::newRow("new") << "NewHong";
        QTest::newRow("delete") << "DeleteHong";
    }
    void recordingStopsCreateAndDelete()
    {
        QFETCH(QString, button);
        WriteFile(MacroPath("one"), "1\n");
        Macro page;
        SelectMacro(page, "one");
        MacroRecording = true;
        const auto before = Snapshot(home.Path());
        const QStringList seen = RunWithModals([&] { page.findChild<QToolButton*>(button)->click(); });
        QCOMPARE(seen, QStringList({"ExeIsRun:" + UiText::Text(0, "macro", "DialogStopRecordFirst")}));
        QCOMPARE(Snapshot(home.Path()), before);
        QCOMPARE(Macros(page)->count(), 1);
    }

    // --- the event-list primitives ---

    // Starting from a list ("B" a press, "B^" a release, "20ms" a delay) and a current row, each
    // primitive puts its items where the page's rules say.
    void primitives_data()
    {
        QTest::addColumn<QString>("list");
        QTest::addColumn<int>("row");
        QTest::addColumn<QString>("primitive");
        QTest::addColumn<QString>("result");
        QTest::addColumn<int>("currentAfter");
        QTest::newRow("key, row 0") << "B,20ms,B^,20ms" << 0 << "key" << "B,20ms,A,10ms,B^,20ms" << 0;
        QTest::newRow("key, row 0 of one") << "B" << 0 << "key" << "B,A,10ms" << 0;
        QTest::newRow("key, no row") << "B,20ms" << -1 << "key" << "B,20ms,A,10ms" << -1;
        QTest::newRow("key, empty list") << "" << -1 << "key" << "A,10ms" << -1;
        QTest::newRow("key, last row") << "B,20ms,B^" << 2 << "key" << "B,20ms,B^,10ms,A" << 2;
        QTest::newRow("key, on a delay") << "B,20ms,B^,20ms" << 1 << "key" << "B,20ms,A,10ms,B^,20ms" << 1;
        QTest::newRow("key, on a key") << "B,20ms,B^,20ms,B" << 2 << "key" << "B,20ms,B^,20ms,A,10ms,B" << 2;
        QTest::newRow("stroke, row 0") << "B,20ms,B^,20ms" << 0 << "stroke" << "B,20ms,A,10ms,A^,10ms,B^,20ms" << 0;
        QTest::newRow("stroke, empty list") << "" << -1 << "stroke" << "A,10ms,A^" << -1;
        QTest::newRow("stroke, no row") << "B,20ms" << -1 << "stroke" << "B,20ms,10ms,A,10ms,A^" << -1;
        QTest::newRow("stroke, last row") << "B,20ms,B^" << 2 << "stroke" << "B,20ms,B^,10ms,A,10ms,A^" << 2;
        QTest::newRow("stroke, on a delay") << "B,20ms,B^,20ms" << 1 << "stroke" << "B,20ms,A,10ms,A^,10ms,B^,20ms" << 1;
        QTest::newRow("stroke, on a key") << "B,20ms,B^,20ms" << 2 << "stroke" << "B,20ms,B^,10ms,A,10ms,A^,20ms" << 2;
        QTest::newRow("delay, no row") << "B,20ms" << -1 << "delay" << "B,20ms,30ms" << -1;
        QTest::newRow("delay, row 0") << "B,20ms" << 0 << "delay" << "B,20ms" << 0;
        QTest::newRow("delay, on a delay") << "B,20ms,B^" << 1 << "delay" << "B,30ms,B^" << 1;
        QTest::newRow("delay, on a key after a delay") << "B,20ms,B^" << 2 << "delay" << "B,30ms,B^" << 1;
        QTest::newRow("delay, on a key after a key") << "B,B^" << 1 << "delay" << "B,30ms,B^" << 1;
        QTest::newRow("append key") << "B,20ms" << -1 << "append key" << "B,20ms,A" << 2;
        QTest::newRow("append delay") << "B" << -1 << "append delay" << "B,30ms" << 0;
        QTest::newRow("unknown key") << "B,20ms" << 1 << "unknown key" << "B,20ms" << 1;
    }
    void primitives()
    {
        QFETCH(QString, list);
        QFETCH(int, row);
        QFETCH(QString, primitive);
        QFETCH(QString, result);
        QFETCH(int, currentAfter);
        Macro page;
        QVERIFY(page.CreateMacro("m"));
        for (const QString& item : list.split(',', Qt::SkipEmptyParts)) {
            if (item.endsWith("ms"))
                page.AppendDelayEvent(item.chopped(2).toDouble());
            else
                page.AppendKeyEvent(item.left(1), !item.endsWith('^'));
        }
        QCOMPARE(EventText(page), list);
        Events(page)->setCurrentRow(row);
        if (primitive == "key")
            page.InsertKeyEvent("A", true);
        else if (primitive == "stroke")
            page.InsertKeyStroke("A");
        else if (primitive == "delay")
            page.InsertDelayEvent(30);
        else if (primitive == "append key")
            page.AppendKeyEvent("A", true);
        else if (primitive == "append delay")
            page.AppendDelayEvent(30);
        else if (primitive == "unknown key") {
            page.InsertKeyEvent("NoSuchKey", true);
            page.InsertKeyStroke("NoSuchKey");
            page.AppendKeyEvent("NoSuchKey", true);
        }
        QCOMPARE(EventText(page), result);
        QCOMPARE(Events(page)->currentRow(), currentAfter);
        // Every key item writes a whole key line.
        for (const QString& line : page.EventLines())
            QVERIFY2(line.endsWith("ms") || line.split(' ').size() == 3, qPrintable(line));
    }

    void appendNeedsAMacro()
    {
        Macro page;
        page.AppendKeyEvent("A", true);
        page.AppendDelayEvent(10);
        QCOMPARE(Events(page)->count(), 0);
    }

    void mouseButtonNames_data()
    {
        QTest::addColumn<int>("usage");
        QTest::addColumn<QString>("option");
        QTest::newRow("left") << 1 << "2";
        QTest::newRow("right") << 2 << "3";
        QTest::newRow("middle") << 4 << "4";
        QTest::newRow("forward") << 16 << "5";
        QTest::newRow("back") << 8 << "6";
        QTest::newRow("none") << 3 << "";
        QTest::newRow("zero") << 0 << "";
    }
    void mouseButtonNames()
    {
        QFETCH(int, usage);
        QFETCH(QString, option);
        Macro page;
        for (int language = 0; language < 3; ++language) {
            page.SlotAllLanguage(language);
            const QString expected = option.isEmpty() ? QString() : UiText::Option(language, "InsertEventOptions", option);
            QCOMPARE(Macro::MouseButtonName(usage), expected);
            QVERIFY(option.isEmpty() || !expected.isEmpty());
        }
    }

    // --- texts ---

    void textsFollowTheLanguage_data()
    {
        LanguageRows();
    }
    void textsFollowTheLanguage()
    {
        QFETCH(int, language);
        Macro page;
        UiLanguage = language;
        emit PostMsg::Instance()->SigAllLanguage(language);
        const auto text = [&](const char* key) { return UiText::ForReader(language, "Macro", key); };
        const struct {
            const char* widget;
            const char* key;
        } rows[] = {{"label", "MacroList"}, {"label_2", "KeyList"}, {"NewHong", "NewMacro"}, {"DeleteHong", "Delete"},
                    {"Amend", "Modify"}, {"DeleteKey", "Delete"}, {"StartRecord", "StartRecord"},
                    {"StopRecord", "StopRecord"}, {"AutoInsertDelayLabel", "AutoDelay"},
                    {"DefaultDelay", "DefaultDelay"}, {"ReUntilLooseLabel", "UntilThisReleased"},
                    {"ReUntilClickLabel", "UntilAnyPressed"}, {"ReUntilLabel", "UntilThisPressed"},
                    {"ReNumber", "CycleTimes"}, {"label_3", "InsertEvent"}, {"Save", "Save"}};
        for (const auto& row : rows) {
            QWidget* widget = page.findChild<QWidget*>(row.widget);
            const QString shown = qobject_cast<QLabel*>(widget) ? qobject_cast<QLabel*>(widget)->text()
                                                                : qobject_cast<QAbstractButton*>(widget)->text();
            QVERIFY2(!text(row.key).isEmpty(), row.key);
            QCOMPARE(shown, text(row.key));
        }
        QCOMPARE(Child<QToolButton>(page, "NewHong")->toolTip(), QString());
        auto* events = Child<MyConmboBox>(page, "ChooseEvent");
        QStringList items;
        for (int i = 0; i < events->count(); ++i)
            items << events->itemText(i);
        const auto option = [&](const char* command) { return UiText::Option(language, "InsertEventOptions", command); };
        QCOMPARE(items, QStringList({"", option("0"), option("1"), text("Delay"), option("2"), option("3"), option("4"),
                                     option("5"), option("6")}));
        for (const char* key : {"MacroExport", "Rename", "Delete", "NewMacro", "MacroImport", "MacroSeond"}) {
            QVERIFY2(!page.MenuText(key).isEmpty(), key);
            QCOMPARE(page.MenuText(key), text(key));
        }
    }

    void aMissingKeyShowsNothing()
    {
        QTemporaryDir folder;
        WriteFile(folder.filePath("en.json"),
                  "{\"mouse\": {\"macro\": {\"KeyList\": \"Lines\"}, \"common\": {\"Save\": \"Keep\"}}}");
        UiTextTables::Instance()->LoadUiTextTables(folder.path());
        Macro page;
        QCOMPARE(Child<QLabel>(page, "label_2")->text(), QString("Lines"));
        QCOMPARE(Child<QToolButton>(page, "Save")->text(), QString("Keep"));
        QCOMPARE(Child<QLabel>(page, "label")->text(), QString());
        QCOMPARE(Child<MyConmboBox>(page, "ChooseEvent")->itemText(4), QString());
        UiTextTables::Instance()->LoadUiTextTables();
    }

    // With KESTRO_MACRO_SHOTS set to a folder, the page with a few macros is drawn there in the three
    // languages.
    void shots_data()
    {
        textsFollowTheLanguage_data();
    }
    void shots()
    {
        QFETCH(int, language);
        const QString folder = qEnvironmentVariable("KESTRO_MACRO_SHOTS");
        if (folder.isEmpty())
            QSKIP("KESTRO_MACRO_SHOTS names no folder");
        WriteFile(MacroPath("Copy"), "3\n0x01 0 0\n10ms\n0x06 1 0\n32ms\n0x06 1 1\n10ms\n0x01 0 1\n");
        WriteFile(MacroPath("Burst"), "255\n0x01 4 0\n50ms\n0x01 4 1\n50ms\n");
        WriteFile(MacroPath(QString::fromUtf8("宏一")), "253\n0x2C 1 0\n10ms\n0x2C 1 1\n");
        UiLanguage = language;
        QWidget ground;
        ground.setObjectName("ground");
        ground.setStyleSheet("QWidget#ground{background: rgb(24, 27, 33);}");
        auto* page = new Macro(&ground);
        page->SlotAllLanguage(language);
        ground.resize(page->size());
        ground.show();
        SelectMacro(*page, "Copy");
        page->ReadMacroFile();
        Events(*page)->setCurrentRow(2);
        QTest::qWait(50);
        ground.grab().save(folder + QString("/macro-page-%1.png").arg(language));
    }
};

QTEST_MAIN(TestMacroPage)
#include "tst_macropage.moc"
