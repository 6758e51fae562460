#include "device/ConnectionState.h"
#include "device/PostMsg.h"
#include "pages/settings/MyProgressBar.h"
#include "pages/settings/Progress.h"
#include "support/FindChild.h"
#include "support/TestHome.h"
#include "widgets/UiText.h"
#include "widgets/UiTextTables.h"

#include <QLabel>
#include <QProgressBar>
#include <QSignalSpy>
#include <QToolButton>
#include <QtTest>

namespace {
QString Upgrading(int percent)
{
    return UiText::ForReader(UiLanguage, "Progress", "DialogUpgradeUpgrading") + ": " + QString::number(percent) + "%";
}
QString Text(const char* key)
{
    return UiText::ForReader(UiLanguage, "Progress", key);
}
QList<int> Ints(const QSignalSpy& spy)
{
    QList<int> values;
    for (const QList<QVariant>& call : spy)
        values << call.at(0).toInt();
    return values;
}
}

// The staged progress bar, driven tick by tick, and the small upgrade progress dialog with its
// buttons after a failure and after a success.
class TestUpgradeProgress : public QObject
{
    Q_OBJECT
    TestHome home;

private slots:
    void initTestCase()
    {
        UiTextTables::Instance()->LoadUiTextTables();
        UiLanguage = 0;
        FirmwareUpdateInProgress = false;
    }

    void stops_data()
    {
        QTest::addColumn<int>("stages");
        QTest::addColumn<QList<int>>("stops");
        QTest::newRow("0 stages") << 0 << QList<int>{0, 100};
        QTest::newRow("1 stage") << 1 << QList<int>{0, 100};
        QTest::newRow("2 stages") << 2 << QList<int>{0, 50, 100};
        QTest::newRow("3 stages") << 3 << QList<int>{0, 33, 66, 100};
        QTest::newRow("4 stages") << 4 << QList<int>{0, 25, 50, 75, 100};
    }
    void stops()
    {
        QFETCH(int, stages);
        QFETCH(QList<int>, stops);
        MyProgressBar bar;
        bar.setValue(40);
        bar.start(stages, 60000);
        QCOMPARE(bar.Stops(), stops);
        QCOMPARE(bar.StopIndex(), 0);
        QCOMPARE(bar.value(), 0);
        QVERIFY(bar.IsCreeping());
        QVERIFY(!bar.IsCatchingUp());
    }

    // Creeping stops just short of each stage's end; a completed stage is caught up exactly; after
    // the last stop neither a further completion nor a tick reads past the stops.
    void runsThroughItsStages()
    {
        MyProgressBar bar;
        bar.start(3, 60000);
        for (int stage = 1; stage <= 3; ++stage) {
            const int end = bar.Stops().at(stage);
            for (int tick = 0; tick < 120; ++tick)
                bar.CreepStep();
            QCOMPARE(bar.value(), end - 1); // it grows while two or more short
            bar.mUpdate();
            QCOMPARE(bar.StopIndex(), stage);
            QVERIFY(bar.IsCatchingUp());
            QCOMPARE(bar.IsCreeping(), stage < 3);
            for (int tick = 0; tick < 120 && bar.IsCatchingUp(); ++tick)
                bar.CatchUpStep();
            QCOMPARE(bar.value(), end);
            QVERIFY(!bar.IsCatchingUp());
        }
        QCOMPARE(bar.value(), 100);
        QCOMPARE(bar.text(), QStringLiteral("100.0%"));

        // One report too many: the bar stays at its last stop and the ticks find nothing to do.
        bar.mUpdate();
        QCOMPARE(bar.StopIndex(), bar.Stops().size() - 1);
        bar.CatchUpStep();
        bar.CreepStep();
        QCOMPARE(bar.value(), 100);
        QVERIFY(!bar.IsCreeping());
        QVERIFY(!bar.IsCatchingUp());
    }

    void showsPercentage()
    {
        MyProgressBar bar;
        bar.setValue(37);
        QCOMPARE(bar.text(), QStringLiteral("37.0%"));
        QCOMPARE(bar.minimum(), 0);
        QCOMPARE(bar.maximum(), 100);
        QCOMPARE(bar.alignment(), Qt::AlignRight | Qt::AlignVCenter);
    }

    void slotProgress_data()
    {
        QTest::addColumn<QList<int>>("reports"); // pairs of schedue, Discrib in order
        QTest::addColumn<QString>("label");      // "upgrading N", "fail" or "success"
        QTest::addColumn<int>("bar");
        QTest::addColumn<bool>("okShown");
        QTest::newRow("0 upgrading 37") << QList<int>{37, 0} << "upgrading 37" << 37 << false;
        QTest::newRow("1 failed") << QList<int>{48, 0, 0, 1} << "fail" << 0 << true;
        QTest::newRow("2 succeeded") << QList<int>{48, 0, 0, 2} << "success" << 100 << true;
        QTest::newRow("3 hides OK") << QList<int>{0, 2, 60, 3} << "success" << 60 << false;
        QTest::newRow("4 back to the start") << QList<int>{0, 1, 70, 4} << "upgrading 0" << 0 << false;
        QTest::newRow("other codes change the bar only") << QList<int>{20, 0, 30, 9} << "upgrading 20" << 30 << false;
    }
    void slotProgress()
    {
        QFETCH(QList<int>, reports);
        QFETCH(QString, label);
        QFETCH(int, bar);
        QFETCH(bool, okShown);
        Progress dialog;
        dialog.show();
        QCOMPARE(Child<QLabel>(dialog, "label")->text(), Upgrading(0));
        QVERIFY(Child<QToolButton>(dialog, "NewHong")->isVisible());
        Child<QToolButton>(dialog, "NewHong")->hide();
        for (int at = 0; at + 1 < reports.size(); at += 2)
            dialog.SlotProgress(reports.at(at), reports.at(at + 1));
        const QString expected = label == "fail"      ? Text("DialogUpgradeFail")
                                 : label == "success" ? Text("DialogUpgradeSuccess")
                                                      : Upgrading(label.section(' ', 1).toInt());
        QCOMPARE(Child<QLabel>(dialog, "label")->text(), expected);
        QCOMPARE(Child<QProgressBar>(dialog, "progressBar_2")->value(), bar);
        QCOMPARE(Child<QToolButton>(dialog, "NewHong")->isVisible(), okShown);
    }

