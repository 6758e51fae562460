#include "app/ReadConfigFile.h"
#include "device/ConnectionState.h"
#include "device/DeviceDiscovery.h"
#include "device/DeviceInfoCache.h"
#include "device/DeviceState.h"
#include "device/KeyRecords.h"
#include "device/MacroBlocks.h"
#include "device/PostMsg.h"
#include "device/Worker.h"
#include "pages/buttons/ButtonTables.h"
#include "pages/buttons/Buttoninterface.h"
#include "pages/buttons/DebounceTime.h"
#include "platform/ScreenInfo.h"
#include "support/ButtonPageSupport.h"
#include "support/DeviceThreadTestMain.h"
#include "support/FindChild.h"
#include "support/RunOnDeviceThread.h"
#include "support/ButtonPageOnMouse.h"
#include "support/SimulatedDeviceFixture.h"
#include "widgets/UiText.h"
#include "widgets/UiTextTables.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QLabel>
#include <QRegularExpression>
#include <QStackedWidget>
#include <QToolButton>
#include <QtTest>

#include <cstring>

namespace {

using namespace ButtonPageSupport;

QToolButton* Button(const QWidget& page, const QString& name)
{
    return Child<QToolButton>(page, name.toLatin1().constData());
}

// An expected selector text: "{Name}" stands for the current text of the page's object Name,
// "{macro}" for the language's macro label prefix.
QString Expand(const QWidget& page, QString text, int language)
{
    text.replace("{macro}", UiText::ForReader(language, "Buttoninterface", "MacroSeond"));
    const QRegularExpression name("\\{(\\w+)\\}");
    for (QRegularExpressionMatch match = name.match(text); match.hasMatch(); match = name.match(text))
        text.replace(match.captured(0), Button(page, match.captured(1))->text());
    return text;
}

template <typename T>
QList<T> Repeated(int count, const T& value)
{
    QList<T> list;
    for (int i = 0; i < count; ++i)
        list << value;
    return list;
}

QStringList SelectorTexts(const Buttoninterface& page)
{
    QStringList texts;
    for (int button = 0; button < ButtonTables::PageButtonCount; ++button)
        texts << page.SelectorOfButton(button)->text();
    return texts;
}

} // namespace

// The button page shows the mouse's assignments: the display of every kind of function, the three
// ways a record arrives, the default assignment, and the page's texts in each language.
class TestButtonDisplay : public ButtonPageOnMouse
{
    Q_OBJECT
    FlashDataMap record{};
    // What SigButtonToMacro brought: the button and the record's bytes.
    QList<int> macroButtons;
    QList<QByteArray> macroRecords;

    void OpenPage(int model)
    {
        QVERIFY(NewPage(model, &record));
        macroButtons.clear();
        macroRecords.clear();
    }
    void MarkSelectors(const QString& text)
    {
        for (int button = 0; button < ButtonTables::PageButtonCount; ++button)
            page->SelectorOfButton(button)->setText(text);
    }
    // The record of twelve buttons, each with a function of another kind.
    FlashDataMap EveryKind() const
    {
        FlashDataMap every = record;
        Place(every, 0, 1, 1, 0);
        Place(every, 1, 5, 0, 0, ComboBytes("Ctrl+Shift+A", 6));
        Place(every, 2, 5, 0, 0, Bytes(ConsumerBytes(0x00E9)));
        Place(every, 3, 1, 8, 0);
        Place(every, 4, 6, 4, 253, MacroBytes(QByteArray("\x06Macro1", 7)));
        Place(every, 5, 10, 15, 0);
        Place(every, 6, 4, 10, 3);
        Place(every, 7, 8, 3, 0);
        Place(every, 8, 11, 2, 0);
        Place(every, 9, 3, 1, 0);
        Place(every, 10, 7, 0, 0);
        Place(every, 11, 0, 0, 0);
        return every;
    }
    static QStringList EveryKindTexts()
    {
        return {"{LeftKey_3}", "Ctrl+Shift+A", "{VolumeDown}", "{BackKey_2}", "{macro}Macro1", "{DPI_4}-800",
                "{DPI_6}", "{VolumeUp_6}", "{VolumeDown_14}", "{VolumeUp_2}", "{DPI_2}", "{DPI_5}"};
    }

private slots:
    void initTestCase()
    {
        QVERIFY(Start(LayOutAssignmentModels));
        connect(PostMsg::Instance(), &PostMsg::SigButtonToMacro, this, [this](FlashDataMap shown, int button) {
            macroButtons << button;
            macroRecords << Bytes(shown);
        });
    }
    void cleanupTestCase()
    {
        Stop();
    }
    void init()
    {
        UiLanguage = 0;
        CacheFileName.Set(QString());
        OpenPage(1);
    }

