#include "device/PostMsg.h"
#include "pages/buttons/FireKey.h"
#include "pages/buttons/GroupKey.h"
#include "pages/buttons/GroupMaxThree.h"
#include "pages/buttons/LeftButtonOnly.h"
#include "pages/buttons/MakeMacro.h"
#include "pages/buttons/MyLineEdit.h"
#include "platform/VirtualKeys.h"
#include "support/ButtonPageSupport.h"
#include "support/FindChild.h"
#include "support/ModalCloser.h"
#include "support/TestHome.h"
#include "widgets/KeyboardHook.h"
#include "widgets/PlaceOver.h"
#include "widgets/UiText.h"
#include "widgets/UiTextTables.h"

#include <QCheckBox>
#include <QLabel>
#include <QProcess>
#include <QSpinBox>
#include <QTimer>
#include <QToolButton>
#include <QtTest>

#include <functional>
#include <memory>

using DialogFactory = std::function<QDialog*()>;
Q_DECLARE_METATYPE(DialogFactory)

// The key-combination dialog on its clock and its hook, the fire-key dialog, and the texts and
// closing of the button page's notices.
class TestKeyDialogs : public QObject
{
    Q_OBJECT
    TestHome home;
    qint64 now = 0;

    // A dialog shown as exec() would, on the test's clock.
    std::unique_ptr<GroupKey> OpenGroupKey()
    {
        auto dialog = std::make_unique<GroupKey>();
        dialog->KeyClock = [this] { return now; };
        dialog->show();
        return dialog;
    }

    static int CodeOf(const QString& name)
    {
        static const QMap<QString, int> named = {{"Ctrl", 0xA2}, {"Shift", 0xA0}, {"Alt", 0xA4}, {"Win", 0x5B},
                                                 {"F1", 0x70}, {"F5", 0x74}, {"F12", 0x7B}, {"Esc", 0x1B}, {"Num+", 0x6B}};
        return named.value(name, name.size() == 1 ? name.at(0).unicode() : 0);
    }

    // Keys as words: "A" pressed and released, "A+" pressed (held: later "A+" are auto-repeats),
    // "@2500" the clock moved on by that many milliseconds.
    void Type(const QString& keys)
    {
        for (const QString& word : keys.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
            if (word.startsWith(QLatin1Char('@'))) {
                now += word.mid(1).toLongLong();
                continue;
            }
            const bool held = word.size() > 1 && word.endsWith(QLatin1Char('+')) && word != QLatin1String("Num+");
            const int code = CodeOf(held ? word.chopped(1) : word);
            QVERIFY2(code, qPrintable(word));
            KeyboardHook::Feed(code, VirtualKeys::KeyDown);
            if (!held)
                KeyboardHook::Feed(code, VirtualKeys::KeyUp);
        }
    }

    static void Tick(QDialog& dialog, const QString& modifiers)
    {
        for (const QString& name : modifiers.split(QLatin1Char(','), Qt::SkipEmptyParts))
            Child<QCheckBox>(dialog, name.toLatin1().constData())->setChecked(true);
    }

    static QString Field(QDialog& dialog) { return Child<MyLineEdit>(dialog, "lineEdit")->text(); }

private slots:
    void initTestCase()
    {
        home.MakeUserFolders();
        UiTextTables::Instance()->LoadUiTextTables();
    }
    void init()
    {
        UiLanguage = 0;
        now = 100000;
        KeyboardHook::KeyCombination().Step(0, VirtualKeys::KeyUp);
    }
    void cleanup() { QVERIFY(!KeyboardHook::KeyCombination().IsInstalled()); }

    // --- the key-combination dialog ---