    // OK after a failure leads back to the device selection; after a success the settings page
    // goes on, and the dialog starts over. The close button, Escape and the window's close do the
    // same unless a run is active.
    void buttons_data()
    {
        QTest::addColumn<int>("result"); // Discrib of the last report
        QTest::addColumn<QString>("button");
        QTest::addColumn<bool>("running");
        QTest::addColumn<QList<int>>("mainDialog");
        QTest::addColumn<QList<int>>("continues");
        QTest::addColumn<bool>("open");
        QTest::newRow("OK after a failure") << 1 << "NewHong" << false << QList<int>{0} << QList<int>{} << false;
        QTest::newRow("OK after a success") << 2 << "NewHong" << false << QList<int>{} << QList<int>{0} << false;
        QTest::newRow("close after a failure") << 1 << "CloseButton" << false << QList<int>{0} << QList<int>{} << false;
        QTest::newRow("close after a success") << 2 << "CloseButton" << false << QList<int>{} << QList<int>{0} << false;
        QTest::newRow("close while a run is active") << 0 << "CloseButton" << true << QList<int>{} << QList<int>{} << true;
        QTest::newRow("OK while a run is active") << 2 << "NewHong" << true << QList<int>{} << QList<int>{0} << false;
        QTest::newRow("Escape while a run is active") << 0 << "Escape" << true << QList<int>{} << QList<int>{} << true;
        QTest::newRow("window closed while a run is active") << 0 << "window" << true << QList<int>{} << QList<int>{} << true;
        QTest::newRow("Escape after a success") << 2 << "Escape" << false << QList<int>{} << QList<int>{0} << false;
        QTest::newRow("window closed after a failure") << 1 << "window" << false << QList<int>{0} << QList<int>{} << false;
    }
    void buttons()
    {
        QFETCH(int, result);
        QFETCH(QString, button);
        QFETCH(bool, running);
        QFETCH(QList<int>, mainDialog);
        QFETCH(QList<int>, continues);
        QFETCH(bool, open);
        Progress dialog;
        dialog.show();
        dialog.SlotProgress(45, 0);
        dialog.SlotProgress(result == 2 ? 100 : 45, result);
        QSignalSpy mainSpy(PostMsg::Instance(), SIGNAL(SigChangeMainDialog(int)));
        QSignalSpy continueSpy(PostMsg::Instance(), SIGNAL(SigContinue(int)));
        FirmwareUpdateInProgress = running;
        if (button == "Escape")
            QTest::keyClick(&dialog, Qt::Key_Escape);
        else if (button == "window")
            dialog.close();
        else
            Child<QToolButton>(dialog, qPrintable(button))->click();
        FirmwareUpdateInProgress = false;
        QCOMPARE(Ints(mainSpy), mainDialog);
        QCOMPARE(Ints(continueSpy), continues);
        QCOMPARE(dialog.isVisible(), open);
        if (!continues.isEmpty()) {
            QCOMPARE(Child<QLabel>(dialog, "label")->text(), Upgrading(0));
            QCOMPARE(Child<QProgressBar>(dialog, "progressBar_2")->value(), 0);
        }
    }

    // The bus asks it to close: refused while the settings page's run is active.
    void closesOnRequest()
    {
        Progress dialog;
        dialog.show();
        dialog.SlotProgress(64, 0);
        FirmwareUpdateInProgress = true;
        emit PostMsg::Instance()->SigCloseProgress();
        QVERIFY(dialog.isVisible());
        QCOMPARE(Child<QLabel>(dialog, "label")->text(), Upgrading(64));
        FirmwareUpdateInProgress = false;
        emit PostMsg::Instance()->SigCloseProgress();
        QVERIFY(!dialog.isVisible());
        QCOMPARE(Child<QLabel>(dialog, "label")->text(), Upgrading(0));
        QCOMPARE(Child<QProgressBar>(dialog, "progressBar_2")->value(), 0);
    }

    // Every language has the dialog's texts, and a language change keeps what the dialog shows.
    void languages()
    {
        Progress dialog;
        dialog.SlotProgress(12, 0);
        for (int language : {1, 2, 0}) {
            UiLanguage = language;
            emit PostMsg::Instance()->SigAllLanguage(language);
            for (const char* key : {"DialogUpgradeUpgrading", "DialogUpgradeFail", "DialogUpgradeSuccess", "OK"})
                QVERIFY2(!Text(key).isEmpty(), key);
            QCOMPARE(Child<QLabel>(dialog, "label")->text(), Upgrading(12));
            QCOMPARE(Child<QToolButton>(dialog, "NewHong")->text(), Text("OK"));
        }
        dialog.SlotProgress(0, 1);
        UiLanguage = 1;
        emit PostMsg::Instance()->SigAllLanguage(1);
        QCOMPARE(Child<QLabel>(dialog, "label")->text(), Text("DialogUpgradeFail"));
        UiLanguage = 0;
        emit PostMsg::Instance()->SigAllLanguage(0);
    }
};

QTEST_MAIN(TestUpgradeProgress)
#include "tst_upgradeprogress.moc"
