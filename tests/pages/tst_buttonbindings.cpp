#include "device/DeviceDiscovery.h"
#include "device/DeviceState.h"
#include "device/KeyRecords.h"
#include "device/MacroBlocks.h"
#include "device/PostMsg.h"
#include "pages/buttons/ButtonTables.h"
#include "pages/buttons/Buttoninterface.h"
#include "support/ButtonPageSupport.h"
#include "support/FindChild.h"
#include "support/ButtonPageOnMouse.h"
#include "support/SimulatedDeviceFixture.h"
#include "widgets/UiText.h"
#include "widgets/UiTextTables.h"

#include <QButtonGroup>
#include <QStackedWidget>
#include <QTimer>
#include <QToolButton>
#include <QtTest>

namespace {

using namespace ButtonPageSupport;

QToolButton* Button(const QWidget& page, const QString& name)
{
    return Child<QToolButton>(page, name.toLatin1().constData());
}

QByteArray NameBytes(const QByteArray& name)
{
    return char(name.size()) + name;
}

} // namespace

// Buttons that play a macro follow the macro page's deletion, renaming and editing, which arrive on
// the bus; what reaches the simulated mouse is compared byte for byte.
class TestButtonBindings : public ButtonPageOnMouse
{
    Q_OBJECT
    FlashDataMap bound{};

    // A page over the wired mouse of the model, the macro "LongName" on the given buttons (each
    // with a stale key record), the mouse, the working copy and the page holding that record.
    void OpenBound(int model, const QList<int>& buttons)
    {
        QVERIFY(NewPage(model, &bound));
        for (int button : buttons) {
            Place(bound, button, 6, button, 2, MacroBytes(NameBytes("LongName")));
            Place(bound, button, 6, button, 2, Bytes(ConsumerBytes(0x00B5)));
        }
        if (!buttons.contains(2))
            Place(bound, 2, 1, 4, 0);
        QVERIFY(SimControl_SetDeviceRecord(mouse, bound.bytes()));
        AdoptDeviceConfig(bound);
        page->SlotUpDataButtonUIB(bound);
        QCOMPARE(devices->RecordDifferences(mouse, bound), QString());
    }
    QString Label(const QString& name) const { return page->MacroLabel(name); }

private slots:
    void initTestCase()
    {
        QVERIFY(Start(LayOutAssignmentModels));
    }
    void cleanupTestCase()
    {
        Stop();
    }
    void init()
    {
        UiLanguage = 0;
        QDir(MacroBlocks::MacroFolder()).removeRecursively();
        QDir().mkpath(MacroBlocks::MacroFolder());
    }

