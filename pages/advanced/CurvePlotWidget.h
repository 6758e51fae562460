#pragma once
#include <QPointF>
#include <QString>
#include <QVector>
#include <QWidget>

class QPainter;
class QPainterPath;

// The axis titles of the curve plots, texts of the current language set by the advanced page.
extern QString CurveAxisTextX;
extern QString CurveAxisTextY;

// A painted curve over a fixed data range: eight points joined by a smooth path, a grid, axes and
// read-out boxes. Hovering reads a point out; with editable set, the left button drags points
// within the range. A widget no larger than twice its margin has no plot area and ignores the mouse.
class CurvePlotWidget : public QWidget
{
    Q_OBJECT
public:
    explicit CurvePlotWidget(QWidget* parent = nullptr);
    ~CurvePlotWidget() override;

    // Non-zero lets the left button drag points; the host sets it directly.
    int editable = 0;

    // What the plot shows, for the host's read-outs and for checks.
    const QVector<QPointF>& Points() const { return points; }
    int DragIndex() const { return dragIndex; }
    int HoverIndex() const { return hoverIndex; }
    // False while the widget is too small to hold a plot area.
    bool HasPlotArea() const;

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    QPointF dataToScreen(double x, double y) const;
    // False (and data untouched) when there is no plot area to map from.
    bool screenToData(const QPointF& position, QPointF& data) const;
    QPainterPath createSmoothPath() const;
    void generateDefaultPoints();
    void drawGrid(QPainter& painter);
    void drawAxes(QPainter& painter);
    void drawCurve(QPainter& painter);
    void drawPoints(QPainter& painter);
    void drawCoordinateTips(QPainter& painter);
    void drawTip(QPainter& painter, int index, bool dragged);

    QVector<QPointF> points;
    int dragIndex = -1;
    double xMinimum = 0.0;
    double xMaximum = 7000.0;
    double yMinimum = 0.0;
    double yMaximum = 70.0;
    QVector<double> xTicks;
    QVector<double> yTicks;
    int margin = 80;
    int hoverIndex = -1;
};
