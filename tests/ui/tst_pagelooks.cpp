#include "app/Dialog.h"
#include "app/DialogMain.h"
#include "device/ConnectionState.h"
#include "device/DeviceState.h"
#include "pages/buttons/Buttoninterface.h"
#include "pages/lighting/SensorEffect.h"
#include "pages/macro/Macro.h"
#include "pages/sensor/Sensor.h"
#include "pages/sensor/SensorLOD.h"
#include "pages/settings/FormSetting.h"
#include "support/FindChild.h"
#include "support/ShippedMouseTest.h"
#include "ui_Buttoninterface.h"
#include "widgets/QtTranslation.h"
#include "widgets/UiText.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFile>
#include <QFileDialog>
#include <QHash>
#include <QLabel>
#include <QLibraryInfo>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QSlider>
#include <QSpinBox>
#include <QStackedWidget>
#include <QStyleOptionComboBox>
#include <QTimer>
#include <QToolButton>
#include <QTranslator>
#include <QtTest>

#include <cmath>
#include <functional>
#include <memory>

using Command = std::function<void()>;
Q_DECLARE_METATYPE(Command)
using Factory = std::function<QWidget*()>;
Q_DECLARE_METATYPE(Factory)

namespace {

// Relative luminance of a colour, and the contrast of two colours (1 to 21), as the web's
// accessibility guidelines measure them: 4.5 is what normal text needs on its ground.
double Luminance(QRgb colour)
{
    const auto channel = [](int value) {
        const double s = value / 255.0;
        return s <= 0.03928 ? s / 12.92 : std::pow((s + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel(qRed(colour)) + 0.7152 * channel(qGreen(colour)) + 0.0722 * channel(qBlue(colour));
}

double Contrast(QRgb a, QRgb b)
{
    const double la = Luminance(a), lb = Luminance(b);
    return (qMax(la, lb) + 0.05) / (qMin(la, lb) + 0.05);
}

// The ground of an area (the colour most of its pixels have) and its text (the pixel that stands
// out most from that ground).
struct GroundAndText
{
    QRgb ground = 0;
    QRgb text = 0;
};

GroundAndText Read(const QImage& image, const QRect& area)
{
    QHash<QRgb, int> counts;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            ++counts[image.pixel(x, y) | 0xFF000000];
    GroundAndText read;
    int most = 0;
    for (auto it = counts.cbegin(); it != counts.cend(); ++it)
        if (it.value() > most) {
            most = it.value();
            read.ground = it.key();
        }
    double farthest = 0;
    for (auto it = counts.cbegin(); it != counts.cend(); ++it)
        if (Contrast(it.key(), read.ground) > farthest) {
            farthest = Contrast(it.key(), read.ground);
            read.text = it.key();
        }
    return read;
}

QString Describe(const GroundAndText& read)
{
    return QStringLiteral("text %1 on %2, contrast %3")
        .arg(QColor(read.text).name(), QColor(read.ground).name())
        .arg(Contrast(read.text, read.ground), 0, 'f', 2);
}

// Qt's text of the cancel button in each language, as Qt's own translations give it.
const char* const QtCancel[] = {"Cancel", "取消", "Отмена"};

bool QtTranslationInstalled(int language)
{
    if (QtTranslation::FileName(language).isEmpty())
        return true;
    QTranslator probe;
    return probe.load(QtTranslation::FileName(language), QLibraryInfo::location(QLibraryInfo::TranslationsPath));
}

// What the file dialog a command opens showed: its title and the text of its cancel button. The
// dialog is cancelled.
struct ShownDialog
{
    bool shown = false;
    QString title;
    QString cancel;
    QStringList others;
};

ShownDialog CatchFileDialog(const Command& command)
{
    ShownDialog seen;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        QWidget* modal = QApplication::activeModalWidget();
        auto* dialog = qobject_cast<QFileDialog*>(modal);
        if (modal && !dialog) {
            // Another dialog (an offline notice) would wait for a click for ever.
            seen.others << QString::fromLatin1(modal->metaObject()->className());
            modal->close();
            return;
        }
        if (!dialog || seen.shown)
            return;
        seen.shown = true;
        seen.title = dialog->windowTitle();
        if (auto* box = dialog->findChild<QDialogButtonBox*>())
            if (QPushButton* cancel = box->button(QDialogButtonBox::Cancel))
                seen.cancel = cancel->text();
        dialog->reject();
    });
    poll.start(5);
    command();
    return seen;
}

// The pixels of a picture of the program folder.
QImage Picture(const QString& name)
{
    return QImage(AppPaths::ProgramFolder() + QStringLiteral("/Picture/") + name).convertToFormat(QImage::Format_ARGB32);
}

// A line or filled part of the mouse picture: drawn, in the picture's colour (the body is grey).
bool Drawn(const QImage& picture, const QPoint& point)
{
    const QColor colour = QColor::fromRgba(picture.pixel(point));
    return colour.alpha() > 128 && colour.hsvSaturation() > 100 && colour.value() > 100;
}

// The drawn stretches of a row (along x) or a column of the picture, as first and last pixel.
QVector<QPair<int, int>> DrawnRuns(const QImage& picture, int at, bool row)
{
    QVector<QPair<int, int>> runs;
    const int length = row ? picture.width() : picture.height();
    for (int i = 0; i < length; ++i) {
        const bool drawn = Drawn(picture, row ? QPoint(i, at) : QPoint(at, i));
        if (drawn && (runs.isEmpty() || runs.last().second != i - 1))
            runs.append({i, i});
        else if (drawn)
            runs.last().second = i;
    }
    return runs;
}

// Whether a badge of the radius around a point lies wholly between the gap-th and the next drawn
// stretch of the line through it: inside the body and on one side of a seam.
bool BetweenLines(const QVector<QPair<int, int>>& runs, int gap, int at, int radius)
{
    return gap + 1 < runs.size() && runs.at(gap).second + radius < at && at < runs.at(gap + 1).first - radius;
}

} // namespace

// What a user sees of the pages, on the program's top-level window with its device window and on
// the pages themselves: Qt's own texts and the file dialogs in the chosen language, and the looks
// that were faulty (readable disabled lists, a dark context menu, whole menu lists, badges on the
// mouse picture's buttons, the DPI light effect's rows, the step buttons' signs).
class TestPageLooks : public ShippedMouseTest
{
    Q_OBJECT
    std::unique_ptr<DialogMain> window;

