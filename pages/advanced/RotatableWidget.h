#pragma once
#include <QString>
#include <QWidget>

// A picture drawn turned about the widget's centre, with its child widgets turned along.
class RotatableWidget : public QWidget
{
    Q_OBJECT
public:
    explicit RotatableWidget(QWidget* parent = nullptr);

    // Stores the angle taken into 0..359 degrees and repaints at once.
    void SetAngle(int degrees);
    int GetAngle() const { return angle; }
    // An empty path draws no picture.
    void SetImagePath(const QString& path);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int angle = 0;
    QString imagePath;
};
