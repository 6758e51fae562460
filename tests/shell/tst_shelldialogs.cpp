#include "device/DialogChangeLists.h"
#include "device/ConnectionState.h"
#include "device/DeviceDiscovery.h"
#include "device/PostMsg.h"
#include "device/UserIniStore.h"
#include "pages/macro/ExeIsRun.h"
#include "pages/macro/Macro.h"
#include "pages/settings/ContainReset.h"
#include "pages/settings/Match.h"
#include "pages/settings/UpDateRepair.h"
#include "support/PageTestHome.h"
#include "widgets/UiText.h"
#include "widgets/UiTextTables.h"
#include "widgets/WaitProcessingEvents.h"

#include <QAbstractButton>
#include <QElapsedTimer>
#include <QLabel>
#include <QListWidget>
#include <QProgressBar>
#include <QSignalSpy>
#include <QTextEdit>
#include <QtTest>

#include <functional>
#include <memory>
#include "support/LanguageRows.h"

namespace {

QString TextOf(QWidget* dialog, const QString& name)
{
    QWidget* widget = dialog->findChild<QWidget*>(name);
    if (auto* label = qobject_cast<QLabel*>(widget))
        return label->text();
    if (auto* button = qobject_cast<QAbstractButton*>(widget))
        return button->text();
    if (auto* edit = qobject_cast<QTextEdit*>(widget))
        return edit->toPlainText();
    return QStringLiteral("<no %1>").arg(name);
}

QWidget* Child(QWidget* dialog, const QString& name)
{
    return dialog->findChild<QWidget*>(name);
}

// Runs action while a modal dialog may open; closes it and tells which one it was and its label.
QPair<QString, QString> CatchModal(const std::function<void()>& action)
{
    QPair<QString, QString> seen;
    QTimer timer;
    timer.setInterval(5);
    QObject::connect(&timer, &QTimer::timeout, [&] {
        if (QWidget* modal = QApplication::activeModalWidget()) {
            seen.first = modal->metaObject()->className();
            seen.second = TextOf(modal, "label");
            timer.stop();
            modal->close();
        }
    });
    timer.start();
    action();
    return seen;
}

QString WriteFile(QTemporaryDir& folder, const QString& name, const QByteArray& content)
{
    QFile file(folder.filePath(name));
    file.open(QIODevice::WriteOnly);
    file.write(content);
    return file.fileName();
}

} // namespace