    // One function on one button, loaded from a record: the selector's text, and the macro page
    // told of a macro whose name can be a file name. "unchanged" keeps the text the selector had.
    void displayTable_data()
    {
        QTest::addColumn<int>("button");
        QTest::addColumn<int>("type");
        QTest::addColumn<int>("code");
        QTest::addColumn<int>("parameter");
        QTest::addColumn<QByteArray>("slot");
        QTest::addColumn<QString>("expected");
        QTest::addColumn<bool>("toMacroPage");
        const auto row = [](const char* name, int button, int type, int code, int parameter, const QByteArray& slot,
                            const char* expected, bool toMacroPage = false) {
            QTest::newRow(name) << button << type << code << parameter << slot << QString::fromUtf8(expected) << toMacroPage;
        };
        row("disabled", 3, 0, 0, 0, {}, "{DPI_5}");
        row("disabled, any code", 3, 0, 9, 9, {}, "{DPI_5}");
        row("left", 3, 1, 1, 0, {}, "{LeftKey_3}");
        row("right", 3, 1, 2, 0, {}, "{RightKey_3}");
        row("middle", 3, 1, 4, 0, {}, "{MidKey}");
        row("back", 3, 1, 8, 0, {}, "{BackKey_2}");
        row("forward", 3, 1, 16, 0, {}, "{ForWardKey}");
        row("mouse key 3", 3, 1, 3, 0, {}, "unchanged");
        row("DPI cycle", 4, 2, 1, 0, {}, "{VolumeUp_8}");
        row("DPI up", 4, 2, 2, 0, {}, "{VolumeUp_9}");
        row("DPI down", 4, 2, 3, 0, {}, "{VolumeUp_10}");
        row("DPI 4", 4, 2, 4, 0, {}, "unchanged");
        row("wheel left", 5, 3, 1, 0, {}, "{VolumeUp_2}");
        row("wheel right", 5, 3, 2, 0, {}, "{VolumeDown_2}");
        row("wheel tilt 0", 5, 3, 0, 0, {}, "unchanged");
        row("rapid fire", 6, 4, 10, 3, {}, "{DPI_6}");
        row("volume up", 2, 5, 0, 0, Bytes(ConsumerBytes(0x00E9)), "{VolumeDown}");
        row("player", 2, 5, 0, 0, Bytes(ConsumerBytes(0x0183)), "{Player}");
        row("0x0083 reads as the player", 2, 5, 0, 0, Bytes(ConsumerBytes(0x0083)), "{Player}");
        row("0x0150 is no multimedia key", 2, 5, 0, 0, Bytes(ConsumerBytes(0x0150)), "unchanged");
        row("Ctrl+Shift+A", 1, 5, 0, 0, ComboBytes("Ctrl+Shift+A", 6), "Ctrl+Shift+A");
        row("one key", 1, 5, 0, 0, ComboBytes("F7", 2), "F7");
        row("count 0", 1, 5, 0, 0, ComboBytes("Ctrl+Shift+A", 0), "");
        row("count 255 names three keys", 1, 5, 0, 0, ComboBytes("Ctrl+Shift+A", 255), "Ctrl+Shift+A");
        row("macro on button 4", 4, 6, 4, 253, MacroBytes(QByteArray("\x06Macro1", 7)), "{macro}Macro1", true);
        row("stale tail after the length byte", 4, 6, 4, 1, MacroBytes(QByteArray("\x02" "abngName", 9)), "{macro}ab", true);
        row("name without its zero", 0, 6, 0, 1, MacroBytes(QByteArray(1, 30) + QByteArray(30, 'x')),
            "{macro}xxxxxxxxxxxxxxxxxxxxxxxxxxxxxx", true);
        row("hostile name", 4, 6, 4, 1, MacroBytes(QByteArray("\x0B../../Macro", 12)), "{macro}../../Macro");
        row("backslash in the name", 4, 6, 4, 1, MacroBytes(QByteArray("\x04" "a\\b1", 5)), "{macro}a\\b1");
        row("empty name", 4, 6, 4, 1, MacroBytes(QByteArray(1, 0)), "{macro}");
        row("report rate", 3, 7, 0, 0, {}, "{DPI_2}");
        row("report rate, any code", 3, 7, 5, 0, {}, "{DPI_2}");
        row("all lights", 0, 8, 0, 0, {}, "{VolumeUp_4}");
        row("DPI light", 0, 8, 1, 0, {}, "{VolumeUp_5}");
        row("light code 2", 0, 8, 2, 0, {}, "unchanged");
        row("light strip", 0, 8, 3, 0, {}, "{VolumeUp_6}");
        row("strip effect", 0, 8, 4, 0, {}, "{VolumeUp_7}");
        row("light code 5", 0, 8, 5, 0, {}, "unchanged");
        row("profile switch", 11, 9, 0, 0, {}, "{DPI_3}");
        row("DPI lock 15", 5, 10, 15, 0, {}, "{DPI_4}-800");
        row("wheel up", 7, 11, 1, 0, {}, "{VolumeUp_14}");
        row("wheel down", 7, 11, 2, 0, {}, "{VolumeDown_14}");
        row("wheel 3", 7, 11, 3, 0, {}, "unchanged");
        row("type 12", 8, 12, 1, 0, {}, "unchanged");
        row("type 255", 8, 255, 1, 0, {}, "unchanged");
    }
    void displayTable()
    {
        QFETCH(int, button);
        QFETCH(int, type);
        QFETCH(int, code);
        QFETCH(int, parameter);
        QFETCH(QByteArray, slot);
        QFETCH(QString, expected);
        QFETCH(bool, toMacroPage);
        FlashDataMap shown = record;
        // Every other button a function no option stands for, so only the tested one changes.
        for (int other = 0; other < ButtonSlotCount; ++other)
            shown.buttons[other] = ButtonFunction{12, 0, 0};
        if (slot.isEmpty())
            Place(shown, button, type, code, parameter);
        else
            Place(shown, button, type, code, parameter, slot);
        MarkSelectors("before");
        const QMap<QString, QByteArray> files = ButtonPageSupport::FilesUnder(home.Path());

        page->SlotUpDataButtonUIB(shown);

        QStringList texts = Repeated(ButtonTables::PageButtonCount, QString("before"));
        texts[button] = expected == "unchanged" ? QString("before") : Expand(*page, expected, 0);
        QCOMPARE(SelectorTexts(*page), texts);
        QCOMPARE(page->FunctionAt(button).type, type);
        QCOMPARE(page->FunctionAt(button).code, code);
        QCOMPARE(page->FunctionAt(button).parameter, parameter);
        QCOMPARE(macroButtons, toMacroPage ? QList<int>{button} : QList<int>{});
        if (toMacroPage)
            QCOMPARE(macroRecords.first(), Bytes(shown));
        // The macro page writes the macro files; the display writes none.
        QCOMPARE(ButtonPageSupport::FilesUnder(home.Path()), files);
    }

