#include "pages/lighting/ColourGroup.h"
#include "platform/ScreenInfo.h"
#include "LightEditorWindow.h"
#include "support/TestHome.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QtTest>

namespace {

// A picture of known colours in a window of its own over the whole screen: two squares of their
// own colours on a grey ground. The pointer stands on one of the squares; a pick at a position
// scaled a second time (150 % of 150 %) falls on the ground.
struct Square
{
    QRect area; // in the program's coordinates
    QColor colour;
};
const Square squares[2] = {{QRect(80, 30, 40, 40), QColor(200, 100, 50)}, {QRect(10, 120, 40, 40), QColor(30, 160, 220)}};
const QColor ground(90, 90, 90);

class KnownPicture : public QWidget
{
public:
    KnownPicture()
    {
        setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
        setGeometry(QGuiApplication::primaryScreen()->geometry());
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        painter.fillRect(rect(), ground);
        for (const Square& square : squares)
            painter.fillRect(square.area, square.colour);
    }
};

QString Components(const QColor& colour)
{
    return QStringLiteral("%1,%2,%3").arg(colour.red()).arg(colour.green()).arg(colour.blue());
}

} // namespace

// The colour board's pick under the scale factor 1.5 (as the program sets it on a desktop 2880
// pixels wide), with the screen's own grab: the pointer's position is the position asked of the
// screen, which Qt maps to the screen's pixels once, so the pick gives the colour the screen shows
// under the pointer.
class TestColourPickScale : public QObject
{
    Q_OBJECT
    TestHome home;

private slots:
    void theScreenIsScaled()
    {
        QCOMPARE(QGuiApplication::primaryScreen()->devicePixelRatio(), 1.5);
        QCOMPARE(ColourPickScale(), 1.0);
    }

    void pointerReadsTheScreensPixel_data()
    {
        QTest::addColumn<int>("editor");
        QTest::addColumn<QPoint>("pointer");
        QTest::addColumn<QString>("colour");
        for (int editor : {MouseEditor, ReceiverEditor, DialogEditor}) {
            QTest::addRow("%s, first square", LightEditorName(editor))
                << editor << QPoint(100, 50) << Components(squares[0].colour);
            QTest::addRow("%s, second square", LightEditorName(editor))
                << editor << QPoint(30, 140) << Components(squares[1].colour);
        }
    }
    void pointerReadsTheScreensPixel()
    {
        QFETCH(int, editor);
        QFETCH(QPoint, pointer);
        QFETCH(QString, colour);
        UserWritesEnabled = false;
        KnownPicture picture;
        picture.show();
        QVERIFY(QTest::qWaitForWindowExposed(&picture));
        // The picture as the screen shows it: the pick reads the screen, not the widget.
        QColor underPointer;
        QVERIFY(ScreenInfo::PixelAt(pointer, &underPointer));
        QCOMPARE(Components(underPointer), colour);
        LightEditorWindow window(editor);
        // Off the screen, so that the screen shows the picture under the pointer.
        window.Window().move(QGuiApplication::primaryScreen()->geometry().bottomRight() + QPoint(100, 100));
        window.Window().show();
        window.ShowColour(1, 2, 3);

        QMouseEvent press(QEvent::MouseButtonPress, QPoint(5, 5), pointer, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(window.Board(), &press);

        QCOMPARE(window.ShownColour(), colour);
    }
};

int main(int argc, char* argv[])
{
    // Before the application exists, as the program's start-up sets it.
    qputenv("QT_SCALE_FACTOR", "1.5");
    QApplication application(argc, argv);
    TestColourPickScale test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "tst_colourpickscale.moc"
