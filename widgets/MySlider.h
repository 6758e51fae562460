#pragma once
#include <QSlider>

// A horizontal slider that jumps straight to the clicked position.
class MySlider : public QSlider
{
    Q_OBJECT
public:
    explicit MySlider(QWidget* parent = nullptr);

protected:
    void mousePressEvent(QMouseEvent* event) override;
};
