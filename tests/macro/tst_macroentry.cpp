#include "device/PostMsg.h"
#include "pages/macro/AddDelayTime.h"
#include "pages/macro/addKey.h"
#include "platform/VirtualKeys.h"
#include "support/FindChild.h"
#include "support/PageTestHome.h"
#include "tests/macro/MacroTestSupport.h"
#include "widgets/KeyboardHook.h"
#include "widgets/UiText.h"

#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>
#include <QTimer>
#include <QToolButton>
#include <QtTest>

#include <functional>
#include <memory>
#include "support/LanguageRows.h"

using namespace MacroTestSupport;

namespace {

KeyboardHook& EntryHook()
{
    return KeyboardHook::MacroStepEntry();
}

// A key pressed and released through the hook's test entry.
void Stroke(int code)
{
    KeyboardHook::Feed(code, VirtualKeys::KeyDown);
    KeyboardHook::Feed(code, VirtualKeys::KeyUp);
}

// Runs the dialog with exec(); `whileOpen` acts on it once it shows. A dialog still open
// afterwards is ended with -1, so that a wrong result shows instead of a hang.
int Exec(QDialog& dialog, const std::function<void()>& whileOpen)
{
    QTimer::singleShot(0, &dialog, [&] {
        whileOpen();
        QTimer::singleShot(0, &dialog, [&] {
            if (dialog.isVisible())
                dialog.done(-1);
        });
    });
    return dialog.exec();
}

} // namespace

