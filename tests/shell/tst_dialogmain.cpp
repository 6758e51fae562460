#include "LibraryRecorder.h"

#include "device/DialogChangeLists.h"
#include "app/Dialog.h"
#include "app/DialogChange.h"
#include "app/DialogMain.h"
#include "app/MouseOffLine.h"
#include "device/ConnectionState.h"
#include "device/DeviceInfoCache.h"
#include "device/DeviceReportCallback.h"
#include "device/DeviceState.h"
#include "device/ConfigSetting.h"
#include "device/FirmwareImage.h"
#include "device/PostMsg.h"
#include "device/UserIniStore.h"
#include "pages/macro/Macro.h"
#include "pages/settings/ContainReset.h"
#include "pages/settings/UpDateRepair.h"
#include "pages/settings/UpgradeRunState.h"
#include "platform/AppPaths.h"
#include "platform/RegistryStore.h"
#include "support/TestHome.h"
#include "widgets/QuitHolds.h"
#include "widgets/UiText.h"

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QAbstractButton>
#include <QScopeGuard>
#include <QStackedWidget>
#include <QTemporaryDir>
#include <QSignalSpy>
#include <QtTest>

#include <functional>
#include <memory>

using Action = std::function<void(DialogMain&)>;
Q_DECLARE_METATYPE(Action)

namespace {

// Closes the first modal dialog or popup menu that opens, and remembers what it was and where.
class ModalCatcher : public QObject
{
public:
    ModalCatcher()
    {
        timer.setInterval(5);
        QObject::connect(&timer, &QTimer::timeout, [this] {
            QWidget* modal = QApplication::activePopupWidget();
            if (!modal)
                modal = QApplication::activeModalWidget();
            if (!modal)
                return;
            className = modal->metaObject()->className();
            position = modal->pos();
            if (auto* label = modal->findChild<QLabel*>("label"))
                label_ = label->text();
            timer.stop();
            modal->close();
        });
        timer.start();
    }
    QString className;
    QPoint position;
    QString label_;
    QTimer timer;
};

DeviceAllInfo Device(const QString& path, uint8_t status)
{
    DeviceAllInfo device;
    device.path = path;
    device.VID = "0x3554";
    device.PID = status == 3 ? "0xF5D1" : "0xF5D2";
    device.CID = 28;
    device.MID = 18;
    device.status = status;
    device.wired = DeviceAllInfo::IsWiredStatus(status);
    device.version = "v1.02";
    return device;
}

// A quit asks the event loop to end; the next loop of the test must run again.
bool QuitWasAsked()
{
    QEventLoop probe;
    QTimer::singleShot(0, &probe, [&probe] { probe.exit(7); });
    const bool asked = probe.exec() == -1;
    QTimer::singleShot(0, qApp, &QCoreApplication::quit);
    QCoreApplication::exec();
    return asked;
}

} // namespace

// The top-level window against a recording stand-in of the device library.
class TestDialogMain : public QObject
{
    Q_OBJECT
    TestHome home;

    std::unique_ptr<DialogMain> MakeWindow(int page)
    {
        std::unique_ptr<DialogMain> window(new DialogMain);
        window->move(100, 100);
        window->show();
        if (page == 1)
            window->SlotChangeMainDialog(1);
        LibraryRecorder::Clear();
        return window;
    }

private slots:
    void initTestCase()
    {
        home.MakeUserFolders();
        PostMsg* bus = PostMsg::Instance();
        connect(bus, &PostMsg::SigSecondPageChange, [] { LibraryRecorder::Note("SigSecondPageChange"); });
        connect(bus, &PostMsg::SigMainPageChange, [] { LibraryRecorder::Note("SigMainPageChange"); });
        connect(bus, &PostMsg::SigEnterKey, [] { LibraryRecorder::Note("SigEnterKey"); });
    }
    void init()
    {
        ListedDevices.clear();
        PairDeviceChosen = false;
        MacroRecording = false;
        UiLanguage = 0;
        UserIniStore::Instance()->RemoveValue("Language", "Language");
        LibraryRecorder::Clear();
    }

