// The device selection page against the simulated devices: which buttons it builds and where, the
// identical-devices notice, the hover refresh, and what pressing a button does.
#include "app/DialogChange.h"
#include "app/PreVier.h"
#include "device/DialogChangeLists.h"
#include "app/mytoolButtonEnter.h"
#include "device/ConfigSetting.h"
#include "device/ConnectionState.h"
#include "device/DeviceDiscovery.h"
#include "device/DeviceReportCallback.h"
#include "device/DeviceState.h"
#include "device/ModelListCheck.h"
#include "device/PostMsg.h"
#include "device/UserIniStore.h"
#include "device/Worker.h"
#include "pages/settings/RePair.h"
#include "platform/AppPaths.h"
#include "platform/RegistryStore.h"
#include "platform/hidusb/HIDUsb.h"
#include "platform/hidusb/SimControl.h"
#include "support/SimulatedDeviceFixture.h"
#include "support/TestHome.h"
#include "widgets/FileNotices.h"
#include "widgets/UiText.h"
#include "widgets/UiTextTables.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPointer>
#include <QScopeGuard>
#include <QStackedWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolButton>
#include <QtTest>
#include <functional>

namespace {

// One attachable device of a test layout. The models: 1 (MID 18) and 2 (MID 19) are the model
// list's, 3 (MID 99) is not in it. Each device reaches a mouse of its own.
struct Device {
    bool cable = false;
    int pid = 0xF5D2;
    int status = 0;
    int model = 1;
    bool mouseOnline = true;
};

} // namespace

Q_DECLARE_METATYPE(Device)

namespace {

Device Receiver(int status, int model, int pid, bool mouseOnline = true)
{
    return {false, pid, status, model, mouseOnline};
}

Device Cable(int model, int pid = 0xF5D1)
{
    return {true, pid, 2, model, true};
}

QString DescriptionText(const QList<Device>& devices, const QList<int>& mids)
{
    QString text;
    for (int model = 0; model < 3; ++model)
        text += QStringLiteral("[Model %1]\nName=Model %1\nMID=%2\nSensor=3395\n\n").arg(model + 1).arg(mids[model]);
    for (int n = 0; n < devices.size(); ++n) {
        const Device& device = devices.at(n);
        text += QStringLiteral("[Mouse %1]\nModel=%2\nFirmware=0x0103\n\n").arg(n + 1).arg(device.model);
        text += QStringLiteral("[Device %1]\nKind=%2\nVID=0x3554\nPID=%3\nBootPID=0xF5EE\nCID=28\nStatus=%4\nMouse=%1\n"
                               "UsbVersion=0x0105\nAddress=0x5A,0x13,%5\nAttachedAtStart=true\nMouseOnlineAtStart=%6\n\n")
                    .arg(n + 1)
                    .arg(device.cable ? "cable" : "receiver")
                    .arg(device.pid)
                    .arg(device.status)
                    .arg(n)
                    .arg(device.mouseOnline ? "true" : "false");
    }
    return text;
}

// Acts on every modal dialog the page opens: records its class and hands it to the handler, which
// returns true once it has answered it; without a handler the dialog is closed.
class ModalAnswerer : public QObject
{
public:
    explicit ModalAnswerer(std::function<bool(QWidget*)> answer = {}) : handler(std::move(answer))
    {
        connect(&timer, &QTimer::timeout, this, &ModalAnswerer::Poll);
        timer.start(5);
    }
    QStringList seen;

private:
    void Poll()
    {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal)
            return;
        if (modal != last) {
            last = modal;
            seen << QString::fromLatin1(modal->metaObject()->className());
        }
        if (!handler || handler(modal))
            modal->close();
    }
    std::function<bool(QWidget*)> handler;
    QPointer<QWidget> last;
    QTimer timer;
};

// The bus signals a button press emits, in the order they arrive.
class BusRecorder : public QObject
{
public:
    BusRecorder()
    {
        PostMsg* bus = PostMsg::Instance();
        connect(bus, &PostMsg::SigIsUsb, this, [this](bool usb, bool visible) {
            events << QStringLiteral("SigIsUsb(%1,%2)").arg(usb).arg(visible);
        });
        connect(bus, &PostMsg::SigSetver, this, [this](int index) { events << QStringLiteral("SigSetver(%1)").arg(index); });
        connect(bus, &PostMsg::SigMouseIndex, this, [this](int index) { events << QStringLiteral("SigMouseIndex(%1)").arg(index); });
        connect(bus, &PostMsg::SigSelectMouseInfo, this, [this](const DeviceAllInfo& info) {
            events << QStringLiteral("SigSelectMouseInfo");
            selected = info;
        });
        connect(bus, &PostMsg::SigLabelTextB, this, [this](const QString& version, const QString& flag) {
            events << QStringLiteral("SigLabelTextB(%1,%2)").arg(version, flag);
        });
        connect(bus, &PostMsg::SigChangeMainDialog, this, [this](int index) {
            events << QStringLiteral("SigChangeMainDialog(%1)").arg(index);
            // The page sets this only after the switch, right before the Worker starts.
            activeAtSwitch = DeviceWindowActive;
        });
    }
    QStringList events;
    DeviceAllInfo selected;
    int activeAtSwitch = -1;
};