    template <typename Page>
    Page* PageOfWindow() const
    {
        auto* page = window->findChild<Page*>();
        if (!page)
            qFatal("the device window has no %s", Page::staticMetaObject.className());
        return page;
    }

    // The user picks a language on the settings page.
    void ChooseLanguage(int language)
    {
        auto* combo = Child<QComboBox>(*PageOfWindow<FormSetting>(), "comboBox");
        combo->setCurrentIndex(language);
        emit combo->activated(language);
        // Whatever Qt posts to the windows about the change arrives now.
        QCoreApplication::sendPostedEvents();
        QCoreApplication::processEvents();
    }

private slots:
    void initTestCase()
    {
        Start();
        QFile macro(AppPaths::UserDataFolder() + QStringLiteral("/usersetting/MacroPage/Hello.ini"));
        QVERIFY(macro.open(QIODevice::WriteOnly));
        macro.write("1\n");
        macro.close();
        window.reset(new DialogMain);
        window->move(40, 40);
        window->show();
        window->BuildDeviceWindow();
        Child<QStackedWidget>(*window, "stackedWidgetMain")->setCurrentWidget(window->DeviceWindow());
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        // The import asks for the mouse first; the device window's connection starts with none.
        FlashDataMap record{};
        QVERIFY(devices->OpenWiredMouse(&record) >= 0);
    }
    void cleanupTestCase()
    {
        window.reset();
        Stop();
    }
    void cleanup()
    {
        ChooseLanguage(0);
    }

