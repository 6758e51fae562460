#pragma once
#include <QObject>
#include <QString>

struct FileWrite;

// Writes of the program's own files in the per-user folders (device caches, preferences, macro
// files kept from the mouse, the upgrade log, the registry stand-in) that did not happen. These
// hold what the program keeps, not the mouse's settings: the mouse keeps its own. The user is told
// once per run, of the first; later ones are only counted.
// Failed() and NotWritten() may be called from any thread; the signals reach receivers in their
// own thread.
class UserFileWrites : public QObject
{
    Q_OBJECT
public:
    static UserFileWrites* Instance();

    // A file in folder could not be written (folder: the per-user folder the file belongs in).
    // The first failure of a run emits SigNotKept(folder).
    static void Failed(const QString& folder);
    // The write of path did not happen, for the reason write gives: a link or a special file in its
    // place (left as it is) is told naming the file, with SigRefused(path) when it is the first
    // failure of the run; any other failure as Failed(folder). A write that happened is no failure.
    static void NotWritten(const QString& path, const FileWrite& write, const QString& folder);
    // The write of path failed, for a reason the caller does not hold: what stands at path now
    // tells whether it was refused.
    static void NotWritten(const QString& path, const QString& folder);

    // The folder of the first failure of this run; empty while every write succeeded.
    QString FailedFolder() const;
    // The file of the first failure of this run when that was a refusal; empty otherwise.
    QString RefusedFile() const;
    int FailureCount() const;

    // Forgets the failures, as at the start of a run.
    void Forget();

signals:
    void SigNotKept(const QString& folder);
    void SigRefused(const QString& path);

private:
    UserFileWrites() = default;
    // Counts the failure; true when it is the first of the run, which is then kept.
    static bool Count(const QString& folder, const QString& refusedFile);
};