    void keyEntry_data()
    {
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QString>("field");
        QTest::newRow("Ctrl has no name") << "Ctrl A B" << "A+B";
        QTest::newRow("a fourth key starts anew") << "A B D E" << "E";
        QTest::newRow("the third key may come again") << "A B D D" << "D";
        QTest::newRow("after three, any key starts anew") << "A B D A" << "A";
        QTest::newRow("three names, then Shift") << "A B D Shift" << "";
        QTest::newRow("a second press adds nothing") << "A A" << "A";
        QTest::newRow("a held key adds nothing") << "A+ A+ A+" << "A";
        QTest::newRow("a pause") << "A @2001 B" << "B";
        QTest::newRow("two seconds are still one entry") << "A @2000 B" << "A+B";
        QTest::newRow("the window runs from the entry's first key") << "A @1500 B @600 D" << "D";
        QTest::newRow("holding past two seconds enters the key again") << "B A+ A+ @2100 A+" << "A";
        QTest::newRow("1 occurs in F1") << "F1 1" << "F1";
        QTest::newRow("F1 occurs in F12") << "F12 F1" << "F12";
        QTest::newRow("Num+") << "Num+" << "Num+";
        QTest::newRow("Num+ counts as two names") << "Num+ A B" << "B";
        QTest::newRow("Escape and F12") << "Esc F12" << "Esc+F12";
        QTest::newRow("releases add nothing") << "A+" << "A";
    }
    void keyEntry()
    {
        QFETCH(QString, keys);
        QFETCH(QString, field);
        auto dialog = OpenGroupKey();
        Type(keys);
        QCOMPARE(Field(*dialog), field);
        QVERIFY(dialog->isVisible());
    }

    void confirm_data()
    {
        QTest::addColumn<QString>("ticked");
        QTest::addColumn<QString>("keys");
        QTest::addColumn<bool>("tooMany");
        QTest::addColumn<QString>("result");
        QTest::newRow("Shift and Ctrl with A+B") << "Shift,Ctrl" << "A B" << true << "";
        QTest::newRow("Shift with A+B") << "Shift" << "A B" << false << "Shift+A+B";
        QTest::newRow("Alt and Win alone") << "Win,Alt" << "" << false << "Alt+Win";
        QTest::newRow("all four modifiers") << "Shift,Ctrl,Alt,Win" << "" << true << "";
        QTest::newRow("keys alone") << "" << "Ctrl A B" << false << "A+B";
        // Nothing chosen (no result): OK is disabled and refuses; the dialog stays as it was.
        QTest::newRow("nothing") << "" << "" << false << "";
        QTest::newRow("the Ctrl key alone names nothing") << "" << "Ctrl" << false << "";
        QTest::newRow("Shift with Num+") << "Shift" << "Num+" << false << "Shift+Num+";
        QTest::newRow("Shift and Ctrl with Num+") << "Shift,Ctrl" << "Num+" << true << "";
    }
    void confirm()
    {
        QFETCH(QString, ticked);
        QFETCH(QString, keys);
        QFETCH(bool, tooMany);
        QFETCH(QString, result);
        auto dialog = OpenGroupKey();
        Tick(*dialog, ticked);
        Type(keys);
        ModalCloser closer;
        auto* ok = Child<QToolButton>(*dialog, "NewHong");
        const bool nothing = result.isEmpty() && !tooMany;
        QCOMPARE(ok->isEnabled(), !nothing);
        ok->click();
        if (nothing) {
            // Also when the press gets through.
            QMetaObject::invokeMethod(dialog.get(), "on_NewHong_clicked");
            QCOMPARE(closer.opened, QStringList{});
            QVERIFY(dialog->isVisible());
            QVERIFY(!dialog->IsOk);
            QCOMPARE(dialog->KeyString, QString());
            QVERIFY(KeyboardHook::KeyCombination().IsInstalled());
            return;
        }
        QCOMPARE(closer.opened, tooMany ? QStringList{"GroupMaxThree"} : QStringList{});
        if (tooMany) {
            // It covers the dialog exactly.
            QCOMPARE(closer.positions.value(0), dialog->mapToGlobal(QPoint(0, 0)));
            QVERIFY(dialog->isVisible());
            QVERIFY(!dialog->IsOk);
            QCOMPARE(Field(*dialog), QString());
            QVERIFY(KeyboardHook::KeyCombination().IsInstalled());
            for (const QString& name : ticked.split(QLatin1Char(','), Qt::SkipEmptyParts))
                QVERIFY(Child<QCheckBox>(*dialog, name.toLatin1().constData())->isChecked());
            // The entry starts anew: the key typed last counts again.
            Type(keys.split(QLatin1Char(' ')).last());
            QCOMPARE(Field(*dialog), keys.isEmpty() ? QString() : keys.split(QLatin1Char(' ')).last());
            dialog.reset();
            return;
        }
        QVERIFY(!dialog->isVisible());
        QVERIFY(dialog->IsOk);
        QCOMPARE(dialog->KeyString, result);
        QVERIFY(!KeyboardHook::KeyCombination().IsInstalled());
    }