    // Rows 4 and 5 show buttons 4 and 3: a record with the back key on button 3 shows it on the
    // fifth selector, TopMusic.
    void rowsFourAndFiveAreSwapped()
    {
        FlashDataMap shown = record;
        Place(shown, 0, 1, 1, 0);
        Place(shown, 3, 1, 8, 0);
        Place(shown, 4, 2, 2, 0);
        page->SlotUpDataButtonUIB(shown);
        QCOMPARE(Button(*page, "TopMusic")->text(), Button(*page, "BackKey_2")->text());
        QCOMPARE(Button(*page, "StartPause")->text(), Button(*page, "VolumeUp_9")->text());
        QCOMPARE(page->FunctionAt(3).code, 8);
    }

    // The record of every kind arrives fresh from the mouse, as the cache while the mouse sleeps,
    // and from an imported file, in each language: every selector shows its button, the macro page
    // gets the record with button 4, no file changes, and only the device connection's records
    // mark the page as updated.
    void recordArrives_data()
    {
        QTest::addColumn<int>("way");
        QTest::addColumn<int>("language");
        for (int language = 0; language < 3; ++language) {
            QTest::addRow("from the mouse, language %d", language) << 0 << language;
            QTest::addRow("from the cache, language %d", language) << 1 << language;
            QTest::addRow("from a file, language %d", language) << 2 << language;
        }
    }
    void recordArrives()
    {
        QFETCH(int, way);
        QFETCH(int, language);
        UiLanguage = language;
        page->SlotAllLanguage(language);
        QVERIFY(SimControl_SetDeviceRecord(mouse, EveryKind().bytes()));
        const FlashDataMap onMouse = devices->Record(mouse);
        QCOMPARE(Bytes(onMouse.buttons), Bytes(EveryKind().buttons));
        const QString cacheName = DeviceCacheFileName(0x1C, 0x13);
        const QString exportPath = home.Path() + "/every.bin";
        if (way == 1)
            QVERIFY(WriteDeviceInfoCache(cacheName, onMouse));
        if (way == 2)
            QVERIFY(Buttoninterface::WriteConfigFile(exportPath, onMouse));
        const QMap<QString, QByteArray> files = ButtonPageSupport::FilesUnder(home.Path());
        ButtonPageUpdated = false;

        if (way == 0) {
            RunOnDeviceThread([&] { emit PostMsg::Instance()->SigUpDataLightUIButton(devices->Record(mouse)); });
        } else if (way == 1) {
            SimControl_SetMouseOnline(mouse, 0);
            RunOnDeviceThread([&] {
                FlashDataMap cached{};
                if (ReadDeviceInfoCache(cacheName, &cached))
                    emit PostMsg::Instance()->SigUpDataLightUIButton(cached);
            });
            SimControl_SetMouseOnline(mouse, 1);
        } else {
            FlashDataMap imported{};
            QCOMPARE(ReadConfigFile(exportPath, &imported), 0);
            emit PostMsg::Instance()->SigUpDataButtonUIC(imported);
        }

        QStringList expected;
        for (const QString& text : EveryKindTexts())
            expected << Expand(*page, text, language);
        QCOMPARE(SelectorTexts(*page), expected);
        QCOMPARE(Button(*page, "FireKey")->text(), UiText::OptionLabels(language, "KeyOptions", "0x0100").value(3));
        QCOMPARE(macroButtons, QList<int>{4});
        QCOMPARE(macroRecords.first(), Bytes(onMouse));
        QCOMPARE(page->Types(), (QList<int>{1, 5, 5, 1, 6, 10, 4, 8, 11, 3, 7, 0}));
        QCOMPARE(page->Params().at(4), 253);
        // The connection's signal marks the page updated, with the fresh or the cached record.
        QCOMPARE(bool(ButtonPageUpdated), way != 2);
        QVERIFY(!ButtonPageRefreshing);
        QCOMPARE(ButtonPageSupport::FilesUnder(home.Path()), files);
        QFile::remove(DeviceCacheFolder() + cacheName);
        QFile::remove(exportPath);
    }

