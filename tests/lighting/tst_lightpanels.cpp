#include "device/DeviceState.h"
#include "device/PostMsg.h"
#include "pages/lighting/MouseLight.h"
#include "pages/lighting/OneLed.h"
#include "pages/lighting/ReceiveLight.h"
#include "pages/lighting/ReceiverLightRecords.h"
#include "pages/lighting/ReceiverRefusalNotice.h"
#include "pages/lighting/ThreeLed.h"
#include "ReceiverFixture.h"
#include "support/FindChild.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QSignalSpy>
#include <QSlider>
#include <QSpinBox>
#include <QToolButton>
#include <QtTest>

// The receiver indicator panels and the two light panels on the simulated receiver: what a user's
// choice sends, what a refusal or an absent mouse puts back, and which controls each mode shows.
class TestLightPanels : public QObject, protected ReceiverCase
{
    Q_OBJECT

    static QCheckBox* Box(OneLed& panel, int index)
    {
        const char* names[3] = {"ReUntil", "ReUntil_2", "ReUntil_3"};
        return Child<QCheckBox>(panel, names[index]);
    }

private slots:
    void initTestCase()
    {
        home.MakeUserFolders();
    }
    void init()
    {
        QVERIFY(fixture.Open());
    }
    void cleanup()
    {
        if (QWidget* notice = ReceiverRefusalNotice::Shown())
            notice->close();
    }

    // A click on a meaning box: with writes off only the box changes; with the mouse away the
    // standing choice comes back with one notice and nothing sent; online the new meaning goes to
    // the receiver once, as byte 0 of the whole record. A meaning the receiver refuses leaves the
    // standing box, the record and the receiver as they were, and the receiver's notice tells it.
    void meaningClick_data()
    {
        QTest::addColumn<bool>("writes");
        QTest::addColumn<bool>("online");
        QTest::addColumn<bool>("refusing");
        QTest::addColumn<int>("standing"); // box checked before the click, -1 none
        QTest::addColumn<int>("clicked");
        QTest::addColumn<int>("checkedAfter");
        QTest::addColumn<int>("sends"); // writes the receiver took
        QTest::addColumn<int>("notices");
        QTest::addColumn<bool>("told"); // the receiver's refusal notice
        QTest::newRow("writes off: the box only") << false << true << false << 0 << 2 << 2 << 0 << 0 << false;
        QTest::newRow("offline: the standing box back, one notice") << true << false << false << 0 << 2 << 0 << 0 << 1 << false;
        QTest::newRow("offline with none standing: none checked") << true << false << false << -1 << 1 << -1 << 0 << 1 << false;
        QTest::newRow("offline from the last box") << true << false << false << 2 << 0 << 2 << 0 << 1 << false;
        QTest::newRow("online: one send") << true << true << false << 0 << 2 << 2 << 1 << 0 << false;
        QTest::newRow("online with none standing") << true << true << false << -1 << 1 << 1 << 1 << 0 << false;
        QTest::newRow("the checked box sends nothing") << true << true << false << 1 << 1 << 1 << 0 << 0 << false;
        QTest::newRow("refused: the standing box back, told") << true << true << true << 0 << 2 << 0 << 0 << 0 << true;
        QTest::newRow("refused with none standing") << true << true << true << -1 << 1 << -1 << 0 << 0 << true;
    }
    void meaningClick()
    {
        QFETCH(bool, writes);
        QFETCH(bool, online);
        QFETCH(bool, refusing);
        QFETCH(int, standing);
        QFETCH(int, clicked);
        QFETCH(int, checkedAfter);
        QFETCH(int, sends);
        QFETCH(int, notices);
        QFETCH(bool, told);
        SimControl_SetReceiverRefusesIndicator(fixture.receiver, refusing ? 1 : 0);
        OneLed panel;
        panel.SetMeaningQuiet(standing);
        const uint8_t before = uint8_t(standing + 1);
        DongleRGBRecord->bytes[0] = before;
        DongleRGBRecord->bytes[5] = 0x5A; // the rest of the record goes out as it is
        const QByteArray heldBefore = fixture.Held(SIMCONTROL_RECEIVER_INDICATOR);
        fixture.SetMouseOnline(online);
        UserWritesEnabled = writes;
        QSignalSpy offline(PostMsg::Instance(), &PostMsg::SigMouseOffLineo);

        Box(panel, clicked)->click();

        QCOMPARE(panel.CheckedMeaning(), checkedAfter);
        for (int i = 0; i < 3; ++i)
            QCOMPARE(Box(panel, i)->isChecked(), i == checkedAfter);
        QCOMPARE(SimControl_ReceiverWriteCount(SIMCONTROL_RECEIVER_INDICATOR), sends + (refusing ? 1 : 0));
        QCOMPARE(offline.count(), notices);
        QCOMPARE(ReceiverRefusalNotice::Shown() != nullptr, told);
        if (sends) {
            QCOMPARE(int(DongleRGBRecord->bytes[0]), clicked + 1);
            QCOMPARE(fixture.Held(SIMCONTROL_RECEIVER_INDICATOR),
                     QByteArray(reinterpret_cast<const char*>(DongleRGBRecord->bytes), 10));
        } else {
            QCOMPARE(int(DongleRGBRecord->bytes[0]), int(before));
            QCOMPARE(fixture.Held(SIMCONTROL_RECEIVER_INDICATOR), heldBefore);
        }
    }

