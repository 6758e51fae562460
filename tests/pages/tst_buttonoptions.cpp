#include "device/DeviceDiscovery.h"
#include "device/DeviceState.h"
#include "device/PostMsg.h"
#include "pages/buttons/ButtonTables.h"
#include "pages/buttons/Buttoninterface.h"
#include "support/ButtonPageOnMouse.h"
#include "support/ButtonPageSupport.h"
#include "support/FindChild.h"
#include "support/ModalCloser.h"
#include "support/SimulatedDeviceFixture.h"
#include "widgets/UiText.h"
#include "widgets/UiTextTables.h"

#include <QButtonGroup>
#include <QScrollArea>
#include <QScrollBar>
#include <QStackedWidget>
#include <QToolButton>
#include <QtTest>

#include <cstring>

namespace {

// A copy of the program folder's data in which the second model has four buttons and its sensor a
// DPI code table (500 is code 42, 1200 code 300, which does not fit a byte); the first model is
// shipped as it is: six buttons, no table.
bool LayOutProgramFolder(const QString& from, const QString& to)
{
    using namespace ButtonPageSupport;
    return CopyProgramFolder(from, to) && EditFile(to + "/usersetting/Config.ini", "KeyNumber=6", "KeyNumber=4", "[Drive2]")
        && AppendToFile(to + "/driver_sensor.h", "\n#define SENSOR_3950_DPI_500\t42\n#define SENSOR_3950_DPI_1200\t300\n");
}

QToolButton* Button(const QWidget& page, const QString& name)
{
    return Child<QToolButton>(page, name.toLatin1().constData());
}

} // namespace

// The options of the button page's function menu on the simulated mouse: the bytes each writes,
// the label and the copy, the refusals, and the last left click kept.
class TestButtonOptions : public ButtonPageOnMouse
{
    Q_OBJECT
    FlashDataMap record{};
    // The mouse's record as the library first gives it; the mouse keeps its flash from row to row.
    FlashDataMap factory{};
    bool haveFactory = false;

    // A page over the wired mouse of the model, with the mouse's record loaded and the menu open.
    void OpenPage(int model)
    {
        QVERIFY(NewPage(model, &record));
        // Each case starts from the same buttons: the page shows what the mouse holds.
        if (!haveFactory) {
            factory = record;
            haveFactory = true;
        }
        QVERIFY(SimControl_SetDeviceRecord(mouse, factory.bytes()));
        record = factory;
        AdoptDeviceConfig(record);
        page->SlotUpDataButtonUIB(record);
        Child<QStackedWidget>(*page, "stackedWidget")->setCurrentIndex(1);
    }
    void Select(const QString& selector) { Button(*page, selector)->setChecked(true); }
    void VerifyMenuClosed()
    {
        QCOMPARE(Child<QStackedWidget>(*page, "stackedWidget")->currentIndex(), 0);
        QCOMPARE(Child<QStackedWidget>(*page, "stackedWidget_2")->currentIndex(), 4);
        QCOMPARE(Child<QScrollArea>(*page, "scrollArea_11")->verticalScrollBar()->styleSheet(),
                 QStringLiteral("QScrollBar {width:10px;}"));
    }

private slots:
    void initTestCase()
    {
        QVERIFY(Start(LayOutProgramFolder));
    }
    void cleanupTestCase()
    {
        Stop();
    }
    void init()
    {
        UiLanguage = 0;
        OpenPage(0);
    }

