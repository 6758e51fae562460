#include "device/DeviceDiscovery.h"
#include "device/DeviceState.h"
#include "device/PostMsg.h"
#include "pages/settings/ClockSyncFrame.h"
#include "pages/settings/ContainReset.h"
#include "pages/settings/InputPicA.h"
#include "pages/settings/InputPicB.h"
#include "pages/settings/LedInfo.h"
#include "pages/settings/MyButton.h"
#include "pages/settings/MyThread.h"
#include "pages/settings/RePair.h"
#include "platform/hidusb/SimControl.h"
#include "support/RunOnDeviceThread.h"
#include "support/SimulatedDeviceFixture.h"
#include "support/TestHome.h"
#include "widgets/UiText.h"
#include "widgets/UiTextTables.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QSignalSpy>
#include <QSlider>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>
#include "support/LanguageRows.h"

namespace {

// Models of the test's own model list by their number n (Config.ini group "Drive" + n) and "Adveanced" value.
enum TestModel { NoList = 31, OneEntry = 32, MarkedAbsent = 33, Present = 34 };

bool CopyFolder(const QString& from, const QString& to)
{
    QDir().mkpath(to);
    for (const QFileInfo& entry : QDir(from).entryInfoList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot)) {
        const QString target = to + "/" + entry.fileName();
        if (entry.isDir() ? !CopyFolder(entry.filePath(), target) : !QFile::copy(entry.filePath(), target))
            return false;
    }
    return true;
}

QString Label(QWidget* dialog, const char* name)
{
    QWidget* widget = dialog->findChild<QWidget*>(name);
    if (auto* label = qobject_cast<QLabel*>(widget))
        return label->text();
    if (auto* button = qobject_cast<QAbstractButton*>(widget))
        return button->text();
    return QStringLiteral("<no %1>").arg(name);
}

QAbstractButton* Button(QWidget* dialog, const char* name)
{
    auto* button = dialog->findChild<QAbstractButton*>(name);
    if (!button)
        qFatal("no button %s", name);
    return button;
}

} // namespace

// The dialogs the settings page holds or opens: the two confirmations, MyButton, the receiver LED
// information, the two screen picture dialogs and the receiver clock sync.
class TestSettingsDialogs : public QObject
{
    Q_OBJECT
    TestHome home;
    QTemporaryDir program;
    std::unique_ptr<SimulatedDevices> devices;

private slots:
    void initTestCase()
    {
        // A program folder of the test's own, so that its model list can hold the models below.
        const QString shipped = AppPaths::ProgramFolder();
        for (const char* folder : {"usersetting", "Language", "simulated", "Picture"})
            QVERIFY(CopyFolder(shipped + "/" + folder, program.path() + "/" + folder));
        QFile models(program.path() + "/usersetting/Config.ini");
        QVERIFY(models.open(QIODevice::Append));
        models.write("\n[Drive32]\nAdveanced=1\n\n[Drive33]\nAdveanced=0,-1\n\n[Drive34]\nAdveanced=0,1\n");
        models.close();
        QFile::copy(shipped + "/libHIDUsb.so", program.path() + "/libHIDUsb.so");
        AppPaths::SetProgramFolder(program.path());
        home.MakeUserFolders();
        UiTextTables::Instance()->LoadUiTextTables();
        devices = std::make_unique<SimulatedDevices>();
    }
    void init() { UiLanguage = 0; }

    // ---- ContainReset and RePair ----

