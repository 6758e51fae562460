#include "device/DeviceState.h"
#include "device/PostMsg.h"
#include "pages/lighting/ColourGroup.h"
#include "pages/lighting/LightModeSet.h"
#include "pages/settings/FormSetting.h"
#include "platform/ScreenInfo.h"
#include "LightEditorWindow.h"
#include "ReceiverFixture.h"
#include "support/FindChild.h"
#include "support/PicturesNamed.h"
#include "widgets/UiTextTables.h"

#include <QApplication>
#include <QImage>
#include <QMouseEvent>
#include <QRegularExpression>
#include <QScreen>
#include <QSignalSpy>
#include <QSlider>
#include <QtTest>

namespace {

// What a grab of the screen was asked for, and the colour it answers with (none: no pixel).
struct RecordedGrab
{
    QList<QRect> areas;
    QColor answer = QColor(12, 34, 56);
};
RecordedGrab recorded;

QImage RecordingGrab(QScreen*, const QRect& area)
{
    recorded.areas << area;
    if (!recorded.answer.isValid())
        return QImage();
    QImage image(area.size(), QImage::Format_RGB32);
    image.fill(recorded.answer);
    return image;
}

QString Rgb(int red, int green, int blue)
{
    return QStringLiteral("%1,%2,%3").arg(red).arg(green).arg(blue);
}

// The colour a preview square's style shows.
QString PreviewColour(const QLabel* preview)
{
    static const QRegularExpression rgb(QStringLiteral("background-color: rgb\\((\\d+),(\\d+),(\\d+)\\)"));
    const auto match = rgb.match(preview->styleSheet());
    return match.hasMatch() ? Rgb(match.captured(1).toInt(), match.captured(2).toInt(), match.captured(3).toInt())
                            : QString();
}

// A press of one button on the colour board (or another widget of the editor) at a point of it.
void Press(QWidget* where, Qt::MouseButton button, QEvent::Type type = QEvent::MouseButtonPress)
{
    const QPoint point(20, 10);
    QMouseEvent press(type, point, where->mapToGlobal(point), button, button, Qt::NoModifier);
    QApplication::sendEvent(where, &press);
}

} // namespace

// The colour group each of the three editors has, on test windows: presets, add and reduce, the
// number boxes, the preview, the board's screen pick and the focus rule of a press; what each
// change leaves where the editor sends it (the mouse's record, the receiver's light bar, the
// dialog's preview); the device check of the panels. Then the light mode editor on its own.
class TestColourGroup : public QObject, protected ReceiverCase
{
    Q_OBJECT

    // After each change of a colour box: the colour where the editor sends it (the mouse's record,
    // the receiver's light bar, the preview for the dialog), and the colour the preview shows.
    struct ColourLog
    {
        QStringList sent;
        QStringList previews;
        QMetaObject::Connection connections[3];
    };
    void Follow(const LightEditorWindow& window, ColourLog& log)
    {
        for (int i = 0; i < 3; ++i)
            log.connections[i] = connect(window.Box(i), QOverload<int>::of(&QSpinBox::valueChanged), this, [&, this] {
                log.previews << PreviewColour(window.Preview());
                if (window.editor == MouseEditor) {
                    const FlashDataMap held = fixture.devices.Record(fixture.receiver);
                    log.sent << Rgb(held.lightRed, held.lightGreen, held.lightBlue);
                } else if (window.editor == ReceiverEditor) {
                    const QByteArray held = fixture.Held(SIMCONTROL_RECEIVER_LIGHT_BAR);
                    log.sent << Rgb(uint8_t(held[1]), uint8_t(held[2]), uint8_t(held[3]));
                } else {
                    log.sent << PreviewColour(window.Preview());
                }
            });
    }
    // Writes the editor made: pushes of the mouse's record or receiver light bars; none for the dialog.
    static int Writes(int editor)
    {
        if (editor == MouseEditor)
            return SimControl_UpdateCount();
        if (editor == ReceiverEditor)
            return SimControl_ReceiverWriteCount(SIMCONTROL_RECEIVER_LIGHT_BAR);
        return SimControl_UpdateCount() + ReceiverFixture::ReceiverWrites();
    }

private slots:
    void initTestCase() { StartCaseWithTexts(); }
    void init()
    {
        QVERIFY(fixture.Open());
        recorded = RecordedGrab();
        ScreenInfo::SetAreaGrab(RecordingGrab);
    }
    void cleanup()
    {
        ScreenInfo::SetAreaGrab({});
        fixture.Close();
    }

