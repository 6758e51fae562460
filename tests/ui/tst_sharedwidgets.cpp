#include "widgets/LessThree.h"
#include "platform/AppPaths.h"
#include "widgets/MyConmboBox.h"
#include "widgets/MySlider.h"
#include "widgets/MyToolButton.h"
#include "widgets/ScaleFontTree.h"
#include "widgets/ThemeColor.h"

#include <QFile>
#include <QLabel>
#include <QTemporaryDir>
#include <QtTest>

// The custom widgets, the font scaling and the theme colours, with a Config.ini of the test's own.
class TestSharedWidgets : public QObject
{
    Q_OBJECT
    QTemporaryDir programFolder;

private slots:
    void initTestCase()
    {
        QDir().mkpath(programFolder.path() + "/usersetting");
        QFile file(programFolder.path() + "/usersetting/Config.ini");
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("[Option]\nLabelColor=10,20\nButtonColor=1,2,3,4\nSliderColor=7\n");
        file.close();
        AppPaths::SetProgramFolder(programFolder.path());
    }

    void sliderJumpsToTheClick_data()
    {
        QTest::addColumn<int>("minimum");
        QTest::addColumn<int>("maximum");
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("x");
        QTest::addColumn<int>("expected");
        QTest::newRow("half of 0..100, truncated") << 0 << 100 << 200 << 101 << 50;
        QTest::newRow("centre of -30..30") << -30 << 30 << 200 << 100 << 0;
        QTest::newRow("left edge") << 0 << 100 << 200 << 0 << 0;
        QTest::newRow("right edge, one step short") << 0 << 100 << 200 << 199 << 99;
        QTest::newRow("negative position truncates toward zero") << -100 << 0 << 200 << 1 << -99;
        QTest::newRow("DPI slider") << 50 << 32000 << 561 << 280 << 15996;
    }
    void sliderJumpsToTheClick()
    {
        QFETCH(int, minimum);
        QFETCH(int, maximum);
        QFETCH(int, width);
        QFETCH(int, x);
        QFETCH(int, expected);
        MySlider slider;
        slider.setOrientation(Qt::Horizontal);
        slider.setRange(minimum, maximum);
        slider.setValue(maximum);
        slider.resize(width, 25);
        slider.show();
        QSignalSpy changes(&slider, &QSlider::valueChanged);
        QTest::mouseClick(&slider, Qt::LeftButton, {}, QPoint(x, 12));
        QCOMPARE(slider.value(), expected);
        QVERIFY(!changes.isEmpty());
        QCOMPARE(changes.last().at(0).toInt(), expected);
    }

    void comboBoxRemembersTheIndexAtThePress()
    {
        MyConmboBox box;
        box.addItems({"1", "2", "3"});
        QCOMPARE(box.PressedIndex(), 0);
        box.setCurrentIndex(2);
        box.resize(120, 24);
        box.show();
        QTest::mousePress(&box, Qt::LeftButton, {}, QPoint(30, 12));
        box.hidePopup();
        QCOMPARE(box.PressedIndex(), 2);
        box.setCurrentIndex(0);
        QCOMPARE(box.PressedIndex(), 2);
    }