QString PictureOf(const QWidget* widget)
{
    const QString style = widget->styleSheet();
    const int start = style.indexOf(QLatin1String("url("));
    const int end = style.indexOf(QLatin1Char(')'), start);
    return start < 0 || end < 0 ? QString() : QFileInfo(style.mid(start + 4, end - start - 4)).fileName();
}

QStringList Paths(const QList<DeviceAllInfo>& devices)
{
    QStringList paths;
    for (const DeviceAllInfo& device : devices)
        paths << device.path;
    return paths;
}

} // namespace

class SelectionPageTest : public QObject
{
    Q_OBJECT

private:
    TestHome home;
    QTemporaryDir program;
    QTemporaryDir flash;
    QTemporaryDir descriptions;
    QPointer<DialogChange> page;
    int descriptionCount = 0;

    void Load(const QList<Device>& devices, const QList<int>& mids = {18, 19, 99})
    {
        const QString file = descriptions.filePath(QStringLiteral("devices%1.ini").arg(++descriptionCount));
        QFile out(file);
        QVERIFY(out.open(QIODevice::WriteOnly));
        out.write(DescriptionText(devices, mids).toUtf8());
        out.close();
        SimControl_Reset(file.toLocal8Bit().constData(), flash.path().toLocal8Bit().constData());
        QCOMPARE(SimControl_DeviceCount(), devices.size());
    }

    // Lets every notice the library has sent reach the page and be handled.
    void Settle()
    {
        QVERIFY(SimControl_WaitIdle(5000));
        QCoreApplication::processEvents();
        QCoreApplication::processEvents();
    }

    // The page shows on the screen before the library's first notice lists the devices, as it does
    // in the running program.
    void OpenPage()
    {
        page = new DialogChange;
        page->show();
        Settle();
    }

    QByteArray SimPath(int device) const { return QByteArray(SimControl_DevicePath(device)); }

    mytoolButtonEnter* Button(int k) const
    {
        return page->findChild<mytoolButtonEnter*>(QStringLiteral("btn%1").arg(k));
    }
    template <typename T = QWidget>
    T* Child(const QString& name) const
    {
        return page->findChild<T*>(name);
    }
    mytoolButtonEnter* ButtonOf(const QByteArray& path) const
    {
        for (int k = 0; k < ListedDevices.size(); ++k)
            if (ListedDevices.at(k).path == QString::fromLocal8Bit(path))
                return Button(k);
        return nullptr;
    }

    void WriteImage(const QString& name, int kind, int mid, const QByteArray& model, int major, int minor)
    {
        QByteArray data(1024, '\0');
        data[16] = char(minor);
        data[17] = char(major);
        data[20] = char(kind);
        data[21] = char(28);
        data[22] = char(mid);
        data.replace(87, model.size(), model);
        QFile file(program.filePath(QStringLiteral("bin/") + name));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(data);
    }

private slots:
    void initTestCase()
    {
        // A program folder of the test's own, so that firmware images can be laid into its "bin".
        const QString real = AppPaths::ProgramFolder();
        for (const char* item : {"Language", "Picture", "simulated"})
            QVERIFY(QFile::link(real + QLatin1Char('/') + QLatin1String(item), program.filePath(QLatin1String(item))));
        // A copy of the model list, which a test may change.
        QVERIFY(QDir(program.path()).mkdir(QStringLiteral("usersetting")));
        QVERIFY(QFile::copy(real + QStringLiteral("/usersetting/Config.ini"), program.filePath(QStringLiteral("usersetting/Config.ini"))));
        QVERIFY(QDir(program.path()).mkdir(QStringLiteral("bin")));
        AppPaths::SetProgramFolder(program.path());
        home.MakeUserFolders();
        UiTextTables::Instance()->LoadUiTextTables();
        QVERIFY(!UiText::Text(0, "home", "PleaseEnter").isEmpty());
    }

    void init()
    {
        ListedDevices.clear();
        FoundDevices.clear();
        PairDeviceChosen = false;
        PairDeviceInfo = DeviceAllInfo();
        DeviceWindowActive = 0;
        RunRequested = false;
        CurrentDeviceInfo.Set(DeviceAllInfo());
        RegistryStore registry(MouseDriveTestKey());
        registry.Remove(QStringLiteral("MouseVer2818"));
        registry.Remove(QStringLiteral("UpdateFailInfo"));
        QDir bin(program.filePath(QStringLiteral("bin")));
        for (const QString& file : bin.entryList(QDir::Files))
            bin.remove(file);
    }