    // A preset puts its colour into the boxes red, green, blue: each box that changes is one
    // change, carrying the colour as far as it has been set; the colour already shown sends nothing.
    void presets_data()
    {
        QTest::addColumn<int>("editor");
        QTest::addColumn<QString>("from");
        QTest::addColumn<QChar>("preset");
        QTest::addColumn<QStringList>("changes");
        for (int editor : {MouseEditor, ReceiverEditor, DialogEditor}) {
            const char* name = LightEditorName(editor);
            QTest::addRow("%s: the colour shown sends nothing", name) << editor << "255,0,0" << QChar('A') << QStringList();
            QTest::addRow("%s: A from black, one change", name)
                << editor << "0,0,0" << QChar('A') << QStringList{"255,0,0"};
            QTest::addRow("%s: A from cyan, three changes", name)
                << editor << "0,255,255" << QChar('A') << QStringList{"255,255,255", "255,0,255", "255,0,0"};
            QTest::addRow("%s: N from black", name)
                << editor << "0,0,0" << QChar('N') << QStringList{"208,0,0", "208,113,0", "208,113,173"};
            QTest::addRow("%s: F from white", name)
                << editor << "255,255,255" << QChar('F') << QStringList{"255,80,255", "255,80,0"};
        }
    }
    void presets()
    {
        QFETCH(int, editor);
        QFETCH(QString, from);
        QFETCH(QChar, preset);
        QFETCH(QStringList, changes);
        LightEditorWindow window(editor);
        window.Window().show();
        const QStringList start = from.split(',');
        window.ShowColour(start[0].toInt(), start[1].toInt(), start[2].toInt());
        ColourLog log;
        Follow(window, log);
        const int writes = Writes(editor);

        window.Preset(preset.toLatin1())->click();

        QCOMPARE(log.sent, changes);
        QCOMPARE(log.previews, changes);
        QCOMPARE(Writes(editor) - writes, editor == DialogEditor ? 0 : changes.size());
        const PresetColour& colour = PresetColours[preset.toLatin1() - 'A'];
        QCOMPARE(window.ShownColour(), Rgb(colour.red, colour.green, colour.blue));
    }

    // Add and reduce step one box by one; at the ends of 0..255 they change and send nothing.
    void steps_data()
    {
        QTest::addColumn<int>("editor");
        QTest::addColumn<int>("component");
        QTest::addColumn<bool>("add");
        QTest::addColumn<int>("from");
        QTest::addColumn<QStringList>("changes");
        for (int editor : {MouseEditor, ReceiverEditor, DialogEditor}) {
            const char* name = LightEditorName(editor);
            QTest::addRow("%s: add red at 255", name) << editor << 0 << true << 255 << QStringList();
            QTest::addRow("%s: reduce red at 0", name) << editor << 0 << false << 0 << QStringList();
            QTest::addRow("%s: reduce green at 0", name) << editor << 1 << false << 0 << QStringList();
            QTest::addRow("%s: add blue at 254", name) << editor << 2 << true << 254 << QStringList{"7,7,255"};
            QTest::addRow("%s: reduce green at 100", name) << editor << 1 << false << 100 << QStringList{"7,99,7"};
        }
    }
    void steps()
    {
        QFETCH(int, editor);
        QFETCH(int, component);
        QFETCH(bool, add);
        QFETCH(int, from);
        QFETCH(QStringList, changes);
        LightEditorWindow window(editor);
        window.Window().show();
        int start[3] = {7, 7, 7};
        start[component] = from;
        window.ShowColour(start[0], start[1], start[2]);
        ColourLog log;
        Follow(window, log);
        const int writes = Writes(editor);

        (add ? window.Add(component) : window.Reduce(component))->click();

        QCOMPARE(log.sent, changes);
        QCOMPARE(Writes(editor) - writes, editor == DialogEditor ? 0 : changes.size());
        if (changes.isEmpty())
            QCOMPARE(window.Box(component)->value(), from);
    }

