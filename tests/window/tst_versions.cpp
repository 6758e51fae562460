#include "support/DeviceThreadTestMain.h"
#include "app/Dialog.h"
#include "app/PreVier.h"
#include "device/ConnectionState.h"
#include "device/DeviceDiscovery.h"
#include "device/DeviceState.h"
#include "device/PostMsg.h"
#include "device/Worker.h"
#include "pages/settings/FormSetting.h"
#include "support/FindChild.h"
#include "support/OpenInDeviceWindow.h"
#include "support/SettleDevices.h"
#include "support/SimulatedDeviceFixture.h"
#include "widgets/UiText.h"
#include "widgets/UiTextTables.h"

#include <QLabel>
#include <QToolButton>
#include <QtTest>


// The firmware versions of the opened device on the summary and settings pages of the device window,
// with the simulated devices: what the device library reports shows, and stays on show.
class TestVersions : public QObject
{
    Q_OBJECT
    TestHome home;
    SimulatedDevices devices;

    // The label shows its whole text inside the page it lies on; what is wrong, when something is.
    static QString Shows(const QLabel* label, const QWidget* page, const QString& text)
    {
        const QRect shape(label->mapTo(page, QPoint(0, 0)), label->size());
        if (label->text() != text)
            return QStringLiteral("%1 shows \"%2\", not \"%3\"").arg(label->objectName(), label->text(), text);
        if (!label->isVisibleTo(page))
            return label->objectName() + QStringLiteral(" is hidden");
        if (!page->rect().contains(shape))
            return label->objectName() + QStringLiteral(" lies outside its page");
        if (label->fontMetrics().horizontalAdvance(text) > label->contentsRect().width())
            return label->objectName() + QStringLiteral(" cuts its text");
        return QString();
    }

    // Opens the device as the selection page does and waits until its record and version arrived.
    static void OpenDevice(const DeviceAllInfo& device)
    {
        QVERIFY(OpenInDeviceWindow(device));
        QTRY_VERIFY_WITH_TIMEOUT(!CurrentDeviceInfo.Get().firmwareVersion.isEmpty(), 10000);
        QVERIFY(SettleDevices());
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

    void openedDeviceShowsItsVersions_data()
    {
        QTest::addColumn<int>("opened");
        QTest::addColumn<int>("unplugged");
        QTest::addColumn<bool>("withReceiver");
        QTest::addColumn<int>("language");
        // Devices of the description: 0 the receiver with its mouse, 1 a wired mouse of another model,
        // 2 the receiver's mouse on its own cable.
        QTest::newRow("receiver") << 0 << 2 << true << 0;
        QTest::newRow("receiver, Russian") << 0 << 2 << true << 2;
        QTest::newRow("wired mouse") << 1 << 2 << false << 0;
        QTest::newRow("wired mouse, Chinese") << 1 << 2 << false << 1;
        QTest::newRow("mouse on its cable beside its receiver") << 2 << 1 << true << 0;
    }
    void openedDeviceShowsItsVersions()
    {
        QFETCH(int, opened);
        QFETCH(int, unplugged);
        QFETCH(bool, withReceiver);
        QFETCH(int, language);
        devices.Reset();
        QVERIFY(SimControl_DeviceCount() == 3);
        for (int device = 0; device < 3; ++device)
            SimControl_SetAttached(device, device != unplugged);
        const QByteArray path = devices.Path(opened);
        UiLanguage = language;
        CurrentDeviceInfo.Set(DeviceAllInfo());

        Dialog window;
        auto* summary = window.findChild<PreVier*>();
        auto* settings = window.findChild<FormSetting*>();
        QVERIFY(summary && settings);
        // The record the selection page holds of the device.
        DeviceAllInfo device;
        QCOMPARE(IdentifyDevice(&device, path.constData()), 1);
        device.path = QString::fromLatin1(path);
        uint8_t attribute[HIDUSB_USB_ATTRIBUTE_SIZE] = {};
        QVERIFY(VidEzorarA_GetUsbDeviceAttribute(path.constData(), attribute));
        device.version = VersionText(uint16_t(attribute[8] | attribute[9] << 8));
        QCOMPARE(device.wired, opened != 0);
        OpenDevice(device);
        if (QTest::currentTestFailed())
            return;
        // The device window's attach/detach callback runs once when the window registers it.
        HandleMainPageUsbChanged();
        QVERIFY(SettleDevices());

        // The mouse's own firmware as the device reports it; the receiver's own, also when the mouse
        // is on its cable beside it, and none beside a mouse of another model.
        const QString mouseVersion = VersionText(SimControl_GetFirmwareVersion(opened));
        const QString receiverVersion = withReceiver ? VersionText(SimControl_GetReceiverFirmwareVersion(0)) : QString();
        QVERIFY(!mouseVersion.isEmpty());
        QVERIFY(mouseVersion != VersionText(SimControl_GetReceiverFirmwareVersion(0)));

        window.show();
        QTest::mouseClick(Child<QToolButton>(window, "PreButton"), Qt::LeftButton);
        QVERIFY(summary->isVisible());
        QCOMPARE(Shows(Child<QLabel>(*summary, "MouseValue"), summary, mouseVersion), QString());
        QCOMPARE(Shows(Child<QLabel>(*summary, "DongleValue"), summary, receiverVersion), QString());
        QVERIFY(window.grab().save(QStringLiteral("/tmp/versions-summary-%1-%2.png").arg(opened).arg(language)));

        QTest::mouseClick(Child<QToolButton>(window, "FormSetting"), Qt::LeftButton);
        QVERIFY(settings->isVisible());
        QCOMPARE(Shows(Child<QLabel>(*settings, "label_7"), settings, mouseVersion), QString());
        QCOMPARE(Shows(Child<QLabel>(*settings, "label_5"), settings, receiverVersion), QString());
        QVERIFY(window.grab().save(QStringLiteral("/tmp/versions-settings-%1-%2.png").arg(opened).arg(language)));

        // A change of language keeps the versions in view.
        for (int next : {1, 2, 0}) {
            UiLanguage = next;
            emit PostMsg::Instance()->SigAllLanguage(next);
            QCOMPARE(Shows(Child<QLabel>(*settings, "label_7"), settings, mouseVersion), QString());
            QCOMPARE(Shows(Child<QLabel>(*settings, "label_5"), settings, receiverVersion), QString());
            QCOMPARE(Shows(Child<QLabel>(*summary, "MouseValue"), summary, mouseVersion), QString());
            QCOMPARE(Shows(Child<QLabel>(*summary, "DongleValue"), summary, receiverVersion), QString());
            // The profile name, the longest value of the summary, beside them.
            const QLabel* profile = Child<QLabel>(*summary, "ConfigValue");
            QVERIFY(!profile->text().isEmpty());
            QCOMPARE(Shows(profile, summary, profile->text()), QString());
        }

        DeviceWindowActive = 0;
        WorkerInstance->Stop();
        QTRY_VERIFY_WITH_TIMEOUT(SimControl_WaitIdle(10), 10000);
        FoundDeviceList.clear();
        CurrentDeviceInfo.Set(DeviceAllInfo());
    }
};

KESTRO_DEVICE_THREAD_TEST_MAIN(TestVersions)
#include "tst_versions.moc"
