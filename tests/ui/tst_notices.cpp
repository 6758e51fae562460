#include "app/FindNewVer.h"
#include "widgets/LessThree.h"
#include "widgets/NoticeLook.h"
#include "app/MouseOffLine.h"
#include "app/QuestiondialogB.h"
#include "widgets/UpDateWarning.h"
#include "device/PostMsg.h"
#include "support/TestHome.h"
#include "widgets/UiText.h"
#include "widgets/UiTextTables.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QSpinBox>
#include <QLabel>
#include <QTimer>
#include <QToolButton>
#include <QtTest>

#include <functional>
#include <memory>

using NoticeFactory = std::function<QDialog*()>;
Q_DECLARE_METATYPE(NoticeFactory)

// The shared notices on the shipped language files: their texts, how they close.
class TestNotices : public QObject
{
    Q_OBJECT
    TestHome home;

    using Factory = NoticeFactory;

    static QString Shown(QDialog* dialog, const QString& control)
    {
        QWidget* widget = dialog->findChild<QWidget*>(control);
        if (auto* label = qobject_cast<QLabel*>(widget))
            return label->text();
        if (auto* button = qobject_cast<QAbstractButton*>(widget))
            return button->text();
        return QStringLiteral("<no control %1>").arg(control);
    }

private slots:
    void initTestCase()
    {
        UiTextTables::Instance()->LoadUiTextTables();
        QCOMPARE(UiTextTables::Instance()->LanguageCount(), 3);
    }
    void init()
    {
        UiLanguage = 0;
        MouseOffLineKind = 0;
    }

    void textsFollowTheLanguage_data()
    {
        QTest::addColumn<Factory>("factory");
        QTest::addColumn<QString>("reader");
        QTest::addColumn<QStringList>("controls");
        QTest::addColumn<QStringList>("keys");
        QTest::newRow("MouseOffLine") << Factory([] { return new MouseOffLine; }) << "MouseOffLine"
                                      << QStringList{"label", "NewHong"} << QStringList{"DialogOffline", "OK"};
        QTest::newRow("LessThree") << Factory([] { return new LessThree; }) << "LessThree"
                                   << QStringList{"label", "NewHong"} << QStringList{"DialogDebounceTips", "OK"};
        QTest::newRow("QuestiondialogB") << Factory([] { return new QuestiondialogB; }) << "QuestiondialogB"
                                         << QStringList{"label"} << QStringList{"ErrorDevice"};
        QTest::newRow("UpDateWarning") << Factory([] { return new UpDateWarning; }) << "UpDateWarning"
                                       << QStringList{"NewHong"} << QStringList{"OK"};
        QTest::newRow("FindNewVer") << Factory([] { return new FindNewVer; }) << "FindNewVer"
                                    << QStringList{"label", "NewHong", "NoApear"}
                                    << QStringList{"UpgradeTips", "OK", "NoApear"};
    }
    void textsFollowTheLanguage()
    {
        QFETCH(Factory, factory);
        QFETCH(QString, reader);
        QFETCH(QStringList, controls);
        QFETCH(QStringList, keys);
        // Built while Chinese is the language, then switched to English and Russian.
        UiLanguage = 1;
        std::unique_ptr<QDialog> dialog(factory());
        // Qt adds Qt::Window to a dialog without a parent.
        QCOMPARE(dialog->windowFlags() & ~Qt::Window, Qt::WindowFlags(0x6C12));
        QCOMPARE(dialog->size(), QSize(300, 140));
        QVector<QStringList> shown(3);
        for (int language : {1, 0, 2}) {
            if (language != 1)
                emit PostMsg::Instance()->SigAllLanguage(language);
            for (int i = 0; i < controls.size(); ++i) {
                const QString expected = UiText::ForReader(language, reader, keys.at(i));
                QVERIFY2(!expected.isEmpty(), qPrintable(keys.at(i)));
                QCOMPARE(Shown(dialog.get(), controls.at(i)), expected);
                shown[language] << expected;
            }
        }
        for (int i = 0; i < controls.size(); ++i) {
            QVERIFY(shown[1].at(i) != shown[0].at(i));
            QVERIFY(shown[2].at(i) != shown[0].at(i));
        }
    }

    void offlineNoticeTellsItsKind()
    {
        MouseOffLineKind = 1;
        MouseOffLine timedOut;
        QCOMPARE(Shown(&timedOut, "label"), UiText::ForReader(0, "MouseOffLine", "TimeOut"));
        MouseOffLineKind = 0;
        emit PostMsg::Instance()->SigAllLanguage(2);
        QCOMPARE(Shown(&timedOut, "label"), UiText::ForReader(2, "MouseOffLine", "DialogOffline"));
        // Any other kind keeps the text the label has.
        MouseOffLineKind = 7;
        emit PostMsg::Instance()->SigAllLanguage(0);
        QCOMPARE(Shown(&timedOut, "label"), UiText::ForReader(2, "MouseOffLine", "DialogOffline"));
        QCOMPARE(Shown(&timedOut, "NewHong"), UiText::ForReader(0, "MouseOffLine", "OK"));
        MouseOffLine fromForm;
        QCOMPARE(Shown(&fromForm, "label"), QString("   The mouse is offline. Please move first"));
    }

