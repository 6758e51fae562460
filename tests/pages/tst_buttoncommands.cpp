#include "app/UpDataParam.h"
#include "device/ConnectionState.h"
#include "device/DeviceState.h"
#include "device/PostMsg.h"
#include "pages/advanced/Advanced.h"
#include "pages/advanced/StopCloseTime.h"
#include "pages/buttons/Buttoninterface.h"
#include "pages/lighting/LampLight.h"
#include "pages/lighting/MouseLight.h"
#include "support/ButtonPageSupport.h"
#include "support/FindChild.h"
#include "support/ShippedMouseTest.h"
#include "widgets/FileNotices.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolButton>
#include <QtTest>

namespace {

using ButtonPageSupport::Bytes;

// Runs a command of the page; the file dialog it opens gets `path` chosen, or is cancelled for an
// empty one. False when no file dialog showed.
bool ChoosingFile(Buttoninterface& page, const char* command, const QString& path)
{
    bool shown = false;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        if (!dialog || shown)
            return;
        shown = true;
        poll.stop();
        if (path.isEmpty()) {
            dialog->reject();
            return;
        }
        dialog->selectFile(path);
        QMetaObject::invokeMethod(dialog, "accept");
    });
    poll.start(5);
    QMetaObject::invokeMethod(&page, command);
    poll.stop();
    return shown;
}

// The export-failure notices now shown, taken off the screen.
QStringList TakeExportNotices()
{
    QStringList texts;
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (auto* notice = qobject_cast<FileNotices*>(widget); notice && notice->isVisible()) {
            texts << notice->Text();
            notice->close();
            notice->deleteLater();
        }
    }
    return texts;
}

} // namespace

// The button page's commands on the configuration as a whole, on the simulated mouse: export and
// import through the page's file dialogs, and the pages shown again after an import.
class TestButtonCommands : public ShippedMouseTest
{
    Q_OBJECT
    QTemporaryDir files;

private slots:
    void initTestCase()
    {
        Start();
        // The device window installs the settings wait before it makes the pages.
        UpDataParam::InstallAsSettingsWait();
    }
    void cleanupTestCase()
    {
        Stop();
    }