    void languageMovesFromTheRegistry_data()
    {
        QTest::addColumn<QVariant>("registry");
        QTest::addColumn<QString>("preference");
        QTest::addColumn<QString>("storedAfter");
        QTest::addColumn<int>("language");
        QTest::addColumn<QString>("exitText");
        QTest::newRow("registry 2, nothing stored") << QVariant(2) << "" << "2" << 2 << "Выход";
        QTest::newRow("registry 0") << QVariant(0) << "" << "" << 0 << "Exit";
        QTest::newRow("no registry value, 1 stored") << QVariant() << "1" << "1" << 1 << "退出";
        QTest::newRow("registry 2 over 1 stored") << QVariant(2) << "1" << "2" << 2 << "Выход";
        QTest::newRow("hand-edited 7") << QVariant() << "7" << "7" << 0 << "Exit";
    }
    void languageMovesFromTheRegistry()
    {
        QFETCH(QVariant, registry);
        QFETCH(QString, preference);
        QFETCH(QString, storedAfter);
        QFETCH(int, language);
        QFETCH(QString, exitText);
        RegistryStore key(DialogMain::LanguageRegistryKey());
        if (registry.isValid())
            key.SetValue("LanguageIndex", registry);
        if (!preference.isEmpty())
            UserIniStore::Instance()->SetValue("Language", "Language", preference);

        std::unique_ptr<DialogMain> window = MakeWindow(0);
        QCOMPARE(UserIniStore::Instance()->GetValue("Language", "Language"), storedAfter);
        QVERIFY(!key.Contains("LanguageIndex"));
        QCOMPARE(UiLanguage, language);
        // The tray menu speaks the language.
        window->SlotChangeSize(2);
        QVERIFY(window->TrayMenu());
        const QList<QAction*> actions = window->TrayMenu()->actions();
        QCOMPARE(actions.size(), 3);
        QVERIFY(actions.at(1)->isSeparator());
        QCOMPARE(actions.at(2)->text(), exitText);
        QCOMPARE(actions.at(0)->text(), UiText::Text(language, "home", "OpenMain"));
    }

    void pagesSwitch_data()
    {
        QTest::addColumn<int>("startPage");
        QTest::addColumn<int>("index");
        QTest::addColumn<int>("page");
        QTest::addColumn<QStringList>("calls");
        QTest::newRow("a device opened") << 0 << 1 << 1 << QStringList{"StartUsbChanged(device window,600)"};
        QTest::newRow("back to the selection")
            << 1 << 0 << 0
            << QStringList{"SigSecondPageChange", "SigMainPageChange", "UsbServer_Exit", "StartUsbChanged(selection,600)"};
        QTest::newRow("another index") << 1 << 5 << 1 << QStringList{};
    }
    void pagesSwitch()
    {
        QFETCH(int, startPage);
        QFETCH(int, index);
        QFETCH(int, page);
        QFETCH(QStringList, calls);
        std::unique_ptr<DialogMain> window = MakeWindow(startPage);
        DeviceWindowActive = 1;
        UserWritesEnabled = false;
        window->SlotChangeMainDialog(index);
        QCOMPARE(LibraryRecorder::Calls(), calls);
        QCOMPARE(window->CurrentPage(), page);
        QVERIFY(UserWritesEnabled);
        QCOMPARE(DeviceWindowActive.load(), index == 0 ? 0 : 1);
    }