    // The model list's button count decides how many buttons the copy holds and shows: none for a
    // count of 0, at most the record's 16; selectors beyond the count keep their texts.
    void modelButtonCount_data()
    {
        QTest::addColumn<int>("model");
        QTest::addColumn<int>("entries");
        QTest::addColumn<int>("shown");
        QTest::newRow("six") << 0 << 6 << 6;
        QTest::newRow("twelve") << 1 << 12 << 12;
        QTest::newRow("twenty") << 2 << 16 << 12;
        QTest::newRow("zero") << 3 << 0 << 0;
        QTest::newRow("no model group") << 7 << 0 << 0;
    }
    void modelButtonCount()
    {
        QFETCH(int, model);
        QFETCH(int, entries);
        QFETCH(int, shown);
        OpenPage(model);
        MarkSelectors("before");
        FlashDataMap every = EveryKind();
        for (int i = 12; i < ButtonSlotCount; ++i)
            Place(every, i, 1, 2, 0);
        page->SlotUpDataButtonUIB(every);
        QCOMPARE(page->Types().size(), entries);
        QCOMPARE(page->Codes().size(), entries);
        QCOMPARE(page->Params().size(), entries);
        for (int i = 0; i < entries; ++i)
            QCOMPARE(page->Types().at(i), int(every.buttons[i].type));
        const QStringList texts = SelectorTexts(*page);
        for (int button = 0; button < ButtonTables::PageButtonCount; ++button)
            QCOMPARE(texts.at(button) == "before", button >= shown);
        QCOMPARE(macroButtons, shown > 4 ? QList<int>{4} : QList<int>{});
    }

