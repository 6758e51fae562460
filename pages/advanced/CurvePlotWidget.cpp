#include "pages/advanced/CurvePlotWidget.h"
#include "platform/TraceLog.h"

#include <QLineF>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QRandomGenerator>

QString CurveAxisTextX;
QString CurveAxisTextY;

namespace {
// One fixed sequence for all plots, so each plot made after another gets other points.
QRandomGenerator& PointGenerator()
{
    static QRandomGenerator generator(1);
    return generator;
}
}

CurvePlotWidget::CurvePlotWidget(QWidget* parent) : QWidget(parent)
{
    setAttribute(Qt::WA_TranslucentBackground);
    xTicks = {0, 500, 1000, 2000, 3000, 4000, 5000, 6000, 7000};
    yTicks = {0, 5, 10, 20, 30, 40, 50, 60, 70};
    setAttribute(Qt::WA_MouseTracking);
    generateDefaultPoints();
}

CurvePlotWidget::~CurvePlotWidget() = default;

bool CurvePlotWidget::HasPlotArea() const
{
    return width() - 2 * margin > 0 && height() - 2 * margin > 0;
}

void CurvePlotWidget::generateDefaultPoints()
{
    points.clear();
    const double step = (xMaximum - xMinimum) / 7.0;
    for (int i = 0; i <= 7; ++i)
        points.append(QPointF(xMinimum + i * step, double(PointGenerator().bounded(50) + 10)));
}

QPointF CurvePlotWidget::dataToScreen(double x, double y) const
{
    const double plotWidth = width() - 2 * margin;
    const double plotHeight = height() - 2 * margin;
    return QPointF((x - xMinimum) * plotWidth / (xMaximum - xMinimum) + margin,
                   (height() - margin) - (y - yMinimum) * plotHeight / (yMaximum - yMinimum));
}

bool CurvePlotWidget::screenToData(const QPointF& position, QPointF& data) const
{
    if (!HasPlotArea())
        return false;
    const double plotWidth = width() - 2 * margin;
    const double plotHeight = height() - 2 * margin;
    data = QPointF((xMaximum - xMinimum) * (position.x() - margin) / plotWidth + xMinimum,
                   yMaximum - (yMaximum - yMinimum) * (position.y() - margin) / plotHeight);
    return true;
}

QPainterPath CurvePlotWidget::createSmoothPath() const
{
    QPainterPath path;
    const int n = points.size();
    if (n < 2)
        return path;
    QVector<QPointF> screen;
    screen.reserve(n);
    for (const QPointF& point : points)
        screen.append(dataToScreen(point.x(), point.y()));
    path.moveTo(screen[0]);
    for (int i = 0; i < n - 1; ++i) {
        const QPointF p1 = screen[i];
        const QPointF p2 = screen[i + 1];
        const QPointF p0 = i == 0 ? p1 : screen[i - 1];
        const QPointF p3 = i == n - 2 ? p2 : screen[i + 2];
        path.cubicTo(p1 + (p2 - p0) / 6.0, p2 - (p3 - p1) / 6.0, p2);
    }
    return path;
}

void CurvePlotWidget::paintEvent(QPaintEvent*)
{
    // Without a plot area the mapping folds the picture over itself: draw nothing.
    if (!HasPlotArea())
        return;
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    drawGrid(painter);
    drawAxes(painter);
    drawCurve(painter);
    drawPoints(painter);
    drawCoordinateTips(painter);
}

void CurvePlotWidget::drawGrid(QPainter& painter)
{
    painter.save();
    painter.setPen(QPen(QColor(255, 255, 255, 100), 1.0, Qt::DashLine));
    for (double v : xTicks)
        painter.drawLine(dataToScreen(v, yMaximum), dataToScreen(v, yMinimum));
    for (double v : yTicks)
        painter.drawLine(dataToScreen(xMinimum, v), dataToScreen(xMaximum, v));
    painter.restore();
}

void CurvePlotWidget::drawAxes(QPainter& painter)
{
    painter.save();
    const QPointF origin = dataToScreen(xMinimum, yMinimum);
    const QPointF xEnd = dataToScreen(xMaximum, yMinimum);
    const QPointF yEnd = dataToScreen(xMinimum, yMaximum);
    painter.setPen(QPen(Qt::white, 2.0, Qt::SolidLine));
    painter.drawLine(origin, xEnd);
    painter.drawLine(origin, yEnd);

    painter.setPen(QPen(Qt::white, 1.0, Qt::SolidLine));
    QFont font = painter.font();
    font.setPointSize(8);
    painter.setFont(font);
    for (double v : xTicks) {
        const QPointF p = dataToScreen(v, yMinimum);
        painter.drawLine(p, QPointF(p.x(), p.y() + 5));
        painter.drawText(int(p.x() - 15), int(p.y() + 20), QString::number(int(v)));
    }
    for (double v : yTicks) {
        const QPointF p = dataToScreen(xMinimum, v);
        painter.drawLine(p, QPointF(p.x() - 5, p.y()));
        painter.drawText(int(p.x() - 30), int(p.y() + 5), QString::number(int(v)));
    }
    painter.drawText(int(xEnd.x() * 0.5), int(xEnd.y() + 40), CurveAxisTextX);

    painter.save();
    painter.translate(int(yEnd.x()), int(yEnd.y() * 0.5));
    painter.rotate(270);
    painter.drawText(int(yEnd.x() - 240), int(yEnd.y() * 0.5 - 80), CurveAxisTextY);
    painter.restore();
    painter.restore();
}

