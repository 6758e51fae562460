#include "widgets/ScaleFontTree.h"

#include <QFont>
#include <QPair>
#include <QVector>
#include <QWidget>

namespace {

void CollectFonts(QWidget* widget, double factor, const QString& keepName, QVector<QPair<QWidget*, QFont>>& fonts)
{
    QFont font = widget->font();
    if (!keepName.isEmpty() && widget->objectName() == keepName) {
        // Set back explicitly, so that it does not follow its parent's new size.
    } else if (font.pointSizeF() > 0)
        font.setPointSizeF(font.pointSizeF() * factor);
    else if (font.pixelSize() > 0)
        font.setPixelSize(qMax(1, qRound(font.pixelSize() * factor)));
    fonts.append(qMakePair(widget, font));
    for (QObject* child : widget->children()) {
        if (child->isWidgetType())
            CollectFonts(static_cast<QWidget*>(child), factor, keepName, fonts);
    }
}

} // namespace

void ScaleFontTree(QWidget* widget, double factor, const QString& keepName)
{
    if (!widget)
        return;
    // All sizes are taken before any is set: a child that inherits its parent's font would
    // otherwise be scaled twice, once through the parent and once on its own.
    QVector<QPair<QWidget*, QFont>> fonts;
    CollectFonts(widget, factor, keepName, fonts);
    for (const auto& entry : fonts)
        entry.first->setFont(entry.second);
}