    // No record: the default assignment, the debounce panel at 8 and 60 s of sleep told, the
    // selector list and the idle sub-page shown, and nothing sent to the mouse, which is away.
    void defaultAssignment()
    {
        page->SlotUpDataButtonUIB(EveryKind());
        Button(*page, "BackKey")->setChecked(true);
        Child<QStackedWidget>(*page, "stackedWidget")->setCurrentIndex(1);
        Child<QStackedWidget>(*page, "stackedWidget_2")->setCurrentIndex(2);
        const QStringList texts = SelectorTexts(*page);
        SimControl_SetAttached(mouse, 0);
        const int updates = SimControl_UpdateCount();
        QList<int> sleep;
        const auto watch = connect(PostMsg::Instance(), &PostMsg::SigLightToFrom, this, [&](int seconds) { sleep << seconds; });

        RunOnDeviceThread([] { emit PostMsg::Instance()->SigFormReset(); });

        disconnect(watch);
        SimControl_SetAttached(mouse, 1);
        QCOMPARE(page->Types(), (QList<int>{1, 1, 1, 1, 1, 2, 2, 2, 7, 7, 4, 0}));
        QCOMPARE(page->Codes(), (QList<int>{1, 2, 4, 8, 16, 1, 2, 3, 0, 0, 10, 0}));
        QCOMPARE(page->Params(), Repeated(12, 0));
        QCOMPARE(Child<DebounceTime>(*page, "DebunceButton")->CurrentIndex(), 8);
        QCOMPARE(sleep, QList<int>{60});
        QCOMPARE(SimControl_UpdateCount(), updates);
        QCOMPARE(Child<QStackedWidget>(*page, "stackedWidget")->currentIndex(), 0);
        QCOMPARE(Child<QStackedWidget>(*page, "stackedWidget_2")->currentIndex(), 4);
        QCOMPARE(SelectorTexts(*page), texts);
        QVERIFY(Button(*page, "BackKey")->isChecked());
        QVERIFY(!ButtonPageRefreshing);
    }

