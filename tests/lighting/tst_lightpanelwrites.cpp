#include "device/DeviceState.h"
#include "device/PostMsg.h"
#include "pages/lighting/LampLight.h"
#include "pages/lighting/MouseLight.h"
#include "pages/lighting/ReceiveLight.h"
#include "pages/lighting/ReceiverLightRecords.h"
#include "pages/lighting/ReceiverRefusalNotice.h"
#include "ReceiverFixture.h"
#include "support/FindChild.h"

#include <QComboBox>
#include <QLabel>
#include <QSignalSpy>
#include <QSlider>
#include <QSpinBox>
#include <QToolButton>
#include <QtTest>

namespace {

// A drag of a slider's handle as the slider sees it: pressed, moved to each position, released.
void Drag(QSlider* slider, std::initializer_list<int> positions)
{
    slider->setSliderDown(true);
    for (int position : positions)
        slider->setSliderPosition(position);
    slider->setSliderDown(false);
}

// A click on the groove after the handle: one page step up.
void GrooveClick(QSlider* slider)
{
    slider->triggerAction(QAbstractSlider::SliderPageStepAdd);
}

} // namespace

// The two light panels on test windows, on the simulated receiver and its mouse: the bytes each
// change of mode, brightness, speed, colour and the moving-off switch leaves in the mouse's record
// or the receiver's light bar, the pushes that go with them, and what a refusal puts back.
class TestLightPanelWrites : public QObject, protected ReceiverCase
{
    Q_OBJECT

    // The mouse's record with the light as the tests start it: mode 5, on, colour (11, 22, 33),
    // speed box 5 and brightness box 3, going out while moving; the panel shows it.
    void StartMouseLight(MouseLight& panel)
    {
        FlashDataMap record = fixture.devices.Record(fixture.receiver);
        record.lightMode = 5;
        record.lightOn = 1;
        record.lightRed = 11;
        record.lightGreen = 22;
        record.lightBlue = 33;
        record.lightSpeed = 4;
        record.lightBrightness = 2;
        record.movingOffLight = 1;
        SimControl_SetDeviceRecord(fixture.receiver, record.bytes());
        AdoptDeviceConfig(record);
        LightPageRefreshing = true;
        panel.BlockValueSignals(true);
        panel.SetLightValue(3);
        panel.SetLightSpinBox(3);
        panel.SetSpeedValue(5);
        panel.SetSpeedSpinBox(5);
        panel.SetRGB(11, 22, 33);
        panel.BlockValueSignals(false);
        panel.SetLightMode(5);
        panel.SetRippeControl(true);
        LightPageRefreshing = false;
        LastMouseLightMode = 5;
    }

    // The receiver's light bar as the tests start it: mode 4, colour (10, 20, 30), speed 2,
    // brightness 3, on; the panel shows it and remembers it as the lighting page does.
    static QByteArray ReceiverStart() { return Bytes({4, 10, 20, 30, 1, 2, 1}); }
    void StartReceiverLight(ReceiveLight& panel)
    {
        fixture.Hold(SIMCONTROL_RECEIVER_LIGHT_BAR, ReceiverStart());
        *DongleRGBBarImage = DongleRGBBar{4, 10, 20, 30, 1, 2, 1};
        LightPageRefreshing = true;
        panel.BlockValueSignals(true);
        panel.SetLightValue(3);
        panel.SetLightSpinBox(3);
        panel.SetSpeedValue(2);
        panel.SetSpeedSpinBox(2);
        panel.SetRGB(10, 20, 30);
        panel.BlockValueSignals(false);
        panel.SetLightMode(4);
        LightPageRefreshing = false;
        LastReceiverLightMode = 4;
        LastReceiverLightBrightness = 3;
        LastReceiverLightSpeed = 2;
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
        fixture.Close();
    }

    // ---- Mouse light panel ----

