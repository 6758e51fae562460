#include "app/Dialog.h"
#include "app/DialogMain.h"
#include "app/StartUp.h"
#include "device/DeliveryMarkedApplication.h"
#include "device/DeviceInfoCache.h"
#include "device/MacroBlocks.h"
#include "device/Worker.h"
#include "pages/macro/AddDelayTime.h"
#include "pages/macro/Macro.h"
#include "platform/AppPaths.h"
#include "support/FindChild.h"
#include "support/OpenInDeviceWindow.h"
#include "support/SettleDevices.h"
#include "support/TestHome.h"
#include "tests/macro/MacroTestSupport.h"
#include "widgets/UiTextTables.h"

#include <QListWidget>
#include <QProcess>
#include <QSpinBox>
#include <QToolButton>
#include <QtTest>

#include <iostream>

using namespace MacroTestSupport;

namespace {

constexpr int BoundButton = 2;
const QByteArray Before("1\n0x04 1 0\n350ms\n0x04 1 1\n");
const QByteArray Saved("1\n0x04 1 0\n450ms\n0x04 1 1\n");

QString Description()
{
    return AppPaths::ProgramFolder() + QStringLiteral("/simulated/devices.ini");
}

// The simulated devices as the program finds them: their flash in the per-user folder, where a
// child process of the same HOME left it.
int ResetToUserFlash()
{
    SimControl_Reset(Description().toLocal8Bit().constData(), "");
    for (int device = 0; device < SimControl_DeviceCount(); ++device) {
        const uint8_t* info = VidEzorarA_GetDeviceInfo(SimControl_DevicePath(device), 0);
        if (info && (info[0] || info[1]) && (info[2] & 0xFA) == 0)
            return device;
    }
    return -1;
}

// What the mouse's button plays, as the file of its macro would hold it ("no macro" for none).
QByteArray HeldFile(int device)
{
    const QString held = OnTheButton(device, BoundButton);
    return held.mid(held.indexOf(QLatin1Char(':')) + 1).toUtf8();
}

// ---- the child: the program's window on the simulated receiver, saving the macro of a button ----

// With "unplug" the receiver leaves 300 ms after Save, before the macro is sent; with "close" or
// "tray" the user quits 600 ms after Save with the window's close button or the tray's Quit.
int SaveInTheProgram(int argc, char* argv[])
{
    const QByteArray mode = argc > 2 ? QByteArray(argv[2]) : QByteArray();
    const bool unplug = mode == "unplug";
    DeliveryMarkedApplication<QApplication> application(argc, argv);
    AppPaths::SetProgramFolder(QString::fromLocal8Bit(qgetenv("KESTRO_PROGRAM_DIR")));
    const int receiver = ResetToUserFlash();
    if (receiver < 0)
        return 2;
    // Every notice the program shows is closed and named on stdout.
    QTimer closer;
    QObject::connect(&closer, &QTimer::timeout, [] {
        if (auto* modal = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
            std::cout << "notice " << Describe(modal).toStdString() << std::endl;
            modal->close();
        }
    });
    closer.start(5);

    DialogMain window;
    StartUp::CloseOnTerminationSignals(&window);
    window.show();
    window.SlotChangeMainDialog(1);
    const DeviceAllInfo device = IdentifiedDevice(QByteArray(SimControl_DevicePath(receiver)));
    if (!OpenInDeviceWindow(device) || !SettleDevices())
        return 3;
    auto* page = window.findChild<Macro*>();
    auto* macros = Child<QListWidget>(*page, "listWidgetHong");
    const QList<QListWidgetItem*> found = macros->findItems("Bound", Qt::MatchExactly);
    if (found.size() != 1)
        return 4;
    macros->setCurrentItem(found.first());
    emit macros->clicked(macros->currentIndex());
    // The delay line amended to 450 ms, then saved from the event loop, as a click would.
    Child<QListWidget>(*page, "listWidgetKey")->setCurrentRow(1);
    closer.stop();
    RunWithModals([&] { Child<QToolButton>(*page, "Amend")->click(); },
                  [](QDialog* modal) {
                      Child<QSpinBox>(*modal, "spinBox")->setValue(450);
                      Child<QToolButton>(*modal, "NewHong")->click();
                  });
    closer.start(5);
    QTimer::singleShot(0, page, [&window, page, mode, unplug, receiver] {
        std::cout << "saving" << std::endl;
        if (mode == "close")
            QTimer::singleShot(600, &window, [&window] { window.SlotChangeSize(1); });
        else if (mode == "tray")
            QTimer::singleShot(600, &window, [&window] { window.slotActionExitApp(); });
        if (unplug) {
            QTimer::singleShot(300, [receiver] {
                SimControl_SetAttached(receiver, 0);
                std::cout << "unplugged" << std::endl;
            });
        }
        Child<QToolButton>(*page, "Save")->click();
        std::cout << "saved" << std::endl;
    });
    const int code = application.exec();
    std::cout << "ended" << std::endl;
    return code;
}

} // namespace

// A quit while a saved macro is on its way to the mouse's button: the program, a child process in
// the same HOME, gets SIGTERM (the desktop's logout) at chosen moments after Save, is closed by the
// user, or is killed.
// After the next open, which stores the mouse's copy over the macro's file, the file and the mouse
// hold what the user was last told: the saved macro, seen through before the program ended.
class TestMacroQuit : public QObject
{
    Q_OBJECT
    TestHome home;