    void closingRemovesTheHook_data()
    {
        QTest::addColumn<QString>("how");
        QTest::newRow("confirm") << "NewHong";
        QTest::newRow("cancel") << "NewHong_2";
        QTest::newRow("close") << "CloseButton";
        QTest::newRow("destruction") << "";
    }
    void closingRemovesTheHook()
    {
        QFETCH(QString, how);
        auto dialog = OpenGroupKey();
        QVERIFY(KeyboardHook::KeyCombination().IsInstalled());
        Type("A");
        if (how.isEmpty()) {
            dialog.reset();
        } else {
            Child<QToolButton>(*dialog, how.toLatin1().constData())->click();
            QCOMPARE(dialog->IsOk, how == QLatin1String("NewHong"));
            QVERIFY(!dialog->isVisible());
        }
        QVERIFY(!KeyboardHook::KeyCombination().IsInstalled());
        // A key after the end reaches nothing: the dialog (if any) keeps its field.
        Type("B");
        if (dialog)
            QCOMPARE(Field(*dialog), QStringLiteral("A"));
    }

    // Keys typed into the shown dialog reach the field through the application's event path;
    // Escape and F12 are entered, not acted on, and a paste is put in capitals.
    void typedKeysReachTheField()
    {
        auto dialog = OpenGroupKey();
        QVERIFY(QTest::qWaitForWindowActive(dialog.get()));
        QCOMPARE(QApplication::focusWidget(), Child<MyLineEdit>(*dialog, "lineEdit"));
        QTest::keyClick(dialog->windowHandle(), Qt::Key_Escape);
        QTest::keyClick(dialog->windowHandle(), Qt::Key_F12);
        QVERIFY(dialog->isVisible());
        QCOMPARE(Field(*dialog), QStringLiteral("Esc+F12"));
        // Escape reaching the dialog itself (focus elsewhere) does not close it either.
        Child<QToolButton>(*dialog, "NewHong")->setFocus();
        QTest::keyClick(dialog.get(), Qt::Key_Escape);
        QVERIFY(dialog->isVisible());
        QMetaObject::invokeMethod(dialog.get(), "on_lineEdit_textEdited", Q_ARG(QString, QStringLiteral("ctrl+a")));
        QCOMPARE(Field(*dialog), QStringLiteral("CTRL+A"));
    }

    // --- the fire-key dialog ---