    // A language chosen on the settings page reaches Qt's own texts (a standard button reads Qt's
    // translation), while every page keeps the texts of the program's language files: Qt's
    // announcement of the new translation would have the forms put back their placeholders.
    void languageChoiceReachesQtsTexts_data()
    {
        QTest::addColumn<int>("language");
        QTest::newRow("Chinese") << 1;
        QTest::newRow("Russian") << 2;
        QTest::newRow("back to English") << 0;
    }
    void languageChoiceReachesQtsTexts()
    {
        QFETCH(int, language);
        ChooseLanguage(language == 0 ? 2 : 0);
        ChooseLanguage(language);
        QCOMPARE(UiLanguage, language);
        auto* buttons = PageOfWindow<Buttoninterface>();
        QCOMPARE(Child<QLabel>(*buttons, "label_3")->text(), UiText::Text(language, "key", "DebounceTime"));
        QCOMPARE(Child<QToolButton>(*buttons, "ImportData")->text(), UiText::Text(language, "key", "Import"));
        QCOMPARE(Child<QLabel>(*PageOfWindow<Macro>(), "label")->text(), UiText::Text(language, "macro", "MacroList"));
        if (!QtTranslationInstalled(language))
            QSKIP("Qt's translation of this language is not installed (qttranslations5-l10n)");
        QDialogButtonBox box(QDialogButtonBox::Cancel);
        QCOMPARE(box.button(QDialogButtonBox::Cancel)->text(), QString::fromUtf8(QtCancel[language]));
    }

    // Every file dialog of the pages is titled in the user's language, from the language files, and
    // its own buttons speak that language too.
    void fileDialogsSpeakTheLanguage_data()
    {
        QTest::addColumn<int>("language");
        QTest::addColumn<QString>("reader");
        QTest::addColumn<QString>("key");
        QTest::addColumn<Command>("command");
        const Command exportMacro = [this] {
            auto* page = PageOfWindow<Macro>();
            page->LoadMacroList();
            Child<QListWidget>(*page, "listWidgetHong")->setCurrentRow(0);
            page->ExPortMacro();
        };
        const Command importMacro = [this] { PageOfWindow<Macro>()->InPortMacro(); };
        const Command exportSettings = [this] { PageOfWindow<Buttoninterface>()->on_OutputData_clicked(); };
        const Command importSettings = [this] { PageOfWindow<Buttoninterface>()->on_ImportData_clicked(); };
        const char* const languages[] = {"English", "Chinese", "Russian"};
        for (int language = 0; language < 3; ++language) {
            QTest::addRow("%s macro export", languages[language]) << language << "Macro" << "ExportMacroTitle" << exportMacro;
            QTest::addRow("%s macro import", languages[language]) << language << "Macro" << "ImportMacroTitle" << importMacro;
            QTest::addRow("%s settings export", languages[language])
                << language << "Buttoninterface" << "ExportConfigTitle" << exportSettings;
            QTest::addRow("%s settings import", languages[language])
                << language << "Buttoninterface" << "ImportConfigTitle" << importSettings;
        }
    }
    void fileDialogsSpeakTheLanguage()
    {
        QFETCH(int, language);
        QFETCH(QString, reader);
        QFETCH(QString, key);
        QFETCH(Command, command);
        ChooseLanguage(language);
        const ShownDialog seen = CatchFileDialog(command);
        QVERIFY2(seen.others.isEmpty(), qPrintable(seen.others.join(QLatin1Char(' '))));
        QVERIFY(seen.shown);
        QVERIFY(!seen.title.isEmpty());
        QCOMPARE(seen.title, UiText::ForReader(language, reader, key));
        QVERIFY(seen.title != QLatin1String("FileSave") && seen.title != QLatin1String("SelectFile"));
        if (QtTranslationInstalled(language))
            QCOMPARE(seen.cancel, QString::fromUtf8(QtCancel[language]));
    }

    // The macro list's context menu is dark like the page, its entries readable.
    void contextMenuIsDark()
    {
        auto* page = PageOfWindow<Macro>();
        QImage shot;
        QTimer poll;
        connect(&poll, &QTimer::timeout, [&] {
            auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
            if (!menu || !menu->isVisible())
                return;
            poll.stop();
            shot = menu->grab().toImage();
            menu->close();
        });
        poll.start(5);
        auto* list = Child<QListWidget>(*page, "listWidgetHong");
        QVERIFY(QMetaObject::invokeMethod(page, "on_listWidgetHong_customContextMenuRequested",
                                          Q_ARG(QPoint, QPoint(5, list->height() - 5))));
        QVERIFY(!shot.isNull());
        const GroundAndText read = Read(shot, shot.rect().adjusted(2, 2, -3, -3));
        QVERIFY2(Luminance(read.ground) < 0.1, qPrintable(Describe(read)));
        QVERIFY2(Contrast(read.text, read.ground) >= 4.5, qPrintable(Describe(read)));
    }

