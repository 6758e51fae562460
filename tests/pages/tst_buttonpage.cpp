#include "device/ConfigSetting.h"
#include "device/DeviceDiscovery.h"
#include "device/DeviceState.h"
#include "device/KeyRecords.h"
#include "device/PostMsg.h"
#include "pages/buttons/ButtonTables.h"
#include "pages/buttons/Buttoninterface.h"
#include "support/ButtonPageSupport.h"
#include "support/FindChild.h"
#include "support/ShippedMouseTest.h"
#include "support/SimulatedDeviceFixture.h"
#include "ui_Buttoninterface.h"
#include "widgets/UiText.h"
#include "widgets/UiTextTables.h"

#include <QApplication>
#include <QButtonGroup>
#include <QComboBox>
#include <QFile>
#include <QMouseEvent>
#include <QScrollArea>
#include <QScrollBar>
#include <QStackedWidget>
#include <QToolButton>
#include <QtTest>

#include <cstring>

namespace {

// The nearest ancestor with an object name of the form's own (Qt's viewports are skipped).
QString NamedParent(const QWidget* widget)
{
    for (const QWidget* parent = widget->parentWidget(); parent; parent = parent->parentWidget()) {
        if (!parent->objectName().isEmpty() && !parent->objectName().startsWith(QLatin1String("qt_")))
            return parent->objectName();
    }
    return QString();
}

QStringList Names(const QList<QAbstractButton*>& buttons)
{
    QStringList names;
    for (const QAbstractButton* button : buttons)
        names << button->objectName();
    return names;
}

QStringList Texts(const QList<QToolButton*>& buttons)
{
    QStringList texts;
    for (const QToolButton* button : buttons)
        texts << button->text();
    return texts;
}

QStringList CheckedSelectors(const Buttoninterface& page)
{
    QStringList checked;
    for (QAbstractButton* selector : page.Selectors()->buttons()) {
        if (selector->isChecked())
            checked << selector->objectName();
    }
    return checked;
}

void Press(Buttoninterface& page, Qt::MouseButton button, const QPoint& at)
{
    QMouseEvent press(QEvent::MouseButtonPress, at, page.mapToGlobal(at), button, button, Qt::NoModifier);
    QApplication::sendEvent(&page, &press);
}

QString MacroFolder()
{
    return AppPaths::UserDataFolder() + QStringLiteral("/usersetting/MacroPage");
}

void FillMacroFolder(const QStringList& files)
{
    QDir(MacroFolder()).removeRecursively();
    QDir().mkpath(MacroFolder());
    for (const QString& name : files) {
        QFile file(MacroFolder() + QLatin1Char('/') + name);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("1\n0x04 1 0\n10ms\n0x04 1 1\n10ms\n");
    }
}


} // namespace

// The button page's shell: its form, what the constructor builds, the clicks beside the menu, the
// profile list, and the one path by which every function reaches the simulated mouse.
class TestButtonPage : public ShippedMouseTest
{
    Q_OBJECT

    // The wired mouse current with its record in the working copy and the page's copy.
    int OpenMouse(Buttoninterface& page, FlashDataMap* record)
    {
        const int mouse = devices->OpenWiredMouse(record);
        page.SlotUpDataButtonUIB(*record);
        return mouse;
    }

private slots:
    void initTestCase()
    {
        Start();
    }
    void cleanupTestCase()
    {
        Stop();
    }
    void init()
    {
        UiLanguage = 0;
        FillMacroFolder({});
    }