    // The panels' device check before a preset, a step or a pick: it stops the action only with
    // writes on, the mouse away and the page not refreshing, and then tells the user once. The
    // dialog has no check: its actions always go on and never tell.
    void deviceCheck_data()
    {
        QTest::addColumn<int>("editor");
        QTest::addColumn<QString>("action");
        QTest::addColumn<bool>("writes");
        QTest::addColumn<bool>("online");
        QTest::addColumn<bool>("refreshing");
        QTest::addColumn<bool>("acts");
        for (int editor : {MouseEditor, ReceiverEditor, DialogEditor}) {
            for (const char* action : {"preset", "add", "reduce", "pick"}) {
                const char* name = LightEditorName(editor);
                const bool panel = editor != DialogEditor;
                QTest::addRow("%s %s: mouse there", name, action) << editor << action << true << true << false << true;
                QTest::addRow("%s %s: mouse away", name, action) << editor << action << true << false << false << !panel;
                QTest::addRow("%s %s: mouse away, page refreshing", name, action)
                    << editor << action << true << false << true << true;
                QTest::addRow("%s %s: mouse away, writes off", name, action)
                    << editor << action << false << false << false << true;
            }
        }
    }
    void deviceCheck()
    {
        QFETCH(int, editor);
        QFETCH(QString, action);
        QFETCH(bool, writes);
        QFETCH(bool, online);
        QFETCH(bool, refreshing);
        QFETCH(bool, acts);
        LightEditorWindow window(editor);
        window.Window().show();
        window.ShowColour(100, 100, 100);
        fixture.SetMouseOnline(online);
        UserWritesEnabled = writes;
        QSignalSpy offline(PostMsg::Instance(), &PostMsg::SigMouseOffLineo);

        LightPageRefreshing = refreshing;
        if (action == "preset")
            window.Preset('G')->click();
        else if (action == "add")
            window.Add(1)->click();
        else if (action == "reduce")
            window.Reduce(2)->click();
        else
            Press(window.Board(), Qt::LeftButton);
        LightPageRefreshing = false;

        const QString expected = action == "preset" ? "0,0,255"
                                 : action == "add"  ? "100,101,100"
                                 : action == "reduce" ? "100,100,99"
                                                      : "12,34,56";
        QCOMPARE(window.ShownColour(), acts ? expected : QStringLiteral("100,100,100"));
        // Told once when stopped, never when the action goes on.
        QCOMPARE(offline.count(), acts ? 0 : 1);
        QCOMPARE(recorded.areas.size(), action == "pick" && acts ? 1 : 0);
    }

    // A press on the board picks the colour under the pointer with any button, at once; the second
    // press of a double click, a press beside the board and a press where the board is hidden pick
    // nothing. A grab that gives no pixel keeps the colour.
    void boardPress_data()
    {
        QTest::addColumn<int>("editor");
        QTest::addColumn<QString>("press");
        QTest::addColumn<bool>("picks");
        for (int editor : {MouseEditor, ReceiverEditor, DialogEditor}) {
            const char* name = LightEditorName(editor);
            QTest::addRow("%s: left button", name) << editor << "left" << true;
            QTest::addRow("%s: right button", name) << editor << "right" << true;
            QTest::addRow("%s: middle button", name) << editor << "middle" << true;
            QTest::addRow("%s: double click", name) << editor << "double" << false;
            QTest::addRow("%s: beside the board", name) << editor << "beside" << false;
            QTest::addRow("%s: board hidden", name) << editor << "hidden" << false;
            QTest::addRow("%s: no pixel", name) << editor << "null" << false;
        }
    }
    void boardPress()
    {
        QFETCH(int, editor);
        QFETCH(QString, press);
        QFETCH(bool, picks);
        LightEditorWindow window(editor);
        window.Window().show();
        window.ShowColour(1, 2, 3);
        ColourLog log;
        Follow(window, log);
        if (press == "null")
            recorded.answer = QColor();
        if (press == "hidden")
            window.Board()->hide();

        if (press == "right")
            Press(window.Board(), Qt::RightButton);
        else if (press == "middle")
            Press(window.Board(), Qt::MiddleButton);
        else if (press == "double")
            Press(window.Board(), Qt::LeftButton, QEvent::MouseButtonDblClick);
        else if (press == "beside")
            Press(Child<QLabel>(window.Window(), editor == ReceiverEditor ? "label_18" : "label_8"), Qt::LeftButton);
        else
            Press(window.Board(), Qt::LeftButton);

        QCOMPARE(window.ShownColour(), picks ? QStringLiteral("12,34,56") : QStringLiteral("1,2,3"));
        QCOMPARE(log.previews, picks ? QStringList({"12,2,3", "12,34,3", "12,34,56"}) : QStringList());
        if (picks) {
            QCOMPARE(PreviewColour(window.Preview()), QStringLiteral("12,34,56"));
            QCOMPARE(log.sent.last(), QStringLiteral("12,34,56"));
        }
        const bool grabbed = picks || press == "null";
        QCOMPARE(recorded.areas.size(), grabbed ? 1 : 0);
        if (grabbed)
            QCOMPARE(recorded.areas.first(), QRect(window.Board()->mapToGlobal(QPoint(20, 10)), QSize(2, 2)));
    }