    // The page's two ways of checking a box: quietly during its refreshes, live for a reported meaning.
    void meaningFromThePage()
    {
        OneLed panel;
        panel.SetMeaningQuiet(1);
        QCOMPARE(panel.CheckedMeaning(), 1);
        QCOMPARE(SimControl_ReceiverWriteCount(SIMCONTROL_RECEIVER_INDICATOR), 0);
        panel.SetMeaning(1);
        QCOMPARE(SimControl_ReceiverWriteCount(SIMCONTROL_RECEIVER_INDICATOR), 0);
        panel.SetMeaning(2);
        QCOMPARE(SimControl_ReceiverWriteCount(SIMCONTROL_RECEIVER_INDICATOR), 1);
        QCOMPARE(int(fixture.Held(SIMCONTROL_RECEIVER_INDICATOR).at(0)), 3);
        for (int outside : {-1, 3, 7}) {
            panel.SetMeaning(outside);
            panel.SetMeaningQuiet(outside);
        }
        QCOMPARE(panel.CheckedMeaning(), 2);
        QCOMPARE(SimControl_ReceiverWriteCount(SIMCONTROL_RECEIVER_INDICATOR), 1);
    }

    // One LED's choice: sent as the whole record, followed by one push of the mouse's record when
    // the receiver takes it. Nothing is sent for the same item, during a refresh or with writes off.
    // A refused choice puts the LED's list and byte back and is told.
    void ledChoice_data()
    {
        QTest::addColumn<int>("led");
        QTest::addColumn<int>("item");
        QTest::addColumn<bool>("writes");
        QTest::addColumn<bool>("refreshing");
        QTest::addColumn<bool>("online");
        QTest::addColumn<int>("sends");
        QTest::addColumn<int>("pushes");
        QTest::addColumn<int>("notices");
        QTest::addColumn<bool>("refusing");
        QTest::addColumn<bool>("told"); // the receiver's refusal notice
        QTest::newRow("LED1 taken") << 0 << 3 << true << false << true << 1 << 1 << 0 << false << false;
        QTest::newRow("LED2 taken") << 1 << 0 << true << false << true << 1 << 1 << 0 << false << false;
        QTest::newRow("LED3 taken") << 2 << 1 << true << false << true << 1 << 1 << 0 << false << false;
        QTest::newRow("the same item sends nothing") << 1 << 2 << true << false << true << 0 << 0 << 0 << false << false;
        QTest::newRow("during a refresh nothing") << 1 << 0 << true << true << true << 0 << 0 << 0 << false << false;
        QTest::newRow("writes off nothing") << 1 << 0 << false << false << true << 0 << 0 << 0 << false << false;
        // The receiver takes the LEDs without its mouse; the notice still tells that the mouse is away.
        QTest::newRow("mouse away: taken, told") << 1 << 0 << true << false << false << 1 << 0 << 1 << false << false;
        // A refusal puts the LED back and says so; with the mouse away the offline notice says it.
        QTest::newRow("refused: back, told") << 2 << 0 << true << false << true << 0 << 0 << 0 << true << true;
        QTest::newRow("refused, mouse away: the offline notice") << 2 << 0 << true << false << false << 0 << 0 << 1 << true << false;
    }
    void ledChoice()
    {
        QFETCH(int, led);
        QFETCH(int, item);
        QFETCH(bool, writes);
        QFETCH(bool, refreshing);
        QFETCH(bool, online);
        QFETCH(int, sends);
        QFETCH(int, pushes);
        QFETCH(int, notices);
        QFETCH(bool, refusing);
        QFETCH(bool, told);
        const QByteArray start = Bytes({1, 2, 3});
        fixture.Hold(SIMCONTROL_RECEIVER_INDICATOR_LEDS, start);
        ThreeLed panel;
        panel.SetLed1Mode(1);
        panel.SetLed2Mode(2);
        panel.SetLed3Mode(3);
        *DongleIndicatorLedImage = DongleIndicatorLed{{1, 2, 3}};
        for (int i = 0; i < 3; ++i)
            LastIndicatorLedModes[i] = i + 1;
        fixture.SetMouseOnline(online);
        SimControl_SetReceiverRefusesLights(fixture.receiver, refusing ? 1 : 0);
        UserWritesEnabled = writes;
        LightPageRefreshing = refreshing;
        const int updates = SimControl_UpdateCount();
        QSignalSpy offline(PostMsg::Instance(), &PostMsg::SigMouseOffLineo);
        QComboBox* const combos[3] = {Child<QComboBox>(panel, "LightMod_3"), Child<QComboBox>(panel, "LightMod_4"),
                                      Child<QComboBox>(panel, "LightMod_5")};

        combos[led]->setCurrentIndex(item);
        LightPageRefreshing = false;

        QByteArray expected = start;
        if (sends)
            expected[led] = char(item);
        QCOMPARE(SimControl_ReceiverWriteCount(SIMCONTROL_RECEIVER_INDICATOR_LEDS), sends + (refusing ? 1 : 0));
        QCOMPARE(fixture.Held(SIMCONTROL_RECEIVER_INDICATOR_LEDS), expected);
        QCOMPARE(BytesOf(DongleIndicatorLedImage), expected);
        QCOMPARE(SimControl_UpdateCount() - updates, pushes);
        QCOMPARE(offline.count(), notices);
        QCOMPARE(ReceiverRefusalNotice::Shown() != nullptr, told);
        QCOMPARE(LastIndicatorLedModes[led], sends ? item : led + 1);
        QCOMPARE(combos[led]->currentIndex(), refusing ? led + 1 : item);
    }