    // Every object the page's handlers reach, as the form builds it: a misspelt name would leave its
    // handler unconnected. Geometry x -1 means a layout places the object; only its size is fixed.
    void formObjects_data()
    {
        QTest::addColumn<QString>("className");
        QTest::addColumn<QString>("parentName");
        QTest::addColumn<QRect>("geometry");
        QTest::newRow("MainWindow") << "QFrame" << "Buttoninterface" << QRect(-1, -1, -1, -1);
        QTest::newRow("label") << "QLabel" << "MainWindow" << QRect(30, 30, 20, 14);
        QTest::newRow("widget") << "QWidget" << "MainWindow" << QRect(220, 0, 432, 356);
        QTest::newRow("Number1") << "QToolButton" << "widget" << QRect(115, 163, 38, 38);
        QTest::newRow("Number2") << "QToolButton" << "widget" << QRect(60, 150, 38, 38);
        QTest::newRow("Number3") << "QToolButton" << "widget" << QRect(108, 125, 38, 38);
        QTest::newRow("Number4") << "QToolButton" << "widget" << QRect(251, 148, 38, 38);
        QTest::newRow("Number5") << "QToolButton" << "widget" << QRect(288, 140, 38, 38);
        QTest::newRow("Number6") << "QToolButton" << "widget" << QRect(280, 230, 38, 38);
        QTest::newRow("Number7") << "QToolButton" << "widget" << QRect(380, 60, 38, 38);
        QTest::newRow("Number8") << "QToolButton" << "widget" << QRect(380, 100, 38, 38);
        QTest::newRow("Number9") << "QToolButton" << "widget" << QRect(380, 140, 38, 38);
        QTest::newRow("Number10") << "QToolButton" << "widget" << QRect(380, 180, 38, 38);
        QTest::newRow("Number11") << "QToolButton" << "widget" << QRect(330, 100, 38, 38);
        QTest::newRow("Number12") << "QToolButton" << "widget" << QRect(330, 140, 38, 38);
        QTest::newRow("OutputData") << "QToolButton" << "MainWindow" << QRect(780, 350, 90, 26);
        QTest::newRow("ImportData") << "QToolButton" << "MainWindow" << QRect(680, 350, 90, 26);
        QTest::newRow("groupBox") << "QGroupBox" << "MainWindow" << QRect(7, 380, 862, 216);
        QTest::newRow("scrollArea_11") << "QScrollArea" << "groupBox" << QRect(150, 2, 480, 212);
        QTest::newRow("scrollAreaWidgetContents_11") << "QWidget" << "scrollArea_11" << QRect(-1, -1, -1, -1);
        QTest::newRow("label_14") << "QLabel" << "scrollAreaWidgetContents_11" << QRect(0, 6, 24, 24);
        QTest::newRow("FireKey") << "QToolButton" << "scrollAreaWidgetContents_11" << QRect(30, 5, 262, 26);
        QTest::newRow("label_9") << "QLabel" << "scrollAreaWidgetContents_11" << QRect(0, 41, 24, 24);
        QTest::newRow("RightKey") << "QToolButton" << "scrollAreaWidgetContents_11" << QRect(30, 40, 262, 26);
        QTest::newRow("label_15") << "QLabel" << "scrollAreaWidgetContents_11" << QRect(0, 76, 24, 24);
        QTest::newRow("BackKey") << "QToolButton" << "scrollAreaWidgetContents_11" << QRect(30, 75, 262, 26);
        QTest::newRow("label_11") << "QLabel" << "scrollAreaWidgetContents_11" << QRect(0, 110, 24, 24);
        QTest::newRow("StartPause") << "QToolButton" << "scrollAreaWidgetContents_11" << QRect(30, 109, 262, 26);
        QTest::newRow("label_12") << "QLabel" << "scrollAreaWidgetContents_11" << QRect(0, 144, 24, 24);
        QTest::newRow("TopMusic") << "QToolButton" << "scrollAreaWidgetContents_11" << QRect(30, 143, 262, 26);
        QTest::newRow("label_13") << "QLabel" << "scrollAreaWidgetContents_11" << QRect(0, 180, 24, 24);
        QTest::newRow("BackMusic") << "QToolButton" << "scrollAreaWidgetContents_11" << QRect(30, 179, 262, 26);
        QTest::newRow("label_16") << "QLabel" << "scrollAreaWidgetContents_11" << QRect(0, 215, 24, 24);
        QTest::newRow("Button7") << "QToolButton" << "scrollAreaWidgetContents_11" << QRect(30, 214, 262, 26);
        QTest::newRow("label_17") << "QLabel" << "scrollAreaWidgetContents_11" << QRect(0, 250, 24, 24);
        QTest::newRow("Button8") << "QToolButton" << "scrollAreaWidgetContents_11" << QRect(30, 249, 262, 26);
        QTest::newRow("label_18") << "QLabel" << "scrollAreaWidgetContents_11" << QRect(0, 285, 24, 24);
        QTest::newRow("Button9") << "QToolButton" << "scrollAreaWidgetContents_11" << QRect(30, 284, 262, 26);
        QTest::newRow("label_19") << "QLabel" << "scrollAreaWidgetContents_11" << QRect(0, 320, 24, 24);
        QTest::newRow("Button10") << "QToolButton" << "scrollAreaWidgetContents_11" << QRect(30, 319, 262, 26);
        QTest::newRow("label_20") << "QLabel" << "scrollAreaWidgetContents_11" << QRect(0, 355, 24, 24);
        QTest::newRow("Button11") << "QToolButton" << "scrollAreaWidgetContents_11" << QRect(30, 354, 262, 26);
        QTest::newRow("label_21") << "QLabel" << "scrollAreaWidgetContents_11" << QRect(0, 390, 24, 24);
        QTest::newRow("Button12") << "QToolButton" << "scrollAreaWidgetContents_11" << QRect(30, 389, 262, 26);
        QTest::newRow("stackedWidget") << "QStackedWidget" << "groupBox" << QRect(445, -11, 201, 241);
        QTest::newRow("page") << "QWidget" << "stackedWidget" << QRect(-1, -1, -1, -1);
        QTest::newRow("page_2") << "QWidget" << "stackedWidget" << QRect(-1, -1, -1, -1);
        QTest::newRow("scrollArea_4") << "QScrollArea" << "page_2" << QRect(-1, -1, -1, -1);
        QTest::newRow("scrollAreaWidgetContents_4") << "QWidget" << "scrollArea_4" << QRect(-1, -1, -1, -1);
        QTest::newRow("LeftKey_3") << "QToolButton" << "scrollAreaWidgetContents_4" << QRect(-1, -1, 164, 22);
        QTest::newRow("RightKey_3") << "QToolButton" << "scrollAreaWidgetContents_4" << QRect(-1, -1, 164, 22);
        QTest::newRow("MidKey") << "QToolButton" << "scrollAreaWidgetContents_4" << QRect(-1, -1, 164, 22);
        QTest::newRow("BackKey_2") << "QToolButton" << "scrollAreaWidgetContents_4" << QRect(-1, -1, 164, 22);
        QTest::newRow("ForWardKey") << "QToolButton" << "scrollAreaWidgetContents_4" << QRect(-1, -1, 164, 22);
        QTest::newRow("DPI_2") << "QToolButton" << "scrollAreaWidgetContents_4" << QRect(-1, -1, 164, 22);
        QTest::newRow("DPI_3") << "QToolButton" << "scrollAreaWidgetContents_4" << QRect(-1, -1, 164, 22);
        QTest::newRow("DPI_6") << "MyToolButton" << "scrollAreaWidgetContents_4" << QRect(-1, -1, 164, 22);
        QTest::newRow("DPI_8") << "MyToolButton" << "scrollAreaWidgetContents_4" << QRect(-1, -1, 164, 22);
        QTest::newRow("DPI_5") << "QToolButton" << "scrollAreaWidgetContents_4" << QRect(-1, -1, 164, 22);
        QTest::newRow("DPI_13") << "QToolButton" << "scrollAreaWidgetContents_4" << QRect(-1, -1, 164, 22);
        QTest::newRow("DPI_11") << "QToolButton" << "scrollAreaWidgetContents_4" << QRect(-1, -1, 164, 22);
        QTest::newRow("DPI_4") << "QToolButton" << "scrollAreaWidgetContents_4" << QRect(-1, -1, 164, 22);
        QTest::newRow("DPI_9") << "QToolButton" << "scrollAreaWidgetContents_4" << QRect(-1, -1, 164, 22);
        QTest::newRow("DPI_7") << "QToolButton" << "scrollAreaWidgetContents_4" << QRect(-1, -1, 164, 22);
        QTest::newRow("DPI_12") << "QToolButton" << "scrollAreaWidgetContents_4" << QRect(-1, -1, 164, 22);
        QTest::newRow("DPI_10") << "QToolButton" << "scrollAreaWidgetContents_4" << QRect(-1, -1, 164, 22);
        QTest::newRow("groupBox_4") << "QGroupBox" << "groupBox" << QRect(643, -11, 211, 241);
        QTest::newRow("stackedWidget_2") << "QStackedWidget" << "groupBox_4" << QRect(0, 0, 213, 238);
        QTest::newRow("page_3") << "QWidget" << "stackedWidget_2" << QRect(-1, -1, -1, -1);
        QTest::newRow("scrollArea_3") << "QScrollArea" << "page_3" << QRect(-1, -1, 205, 220);
        QTest::newRow("scrollAreaWidgetContents_3") << "QWidget" << "scrollArea_3" << QRect(-1, -1, -1, -1);
        QTest::newRow("Player") << "QToolButton" << "scrollAreaWidgetContents_3" << QRect(-1, -1, 174, 22);
        QTest::newRow("StartPause_2") << "QToolButton" << "scrollAreaWidgetContents_3" << QRect(-1, -1, 174, 22);
        QTest::newRow("BackMusic_2") << "QToolButton" << "scrollAreaWidgetContents_3" << QRect(-1, -1, 174, 22);
        QTest::newRow("TopMusic_2") << "QToolButton" << "scrollAreaWidgetContents_3" << QRect(-1, -1, 174, 22);
        QTest::newRow("Mute") << "QToolButton" << "scrollAreaWidgetContents_3" << QRect(-1, -1, 174, 22);
        QTest::newRow("VolumeUp") << "QToolButton" << "scrollAreaWidgetContents_3" << QRect(-1, -1, 174, 22);
        QTest::newRow("VolumeDown") << "QToolButton" << "scrollAreaWidgetContents_3" << QRect(-1, -1, 174, 22);
        QTest::newRow("VolumeDown_4") << "QToolButton" << "scrollAreaWidgetContents_3" << QRect(-1, -1, 174, 22);
        QTest::newRow("VolumeDown_5") << "QToolButton" << "scrollAreaWidgetContents_3" << QRect(-1, -1, 174, 22);
        QTest::newRow("VolumeDown_6") << "QToolButton" << "scrollAreaWidgetContents_3" << QRect(-1, -1, 174, 22);
        QTest::newRow("VolumeDown_3") << "QToolButton" << "scrollAreaWidgetContents_3" << QRect(-1, -1, 174, 22);
        QTest::newRow("VolumeDown_8") << "QToolButton" << "scrollAreaWidgetContents_3" << QRect(-1, -1, 174, 22);
        QTest::newRow("VolumeDown_9") << "QToolButton" << "scrollAreaWidgetContents_3" << QRect(-1, -1, 174, 22);
        QTest::newRow("VolumeDown_7") << "QToolButton" << "scrollAreaWidgetContents_3" << QRect(-1, -1, 174, 22);
        QTest::newRow("VolumeDown_10") << "QToolButton" << "scrollAreaWidgetContents_3" << QRect(-1, -1, 174, 22);
        QTest::newRow("VolumeDown_12") << "QToolButton" << "scrollAreaWidgetContents_3" << QRect(-1, -1, 174, 22);
        QTest::newRow("VolumeDown_13") << "QToolButton" << "scrollAreaWidgetContents_3" << QRect(-1, -1, 174, 22);
        QTest::newRow("VolumeDown_11") << "QToolButton" << "scrollAreaWidgetContents_3" << QRect(-1, -1, 174, 22);
        QTest::newRow("page_5") << "QWidget" << "stackedWidget_2" << QRect(-1, -1, -1, -1);
        QTest::newRow("scrollArea_7") << "QScrollArea" << "page_5" << QRect(-1, -1, 205, 220);
        QTest::newRow("page_6") << "QWidget" << "stackedWidget_2" << QRect(-1, -1, -1, -1);
        QTest::newRow("scrollArea_8") << "QScrollArea" << "page_6" << QRect(-1, -1, 205, 220);
        QTest::newRow("scrollAreaWidgetContents_8") << "QWidget" << "scrollArea_8" << QRect(-1, -1, -1, -1);
        QTest::newRow("VolumeUp_4") << "QToolButton" << "scrollAreaWidgetContents_8" << QRect(-1, -1, 174, 22);
        QTest::newRow("VolumeUp_5") << "QToolButton" << "scrollAreaWidgetContents_8" << QRect(-1, -1, 174, 22);
        QTest::newRow("VolumeUp_6") << "QToolButton" << "scrollAreaWidgetContents_8" << QRect(-1, -1, 174, 22);
        QTest::newRow("VolumeUp_7") << "QToolButton" << "scrollAreaWidgetContents_8" << QRect(-1, -1, 174, 22);
        QTest::newRow("page_8") << "QWidget" << "stackedWidget_2" << QRect(-1, -1, -1, -1);
        QTest::newRow("scrollArea_10") << "QScrollArea" << "page_8" << QRect(-1, -1, 205, 220);
        QTest::newRow("scrollAreaWidgetContents_10") << "QWidget" << "scrollArea_10" << QRect(-1, -1, -1, -1);
        QTest::newRow("VolumeUp_11") << "QToolButton" << "scrollAreaWidgetContents_10" << QRect(-1, -1, 174, 22);
        QTest::newRow("VolumeUp_12") << "QToolButton" << "scrollAreaWidgetContents_10" << QRect(-1, -1, 174, 22);
        QTest::newRow("VolumeUp_13") << "QToolButton" << "scrollAreaWidgetContents_10" << QRect(-1, -1, 174, 22);
        QTest::newRow("VolumeUp_16") << "QToolButton" << "scrollAreaWidgetContents_10" << QRect(-1, -1, 174, 22);
        QTest::newRow("VolumeUp_15") << "QToolButton" << "scrollAreaWidgetContents_10" << QRect(-1, -1, 174, 22);
        QTest::newRow("VolumeUp_19") << "QToolButton" << "scrollAreaWidgetContents_10" << QRect(-1, -1, 174, 22);
        QTest::newRow("VolumeUp_20") << "QToolButton" << "scrollAreaWidgetContents_10" << QRect(-1, -1, 174, 22);
        QTest::newRow("VolumeUp_22") << "QToolButton" << "scrollAreaWidgetContents_10" << QRect(-1, -1, 174, 22);
        QTest::newRow("VolumeUp_18") << "QToolButton" << "scrollAreaWidgetContents_10" << QRect(-1, -1, 174, 22);
        QTest::newRow("VolumeUp_24") << "QToolButton" << "scrollAreaWidgetContents_10" << QRect(-1, -1, 174, 22);
        QTest::newRow("VolumeUp_23") << "QToolButton" << "scrollAreaWidgetContents_10" << QRect(-1, -1, 174, 22);
        QTest::newRow("VolumeUp_21") << "QToolButton" << "scrollAreaWidgetContents_10" << QRect(-1, -1, 174, 22);
        QTest::newRow("page_9") << "QWidget" << "stackedWidget_2" << QRect(-1, -1, -1, -1);
        QTest::newRow("page_4") << "QWidget" << "stackedWidget_2" << QRect(-1, -1, -1, -1);
        QTest::newRow("scrollArea_6") << "QScrollArea" << "page_4" << QRect(-1, -1, 205, 220);
        QTest::newRow("scrollAreaWidgetContents_6") << "QWidget" << "scrollArea_6" << QRect(-1, -1, -1, -1);
        QTest::newRow("VolumeUp_2") << "QToolButton" << "scrollAreaWidgetContents_6" << QRect(-1, -1, 174, 22);
        QTest::newRow("VolumeDown_2") << "QToolButton" << "scrollAreaWidgetContents_6" << QRect(-1, -1, 174, 22);
        QTest::newRow("page_7") << "QWidget" << "stackedWidget_2" << QRect(-1, -1, -1, -1);
        QTest::newRow("scrollArea_9") << "QScrollArea" << "page_7" << QRect(-1, -1, 205, 220);
        QTest::newRow("scrollAreaWidgetContents_9") << "QWidget" << "scrollArea_9" << QRect(-1, -1, -1, -1);
        QTest::newRow("VolumeUp_8") << "QToolButton" << "scrollAreaWidgetContents_9" << QRect(-1, -1, 174, 22);
        QTest::newRow("VolumeUp_9") << "QToolButton" << "scrollAreaWidgetContents_9" << QRect(-1, -1, 174, 22);
        QTest::newRow("VolumeUp_10") << "QToolButton" << "scrollAreaWidgetContents_9" << QRect(-1, -1, 174, 22);
        QTest::newRow("page_10") << "QWidget" << "stackedWidget_2" << QRect(-1, -1, -1, -1);
        QTest::newRow("scrollArea_12") << "QScrollArea" << "page_10" << QRect(0, 10, 205, 220);
        QTest::newRow("scrollAreaWidgetContents_12") << "QWidget" << "scrollArea_12" << QRect(-1, -1, -1, -1);
        QTest::newRow("VolumeUp_14") << "QToolButton" << "scrollAreaWidgetContents_12" << QRect(-1, -1, 174, 22);
        QTest::newRow("VolumeDown_14") << "QToolButton" << "scrollAreaWidgetContents_12" << QRect(-1, -1, 174, 22);
        QTest::newRow("groupBox_2") << "QGroupBox" << "page_9" << QRect(10, 0, 200, 241);
        QTest::newRow("label_3") << "QLabel" << "groupBox_2" << QRect(0, 20, 201, 31);
        QTest::newRow("DebunceButton") << "DebounceTime" << "groupBox_2" << QRect(35, 50, 165, 37);
        QTest::newRow("ProjectChoose") << "MyConmboBox" << "MainWindow" << QRect(60, 25, 128, 24);

    }
    void formObjects()
    {
        QFETCH(QString, className);
        QFETCH(QString, parentName);
        QFETCH(QRect, geometry);
        QWidget root;
        Ui::Buttoninterface form;
        form.setupUi(&root);
        const auto* object = root.findChild<QWidget*>(QLatin1String(QTest::currentDataTag()));
        QVERIFY(object);
        QCOMPARE(QString::fromLatin1(object->metaObject()->className()), className);
        QCOMPARE(NamedParent(object), parentName);
        if (geometry.x() != -1)
            QCOMPARE(object->geometry(), geometry);
        else if (geometry.width() != -1)
            QCOMPARE(object->size(), geometry.size());
    }

