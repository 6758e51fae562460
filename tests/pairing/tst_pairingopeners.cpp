#include "support/DeviceThreadTestMain.h"
#include "app/DialogMain.h"
#include "device/PostMsg.h"
#include "device/Worker.h"
#include "pages/settings/FormSetting.h"
#include "pages/settings/Match.h"
#include "pairing/PairingFixture.h"
#include "support/OpenInDeviceWindow.h"
#include "support/TestHome.h"
#include "widgets/UiTextTables.h"

#include <QApplication>
#include <QToolButton>
#include <QtTest>

#include <functional>
#include <memory>

namespace {

// Plays the user in the pairing dialog when it opens: presses the pair button once pairing is
// possible, does `during` once the attempt runs, and closes the dialog once the attempt has ended.
// Other modal dialogs (the wait while a record is read) are closed. A dialog still open after 30
// seconds is ended by force and noted.
class PairingUser
{
public:
    PairingUser(bool press, std::function<void()> during) : press(press), during(std::move(during))
    {
        QObject::connect(&timer, &QTimer::timeout, [this] { Step(); });
        timer.start(10);
    }
    bool seen = false;
    bool forced = false;

private:
    void Step()
    {
        QWidget* modal = QApplication::activeModalWidget();
        auto* dialog = qobject_cast<Match*>(modal);
        if (!dialog) {
            if (modal)
                modal->close();
            return;
        }
        if (!seen) {
            seen = true;
            clock.start();
        }
        if (clock.elapsed() > 30000) {
            forced = true;
            PairingActive = false;
            dialog->WindowClosedSet();
            return;
        }
        if (press && !pressed) {
            if (dialog->PairingPossible()) {
                pressed = true;
                PairingFixture::PairButton(dialog)->click();
                if (during)
                    during();
            }
            return;
        }
        if (!PairingActive && (!press || PairResult == 2 || PairResult == 3))
            dialog->findChild<QToolButton*>("CloseButton")->click();
    }

    bool press;
    bool pressed = false;
    std::function<void()> during;
    QElapsedTimer clock;
    QTimer timer;
};

} // namespace

// Every way the program opens the pairing dialog, and what each leaves behind once an attempt has
// ended in any way: the device window active again or not, the device's reports reaching the pages,
// the attach/detach notices of the page that shows.
class TestPairingOpeners : public QObject, protected PairingCase
{
    Q_OBJECT

    // The top-level window with the receiver open in the device window, its record applied.
    std::unique_ptr<DialogMain> DeviceWindow()
    {
        auto window = std::make_unique<DialogMain>();
        window->show();
        window->SlotChangeMainDialog(1);
        if (!OpenInDeviceWindow(fixture.Info(fixture.receiver)))
            return nullptr;
        return window;
    }

private slots:
    void initTestCase() { StartCase(); }
    void init() { QVERIFY(fixture.Reset()); }
    void cleanup()
    {
        DeviceWindowActive = 0;
        if (WorkerInstance)
            WorkerInstance->StopAndWait();
        StopUsbChanged();
        QVERIFY(StopLibrary());
    }

