#include "pages/lighting/ColourGroup.h"
#include "platform/ScreenInfo.h"
#include "LightEditorWindow.h"
#include "support/TestHome.h"

#include <QApplication>
#include <QImage>
#include <QMouseEvent>
#include <QScreen>
#include <QtTest>

namespace {

// The screen a grab was asked of, the area asked for in the program's coordinates, and where that
// area starts in the screen's own pixels.
struct Asked
{
    qreal ratio = 0;
    QRect area;
    QPoint pixel;
};
QList<Asked> asked;

QImage RecordingGrab(QScreen* screen, const QRect& area)
{
    const qreal ratio = screen->devicePixelRatio();
    const QPoint origin = screen->geometry().topLeft();
    asked << Asked{ratio, area, origin + ((area.topLeft() - origin) * ratio)};
    QImage image(area.size() * ratio, QImage::Format_RGB32);
    image.fill(QColor(200, 100, 50));
    return image;
}

} // namespace

// The colour board's pick under the scale factor 1.5 (as the program sets it on a desktop 2880
// pixels wide): the pointer's position is the position asked of the screen, which Qt maps to the
// screen's pixels once, so a pointer at (100, 50) reads the pixel (150, 75).
class TestColourPickScale : public QObject
{
    Q_OBJECT
    TestHome home;

private slots:
    void init() { asked.clear(); }
    void cleanup() { ScreenInfo::SetAreaGrab({}); }

    void theScreenIsScaled()
    {
        QCOMPARE(QGuiApplication::primaryScreen()->devicePixelRatio(), 1.5);
        QCOMPARE(ColourPickScale(), 1.0);
    }

    void pointerReadsTheScreensPixel_data()
    {
        QTest::addColumn<int>("editor");
        for (int editor : {MouseEditor, ReceiverEditor, DialogEditor})
            QTest::newRow(LightEditorName(editor)) << editor;
    }
    void pointerReadsTheScreensPixel()
    {
        QFETCH(int, editor);
        UserWritesEnabled = false;
        ScreenInfo::SetAreaGrab(RecordingGrab);
        LightEditorWindow window(editor);
        window.Window().show();
        window.ShowColour(1, 2, 3);

        QMouseEvent press(QEvent::MouseButtonPress, QPoint(5, 5), QPoint(100, 50), Qt::LeftButton, Qt::LeftButton,
                          Qt::NoModifier);
        QApplication::sendEvent(window.Board(), &press);

        QCOMPARE(asked.size(), 1);
        QCOMPARE(asked.first().ratio, 1.5);
        QCOMPARE(asked.first().area, QRect(100, 50, 2, 2));
        QCOMPARE(asked.first().pixel, QPoint(150, 75));
        QCOMPARE(window.ShownColour(), QStringLiteral("200,100,50"));
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