    // A debounce byte of 16 or more from the mouse names no item of the list: the panel keeps the
    // choice it shows (no blank list), remembers it, writes nothing back and announces nothing new;
    // a choice refused later (the mouse away) puts that shown choice back.
    void debounceByteOutOfRange_data()
    {
        QTest::addColumn<int>("byte");
        QTest::newRow("16") << 16;
        QTest::newRow("99") << 99;
        QTest::newRow("255") << 255;
    }
    void debounceByteOutOfRange()
    {
        QFETCH(int, byte);
        auto* panel = Child<DebounceTime>(*page, "DebunceButton");
        auto* list = Child<QComboBox>(*panel, "Debunce");
        FlashDataMap onMouse = devices->Record(mouse);
        onMouse.debounceTime = 3;
        QVERIFY(SimControl_SetDeviceRecord(mouse, onMouse.bytes()));
        AdoptDeviceConfig(onMouse);
        RunOnDeviceThread([&] { emit PostMsg::Instance()->SigUpDataLightUIButton(devices->Record(mouse)); });
        QCOMPARE(panel->CurrentIndex(), 3);
        const QString shown = panel->CurrentText();
        onMouse.debounceTime = uint8_t(byte);
        QVERIFY(SimControl_SetDeviceRecord(mouse, onMouse.bytes()));
        AdoptDeviceConfig(onMouse);
        const int updates = SimControl_UpdateCount();
        QSignalSpy announced(PostMsg::Instance(), &PostMsg::SigDebunce);

        RunOnDeviceThread([&] { emit PostMsg::Instance()->SigUpDataLightUIButton(devices->Record(mouse)); });

        QCOMPARE(panel->CurrentIndex(), 3);
        QCOMPARE(panel->CurrentText(), shown);
        QVERIFY(!shown.isEmpty());
        QCOMPARE(panel->LastAcceptedIndex(), 3);
        QCOMPARE(announced.count(), 0);
        QVERIFY(SimControl_WaitIdle(5000));
        QCOMPARE(SimControl_UpdateCount(), updates);
        QCOMPARE(int(devices->Record(mouse).debounceTime), byte);

        SimControl_SetAttached(mouse, 0);
        QTRY_VERIFY(!VidEzorarA_GetDeviceOnLine(CurrentDevicePath));
        QSignalSpy offline(PostMsg::Instance(), &PostMsg::SigMouseOffLineo);
        list->setCurrentIndex(5);
        SimControl_SetAttached(mouse, 1);
        QCOMPARE(offline.count(), 1);
        QCOMPARE(panel->CurrentIndex(), 3);
        QCOMPARE(panel->CurrentText(), shown);
        QCOMPARE(SimControl_UpdateCount(), updates);
    }

    // The 17 entries of the menu: 9 points unscaled at the page's first call (the window scales
    // every font once at start), 7 points for index 4 and scaled by the screen at later calls.
    void optionFont()
    {
        const auto verifyFonts = [this](double points) {
            for (const char* entry : ButtonTables::MenuEntryNames()) {
                QCOMPARE(Button(*page, entry)->font().family(), QString("微软雅黑"));
                QCOMPARE(Button(*page, entry)->font().pointSizeF(), points);
            }
        };
        verifyFonts(9);
        const double scale = ScreenInfo::LogicalDpi() / 96.0;
        page->SlotAllLanguage(4);
        verifyFonts(7 / scale);
        page->SlotAllLanguage(1);
        verifyFonts(9 / scale);
    }

    // Index 5 also gives the import and export buttons their texts as tooltips; any other index
    // clears them.
    void tooltipsAtIndexFiveOnly()
    {
        page->SlotAllLanguage(5);
        QCOMPARE(Button(*page, "ImportData")->toolTip(), UiText::ForReader(0, "Buttoninterface", "Import"));
        QCOMPARE(Button(*page, "OutputData")->toolTip(), UiText::ForReader(0, "Buttoninterface", "Export"));
        QVERIFY(!Button(*page, "ImportData")->toolTip().isEmpty());
        page->SlotAllLanguage(2);
        QCOMPARE(Button(*page, "ImportData")->toolTip(), QString());
        QCOMPARE(Button(*page, "OutputData")->toolTip(), QString());
        QCOMPARE(Button(*page, "ImportData")->text(), UiText::ForReader(2, "Buttoninterface", "Import"));
    }