    void fromTheDeviceWindow_data()
    {
        QTest::addColumn<bool>("settingsPage");
        QTest::addColumn<int>("outcome");
        // What happens to the receiver during the attempt.
        QTest::addColumn<int>("unplug");
        QTest::addColumn<bool>("press");
        QTest::addColumn<int>("result");
        const int stays = 0, unplugged = 1, back = 2;
        for (bool settings : {true, false}) {
            const QString opener = settings ? "settings page: " : "Space: ";
            QTest::newRow(qPrintable(opener + "paired")) << settings << 3 << stays << true << 2;
            QTest::newRow(qPrintable(opener + "failed")) << settings << 2 << stays << true << 3;
            QTest::newRow(qPrintable(opener + "no answer")) << settings << 1 << stays << true << 3;
            QTest::newRow(qPrintable(opener + "receiver unplugged")) << settings << 1 << unplugged << true << 3;
            // Back before the dialog's next read: the device window keeps its device.
            QTest::newRow(qPrintable(opener + "receiver unplugged and plugged back"))
                << settings << 1 << back << true << 3;
            QTest::newRow(qPrintable(opener + "closed without pairing")) << settings << 3 << stays << false << 0;
        }
    }
    void fromTheDeviceWindow()
    {
        QFETCH(bool, settingsPage);
        QFETCH(int, outcome);
        QFETCH(int, unplug);
        QFETCH(bool, press);
        QFETCH(int, result);
        // A receiver plugged back in must end the attempt itself, long before the limit.
        Match::SetAttemptTimeLimit(unplug == 2 ? 60000 : 2500);
        std::unique_ptr<DialogMain> window = DeviceWindow();
        QVERIFY(window);
        QCOMPARE(window->CurrentPage(), 1);
        SimControl_SetPairingOutcome(outcome);

        const int receiver = fixture.receiver;
        PairingUser user(press, [unplug, receiver] {
            if (unplug)
                SimControl_SetAttached(receiver, 0);
            if (unplug == 2)
                SimControl_SetAttached(receiver, 1);
        });
        if (settingsPage) {
            auto* page = window->findChild<FormSetting*>();
            QVERIFY(page);
            page->findChild<QPushButton*>("pushButton_2")->click();
        } else {
            QTest::keyClick(window.get(), Qt::Key_Space);
        }
        QVERIFY(user.seen);
        QVERIFY(!user.forced);
        QCOMPARE(PairResult.load(), result);
        QVERIFY(PairFromDeviceWindow);
        QVERIFY(!PairingActive);
        QVERIFY(!SavedDeviceWindowFlag);

        if (unplug == 1) {
            // The device left: the selection page shows, with its own notices (it follows the
            // receiver coming back), and the device window is not active.
            QTRY_COMPARE(window->CurrentPage(), 0);
            QCOMPARE(DeviceWindowActive.load(), 0);
            SimControl_SetAttached(receiver, 1);
            QTRY_VERIFY(std::any_of(ListedDevices.cbegin(), ListedDevices.cend(),
                                    [&](const DeviceAllInfo& d) { return d.path == fixture.Info(receiver).path; }));
            return;
        }
        QCOMPARE(window->CurrentPage(), 1);
        QCOMPARE(DeviceWindowActive.load(), 1);
        // The device's reports reach the pages again: the mouse switches profile and its whole record
        // follows (the pages have it when SigForm comes).
        QObject pages;
        int records = 0;
        connect(PostMsg::Instance(), &PostMsg::SigForm, &pages, [&records] { ++records; });
        SimControl_SwitchProfile(receiver, 2);
        QTRY_VERIFY_WITH_TIMEOUT(records > 0, 15000);
        // And the device window follows its device: taken away, the selection page shows.
        SimControl_SetAttached(receiver, 0);
        QTRY_COMPARE_WITH_TIMEOUT(window->CurrentPage(), 0, 15000);
        QCOMPARE(DeviceWindowActive.load(), 0);
    }

    // Space on the selection page with one receiver listed whose mouse is not paired: after pairing
    // the page lists the receiver with its mouse online, and follows the devices.
    void spaceOnTheSelectionPage_data()
    {
        QTest::addColumn<int>("outcome");
        QTest::addColumn<bool>("online");
        QTest::newRow("paired") << 3 << true;
        QTest::newRow("failed") << 2 << false;
    }
    void spaceOnTheSelectionPage()
    {
        QFETCH(int, outcome);
        QFETCH(bool, online);
        SimControl_SetAttached(fixture.cable, 0);
        SimControl_SetMouseOnline(fixture.receiver, 0);
        SimControl_SetPairingOutcome(outcome);
        auto window = std::make_unique<DialogMain>();
        window->show();
        const QString path = fixture.Info(fixture.receiver).path;
        QTRY_VERIFY(ListedDevices.size() == 1 && ListedDevices.first().path == path);
        QVERIFY(!ListedDevices.first().online);

        PairingUser user(true, {});
        QTest::keyClick(window.get(), Qt::Key_Space);
        QVERIFY(user.seen);
        QVERIFY(!user.forced);
        QCOMPARE(PairResult.load(), online ? 2 : 3);
        QVERIFY(!PairFromDeviceWindow);
        QCOMPARE(PairDeviceInfo.path, path);
        QCOMPARE(DeviceWindowActive.load(), 0);
        QCOMPARE(window->CurrentPage(), 0);
        QTRY_VERIFY(ListedDevices.size() == 1 && ListedDevices.first().online == online);
        // The page follows its devices: the cable comes back and is listed.
        SimControl_SetAttached(fixture.cable, 1);
        QTRY_COMPARE(ListedDevices.size(), 2);
    }
};

KESTRO_DEVICE_THREAD_TEST_MAIN(TestPairingOpeners)
#include "tst_pairingopeners.moc"