    void fireKeyValues_data()
    {
        QTest::addColumn<int>("interval");
        QTest::addColumn<int>("count");
        QTest::addColumn<int>("shownInterval");
        QTest::addColumn<int>("shownCount");
        QTest::newRow("below the ranges") << 5 << -1 << 10 << 0;
        QTest::newRow("above the ranges") << 300 << 7 << 255 << 3;
        QTest::newRow("inside") << 120 << 2 << 120 << 2;
        QTest::newRow("continuous fire") << 10 << 0 << 10 << 0;
    }
    void fireKeyValues()
    {
        QFETCH(int, interval);
        QFETCH(int, count);
        QFETCH(int, shownInterval);
        QFETCH(int, shownCount);
        FireKey dialog;
        QCOMPARE(dialog.FireInterval, 10);
        QCOMPARE(dialog.FireCount, 3);
        QCOMPARE(Child<QSpinBox>(dialog, "Time")->value(), 10);
        QCOMPARE(Child<QSpinBox>(dialog, "Count")->value(), 3);
        dialog.SetInterval(interval);
        dialog.SetCount(count);
        QCOMPARE(Child<QSpinBox>(dialog, "Time")->value(), shownInterval);
        QCOMPARE(Child<QSpinBox>(dialog, "Count")->value(), shownCount);
        dialog.show();
        Child<QToolButton>(dialog, "NewHong")->click();
        QVERIFY(!dialog.isVisible());
        QVERIFY(dialog.IsOk);
        QCOMPARE(dialog.FireInterval, shownInterval);
        QCOMPARE(dialog.FireCount, shownCount);
    }

    void fireKeyCancel_data()
    {
        QTest::addColumn<QString>("how");
        QTest::newRow("cancel") << "NewHong_2";
        QTest::newRow("close") << "CloseButton";
        QTest::newRow("Escape") << "";
    }
    void fireKeyCancel()
    {
        QFETCH(QString, how);
        FireKey dialog;
        dialog.SetInterval(200);
        dialog.SetCount(1);
        // exec() as the page runs it; the test's clicks come once it shows.
        QTimer::singleShot(0, &dialog, [&] {
            if (how.isEmpty())
                QTest::keyClick(&dialog, Qt::Key_Escape);
            else
                Child<QToolButton>(dialog, how.toLatin1().constData())->click();
        });
        dialog.exec();
        QVERIFY(!dialog.isVisible());
        QVERIFY(!dialog.IsOk);
        QCOMPARE(dialog.FireInterval, 10);
        QCOMPARE(dialog.FireCount, 3);
    }

    // --- texts and closing of all five dialogs ---

    void texts_data()
    {
        QTest::addColumn<DialogFactory>("factory");
        QTest::addColumn<QString>("reader");
        QTest::addColumn<QStringList>("controls");
        QTest::addColumn<QStringList>("keys");
        QTest::addColumn<int>("language");
        const struct {
            const char* name;
            DialogFactory factory;
            QStringList controls;
            QStringList keys;
        } dialogs[] = {
            {"GroupKey", [] { return new GroupKey; }, {"label", "NewHong", "NewHong_2"}, {"ComKey", "OK", "Cancel"}},
            {"GroupMaxThree", [] { return new GroupMaxThree; }, {"label", "NewHong"}, {"MaxThree", "OK"}},
            {"MakeMacro", [] { return new MakeMacro; }, {"label", "NewHong"}, {"MakeMaro", "OK"}},
            {"LeftButtonOnly", [] { return new LeftButtonOnly; }, {"label"}, {"DialogKeepLeftKey"}},
            {"FireKey", [] { return new FireKey; }, {"label", "label_2", "label_3", "NewHong", "NewHong_2"},
             {"DialogFireKeyTimes", "DialogFireKeyInterval", "DialogFireKeyTips", "OK", "Cancel"}},
        };
        for (const auto& dialog : dialogs) {
            for (int language = 0; language < 3; ++language)
                QTest::addRow("%s, language %d", dialog.name, language)
                    << dialog.factory << QString::fromLatin1(dialog.name) << dialog.controls << dialog.keys << language;
        }
    }
    void texts()
    {
        QFETCH(DialogFactory, factory);
        QFETCH(QString, reader);
        QFETCH(QStringList, controls);
        QFETCH(QStringList, keys);
        QFETCH(int, language);
        const auto shown = [&](QDialog& dialog) {
            QStringList texts;
            for (const QString& control : controls) {
                QWidget* widget = dialog.findChild<QWidget*>(control);
                if (auto* label = qobject_cast<QLabel*>(widget))
                    texts << label->text();
                else if (auto* button = qobject_cast<QAbstractButton*>(widget))
                    texts << button->text();
                else
                    texts << QStringLiteral("<no %1>").arg(control);
            }
            return texts;
        };
        const auto expected = [&](int index) {
            QStringList texts;
            for (const QString& key : keys) {
                texts << UiText::ForReader(index, reader, key);
                if (texts.last().isEmpty())
                    texts.last() = QStringLiteral("<empty %1>").arg(key);
            }
            return texts;
        };
        // Built in the current language, and following a change.
        UiLanguage = language;
        std::unique_ptr<QDialog> dialog(factory());
        QCOMPARE(shown(*dialog), expected(language));
        const int next = (language + 1) % 3;
        UiLanguage = next;
        emit PostMsg::Instance()->SigAllLanguage(next);
        QCOMPARE(shown(*dialog), expected(next));
        QVERIFY(expected(0) != expected(1) && expected(1) != expected(2));
        QCOMPARE(dialog->windowFlags() & ~Qt::Window, Qt::WindowFlags(0x6C12));
    }

