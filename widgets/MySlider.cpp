#include "widgets/MySlider.h"

#include <QMouseEvent>

MySlider::MySlider(QWidget* parent) : QSlider(parent)
{
}

void MySlider::mousePressEvent(QMouseEvent* event)
{
    QSlider::mousePressEvent(event);
    if (width() <= 0)
        return;
    const double position = minimum() + double(maximum() - minimum()) * (double(event->x()) / double(width()));
    setValue(int(position));
}
