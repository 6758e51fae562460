#pragma once
#include <QObject>
#include <QString>

// Writes of the program's own files in the per-user folders (device caches, preferences, the
// registry stand-in) that failed. These hold settings of the program, not of the mouse: the mouse
// keeps its own. The user is told once per run; later failures are only counted.
// Failed() may be called from any thread; SigNotKept reaches receivers in their own thread.
class UserFileWrites : public QObject
{
    Q_OBJECT
public:
    static UserFileWrites* Instance();

    // A file in folder could not be written (folder: the per-user folder the file belongs in).
    // The first call of a run emits SigNotKept(folder).
    static void Failed(const QString& folder);

    // The folder of the first failure of this run; empty while every write succeeded.
    QString FailedFolder() const;
    int FailureCount() const;

    // Forgets the failures, as at the start of a run.
    void Forget();

signals:
    void SigNotKept(const QString& folder);

private:
    UserFileWrites() = default;
};
