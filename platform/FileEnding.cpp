#include "platform/FileEnding.h"

#include <QFileInfo>

QString WithFileEnding(const QString& chosen, const QString& ending)
{
    const QString name = QFileInfo(chosen).fileName();
    if (name.isEmpty() || !QFileInfo(name).suffix().isEmpty())
        return chosen;
    return chosen.endsWith(QLatin1Char('.')) ? chosen + ending : chosen + QLatin1Char('.') + ending;
}