    // A refused LED2 puts back combo 2 and byte 1 only, to the item last taken; nothing is pushed.
    // Told to take writes again, the receiver takes the next change, which pushes once.
    void refusedLedRestoresOnlyItself()
    {
        fixture.Hold(SIMCONTROL_RECEIVER_INDICATOR_LEDS, Bytes({1, 2, 3}));
        ThreeLed panel;
        panel.SetLed1Mode(1);
        panel.SetLed2Mode(2);
        panel.SetLed3Mode(3);
        *DongleIndicatorLedImage = DongleIndicatorLed{{1, 2, 3}};
        for (int i = 0; i < 3; ++i)
            LastIndicatorLedModes[i] = i + 1;
        QComboBox* led1 = Child<QComboBox>(panel, "LightMod_3");
        QComboBox* led2 = Child<QComboBox>(panel, "LightMod_4");
        QComboBox* led3 = Child<QComboBox>(panel, "LightMod_5");
        led1->setCurrentIndex(0); // taken: bytes 0 and 2 no longer what the page showed first
        const int updates = SimControl_UpdateCount();

        SimControl_SetReceiverRefusesLights(fixture.receiver, 1);
        led2->setCurrentIndex(3);
        QCOMPARE(led2->currentIndex(), 2);
        QCOMPARE(led1->currentIndex(), 0);
        QCOMPARE(led3->currentIndex(), 3);
        QCOMPARE(BytesOf(DongleIndicatorLedImage), Bytes({0, 2, 3}));
        QCOMPARE(fixture.Held(SIMCONTROL_RECEIVER_INDICATOR_LEDS), Bytes({0, 2, 3}));
        QCOMPARE(SimControl_UpdateCount(), updates);
        QCOMPARE(LastIndicatorLedModes[1], 2);
        QVERIFY(ReceiverRefusalNotice::Shown());

        SimControl_SetReceiverRefusesLights(fixture.receiver, 0);
        led2->setCurrentIndex(1);
        QCOMPARE(fixture.Held(SIMCONTROL_RECEIVER_INDICATOR_LEDS), Bytes({0, 1, 3}));
        QCOMPARE(SimControl_UpdateCount(), updates + 1);
        QCOMPARE(LastIndicatorLedModes[1], 1);
    }