    // Lists that are disabled at times show their text readable on their dark ground.
    void disabledListsStayReadable_data()
    {
        QTest::addColumn<Factory>("factory");
        QTest::addColumn<QString>("list");
        QTest::newRow("sensor page, full performance time")
            << Factory([] { return new Sensor; }) << "PerformanceOpen";
        QTest::newRow("sensor page, sensor mode") << Factory([] { return new Sensor; }) << "ModelChoose";
        QTest::newRow("lift-off distance") << Factory([] { return new SensorLOD; }) << "LOD";
        QTest::newRow("button page, profiles") << Factory([] { return new Buttoninterface; }) << "ProjectChoose";
    }
    void disabledListsStayReadable()
    {
        QFETCH(Factory, factory);
        QFETCH(QString, list);
        std::unique_ptr<QWidget> page(factory());
        auto* combo = page->findChild<QComboBox*>(list);
        QVERIFY(combo);
        if (combo->count() == 0)
            combo->addItem(QStringLiteral("1 min"));
        combo->setCurrentIndex(0);
        combo->setEnabled(false);
        page->show();
        QVERIFY(QTest::qWaitForWindowExposed(page.get()));
        QStyleOptionComboBox option;
        option.initFrom(combo);
        option.editable = false;
        const QRect field = combo->style()
                                ->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, combo)
                                .adjusted(2, 2, -2, -2);
        const GroundAndText read = Read(combo->grab().toImage(), field);
        QVERIFY2(Contrast(read.text, read.ground) >= 4.5, qPrintable(Describe(read)));
    }

    // The function menu and its sub-menu lists show whole entries only: scrolled to the top the first
    // entry, to the end the last, and at any step in between no entry cut by the list's edge.
    void menuListsShowWholeEntries_data()
    {
        QTest::addColumn<QString>("subPage");
        QTest::addColumn<QString>("list");
        QTest::addColumn<QString>("first");
        QTest::addColumn<QString>("last");
        QTest::newRow("function menu") << "page_9" << "scrollArea_4" << "LeftKey_3" << "DPI_10";
        QTest::newRow("multimedia") << "page_3" << "scrollArea_3" << "Player" << "VolumeDown_11";
        QTest::newRow("DPI lock") << "page_8" << "scrollArea_10" << "VolumeUp_11" << "VolumeUp_21";
        QTest::newRow("wheel up and down") << "page_10" << "scrollArea_12" << "VolumeUp_14" << "VolumeDown_14";
    }
    void menuListsShowWholeEntries()
    {
        QFETCH(QString, subPage);
        QFETCH(QString, list);
        QFETCH(QString, first);
        QFETCH(QString, last);
        Buttoninterface page;
        page.show();
        QVERIFY(QTest::qWaitForWindowExposed(&page));
        // The menu as a click on the second row opens it: the main list one step down.
        Child<QToolButton>(page, "RightKey")->click();
        QCOMPARE(Child<QStackedWidget>(page, "stackedWidget")->currentWidget()->objectName(), QStringLiteral("page_2"));
        auto* subMenu = Child<QStackedWidget>(page, "stackedWidget_2");
        subMenu->setCurrentWidget(Child<QWidget>(page, subPage.toLatin1().constData()));
        auto* area = Child<QScrollArea>(page, list.toLatin1().constData());
        QCoreApplication::processEvents();
        QScrollBar* bar = area->verticalScrollBar();
        for (int value : {bar->value(), bar->minimum(), 15, 45, 105, 195, bar->maximum()}) {
            bar->setValue(value);
            QCoreApplication::processEvents();
            QWidget* contents = area->widget();
            const QRegion drawn = contents->mask().isEmpty() ? QRegion(contents->rect()) : contents->mask();
            const QRect view(contents->mapFrom(area->viewport(), QPoint(0, 0)), area->viewport()->size());
            for (QAbstractButton* entry : contents->findChildren<QAbstractButton*>()) {
                const QRect place = entry->geometry();
                const bool cut = place.intersects(view) && !view.contains(place);
                QVERIFY2(!cut || !drawn.intersects(place),
                         qPrintable(QStringLiteral("%1 cut at %2").arg(entry->objectName()).arg(bar->value())));
            }
            // Nor does the band cut the list.
            QVERIFY(area->visibleRegion() == QRegion(area->rect()));
        }
        for (const QString& name : {first, last}) {
            bar->setValue(name == first ? bar->minimum() : bar->maximum());
            QCoreApplication::processEvents();
            auto* entry = Child<QWidget>(page, name.toLatin1().constData());
            QCOMPARE(entry->visibleRegion(), QRegion(entry->rect()));
            QVERIFY(area->widget()->mask().isEmpty() || area->widget()->mask().contains(entry->geometry()));
        }
    }