    void minimiseAndQuit_data()
    {
        QTest::addColumn<int>("page");
        QTest::addColumn<Action>("action");
        QTest::addColumn<bool>("recordCurrent");
        QTest::addColumn<QStringList>("calls");
        QTest::addColumn<bool>("quits");
        QTest::addColumn<bool>("cacheWritten");
        const QStringList quitFromDevice{"UsbServer_SetPCDriverStatus(0)", "StopUsbChanged", "events handled",
                                         "UsbServer_Exit"};
        const QStringList quitFromSelection{"StopUsbChanged", "events handled", "UsbServer_Exit"};
        auto size = [](int index) { return Action([index](DialogMain& w) { w.SlotChangeSize(index); }); };
        auto trayExit = Action([](DialogMain& w) { w.slotActionExitApp(); });
        auto close = Action([](DialogMain& w) { w.close(); });
        QTest::newRow("device window minimise") << 1 << size(0) << true
                                                << QStringList{"UsbServer_SetPCDriverStatus(0)"} << false << false;
        QTest::newRow("selection minimise") << 0 << size(2) << true << QStringList{} << false << false;
        QTest::newRow("device window close") << 1 << size(1) << true << quitFromDevice << true << true;
        QTest::newRow("device window close, record not read") << 1 << size(1) << false << quitFromDevice << true << false;
        QTest::newRow("selection close") << 0 << size(3) << true << quitFromSelection << true << false;
        QTest::newRow("tray exit, device window") << 1 << trayExit << true << quitFromDevice << true << true;
        QTest::newRow("tray exit, selection") << 0 << trayExit << true << quitFromSelection << true << false;
        QTest::newRow("window closed otherwise") << 0 << close << true << quitFromSelection << true << false;
        QTest::newRow("unknown index") << 1 << size(7) << true << QStringList{} << false << false;
    }
    void minimiseAndQuit()
    {
        QFETCH(int, page);
        QFETCH(Action, action);
        QFETCH(bool, recordCurrent);
        QFETCH(QStringList, calls);
        QFETCH(bool, quits);
        QFETCH(bool, cacheWritten);
        const QString cacheFile = "Device_CID1C_MID12.bin";
        QFile::remove(DeviceCacheFolder() + cacheFile);
        FlashDataMap record;
        for (size_t i = 0; i < sizeof record; ++i)
            record.bytes()[i] = static_cast<uint8_t>(i * 7 + 3);
        AdoptDeviceConfig(record);
        if (!recordCurrent)
            InvalidateDeviceConfig();
        ReportCacheFileName.Set(cacheFile);

        std::unique_ptr<DialogMain> window = MakeWindow(page);
        // Due well within the quit's wait: the events of that wait are handled before the server stops.
        QObject rowOnly;
        QTimer::singleShot(20, &rowOnly, [] { LibraryRecorder::Note("events handled"); });
        action(*window);
        QCOMPARE(LibraryRecorder::Calls(), calls);
        QCOMPARE(window->IsQuitting(), quits);
        QCOMPARE(QuitWasAsked(), quits);
        if (quits)
            QVERIFY(!window->isVisible());
        else if (!calls.isEmpty() || page == 0)
            QVERIFY(window->isHidden() || window->isMinimized());

        FlashDataMap saved;
        QCOMPARE(ReadDeviceInfoCache(cacheFile, &saved), cacheWritten);
        if (cacheWritten)
            QVERIFY(memcmp(saved.bytes(), record.bytes(), sizeof record) == 0);
    }

    // Every way of quitting asks the quit holds first: one that refuses keeps the program running
    // untouched (nothing stopped, the record not saved), one that lets it go was asked once.
    void quitHolds_data()
    {
        QTest::addColumn<Action>("action");
        QTest::addColumn<bool>("holdLets");
        auto trayExit = Action([](DialogMain& w) { w.slotActionExitApp(); });
        auto closeButton = Action([](DialogMain& w) { w.SlotChangeSize(1); });
        auto close = Action([](DialogMain& w) { w.close(); });
        QTest::newRow("close button, held") << closeButton << false;
        QTest::newRow("tray exit, held") << trayExit << false;
        QTest::newRow("window closed otherwise (termination signal), held") << close << false;
        QTest::newRow("close button, let go") << closeButton << true;
        QTest::newRow("window closed otherwise, let go") << close << true;
    }
    void quitHolds()
    {
        QFETCH(Action, action);
        QFETCH(bool, holdLets);
        const QString cacheFile = "Device_CID1C_MID12.bin";
        QFile::remove(DeviceCacheFolder() + cacheFile);
        FlashDataMap record;
        AdoptDeviceConfig(record);
        ReportCacheFileName.Set(cacheFile);

        std::unique_ptr<DialogMain> window = MakeWindow(1);
        QObject owner;
        int asked = 0;
        QuitHolds::Add(&owner, [&](QWidget* over) {
            ++asked;
            return over == window.get() && holdLets;
        });
        action(*window);
        QCOMPARE(asked, 1);
        QCOMPARE(window->IsQuitting(), holdLets);
        QCOMPARE(QuitWasAsked(), holdLets);
        QCOMPARE(window->isVisible(), !holdLets);
        if (!holdLets) {
            QCOMPARE(LibraryRecorder::Calls(), QStringList{});
            QVERIFY(!QFile::exists(DeviceCacheFolder() + cacheFile));
        }
    }