    // Off writes 0x5E = 0 and keeps the mode 0x58 in a first push; the switch goes off, and a
    // second push carries 0x0B = 0.
    void mouseLightOffPushesTwice()
    {
        MouseLight panel;
        panel.show();
        StartMouseLight(panel);
        FlashDataMap expected = fixture.devices.Record(fixture.receiver);
        auto* movingOff = Child<QToolButton>(panel, "RippeControl");
        QStringList atTheSwitch;
        connect(movingOff, &QToolButton::toggled, this, [&](bool on) {
            FlashDataMap pushed{};
            QVERIFY(SimControl_LastUpdate(pushed.bytes()));
            atTheSwitch << QStringLiteral("switch %1, pushes %2: 0x58 %3, 0x5E %4, 0x0B %5")
                               .arg(on)
                               .arg(SimControl_UpdateCount())
                               .arg(pushed.lightMode)
                               .arg(pushed.lightOn)
                               .arg(pushed.movingOffLight);
        });
        const int updates = SimControl_UpdateCount();

        Child<QComboBox>(panel, "LightMod")->setCurrentIndex(0);

        QCOMPARE(atTheSwitch, QStringList{QStringLiteral("switch 0, pushes %1: 0x58 5, 0x5E 0, 0x0B 1").arg(updates + 1)});
        QCOMPARE(SimControl_UpdateCount(), updates + 2);
        expected.lightOn = 0;
        expected.movingOffLight = 0;
        QCOMPARE(fixture.devices.RecordDifferences(fixture.receiver, expected), QString());
        QVERIFY(!movingOff->isChecked());
        QCOMPARE(LastMouseLightMode, 0);
    }

    // The brightness and speed sliders: a drag asks the mouse first and, without it, locks the
    // slider at the number shown until the page opens it; with writes off a drag moves the number
    // and a groove click does not; a written value moves the number, a refused one locks.
    void mouseSliders_data()
    {
        QTest::addColumn<bool>("speed");
        QTest::addColumn<bool>("drag"); // else a groove click
        QTest::addColumn<bool>("writes");
        QTest::addColumn<bool>("online");
        QTest::addColumn<int>("slider");
        QTest::addColumn<int>("box");
        QTest::addColumn<bool>("enabled");
        QTest::addColumn<int>("pushes");
        QTest::addColumn<int>("notices");
        for (bool speed : {false, true}) {
            const int start = speed ? 5 : 3;
            const char* name = speed ? "speed" : "brightness";
            QTest::addRow("%s: drag written", name) << speed << true << true << true << 8 << 8 << true << 1 << 0;
            QTest::addRow("%s: groove click written", name)
                << speed << false << true << true << start + 1 << start + 1 << true << 1 << 0;
            QTest::addRow("%s: writes off, a drag moves the number", name)
                << speed << true << false << true << 8 << 8 << true << 0 << 0;
            QTest::addRow("%s: writes off, a groove click does not", name)
                << speed << false << false << true << start + 1 << start << true << 0 << 0;
            QTest::addRow("%s: mouse away, a drag locks at the number", name)
                << speed << true << true << false << start << start << false << 0 << 1;
            QTest::addRow("%s: mouse away and writes off, a drag locks too", name)
                << speed << true << false << false << start << start << false << 0 << 1;
            QTest::addRow("%s: mouse away, a groove click locks at the number", name)
                << speed << false << true << false << start << start << false << 0 << 1;
        }
    }
    void mouseSliders()
    {
        QFETCH(bool, speed);
        QFETCH(bool, drag);
        QFETCH(bool, writes);
        QFETCH(bool, online);
        QFETCH(int, slider);
        QFETCH(int, box);
        QFETCH(bool, enabled);
        QFETCH(int, pushes);
        QFETCH(int, notices);
        MouseLight panel;
        panel.show();
        StartMouseLight(panel);
        FlashDataMap expected = fixture.devices.Record(fixture.receiver);
        QSlider* control = Child<QSlider>(panel, speed ? "horizontalSpeed" : "horizontalLight");
        QSpinBox* number = Child<QSpinBox>(panel, speed ? "SpeedSpinBox_2" : "LightSpinBox_2");
        fixture.SetMouseOnline(online);
        UserWritesEnabled = writes;
        const int updates = SimControl_UpdateCount();
        QSignalSpy offline(PostMsg::Instance(), &PostMsg::SigMouseOffLineo);

        if (drag)
            Drag(control, {7, 8});
        else
            GrooveClick(control);

        QCOMPARE(control->value(), slider);
        QCOMPARE(number->value(), box);
        QCOMPARE(control->isEnabled(), enabled);
        QCOMPARE(SimControl_UpdateCount() - updates, pushes);
        QCOMPARE(offline.count(), notices);
        if (pushes)
            (speed ? expected.lightSpeed : expected.lightBrightness) = uint8_t(slider - 1);
        QCOMPARE(fixture.devices.RecordDifferences(fixture.receiver, expected), QString());
        if (!enabled) {
            // Locked until the page opens the sliders: a click now puts the number back.
            GrooveClick(control);
            QCOMPARE(control->value(), box);
            QVERIFY(!control->isEnabled());
            panel.EnableSliders(true);
            QVERIFY(control->isEnabled());
            QCOMPARE(SimControl_UpdateCount() - updates, 0);
        }
    }

