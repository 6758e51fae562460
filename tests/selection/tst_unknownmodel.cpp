// A device whose model the model list does not know, pressed on the selection page, when the list
// lacks a group its model count promises: the user is told, on cable and on a receiver alike,
// instead of nothing happening or pairing being offered for a mouse that is paired.
#include "app/DialogChange.h"
#include "app/mytoolButtonEnter.h"
#include "device/ConfigSetting.h"
#include "device/ConnectionState.h"
#include "device/DeviceDiscovery.h"
#include "device/DialogChangeLists.h"
#include "device/ModelListCheck.h"
#include "device/PostMsg.h"
#include "device/Worker.h"
#include "platform/AppPaths.h"
#include "platform/hidusb/HIDUsb.h"
#include "platform/hidusb/SimControl.h"
#include "support/TestHome.h"
#include "widgets/FileNotices.h"
#include "widgets/UiText.h"
#include "widgets/UiTextTables.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QPointer>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

namespace {

// Both devices reach mice of the model with MID 19, whose group the model list has lost.
const char Description[] = "[Model 1]\nName=Wireless\nMID=18\nSensor=3395\n\n"
                           "[Model 2]\nName=Wired\nMID=19\nSensor=3950\n\n"
                           "[Mouse 1]\nModel=2\nFirmware=0x0103\n\n"
                           "[Mouse 2]\nModel=2\nFirmware=0x0102\n\n"
                           "[Device 1]\nKind=receiver\nVID=0x3554\nPID=0xF5D2\nBootPID=0xF5E2\nCID=28\nStatus=0\n"
                           "Mouse=1\nUsbVersion=0x0105\nAddress=0x5A,0x13,0x01\nAttachedAtStart=true\nMouseOnlineAtStart=true\n\n"
                           "[Device 2]\nKind=cable\nVID=0x3554\nPID=0xF5D1\nBootPID=0xF5E1\nCID=28\nStatus=2\nMouse=2\n"
                           "UsbVersion=0x0102\nAttachedAtStart=true\n";

// Records the classes of the modal dialogs opened and the text of the file notices, then closes them.
class ModalRecorder : public QObject
{
public:
    ModalRecorder()
    {
        connect(&timer, &QTimer::timeout, this, [this] {
            QWidget* modal = QApplication::activeModalWidget();
            if (!modal)
                return;
            seen << QString::fromLatin1(modal->metaObject()->className());
            if (auto* notice = qobject_cast<FileNotices*>(modal))
                texts << notice->Text();
            modal->close();
        });
        timer.start(5);
    }
    QStringList seen;
    QStringList texts;

private:
    QTimer timer;
};

} // namespace

class TestUnknownModel : public QObject
{
    Q_OBJECT
    TestHome home;
    QTemporaryDir program;
    QTemporaryDir flash;
    QPointer<DialogChange> page;

    mytoolButtonEnter* ButtonOf(int device) const
    {
        const QString path = QString::fromLocal8Bit(SimControl_DevicePath(device));
        for (int k = 0; k < ListedDevices.size(); ++k) {
            if (ListedDevices.at(k).path == path)
                return page->findChild<mytoolButtonEnter*>(QStringLiteral("btn%1").arg(k));
        }
        return nullptr;
    }

private slots:
    void initTestCase()
    {
        // The shipped list without the wired model's group: its count still promises two models.
        const QString real = AppPaths::ProgramFolder();
        QFile shipped(real + QStringLiteral("/usersetting/Config.ini"));
        QVERIFY(shipped.open(QIODevice::ReadOnly));
        QByteArray list = shipped.readAll();
        const int start = list.indexOf("[Drive2]");
        QVERIFY(start > 0);
        list.truncate(start);
        QVERIFY(QDir(program.path()).mkdir(QStringLiteral("usersetting")));
        QFile damaged(program.filePath(QStringLiteral("usersetting/Config.ini")));
        QVERIFY(damaged.open(QIODevice::WriteOnly));
        damaged.write(list);
        damaged.close();
        for (const char* item : {"Language", "Picture"})
            QVERIFY(QFile::link(real + QLatin1Char('/') + QLatin1String(item), program.filePath(QLatin1String(item))));
        AppPaths::SetProgramFolder(program.path());
        home.MakeUserFolders();
        UiTextTables::Instance()->LoadUiTextTables();

        const QString description = flash.filePath(QStringLiteral("devices.ini"));
        QFile out(description);
        QVERIFY(out.open(QIODevice::WriteOnly));
        out.write(Description);
        out.close();
        SimControl_Reset(description.toLocal8Bit().constData(), flash.path().toLocal8Bit().constData());
        QCOMPARE(SimControl_DeviceCount(), 2);
    }

    void cleanupTestCase()
    {
        delete page;
        StopUsbChanged();
        UsbServer_Exit();
    }

    void pressedUnknownDeviceSaysWhy_data()
    {
        QTest::addColumn<int>("device");
        QTest::addColumn<int>("language");
        QTest::newRow("mouse on its cable") << 1 << 0;
        QTest::newRow("receiver with its mouse") << 0 << 0;
        QTest::newRow("mouse on its cable, Chinese") << 1 << 1;
        QTest::newRow("receiver with its mouse, Russian") << 0 << 2;
    }
    void pressedUnknownDeviceSaysWhy()
    {
        QFETCH(int, device);
        QFETCH(int, language);
        if (!page) {
            page = new DialogChange;
            page->show();
            QVERIFY(SimControl_WaitIdle(5000));
            QCoreApplication::processEvents();
            QCoreApplication::processEvents();
        }
        UiLanguage = language;
        QCOMPARE(page->ModelCount(), 2);
        QCOMPARE(ListedDevices.size(), 2);
        mytoolButtonEnter* button = ButtonOf(device);
        QVERIFY(button);
        QCOMPARE(ListedDevices.at(button->DeviceIndex()).modelIndex, 2);

        const ModelListProblem problem = CheckModelList();
        QCOMPARE(int(problem.kind), int(ModelListProblem::GroupMissing));
        QCOMPARE(problem.group, QStringLiteral("Drive2"));
        ModalRecorder modals;
        int opened = 0;
        QMetaObject::Connection connection =
            connect(PostMsg::Instance(), &PostMsg::SigChangeMainDialog, this, [&opened](int) { ++opened; });
        button->click();
        disconnect(connection);
        // One notice, no pairing, nothing opened.
        QCOMPARE(modals.seen, QStringList{"FileNotices"});
        QCOMPARE(modals.texts, QStringList{FileNotices::UnknownModelText(language, 19, problem)});
        const QString text = modals.texts.value(0);
        QVERIFY(text.contains(QDir::toNativeSeparators(ConfigSetting::FilePath())));
        QVERIFY(text.contains(QStringLiteral("19")));
        QVERIFY(text.contains(QStringLiteral("[Drive2]")));
        QCOMPARE(opened, 0);
        QVERIFY(!PairDeviceChosen);
        QCOMPARE(int(DeviceWindowActive), 0);
        UiLanguage = 0;
    }
};

QTEST_MAIN(TestUnknownModel)
#include "tst_unknownmodel.moc"