    void trayActivation_data()
    {
        QTest::addColumn<int>("page");
        QTest::addColumn<int>("reason");
        QTest::addColumn<bool>("restored");
        QTest::addColumn<QStringList>("calls");
        QTest::addColumn<QString>("opened");
        using R = QSystemTrayIcon;
        const QStringList running{"UsbServer_SetPCDriverStatus(1)"};
        QTest::newRow("click, device window") << 1 << int(R::Trigger) << true << running << "";
        QTest::newRow("click, selection") << 0 << int(R::Trigger) << true << QStringList{} << "";
        QTest::newRow("double click, device window") << 1 << int(R::DoubleClick) << true << QStringList{} << "";
        QTest::newRow("context") << 1 << int(R::Context) << false << QStringList{} << "QMenu";
        QTest::newRow("middle click") << 1 << int(R::MiddleClick) << false << QStringList{} << "";
        QTest::newRow("unknown") << 1 << int(R::Unknown) << false << QStringList{} << "";
    }
    void trayActivation()
    {
        QFETCH(int, page);
        QFETCH(int, reason);
        QFETCH(bool, restored);
        QFETCH(QStringList, calls);
        QFETCH(QString, opened);
        std::unique_ptr<DialogMain> window = MakeWindow(page);
        window->SlotChangeSize(page == 1 ? 0 : 2);
        QVERIFY(window->isHidden() || window->isMinimized());
        LibraryRecorder::Clear();

        ModalCatcher catcher;
        emit window->TrayIcon()->activated(QSystemTrayIcon::ActivationReason(reason));
        QCOMPARE(catcher.className, opened);
        QCOMPARE(window->isVisible() && !window->isMinimized(), restored);
        if (restored)
            QVERIFY(!window->TrayIcon()->isVisible());
        QCOMPARE(LibraryRecorder::Calls(), calls);
    }

    void trayOpenAction()
    {
        std::unique_ptr<DialogMain> window = MakeWindow(1);
        window->SlotChangeSize(0);
        LibraryRecorder::Clear();
        window->TrayMenu()->actions().at(0)->trigger();
        QVERIFY(window->isVisible() && !window->isMinimized());
        QCOMPARE(LibraryRecorder::Calls(), QStringList{"UsbServer_SetPCDriverStatus(1)"});
    }

