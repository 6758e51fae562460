#pragma once
#include <QObject>
#include <QRegion>

class QScrollArea;

// Lets a list of entries (buttons on the contents of a scroll area) show only entries that are
// wholly in view: an entry the view's edge cuts through is left out until a scroll brings it in
// whole. The lists keep their scroll positions, which need not fall on an entry's edge; the user
// sees no half entries at the top or the bottom of a list. Created as a child of the area.
class WholeEntriesView : public QObject
{
    Q_OBJECT
public:
    explicit WholeEntriesView(QScrollArea* area);

    // The part of the contents the list draws and takes clicks in: all of it but the cut entries.
    static QRegion ShownPart(const QScrollArea* area);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Update();

    QScrollArea* area;
    bool updateQueued = false;
};