    QProcess* StartChild(const QString& mode)
    {
        auto* child = new QProcess(this);
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("HOME", home.Path());
        child->setProcessEnvironment(environment);
        child->setProcessChannelMode(QProcess::ForwardedErrorChannel);
        child->start(QCoreApplication::applicationFilePath(), {"--child-save", mode});
        return child;
    }
    static QString ReadLine(QProcess* child)
    {
        while (!child->canReadLine()) {
            if (!child->waitForReadyRead(30000))
                return QStringLiteral("<no answer>");
        }
        return QString::fromLocal8Bit(child->readLine()).trimmed();
    }

private slots:
    void initTestCase()
    {
        home.MakeUserFolders();
        UiTextTables::Instance()->LoadUiTextTables();
    }
    void cleanupTestCase() { UsbServer_Exit(); }

    void quitWhileTheMacroIsOnItsWay_data()
    {
        QTest::addColumn<QString>("mode");
        QTest::addColumn<int>("afterMs");
        QTest::addColumn<QString>("ending");
        for (int ms : {100, 600, 1000, 1300})
            QTest::addRow("SIGTERM %d ms after Save", ms) << "stay" << ms << "SIGTERM";
        QTest::newRow("close button 600 ms after Save") << "close" << 0 << "";
        QTest::newRow("tray's Quit 600 ms after Save") << "tray" << 0 << "";
        QTest::newRow("kill -9 600 ms after Save") << "stay" << 600 << "kill";
        QTest::newRow("receiver unplugged after Save, then SIGTERM") << "unplug" << 0 << "SIGTERM";
    }
    void quitWhileTheMacroIsOnItsWay()
    {
        QFETCH(QString, mode);
        QFETCH(int, afterMs);
        QFETCH(QString, ending);
        const bool killed = ending == "kill";
        const bool unplugged = mode == "unplug";
        const QString folder = MacroBlocks::MacroFolder();
        QDir(folder).removeRecursively();
        QDir().mkpath(folder);
        QDir(DeviceCacheFolder()).removeRecursively();
        QDir().mkpath(DeviceCacheFolder());
        QDir(AppPaths::UserDataFolder() + "/Device_Flash").removeRecursively();
        WriteFile(MacroBlocks::MacroFilePath("Bound"), Before);
        int receiver = ResetToUserFlash();
        QVERIFY(receiver >= 0);
        QVERIFY(PutMacroOnButton(receiver, BoundButton, "Bound", Before));
        QCOMPARE(HeldFile(receiver), Before);

        QProcess* child = StartChild(mode);
        // SIGTERM at the chosen time after Save, or at once once the receiver left.
        const QString awaited = unplugged ? "unplugged" : "saving";
        QString line;
        do
            line = ReadLine(child);
        while (line != awaited && line != "<no answer>");
        QCOMPARE(line, awaited);
        QTest::qWait(afterMs);
        if (killed)
            child->kill();
        else if (ending == "SIGTERM")
            child->terminate();
        QVERIFY(child->waitForFinished(60000));
        const QString output = QString::fromLocal8Bit(child->readAll());

        receiver = ResetToUserFlash();
        QVERIFY(receiver >= 0);
        const QByteArray file = ReadFile(MacroBlocks::MacroFilePath("Bound"));
        const QByteArray held = HeldFile(receiver);
        if (killed) {
            // Killed before the mouse took the macro: the file holds no edit the mouse does not.
            QVERIFY2(file == held || held == Saved, qPrintable(file + " / " + held));
        } else if (unplugged) {
            // The mouse could not get it: the user was told (by the quit, or by the Save itself
            // when it ended first), and the file keeps what the mouse holds.
            QCOMPARE(child->exitStatus(), QProcess::NormalExit);
            QVERIFY2(output.contains("notice SameMacro:DialogMacroNotSentAtQuit")
                         || output.contains("notice SameMacro:DialogMacroNotTaken"),
                     qPrintable(output));
            QCOMPARE(held, Before);
            QCOMPARE(file, Before);
        } else {
            // Seen through before the end: the mouse and the file hold the saved macro, no notice.
            QCOMPARE(child->exitStatus(), QProcess::NormalExit);
            QVERIFY2(output.contains("ended"), qPrintable(output));
            QVERIFY2(!output.contains("notice SameMacro") && !output.contains("notice MouseOffLine"), qPrintable(output));
            QCOMPARE(held, Saved);
            QCOMPARE(file, Saved);
        }

        // The next open stores the mouse's copy over the file: the file holds what the mouse holds.
        {
            Dialog window;
            QVERIFY(OpenInDeviceWindow(IdentifiedDevice(QByteArray(SimControl_DevicePath(receiver)))));
            QVERIFY(SettleDevices());
            QCOMPARE(ReadFile(MacroBlocks::MacroFilePath("Bound")), HeldFile(receiver));
            if (!killed)
                QCOMPARE(ReadFile(MacroBlocks::MacroFilePath("Bound")), unplugged ? Before : Saved);
            DeviceWindowActive = 0;
        }
        UsbServer_Exit();
    }
};

int main(int argc, char* argv[])
{
    if (argc >= 2 && QByteArray(argv[1]) == "--child-save")
        return SaveInTheProgram(argc, argv);
    DeliveryMarkedApplication<QApplication> application(argc, argv);
    application.setAttribute(Qt::AA_Use96Dpi, true);
    TestMacroQuit test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "tst_macroquit.moc"