    void cleanup()
    {
        delete page;
        StopUsbChanged();
        UsbServer_Exit();
    }

    void layout_data()
    {
        QTest::addColumn<QList<Device>>("devices");
        QTest::addColumn<QList<int>>("buttonX");
        QTest::addColumn<QList<int>>("badgeX");
        // Two models, each receiver class on its own product id: up to eight devices, none identical.
        const QList<Device> all = {Receiver(0, 1, 0xF5D2), Receiver(4, 1, 0xF5D3), Receiver(1, 1, 0xF5D4),
                                   Receiver(5, 1, 0xF5D5), Receiver(0, 2, 0xF5D2), Receiver(4, 2, 0xF5D3),
                                   Receiver(1, 2, 0xF5D4)};
        QTest::newRow("one") << all.mid(0, 1) << QList<int>{305} << QList<int>{530};
        QTest::newRow("two") << all.mid(0, 2) << QList<int>{135, 445} << QList<int>{360, 665};
        QTest::newRow("three") << all.mid(0, 3) << QList<int>{0, 300, 600} << QList<int>{225, 525, 825};
        QTest::newRow("four") << all.mid(0, 4) << QList<int>{0, 300, 600, 305} << QList<int>{225, 525, 825, 530};
        QTest::newRow("seven") << all << QList<int>{0, 300, 600, 0, 300, 600, 305}
                               << QList<int>{225, 525, 825, 225, 525, 825, 530};
    }

    void layout()
    {
        QFETCH(QList<Device>, devices);
        QFETCH(QList<int>, buttonX);
        QFETCH(QList<int>, badgeX);
        Load(devices);
        OpenPage();

        const int n = devices.size();
        QCOMPARE(ListedDevices.size(), n);
        auto* stack = Child<QStackedWidget>(QStringLiteral("stackedWidget"));
        QCOMPARE(stack->count(), (n + 2) / 3);
        QCOMPARE(stack->currentIndex(), 0);
        for (int k = 0; k < n; ++k) {
            mytoolButtonEnter* button = Button(k);
            QVERIFY2(button, qPrintable(QString::number(k)));
            QCOMPARE(button->parentWidget(), stack->widget(k / 3));
            QCOMPARE(button->geometry(), QRect(buttonX.at(k), 0, 284, 360));
            QCOMPARE(Child(QStringLiteral("label%1").arg(k))->geometry(), QRect(badgeX.at(k), 20, 32, 32));
            QCOMPARE(Child(QStringLiteral("UsbWifi%1").arg(k))->geometry(), QRect(badgeX.at(k), 20, 32, 32));
            QCOMPARE(Child(QStringLiteral("Rate%1").arg(k))->geometry(), QRect(buttonX.at(k) + 7, 10, 42, 26));
            QCOMPARE(PictureOf(button), QStringLiteral("OnLine%1.png").arg(ListedDevices.at(k).modelIndex));
            QCOMPARE(button->isVisible(), k < 3);
            QCOMPARE(Child(QStringLiteral("Rate%1").arg(k))->isVisible(), k < 3);
            QCOMPARE(PictureOf(Child(QStringLiteral("UsbWifi%1").arg(k))), QStringLiteral("OnLineWifi.png"));
        }
        QVERIFY(!Button(n));
        QCOMPARE(Child(QStringLiteral("RightButton"))->isHidden(), n <= 3);
        QVERIFY(Child(QStringLiteral("LeftButton"))->isHidden());
        QVERIFY(Child(QStringLiteral("label_2"))->isHidden());
        QVERIFY(!Child(QStringLiteral("label_3"))->isHidden());
    }

    void arrowsWalkThePages()
    {
        Load({Receiver(0, 1, 0xF5D2), Receiver(4, 1, 0xF5D3), Receiver(1, 1, 0xF5D4), Receiver(5, 1, 0xF5D5),
              Receiver(0, 2, 0xF5D2), Receiver(4, 2, 0xF5D3), Receiver(1, 2, 0xF5D4)});
        OpenPage();
        auto* stack = Child<QStackedWidget>(QStringLiteral("stackedWidget"));
        auto* left = Child<QToolButton>(QStringLiteral("LeftButton"));
        auto* right = Child<QToolButton>(QStringLiteral("RightButton"));
        const auto state = [&] { return QList<int>{stack->currentIndex(), !left->isHidden(), !right->isHidden()}; };
        QCOMPARE(state(), (QList<int>{0, 0, 1}));
        right->click();
        QCOMPARE(state(), (QList<int>{1, 1, 1}));
        right->click();
        QCOMPARE(state(), (QList<int>{2, 1, 0}));
        left->click();
        QCOMPARE(state(), (QList<int>{1, 1, 1}));
        left->click();
        QCOMPARE(state(), (QList<int>{0, 0, 1}));
    }