    void confirmationAnswers_data()
    {
        QTest::addColumn<QString>("dialog");
        QTest::addColumn<QString>("how");
        QTest::addColumn<bool>("confirmed");
        QTest::addColumn<bool>("closes");
        for (const char* dialog : {"ContainReset", "RePair"}) {
            const bool reset = QByteArray(dialog) == "ContainReset";
            QTest::addRow("%s OK", dialog) << dialog << "OK" << true << true;
            QTest::addRow("%s Cancel", dialog) << dialog << "Cancel" << false << true;
            QTest::addRow("%s close button", dialog) << dialog << "CloseButton" << false << true;
            QTest::addRow("%s Escape", dialog) << dialog << "Escape" << false << true;
            // Only the restore question takes Return for OK.
            QTest::addRow("%s Return", dialog) << dialog << "Return" << reset << reset;
        }
    }
    void confirmationAnswers()
    {
        QFETCH(QString, dialog);
        QFETCH(QString, how);
        QFETCH(bool, confirmed);
        QFETCH(bool, closes);
        std::unique_ptr<QDialog> question;
        bool* answer = nullptr;
        if (dialog == "ContainReset") {
            auto* reset = new ContainReset;
            answer = &reset->IsConfirm;
            question.reset(reset);
        } else {
            auto* pair = new RePair;
            answer = &pair->IsConfirm;
            question.reset(pair);
        }
        QCOMPARE(*answer, false);
        bool stillOpen = false;
        QTimer::singleShot(0, question.get(), [&] {
            QVERIFY(QTest::qWaitForWindowActive(question.get()));
            if (how == "Return" || how == "Escape")
                QTest::keyClick(question.get(), how == "Return" ? Qt::Key_Return : Qt::Key_Escape);
            else
                Button(question.get(), how.toLatin1().constData())->click();
            // A shortcut clicks its button a moment later, as a click by hand would look.
            if (closes)
                QVERIFY(QTest::qWaitFor([&] { return !question->isVisible(); }, 5000));
            else
                QTest::qWait(300);
            stillOpen = question->isVisible();
            if (stillOpen)
                question->reject();
        });
        question->exec();
        QCOMPARE(*answer, confirmed);
        QCOMPARE(stillOpen, !closes);
    }

    void confirmationTexts_data()
    {
        LanguageRows();
    }
    void confirmationTexts()
    {
        QFETCH(int, language);
        ContainReset reset;
        RePair pair;
        reset.SetText("Update the receiver?");
        QCOMPARE(Label(&reset, "label"), QString("Update the receiver?"));
        emit PostMsg::Instance()->SigAllLanguage(language);
        QCOMPARE(Label(&reset, "label"), UiText::Text(language, "Settings", "DialogRestore"));
        QCOMPARE(Label(&pair, "label"), UiText::Text(language, "home", "Repair"));
        for (QDialog* dialog : std::initializer_list<QDialog*>{&reset, &pair}) {
            QCOMPARE(Label(dialog, "OK"), UiText::Text(language, "common", "OK"));
            QCOMPARE(Label(dialog, "Cancel"), UiText::Text(language, "common", "Cancel"));
            QVERIFY(!Label(dialog, "label").isEmpty());
        }
    }

    // ---- MyButton ----

    void myButtonShowsTheHandWhileThePointerIsOver()
    {
        MyButton button;
        button.setCursor(Qt::CrossCursor);
        QEvent enter(QEvent::Enter);
        QApplication::sendEvent(&button, &enter);
        QCOMPARE(button.cursor().shape(), Qt::PointingHandCursor);
        QEvent leave(QEvent::Leave);
        QApplication::sendEvent(&button, &leave);
        QCOMPARE(button.cursor().shape(), Qt::ArrowCursor);
    }

    // ---- LedInfo ----

    void ledInfoFollowsTheIndicatorRecord_data()
    {
        QTest::addColumn<int>("model");
        QTest::addColumn<int>("status");
        QTest::addColumn<int>("meaning");
        QTest::addColumn<int>("checked"); // 0, 1, 2: the box; 3: the box ticked before stays
        const struct {
            const char* name;
            int model;
            bool feature;
        } models[] = {{"no list", NoList, false}, {"one entry", OneEntry, false}, {"\"-1\"", MarkedAbsent, false}, {"\"1\"", Present, true}};
        const struct {
            const char* name;
            int status;
        } statuses[] = {{"status 1", 1}, {"status 4", 4}, {"wired", 2}};
        for (const auto& model : models) {
            for (const auto& status : statuses) {
                for (int meaning : {0, 2, 4}) {
                    const bool applies = model.feature && status.status == 1 && meaning == 2;
                    QTest::addRow("%s, %s, byte 0 = %d", model.name, status.name, meaning)
                        << model.model << status.status << meaning << (applies ? 1 : 2);
                }
            }
        }
    }
    void ledInfoFollowsTheIndicatorRecord()
    {
        QFETCH(int, model);
        QFETCH(int, status);
        QFETCH(int, meaning);
        QFETCH(int, checked);
        CurrentDeviceInfo.Update([&](DeviceAllInfo& info) {
            info.modelIndex = model - 1;
            info.status = uint8_t(status);
            info.wired = DeviceAllInfo::IsWiredStatus(info.status);
        });
        LedInfo dialog;
        QCheckBox* boxes[3] = {dialog.findChild<QCheckBox*>("ReUntil"), dialog.findChild<QCheckBox*>("ReUntil_2"),
                               dialog.findChild<QCheckBox*>("ReUntil_3")};
        // A box ticked before the record arrives: it stays unless the record names another meaning.
        boxes[2]->setChecked(true);
        DongleRGB record{};
        record.bytes[0] = uint8_t(meaning);
        // The record comes from the report callback's thread, which waits for the dialog.
        RunOnDeviceThread([&] { emit PostMsg::Instance()->SigRGBValue(&record); });
        for (int box = 0; box < 3; ++box)
            QVERIFY2(boxes[box]->isChecked() == (box == checked), qPrintable(QString("box %1").arg(box)));
    }