    void shortcuts_data()
    {
        QTest::addColumn<int>("page");
        QTest::addColumn<bool>("recording");
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<int>("listed");
        QTest::addColumn<QString>("storedMouseVersion");
        QTest::addColumn<QString>("opened");
        QTest::addColumn<QStringList>("calls");
        const int none = 0, receiver = 1, wired = 2, two = 3;
        const QStringList enter{"SigEnterKey"};
        const QStringList afterSelectionPairing{"UsbServer_Exit", "StartUsbChanged(selection,600)"};
        const QStringList afterDevicePairing{"StartUsbChanged(device window,600)", "UsbServerC_Start(%path%,report)"};
        const int none_ = int(Qt::NoModifier);
        QTest::newRow("Return") << 0 << false << int(Qt::Key_Return) << none_ << none << "" << "" << enter;
        QTest::newRow("keypad Enter") << 1 << false << int(Qt::Key_Enter) << int(Qt::KeypadModifier) << none << ""
                                      << "" << enter;
        QTest::newRow("Return while recording") << 1 << true << int(Qt::Key_Return) << none_ << none << "" << ""
                                                << QStringList{};
        QTest::newRow("Escape") << 0 << false << int(Qt::Key_Escape) << none_ << none << "" << "" << QStringList{};
        QTest::newRow("F12") << 1 << false << int(Qt::Key_F12) << none_ << none << "" << "" << QStringList{};
        QTest::newRow("a letter") << 0 << false << int(Qt::Key_A) << none_ << receiver << "" << "" << QStringList{};
        QTest::newRow("Space, device window") << 1 << false << int(Qt::Key_Space) << none_ << none << "" << "Match"
                                              << afterDevicePairing;
        QTest::newRow("Space while recording") << 1 << true << int(Qt::Key_Space) << none_ << none << "" << ""
                                               << QStringList{};
        QTest::newRow("Space, no device") << 0 << false << int(Qt::Key_Space) << none_ << none << "" << ""
                                          << QStringList{};
        QTest::newRow("Space, two devices") << 0 << false << int(Qt::Key_Space) << none_ << two << "" << ""
                                            << QStringList{};
        QTest::newRow("Space, a wired mouse") << 0 << false << int(Qt::Key_Space) << none_ << wired << "" << ""
                                              << QStringList{};
        QTest::newRow("Space, a receiver, no mouse version") << 0 << false << int(Qt::Key_Space) << none_ << receiver
                                                             << "" << "Match" << afterSelectionPairing;
        QTest::newRow("Space, a receiver, no newer firmware") << 0 << false << int(Qt::Key_Space) << none_ << receiver
                                                              << "v1.00" << "Match" << afterSelectionPairing;
    }
    void shortcuts()
    {
        QFETCH(int, page);
        QFETCH(bool, recording);
        QFETCH(int, key);
        QFETCH(int, modifiers);
        QFETCH(int, listed);
        QFETCH(QString, storedMouseVersion);
        QFETCH(QString, opened);
        QFETCH(QStringList, calls);
        RegistryStore versions(MouseDriveTestKey());
        versions.Remove("MouseVer2818");
        if (!storedMouseVersion.isEmpty())
            versions.SetValue("MouseVer2818", storedMouseVersion);
        std::unique_ptr<DialogMain> window = MakeWindow(page);
        // The shipped "bin" offers firmware for the simulated devices; Space decides here as with a
        // program folder that offers none.
        QTemporaryDir noFirmware;
        const QString shipped = AppPaths::ProgramFolder();
        if (key == Qt::Key_Space)
            AppPaths::SetProgramFolder(noFirmware.path());
        const auto back = qScopeGuard([&] { AppPaths::SetProgramFolder(shipped); });
        const QList<QList<DeviceAllInfo>> lists{
            {}, {Device("receiver-1", 0)}, {Device("wired-1", 3)}, {Device("receiver-1", 0), Device("receiver-2", 4)}};
        ListedDevices = lists.at(listed);
        calls.replaceInStrings("%path%", QString::fromLocal8Bit(CurrentDevicePath.load()));
        // An earlier choice of the selection page, for another device.
        PairDeviceInfo = Device("chosen-before", 0);
        PairDeviceChosen = true;
        MacroRecording = recording;

        ModalCatcher catcher;
        QTest::keyClick(window.get(), Qt::Key(key), Qt::KeyboardModifiers(modifiers));
        QCOMPARE(catcher.className, opened);
        QCOMPARE(LibraryRecorder::Calls(), calls);
        QVERIFY(window->isVisible());
        if (opened == "Match" && page == 0) {
            // The sequence pairs the one listed device, not the earlier choice.
            QVERIFY(PairDeviceChosen);
            QCOMPARE(PairDeviceInfo.path, ListedDevices.first().path);
            QVERIFY(!PairFromDeviceWindow);
        }
        if (opened == "Match" && page == 1)
            QVERIFY(PairFromDeviceWindow);
        MacroRecording = false;
    }

