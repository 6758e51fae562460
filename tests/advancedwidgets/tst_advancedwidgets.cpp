#include "pages/advanced/CurvePlotWidget.h"
#include "pages/advanced/PieChartWidget.h"
#include "support/TestHome.h"

#include <QMouseEvent>
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