// The key entry dialog on its hook and the delay dialog: what each gives back for each way of
// closing, and their texts.
class TestMacroEntry : public QObject
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
    void cleanup()
    {
        QVERIFY(!EntryHook().IsInstalled());
    }

    // Every code of the table names its key in the field and in keyName, on its press and again
    // on its release; a code outside the table empties both.
    void keyEntryNamesEveryCode_data()
    {
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("name");
        QCOMPARE(NamedVirtualKeys().size(), 104);
        for (const auto& key : NamedVirtualKeys())
            QTest::newRow(qPrintable(QString("0x%1 %2").arg(key.first, 2, 16, QChar('0')).arg(key.second)))
                << key.first << key.second;
        QTest::newRow("generic Shift, outside") << 0x10 << "";
        QTest::newRow("volume up, outside") << 0xAF << "";
        QTest::newRow("browser back, outside") << 0xA6 << "";
    }
    void keyEntryNamesEveryCode()
    {
        QFETCH(int, code);
        QFETCH(QString, name);
        addKey dialog;
        QVERIFY(EntryHook().IsInstalled());
        auto* field = Child<QLineEdit>(dialog, "lineEdit");
        Stroke(0x42); // "B" stands in the field before
        QCOMPARE(field->text(), QString("B"));
        KeyboardHook::Feed(code, VirtualKeys::KeyDown);
        QCOMPARE(dialog.keyName, name);
        QCOMPARE(field->text(), name);
        KeyboardHook::Feed(code, VirtualKeys::KeyUp);
        QCOMPARE(dialog.keyName, name);
        QCOMPARE(field->text(), name);
    }

    // OK, Cancel and the close button after a key or none: exec()'s result, the flag, the name,
    // and the hook gone.
    void keyEntryCloses_data()
    {
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("button");
        QTest::addColumn<int>("result");
        QTest::addColumn<bool>("confirmed");
        QTest::addColumn<QString>("name");
        QTest::newRow("A then OK") << 0x41 << "NewHong" << 1 << true << "A";
        QTest::newRow("keypad 7 then OK") << 0x67 << "NewHong" << 1 << true << "Num7";
        QTest::newRow("OK without a key") << 0 << "NewHong" << 1 << true << "";
        QTest::newRow("A then Cancel") << 0x41 << "NewHong_2" << 0 << false << "A";
        QTest::newRow("A then close") << 0x41 << "CloseButton" << 0 << false << "A";
    }
    void keyEntryCloses()
    {
        QFETCH(int, code);
        QFETCH(QString, button);
        QFETCH(int, result);
        QFETCH(bool, confirmed);
        QFETCH(QString, name);
        addKey dialog;
        const int given = Exec(dialog, [&] {
            if (code)
                Stroke(code);
            Child<QToolButton>(dialog, button.toLatin1().constData())->click();
        });
        QCOMPARE(given, result);
        QCOMPARE(dialog.confirmed, confirmed);
        QCOMPARE(dialog.keyName, name);
        QVERIFY(!EntryHook().IsInstalled());
        // A key after the close reaches nobody.
        Stroke(0x43);
        QCOMPARE(dialog.keyName, name);
    }

    // Escape, F12 and Enter typed into the shown dialog go through the program's key filter: they
    // are named and the dialog stays open.
    void keyEntryKeepsItsKeys_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<QString>("name");
        QTest::newRow("Escape") << int(Qt::Key_Escape) << "Esc";
        QTest::newRow("F12") << int(Qt::Key_F12) << "F12";
        QTest::newRow("Enter") << int(Qt::Key_Return) << "Enter";
    }
    void keyEntryKeepsItsKeys()
    {
        QFETCH(int, key);
        QFETCH(QString, name);
        addKey dialog;
        dialog.show();
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        QWidget* target = QApplication::focusWidget();
        QVERIFY(target);
        QTest::keyClick(target, Qt::Key(key));
        QVERIFY(dialog.isVisible());
        QCOMPARE(dialog.keyName, name);
        QCOMPARE(Child<QLineEdit>(dialog, "lineEdit")->text(), name);
        dialog.close();
        QVERIFY(!EntryHook().IsInstalled());
    }

    // A dialog that goes without being closed takes its hook and its callback with it.
    void keyEntryDestroyedOpen()
    {
        auto dialog = std::make_unique<addKey>();
        dialog->show();
        QVERIFY(EntryHook().IsInstalled());
        QVERIFY(EntryHook().HasCallback());
        dialog.reset();
        QVERIFY(!EntryHook().IsInstalled());
        QVERIFY(!EntryHook().HasCallback());
        Stroke(0x41);
    }

    // The delay dialog: the field starts at 10 and holds 10 to 65535; only the confirm button
    // confirms.
    void delayDialog_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("how");
        QTest::addColumn<bool>("confirmed");
        QTest::addColumn<int>("value");
        QTest::newRow("confirm untouched") << "" << "NewHong" << true << 10;
        QTest::newRow("confirm 250") << "250" << "NewHong" << true << 250;
        QTest::newRow("confirm 65535") << "65535" << "NewHong" << true << 65535;
        QTest::newRow("a sixth digit refused") << "655359" << "NewHong" << true << 65535;
        QTest::newRow("99999 stops at four digits") << "99999" << "NewHong" << true << 9999;
        QTest::newRow("cancel") << "250" << "NewHong_2" << false << 0;
        QTest::newRow("close") << "250" << "CloseButton" << false << 0;
        QTest::newRow("Escape") << "250" << "Escape" << false << 0;
    }
    void delayDialog()
    {
        QFETCH(QString, typed);
        QFETCH(QString, how);
        QFETCH(bool, confirmed);
        QFETCH(int, value);
        AddDelayTime dialog;
        auto* field = Child<QSpinBox>(dialog, "spinBox");
        QCOMPARE(field->value(), 10);
        QCOMPARE(field->minimum(), 10);
        QCOMPARE(field->maximum(), 65535);
        bool closedBy = false;
        Exec(dialog, [&] {
            QVERIFY(QTest::qWaitForWindowActive(&dialog));
            QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(field));
            if (!typed.isEmpty()) {
                field->selectAll();
                QTest::keyClicks(field, typed);
            }
            if (how == "Escape")
                QTest::keyClick(field, Qt::Key_Escape);
            else
                Child<QToolButton>(dialog, how.toLatin1().constData())->click();
            closedBy = !dialog.isVisible();
        });
        QVERIFY(closedBy);
        QCOMPARE(dialog.Confirmed, confirmed);
        QCOMPARE(dialog.DelayValue, value);
    }

    // Each dialog's texts in each language, on the notice look; a language change relabels the
    // open dialog.
    void texts_data()
    {
        QTest::addColumn<QString>("dialogClass");
        QTest::addColumn<QString>("labelKey");
        QTest::newRow("key entry") << "addKey" << "EnterKey";
        QTest::newRow("delay") << "AddDelayTime" << "EnterDelay";
    }
    void texts()
    {
        QFETCH(QString, dialogClass);
        QFETCH(QString, labelKey);
        std::unique_ptr<QDialog> dialog;
        if (dialogClass == "addKey")
            dialog = std::make_unique<addKey>();
        else
            dialog = std::make_unique<AddDelayTime>();
        QCOMPARE(dialog->size(), QSize(300, 140));
        QCOMPARE(int(dialog->windowFlags()) & 0x6C12, 0x6C12);
        for (int language : {0, 1, 2, 0}) {
            UiLanguage = language;
            emit PostMsg::Instance()->SigAllLanguage(language);
            const QString label = UiText::Text(language, "home", labelKey);
            QVERIFY(!label.isEmpty());
            QCOMPARE(Child<QLabel>(*dialog, "label")->text(), label);
            QCOMPARE(Child<QToolButton>(*dialog, "NewHong")->text(), UiText::Text(language, "common", "OK"));
            QCOMPARE(Child<QToolButton>(*dialog, "NewHong_2")->text(), UiText::Text(language, "common", "Cancel"));
        }
        // The texts differ between the languages: each file has its own.
        QVERIFY(UiText::Text(1, "home", labelKey) != UiText::Text(0, "home", labelKey));
        QVERIFY(UiText::Text(2, "home", labelKey) != UiText::Text(0, "home", labelKey));
    }

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
        {
            addKey key;
            key.show();
            Stroke(0xA2);
            QTest::qWait(20);
            key.grab().save(folder + QString("/macro-addkey-%1.png").arg(language));
        }
        AddDelayTime delay;
        delay.show();
        QTest::qWait(20);
        delay.grab().save(folder + QString("/macro-delay-%1.png").arg(language));
    }
};

QTEST_MAIN(TestMacroEntry)
#include "tst_macroentry.moc"