    void languageOutsideTheTablesShowsEnglish()
    {
        UiLanguage = 5;
        LessThree notice;
        QCOMPARE(Shown(&notice, "label"), UiText::Text(0, "common", "DialogDebounceTips"));
        emit PostMsg::Instance()->SigAllLanguage(1);
        emit PostMsg::Instance()->SigAllLanguage(-3);
        QCOMPARE(Shown(&notice, "NewHong"), UiText::Text(0, "common", "OK"));
    }

    void offlineNoticeClosesWhenTheDeviceAnswers()
    {
        MouseOffLine notice;
        bool closedByBus = false;
        QTimer::singleShot(0, &notice, [&] {
            QVERIFY(notice.isVisible());
            emit PostMsg::Instance()->SigCloseOffOnline();
            closedByBus = !notice.isVisible();
        });
        // A safety net so that a notice that stays open ends the test instead of hanging it.
        QTimer::singleShot(10000, &notice, &QDialog::reject);
        notice.exec();
        QVERIFY(closedByBus);
    }

    void buttonsClose_data()
    {
        QTest::addColumn<Factory>("factory");
        QTest::addColumn<QString>("button");
        QTest::newRow("MouseOffLine confirm") << Factory([] { return new MouseOffLine; }) << "NewHong";
        QTest::newRow("MouseOffLine close") << Factory([] { return new MouseOffLine; }) << "CloseButton";
        QTest::newRow("LessThree confirm") << Factory([] { return new LessThree; }) << "NewHong";
        QTest::newRow("LessThree close") << Factory([] { return new LessThree; }) << "CloseButton";
        QTest::newRow("QuestiondialogB close") << Factory([] { return new QuestiondialogB; }) << "CloseButton";
        QTest::newRow("UpDateWarning confirm") << Factory([] { return new UpDateWarning; }) << "NewHong";
        QTest::newRow("FindNewVer confirm") << Factory([] { return new FindNewVer; }) << "NewHong";
        QTest::newRow("FindNewVer close") << Factory([] { return new FindNewVer; }) << "CloseButton";
    }
    void buttonsClose()
    {
        QFETCH(Factory, factory);
        QFETCH(QString, button);
        std::unique_ptr<QDialog> dialog(factory());
        dialog->show();
        QToolButton* control = dialog->findChild<QToolButton*>(button);
        QVERIFY(control);
        QTest::mouseClick(control, Qt::LeftButton);
        QVERIFY(!dialog->isVisible());
        QCOMPARE(dialog->result(), int(QDialog::Rejected));
    }

    void returnConfirmsTheWarning()
    {
        UpDateWarning warning;
        QCOMPARE(Shown(&warning, "label"), QString("Confirm Delete"));
        warning.SetText("Connect the mouse with its cable");
        QCOMPARE(Shown(&warning, "label"), QString("Connect the mouse with its cable"));
        warning.show();
        warning.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&warning));
        QTest::keyClick(&warning, Qt::Key_Return);
        // A shortcut presses the button visibly and clicks it a moment later.
        QTRY_VERIFY(!warning.isVisible());
    }

    // The dialogs' entry fields (fire count and interval, the key combination) show their text in
    // the theme's dark field colour: on the field's own base it must stand out.
    void fieldTextStandsOut_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::newRow("spin box") << "QSpinBox";
        QTest::newRow("line edit") << "QLineEdit";
    }
    void fieldTextStandsOut()
    {
        QFETCH(QString, kind);
        std::unique_ptr<QWidget> field;
        if (kind == "QSpinBox") {
            auto* box = new QSpinBox;
            box->setRange(0, 99999);
            box->setValue(88888);
            field.reset(box);
        } else {
            field.reset(new QLineEdit(QStringLiteral("88888")));
        }
        field->setStyleSheet(NoticeLook::FieldStyle(kind));
        field->resize(120, 30);
        const QImage image = field->grab().toImage();
        int darkest = 255, lightest = 0;
        for (int y = 4; y < image.height() - 4; ++y)
            for (int x = 4; x < image.width() - 4; ++x) {
                const int grey = qGray(image.pixel(x, y));
                darkest = qMin(darkest, grey);
                lightest = qMax(lightest, grey);
            }
        QVERIFY2(lightest - darkest > 128, qPrintable(QStringLiteral("%1 to %2").arg(darkest).arg(lightest)));
    }

    void newFirmwareBoxReportsTheTick()
    {
        FindNewVer notice;
        QVERIFY(!notice.DontShowAgain());
        notice.findChild<QCheckBox*>("NoApear")->setChecked(true);
        QVERIFY(notice.DontShowAgain());
    }
};

QTEST_MAIN(TestNotices)
#include "tst_notices.moc"
