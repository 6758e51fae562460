#include "pages/advanced/CurvePlotWidget.h"
#include "pages/advanced/PieChartWidget.h"
#include "pages/advanced/RotatableWidget.h"
#include "support/TestHome.h"

#include <QImage>
#include <QMouseEvent>
#include <QTemporaryDir>
#include <QtTest>

namespace {
void Send(QWidget& widget, QEvent::Type type, QPointF position, Qt::MouseButton button = Qt::LeftButton)
{
    const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::MouseButtons(button);
    QMouseEvent event(type, position, position, type == QEvent::MouseMove ? Qt::NoButton : button, held, Qt::NoModifier);
    QCoreApplication::sendEvent(&widget, &event);
}

// Widget position of a data point of a plot with the 80-pixel margin and the 7000 x 70 range.
QPointF PlotPosition(const QSize& size, QPointF data)
{
    return QPointF(data.x() * (size.width() - 160) / 7000.0 + 80, (size.height() - 80) - data.y() * (size.height() - 160) / 70.0);
}

// Whether the widget kept the event (true) or handed it on to QWidget, which ignores it.
bool Accepted(QWidget& widget, QEvent::Type type, QPointF position, Qt::MouseButton button = Qt::LeftButton)
{
    const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::MouseButtons(button);
    QMouseEvent event(type, position, position, type == QEvent::MouseMove ? Qt::NoButton : button, held, Qt::NoModifier);
    QCoreApplication::sendEvent(&widget, &event);
    return event.isAccepted();
}

class PaintCounter : public QObject
{
public:
    int paints = 0;
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            ++paints;
        return false;
    }
};

void SaveGrab(QWidget& widget, const QString& name)
{
    QVERIFY(widget.grab().save(QStringLiteral("/tmp/advancedwidgets-") + name + QStringLiteral(".png")));
}
}

// The advanced page's painted widgets and panels, each on its own.
class TestAdvancedWidgets : public QObject
{
    Q_OBJECT
    TestHome home;

private slots:
    void initTestCase() { home.MakeUserFolders(); }

    void curveDragStaysOnTheAxes_data()
    {
        QTest::addColumn<int>("point");
        QTest::addColumn<QPointF>("target"); // widget position the point is dragged to
        QTest::addColumn<QPointF>("expected");
        QTest::newRow("far above and left") << 0 << QPointF(-300, -300) << QPointF(0, 70);
        QTest::newRow("far below and right") << 3 << QPointF(2000, 2000) << QPointF(7000, 0);
        QTest::newRow("past the last point") << 6 << QPointF(720, 301) << QPointF(7000, 0);
        QTest::newRow("inside the range") << 2 << PlotPosition({721, 381}, {2500, 35}) << QPointF(2500, 35);
    }
    void curveDragStaysOnTheAxes()
    {
        QFETCH(int, point);
        QFETCH(QPointF, target);
        QFETCH(QPointF, expected);
        CurvePlotWidget plot;
        plot.resize(721, 381);
        plot.editable = 1;
        const QVector<QPointF> before = plot.Points();
        QCOMPARE(before.size(), 8);
        for (int i = 0; i < before.size(); ++i) {
            QCOMPARE(before[i].x(), 1000.0 * i);
            QVERIFY(before[i].y() >= 10 && before[i].y() <= 59);
        }

        Send(plot, QEvent::MouseButtonPress, PlotPosition(plot.size(), before[point]));
        QCOMPARE(plot.DragIndex(), point);
        Send(plot, QEvent::MouseMove, target);
        const QPointF moved = plot.Points().at(point);
        QVERIFY2(qAbs(moved.x() - expected.x()) < 1e-6 && qAbs(moved.y() - expected.y()) < 1e-6,
                 qPrintable(QString("%1,%2").arg(moved.x()).arg(moved.y())));
        // Only the dragged point moves, and it keeps its place in the order.
        for (int i = 0; i < before.size(); ++i) {
            if (i != point)
                QCOMPARE(plot.Points().at(i), before[i]);
        }
        SaveGrab(plot, QStringLiteral("curve-drag"));
        Send(plot, QEvent::MouseButtonRelease, target);
        QCOMPARE(plot.DragIndex(), -1);
        QCOMPARE(plot.Points().at(point), moved);
    }

