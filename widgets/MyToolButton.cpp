#include "widgets/MyToolButton.h"

#include <QMouseEvent>

MyToolButton::MyToolButton(QWidget* parent) : QToolButton(parent) {}

// The press is not handed to QToolButton, so no clicked() follows on the release.
void MyToolButton::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    setChecked(true);
    emit clicked(false);
}

void MyToolButton::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    setChecked(true);
    emit clicked(true);
}
