#include "pages/advanced/PieChartWidget.h"

#include <QLineF>
#include <QMouseEvent>
#include <QPainter>
#include <QRadialGradient>
#include <QtMath>

PieChartWidget::PieChartWidget(QWidget* parent) : QWidget(parent)
{
    setMinimumSize(300, 300);
}

void PieChartWidget::resizeEvent(QResizeEvent*)
{
    centre = QPointF(rect().center());
    radius = qMax(qMin(width(), height()) / 4.0, 20.0);
}

void PieChartWidget::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF square(centre.x() - radius, centre.y() - radius, 2 * radius, 2 * radius);
    QRadialGradient gradient(centre, radius);
    gradient.setColorAt(0.0, QColor(50, 150, 255, 255));
    gradient.setColorAt(1.0, QColor(0, 80, 200, 255));
    painter.setBrush(gradient);
    painter.setPen(QPen(Qt::black, 2.0, Qt::SolidLine));
    painter.drawPie(square, startAngle * 16, spanAngle * 16);

    painter.setBrush(QBrush(Qt::red, Qt::SolidPattern));
    painter.setPen(Qt::NoPen);
    painter.drawEllipse(centre, 5.0, 5.0);

    painter.setPen(QPen(Qt::darkGray, 1.0, Qt::DashLine));
    for (int angle : {startAngle, startAngle + spanAngle}) {
        const double a = angle * M_PI / 180.0;
        painter.drawLine(centre, QPointF(centre.x() + radius * qCos(a), centre.y() + radius * qSin(a)));
    }
}

void PieChartWidget::mousePressEvent(QMouseEvent* event)
{
    if (qAbs(QLineF(centre, event->localPos()).length() - radius) < 5.0) {
        dragging = true;
        setCursor(Qt::SizeAllCursor);
    }
}

void PieChartWidget::mouseMoveEvent(QMouseEvent* event)
{
    if (!dragging)
        return;
    const double d = QLineF(centre, event->localPos()).length();
    const int limit = qMin(width(), height()) / 2 - 5;
    const double r = qMax(qMin(d, double(limit)), 20.0);
    if (!qFuzzyCompare(r, radius)) {
        radius = r;
        update();
    }
}

void PieChartWidget::mouseReleaseEvent(QMouseEvent*)
{
    dragging = false;
    setCursor(Qt::ArrowCursor);
}