    void curveWithoutEditingOnlyReadsOut()
    {
        CurvePlotWidget plot;
        plot.resize(721, 381);
        const QVector<QPointF> before = plot.Points();
        const QPointF onPoint = PlotPosition(plot.size(), before[4]);
        Send(plot, QEvent::MouseButtonPress, onPoint);
        QCOMPARE(plot.DragIndex(), -1);
        Send(plot, QEvent::MouseMove, QPointF(200, 10));
        QCOMPARE(plot.Points(), before);
        Send(plot, QEvent::MouseMove, onPoint);
        QCOMPARE(plot.HoverIndex(), 4);
        // Distances are in data units: a few pixels aside in x is already out of reach.
        Send(plot, QEvent::MouseMove, onPoint + QPointF(8, 0));
        QCOMPARE(plot.HoverIndex(), -1);

        // A right press on a point of an editable plot starts no drag either.
        plot.editable = 1;
        Send(plot, QEvent::MouseButtonPress, onPoint, Qt::RightButton);
        QCOMPARE(plot.DragIndex(), -1);
        Send(plot, QEvent::MouseMove, onPoint);
        // The plot paints no background of its own: look at it on the page's dark one.
        CurveAxisTextX = QStringLiteral("Speed");
        CurveAxisTextY = QStringLiteral("Gain");
        QPixmap picture(plot.size());
        picture.fill(QColor(0x1E, 0x22, 0x28));
        plot.render(&picture, QPoint(), QRegion(), QWidget::DrawChildren);
        QVERIFY(picture.save(QStringLiteral("/tmp/advancedwidgets-curve-hover.png")));
        CurveAxisTextX.clear();
        CurveAxisTextY.clear();
    }

    // At 160 pixels or less across either way there is no plot area: the mouse changes nothing,
    // nothing is drawn, and a plot that shrinks during a drag keeps the point where it was.
    void curveNarrowSizes_data()
    {
        QTest::addColumn<QSize>("size");
        QTest::addColumn<bool>("usable");
        QTest::newRow("160 wide") << QSize(160, 381) << false;
        QTest::newRow("100 wide") << QSize(100, 381) << false;
        QTest::newRow("zero wide") << QSize(0, 381) << false;
        QTest::newRow("160 high") << QSize(721, 160) << false;
        QTest::newRow("161 by 161") << QSize(161, 161) << true;
    }
    void curveNarrowSizes()
    {
        QFETCH(QSize, size);
        QFETCH(bool, usable);
        CurvePlotWidget plot;
        plot.editable = 1;
        plot.resize(721, 381);
        const QVector<QPointF> before = plot.Points();
        Send(plot, QEvent::MouseButtonPress, PlotPosition(plot.size(), before[1]));
        QCOMPARE(plot.DragIndex(), 1);
        plot.resize(size);
        QCOMPARE(plot.HasPlotArea(), usable);
        Send(plot, QEvent::MouseMove, QPointF(40, 40));
        if (!usable)
            QCOMPARE(plot.Points(), before);
        for (const QPointF& point : plot.Points()) {
            QVERIFY(qIsFinite(point.x()) && qIsFinite(point.y()));
            QVERIFY(point.x() >= 0 && point.x() <= 7000 && point.y() >= 0 && point.y() <= 70);
        }
        Send(plot, QEvent::MouseButtonRelease, QPointF(40, 40));

        Send(plot, QEvent::MouseButtonPress, QPointF(80, 80));
        if (!usable)
            QCOMPARE(plot.DragIndex(), -1);
        Send(plot, QEvent::MouseMove, QPointF(80, 80));
        if (!usable)
            QCOMPARE(plot.HoverIndex(), -1);
        if (size.width() > 0)
            QVERIFY(!plot.grab().isNull());
    }