    void comboBoxDrawsItsEntryCentred()
    {
        // The text is drawn in red; its ink must sit around the middle of the edit field,
        // where a plain combo box puts it at the left. The arrow beside the field is not counted.
        MyConmboBox box;
        QPalette palette = box.palette();
        for (QPalette::ColorRole role : {QPalette::Text, QPalette::ButtonText, QPalette::WindowText})
            palette.setColor(role, Qt::red);
        box.setPalette(palette);
        box.addItem("WWW");
        box.resize(240, 30);
        QStyleOptionComboBox option;
        option.initFrom(&box);
        option.editable = false;
        const QRect field = box.style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, &box);
        const QImage image = box.grab().toImage();
        int left = image.width(), right = -1;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = field.left(); x <= field.right(); ++x) {
                const QColor c = image.pixelColor(x, y);
                if (c.red() > 150 && c.green() < 100 && c.blue() < 100) {
                    left = qMin(left, x);
                    right = qMax(right, x);
                }
            }
        }
        QVERIFY2(right >= left, "no text drawn");
        const int inkCentre = (left + right) / 2;
        QVERIFY2(qAbs(inkCentre - field.center().x()) <= 4,
                 qPrintable(QString("ink %1..%2, field centre %3").arg(left).arg(right).arg(field.center().x())));
    }

    void fontsScaleOnceEach()
    {
        QWidget parent;
        QFont big = parent.font();
        big.setPointSizeF(12);
        parent.setFont(big);
        QLabel* inherits = new QLabel("inherits", &parent);
        QWidget* holder = new QWidget(&parent);
        QLabel* own = new QLabel("own", holder);
        QFont ownFont = own->font();
        ownFont.setPointSizeF(20);
        own->setFont(ownFont);
        ScaleFontTree(&parent, 0.5);
        QCOMPARE(parent.font().pointSizeF(), 6.0);
        QCOMPARE(inherits->font().pointSizeF(), 6.0);
        QCOMPARE(holder->font().pointSizeF(), 6.0);
        QCOMPARE(own->font().pointSizeF(), 10.0);
        ScaleFontTree(nullptr, 2.0);
    }

    void themeColourJoinsTheEntriesThatExist_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("expected");
        QTest::newRow("two entries") << "LabelColor" << "10,20";
        QTest::newRow("four entries, first three") << "ButtonColor" << "1,2,3";
        QTest::newRow("one entry") << "SliderColor" << "7";
        QTest::newRow("missing key: the shipped theme's") << "ComboxTextColor" << "220,224,230";
        QTest::newRow("unknown key") << "NoSuchColor" << "";
    }
    void themeColourJoinsTheEntriesThatExist()
    {
        QFETCH(QString, key);
        QFETCH(QString, expected);
        QCOMPARE(ThemeColor(key), expected);
    }

    void noticeWithShortColoursAndNoPictures()
    {
        // This program folder has neither pictures nor language files: the notice still builds.
        LessThree notice;
        QLabel* label = notice.findChild<QLabel*>("label");
        QVERIFY(label);
        QCOMPARE(label->styleSheet(), QString("QLabel{color: rgb(10,20;);}"));
        QCOMPARE(label->text(), QString());
        notice.show();
        QVERIFY(!notice.grab().isNull());
    }

    // The entries that open a dialog answer on the press: a left press checks and emits
    // clicked(false), a double click clicked(true); another button does nothing at all.
    void toolButtonAnswersTheLeftPress_data()
    {
        QTest::addColumn<bool>("doubleClick");
        QTest::addColumn<int>("button");
        QTest::addColumn<bool>("checked");
        QTest::addColumn<QList<bool>>("clicks");
        QTest::newRow("left press") << false << int(Qt::LeftButton) << true << QList<bool>{false};
        QTest::newRow("right press") << false << int(Qt::RightButton) << false << QList<bool>{};
        QTest::newRow("middle press") << false << int(Qt::MiddleButton) << false << QList<bool>{};
        QTest::newRow("left double click") << true << int(Qt::LeftButton) << true << QList<bool>{false, true};
        QTest::newRow("right double click") << true << int(Qt::RightButton) << false << QList<bool>{};
    }
    void toolButtonAnswersTheLeftPress()
    {
        QFETCH(bool, doubleClick);
        QFETCH(int, button);
        QFETCH(bool, checked);
        QFETCH(QList<bool>, clicks);
        MyToolButton entry;
        entry.setCheckable(true);
        entry.resize(164, 22);
        QList<bool> seen;
        connect(&entry, &QToolButton::clicked, this, [&](bool value) { seen << value; });
        const Qt::MouseButton pressed = Qt::MouseButton(button);
        if (doubleClick) {
            // A double click arrives as press, release, double click, release.
            QTest::mousePress(&entry, pressed);
            QTest::mouseRelease(&entry, pressed);
            QTest::mouseDClick(&entry, pressed);
        } else {
            QTest::mousePress(&entry, pressed);
            QTest::mouseRelease(&entry, pressed);
        }
        QCOMPARE(entry.isChecked(), checked);
        QCOMPARE(seen, clicks);
    }
};

QTEST_MAIN(TestSharedWidgets)
#include "tst_sharedwidgets.moc"