    // The mouse on its cable and its own receiver show one button; the receiver of another model
    // keeps its own. A hover refresh of that later button must not overwrite the pruned receiver's
    // entry in FoundDevices, which the firmware upgrade still reads.
    void mouseOnCableHidesItsReceiver()
    {
        Load({Cable(1), Receiver(1, 1, 0xF5D2), Receiver(0, 2, 0xF5D3)});
        OpenPage();
        const QStringList all = {QString(SimPath(0)), QString(SimPath(1)), QString(SimPath(2))};
        QCOMPARE(Paths(ListedDevices), (QStringList{all.at(0), all.at(2)}));
        QCOMPARE(Paths(FoundDevices), all);
        QCOMPARE(PictureOf(Child(QStringLiteral("UsbWifi0"))), QStringLiteral("OnLineUsb.png"));
        QVERIFY(!Child(QStringLiteral("Rate0")));
        QCOMPARE(PictureOf(Child(QStringLiteral("Rate1"))), QStringLiteral("1KHz.png"));

        for (int k = 0; k < ListedDevices.size(); ++k) {
            QEvent enter(QEvent::Enter);
            QApplication::sendEvent(Button(k), &enter);
        }
        QCOMPARE(Paths(FoundDevices), all);
        QCOMPARE(FoundDevices.at(0).wired, true);
        QCOMPARE(int(FoundDevices.at(1).status), 1);
        QCOMPARE(FoundDevices.at(1).modelIndex, 0);
        QCOMPARE(int(FoundDevices.at(2).status), 0);
        QCOMPARE(FoundDevices.at(2).modelIndex, 1);
        QCOMPARE(FoundDevices.at(1).address, (QList<uint8_t>{0x5A, 0x13, 1}));
    }

    void identicalDevices_data()
    {
        QTest::addColumn<QList<Device>>("devices");
        QTest::addColumn<bool>("notice");
        QTest::newRow("two 1 kHz receivers") << QList<Device>{Receiver(0, 1, 0xF5D2), Receiver(0, 1, 0xF5D2)} << true;
        QTest::newRow("two 4 kHz receivers") << QList<Device>{Receiver(1, 1, 0xF5D4), Receiver(1, 1, 0xF5D4)} << true;
        QTest::newRow("two 8 kHz receivers") << QList<Device>{Receiver(5, 2, 0xF5D5), Receiver(5, 2, 0xF5D5)} << true;
        QTest::newRow("two 2 kHz receivers") << QList<Device>{Receiver(4, 2, 0xF5D3), Receiver(4, 2, 0xF5D3)} << true;
        QTest::newRow("two cables") << QList<Device>{Cable(2), Cable(2)} << true;
        QTest::newRow("one of each class") << QList<Device>{Receiver(0, 1, 0xF5D2), Receiver(4, 1, 0xF5D3)} << false;
        QTest::newRow("same class, two models") << QList<Device>{Receiver(5, 1, 0xF5D5), Receiver(5, 2, 0xF5D5)} << false;
        // Unknown models are not counted: their column does not exist.
        QTest::newRow("two unknown receivers") << QList<Device>{Receiver(0, 3, 0xF5D2), Receiver(0, 3, 0xF5D2)} << false;
    }

    void identicalDevices()
    {
        QFETCH(QList<Device>, devices);
        QFETCH(bool, notice);
        Load(devices);
        ModalAnswerer answerer;
        OpenPage();
        QCOMPARE(answerer.seen, notice ? QStringList{"QuestiondialogB"} : QStringList());
        QCOMPARE(Child(QStringLiteral("label_2"))->isHidden(), !notice);
        QCOMPARE(Child(QStringLiteral("label_3"))->isHidden(), notice);
        QCOMPARE(bool(Button(0)), !notice);
        QCOMPARE(bool(Button(1)), !notice);
        QCOMPARE(FoundDevices.size(), 2);
    }

    void unknownModel()
    {
        Load({Receiver(0, 3, 0xF5D2), Cable(3)});
        OpenPage();
        QCOMPARE(ListedDevices.size(), 2);
        mytoolButtonEnter* receiver = ButtonOf(SimPath(0));
        mytoolButtonEnter* cable = ButtonOf(SimPath(1));
        QVERIFY(receiver && cable);
        const int k = receiver->DeviceIndex();
        QCOMPARE(ListedDevices.at(k).modelIndex, page->ModelCount());
        QCOMPARE(PictureOf(receiver), QStringLiteral("Unknow.png"));
        QVERIFY(!Child(QStringLiteral("UsbWifi%1").arg(k))->isHidden());
        QVERIFY(Child(QStringLiteral("label%1").arg(k))->isHidden());
        QCOMPARE(PictureOf(Child(QStringLiteral("Rate%1").arg(k))), QStringLiteral("1KHz.png"));

        // An unknown cable opens nothing, and says why.
        {
            BusRecorder bus;
            QString told;
            ModalAnswerer answerer([&told](QWidget* dialog) {
                if (auto* notice = qobject_cast<FileNotices*>(dialog))
                    told = notice->Text();
                return true;
            });
            cable->click();
            QCOMPARE(bus.events, (QStringList{"SigIsUsb(0,1)", "SigSetver(6)"}));
            QCOMPARE(answerer.seen, QStringList{"FileNotices"});
            QCOMPARE(told, FileNotices::UnknownModelText(0, 99, CheckModelList()));
            QVERIFY(told.contains(QStringLiteral("MID 99")));
            QCOMPARE(int(DeviceWindowActive), 0);
        }
        // With the model list whole, an unknown receiver is offered pairing, and nothing opens either.
        BusRecorder bus;
        ModalAnswerer answerer;
        receiver->click();
        QCOMPARE(answerer.seen, QStringList{"Match"});
        QCOMPARE(bus.events, (QStringList{"SigIsUsb(0,1)", "SigSetver(6)"}));
        QVERIFY(PairDeviceChosen);
        QCOMPARE(PairDeviceInfo.path, QString(SimPath(0)));
        QCOMPARE(int(DeviceWindowActive), 0);
    }