    // Where widgets overlap, the one made later paints over: the menu over the right of the selector
    // list and its scroll bar, the sub-menus beside it, the picture under the commands.
    void formPaintingOrder_data()
    {
        QTest::addColumn<QString>("below");
        QTest::addColumn<QString>("above");
        QTest::newRow("menu over the list") << "scrollArea_11" << "stackedWidget";
        QTest::newRow("sub-menus over the menu") << "stackedWidget" << "groupBox_4";
        QTest::newRow("commands over the picture") << "widget" << "ImportData";
        QTest::newRow("profile list over the band") << "groupBox" << "ProjectChoose";
        QTest::newRow("row 7 before its label") << "Button7" << "label_16";
        QTest::newRow("rows 8 to 12 before their labels") << "Button12" << "label_17";
    }
    void formPaintingOrder()
    {
        QFETCH(QString, below);
        QFETCH(QString, above);
        QWidget root;
        Ui::Buttoninterface form;
        form.setupUi(&root);
        auto* lower = root.findChild<QWidget*>(below);
        auto* upper = root.findChild<QWidget*>(above);
        QVERIFY(lower && upper);
        QCOMPARE(lower->parent(), upper->parent());
        const QObjectList siblings = lower->parent()->children();
        QVERIFY(siblings.indexOf(lower) < siblings.indexOf(upper));
    }