    // Each option on button 2 (BackKey): the triple (and for multimedia keys the 52 record bytes)
    // on the mouse, the selector's label, the page's copy, and the menu closed. Written from the
    // option table of the function menu: the object names do not follow the functions.
    void optionWritesItsFunction_data()
    {
        QTest::addColumn<QString>("option");
        QTest::addColumn<int>("type");
        QTest::addColumn<int>("p1");
        QTest::addColumn<int>("usage");
        const auto row = [](const char* option, int type, int p1, int usage) {
            QTest::newRow(option) << QString::fromLatin1(option) << type << p1 << usage;
        };
        row("LeftKey_3", 1, 1, 0);
        row("RightKey_3", 1, 2, 0);
        row("MidKey", 1, 4, 0);
        row("BackKey_2", 1, 8, 0);
        row("ForWardKey", 1, 16, 0);
        row("DPI_2", 7, 0, 0);
        row("DPI_3", 9, 0, 0);
        row("DPI_5", 0, 0, 0);
        row("Player", 5, 0, 0x0183);
        row("StartPause_2", 5, 0, 0x00CD);
        row("BackMusic_2", 5, 0, 0x00B5);
        row("TopMusic_2", 5, 0, 0x00B6);
        row("Mute", 5, 0, 0x00B7);
        row("VolumeUp", 5, 0, 0x00E2);
        row("VolumeDown", 5, 0, 0x00E9);
        row("VolumeDown_4", 5, 0, 0x00EA);
        row("VolumeDown_5", 5, 0, 0x018A);
        row("VolumeDown_6", 5, 0, 0x0192);
        row("VolumeDown_3", 5, 0, 0x0194);
        row("VolumeDown_8", 5, 0, 0x0223);
        row("VolumeDown_9", 5, 0, 0x0221);
        row("VolumeDown_7", 5, 0, 0x0225);
        row("VolumeDown_10", 5, 0, 0x0224);
        row("VolumeDown_12", 5, 0, 0x0226);
        row("VolumeDown_13", 5, 0, 0x0227);
        row("VolumeDown_11", 5, 0, 0x022A);
        row("VolumeUp_2", 3, 1, 0);
        row("VolumeDown_2", 3, 2, 0);
        row("VolumeUp_4", 8, 0, 0);
        row("VolumeUp_5", 8, 1, 0);
        row("VolumeUp_6", 8, 3, 0);
        row("VolumeUp_7", 8, 4, 0);
        row("VolumeUp_8", 2, 1, 0);
        row("VolumeUp_9", 2, 2, 0);
        row("VolumeUp_10", 2, 3, 0);
        row("VolumeUp_14", 11, 1, 0);
        row("VolumeDown_14", 11, 2, 0);
        // DPI locks without a sensor table: value / 50 - 1.
        row("VolumeUp_11", 10, 1, 0);
        row("VolumeUp_12", 10, 3, 0);
        row("VolumeUp_13", 10, 5, 0);
        row("VolumeUp_16", 10, 7, 0);
        row("VolumeUp_15", 10, 9, 0);
        row("VolumeUp_19", 10, 11, 0);
        row("VolumeUp_20", 10, 13, 0);
        row("VolumeUp_22", 10, 15, 0);
        row("VolumeUp_18", 10, 17, 0);
        row("VolumeUp_24", 10, 19, 0);
        row("VolumeUp_23", 10, 21, 0);
        row("VolumeUp_21", 10, 23, 0);
    }
    void optionWritesItsFunction()
    {
        QFETCH(QString, option);
        QFETCH(int, type);
        QFETCH(int, p1);
        QFETCH(int, usage);
        Select("BackKey");
        const int updates = SimControl_UpdateCount();
        Button(*page, option)->click();

        FlashDataMap expected = record;
        expected.buttons[2] = ButtonFunction{uint8_t(type), uint8_t(p1), 0};
        if (usage)
            expected.keyRecords[2] = ButtonPageSupport::ConsumerBytes(uint16_t(usage));
        QCOMPARE(devices->RecordDifferences(mouse, expected), QString());
        QCOMPARE(SimControl_UpdateCount(), updates + 1);
        const QString text = Button(*page, option)->text();
        QCOMPARE(Button(*page, "BackKey")->text(), type == 10 ? Button(*page, "DPI_4")->text() + "-" + text : text);
        QCOMPARE(page->FunctionAt(2).type, type);
        QCOMPARE(page->FunctionAt(2).code, p1);
        QCOMPARE(page->FunctionAt(2).parameter, 0);
        VerifyMenuClosed();
        QVERIFY(Button(*page, option)->isChecked());
        QVERIFY(Button(*page, "BackKey")->isChecked());
    }

