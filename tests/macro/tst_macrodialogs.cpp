#include "device/PostMsg.h"
#include "pages/macro/DeleteConfirm.h"
#include "pages/macro/KeyNumberLimit.h"
#include "pages/macro/QuestionDialog.h"
#include "pages/macro/SameMacro.h"
#include "support/FindChild.h"
#include "support/PageTestHome.h"
#include "tests/macro/MacroTestSupport.h"
#include "widgets/UiText.h"
#include "widgets/UiTextTables.h"

#include <QClipboard>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QToolButton>
#include <QtTest>

#include <memory>
#include "support/LanguageRows.h"

using namespace MacroTestSupport;

namespace {

// Types text key by key; a character no key of the test keyboard has comes as a key event with
// its text, as an input method without composing gives it.
void TypeText(QWidget* target, const QString& text)
{
    for (const QChar c : text) {
        if (c.unicode() < 0x80) {
            QTest::keyClicks(target, QString(c));
            continue;
        }
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
        QApplication::sendEvent(target, &press);
        QKeyEvent release(QEvent::KeyRelease, 0, Qt::NoModifier, QString(c));
        QApplication::sendEvent(target, &release);
    }
}

} // namespace

// The macro name dialog, the macro notices and the delete confirmation.
class TestMacroDialogs : public QObject
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
    }

    // The name field's rules. Steps: "type:" keys typed one by one, "paste:" a pasted text,
    // "commit:" an input method's commit, "shift" / "unshift" the Shift key.
    void nameField_data()
    {
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<QString>("field");
        QTest::newRow("typed") << QStringList({"type:abc"}) << "abc";
        QTest::newRow("trailing space typed") << QStringList({"type:abc "}) << "abc";
        QTest::newRow("space typed between two") << QStringList({"type:ab", "left", "type: "}) << "a b";
        QTest::newRow("pasted a b space") << QStringList({"paste:a b "}) << "ab";
        QTest::newRow("31 ASCII typed") << QStringList({"type:" + QString(31, 'x')}) << QString(30, 'x');
        QTest::newRow("31 ASCII pasted") << QStringList({"paste:" + QString(31, 'y')}) << QString(30, 'y');
        QTest::newRow("11 Chinese pasted") << QStringList({QString::fromUtf8("paste:一二三四五六七八九十百")})
                                           << QString::fromUtf8("一二三四五六七八九十");
        QTest::newRow("typed punctuation") << QStringList({"type:a-b.c[d]e+f/g\\h*i;j'k,l=m`n"}) << "abcdefghijklmn";
        QTest::newRow("pasted punctuation") << QStringList({"paste:a-b.c/d"}) << "a-b.c/d";
        QTest::newRow("typed full-width punctuation") << QStringList({QString::fromUtf8("type:a。b，c；d【e’")})
                                                      << "abcde";
        QTest::newRow("Shift held") << QStringList({"type:a", "shift", "type:BC", "unshift", "type:d"}) << "ad";
        QTest::newRow("input method full stop") << QStringList({QString::fromUtf8("commit:。")}) << "";
        QTest::newRow("input method word with a full stop") << QStringList({QString::fromUtf8("commit:好。")})
                                                            << QString::fromUtf8("好。");
    }
    void nameField()
    {
        QFETCH(QStringList, steps);
        QFETCH(QString, field);
        QuestionDialog dialog;
        dialog.show();
        auto* edit = Child<QLineEdit>(dialog, "lineEdit");
        edit->setFocus();
        for (const QString& step : steps) {
            const QString value = step.section(':', 1);
            if (step.startsWith("type:")) {
                QWidget* target = edit->isEnabled() ? static_cast<QWidget*>(edit) : static_cast<QWidget*>(&dialog);
                TypeText(target, value);
            } else if (step.startsWith("paste:")) {
                QApplication::clipboard()->setText(value);
                QTest::keyClick(edit, Qt::Key_V, Qt::ControlModifier);
            } else if (step.startsWith("commit:")) {
                QInputMethodEvent event;
                event.setCommitString(value);
                QApplication::sendEvent(edit, &event);
            } else if (step == "left") {
                QTest::keyClick(edit, Qt::Key_Left);
            } else if (step == "shift") {
                QTest::keyPress(edit, Qt::Key_Shift);
                QVERIFY(!edit->isEnabled());
            } else if (step == "unshift") {
                QTest::keyRelease(&dialog, Qt::Key_Shift);
                QVERIFY(edit->isEnabled());
            }
        }
        QCOMPARE(edit->text(), field);
        QCOMPARE(edit->cursorPosition(), field.size());
    }

    void fittingName_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("fitting");
        QTest::newRow("short") << "abc" << "abc";
        QTest::newRow("30 bytes") << QString(30, 'a') << QString(30, 'a');
        QTest::newRow("31 bytes") << QString(31, 'a') << QString(30, 'a');
        QTest::newRow("ten Chinese and one more byte") << QString::fromUtf8("一二三四五六七八九十x")
                                                       << QString::fromUtf8("一二三四五六七八九十");
        QTest::newRow("29 bytes and a Chinese character") << QString(29, 'a') + QString::fromUtf8("一")
                                                          << QString(29, 'a');
    }
    void fittingName()
    {
        QFETCH(QString, text);
        QFETCH(QString, fitting);
        QCOMPARE(QuestionDialog::FittingName(text), fitting);
    }

    // Only the buttons end the dialog: Escape and Enter leave it open.
    void leavingTheNameDialog_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("entered");
        QTest::newRow("confirm") << "name" << "NewHong" << "name";
        QTest::newRow("confirm an empty field") << "" << "NewHong" << "";
        QTest::newRow("cancel") << "name" << "NewHong_2" << "";
        QTest::newRow("close") << "name" << "CloseButton" << "";
    }
    void leavingTheNameDialog()
    {
        QFETCH(QString, typed);
        QFETCH(QString, button);
        QFETCH(QString, entered);
        QuestionDialog dialog;
        bool openAfterKeys = false;
        QTimer::singleShot(0, &dialog, [&] {
            auto* edit = Child<QLineEdit>(dialog, "lineEdit");
            QTest::keyClicks(edit, typed);
            QTest::keyClick(edit, Qt::Key_Escape);
            QTest::keyClick(edit, Qt::Key_Return);
            QTest::keyClick(edit, Qt::Key_Enter);
            QTest::keyClick(&dialog, Qt::Key_Escape);
            openAfterKeys = dialog.isVisible();
            dialog.findChild<QToolButton*>(button)->click();
        });
        dialog.exec();
        QVERIFY(openAfterKeys);
        QVERIFY(!dialog.isVisible());
        QCOMPARE(dialog.EnteredName, entered);
    }

    void nameDialogTexts()
    {
        QuestionDialog dialog;
        auto* label = Child<QLabel>(dialog, "label");
        // The form's text until a mode is set.
        QCOMPARE(label->text(), QString("Please create a macro first"));
        dialog.SetMode(0);
        QCOMPARE(label->text(), UiText::Text(0, "macro", "DialogSelectMacroFirst"));
        dialog.SetMode(1);
        QCOMPARE(label->text(), UiText::Text(0, "macro", "DialogInputMacroName"));
        QCOMPARE(Child<QToolButton>(dialog, "NewHong")->text(), UiText::Text(0, "common", "OK"));
        QCOMPARE(Child<QToolButton>(dialog, "NewHong_2")->text(), UiText::Text(0, "common", "Cancel"));
        // A language change relabels the buttons and the prompts, not the label.
        emit PostMsg::Instance()->SigAllLanguage(2);
        QCOMPARE(label->text(), UiText::Text(0, "macro", "DialogInputMacroName"));
        QCOMPARE(Child<QToolButton>(dialog, "NewHong")->text(), UiText::Text(2, "common", "OK"));
        QCOMPARE(Child<QToolButton>(dialog, "NewHong_2")->text(), UiText::Text(2, "common", "Cancel"));
        dialog.SetMode(0);
        QCOMPARE(label->text(), UiText::Text(2, "macro", "DialogSelectMacroFirst"));
        for (int language = 0; language < 3; ++language) {
            for (const char* key : {"DialogSelectMacroFirst", "DialogInputMacroName"})
                QVERIFY(!UiText::Text(language, "macro", key).isEmpty());
        }
        // The name field keeps its form font; the rest is scaled.
        QCOMPARE(Child<QLineEdit>(dialog, "lineEdit")->font().family(), QString::fromUtf8("微软雅黑"));
        QCOMPARE(dialog.size(), QSize(300, 140));
        QCOMPARE(int(dialog.windowFlags()) & 0x6C12, 0x6C12);
    }

    // The notices: each button and Escape close them; texts follow the language.
    void notices_data()
    {
        QTest::addColumn<QString>("notice");
        QTest::addColumn<QString>("how");
        for (const char* notice : {"SameMacro", "KeyNumberLimit", "DeleteConfirm"}) {
            for (const char* how : {"NewHong", "CloseButton", "Escape"})
                QTest::newRow(qPrintable(QString("%1 %2").arg(notice, how))) << notice << how;
        }
    }
    void notices()
    {
        QFETCH(QString, notice);
        QFETCH(QString, how);
        std::unique_ptr<QDialog> dialog;
        QString key;
        if (notice == "SameMacro") {
            dialog.reset(new SameMacro);
            key = "DialogSameMacroName";
        } else if (notice == "KeyNumberLimit") {
            dialog.reset(new KeyNumberLimit);
            key = "DialogMaxMacroKey";
        } else {
            dialog.reset(new DeleteConfirm);
            key = "DialogDeleteMacro";
        }
        auto* label = Child<QLabel>(*dialog, "label");
        auto* confirm = Child<QToolButton>(*dialog, "NewHong");
        for (int language : {0, 1, 2, 0}) {
            emit PostMsg::Instance()->SigAllLanguage(language);
            QVERIFY(!UiText::Text(language, "macro", key).isEmpty());
            QCOMPARE(label->text(), UiText::Text(language, "macro", key));
            QCOMPARE(confirm->text(), UiText::Text(language, "common", "OK"));
        }
        QCOMPARE(int(dialog->windowFlags()) & 0x6C12, 0x6C12);
        QTimer::singleShot(0, dialog.get(), [&] {
            if (how == "Escape")
                QTest::keyClick(dialog.get(), Qt::Key_Escape);
            else
                dialog->findChild<QToolButton*>(how)->click();
        });
        dialog->exec();
        QVERIFY(!dialog->isVisible());
        if (auto* question = qobject_cast<DeleteConfirm*>(dialog.get()))
            QCOMPARE(question->Confirmed, how == "NewHong");
    }

    void sameMacroShowsThePagesOtherRefusals()
    {
        SameMacro notice;
        for (const char* key : {"DialogMacroNameRefused", "DialogMacroFileFailed"}) {
            notice.SetMessageKey(key);
            for (int language = 0; language < 3; ++language) {
                emit PostMsg::Instance()->SigAllLanguage(language);
                QVERIFY(!UiText::Text(language, "macro", key).isEmpty());
                QCOMPARE(Child<QLabel>(notice, "label")->text(), UiText::Text(language, "macro", key));
            }
        }
    }

    // A language that lacks a key shows an empty text, not the form's.
    void missingKeysShowNothing()
    {
        QTemporaryDir folder;
        WriteFile(folder.filePath("en.json"), "{\"mouse\": {\"common\": {\"OK\": \"Fine\"}}}");
        UiTextTables::Instance()->LoadUiTextTables(folder.path());
        SameMacro same;
        KeyNumberLimit limit;
        DeleteConfirm confirm;
        QuestionDialog question;
        question.SetMode(1);
        for (QDialog* dialog : std::initializer_list<QDialog*>{&same, &limit, &confirm, &question})
            QCOMPARE(Child<QLabel>(*dialog, "label")->text(), QString());
        QCOMPARE(Child<QToolButton>(same, "NewHong")->text(), QString("Fine"));
        QCOMPARE(Child<QToolButton>(question, "NewHong_2")->text(), QString());
        UiTextTables::Instance()->LoadUiTextTables();
    }

    // With KESTRO_MACRO_SHOTS set to a folder, the four dialogs are drawn there in the three languages.
    void shots_data()
    {
        LanguageRows();
    }
    void shots()
    {
        QFETCH(int, language);
        const QString folder = qEnvironmentVariable("KESTRO_MACRO_SHOTS");
        if (folder.isEmpty())
            QSKIP("KESTRO_MACRO_SHOTS names no folder");
        UiLanguage = language;
        QuestionDialog question;
        question.SetMode(0);
        question.show();
        TypeText(Child<QLineEdit>(question, "lineEdit"), language == 1 ? QString::fromUtf8("宏一") : QString("Copy"));
        SameMacro same;
        SameMacro refused;
        refused.SetMessageKey("DialogMacroNameRefused");
        KeyNumberLimit limit;
        DeleteConfirm confirm;
        const std::pair<QDialog*, const char*> shots[] = {{&question, "name"}, {&same, "same"}, {&refused, "refused"},
                                                          {&limit, "limit"}, {&confirm, "delete"}};
        for (const auto& shot : shots) {
            shot.first->show();
            QTest::qWait(20);
            shot.first->grab().save(folder + QString("/macro-%1-%2.png").arg(shot.second).arg(language));
        }
    }
};

QTEST_MAIN(TestMacroDialogs)
#include "tst_macrodialogs.moc"