    // The export writes the working copy as it is, also for an absent mouse; a file that cannot be
    // written is told with its path, and a cancelled dialog writes nothing.
    void exportThroughThePage_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("online");
        QTest::addColumn<bool>("written");
        QTest::newRow("online") << "online.bin" << true << true;
        QTest::newRow("mouse away") << "away.bin" << false << true;
        QTest::newRow("folder missing") << "no-such-folder/missing.bin" << true << false;
        QTest::newRow("cancelled") << "" << true << false;
    }
    void exportThroughThePage()
    {
        QFETCH(QString, name);
        QFETCH(bool, online);
        QFETCH(bool, written);
        // The page first: its connection thread starts with no device current.
        Buttoninterface page;
        page.show();
        FlashDataMap record{};
        const int mouse = devices->OpenWiredMouse(&record);
        QVERIFY(mouse >= 0);
        if (!online)
            SimControl_SetAttached(mouse, 0);
        const QString path = name.isEmpty() ? QString() : files.filePath(name);
        const auto before = ButtonPageSupport::FilesUnder(files.path());
        QVERIFY(ChoosingFile(page, "on_OutputData_clicked", path));
        const QStringList notices = TakeExportNotices();
        SimControl_SetAttached(mouse, 1);
        if (written) {
            QCOMPARE(notices, QStringList());
            QFile file(path);
            QVERIFY(file.open(QIODevice::ReadOnly));
            QCOMPARE(file.size(), qint64(10484));
            QCOMPARE(file.readAll().mid(36), Bytes(record));
            QVERIFY(file.remove());
            return;
        }
        QCOMPARE(ButtonPageSupport::FilesUnder(files.path()), before);
        if (path.isEmpty()) {
            QCOMPARE(notices, QStringList());
            return;
        }
        // The notice names the file the page tried to write, as the dialog gave it.
        QCOMPARE(notices.size(), 1);
        QVERIFY2(notices.first().contains(QDir::toNativeSeparators(QStringLiteral("/") + name)), qPrintable(notices.first()));
        QVERIFY(!QFile::exists(path));
    }

    // Exported, changed, imported again: the mouse and the working copy hold the exported record,
    // and the button, lighting and advanced pages show it again.
    void exportThenImportRestoresEveryPage()
    {
        Buttoninterface page;
        LampLight light;
        Advanced advanced;
        FlashDataMap exported{};
        const int mouse = devices->OpenWiredMouse(&exported);
        QVERIFY(mouse >= 0);
        page.SlotUpDataButtonUIB(exported);
        light.SlotUpDataLightUILight(exported);
        advanced.SlotUpDataSenSorUISensor(exported);
        page.show();
        const QString label = page.SelectorOfButton(2)->text();
        const Buttoninterface::CopyEntry entry = page.FunctionAt(2);
        auto* lightMode = Child<QComboBox>(*light.MouseLightPanel(), "LightMod");
        const int lightRow = lightMode->currentIndex();
        const int sleepRow = advanced.SleepTimePanel()->CurrentRow();

        const QString path = files.filePath(QStringLiteral("profile.bin"));
        QVERIFY(ChoosingFile(page, "on_OutputData_clicked", path));
        QVERIFY(QFile::exists(path));

        // Another rapid fire on button 2, another light and sleep time, on the mouse and the pages.
        FlashDataMap changed = exported;
        changed.buttons[2] = ButtonFunction{FunctionFireKey, 60, 1};
        changed.lightOn = 1;
        changed.lightMode = exported.lightMode == 1 ? 2 : 1;
        changed.sleepTime = exported.sleepTime == 30 ? 60 : 30;
        QVERIFY(SimControl_SetDeviceRecord(mouse, changed.bytes()));
        AdoptDeviceConfig(changed);
        page.SlotUpDataButtonUIB(changed);
        light.SlotUpDataLightUILight(changed);
        advanced.SlotUpDataSenSorUISensor(changed);
        QVERIFY(page.SelectorOfButton(2)->text() != label);
        QVERIFY(lightMode->currentIndex() != lightRow || advanced.SleepTimePanel()->CurrentRow() != sleepRow);

        QVERIFY(ChoosingFile(page, "on_ImportData_clicked", path));
        QCOMPARE(ImportResult, 0);
        QVERIFY(!SettingsWriteInProgress);
        QVERIFY(SimControl_WaitIdle(5000));
        QCOMPARE(devices->RecordDifferences(mouse, exported), QString());
        QCOMPARE(Bytes(DeviceConfigSnapshot()), Bytes(exported));
        QCOMPARE(page.SelectorOfButton(2)->text(), label);
        const Buttoninterface::CopyEntry restored = page.FunctionAt(2);
        QCOMPARE(QList<int>({restored.type, restored.code, restored.parameter}),
                 QList<int>({entry.type, entry.code, entry.parameter}));
        QCOMPARE(lightMode->currentIndex(), lightRow);
        QCOMPARE(advanced.SleepTimePanel()->CurrentRow(), sleepRow);
    }

    // A cancelled import dialog leaves the configuration-busy flag clear and the mouse as it was;
    // an absent mouse gets the offline notice and no dialog.
    void importCancelledOrOffline()
    {
        Buttoninterface page;
        FlashDataMap record{};
        const int mouse = devices->OpenWiredMouse(&record);
        QVERIFY(mouse >= 0);
        const int updates = SimControl_UpdateCount();
        QSignalSpy offline(PostMsg::Instance(), &PostMsg::SigMouseOffLineo);
        QVERIFY(ChoosingFile(page, "on_ImportData_clicked", QString()));
        QVERIFY(!SettingsWriteInProgress);
        QCOMPARE(offline.count(), 0);

        SimControl_SetAttached(mouse, 0);
        QVERIFY(!ChoosingFile(page, "on_ImportData_clicked", files.filePath(QStringLiteral("x.bin"))));
        QCOMPARE(offline.count(), 1);
        QCOMPARE(offline.at(0).at(0).toInt(), 0);
        QVERIFY(!SettingsWriteInProgress);
        SimControl_SetAttached(mouse, 1);
        QCOMPARE(SimControl_UpdateCount(), updates);
        QCOMPARE(devices->RecordDifferences(mouse, record), QString());
    }
};

QTEST_MAIN(TestButtonCommands)
#include "tst_buttoncommands.moc"
