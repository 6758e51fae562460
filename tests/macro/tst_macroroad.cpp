#include "support/DeviceThreadTestMain.h"
#include "app/Dialog.h"
#include "device/DeviceDiscovery.h"
#include "device/DeviceInfoCache.h"
#include "device/MacroBlocks.h"
#include "device/Worker.h"
#include "pages/buttons/Buttoninterface.h"
#include "pages/macro/Macro.h"
#include "support/FindChild.h"
#include "support/ModalCloser.h"
#include "support/OpenInDeviceWindow.h"
#include "support/SettleDevices.h"
#include "support/SimulatedDeviceFixture.h"
#include "tests/macro/MacroTestSupport.h"
#include "widgets/UiTextTables.h"

#include <QListWidget>
#include <QSignalSpy>
#include <QStackedWidget>
#include <QToolButton>
#include <QtTest>

using namespace MacroTestSupport;

// A macro's whole road in the device window over the simulated receiver and its mouse: exported,
// imported into a fresh macro folder, put on two buttons by the button page, saved anew while the
// editor shows another macro, and read back from the mouse after it was away.
class TestMacroRoad : public QObject
{
    Q_OBJECT
    TestHome home;
    SimulatedDevices devices;

    static QByteArray FileBlock(const QString& name)
    {
        bool ok = false;
        const ButtonMacroBlock block = MacroBlocks::MacroFileToRecord(name, &ok);
        return ok ? BlockBytes(block) : QByteArray("<no block>");
    }
    static void Select(QListWidget* list, const QString& name)
    {
        const QList<QListWidgetItem*> found = list->findItems(name, Qt::MatchExactly);
        QVERIFY(found.size() == 1);
        list->setCurrentItem(found.first());
    }

private slots:
    void initTestCase()
    {
        home.MakeUserFolders();
        UiTextTables::Instance()->LoadUiTextTables();
    }
    void cleanupTestCase() { UsbServer_Exit(); }