    // The moving-off switch: written when clicked; the mouse away puts it back with the notice;
    // with writes off or during a refresh it only changes.
    void mouseMovingOffSwitch_data()
    {
        QTest::addColumn<bool>("writes");
        QTest::addColumn<bool>("refreshing");
        QTest::addColumn<bool>("online");
        QTest::addColumn<bool>("checked");
        QTest::addColumn<int>("pushes");
        QTest::addColumn<int>("notices");
        QTest::newRow("written") << true << false << true << false << 1 << 0;
        QTest::newRow("mouse away: back on") << true << false << false << true << 0 << 1;
        QTest::newRow("writes off") << false << false << true << false << 0 << 0;
        QTest::newRow("page refreshing") << true << true << true << false << 0 << 0;
    }
    void mouseMovingOffSwitch()
    {
        QFETCH(bool, writes);
        QFETCH(bool, refreshing);
        QFETCH(bool, online);
        QFETCH(bool, checked);
        QFETCH(int, pushes);
        QFETCH(int, notices);
        MouseLight panel;
        panel.show();
        StartMouseLight(panel);
        FlashDataMap expected = fixture.devices.Record(fixture.receiver);
        auto* movingOff = Child<QToolButton>(panel, "RippeControl");
        fixture.SetMouseOnline(online);
        UserWritesEnabled = writes;
        LightPageRefreshing = refreshing;
        const int updates = SimControl_UpdateCount();
        QSignalSpy offline(PostMsg::Instance(), &PostMsg::SigMouseOffLineo);

        movingOff->click();
        LightPageRefreshing = false;

        QCOMPARE(movingOff->isChecked(), checked);
        QCOMPARE(SimControl_UpdateCount() - updates, pushes);
        QCOMPARE(offline.count(), notices);
        if (pushes)
            expected.movingOffLight = 0;
        QCOMPARE(fixture.devices.RecordDifferences(fixture.receiver, expected), QString());
    }