    // Without a record to show again, each language gives the selectors and options their labels
    // of "KeyOptions", the debounce caption and items, and the profile entries; the chosen profile
    // stays, no choice is announced, and the summary panel is told the profile's new text.
    void textsOfEachLanguage_data()
    {
        ButtonPageSupport::LanguageRows();
    }
    void textsOfEachLanguage()
    {
        QFETCH(int, language);
        page->SlotUpDataConfigUI(3, 1, true);
        auto* profiles = Child<QComboBox>(*page, "ProjectChoose");
        QSignalSpy chosen(profiles, qOverload<int>(&QComboBox::currentIndexChanged));
        QStringList told;
        const auto watch = connect(PostMsg::Instance(), &PostMsg::SigAddConfig, this, [&](const QString& text) { told << text; });

        page->SlotAllLanguage(language);

        disconnect(watch);
        for (const ButtonTables::PageLabelRow& row : ButtonTables::PageLabelRows())
            QCOMPARE(Button(*page, row.object)->text(),
                     UiText::OptionLabels(language, "KeyOptions", row.value).value(row.position));
        QCOMPARE(Button(*page, "Button7")->text(), QString("DPI+"));
        QCOMPARE(Button(*page, "Button8")->text(), QString("DPI-"));
        QCOMPARE(Child<QLabel>(*page, "label_3")->text(), UiText::ForReader(language, "Buttoninterface", "DebounceTime"));
        QCOMPARE(Child<DebounceTime>(*page, "DebunceButton")->CurrentText().right(2), QString("ms"));
        QString prefix = UiText::Option(language, "ProfileOptions", "0");
        prefix.remove('1');
        QCOMPARE(profiles->count(), 3);
        QCOMPARE(profiles->currentIndex(), 1);
        QCOMPARE(profiles->currentText(), prefix + "2");
        QCOMPARE(chosen.count(), 0);
        QCOMPARE(told, QStringList{prefix + "2"});
        QCOMPARE(page->MacroLabel("M"), UiText::ForReader(language, "Buttoninterface", "MacroSeond") + "M");
        QVERIFY(page->MacroLabel("M") != "M");
    }

    // The language change shows the assignments again from the working copy while the mouse is
    // online and the copy is its record, else from the cache file; without a cache file the
    // selectors keep the labels of the language and the copy what it held.
    void languageChangeShowsTheRecordAgain_data()
    {
        QTest::addColumn<bool>("cached");
        QTest::addColumn<bool>("online");
        QTest::addColumn<bool>("current");
        QTest::addColumn<QString>("shows");
        QTest::newRow("online, copy current") << true << true << true << "working copy";
        QTest::newRow("offline") << true << false << true << "cache";
        QTest::newRow("online, copy not the mouse's") << true << true << false << "cache";
        QTest::newRow("no cache file") << false << true << true << "labels";
    }
    void languageChangeShowsTheRecordAgain()
    {
        QFETCH(bool, cached);
        QFETCH(bool, online);
        QFETCH(bool, current);
        QFETCH(QString, shows);
        const FlashDataMap working = EveryKind();
        AdoptDeviceConfig(working);
        FlashDataMap inCache = record;
        for (int i = 0; i < ButtonSlotCount; ++i)
            Place(inCache, i, 2, 3, 0);
        const QString cacheName = DeviceCacheFileName(0x1C, 0x14);
        CacheFileName.Set(cacheName);
        if (cached)
            QVERIFY(WriteDeviceInfoCache(cacheName, inCache));
        page->SlotFormResetButton();
        if (!online)
            SimControl_SetAttached(mouse, 0);
        if (!current)
            InvalidateDeviceConfig();

        page->SlotAllLanguage(2);

        SimControl_SetAttached(mouse, 1);
        QStringList expected;
        if (shows == "working copy") {
            for (const QString& text : EveryKindTexts())
                expected << Expand(*page, text, 2);
            QCOMPARE(page->Types(), (QList<int>{1, 5, 5, 1, 6, 10, 4, 8, 11, 3, 7, 0}));
            QCOMPARE(macroButtons, QList<int>{4});
        } else if (shows == "cache") {
            expected = Repeated(12, Button(*page, "VolumeUp_10")->text());
            QCOMPARE(page->Types(), Repeated(12, 2));
        } else {
            const auto label = [](const char* value, int position) {
                return UiText::OptionLabels(2, "KeyOptions", value).value(position);
            };
            expected = QStringList{label("0x0100", 3), label("0x0200", 3), label("0x0400", 0), label("0x0800", 0),
                                   label("0x1000", 0), label("0x0100", 0), "DPI+", "DPI-"};
            expected << Repeated(4, label("0x0100", 0));
            QCOMPARE(page->Types(), (QList<int>{1, 1, 1, 1, 1, 2, 2, 2, 7, 7, 4, 0}));
        }
        QCOMPARE(SelectorTexts(*page), expected);
        QFile::remove(DeviceCacheFolder() + cacheName);
        CacheFileName.Set(QString());
    }