    // A press or move the plot acts on stays with it; everything else reaches QWidget. The pie
    // keeps every mouse event.
    void mouseEventsHandedOn_data()
    {
        QTest::addColumn<bool>("pie");
        QTest::addColumn<int>("editable");
        QTest::addColumn<int>("type");
        QTest::addColumn<bool>("onPoint"); // on point 2 of the plot, on the pie's rim
        QTest::addColumn<int>("button"); // Qt::MouseButton
        QTest::addColumn<bool>("kept");
        const int press = QEvent::MouseButtonPress, move = QEvent::MouseMove, release = QEvent::MouseButtonRelease;
        QTest::newRow("plot: press on a point, not editable") << false << 0 << press << true << int(Qt::LeftButton) << false;
        QTest::newRow("plot: press on a point, editable") << false << 1 << press << true << int(Qt::LeftButton) << true;
        QTest::newRow("plot: right press on a point") << false << 1 << press << true << int(Qt::RightButton) << false;
        QTest::newRow("plot: press away from the points") << false << 1 << press << false << int(Qt::LeftButton) << false;
        QTest::newRow("plot: hover on a point") << false << 0 << move << true << int(Qt::NoButton) << true;
        QTest::newRow("plot: hover away from the points") << false << 0 << move << false << int(Qt::NoButton) << false;
        QTest::newRow("plot: release") << false << 1 << release << true << int(Qt::LeftButton) << false;
        QTest::newRow("pie: press on the rim") << true << 0 << press << true << int(Qt::LeftButton) << true;
        QTest::newRow("pie: press inside") << true << 0 << press << false << int(Qt::RightButton) << true;
        QTest::newRow("pie: move") << true << 0 << move << false << int(Qt::NoButton) << true;
        QTest::newRow("pie: release") << true << 0 << release << false << int(Qt::LeftButton) << true;
    }
    void mouseEventsHandedOn()
    {
        QFETCH(bool, pie);
        QFETCH(int, editable);
        QFETCH(int, type);
        QFETCH(bool, onPoint);
        QFETCH(int, button);
        QFETCH(bool, kept);
        if (pie) {
            PieChartWidget widget;
            widget.resize(300, 300);
            QCOMPARE(Accepted(widget, QEvent::Type(type), onPoint ? QPointF(149, 74) : QPointF(149, 149), Qt::MouseButton(button)), kept);
            return;
        }
        CurvePlotWidget plot;
        plot.resize(721, 381);
        plot.editable = editable;
        const QPointF point = PlotPosition(plot.size(), plot.Points().at(2));
        QCOMPARE(Accepted(plot, QEvent::Type(type), onPoint ? point : QPointF(700, 20), Qt::MouseButton(button)), kept);
    }

    // Points are searched in index order: of two points within reach the lower index wins, also
    // when the higher one lies closer.
    void curveLowerIndexWins()
    {
        CurvePlotWidget plot;
        plot.resize(721, 381);
        plot.editable = 1;
        const QPointF first = plot.Points().at(0);
        // Point 1 goes 20 units right of point 0, within reach of both searches.
        const QPointF target = PlotPosition(plot.size(), first + QPointF(20, 0));
        Send(plot, QEvent::MouseButtonPress, PlotPosition(plot.size(), plot.Points().at(1)));
        QCOMPARE(plot.DragIndex(), 1);
        Send(plot, QEvent::MouseMove, target);
        Send(plot, QEvent::MouseButtonRelease, target);
        QVERIFY(qAbs(plot.Points().at(1).x() - first.x() - 20) < 1e-6);
        QVERIFY(qAbs(plot.Points().at(1).y() - first.y()) < 1e-6);

        Send(plot, QEvent::MouseMove, target);
        QCOMPARE(plot.HoverIndex(), 0);
        Send(plot, QEvent::MouseButtonPress, target);
        QCOMPARE(plot.DragIndex(), 0);
        Send(plot, QEvent::MouseButtonRelease, target);
        // Beyond point 0's reach (60 units) but still near point 1: point 1 is hovered.
        Send(plot, QEvent::MouseMove, PlotPosition(plot.size(), first + QPointF(70, 0)));
        QCOMPARE(plot.HoverIndex(), 1);
    }