    void hoverRefreshesOneButton()
    {
        Load({Receiver(1, 1, 0xF5D2), Cable(2)});
        OpenPage();
        // No attach/detach notice from here on: only the hover may change the page.
        StopUsbChanged();
        QPointer<mytoolButtonEnter> button = ButtonOf(SimPath(0));
        QVERIFY(button);
        const int k = button->DeviceIndex();
        QWidget* offline = Child(QStringLiteral("label%1").arg(k));
        QWidget* connection = Child(QStringLiteral("UsbWifi%1").arg(k));
        QCOMPARE(PictureOf(button), QStringLiteral("OnLine0.png"));
        QVERIFY(offline->isHidden() && !connection->isHidden());

        SimControl_SetMouseOnline(0, 0);
        QCOMPARE(PictureOf(button), QStringLiteral("OnLine0.png"));
        QEvent enter(QEvent::Enter);
        QApplication::sendEvent(button, &enter);
        QVERIFY(button);
        QCOMPARE(PictureOf(button), QStringLiteral("DisOnlin0.png"));
        QVERIFY(!offline->isHidden() && connection->isHidden());
        QVERIFY(!ListedDevices.at(k).online);
        QVERIFY(!FoundDevices.at(FoundDevices.indexOf(ListedDevices.at(k))).online);

        SimControl_SetMouseOnline(0, 1);
        QApplication::sendEvent(button, &enter);
        QCOMPARE(PictureOf(button), QStringLiteral("OnLine0.png"));
        QVERIFY(offline->isHidden() && !connection->isHidden());
        QCOMPARE(Button(k), button.data());
    }

    // A model of the list whose MID has no picture of its own: its button keeps what it shows,
    // whatever the model's place in the list.
    void modelWithoutPictureKeepsThePicture()
    {
        ConfigSetting* config = ConfigSetting::Instance();
        config->SetValue(QStringLiteral("Drive2"), QStringLiteral("MID"), QStringLiteral("25"));
        const auto restore = qScopeGuard([config] { config->SetValue(QStringLiteral("Drive2"), QStringLiteral("MID"), QStringLiteral("19")); });
        Load({Receiver(1, 2, 0xF5D2)}, {18, 25, 99});
        OpenPage();
        StopUsbChanged();
        QPointer<mytoolButtonEnter> button = ButtonOf(SimPath(0));
        QVERIFY(button);
        const int k = button->DeviceIndex();
        QCOMPARE(ListedDevices.at(k).modelIndex, 1);
        QCOMPARE(int(ListedDevices.at(k).MID), 25);
        QCOMPARE(PictureOf(button), QString());

        // What the button showed before, online and then offline.
        const QString shown = QStringLiteral("QToolButton{background-image: url(") + AppPaths::ProgramFolder()
            + QStringLiteral("/Picture/DialogChange/OnLine2.png);}");
        button->setStyleSheet(shown);
        QEvent enter(QEvent::Enter);
        QApplication::sendEvent(button, &enter);
        QVERIFY(button);
        QCOMPARE(button->styleSheet(), shown);
        SimControl_SetMouseOnline(0, 0);
        QApplication::sendEvent(button, &enter);
        QVERIFY(button);
        QVERIFY(!ListedDevices.at(k).online);
        QVERIFY(!Child(QStringLiteral("label%1").arg(k))->isHidden());
        QCOMPARE(button->styleSheet(), shown);
    }

    // The program's own simulated devices: the wireless mouse's receiver and the wired mouse.
    void openingADevice_data()
    {
        QTest::addColumn<bool>("wired");
        QTest::addColumn<QString>("version");
        QTest::newRow("receiver") << false << "v1.05";
        QTest::newRow("wired mouse") << true << "v1.02";
    }