    // Player on button 2 writes exactly these bytes at the button's key-record place.
    void playerRecordBytes()
    {
        Select("BackKey");
        Button(*page, "Player")->click();
        const FlashDataMap held = devices->Record(mouse);
        const QByteArray bytes(reinterpret_cast<const char*>(&held.keyRecords[2]), int(sizeof(ButtonKeyRecord)));
        QCOMPARE(bytes, QByteArray::fromHex("02000000" "000283010a000000" "010283010a000000").append(32, '\0'));
    }

    // DPI locks read the sensor's table when the model's sensor has one; the device takes the low 8
    // bits and the copy keeps the whole code.
    void dpiLockWithAndWithoutATable_data()
    {
        QTest::addColumn<int>("model");
        QTest::addColumn<QString>("option");
        QTest::addColumn<int>("sent");
        QTest::addColumn<int>("kept");
        QTest::newRow("500 without a table") << 0 << "VolumeUp_15" << 9 << 9;
        QTest::newRow("500 from the table") << 1 << "VolumeUp_15" << 42 << 42;
        QTest::newRow("100 not in the table") << 1 << "VolumeUp_11" << 2 << 2;
        QTest::newRow("1200 beyond a byte") << 1 << "VolumeUp_21" << 44 << 300;
    }
    void dpiLockWithAndWithoutATable()
    {
        QFETCH(int, model);
        QFETCH(QString, option);
        QFETCH(int, sent);
        QFETCH(int, kept);
        OpenPage(model);
        Select("RightKey");
        Button(*page, option)->click();
        const ButtonFunction held = devices->Record(mouse).buttons[1];
        QCOMPARE(QList<int>({held.type, held.p1, held.p2}), QList<int>({10, sent, 0}));
        QCOMPARE(page->FunctionAt(1).code, kept);
        QCOMPARE(Button(*page, "RightKey")->text(), Button(*page, "DPI_4")->text() + "-" + Button(*page, option)->text());
    }

    // Rows 4 and 5 are buttons 4 and 3; a model of four buttons has a copy of four, which grows when
    // the sixth selector is given a function.
    void selectorRowsAndShortModels_data()
    {
        QTest::addColumn<int>("model");
        QTest::addColumn<QString>("selector");
        QTest::addColumn<int>("button");
        QTest::addColumn<int>("copySize");
        QTest::newRow("row 4") << 0 << "StartPause" << 4 << 6;
        QTest::newRow("row 5") << 0 << "TopMusic" << 3 << 6;
        QTest::newRow("four buttons, row 2") << 1 << "RightKey" << 1 << 4;
        QTest::newRow("four buttons, row 6") << 1 << "BackMusic" << 5 << 6;
    }
    void selectorRowsAndShortModels()
    {
        QFETCH(int, model);
        QFETCH(QString, selector);
        QFETCH(int, button);
        QFETCH(int, copySize);
        OpenPage(model);
        QCOMPARE(page->Types().size(), model == 1 ? 4 : 6);
        Select(selector);
        Button(*page, "VolumeDown_14")->click();
        FlashDataMap expected = record;
        expected.buttons[button] = ButtonFunction{FunctionWheelUpDown, 2, 0};
        QCOMPARE(devices->RecordDifferences(mouse, expected), QString());
        QCOMPARE(page->Types().size(), copySize);
        QCOMPARE(page->FunctionAt(button).type, 11);
        for (int other = 0; other < copySize; ++other) {
            if (other != button)
                QCOMPARE(page->FunctionAt(other).type, other < 4 || model == 0 ? int(record.buttons[other].type) : 0);
        }
    }