    void escapeClosesTheNotices_data()
    {
        QTest::addColumn<DialogFactory>("factory");
        QTest::addColumn<bool>("closes");
        QTest::newRow("GroupMaxThree") << DialogFactory([] { return new GroupMaxThree; }) << true;
        QTest::newRow("MakeMacro") << DialogFactory([] { return new MakeMacro; }) << true;
        QTest::newRow("LeftButtonOnly") << DialogFactory([] { return new LeftButtonOnly; }) << true;
        QTest::newRow("FireKey") << DialogFactory([] { return new FireKey; }) << true;
        QTest::newRow("GroupKey") << DialogFactory([] { return new GroupKey; }) << false;
    }
    void escapeClosesTheNotices()
    {
        QFETCH(DialogFactory, factory);
        QFETCH(bool, closes);
        std::unique_ptr<QDialog> dialog(factory());
        int result = -1;
        QTimer::singleShot(0, dialog.get(), [&] {
            // Shown and activated as exec() leaves it; the key goes the application's way.
            QVERIFY(QTest::qWaitForWindowActive(dialog.get()));
            QTest::keyClick(dialog->windowHandle(), Qt::Key_Escape);
            if (dialog->isVisible())
                dialog->done(7);
        });
        result = dialog->exec();
        QCOMPARE(result, closes ? int(QDialog::Rejected) : 7);
    }

    void closeButtons_data()
    {
        QTest::addColumn<DialogFactory>("factory");
        QTest::addColumn<QString>("button");
        QTest::newRow("GroupMaxThree confirm") << DialogFactory([] { return new GroupMaxThree; }) << "NewHong";
        QTest::newRow("GroupMaxThree close") << DialogFactory([] { return new GroupMaxThree; }) << "CloseButton";
        QTest::newRow("MakeMacro confirm") << DialogFactory([] { return new MakeMacro; }) << "NewHong";
        QTest::newRow("MakeMacro close") << DialogFactory([] { return new MakeMacro; }) << "CloseButton";
        QTest::newRow("LeftButtonOnly close") << DialogFactory([] { return new LeftButtonOnly; }) << "CloseButton";
    }
    void closeButtons()
    {
        QFETCH(DialogFactory, factory);
        QFETCH(QString, button);
        std::unique_ptr<QDialog> dialog(factory());
        dialog->show();
        Child<QToolButton>(*dialog, button.toLatin1().constData())->click();
        QVERIFY(!dialog->isVisible());
    }