    // Labels a language file lacks give empty texts; the profile prefix loses every digit 1.
    void missingLabelsAndTheProfilePrefix()
    {
        QTemporaryDir languages;
        for (const QString& name : UiTextTables::LanguageFiles()) {
            const QString copy = languages.path() + "/" + name;
            QVERIFY(QFile::copy(program.path() + "/Language/" + name, copy));
            QFile file(copy);
            QVERIFY(file.open(QIODevice::ReadWrite));
            QString text = QString::fromUtf8(file.readAll());
            // No label for DPI lock, the mute key or the macro prefix; a profile label with ones.
            text.remove(QRegularExpression("\\{ \"label\": \"[^\"]*\", \"value\": \"(12|0x00E2)\" \\},?\\n"));
            text.remove(QRegularExpression("\"MacroSeond\": \"[^\"]*\",\\n\\s*"));
            text.replace(QRegularExpression("\"option\": \"(Profile 1|配置1|Профиль 1)\""), "\"option\": \"Set 1 of 10\"");
            file.resize(0);
            file.write(text.toUtf8());
        }
        UiTextTables::Instance()->LoadUiTextTables(languages.path());
        page->SlotUpDataConfigUI(2, 0, true);
        page->SlotAllLanguage(1);
        const QString dpiLock = Button(*page, "DPI_4")->text();
        const QString mute = Button(*page, "VolumeUp")->text();
        const QString label = page->MacroLabel("M");
        const QString profile = Child<QComboBox>(*page, "ProjectChoose")->itemText(1);
        UiTextTables::Instance()->LoadUiTextTables();
        QCOMPARE(dpiLock, QString());
        QCOMPARE(mute, QString());
        QCOMPARE(label, QString("M"));
        QCOMPARE(profile, QString("Set  of 02"));
    }

    // With KESTRO_BUTTON_SHOTS set to a folder, the page is drawn there in the three languages:
    // the labels of a mouse away without a record, and the record of every kind from the mouse.
    void shots_data()
    {
        LanguageRows();
    }
    void shots()
    {
        QFETCH(int, language);
        const QString folder = ShotFolder();
        if (folder.isEmpty())
            QSKIP("KESTRO_BUTTON_SHOTS names no folder");
        UiLanguage = language;
        QWidget ground;
        MakeGround(ground);
        page->setParent(&ground);
        page->SlotAllLanguage(language);
        page->SlotMouseIndex(0);
        page->SlotUpDataConfigUI(3, 0, true);
        ground.resize(page->size());
        ground.show();
        QVERIFY(QTest::qWaitForWindowExposed(&ground));
        page->SlotFormResetButton();
        ground.grab().save(folder + QString("/defaults-%1.png").arg(language));
        // Put on the mouse and read back, as the connection delivers it.
        QVERIFY(SimControl_SetDeviceRecord(mouse, EveryKind().bytes()));
        RunOnDeviceThread([&] { emit PostMsg::Instance()->SigUpDataLightUIButton(devices->Record(mouse)); });
        ground.grab().save(folder + QString("/assignments-%1.png").arg(language));
        page->setParent(nullptr);
    }
};

KESTRO_DEVICE_THREAD_TEST_MAIN(TestButtonDisplay)
#include "tst_buttondisplay.moc"