    // A move during a rim drag repaints only when the radius changes.
    void pieRepaintsOnlyOnChange_data()
    {
        QTest::addColumn<QPointF>("pointer"); // second move, after one to radius 100
        QTest::addColumn<double>("radius");
        QTest::addColumn<int>("paints");
        const QPointF c(149, 149);
        QTest::newRow("same radius elsewhere on the circle") << c + QPointF(60, 80) << 100.0 << 0;
        QTest::newRow("one pixel out") << c + QPointF(0, -101) << 101.0 << 1;
        QTest::newRow("below the smallest radius") << c + QPointF(3, 4) << 20.0 << 1;
    }
    void pieRepaintsOnlyOnChange()
    {
        QFETCH(QPointF, pointer);
        QFETCH(double, radius);
        QFETCH(int, paints);
        PieChartWidget pie;
        pie.resize(300, 300);
        pie.show();
        QVERIFY(QTest::qWaitForWindowExposed(&pie));
        QCoreApplication::processEvents();
        PaintCounter counter;
        pie.installEventFilter(&counter);
        Send(pie, QEvent::MouseButtonPress, QPointF(149, 149 - 75));
        QVERIFY(pie.IsDragging());
        Send(pie, QEvent::MouseMove, QPointF(149, 149 - 100));
        QCoreApplication::processEvents();
        QCOMPARE(pie.Radius(), 100.0);
        QCOMPARE(counter.paints, 1);
        counter.paints = 0;
        Send(pie, QEvent::MouseMove, pointer);
        QCoreApplication::processEvents();
        QCOMPARE(pie.Radius(), radius);
        QCOMPARE(counter.paints, paints);
    }

    // The picture is stretched over the widget and turned clockwise about its centre; children are
    // drawn turned along, also when there is no picture to draw.
    void rotatablePainting_data()
    {
        QTest::addColumn<QString>("picture"); // "" none, "missing", "halves": left red, right blue
        QTest::addColumn<int>("angle");
        // The quarters top left, top right, bottom left, bottom right, then the far corner where
        // the child of the top-left corner lands at 180 degrees.
        QTest::addColumn<QVector<QColor>>("colours");
        const QColor none(0, 0, 0, 0), red(Qt::red), blue(Qt::blue), green(Qt::green);
        QTest::newRow("halves at 0") << "halves" << 0 << QVector<QColor>{red, blue, red, blue, blue};
        QTest::newRow("halves at 180") << "halves" << 180 << QVector<QColor>{blue, red, blue, red, green};
        QTest::newRow("halves at 90") << "halves" << 90 << QVector<QColor>{red, red, blue, blue, blue};
        QTest::newRow("halves at -90") << "halves" << -90 << QVector<QColor>{blue, blue, red, red, red};
        QTest::newRow("no picture at 180") << "" << 180 << QVector<QColor>{none, none, none, none, green};
        QTest::newRow("missing picture at 180") << "missing" << 180 << QVector<QColor>{none, none, none, none, green};
        QTest::newRow("missing picture at 0") << "missing" << 0 << QVector<QColor>{none, none, none, none, none};
    }
    void rotatablePainting()
    {
        QFETCH(QString, picture);
        QFETCH(int, angle);
        QFETCH(QVector<QColor>, colours);
        QTemporaryDir folder;
        QString path;
        if (picture == QLatin1String("halves")) {
            // 20 x 10, stretched to 60 x 60: the halves stay halves.
            QImage image(20, 10, QImage::Format_ARGB32);
            image.fill(Qt::red);
            for (int y = 0; y < 10; ++y)
                for (int x = 10; x < 20; ++x)
                    image.setPixelColor(x, y, Qt::blue);
            path = folder.filePath(QStringLiteral("halves.png"));
            QVERIFY(image.save(path));
        } else if (picture == QLatin1String("missing")) {
            path = folder.filePath(QStringLiteral("missing.png"));
        }
        RotatableWidget widget;
        widget.resize(60, 60);
        auto* child = new QWidget(&widget);
        child->setGeometry(0, 0, 6, 6);
        child->setAutoFillBackground(true);
        QPalette palette = child->palette();
        palette.setColor(QPalette::Window, Qt::green);
        child->setPalette(palette);
        widget.SetImagePath(path);
        widget.SetAngle(angle);
        // Only children that are visible are drawn turned: the widget must be shown.
        widget.show();
        QVERIFY(QTest::qWaitForWindowExposed(&widget));
        const QImage shown = widget.grab().toImage();
        const QVector<QPoint> places{{10, 10}, {50, 10}, {10, 50}, {50, 50}, {57, 57}};
        for (int i = 0; i < places.size(); ++i) {
            const QColor colour = shown.pixelColor(places[i]);
            QVERIFY2(colour == colours[i], qPrintable(QString("at %1,%2: %3").arg(places[i].x()).arg(places[i].y()).arg(colour.name(QColor::HexArgb))));
        }
    }