    // Refused: offline (the label, the copy and the working copy stay, the notice is raised) or no
    // selector checked (nothing written); the menu closes either way.
    void refusedOptionChangesNothing_data()
    {
        QTest::addColumn<bool>("selected");
        QTest::addColumn<bool>("online");
        QTest::addColumn<QString>("option");
        QTest::newRow("offline, triple") << true << false << "VolumeUp_8";
        QTest::newRow("offline, multimedia") << true << false << "VolumeDown_9";
        QTest::newRow("offline, DPI lock") << true << false << "VolumeUp_15";
        QTest::newRow("offline, main list") << true << false << "MidKey";
        QTest::newRow("nothing selected, triple") << false << true << "VolumeUp_8";
        QTest::newRow("nothing selected, multimedia") << false << true << "Player";
        QTest::newRow("nothing selected, DPI lock") << false << true << "VolumeUp_21";
    }
    void refusedOptionChangesNothing()
    {
        QFETCH(bool, selected);
        QFETCH(bool, online);
        QFETCH(QString, option);
        if (selected)
            Select("TopMusic");
        if (!online)
            SimControl_SetAttached(mouse, 0);
        QStringList labels;
        for (QAbstractButton* selector : page->Selectors()->buttons())
            labels << selector->text();
        const QList<int> types = page->Types(), codes = page->Codes();
        const FlashDataMap working = DeviceConfigSnapshot();
        const int updates = SimControl_UpdateCount();
        QSignalSpy offline(PostMsg::Instance(), &PostMsg::SigMouseOffLineo);

        Button(*page, option)->click();

        QCOMPARE(offline.count(), online ? 0 : 1);
        QCOMPARE(SimControl_UpdateCount(), updates);
        QCOMPARE(devices->RecordDifferences(mouse, record), QString());
        QVERIFY(std::memcmp(DeviceConfigSnapshot().bytes(), working.bytes(), sizeof working) == 0);
        QStringList after;
        for (QAbstractButton* selector : page->Selectors()->buttons())
            after << selector->text();
        QCOMPARE(after, labels);
        QCOMPARE(page->Types(), types);
        QCOMPARE(page->Codes(), codes);
        VerifyMenuClosed();
        if (!online)
            SimControl_SetAttached(mouse, 1);
    }

    // A main-list option clears the sub-menu marks and the macro list's, but not a wheel up/down
    // mark, which only the group's exclusivity moves; a sub-menu option only moves the mark within
    // its group.
    void mainListOptionClearsTheSubMenuMarks()
    {
        Select("RightKey");
        Button(*page, "VolumeUp_14")->click();
        QVERIFY(Button(*page, "VolumeUp_14")->isChecked());
        Button(*page, "VolumeUp_2")->click();
        QVERIFY(!Button(*page, "VolumeUp_14")->isChecked());
        QVERIFY(Button(*page, "VolumeUp_2")->isChecked());
        Button(*page, "DPI_2")->click();
        for (QAbstractButton* option : page->Options()->buttons())
            QVERIFY2(!option->isChecked(), qPrintable(option->objectName()));
        QVERIFY(Button(*page, "DPI_2")->isChecked());
        QCOMPARE(int(devices->Record(mouse).buttons[1].type), 7);
        Button(*page, "VolumeDown_14")->click();
        Button(*page, "DPI_2")->click();
        for (QAbstractButton* option : page->Options()->buttons())
            QVERIFY2(option->isChecked() == (option->objectName() == "VolumeDown_14"), qPrintable(option->objectName()));
        QCOMPARE(int(devices->Record(mouse).buttons[1].type), 7);
    }

