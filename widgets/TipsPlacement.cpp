#include "widgets/TipsPlacement.h"

#include <QFontMetrics>
#include <QLabel>

namespace {
const int TipsGap = 6;
}

int TipsXAfterCaption(const QLabel* caption, const QWidget* tips, int rightLimit)
{
    const int textEnd = caption->x() + caption->fontMetrics().horizontalAdvance(caption->text());
    return qMin(textEnd + TipsGap, rightLimit - tips->width());
}

void PlaceTipsAfterCaption(QLabel* caption, QWidget* tips, int y, int rightLimit)
{
    const int x = TipsXAfterCaption(caption, tips, rightLimit);
    caption->resize(qMax(0, x - caption->x() - 2), caption->height());
    tips->move(x, y);
}