    // Space on the selection page with one receiver whose mouse version is known: what the firmware
    // in the program's "bin" offers decides. Only the mouse's: the update notice; only the
    // receiver's: the question, and on yes the firmware dialog started by itself; both or neither:
    // pairing.
    void spaceDecides_data()
    {
        QTest::addColumn<bool>("mouseImage");
        QTest::addColumn<bool>("receiverImage");
        QTest::addColumn<bool>("confirm");
        QTest::addColumn<QStringList>("opened");
        QTest::addColumn<QStringList>("calls");
        const QStringList afterSelectionPairing{"UsbServer_Exit", "StartUsbChanged(selection,600)"};
        QTest::newRow("no newer firmware") << false << false << false << QStringList{"Match"} << afterSelectionPairing;
        QTest::newRow("newer mouse firmware") << true << false << false << QStringList{"UpDateWarning"} << QStringList();
        QTest::newRow("newer receiver firmware, declined") << false << true << false << QStringList{"ContainReset"}
                                                           << QStringList();
        QTest::newRow("newer receiver firmware, confirmed") << false << true << true
                                                            << QStringList{"ContainReset", "UpDateRepair"} << QStringList();
        QTest::newRow("both newer") << true << true << false << QStringList{"Match"} << afterSelectionPairing;
    }
    void spaceDecides()
    {
        QFETCH(bool, mouseImage);
        QFETCH(bool, receiverImage);
        QFETCH(bool, confirm);
        QFETCH(QStringList, opened);
        QFETCH(QStringList, calls);
        ConfigSetting* config = ConfigSetting::Instance();
        const QString cid = config->GetValue("Option", "CID");
        const QString mid = config->GetValue("Drive1", "MID");
        RegistryStore versions(MouseDriveTestKey());
        versions.SetValue("MouseVer" + cid + mid, "v1.00");
        const auto forget = qScopeGuard([&] { versions.Remove("MouseVer" + cid + mid); });

        // A program folder whose "bin" holds the row's images, each a version the device does not run.
        QTemporaryDir program;
        QVERIFY(QDir(program.path()).mkpath("bin"));
        const auto writeImage = [&](const QString& name, int kind, const QString& model) {
            QByteArray image(FirmwareImage::HeaderSize + 16, '\0');
            image[16] = char(0x05);
            image[17] = char(1);
            image[20] = char(kind);
            image[21] = char(cid.toInt());
            image[22] = char(mid.toInt());
            const QByteArray modelName = model.toLocal8Bit();
            std::copy(modelName.begin(), modelName.end(), image.begin() + 87);
            QFile file(program.filePath("bin/" + name));
            return file.open(QIODevice::WriteOnly) && file.write(image) == image.size();
        };
        if (mouseImage)
            QVERIFY(writeImage("mouse.bin", FirmwareImage::KindMouse, config->GetValue("Drive1", "MM")));
        if (receiverImage)
            QVERIFY(writeImage("receiver.bin", FirmwareImage::KindReceiver, config->GetValue("Drive1", "DM")));
        const QString shipped = AppPaths::ProgramFolder();
        AppPaths::SetProgramFolder(program.path());
        const auto back = qScopeGuard([&] { AppPaths::SetProgramFolder(shipped); });

        std::unique_ptr<DialogMain> window = MakeWindow(0);
        ListedDevices = {Device("receiver-1", 0)};
        QStringList seen;
        bool autoStart = false;
        QTimer catcher;
        connect(&catcher, &QTimer::timeout, [&] {
            QWidget* modal = QApplication::activeModalWidget();
            if (!modal)
                return;
            // The upgrade the firmware dialog started keeps it open until the run has ended.
            if (qobject_cast<UpDateRepair*>(modal) && UpgradeStage::RunUnderWay())
                return;
            seen << modal->metaObject()->className();
            if (auto* question = qobject_cast<ContainReset*>(modal); question && confirm) {
                QTest::mouseClick(question->findChild<QAbstractButton*>("OK"), Qt::LeftButton);
                return;
            }
            if (auto* firmware = qobject_cast<UpDateRepair*>(modal))
                autoStart = firmware->AutoStart();
            modal->close();
        });
        catcher.start(5);
        QTest::keyClick(window.get(), Qt::Key_Space);
        catcher.stop();
        QCOMPARE(seen, opened);
        QCOMPARE(autoStart, opened.contains("UpDateRepair"));
        QCOMPARE(LibraryRecorder::Calls(), calls);
    }