    // A press on the board (or anywhere outside the number boxes) ends the typing in every number
    // box: the one that had the focus loses it to the editor.
    void pressTakesTheFocus_data()
    {
        QTest::addColumn<int>("editor");
        QTest::addColumn<int>("box");
        for (int editor : {MouseEditor, ReceiverEditor, DialogEditor}) {
            for (int box = 0; box < (editor == DialogEditor ? 3 : 5); ++box)
                QTest::addRow("%s: number box %d", LightEditorName(editor), box) << editor << box;
        }
    }
    void pressTakesTheFocus()
    {
        QFETCH(int, editor);
        QFETCH(int, box);
        LightEditorWindow window(editor);
        window.Window().show();
        QApplication::setActiveWindow(&window.Window());
        QVERIFY(QTest::qWaitForWindowActive(&window.Window()));
        QSpinBox* number = window.Numbers().at(box);
        number->setFocus();
        QVERIFY(number->hasFocus());

        Press(window.Board(), Qt::LeftButton);

        QVERIFY(!number->hasFocus());
        QCOMPARE(QApplication::focusWidget(), &window.Window());
    }

    // On a real screen grab (the offscreen screen shows the test window): a press on the board
    // takes the colour its picture has under the pointer.
    void boardPressTakesTheColourDrawn_data()
    {
        QTest::addColumn<int>("editor");
        for (int editor : {MouseEditor, ReceiverEditor, DialogEditor})
            QTest::newRow(LightEditorName(editor)) << editor;
    }
    void boardPressTakesTheColourDrawn()
    {
        QFETCH(int, editor);
        ScreenInfo::SetAreaGrab({});
        LightEditorWindow window(editor);
        window.ShowColour(1, 2, 3);
        window.Window().show();
        QVERIFY(QTest::qWaitForWindowExposed(&window.Window()));
        const QPoint point(120, 17);
        const QImage drawn = window.Board()->grab().toImage();
        const QColor expected = drawn.pixelColor(point);
        QVERIFY(expected != QColor(1, 2, 3));

        QTest::mousePress(window.Board(), Qt::RightButton, Qt::NoModifier, point);

        QCOMPARE(window.ShownColour(), Rgb(expected.red(), expected.green(), expected.blue()));
    }

    // ---- The light mode editor ----