    void openingADevice()
    {
        QFETCH(bool, wired);
        QFETCH(QString, version);
        SimulatedDevices shipped;
        const int device = shipped.Find(wired);
        QVERIFY(device >= 0);
        Worker worker;
        OpenPage();
        QCOMPARE(ListedDevices.size(), 2);
        mytoolButtonEnter* button = ButtonOf(SimPath(device));
        QVERIFY(button);
        QCOMPARE(PictureOf(button), QStringLiteral("OnLine%1.png").arg(wired ? 1 : 0));

        // The summary panel shows the model's picture.
        PreVier summary;
        BusRecorder bus;
        ModalAnswerer answerer;
        const int reads = SimControl_ReadCount(HIDUSB_REPORT_PARAMETER);
        button->click();
        QCOMPARE(answerer.seen, QStringList());
        QCOMPARE(PictureOf(summary.findChild<QWidget*>(QStringLiteral("widget"))),
                 QStringLiteral("mouse%1.png").arg(wired ? 1 : 0));
        QCOMPARE(bus.events, (QStringList{"SigIsUsb(0,1)", "SigSetver(6)", QStringLiteral("SigMouseIndex(%1)").arg(wired ? 1 : 0),
                                          "SigSelectMouseInfo", QStringLiteral("SigLabelTextB(%1,)").arg(version),
                                          "SigChangeMainDialog(1)"}));
        QCOMPARE(bus.selected.path, QString(SimPath(device)));
        QCOMPARE(bus.activeAtSwitch, 0);
        QCOMPARE(int(DeviceWindowActive), 1);

        // The Worker's first pass talks to that device: its whole record arrives.
        QTRY_VERIFY(worker.isFinished());
        QCOMPARE(QByteArray(CurrentDevicePath.load()), SimPath(device));
        QCOMPARE(CurrentDeviceInfo.Get().path, QString(SimPath(device)));
        QVERIFY(SimControl_WaitIdle(5000));
        QVERIFY(SimControl_ReadCount(HIDUSB_REPORT_PARAMETER) > reads);
        QTRY_VERIFY(DeviceConfigIsCurrent);
        FlashDataMap held{};
        QVERIFY(SimControl_GetDeviceRecord(device, held.bytes()));
        const FlashDataMap working = DeviceConfigSnapshot();
        QCOMPARE(QByteArray(reinterpret_cast<const char*>(working.bytes()), sizeof working),
                 QByteArray(reinterpret_cast<const char*>(held.bytes()), sizeof held));
        const QByteArray shots = qgetenv("KESTRO_SUMMARY_SHOTS");
        if (!shots.isEmpty()) {
            QTest::qWait(300); // the pages' values arrive queued
            summary.show();
            summary.grab().save(QString::fromLocal8Bit(shots) + QStringLiteral("/summary-%1.png").arg(wired ? "wired" : "receiver"));
        }
    }

    void noWorkerNoStart()
    {
        Load({Cable(2)});
        OpenPage();
        QVERIFY(!WorkerInstance);
        BusRecorder bus;
        Button(0)->click();
        QCOMPARE(bus.events.last(), QStringLiteral("SigChangeMainDialog(1)"));
        QVERIFY(SimControl_WaitIdle(5000));
        QCOMPARE(SimControl_ReadCount(HIDUSB_REPORT_PARAMETER), 0);
    }

    // Two receivers of one model; the mouse of the second does not answer while the first's does.
    void pairingCheck_data()
    {
        QTest::addColumn<QString>("recorded");
        QTest::addColumn<bool>("mouseImage");
        QTest::addColumn<bool>("receiverImage");
        QTest::addColumn<bool>("confirm");
        QTest::addColumn<QStringList>("dialogs");
        QTest::addColumn<bool>("paired");
        QTest::addColumn<bool>("opened");
        QTest::newRow("no recorded mouse version") << "" << false << false << false << QStringList{"Match"} << true << false;
        QTest::newRow("nothing newer, confirmed") << "v1.03" << false << false << true << QStringList{"RePair", "Match"}
                                                  << true << false;
        QTest::newRow("nothing newer, declined") << "v1.03" << false << false << false << QStringList{"RePair"} << false
                                                 << false;
        QTest::newRow("both newer, confirmed") << "v1.03" << true << true << true << QStringList{"RePair", "Match"}
                                               << true << false;
        QTest::newRow("mouse newer") << "v1.03" << true << false << false << QStringList{"UpDateWarning"} << false
                                     << false;
        QTest::newRow("receiver newer") << "v1.03" << false << true << false << QStringList() << false << true;
    }