    void ledInfoTickedByHandSendsNothing()
    {
        FlashDataMap record{};
        const int device = devices->OpenDevice(false, &record);
        QVERIFY(device >= 0);
        QVERIFY(SimControl_WaitIdle(5000));
        const int updates = SimControl_UpdateCount();
        LedInfo dialog;
        dialog.show();
        QSignalSpy closes(PostMsg::Instance(), &PostMsg::SigButtonCheck);
        for (const char* name : {"ReUntil_2", "ReUntil", "ReUntil_3"}) {
            QAbstractButton* box = Button(&dialog, name);
            QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(8, box->height() / 2));
            QVERIFY(box->isChecked());
        }
        QVERIFY(SimControl_WaitIdle(5000));
        QCOMPARE(SimControl_UpdateCount(), updates);
        QVERIFY(devices->RecordDifferences(device, record).isEmpty());
        QCOMPARE(closes.count(), 0);
        QVERIFY(dialog.isVisible());
    }

    // ---- Close buttons ----

    void closeButtonsEmitOnce_data()
    {
        QTest::addColumn<QString>("dialog");
        QTest::newRow("LedInfo") << "LedInfo";
        QTest::newRow("InputPicA") << "InputPicA";
        QTest::newRow("InputPicB") << "InputPicB";
    }
    void closeButtonsEmitOnce()
    {
        QFETCH(QString, dialog);
        std::unique_ptr<QDialog> shown;
        if (dialog == "LedInfo")
            shown.reset(new LedInfo);
        else if (dialog == "InputPicA")
            shown.reset(new InputPicA);
        else
            shown.reset(new InputPicB);
        shown->show();
        QSignalSpy closes(PostMsg::Instance(), &PostMsg::SigButtonCheck);
        Button(shown.get(), "CloseButton")->click();
        QCOMPARE(closes.count(), 1);
        QVERIFY(!shown->isVisible());
    }

    void screenControlsDoNothing_data()
    {
        QTest::addColumn<bool>("portrait");
        QTest::newRow("InputPicA") << true;
        QTest::newRow("InputPicB") << false;
    }
    void screenControlsDoNothing()
    {
        QFETCH(bool, portrait);
        std::unique_ptr<QDialog> dialog(portrait ? static_cast<QDialog*>(new InputPicA) : new InputPicB);
        dialog->show();
        QSignalSpy closes(PostMsg::Instance(), &PostMsg::SigButtonCheck);
        const int updates = SimControl_UpdateCount();
        dialog->findChild<QSlider*>("SpeedH")->setValue(4);
        for (const char* name : {"CheckButton", "toolButtonB", "toolButtonD", "Input", "Output"})
            Button(dialog.get(), name)->click();
        // The picture slots are one exclusive group.
        QVERIFY(Button(dialog.get(), "toolButtonD")->isChecked());
        QVERIFY(!Button(dialog.get(), "toolButtonB")->isChecked());
        QVERIFY(dialog->isVisible());
        QCOMPARE(closes.count(), 0);
        QCOMPARE(SimControl_UpdateCount(), updates);
        if (portrait)
            QVERIFY(!static_cast<InputPicA*>(dialog.get())->ClockSyncRunning());
    }

    // ---- Receiver clock sync ----

    void clockSyncFrame()
    {
        const QDateTime lastSecondsOf2025(QDate(2025, 12, 31), QTime(23, 59, 58));
        const QByteArray frame = ClockSyncFrame(lastSecondsOf2025);
        QCOMPARE(frame.size(), 40);
        QCOMPARE(frame.left(11), QByteArray::fromHex("0a001007e90c1f173b3a03"));
        QCOMPARE(frame.mid(11), QByteArray(29, '\0'));
    }

    void clockSyncChecksum_data()
    {
        QTest::addColumn<QByteArray>("frame");
        QTest::addColumn<int>("checksum");
        QTest::newRow("0x0A, 0x10") << QByteArray::fromHex("0a10ee") << 0x3B;
        QTest::newRow("0xFF, 0xFF wraps") << QByteArray::fromHex("ffff00") << 0x57;
        QTest::newRow("one byte") << QByteArray::fromHex("99") << 0x55;
        QTest::newRow("the last byte does not count") << QByteArray::fromHex("0a1000") << 0x3B;
    }
    void clockSyncChecksum()
    {
        QFETCH(QByteArray, frame);
        QFETCH(int, checksum);
        QCOMPARE(int(ClockSyncChecksum(frame)), checksum);
        QByteArray signed_ = frame;
        signed_[signed_.size() - 1] = char(checksum);
        QVERIFY(CheckClockSyncReply(signed_));
        signed_[signed_.size() - 1] = char(checksum + 1);
        QVERIFY(!CheckClockSyncReply(signed_));
    }

    void clockSyncExchange_data()
    {
        QTest::addColumn<bool>("receiverThere");
        QTest::addColumn<int>("exchanges");
        QTest::newRow("answered at once") << true << 1;
        QTest::newRow("never answered") << false << 5;
    }
    void clockSyncExchange()
    {
        QFETCH(bool, receiverThere);
        QFETCH(int, exchanges);
        FlashDataMap record{};
        const int receiver = devices->OpenDevice(false, &record);
        QVERIFY(receiver >= 0);
        QVERIFY(VidEzorarA_OpenDevice(devices->Path(receiver).constData()));
        if (!receiverThere)
            SimControl_SetAttached(receiver, 0);
        const QByteArray frame = ClockSyncFrame(QDateTime(QDate(2025, 12, 31), QTime(23, 59, 58)));
        QList<QByteArray> sent;
        const auto counting = [&](uint8_t* bytes, uint8_t* reply, uint8_t length) {
            sent << QByteArray(reinterpret_cast<const char*>(bytes), length);
            LibraryClockSyncExchange(bytes, reply, length);
        };
        const std::optional<QByteArray> reply = ExchangeClockSyncFrame(frame, counting);
        QCOMPARE(sent.size(), exchanges);
        QByteArray signedFrame = frame;
        signedFrame[39] = char(ClockSyncChecksum(frame));
        for (const QByteArray& bytes : sent)
            QCOMPARE(bytes, signedFrame);
        QCOMPARE(reply.has_value(), receiverThere);
        if (receiverThere) {
            QCOMPARE(reply->size(), 40);
            QCOMPARE(reply->left(39), signedFrame.left(39));
            QVERIFY(CheckClockSyncReply(*reply));
        }
        InputPicA dialog;
        QCOMPARE(dialog.SendClockSyncPacket(frame).has_value(), receiverThere);
    }

    void clockSyncStartsOnlyWhenAsked()
    {
        InputPicA dialog;
        QVERIFY(!dialog.ClockSyncRunning());
        QVERIFY(!dialog.Thread().isRunning());
        dialog.StartClockSync(false);
        QVERIFY(!dialog.ClockSyncRunning());
        dialog.StartClockSync(true);
        QVERIFY(dialog.ClockSyncRunning());
        StopUsbChanged();
    }

    void myThreadStopsWhenAsked()
    {
        MyThread thread;
        thread.start();
        QVERIFY(QTest::qWaitFor([&] { return thread.isRunning(); }, 5000));
        thread.requestInterruption();
        QVERIFY(thread.wait(5000));
        QVERIFY(thread.isFinished());
    }
};

QTEST_MAIN(TestSettingsDialogs)
#include "tst_settingsdialogs.moc"