    // Built, it shows mode 0: of the mode's controls only the two flat bars; each mode shows its
    // rows, and the captions, the list and the close button stay.
    void modeEditorRows_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<QString>("shown"); // L brightness, S speed, C colour, l and s the flat bars
        QTest::newRow("as built") << -1 << "ls";
        const char* rows[6] = {"ls", "LS", "LSC", "LCs", "LS", "LS"};
        for (int mode = 0; mode < 6; ++mode)
            QTest::addRow("mode %d", mode) << mode << QString::fromLatin1(rows[mode]);
    }
    void modeEditorRows()
    {
        QFETCH(int, mode);
        QFETCH(QString, shown);
        LightModeSet dialog;
        auto* list = Child<QComboBox>(dialog, "LightMod");
        QCOMPARE(list->count(), 6);
        QCOMPARE(list->currentText(), QStringLiteral("关闭"));
        if (mode >= 0) {
            list->setCurrentIndex(2);
            list->setCurrentIndex(mode);
        }
        const auto visible = [&](const char* name) { return !Child<QWidget>(dialog, name)->isHidden(); };
        QCOMPARE(visible("horizontalLight"), shown.contains('L'));
        QCOMPARE(visible("horizontalSpeed"), shown.contains('S'));
        QCOMPARE(visible("line"), shown.contains('l'));
        QCOMPARE(visible("line_2"), shown.contains('s'));
        for (const char* colour : {"label_6", "label_7", "label_8", "labelPreView", "label_10", "label_11", "label_12",
                                   "label_13", "RSpinBox", "GSpinBox", "BSpinBox", "AddR", "AddG", "AddB", "ReduceR",
                                   "ReduceG", "ReduceB", "toolButtonColorA", "toolButtonColorN"})
            QCOMPARE(visible(colour), shown.contains('C'));
        for (const char* stays : {"LightModeSetframe", "label", "label_2", "label_3", "LightMod", "CloseButton"})
            QVERIFY2(visible(stays), stays);
    }

    // Whatever the user does in the editor, no device hears of it and nobody is told, also with
    // writes on and the mouse away.
    void modeEditorTalksToNoDevice()
    {
        const FlashDataMap held = fixture.devices.Record(fixture.receiver);
        const QByteArray bar = fixture.Held(SIMCONTROL_RECEIVER_LIGHT_BAR);
        fixture.SetMouseOnline(false);
        QSignalSpy offline(PostMsg::Instance(), &PostMsg::SigMouseOffLineo);
        const int updates = SimControl_UpdateCount();
        const int receiverWrites = ReceiverFixture::ReceiverWrites();
        LightEditorWindow window(DialogEditor);
        window.Window().show();

        for (int mode = 0; mode < 6; ++mode)
            Child<QComboBox>(window.Window(), "LightMod")->setCurrentIndex(mode);
        Child<QComboBox>(window.Window(), "LightMod")->setCurrentIndex(2);
        for (const char* name : {"horizontalLight", "horizontalSpeed"})
            Child<QSlider>(window.Window(), name)->triggerAction(QAbstractSlider::SliderPageStepAdd);
        for (char letter = 'A'; letter <= 'N'; ++letter)
            window.Preset(letter)->click();
        window.Add(0)->click();
        window.Reduce(1)->click();
        QTest::keyClicks(window.Box(2), QStringLiteral("9"));
        Press(window.Board(), Qt::LeftButton);

        QCOMPARE(window.ShownColour(), QStringLiteral("12,34,56"));
        QCOMPARE(SimControl_UpdateCount(), updates);
        QCOMPARE(ReceiverFixture::ReceiverWrites(), receiverWrites);
        QCOMPARE(offline.count(), 0);
        QCOMPARE(fixture.devices.RecordDifferences(fixture.receiver, held), QString());
        QCOMPARE(fixture.Held(SIMCONTROL_RECEIVER_LIGHT_BAR), bar);
    }

    // The editor keeps its form's texts in every language.
    void modeEditorKeepsItsTexts()
    {
        LightModeSet dialog;
        const auto texts = [&] {
            QStringList all;
            for (const QLabel* label : dialog.findChildren<QLabel*>())
                all << label->objectName() + "=" + label->text();
            const auto* list = Child<QComboBox>(dialog, "LightMod");
            for (int i = 0; i < list->count(); ++i)
                all << list->itemText(i);
            return all;
        };
        const QStringList before = texts();
        QVERIFY(before.contains(QStringLiteral("label=灯光模式")));
        for (int language : {0, 2, 1}) {
            emit PostMsg::Instance()->SigAllLanguage(language);
            dialog.SlotAllLanguage(language);
            QCOMPARE(texts(), before);
        }
    }

    // Its close button tells the bus once and closes it.
    void modeEditorCloses()
    {
        LightModeSet dialog;
        dialog.show();
        QSignalSpy checks(PostMsg::Instance(), &PostMsg::SigButtonCheck);
        Child<QToolButton>(dialog, "CloseButton")->click();
        QCOMPARE(checks.count(), 1);
        QVERIFY(!dialog.isVisible());
    }

    // The settings page holds one, without a parent and never shown, as a frameless notice-style
    // dialog of 638 x 318.
    void settingsPageHoldsTheEditor()
    {
        FormSetting page;
        const LightModeSet& editor = page.LightModeEditor();
        QVERIFY(editor.parentWidget() == nullptr);
        QVERIFY(editor.isHidden());
        QCOMPARE(editor.size(), QSize(638, 318));
        // Qt adds the window bit to a widget without a parent.
        QCOMPARE(editor.windowFlags() & ~Qt::Window, Qt::WindowFlags(0x6C12));
    }

    // Every picture the editors' style sheets name is a file of the program folder.
    void everyPictureNamedExists_data()
    {
        QTest::addColumn<int>("editor");
        for (int editor : {MouseEditor, ReceiverEditor, DialogEditor})
            QTest::newRow(LightEditorName(editor)) << editor;
    }
    void everyPictureNamedExists()
    {
        QFETCH(int, editor);
        LightEditorWindow window(editor);
        const PicturesNamed pictures(window.Window());
        QCOMPARE(pictures.missing, QStringList());
        QVERIFY(pictures.named >= 25);
    }
};

QTEST_MAIN(TestColourGroup)
#include "tst_colourgroup.moc"