    // The last left click stays on the mouse: a function other than the left click for the only
    // selector showing the left click's text is refused with the notice, over the page's centre
    // (50 left, 70 up), nothing written, the menu closed.
    void lastLeftClickIsKept_data()
    {
        QTest::addColumn<QString>("leftClickAlsoOn");
        QTest::addColumn<QString>("selector");
        QTest::addColumn<QString>("option");
        QTest::addColumn<bool>("refused");
        QTest::newRow("only left click, multimedia") << "" << "FireKey" << "Player" << true;
        QTest::newRow("only left click, sub-menu") << "" << "FireKey" << "VolumeUp_9" << true;
        QTest::newRow("only left click, DPI lock") << "" << "FireKey" << "VolumeUp_15" << true;
        QTest::newRow("only left click, main list") << "" << "FireKey" << "DPI_5" << true;
        QTest::newRow("only left click, left click again") << "" << "FireKey" << "LeftKey_3" << false;
        QTest::newRow("two left clicks") << "RightKey" << "FireKey" << "VolumeUp_9" << false;
        QTest::newRow("two left clicks, the other one") << "BackMusic" << "BackMusic" << "Player" << false;
        QTest::newRow("another button") << "" << "RightKey" << "VolumeUp_9" << false;
    }
    // The selector is checked while the menu is open, as a hotspot checks it: without the selector's
    // own guard, only the assignment path stands between the option and the last left click.
    void lastLeftClickIsKept()
    {
        QFETCH(QString, leftClickAlsoOn);
        QFETCH(QString, selector);
        QFETCH(QString, option);
        QFETCH(bool, refused);
        const QString leftClick = Button(*page, "LeftKey_3")->text();
        QCOMPARE(Button(*page, "FireKey")->text(), leftClick);
        if (!leftClickAlsoOn.isEmpty())
            Button(*page, leftClickAlsoOn)->setText(leftClick);
        Select(selector);
        const int button = page->SelectedButton();
        const QString label = Button(*page, selector)->text();
        const int updates = SimControl_UpdateCount();

        ModalCloser closer;
        Button(*page, option)->click();

        if (refused) {
            QCOMPARE(closer.opened, QStringList{"LeftButtonOnly"});
            QCOMPARE(closer.positions.first(), page->mapToGlobal(QPoint((page->width() - 300) / 2 - 50, (page->height() - 140) / 2 - 70)));
            QCOMPARE(SimControl_UpdateCount(), updates);
            QCOMPARE(devices->RecordDifferences(mouse, record), QString());
            QCOMPARE(Button(*page, selector)->text(), label);
            QCOMPARE(page->FunctionAt(button).type, int(record.buttons[button].type));
        } else {
            QVERIFY(closer.opened.isEmpty());
            QCOMPARE(SimControl_UpdateCount(), updates + 1);
        }
        VerifyMenuClosed();
    }

    // With KESTRO_BUTTON_SHOTS set to a folder, the page is drawn there with the menu open on each
    // sub-page, in the three languages.
    void subPageShots_data()
    {
        ButtonPageSupport::LanguageRows();
    }
    void subPageShots()
    {
        QFETCH(int, language);
        const QString folder = ButtonPageSupport::ShotFolder();
        if (folder.isEmpty())
            QSKIP("KESTRO_BUTTON_SHOTS names no folder");
        UiLanguage = language;
        QWidget ground;
        ButtonPageSupport::MakeGround(ground);
        page->setParent(&ground);
        page->SlotAllLanguage(language);
        page->SlotMouseIndex(0);
        ground.resize(page->size());
        ground.show();
        Select("StartPause");
        Child<QStackedWidget>(*page, "stackedWidget")->setCurrentIndex(1);
        auto* subPages = Child<QStackedWidget>(*page, "stackedWidget_2");
        for (int i = 0; i < subPages->count(); ++i) {
            subPages->setCurrentIndex(i);
            ground.grab().save(folder + QString("/options-%1-%2.png").arg(language).arg(subPages->widget(i)->objectName()));
        }
        page->setParent(nullptr);
    }
};

QTEST_MAIN(TestButtonOptions)
#include "tst_buttonoptions.moc"