    void pairingCheck()
    {
        QFETCH(QString, recorded);
        QFETCH(bool, mouseImage);
        QFETCH(bool, receiverImage);
        QFETCH(bool, confirm);
        QFETCH(QStringList, dialogs);
        QFETCH(bool, paired);
        QFETCH(bool, opened);
        if (!recorded.isEmpty())
            RegistryStore(MouseDriveTestKey()).SetValue(QStringLiteral("MouseVer2818"), recorded);
        if (mouseImage)
            WriteImage(QStringLiteral("mouse.bin"), 210, 18, "KestroPlus", 1, 4);
        if (receiverImage)
            WriteImage(QStringLiteral("receiver.bin"), 211, 18, "KestroPlus-Receiver4K", 1, 6);
        Load({Receiver(0, 1, 0xF5D2), Receiver(1, 1, 0xF5D4, false)});
        OpenPage();
        QCOMPARE(ListedDevices.size(), 2);

        // The settings page keeps the text for the current language.
        MouseUpdateNoticeText = QStringLiteral("Update the mouse on its cable first");
        QString warning;
        BusRecorder bus;
        ModalAnswerer answerer([&](QWidget* dialog) {
            if (auto* question = qobject_cast<RePair*>(dialog)) {
                QTest::mouseClick(question->findChild<QToolButton*>(confirm ? "OK" : "Cancel"), Qt::LeftButton);
                return false;
            }
            if (QLatin1String(dialog->metaObject()->className()) == QLatin1String("UpDateWarning"))
                warning = dialog->findChild<QLabel*>(QStringLiteral("label"))->text();
            return true;
        });
        ButtonOf(SimPath(1))->click();
        QCOMPARE(answerer.seen, dialogs);
        QCOMPARE(PairDeviceChosen, paired);
        if (paired) {
            QCOMPARE(PairDeviceInfo.path, QString(SimPath(1)));
            QVERIFY(!PairFromDeviceWindow);
        }
        if (mouseImage && !receiverImage)
            QCOMPARE(warning, MouseUpdateNoticeText);
        QCOMPARE(bus.events.contains("SigChangeMainDialog(1)"), opened);
        QCOMPARE(int(DeviceWindowActive), opened ? 1 : 0);
    }

    // The question stays open while the receiver is pulled out: the page rebuilds under it, and the
    // answer must not pair a device that is gone (nor touch the pressed button it has replaced).
    void deviceGoneWhileQuestionOpen()
    {
        RegistryStore(MouseDriveTestKey()).SetValue(QStringLiteral("MouseVer2818"), QStringLiteral("v1.03"));
        Load({Receiver(0, 1, 0xF5D2), Receiver(1, 1, 0xF5D4, false)});
        OpenPage();
        const QString gone = QString(SimPath(1));
        QPointer<mytoolButtonEnter> pressed = ButtonOf(SimPath(1));
        QVERIFY(pressed);

        bool detached = false;
        ModalAnswerer answerer([&](QWidget* dialog) {
            auto* question = qobject_cast<RePair*>(dialog);
            if (!question)
                return true;
            if (!detached) {
                SimControl_SetAttached(1, 0);
                detached = true;
            }
            if (Paths(ListedDevices).contains(gone))
                return false; // wait for the rebuild
            QTest::mouseClick(question->findChild<QToolButton*>("OK"), Qt::LeftButton);
            return false;
        });
        pressed->click();
        QCOMPARE(answerer.seen, QStringList{"RePair"});
        QVERIFY(!PairDeviceChosen);
        QCOMPARE(Paths(ListedDevices), QStringList{QString(SimPath(0))});
        QVERIFY(Button(0));
        QCOMPARE(Button(0)->DeviceIndex(), 0);
        QVERIFY(!Button(1));
        // The replaced button goes once the press has been handled.
        QTRY_VERIFY(!pressed);
    }

    void rePairAnswers_data()
    {
        QTest::addColumn<QString>("how");
        QTest::addColumn<bool>("confirmed");
        QTest::newRow("OK") << "OK" << true;
        QTest::newRow("Cancel") << "Cancel" << false;
        QTest::newRow("close button") << "CloseButton" << false;
        QTest::newRow("Esc") << "Esc" << false;
        QTest::newRow("Return") << "Return" << false;
    }

    void rePairAnswers()
    {
        QFETCH(QString, how);
        QFETCH(bool, confirmed);
        RePair question(nullptr);
        ModalAnswerer answerer([&](QWidget* dialog) {
            if (how == QLatin1String("Esc"))
                QTest::keyClick(dialog, Qt::Key_Escape);
            else if (how == QLatin1String("Return"))
                QTest::keyClick(dialog->findChild<QToolButton*>("Cancel"), Qt::Key_Return);
            else
                QTest::mouseClick(dialog->findChild<QToolButton*>(how), Qt::LeftButton);
            return true;
        });
        question.exec();
        QCOMPARE(answerer.seen, QStringList{"RePair"});
        QCOMPARE(question.IsConfirm, confirmed);
        QCOMPARE(question.findChild<QLabel*>("label")->text(), UiText::Text(UiLanguage, "home", "Repair"));
        QCOMPARE(question.findChild<QToolButton*>("Cancel")->text(), UiText::Text(UiLanguage, "common", "Cancel"));
    }

