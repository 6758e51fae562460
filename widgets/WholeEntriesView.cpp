#include "widgets/WholeEntriesView.h"

#include <QAbstractButton>
#include <QEvent>
#include <QScrollArea>
#include <QScrollBar>

WholeEntriesView::WholeEntriesView(QScrollArea* area) : QObject(area), area(area)
{
    connect(area->verticalScrollBar(), &QScrollBar::valueChanged, this, &WholeEntriesView::Update);
    connect(area->verticalScrollBar(), &QScrollBar::rangeChanged, this, &WholeEntriesView::Update);
    area->viewport()->installEventFilter(this);
    if (area->widget())
        area->widget()->installEventFilter(this);
    Update();
}

QRegion WholeEntriesView::ShownPart(const QScrollArea* area)
{
    const QWidget* contents = area->widget();
    if (!contents)
        return QRegion();
    // The view in the contents' coordinates.
    const QRect view(contents->mapFrom(area->viewport(), QPoint(0, 0)), area->viewport()->size());
    QRegion shown(contents->rect());
    for (const QAbstractButton* entry : contents->findChildren<QAbstractButton*>(QString(), Qt::FindDirectChildrenOnly)) {
        const QRect place = entry->geometry();
        if (entry->isVisibleTo(contents) && place.intersects(view) && !view.contains(place))
            shown -= place;
    }
    return shown;
}

bool WholeEntriesView::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::Resize:
    case QEvent::Move:
    case QEvent::LayoutRequest:
    case QEvent::Show:
        // Entries move when the list is laid out or shown, not only when it scrolls; the layout
        // places them after this filter has seen the event.
        if ((watched == area->widget() || watched == area->viewport()) && !updateQueued) {
            updateQueued = true;
            QMetaObject::invokeMethod(this, &WholeEntriesView::Update, Qt::QueuedConnection);
        }
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

void WholeEntriesView::Update()
{
    updateQueued = false;
    QWidget* contents = area->widget();
    if (!contents)
        return;
    const QRegion shown = ShownPart(area);
    if (shown == QRegion(contents->rect()))
        contents->clearMask();
    else
        contents->setMask(shown);
}
