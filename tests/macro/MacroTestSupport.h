#pragma once
#include "device/FlashDataMap.h"
#include "pages/macro/SameMacro.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QLabel>
#include <QMap>
#include <QStringList>
#include <QTimer>

#include <functional>

namespace MacroTestSupport {

// What a modal dialog showed: its class and its message (a macro notice by its text key).
inline QString Describe(QWidget* modal)
{
    const QString name = QString::fromLatin1(modal->metaObject()->className());
    if (auto* notice = qobject_cast<SameMacro*>(modal))
        return name + QLatin1Char(':') + notice->MessageKey();
    if (auto* label = modal->findChild<QLabel*>(QStringLiteral("label")))
        return name + QLatin1Char(':') + label->text();
    return name;
}

// Runs action; every modal dialog that opens meanwhile is noted and handed to answer, which closes
// it unless told otherwise.
inline QStringList RunWithModals(const std::function<void()>& action,
                                 const std::function<void(QDialog*)>& answer = nullptr)
{
    QStringList seen;
    QTimer timer;
    timer.setInterval(2);
    QWidget* last = nullptr;
    QObject::connect(&timer, &QTimer::timeout, [&] {
        auto* modal = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (!modal || modal == last)
            return;
        last = modal;
        seen << Describe(modal);
        if (answer)
            answer(modal);
        else
            modal->close();
    });
    timer.start();
    action();
    return seen;
}

// Every file below folder with its content, by path relative to it: what a test compares before
// and after a command to see that nothing else was touched.
inline QMap<QString, QByteArray> Snapshot(const QString& folder)
{
    QMap<QString, QByteArray> files;
    QDirIterator it(folder, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        QFile file(path);
        const QString relative = QDir(folder).relativeFilePath(path);
        if (it.fileInfo().isDir())
            files.insert(relative + QLatin1Char('/'), QByteArray());
        else if (file.open(QIODevice::ReadOnly))
            files.insert(relative, file.readAll());
        else
            files.insert(relative, QByteArray("<unreadable>"));
    }
    return files;
}

inline void WriteFile(const QString& path, const QByteArray& content)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    file.open(QIODevice::WriteOnly | QIODevice::Truncate);
    file.write(content);
}

inline QByteArray ReadFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

// A button's macro block as the bytes the mouse holds.
inline QByteArray BlockBytes(const ButtonMacroBlock& block)
{
    return QByteArray(reinterpret_cast<const char*>(&block), int(sizeof block));
}

} // namespace MacroTestSupport
