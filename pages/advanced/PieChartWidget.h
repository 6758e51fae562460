#pragma once
#include <QPointF>
#include <QWidget>

// A painted pie slice of a circle with a blue gradient, a centre dot and two dashed radii. Dragging
// the rim changes the circle's radius between 20 pixels and just inside the widget.
class PieChartWidget : public QWidget
{
    Q_OBJECT
public:
    explicit PieChartWidget(QWidget* parent = nullptr);

    QPointF Centre() const { return centre; }
    double Radius() const { return radius; }
    bool IsDragging() const { return dragging; }

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    QPointF centre;
    double radius = 0.0;
    int startAngle = 0;
    int spanAngle = 120;
    bool dragging = false;
};