    // The form's fonts by region: hotspots 16, commands 10, row labels 16, selectors 11, menu entries
    // 8 (the categories 6, multimedia 7), options 9.
    void formFonts_data()
    {
        QTest::addColumn<QStringList>("objects");
        QTest::addColumn<int>("points");
        QTest::newRow("hotspots") << QStringList{"Number1", "Number12"} << 16;
        QTest::newRow("commands") << QStringList{"ImportData", "OutputData"} << 10;
        QTest::newRow("row labels") << QStringList{"label_14", "label_21"} << 16;
        QTest::newRow("selectors") << QStringList{"FireKey", "TopMusic", "Button12"} << 11;
        QTest::newRow("entries") << QStringList{"LeftKey_3", "DPI_2", "DPI_6", "DPI_8", "DPI_5", "DPI_10"} << 8;
        QTest::newRow("categories") << QStringList{"DPI_13", "DPI_11", "DPI_4", "DPI_9", "DPI_7"} << 6;
        QTest::newRow("multimedia category") << QStringList{"DPI_12"} << 7;
        QTest::newRow("options") << QStringList{"Player", "VolumeUp_21", "VolumeDown_14", "VolumeUp_7"} << 9;
        QTest::newRow("debounce caption and profiles") << QStringList{"label_3", "ProjectChoose"} << 11;
    }
    void formFonts()
    {
        QFETCH(QStringList, objects);
        QFETCH(int, points);
        QWidget root;
        Ui::Buttoninterface form;
        form.setupUi(&root);
        for (const QString& name : objects)
            QCOMPARE(root.findChild<QWidget*>(name)->font().pointSize(), points);
    }

    // Every slot the page names after an object of its form finds that object and a signal of that
    // signature: a misspelt name would leave the slot dead without a word.
    void everyNamedSlotFindsItsObject()
    {
        Buttoninterface page;
        const QMetaObject* meta = page.metaObject();
        int named = 0;
        for (int i = meta->methodOffset(); i < meta->methodCount(); ++i) {
            const QMetaMethod method = meta->method(i);
            const QString signature = QString::fromLatin1(method.methodSignature());
            if (method.methodType() != QMetaMethod::Slot || !signature.startsWith(QLatin1String("on_")))
                continue;
            const int open = signature.indexOf(QLatin1Char('('));
            const int split = signature.lastIndexOf(QLatin1Char('_'), open);
            const QString object = signature.mid(3, split - 3);
            const QString signal = signature.mid(split + 1);
            const QObject* child = page.findChild<QObject*>(object);
            QVERIFY2(child, qPrintable(signature));
            QVERIFY2(child->metaObject()->indexOfSignal(QMetaObject::normalizedSignature(qPrintable(signal))) >= 0,
                     qPrintable(signature));
            ++named;
        }
        QVERIFY(named >= 51);
    }

    // The form alone: the menu on its entries, the debounce panel, nothing checked, the sub-pages in
    // index order.
    void formAloneShowsTheMenuAndNothingChecked()
    {
        QWidget root;
        Ui::Buttoninterface form;
        form.setupUi(&root);
        QCOMPARE(root.objectName(), QStringLiteral("Buttoninterface"));
        QCOMPARE(form.stackedWidget->currentIndex(), 1);
        QCOMPARE(form.stackedWidget->currentWidget(), form.page_2);
        QCOMPARE(form.stackedWidget_2->currentIndex(), 4);
        QCOMPARE(form.stackedWidget_2->currentWidget(), form.page_9);
        const QStringList subPages = {"page_3", "page_5", "page_6", "page_8", "page_9", "page_4", "page_7", "page_10"};
        for (int i = 0; i < subPages.size(); ++i)
            QCOMPARE(form.stackedWidget_2->widget(i)->objectName(), subPages.at(i));
        for (const QToolButton* button : root.findChildren<QToolButton*>())
            QVERIFY2(!button->isChecked(), qPrintable(button->objectName()));
        QVERIFY(!form.Number1->isCheckable());
        QVERIFY(form.FireKey->isCheckable() && form.Player->isCheckable() && form.DPI_6->isCheckable());
    }

    // What the constructor hides and how it groups the form's buttons.
    void constructorHidesAndGroups()
    {
        Buttoninterface page;
        for (const char* name : {"Number7", "Number8", "Number9", "Number10", "Number11", "Number12", "label_16", "label_17",
                                 "label_18", "label_19", "label_20", "label_21", "Button7", "Button8", "Button9", "Button10",
                                 "Button11", "Button12", "DPI_3", "DPI_9"})
            QVERIFY2(Child<QWidget>(page, name)->isHidden(), name);
        for (const char* name : {"Number1", "Number6", "label_14", "label_13", "FireKey", "BackMusic", "DPI_2", "DPI_10"})
            QVERIFY2(!Child<QWidget>(page, name)->isHidden(), name);

        const QStringList options = {
            "Player", "StartPause_2", "BackMusic_2", "TopMusic_2", "Mute", "VolumeUp", "VolumeDown", "VolumeDown_3",
            "VolumeDown_4", "VolumeDown_5", "VolumeDown_6", "VolumeDown_7", "VolumeDown_8", "VolumeDown_9", "VolumeDown_10",
            "VolumeDown_11", "VolumeDown_12", "VolumeDown_13", "VolumeUp_4", "VolumeUp_5", "VolumeUp_6", "VolumeUp_7",
            "VolumeUp_11", "VolumeUp_12", "VolumeUp_13", "VolumeUp_15", "VolumeUp_16", "VolumeUp_18", "VolumeUp_19",
            "VolumeUp_20", "VolumeUp_21", "VolumeUp_22", "VolumeUp_23", "VolumeUp_24", "VolumeDown_2", "VolumeUp_2",
            "VolumeUp_10", "VolumeUp_8", "VolumeUp_9", "VolumeUp_14", "VolumeDown_14"};
        QCOMPARE(Names(page.Options()->buttons()), options);
        QCOMPARE(Names(page.Selectors()->buttons()),
                 QStringList({"FireKey", "RightKey", "BackKey", "StartPause", "TopMusic", "BackMusic", "Button7", "Button8",
                              "Button9", "Button10", "Button11", "Button12"}));
        QCOMPARE(Names(page.MenuEntries()->buttons()),
                 QStringList({"LeftKey_3", "RightKey_3", "MidKey", "BackKey_2", "ForWardKey", "DPI_2", "DPI_3", "DPI_6", "DPI_8",
                              "DPI_5", "DPI_13", "DPI_11", "DPI_4", "DPI_9", "DPI_7", "DPI_12", "DPI_10"}));
        QCOMPARE(page.Hotspots()->buttons().size(), 12);
        for (QButtonGroup* group : {page.Selectors(), page.MenuEntries(), page.Options(), page.Hotspots()})
            QVERIFY(group->exclusive());

        QCOMPARE(Child<QStackedWidget>(page, "stackedWidget")->currentIndex(), 0);
        QCOMPARE(Child<QStackedWidget>(page, "stackedWidget_2")->currentIndex(), 4);
        QCOMPARE(Child<QScrollArea>(page, "scrollArea_11")->frameShape(), QFrame::NoFrame);
        QCOMPARE(Child<QScrollArea>(page, "scrollArea_7")->widget(), page.MacroList());
        QVERIFY(QDir(AppPaths::UserDataFolder() + "/usersetting/MainPage").exists());
        QCOMPARE(page.FireInterval, 10);
        QCOMPARE(page.FireCount, 3);
        QVERIFY(page.Types().isEmpty());
    }

    // The pictures the page's looks name exist in the program folder.
    void looksNameShippedPictures()
    {
        Buttoninterface page;
        page.SlotMouseIndex(1);
        const QRegularExpression url(QStringLiteral("url\\(([^)]*)\\)"));
        QStringList missing;
        for (const QWidget* widget : page.findChildren<QWidget*>()) {
            auto matches = url.globalMatch(widget->styleSheet());
            while (matches.hasNext()) {
                const QString path = matches.next().captured(1);
                if (!QFileInfo(path).isFile())
                    missing << widget->objectName() + QStringLiteral(": ") + path;
            }
        }
        missing.removeDuplicates();
        QVERIFY2(missing.isEmpty(), qPrintable(missing.join(QStringLiteral("\n"))));
    }