    void macroOnTheMouse()
    {
        QDir(MacroBlocks::MacroFolder()).removeRecursively();
        const QByteArray first("3\n0x01 0 0\n10ms\n0x06 1 0\n32ms\n0x06 1 1\n10ms\n0x01 0 1\n");
        const QByteArray saved("3\n0x04 1 0\n20ms\n0x05 1 0\n5ms\n0x01 4 0\n40ms\n0x01 4 1\n10ms\n0x05 1 1\n10ms\n0x04 1 1\n");
        const QByteArray other("1\n0x2C 1 0\n10ms\n0x2C 1 1\n");
        WriteFile(MacroBlocks::MacroFilePath("Copy"), first);
        WriteFile(MacroBlocks::MacroFilePath("Other"), other);
        devices.Reset();
        const int receiver = devices.Find(false);
        QVERIFY(receiver >= 0);
        const QByteArray path = devices.Path(receiver);

        Dialog window;
        auto* macroPage = window.findChild<Macro*>();
        auto* buttonPage = window.findChild<Buttoninterface*>();
        QVERIFY(macroPage && buttonPage);
        DeviceAllInfo device;
        QCOMPARE(IdentifyDevice(&device, path.constData()), 1);
        device.path = QString::fromLatin1(path);
        QVERIFY(OpenInDeviceWindow(device));
        QVERIFY(SettleDevices());
        window.show();

        // Exported, then imported into a fresh folder: the same file.
        QTest::mouseClick(Child<QToolButton>(window, "MacroButton"), Qt::LeftButton);
        auto* macros = Child<QListWidget>(*macroPage, "listWidgetHong");
        Select(macros, "Copy");
        QVERIFY(macroPage->ReadMacroFile());
        const QString exportPath = home.Path() + QStringLiteral("/copy.ini");
        QVERIFY(macroPage->ExportMacroTo(exportPath));
        QVERIFY(macroPage->DeleteCurrentMacro());
        QVERIFY(!QFile::exists(MacroBlocks::MacroFilePath("Copy")));
        QCOMPARE(RunWithModals([&] { QVERIFY(macroPage->ImportMacroFrom(exportPath)); }), QStringList());
        QCOMPARE(ReadFile(MacroBlocks::MacroFilePath("Copy")), first);

        // Put on two buttons from the button page's macro list: the mouse holds the file's block.
        QTest::mouseClick(Child<QToolButton>(window, "ButtonMain"), Qt::LeftButton);
        const QList<int> bound{2, 4};
        for (int button : bound) {
            buttonPage->SelectorOfButton(button)->setChecked(true);
            Child<QStackedWidget>(*buttonPage, "stackedWidget")->setCurrentIndex(1);
            QToolButton* entry = nullptr;
            for (QToolButton* candidate : buttonPage->MacroListButtons())
                if (candidate->text() == QLatin1String("Copy"))
                    entry = candidate;
            QVERIFY(entry);
            QTest::mouseClick(entry, Qt::LeftButton);
        }
        QVERIFY(SettleDevices());
        FlashDataMap held = devices.Record(receiver);
        for (int button : bound) {
            QCOMPARE(BlockBytes(held.macros[button]), FileBlock("Copy"));
            QCOMPARE(QList<int>({held.buttons[button].type, held.buttons[button].p1, held.buttons[button].p2}),
                     QList<int>({int(FunctionMacro), button, 3}));
        }

        // Saved anew while the editor shows another macro: both buttons follow the file, mouse
        // buttons included, the triple unchanged.
        QTest::mouseClick(Child<QToolButton>(window, "MacroButton"), Qt::LeftButton);
        Select(macros, "Other");
        QVERIFY(macroPage->ReadMacroFile());
        QVERIFY(Macro::WriteMacroFile("Copy", "3", QString::fromLatin1(saved).split('\n', Qt::SkipEmptyParts).mid(1)));
        QCOMPARE(ReadFile(MacroBlocks::MacroFilePath("Copy")), saved);
        emit PostMsg::Instance()->SigUpDataMacro(QStringLiteral("Copy"), 0);
        QVERIFY(SettleDevices());
        held = devices.Record(receiver);
        for (int button : bound) {
            QCOMPARE(BlockBytes(held.macros[button]), FileBlock("Copy"));
            QCOMPARE(int(held.macros[button].eventCount), 6);
            QCOMPARE(held.buttons[button].p2, uint8_t(3));
        }

        // The device window is left, and opened again while the mouse is away: the offline notice,
        // until the mouse comes back and is read whole. The files then hold the mouse's macros
        // exactly once, and the editor still shows the macro it showed.
        QSignalSpy toMacroPage(PostMsg::Instance(), &PostMsg::SigButtonToMacro);
        QTest::mouseClick(Child<QToolButton>(window, "UpArrow"), Qt::LeftButton);
        // The main window's part of going back to the selection page.
        DeviceWindowActive = 0;
        emit PostMsg::Instance()->SigMainPageChange();
        SimControl_SetMouseOnline(receiver, 0);
        QVERIFY(SettleDevices());
        {
            ModalCloser closer;
            DeviceWindowActive = 1;
            emit PostMsg::Instance()->SigSelectMouseInfo(device);
            Worker::SelectDevice(device);
            QVERIFY(QTest::qWaitFor([] { return OfflineNoticeOpen && !WorkerInstance->isRunning(); }, 10000));
            QVERIFY(SettleDevices());
            toMacroPage.clear();
            ButtonPageUpdated = false;
            SimControl_SetMouseOnline(receiver, 1);
            QVERIFY(SettleDevices());
            // The connection's own tick sees the mouse back and reloads the record.
            QVERIFY(QTest::qWaitFor([] { return !OfflineNoticeOpen && ButtonPageUpdated; }, 15000));
            QVERIFY(SettleDevices());
        }
        // Both buttons' macros came from the mouse's record.
        QList<int> delivered;
        for (const QList<QVariant>& arguments : toMacroPage)
            delivered << arguments.at(1).toInt();
        for (int button : bound)
            QVERIFY(delivered.contains(button));
        QCOMPARE(ReadFile(MacroBlocks::MacroFilePath("Copy")), saved);
        QCOMPARE(ReadFile(MacroBlocks::MacroFilePath("Other")), other);
        QCOMPARE(macros->findItems("Copy", Qt::MatchExactly).size(), 1);
        QCOMPARE(macros->currentItem()->text(), QString("Other"));
        held = devices.Record(receiver);
        for (int button : bound)
            QCOMPARE(BlockBytes(held.macros[button]), FileBlock("Copy"));

        DeviceWindowActive = 0;
    }

