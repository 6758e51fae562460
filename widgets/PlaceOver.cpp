#include "widgets/PlaceOver.h"

#include <QWidget>

void PlaceOver(QWidget* dialog, const QWidget* over, int dx, int dy)
{
    if (!over)
        return;
    const QPoint corner = over->mapToGlobal(QPoint(0, 0));
    dialog->move(corner.x() + (over->width() - dialog->width()) / 2 + dx,
                 corner.y() + (over->height() - dialog->height()) / 2 + dy);
}