    // The controls each light mode shows, in both light panels: 0 the two flat bars, 1, 4 and 5
    // brightness and speed, 2 colour too, 3 colour and brightness, 6 brightness; 7 changes nothing.
    void modeRows_data()
    {
        QTest::addColumn<bool>("receiverPanel");
        QTest::addColumn<int>("mode");
        QTest::addColumn<QString>("shown"); // L brightness, S speed, C colour, l and s the flat bars
        const char* rows[8] = {"ls", "LS", "LSC", "LCs", "LS", "LS", "Ls", "ls"};
        for (bool receiverPanel : {false, true}) {
            for (int mode = 0; mode < 8; ++mode)
                QTest::addRow("%s mode %d", receiverPanel ? "receiver" : "mouse", mode)
                    << receiverPanel << mode << QString::fromLatin1(rows[mode]);
        }
    }
    void modeRows()
    {
        QFETCH(bool, receiverPanel);
        QFETCH(int, mode);
        QFETCH(QString, shown);
        MouseLight mouse;
        ReceiveLight bar;
        LightPanel* panel = receiverPanel ? static_cast<LightPanel*>(&bar) : &mouse;
        const char* sfx = receiverPanel ? "_2" : "";
        const auto name = [&](const char* mouseName, const char* barName) {
            return receiverPanel ? barName : mouseName;
        };
        LightPageRefreshing = true; // the page shows values: nothing is written
        panel->SetLightMode(2);
        panel->SetLightMode(mode);
        LightPageRefreshing = false;
        if (mode == 7)
            shown = QStringLiteral("LSC"); // the rows of the mode before
        const auto visible = [&](const char* object) { return !Child<QWidget>(*panel, object)->isHidden(); };
        QCOMPARE(visible(name("horizontalLight", "horizontalLight_2")), shown.contains('L'));
        QCOMPARE(visible(name("LightSpinBox_2", "LightSpinBox_3")), shown.contains('L'));
        QCOMPARE(visible(name("horizontalSpeed", "horizontalSpeed_2")), shown.contains('S'));
        QCOMPARE(visible(name("SpeedSpinBox_2", "SpeedSpinBox_3")), shown.contains('S'));
        QCOMPARE(visible(name("line", "line_3")), shown.contains('l'));
        QCOMPARE(visible(name("line_2", "line_4")), shown.contains('s'));
        for (const QByteArray& colour : {QByteArray("RSpinBox"), QByteArray("AddB"), QByteArray("toolButtonColorN")})
            QCOMPARE(visible((colour + sfx).constData()), shown.contains('C'));
        QCOMPARE(visible(name("label_7", "label_24")), shown.contains('C'));
        QCOMPARE(visible(name("labelPreView", "labelPreView_2")), shown.contains('C'));
        // Never touched by a mode.
        QVERIFY(visible(name("LightMod", "LightMod_2")));
        QVERIFY(visible(name("label_2", "label_14")));
        QCOMPARE(SimControl_UpdateCount(), 0);
        QCOMPARE(ReceiverFixture::ReceiverWrites(), 0);
    }

    // Built, the mouse panel shows mode 0's controls; the receiver panel everything but the bars.
    void modeRowsBeforeTheFirstChange()
    {
        MouseLight mouse;
        ReceiveLight bar;
        QVERIFY(Child<QWidget>(mouse, "horizontalLight")->isHidden());
        QVERIFY(!Child<QWidget>(mouse, "line")->isHidden());
        QVERIFY(!Child<QWidget>(bar, "horizontalLight_2")->isHidden());
        QVERIFY(!Child<QWidget>(bar, "RSpinBox_2")->isHidden());
        QVERIFY(Child<QWidget>(bar, "line_3")->isHidden());
        QVERIFY(Child<QWidget>(bar, "line_4")->isHidden());
        bar.SetLightMode(0); // no change of the list: no mode's controls
        QVERIFY(!Child<QWidget>(bar, "horizontalLight_2")->isHidden());
    }

