// The process ends cleanly with the library started, also while a callback never returns.
#include "SimTestSupport.h"

#include <QProcess>

class HidUsbExitTest : public QObject
{
    Q_OBJECT

private slots:
    void processEnds_data();
    void processEnds();

private:
    TestHome home;
};

void HidUsbExitTest::processEnds_data()
{
    QTest::addColumn<QString>("mode");
    QTest::newRow("nothing running") << "calm";
    QTest::newRow("report callback stuck") << "report";
    QTest::newRow("notice callback stuck") << "notice";
    QTest::newRow("upgrade callback stuck") << "upgrade";
}

void HidUsbExitTest::processEnds()
{
    QFETCH(QString, mode);
    QTemporaryDir flash;
    QProcess helper;
    helper.start(QStringLiteral(HIDUSB_EXIT_HELPER), {mode, ProgramDescription(), flash.path()});
    QVERIFY(helper.waitForStarted());
    QVERIFY2(helper.waitForFinished(60000), "the process did not end");
    QCOMPARE(helper.exitStatus(), QProcess::NormalExit);
    QCOMPARE(helper.exitCode(), 0);
    if (mode != "calm")
        QVERIFY(helper.readAllStandardOutput().contains("never returns"));
}

QTEST_GUILESS_MAIN(HidUsbExitTest)
#include "tst_hidusbexit.moc"
