#include "pages/buttons/FireKey.h"
#include "pages/lighting/LightModeSet.h"
#include "pages/macro/AddDelayTime.h"
#include "pages/macro/QuestionDialog.h"
#include "pages/macro/addKey.h"
#include "support/FindChild.h"

#include <QApplication>
#include <QShowEvent>
#include <QtTest>

#include <functional>
#include <memory>

Q_DECLARE_METATYPE(std::function<QWidget*()>)

// The frameless dialogs the user types into bypass the window manager, which on X11 leaves them
// without the keyboard until they activate themselves: each takes the keyboard when it shows.
class TestFieldDialogs : public QObject
{
    Q_OBJECT

private slots:
    void takesTheKeyboardWhenShown_data()
    {
        QTest::addColumn<std::function<QWidget*()>>("make");
        // The field that has the focus once the dialog shows; empty where several fields share it.
        QTest::addColumn<QString>("field");
        QTest::newRow("macro name") << std::function<QWidget*()>([] { return new QuestionDialog; })
                                    << QStringLiteral("lineEdit");
        QTest::newRow("macro key") << std::function<QWidget*()>([] { return new addKey; })
                                   << QStringLiteral("lineEdit");
        QTest::newRow("macro delay") << std::function<QWidget*()>([] { return new AddDelayTime; })
                                     << QStringLiteral("spinBox");
        QTest::newRow("fire key") << std::function<QWidget*()>([] { return new FireKey; })
                                  << QString();
        QTest::newRow("light colour") << std::function<QWidget*()>([] { return new LightModeSet; })
                                      << QString();
    }

    void takesTheKeyboardWhenShown()
    {
        QFETCH(std::function<QWidget*()>, make);
        QFETCH(QString, field);
        std::unique_ptr<QWidget> dialog(make());
        QCOMPARE(int(dialog->windowFlags()) & 0x6C12, 0x6C12);
        dialog->show();
        QVERIFY(QTest::qWaitForWindowExposed(dialog.get()));

        // Another window has the keyboard; the offscreen platform activates every window it maps,
        // so the dialog's Show is delivered to a window already on screen.
        QWidget other;
        other.show();
        QVERIFY(QTest::qWaitForWindowExposed(&other));
        other.activateWindow();
        QTRY_COMPARE(QApplication::activeWindow(), &other);

        QShowEvent shown;
        QApplication::sendEvent(dialog.get(), &shown);
        QTRY_COMPARE(QApplication::activeWindow(), dialog.get());
        // A dialog with one field has it ready for typing.
        if (!field.isEmpty())
            QCOMPARE(QApplication::focusWidget(), Child<QWidget>(*dialog, qPrintable(field)));
    }
};

QTEST_MAIN(TestFieldDialogs)
#include "tst_fielddialogs.moc"
