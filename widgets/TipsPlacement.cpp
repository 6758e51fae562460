#include "widgets/TipsPlacement.h"

#include <QFontMetrics>
#include <QLabel>

namespace {

int CaptionTextEnd(const QWidget* caption)
{
    if (const auto* label = qobject_cast<const QLabel*>(caption))
        return label->x() + label->fontMetrics().horizontalAdvance(label->text());
    return caption->x() + caption->sizeHint().width();
}

} // namespace

int TipsXAfterCaption(const QWidget* caption, const QWidget* tips, int rightLimit)
{
    return qMin(CaptionTextEnd(caption) + TipsGap, rightLimit - tips->width());
}

void PlaceTipsAfterCaption(QWidget* caption, QWidget* tips, int y, int rightLimit)
{
    const int x = TipsXAfterCaption(caption, tips, rightLimit);
    caption->resize(qMax(0, x - caption->x() - 2), caption->height());
    tips->move(x, y);
}