// The program notice, the first macro page, and the first versions of the settings dialogs that the
// top-level window opens.
class TestShellDialogs : public QObject
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
        DeviceWindowActive = 0;
        PairDeviceChosen = false;
        ListedDevices.clear();
    }

    void waitHandlesEventsForItsWholeTime_data()
    {
        QTest::addColumn<int>("milliseconds");
        QTest::addColumn<bool>("quitMeanwhile");
        QTest::newRow("nothing to wait") << 0 << false;
        QTest::newRow("60 ms") << 60 << false;
        QTest::newRow("60 ms, the application quits meanwhile") << 60 << true;
    }
    void waitHandlesEventsForItsWholeTime()
    {
        QFETCH(int, milliseconds);
        QFETCH(bool, quitMeanwhile);
        int handled = 0;
        QObject rowOnly;
        QTimer::singleShot(0, &rowOnly, [&handled] { ++handled; });
        if (quitMeanwhile)
            QTimer::singleShot(5, &rowOnly, &QCoreApplication::quit);
        QElapsedTimer clock;
        clock.start();
        WaitProcessingEvents(milliseconds);
        // Measured on the monotonic clock: the whole time passes, with the events handled.
        QVERIFY(clock.elapsed() >= milliseconds);
        QCOMPARE(handled, 1);
        if (quitMeanwhile) {
            // The next event loop of the test has to run again.
            QTimer::singleShot(0, qApp, &QCoreApplication::quit);
            QCoreApplication::exec();
        }
    }

    void programNoticeSpeaksTheStoredLanguage_data()
    {
        QTest::addColumn<QString>("preference");
        QTest::addColumn<int>("language");
        QTest::newRow("nothing stored") << "" << 0;
        QTest::newRow("Chinese") << "1" << 1;
        QTest::newRow("Russian") << "2" << 2;
        QTest::newRow("a language without a file") << "7" << 0;
        QTest::newRow("not a number") << "ru" << 0;
    }
    void programNoticeSpeaksTheStoredLanguage()
    {
        QFETCH(QString, preference);
        QFETCH(int, language);
        UserIniStore::Instance()->SetValue("Language", "Language", preference);
        ExeIsRun notice;
        QCOMPARE(notice.LabelText(), UiText::Text(language, "home", "OnRun"));
        QCOMPARE(notice.ButtonText(), UiText::Text(language, "common", "OK"));
        QVERIFY(!notice.LabelText().isEmpty());
        notice.ShowSelectMacroFirst();
        QCOMPARE(notice.LabelText(), UiText::Text(language, "macro", "DialogSelectMacroFirst"));
        notice.ShowStopRecordFirst();
        QCOMPARE(notice.LabelText(), UiText::Text(language, "macro", "DialogStopRecordFirst"));
        UserIniStore::Instance()->RemoveValue("Language", "Language");
    }

    void programNoticeReadsOnlyItsKeys()
    {
        QTemporaryDir folder;
        ExeIsRun notice;
        const QString label = notice.LabelText();
        const QString button = notice.ButtonText();
        // Texts outside the mouse part, and an "OK" of another section, are not the notice's.
        notice.LoadLanguageFile(WriteFile(folder, "other.json",
            "{\"home\": {\"OnRun\": \"top level\"},"
                "\"keyboard\": {\"home\": {\"OnRun\": \"keyboard\"}, \"common\": {\"OK\": \"keyboard OK\"}},"
                "\"mouse\": {\"macro\": {\"OK\": \"macro OK\", \"DialogSelectMacroFirst\": \"\"}}}"));
        QCOMPARE(notice.LabelText(), label);
        QCOMPARE(notice.ButtonText(), button);
        notice.LoadLanguageFile(WriteFile(folder, "broken.json", "{\"mouse\": {\"home\": {\"OnRun\": \"half"));
        notice.LoadLanguageFile(folder.filePath("missing.json"));
        QCOMPARE(notice.LabelText(), label);
        notice.LoadLanguageFile(WriteFile(folder, "mine.json",
            "{\"mouse\": {\"common\": {\"OK\": \"Fine\"}, \"home\": {\"OnRun\": \"Runs\"}, \"macro\": {\"DialogStopRecordFirst\": \"Stop\"}}}"));
        QCOMPARE(notice.LabelText(), QString("Runs"));
        QCOMPARE(notice.ButtonText(), QString("Fine"));
        notice.ShowStopRecordFirst();
        QCOMPARE(notice.LabelText(), QString("Stop"));
        QVERIFY(ExeIsRun::LanguageFilePath(1).endsWith("/Language//zh-CN.json"));
        QCOMPARE(ExeIsRun::LanguageFilePath(9), ExeIsRun::LanguageFilePath(0));
    }

    void macroRecordingLocksThePageButtons()
    {
        Macro page;
        QSignalSpy record(PostMsg::Instance(), &PostMsg::SigStartRecord);
        auto* start = qobject_cast<QAbstractButton*>(Child(&page, "StartRecord"));
        auto* stop = qobject_cast<QAbstractButton*>(Child(&page, "StopRecord"));
        auto* list = page.findChild<QListWidget*>("listWidgetHong");
        QVERIFY(start && stop && list);

        // No macro selected: the notice, nothing started.
        const auto seen = CatchModal([&] { start->click(); });
        QCOMPARE(seen.first, QString("ExeIsRun"));
        QCOMPARE(seen.second, UiText::Text(0, "macro", "DialogSelectMacroFirst"));
        QCOMPARE(record.count(), 0);
        QVERIFY(!MacroRecording);

        list->addItem("Macro 1");
        list->setCurrentRow(0);
        start->click();
        QCOMPARE(record.count(), 1);
        QCOMPARE(record.takeFirst().at(0).toInt(), 0);
        QVERIFY(MacroRecording);
        QVERIFY(start->isHidden() && !stop->isHidden());
        stop->click();
        QCOMPARE(record.takeFirst().at(0).toInt(), 1);
        QVERIFY(!MacroRecording);
        QVERIFY(!start->isHidden() && stop->isHidden());

        // Leaving the device window ends a recording too.
        start->click();
        record.clear();
        emit PostMsg::Instance()->SigSetMacroPage();
        QCOMPARE(record.count(), 1);
        QCOMPARE(record.takeFirst().at(0).toInt(), 1);
        QVERIFY(!MacroRecording);
        QVERIFY(list->isEnabled());
    }

    void confirmationAnswers_data()
    {
        QTest::addColumn<QString>("how");
        QTest::addColumn<bool>("confirmed");
        QTest::newRow("OK") << "OK" << true;
        QTest::newRow("Return") << "Return" << true;
        QTest::newRow("Cancel") << "Cancel" << false;
        QTest::newRow("close button") << "CloseButton" << false;
        QTest::newRow("Escape") << "Escape" << false;
    }
    void confirmationAnswers()
    {
        QFETCH(QString, how);
        QFETCH(bool, confirmed);
        ContainReset question;
        QCOMPARE(TextOf(&question, "label"), UiText::Text(0, "Settings", "DialogRestore"));
        question.SetText("Update the receiver?");
        QCOMPARE(question.Text(), QString("Update the receiver?"));
        QTimer::singleShot(0, &question, [&] {
            // Keys reach the shortcuts of the active window only.
            QVERIFY(QTest::qWaitForWindowActive(&question));
            if (how == "Return" || how == "Escape")
                QTest::keyClick(&question, how == "Return" ? Qt::Key_Return : Qt::Key_Escape);
            else
                qobject_cast<QAbstractButton*>(Child(&question, how))->click();
        });
        question.exec();
        QCOMPARE(question.IsConfirm, confirmed);
        QVERIFY(!question.isVisible());
    }

    void dialogTextsFollowTheLanguage_data()
    {
        LanguageRows();
    }
    void dialogTextsFollowTheLanguage()
    {
        QFETCH(int, language);
        ContainReset question;
        UpDateRepair firmware;
        Match pairing;
        emit PostMsg::Instance()->SigAllLanguage(language);
        auto text = [language](const char* section, const char* key) { return UiText::Text(language, section, key); };
        QCOMPARE(TextOf(&question, "label"), text("Settings", "DialogRestore"));
        QCOMPARE(TextOf(&question, "OK"), text("common", "OK"));
        QCOMPARE(TextOf(&question, "Cancel"), text("common", "Cancel"));
        QCOMPARE(TextOf(&firmware, "ToolText"), text("home", "WarnUpdate"));
        firmware.ResetView();
        QCOMPARE(TextOf(&firmware, "NewHong_2"), text("update", "DialogUpgradeStart"));
        QCOMPARE(TextOf(&firmware, "NewHong"), text("common", "Cancel"));
        QCOMPARE(TextOf(&pairing, "label"), text("home", "NoPair"));
        QCOMPARE(TextOf(&pairing, "textEdit"), text("pair", "DialogPairTips"));
        QCOMPARE(TextOf(&pairing, "MatchButton"), text("pair", "StartPair"));
        for (const QString& shown : {TextOf(&question, "label"), TextOf(&firmware, "ToolText"),
                                     TextOf(&pairing, "MatchButton"), TextOf(&pairing, "textEdit")})
            QVERIFY(!shown.isEmpty());
    }

    void firmwareDialogViews()
    {
        UpDateRepair firmware;
        // Made with only the close button and the warning.
        for (const char* hidden : {"NewHong", "NewHong_2", "ToolText_2", "progressBar_2"})
            QVERIFY2(Child(&firmware, hidden)->isHidden(), hidden);
        firmware.ResetView();
        for (const char* shown : {"NewHong", "NewHong_2", "CloseButton"})
            QVERIFY2(!Child(&firmware, shown)->isHidden(), shown);
        QVERIFY(Child(&firmware, "progressBar_2")->isHidden());
        firmware.ShowUpgradingView();
        QVERIFY(Child(&firmware, "NewHong")->isHidden() && Child(&firmware, "NewHong_2")->isHidden());
        QVERIFY(!Child(&firmware, "CloseButton")->isEnabled());
        QCOMPARE(TextOf(&firmware, "ToolText_2"), UiText::Text(0, "home", "WarnUpdate"));
        firmware.SlotProgress(1, 6);
        QCOMPARE(TextOf(&firmware, "ToolText_2"), UiText::Text(0, "update", "DialogUpgradeFail"));
        QVERIFY(Child(&firmware, "CloseButton")->isEnabled());
        firmware.SetToolText("message");
        firmware.ShowMessageView();
        QCOMPARE(TextOf(&firmware, "NewHong_2"), UiText::Text(0, "common", "OK"));
        // The automatic start is remembered; without an image nothing runs.
        firmware.SetAutoUpdate(0);
        QVERIFY(firmware.AutoStart());
    }

    void pairingDialogChoosesTheDevice_data()
    {
        QTest::addColumn<bool>("deviceWindow");
        QTest::addColumn<bool>("chosen");
        QTest::addColumn<QString>("path");
        QTest::addColumn<bool>("possible");
        QTest::newRow("device window: the open device") << true << true << "open" << true;
        QTest::newRow("selection: the chosen device") << false << true << "chosen" << false;
        QTest::newRow("selection: the first listed") << false << false << "listed" << true;
    }
    void pairingDialogChoosesTheDevice()
    {
        QFETCH(bool, deviceWindow);
        QFETCH(bool, chosen);
        QFETCH(QString, path);
        QFETCH(bool, possible);
        DeviceAllInfo open;
        open.path = "open";
        CurrentDeviceInfo.Set(open);
        DeviceAllInfo wired;
        wired.path = "chosen";
        wired.status = 3;
        wired.wired = true;
        PairDeviceInfo = wired;
        PairDeviceChosen = chosen;
        DeviceAllInfo listed;
        listed.path = "listed";
        ListedDevices = {listed};
        DeviceWindowActive = deviceWindow ? 1 : 0;

        Match pairing;
        pairing.InitPairDevice();
        QCOMPARE(pairing.PairPath(), path);
        // What can be paired is known from the first device tick on.
        QVERIFY(!pairing.PairingPossible());
        QTRY_VERIFY(Child(&pairing, "label")->isHidden() != Child(&pairing, "textEdit")->isHidden());
        QCOMPARE(pairing.PairingPossible(), possible);
        // A device on its cable shows the note and cannot be paired; one in wireless mode the instructions.
        QCOMPARE(Child(&pairing, "label")->isHidden(), possible);
        QCOMPARE(Child(&pairing, "textEdit")->isHidden(), !possible);
        QCOMPARE(Child(&pairing, "MatchButton")->isEnabled(), possible);
        CurrentDeviceInfo.Set(DeviceAllInfo());
    }
};

QTEST_MAIN(TestShellDialogs)
#include "tst_shelldialogs.moc"