void CurvePlotWidget::drawCurve(QPainter& painter)
{
    if (points.size() < 2)
        return;
    painter.save();
    const QPainterPath path = createSmoothPath();
    QPainterPath fill = path;
    fill.lineTo(dataToScreen(points.last().x(), points.last().y()));
    fill.lineTo(dataToScreen(points.last().x(), yMinimum));
    fill.lineTo(dataToScreen(points.first().x(), yMinimum));
    fill.closeSubpath();
    painter.fillPath(fill, QColor(255, 192, 203, 100));
    painter.setPen(QPen(Qt::white, 2.0, Qt::SolidLine));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(path);
    painter.restore();
}

void CurvePlotWidget::drawPoints(QPainter& painter)
{
    painter.save();
    painter.setBrush(QBrush(Qt::yellow, Qt::SolidPattern));
    for (int i = 0; i < points.size(); ++i) {
        const QPoint centre = dataToScreen(points[i].x(), points[i].y()).toPoint();
        painter.setPen(i == dragIndex ? QPen(Qt::red, 2.0) : QPen(Qt::black, 1.0));
        painter.drawEllipse(centre, 8, 8);
    }
    painter.restore();
}

void CurvePlotWidget::drawCoordinateTips(QPainter& painter)
{
    painter.save();
    if (dragIndex != -1)
        drawTip(painter, dragIndex, true);
    if (hoverIndex != -1)
        drawTip(painter, hoverIndex, false);
    painter.restore();
}

void CurvePlotWidget::drawTip(QPainter& painter, int index, bool dragged)
{
    if (index < 0 || index >= points.size())
        return;
    const QPointF data = points[index];
    const QPointF p = dataToScreen(data.x(), data.y());
    const QString text = QString(dragged ? QStringLiteral("X: %1, Y: %2") : QStringLiteral("X: %1\nY: %2"))
                             .arg(data.x(), 0, 'f', 1)
                             .arg(data.y(), 0, 'f', 1);
    const QRect box(int(p.x() - 60) - 20, int(p.y() - 80) - 20, 160, 90);
    painter.setPen(Qt::white);
    painter.setBrush(QColor(0, 0, 0, 180));
    QFont font = painter.font();
    font.setPointSize(10);
    painter.setFont(font);
    painter.drawRoundedRect(box, 3.0, 3.0, Qt::AbsoluteSize);
    painter.drawText(box, dragged ? Qt::AlignCenter : int(Qt::AlignLeft | Qt::AlignHCenter | Qt::AlignVCenter), text);
}

void CurvePlotWidget::mousePressEvent(QMouseEvent* event)
{
    QPointF data;
    if (editable && event->button() == Qt::LeftButton && screenToData(event->localPos(), data)) {
        for (int i = 0; i < points.size(); ++i) {
            const double d = QLineF(data, points[i]).length();
            qCDebug(kestroTrace) << "a1" << d;
            if (d < 50.0) {
                dragIndex = i;
                setCursor(Qt::ClosedHandCursor);
                update();
                return;
            }
        }
    }
    dragIndex = -1;
    setCursor(Qt::ArrowCursor);
    QWidget::mousePressEvent(event);
}

void CurvePlotWidget::mouseMoveEvent(QMouseEvent* event)
{
    QPointF data;
    const bool mapped = screenToData(event->localPos(), data);
    if (editable && dragIndex != -1) {
        // A move over a widget shrunk below its plot area keeps the point where it was.
        if (mapped) {
            const double x = qMax(qMin(data.x(), xMaximum), xMinimum);
            const double y = qMax(qMin(data.y(), yMaximum), yMinimum);
            points[dragIndex] = QPointF(x, y);
            update();
        }
        return;
    }
    if (mapped) {
        for (int i = 0; i < points.size(); ++i) {
            const double d = QLineF(data, points[i]).length();
            qCDebug(kestroTrace) << d;
            if (d < 60.0) {
                hoverIndex = i;
                update();
                return;
            }
            hoverIndex = -1;
            update();
        }
    } else if (hoverIndex != -1) {
        hoverIndex = -1;
        update();
    }
    setCursor(Qt::ArrowCursor);
    QWidget::mouseMoveEvent(event);
}

void CurvePlotWidget::mouseReleaseEvent(QMouseEvent* event)
{
    if (dragIndex != -1) {
        dragIndex = -1;
        setCursor(Qt::ArrowCursor);
        update();
    }
    QWidget::mouseReleaseEvent(event);
}

void CurvePlotWidget::resizeEvent(QResizeEvent*)
{
    update();
}