    // The numbered badges on the mouse picture stand on the buttons they name: 1 wholly inside the
    // left button and 2 inside the right one (between the body's outline, the seam between the
    // buttons and the seam under them); 3 on the wheel, wider than any line of the picture.
    void badgesStandOnTheirButtons_data()
    {
        QTest::addColumn<int>("picture");
        QTest::newRow("mouse0") << 0;
        QTest::newRow("mouse1") << 1;
        QTest::newRow("mouse2") << 2;
    }
    void badgesStandOnTheirButtons()
    {
        QFETCH(int, picture);
        Buttoninterface page;
        page.SlotMouseIndex(picture);
        const QImage mouse = Picture(QStringLiteral("Buttoninterface/mouse%1.png").arg(picture));
        QVERIFY(!mouse.isNull());
        // The picture stands centred in the widget of its size.
        QCOMPARE(mouse.size(), Child<QWidget>(page, "widget")->size());
        const auto centre = [&](const char* badge) {
            const QWidget* hotspot = Child<QWidget>(page, badge);
            return hotspot->geometry().center();
        };
        // Across the row, the body's outline, the seam between the buttons and the outline again;
        // down the column, the top of the body and the seam under the buttons.
        const int radius = 16;
        const QPoint one = centre("Number1");
        QVERIFY2(BetweenLines(DrawnRuns(mouse, one.y(), true), 0, one.x(), radius), "1 beside the left button");
        QVERIFY2(BetweenLines(DrawnRuns(mouse, one.x(), false), 0, one.y(), radius), "1 above or below the left button");
        const QPoint two = centre("Number2");
        QVERIFY2(BetweenLines(DrawnRuns(mouse, two.y(), true), 1, two.x(), radius), "2 beside the right button");
        QVERIFY2(BetweenLines(DrawnRuns(mouse, two.x(), false), 0, two.y(), radius), "2 above or below the right button");
        const QPoint wheel = centre("Number3");
        QVERIFY(Drawn(mouse, wheel));
        int left = wheel.x(), right = wheel.x();
        while (Drawn(mouse, QPoint(left - 1, wheel.y())))
            --left;
        while (Drawn(mouse, QPoint(right + 1, wheel.y())))
            ++right;
        QVERIFY2(right - left + 1 >= 12, qPrintable(QStringLiteral("3 stands on a part %1 wide").arg(right - left + 1)));
    }

    // The page's own frames draw no light lines on the dark page, and the six rows' list shows no
    // scroll bar it cannot use; the row numbers use the form's named font.
    void pagesDrawNoStrayLines()
    {
        Buttoninterface buttons;
        buttons.show();
        QVERIFY(QTest::qWaitForWindowExposed(&buttons));
        QCOMPARE(Child<QFrame>(buttons, "MainWindow")->frameWidth(), 0);
        QCOMPARE(Child<QFrame>(buttons, "DebunceButton")->frameWidth(), 0);
        QVERIFY(!Child<QScrollArea>(buttons, "scrollArea_11")->verticalScrollBar()->isVisible());
        Macro macro;
        QCOMPARE(Child<QFrame>(macro, "MacroPage")->frameWidth(), 0);
        QWidget root;
        Ui::Buttoninterface form;
        form.setupUi(&root);
        for (QLabel* label : {form.label_14, form.label_9, form.label_15, form.label_11, form.label_12, form.label_13,
                              form.label_16, form.label_17, form.label_18, form.label_19, form.label_20, form.label_21})
            QCOMPARE(label->font().family(), QStringLiteral("Microsoft YaHei UI Light"));
    }

