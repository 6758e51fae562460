#include "device/DeviceState.h"
#include "device/MacroBlocks.h"
#include "device/PostMsg.h"
#include "pages/buttons/ButtonTables.h"
#include "pages/buttons/Buttoninterface.h"
#include "support/ButtonPageOnMouse.h"
#include "support/ButtonPageSupport.h"
#include "support/FindChild.h"
#include "support/ModalCloser.h"
#include "support/SimulatedDeviceFixture.h"
#include "widgets/UiText.h"

#include <QButtonGroup>
#include <QLayout>
#include <QScrollArea>
#include <QScrollBar>
#include <QStackedWidget>
#include <QToolButton>
#include <QtTest>

#include <atomic>
#include <thread>

namespace {

// A copy of the program folder's data in which the second model has four buttons; the first is
// shipped as it is: six buttons, plain DPI codes (a code c locks (c + 1) x 50).
bool LayOutProgramFolder(const QString& from, const QString& to)
{
    using namespace ButtonPageSupport;
    return CopyProgramFolder(from, to) && EditFile(to + "/usersetting/Config.ini", "KeyNumber=6", "KeyNumber=4", "[Drive2]");
}

// Three macros; the list fills up with four hidden placeholders behind them.
const QStringList MacroFiles = {"Alpha.ini", "Keys.ini", "Zed.ini"};

QToolButton* Button(const QWidget& page, const QString& name)
{
    return Child<QToolButton>(page, name.toLatin1().constData());
}

QScrollBar* ScrollBar(const QWidget& page, const char* area)
{
    return Child<QScrollArea>(page, area)->verticalScrollBar();
}

// The marked buttons of a group by object name, a macro-list button by its macro's name.
QStringList Marked(const QButtonGroup* group)
{
    QStringList marked;
    for (const QAbstractButton* button : group->buttons()) {
        if (button->isChecked())
            marked << (button->objectName().isEmpty() ? button->text() : button->objectName());
    }
    return marked;
}

QStringList Listed(const QString& name)
{
    return name.isEmpty() ? QStringList() : QStringList{name};
}

// A key record of one keyboard key (kind 1), pressed and released.
QByteArray KeyboardBytes(uint16_t usage)
{
    ButtonKeyRecord record{};
    record.eventCount = 2;
    record.events[0] = KeyEvent{0, 1, usage, 10};
    record.events[1] = KeyEvent{1, 1, usage, 10};
    return ButtonPageSupport::Bytes(record);
}

// Where the lists stand before a click, so that a list the click leaves alone is seen to stay.
constexpr int Untouched = 7;

// The lists as long as the selector list with twelve rows, the main list, the multimedia list
// and the macro list of a long user's list would make them: the view stops a scroll at the end of a
// short list, and the tests look at the row the page scrolls to.
void MakeRoom(const Buttoninterface& page)
{
    for (const char* area : {"scrollArea_11", "scrollArea_4", "scrollArea_10", "scrollArea_3"}) {
        auto* list = Child<QScrollArea>(page, area);
        list->widget()->setMinimumHeight(list->viewport()->height() + 1000);
        list->widget()->resize(list->widget()->width(), list->viewport()->height() + 1000);
    }
    // The macro list takes the size its buttons ask for.
    page.MacroList()->layout()->addItem(new QSpacerItem(0, 1000, QSizePolicy::Fixed, QSizePolicy::Fixed));
    page.MacroList()->layout()->activate();
    page.MacroList()->resize(page.MacroList()->sizeHint());
    // A hidden list takes its new size when it shows.
    auto* subPages = Child<QStackedWidget>(page, "stackedWidget_2");
    QWidget* shown = subPages->currentWidget();
    subPages->setCurrentWidget(Child<QWidget>(page, "page_5"));
    subPages->setCurrentWidget(shown);
}

} // namespace

// Picking a button on the page: the selectors open the function menu on the button's present
// function, the last left click is kept, the hotspots only select, the categories only switch.
class TestButtonChoice : public ButtonPageOnMouse
{
    Q_OBJECT
    FlashDataMap record{};

