#include "pages/advanced/RotatableWidget.h"

#include <QPainter>
#include <QPixmap>
#include <QtMath>

RotatableWidget::RotatableWidget(QWidget* parent) : QWidget(parent)
{
    setAttribute(Qt::WA_TranslucentBackground);
}

void RotatableWidget::SetAngle(int degrees)
{
    angle = degrees % 360;
    if (angle < 0)
        angle += 360;
    updateGeometry();
    repaint();
}

void RotatableWidget::SetImagePath(const QString& path)
{
    imagePath = path;
    update();
}

QSize RotatableWidget::sizeHint() const
{
    const QSize base = QWidget::sizeHint();
    if (angle % 180 == 0)
        return base;
    if (angle % 90 == 0)
        return QSize(base.height(), base.width());
    const double radians = angle * M_PI / 180.0;
    const double c = qAbs(qCos(radians));
    const double s = qAbs(qSin(radians));
    return QSize(qRound(base.width() * c + base.height() * s), qRound(base.width() * s + base.height() * c));
}

QSize RotatableWidget::minimumSizeHint() const
{
    return sizeHint();
}

void RotatableWidget::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHints(QPainter::Antialiasing | QPainter::SmoothPixmapTransform);
    const int cx = width() / 2;
    const int cy = height() / 2;
    painter.translate(cx, cy);
    painter.rotate(angle);
    painter.translate(-cx, -cy);
    if (!imagePath.isEmpty()) {
        const QPixmap picture(imagePath);
        if (!picture.isNull())
            // Stretched over the whole widget; the render hint keeps the scaling smooth.
            painter.drawPixmap(rect(), picture);
    }
    // The children are drawn turned with the picture.
    for (QWidget* child : findChildren<QWidget*>()) {
        if (!child->isVisible())
            continue;
        painter.save();
        painter.translate(child->mapTo(this, QPoint(0, 0)));
        child->render(&painter, QPoint(0, 0), QRegion(), QWidget::DrawWindowBackground | QWidget::DrawChildren);
        painter.restore();
    }
}