    // Where the page's callers put the dialogs: over the page's centre, 50 left and 70 up, halves
    // rounded down.
    void placedOverThePage_data()
    {
        QTest::addColumn<DialogFactory>("factory");
        QTest::addColumn<QPoint>("corner");
        QTest::newRow("GroupKey") << DialogFactory([] { return new GroupKey; }) << QPoint(341, 225);
        QTest::newRow("FireKey") << DialogFactory([] { return new FireKey; }) << QPoint(288, 210);
        QTest::newRow("MakeMacro") << DialogFactory([] { return new MakeMacro; }) << QPoint(341, 225);
    }
    void placedOverThePage()
    {
        QFETCH(DialogFactory, factory);
        QFETCH(QPoint, corner);
        QWidget window;
        window.setGeometry(60, 20, 1000, 700);
        QWidget page(&window);
        page.setGeometry(40, 30, 883, 630);
        window.show();
        std::unique_ptr<QDialog> dialog(factory());
        PlaceOver(dialog.get(), &page, -50, -70);
        QCOMPARE(dialog->pos(), corner);
        PlaceOver(dialog.get(), nullptr, -50, -70);
        QCOMPARE(dialog->pos(), corner);
    }

    // With KESTRO_KEY_SHOTS set to a folder, each dialog is drawn there in the three languages. On a
    // real X display (QT_QPA_PLATFORM=xcb, under Xvfb) the key-combination dialog is also run as the
    // page runs it and keys are typed into it by the X server's test extension (xdotool): they must
    // reach its field, which they do only when the frameless window got the keyboard.
    void shots_data() { ButtonPageSupport::LanguageRows(); }
    void shots()
    {
        QFETCH(int, language);
        const QString folder = qEnvironmentVariable("KESTRO_KEY_SHOTS");
        if (folder.isEmpty())
            QSKIP("KESTRO_KEY_SHOTS names no folder");
        UiLanguage = language;
        const struct {
            const char* name;
            DialogFactory factory;
        } dialogs[] = {
            {"GroupKey", [] { return new GroupKey; }},         {"GroupKey-empty", [] { return new GroupKey; }},
            {"GroupMaxThree", [] { return new GroupMaxThree; }},
            {"MakeMacro", [] { return new MakeMacro; }},       {"LeftButtonOnly", [] { return new LeftButtonOnly; }},
            {"FireKey", [] { return new FireKey; }},
        };
        for (const auto& entry : dialogs) {
            std::unique_ptr<QDialog> dialog(entry.factory());
            // Filled in, and as it opens, with nothing chosen (OK disabled).
            auto* keys = qobject_cast<GroupKey*>(dialog.get());
            if (keys && QLatin1String(entry.name) == QLatin1String("GroupKey")) {
                Child<QCheckBox>(*keys, "Shift")->setChecked(true);
                Type("Ctrl F5");
            }
            dialog->show();
            QVERIFY(QTest::qWaitForWindowExposed(dialog.get()));
            QVERIFY(dialog->grab().save(QStringLiteral("%1/%2-%3.png").arg(folder, entry.name).arg(language)));
        }
        if (QGuiApplication::platformName() != QLatin1String("xcb"))
            return;
        GroupKey dialog;
        QString typed;
        QTimer::singleShot(0, &dialog, [&] {
            if (QTest::qWaitForWindowActive(&dialog))
                QProcess::execute(QStringLiteral("xdotool"), {"key", "--delay", "50", "shift+1", "Escape", "b"});
            QTest::qWait(300);
            typed = Field(dialog);
            dialog.grab().save(QStringLiteral("%1/GroupKey-typed-%2.png").arg(folder).arg(language));
            dialog.done(7);
        });
        QCOMPARE(dialog.exec(), 7);
        // Shift, then 1 (the key of "!"), Escape and B: Shift has no name, and three names fill it.
        QCOMPARE(typed, QStringLiteral("1+Esc+B"));
    }
};

QTEST_MAIN(TestKeyDialogs)
#include "tst_keydialogs.moc"