    // The macro list: one button per macro file, the first name holding "xml" left out, placeholders
    // up to seven rows for one to six entries. The page's first build keeps further "xml" names; a
    // rebuild skips them but counts them for the placeholders.
    void macroList_data()
    {
        QTest::addColumn<QStringList>("files");
        QTest::addColumn<bool>("rebuild");
        QTest::addColumn<QStringList>("buttons");
        QTest::addColumn<int>("placeholders");
        QTest::newRow("three macros and their xml") << QStringList{"c.ini", "notes.xml", "B.ini", "a.ini"} << false
                                                    << QStringList{"a", "B", "c"} << 4;
        QTest::newRow("rebuild of the same") << QStringList{"c.ini", "notes.xml", "B.ini", "a.ini"} << true
                                             << QStringList{"a", "B", "c"} << 4;
        QTest::newRow("second xml kept by the first build") << QStringList{"m.ini", "x.xml", "y.xml"} << false
                                                            << QStringList{"m", "y.xml"} << 5;
        QTest::newRow("second xml skipped by a rebuild") << QStringList{"m.ini", "x.xml", "y.xml"} << true
                                                         << QStringList{"m"} << 5;
        QTest::newRow("seven macros") << QStringList{"1.ini", "2.ini", "3.ini", "4.ini", "5.ini", "6.ini", "7.ini"} << false
                                      << QStringList{"1", "2", "3", "4", "5", "6", "7"} << 0;
        QTest::newRow("none") << QStringList{} << false << QStringList{} << 0;
        QTest::newRow("none, rebuilt") << QStringList{} << true << QStringList{} << 0;
        QTest::newRow("doubled suffix and another file") << QStringList{"ab.ini.ini", "x.txt"} << false
                                                         << QStringList{"ab", "x.txt"} << 5;
    }
    void macroList()
    {
        QFETCH(QStringList, files);
        QFETCH(bool, rebuild);
        QFETCH(QStringList, buttons);
        QFETCH(int, placeholders);
        FillMacroFolder(rebuild ? QStringList{} : files);
        Buttoninterface page;
        if (rebuild) {
            FillMacroFolder(files);
            emit PostMsg::Instance()->SigAddMacroButton();
        }
        const QList<QToolButton*> list = page.MacroListButtons();
        QCOMPARE(list.size(), buttons.size() + placeholders);
        QCOMPARE(Texts(list.mid(0, buttons.size())), buttons);
        for (int i = 0; i < list.size(); ++i) {
            const bool real = i < buttons.size();
            QCOMPARE(list.at(i)->isEnabled(), real);
            QCOMPARE(list.at(i)->isHidden(), !real);
            QVERIFY(list.at(i)->isCheckable());
            QCOMPARE(page.Options()->buttons().contains(list.at(i)), real);
            QCOMPARE(list.at(i)->parentWidget(), page.MacroList());
            if (!real)
                QVERIFY(list.at(i)->text().isEmpty());
        }
        QCOMPARE(page.Options()->buttons().size(), 41 + buttons.size());
        // The list grows with its macros: every real button lies inside it, so the sub-page scrolls to it.
        page.MacroList()->layout()->activate();
        for (int i = 0; i < buttons.size(); ++i)
            QVERIFY(page.MacroList()->rect().contains(list.at(i)->geometry()));
    }

    // The mouse picture of each device picture index, and where the hotspots go; an unknown index
    // names its picture and moves nothing.
    void mouseIndex_data()
    {
        QTest::addColumn<int>("index");
        QTest::addColumn<QList<QPoint>>("places");
        // 1, 2 and 3 on the left button, the right button and the wheel of every picture (their
        // places on the pictures: tst_pagelooks).
        QTest::newRow("0") << 0 << QList<QPoint>{{157, 93}, {237, 93}, {197, 64}, {251, 148}, {288, 140}, {280, 230}};
        QTest::newRow("1") << 1 << QList<QPoint>{{157, 93}, {237, 93}, {197, 64}, {251, 148}, {288, 140}, {280, 230}};
        QTest::newRow("2") << 2 << QList<QPoint>{{157, 93}, {237, 93}, {197, 64}, {242, 148}, {280, 142}, {270, 235}};
        QTest::newRow("3 moves nothing") << 3 << QList<QPoint>{{157, 93}, {237, 93}, {197, 64}, {242, 148}, {280, 142}, {270, 235}};
    }
    void mouseIndex()
    {
        QFETCH(int, index);
        QFETCH(QList<QPoint>, places);
        Buttoninterface page;
        page.SlotMouseIndex(2);
        emit PostMsg::Instance()->SigMouseIndex(index);
        QVERIFY(Child<QWidget>(page, "widget")->styleSheet().endsWith(
            QStringLiteral("/Picture/Buttoninterface/mouse%1.png);}").arg(index)));
        for (int i = 0; i < 6; ++i)
            QCOMPARE(page.Hotspots()->buttons().at(i)->pos(), places.at(i));
        QCOMPARE(page.Hotspots()->buttons().at(6)->pos(), QPoint(380, 60));
    }

    // The profile list: as many profiles as the mouse has, one when it names none.
    void profileList_data()
    {
        QTest::addColumn<int>("total");
        QTest::addColumn<int>("select");
        QTest::addColumn<bool>("enable");
        QTest::addColumn<QStringList>("numbers");
        QTest::addColumn<int>("current");
        QTest::newRow("four, third chosen") << 4 << 2 << true << QStringList{"1", "2", "3", "4"} << 2;
        QTest::newRow("none named, disabled") << 0 << 5 << false << QStringList{"1"} << 0;
    }
    void profileList()
    {
        QFETCH(int, total);
        QFETCH(int, select);
        QFETCH(bool, enable);
        QFETCH(QStringList, numbers);
        QFETCH(int, current);
        Buttoninterface page;
        QString prefix = UiText::Option(0, QStringLiteral("ProfileOptions"), QStringLiteral("0"));
        prefix.remove(QLatin1Char('1'));
        QVERIFY(!prefix.isEmpty());
        auto* profiles = Child<QComboBox>(page, "ProjectChoose");
        QSignalSpy shown(PostMsg::Instance(), &PostMsg::SigAddConfig);
        page.SlotUpDataConfigUI(total, select, enable);
        QCOMPARE(profiles->count(), numbers.size());
        for (int i = 0; i < numbers.size(); ++i)
            QCOMPARE(profiles->itemText(i), prefix + numbers.at(i));
        QCOMPARE(profiles->currentIndex(), current);
        QCOMPARE(profiles->isEnabled(), enable);
        QCOMPARE(shown.count(), 1);
        QCOMPARE(shown.at(0).at(0).toString(), profiles->itemText(current));
    }

    // A language change brings the form's texts back, keeps the chosen profile and announces nothing.
    void languageChangeKeepsTheProfile()
    {
        Buttoninterface page;
        page.SlotUpDataConfigUI(4, 2, true);
        auto* profiles = Child<QComboBox>(page, "ProjectChoose");
        Child<QToolButton>(page, "DPI_2")->setText(QStringLiteral("changed"));
        QSignalSpy shown(PostMsg::Instance(), &PostMsg::SigAddConfig);
        QSignalSpy chosen(profiles, QOverload<int>::of(&QComboBox::currentIndexChanged));
        QEvent change(QEvent::LanguageChange);
        QApplication::sendEvent(&page, &change);
        QCOMPARE(profiles->currentIndex(), 2);
        QCOMPARE(profiles->count(), 4);
        QCOMPARE(shown.count(), 0);
        QCOMPARE(chosen.count(), 0);
        QVERIFY(!profiles->signalsBlocked());
        QCOMPARE(Child<QToolButton>(page, "DPI_2")->text(), QString::fromUtf8("切换报告率"));
    }