    // The DPI light effect: the row the mode does not use still shows its slider and the number the
    // mouse holds, greyed out and out of the mouse's reach; a drag across a number box leaves its
    // text unmarked.
    void effectRowsShowTheirValues_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<bool>("speedInUse");
        QTest::addColumn<bool>("lightInUse");
        QTest::newRow("off") << 0 << false << false;
        QTest::newRow("steady") << 1 << false << true;
        QTest::newRow("breathing") << 2 << true << false;
    }
    void effectRowsShowTheirValues()
    {
        QFETCH(int, mode);
        QFETCH(bool, speedInUse);
        QFETCH(bool, lightInUse);
        UserWritesEnabled = false;
        SensorEffect panel;
        panel.SetModel(mode);
        panel.SetSpeedValue(3);
        panel.SetLightValue(7);
        panel.show();
        QVERIFY(QTest::qWaitForWindowExposed(&panel));
        struct Row {
            const char* slider;
            const char* box;
            int value;
            bool inUse;
        };
        for (const Row& row : {Row{"SpeedH", "SpeedSpinBox", 3, speedInUse}, Row{"LightH", "LightSpinBox", 7, lightInUse}}) {
            auto* slider = Child<QSlider>(panel, row.slider);
            auto* box = Child<QSpinBox>(panel, row.box);
            QVERIFY2(slider->isVisible() && box->isVisible(), row.slider);
            QCOMPARE(box->value(), row.value);
            QCOMPARE(slider->value(), row.value);
            // A press on the groove's far end moves an unused slider not at all.
            const QPoint end = slider->mapTo(&panel, QPoint(slider->width() - 2, slider->height() / 2));
            QTest::mouseClick(panel.windowHandle(), Qt::LeftButton, {}, end);
            QCOMPARE(slider->value() != row.value, row.inUse);
            // A drag across the number marks nothing.
            const QPoint from = box->mapTo(&panel, QPoint(2, box->height() / 2));
            const QPoint to = box->mapTo(&panel, QPoint(box->width() - 2, box->height() / 2));
            QTest::mousePress(panel.windowHandle(), Qt::LeftButton, {}, from);
            QTest::mouseMove(panel.windowHandle(), to);
            QTest::mouseRelease(panel.windowHandle(), Qt::LeftButton, {}, to);
            QVERIFY2(!box->findChild<QLineEdit*>()->hasSelectedText(), row.box);
        }
        QVERIFY(!Child<QWidget>(panel, "line")->isVisible());
        QVERIFY(!Child<QWidget>(panel, "line_2")->isVisible());
        UserWritesEnabled = true;
    }

    // The DPI step buttons' signs are drawn alike: the bar of the minus is the plus's crossbar.
    void stepSignsMatch_data()
    {
        QTest::addColumn<QString>("folder");
        QTest::newRow("sensor") << "Sensor";
        QTest::newRow("light") << "Light";
        QTest::newRow("screen information") << "ScreeInfo";
    }
    void stepSignsMatch()
    {
        QFETCH(QString, folder);
        const QImage minus = Picture(folder + QStringLiteral("/Reduce.png"));
        const QImage plus = Picture(folder + QStringLiteral("/Add.png"));
        QVERIFY(!minus.isNull() && !plus.isNull());
        QCOMPARE(minus.size(), plus.size());
        QRect bar, cross;
        for (int y = 0; y < plus.height(); ++y)
            for (int x = 0; x < plus.width(); ++x) {
                if (qAlpha(minus.pixel(x, y)) > 128)
                    bar |= QRect(x, y, 1, 1);
                if (qAlpha(plus.pixel(x, y)) > 128)
                    cross |= QRect(x, y, 1, 1);
            }
        QVERIFY(bar.isValid());
        QCOMPARE(cross.width(), bar.width());
        QCOMPARE(cross.height(), bar.width());
        QCOMPARE(cross.center(), bar.center());
        for (int y = bar.top(); y <= bar.bottom(); ++y)
            for (int x = bar.left(); x <= bar.right(); ++x)
                QVERIFY(qAlpha(plus.pixel(x, y)) > 128);
    }
};

QTEST_MAIN(TestPageLooks)
#include "tst_pagelooks.moc"