    // The page over the wired mouse of the model, shown, with the record of the mouse and every
    // button at the page's default function.
    void OpenPage(int model)
    {
        QVERIFY(NewPage(model, &record));
        for (int i = 0; i < ButtonTables::PageButtonCount; ++i)
            record.buttons[i] = ButtonTables::DefaultAssignment()[size_t(i)];
        Show(record);
        page->show();
        QVERIFY(QTest::qWaitForWindowExposed(page));
        MakeRoom(*page);
    }
    // The record as the page shows one from the mouse.
    void Show(const FlashDataMap& shown)
    {
        AdoptDeviceConfig(shown);
        page->SlotUpDataButtonUIB(shown);
    }
    QStackedWidget* Menu() const { return Child<QStackedWidget>(*page, "stackedWidget"); }
    QStackedWidget* SubPages() const { return Child<QStackedWidget>(*page, "stackedWidget_2"); }

private slots:
    void initTestCase()
    {
        QVERIFY(Start(LayOutProgramFolder));
        QDir().mkpath(MacroBlocks::MacroFolder());
        for (const QString& name : MacroFiles) {
            QFile file(MacroBlocks::MacroFolder() + QLatin1Char('/') + name);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write("1\n0x04 1 0\n10ms\n0x04 1 1\n10ms\n");
        }
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

    // One selector click from the defaults with one function changed: the menu's page and sub-page,
    // the marks of the main list and of the options, and where each list stands. An empty sub-page
    // means the menu stays as it was (closed); -1 for a list the click leaves alone.
    void selectorOpensTheMenuOnItsFunction_data()
    {
        QTest::addColumn<int>("model");
        QTest::addColumn<QString>("selector");
        QTest::addColumn<int>("type"); // -1: the default function stays
        QTest::addColumn<int>("code");
        QTest::addColumn<QByteArray>("slot");
        QTest::addColumn<QString>("subPage");
        QTest::addColumn<QString>("entry");
        QTest::addColumn<QString>("option");
        QTest::addColumn<int>("mainList");
        QTest::addColumn<int>("dpiLockList");
        QTest::addColumn<int>("multimediaList");
        QTest::addColumn<int>("macroList");
        const QByteArray none;
        const auto row = [](const char* name, const char* selector, int type, int code, const QByteArray& slot,
                            const char* subPage, const char* entry, const char* option, int mainList,
                            int dpiLockList = 0, int multimediaList = -1, int macroList = -1, int model = 0) {
            QTest::newRow(name) << model << selector << type << code << slot << subPage << entry << option << mainList
                                << dpiLockList << multimediaList << macroList;
        };
        // Rows 4 and 5 are buttons 4 (forward) and 3 (back).
        row("row 4: forward key", "StartPause", -1, 0, none, "page_9", "ForWardKey", "", 60);
        row("row 5: back key", "TopMusic", -1, 0, none, "page_9", "BackKey_2", "", 45);
        row("mouse key without an entry", "BackKey", 1, 32, none, "page_9", "", "", 0);
        row("no function", "RightKey", 0, 0, none, "page_9", "DPI_5", "", 135);
        row("DPI up", "BackKey", 2, 2, none, "page_7", "DPI_7", "VolumeUp_9", 195);
        row("DPI code without an option", "BackKey", 2, 4, none, "page_7", "DPI_7", "", 195);
        row("wheel tilt right", "BackKey", 3, 2, none, "page_4", "DPI_11", "VolumeDown_2", 150);
        row("fire key", "BackKey", 4, 50, none, "page_9", "DPI_6", "", 105);
        row("report-rate switch", "BackKey", 7, 0, none, "page_9", "DPI_2", "", 75);
        row("lights p1 3", "BackKey", 8, 3, none, "page_6", "DPI_9", "VolumeUp_6", 180);
        row("lights p1 4", "BackKey", 8, 4, none, "page_6", "DPI_9", "VolumeUp_7", 180);
        row("lights p1 2", "BackKey", 8, 2, none, "page_6", "DPI_9", "", 180);
        row("profile switch", "BackKey", 9, 0, none, "page_9", "DPI_3", "", 90);
        row("DPI lock 500", "BackKey", 10, 9, none, "page_8", "DPI_4", "VolumeUp_15", 225, 60);
        row("DPI lock 1300", "BackKey", 10, 25, none, "page_8", "DPI_4", "", 225, 0);
        row("wheel down", "BackKey", 11, 2, none, "page_10", "DPI_13", "VolumeDown_14", 150);
        // Key records: a multimedia key by the low byte of its consumer usage, anything else is a
        // key combination. Backspace has the low byte of a multimedia key, but a keyboard's usage.
        row("volume down", "BackKey", 5, 0, ButtonPageSupport::Bytes(ButtonPageSupport::ConsumerBytes(0x00EA)), "page_3", "DPI_12",
            "VolumeDown_4", 240, Untouched, 105);
        row("media player", "BackKey", 5, 0, ButtonPageSupport::Bytes(ButtonPageSupport::ConsumerBytes(0x0183)), "page_3", "DPI_12", "Player",
            240, Untouched, 0);
        row("Backspace", "BackKey", 5, 0, KeyboardBytes(0x2A), "page_9", "DPI_8", "", 120, Untouched, 0);
        row("consumer usage the menu lacks", "BackKey", 5, 0, ButtonPageSupport::Bytes(ButtonPageSupport::ConsumerBytes(0x00E0)), "page_9",
            "DPI_8", "", 120, Untouched, 0);
        // A type the menu has no place for leaves the menu closed and the two lists at the top.
        row("type 12", "BackKey", 12, 1, none, "", "", "", 0, 0);
        // Macros: the list button whose label the selector shows; placeholders stand for none.
        row("macro", "BackKey", 6, 2, ButtonPageSupport::MacroBytes("\x04Keys"), "page_5", "DPI_10", "Keys", 225, 0, -1, 30);
        row("macro not in the list", "BackKey", 6, 2, ButtonPageSupport::MacroBytes("\x04Gone"), "page_5", "DPI_10", "",
            225);
        row("macro without a name", "BackKey", 6, 2, ButtonPageSupport::MacroBytes(QByteArray(1, '\0')), "page_5",
            "DPI_10", "", 225);
        // Button 5 lies beyond a four-button model's copy: read as no function, whatever the record holds.
        row("beyond the model's buttons", "BackMusic", 8, 3, none, "page_9", "DPI_5", "", 135, 0, -1, -1, 1);
    }
    void selectorOpensTheMenuOnItsFunction()
    {
        QFETCH(int, model);
        QFETCH(QString, selector);
        QFETCH(int, type);
        QFETCH(int, code);
        QFETCH(QByteArray, slot);
        QFETCH(QString, subPage);
        QFETCH(QString, entry);
        QFETCH(QString, option);
        QFETCH(int, mainList);
        QFETCH(int, dpiLockList);
        QFETCH(int, multimediaList);
        QFETCH(int, macroList);
        if (model != 0)
            OpenPage(model);
        const int button = ButtonTables::SelectorRows()[size_t(page->Selectors()->buttons().indexOf(Button(*page, selector)))].button;
        if (type >= 0) {
            if (slot.isEmpty())
                ButtonPageSupport::Place(record, button, type, code, 0);
            else
                ButtonPageSupport::Place(record, button, type, code, 0, slot);
            Show(record);
        }
        for (const char* area : {"scrollArea_4", "scrollArea_10", "scrollArea_3", "scrollArea_7"})
            ScrollBar(*page, area)->setValue(Untouched);
        const QList<int> functions = {page->FunctionAt(button).type, page->FunctionAt(button).code};

        Button(*page, selector)->click();

        QCOMPARE(Marked(page->Selectors()), QStringList{selector});
        QCOMPARE(Menu()->currentWidget()->objectName(), subPage.isEmpty() ? "page" : "page_2");
        QCOMPARE(SubPages()->currentWidget()->objectName(), subPage.isEmpty() ? "page_9" : subPage);
        QCOMPARE(Marked(page->MenuEntries()), Listed(entry));
        QCOMPARE(Marked(page->Options()), Listed(option));
        QCOMPARE(ScrollBar(*page, "scrollArea_4")->value(), mainList);
        QCOMPARE(ScrollBar(*page, "scrollArea_10")->value(), dpiLockList);
        QCOMPARE(ScrollBar(*page, "scrollArea_3")->value(), multimediaList < 0 ? Untouched : multimediaList);
        QCOMPARE(ScrollBar(*page, "scrollArea_7")->value(), macroList < 0 ? Untouched : macroList);
        // Opening the menu changes no label and no function.
        QCOMPARE((QList<int>{page->FunctionAt(button).type, page->FunctionAt(button).code}), functions);
    }

    // A macro's label can carry the NULs of the name field behind the name; the list's button of
    // that name is found all the same. The selector's own text decides, not the record.
    void macroLabelWithTrailingNuls()
    {
        ButtonPageSupport::Place(record, 2, 6, 2, 0, ButtonPageSupport::MacroBytes("\x04Zed"));
        Show(record);
        Button(*page, "BackKey")->setText(page->MacroLabel(QStringLiteral("Keys")) + QString(3, QChar(0)));
        ScrollBar(*page, "scrollArea_7")->setValue(Untouched);
        QCOMPARE(page->MacroListButtons().at(1)->text(), QStringLiteral("Keys"));

        Button(*page, "BackKey")->click();

        QCOMPARE(Marked(page->Options()), QStringList{"Keys"});
        QCOMPARE(ScrollBar(*page, "scrollArea_7")->value(), 30);
    }

    // The selector list's scroll bar while the row's menu is open: the menu covers it for rows 2 to
    // 6; row 1 keeps it.
    void selectorSetsTheListScrollBar_data()
    {
        QTest::addColumn<QString>("selector");
        QTest::addColumn<QString>("style");
        QTest::newRow("row 1") << "FireKey" << "QScrollBar {width:10px;}";
        QTest::newRow("row 2") << "RightKey" << "QScrollBar {width:0px;}";
        QTest::newRow("row 6") << "BackMusic" << "QScrollBar {width:0px;}";
        QTest::newRow("row 7") << "Button7" << "QScrollBar {width:10px;}";
    }
    void selectorSetsTheListScrollBar()
    {
        QFETCH(QString, selector);
        QFETCH(QString, style);
        // Row 1 shows the only left click by default: another row shows it too.
        Button(*page, "BackKey")->setText(Button(*page, "LeftKey_3")->text());
        ScrollBar(*page, "scrollArea_11")->setStyleSheet(QString());
        Button(*page, selector)->click();
        QCOMPARE(Menu()->currentWidget()->objectName(), QStringLiteral("page_2"));
        QCOMPARE(ScrollBar(*page, "scrollArea_11")->styleSheet(), style);
    }

    // A click on the only selector that shows the left click's text refuses with the notice over
    // the page's centre (50 left, 70 up), closes the menu and leaves no selector checked; with two
    // such selectors either opens its menu. The labels decide, not the copy.
    void lastLeftClickGuard_data()
    {
        QTest::addColumn<QString>("leftClickAlsoOn");
        QTest::addColumn<QString>("selector");
        QTest::addColumn<bool>("refused");
        QTest::addColumn<QString>("entry");
        QTest::newRow("one left click") << "" << "FireKey" << true << "";
        QTest::newRow("two left clicks, row 1") << "RightKey" << "FireKey" << false << "LeftKey_3";
        QTest::newRow("two left clicks, the other") << "RightKey" << "RightKey" << false << "RightKey_3";
        QTest::newRow("another row") << "" << "BackKey" << false << "MidKey";
    }
    void lastLeftClickGuard()
    {
        QFETCH(QString, leftClickAlsoOn);
        QFETCH(QString, selector);
        QFETCH(bool, refused);
        QFETCH(QString, entry);
        const QString leftClick = Button(*page, "LeftKey_3")->text();
        QCOMPARE(Button(*page, "FireKey")->text(), leftClick);
        if (!leftClickAlsoOn.isEmpty())
            Button(*page, leftClickAlsoOn)->setText(leftClick);
        // The menu is open for another button, with a sub-page shown.
        Button(*page, "TopMusic")->click();
        Button(*page, "DPI_12")->click();
        QCOMPARE(SubPages()->currentWidget()->objectName(), QStringLiteral("page_3"));
        const int updates = SimControl_UpdateCount();
        const QList<int> types = page->Types();

        ModalCloser closer;
        Button(*page, selector)->click();

        if (refused) {
            QCOMPARE(closer.opened, QStringList{"LeftButtonOnly"});
            QCOMPARE(closer.positions.first(),
                     page->mapToGlobal(QPoint((page->width() - 300) / 2 - 50, (page->height() - 140) / 2 - 70)));
            QCOMPARE(Marked(page->Selectors()), QStringList());
            QCOMPARE(page->Selectors()->exclusive(), true);
            QCOMPARE(Menu()->currentWidget()->objectName(), QStringLiteral("page"));
            QCOMPARE(SubPages()->currentWidget()->objectName(), QStringLiteral("page_9"));
        } else {
            QVERIFY(closer.opened.isEmpty());
            QCOMPARE(Marked(page->Selectors()), QStringList{selector});
            QCOMPARE(Menu()->currentWidget()->objectName(), QStringLiteral("page_2"));
            QCOMPARE(Marked(page->MenuEntries()), QStringList{entry});
        }
        QCOMPARE(page->Types(), types);
        QCOMPARE(SimControl_UpdateCount(), updates);
        QCOMPARE(devices->RecordDifferences(mouse, devices->Record(mouse)), QString());
    }

    // A hotspot checks its row's selector and scrolls the selector list to the row, without opening
    // the menu or asking the guard; with the mouse away the offline notice is raised as well.
    void hotspotSelectsItsRow_data()
    {
        QTest::addColumn<QString>("hotspot");
        QTest::addColumn<bool>("online");
        QTest::addColumn<QString>("selector");
        QTest::addColumn<int>("scroll");
        QTest::newRow("Number6") << "Number6" << true << "BackMusic" << 100;
        QTest::newRow("Number6, mouse away") << "Number6" << false << "BackMusic" << 100;
        QTest::newRow("Number4 is row 4") << "Number4" << true << "StartPause" << 60;
        QTest::newRow("Number1, the only left click") << "Number1" << true << "FireKey" << 0;
        QTest::newRow("Number12, hidden row 12") << "Number12" << true << "Button12" << 220;
    }
    void hotspotSelectsItsRow()
    {
        QFETCH(QString, hotspot);
        QFETCH(bool, online);
        QFETCH(QString, selector);
        QFETCH(int, scroll);
        if (!online)
            SimControl_SetAttached(mouse, 0);
        QSignalSpy offline(PostMsg::Instance(), &PostMsg::SigMouseOffLineo);
        // The list stands away from the row, so that the scroll is seen.
        ScrollBar(*page, "scrollArea_11")->setValue(scroll ? 0 : 40);
        QCOMPARE(ScrollBar(*page, "scrollArea_11")->value(), scroll ? 0 : 40);

        ModalCloser closer;
        Button(*page, hotspot)->click();

        QCOMPARE(Marked(page->Selectors()), QStringList{selector});
        QCOMPARE(ScrollBar(*page, "scrollArea_11")->value(), scroll);
        QCOMPARE(Menu()->currentWidget()->objectName(), QStringLiteral("page"));
        QCOMPARE(Marked(page->MenuEntries()), QStringList());
        QVERIFY(closer.opened.isEmpty());
        QCOMPARE(offline.count(), online ? 0 : 1);
        if (!online) {
            QCOMPARE(offline.at(0).at(0).toInt(), 0);
            SimControl_SetAttached(mouse, 1);
        }
    }

    // A hotspot under an open menu moves the selection only: the menu and its marks stay.
    void hotspotKeepsTheOpenMenu()
    {
        Button(*page, "BackKey")->click();
        QCOMPARE(Marked(page->MenuEntries()), QStringList{"MidKey"});
        Button(*page, "Number5")->click();
        QCOMPARE(Marked(page->Selectors()), QStringList{"TopMusic"});
        QCOMPARE(Menu()->currentWidget()->objectName(), QStringLiteral("page_2"));
        QCOMPARE(Marked(page->MenuEntries()), QStringList{"MidKey"});
    }

    // A category shows its sub-page and nothing else: the option marks and the lists stay.
    void categoryShowsItsSubPage_data()
    {
        QTest::addColumn<QString>("category");
        QTest::addColumn<QString>("subPage");
        QTest::newRow("multimedia") << "DPI_12" << "page_3";
        QTest::newRow("wheel tilt") << "DPI_11" << "page_4";
        QTest::newRow("lights") << "DPI_9" << "page_6";
        QTest::newRow("DPI actions") << "DPI_7" << "page_7";
        QTest::newRow("DPI lock") << "DPI_4" << "page_8";
        QTest::newRow("wheel up/down") << "DPI_13" << "page_10";
    }
    void categoryShowsItsSubPage()
    {
        QFETCH(QString, category);
        QFETCH(QString, subPage);
        ButtonPageSupport::Place(record, 2, 10, 9, 0);
        Show(record);
        Button(*page, "BackKey")->click();
        QCOMPARE(Marked(page->Options()), QStringList{"VolumeUp_15"});
        const int dpiLockList = ScrollBar(*page, "scrollArea_10")->value();
        const int mainList = ScrollBar(*page, "scrollArea_4")->value();

        Button(*page, category)->click();

        QCOMPARE(SubPages()->currentWidget()->objectName(), subPage);
        QCOMPARE(Marked(page->MenuEntries()), QStringList{category});
        QCOMPARE(Marked(page->Options()), QStringList{"VolumeUp_15"});
        QCOMPARE(ScrollBar(*page, "scrollArea_10")->value(), dpiLockList);
        QCOMPARE(ScrollBar(*page, "scrollArea_4")->value(), mainList);
        QCOMPARE(Menu()->currentWidget()->objectName(), QStringLiteral("page_2"));
    }

    // The selector list takes clicks from the start: a new page shows it over the closed menu, and
    // the menu comes over it only when it opens.
    void newPageShowsTheListFirst()
    {
        const auto above = [](QWidget* upper, QWidget* lower) {
            const QObjectList siblings = upper->parent()->children();
            return siblings.indexOf(upper) > siblings.indexOf(lower);
        };
        auto* list = Child<QScrollArea>(*page, "scrollArea_11");
        // The right end of the list, where the menu lies when it is open.
        const QPoint end = list->mapTo(page, QPoint(list->width() - 3, list->height() / 2));
        const auto inList = [&] {
            QWidget* at = page->childAt(end);
            return at == list || list->isAncestorOf(at);
        };
        QCOMPARE(Menu()->currentWidget()->objectName(), QStringLiteral("page"));
        QVERIFY(above(list, Menu()));
        QVERIFY(inList());
        Button(*page, "RightKey")->click();
        QVERIFY(above(Menu(), list));
        QVERIFY(!inList());
    }

    // The device library's thread writes the working copy while the user picks a multimedia
    // button: the key record is read from a copy taken under the record's lock (ThreadSanitizer
    // watches this test).
    void keyRecordReadWhileTheMouseReports()
    {
        ButtonPageSupport::Place(record, 2, 5, 0, 0, ButtonPageSupport::Bytes(ButtonPageSupport::ConsumerBytes(0x00EA)));
        Show(record);
        std::atomic<bool> stop{false};
        std::thread reports([&stop] {
            while (!stop) {
                ChangeDeviceConfig([](FlashDataMap& image) { image.keyRecords[2].events[0].delay += 1; });
            }
        });
        for (int i = 0; i < 20; ++i)
            Button(*page, "BackKey")->click();
        stop = true;
        reports.join();
        QCOMPARE(Marked(page->Options()), QStringList{"VolumeDown_4"});
    }
};

QTEST_MAIN(TestButtonChoice)
#include "tst_buttonchoice.moc"