    // A profile chosen by the user: online (or while the page shows a record) the mouse switches and
    // the summary shows the name; offline the box goes back to the profile of the press, the offline
    // notice is asked for and the mouse keeps its profile.
    void profileChoice_data()
    {
        QTest::addColumn<bool>("online");
        QTest::addColumn<bool>("refreshing");
        QTest::addColumn<int>("activeAfter");
        QTest::addColumn<int>("boxAfter");
        QTest::addColumn<int>("offlineNotices");
        // Offline by the page's device path alone: the library's connection would still switch the
        // mouse, so its profile shows whether the library was asked.
        QTest::addColumn<bool>("libraryCouldSwitch");
        QTest::newRow("online") << true << false << 2 << 2 << 0 << false;
        QTest::newRow("offline") << false << false << 1 << 1 << 1 << false;
        // The choice is sent; the absent mouse cannot take it.
        QTest::newRow("offline while the page shows a record") << false << true << 1 << 2 << 0 << false;
        QTest::newRow("offline: the library is not asked") << false << false << 1 << 1 << 1 << true;
        QTest::newRow("offline while the page shows a record: the library is asked") << false << true << 2 << 2 << 0 << true;
    }
    void profileChoice()
    {
        QFETCH(bool, online);
        QFETCH(bool, refreshing);
        QFETCH(int, activeAfter);
        QFETCH(int, boxAfter);
        QFETCH(int, offlineNotices);
        QFETCH(bool, libraryCouldSwitch);
        Buttoninterface page;
        FlashDataMap record{};
        const int mouse = OpenMouse(page, &record);
        QVERIFY(mouse >= 0);
        SimControl_SwitchProfile(mouse, 1);
        QCOMPARE(SimControl_GetActiveProfile(mouse), 1);
        page.SlotUpDataConfigUI(4, 1, true);
        auto* profiles = Child<QComboBox>(page, "ProjectChoose");
        page.show();
        QTest::mousePress(profiles, Qt::LeftButton, {}, QPoint(30, 12));
        profiles->hidePopup();
        if (!online && libraryCouldSwitch)
            SetCurrentDevicePath(QByteArrayLiteral("no-such-device"));
        else if (!online)
            SimControl_SetAttached(mouse, 0);
        QCOMPARE(bool(VidEzorarA_GetDeviceOnLine(CurrentDevicePath)), online);
        ButtonPageRefreshing = refreshing;
        QSignalSpy shown(PostMsg::Instance(), &PostMsg::SigAddConfig);
        QSignalSpy offline(PostMsg::Instance(), &PostMsg::SigMouseOffLineo);
        profiles->setCurrentIndex(2);
        emit profiles->activated(2);
        ButtonPageRefreshing = false;
        QCOMPARE(SimControl_GetActiveProfile(mouse), activeAfter);
        QCOMPARE(profiles->currentIndex(), boxAfter);
        QCOMPARE(offline.count(), offlineNotices);
        if (offlineNotices) {
            QCOMPARE(offline.at(0).at(0).toInt(), 0);
            QCOMPARE(shown.count(), 0);
        } else {
            QCOMPARE(shown.count(), 1);
            QCOMPARE(shown.at(0).at(0).toString(), profiles->itemText(2));
        }
    }

    // The menu closed brings the selector list over the menu, so that all of the list takes clicks;
    // the open menu comes over the list again.
    void menuPageRaisesItsWidget()
    {
        Buttoninterface page;
        auto* menu = Child<QStackedWidget>(page, "stackedWidget");
        auto* list = Child<QScrollArea>(page, "scrollArea_11");
        const auto above = [](QWidget* upper, QWidget* lower) {
            const QObjectList siblings = upper->parent()->children();
            return siblings.indexOf(upper) > siblings.indexOf(lower);
        };
        menu->setCurrentWidget(Child<QWidget>(page, "page_2"));
        QVERIFY(above(menu, list));
        menu->setCurrentWidget(Child<QWidget>(page, "page"));
        QVERIFY(above(list, menu));
        menu->setCurrentWidget(Child<QWidget>(page, "page_2"));
        QVERIFY(above(menu, list));
    }

    // A press on the page: which menu stays open and which selection stays, by where it lands. The
    // page compares its own positions with each rectangle as the widget's parent places it.
    void pressBesideTheMenu_data()
    {
        QTest::addColumn<int>("menu");
        QTest::addColumn<int>("subPage");
        QTest::addColumn<int>("button");
        QTest::addColumn<QPoint>("at");
        QTest::addColumn<int>("menuAfter");
        QTest::addColumn<int>("subPageAfter");
        QTest::addColumn<bool>("selectionKept");
        const int L = Qt::LeftButton, R = Qt::RightButton;
        const QPoint band(20, 500), list(160, 100), picture(400, 300), hotspot(120, 170), elsewhere(860, 10),
            menuArea(500, 400);
        QTest::newRow("closed: left in the band") << 0 << 4 << L << band << 0 << 4 << false;
        QTest::newRow("closed: left in the list") << 0 << 4 << L << list << 0 << 4 << true;
        QTest::newRow("closed: left on the picture") << 0 << 4 << L << picture << 0 << 4 << false;
        QTest::newRow("closed: left on a hotspot") << 0 << 4 << L << hotspot << 0 << 4 << false;
        QTest::newRow("closed: left elsewhere") << 0 << 4 << L << elsewhere << 0 << 4 << false;
        QTest::newRow("closed: right on the picture") << 0 << 4 << R << picture << 0 << 4 << true;
        QTest::newRow("menu: left on the menu") << 1 << 4 << L << menuArea << 1 << 4 << true;
        QTest::newRow("menu: left in the list") << 1 << 4 << L << list << 0 << 4 << false;
        QTest::newRow("menu: left in the band") << 1 << 4 << L << band << 0 << 4 << false;
        QTest::newRow("menu: right in the band") << 1 << 4 << R << band << 1 << 4 << true;
        QTest::newRow("menu: right on the menu") << 1 << 4 << R << menuArea << 1 << 4 << true;
        QTest::newRow("menu: left elsewhere") << 1 << 4 << L << elsewhere << 0 << 4 << false;
        QTest::newRow("sub-page: right elsewhere") << 1 << 0 << R << elsewhere << 1 << 0 << true;
        QTest::newRow("sub-page: right on the picture") << 1 << 0 << R << picture << 1 << 0 << true;
        QTest::newRow("sub-page: left elsewhere") << 1 << 0 << L << elsewhere << 0 << 4 << false;
        QTest::newRow("sub-page: right in the band") << 1 << 0 << R << band << 1 << 0 << true;
        QTest::newRow("sub-page: left in the band") << 1 << 0 << L << band << 0 << 4 << false;
        QTest::newRow("sub-page: left on the hotspot") << 1 << 0 << L << hotspot << 0 << 4 << false;
        QTest::newRow("list with a sub-page: left in the band") << 0 << 0 << L << band << 0 << 0 << true;
        QTest::newRow("list with a sub-page: left on the picture") << 0 << 0 << L << picture << 0 << 4 << false;
    }
    void pressBesideTheMenu()
    {
        QFETCH(int, menu);
        QFETCH(int, subPage);
        QFETCH(int, button);
        QFETCH(QPoint, at);
        QFETCH(int, menuAfter);
        QFETCH(int, subPageAfter);
        QFETCH(bool, selectionKept);
        Buttoninterface page;
        auto* stack = Child<QStackedWidget>(page, "stackedWidget");
        auto* subStack = Child<QStackedWidget>(page, "stackedWidget_2");
        stack->setCurrentIndex(menu);
        subStack->setCurrentIndex(subPage);
        Child<QToolButton>(page, "FireKey")->setChecked(true);
        Press(page, Qt::MouseButton(button), at);
        QCOMPARE(stack->currentIndex(), menuAfter);
        QCOMPARE(subStack->currentIndex(), subPageAfter);
        QCOMPARE(CheckedSelectors(page), selectionKept ? QStringList{"FireKey"} : QStringList{});
        QCOMPARE(page.Selectors()->exclusive(), true);
        if (menuAfter == 0 && menu != 0)
            QCOMPARE(Child<QScrollArea>(page, "scrollArea_11")->verticalScrollBar()->styleSheet(),
                     QStringLiteral("QScrollBar {width:10px;}"));
    }

