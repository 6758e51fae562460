#include "support/DeviceThreadTestMain.h"
#include "app/Dialog.h"
#include "device/DeviceDiscovery.h"
#include "device/DeviceInfoCache.h"
#include "device/MacroBlocks.h"
#include "device/Worker.h"
#include "pages/macro/Macro.h"
#include "support/FindChild.h"
#include "support/OpenInDeviceWindow.h"
#include "support/SettleDevices.h"
#include "support/SimulatedDeviceFixture.h"
#include "tests/macro/MacroTestSupport.h"
#include "widgets/UiText.h"
#include "widgets/UiTextTables.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QListWidget>
#include <QStackedWidget>
#include <QToolButton>
#include <QtTest>

using namespace MacroTestSupport;

// The macro page in the device window over the simulated receiver and its mouse: it lists the
// macro files, shows a macro, creates one through the name dialog and deletes one, and the files
// change in the macro folder and nowhere else.
class TestMacroWindow : public QObject
{
    Q_OBJECT
    TestHome home;
    SimulatedDevices devices;

    static QString MacroPath(const QString& name)
    {
        return MacroBlocks::MacroFolder() + QLatin1Char('/') + name + QStringLiteral(".ini");
    }

private slots:
    void initTestCase()
    {
        home.MakeUserFolders();
        UiTextTables::Instance()->LoadUiTextTables();
    }
    void cleanupTestCase()
    {
        UsbServer_Exit();
    }

    void macrosInTheDeviceWindow()
    {
        WriteFile(MacroPath("Copy"), "3\n0x01 0 0\n10ms\n0x06 1 0\n32ms\n0x06 1 1\n10ms\n0x01 0 1\n");
        WriteFile(MacroPath("Burst"), "255\n0x01 4 0\n50ms\n0x01 4 1\n50ms\n");
        WriteFile(MacroPath(QString::fromUtf8("宏一")), "253\n0x2C 1 0\n10ms\n0x2C 1 1\n");
        devices.Reset();
        const int receiver = devices.Find(false);
        QVERIFY(receiver >= 0);
        const QByteArray path = devices.Path(receiver);

        Dialog window;
        auto* page = window.findChild<Macro*>();
        QVERIFY(page);
        DeviceAllInfo device;
        QCOMPARE(IdentifyDevice(&device, path.constData()), 1);
        device.path = QString::fromLatin1(path);
        QVERIFY(OpenInDeviceWindow(device));
        QVERIFY(SettleDevices());
        window.show();
        QTest::mouseClick(Child<QToolButton>(window, "MacroButton"), Qt::LeftButton);
        QCOMPARE(Child<QStackedWidget>(window, "stackedWidgetDialog")->currentWidget(), page);

        auto* macros = Child<QListWidget>(*page, "listWidgetHong");
        auto* events = Child<QListWidget>(*page, "listWidgetKey");
        QCOMPARE(macros->count(), 3);
        QCOMPARE(macros->item(0)->text(), QString("Burst"));
        QCOMPARE(macros->item(1)->text(), QString("Copy"));
        QTest::mouseClick(macros->viewport(), Qt::LeftButton, {}, macros->visualItemRect(macros->item(1)).center());
        QCOMPARE(events->count(), 7);
        QCOMPARE(events->item(0)->text(), QString("LCtrl"));
        QCOMPARE(events->item(2)->text(), QString("C"));
        QVERIFY(Child<QCheckBox>(*page, "ReNumber")->isChecked());
        QTest::mouseClick(macros->viewport(), Qt::LeftButton, {}, macros->visualItemRect(macros->item(0)).center());
        QCOMPARE(events->item(0)->text(), UiText::Option(0, "InsertEventOptions", "2"));
        QVERIFY(Child<QCheckBox>(*page, "ReUntilClick")->isChecked());

        const QString shots = qEnvironmentVariable("KESTRO_MACRO_SHOTS");
        for (int language : {1, 2, 0}) {
            UiLanguage = language;
            emit PostMsg::Instance()->SigAllLanguage(language);
            if (!shots.isEmpty())
                QVERIFY(window.grab().save(shots + QStringLiteral("/macro-window-%1.png").arg(language)));
        }

        // New: typed into the name dialog; the one new file is in the macro folder. The mouse's
        // record is cached when it arrives, which on a slow machine may come after the devices
        // settled: the folders are compared only once it is there.
        QTRY_VERIFY(!QDir(DeviceCacheFolder()).entryList(QDir::Files).isEmpty());
        const auto before = Snapshot(home.Path());
        QStringList seen = RunWithModals([&] { Child<QToolButton>(*page, "NewHong")->click(); },
                                         [](QDialog* dialog) {
                                             QTest::keyClicks(Child<QLineEdit>(*dialog, "lineEdit"), "paste");
                                             Child<QToolButton>(*dialog, "NewHong")->click();
                                         });
        QCOMPARE(seen.size(), 1);
        QCOMPARE(macros->count(), 4);
        QCOMPARE(macros->currentItem()->text(), QString("paste"));
        auto after = Snapshot(home.Path());
        const QString added = QDir(home.Path()).relativeFilePath(MacroPath("paste"));
        QCOMPARE(after.take(added), QByteArray());
        QCOMPARE(after, before);

        // Delete the macro "Copy", confirmed: its file goes, nothing else changes.
        macros->setCurrentRow(1);
        QSignalSpy gone(PostMsg::Instance(), &PostMsg::SigDeleteMacroButton);
        seen = RunWithModals([&] { Child<QToolButton>(*page, "DeleteHong")->click(); },
                             [](QDialog* dialog) { Child<QToolButton>(*dialog, "NewHong")->click(); });
        QCOMPARE(seen.size(), 1);
        QVERIFY(seen.first().startsWith("DeleteConfirm:"));
        QCOMPARE(gone.count(), 1);
        const auto afterDelete = Snapshot(home.Path());
        QVERIFY(!QFile::exists(MacroPath("Copy")));
        auto expected = before;
        expected.insert(added, QByteArray());
        expected.remove(QDir(home.Path()).relativeFilePath(MacroPath("Copy")));
        QCOMPARE(afterDelete, expected);
        QCOMPARE(macros->count(), 3);

        DeviceWindowActive = 0;
    }
};

KESTRO_DEVICE_THREAD_TEST_MAIN(TestMacroWindow)
#include "tst_macrowindow.moc"