    // Deleting a macro gives each of its buttons its default, in selector row order (button 4
    // before 3): the option of the default assignment, or the model list's key record; a list of
    // another length gives nothing. Every key record of the macro's buttons is cleared, and the
    // record is sent once more at the end.
    void deleteGivesTheDefaults_data()
    {
        QTest::addColumn<int>("model");
        QTest::addColumn<QList<int>>("buttons");
        QTest::addColumn<int>("updates");
        QTest::newRow("mouse keys and the DPI cycle") << 0 << QList<int>{4, 3} << 3;
        QTest::newRow("every button, key-record defaults") << 1 << QList<int>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11} << 12;
    }
    void deleteGivesTheDefaults()
    {
        QFETCH(int, model);
        QFETCH(QList<int>, buttons);
        QFETCH(int, updates);
        OpenBound(model, buttons);
        Button(*page, "DPI_13")->setChecked(true);
        Child<QStackedWidget>(*page, "stackedWidget")->setCurrentIndex(1);
        Child<QStackedWidget>(*page, "stackedWidget_2")->setCurrentIndex(1);
        const int before = SimControl_UpdateCount();
        QList<int> visited;
        connect(page->Selectors(), qOverload<QAbstractButton*, bool>(&QButtonGroup::buttonToggled), this,
                [&](QAbstractButton* selector, bool checked) {
                    if (checked)
                        visited << page->Selectors()->buttons().indexOf(selector);
                });

        emit PostMsg::Instance()->SigDeleteMacroButton(Label("LongName"));

        // The defaults of Drive2's model list: button 0 the volume-up key, button 1 Ctrl+C, button 2
        // a list of five entries (nothing given); the others the default assignment.
        const QList<ButtonFunction> defaults = {{5, 0, 0}, {5, 0, 0}, {6, 2, 2}, {1, 8, 0}, {1, 16, 0}, {2, 1, 0},
                                                {2, 2, 0}, {2, 3, 0},  {7, 0, 0}, {7, 0, 0}, {4, 10, 3}, {0, 0, 0}};
        FlashDataMap expected = bound;
        QStringList labels;
        for (int button : buttons) {
            const ButtonFunction function = model == 0 ? ButtonTables::DefaultAssignment()[size_t(button)] : defaults.at(button);
            expected.buttons[button] = function;
            expected.keyRecords[button] = ButtonKeyRecord{};
            QString label = Button(*page, ButtonTables::DefaultOption(button))->text();
            if (model == 1 && button == 0) {
                expected.keyRecords[0] = ConsumerBytes(0x00E9);
                label = Button(*page, "VolumeDown")->text();
            } else if (model == 1 && button == 1) {
                KeyRecords::KeyStringToRecord("Ctrl+C", expected.keyRecords[1]);
                label = "Ctrl+C";
            } else if (model == 1 && button == 2) {
                label = Label("LongName");
            }
            QCOMPARE(page->SelectorOfButton(button)->text(), label);
            QCOMPARE(page->FunctionAt(button).type, int(function.type));
            QCOMPARE(page->FunctionAt(button).code, int(function.p1));
        }
        QCOMPARE(devices->RecordDifferences(mouse, expected), QString());
        QCOMPARE(SimControl_UpdateCount(), before + updates);
        QList<int> rows;
        for (int row = 0; row < ButtonTables::PageButtonCount; ++row) {
            if (buttons.contains(ButtonTables::SelectorRows()[size_t(row)].button))
                rows << row;
        }
        QCOMPARE(visited, rows);
        QCOMPARE(page->SelectedButton(), -1);
        QCOMPARE(Child<QStackedWidget>(*page, "stackedWidget")->currentIndex(), 0);
        QCOMPARE(Child<QStackedWidget>(*page, "stackedWidget_2")->currentIndex(), 4);
    }

    // With the mouse away the buttons keep the macro on the mouse, on their labels and in the
    // copy; the working copy loses the key records all the same, and the user is told.
    void deleteWhileTheMouseIsAway()
    {
        OpenBound(0, {4, 3});
        SimControl_SetAttached(mouse, 0);
        const int before = SimControl_UpdateCount();
        QSignalSpy offline(PostMsg::Instance(), &PostMsg::SigMouseOffLineo);

        emit PostMsg::Instance()->SigDeleteMacroButton(Label("LongName"));

        SimControl_SetAttached(mouse, 1);
        QVERIFY(offline.count() > 0);
        QCOMPARE(SimControl_UpdateCount(), before);
        QCOMPARE(devices->RecordDifferences(mouse, bound), QString());
        const FlashDataMap working = DeviceConfigSnapshot();
        for (int button : {4, 3}) {
            QCOMPARE(Bytes(working.keyRecords[button]), Bytes(ButtonKeyRecord{}));
            QCOMPARE(int(working.buttons[button].type), 6);
            QCOMPARE(page->SelectorOfButton(button)->text(), Label("LongName"));
            QCOMPARE(page->FunctionAt(button).type, 6);
        }
    }

    // Renaming to a shorter name leaves no tail of the old name in the blocks; the buttons are
    // found again by the new name. A selector showing the bare name counts when its button holds
    // a macro; a mouse key labelled like the macro is left alone.
    void renameToAShorterName()
    {
        OpenBound(1, {4, 3, 5});
        page->SelectorOfButton(5)->setText("LongName");
        page->SelectorOfButton(2)->setText("LongName");
        const int before = SimControl_UpdateCount();

        emit PostMsg::Instance()->SigMacroRename("LongName", "ab");

        FlashDataMap expected = bound;
        for (int button : {4, 3, 5}) {
            Place(expected, button, 6, button, 2, MacroBytes(NameBytes("ab")));
            QCOMPARE(page->SelectorOfButton(button)->text(), Label("ab"));
            QCOMPARE(page->FunctionAt(button).type, 6);
        }
        QCOMPARE(Bytes(devices->Record(mouse).macros[4]).left(31), QByteArray("\x02" "ab").append(28, '\0'));
        QCOMPARE(devices->RecordDifferences(mouse, expected), QString());
        QCOMPARE(SimControl_UpdateCount(), before + 3);
        QCOMPARE(page->SelectorOfButton(2)->text(), QString("LongName"));

        emit PostMsg::Instance()->SigMacroRename("ab", "xyz");
        for (int button : {4, 3, 5})
            Place(expected, button, 6, button, 2, MacroBytes(NameBytes("xyz")));
        QCOMPARE(devices->RecordDifferences(mouse, expected), QString());
        QCOMPARE(SimControl_UpdateCount(), before + 6);
    }

    // A new repeat mode reaches every button of the macro as the low 8 bits of the file's first
    // line, with the block as it was; a mouse key labelled like the macro is left alone.
    void repeatModeUpdate_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<int>("sent");
        QTest::newRow("300 plays 44 times") << QByteArray("300\n0x04 1 0\n10ms\n0x04 1 1\n10ms\n") << 44;
        QTest::newRow("until released") << QByteArray("254\n") << 254;
        QTest::newRow("no file") << QByteArray() << 0;
    }
    void repeatModeUpdate()
    {
        QFETCH(QByteArray, file);
        QFETCH(int, sent);
        OpenBound(0, {4, 3});
        page->SelectorOfButton(2)->setText("LongName");
        if (!file.isEmpty()) {
            QFile macro(MacroBlocks::MacroFilePath("LongName"));
            QVERIFY(macro.open(QIODevice::WriteOnly));
            macro.write(file);
        }
        const int before = SimControl_UpdateCount();

        emit PostMsg::Instance()->SigUpDataMacro("LongName", 1);

        FlashDataMap expected = bound;
        for (int button : {4, 3}) {
            expected.buttons[button].p2 = uint8_t(sent);
            QCOMPARE(page->FunctionAt(button).parameter, sent);
        }
        QCOMPARE(devices->RecordDifferences(mouse, expected), QString());
        QCOMPARE(SimControl_UpdateCount(), before + 2);
        QCOMPARE(page->SelectorOfButton(2)->text(), QString("LongName"));
    }

    // Saved events: after the wait each button of the macro asks the macro page for one download,
    // in row order; a second save arriving during the wait gets its own. Nothing is sent here, and
    // an index other than 0 and 1 does nothing.
    void savedEventsAskForDownloads()
    {
        OpenBound(0, {4, 3});
        page->SelectorOfButton(2)->setText("LongName");
        const int before = SimControl_UpdateCount();
        QSignalSpy downloads(PostMsg::Instance(), &PostMsg::SigMacroDownLoadData);
        QTimer::singleShot(100, this, [] { emit PostMsg::Instance()->SigUpDataMacro("LongName", 0); });

        emit PostMsg::Instance()->SigUpDataMacro("LongName", 0);

        QList<QList<QVariant>> asked;
        for (int button : {4, 3, 4, 3})
            asked << QList<QVariant>{QString("LongName"), button};
        QCOMPARE(QList<QList<QVariant>>(downloads), asked);
        emit PostMsg::Instance()->SigUpDataMacro("LongName", 2);
        QCOMPARE(downloads.count(), 4);
        QCOMPARE(SimControl_UpdateCount(), before);
        QCOMPARE(devices->RecordDifferences(mouse, bound), QString());
    }
};

QTEST_MAIN(TestButtonBindings)
#include "tst_buttonbindings.moc"