    void languageChoice()
    {
        Load({});
        OpenPage();
        auto* combo = Child<QComboBox>(QStringLiteral("comboBox"));
        QCOMPARE(combo->itemText(2), QStringLiteral("Русский"));
        QSignalSpy all(PostMsg::Instance(), &PostMsg::SigAllLanguage);
        QSignalSpy same(PostMsg::Instance(), &PostMsg::SigLanguageSameB);
        QSignalSpy activated(combo, QOverload<int>::of(&QComboBox::activated));
        emit combo->activated(2);
        QCOMPARE(UiLanguage, 2);
        QCOMPARE(UserIniStore::Instance()->Language(), 2);
        QCOMPARE(all.size(), 1);
        QCOMPARE(same.size(), 1);
        QCOMPARE(Child<QLabel>(QStringLiteral("label_2"))->text(), UiText::Text(2, "home", "PleaseEnter"));

        // Mirroring the settings page's choice changes the box without a signal of its own.
        emit PostMsg::Instance()->SigLanguageSameA(1);
        QCOMPARE(combo->currentIndex(), 1);
        QCOMPARE(activated.size(), 1);
        emit combo->activated(0);
        QCOMPARE(UiLanguage, 0);
    }

    void repairAfterFailedUpgrade()
    {
        Load({});
        OpenPage();
        QVERIFY(Child(QStringLiteral("Repair"))->isHidden());
        QCOMPARE(Child<QLabel>(QStringLiteral("label_2"))->text(), UiText::Text(UiLanguage, "home", "PleaseEnter"));
        RegistryStore(MouseDriveTestKey()).SetValue(QStringLiteral("UpdateFailInfo"), QStringLiteral("211"));
        StartUsbChanged(SelectPageUsbChangedCallback, 600);
        Settle();
        QVERIFY(!Child(QStringLiteral("Repair"))->isHidden());
        QCOMPARE(Child<QLabel>(QStringLiteral("label_2"))->text(), UiText::Text(UiLanguage, "home", "RepairDevice"));
        emit PostMsg::Instance()->SigUpDateButton(true);
        QVERIFY(Child(QStringLiteral("Repair"))->isHidden());
        QCOMPARE(Child<QLabel>(QStringLiteral("label_2"))->text(), UiText::Text(UiLanguage, "home", "PleaseEnter"));
    }

    // With KESTRO_SHOT_DIR set: the page and the re-pair question in the three languages, as PNGs.
    void screenshots()
    {
        const QString folder = qEnvironmentVariable("KESTRO_SHOT_DIR");
        if (folder.isEmpty())
            QSKIP("KESTRO_SHOT_DIR not set");
        {
            SimulatedDevices shipped;
            OpenPage();
            page->show();
            QVERIFY(page->grab().save(folder + QStringLiteral("/selection-shipped.png")));
            delete page;
        }
        // A mouse on its cable, a receiver whose mouse is off, one whose mouse answers, an unknown receiver.
        Load({Cable(1), Receiver(0, 2, 0xF5D3, false), Receiver(4, 2, 0xF5D2), Receiver(5, 3, 0xF5D5)});
        OpenPage();
        page->show();
        for (int language = 0; language < 3; ++language) {
            UiLanguage = language;
            emit PostMsg::Instance()->SigAllLanguage(language);
            emit PostMsg::Instance()->SigLanguageSameA(language);
            QCoreApplication::processEvents();
            QVERIFY(page->grab().save(folder + QStringLiteral("/selection-%1.png").arg(language)));
            Child<QToolButton>(QStringLiteral("RightButton"))->click();
            QVERIFY(page->grab().save(folder + QStringLiteral("/selection-%1-page2.png").arg(language)));
            Child<QToolButton>(QStringLiteral("LeftButton"))->click();
            RePair question(nullptr);
            question.show();
            QVERIFY(question.grab().save(folder + QStringLiteral("/repair-%1.png").arg(language)));
        }
        UiLanguage = 0;
        emit PostMsg::Instance()->SigAllLanguage(0);
        Load({});
        StartUsbChanged(SelectPageUsbChangedCallback, 600);
        Settle();
        QVERIFY(page->grab().save(folder + QStringLiteral("/selection-empty.png")));
        // After a failed upgrade, with the new-firmware tip, in the language with the longest texts.
        RegistryStore(MouseDriveTestKey()).SetValue(QStringLiteral("UpdateFailInfo"), QStringLiteral("211"));
        UiLanguage = 2;
        emit PostMsg::Instance()->SigAllLanguage(2);
        StartUsbChanged(SelectPageUsbChangedCallback, 600);
        Settle();
        Child(QStringLiteral("FindVer"))->show();
        QVERIFY(page->grab().save(folder + QStringLiteral("/selection-repair-2.png")));
        UiLanguage = 0;
        emit PostMsg::Instance()->SigAllLanguage(0);
    }
};

QTEST_MAIN(SelectionPageTest)
#include "tst_selectionpage.moc"