    // The device window opened while the mouse is away shows the record cached when it was last
    // closed. After a kill that cache can be older than a macro file whose Save the mouse took: the
    // cached copy fills in a missing file but never replaces one, and the mouse's own copy is stored
    // once it is back and read.
    void cachedCopyIsNotStoredOverTheFile()
    {
        QDir(MacroBlocks::MacroFolder()).removeRecursively();
        const QByteArray older("1\n0x04 1 0\n350ms\n0x04 1 1\n");
        const QByteArray newer("1\n0x04 1 0\n450ms\n0x04 1 1\n");
        const QByteArray missing("2\n0x05 1 0\n20ms\n0x05 1 1\n");
        bool ok = false;
        WriteFile(MacroBlocks::MacroFilePath("Kept"), older);
        const ButtonMacroBlock olderBlock = MacroBlocks::MacroFileToRecord("Kept", &ok);
        QVERIFY(ok);
        WriteFile(MacroBlocks::MacroFilePath("Filled"), missing);
        const ButtonMacroBlock filledBlock = MacroBlocks::MacroFileToRecord("Filled", &ok);
        QVERIFY(ok);
        QFile::remove(MacroBlocks::MacroFilePath("Filled"));
        WriteFile(MacroBlocks::MacroFilePath("Kept"), newer);
        const ButtonMacroBlock newerBlock = MacroBlocks::MacroFileToRecord("Kept", &ok);
        QVERIFY(ok);

        devices.Reset();
        const int receiver = devices.Find(false);
        QVERIFY(receiver >= 0);
        const QByteArray path = devices.Path(receiver);
        DeviceAllInfo device;
        QCOMPARE(IdentifyDevice(&device, path.constData()), 1);
        device.path = QString::fromLatin1(path);
        FlashDataMap held = devices.Record(receiver);
        held.buttons[3] = {FunctionMacro, 0, 1};
        held.macros[3] = newerBlock;
        held.buttons[4] = {FunctionMacro, 0, 2};
        held.macros[4] = filledBlock;
        QVERIFY(SimControl_SetDeviceRecord(receiver, held.bytes()));
        FlashDataMap cached = held;
        cached.macros[3] = olderBlock;
        QVERIFY(WriteDeviceInfoCache(DeviceCacheFileName(device.CID, device.MID), cached));
        SimControl_SetMouseOnline(receiver, 0);
        QVERIFY(SettleDevices());
        // A fresh start: nothing of the mouse read yet.
        InvalidateDeviceConfig();

        Dialog window;
        QVERIFY(window.findChild<Macro*>());
        window.show();
        {
            ModalCloser closer;
            DeviceWindowActive = 1;
            UserWritesEnabled = true;
            emit PostMsg::Instance()->SigSelectMouseInfo(device);
            Worker::SelectDevice(device);
            QVERIFY(QTest::qWaitFor([] { return OfflineNoticeOpen && !WorkerInstance->isRunning(); }, 10000));
            QVERIFY(SettleDevices());
            QCOMPARE(ReadFile(MacroBlocks::MacroFilePath("Kept")), newer);
            QCOMPARE(ReadFile(MacroBlocks::MacroFilePath("Filled")), missing);

            ButtonPageUpdated = false;
            SimControl_SetMouseOnline(receiver, 1);
            QVERIFY(SettleDevices());
            QVERIFY(QTest::qWaitFor([] { return !OfflineNoticeOpen && ButtonPageUpdated; }, 15000));
            QVERIFY(SettleDevices());
        }
        QCOMPARE(ReadFile(MacroBlocks::MacroFilePath("Kept")), newer);
        QCOMPARE(BlockBytes(devices.Record(receiver).macros[3]), BlockBytes(newerBlock));
        DeviceWindowActive = 0;
    }
};

KESTRO_DEVICE_THREAD_TEST_MAIN(TestMacroRoad)
#include "tst_macroroad.moc"