    // A press must land strictly within 5 pixels of the rim, anywhere round the circle; the drag
    // then keeps the radius between 20 and half the smaller side less 5.
    void pieRimDrag_data()
    {
        QTest::addColumn<QPointF>("press");
        QTest::addColumn<bool>("drags");
        QTest::addColumn<QPointF>("pointer");
        QTest::addColumn<double>("radius"); // after the move
        const QPointF c(149, 149);
        QTest::newRow("rim inside the slice") << c + QPointF(0, -75) << true << QPointF(149, 49) << 100.0;
        QTest::newRow("rim outside the slice") << c + QPointF(0, 75) << true << QPointF(149, 249) << 100.0;
        QTest::newRow("4.9 outside") << c + QPointF(79.9, 0) << true << c + QPointF(30, 40) << 50.0;
        QTest::newRow("5 outside") << c + QPointF(80, 0) << false << QPointF(149, 49) << 75.0;
        QTest::newRow("5 inside") << c + QPointF(70, 0) << false << QPointF(149, 49) << 75.0;
        QTest::newRow("beyond the widget") << c + QPointF(75, 0) << true << QPointF(2000, -900) << 145.0;
        QTest::newRow("onto the centre") << c + QPointF(-75, 0) << true << c << 20.0;
        QTest::newRow("near the centre") << c + QPointF(-75, 0) << true << c + QPointF(3, 4) << 20.0;
    }
    void pieRimDrag()
    {
        QFETCH(QPointF, press);
        QFETCH(bool, drags);
        QFETCH(QPointF, pointer);
        QFETCH(double, radius);
        PieChartWidget pie;
        pie.resize(300, 300);
        pie.show();
        QCOMPARE(pie.Centre(), QPointF(149, 149));
        QCOMPARE(pie.Radius(), 75.0);
        Send(pie, QEvent::MouseButtonPress, press);
        QCOMPARE(pie.IsDragging(), drags);
        Send(pie, QEvent::MouseMove, pointer);
        QCOMPARE(pie.Radius(), radius);
        SaveGrab(pie, QStringLiteral("pie"));
        Send(pie, QEvent::MouseButtonRelease, pointer);
        QVERIFY(!pie.IsDragging());
        Send(pie, QEvent::MouseMove, QPointF(149, 0));
        QCOMPARE(pie.Radius(), radius);
    }

    // A resize lays the circle out anew, also in the middle of a drag; the limit follows the new size.
    void pieResizeDuringDrag()
    {
        PieChartWidget pie;
        pie.resize(300, 300);
        pie.show();
        Send(pie, QEvent::MouseButtonPress, QPointF(149 + 75, 149));
        QVERIFY(pie.IsDragging());
        pie.resize(500, 400);
        QCOMPARE(pie.Centre(), QPointF(249, 199));
        QCOMPARE(pie.Radius(), 100.0);
        Send(pie, QEvent::MouseMove, QPointF(249, -500));
        QCOMPARE(pie.Radius(), 195.0);
        pie.resize(100, 100); // held at the minimum size
        QCOMPARE(pie.size(), QSize(300, 300));
    }
};

QTEST_MAIN(TestAdvancedWidgets)
#include "tst_advancedwidgets.moc"
