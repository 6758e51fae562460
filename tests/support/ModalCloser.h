#pragma once
#include <QApplication>
#include <QList>
#include <QPoint>
#include <QStringList>
#include <QTimer>
#include <QWidget>

// Closes every modal dialog that opens while it lives (the wait dialogs and notices a device window
// opens while a record is read) and notes its class and where it stood.
class ModalCloser
{
public:
    ModalCloser()
    {
        QObject::connect(&timer, &QTimer::timeout, [this] {
            if (QWidget* modal = QApplication::activeModalWidget()) {
                opened << QString::fromLatin1(modal->metaObject()->className());
                positions << modal->pos();
                modal->close();
            }
        });
        timer.start(5);
    }
    QStringList opened;
    QList<QPoint> positions;

private:
    QTimer timer;
};
