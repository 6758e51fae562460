#include "widgets/QuitHolds.h"

#include <QPointer>
#include <QVector>

#include <algorithm>

namespace {
struct Entry {
    QPointer<QObject> owner;
    QuitHolds::Hold hold;
};

QVector<Entry>& Entries()
{
    static QVector<Entry> entries;
    return entries;
}
} // namespace

void QuitHolds::Add(QObject* owner, Hold hold)
{
    if (owner && hold)
        Entries().push_back({owner, std::move(hold)});
}

bool QuitHolds::MayQuit(QWidget* window)
{
    QVector<Entry>& entries = Entries();
    entries.erase(std::remove_if(entries.begin(), entries.end(), [](const Entry& e) { return e.owner.isNull(); }),
                  entries.end());
    // A hold may show a notice and so run events; a copy keeps the walk valid if holds come or go.
    const QVector<Entry> asked = entries;
    bool mayQuit = true;
    for (const Entry& entry : asked) {
        if (entry.owner && !entry.hold(window))
            mayQuit = false;
    }
    return mayQuit;
}
