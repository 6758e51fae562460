#include "support/DeviceThreadTestMain.h"
#include "app/Dialog.h"
#include "device/DeviceDiscovery.h"
#include "device/MacroBlocks.h"
#include "pages/macro/Macro.h"
#include "platform/UserFileWrites.h"
#include "support/OpenInDeviceWindow.h"
#include "support/SettleDevices.h"
#include "support/SimulatedDeviceFixture.h"
#include "tests/macro/MacroTestSupport.h"
#include "widgets/FileNotices.h"
#include "widgets/UiTextTables.h"

#include <QListWidget>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

using namespace MacroTestSupport;

// The mouse plays a macro whose file in the macro folder is a symbolic link to a file of the user's
// elsewhere. Opening the device in the device window keeps the mouse's macros as files: that one
// is not written through the link; the link and its target stay as they were, and the user is told
// which file was not kept. The mouse keeps its macro.
class TestLinkedMacroRoad : public QObject
{
    Q_OBJECT
    TestHome home;
    SimulatedDevices devices;
    QTemporaryDir outside;

private slots:
    void initTestCase()
    {
        home.MakeUserFolders();
        UiTextTables::Instance()->LoadUiTextTables();
        QVERIFY(outside.isValid());
    }
    void cleanupTestCase() { UsbServer_Exit(); }

    void openingTheDeviceLeavesTheLinkAlone()
    {
        const QByteArray outsideBytes("a file of the user's, far from the macro folder\n");
        const QString target = outside.filePath(QStringLiteral("target"));
        WriteFile(target, outsideBytes);
        // The block of a macro "Played", as the macro page would have sent it.
        const QString path = MacroBlocks::MacroFilePath(QStringLiteral("Played"));
        const ButtonMacroBlock block = MacroBlocks::MacroTextToBlock(
            QStringLiteral("Played"), "1\n0x04 1 0\n10ms\n0x05 1 0\n10ms\n0x05 1 1\n10ms\n0x04 1 1\n");
        QCOMPARE(int(block.eventCount), 4);
        QVERIFY(QFile::link(target, path));

        devices.Reset();
        const int receiver = devices.Find(false);
        QVERIFY(receiver >= 0);
        FlashDataMap record = devices.Record(receiver);
        const int button = 3;
        record.buttons[button] = {uint8_t(FunctionMacro), uint8_t(button), 1};
        record.macros[button] = block;
        QVERIFY(SimControl_SetDeviceRecord(receiver, record.bytes()) != 0);
        const QByteArray devicePath = devices.Path(receiver);

        Dialog window;
        auto* macroPage = window.findChild<Macro*>();
        QVERIFY(macroPage);
        QSignalSpy toMacroPage(PostMsg::Instance(), &PostMsg::SigButtonToMacro);
        QSignalSpy refused(UserFileWrites::Instance(), &UserFileWrites::SigRefused);
        UserFileWrites::Instance()->Forget();
        DeviceAllInfo device;
        QCOMPARE(IdentifyDevice(&device, devicePath.constData()), 1);
        device.path = QString::fromLatin1(devicePath);
        QVERIFY(OpenInDeviceWindow(device));
        QVERIFY(SettleDevices());

        // The macro page was given the button's macro, and kept the file as it was.
        const auto delivered = [&] {
            for (const QList<QVariant>& arguments : toMacroPage)
                if (arguments.at(1).toInt() == button)
                    return true;
            return false;
        };
        QTRY_VERIFY_WITH_TIMEOUT(delivered(), 10000);
        QCoreApplication::processEvents();
        QVERIFY(QFileInfo(path).isSymLink());
        QCOMPARE(QFileInfo(path).symLinkTarget(), target);
        QCOMPARE(ReadFile(target), outsideBytes);
        QCOMPARE(QDir(outside.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
                 QStringList{"target"});
        QCOMPARE(QDir(MacroBlocks::MacroFolder()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
                 QStringList{"Played.ini"});
        // Told by the file's name; the mouse still plays the macro.
        QCOMPARE(refused.size(), 1);
        QCOMPARE(refused.first().at(0).toString(), path);
        QCOMPARE(UserFileWrites::Instance()->RefusedFile(), path);
        QVERIFY(FileNotices::FileRefusedText(0, path).contains(path));
        const FlashDataMap held = devices.Record(receiver);
        QCOMPARE(BlockBytes(held.macros[button]), BlockBytes(block));
        QCOMPARE(int(held.buttons[button].type), int(FunctionMacro));

        DeviceWindowActive = 0;
    }
};

KESTRO_DEVICE_THREAD_TEST_MAIN(TestLinkedMacroRoad)
#include "tst_linkedmacroroad.moc"