    // The selected button is the first checked selector in row order; rows 4 and 5 show buttons 4 and 3.
    // (Row 1 shows the only left click: the left-click rule is tst_buttonoptions'.)
    void assignmentGoesToTheSelectedButton_data()
    {
        QTest::addColumn<QString>("selector");
        QTest::addColumn<int>("button");
        QTest::newRow("row 3") << "BackKey" << 2;
        QTest::newRow("row 4") << "StartPause" << 4;
        QTest::newRow("row 5") << "TopMusic" << 3;
        QTest::newRow("row 6") << "BackMusic" << 5;
    }
    void assignmentGoesToTheSelectedButton()
    {
        QFETCH(QString, selector);
        QFETCH(int, button);
        Buttoninterface page;
        FlashDataMap record{};
        const int mouse = OpenMouse(page, &record);
        QVERIFY(mouse >= 0);
        Child<QToolButton>(page, selector.toLatin1().constData())->setChecked(true);
        QCOMPARE(page.SelectedButton(), button);
        const QStringList textsBefore = Texts(page.findChildren<QToolButton*>(QRegularExpression("^(FireKey|RightKey|BackKey|StartPause|TopMusic|BackMusic|Button\\d+)$")));
        const int updates = SimControl_UpdateCount();

        QVERIFY(page.AssignToSelected(FunctionDpiLock, 0x109, 0, QStringLiteral("DPI lock-500")));

        FlashDataMap expected = record;
        expected.buttons[button] = ButtonFunction{FunctionDpiLock, 0x09, 0};
        QCOMPARE(devices->RecordDifferences(mouse, expected), QString());
        QCOMPARE(SimControl_UpdateCount(), updates + 1);
        QCOMPARE(page.SelectorOfButton(button)->text(), QStringLiteral("DPI lock-500"));
        QCOMPARE(page.FunctionAt(button).type, int(FunctionDpiLock));
        QCOMPARE(page.FunctionAt(button).code, 0x109); // the copy keeps the whole value
        QCOMPARE(page.FunctionAt(button).parameter, 0);
        for (int other = 0; other < 6; ++other) {
            if (other == button)
                continue;
            QCOMPARE(page.FunctionAt(other).type, int(record.buttons[other].type));
        }
        int changed = 0;
        const QStringList textsAfter = Texts(page.findChildren<QToolButton*>(QRegularExpression("^(FireKey|RightKey|BackKey|StartPause|TopMusic|BackMusic|Button\\d+)$")));
        for (int i = 0; i < textsAfter.size(); ++i)
            changed += textsAfter.at(i) != textsBefore.at(i);
        QCOMPARE(changed, 1);
    }

    // Refusals change nothing: no selector checked, the mouse offline, a key record or macro block
    // missing for its type.
    void refusedAssignmentChangesNothing_data()
    {
        QTest::addColumn<QString>("selector");
        QTest::addColumn<bool>("online");
        QTest::addColumn<int>("type");
        QTest::addColumn<int>("notices");
        QTest::newRow("nothing selected") << "" << true << int(FunctionMouseKey) << 0;
        QTest::newRow("offline") << "RightKey" << false << int(FunctionMouseKey) << 1;
        QTest::newRow("offline key record") << "RightKey" << false << int(FunctionKeyRecord) << 1;
        QTest::newRow("key record without its record") << "RightKey" << true << -int(FunctionKeyRecord) << 0;
        QTest::newRow("macro without its block") << "RightKey" << true << int(FunctionMacro) << 0;
    }
    void refusedAssignmentChangesNothing()
    {
        QFETCH(QString, selector);
        QFETCH(bool, online);
        QFETCH(int, type);
        QFETCH(int, notices);
        Buttoninterface page;
        FlashDataMap record{};
        const int mouse = OpenMouse(page, &record);
        QVERIFY(mouse >= 0);
        if (!selector.isEmpty())
            Child<QToolButton>(page, selector.toLatin1().constData())->setChecked(true);
        if (!online)
            SimControl_SetAttached(mouse, 0);
        const QString textBefore = Child<QToolButton>(page, "RightKey")->text();
        const QList<int> types = page.Types(), codes = page.Codes(), params = page.Params();
        const FlashDataMap working = DeviceConfigSnapshot();
        const int updates = SimControl_UpdateCount();
        QSignalSpy offline(PostMsg::Instance(), &PostMsg::SigMouseOffLineo);

        const ButtonKeyRecord keys = KeyRecords::ConsumerKeyRecord(0x00, 0xE2);
        const bool written = page.AssignToSelected(std::abs(type), 16, 0, QStringLiteral("new"), type > 0 ? &keys : nullptr);

        QVERIFY(!written);
        QCOMPARE(offline.count(), notices);
        QCOMPARE(SimControl_UpdateCount(), updates);
        QVERIFY(std::memcmp(DeviceConfigSnapshot().bytes(), working.bytes(), sizeof working) == 0);
        QCOMPARE(Child<QToolButton>(page, "RightKey")->text(), textBefore);
        QCOMPARE(page.Types(), types);
        QCOMPARE(page.Codes(), codes);
        QCOMPARE(page.Params(), params);
        if (!online)
            SimControl_SetAttached(mouse, 1);
    }

    // A copy that holds fewer buttons than the one assigned (a model list without the count): the
    // entries beyond read as (0, 0, 0) and an assignment grows all three lists together.
    void emptyCopyGrowsOnAssignment()
    {
        Buttoninterface page;
        FlashDataMap record{};
        const int mouse = devices->OpenWiredMouse(&record);
        QVERIFY(mouse >= 0);
        QVERIFY(page.Types().isEmpty());
        QCOMPARE(page.FunctionAt(0).type, 0);
        QCOMPARE(page.FunctionAt(11).code, 0);
        QCOMPARE(page.FunctionAt(-1).parameter, 0);
        Child<QToolButton>(page, "BackKey")->setChecked(true);
        QVERIFY(page.AssignToSelected(FunctionFireKey, 10, 3, QStringLiteral("fire")));
        QCOMPARE(page.Types(), (QList<int>{0, 0, 4}));
        QCOMPARE(page.Codes(), (QList<int>{0, 0, 10}));
        QCOMPARE(page.Params(), (QList<int>{0, 0, 3}));
        const ButtonFunction held = devices->Record(mouse).buttons[2];
        QCOMPARE(QList<int>({held.type, held.p1, held.p2}), QList<int>({4, 10, 3}));
        page.UpDataButtonFunction(12, 1, 1, 0); // no such button on the page
        QCOMPARE(page.Types().size(), 3);
    }

    // Clearing the options before another is shown as chosen: every option and the macro list;
    // a marked wheel up/down option keeps its mark (only the group's exclusivity moves it), and
    // selectors and menu entries keep theirs.
    void uncheckAllOptionsKeepsTheWheelMark_data()
    {
        QTest::addColumn<QString>("wheel");
        QTest::newRow("wheel up") << "VolumeUp_14";
        QTest::newRow("wheel down") << "VolumeDown_14";
    }
    void uncheckAllOptionsKeepsTheWheelMark()
    {
        QFETCH(QString, wheel);
        FillMacroFolder({"one.ini", "two.ini"});
        Buttoninterface page;
        auto* group = page.Options();
        Child<QToolButton>(page, "FireKey")->setChecked(true);
        Child<QToolButton>(page, "DPI_13")->setChecked(true);
        group->setExclusive(false);
        for (const QString& name : {wheel, QString("Player"), QString("VolumeUp_8"), QString("VolumeUp_2")})
            Child<QToolButton>(page, name.toLatin1().constData())->setChecked(true);
        page.MacroListButtons().at(1)->setChecked(true);
        group->setExclusive(true);
        page.UncheckAllOptions();
        for (QAbstractButton* option : group->buttons())
            QVERIFY2(option->isChecked() == (option->objectName() == wheel), qPrintable(option->objectName() + option->text()));
        QVERIFY(group->exclusive());
        QVERIFY(Child<QToolButton>(page, "FireKey")->isChecked());
        QVERIFY(Child<QToolButton>(page, "DPI_13")->isChecked());
        // Another option shown as chosen takes the mark from it.
        Child<QToolButton>(page, "Player")->setChecked(true);
        QVERIFY(!Child<QToolButton>(page, wheel.toLatin1().constData())->isChecked());
    }

