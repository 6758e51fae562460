#include "app/mytoolButtonEnter.h"

mytoolButtonEnter::mytoolButtonEnter(QWidget* parent) : QToolButton(parent) {}

int mytoolButtonEnter::DeviceIndex() const
{
    QString name = objectName();
    if (!name.startsWith(QLatin1String("btn")))
        return -1;
    bool ok = false;
    const int index = name.remove(0, 3).toInt(&ok);
    return ok && index >= 0 ? index : -1;
}

void mytoolButtonEnter::enterEvent(QEvent* event)
{
    QToolButton::enterEvent(event);
    const int index = DeviceIndex();
    if (index >= 0)
        emit Entered(index);
}

void mytoolButtonEnter::leaveEvent(QEvent* event)
{
    QToolButton::leaveEvent(event);
}