    // The colour boxes follow the keyboard: typing 255 into an emptied red box writes 2, 25, 255.
    void mouseColourFollowsTheKeyboard()
    {
        MouseLight panel;
        panel.show();
        StartMouseLight(panel);
        LightPageRefreshing = true;
        panel.SetLightMode(2);
        LightPageRefreshing = false;
        QSpinBox* red = Child<QSpinBox>(panel, "RSpinBox");
        QStringList reached;
        connect(red, QOverload<int>::of(&QSpinBox::valueChanged), this, [&] {
            const FlashDataMap held = fixture.devices.Record(fixture.receiver);
            reached << QStringLiteral("%1,%2,%3").arg(held.lightRed).arg(held.lightGreen).arg(held.lightBlue);
        });
        const int updates = SimControl_UpdateCount();

        QTest::keyClick(red, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(red, Qt::Key_Backspace);
        QTest::keyClicks(red, QStringLiteral("255"));

        QCOMPARE(reached, (QStringList{"2,22,33", "25,22,33", "255,22,33"}));
        QCOMPARE(SimControl_UpdateCount() - updates, 3);
        QCOMPARE(Child<QLabel>(panel, "labelPreView")->styleSheet(), LightPanel::PreviewStyle(255, 22, 33));
    }

    // ---- Receiver light bar panel ----

    // One change of each control, taken or refused: the whole bar goes to the receiver each time,
    // followed by one push of the mouse's record when taken and none when refused. A refusal leaves
    // the record and the controls as they were and tells the user; the mouse is not blamed.
    void receiverWrites_data()
    {
        QTest::addColumn<QString>("control");
        QTest::addColumn<int>("value");
        QTest::addColumn<bool>("refusing");
        QTest::addColumn<QByteArray>("record");
        QTest::addColumn<int>("shown");
        const QByteArray start = ReceiverStart();
        QTest::newRow("off: mode and on byte 0") << "mode" << 0 << false << Bytes({0, 10, 20, 30, 1, 2, 0}) << 0;
        QTest::newRow("mode 2") << "mode" << 2 << false << Bytes({2, 10, 20, 30, 1, 2, 1}) << 2;
        QTest::newRow("off refused") << "mode" << 0 << true << start << 4;
        QTest::newRow("brightness 7") << "light" << 7 << false << Bytes({4, 10, 20, 30, 1, 6, 1}) << 7;
        QTest::newRow("brightness refused") << "light" << 7 << true << start << 3;
        QTest::newRow("speed 9") << "speed" << 9 << false << Bytes({4, 10, 20, 30, 8, 2, 1}) << 9;
        QTest::newRow("speed refused") << "speed" << 9 << true << start << 2;
        QTest::newRow("red 99") << "red" << 99 << false << Bytes({4, 99, 20, 30, 1, 2, 1}) << 99;
        QTest::newRow("red refused") << "red" << 99 << true << start << 10;
    }
    void receiverWrites()
    {
        QFETCH(QString, control);
        QFETCH(int, value);
        QFETCH(bool, refusing);
        QFETCH(QByteArray, record);
        QFETCH(int, shown);
        ReceiveLight panel;
        panel.show();
        StartReceiverLight(panel);
        SimControl_SetReceiverRefusesLights(fixture.receiver, refusing ? 1 : 0);
        const int updates = SimControl_UpdateCount();
        QSignalSpy offline(PostMsg::Instance(), &PostMsg::SigMouseOffLineo);
        auto* mode = Child<QComboBox>(panel, "LightMod_2");
        auto* light = Child<QSlider>(panel, "horizontalLight_2");
        auto* speed = Child<QSlider>(panel, "horizontalSpeed_2");
        auto* red = Child<QSpinBox>(panel, "RSpinBox_2");

        if (control == "mode")
            mode->setCurrentIndex(value);
        else if (control == "light")
            light->setValue(value);
        else if (control == "speed")
            speed->setValue(value);
        else
            red->setValue(value);

        QCOMPARE(SimControl_ReceiverWriteCount(SIMCONTROL_RECEIVER_LIGHT_BAR), 1);
        QCOMPARE(BytesOf(DongleRGBBarImage), record);
        QCOMPARE(fixture.Held(SIMCONTROL_RECEIVER_LIGHT_BAR), refusing ? ReceiverStart() : record);
        QCOMPARE(SimControl_UpdateCount() - updates, refusing ? 0 : 1);
        QCOMPARE(offline.count(), 0);
        QCOMPARE(ReceiverRefusalNotice::Shown() != nullptr, refusing);
        if (refusing)
            QCOMPARE(Child<QLabel>(*ReceiverRefusalNotice::Shown(), "label")->text(), ReceiverRefusalNotice::Text(0));
        if (control == "mode") {
            QCOMPARE(mode->currentIndex(), shown);
            QCOMPARE(LastReceiverLightMode, shown);
        } else if (control == "light") {
            QCOMPARE(light->value(), shown);
            QCOMPARE(Child<QSpinBox>(panel, "LightSpinBox_3")->value(), shown);
            QCOMPARE(LastReceiverLightBrightness, shown);
        } else if (control == "speed") {
            QCOMPARE(speed->value(), shown);
            QCOMPARE(Child<QSpinBox>(panel, "SpeedSpinBox_3")->value(), shown);
            QCOMPARE(LastReceiverLightSpeed, shown);
        } else {
            QCOMPARE(red->value(), shown);
            QCOMPARE(Child<QLabel>(panel, "labelPreView_2")->styleSheet(), LightPanel::PreviewStyle(shown, 20, 30));
        }
    }

    // A colour the device does not take goes back in the boxes and the preview to the colour it
    // holds, in both panels, whether typed or picked from the presets: the mouse away (the setter's
    // offline notice) or the receiver refusing (the receiver's notice). The receiver's record and
    // what the receiver and the mouse hold stay as they were.
    void refusedColourGoesBack_data()
    {
        QTest::addColumn<bool>("receiverPanel");
        QTest::addColumn<bool>("preset"); // else typed into the blue box
        QTest::addColumn<QString>("held");
        QTest::newRow("mouse away, typed") << false << false << "11,22,33";
        QTest::newRow("receiver refusing, typed") << true << false << "10,20,30";
        // Preset K (white) changes all three boxes: three refusals, each put back.
        QTest::newRow("receiver refusing, preset") << true << true << "10,20,30";
    }
    void refusedColourGoesBack()
    {
        QFETCH(bool, receiverPanel);
        QFETCH(bool, preset);
        QFETCH(QString, held);
        MouseLight mouse;
        ReceiveLight bar;
        mouse.show();
        bar.show();
        StartMouseLight(mouse);
        StartReceiverLight(bar);
        LightPanel* panel = receiverPanel ? static_cast<LightPanel*>(&bar) : &mouse;
        const QByteArray sfx = receiverPanel ? "_2" : "";
        LightPageRefreshing = true;
        panel->SetLightMode(2); // the mode that shows the colour
        LightPageRefreshing = false;
        const FlashDataMap onMouse = fixture.devices.Record(fixture.receiver);
        if (receiverPanel)
            SimControl_SetReceiverRefusesLights(fixture.receiver, 1);
        else
            fixture.SetMouseOnline(false);
        const int updates = SimControl_UpdateCount();
        const int barWrites = SimControl_ReceiverWriteCount(SIMCONTROL_RECEIVER_LIGHT_BAR);
        QSignalSpy offline(PostMsg::Instance(), &PostMsg::SigMouseOffLineo);
        auto* blue = Child<QSpinBox>(*panel, "BSpinBox" + sfx);

        if (preset)
            Child<QToolButton>(*panel, "toolButtonColorK" + sfx)->click();
        else
            blue->setValue(200);

        const QString shown = QStringLiteral("%1,%2,%3")
                                  .arg(Child<QSpinBox>(*panel, "RSpinBox" + sfx)->value())
                                  .arg(Child<QSpinBox>(*panel, "GSpinBox" + sfx)->value())
                                  .arg(blue->value());
        QCOMPARE(shown, held);
        const QStringList rgb = held.split(',');
        QCOMPARE(Child<QLabel>(*panel, "labelPreView" + sfx)->styleSheet(),
                 LightPanel::PreviewStyle(rgb.at(0).toInt(), rgb.at(1).toInt(), rgb.at(2).toInt()));
        QCOMPARE(SimControl_UpdateCount(), updates);
        QCOMPARE(fixture.devices.RecordDifferences(fixture.receiver, onMouse), QString());
        QCOMPARE(BytesOf(DongleRGBBarImage), ReceiverStart());
        QCOMPARE(fixture.Held(SIMCONTROL_RECEIVER_LIGHT_BAR), ReceiverStart());
        QCOMPARE(SimControl_ReceiverWriteCount(SIMCONTROL_RECEIVER_LIGHT_BAR) - barWrites,
                 receiverPanel ? (preset ? 3 : 1) : 0);
        QCOMPARE(offline.count(), receiverPanel ? 0 : 1);
        QCOMPARE(ReceiverRefusalNotice::Shown() != nullptr, receiverPanel);

        // Taken again, the next colour carries the one shown, not the refused one.
        SimControl_SetReceiverRefusesLights(fixture.receiver, 0);
        fixture.SetMouseOnline(true);
        Child<QSpinBox>(*panel, "RSpinBox" + sfx)->setValue(1);
        if (receiverPanel) {
            QCOMPARE(fixture.Held(SIMCONTROL_RECEIVER_LIGHT_BAR), Bytes({4, 1, 20, 30, 1, 2, 1}));
        } else {
            const FlashDataMap after = fixture.devices.Record(fixture.receiver);
            QCOMPARE(QList<int>({after.lightRed, after.lightGreen, after.lightBlue}), QList<int>({1, 22, 33}));
        }
    }

    // Brightness (or speed) 7 taken, then 9 refused: the slider and its number show 7 again and
    // the record keeps 6.
    void receiverRefusalShowsTheLastTaken_data()
    {
        QTest::addColumn<bool>("speed");
        QTest::newRow("brightness") << false;
        QTest::newRow("speed") << true;
    }
    void receiverRefusalShowsTheLastTaken()
    {
        QFETCH(bool, speed);
        ReceiveLight panel;
        panel.show();
        StartReceiverLight(panel);
        auto* slider = Child<QSlider>(panel, speed ? "horizontalSpeed_2" : "horizontalLight_2");
        auto* number = Child<QSpinBox>(panel, speed ? "SpeedSpinBox_3" : "LightSpinBox_3");
        const int byte = speed ? 4 : 5;
        const int updates = SimControl_UpdateCount();

        slider->setValue(7);
        SimControl_SetReceiverRefusesLights(fixture.receiver, 1);
        slider->setValue(9);

        QCOMPARE(slider->value(), 7);
        QCOMPARE(number->value(), 7);
        QCOMPARE(int(BytesOf(DongleRGBBarImage).at(byte)), 6);
        QCOMPARE(int(fixture.Held(SIMCONTROL_RECEIVER_LIGHT_BAR).at(byte)), 6);
        QCOMPARE(SimControl_UpdateCount() - updates, 1);
        QCOMPARE(SimControl_ReceiverWriteCount(SIMCONTROL_RECEIVER_LIGHT_BAR), 2);
    }

    // A refused mode, brightness or speed followed by a colour the receiver takes: the bar sent
    // holds the mode, brightness and speed the panel shows, not the refused ones.
    void receiverNextWriteSendsWhatIsShown_data()
    {
        QTest::addColumn<QString>("control");
        QTest::newRow("mode off refused") << "mode";
        QTest::newRow("brightness refused") << "light";
        QTest::newRow("speed refused") << "speed";
    }
    void receiverNextWriteSendsWhatIsShown()
    {
        QFETCH(QString, control);
        ReceiveLight panel;
        panel.show();
        StartReceiverLight(panel);
        SimControl_SetReceiverRefusesLights(fixture.receiver, 1);
        if (control == "mode")
            Child<QComboBox>(panel, "LightMod_2")->setCurrentIndex(0);
        else
            GrooveClick(Child<QSlider>(panel, control == "light" ? "horizontalLight_2" : "horizontalSpeed_2"));
        SimControl_SetReceiverRefusesLights(fixture.receiver, 0);

        Child<QSpinBox>(panel, "BSpinBox_2")->setValue(200);

        const int mode = Child<QComboBox>(panel, "LightMod_2")->currentIndex();
        const int light = Child<QSlider>(panel, "horizontalLight_2")->value();
        const int speed = Child<QSlider>(panel, "horizontalSpeed_2")->value();
        QCOMPARE(QList<int>({mode, light, speed}), QList<int>({4, 3, 2}));
        QCOMPARE(fixture.Held(SIMCONTROL_RECEIVER_LIGHT_BAR), Bytes({mode, 10, 20, 200, speed - 1, light - 1, 1}));
    }

    // The first refusal after the page showed the receiver's brightness 10 puts the slider back to 10.
    void receiverRefusalAfterThePageShowedIt()
    {
        fixture.Hold(SIMCONTROL_RECEIVER_LIGHT_BAR, Bytes({2, 1, 2, 3, 4, 9, 1}));
        LampLight page;
        page.SlotUpDataLightUILight(fixture.devices.Record(fixture.receiver));
        ReceiveLight* panel = page.ReceiveLightPanel();
        auto* slider = Child<QSlider>(*panel, "horizontalLight_2");
        QCOMPARE(slider->value(), 10);
        SimControl_SetReceiverRefusesLights(fixture.receiver, 1);
        const int updates = SimControl_UpdateCount();

        slider->triggerAction(QAbstractSlider::SliderPageStepSub);

        QCOMPARE(slider->value(), 10);
        QCOMPARE(Child<QSpinBox>(*panel, "LightSpinBox_3")->value(), 10);
        QCOMPARE(BytesOf(DongleRGBBarImage), Bytes({2, 1, 2, 3, 4, 9, 1}));
        QCOMPARE(SimControl_UpdateCount(), updates);
    }

    // With writes off a colour changes the preview and nothing else, in both panels.
    void colourWithWritesOffOnlyRepaints_data()
    {
        QTest::addColumn<bool>("receiverPanel");
        QTest::newRow("mouse panel") << false;
        QTest::newRow("receiver panel") << true;
    }
    void colourWithWritesOffOnlyRepaints()
    {
        QFETCH(bool, receiverPanel);
        MouseLight mouse;
        ReceiveLight bar;
        StartMouseLight(mouse);
        StartReceiverLight(bar);
        LightPanel* panel = receiverPanel ? static_cast<LightPanel*>(&bar) : &mouse;
        const char* sfx = receiverPanel ? "_2" : "";
        const FlashDataMap held = fixture.devices.Record(fixture.receiver);
        UserWritesEnabled = false;
        const int updates = SimControl_UpdateCount();
        const int receiverWrites = ReceiverFixture::ReceiverWrites();

        Child<QSpinBox>(*panel, QByteArray("GSpinBox").append(sfx))->setValue(128);

        QCOMPARE(Child<QLabel>(*panel, QByteArray("labelPreView").append(sfx))->styleSheet(),
                 receiverPanel ? LightPanel::PreviewStyle(10, 128, 30) : LightPanel::PreviewStyle(11, 128, 33));
        QCOMPARE(SimControl_UpdateCount(), updates);
        QCOMPARE(ReceiverFixture::ReceiverWrites(), receiverWrites);
        QCOMPARE(BytesOf(DongleRGBBarImage), ReceiverStart());
        QCOMPARE(fixture.devices.RecordDifferences(fixture.receiver, held), QString());
    }
};

QTEST_MAIN(TestLightPanelWrites)
#include "tst_lightpanelwrites.moc"