    // The mouse light's mode: off writes 0x5E = 0 and then 0x0B = 0 in a second push and keeps
    // 0x58; another mode writes 0x5E = 1 and 0x58; a refusal puts the list back without a write.
    void mouseLightMode_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<bool>("online");
        QTest::addColumn<int>("pushes");
        QTest::newRow("off, two pushes") << 0 << true << 2;
        QTest::newRow("mode 3") << 3 << true << 1;
        QTest::newRow("offline: back to the standing mode") << 3 << false << 0;
    }
    void mouseLightMode()
    {
        QFETCH(int, mode);
        QFETCH(bool, online);
        QFETCH(int, pushes);
        MouseLight panel;
        QComboBox* list = Child<QComboBox>(panel, "LightMod");
        QToolButton* movingOff = Child<QToolButton>(panel, "RippeControl");
        LightPageRefreshing = true;
        panel.SetLightMode(5);
        panel.SetRippeControl(true);
        LightPageRefreshing = false;
        LastMouseLightMode = 5;
        fixture.SetMouseOnline(online);
        const int updates = SimControl_UpdateCount();
        FlashDataMap expected = fixture.devices.Record(fixture.receiver);
        QSignalSpy offline(PostMsg::Instance(), &PostMsg::SigMouseOffLineo);

        list->setCurrentIndex(mode);

        QCOMPARE(SimControl_UpdateCount() - updates, pushes);
        if (online) {
            expected.lightOn = mode != 0;
            if (mode != 0)
                expected.lightMode = uint8_t(mode);
            else
                expected.movingOffLight = 0;
            QCOMPARE(fixture.devices.RecordDifferences(fixture.receiver, expected), QString());
            QCOMPARE(LastMouseLightMode, mode);
            QCOMPARE(movingOff->isChecked(), mode != 0);
            QCOMPARE(offline.count(), 0);
        } else {
            QCOMPARE(list->currentIndex(), 5);
            QCOMPARE(LastMouseLightMode, 5);
            QVERIFY(!Child<QWidget>(panel, "horizontalSpeed")->isHidden()); // mode 5's rows stay
            QCOMPARE(offline.count(), 1);
        }
    }

    // The light bar's mode: off sends byte 0 = 0 and the on byte 0, then pushes once; a refusal
    // puts the list back and the record as it was.
    void receiverLightMode_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<bool>("refusing");
        QTest::newRow("off") << 0 << false;
        QTest::newRow("mode 2") << 2 << false;
        QTest::newRow("refused") << 2 << true;
    }
    void receiverLightMode()
    {
        QFETCH(int, mode);
        QFETCH(bool, refusing);
        const QByteArray start = Bytes({4, 10, 20, 30, 1, 2, 1});
        fixture.Hold(SIMCONTROL_RECEIVER_LIGHT_BAR, start);
        ReceiveLight panel;
        QComboBox* list = Child<QComboBox>(panel, "LightMod_2");
        LightPageRefreshing = true;
        panel.SetLightMode(4);
        LightPageRefreshing = false;
        LastReceiverLightMode = 4;
        *DongleRGBBarImage = DongleRGBBar{4, 10, 20, 30, 1, 2, 1};
        SimControl_SetReceiverRefusesLights(fixture.receiver, refusing ? 1 : 0);
        const int updates = SimControl_UpdateCount();

        list->setCurrentIndex(mode);

        const QByteArray sent = Bytes({mode, 10, 20, 30, 1, 2, mode != 0});
        QCOMPARE(BytesOf(DongleRGBBarImage), refusing ? start : sent);
        QCOMPARE(SimControl_ReceiverWriteCount(SIMCONTROL_RECEIVER_LIGHT_BAR), 1);
        QCOMPARE(fixture.Held(SIMCONTROL_RECEIVER_LIGHT_BAR), refusing ? start : sent);
        QCOMPARE(SimControl_UpdateCount() - updates, refusing ? 0 : 1);
        QCOMPARE(list->currentIndex(), refusing ? 4 : mode);
        QCOMPARE(LastReceiverLightMode, refusing ? 4 : mode);
    }

    // The colour shown: the three boxes, then the preview square in exactly the preview style. The
    // page holds the boxes' signals back meanwhile, so nothing is written.
    void rgbShowsThePreview()
    {
        MouseLight mouse;
        ReceiveLight bar;
        mouse.BlockValueSignals(true);
        bar.BlockValueSignals(true);
        mouse.SetRGB(255, 0, 18);
        bar.SetRGB(7, 128, 0);
        QCOMPARE(Child<QSpinBox>(mouse, "RSpinBox")->value(), 255);
        QCOMPARE(Child<QSpinBox>(mouse, "BSpinBox")->value(), 18);
        QCOMPARE(Child<QLabel>(mouse, "labelPreView")->styleSheet(),
                 QStringLiteral("QLabel{background-color: rgb(255,0,18);border: 2px solid  rgb(220,220,220);}"));
        QCOMPARE(Child<QLabel>(bar, "labelPreView_2")->styleSheet(),
                 QStringLiteral("QLabel{background-color: rgb(7,128,0);border: 2px solid  rgb(220,220,220);}"));
        QCOMPARE(SimControl_UpdateCount(), 0);
    }
};

QTEST_MAIN(TestLightPanels)
#include "tst_lightpanels.moc"