    // A multimedia key by its code: the record and triple on the mouse, the option's text on the
    // selector; a code with its high byte is no code.
    void consumerKey_data()
    {
        QTest::addColumn<int>("button");
        QTest::addColumn<int>("code");
        QTest::addColumn<int>("usage");
        QTest::addColumn<QString>("option");
        QTest::newRow("media player on button 2") << 2 << 0x83 << 0x0183 << "Player";
        QTest::newRow("mute on button 4") << 4 << 0xE2 << 0x00E2 << "VolumeUp";
        QTest::newRow("browser favourites on button 3") << 3 << 0x2A << 0x022A << "VolumeDown_11";
        QTest::newRow("the usage is no code") << 2 << 0x183 << 0 << "";
        QTest::newRow("no such button") << 12 << 0x83 << 0 << "";
    }
    void consumerKey()
    {
        QFETCH(int, button);
        QFETCH(int, code);
        QFETCH(int, usage);
        QFETCH(QString, option);
        Buttoninterface page;
        FlashDataMap record{};
        const int mouse = OpenMouse(page, &record);
        QVERIFY(mouse >= 0);
        auto* stack = Child<QStackedWidget>(page, "stackedWidget");
        stack->setCurrentIndex(1);
        Child<QToolButton>(page, "Player")->setChecked(true);
        const int updates = SimControl_UpdateCount();

        page.AssignConsumerKey(button, code);

        FlashDataMap expected = record;
        if (!option.isEmpty()) {
            expected.buttons[button] = ButtonFunction{FunctionKeyRecord, 0, 0};
            expected.keyRecords[button] = ButtonPageSupport::ConsumerBytes(uint16_t(usage));
            QCOMPARE(SimControl_UpdateCount(), updates + 1);
            QCOMPARE(page.SelectorOfButton(button)->text(), Child<QToolButton>(page, option.toLatin1().constData())->text());
            QCOMPARE(page.FunctionAt(button).type, 5);
        } else {
            QCOMPARE(SimControl_UpdateCount(), updates);
        }
        QCOMPARE(devices->RecordDifferences(mouse, expected), QString());
        // Nothing else on the page changes.
        QCOMPARE(stack->currentIndex(), 1);
        QVERIFY(Child<QToolButton>(page, "Player")->isChecked());
    }

    // The bytes of Ctrl+A on button 7 change the text of Button8 only; online or not, the menu shows
    // again on the idle sub-page.
    void keyCombination_data()
    {
        QTest::addColumn<bool>("online");
        QTest::newRow("online") << true;
        QTest::newRow("offline") << false;
    }
    void keyCombination()
    {
        QFETCH(bool, online);
        Buttoninterface page;
        FlashDataMap record{};
        const int mouse = OpenMouse(page, &record);
        QVERIFY(mouse >= 0);
        Child<QStackedWidget>(page, "stackedWidget_2")->setCurrentIndex(0);
        page.Options()->buttons().first()->setChecked(true);
        QMap<QString, QString> before;
        for (const ButtonTables::SelectorRow& row : ButtonTables::SelectorRows())
            before[row.selector] = Child<QToolButton>(page, row.selector)->text();
        if (!online)
            SimControl_SetAttached(mouse, 0);
        QSignalSpy offline(PostMsg::Instance(), &PostMsg::SigMouseOffLineo);

        page.AssignKeyCombination(7, QStringLiteral("Ctrl+A"));

        FlashDataMap expected = record;
        if (online) {
            expected.buttons[7] = ButtonFunction{FunctionKeyRecord, 0, 0};
            uint8_t* bytes = reinterpret_cast<uint8_t*>(&expected.keyRecords[7]);
            std::memset(bytes, 0, sizeof(ButtonKeyRecord));
            const uint8_t events[] = {4, 0, 0, 0, 0, 0, 0x01, 0, 10, 0, 0, 0, 0, 1, 0x04, 0, 10, 0, 0, 0,
                                      1, 1, 0x04, 0, 10, 0, 0, 0, 1, 0, 0x01, 0, 10, 0, 0, 0};
            std::memcpy(bytes, events, sizeof events);
        }
        QCOMPARE(devices->RecordDifferences(mouse, expected), QString());
        QCOMPARE(offline.count(), online ? 0 : 1);
        for (const ButtonTables::SelectorRow& row : ButtonTables::SelectorRows()) {
            const QString text = Child<QToolButton>(page, row.selector)->text();
            QCOMPARE(text, online && row.button == 7 ? QStringLiteral("Ctrl+A") : before[row.selector]);
        }
        QCOMPARE(page.FunctionAt(7).type, online ? 5 : 0);
        QCOMPARE(Child<QStackedWidget>(page, "stackedWidget")->currentIndex(), 1);
        QCOMPARE(Child<QStackedWidget>(page, "stackedWidget_2")->currentIndex(), 4);
        QVERIFY(!page.Options()->buttons().first()->isChecked());
        if (!online)
            SimControl_SetAttached(mouse, 1);
    }

    // A macro of the list goes to the selected button with its block, its own slot and repeat mode.
    void macroButtonAssignsTheMacro()
    {
        FillMacroFolder({"Keys.ini"});
        Buttoninterface page;
        FlashDataMap record{};
        const int mouse = OpenMouse(page, &record);
        QVERIFY(mouse >= 0);
        Child<QToolButton>(page, "StartPause")->setChecked(true);
        Child<QStackedWidget>(page, "stackedWidget")->setCurrentIndex(1);
        QTest::mouseClick(page.MacroListButtons().first(), Qt::LeftButton);
        const FlashDataMap held = devices->Record(mouse);
        QCOMPARE(QList<int>({held.buttons[4].type, held.buttons[4].p1, held.buttons[4].p2}), QList<int>({6, 4, 1}));
        bool ok = false;
        const ButtonMacroBlock block = Buttoninterface::MacroFileToRecord(QStringLiteral("Keys"), &ok);
        QVERIFY(ok);
        QVERIFY(std::memcmp(&held.macros[4], &block, sizeof block) == 0);
        QVERIFY(Child<QToolButton>(page, "StartPause")->text().endsWith(QStringLiteral("Keys")));
        QCOMPARE(Child<QStackedWidget>(page, "stackedWidget")->currentIndex(), 0);
    }

    // With KESTRO_BUTTON_SHOTS set to a folder, the page is drawn there in the three languages,
    // over the simulated mouse's record, with the menu closed and open.
    void shots_data()
    {
        ButtonPageSupport::LanguageRows();
    }
    void shots()
    {
        QFETCH(int, language);
        const QString folder = ButtonPageSupport::ShotFolder();
        if (folder.isEmpty())
            QSKIP("KESTRO_BUTTON_SHOTS names no folder");
        FillMacroFolder({"Copy.ini", "Paste.ini"});
        UiLanguage = language;
        QWidget ground;
        ButtonPageSupport::MakeGround(ground);
        auto* page = new Buttoninterface(&ground);
        FlashDataMap record{};
        QVERIFY(OpenMouse(*page, &record) >= 0);
        page->SlotAllLanguage(language);
        page->SlotMouseIndex(0);
        page->SlotUpDataConfigUI(3, 0, true);
        ground.resize(page->size());
        ground.show();
        ground.grab().save(folder + QString("/buttons-%1.png").arg(language));
        Child<QToolButton>(*page, "RightKey")->setChecked(true);
        Child<QStackedWidget>(*page, "stackedWidget")->setCurrentIndex(1);
        Child<QStackedWidget>(*page, "stackedWidget_2")->setCurrentIndex(0);
        ground.grab().save(folder + QString("/buttons-menu-%1.png").arg(language));
        Child<QStackedWidget>(*page, "stackedWidget_2")->setCurrentIndex(1);
        ground.grab().save(folder + QString("/buttons-macros-%1.png").arg(language));
    }
};

QTEST_MAIN(TestButtonPage)
#include "tst_buttonpage.moc"