    void dragging_data()
    {
        QTest::addColumn<QPoint>("pressAt");
        QTest::addColumn<int>("buttons");
        QTest::addColumn<bool>("releaseFirst");
        QTest::addColumn<QPoint>("moved");
        QTest::newRow("left button") << QPoint(10, 10) << int(Qt::LeftButton) << false << QPoint(30, 20);
        QTest::newRow("pressed at the top-left pixel") << QPoint(0, 0) << int(Qt::LeftButton) << false << QPoint(0, 0);
        QTest::newRow("left and right buttons") << QPoint(10, 10) << int(Qt::LeftButton | Qt::RightButton) << false
                                                << QPoint(0, 0);
        QTest::newRow("right button") << QPoint(10, 10) << int(Qt::RightButton) << false << QPoint(0, 0);
        QTest::newRow("after the release") << QPoint(10, 10) << int(Qt::LeftButton) << true << QPoint(0, 0);
    }
    void dragging()
    {
        QFETCH(QPoint, pressAt);
        QFETCH(int, buttons);
        QFETCH(bool, releaseFirst);
        QFETCH(QPoint, moved);
        std::unique_ptr<DialogMain> window = MakeWindow(0);
        const QPoint start = window->pos();
        const QPoint pressGlobal = window->mapToGlobal(pressAt);
        QMouseEvent press(QEvent::MouseButtonPress, pressAt, pressGlobal, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(window.get(), &press);
        if (releaseFirst) {
            QMouseEvent release(QEvent::MouseButtonRelease, pressAt, pressGlobal, Qt::LeftButton, Qt::NoButton,
                                Qt::NoModifier);
            QApplication::sendEvent(window.get(), &release);
        }
        const QPoint to = pressGlobal + QPoint(30, 20);
        QMouseEvent move(QEvent::MouseMove, window->mapFromGlobal(to), to, Qt::NoButton, Qt::MouseButtons(buttons),
                         Qt::NoModifier);
        QApplication::sendEvent(window.get(), &move);
        QCOMPARE(window->pos() - start, moved);
    }

    // The device window is built after the first paint, or at once by whatever needs it earlier;
    // it is built once, as page 1, and exists before a pressed device button tells the bus anything.
    void deviceWindowBuiltWhenNeeded_data()
    {
        QTest::addColumn<bool>("shown");
        QTest::addColumn<Action>("need");
        QTest::addColumn<int>("page");
        QTest::newRow("the first paint") << true << Action([](DialogMain& window) {
            QVERIFY(QTest::qWaitForWindowExposed(&window));
            QTRY_VERIFY(window.DeviceWindow());
        }) << 0;
        QTest::newRow("a device button pressed") << false << Action([](DialogMain& window) {
            auto* page = window.findChild<DialogChange*>();
            QVERIFY(page);
            QVERIFY(QMetaObject::invokeMethod(page, "slotButtonClicked"));
        }) << 0;
        QTest::newRow("the repair button") << false << Action([](DialogMain& window) {
            auto* page = window.findChild<DialogChange*>();
            QVERIFY(page);
            QVERIFY(QMetaObject::invokeMethod(page, "on_Repair_clicked"));
            QVERIFY(UpDateRepairInstance);
            UpDateRepairInstance->hide();
        }) << 0;
        QTest::newRow("a device opened") << false << Action([](DialogMain& window) {
            window.SlotChangeMainDialog(1);
        }) << 1;
        QTest::newRow("a shortcut") << false << Action([](DialogMain& window) {
            QTest::keyClick(&window, Qt::Key_Escape);
        }) << 0;
    }
    void deviceWindowBuiltWhenNeeded()
    {
        QFETCH(bool, shown);
        QFETCH(Action, need);
        QFETCH(int, page);
        std::unique_ptr<DialogMain> window(new DialogMain);
        QSignalSpy built(window.get(), &DialogMain::DeviceWindowBuilt);
        bool builtBeforeTheBus = true;
        QMetaObject::Connection watch = connect(PostMsg::Instance(), &PostMsg::SigIsUsb, this,
                                                [&] { builtBeforeTheBus = builtBeforeTheBus && window->DeviceWindow(); });
        QVERIFY(!window->DeviceWindow());
        if (shown)
            window->show();
        need(*window);
        disconnect(watch);
        QVERIFY(window->DeviceWindow());
        QVERIFY(builtBeforeTheBus);
        QCOMPARE(built.count(), 1);
        QCOMPARE(built.at(0).at(0).value<QWidget*>(), static_cast<QWidget*>(window->DeviceWindow()));
        auto* stack = window->findChild<QStackedWidget*>("stackedWidgetMain");
        QVERIFY(stack);
        QCOMPARE(stack->count(), 2);
        QCOMPARE(stack->indexOf(window->DeviceWindow()), 1);
        QCOMPARE(window->CurrentPage(), page);
        // Needed again, or painted: the same window stays.
        window->BuildDeviceWindow();
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        QCoreApplication::processEvents();
        QCOMPARE(built.count(), 1);
    }

    void offlineNotice()
    {
        std::unique_ptr<DialogMain> window = MakeWindow(1);
        OfflineNoticeOpen = false;
        ReloadRequested = false;
        ModalCatcher catcher;
        window->SlotMouseOffLine(1);
        QCOMPARE(catcher.className, QString("MouseOffLine"));
        QCOMPARE(MouseOffLineKind, 1);
        QCOMPARE(catcher.label_, UiText::Text(0, "infoTips", "TimeOut"));
        // Centred across, 20 pixels above the middle: (100 + (1020 - 300) / 2, 100 - 20 + (700 - 140) / 2).
        QCOMPARE(catcher.position, QPoint(460, 360));
        QVERIFY(OfflineNoticeOpen);
        QVERIFY(ReloadRequested);
    }
};

QTEST_MAIN(TestDialogMain)
#include "tst_dialogmain.moc"
