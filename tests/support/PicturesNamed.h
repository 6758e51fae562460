#pragma once
#include <QFileInfo>
#include <QRegularExpression>
#include <QStringList>
#include <QWidget>

// The pictures the style sheets of a window and all its children name (every url(...)), and
// those of them that are not files.
struct PicturesNamed
{
    int named = 0;
    QStringList missing; // "object name: path"

    explicit PicturesNamed(const QWidget& top)
    {
        static const QRegularExpression url(QStringLiteral("url\\(([^)]*)\\)"));
        QList<const QWidget*> all;
        for (const QWidget* child : top.findChildren<QWidget*>())
            all << child;
        all << &top;
        for (const QWidget* widget : all) {
            auto match = url.globalMatch(widget->styleSheet());
            while (match.hasNext()) {
                const QString path = match.next().captured(1).trimmed();
                ++named;
                if (!QFileInfo(path).isFile())
                    missing << widget->objectName() + QStringLiteral(": ") + path;
            }
        }
    }
};
